#pragma once
// Named images and the image bank that finds them by upper-case name.

#include "framework/util/object.h"
#include "platform/graphics.h"

#include <list>
#include <memory>
#include <string>

class TGameImage : public TObject {
public:
    static std::shared_ptr<TGameImage> Create(const std::string& file, int flags, int midHandle);

    std::string name;
    platform::ImagePtr image;
};
using TGameImagePtr = std::shared_ptr<TGameImage>;

class TImageBank : public TObject {
public:
    int SetPath(const std::string& folder);
    int Load(const std::string& file, const std::string& name, int flags, int midHandle);
    int LoadAnim(const std::string& file, int cellWidth, int cellHeight, int firstCell,
                 int cellCount, int flags, int midHandle);

    std::string Path;
    std::string Ext = ".png";
    std::list<TGameImagePtr> Images;
};

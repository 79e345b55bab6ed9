#pragma once
// Named images and the image bank. An image is one picture or one strip of equal frames with the
// name the program finds it by (the upper-case file name without folder and extension), its frame
// size and half size, and where its drawing handle sits. A bank is an ordered list of images
// loaded from one folder with one default extension and found by upper-case name.

#include "framework/util/object.h"
#include "platform/graphics.h"

#include <list>
#include <memory>
#include <string>

class TGameImage;
using TGameImagePtr = std::shared_ptr<TGameImage>;

class TGameImage : public TObject {
public:
    // Loads the file (a missing file is fatal), with its handle at the centre when mid is set.
    static TGameImagePtr Create(const std::string& file, int flags, int mid);

    // Bytes the frames take as 32-bit pixels, and the same with each side raised to a power of two
    // (as textures are stored).
    int CalcRAM() const;
    int CalcVRAM() const;
    // Takes w, h, w2, h2 from the picture; nothing without one.
    int GetSize();
    // flags are the drawing layer's image flags (-1 its default set). A missing file is fatal.
    int Load(const std::string& file, int flags, int mid);
    int LoadAnim(const std::string& file, int cellWidth, int cellHeight, int firstCell,
                 int cellCount, int flags, int mid);
    // Non-zero: handle at the centre; 0: handle at the top-left corner.
    int MidHandle(int on);
    int Precache();

    std::string name;
    platform::ImagePtr image;
    int w = 0; // size of one frame
    int h = 0;
    float w2 = 0.0f; // w / 2 in whole pixels (33 gives 16.0)
    float h2 = 0.0f;
    int midhandled = 0;
    int tag = 0; // free for the image's users
};

// The images in load order; the list's own operations (iteration, size, removal, clear) are those
// of the list it is. Names need not be unique: Find returns the first.
class TImageBank : public TObject, public std::list<TGameImagePtr> {
public:
    // Kilobytes (truncated) over all images.
    int CalcRAM() const;
    int CalcVRAM() const;
    // Path = the folder with a "/" added unless it ends in "/" or "\".
    int SetPath(const std::string& path);
    // Loads Path + file (with Ext added when the file has none) and appends it; a non-empty name
    // replaces the image's name, upper-cased.
    int Load(const std::string& file, const std::string& name, int flags, int mid);
    int LoadNoMid(const std::string& file, const std::string& name, int flags);
    // Loads Path + file + Ext as a strip; the handle is centred only when mid is exactly 1.
    int LoadAnim(const std::string& file, int cellWidth, int cellHeight, int firstCell,
                 int cellCount, int flags, int mid);
    // The first image of that name (any case). A missing name is fatal while ShowErrors is set,
    // else null.
    TGameImagePtr Find(const std::string& name) const;
    // The picture of the first image of that name, or null; never reports.
    platform::ImagePtr FindTImage(const std::string& name) const;
    int Precache();

    std::string Path;
    std::string Ext = ".png";

private:
    TGameImagePtr Search(const std::string& key) const;
};
using TImageBankPtr = std::shared_ptr<TImageBank>;

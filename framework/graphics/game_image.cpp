#include "framework/graphics/game_image.h"

// Minimal until the graphics subsystem lands its images.

std::shared_ptr<TGameImage> TGameImage::Create(const std::string& file, int flags, int midHandle) {
    auto img = std::make_shared<TGameImage>();
    img->name = file;
    img->image = platform::LoadImage(file, flags);
    if (midHandle)
        platform::MidHandleImage(img->image);
    return img;
}

int TImageBank::SetPath(const std::string& folder) {
    Path = folder;
    return 0;
}

int TImageBank::Load(const std::string& file, const std::string& name, int flags, int midHandle) {
    auto img = TGameImage::Create(Path + file, flags, midHandle);
    img->name = name.empty() ? file : name;
    Images.push_back(img);
    return 0;
}

int TImageBank::LoadAnim(const std::string& file, int cellWidth, int cellHeight, int firstCell,
                         int cellCount, int flags, int midHandle) {
    auto img = std::make_shared<TGameImage>();
    img->name = file;
    img->image = platform::LoadAnimImage(Path + file + Ext, cellWidth, cellHeight, firstCell,
                                         cellCount, flags);
    if (midHandle == 1)
        platform::MidHandleImage(img->image);
    Images.push_back(img);
    return 0;
}

#include "framework/graphics/game_image.h"

#include "framework/util/assets.h"
#include "framework/util/drawing.h"
#include "framework/util/error.h"
#include "framework/util/globals.h"
#include "framework/util/ini.h"
#include "framework/util/numbers.h"
#include "framework/util/strings.h"
#include "platform/path_names.h"

#include <climits>
#include <cstdint>

namespace {

// The image's name: the upper-case file name without folder and extension.
std::string NameOf(const std::string& file) {
    return AsciiUpper(platform::StripAll(file));
}

int Frames(const platform::ImagePtr& image) {
    return image ? image->Frames() : 0;
}

// Byte counts beyond what an int holds (absurdly many frames) report the largest int.
int Bytes(int64_t width, int64_t height, int frames) {
    const int64_t bytes = width * 4 * height * frames;
    return bytes > INT_MAX ? INT_MAX : static_cast<int>(bytes);
}

} // namespace

// ---- TGameImage
// ----------------------------------------------------------------------------------

TGameImagePtr TGameImage::Create(const std::string& file, int flags, int mid) {
    auto image = std::make_shared<TGameImage>();
    image->Load(file, flags, 1);
    image->MidHandle(mid);
    return image;
}

int TGameImage::CalcRAM() const {
    return Bytes(platform::ImageWidth(image), platform::ImageHeight(image), Frames(image));
}

int TGameImage::CalcVRAM() const {
    return Bytes(ccPow2Size(platform::ImageWidth(image)), ccPow2Size(platform::ImageHeight(image)),
                 Frames(image));
}

int TGameImage::GetSize() {
    if (!image)
        return 0;
    w = platform::ImageWidth(image);
    h = platform::ImageHeight(image);
    w2 = static_cast<float>(w / 2);
    h2 = static_cast<float>(h / 2);
    return 0;
}

int TGameImage::Load(const std::string& file, int flags, int mid) {
    name = NameOf(file);
    image = ccLoadBitmap(file, flags);
    GetSize();
    return MidHandle(mid);
}

int TGameImage::LoadAnim(const std::string& file, int cellWidth, int cellHeight, int firstCell,
                         int cellCount, int flags, int mid) {
    name = NameOf(file);
    image = ccLoadAnimBitmap(file, cellWidth, cellHeight, firstCell, cellCount, flags);
    GetSize();
    return MidHandle(mid);
}

int TGameImage::MidHandle(int on) {
    if (on) {
        platform::MidHandleImage(image);
        midhandled = 1;
    } else {
        platform::SetImageHandle(image, 0.0f, 0.0f);
        midhandled = 0;
    }
    return 0;
}

int TGameImage::Precache() {
    return ccCreateFrames(image);
}

// ---- TImageBank
// ----------------------------------------------------------------------------------

int TImageBank::CalcRAM() const {
    int64_t total = 0;
    for (const auto& image : *this)
        total += image->CalcRAM();
    return static_cast<int>(total / 1024 > INT_MAX ? INT_MAX : total / 1024);
}

int TImageBank::CalcVRAM() const {
    int64_t total = 0;
    for (const auto& image : *this)
        total += image->CalcVRAM();
    return static_cast<int>(total / 1024 > INT_MAX ? INT_MAX : total / 1024);
}

int TImageBank::SetPath(const std::string& path) {
    Path = ccAddSlash(path);
    return 0;
}

int TImageBank::Load(const std::string& file, const std::string& name, int flags, int mid) {
    std::string ext = "." + platform::ExtractExt(file);
    if (ext == ".")
        ext = Ext;
    auto image = std::make_shared<TGameImage>();
    image->Load(Path + platform::StripExt(file) + ext, flags, mid);
    push_back(image);
    if (!name.empty())
        image->name = AsciiUpper(name);
    return 0;
}

int TImageBank::LoadNoMid(const std::string& file, const std::string& name, int flags) {
    return Load(file, name, flags, 0);
}

int TImageBank::LoadAnim(const std::string& file, int cellWidth, int cellHeight, int firstCell,
                         int cellCount, int flags, int mid) {
    auto image = std::make_shared<TGameImage>();
    image->LoadAnim(Path + file + Ext, cellWidth, cellHeight, firstCell, cellCount, flags,
                    mid == 1 ? 1 : 0);
    push_back(image);
    return 0;
}

TGameImagePtr TImageBank::Search(const std::string& key) const {
    for (const auto& image : *this)
        if (image->name == key)
            return image;
    return nullptr;
}

TGameImagePtr TImageBank::Find(const std::string& name) const {
    const std::string key = AsciiUpper(name);
    if (auto image = Search(key))
        return image;
    if (ShowErrors)
        ccRunTimeError("Image '" + key + "' was not found in the ImageBank", 1);
    return nullptr;
}

platform::ImagePtr TImageBank::FindTImage(const std::string& name) const {
    auto image = Search(AsciiUpper(name));
    return image ? image->image : nullptr;
}

int TImageBank::Precache() {
    for (const auto& image : *this)
        ccCreateFrames(image->image);
    return 0;
}

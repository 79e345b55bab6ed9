#include "framework/util/assets.h"

#include "framework/util/date_time.h"
#include "framework/util/error.h"
#include "framework/util/globals.h"
#include "framework/util/ini.h"
#include "platform/system.h"

#include <string>
#include <vector>

namespace {

// The fatal message names only the file; the loader's reason goes to standard error just before,
// for whoever has to mend the file.
void LoadFailed(const std::string& subsystem, const std::string& message, const std::string& path,
                const std::string& reason) {
    platform::Warn(subsystem, path + ": " + reason);
    ccRunTimeError(message + path, 1);
}

} // namespace

platform::ImagePtr ccLoadBitmap(const std::string& path, int flags) {
    std::string reason;
    platform::ImagePtr image = platform::LoadImage(path, flags, &reason);
    if (!image)
        LoadFailed("image", "Error loading bitmap ", path, reason);
    return image;
}

platform::ImagePtr ccLoadAnimBitmap(const std::string& path, int cellWidth, int cellHeight,
                                    int firstCell, int cellCount, int flags) {
    std::string reason;
    platform::ImagePtr image =
        platform::LoadAnimImage(path, cellWidth, cellHeight, firstCell, cellCount, flags, &reason);
    if (!image)
        LoadFailed("image", "Error loading anim bitmap ", path, reason);
    return image;
}

platform::SoundPtr ccLoadSample(const std::string& path, int flags) {
    std::string reason;
    platform::SoundPtr sound = platform::LoadSound(path, flags, &reason);
    if (!sound)
        LoadFailed("sound", "Error loading sample ", path, reason);
    return sound;
}

std::string ccScreenShotName() {
    TDateTime now;
    now.Set_DateTimeCurrent();
    return TDateTime::Get_String(now, "YYYY-MM-DD HHNNSS screenshot.png");
}

int ccScreenShot(const std::string& folder) {
    platform::PixmapPtr pixmap = platform::GrabPixmap(0, 0, ScreenWidth, ScreenHeight);
    std::string name = ccScreenShotName();
    std::string path = folder.empty() ? ccAddSlash(platform::CurrentDir()) + name : folder + name;
    return pixmap && platform::SavePixmapPNG(pixmap, path, 9) ? 0 : -1;
}

int ccConvertJPGToBMP(const std::string& source, const std::string& destination) {
    return ccSaveImage(platform::LoadImage(source, -1), destination);
}

int ccSaveImage(const platform::ImagePtr& image, const std::string& destination) {
    // Without pixels to write nothing is created.
    platform::PixmapPtr pixels = image ? platform::LockImage(image, 0) : nullptr;
    if (!pixels)
        return 0;
    platform::StreamPtr stream = platform::WriteFile(destination);
    if (!stream)
        return -1;
    ccWriteBMP(stream, pixels);
    return stream->Close() ? 0 : -1;
}

int ccWriteBMP(const platform::StreamPtr& stream, const platform::PixmapPtr& pixmap) {
    if (!stream || !pixmap)
        return 0;
    const int width = pixmap->Width(), height = pixmap->Height();
    const int rowSize = (width * 3 + 3) / 4 * 4;
    const int dataSize = rowSize * height;
    stream->WriteByte('B');
    stream->WriteByte('M');
    stream->WriteInt(54 + dataSize);
    stream->WriteInt(0);
    stream->WriteInt(54);
    stream->WriteInt(40);
    stream->WriteInt(width);
    stream->WriteInt(height);
    stream->WriteShort(1);
    stream->WriteShort(24);
    stream->WriteInt(0);
    stream->WriteInt(dataSize);
    stream->WriteInt(2834);
    stream->WriteInt(2834);
    stream->WriteInt(0);
    stream->WriteInt(0);
    std::vector<uint8_t> row(static_cast<size_t>(rowSize), 0);
    for (int y = height - 1; y >= 0; y--) {
        platform::ConvertPixels(pixmap->PixelPtr(0, y), pixmap->Format(), row.data(),
                                platform::PF_BGR888, width);
        stream->WriteBytes(row.data(), rowSize);
    }
    return 0;
}

int ccStopChannel(const platform::ChannelPtr& channel) {
    if (channel)
        platform::StopChannel(channel);
    return 0;
}

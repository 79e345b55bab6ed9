#pragma once
// What the graphics tests share: a game object at 200 ticks a second (5 ms a tick), Delta 1, the
// draw log on, a fake millisecond clock, fatal errors raised as exceptions, a temporary folder for
// pictures the test writes, and pictures made in memory.

#include "framework/graphics/game_image.h"
#include "framework/shell/fixed_rate_logic.h"
#include "framework/shell/game.h"
#include "framework/util/drawing.h"
#include "framework/util/globals.h"
#include "platform/files.h"
#include "platform/graphics.h"
#include "platform/pixmap.h"
#include "platform/system.h"
#include "tests/framework/util/fatal_error_capture.h"
#include "tests/support/drawing_support.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace graphics_test {

// A w by h pixmap of one colour (0xAARRGGBB).
inline platform::PixmapPtr Solid(int w, int h, uint32_t argb = 0xFFFFFFFF) {
    return testing_support::Filled(w, h, argb);
}

// A named image of frames frames of w by h, made in memory, handle at the top-left.
inline TGameImagePtr MemoryImage(int w, int h, int frames = 1, uint32_t argb = 0xFFFFFFFF) {
    auto image = std::make_shared<TGameImage>();
    std::vector<platform::PixmapPtr> pixmaps;
    for (int i = 0; i < frames; ++i)
        pixmaps.push_back(Solid(w, h, argb));
    image->image = platform::MakeImage(pixmaps, 0);
    image->GetSize();
    image->MidHandle(0);
    return image;
}

class GraphicsTest : public ::testing::Test {
protected:
    void SetUp() override {
        Game = std::make_unique<TGame>();
        Game->FixedRateLogic->CalcMS();
        platform::SetMilliSecsSource([this] { return now; });
        platform::SetDrawLog(true);
    }
    // The draws of one kind recorded so far.
    static std::vector<platform::TDrawRecord> Draws(platform::TDrawRecord::Kind kind) {
        return testing_support::DrawRecords(kind);
    }
    static std::vector<platform::TDrawRecord> ImageDraws() {
        return Draws(platform::TDrawRecord::IMAGE);
    }
    // Writes a picture of w by h into the temporary folder (PNG, or JPEG for a ".jpg" name).
    std::string WritePicture(const std::string& name, int w, int h, uint32_t argb = 0xFFFFFFFF) {
        const std::string path = dir.File(name);
        const auto slash = name.rfind('/');
        if (slash != std::string::npos)
            platform::CreateDir(dir.File(name.substr(0, slash)), true);
        const bool jpeg = name.size() > 4 && name.substr(name.size() - 4) == ".jpg";
        EXPECT_TRUE(jpeg ? platform::SavePixmapJPEG(Solid(w, h, argb), path)
                         : platform::SavePixmapPNG(Solid(w, h, argb), path));
        return path;
    }

    int now = 1000;
    testing_support::TempDir dir;
    FatalErrorCapture fatal;
};

} // namespace graphics_test

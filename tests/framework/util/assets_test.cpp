#include "framework/util/assets.h"

#include "framework/util/error.h"
#include "platform/files.h"
#include "platform/pixmap.h"
#include "platform/system.h"
#include "tests/framework/util/local_time.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ctime>
#include <functional>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using testing_support::ReadTextFile;
using testing_support::TempDir;

std::tm FixedTime() {
    return util_tests::LocalTimeAt(2027, 3, 4, 9, 5, 7);
}

const char* const SHOT_NAME = "2027-03-04 090507 screenshot.png";

int LittleInt(const std::string& bytes, size_t at) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; i--)
        v = v * 256 + static_cast<uint8_t>(bytes[at + static_cast<size_t>(i)]);
    return static_cast<int>(v);
}

int LittleShort(const std::string& bytes, size_t at) {
    return static_cast<uint8_t>(bytes[at]) + 256 * static_cast<uint8_t>(bytes[at + 1]);
}

std::string Bmp(const platform::PixmapPtr& pixmap) {
    platform::StreamPtr stream = platform::MemoryStream();
    ccWriteBMP(stream, pixmap);
    return platform::MemoryStreamData(stream);
}

TEST(Bmp, HeaderFieldsAndRowSizes) {
    struct Case {
        int width, height, rowSize;
    };
    for (const Case& c : std::vector<Case>{{1, 1, 4}, {4, 2, 12}, {5, 3, 16}}) {
        std::string bmp = Bmp(platform::CreatePixmap(c.width, c.height));
        int data = c.rowSize * c.height;
        ASSERT_EQ(bmp.size(), static_cast<size_t>(54 + data)) << c.width;
        EXPECT_EQ(bmp.substr(0, 2), "BM");
        EXPECT_EQ(LittleInt(bmp, 2), 54 + data);
        EXPECT_EQ(LittleInt(bmp, 6), 0);
        EXPECT_EQ(LittleInt(bmp, 10), 54);
        EXPECT_EQ(LittleInt(bmp, 14), 40);
        EXPECT_EQ(LittleInt(bmp, 18), c.width);
        EXPECT_EQ(LittleInt(bmp, 22), c.height);
        EXPECT_EQ(LittleShort(bmp, 26), 1);
        EXPECT_EQ(LittleShort(bmp, 28), 24);
        EXPECT_EQ(LittleInt(bmp, 30), 0);
        EXPECT_EQ(LittleInt(bmp, 34), data);
        EXPECT_EQ(LittleInt(bmp, 38), 2834);
        EXPECT_EQ(LittleInt(bmp, 42), 2834);
        EXPECT_EQ(LittleInt(bmp, 46), 0);
        EXPECT_EQ(LittleInt(bmp, 50), 0);
    }
}

TEST(Bmp, RowsRunBottomUpInBlueGreenRedWithZeroPadding) {
    auto pixmap = platform::CreatePixmap(5, 2);
    for (int x = 0; x < 5; x++) {
        pixmap->WritePixel(x, 0, 0xFF102030u + static_cast<uint32_t>(x)); // top row
        pixmap->WritePixel(x, 1, 0x80A0B0C0u);                            // bottom row
    }
    std::string bmp = Bmp(pixmap);
    ASSERT_EQ(bmp.size(), 54u + 32u);
    // First row in the file: the bottom row, alpha dropped.
    EXPECT_EQ(bmp.substr(54, 3), "\xC0\xB0\xA0");
    EXPECT_EQ(bmp[54 + 15], '\0');
    EXPECT_EQ(bmp.substr(70, 3), std::string("\x30\x20\x10"));
    EXPECT_EQ(bmp.substr(70 + 12, 3), std::string("\x34\x20\x10"));
    EXPECT_EQ(bmp[70 + 15], '\0');

    std::string one = Bmp(platform::CreatePixmap(1, 1));
    EXPECT_EQ(one.size(), 58u);
}

TEST(Bmp, SaveImageAndConvertWriteFilesOnlyFromAPicture) {
    TempDir dir;
    auto pixmap = platform::CreatePixmap(3, 2);
    pixmap->WritePixel(0, 1, 0xFF112233u);
    ASSERT_TRUE(platform::SavePixmapPNG(pixmap, dir.File("in.png"), 6));
    EXPECT_EQ(ccConvertJPGToBMP(dir.File("in.png"), dir.File("out.bmp")), 0);
    std::string bmp = ReadTextFile(dir.File("out.bmp"));
    ASSERT_EQ(bmp.size(), 54u + 2 * 12);
    EXPECT_EQ(bmp.substr(54, 3), "\x33\x22\x11");

    EXPECT_EQ(ccConvertJPGToBMP(dir.File("missing.png"), dir.File("none.bmp")), 0);
    EXPECT_EQ(platform::FileType(dir.File("none.bmp")), platform::FILETYPE_NONE);
    EXPECT_EQ(ccSaveImage(platform::CreateImage(2, 2, 1, 0), dir.File("nofolder/x.bmp")), -1);
}

class Loaders : public ::testing::Test {
protected:
    void SetUp() override {
        ccGraphicalErrors = 0;
        platform::SetNotifyHandler(
            [this](const std::string& text, bool) { notes.push_back(text); });
    }
    template <typename Load> std::string FailureOf(Load load) {
        try {
            load();
        } catch (const platform::TRuntimeError& e) {
            return e.what();
        }
        return "(no error)";
    }
    TempDir dir;
    std::vector<std::string> notes;
};

TEST_F(Loaders, AMissingFileIsAFatalErrorNamingThePathAsPassed) {
    const std::string path = dir.Path() + "./graphics//missing";
    EXPECT_EQ(FailureOf([&] { ccLoadBitmap(path, -1); }), "Error loading bitmap " + path);
    EXPECT_EQ(FailureOf([&] { ccLoadAnimBitmap(path, 8, 8, 0, 2, -1); }),
              "Error loading anim bitmap " + path);
    EXPECT_EQ(FailureOf([&] { ccLoadSample(path + ".wav", 0); }),
              "Error loading sample " + path + ".wav");
    EXPECT_EQ(notes.size(), 3u);
}

TEST_F(Loaders, ALoadedPictureIsReturned) {
    ASSERT_TRUE(platform::SavePixmapPNG(platform::CreatePixmap(16, 8), dir.File("strip.png")));
    platform::ImagePtr image = ccLoadBitmap(dir.File("strip.png"), 0);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->Width(), 16);
    platform::ImagePtr strip = ccLoadAnimBitmap(dir.File("strip.png"), 8, 8, 0, 2, 0);
    ASSERT_TRUE(strip);
    EXPECT_EQ(strip->Frames(), 2);
    EXPECT_EQ(FailureOf([&] { ccLoadAnimBitmap(dir.File("strip.png"), 8, 8, 0, 3, 0); }),
              "Error loading anim bitmap " + dir.File("strip.png"));
    EXPECT_EQ(ccStopChannel(nullptr), 0);
}

// The fatal message stays as it is; the loader's reason goes to standard error on one line just
// before it, with the file it is about.
TEST_F(Loaders, TheLoadersReasonGoesToStandardErrorFirst) {
    const std::string strip = dir.File("strip.png"), other = dir.File("picture.png"),
                      missing = dir.File("missing.jpg"), sound = dir.File("click.wav");
    ASSERT_TRUE(platform::SavePixmapPNG(platform::CreatePixmap(16, 8), strip));
    ASSERT_TRUE(platform::SaveBytesAtomic(other, "GIF89a, not a picture read here"));
    ASSERT_TRUE(platform::SaveBytesAtomic(sound, std::string("RF64\xFF\xFF\xFF\xFFWAVEds64", 16)));
    std::string soundReason;
    ASSERT_FALSE(platform::LoadSound(sound, 0, &soundReason));
    ASSERT_FALSE(soundReason.empty());
    struct Case {
        std::function<void()> load;
        std::string message, warning;
    };
    const Case cases[] = {
        {[&] { ccLoadBitmap(other, -1); }, "Error loading bitmap " + other,
         "image: " + other + ": not a PNG, JPEG, BMP or TGA image"},
        {[&] { ccLoadBitmap(missing, -1); }, "Error loading bitmap " + missing,
         "image: " + missing + ": the file does not exist"},
        {[&] { ccLoadAnimBitmap(other, 8, 8, 0, 2, -1); }, "Error loading anim bitmap " + other,
         "image: " + other + ": not a PNG, JPEG, BMP or TGA image"},
        {[&] { ccLoadAnimBitmap(strip, 8, 8, 1, 2, -1); }, "Error loading anim bitmap " + strip,
         "image: " + strip + ": a 16x8 picture holds 2 cells of 8x8, not 2 from cell 1"},
        {[&] { ccLoadSample(sound, 0); }, "Error loading sample " + sound,
         "sound: " + sound + ": " + soundReason},
    };
    for (const Case& c : cases) {
        testing::internal::CaptureStderr();
        EXPECT_EQ(FailureOf(c.load), c.message);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), c.warning + "\n");
    }
    EXPECT_EQ(notes.size(), std::size(cases));
}

class ScreenShots : public ::testing::Test {
protected:
    void SetUp() override { platform::SetLocalTimeSource(FixedTime); }
    TempDir dir;
};

TEST_F(ScreenShots, NamedFromTheDateAndReadableAsPng) {
    EXPECT_EQ(ccScreenShotName(), SHOT_NAME);
    EXPECT_EQ(ccScreenShot(dir.Path()), 0);
    platform::PixmapPtr shot = platform::LoadPixmap(dir.File(SHOT_NAME));
    ASSERT_TRUE(shot);
    EXPECT_EQ(shot->Width(), 800);
    EXPECT_EQ(shot->Height(), 600);
    // A second one in the same second replaces the first.
    EXPECT_EQ(ccScreenShot(dir.Path()), 0);
    std::vector<std::string> names;
    ASSERT_TRUE(platform::ReadDir(dir.Path(), names));
    EXPECT_EQ(names, std::vector<std::string>{SHOT_NAME});
}

TEST_F(ScreenShots, TheFolderIsGluedToTheNameAndEmptyMeansTheWorkingDirectory) {
    ASSERT_TRUE(platform::CreateDir(dir.File("shots")));
    EXPECT_EQ(ccScreenShot(dir.File("shots")), 0);
    EXPECT_EQ(platform::FileType(dir.File(std::string("shots") + SHOT_NAME)),
              platform::FILETYPE_FILE);

    std::string before = platform::CurrentDir();
    ASSERT_EQ(chdir(dir.File("shots").c_str()), 0);
    int result = ccScreenShot("");
    ASSERT_EQ(chdir(before.c_str()), 0);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(platform::FileType(dir.File(std::string("shots/") + SHOT_NAME)),
              platform::FILETYPE_FILE);

    EXPECT_EQ(ccScreenShot(dir.File("missing/")), -1);
}

} // namespace

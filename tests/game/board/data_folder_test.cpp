// The data folder that the build makes beside the executables: every file the game loads is there,
// under the name the code asks for, and decodes with the loaders the game uses.
#include <gtest/gtest.h>
#include <vorbis/vorbisfile.h>

#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "game/board/asset_names.h"
#include "platform/audio.h"
#include "platform/files.h"
#include "platform/pixmap.h"
#include "platform/system.h"
#include "tests/support/temp_dir.h"

namespace {

std::string DataPath(const char* folder, const std::string& file) {
    return platform::AppDir() + folder + file;
}

platform::PixmapPtr Picture(const std::string& path) {
    std::string error;
    platform::PixmapPtr pixmap = platform::LoadPixmap(path, &error);
    EXPECT_TRUE(pixmap) << path << ": " << error;
    return pixmap;
}

// Images load masked: pure black becomes see-through. The pictures use it nowhere, so that no dark
// shadow or outline turns into a hole. Only the faintest edge pixels (alpha below 16 of 255), whose
// colour rounds to black, may have it.
int VisibleBlackPixels(const platform::TPixmap& pixmap) {
    int count = 0;
    for (int y = 0; y < pixmap.Height(); ++y)
        for (int x = 0; x < pixmap.Width(); ++x) {
            const uint32_t argb = pixmap.ReadPixel(x, y);
            if ((argb & 0x00ffffffu) == 0 && (argb >> 24) >= 16)
                ++count;
        }
    return count;
}

bool FullyOpaque(const platform::TPixmap& pixmap) {
    for (int y = 0; y < pixmap.Height(); ++y)
        for (int x = 0; x < pixmap.Width(); ++x)
            if ((pixmap.ReadPixel(x, y) >> 24) != 0xff)
                return false;
    return true;
}

} // namespace

TEST(DataFolder, BankImagesDecodeWithTheirStripLayout) {
    for (const TBankImageName& image : BANK_IMAGES) {
        const std::string path = DataPath(GRAPHICS_FOLDER, std::string(image.name) + IMAGE_EXT);
        platform::PixmapPtr pixmap = Picture(path);
        if (!pixmap)
            continue;
        if (image.frames > 0) {
            EXPECT_EQ(pixmap->Width(), image.frameWidth * image.frames) << path;
            EXPECT_EQ(pixmap->Height(), image.frameHeight) << path;
        }
        EXPECT_EQ(VisibleBlackPixels(*pixmap), 0) << path;
    }
}

TEST(DataFolder, ScreenPicturesCoverTheScreen) {
    const std::vector<std::string> screens = {
        BOARD_BACKGROUND,   TITLE_BACKGROUND,        OPTIONS_BACKGROUND,
        CREDITS_BACKGROUND, INSTRUCTIONS_BACKGROUND, std::string(UNLOCK_IMAGE) + IMAGE_EXT};
    for (const std::string& file : screens) {
        const std::string path = DataPath(GRAPHICS_FOLDER, file);
        platform::PixmapPtr pixmap = Picture(path);
        if (!pixmap)
            continue;
        EXPECT_EQ(pixmap->Width(), 800) << path;
        EXPECT_EQ(pixmap->Height(), 600) << path;
        EXPECT_TRUE(FullyOpaque(*pixmap)) << path;
        EXPECT_EQ(VisibleBlackPixels(*pixmap), 0) << path;
    }
}

TEST(DataFolder, PointerDialogAndLogoDecode) {
    const std::vector<std::string> paths = {
        DataPath(GRAPHICS_FOLDER, std::string(POINTER_IMAGE) + IMAGE_EXT),
        DataPath(GRAPHICS_FOLDER, DIALOG_BACKGROUND),
        DataPath(SETTINGS_FOLDER, std::string(PORTAL_LOGO) + IMAGE_EXT)};
    for (const std::string& path : paths) {
        platform::PixmapPtr pixmap = Picture(path);
        if (pixmap) {
            EXPECT_EQ(VisibleBlackPixels(*pixmap), 0) << path;
        }
    }
    // Every picture loaded by file name is one of the lists above or of the screens.
    for (const char* file : FILE_PICTURES)
        EXPECT_EQ(platform::FileType(DataPath(GRAPHICS_FOLDER, file)), 1) << file;
}

// A dialog is as large as its background, and draws its light edge along the top row and the left
// column of that rectangle: the picture must be opaque along both, at the size the dialogs' layouts
// were made for.
TEST(DataFolder, DialogBackgroundIsOpaqueWhereTheDialogsLightEdgeFalls) {
    platform::PixmapPtr pixmap = Picture(DataPath(GRAPHICS_FOLDER, DIALOG_BACKGROUND));
    ASSERT_TRUE(pixmap);
    EXPECT_EQ(pixmap->Width(), 440);
    EXPECT_EQ(pixmap->Height(), 180);
    std::vector<std::string> seeThrough;
    for (int x = 0; x < pixmap->Width(); ++x)
        if ((pixmap->ReadPixel(x, 0) >> 24) != 0xff)
            seeThrough.push_back(std::to_string(x) + ",0");
    for (int y = 1; y < pixmap->Height(); ++y)
        if ((pixmap->ReadPixel(0, y) >> 24) != 0xff)
            seeThrough.push_back("0," + std::to_string(y));
    EXPECT_TRUE(seeThrough.empty())
        << seeThrough.size() << " pixels, the first at " << seeThrough.front();
}

TEST(DataFolder, MenuButtonsHaveAMouseOverPictureOfTheSameSize) {
    for (const char* name : MENU_BUTTONS) {
        const std::string path = DataPath(MENUS_FOLDER, std::string(name) + IMAGE_EXT);
        const std::string over =
            DataPath(MENUS_FOLDER, std::string(name) + MOUSE_OVER_SUFFIX + IMAGE_EXT);
        platform::PixmapPtr normal = Picture(path);
        platform::PixmapPtr lit = Picture(over);
        if (!normal || !lit)
            continue;
        // The button's size comes from the normal picture; a mouse-over picture of another size
        // would jump under the pointer.
        EXPECT_EQ(lit->Width(), normal->Width()) << over;
        EXPECT_EQ(lit->Height(), normal->Height()) << over;
        EXPECT_EQ(VisibleBlackPixels(*normal), 0) << path;
        EXPECT_EQ(VisibleBlackPixels(*lit), 0) << over;
    }
    for (const char* name : DISABLED_BUTTONS) {
        const std::string path =
            DataPath(MENUS_FOLDER, std::string(name) + DISABLED_SUFFIX + IMAGE_EXT);
        Picture(path);
    }
}

TEST(DataFolder, SoundsDecodeAsPcm) {
    std::vector<std::string> names(STARTUP_SOUNDS.begin(), STARTUP_SOUNDS.end());
    names.push_back(MENU_MOUSE_OVER_SOUND);
    names.push_back(MENU_CLICK_SOUND);
    names.push_back(ESCAPE_SOUND);
    for (const std::string& name : names) {
        const std::string path = DataPath(SOUND_FOLDER, name + SOUND_EXT);
        std::string error;
        platform::SoundPtr sound = platform::LoadSound(path, 0, &error);
        ASSERT_TRUE(sound) << path << ": " << error;
        EXPECT_EQ(sound->bits, 16) << path;
        EXPECT_EQ(sound->rate, 44100) << path;
        // At least 50 ms of sound.
        EXPECT_GE(sound->pcm.size(), static_cast<size_t>(sound->channels * 2 * 44100 / 20)) << path;
    }
}

TEST(DataFolder, TitleMusicIsAnOggVorbisLoopOfAtLeastThirtySeconds) {
    const std::string path = DataPath(MUSIC_FOLDER, TITLE_MUSIC);
    OggVorbis_File file;
    ASSERT_EQ(ov_fopen(path.c_str(), &file), 0) << path;
    EXPECT_GE(ov_time_total(&file, -1), 30.0);
    // The loop's two ends meet without a jump: the last samples lead into the first ones.
    std::vector<int16_t> first(2), last(2);
    int section = 0;
    ASSERT_EQ(ov_read(&file, reinterpret_cast<char*>(first.data()), 4, 0, 2, 1, &section), 4);
    const ogg_int64_t total = ov_pcm_total(&file, -1);
    ASSERT_EQ(ov_pcm_seek(&file, total - 1), 0);
    ASSERT_EQ(ov_read(&file, reinterpret_cast<char*>(last.data()), 4, 0, 2, 1, &section), 4);
    for (size_t channel = 0; channel < 2; ++channel)
        EXPECT_LT(std::abs(first[channel] - last[channel]), 2000) << "channel " << channel;
    ov_clear(&file);
}

TEST(DataFolder, DefaultSettingsHoldTheTwentyOneKeysInOrder) {
    const std::vector<std::string> keys = {"FULL SCREEN",
                                           "SOUND",
                                           "MUSIC",
                                           "SPEECH",
                                           "SOUND VOLUME",
                                           "MUSIC VOLUME",
                                           "SPEECH VOLUME",
                                           "FADE",
                                           "PARTICLES",
                                           "PORTAL SPLASH",
                                           "PORTAL SPLASH2",
                                           "INTRO",
                                           "VSYNC",
                                           "DRIVER",
                                           "SOUND DRIVER",
                                           "FULL SCREEN PROCESS PRIORITY",
                                           "FULL SCREEN THREAD PRIORITY",
                                           "WINDOWED PROCESS PRIORITY",
                                           "WINDOWED THREAD PRIORITY",
                                           "PROFILE NAME",
                                           "REGION"};
    std::istringstream text(
        testing_support::ReadTextFile(DataPath(SETTINGS_FOLDER, DEFAULT_SETTINGS)));
    std::vector<std::string> found;
    std::string line;
    while (std::getline(text, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const size_t equals = line.find('=');
        ASSERT_NE(equals, std::string::npos) << line;
        found.push_back(line.substr(0, equals));
        // The distributor splash stays off by default: with it on, the logo becomes mandatory.
        if (found.back() == "PORTAL SPLASH") {
            EXPECT_EQ(line.substr(equals + 1), "0");
        }
    }
    EXPECT_EQ(found, keys);
}

TEST(DataFolder, SpeechAndTextFoldersExist) {
    EXPECT_EQ(platform::FileType(platform::AppDir() + SPEECH_FOLDER), 2);
    EXPECT_EQ(platform::FileType(platform::AppDir() + TEXT_FOLDER), 2);
}

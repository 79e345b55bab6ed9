#include "framework/util/ini_file.h"

#include "tests/framework/util/fatal_error_capture.h"
#include "tests/support/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

using testing_support::ReadTextFile;
using testing_support::TempDir;
using testing_support::WriteTextFile;

namespace {

class IniFileTest : public testing::Test {
protected:
    // A settings file in the test's folder with the keys registered in this order.
    TIniFile& Registered(std::initializer_list<std::pair<std::string, std::string>> keys) {
        ini.FileName = dir.File("game");
        for (const auto& [name, value] : keys)
            ini.Add(name, value);
        return ini;
    }
    std::string Path() const { return dir.File("game.ini"); }
    std::string ValueOf(const std::string& name) const {
        for (const TObjectPtr& entry : ini)
            if (auto line = std::dynamic_pointer_cast<TIniLine>(entry); line && line->Name == name)
                return line->Value;
        return "<none>";
    }

    TempDir dir;
    TIniFile ini;
};

TEST_F(IniFileTest, AddStoresTheKeyInUpperCase) {
    Registered({{"Full Screen", "0"}, {"Profile Name", "Mixed Case"}});
    ASSERT_EQ(ini.size(), 2u);
    EXPECT_EQ(ValueOf("FULL SCREEN"), "0");
    EXPECT_EQ(ValueOf("PROFILE NAME"), "Mixed Case");
}

TEST_F(IniFileTest, LoadTakesTheLastLineOfARegisteredKeyAndSavesOnlyRegisteredKeys) {
    Registered({{"Sound", "1"}, {"Music", "1"}});
    ASSERT_TRUE(WriteTextFile(Path(), "MUSIC=0\nIntro=1\nmusic=5\n"));
    EXPECT_EQ(ini.Load(), 0);
    EXPECT_EQ(ValueOf("MUSIC"), "5");
    EXPECT_EQ(ReadTextFile(Path()), "SOUND=1\r\nMUSIC=5\r\n");
}

TEST_F(IniFileTest, LoadSplitsAtTheFirstEqualsSignWithoutTrimming) {
    Registered({{"Sound", "1"}, {"Music", "1"}, {"Profile Name", "player"}});
    ASSERT_TRUE(WriteTextFile(Path(), "SOUND\r\nMUSIC = 0\r\nprofile name=a=b\r\n"));
    ini.Load();
    EXPECT_EQ(ValueOf("SOUND"), "");
    EXPECT_EQ(ValueOf("MUSIC"), "1");
    EXPECT_EQ(ValueOf("PROFILE NAME"), "a=b");
    EXPECT_EQ(ReadTextFile(Path()), "SOUND=\r\nMUSIC=1\r\nPROFILE NAME=a=b\r\n");
}

TEST_F(IniFileTest, LoadOfAMissingFileWritesTheDefaults) {
    Registered({{"Sound", "1"}, {"Region", "0"}});
    ini.Load();
    EXPECT_EQ(ReadTextFile(Path()), "SOUND=1\r\nREGION=0\r\n");
    struct stat info {};
    ASSERT_EQ(stat(Path().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & S_IWOTH, 0u) << "the settings file must not be world-writable";
}

TEST_F(IniFileTest, AKeyAddedTwiceIsWrittenTwiceWithTheLoadedValue) {
    Registered({{"Sound", "1"}, {"sound", "2"}});
    ASSERT_TRUE(WriteTextFile(Path(), "SOUND=0\n"));
    ini.Load();
    EXPECT_EQ(ReadTextFile(Path()), "SOUND=0\r\nSOUND=0\r\n");
}

TEST_F(IniFileTest, EntriesOfOtherClassesAreNotWritten) {
    Registered({{"Sound", "1"}});
    ini.push_back(nullptr);
    ini.push_back(std::make_shared<TStringObject>("stray"));
    ini.Add("Music", "0");
    ini.Save();
    EXPECT_EQ(ReadTextFile(Path()), "SOUND=1\r\nMUSIC=0\r\n");
}

TEST_F(IniFileTest, AFailedSaveIsReportedAndLeavesNoFile) {
    FatalErrorCapture errors;
    ini.FileName = dir.File("no-such-folder/game");
    ini.Add("Sound", "1");
    EXPECT_EQ(FatalErrorCapture::MessageOf([&] { ini.Save(); }),
              "Failed to save file " + dir.File("no-such-folder/game.ini"));
    EXPECT_FALSE(std::filesystem::exists(dir.File("no-such-folder")));
}

TEST_F(IniFileTest, ASaveThatCannotReplaceTheFileIsReported) {
    FatalErrorCapture errors;
    Registered({{"Sound", "1"}});
    // A folder where the file should go: nothing can be renamed over it.
    ASSERT_TRUE(std::filesystem::create_directory(Path()));
    EXPECT_EQ(FatalErrorCapture::MessageOf([&] { ini.Save(); }), "Failed to save file " + Path());
    EXPECT_TRUE(std::filesystem::is_directory(Path()));
}

} // namespace

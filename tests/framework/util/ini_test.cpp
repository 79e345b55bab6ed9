#include "framework/util/ini.h"

#include "tests/framework/util/fatal_error_capture.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using testing_support::ReadTextFile;
using testing_support::TempDir;
using testing_support::WriteTextFile;

namespace {

TEST(IniLines, ReadTakesTheFirstMatchingKey) {
    TempDir dir;
    const std::string file = dir.File("settings.ini");
    struct Case {
        std::string content, key, expected;
    } cases[] = {
        {"sound=1\r\nSOUND=0\r\n", "Sound", "1"},
        {"Music Volume =20\nMUSIC VOLUME=\n", "Music Volume", ""},
        {"Music Volume =20\nMUSIC VOLUME=7\n", "Music Volume", "7"},
        {"PROFILE NAME\nPROFILE NAME=later\n", "Profile Name", ""},
        {"Profile Name=a=b", "PROFILE NAME", "a=b"},
        {"Sound = 1\n", "Sound", ""},
        {"Sound = 1\n", "Sound ", " 1"},
        {"", "Sound", ""},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(WriteTextFile(file, c.content));
        EXPECT_EQ(ccReadIniLine(file, c.key), c.expected) << testing::PrintToString(c.content);
    }
    EXPECT_EQ(ccReadIniLine(dir.File("missing.ini"), "Sound"), "");
}

TEST(IniLines, WriteCopiesWithEveryLineOfTheKeyReplaced) {
    TempDir dir;
    struct Case {
        std::string content, key, value, copy;
    } cases[] = {
        {"sound=1\nMusic=3\nSOUND=0\nSOUNDS=2", "sound", "5",
         "SOUND=5\r\nMusic=3\r\nSOUND=5\r\nSOUNDS=2\r\n"},
        // A key that the source lacks is not added.
        {"A=1\r\n\nb=x=y\n", "Profile Name", "me", "A=1\r\n\r\nb=x=y\r\n"},
        {"PROFILE NAME\n", "Profile Name", "a=b", "PROFILE NAME=a=b\r\n"},
        {"", "A", "1", ""},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(WriteTextFile(dir.File("a.ini"), c.content));
        EXPECT_EQ(ccWriteIniLine(dir.File("a.ini"), dir.File("b.ini"), c.key, c.value), 1);
        EXPECT_EQ(ReadTextFile(dir.File("b.ini")), c.copy) << testing::PrintToString(c.content);
    }
}

TEST(IniLines, WriteFailuresCreateNothingAndKeepTheSource) {
    TempDir dir;
    EXPECT_EQ(ccWriteIniLine(dir.File("missing.ini"), dir.File("b.ini"), "A", "1"), 0);
    EXPECT_FALSE(ccFileExists(dir.File("b.ini")));

    ASSERT_TRUE(WriteTextFile(dir.File("a.ini"), "A=1\n"));
    EXPECT_EQ(ccWriteIniLine(dir.File("a.ini"), dir.File("no/such/folder/b.ini"), "A", "2"), 0);
    EXPECT_EQ(ReadTextFile(dir.File("a.ini")), "A=1\n");
}

TEST(IniLines, WriteOntoItsOwnSourceKeepsTheOtherLines) {
    TempDir dir;
    const std::string file = dir.File("a.ini");
    ASSERT_TRUE(WriteTextFile(file, "A=1\nPROFILE NAME=old\nB=2\n"));
    EXPECT_EQ(ccWriteIniLine(file, file, "Profile Name", "new"), 1);
    EXPECT_EQ(ReadTextFile(file), "A=1\r\nPROFILE NAME=new\r\nB=2\r\n");
}

TEST(IniLines, ReadOnlySourcesAreRead) {
    if (geteuid() == 0)
        GTEST_SKIP() << "file modes do not bind the super-user";
    TempDir dir;
    ASSERT_TRUE(WriteTextFile(dir.File("Default.ini"), "PROFILE NAME=\nSOUND=1\n"));
    ASSERT_EQ(chmod(dir.File("Default.ini").c_str(), 0444), 0);
    EXPECT_EQ(ccReadIniLine(dir.File("Default.ini"), "Sound"), "1");
    EXPECT_EQ(ccWriteIniLine(dir.File("Default.ini"), dir.File("b.ini"), "Profile Name", "x"), 1);
    EXPECT_EQ(ReadTextFile(dir.File("b.ini")), "PROFILE NAME=x\r\nSOUND=1\r\n");
}

TEST(IniLines, WrittenFilesAreNotWorldWritable) {
    TempDir dir;
    ASSERT_TRUE(WriteTextFile(dir.File("a.ini"), "A=1\n"));
    ASSERT_EQ(ccWriteIniLine(dir.File("a.ini"), dir.File("b.ini"), "A", "2"), 1);
    struct stat info {};
    ASSERT_EQ(stat(dir.File("b.ini").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & S_IWOTH, 0u);
}

TEST(IniLines, NumberAndStringLinesOnAStream) {
    platform::StreamPtr out = platform::MemoryStream();
    EXPECT_EQ(ccWriteIniNumber(out, "Music Volume", -20), 0);
    EXPECT_EQ(ccWriteIniString(out, "Driver", "OpenGL"), 0);
    EXPECT_EQ(platform::MemoryStreamData(out), "MUSIC VOLUME=-20\r\nDRIVER=OpenGL\r\n");
    EXPECT_EQ(ccIniFirstString("A=B=C"), "A");
    EXPECT_EQ(ccIniLastString("A=B=C"), "B=C");
}

TEST(Sections, HeaderTestUpperCasesOnlyTheLine) {
    FatalErrorCapture errors;
    EXPECT_EQ(FatalErrorCapture::MessageOf([] { ccTestSectionHeader("TEXT", "[text]"); }), "");
    EXPECT_EQ(FatalErrorCapture::MessageOf([] { ccTestSectionHeader("Text", "[TEXT]"); }),
              "[Text] header hot found");
    EXPECT_EQ(errors.Messages, std::vector<std::string>{"[Text] header hot found"});
}

TEST(Sections, ArrayReadsUpToTheNextHeader) {
    const TStringArray lines = {"[A]", "x", "", "y", "[B]", "z"};
    struct Case {
        int index;
        TStringArray section;
        int next;
    } cases[] = {{1, {"x", "", "y"}, 4}, {5, {"z"}, 6}, {4, {}, 4}, {6, {}, 6}, {-1, {}, -1}};
    for (const Case& c : cases) {
        int index = c.index;
        EXPECT_EQ(ccLoadSectionArrayFromArray(lines, index), c.section) << c.index;
        EXPECT_EQ(index, c.next) << c.index;
    }

    int index = 1;
    EXPECT_EQ(ccLoadSectionStringFromArray(lines, index), "x");
    EXPECT_EQ(index, 2);
    index = 6;
    EXPECT_EQ(ccLoadSectionStringFromArray(lines, index), "");
    EXPECT_EQ(index, 7);
    index = -3;
    EXPECT_EQ(ccLoadSectionStringFromArray(lines, index), "");
    EXPECT_EQ(index, -2);
}

TEST(Sections, FileReadsUpToTheNextHeader) {
    struct Case {
        std::string content;
        TStringArray section;
        std::string line;
    } cases[] = {
        {"a\n\nb\n[B]\nz\n", {"a", "", "b"}, "[B]"},
        {"a\nb", {"a", "b"}, "b"},
        {"a\nb\n", {"a", "b"}, "b"},
        {"a\n\n", {"a"}, ""},
        {"[B]\n", {}, "[B]"},
    };
    for (const Case& c : cases) {
        std::string line = "unchanged";
        EXPECT_EQ(ccLoadSectionArrayFromFile(platform::MemoryStream(c.content), line), c.section)
            << testing::PrintToString(c.content);
        EXPECT_EQ(line, c.line) << testing::PrintToString(c.content);
    }

    platform::StreamPtr in = platform::MemoryStream("only\n[NEXT]\nrest\n");
    std::string next;
    EXPECT_EQ(ccLoadSectionStringFromFile(in, next), "only");
    EXPECT_EQ(next, "[NEXT]");
}

TEST(Files, LoadFileOfAMissingFileIsFatal) {
    TempDir dir;
    FatalErrorCapture errors;
    const std::string path = dir.File("gone.txt");
    EXPECT_EQ(FatalErrorCapture::MessageOf([&] { ccLoadFile(path); }),
              "Error loading file " + path);

    ASSERT_TRUE(WriteTextFile(dir.File("here.txt"), "line\n"));
    platform::StreamPtr in = ccLoadFile(dir.File("here.txt"));
    ASSERT_TRUE(in);
    EXPECT_EQ(in->ReadLine(), "line");
}

TEST(Files, ExistsForFilesAndFolders) {
    TempDir dir;
    ASSERT_TRUE(WriteTextFile(dir.File("f"), ""));
    EXPECT_EQ(ccFileExists(dir.File("f")), 1);
    EXPECT_EQ(ccFileExists(dir.Path()), 1);
    EXPECT_EQ(ccFileExists(dir.File("none")), 0);
}

TEST(Files, AddSlashAndBundlePath) {
    EXPECT_EQ(ccAddSlash("data"), "data/");
    EXPECT_EQ(ccAddSlash("data/"), "data/");
    EXPECT_EQ(ccAddSlash("data\\"), "data\\");
    EXPECT_EQ(ccAddSlash(""), "/");

    struct Case {
        std::string appFile, bundle;
    } cases[] = {
        {"/usr/games/pelorin", "/usr/games/pelorin.app"},
        {"/Apps/Game.app/Contents/MacOS/Game", "/Apps/Game.app"},
        {"/Apps/Name.debug.app/Contents/MacOS/Name", "/Apps/Name.app"},
        {"/Apps/Gamedebug.app/Contents/MacOS/G", "/Apps/Gam.app"},
        {"/Apps/X.app/in/Y.app/Y", "/Apps/X.app"},
        {"debug", ".app"},
        {"/opt/Game.Debug.app/x", "/opt/Game.Debug.app"},
        // Only a component named "Name.app" is a bundle: not a folder that merely holds ".app".
        {"/home/u/games.apps/pelorin-demo", "/home/u/games.apps/pelorin-demo.app"},
        {"/home/u/.apps/pelorin-demo", "/home/u/.apps/pelorin-demo.app"},
        {"/srv/x.application/y.app.old/Game", "/srv/x.application/y.app.old/Game.app"},
        {"/home/u/.app/pelorin-demo", "/home/u/.app/pelorin-demo.app"},
        {"Game.app/Contents/MacOS/Game", "Game.app"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ccAppFileNonDebug(c.appFile), c.bundle) << c.appFile;
    EXPECT_EQ(ccAppFileNonDebug().substr(ccAppFileNonDebug().size() - 4), ".app");
}

} // namespace

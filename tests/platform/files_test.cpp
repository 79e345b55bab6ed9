#include "platform/file_lock.h"
#include "platform/files.h"
#include "platform/system.h"

#include "tests/support/child_process.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fcntl.h>
#include <functional>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using namespace platform;
using testing_support::HeldChild;
using testing_support::ReadTextFile;
using testing_support::TempDir;
using testing_support::WriteTextFile;

int ModeOf(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 ? static_cast<int>(st.st_mode & 07777) : -1;
}

std::vector<std::string> Names(const std::string& dir) {
    std::vector<std::string> names;
    ReadDir(dir, names);
    return names;
}

// Sets the file-creation mask for one test.
class UmaskGuard {
public:
    explicit UmaskGuard(mode_t mask) : old_(umask(mask)) {}
    ~UmaskGuard() { umask(old_); }

private:
    mode_t old_;
};

class CaseFolders : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(CreateDir(dir.File("Data/graphics"), true));
        ASSERT_TRUE(CreateDir(dir.File("data"), false));
        ASSERT_TRUE(WriteTextFile(dir.File("Data/graphics/pawn.png"), "pawn"));
        ASSERT_TRUE(WriteTextFile(dir.File("data/Default.ini"), "defaults"));
        ASSERT_TRUE(WriteTextFile(dir.File("data/README"), "upper"));
        ASSERT_TRUE(WriteTextFile(dir.File("data/Readme"), "mixed"));
        ASSERT_TRUE(WriteTextFile(dir.File("data/caf\xc3\xa9"), "bytes"));
    }
    TempDir dir;
};

TEST_F(CaseFolders, ResolvePathFindsFilesAndFoldersWithoutRegardToCase) {
    struct Case {
        const char* asked;
        const char* found;
    };
    const Case cases[] = {
        {"Data/graphics/pawn.png", "Data/graphics/pawn.png"},
        {"data/graphics/pawn.png", "Data/graphics/pawn.png"}, // "data" exists but lacks it
        {"DATA/GRAPHICS/PAWN.PNG", "Data/graphics/pawn.png"},
        {"Data/default.ini", "data/Default.ini"},
        {"data/default.ini", "data/Default.ini"},
        {"data/Readme", "data/Readme"}, // the exact name wins
        {"data/readme", "data/README"}, // else the first match in byte order
        {"DATA/Graphics/", "Data/graphics/"},
        {"data/CAF\xc3\xa9", "data/caf\xc3\xa9"}, // other bytes match exactly
        {"data/CAF\xc3\x89", "data/CAF\xc3\x89"}, // no folding beyond ASCII
        {"data/missing.ini", "data/missing.ini"},
        {"Data/graphics/pawn.png/x", "Data/graphics/pawn.png/x"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ResolvePath(dir.File(c.asked)), dir.File(c.found)) << c.asked;

    // Relative paths resolve from the working folder.
    const std::string cwd = CurrentDir();
    ASSERT_EQ(chdir(dir.Path().c_str()), 0);
    EXPECT_EQ(ResolvePath("DATA/default.INI"), "data/Default.ini");
    EXPECT_EQ(ResolvePath("./data/../DATA/Graphics"), "./data/../Data/graphics");
    ASSERT_EQ(chdir(cwd.c_str()), 0);
}

TEST_F(CaseFolders, ReadsResolveAndWritesUseTheExactName) {
    EXPECT_EQ(FileType(dir.File("DATA/DEFAULT.INI")), FILETYPE_FILE);
    EXPECT_EQ(FileType(dir.File("data/GRAPHICS")), FILETYPE_DIR);
    EXPECT_EQ(FileType(dir.File("data/nothing")), FILETYPE_NONE);
    EXPECT_EQ(FileSize(dir.File("data/default.ini")), 8);
    EXPECT_EQ(FileSize(dir.File("data/nothing")), -1);
    std::string bytes;
    EXPECT_TRUE(LoadBytes(dir.File("data/default.ini"), bytes));
    EXPECT_EQ(bytes, "defaults");
    auto in = ReadFile(dir.File("DATA/graphics/Pawn.png"));
    ASSERT_TRUE(in);
    EXPECT_EQ(in->ReadString(4), "pawn");
    EXPECT_EQ(Names(dir.File("DATA")), std::vector<std::string>{"graphics"}); // "Data" first
    EXPECT_EQ(Names(dir.File("data")),
              (std::vector<std::string>{"Default.ini", "README", "Readme", "caf\xc3\xa9"}));

    EXPECT_TRUE(SaveBytesAtomic(dir.File("data/default.ini"), "user"));
    EXPECT_EQ(ReadTextFile(dir.File("data/Default.ini")), "defaults");
    EXPECT_EQ(ReadTextFile(dir.File("data/default.ini")), "user");
    EXPECT_FALSE(SaveBytesAtomic(dir.File("DATA/new.txt"), "x")); // no folder of that exact name
}

TEST(Files, FoldersAndFiles) {
    TempDir dir;
    UmaskGuard mask(027);
    EXPECT_FALSE(CreateDir(dir.File("a/b/c"), false));
    EXPECT_TRUE(CreateDir(dir.File("a/b/c/"), true));
    EXPECT_TRUE(CreateDir(dir.File("a/b/c"), false)); // already there
    EXPECT_EQ(FileType(dir.File("a/b/c")), FILETYPE_DIR);
    EXPECT_EQ(ModeOf(dir.File("a/b")), 0750);

    EXPECT_TRUE(CreateFile(dir.File("a/f.txt")));
    EXPECT_EQ(ModeOf(dir.File("a/f.txt")), 0640);
    ASSERT_TRUE(WriteTextFile(dir.File("a/f.txt"), "12345"));
    EXPECT_EQ(FileSize(dir.File("a/f.txt")), 5);
    EXPECT_TRUE(CreateFile(dir.File("a/f.txt")));
    EXPECT_EQ(FileSize(dir.File("a/f.txt")), 0);
    EXPECT_FALSE(CreateDir(dir.File("a/f.txt"), false)); // a file is in the way

    EXPECT_TRUE(RenameFile(dir.File("a/F.TXT"), dir.File("a/g.txt")));
    EXPECT_EQ(Names(dir.File("a")), (std::vector<std::string>{"b", "g.txt"}));
    EXPECT_TRUE(SetFileMode(dir.File("a/g.txt"), 0600));
    EXPECT_EQ(ModeOf(dir.File("a/g.txt")), 0600);
    EXPECT_FALSE(DeleteFile(dir.File("a/b")));
    EXPECT_TRUE(DeleteFile(dir.File("a/g.txt")));
    EXPECT_FALSE(DeleteFile(dir.File("a/g.txt")));

    std::vector<std::string> names{"stale"};
    EXPECT_FALSE(ReadDir(dir.File("nothing"), names));
    EXPECT_TRUE(names.empty());

    // A recursive delete removes links without following them.
    ASSERT_TRUE(CreateDir(dir.File("keep"), false));
    ASSERT_TRUE(WriteTextFile(dir.File("keep/precious"), "x"));
    ASSERT_EQ(symlink(dir.File("keep").c_str(), dir.File("a/b/c/link").c_str()), 0);
    EXPECT_FALSE(DeleteDir(dir.File("a"), false)); // not empty
    EXPECT_TRUE(DeleteDir(dir.File("a/"), true));
    EXPECT_EQ(FileType(dir.File("a")), FILETYPE_NONE);
    EXPECT_EQ(ReadTextFile(dir.File("keep/precious")), "x");
}

TEST(AtomicWrites, ReplaceTheFileWholeAndKeepItsMode) {
    TempDir dir;
    UmaskGuard mask(022);
    const std::string file = dir.File("settings.ini");
    EXPECT_TRUE(SaveBytesAtomic(file, "first"));
    EXPECT_EQ(ModeOf(file), 0644);
    ASSERT_TRUE(SetFileMode(file, 0600));
    EXPECT_TRUE(SaveBytesAtomic(file, std::string("se\0cond", 7)));
    EXPECT_EQ(ReadTextFile(file), std::string("se\0cond", 7));
    EXPECT_EQ(ModeOf(file), 0600);

    auto out = WriteFile(file);
    ASSERT_TRUE(out);
    out->WriteLine("third");
    EXPECT_EQ(ReadTextFile(file), std::string("se\0cond", 7)); // nothing shows before Close
    EXPECT_TRUE(out->Close());
    EXPECT_TRUE(out->Close()); // harmless twice
    EXPECT_EQ(ReadTextFile(file), "third\r\n");

    // A link is written through, and stays a link.
    ASSERT_EQ(symlink("settings.ini", dir.File("link.ini").c_str()), 0);
    EXPECT_TRUE(SaveBytesAtomic(dir.File("link.ini"), "fourth"));
    EXPECT_EQ(ReadTextFile(file), "fourth");
    struct stat st;
    ASSERT_EQ(lstat(dir.File("link.ini").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));

    EXPECT_TRUE(CopyFile(dir.File("SETTINGS.INI"), dir.File("copy.ini")));
    EXPECT_EQ(ReadTextFile(dir.File("copy.ini")), "fourth");
    EXPECT_FALSE(CopyFile(dir.File("missing"), dir.File("copy.ini")));
    EXPECT_EQ(ReadTextFile(dir.File("copy.ini")), "fourth");
    EXPECT_EQ(Names(dir.Path()),
              (std::vector<std::string>{"copy.ini", "link.ini", "settings.ini"}));
}

TEST(AtomicWrites, OnFailureTheOldFileStaysAndNoTemporaryFileIsLeft) {
    TempDir dir;
    const std::string file = dir.File("profile.dat");
    ASSERT_TRUE(WriteTextFile(file, "old"));

    {
        // Dropped without Close.
        auto out = WriteFile(file);
        ASSERT_TRUE(out);
        out->WriteString("half");
    }
    EXPECT_EQ(ReadTextFile(file), "old");

    {
        // A stream that failed does not commit.
        auto out = WriteFile(file);
        out->WriteString("new");
        EXPECT_EQ(out->ReadByte(), 0);
        EXPECT_TRUE(out->Failed());
        EXPECT_FALSE(out->Close());
    }
    EXPECT_EQ(ReadTextFile(file), "old");

    {
        // The target became a folder before Close: the rename fails.
        auto out = WriteFile(dir.File("becomes-folder"));
        ASSERT_TRUE(out);
        out->WriteString("data");
        ASSERT_TRUE(CreateDir(dir.File("becomes-folder/inside"), true));
        EXPECT_FALSE(out->Close());
        EXPECT_EQ(FileType(dir.File("becomes-folder/inside")), FILETYPE_DIR);
    }
    EXPECT_FALSE(SaveBytesAtomic(dir.File("becomes-folder"), "x"));
    EXPECT_FALSE(WriteFile(dir.File("becomes-folder")));
    EXPECT_FALSE(SaveBytesAtomic(dir.File("no-folder/file"), "x"));
    EXPECT_EQ(Names(dir.Path()), (std::vector<std::string>{"becomes-folder", "profile.dat"}));

    // The folder vanished while the stream was open.
    ASSERT_TRUE(CreateDir(dir.File("gone"), false));
    auto out = WriteFile(dir.File("gone/file"));
    ASSERT_TRUE(out);
    out->WriteString("data");
    ASSERT_TRUE(DeleteDir(dir.File("gone"), true));
    EXPECT_FALSE(out->Close());

    if (geteuid() != 0) { // the superuser writes into read-only folders
        ASSERT_TRUE(CreateDir(dir.File("locked"), false));
        ASSERT_TRUE(WriteTextFile(dir.File("locked/file"), "old"));
        ASSERT_TRUE(SetFileMode(dir.File("locked"), 0500));
        EXPECT_FALSE(SaveBytesAtomic(dir.File("locked/file"), "new"));
        EXPECT_FALSE(CopyFile(file, dir.File("locked/file")));
        EXPECT_EQ(ReadTextFile(dir.File("locked/file")), "old");
        ASSERT_TRUE(SetFileMode(dir.File("locked"), 0700));
        EXPECT_EQ(Names(dir.File("locked")), std::vector<std::string>{"file"});
    }
}

// A save killed before its rename leaves its temporary file behind. A later save of the file
// removes it, whatever process the name gives: one that is gone, a live one (the name's process
// number may be another process's in a sandbox or on another machine), this one. It keeps what is
// not such a file, and the file that a live save holds, here one that this process cannot see.
TEST(AtomicWrites, ASaveRemovesTheTemporaryFilesThatNoLiveSaveHolds) {
    TempDir dir;
    const pid_t gone = testing_support::GonePid();
    ASSERT_GT(gone, 0);
    const std::string dead = std::to_string(gone);
    // A save of this process's own, still open.
    auto ownStream = WriteFile(dir.File("settings.ini"));
    ASSERT_TRUE(ownStream);
    ownStream->WriteString("own");
    ASSERT_EQ(Names(dir.Path()).size(), 1u);
    const std::vector<std::string> stale = {
        ".settings.ini." + dead + ".0.tmp",
        ".settings.ini." + std::to_string(getppid()) + ".17.tmp",
        ".settings.ini." + std::to_string(getpid()) + ".999999.tmp",
    };
    const std::vector<std::string> otherFiles = {".profile.dat." + dead + ".0.tmp",
                                                 ".settings.ini.old." + dead + ".0.tmp"};
    std::vector<std::string> kept = {
        ".settings.ini." + dead + ".tmp",
        ".settings.ini." + dead + ".0.tmp.bak",
        ".settings.ini.x" + dead + ".0.tmp",
        "settings.ini." + dead + ".0.tmp",
        "precious",
    };
    for (const auto& names : {stale, otherFiles, kept})
        for (const std::string& name : names)
            ASSERT_TRUE(WriteTextFile(dir.File(name), "left"));
    // Of our names, but a link to a file of the player's, and a folder.
    kept.push_back(".settings.ini." + dead + ".2.tmp");
    ASSERT_EQ(symlink("precious", dir.File(kept.back()).c_str()), 0);
    kept.push_back(".settings.ini." + dead + ".3.tmp");
    ASSERT_TRUE(CreateDir(dir.File(kept.back())));

    const std::string held = ".settings.ini." + dead + ".5.tmp";
    HeldChild writer([&](const std::function<void()>& ready) {
        const int fd = open(dir.File(held).c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        if (fd < 0 || flock(fd, LOCK_EX) != 0)
            return false;
        ready();
        close(fd);
        return true;
    });
    ASSERT_TRUE(writer.Ready());
    std::vector<std::string> expected = Names(dir.Path());

    ASSERT_TRUE(SaveBytesAtomic(dir.File("settings.ini"), "new"));
    EXPECT_EQ(ReadTextFile(dir.File("settings.ini")), "new");
    for (const std::string& name : stale)
        expected.erase(std::find(expected.begin(), expected.end(), name));
    expected.push_back("settings.ini");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Names(dir.Path()), expected);
    EXPECT_TRUE(ownStream->Close());
    EXPECT_EQ(ReadTextFile(dir.File("settings.ini")), "own");

    // Across the folder, the other files' too; the held one stays until its save has ended.
    RemoveAbandonedTemps(dir.Path());
    EXPECT_EQ(FileType(dir.File(held)), FILETYPE_FILE);
    EXPECT_EQ(FileType(dir.File(otherFiles[0])), FILETYPE_NONE);
    EXPECT_EQ(FileType(dir.File(otherFiles[1])), FILETYPE_NONE);
    EXPECT_EQ(writer.Release(), 0);
    RemoveAbandonedTemps(dir.Path(), "settings.ini");
    kept.push_back("settings.ini");
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(Names(dir.Path()), kept);
    EXPECT_EQ(ReadTextFile(dir.File("precious")), "left");
}

// Every change a save makes on disk, the rename last, finds its temporary file locked: a save that
// let go of the lock before its rename could lose the file to another copy's sweep.
TEST(AtomicWrites, ATemporaryFileStaysLockedUpToItsRename) {
    TempDir dir;
    const std::string file = dir.File("settings.ini");
    int locked = 0, unlocked = 0;
    SetFileChangeHook([&] {
        for (const std::string& name : Names(dir.Path())) {
            if (name.rfind(".settings.ini.", 0) != 0)
                continue;
            const int fd = open(dir.File(name).c_str(), O_RDONLY | O_CLOEXEC);
            if (fd < 0)
                continue;
            ++(flock(fd, LOCK_EX | LOCK_NB) == 0 ? unlocked : locked);
            close(fd);
        }
    });
    const bool saved = SaveBytesAtomic(file, "new") && SaveBytesAtomic(file, "newer");
    SetFileChangeHook(nullptr);
    EXPECT_TRUE(saved);
    EXPECT_EQ(ReadTextFile(file), "newer");
    EXPECT_EQ(unlocked, 0);
    // Written, flushed, synced and renamed, twice (the mode set on the second).
    EXPECT_GE(locked, 8);
}

// Locks of the marker that a live run holds: shared among runs, refused to a start while any run
// holds one, and dropped with a run that is killed.
TEST(FileLocks, ALiveHolderKeepsTheFileFromBeingTaken) {
    TempDir dir;
    const std::string marker = dir.File("inichanged.dat");
    bool held = true;
    EXPECT_FALSE(TFileLock::Take(marker, &held));
    EXPECT_FALSE(held) << "a missing file is not held";

    HeldChild run([&](const std::function<void()>& ready) {
        const auto lock = TFileLock::Share(marker);
        ready();
        return lock != nullptr;
    });
    ASSERT_TRUE(run.Ready());
    EXPECT_EQ(FileType(marker), FILETYPE_FILE);
    EXPECT_FALSE(TFileLock::Take(marker, &held));
    EXPECT_TRUE(held);
    auto shared = TFileLock::Share(marker);
    ASSERT_TRUE(shared) << "another run shares the marker";
    EXPECT_TRUE(shared->Names(marker));
    // Written in place, whole: still the file that the other run holds.
    ASSERT_TRUE(shared->Write("a stamp"));
    ASSERT_TRUE(shared->Write("mine"));
    EXPECT_EQ(ReadTextFile(marker), "mine");
    EXPECT_TRUE(shared->Names(marker));
    EXPECT_FALSE(TFileLock::Take(marker, &held));
    shared.reset();
    EXPECT_FALSE(TFileLock::Take(marker, &held));
    run.Kill();
    EXPECT_TRUE(TFileLock::Take(marker, &held));
    EXPECT_FALSE(held);

    // A file removed and made again is not the one locked.
    shared = TFileLock::Share(marker);
    ASSERT_TRUE(shared);
    ASSERT_TRUE(DeleteFile(marker));
    ASSERT_TRUE(WriteTextFile(marker, ""));
    EXPECT_FALSE(shared->Names(marker));
    EXPECT_TRUE(TFileLock::Take(marker, &held));
}

// Two copies of the game saving the same file at once: each save stands, the later rename wins.
TEST(AtomicWrites, ASaveLeavesTheFileOfAnotherProcesssSaveOfTheSameFile) {
    TempDir dir;
    const std::string file = dir.File("settings.ini");
    HeldChild writer([&](const std::function<void()>& ready) {
        auto out = WriteFile(file);
        if (!out)
            return false;
        out->WriteString("child");
        ready();
        return out->Close();
    });
    ASSERT_TRUE(writer.Ready());
    ASSERT_EQ(Names(dir.Path()).size(), 1u);
    const std::string childsTemp = Names(dir.Path())[0];
    ASSERT_TRUE(SaveBytesAtomic(file, "parent"));
    RemoveAbandonedTemps(dir.Path());
    EXPECT_EQ(Names(dir.Path()), (std::vector<std::string>{childsTemp, "settings.ini"}));
    EXPECT_EQ(ReadTextFile(file), "parent");
    EXPECT_EQ(writer.Release(), 0) << "the child's save failed";
    EXPECT_EQ(ReadTextFile(file), "child");
    EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"settings.ini"});
}

TEST(AtomicWritesDeathTest, EndRemovesTemporaryFilesOfOpenStreams) {
    TempDir dir;
    EXPECT_EXIT(
        {
            auto out = WriteFile(dir.File("file"));
            out->WriteString("never committed");
            End(0);
        },
        testing::ExitedWithCode(0), "");
    EXPECT_TRUE(Names(dir.Path()).empty());
}

} // namespace

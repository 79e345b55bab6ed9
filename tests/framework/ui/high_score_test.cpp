#include "framework/ui/high_score.h"
#include "platform/files.h"
#include "tests/framework/util/fatal_error_capture.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

using testing_support::ReadTextFile;
using testing_support::TempDir;
using testing_support::WriteTextFile;

namespace {

struct Row {
    std::string name;
    int score;
    int level;
    bool operator==(const Row&) const = default;
};

std::vector<Row> Rows(const THighScoreList& table) {
    std::vector<Row> rows;
    for (const THighScorePtr& e : table)
        rows.push_back({e->name, e->score, e->level});
    return rows;
}

// One stored record: each name byte less 19, a 0 byte, score and level little-endian.
std::string Record(const std::string& name, int score, int level) {
    std::string out;
    for (unsigned char c : name)
        out += static_cast<char>((c - 19) & 0xff);
    out += '\0';
    for (int v : {score, level})
        for (int b = 0; b < 4; ++b)
            out += static_cast<char>((static_cast<uint32_t>(v) >> (8 * b)) & 0xff);
    return out;
}

const std::vector<Row> DEFAULTS = {
    {"Ace", 10000, 10}, {"Comet", 9000, 9}, {"Dart", 8000, 8}, {"Ember", 7000, 7},
    {"Flint", 6000, 6}, {"Gale", 5000, 5},  {"Hawk", 4000, 4}, {"Jet", 3000, 3},
    {"Kite", 2000, 2},  {"Lark", 1000, 1},
};

std::string DefaultFile() {
    std::string bytes;
    for (const Row& r : DEFAULTS)
        bytes += Record(r.name, r.score, r.level);
    return bytes;
}

class HighScoreTest : public ::testing::Test {
protected:
    void SetUp() override { table.Create(dir.File("scores"), 12); }
    std::string File() const { return dir.File("scores.dat"); }

    TempDir dir;
    THighScoreList table;
};

TEST_F(HighScoreTest, WithoutAFileTheDefaultTableIsMadeAndWritten) {
    EXPECT_EQ(table.filepath, File());
    EXPECT_EQ(table.MaxNameLength, 12);
    table.Add("stale", 1, 1);
    table.Load();
    EXPECT_EQ(Rows(table), DEFAULTS);
    const std::string bytes = ReadTextFile(File());
    EXPECT_EQ(bytes, DefaultFile());
    EXPECT_EQ(bytes.substr(0, 12), std::string("\x2e\x50\x52\0\x10\x27\0\0\x0a\0\0\0", 12));

    THighScoreList again;
    again.Create(dir.File("scores"), 10);
    again.Load();
    EXPECT_EQ(Rows(again), DEFAULTS);
}

TEST_F(HighScoreTest, InsertPlacesByScoreAboveEqualScores) {
    table.Load();
    table.Insert("New", 7000, 3);
    ASSERT_EQ(table.size(), 11u);
    EXPECT_EQ(Rows(table)[3], (Row{"New", 7000, 3}));
    EXPECT_EQ(Rows(table)[4].name, "Ember");
    table.Insert("Low", 5, 1);
    EXPECT_EQ(Rows(table).back(), (Row{"Low", 5, 1}));
    table.Insert("Top", 20000, 1);
    EXPECT_EQ(Rows(table).front().name, "Top");
    THighScoreList empty;
    empty.Insert("Only", 1, 1);
    EXPECT_EQ(empty.size(), 1u);
}

TEST_F(HighScoreTest, ZeroWritesEmptyEntries) {
    table.Load();
    table.Zero(10);
    ASSERT_EQ(table.size(), 10u);
    for (const Row& r : Rows(table))
        EXPECT_EQ(r, (Row{"Empty", 0, 0}));
    std::string expected;
    for (int i = 0; i < 10; ++i)
        expected += std::string("\x32\x5a\x5d\x61\x66", 5) + std::string(9, '\0');
    EXPECT_EQ(ReadTextFile(File()), expected);
}

TEST_F(HighScoreTest, NamesSurviveSaveAndLoadByteForByte) {
    // Every byte but 19 survives: 19 would be stored as the name's end and cannot be kept.
    std::string allBytes;
    for (int c = 1; c < 256; ++c)
        allBytes += static_cast<char>(c);
    table.Add("", 5, 6);
    table.Add(allBytes, -1, INT32_MIN);
    table.Add(std::string("a\x13") + "b", 7, 8);
    table.Save();
    EXPECT_EQ(ReadTextFile(File()).substr(0, 9), Record("", 5, 6)) << "the 0 byte alone";

    THighScoreList back;
    back.Create(dir.File("scores"), 10);
    back.Load();
    std::string withoutEnd = allBytes;
    withoutEnd.erase(withoutEnd.find('\x13'), 1);
    EXPECT_EQ(Rows(back),
              (std::vector<Row>{{"", 5, 6}, {withoutEnd, -1, INT32_MIN}, {"ab", 7, 8}}));
}

TEST_F(HighScoreTest, CreateDefaultAppendsAndAnEmptyFileIsAnEmptyTable) {
    table.Add("Mine", 1, 1);
    table.CreateDefault();
    ASSERT_EQ(table.size(), 11u);
    EXPECT_EQ(Rows(table).front().name, "Mine");
    EXPECT_EQ(Rows(table)[1].name, "Ace");

    ASSERT_TRUE(WriteTextFile(File(), ""));
    table.Load();
    EXPECT_TRUE(table.empty());
}

TEST_F(HighScoreTest, ADamagedFileIsKeptAsideAndTheDefaultsUsed) {
    const std::string good = Record("Ace", 10, 1);
    struct Case {
        const char* what;
        std::string bytes;
    };
    const Case cases[] = {
        {"a name without its end", good + "\x30\x31"},
        {"a score cut short", good + Record("Bee", 5, 5).substr(0, 6)},
        {"no level", good + Record("Bee", 5, 5).substr(0, 8)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir caseDir;
        THighScoreList damaged;
        damaged.Create(caseDir.File("scores"), 10);
        ASSERT_TRUE(WriteTextFile(damaged.filepath, c.bytes));
        ::testing::internal::CaptureStderr();
        damaged.Load();
        const std::string err = ::testing::internal::GetCapturedStderr();
        EXPECT_NE(err.find("scores.dat.damaged"), std::string::npos) << err;
        EXPECT_EQ(ReadTextFile(damaged.filepath + ".damaged"), c.bytes);
        EXPECT_EQ(Rows(damaged), DEFAULTS);
        EXPECT_EQ(ReadTextFile(damaged.filepath), DefaultFile()) << "defaults written";
    }
}

TEST_F(HighScoreTest, ATableThatCannotBeWrittenIsFatalWithItsPath) {
    FatalErrorCapture fatal;
    table.Create(dir.File("missing/scores"), 10);
    EXPECT_EQ(FatalErrorCapture::MessageOf([this] { table.Save(); }),
              "Failed to save file " + dir.File("missing/scores.dat"));
}

} // namespace

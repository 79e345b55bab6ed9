#include "framework/graphics/game_text.h"
#include "tests/framework/graphics/graphics_fixture.h"

using graphics_test::GraphicsTest;

namespace {

class GameTextTest : public GraphicsTest {
protected:
    void SetUp() override {
        GraphicsTest::SetUp();
        Game->TextPath = dir.Path();
    }
    TGameTextPtr Load(const std::string& bytes, const std::string& name = "text.txt") {
        EXPECT_TRUE(testing_support::WriteTextFile(dir.File(name), bytes));
        return TGameText::Create(name);
    }
    // The fatal message that reading the bytes gives ("" when it reads).
    std::string ReadError(const std::string& bytes) {
        return FatalErrorCapture::MessageOf([&] { Load(bytes); });
    }
};

const std::string SAMPLE = "[TEXT]\n"
                           "Welcome\n"
                           "Hello there.\n"
                           "\n"
                           "Second line.\n"
                           "[text]\n"
                           "trailing \n"
                           "with a space\n"
                           "[Text]\n"
                           "WELCOME\n"
                           "Replaced\n"
                           "[TEXT]\n"
                           "[TEXT]\n"
                           "\n"
                           "under an empty key\n"
                           "[TEXT]\n"
                           "Bare key\n";

TEST_F(GameTextTest, KeysFindTheirBlocks) {
    auto text = Load(SAMPLE);
    ASSERT_EQ(text->size(), 6u); // the block without key or lines included
    EXPECT_EQ(text->front()[0], "WELCOME");
    struct Case {
        std::string key;
        TStringArray lines;
    };
    const Case cases[] = {
        {"welcome", {"Replaced"}}, // the last of two blocks with one key
        {"WeLcOmE", {"Replaced"}}, {"trailing ", {"with a space"}},
        {"trailing", {}},          {"", {"under an empty key"}},
        {"bare key", {}},          {"missing", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("\"" + c.key + "\"");
        EXPECT_EQ(text->Find(c.key), c.lines);
    }
}

TEST_F(GameTextTest, FindStringJoinsLinesWithCarriageReturnLineFeed) {
    auto text = Load("[TEXT]\r\nthree\r\nOne\r\n\r\nThree\r\n[TEXT]\r\none\r\nonly\r\n");
    EXPECT_EQ(text->FindString("THREE"), "One\r\n\r\nThree");
    EXPECT_EQ(text->FindString("one"), "only");
    EXPECT_EQ(text->FindString("none"), "");
    EXPECT_EQ(text->Find("three").size(), 3u);
}

TEST_F(GameTextTest, ReadingAgainReplacesTheBlocksAndAnEmptyFileHasNone) {
    auto text = Load(SAMPLE);
    EXPECT_TRUE(testing_support::WriteTextFile(dir.File("empty.txt"), ""));
    EXPECT_EQ(text->Read("empty.txt"), 0);
    EXPECT_TRUE(text->empty());
    EXPECT_EQ(text->FindString("welcome"), "");
}

TEST_F(GameTextTest, DamagedFilesAreFatalAndNameTheFile) {
    const std::string path = dir.File("text.txt");
    struct Case {
        std::string what, bytes;
        int line; // 0: reads
    };
    const Case cases[] = {
        {"a text line starting with [", "[TEXT]\nkey\nfine\n[note] not a header\n", 4},
        {"an empty first line", "\n[TEXT]\nkey\n", 1},
        {"no header at all", "key\nline\n", 1},
        {"a header with spaces", "[ TEXT ]\nkey\n", 1},
        {"another section", "[TEXT]\nkey\n[MENU]\n", 3},
        {"a proper file", "[text]\nkey\n", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        testing::internal::CaptureStderr();
        const std::string error = ReadError(c.bytes);
        const std::string warning = testing::internal::GetCapturedStderr();
        if (c.line == 0) {
            EXPECT_EQ(error, "");
            EXPECT_EQ(warning, "");
        } else {
            // The fatal text is the system's; the file and the line are on standard error.
            EXPECT_EQ(error, "[TEXT] header hot found");
            EXPECT_EQ(warning, "text: " + path + ", line " + std::to_string(c.line) +
                                   ": not a [TEXT] header\n");
        }
    }
    const std::string missing = dir.File("absent.txt");
    EXPECT_EQ(FatalErrorCapture::MessageOf([] { TGameText::Create("absent.txt"); }),
              "Error loading file " + missing);
}

TEST_F(GameTextTest, ByteOrderMarksSelectTheEncoding) {
    // "[TEXT]\nkey\ncafé €\n" in each encoding; the euro sign cannot be held in a byte.
    const std::string plain = "[TEXT]\nkey\ncaf\xE9 \x80\n";
    auto utf16 = [](bool big) {
        const std::u16string text = u"[TEXT]\r\nkey\r\ncaf\u00E9 \u20AC\r\n";
        std::string bytes = big ? "\xFE\xFF" : "\xFF\xFE";
        for (char16_t u : text) {
            const char hi = static_cast<char>(u >> 8), lo = static_cast<char>(u & 0xFF);
            bytes += big ? std::string{hi, lo} : std::string{lo, hi};
        }
        return bytes;
    };
    struct Case {
        std::string what, bytes, line;
    };
    const Case cases[] = {
        {"no mark: bytes as characters", plain, "caf\xE9 \x80"},
        {"UTF-8", "\xEF\xBB\xBF[TEXT]\nkey\ncaf\xC3\xA9 \xE2\x82\xAC\n", "caf\xE9 ?"},
        {"UTF-16 little-endian", utf16(false), "caf\xE9 ?"},
        {"UTF-16 big-endian", utf16(true), "caf\xE9 ?"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Load(c.bytes)->FindString("KEY"), c.line);
    }
}

TEST_F(GameTextTest, BrokenEncodingsBecomeUnknownCharacters) {
    const std::pair<std::string, std::string> table[] = {
        {"\xEF\xBB\xBF"
         "a\xC3",
         "a?"}, // cut off at the end
        {"\xEF\xBB\xBF"
         "a\x80z",
         "a?z"}, // a stray continuation byte
        {"\xEF\xBB\xBF"
         "\xC3(",
         "?("},                                             // a lead without its continuation
        {"\xEF\xBB\xBF\xC0\x80", "?"},                      // an over-long NUL
        {"\xEF\xBB\xBF\xF0\x9F\x98\x80", "?"},              // beyond the first plane
        {std::string("\xFF\xFE", 2) + "a", "?"},            // half a UTF-16 unit
        {std::string("\xFF\xFE\x3D\xD8\x00\xDE", 6), "?"},  // a surrogate pair
        {std::string("\xFF\xFE\x00\xDE\x41\x00", 6), "?A"}, // a lone low surrogate
        {std::string("\xFE\xFF\x00\x41", 4), "A"},
        {"\xEF\xBB", "\xEF\xBB"}, // not a whole mark
    };
    for (const auto& [bytes, text] : table)
        EXPECT_EQ(DecodeText(bytes), text);
}

} // namespace

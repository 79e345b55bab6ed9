#include "platform/files.h"

#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>
#include <unistd.h>

namespace {

using namespace platform;
using testing_support::ReadTextFile;
using testing_support::TempDir;
using testing_support::WriteTextFile;

std::vector<std::string> AllLines(TStream& in) {
    std::vector<std::string> lines;
    while (!in.Eof())
        lines.push_back(in.ReadLine());
    return lines;
}

TEST(Streams, ReadLineAndEofOverFilesAndMemory) {
    struct Case {
        std::string bytes;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"a\r\nb\r\n", {"a", "b"}}, // a final line feed gives no extra empty line
        {"a\nb", {"a", "b"}},
        {"a\n\nb\n", {"a", "", "b"}},
        {std::string("x\0y", 3), {"x", "y"}},
        {"\r\r\n", {""}},
        {"one\r", {"one"}},
        {"c\ra\rt", {"cat"}},
        {"\n", {""}},
        {"", {}},
        {"\xe9t\xe9\xff\n", {"\xe9t\xe9\xff"}},
    };
    TempDir dir;
    for (const Case& c : cases) {
        auto memory = MemoryStream(c.bytes);
        EXPECT_EQ(AllLines(*memory), c.lines);
        EXPECT_FALSE(memory->Failed());
        EXPECT_EQ(memory->ReadLine(), "");

        ASSERT_TRUE(WriteTextFile(dir.File("lines.txt"), c.bytes));
        auto file = ReadFile(dir.File("lines.txt"));
        ASSERT_TRUE(file);
        EXPECT_EQ(AllLines(*file), c.lines);
        EXPECT_TRUE(file->Close());
    }
}

TEST(Streams, AFileCutShortAfterOpeningEndsWhereItsBytesEnd) {
    // Each count of bytes left: the lines read before the end is reached. The cut is found only
    // by reading into it, so a cut right after a line feed gives one more, empty line.
    struct Case {
        off_t left;
        std::vector<std::string> lines;
    };
    const Case cases[] = {{0, {""}}, {2, {"a", ""}}, {5, {"a", "b", "c"}}};
    TempDir dir;
    for (const Case& c : cases) {
        ASSERT_TRUE(WriteTextFile(dir.File("shrinks.txt"), "a\nb\nc\nd\n"));
        auto in = ReadFile(dir.File("shrinks.txt"));
        ASSERT_TRUE(in);
        ASSERT_EQ(truncate(dir.File("shrinks.txt").c_str(), c.left), 0);
        std::vector<std::string> lines;
        // Bounded, so that a stream that never ends fails the test instead of hanging it.
        for (int i = 0; i < 10 && !in->Eof(); ++i)
            lines.push_back(in->ReadLine());
        EXPECT_TRUE(in->Eof()) << c.left;
        EXPECT_EQ(lines, c.lines) << c.left;
        EXPECT_TRUE(in->Close());
    }
}

TEST(Streams, WriteLineEndsWithCrLfByteForByte) {
    auto out = MemoryStream();
    out->WriteLine("Date: 09 Dec 2026");
    out->WriteLine("");
    out->WriteLine("\xe9\xff");
    EXPECT_EQ(MemoryStreamData(out), "Date: 09 Dec 2026\r\n\r\n\xe9\xff\r\n");
    EXPECT_EQ(MemoryStreamData(nullptr), "");
}

TEST(Streams, NumbersAreLittleEndian) {
    auto s = MemoryStream();
    s->WriteByte(0x1AB);
    s->WriteShort(-2);
    s->WriteInt(-123456789);
    s->WriteFloat(1.5f);
    s->WriteDouble(-0.25);
    const std::string bytes = MemoryStreamData(s);
    EXPECT_EQ(bytes.substr(0, 7), std::string("\xAB\xFE\xFF\xEB\x32\xA4\xF8", 7));
    EXPECT_EQ(bytes.substr(7, 4), std::string("\x00\x00\xC0\x3F", 4));
    EXPECT_EQ(bytes.substr(11), std::string("\x00\x00\x00\x00\x00\x00\xD0\xBF", 8));

    ASSERT_TRUE(s->Seek(0));
    EXPECT_EQ(s->ReadByte(), 0xAB);
    EXPECT_EQ(s->ReadShort(), 65534);
    EXPECT_EQ(s->ReadInt(), -123456789);
    EXPECT_EQ(s->ReadFloat(), 1.5f);
    EXPECT_EQ(s->ReadDouble(), -0.25);
    EXPECT_TRUE(s->Eof());
    EXPECT_FALSE(s->Failed());
    EXPECT_TRUE(s->Close());
}

TEST(Streams, ShortReadsFailWithoutHarm) {
    auto s = MemoryStream(std::string("\x01\x02\x03", 3));
    EXPECT_EQ(s->ReadInt(), 0);
    EXPECT_TRUE(s->Failed());
    EXPECT_FALSE(s->Close());

    s = MemoryStream("abc");
    EXPECT_EQ(s->ReadString(2000000000), "abc"); // a damaged length allocates nothing huge
    EXPECT_TRUE(s->Failed());

    s = MemoryStream("abc");
    char buf[8];
    EXPECT_FALSE(s->ReadBytes(buf, 8));
    EXPECT_TRUE(s->Failed());
    EXPECT_FALSE(s->Seek(4));
    EXPECT_FALSE(s->Seek(-1));
    EXPECT_EQ(s->ReadByte(), 0);

    TempDir dir;
    ASSERT_TRUE(WriteTextFile(dir.File("short"), "\x05"));
    auto f = ReadFile(dir.File("short"));
    EXPECT_EQ(f->ReadShort(), 0);
    EXPECT_TRUE(f->Failed());
    f->WriteByte(1); // read-only
    EXPECT_FALSE(f->Close());
    EXPECT_EQ(ReadTextFile(dir.File("short")), "\x05");
}

TEST(Streams, OpenFileReadsAndWritesInPlace) {
    TempDir dir;
    ASSERT_TRUE(WriteTextFile(dir.File("data.bin"), "abcdef"));
    EXPECT_FALSE(OpenFile(dir.File("missing"), true, true));
    EXPECT_FALSE(OpenFile(dir.File("data.bin"), false, false));
    EXPECT_FALSE(ReadFile(dir.Path()));
    EXPECT_FALSE(ReadFile(dir.File("missing")));

    auto s = OpenFile(dir.File("data.bin"), true, true);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->Size(), 6);
    EXPECT_EQ(s->ReadString(2), "ab");
    s->WriteString("XY"); // read, then write
    EXPECT_EQ(s->ReadString(1), "e");
    s->WriteString("ZZZ"); // past the end grows the file
    EXPECT_EQ(s->Size(), 8);
    ASSERT_TRUE(s->Seek(0));
    EXPECT_EQ(s->ReadString(8), "abXYeZZZ");
    EXPECT_TRUE(s->Close());
    EXPECT_EQ(ReadTextFile(dir.File("data.bin")), "abXYeZZZ");

    auto m = MemoryStream("hello");
    m->Seek(4);
    m->WriteString("!!");
    EXPECT_EQ(MemoryStreamData(m), "hell!!");
}

} // namespace

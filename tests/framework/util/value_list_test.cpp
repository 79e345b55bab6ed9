#include "framework/util/value_list.h"

#include "tests/framework/util/fatal_error_capture.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

using testing_support::TempDir;
using testing_support::WriteTextFile;

namespace {

TEST(ValueList, ReadKeepsNamesAndLooksUpExactly) {
    TempDir dir;
    ASSERT_TRUE(WriteTextFile(dir.File("v.txt"), "Lives=3\r\nlives=4\nSpeed=-2\n"));
    TValueListPtr list = TValueList::Create(dir.File("v.txt"));
    ASSERT_EQ(list->size(), 3u);

    TValuePtr second = list->GetValueByName("lives");
    ASSERT_TRUE(second);
    EXPECT_EQ(second->value, 4);
    EXPECT_EQ(second, list->GetValueByIndex(1));
    EXPECT_FALSE(list->GetValueByName("LIVES"));

    TValuePtr speed = list->GetValueByIndex(2);
    ASSERT_TRUE(speed);
    EXPECT_EQ(speed->name, "Speed");
    EXPECT_EQ(speed->value, -2);
    EXPECT_FALSE(list->GetValueByIndex(3));
    EXPECT_FALSE(list->GetValueByIndex(-1));
}

TEST(ValueList, ValuesAreTheIntegerBehindTheFirstEqualsSign) {
    TempDir dir;
    ASSERT_TRUE(WriteTextFile(dir.File("v.txt"),
                              "Bonus\nRate=12abc\nRate= 7\nA=B=C\n\nHex=$1F\nBits=%101\n"));
    TValueList list;
    list.Read(dir.File("v.txt"));
    struct Case {
        std::string name;
        int value;
    } expected[] = {{"Bonus", 0}, {"Rate", 12}, {"Rate", 7}, {"A", 0},
                    {"", 0},      {"Hex", 31},  {"Bits", 5}};
    ASSERT_EQ(list.size(), std::size(expected));
    for (int i = 0; i < static_cast<int>(std::size(expected)); ++i) {
        TValuePtr entry = list.GetValueByIndex(i);
        ASSERT_TRUE(entry);
        EXPECT_EQ(entry->name, expected[i].name) << i;
        EXPECT_EQ(entry->value, expected[i].value) << i;
    }
}

TEST(ValueList, ReadAppendsAndSkipsOtherEntries) {
    TempDir dir;
    ASSERT_TRUE(WriteTextFile(dir.File("v.txt"), "B=2\n"));
    TValueList list;
    EXPECT_EQ(list.AddValue("A", 1), nullptr);
    list.push_back(nullptr);
    list.push_back(std::make_shared<TStringObject>("B"));
    list.Read(dir.File("v.txt"));
    ASSERT_TRUE(list.GetValueByIndex(1));
    EXPECT_EQ(list.GetValueByIndex(1)->value, 2);
    EXPECT_EQ(list.GetValueByName("B"), list.GetValueByIndex(1));
    EXPECT_FALSE(list.GetValueByIndex(2));
}

TEST(ValueList, PrintListWritesNameEqualsValueInOrder) {
    TValueList list;
    list.AddValue("Lives", 3);
    list.AddTValue(TValue::Create("Speed", -2));
    testing::internal::CaptureStdout();
    list.PrintList();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Lives=3\nSpeed=-2\n");
}

TEST(ValueList, AMissingFileIsFatal) {
    TempDir dir;
    FatalErrorCapture errors;
    TValueList list;
    EXPECT_EQ(FatalErrorCapture::MessageOf([&] { list.Read(dir.File("none.txt")); }),
              "Error loading file " + dir.File("none.txt"));
}

} // namespace

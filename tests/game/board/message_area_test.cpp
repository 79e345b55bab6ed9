#include "game/board/message_area.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Text and y of every filled slot, top down.
std::vector<std::pair<std::string, float>> Lines(const TMessageArea& area) {
    std::vector<std::pair<std::string, float>> lines;
    for (const auto& label : area.Message)
        if (label)
            lines.emplace_back(label->Text, label->Y);
    return lines;
}

} // namespace

TEST(MessageArea, FillsScrollsAndClears) {
    auto area = TMessageArea::Create(452, 438, 7);
    auto colour = TColor::Create(10, 20, 30, 1.0f);
    for (int n = 1; n <= 7; ++n)
        area->AddNew(std::to_string(n), colour);
    auto lines = Lines(*area);
    ASSERT_EQ(lines.size(), 7u);
    for (int n = 0; n < 7; ++n) {
        EXPECT_EQ(lines[static_cast<std::size_t>(n)].first, std::to_string(n + 1));
        EXPECT_EQ(lines[static_cast<std::size_t>(n)].second, 438.0f + 15.0f * n);
    }
    EXPECT_EQ(area->Message[0]->X, 452.0f);
    ASSERT_NE(area->Message[0]->Shadow, nullptr);
    EXPECT_EQ(area->Message[0]->Shadow->Alpha, 0.5f);

    // The eighth line goes to the bottom and the first is gone; an empty text is a line too. The
    // lines keep their colour objects as they move up.
    auto other = TColor::Create(1, 2, 3, 1.0f);
    area->AddNew("", other);
    lines = Lines(*area);
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[0], std::make_pair(std::string("2"), 438.0f));
    EXPECT_EQ(lines[5], std::make_pair(std::string("7"), 513.0f));
    EXPECT_EQ(lines[6], std::make_pair(std::string(""), 528.0f));
    area->AddNew("9", colour);
    EXPECT_EQ(area->Message[5]->Color, other);
    EXPECT_EQ(area->Message[6]->Color, colour);
    colour->Set(200, 0, 0, 1.0f);
    EXPECT_EQ(area->Message[6]->Color->R, 200);

    area->Clear();
    EXPECT_TRUE(Lines(*area).empty());
    area->AddNew("top", colour);
    EXPECT_EQ(Lines(*area), (std::vector<std::pair<std::string, float>>{{"top", 438.0f}}));
}

TEST(MessageArea, NoLinesTakesNothing) {
    auto area = TMessageArea::Create(0, 0, 0);
    area->AddNew("lost", TColor::Create(0, 0, 0, 1.0f));
    EXPECT_TRUE(area->Message.empty());
    area->Draw();
}

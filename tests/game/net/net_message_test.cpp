#include "game/net/net_message.h"

#include "platform/system.h"

#include <gtest/gtest.h>

namespace {

std::string Bytes(std::initializer_list<int> codes) {
    std::string text;
    for (int c : codes)
        text.push_back(static_cast<char>(c));
    return text;
}

TEST(NetMessage, BuiltMessagesReadBackAsTheirKind) {
    struct Case {
        std::string message;
        TNetKind kind;
        int value;
        std::string text;
    } cases[] = {
        {NameMessage("Ace"), TNetKind::Name, 0, "Ace"},
        {BeaconMessage(), TNetKind::Beacon, 0, ""},
        {ChatMessage("good luck"), TNetKind::Chat, 0, "good luck"},
        {ThrowRequestMessage(), TNetKind::ThrowRequest, 0, ""},
        {ThrowResultMessage(1), TNetKind::ThrowResult, 1, ""},
        {ThrowResultMessage(6), TNetKind::ThrowResult, 6, ""},
        {MoveMessage(0), TNetKind::Move, 0, ""},
        {MoveMessage(29), TNetKind::Move, 29, ""},
        {NoMovesMessage(), TNetKind::NoMoves, 0, ""},
        {HostWinMessage(), TNetKind::HostWin, 0, ""},
        {ClientWinMessage(), TNetKind::ClientWin, 0, ""},
        {ReadyMessage(), TNetKind::Ready, 0, ""},
        {ExitMessage(), TNetKind::Exit, 0, ""},
    };
    for (const auto& c : cases) {
        const TNetMessage m = DecodeMessage(c.message);
        EXPECT_EQ(m.Kind, c.kind) << MessageCode(c.message);
        EXPECT_EQ(m.Value, c.value) << MessageCode(c.message);
        EXPECT_EQ(m.Text, c.text) << MessageCode(c.message);
    }
    EXPECT_EQ(MoveMessage(0), Bytes({0}));
    EXPECT_EQ(ThrowResultMessage(3), Bytes({203}));
    EXPECT_EQ(ChatMessage("hi"), Bytes({255, 'h', 'i'}));
    EXPECT_EQ(DecodeMessage("").Kind, TNetKind::None);
    EXPECT_EQ(MessageCode(""), -1);
}

TEST(NetMessage, NameMessages) {
    EXPECT_EQ(NameMessage("Abcdefghij"), "9Abcdefghij");
    EXPECT_EQ(NameMessage("A"), "0A");
    EXPECT_EQ(NameMessage("Abcdefghijkl"), "9Abcdefghij") << "cut to what one digit announces";
    EXPECT_EQ(NameMessage(""), "0 ");
    struct Case {
        std::string message;
        std::string name;
    } cases[] = {
        {"4abcdefgh", "abcde"},            // extra characters ignored
        {"4ab", "ab   "},                  // a short message is filled with blanks
        {"0", " "},                        // a digit alone
        {"9", "          "},               // at most ten blanks, never more
        {Bytes({'2', 0, 10, 255}), "???"}, // control and high bytes are not shown as they are
    };
    for (const auto& c : cases) {
        const TNetMessage m = DecodeMessage(c.message);
        EXPECT_EQ(m.Kind, TNetKind::Name);
        EXPECT_EQ(m.Text, c.name) << c.message;
    }
}

TEST(NetMessage, ChatLines) {
    const std::string line35(35, 'x');
    EXPECT_EQ(DecodeMessage(ChatMessage(line35)).Text, line35) << "a full line arrives whole";
    EXPECT_EQ(DecodeMessage(ChatMessage(line35 + "yz")).Text, line35);
    EXPECT_EQ(DecodeMessage(Bytes({255})).Text, "") << "the code alone carries no line";
    EXPECT_EQ(DecodeMessage(Bytes({255}) + std::string(200, 'q')).Text, std::string(35, 'q'));
    EXPECT_EQ(DecodeMessage(Bytes({255, 'a', 0, 127, 200, '~'})).Text, "a???~");
}

// Every code a peer may send: the ten digits are names, 0 to 29 moves, a few letters and high
// codes the rest; everything else, notably the gaps in 200 to 255, means nothing.
TEST(NetMessage, EveryCodeHasOneKind) {
    struct Case {
        int code;
        TNetKind kind;
        int value;
    } cases[] = {
        {0, TNetKind::Move, 0},          {10, TNetKind::Move, 10},
        {29, TNetKind::Move, 29},        {30, TNetKind::Unknown, 30},
        {47, TNetKind::Unknown, 47},     {48, TNetKind::Name, 0},
        {57, TNetKind::Name, 0},         {58, TNetKind::Unknown, 58},
        {99, TNetKind::Unknown, 99},     {100, TNetKind::NoMoves, 0},
        {105, TNetKind::HostWin, 0},     {106, TNetKind::ClientWin, 0},
        {123, TNetKind::Beacon, 0},      {127, TNetKind::Unknown, 127},
        {199, TNetKind::Unknown, 199},   {200, TNetKind::ThrowRequest, 0},
        {201, TNetKind::ThrowResult, 1}, {206, TNetKind::ThrowResult, 6},
        {207, TNetKind::Unknown, 207},   {219, TNetKind::Unknown, 219},
        {220, TNetKind::Ready, 0},       {221, TNetKind::Unknown, 221},
        {222, TNetKind::Exit, 0},        {223, TNetKind::Unknown, 223},
        {254, TNetKind::Unknown, 254},   {255, TNetKind::Chat, 0},
    };
    for (const auto& c : cases) {
        // Bytes after a code without fields change nothing.
        for (const std::string tail : {"", "zz"}) {
            const TNetMessage m = DecodeMessage(Bytes({c.code}) + tail);
            EXPECT_EQ(m.Kind, c.kind) << c.code;
            EXPECT_EQ(m.Value, c.value) << c.code;
        }
    }
}

// Random messages of every length and byte: the reader answers each with one kind, a field in
// its range and text that is short and printable.
TEST(NetMessage, RandomBytesNeverGiveAnUnsafeReading) {
    platform::SeedRnd(7101);
    for (int round = 0; round < 100000; ++round) {
        std::string message(static_cast<std::size_t>(platform::Rand(0, 80)), '\0');
        for (char& c : message)
            c = static_cast<char>(platform::Rand(0, 255));
        const TNetMessage m = DecodeMessage(message);
        ASSERT_EQ(m.Kind == TNetKind::None, message.empty());
        if (m.Kind == TNetKind::Move) {
            ASSERT_TRUE(m.Value >= 0 && m.Value <= 29);
        }
        if (m.Kind == TNetKind::ThrowResult) {
            ASSERT_TRUE(m.Value >= 1 && m.Value <= 6);
        }
        ASSERT_LE(m.Text.size(), static_cast<std::size_t>(CHAT_MAX_LENGTH));
        for (char c : m.Text)
            ASSERT_TRUE(c >= 32 && c <= 126);
    }
}

} // namespace

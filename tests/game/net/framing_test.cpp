#include "game/net/framing.h"

#include "platform/system.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<std::string> Drain(TFrameDecoder& decoder) {
    std::vector<std::string> messages;
    std::string message;
    while (decoder.Next(message))
        messages.push_back(message);
    return messages;
}

std::string Frame(int length, char fill) {
    return std::string(1, static_cast<char>(length)) +
           std::string(static_cast<std::size_t>(length), fill);
}

TEST(Framing, EncodeAddsTheLengthAndRefusesWhatCannotBeFramed) {
    EXPECT_EQ(EncodeFrame("d"), std::string("\x01"
                                            "d",
                                            2));
    EXPECT_EQ(EncodeFrame(std::string(1, '\0')), std::string("\x01\x00", 2));
    EXPECT_EQ(EncodeFrame(""), "");
    EXPECT_EQ(EncodeFrame(std::string(MAX_FRAME_PAYLOAD, 'x')).size(), MAX_FRAME_PAYLOAD + 1);
    EXPECT_EQ(EncodeFrame(std::string(MAX_FRAME_PAYLOAD + 1, 'x')), "");
}

// The messages of one tick (a move and a win claim; a chat line of characters that are message
// codes themselves) come back apart, however the stream is cut.
TEST(Framing, MessagesComeBackApartAtEveryCut) {
    const std::vector<std::string> sent = {std::string(1, '\x0c'),
                                           "i",
                                           "\xff"
                                           "d{9jx 0",
                                           "4Alice",
                                           std::string(1, '\0'),
                                           "\xdc"};
    std::string stream;
    for (const auto& m : sent)
        stream += EncodeFrame(m);
    for (std::size_t cut = 0; cut <= stream.size(); ++cut) {
        TFrameDecoder decoder;
        decoder.Feed(stream.substr(0, cut));
        auto got = Drain(decoder);
        decoder.Feed(stream.substr(cut));
        for (auto& m : Drain(decoder))
            got.push_back(m);
        EXPECT_EQ(got, sent) << "cut at " << cut;
        EXPECT_EQ(decoder.Buffered(), 0u);
    }
    // One byte at a time.
    TFrameDecoder decoder;
    std::vector<std::string> got;
    for (char c : stream) {
        decoder.Feed(&c, 1);
        for (auto& m : Drain(decoder))
            got.push_back(m);
    }
    EXPECT_EQ(got, sent);
}

TEST(Framing, EmptyAndOversizedFramesAreSkippedWhole) {
    TFrameDecoder decoder;
    decoder.Feed(Frame(0, ' ') + Frame(200, 'd') + EncodeFrame("j") + Frame(255, '\x0c') +
                 Frame(0, ' ') + EncodeFrame("{"));
    EXPECT_TRUE(decoder.Ready());
    EXPECT_EQ(Drain(decoder), (std::vector<std::string>{"j", "{"}));
    EXPECT_EQ(decoder.Rejected, 4);
    EXPECT_FALSE(decoder.Ready());
}

TEST(Framing, AFrameCutShortIsNotGivenBack) {
    TFrameDecoder decoder;
    decoder.Feed(EncodeFrame("d") + std::string("\x05"
                                                "ab",
                                                3));
    EXPECT_EQ(Drain(decoder), (std::vector<std::string>{"d"}));
    EXPECT_FALSE(decoder.Ready());
    EXPECT_EQ(decoder.Buffered(), 3u);
    decoder.Clear();
    EXPECT_EQ(decoder.Buffered(), 0u);
}

TEST(Framing, AFloodIsGivenBackOneMessageAtATimeAndTheBufferShrinks) {
    TFrameDecoder decoder;
    for (int i = 0; i < 10000; ++i)
        decoder.Feed(EncodeFrame("{"));
    std::string message;
    int count = 0;
    while (decoder.Next(message)) {
        ++count;
        if (count % 100 == 0)
            decoder.Feed("", 0); // lets the decoder drop what was given back
    }
    EXPECT_EQ(count, 10000);
    EXPECT_EQ(decoder.Buffered(), 0u);
}

// Random bytes fed in random pieces: the decoder gives back only messages a frame may carry, and
// everything fed is either given back, skipped, or still held.
TEST(Framing, RandomStreamsNeverGiveAnOversizedMessage) {
    platform::SeedRnd(7104);
    for (int round = 0; round < 200; ++round) {
        TFrameDecoder decoder;
        for (int piece = 0; piece < 50; ++piece) {
            std::string bytes(static_cast<std::size_t>(platform::Rand(0, 300)), '\0');
            for (char& c : bytes)
                c = static_cast<char>(platform::Rand(0, 255));
            decoder.Feed(bytes);
            for (const auto& m : Drain(decoder))
                ASSERT_TRUE(!m.empty() && m.size() <= MAX_FRAME_PAYLOAD);
            ASSERT_LE(decoder.Buffered(), 256u) << "at most one frame in the making is held";
        }
    }
}

} // namespace

// The board screen in a networked game, headless: its own loop, throw button, pointer and dialogs
// against a peer over loopback.

#include "framework/ui/text_input.h"
#include "game/board/board_globals.h"
#include "game/board/network_hooks.h"
#include "game/board/strategy.h"
#include "game/net/client.h"
#include "game/net/net_message.h"
#include "game/net/network_game_logic.h"
#include "game/net/network_turn.h"
#include "tests/game/board/board_screen_fixture.h"
#include "tests/game/net/fake_board.h"

#include "tests/game/net/loopback.h"

#include <gtest/gtest.h>

namespace {

using testing_support::FreePort;

using board_test::BoardScreenTest;
using testing_support::TFakeBoard;

constexpr int WAIT_MS = 20;

// The board screen hosts a networked game; the joining machine is the turn loop on a plain board.
class NetworkScreenTest : public BoardScreenTest {
protected:
    void SetUp() override {
        BoardScreenTest::SetUp();
        InstallNetworkHooks();
        networkGame = 1;
        myPlayer = 1;
        ComputerPlayer = {0, 0, 0};
        PlayerName = {"", "Ann", "Player 2"};
        client = TServer::Create("127.0.0.1", FreePort());
        screen->Load();
        link = TClient::Create("127.0.0.1", client->Port);
    }
    void TearDown() override {
        if (client)
            client->ShutDown();
        client = nullptr;
        networkGame = 0;
        myPlayer = 0;
        BoardScreenTest::TearDown();
        NetworkHooks = {};
    }

    // One tick of each machine.
    void Tick() {
        Logic();
        NetworkTick(peer, *link, platform::MilliSecs());
    }
    bool Meet() {
        for (int i = 0; i < 200; ++i) {
            Tick();
            if (screen->GotName && peer.gotName)
                return true;
            if (link->Initialized == NET_OPENING)
                platform::ConnectPoll(link->Connection, WAIT_MS);
        }
        return false;
    }
    // Ticks both until no message is on its way (bounded).
    void Settle() {
        testing_support::Settle([this] { Tick(); }, *client, *link);
    }
    // The pointer at (x, y) with `presses` button presses pending.
    static void Pointer(int x, int y, int presses) {
        Game->Mouse->x = x;
        Game->Mouse->y = y;
        Game->Mouse->h1 = presses;
        Game->Mouse->CalcButtonTotals();
    }
    // A click on the throw button, taken by the screen's menu on the next tick.
    void ClickThrowButton() {
        const TButtonPtr button = screen->Menu->FindButton("die");
        Pointer(static_cast<int>(button->x) + 10, static_cast<int>(button->y) + 10, 1);
        Logic();
        Pointer(0, 0, 0);
    }
    void ExpectSameBoards(const std::string& when) {
        EXPECT_EQ(screen->Rules.Pawn, peer.rules.Pawn) << when;
        EXPECT_EQ(screen->Rules.BearedOff, peer.rules.BearedOff) << when;
        EXPECT_EQ(screen->Rules.CurrentPlayer, peer.rules.CurrentPlayer) << when;
        EXPECT_EQ(screen->Rules.Movement, peer.rules.Movement) << when;
    }
    std::vector<std::string> Lines() const {
        std::vector<std::string> texts;
        for (const auto& label : screen->MessageBox->Message)
            if (label)
                texts.push_back(label->Text);
        return texts;
    }
    bool Shown(const std::string& text) const {
        for (const auto& line : Lines())
            if (line == text)
                return true;
        return false;
    }

    TFakeBoard peer{2, "Bo"};
    TClientPtr link;
};

// Each side plays the Racer's moves: the screen through its throw button and its pointer, the peer
// through its loop. The boards agree after every step; the winner of each game moves first in the
// next.
TEST_F(NetworkScreenTest, TheScreenPlaysWholeGamesAgainstItsPeer) {
    platform::SeedRnd(2);
    ASSERT_TRUE(Meet());
    EXPECT_EQ(PlayerName[2], "Bo");
    EXPECT_EQ(peer.names[1], "Ann");
    EXPECT_TRUE(Shown("** Bo joined the game. **"));
    ASSERT_TRUE(screen->TextInput);
    EXPECT_EQ(screen->TextInput->Active, 1) << "the chat line takes typing";

    std::vector<int> winners;
    for (int game = 0; game < 2; ++game) {
        int winner = 0;
        for (int step = 0; step < 3000 && !winner; ++step) {
            if (screen->Rules.CurrentPlayer == 1) {
                if (screen->Rules.Movement == 0) {
                    ClickThrowButton();
                } else {
                    const int square = ComputerChoice(screen->Rules, STRATEGY_RACER);
                    ASSERT_GE(square, 0);
                    Pointer(SquareX(square), SquareY(square), 1);
                    Logic();
                    Pointer(0, 0, 0);
                }
            } else if (peer.rules.Movement == 0) {
                peer.dieClick = true;
            } else {
                peer.chosen = ComputerChoice(peer.rules, STRATEGY_RACER);
            }
            Settle();
            ExpectSameBoards("game " + std::to_string(game) + " step " + std::to_string(step));
            ExpectConsistent();
            if (HasFailure())
                return;
            if (screen->YesNoDialog && peer.dialog)
                winner = screen->Rules.Winner();
        }
        ASSERT_TRUE(winner == 1 || winner == 2);
        winners.push_back(winner);
        EXPECT_EQ(screen->Stats.PlayerWins[static_cast<std::size_t>(winner)], 1);
        EXPECT_EQ(screen->YesNoDialog->Caption->Text, winner == 1
                                                          ? "You win!  Do you want to play again?"
                                                          : "Bo wins!  Do you want to play again?");
        EXPECT_EQ(screen->needReady, winner == 1 ? 1 : 0);
        // Both want another game, the screen's player first.
        PressKey('Y');
        Settle();
        EXPECT_TRUE(Shown(winner == 1 ? "Waiting for Bo." : "Starting new game."));
        peer.dialogAnswer = 1;
        Settle();
        EXPECT_FALSE(screen->YesNoDialog);
        EXPECT_EQ(screen->needReady, 0);
        EXPECT_TRUE(Shown("Bo is ready."));
        ExpectSameBoards("the next game");
        EXPECT_EQ(screen->Rules.CurrentPlayer, winner);
        EXPECT_EQ(screen->Pawns.size(), 10u);
        EXPECT_EQ(screen->Die->visible, 0);
        EXPECT_EQ(screen->Menu->AcceptInput, 1);
        ExpectConsistent();
        screen->Stats.Reset();
    }
    EXPECT_EQ(winners, (std::vector<int>{1, 2})) << "both ways of winning were played";
}

// Bo bears off the last pawn while the screen's player has typed `chat` into the chat line; the
// keys go through the shell's event pump. The end-of-game dialog is open afterwards.
class EndDialogOverChatTest : public NetworkScreenTest {
protected:
    // One frame of the shell (one tick of the screen), then one tick of the peer.
    void ShellTick() {
        driver.Ticks(1);
        NetworkTick(peer, *link, platform::MilliSecs());
    }
    // A key pressed and let go, typing `typed`, through the event pump.
    void Press(int key, const std::string& typed) {
        platform::InjectKey(key, true);
        if (!typed.empty())
            platform::InjectText(typed);
        ShellTick();
        platform::InjectKey(key, false);
        ShellTick();
    }
    void Type(const std::string& letters) {
        for (const char c : letters)
            Press(c - 'a' + 'A', std::string(1, c));
    }
    void BoWinsWhileTyping(const std::string& chat) {
        ASSERT_TRUE(Meet());
        SetBoard({3}, {29}, 2, 2);
        screen->Rules.BearedOff = {0, 0, 4};
        peer.rules.Pawn.fill(0);
        peer.rules.Pawn[3] = 1;
        peer.rules.Pawn[29] = 2;
        peer.rules.BearedOff = {0, 0, 4};
        peer.rules.CurrentPlayer = 2;
        peer.rules.Movement = 2;
        Type(chat);
        ASSERT_EQ(screen->TextInput->Text, chat);
        peer.chosen = 29;
        Settle();
        ASSERT_TRUE(screen->YesNoDialog);
        ASSERT_EQ(screen->YesNoDialog->Caption->Text, "Bo wins!  Do you want to play again?");
    }
    // The dialog is still open over the finished game.
    void ExpectStillAsked() {
        ASSERT_TRUE(screen->YesNoDialog);
        EXPECT_FALSE(Game->Fading()) << "not left for the title";
        EXPECT_EQ(screen->Rules.BearedOff[2], 5) << "no new game";
        EXPECT_FALSE(Shown("Starting new game."));
    }
};

// Typing that goes on after the dialog opened over an unsent chat line does not answer it: "ny"
// typed at once changes nothing, and only after a pause in the typing does Y answer it. Neither
// the typing meanwhile nor the answer reaches the chat line: the next Enter sends the line as it
// was.
TEST_F(EndDialogOverChatTest, TypingThatGoesOnDoesNotAnswerTheDialogUntilItPauses) {
    BoWinsWhileTyping("nice");
    Type("ny");
    ASSERT_NO_FATAL_FAILURE(ExpectStillAsked());
    // Pauses shorter than half a second are still typing.
    for (int i = 0; i < 80; ++i)
        ShellTick();
    Type("s");
    for (int i = 0; i < 80; ++i)
        ShellTick();
    Press(platform::KEY_ESCAPE, "");
    ASSERT_NO_FATAL_FAILURE(ExpectStillAsked());
    for (int i = 0; i < 100; ++i) // half a second without a character
        ShellTick();
    ASSERT_NO_FATAL_FAILURE(ExpectStillAsked());
    Press('Y', "y");
    EXPECT_FALSE(screen->YesNoDialog);
    EXPECT_TRUE(Shown("Starting new game."));
    EXPECT_EQ(screen->TextInput->Text, "nice") << "neither the typing nor the answer is typed in";
    peer.dialogAnswer = 1;
    Settle();
    Press(platform::KEY_ENTER, "");
    Settle();
    EXPECT_TRUE(peer.Shown("nice"));
    EXPECT_TRUE(Shown("nice"));
}

// A click on the dialog's buttons answers it while the typing goes on.
TEST_F(EndDialogOverChatTest, AClickAnswersTheDialogWhileTheTypingGoesOn) {
    BoWinsWhileTyping("nice");
    Type("n");
    ASSERT_NO_FATAL_FAILURE(ExpectStillAsked());
    const TButtonPtr yes = screen->YesNoDialog->Menu->FindButton("Yes");
    platform::InjectMouseMove(static_cast<int>(yes->x) + 10, static_cast<int>(yes->y) + 10);
    ShellTick();
    platform::InjectMouseButton(1, true);
    ShellTick();
    platform::InjectMouseButton(1, false);
    ShellTick();
    EXPECT_FALSE(screen->YesNoDialog);
    EXPECT_TRUE(Shown("Starting new game."));
}

// With the chat line empty the dialog's keys answer it at once.
TEST_F(EndDialogOverChatTest, WithAnEmptyChatLineYAnswersTheDialogAtOnce) {
    BoWinsWhileTyping("");
    Press('Y', "y");
    EXPECT_FALSE(screen->YesNoDialog);
    EXPECT_TRUE(Shown("Starting new game."));
    EXPECT_TRUE(screen->TextInput->Text.empty()) << "the answer is not typed into the chat line";
}

TEST_F(NetworkScreenTest, LeavingTellsThePeerAndGivesTheKeysBack) {
    ASSERT_TRUE(Meet());
    EXPECT_EQ(Game->BlockKeys, 1) << "the chat line takes typing";
    screen->Kill();
    EXPECT_EQ(Game->BlockKeys, 0);
    EXPECT_EQ(client->Initialized, NET_ENDED);
    for (int i = 0; i < 50 && link->Initialized == NET_CONNECTED; ++i) {
        platform::SocketWaitReadable(link->Connection, WAIT_MS);
        NetworkTick(peer, *link, 0);
    }
    EXPECT_TRUE(peer.Shown("** Ann exited the game. **"));
    EXPECT_EQ(link->Initialized, NET_ENDED);
}

// A raw socket that gives a name and then sends garbage among well-formed messages, against the
// screen's own loop: the board stays one the rules can reach, with the sprites in step, and the
// end of the connection is told and gives the keys back.
TEST_F(NetworkScreenTest, AHostilePeerCannotBreakTheBoard) {
    platform::SeedRnd(7106);
    Logic(); // listens
    platform::TSocket raw = platform::CreateTCPSocket();
    ASSERT_EQ(platform::ConnectSocket(raw, 0x7F000001u, client->Port, 5000), 1);
    platform::SocketWaitReadable(static_cast<TServer&>(*client).ServerSocket, 5000);
    Logic(); // takes the peer in and sends the name
    ASSERT_EQ(client->Initialized, NET_CONNECTED);
    const std::string name = EncodeFrame(NameMessage("Mallory"));
    raw.Send(name.data(), static_cast<int>(name.size()));
    for (int round = 0; round < 400; ++round) {
        std::string bytes(static_cast<std::size_t>(platform::Rand(0, 60)), '\0');
        for (char& c : bytes)
            c = static_cast<char>(platform::Rand(0, 255));
        const std::string wellFormed[] = {NameMessage("Mallory"),
                                          MoveMessage(platform::Rand(0, 29)),
                                          ClientWinMessage(),
                                          ThrowRequestMessage(),
                                          NoMovesMessage(),
                                          ReadyMessage(),
                                          ChatMessage(std::string(200, '\x07'))};
        bytes += EncodeFrame(wellFormed[platform::Rand(0, 6)]);
        raw.Send(bytes.data(), static_cast<int>(bytes.size()));
        if (platform::Rand(0, 3) == 0)
            ClickThrowButton();
        const int square = platform::Rand(0, 29);
        Pointer(SquareX(square), SquareY(square), platform::Rand(0, 1));
        Logic();
        ExpectConsistent();
        for (int p = 1; p <= 2; ++p)
            ASSERT_EQ(screen->Rules.PawnsOnBoard(p) +
                          screen->Rules.BearedOff[static_cast<std::size_t>(p)],
                      5);
        if (HasFailure())
            return;
    }
    EXPECT_EQ(PlayerName[2], "Mallory") << "the end comes after the name";
    raw.Close();
    for (int i = 0; i < 50 && client->Initialized == NET_CONNECTED; ++i) {
        platform::SocketWaitReadable(client->Connection, WAIT_MS);
        Logic();
    }
    EXPECT_EQ(client->Initialized, NET_ENDED);
    EXPECT_EQ(Lines().back().find("** "), 0u) << Lines().back();
    EXPECT_EQ(Game->BlockKeys, 0);
}

} // namespace

#include "game/net/network_turn.h"

#include "game/board/strategy.h"
#include "game/net/net_message.h"
#include "platform/system.h"
#include "tests/game/net/fake_board.h"

#include "tests/game/net/loopback.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using testing_support::FreePort;

using testing_support::TFakeBoard;

// Every wait on a socket is bounded by this; the calls return as soon as the event happens.
constexpr int WAIT_MS = 20;

void ExpectSameBoards(const TFakeBoard& a, const TFakeBoard& b, const std::string& when) {
    EXPECT_EQ(a.rules.Pawn, b.rules.Pawn) << when;
    EXPECT_EQ(a.rules.BearedOff, b.rules.BearedOff) << when;
    EXPECT_EQ(a.rules.CurrentPlayer, b.rules.CurrentPlayer) << when;
    EXPECT_EQ(a.rules.Movement, b.rules.Movement) << when;
}

// The host and the joining machine, each a loop on its own board, connected over loopback. The
// clock stands still unless a test moves it.
struct TwoPeers {
    TFakeBoard host{1, "Hosta"};
    TFakeBoard joining{2, "Joiner"};
    TServerPtr hostLink = TServer::Create("127.0.0.1", FreePort());
    TClientPtr joinLink = TClient::Create("127.0.0.1", hostLink->Port);
    int now = 1000;

    void Tick() {
        NetworkTick(host, *hostLink, now);
        NetworkTick(joining, *joinLink, now);
    }

    // Ticks both until both have connected and know each other's name (bounded).
    bool Meet() {
        for (int i = 0; i < 200; ++i) {
            Tick();
            if (host.gotName && joining.gotName)
                return true;
            if (joinLink->Initialized == NET_OPENING)
                platform::ConnectPoll(joinLink->Connection, WAIT_MS);
            else if (hostLink->Initialized == NET_OPENING)
                platform::SocketWaitReadable(hostLink->ServerSocket, WAIT_MS);
        }
        return false;
    }

    // Ticks both until no message is on its way (bounded).
    void Settle() {
        testing_support::Settle([this] { Tick(); }, *hostLink, *joinLink);
    }

    TFakeBoard& Mover() { return host.rules.CurrentPlayer == 1 ? host : joining; }

    // The player to move throws, or moves as the Racer would; then everything settles.
    void PlayOneAction() {
        TFakeBoard& mover = Mover();
        if (mover.rules.Movement == 0)
            mover.dieClick = true;
        else
            mover.chosen = ComputerChoice(mover.rules, STRATEGY_RACER);
        Settle();
    }

    // Plays until the end-of-game dialog is open on both machines; the winner, or 0.
    int PlayToTheWin() {
        for (int step = 0; step < 3000; ++step) {
            PlayOneAction();
            ExpectSameBoards(host, joining, "step " + std::to_string(step));
            if (host.dialog && joining.dialog)
                return host.rules.Winner();
            if (testing::Test::HasFailure())
                return 0;
        }
        return 0;
    }
};

// Seeds the generator so that the next throw drawn is not `value`.
void SeedForAThrowOtherThan(int value) {
    int seed = 1;
    for (;; ++seed) {
        platform::SeedRnd(seed);
        if (platform::Rand(1, MAX_THROW) != value)
            break;
    }
    platform::SeedRnd(seed);
}

TEST(NetworkGame, TwoPeersPlaySeededGamesWithEqualBoards) {
    platform::SeedRnd(7102);
    TwoPeers peers;
    ASSERT_TRUE(peers.Meet());
    EXPECT_EQ(peers.host.names[2], "Joiner");
    EXPECT_EQ(peers.joining.names[1], "Hosta");
    EXPECT_TRUE(peers.host.Shown("** Joiner joined the game. **"));
    EXPECT_TRUE(peers.joining.Shown("** Hosta joined the game. **"));
    EXPECT_TRUE(peers.host.chatOn && peers.joining.chatOn);

    // Games are played until the joining player has won one and the host two: after the host's
    // first win its player answers first, after the second the joining player does, so that the
    // ready message comes while the host's dialog is still open.
    int hostWins = 0, joiningWins = 0;
    for (int game = 0; game < 10 && (hostWins < 2 || joiningWins < 1); ++game) {
        SCOPED_TRACE("game " + std::to_string(game));
        const int winner = peers.PlayToTheWin();
        ASSERT_TRUE(winner == 1 || winner == 2);
        TFakeBoard& won = winner == 1 ? peers.host : peers.joining;
        TFakeBoard& lost = winner == 1 ? peers.joining : peers.host;
        EXPECT_EQ(won.dialogCaption, "You win!  Do you want to play again?");
        EXPECT_EQ(lost.dialogCaption, won.names[static_cast<std::size_t>(winner)] +
                                          " wins!  Do you want to play again?");
        EXPECT_TRUE(won.Shown("You win!"));
        // The win is counted once on each machine: the claim that follows the winning move finds
        // the dialog open and is dropped.
        for (TFakeBoard* b : {&peers.host, &peers.joining})
            EXPECT_EQ(b->wins, (std::array<int, 3>{0, winner == 1, winner == 2}));
        EXPECT_FALSE(lost.Shown(won.names[static_cast<std::size_t>(winner)] + " wins!"));
        EXPECT_FALSE(peers.host.Shown("ERROR: The client seems to think it won."));
        EXPECT_EQ(peers.host.ready, winner == 1 ? 1 : 0);

        // Both want another game.
        ++(winner == 1 ? hostWins : joiningWins);
        const bool winnerFirst = winner == 2 || hostWins == 1;
        TFakeBoard& first = winnerFirst ? won : lost;
        TFakeBoard& second = winnerFirst ? lost : won;
        first.dialogAnswer = 1;
        peers.Settle();
        if (!winnerFirst) {
            ASSERT_TRUE(peers.host.dialog) << "the host has not answered yet";
            EXPECT_EQ(peers.host.LastLine(), "Joiner is ready.");
            EXPECT_EQ(peers.host.ready, 0) << "the ready message is taken with the dialog open";
        }
        second.dialogAnswer = 1;
        peers.Settle();
        EXPECT_FALSE(peers.host.dialog || peers.joining.dialog);
        EXPECT_EQ(peers.host.ready, 0);
        if (winner == 1 && winnerFirst) {
            EXPECT_TRUE(peers.host.Shown("Waiting for Joiner."));
            EXPECT_EQ(peers.host.LastLine(), "Joiner is ready.");
        } else if (winner == 1) {
            EXPECT_FALSE(peers.host.Shown("Waiting for Joiner."));
            EXPECT_TRUE(peers.host.Shown("Starting new game."));
        } else {
            EXPECT_TRUE(peers.joining.Shown("Starting new game."));
        }
        for (TFakeBoard* b : {&peers.host, &peers.joining}) {
            TRules start;
            start.StartPosition();
            EXPECT_EQ(b->rules.Pawn, start.Pawn);
            EXPECT_EQ(b->rules.BearedOff, start.BearedOff);
            EXPECT_EQ(b->rules.CurrentPlayer, winner) << "the winner moves first";
            EXPECT_FALSE(b->dieShown);
            EXPECT_EQ(b->throwButton, 1);
        }
        peers.host.wins = {};
        peers.joining.wins = {};
        peers.host.lines.clear();
        peers.joining.lines.clear();
    }
    EXPECT_GE(hostWins, 2);
    EXPECT_GE(joiningWins, 1);
}

TEST(NetworkGame, ChatLinesReachThePeerInTheWritersColour) {
    TwoPeers peers;
    ASSERT_TRUE(peers.Meet());
    peers.joining.chatLine = "d{j 0";
    peers.Settle();
    EXPECT_EQ(peers.host.LastLine(), "d{j 0");
    EXPECT_EQ(peers.host.lines.back().Color, 2);
    EXPECT_EQ(peers.joining.lines.back().Color, 2) << "own line in own colour";
    peers.host.chatLine = std::string(35, 'x');
    peers.Settle();
    EXPECT_EQ(peers.joining.LastLine(), std::string(35, 'x'));
    EXPECT_EQ(peers.joining.lines.back().Color, 1);
}

// The host's no-moves handling must drop the joining player's throw with the turn; kept, the host
// could move with it without throwing, and the joining machine would ignore that move.
TEST(NetworkGame, AJoiningPlayersThrowWithoutAMoveGoesWithTheTurn) {
    TwoPeers peers;
    ASSERT_TRUE(peers.Meet());
    // Player 2's last pawn waits on square 28, whose special lets it leave only with a throw of
    // 2; the host is to draw any other throw.
    for (TFakeBoard* b : {&peers.host, &peers.joining}) {
        b->rules.Pawn.fill(0);
        b->rules.Pawn[28] = 2;
        b->rules.Pawn[0] = 1;
        b->rules.BearedOff = {0, 4, 4};
        b->rules.CurrentPlayer = 2;
    }
    SeedForAThrowOtherThan(2);
    peers.joining.dieClick = true;
    peers.Settle();
    EXPECT_TRUE(peers.joining.Shown("You have no possible moves."));
    EXPECT_EQ(peers.host.rules.CurrentPlayer, 1);
    EXPECT_EQ(peers.host.rules.Movement, 0);
    EXPECT_EQ(peers.host.throwButton, 1);
    ExpectSameBoards(peers.host, peers.joining, "after the pass");
    // The host's player cannot move before throwing.
    peers.host.chosen = 0;
    peers.Settle();
    EXPECT_EQ(peers.host.rules.Pawn[0], 1);
    ExpectSameBoards(peers.host, peers.joining, "after a click without a throw");
}

// The host's own throw without a move is told on both machines, and the turn passes on both.
TEST(NetworkGame, AHostsThrowWithoutAMovePassesTheTurnOnBothMachines) {
    TwoPeers peers;
    ASSERT_TRUE(peers.Meet());
    // Player 1's last pawn waits on square 28, which it leaves only with a throw of 2.
    for (TFakeBoard* b : {&peers.host, &peers.joining}) {
        b->rules.Pawn.fill(0);
        b->rules.Pawn[28] = 1;
        b->rules.Pawn[0] = 2;
        b->rules.BearedOff = {0, 4, 4};
        b->rules.CurrentPlayer = 1;
        b->lines.clear();
    }
    SeedForAThrowOtherThan(2);
    peers.host.dieClick = true;
    peers.Settle();
    for (TFakeBoard* b : {&peers.host, &peers.joining}) {
        EXPECT_EQ(b->LastLine(), "Hosta has no possible moves.");
        EXPECT_EQ(b->noMoveSounds, 1);
        EXPECT_FALSE(b->dieShown);
        EXPECT_EQ(b->throwButton, 1);
        EXPECT_EQ(b->rules.CurrentPlayer, 2);
        EXPECT_EQ(b->rules.Movement, 0);
    }
    ExpectSameBoards(peers.host, peers.joining, "after the pass");
}

TEST(NetworkGame, TheHostsThrowButtonWaitsForItsTurnAndForTheReadyMessage) {
    TwoPeers peers;
    ASSERT_TRUE(peers.Meet());
    peers.host.rules.CurrentPlayer = 2;
    peers.joining.rules.CurrentPlayer = 2;
    peers.host.dieClick = true;
    peers.Settle();
    EXPECT_EQ(peers.host.rollSounds, 0);
    EXPECT_EQ(peers.host.rules.Movement, 0);
    peers.host.rules.CurrentPlayer = 1;
    peers.joining.rules.CurrentPlayer = 1;
    peers.host.ready = 1;
    peers.host.dieClick = true;
    peers.Settle();
    EXPECT_EQ(peers.host.rules.Movement, 0);
    peers.host.ready = 0;
    peers.host.dieClick = true;
    peers.Settle();
    EXPECT_GT(peers.host.rules.Movement, 0);
    EXPECT_EQ(peers.joining.rules.Movement, peers.host.rules.Movement);
}

// The first connected tick sends the name alone; a beacon follows on the next tick, then one
// every 1000 ms until the peer's name has come. Seen from a bare connection on the other end.
TEST(NetworkGame, NameThenBeaconsUntilThePeersNameComes) {
    TFakeBoard host(1, "Hosta");
    TServerPtr link = TServer::Create("127.0.0.1", FreePort());
    TClientPtr peer = TClient::Create("127.0.0.1", link->Port);
    int now = 5000;
    for (int i = 0; i < 200 && link->Initialized != NET_CONNECTED; ++i) {
        NetworkTick(host, *link, now); // listens first, then accepts
        peer->ConnectStep(now);
        platform::SocketWaitReadable(link->ServerSocket, WAIT_MS);
    }
    ASSERT_EQ(link->Initialized, NET_CONNECTED);
    for (int i = 0; i < 200 && peer->Initialized != NET_CONNECTED; ++i) {
        peer->ConnectStep(now);
        platform::ConnectPoll(peer->Connection, WAIT_MS);
    }
    auto received = [&] {
        std::vector<std::string> got;
        platform::SocketWaitReadable(peer->Connection, WAIT_MS);
        for (std::string m = peer->ReceiveString(); !m.empty(); m = peer->ReceiveString())
            got.push_back(m);
        return got;
    };
    using V = std::vector<std::string>;
    // The tick that took the peer in was the first connected one.
    EXPECT_EQ(received(), V{"4Hosta"});
    NetworkTick(host, *link, now);
    EXPECT_EQ(received(), V{"{"});
    NetworkTick(host, *link, now + 1); // the clock moved: the tick ends at the name step
    NetworkTick(host, *link, now + 999);
    EXPECT_EQ(received(), V{});
    NetworkTick(host, *link, now + 1000);
    EXPECT_EQ(received(), V{"{"});
    // A beacon from the peer is answered with the name on a tick that goes past the name step.
    peer->SendString(BeaconMessage());
    platform::SocketWaitReadable(link->Connection, WAIT_MS);
    NetworkTick(host, *link, now + 1000);
    EXPECT_EQ(received(), V{"4Hosta"});
    // The peer's name, once; a second name changes nothing.
    peer->SendString("1Jo");
    peer->SendString("3Evil");
    for (int i = 0; i < 3; ++i) {
        platform::SocketWaitReadable(link->Connection, WAIT_MS);
        NetworkTick(host, *link, now + 1000);
    }
    EXPECT_EQ(host.names[2], "Jo");
    EXPECT_EQ(host.gotName, 1);
    EXPECT_TRUE(host.Shown("** Jo joined the game. **"));
    NetworkTick(host, *link, now + 5000);
    EXPECT_EQ(received(), V{}) << "no beacons once the name has come";
}

// What a peer sends that no copy of the game would, or sends at the wrong time: each is dropped,
// and the board stays as it was (or shows the error of a claim its board does not bear out).
struct HostileCase {
    const char* what;
    int side; // the side under test: 1 host, 2 joining
    std::string message;
    std::string errorLine; // "" when nothing at all may be shown
};

TEST(NetworkGame, HostileMessagesLeaveTheBoardAsItWas) {
    const HostileCase cases[] = {
        {"a move on the host's own turn", 1, MoveMessage(1), ""},
        {"a move of a square past the board", 1, std::string(1, '\x1e'), ""},
        {"a throw request on the host's turn", 1, ThrowRequestMessage(), ""},
        {"a throw result sent to the host", 1, ThrowResultMessage(4), ""},
        {"a host-win claim sent to the host", 1, HostWinMessage(), ""},
        {"an unearned client-win claim", 1, ClientWinMessage(),
         "ERROR: The client seems to think it won."},
        {"a no-moves message out of turn", 1, NoMovesMessage(), ""},
        {"an unknown code", 1, std::string(1, '\xd0'), ""},
        {"a code of 221", 1, std::string(1, '\xdd'), ""},
        {"an empty chat line", 1, std::string(1, '\xff'), ""},
        {"a second name", 1, "9AAAAAAAAAAAAAAAAAAAAAAA", ""},
        {"a throw request sent to the joining side", 2, ThrowRequestMessage(), ""},
        {"a client-win claim sent to the joining side", 2, ClientWinMessage(), ""},
        {"a move on the joining side's own turn", 2, MoveMessage(1), ""},
        {"a no-moves message out of turn", 2, NoMovesMessage(), ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TwoPeers peers;
        ASSERT_TRUE(peers.Meet());
        TFakeBoard& board = c.side == 1 ? peers.host : peers.joining;
        TClient& sender = c.side == 1 ? static_cast<TClient&>(*peers.joinLink) : *peers.hostLink;
        // Each side on its own turn (where a turn matters).
        peers.host.rules.CurrentPlayer = c.side;
        peers.joining.rules.CurrentPlayer = c.side;
        board.lines.clear();
        const TRules before = board.rules;
        sender.SendString(c.message);
        for (int i = 0; i < 5; ++i) {
            platform::SocketWaitReadable(
                c.side == 1 ? peers.hostLink->Connection : peers.joinLink->Connection, WAIT_MS);
            NetworkTick(board,
                        c.side == 1 ? static_cast<TClient&>(*peers.hostLink) : *peers.joinLink,
                        peers.now);
        }
        EXPECT_EQ(board.rules.Pawn, before.Pawn);
        EXPECT_EQ(board.rules.BearedOff, before.BearedOff);
        EXPECT_EQ(board.rules.CurrentPlayer, before.CurrentPlayer);
        EXPECT_EQ(board.rules.Movement, before.Movement);
        EXPECT_FALSE(board.dialog);
        EXPECT_EQ(board.wins, (std::array<int, 3>{}));
        if (c.errorLine.empty())
            EXPECT_TRUE(board.lines.empty()) << board.LastLine();
        else
            EXPECT_EQ(board.LastLine(), c.errorLine);
    }
}

// Boards that have come apart: the host bears off its fifth pawn, and the joining side, on whose
// board that pawn stands elsewhere, refuses the move. The host's win claim that follows ends the
// game there too, on the host's word: the line and the dialog name the host, and no win is
// counted. A second claim, with the dialog open, changes nothing. "Yes" on both machines starts
// them on one board again, the host first, and a whole game is played in step.
TEST(NetworkGame, TheHostsWinClaimEndsTheGameOnAJoiningBoardThatShowsNoWin) {
    TwoPeers peers;
    ASSERT_TRUE(peers.Meet());
    for (TFakeBoard* b : {&peers.host, &peers.joining}) {
        b->rules.Pawn.fill(0);
        b->rules.Pawn[0] = 2;
        b->rules.BearedOff = {0, 4, 4};
        b->rules.CurrentPlayer = 1;
        b->rules.Movement = 1;
        b->lines.clear();
    }
    peers.host.rules.Pawn[29] = 1;
    peers.joining.rules.Pawn[27] = 1;
    ASSERT_EQ(peers.host.rules.Classify(29), TMoveKind::BearOff);
    peers.host.chosen = 29;
    peers.Settle();
    ASSERT_TRUE(peers.host.dialog);
    ASSERT_EQ(peers.joining.rules.Pawn[27], 1) << "the move is refused on the joining board";
    ASSERT_EQ(peers.joining.rules.BearedOff[1], 4);

    EXPECT_TRUE(peers.joining.dialog);
    EXPECT_EQ(peers.joining.dialogCaption, "Hosta wins!  Do you want to play again?");
    EXPECT_EQ(peers.joining.LastLine(), "Hosta wins!");
    EXPECT_EQ(peers.joining.lines.size(), 1u);
    EXPECT_EQ(peers.joining.wins, (std::array<int, 3>{}));
    EXPECT_EQ(peers.host.wins, (std::array<int, 3>{0, 1, 0}));

    peers.hostLink->SendString(HostWinMessage());
    peers.Settle();
    EXPECT_TRUE(peers.joining.dialog);
    EXPECT_EQ(peers.joining.dialogCaption, "Hosta wins!  Do you want to play again?");
    EXPECT_EQ(peers.joining.lines.size(), 1u);
    EXPECT_EQ(peers.joining.wins, (std::array<int, 3>{}));
    EXPECT_EQ(peers.joining.rules.Pawn[27], 1);

    peers.joining.dialogAnswer = 1;
    peers.Settle();
    peers.host.dialogAnswer = 1;
    peers.Settle();
    EXPECT_FALSE(peers.host.dialog || peers.joining.dialog);
    EXPECT_EQ(peers.host.ready, 0);
    for (TFakeBoard* b : {&peers.host, &peers.joining}) {
        TRules start;
        start.StartPosition();
        EXPECT_EQ(b->rules.Pawn, start.Pawn);
        EXPECT_EQ(b->rules.CurrentPlayer, 1) << "the host, whose win both took, moves first";
    }
    ExpectSameBoards(peers.host, peers.joining, "after the new start");
    platform::SeedRnd(31);
    EXPECT_NE(peers.PlayToTheWin(), 0);
    ExpectSameBoards(peers.host, peers.joining, "at the end");
}

TEST(NetworkGame, ThrowsAndMovesThatDoNotFitThePendingThrowAreIgnored) {
    TwoPeers peers;
    ASSERT_TRUE(peers.Meet());
    // The joining side already holds a throw of 5: a result of 3 leaves it.
    peers.joining.rules.Movement = 5;
    peers.hostLink->SendString(ThrowResultMessage(3));
    peers.Settle();
    EXPECT_EQ(peers.joining.rules.Movement, 5);
    // On the joining player's turn, with a throw of 1 drawn by the host: a move the rules refuse
    // (square 0 holds the host's pawn) changes nothing on the host.
    for (TFakeBoard* b : {&peers.host, &peers.joining}) {
        b->rules.CurrentPlayer = 2;
        b->rules.Movement = 1;
    }
    const TRules before = peers.host.rules;
    peers.joinLink->SendString(MoveMessage(0));
    peers.joinLink->SendString(MoveMessage(29));
    peers.Settle();
    EXPECT_EQ(peers.host.rules.Pawn, before.Pawn);
    EXPECT_EQ(peers.host.rules.Movement, 1);
    EXPECT_EQ(peers.host.rules.CurrentPlayer, 2);
    // A move the rules allow is made.
    peers.joinLink->SendString(MoveMessage(9));
    peers.Settle();
    EXPECT_EQ(peers.host.rules.Pawn[10], 2);
    EXPECT_EQ(peers.host.rules.CurrentPlayer, 1);
}

// The host draws the joining player's throws, so it checks a "no moves" claim against them: a
// claim with no throw drawn, or with a throw that has a move, is refused and the turn stays. The
// joining machine that sent it has passed its turn, so the game cannot go on: the host's player
// is told so in one line, and nothing else changes or goes out. The joining side takes a throw
// result on its own turn only in answer to its own request.
TEST(NetworkGame, ClaimsAndThrowsTheRulesDoNotBearOutAreRefused) {
    const std::string refused = "No-moves claim refused: the game cannot go on. Escape leaves.";
    TwoPeers peers;
    ASSERT_TRUE(peers.Meet());
    for (TFakeBoard* b : {&peers.host, &peers.joining})
        b->rules.CurrentPlayer = 2;
    // Nobody asked for this throw.
    peers.hostLink->SendString(ThrowResultMessage(3));
    peers.Settle();
    EXPECT_EQ(peers.joining.rules.Movement, 0);
    EXPECT_FALSE(peers.joining.dieShown);
    // "No moves" before any throw.
    peers.host.lines.clear();
    peers.joining.lines.clear();
    TRules before = peers.host.rules;
    peers.joinLink->SendString(NoMovesMessage());
    peers.Settle();
    EXPECT_EQ(peers.host.rules.CurrentPlayer, 2);
    EXPECT_EQ(peers.host.rules.Pawn, before.Pawn);
    ASSERT_EQ(peers.host.lines.size(), 1u);
    EXPECT_EQ(peers.host.LastLine(), refused);
    EXPECT_EQ(peers.host.noMoveSounds, 0);
    EXPECT_TRUE(peers.joining.lines.empty()) << "nothing went out for it";
    // The joining player asks; from the start position every throw has a move.
    peers.joining.dieClick = true;
    peers.Settle();
    const int thrown = peers.host.rules.Movement;
    ASSERT_TRUE(thrown >= 1 && thrown <= MAX_THROW);
    EXPECT_EQ(peers.joining.rules.Movement, thrown) << "the answer to the request is taken";
    ASSERT_EQ(peers.host.rules.AnyValidMoves(), 1);
    peers.host.lines.clear();
    before = peers.host.rules;
    peers.joinLink->SendString(NoMovesMessage());
    peers.Settle();
    EXPECT_EQ(peers.host.rules.CurrentPlayer, 2) << "the turn stays";
    EXPECT_EQ(peers.host.rules.Movement, thrown);
    EXPECT_EQ(peers.host.rules.Pawn, before.Pawn);
    EXPECT_TRUE(peers.host.dieShown);
    EXPECT_EQ(peers.host.lines.size(), 1u);
    EXPECT_EQ(peers.host.LastLine(), refused);
    // The joining player makes the move the throw allows, and the game goes on in step.
    peers.joining.chosen = ComputerChoice(peers.joining.rules, STRATEGY_RACER);
    peers.Settle();
    ExpectSameBoards(peers.host, peers.joining, "after the move");
    EXPECT_EQ(peers.host.rules.CurrentPlayer, 1);
}

// A connection that sends no name within ten seconds is dropped: the host listens on its port
// again, on a board as new, and plays the next real player; the joining side gives up as after
// a connect that failed. The clock is the test's.
TEST(NetworkGame, APeerThatNeverSpeaksIsDropped) {
    TwoPeers peers;
    const int start = peers.now;
    NetworkTick(peers.host, *peers.hostLink, peers.now); // listens
    platform::TSocket silent = platform::CreateTCPSocket();
    ASSERT_EQ(platform::ConnectSocket(silent, 0x7F000001u, peers.hostLink->Port, 5000), 1);
    platform::SocketWaitReadable(peers.hostLink->ServerSocket, 5000);
    NetworkTick(peers.host, *peers.hostLink, peers.now);
    ASSERT_EQ(peers.hostLink->Initialized, NET_CONNECTED);
    // Meanwhile the host's player throws and moves.
    peers.host.dieClick = true;
    NetworkTick(peers.host, *peers.hostLink, peers.now);
    ASSERT_NE(peers.host.rules.Movement, 0);
    peers.host.chosen = ComputerChoice(peers.host.rules, STRATEGY_RACER);
    NetworkTick(peers.host, *peers.hostLink, peers.now);
    ASSERT_EQ(peers.host.rules.CurrentPlayer, 2);
    // Twenty seconds of silence.
    const std::string port = std::to_string(peers.hostLink->Port);
    for (; peers.now < start + 20000; peers.now += 100) {
        NetworkTick(peers.host, *peers.hostLink, peers.now);
        if (peers.now < start + NAME_TIMEOUT_MS)
            ASSERT_EQ(peers.hostLink->Initialized, NET_CONNECTED) << peers.now - start;
        else
            ASSERT_EQ(peers.hostLink->Initialized, NET_OPENING) << peers.now - start;
    }
    EXPECT_TRUE(peers.host.Shown("A connection that did not answer was dropped."));
    EXPECT_EQ(peers.host.LastLine(), "Waiting for another player on port " + port + ".");
    EXPECT_EQ(peers.host.rules.CurrentPlayer, 1);
    EXPECT_EQ(peers.host.rules.Movement, 0);
    EXPECT_FALSE(peers.host.dieShown);
    for (int n = 0; n < 10; ++n)
        EXPECT_EQ(peers.host.rules.Pawn[static_cast<std::size_t>(n)], 1 + n % 2);
    // The silent one finds its connection closed.
    char buffer[256];
    int got = 0;
    for (int i = 0; i < 100 && got >= 0; ++i) {
        platform::SocketWaitReadable(silent, WAIT_MS);
        got = silent.Recv(buffer, sizeof buffer);
    }
    EXPECT_EQ(got, -1);
    // The next real player is answered, and a whole game is played in step.
    ASSERT_TRUE(peers.Meet());
    EXPECT_TRUE(peers.host.Shown("** Joiner joined the game. **"));
    platform::SeedRnd(14);
    EXPECT_NE(peers.PlayToTheWin(), 0);
    ExpectSameBoards(peers.host, peers.joining, "at the end");

    // The joining side, against a listener that accepts and never answers.
    platform::TSocket mute = platform::CreateTCPSocket();
    ASSERT_EQ(platform::BindSocket(mute, 0), 1);
    ASSERT_EQ(platform::ListenSocket(mute, 1), 1);
    TFakeBoard joining(2, "Joiner");
    TClientPtr link = TClient::Create("127.0.0.1", platform::LocalPort(mute));
    int now = 0;
    for (int i = 0; i < 200 && link->Initialized != NET_CONNECTED; ++i) {
        NetworkTick(joining, *link, now);
        platform::ConnectPoll(link->Connection, WAIT_MS);
    }
    ASSERT_EQ(link->Initialized, NET_CONNECTED);
    platform::TSocket accepted = platform::AcceptSocket(mute);
    const std::string where = "127.0.0.1 on port " + std::to_string(link->Port) + ".";
    for (now = 100; now < NAME_TIMEOUT_MS; now += 100)
        NetworkTick(joining, *link, now);
    EXPECT_EQ(link->Initialized, NET_CONNECTED);
    EXPECT_EQ(joining.LastLine(), "Connecting to " + where);
    NetworkTick(joining, *link, NAME_TIMEOUT_MS);
    EXPECT_EQ(link->Initialized, NET_ENDED);
    EXPECT_EQ(joining.LastLine(), "Could not connect to " + where);
}

// Ticks the host's loop, waiting (bounded) on its socket between ticks, until `done`.
bool TickHostUntil(TFakeBoard& host, TServer& link, int now, const std::function<bool()>& done) {
    for (int i = 0; i < 200; ++i) {
        if (done())
            return true;
        platform::SocketWaitReadable(
            link.Initialized == NET_OPENING ? link.ServerSocket : link.Connection, WAIT_MS);
        NetworkTick(host, link, now);
    }
    return done();
}

// A connection that ends before its name has come was no player: a port check, a joining player
// who gave up, a program that says it leaves. The host drops each, also right after a silent one,
// and listens on its port again; the next real player plays a whole game. The clock stands still
// but for the silent one, so no name timeout is involved.
TEST(NetworkGame, AConnectionThatEndsBeforeItsNameIsDroppedAndTheHostListensAgain) {
    TwoPeers peers;
    const std::string port = std::to_string(peers.hostLink->Port);
    const std::string waiting = "Waiting for another player on port " + port + ".";
    const std::string dropped = "A connection that did not answer was dropped.";
    NetworkTick(peers.host, *peers.hostLink, peers.now); // listens
    {
        platform::TSocket silent = platform::CreateTCPSocket();
        ASSERT_EQ(platform::ConnectSocket(silent, 0x7F000001u, peers.hostLink->Port, 5000), 1);
        ASSERT_TRUE(TickHostUntil(peers.host, *peers.hostLink, peers.now,
                                  [&] { return peers.hostLink->Initialized == NET_CONNECTED; }));
        peers.now += NAME_TIMEOUT_MS;
        NetworkTick(peers.host, *peers.hostLink, peers.now);
        ASSERT_EQ(peers.host.LastLine(), waiting);
    }
    struct Ending {
        const char* what;
        std::string bytes; // sent before the close
    };
    const Ending endings[] = {
        {"closed at once", ""},
        {"closed in the middle of its name", std::string("\x06"
                                                         "4Al")},
        {"said it leaves, then closed", EncodeFrame(ExitMessage())},
    };
    for (int n = 0; n < 10; ++n) {
        const Ending& ending = endings[n % 3];
        SCOPED_TRACE(std::to_string(n) + ": " + ending.what);
        peers.host.lines.clear();
        platform::TSocket raw = platform::CreateTCPSocket();
        ASSERT_EQ(platform::ConnectSocket(raw, 0x7F000001u, peers.hostLink->Port, 5000), 1);
        if (!ending.bytes.empty())
            raw.Send(ending.bytes.data(), static_cast<int>(ending.bytes.size()));
        raw.Close();
        EXPECT_TRUE(TickHostUntil(peers.host, *peers.hostLink, peers.now,
                                  [&] { return peers.host.Shown(dropped); }));
        EXPECT_EQ(peers.host.LastLine(), waiting);
        EXPECT_FALSE(peers.host.Shown("** The other player exited the game. **"));
        EXPECT_EQ(peers.hostLink->Initialized, NET_OPENING);
        EXPECT_EQ(peers.host.noMoveSounds, 0);
    }
    ASSERT_TRUE(peers.Meet());
    EXPECT_TRUE(peers.host.Shown("** Joiner joined the game. **"));
    platform::SeedRnd(21);
    EXPECT_NE(peers.PlayToTheWin(), 0);
    ExpectSameBoards(peers.host, peers.joining, "at the end");
}

// The joining side, against a listener that takes the connection and ends it before any name:
// the host could not be reached, as after a connect that failed; nobody exited.
TEST(NetworkGame, AListenerThatEndsTheConnectionBeforeItsNameIsAFailedConnect) {
    for (const std::string& bytes : {std::string(), EncodeFrame(ExitMessage())}) {
        SCOPED_TRACE(bytes.empty() ? "closed at once" : "said it leaves, then closed");
        platform::TSocket listener = platform::CreateTCPSocket();
        ASSERT_EQ(platform::BindSocket(listener, 0), 1);
        ASSERT_EQ(platform::ListenSocket(listener, 1), 1);
        TFakeBoard joining(2, "Joiner");
        TClientPtr link = TClient::Create("127.0.0.1", platform::LocalPort(listener));
        for (int i = 0; i < 200 && link->Initialized != NET_CONNECTED; ++i) {
            NetworkTick(joining, *link, 0);
            platform::ConnectPoll(link->Connection, WAIT_MS);
        }
        ASSERT_EQ(link->Initialized, NET_CONNECTED);
        {
            platform::SocketWaitReadable(listener, WAIT_MS);
            platform::TSocket accepted = platform::AcceptSocket(listener);
            ASSERT_TRUE(accepted.Valid());
            if (!bytes.empty())
                accepted.Send(bytes.data(), static_cast<int>(bytes.size()));
        }
        for (int i = 0; i < 200 && link->Initialized == NET_CONNECTED; ++i) {
            platform::SocketWaitReadable(link->Connection, WAIT_MS);
            NetworkTick(joining, *link, 0);
        }
        EXPECT_EQ(link->Initialized, NET_ENDED);
        EXPECT_EQ(joining.LastLine(),
                  "Could not connect to 127.0.0.1 on port " + std::to_string(link->Port) + ".");
        EXPECT_FALSE(joining.Shown("** The other player exited the game. **"));
    }
}

// Random bytes from a raw socket against the host's loop: every tick goes through, the board
// only ever holds a position the rules can reach (ten pawns, five each, counted with those
// borne off), and the host never moves for the joining player.
TEST(NetworkGame, GarbageFromARawPeerLeavesAConsistentBoard) {
    platform::SeedRnd(7107);
    TFakeBoard host(1, "Hosta");
    TServerPtr link = TServer::Create("127.0.0.1", FreePort());
    platform::TSocket raw = platform::CreateTCPSocket();
    NetworkTick(host, *link, 0);
    ASSERT_EQ(platform::ConnectSocket(raw, 0x7F000001u, link->Port, 5000), 1);
    platform::SocketWaitReadable(link->ServerSocket, 5000);
    for (int round = 0; round < 300; ++round) {
        std::string bytes(static_cast<std::size_t>(platform::Rand(1, 200)), '\0');
        for (char& c : bytes)
            c = static_cast<char>(platform::Rand(0, 255));
        // Some well-formed frames among the noise, so that the loop's own paths are taken too.
        bytes += EncodeFrame(std::string(1, static_cast<char>(platform::Rand(0, 29))));
        bytes += EncodeFrame(platform::Rand(0, 1) ? "j" : std::string(1, '\xc8'));
        raw.Send(bytes.data(), static_cast<int>(bytes.size()));
        host.dieClick = platform::Rand(0, 1) == 1;
        host.chosen = platform::Rand(-1, 29);
        host.dialogAnswer = platform::Rand(-1, 1);
        NetworkTick(host, *link, round);
        for (int p = 1; p <= 2; ++p)
            ASSERT_EQ(
                host.rules.PawnsOnBoard(p) + host.rules.BearedOff[static_cast<std::size_t>(p)], 5);
        if (link->Initialized != NET_CONNECTED)
            break;
    }
}

TEST(NetworkGame, APeerThatLeavesIsToldOnceAndTheDialogStillAnswers) {
    platform::SeedRnd(3);
    TwoPeers peers;
    ASSERT_TRUE(peers.Meet());
    peers.host.OpenEndDialog("Joiner wins!  Do you want to play again?");
    LeaveNetworkGame(*peers.joinLink);
    EXPECT_EQ(peers.joinLink->Initialized, NET_ENDED);
    peers.Settle();
    int exits = 0;
    for (const auto& line : peers.host.lines)
        exits += line.Text == "** Joiner exited the game. **";
    EXPECT_EQ(exits, 1);
    EXPECT_EQ(peers.hostLink->Initialized, NET_ENDED);
    EXPECT_FALSE(peers.host.chatOn) << "the chat line gives the keys back";
    peers.host.dialogAnswer = -1;
    peers.Tick();
    EXPECT_FALSE(peers.host.dialog);
    EXPECT_TRUE(peers.host.leftToTitle);
}

// After "No" the board fades away: a win claim that arrives then is not counted a second time
// and opens no dialog over the fade.
TEST(NetworkGame, AWinClaimWhileTheBoardLeavesActsOnNothing) {
    TwoPeers peers;
    ASSERT_TRUE(peers.Meet());
    peers.host.rules.BearedOff[2] = WIN_COUNT;
    peers.host.UpdateWins(2);
    peers.host.OpenEndDialog("Joiner wins!  Do you want to play again?");
    peers.host.dialogAnswer = -1;
    peers.Tick();
    ASSERT_TRUE(peers.host.leftToTitle);
    peers.joinLink->SendString(ClientWinMessage());
    platform::SocketWaitReadable(peers.hostLink->Connection, WAIT_MS);
    for (int i = 0; i < 5; ++i)
        peers.Tick();
    EXPECT_EQ(peers.host.wins[2], 1);
    EXPECT_FALSE(peers.host.dialog);
}

TEST(NetworkGame, AConnectionLostWithoutAWordIsToldToo) {
    TwoPeers peers;
    ASSERT_TRUE(peers.Meet());
    peers.joinLink->ShutDown(); // no exit message
    for (int i = 0; i < 50 && peers.hostLink->Initialized == NET_CONNECTED; ++i) {
        platform::SocketWaitReadable(peers.hostLink->Connection, WAIT_MS);
        NetworkTick(peers.host, *peers.hostLink, peers.now);
    }
    EXPECT_EQ(peers.host.LastLine(), "** Joiner exited the game. **");
    EXPECT_EQ(peers.host.noMoveSounds, 1);
}

TEST(NetworkGame, OpeningFailuresAreTold) {
    TFakeBoard host(1, "Hosta");
    TServerPtr busy = TServer::Create("127.0.0.1", FreePort());
    NetworkTick(host, *busy, 0);
    EXPECT_EQ(host.LastLine(),
              "Waiting for another player on port " + std::to_string(busy->Port) + ".");
    TFakeBoard second(1, "Hosta");
    TServerPtr clash = TServer::Create("127.0.0.1", busy->Port);
    NetworkTick(second, *clash, 0);
    EXPECT_EQ(second.LastLine(), "Could not open port " + std::to_string(busy->Port) + ".");

    TFakeBoard joining(2, "Joiner");
    TClientPtr nowhere = TClient::Create("...", 5337);
    NetworkTick(joining, *nowhere, 0);
    EXPECT_EQ(joining.LastLine(), "Could not connect to ... on port 5337.");
    NetworkTick(joining, *nowhere, 0);
    EXPECT_EQ(joining.lines.size(), 1u);
}

// A second networked game in the same run starts its exchange afresh: the old names, the old
// state of the exchange and a throw left pending do not carry over.
TEST(NetworkGame, ASecondConnectionStartsTheExchangeAfresh) {
    TwoPeers first;
    ASSERT_TRUE(first.Meet());
    first.host.rules.Movement = 4;
    TwoPeers second;
    second.host = first.host;
    second.host.lines.clear();
    second.joining.names[2] = "Newcomer";
    ASSERT_TRUE(second.Meet());
    EXPECT_EQ(second.host.names[2], "Newcomer");
    EXPECT_TRUE(second.host.Shown("** Newcomer joined the game. **"));
    EXPECT_EQ(second.host.rules.Movement, 0);
}

} // namespace

// The networked turn loop on a hostile peer: a host board and a joining board, each on its own
// connection, are fed a sequence of messages through their socket, mixed with their own player's
// clicks, moves and dialog answers and the clock moving on. After every tick the board must still
// be a board, and a replay of the same sequence must end on the same board and send the same
// bytes.
//
// The input is a list of steps, each led by one byte: 0-3 a framed message (a length byte, then
// that many bytes), 4 one raw byte, 5 a click on the die, 6 this player's move (the foremost pawn
// that may move), 7 a dialog answer and a step of the clock (two bytes).

#include "fuzz/fuzz_support.h"
#include "game/board/strategy.h"
#include "game/net/network_turn.h"
#include "platform/net.h"
#include "platform/system.h"
#include "tests/game/net/fake_board.h"

#include <sys/socket.h>

#include <array>

namespace {

using testing_support::TFakeBoard;

struct TRun {
    std::array<std::uint8_t, BOARD_SQUARES> Pawn{};
    std::array<int, 3> BearedOff{};
    int CurrentPlayer = 0;
    int Movement = 0;
    std::string Sent;
    bool operator==(const TRun&) const = default;
};

void CheckBoard(const TRules& rules, size_t step) {
    const std::string at = " after step " + std::to_string(step);
    std::array<int, 3> onBoard{};
    for (std::uint8_t owner : rules.Pawn) {
        fuzz::Check(owner <= 2, "a square held by no player" + at);
        ++onBoard[owner];
    }
    for (int p = 1; p <= 2; ++p)
        fuzz::Check(onBoard[static_cast<size_t>(p)] + rules.BearedOff[static_cast<size_t>(p)] ==
                        PAWNS_PER_PLAYER,
                    "player " + std::to_string(p) + " lost or gained a pawn" + at);
    fuzz::Check(rules.CurrentPlayer == 1 || rules.CurrentPlayer == 2, "no player to move" + at);
    fuzz::Check(rules.Movement >= 0 && rules.Movement <= MAX_THROW, "a throw off the die" + at);
}

// What this end's board sent, read off the peer's end of the connection.
void TakeSent(int peer, std::string& sent) {
    char buffer[4096];
    for (;;) {
        const ssize_t got = recv(peer, buffer, sizeof buffer, MSG_DONTWAIT);
        if (got <= 0)
            return;
        sent.append(buffer, static_cast<size_t>(got));
    }
}

TRun Play(int me, const uint8_t* data, size_t size) {
    int fds[2];
    if (socketpair(AF_UNIX, SOCK_STREAM, 0, fds) != 0)
        fuzz::Fail("no socket pair");
    const int peer = fds[1];
    TFakeBoard board(me, me == 1 ? "Hosta" : "Joiner");
    const TClientPtr link = TClient::Create("127.0.0.1", 4000);
    link->Connection = platform::TSocket(fds[0]);
    link->Initialized = NET_CONNECTED;
    platform::SeedRnd(17);
    int now = 1000;
    TRun run;

    size_t at = 0;
    size_t step = 0;
    auto next = [&]() -> uint8_t { return at < size ? data[at++] : 0; };
    while (at < size) {
        const uint8_t op = next() % 8;
        if (op <= 3) {
            std::string frame(1, static_cast<char>(next()));
            for (size_t n = static_cast<uint8_t>(frame[0]); n > 0 && at < size; --n)
                frame += static_cast<char>(next());
            send(peer, frame.data(), frame.size(), MSG_NOSIGNAL);
        } else if (op == 4) {
            const char raw = static_cast<char>(next());
            send(peer, &raw, 1, MSG_NOSIGNAL);
        } else if (op == 5) {
            board.dieClick = true;
        } else if (op == 6) {
            TRules& rules = board.rules;
            if (rules.CurrentPlayer == me && rules.Movement > 0 && !board.dialog) {
                board.chosen = ComputerChoice(rules, STRATEGY_RACER);
                NetworkMove(board, *link);
                CheckBoard(rules, step);
            }
        } else {
            board.dialogAnswer = next() % 2 ? 1 : -1;
            now += 100 * next();
        }
        NetworkTick(board, *link, now);
        now += 20;
        CheckBoard(board.rules, step++);
        TakeSent(peer, run.Sent);
    }
    link->ShutDown();
    TakeSent(peer, run.Sent);
    platform::TSocket closePeer(peer);
    run.Pawn = board.rules.Pawn;
    run.BearedOff = board.rules.BearedOff;
    run.CurrentPlayer = board.rules.CurrentPlayer;
    run.Movement = board.rules.Movement;
    return run;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Setup();
    for (int me = 1; me <= 2; ++me) {
        const TRun first = Play(me, data, size);
        fuzz::Check(Play(me, data, size) == first,
                    std::string(me == 1 ? "the host" : "the joining board") +
                        " ended differently on a replay");
    }
    return 0;
}

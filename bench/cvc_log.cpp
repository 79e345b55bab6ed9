// The replay log of seeded games between two computer players, played headless by the board
// screen's own logic: bench_cvc_log <seed> <games> [every-tick] writes every game start, turn and
// win, one event a line, to standard output, and the time taken to standard error. The clock jumps
// to the end of each computer wait unless "every-tick" asks for every 5 ms tick, as in a real
// game; the log is the same either way.

#include "framework/shell/fixed_rate_logic.h"
#include "framework/shell/game.h"
#include "game/app/my_game.h"
#include "game/board/computer_match.h"
#include "platform/system.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

int main(int argc, char** argv) {
    const int seed = argc > 1 ? std::atoi(argv[1]) : 1;
    const int games = argc > 2 ? std::atoi(argv[2]) : 1;
    const bool everyTick = argc > 3 && std::string(argv[3]) == "every-tick";
    if (games < 1) {
        std::fprintf(stderr, "usage: bench_cvc_log <seed> <games> [every-tick]\n");
        return 2;
    }
    // A fake clock that the match moves, so that the games run as fast as the logic allows.
    int now = 100000;
    platform::SetMilliSecsSource([&now] { return now; });
    Game = std::make_unique<TMyGame>();
    Game->DataInAppBundle = 1;
    Game->SetDefaultPaths();
    Game->FixedRateLogic->Create();
    LoadBoardData();

    auto screen = std::make_shared<TGameScreen>();
    TComputerMatch match(*screen, seed);
    const auto start = std::chrono::steady_clock::now();
    const bool won = match.Play(
        games, [&now](int ms) { now = ClockAdd(now, ms); }, !everyTick);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::fputs(match.Log.Text.c_str(), stdout);
    std::fprintf(stderr, "%d games, %d logic ticks in %.3f s: %.1f games/s\n", match.Wins,
                 match.Ticks, seconds, match.Wins / seconds);
    return won ? 0 : 1;
}

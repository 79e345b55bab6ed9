// A thousand seeded computer-against-computer games played by the rules engine alone, with the
// mean cost of the legality test and of a computer's choice over the positions those games met.

#include "game/board/rules.h"
#include "game/board/strategy.h"

#include "platform/system.h"

#include <chrono>
#include <cstdio>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// One game to the win, each turn's strategy drawn as the board screen draws it. Positions with a
// throw pending are kept when `positions` is given.
int PlayGame(int seed, std::vector<TRules>* positions) {
    platform::SeedRnd(seed);
    TRules rules;
    rules.PlaceSpecials(false);
    rules.StartPosition();
    int moves = 0;
    while (!rules.Winner()) {
        const int strategy = platform::Rand(1, 2);
        rules.Movement = platform::Rand(1, MAX_THROW);
        if (positions)
            positions->push_back(rules);
        if (!rules.AnyValidMoves()) {
            rules.PassTurn();
            continue;
        }
        rules.MovePawn(ComputerChoice(rules, strategy));
        ++moves;
    }
    return moves;
}

} // namespace

int main() {
    constexpr int GAMES = 1000;
    long long moves = 0;
    const auto start = Clock::now();
    for (int seed = 1; seed <= GAMES; ++seed)
        moves += PlayGame(seed, nullptr);
    const double gameSeconds = SecondsSince(start);

    std::vector<TRules> positions;
    for (int seed = 1; seed <= 100; ++seed)
        PlayGame(seed, &positions);

    // Every square of every position, several times over, so that the clock's grain does not
    // matter; the sums keep the calls from being optimised away.
    constexpr int REPEATS = 50;
    long long sum = 0;
    auto timed = Clock::now();
    for (int r = 0; r < REPEATS; ++r)
        for (const auto& position : positions)
            for (int sq = 0; sq < BOARD_SQUARES; ++sq)
                sum += position.ValidMovesHere(sq);
    const double legalNs =
        SecondsSince(timed) * 1e9 / (double(REPEATS) * double(positions.size()) * BOARD_SQUARES);

    timed = Clock::now();
    for (int r = 0; r < REPEATS; ++r)
        for (const auto& position : positions)
            sum += ComputerChoice(position, STRATEGY_RACER) +
                   ComputerChoice(position, STRATEGY_PLODDER);
    const double choiceNs =
        SecondsSince(timed) * 1e9 / (double(REPEATS) * double(positions.size()) * 2);

    std::printf("%d games, %lld moves in %.3f s: %.0f games/s\n", GAMES, moves, gameSeconds,
                GAMES / gameSeconds);
    std::printf("legality test (ValidMovesHere): %.1f ns mean over %zu positions x %d squares\n",
                legalNs, positions.size(), BOARD_SQUARES);
    std::printf("strategy choice (ComputerChoice): %.1f ns mean\n", choiceNs);
    std::printf("(checksum %lld)\n", sum);
    return 0;
}

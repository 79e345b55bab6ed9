#include "game/board/rules.h"

#include "platform/system.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A board in the standard layout with the mover's pawns, the opponent's pawns and a throw.
TRules Board(const std::vector<int>& mine, const std::vector<int>& theirs, int movement,
             int player = 1) {
    TRules rules;
    rules.PlaceSpecials(false);
    rules.CurrentPlayer = player;
    rules.Movement = movement;
    for (int sq : mine)
        rules.Pawn[sq] = static_cast<std::uint8_t>(player);
    for (int sq : theirs)
        rules.Pawn[sq] = static_cast<std::uint8_t>(3 - player);
    return rules;
}

std::string Describe(const std::vector<int>& mine, const std::vector<int>& theirs, int m) {
    std::string text = "mine";
    for (int sq : mine)
        text += " " + std::to_string(sq);
    text += ", theirs";
    for (int sq : theirs)
        text += " " + std::to_string(sq);
    return text + ", throw " + std::to_string(m);
}

} // namespace

void PrintTo(TMoveKind kind, std::ostream* out) {
    const char* names[] = {"None", "BearOff", "Step", "Water", "Attack"};
    *out << names[static_cast<int>(kind)];
}

// ---- Geometry and layouts -----------------------------------------------------------------------

TEST(BoardGeometry, CornersAndRowTurns) {
    struct Case {
        int square, x, y;
    };
    const Case cases[] = {{0, 67, 133},   {9, 733, 133},  {10, 733, 213},
                          {14, 437, 213}, {19, 67, 213},  {20, 67, 293},
                          {25, 437, 293}, {28, 659, 293}, {29, 733, 293}};
    for (const auto& c : cases) {
        EXPECT_EQ(SquareX(c.square), c.x) << c.square;
        EXPECT_EQ(SquareY(c.square), c.y) << c.square;
    }
}

TEST(BoardGeometry, HitTestIsStrict) {
    // Square 14 at (437, 213): 29 pixels off on either axis is a hit, 30 is not.
    EXPECT_EQ(SquareUnder(437, 213), 14);
    EXPECT_EQ(SquareUnder(437 - 29, 213 + 29), 14);
    EXPECT_EQ(SquareUnder(437 + 29, 213 - 29), 14);
    EXPECT_EQ(SquareUnder(437 + 30, 213), -1);
    EXPECT_EQ(SquareUnder(437, 213 - 30), -1);
    // The gap between two columns belongs to no square; far off the board neither.
    EXPECT_EQ(SquareUnder(67 + 37, 133), -1);
    EXPECT_EQ(SquareUnder(-100000, 2000000), -1);
    for (int n = 0; n < BOARD_SQUARES; ++n)
        EXPECT_EQ(SquareUnder(SquareX(n), SquareY(n)), n);
}

TEST(BoardLayout, StartPositionAndStandardSpecials) {
    TRules rules;
    rules.BearedOff = {0, 3, 4};
    rules.Pawn[20] = 1;
    rules.CurrentPlayer = 2;
    rules.StartPosition();
    rules.PlaceSpecials(false);
    for (int n = 0; n < BOARD_SQUARES; ++n) {
        EXPECT_EQ(rules.Pawn[n], n < 10 ? (n % 2 == 0 ? 1 : 2) : 0) << n;
        const int expected[] = {14, 25, 26, 27, 28};
        int id = 0;
        for (int k = 0; k < 5; ++k)
            if (expected[k] == n)
                id = k + 1;
        EXPECT_EQ(rules.Special[n], id) << n;
    }
    EXPECT_EQ(rules.BearedOff[1], 0);
    EXPECT_EQ(rules.BearedOff[2], 0);
    // A new game after a win keeps the winner to move.
    EXPECT_EQ(rules.CurrentPlayer, 2);
}

TEST(BoardLayout, RandomLayoutKeepsItsRangesAndSquaresApart) {
    platform::SeedRnd(1234);
    bool waterOn29 = false;
    for (int run = 0; run < 500; ++run) {
        TRules rules;
        rules.PlaceSpecials(true);
        const int back = rules.SquareOfSpecial(SPECIAL_RETURN);
        const int safe = rules.SquareOfSpecial(SPECIAL_SAFE);
        const int water = rules.SquareOfSpecial(SPECIAL_WATER);
        EXPECT_TRUE(back >= 10 && back <= 18) << back;
        EXPECT_TRUE(safe >= 10 && safe <= 26 && safe != back) << safe;
        EXPECT_TRUE(((water >= 19 && water <= 26) || water == 29) && water != safe) << water;
        EXPECT_EQ(rules.SquareOfSpecial(SPECIAL_EXIT_ON_3), 27);
        EXPECT_EQ(rules.SquareOfSpecial(SPECIAL_EXIT_ON_2), 28);
        int specials = 0;
        for (auto id : rules.Special)
            specials += id != SPECIAL_NONE;
        EXPECT_EQ(specials, 5);
        waterOn29 = waterOn29 || water == 29;
    }
    EXPECT_TRUE(waterOn29);
}

// ---- The legal-move rule ------------------------------------------------------------------------

TEST(BoardRule, WorkedPositionsAndEdges) {
    using K = TMoveKind;
    struct Case {
        int from;
        std::vector<int> throws;
        std::vector<int> mine, theirs; // pawns besides the moving one
        TMoveKind kind;                // None: the move is refused
    };
    const Case cases[] = {
        // Blockades: three in a row on the way block, the target included; a broken run does not.
        {10, {4}, {}, {11, 12, 13}, K::None},
        {10, {4}, {13}, {11, 12}, K::Step},
        {10, {3}, {}, {11, 12, 13}, K::None},
        {10, {4}, {}, {11, 13, 14}, K::None}, // no run, but 14 is protected by 13
        {9, {5}, {}, {10, 12, 13}, K::Step},  // a gap breaks the run
        {8, {6}, {}, {9, 10, 11, 12}, K::None},
        {5, {6}, {9}, {6, 7, 8}, K::None}, // a run of three stays blocking after an own pawn
        {25, {6}, {}, {27, 28, 29}, K::None},
        {26, {4, 5, 6}, {}, {27, 28, 29}, K::None},
        {24, {6}, {}, {27, 28}, K::BearOff}, // two in a row never block
        // Protection by a pawn of the target's colour directly before or after it.
        {10, {2}, {}, {11, 12}, K::None},
        {19, {3}, {}, {21, 22}, K::None},
        {18, {3}, {20, 22}, {21}, K::Attack},
        {20, {1}, {}, {21}, K::Attack}, // square t-1 is the mover's own square
        {24, {5}, {}, {29}, K::Attack},
        {24, {5}, {}, {28, 29}, K::None},
        // The safe square, occupied by either player or empty.
        {20, {5}, {}, {25}, K::None},
        {20, {5}, {25}, {}, K::None},
        {20, {5}, {}, {}, K::Step},
        // Exact exits from squares 28 (a 2) and 27 (a 3); 29 leaves with anything.
        {28, {2}, {}, {}, K::BearOff},
        {28, {1, 3, 4, 5, 6}, {}, {}, K::None},
        {27, {3}, {}, {}, K::BearOff},
        {27, {1, 2, 4, 5, 6}, {}, {}, K::None},
        {29, {1, 2, 3, 4, 5, 6}, {}, {}, K::BearOff},
        // Own pawns: passed over freely, never landed on.
        {10, {4}, {11, 12, 13}, {}, K::Step},
        {10, {4}, {14}, {}, K::None},
        // The water square is a legal target.
        {22, {4}, {}, {}, K::Water},
    };
    for (const auto& c : cases) {
        for (int m : c.throws) {
            auto mine = c.mine;
            mine.push_back(c.from);
            const TRules rules = Board(mine, c.theirs, m);
            const int expected = c.kind == K::None ? 0 : 1;
            SCOPED_TRACE("from " + std::to_string(c.from) + ", " + Describe(c.mine, c.theirs, m));
            EXPECT_EQ(rules.ValidMovesHere(c.from), expected);
            EXPECT_EQ(rules.Classify(c.from), c.kind);
            // Player 2 in the mirror position gets the same answer.
            EXPECT_EQ(Board(mine, c.theirs, m, 2).ValidMovesHere(c.from), expected);
        }
    }
}

TEST(BoardRule, EarlyAnswersAndSquaresWithoutOwnPawn) {
    TRules before = Board({10}, {12}, 0);
    for (int sq : {10, 11, 12, 0}) // before the throw every square answers 1
        EXPECT_EQ(before.ValidMovesHere(sq), 1) << sq;
    EXPECT_EQ(before.AnyValidMoves(), 1);
    EXPECT_EQ(before.Classify(10), TMoveKind::None);

    const TRules thrown = Board({10}, {12}, 3);
    EXPECT_EQ(thrown.ValidMovesHere(11), 0); // empty
    EXPECT_EQ(thrown.ValidMovesHere(12), 0); // the opponent's

    const TRules empty = Board({}, {}, 4);
    EXPECT_EQ(empty.ValidMovesHere(5), 1);
    EXPECT_EQ(empty.AnyValidMoves(), 1);
}

TEST(BoardRule, SquaresAndThrowsFromOutsideAreRefused) {
    for (int m : {0, 1, 6}) {
        const TRules rules = Board({0, 29}, {1}, m);
        for (int sq : {-1, 30, 31, 1000000, -1000000})
            EXPECT_EQ(rules.ValidMovesHere(sq), 0) << sq << " throw " << m;
    }
    for (int m : {-1, -30, 7, 1000000}) {
        TRules rules = Board({0, 29}, {1}, m);
        EXPECT_EQ(rules.ValidMovesHere(29), 0) << m;
        EXPECT_EQ(rules.ValidMovesHere(0), 0) << m;
        EXPECT_EQ(rules.AnyValidMoves(), 0) << m;
        const TRules copy = rules;
        EXPECT_EQ(rules.MovePawn(29).Kind, TMoveKind::None);
        EXPECT_EQ(rules.Pawn, copy.Pawn);
    }
}

TEST(BoardRule, NoMoveBoard) {
    // Every pawn of player 1 is held: exact exits, a blockade and a protected pair.
    const TRules rules = Board({27, 28, 10}, {11, 12, 13, 15, 16}, 4);
    EXPECT_EQ(rules.AnyValidMoves(), 0);
    for (int sq = 0; sq < BOARD_SQUARES; ++sq)
        EXPECT_EQ(rules.ValidMovesHere(sq), 0) << sq;
    // The same board, player 2 to move, has moves.
    TRules other = rules;
    other.CurrentPlayer = 2;
    EXPECT_EQ(other.AnyValidMoves(), 1);
}

TEST(BoardRule, AnyValidMovesAgreesWithEverySquareOnRandomBoards) {
    platform::SeedRnd(99);
    for (int run = 0; run < 3000; ++run) {
        TRules rules;
        rules.PlaceSpecials(run % 3 == 0);
        for (int sq = 0; sq < BOARD_SQUARES; ++sq)
            rules.Pawn[sq] =
                static_cast<std::uint8_t>(platform::Rand(0, 5) < 3 ? 0 : platform::Rand(1, 2));
        rules.CurrentPlayer = platform::Rand(1, 2);
        rules.Movement = platform::Rand(1, 6);
        int any = 0;
        for (int sq = 0; sq < BOARD_SQUARES; ++sq)
            any |= rules.ValidMovesHere(sq);
        EXPECT_EQ(rules.AnyValidMoves(), rules.NoPawns() ? 1 : any);
    }
}

// ---- Making a move ------------------------------------------------------------------------------

TEST(BoardMove, KindsAndTheirBoards) {
    using K = TMoveKind;
    struct Case {
        std::string name;
        int from, movement;
        std::vector<int> mine, theirs; // besides the moving pawn
        TMoveKind kind;
        int to, destination;
        std::vector<int> mineAfter, theirsAfter; // every pawn of each player after the move
    };
    const Case cases[] = {
        {"step", 3, 4, {}, {5}, K::Step, 7, 7, {7}, {5}},
        {"step onto the return square", 12, 2, {}, {}, K::Step, 14, 14, {14}, {}},
        {"step onto the safe square", 21, 4, {}, {}, K::Step, 25, 25, {25}, {}},
        {"step onto an exit square", 24, 4, {}, {}, K::Step, 28, 28, {28}, {}},
        {"attack swaps the pawns", 18, 3, {20, 22}, {21}, K::Attack, 21, 21, {20, 21, 22}, {18}},
        {"water, return square empty", 22, 4, {}, {}, K::Water, 26, 14, {14}, {}},
        {"water, return square held", 23, 3, {14}, {}, K::Water, 26, 13, {13, 14}, {}},
        {"water, 14 13 12 held", 21, 5, {14, 12}, {13}, K::Water, 26, 11, {11, 12, 14}, {13}},
        {"bearing off", 27, 3, {29}, {}, K::BearOff, -1, -1, {29}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto mine = c.mine;
        mine.push_back(c.from);
        TRules rules = Board(mine, c.theirs, c.movement);
        const TMoveResult result = rules.MovePawn(c.from);
        EXPECT_EQ(result.Kind, c.kind);
        EXPECT_EQ(result.Player, 1);
        EXPECT_EQ(result.Throw, c.movement);
        EXPECT_EQ(result.From, c.from);
        EXPECT_EQ(result.To, c.to);
        EXPECT_EQ(result.Destination, c.destination);
        EXPECT_FALSE(result.Won);
        const TRules expected = Board(c.mineAfter, c.theirsAfter, 0, 1);
        EXPECT_EQ(rules.Pawn, expected.Pawn);
        EXPECT_EQ(rules.BearedOff[1], c.kind == K::BearOff ? 1 : 0);
        // The turn ends and passes, whatever the kind: there are no extra turns.
        EXPECT_EQ(rules.Movement, 0);
        EXPECT_EQ(rules.CurrentPlayer, 2);
    }
}

TEST(BoardMove, RefusedMovesChangeNothing) {
    struct Case {
        std::string name;
        TRules rules;
        int square;
    };
    const Case cases[] = {
        {"no throw", Board({10}, {}, 0), 10},
        {"empty square", Board({10}, {}, 3), 11},
        {"opponent's pawn", Board({10}, {11}, 3), 11},
        {"blockade", Board({10}, {11, 12, 13}, 4), 10},
        {"exact exit", Board({28}, {}, 3), 28},
        {"safe square", Board({20}, {25}, 5), 20},
        {"own pawn on the target", Board({10, 13}, {}, 3), 10},
        {"protected pawn", Board({10}, {11, 12}, 2), 10},
        {"off the board", Board({10}, {}, 3), 30},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TRules rules = c.rules;
        EXPECT_EQ(rules.MovePawn(c.square).Kind, TMoveKind::None);
        EXPECT_EQ(rules.Pawn, c.rules.Pawn);
        EXPECT_EQ(rules.Movement, c.rules.Movement);
        EXPECT_EQ(rules.CurrentPlayer, c.rules.CurrentPlayer);
        EXPECT_EQ(rules.BearedOff, c.rules.BearedOff);
    }
}

TEST(BoardMove, FifthPawnBorneOffWinsAndKeepsTheTurn) {
    TRules rules = Board({29}, {3, 4}, 1, 2);
    rules.BearedOff = {0, 2, 4};
    const TMoveResult result = rules.MovePawn(29);
    EXPECT_EQ(result.Kind, TMoveKind::BearOff);
    EXPECT_TRUE(result.Won);
    EXPECT_EQ(rules.BearedOff[2], 5);
    EXPECT_EQ(rules.Winner(), 2);
    EXPECT_EQ(rules.CurrentPlayer, 2);
    EXPECT_EQ(rules.Movement, 0);
    // The next game starts with the winner's throw.
    rules.StartPosition();
    EXPECT_EQ(rules.Winner(), 0);
    EXPECT_EQ(rules.CurrentPlayer, 2);
}

TEST(BoardMove, PassTurnWithoutAMove) {
    TRules rules = Board({27}, {}, 5);
    ASSERT_EQ(rules.AnyValidMoves(), 0);
    rules.PassTurn();
    EXPECT_EQ(rules.CurrentPlayer, 2);
    EXPECT_EQ(rules.Movement, 0);
    EXPECT_EQ(rules.Pawn[27], 1);
}

// ---- The water square's destination -------------------------------------------------------------

TEST(BoardWater, MoverStandingOnTheReturnSquareCountsAsThere) {
    // A random layout can put the return square behind the mover: its own square is not free yet.
    TRules rules;
    rules.Special[12] = SPECIAL_RETURN;
    rules.Special[15] = SPECIAL_WATER;
    rules.Pawn[12] = 1;
    rules.Movement = 3;
    const TMoveResult result = rules.MovePawn(12);
    EXPECT_EQ(result.Kind, TMoveKind::Water);
    EXPECT_EQ(result.Destination, 11);
    EXPECT_EQ(rules.Pawn[11], 1);
    EXPECT_EQ(rules.Pawn[12], 0);
    EXPECT_EQ(rules.Pawn[15], 0);
}

TEST(BoardWater, FallbackNeverLandsOnAPawn) {
    struct Case {
        std::string name;
        int filledUpTo; // squares 0..filledUpTo hold pawns (alternating owners), besides the mover
        bool withReturnSquare;
        int destination;
    };
    const Case cases[] = {
        // Everything at and below the return square held: the nearest free square above it.
        {"0..14 held", 14, true, 15},
        {"0..21 held", 21, true, 22},
        // Every square short of the water held: the pawn stays where it was.
        {"0..22 held", 22, true, 24},
        {"0..25 held", 25, true, 23},
        // No return square: towards square 0, then up as above.
        {"no return square, 0 free", -1, false, 0},
        {"no return square, 0..4 held", 4, false, 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TRules rules;
        rules.PlaceSpecials(false);
        if (!c.withReturnSquare)
            rules.Special[14] = SPECIAL_NONE;
        for (int sq = 0; sq <= c.filledUpTo; ++sq)
            rules.Pawn[sq] = static_cast<std::uint8_t>(1 + sq % 2);
        rules.Pawn[23] = 1;
        rules.Movement = 3;
        const int before = rules.PawnsOnBoard(1) + rules.PawnsOnBoard(2);
        const TMoveResult result = rules.MovePawn(23);
        EXPECT_EQ(result.Kind, TMoveKind::Water);
        EXPECT_EQ(result.Destination, c.destination);
        EXPECT_EQ(rules.Pawn[c.destination], 1);
        EXPECT_EQ(rules.Pawn[26], 0);
        EXPECT_EQ(rules.PawnsOnBoard(1) + rules.PawnsOnBoard(2), before);
    }
}

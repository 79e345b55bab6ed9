#include "game/board/rules.h"

#include "platform/system.h"

namespace {

int Opponent(int p) {
    return p == 1 ? 2 : 1;
}

bool OnBoard(int square) {
    return square >= 0 && square < BOARD_SQUARES;
}

} // namespace

// ---- Setting up ---------------------------------------------------------------------------------

void TRules::StartPosition() {
    Pawn.fill(0);
    for (int n = 0; n < START_SQUARES; ++n)
        Pawn[n] = static_cast<std::uint8_t>(n % 2 == 0 ? 1 : 2);
    BearedOff.fill(0);
}

void TRules::ClearSpecials() {
    Special.fill(SPECIAL_NONE);
}

int RandomSpecialSquare(int id, int index, const std::function<bool(int)>& hasSpecial) {
    // The return square is drawn first, onto a bare board; the safe and water squares are drawn
    // again until they miss the specials already placed.
    if (id == SPECIAL_RETURN) {
        index = platform::Rand(RANDOM_RETURN_LOW, RANDOM_RETURN_HIGH);
    } else if (id == SPECIAL_SAFE) {
        do
            index = platform::Rand(RANDOM_SAFE_LOW, RANDOM_SAFE_HIGH);
        while (hasSpecial(index));
    } else if (id == SPECIAL_WATER) {
        do {
            index = platform::Rand(RANDOM_WATER_LOW, RANDOM_WATER_HIGH);
            if (index == RANDOM_WATER_MOVED_FROM)
                index = RANDOM_WATER_MOVED_TO;
        } while (hasSpecial(index));
    }
    return index;
}

int TRules::AddSpecial(int index, int id, bool randomLayout) {
    if (randomLayout)
        index = RandomSpecialSquare(id, index, [&](int n) { return Special[n] != SPECIAL_NONE; });
    if (OnBoard(index))
        Special[index] = static_cast<std::uint8_t>(id);
    return index;
}

void TRules::PlaceSpecials(bool randomLayout) {
    ClearSpecials();
    for (int id = 1; id <= SPECIAL_COUNT; ++id)
        AddSpecial(STANDARD_SPECIAL_SQUARE[id], id, randomLayout);
}

// ---- Reading the board --------------------------------------------------------------------------

bool TRules::NoPawns() const {
    for (auto owner : Pawn)
        if (owner != 0)
            return false;
    return true;
}

int TRules::PawnsOnBoard(int p) const {
    int count = 0;
    for (auto owner : Pawn)
        if (owner == p)
            ++count;
    return count;
}

int TRules::SquareOfSpecial(int id) const {
    for (int n = 0; n < BOARD_SQUARES; ++n)
        if (Special[n] == id)
            return n;
    return -1;
}

// ---- The rule -----------------------------------------------------------------------------------

bool TRules::MoveAllowed(int i, int m) const {
    const int p = CurrentPlayer;
    const int t = i + m;
    const int last = t < BOARD_SQUARES ? t : BOARD_SQUARES - 1;

    // A run of three or more opponent pawns anywhere on the way blocks the move; the way includes
    // the target when it is on the board. A way of fewer than three squares is never scanned.
    if (last - i >= BLOCKADE_RUN) {
        const int opponent = Opponent(p);
        int run = 0;
        for (int n = i + 1; n <= last && run < BLOCKADE_RUN; ++n)
            run = Pawn[n] == opponent ? run + 1 : 0;
        if (run >= BLOCKADE_RUN)
            return false;
    }
    // The exit squares are left only with their exact throw, whatever the target would be.
    if (Special[i] == SPECIAL_EXIT_ON_2 && m != 2)
        return false;
    if (Special[i] == SPECIAL_EXIT_ON_3 && m != 3)
        return false;
    if (t >= BOARD_SQUARES)
        return true;
    const int target = Pawn[t];
    if (target == 0)
        return true;
    // An occupied safe square cannot be targeted, whoever stands on it; nor can an own pawn.
    if (Special[t] == SPECIAL_SAFE || target == p)
        return false;
    // An opponent pawn with a pawn of its own colour directly before or after it is protected.
    // Square t-1 is at least the origin, whose pawn is the mover's and never protects.
    if (Pawn[t - 1] == target)
        return false;
    if (t + 1 < BOARD_SQUARES && Pawn[t + 1] == target)
        return false;
    return true;
}

int TRules::ValidMovesHere(int i) const {
    // A square number from outside (a peer's message) is checked before anything is read.
    if (!OnBoard(i) || Movement < 0 || Movement > MAX_THROW)
        return 0;
    if (Movement == 0)
        return 1;
    if (Pawn[i] != CurrentPlayer)
        return NoPawns() ? 1 : 0;
    return MoveAllowed(i, Movement) ? 1 : 0;
}

int TRules::AnyValidMoves() const {
    if (Movement == 0)
        return 1;
    if (Movement < 0 || Movement > MAX_THROW)
        return 0;
    bool anyPawn = false;
    for (int i = 0; i < BOARD_SQUARES; ++i) {
        if (Pawn[i] == 0)
            continue;
        anyPawn = true;
        if (Pawn[i] == CurrentPlayer && MoveAllowed(i, Movement))
            return 1;
    }
    return anyPawn ? 0 : 1;
}

TMoveKind TRules::Classify(int i) const {
    if (!OnBoard(i) || Movement <= 0 || Movement > MAX_THROW || Pawn[i] != CurrentPlayer ||
        !MoveAllowed(i, Movement))
        return TMoveKind::None;
    const int t = i + Movement;
    if (t >= BOARD_SQUARES)
        return TMoveKind::BearOff;
    if (Pawn[t] != 0)
        return TMoveKind::Attack;
    return Special[t] == SPECIAL_WATER ? TMoveKind::Water : TMoveKind::Step;
}

int TRules::WaterDestination(int from, int water) const {
    auto free = [&](int n) { return Pawn[n] == 0 && n != water && n != from; };
    // Without a return square the pawn is sent towards square 0.
    int back = SquareOfSpecial(SPECIAL_RETURN);
    if (back < 0)
        back = 0;
    for (int n = back; n >= 0; --n)
        if (free(n))
            return n;
    // Nothing free at or below the return square (not possible with ten pawns on this board): the
    // nearest free square above it, still short of the water, and at worst the pawn's own square,
    // which it has just left. A pawn is never put onto another.
    for (int n = back + 1; n < water; ++n)
        if (free(n))
            return n;
    return from;
}

// ---- The move -----------------------------------------------------------------------------------

TMoveResult TRules::MovePawn(int i) {
    TMoveResult result;
    const TMoveKind kind = Classify(i);
    if (kind == TMoveKind::None)
        return result;
    const int p = CurrentPlayer;
    const int t = i + Movement;
    result.Kind = kind;
    result.Player = p;
    result.Throw = Movement;
    result.From = i;
    switch (kind) {
    case TMoveKind::BearOff:
        Pawn[i] = 0;
        ++BearedOff[p];
        break;
    case TMoveKind::Water:
        result.To = t;
        result.Destination = WaterDestination(i, t);
        Pawn[i] = 0;
        Pawn[result.Destination] = static_cast<std::uint8_t>(p);
        break;
    case TMoveKind::Step:
        result.To = result.Destination = t;
        Pawn[i] = 0;
        Pawn[t] = static_cast<std::uint8_t>(p);
        break;
    case TMoveKind::Attack:
        // The opponent's pawn goes back to the mover's square: nothing leaves the board.
        result.To = result.Destination = t;
        Pawn[i] = Pawn[t];
        Pawn[t] = static_cast<std::uint8_t>(p);
        break;
    case TMoveKind::None:
        break;
    }
    Movement = 0;
    result.Won = BearedOff[p] >= WIN_COUNT;
    // The winner keeps the turn: the next game, if any, starts with the winner's throw.
    if (!result.Won)
        CurrentPlayer = Opponent(p);
    return result;
}

void TRules::PassTurn() {
    Movement = 0;
    CurrentPlayer = Opponent(CurrentPlayer);
}

int TRules::Winner() const {
    for (int p = 1; p <= 2; ++p)
        if (BearedOff[p] >= WIN_COUNT)
            return p;
    return 0;
}

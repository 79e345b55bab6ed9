#include "game/board/squares.h"

#include "game/board/board_globals.h"
#include "game/board/program_data.h"
#include "game/board/rules.h"

#include "platform/system.h"

#include <string>

namespace {

// Every piece's picture written into collision layer 1, the piece itself as the collision object.
template <class List> int CollideAll(const List& list) {
    for (const auto& piece : list)
        platform::CollideImage(
            piece->image->image, static_cast<float>(platform::TruncToInt(piece->x)),
            static_cast<float>(platform::TruncToInt(piece->y)), 0, 0, 1, piece.get());
    return 0;
}

template <class List> int DrawAll(const List& list) {
    for (const auto& piece : list)
        piece->Draw();
    return 0;
}

template <class List> int ManageAll(const List& list) {
    for (const auto& piece : list)
        piece->Manage();
    return 0;
}

template <class List> int MoveAll(const List& list) {
    for (const auto& piece : list)
        piece->Move();
    return 0;
}

} // namespace

// ---- Pawns --------------------------------------------------------------------------------------

TPawnPtr TPawn::Create(const TGameImagePtr& image, float x, float y) {
    return CreateBoardSprite<TPawn>(image, x, y);
}

int TPawn::Manage() {
    return 0;
}

TPawnPtr TPawnList::AddNew(TSquares& squares, int index, int player) {
    TSquare& square = squares[static_cast<std::size_t>(index)];
    auto pawn = TPawn::Create(images->Find("pawn"), static_cast<float>(square.x),
                              static_cast<float>(square.y));
    pawn->Pawns = this;
    pawn->Player = player;
    // The player's colour object itself: a new colour shows on every pawn of the player at once.
    pawn->Color = PlayerColor[static_cast<std::size_t>(player)];
    square.pawn = pawn;
    push_back(pawn);
    return pawn;
}

int TPawnList::Remove(const TPawnPtr& pawn) {
    if (pawn && pawn->Pawns == this)
        pawn->Pawns = nullptr;
    remove(pawn);
    return 0;
}

int TPawnList::Draw() {
    return DrawAll(*this);
}

int TPawnList::Manage() {
    return ManageAll(*this);
}

int TPawnList::Move() {
    return MoveAll(*this);
}

int TPawnList::Collide() {
    return CollideAll(*this);
}

// ---- Specials -----------------------------------------------------------------------------------

TSpecialPtr TSpecial::Create(const TGameImagePtr& image, float x, float y) {
    return CreateBoardSprite<TSpecial>(image, x, y);
}

int TSpecial::Manage() {
    return 0;
}

TSpecialPtr TSpecialList::AddNew(TSquares& squares, int index, int id) {
    if (RandomSquares == 1 && networkGame == 0)
        index = RandomSpecialSquare(id, index, [&](int n) {
            return squares[static_cast<std::size_t>(n)].special != nullptr;
        });
    TSquare& square = squares[static_cast<std::size_t>(index)];
    auto special = TSpecial::Create(images->Find("special" + std::to_string(id)),
                                    static_cast<float>(square.x), static_cast<float>(square.y));
    special->Specials = this;
    special->id = id;
    square.special = special;
    push_back(special);
    return special;
}

int TSpecialList::Draw() {
    return DrawAll(*this);
}

int TSpecialList::Manage() {
    return ManageAll(*this);
}

int TSpecialList::Move() {
    return MoveAll(*this);
}

int TSpecialList::Collide() {
    return CollideAll(*this);
}

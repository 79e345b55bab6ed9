#pragma once
// The board's squares and the pieces standing on them: a player's pawn (TPawn), the marker of a
// special square (TSpecial), and the two lists that own them. A list's AddNew makes a piece on a
// square of the board and links square, piece and list together.

#include "framework/graphics/sprite.h"
#include "game/board/board_constants.h"

#include <array>
#include <list>
#include <memory>

// A new sprite of class T showing the image at (x, y): the Create of the board's sprite classes.
template <class T>
std::shared_ptr<T> CreateBoardSprite(const TGameImagePtr& image, float x, float y) {
    auto sprite = std::make_shared<T>();
    sprite->SetImage(image);
    sprite->x = x;
    sprite->y = y;
    return sprite;
}

class TPawn;
class TPawnList;
class TSpecial;
class TSpecialList;
using TPawnPtr = std::shared_ptr<TPawn>;
using TSpecialPtr = std::shared_ptr<TSpecial>;

// One square of the board.
struct TSquare {
    int id = 0; // the square's place on the path, 0 to 29
    int x = 0;  // its centre on the 800 by 600 screen
    int y = 0;
    TPawnPtr pawn;
    TSpecialPtr special;
    // The MilliSecs value from which the explanation of the square's special shows while the
    // pointer rests on it; 0 while it does not.
    int hover = 0;
};

// The board in path order. Square n's pawn and special are shared with the lists.
using TSquares = std::array<TSquare, BOARD_SQUARES>;

// A player's pawn, tinted with the player's own colour object; also the destination sign
// ("pawnlight"), which belongs to no list and no player.
class TPawn : public TSprite {
public:
    static TPawnPtr Create(const TGameImagePtr& image, float x, float y);
    int Manage();

    TPawnList* Pawns = nullptr; // the list that holds it (not owned)
    int Player = 0;             // 1 or 2; 0 for no player
};

// The pawns still on the board, in the order they were added.
class TPawnList : public TObject, public std::list<TPawnPtr> {
public:
    // A pawn of `player` with the image "pawn" on squares[index], tinted PlayerColor[player].
    TPawnPtr AddNew(TSquares& squares, int index, int player);
    // Takes the pawn out of the list (it forgets the list).
    int Remove(const TPawnPtr& pawn);
    int Draw();
    int Manage();
    int Move();
    // Writes every pawn's picture into collision layer 1.
    int Collide();
};

// The marker of a special square.
class TSpecial : public TSprite {
public:
    static TSpecialPtr Create(const TGameImagePtr& image, float x, float y);
    int Manage();

    TSpecialList* Specials = nullptr; // the list that holds it (not owned)
    int id = 0;                       // SPECIAL_RETURN ... SPECIAL_EXIT_ON_2
};

class TSpecialList : public TObject, public std::list<TSpecialPtr> {
public:
    // A special of kind `id` with the image "special" + id on squares[index]; in a local game
    // with RandomSquares set, the return, safe and water squares go to squares drawn for them.
    TSpecialPtr AddNew(TSquares& squares, int index, int id);
    int Draw();
    int Manage();
    int Move();
    int Collide();
};

#include "game/board/my_fade.h"

#include "game/board/squares.h"

TMyFadePtr TMyFade::Create(const TGameImagePtr& image, float x, float y) {
    return CreateBoardSprite<TMyFade>(image, x, y);
}

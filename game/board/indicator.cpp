#include "game/board/indicator.h"

#include "game/board/board_globals.h"
#include "game/board/squares.h"

TIndicatorPtr TIndicator::CreateSpecial(const TGameImagePtr& image, const TGameImagePtr& overlay,
                                        float x, float y) {
    auto indicator = CreateBoardSprite<TIndicator>(image, x, y);
    indicator->overlay = overlay;
    return indicator;
}

int TIndicator::DrawSpecial(int player) {
    if (!visible)
        return 0;
    if (player >= 0 && player < static_cast<int>(PlayerColor.size()))
        Color = PlayerColor[static_cast<std::size_t>(player)];
    // The tinted picture, scaled, turned and faded as the sprite, which then puts the drawing
    // state back.
    DoDraw();
    // The overlay keeps its own colours, scale and full alpha whatever the sprite's.
    DrawNormalS(overlay);
    return 0;
}

int TIndicator::DrawNormalS(const TGameImagePtr& picture) {
    DrawNormal(picture);
    return 0;
}

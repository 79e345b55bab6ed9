#include "game/board/indicator.h"

#include "game/app/program.h"
#include "game/board/squares.h"

#include "platform/graphics.h"

TIndicatorPtr TIndicator::CreateSpecial(const TGameImagePtr& image, const TGameImagePtr& overlay,
                                        float x, float y) {
    auto indicator = CreateBoardSprite<TIndicator>(image, x, y);
    indicator->overlay = overlay;
    return indicator;
}

int TIndicator::DrawSpecial(int player) {
    if (!visible)
        return 0;
    platform::SetScale(ScaleX * BaseScaleX, ScaleY * BaseScaleY);
    platform::SetRotation(Rotation);
    if (UseAlpha)
        platform::SetAlpha(Alpha);
    if (player >= 0 && player < static_cast<int>(PlayerColor.size()))
        Color = PlayerColor[static_cast<std::size_t>(player)];
    if (Color)
        Color->ApplyNoAlpha();
    DrawNormalS(image);
    platform::SetScale(1.0f, 1.0f);
    platform::SetRotation(0.0f);
    if (UseAlpha)
        platform::SetAlpha(1.0f);
    if (Color)
        platform::SetColor(255, 255, 255);
    // The overlay keeps its own colours, scale and full alpha whatever the sprite's.
    DrawNormalS(overlay);
    return 0;
}

int TIndicator::DrawNormalS(const TGameImagePtr& picture) {
    const int shownFrame = DrawnFrame();
    const TGameImagePtr& shown = AlternativeImage ? AlternativeImage : picture;
    if (!shown || !shown->image)
        return 0;
    DrawShadow(shown, shownFrame, 0);
    if (UseOffset)
        platform::DrawImage(shown->image, x + offx, y + offy, shownFrame);
    else
        platform::DrawImage(shown->image, x, y, shownFrame);
    return 0;
}

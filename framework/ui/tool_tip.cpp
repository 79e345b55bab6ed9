#include "framework/ui/tool_tip.h"

#include "framework/audio/channel_array.h"
#include "framework/graphics/mouse_pointer.h"
#include "framework/shell/game.h"
#include "framework/util/drawing.h"
#include "framework/util/globals.h"
#include "framework/util/numbers.h"
#include "platform/system.h"

int TToolTip::Collide(int over) {
    int shown = 0;
    if (over != 0) {
        CollideCounter += Delta;
        const int wasVisible = Visible;
        if (CollideCounter > static_cast<float>(CollideCounterMax)) {
            Visible = 1;
            CollideCounter = static_cast<float>(CollideCounterMax);
            shown = 1;
            if (wasVisible == 0 && ToolTipSound && Game->Channels)
                Game->Channels->PlayGameSound(ToolTipSound, nullptr, 1.0f, 0.0f);
        }
        if (DrawUnderMouseCursor == 1 && (SetCoordsOnceOnly == 0 || wasVisible == 0))
            PlaceAtPointer();
    } else {
        CollideCounter = 0.0f;
    }
    if (shown) {
        if (Fade) {
            FadeLevel += FadeInSpeed * Delta;
            if (FadeLevel > 1.0f)
                FadeLevel = 1.0f;
        }
    } else if (Fade) {
        FadeLevel -= FadeOutSpeed * Delta;
        if (FadeLevel <= 0.0f) {
            FadeLevel = 0.0f;
            Visible = 0;
        }
    } else {
        Visible = 0;
    }
    return 0;
}

void TToolTip::PlaceAtPointer() {
    const int mx = Game->Mouse->x;
    const int my = Game->Mouse->y;
    const int ph = Game->Mouse->h;
    const int boxW = image ? image->w : 0;
    const int boxH = image ? image->h : 0;
    if (my + ph + GapFromMouse + boxH < ScreenHeight)
        y = static_cast<float>(my + ph + GapFromMouse);
    else
        y = static_cast<float>(my - GapFromMouse - boxH);
    if (mx + boxW < ScreenWidth)
        x = static_cast<float>(mx + XOffset);
    else
        x = static_cast<float>(ScreenWidth - boxW);
}

int TToolTip::Kill() {
    ToolTipSound = nullptr;
    return 0;
}

int TToolTip::Draw() {
    if (Visible == 0)
        return 0;
    if (Fade) {
        platform::SetAlpha(FadeLevel);
        if (font && font->Color)
            font->Color->Alpha = FadeLevel;
    }
    if (image)
        platform::DrawImage(image->image, x, y, 0);
    if (font) {
        font->Apply();
        DrawText();
        if (font->Color)
            font->Color->Restore();
    }
    if (Fade) {
        platform::SetAlpha(1.0f);
        ccTextAlpha = 1.0f;
    }
    return 1;
}

void TToolTip::DrawText() const {
    const float centreX = x + (image ? image->w2 : 0.0f);
    const float centreY = y + (image ? image->h2 : 0.0f) + static_cast<float>(TextYOffset);
    const int shadow = font->Shadow ? 1 : 0;
    if (font->BitmapFont) {
        font->BitmapFont->DrawStringArray(TextWrapped, centreX, centreY, 1, 0, 1, 0, shadow, 0, 1);
        return;
    }
    // A style without a bitmap font: the image font lays the lines out the same way.
    const int lineHeight = platform::TextHeight("");
    float top =
        centreY - static_cast<float>(ccRound(static_cast<float>(lineHeight) *
                                             static_cast<float>(TextWrapped.size()) / 2.0f));
    for (const std::string& line : TextWrapped) {
        ccDrawTextAligned(line, centreX, top, shadow, 1, 1);
        top += static_cast<float>(lineHeight);
    }
}

int TToolTip::SetCollideCounterMax(int ms) {
    CollideCounterMax = platform::TruncToInt(Game->CalcAnimLength(ms));
    return 0;
}

int TToolTip::SetText(const std::string& text) {
    if (Fade && FadeLevel > 0.0f)
        return 0;
    Text = text;
    const TBitmapFont* measure = font ? font->BitmapFont.get() : nullptr;
    if (font && !measure)
        platform::SetImageFont(font->ImageFont);
    TextWrapped = ccWordWrapArray(TStringArray{text}, TextDrawWidth, measure);
    return 1;
}

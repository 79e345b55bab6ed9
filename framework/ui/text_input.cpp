#include "framework/ui/text_input.h"

#include "framework/shell/game.h"
#include "framework/shell/game_fade.h"
#include "framework/shell/screen.h"
#include "framework/util/drawing.h"
#include "framework/util/globals.h"
#include "framework/util/input.h"
#include "platform/system.h"

namespace {

constexpr int KEY_BACKSPACE = 8;
constexpr int KEY_ENTER = 13;
constexpr int KEY_ESCAPE = 27;

} // namespace

int TTextInput::Init(const platform::ImageFontPtr& font, const std::string& text, int newX,
                     int newY, const TBitmapFontPtr& bitmapFont) {
    Font = font;
    BitmapFont = bitmapFont;
    Text = text;
    X = newX;
    Y = newY;
    CurrentChar = static_cast<int>(Text.size()) + 1;
    TextCol->Set(255, 255, 255, 1.0f);
    DotCol->Set(150, 150, 150, 1.0f);
    CursorCol->Set(0, 255, 255, 1.0f);
    SetCursorFlashSpeed(250);
    return Reset();
}

int TTextInput::Reset() {
    Active = 1;
    Done = 0;
    Game->BlockKeys = 1;
    // Keys pressed before the entry opened are not typed into it.
    FlushKeys();
    return 0;
}

int TTextInput::SetCursorFlashSpeed(int ms) {
    CursorFlashSpeed = platform::TruncToInt(Game->CalcAnimLength(ms));
    CursorFlashCounter = 0.0f;
    CursorOn = 1;
    return 0;
}

int TTextInput::MakeCharsFileNameSafe() {
    BannedChars = "\"|*\\/:;~?<>,+=%";
    return 0;
}

int TTextInput::Finish() {
    Active = 0;
    Done = 1;
    Game->BlockKeys = 0;
    ccFlushAll();
    return 0;
}

float TTextInput::PieceWidth(const std::string& piece) const {
    if (BitmapFont)
        return static_cast<float>(platform::TruncToInt(BitmapFont->StringWidth(piece)));
    return static_cast<float>(platform::TextWidth(piece));
}

int TTextInput::GetWidth(const std::string& suffix) {
    if (!BitmapFont)
        platform::SetImageFont(Font);
    return platform::TruncToInt(PieceWidth(Text + suffix));
}

int TTextInput::FlashCursor() {
    CursorFlashCounter += Delta;
    if (CursorFlashCounter >= static_cast<float>(CursorFlashSpeed)) {
        CursorOn = CursorOn ? 0 : 1;
        CursorFlashCounter = 0.0f;
    }
    return 0;
}

int TTextInput::Manage() {
    if (!Active)
        return 0;
    int c = GetChar();
    if (c > 0 && c < 256 && BannedChars.find(static_cast<char>(c)) != std::string::npos)
        c = 0;
    if (c == KEY_BACKSPACE) {
        if (CurrentChar > 1) {
            --CurrentChar;
            Text.resize(static_cast<size_t>(CurrentChar - 1));
        }
    } else if (c >= 32 && c <= 126) {
        const std::string typed(1, static_cast<char>(c));
        if (CurrentChar <= MaxLength && (MaxPixelWidth == 0 || GetWidth(typed) <= MaxPixelWidth)) {
            Text += typed;
            ++CurrentChar;
        }
    } else if (c == KEY_ENTER) {
        if (AllowNull || !Text.empty()) {
            Finish();
            return 1;
        }
    } else if (c == KEY_ESCAPE && AllowEscToAbort) {
        return EscapeTyped();
    }
    FlashCursor();
    return 0;
}

int TTextInput::EscapeTyped() {
    Text.clear();
    CurrentChar = 1;
    Finish();
    return -1;
}

int TTextInputEx::EscapeTyped() {
    // The text is kept; the owner learns of the end from Done.
    Finish();
    TGameFade& fade = *Game->GameFade;
    if (Game->Fading()) {
        if (fade.Out == 0) {
            fade.FadeInAborted = 1;
            fade.AbortKey = 0;
        }
        fade.Finish();
    } else if (Game->Paused) {
        Game->Paused = 0;
        Game->UnPause();
        ccFlushAll();
    } else if (Game->IgnoreEscapeKey == 0) {
        Game->EscapeSoundPlay();
        int length = Game->CurrentTScreen ? Game->CurrentTScreen->SetEscDestination() : 0;
        if (length == 0)
            length = FADE_SPEED;
        fade.Init(static_cast<float>(length), 1, nullptr, 1, 0);
    } else {
        // A dialog claims Escape: hand the hit on to it.
        Keys[KEY_ESCAPE] = 1;
    }
    FlashCursor();
    return 0;
}

int TTextInput::DrawPiece(const std::string& piece, float penX, const TColor& color) const {
    const float penY = static_cast<float>(Y);
    if (TextShadow) {
        TextShadow->ApplyToText();
        ccTextAlpha = color.Alpha;
        if (BitmapFont)
            BitmapFont->DrawAlignedWithShadow(piece, penX, penY, 0, 0, 0);
        else
            ccDrawText(piece, penX, penY, 1, 0);
    } else if (BitmapFont) {
        BitmapFont->DrawAligned(piece, penX, penY, 0, 0, 0, 0);
    } else {
        ccDrawText(piece, penX, penY, 0, 0);
    }
    return 0;
}

int TTextInput::Draw() {
    if (!Active)
        return 0;
    if (!BitmapFont)
        platform::SetImageFont(Font);
    TextCol->Apply();
    float pen = static_cast<float>(X);
    DrawPiece(Text, pen, *TextCol);
    pen += PieceWidth(Text);
    int drawn = static_cast<int>(Text.size());
    if (DrawUnderscore && drawn < MaxLength) {
        // The cursor keeps its place while it blinks off, so the dots do not jump.
        if (CursorOn) {
            CursorCol->Apply();
            DrawPiece("_", pen, *CursorCol);
        }
        ++drawn;
        pen += PieceWidth("_");
    }
    if (DrawDots && MaxLength - drawn > 0) {
        DotCol->Apply();
        DrawPiece(std::string(static_cast<size_t>(MaxLength - drawn), '.'), pen, *DotCol);
    }
    TextCol->Restore();
    return 0;
}

#pragma once
// A one-line keyboard entry: takes one typed character per logic tick, limited by count and by
// drawn width, ignores banned characters, ends on Enter or Escape, and draws the text with a
// flashing "_" cursor and optional dots for the free places. While it takes input the shell's hot
// keys are blocked (Game->BlockKeys). TTextInputEx keeps the text on Escape and performs the
// shell's own Escape action.

#include "framework/graphics/font.h"
#include "framework/util/color.h"
#include "framework/util/object.h"
#include "platform/graphics.h"

#include <memory>
#include <string>

class TTextInput : public TObject {
public:
    int Init(const platform::ImageFontPtr& font, const std::string& text, int newX, int newY,
             const TBitmapFontPtr& bitmapFont);
    // Takes input again (with the text as it is); pending keys are forgotten.
    int Reset();
    int SetCursorFlashSpeed(int ms);
    // 1 when Enter ended the entry, -1 when Escape did, else 0.
    int Manage();
    int MakeCharsFileNameSafe();
    // Ends the entry: hot keys unblocked, pending input forgotten.
    int Finish();
    // Drawn width of Text + suffix in the entry's font.
    int GetWidth(const std::string& suffix);
    int Draw();

    std::string Text;
    int MaxLength = 10;
    // 0: no limit.
    int MaxPixelWidth = 0;
    // Length of Text + 1.
    int CurrentChar = 0;
    int Active = 0;
    int Done = 0;
    int X = 0;
    int Y = 0;
    TColorPtr TextCol = std::make_shared<TColor>();
    // Of text, cursor and dots; set to none, they are drawn without a shadow.
    TShadowPtr TextShadow = std::make_shared<TShadow>();
    TColorPtr DotCol = std::make_shared<TColor>();
    TColorPtr CursorCol = std::make_shared<TColor>();
    platform::ImageFontPtr Font;
    // When set it measures and draws instead of Font.
    TBitmapFontPtr BitmapFont;
    int DrawDots = 0;
    int DrawUnderscore = 1;
    float CursorFlashCounter = 0.0f;
    int CursorFlashSpeed = 0;
    int CursorOn = 1;
    int AllowEscToAbort = 1;
    int AllowNull = 1;
    std::string BannedChars;

protected:
    // Escape typed while AllowEscToAbort: the result of this tick's Manage.
    virtual int EscapeTyped();
    int FlashCursor();

private:
    int DrawPiece(const std::string& piece, float penX, const TColor& color) const;
    float PieceWidth(const std::string& piece) const;
};
using TTextInputPtr = std::shared_ptr<TTextInput>;

// The chat-line variant: Escape ends the entry keeping the text, then does what Escape does in the
// shell; Manage then returns 0 and the owner learns of the end from Done.
class TTextInputEx : public TTextInput {
protected:
    int EscapeTyped() override;
};

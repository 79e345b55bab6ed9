#pragma once
// A scrolling list of text lines inside a rectangle: the visible lines in a font style, the
// selected line on a coloured bar, selection by mouse or by the up and down arrow keys, a double
// click reported by position, lines that can be drawn in a "locked" colour, a click sound when the
// selection changes, and an optional vertical scroll bar that scrolls it. The owner fills Strings,
// calls Manage once per logic tick and Draw once per frame.

#include "framework/audio/game_sound.h"
#include "framework/graphics/font.h"
#include "framework/ui/scroll_bar.h"
#include "framework/util/color.h"
#include "framework/util/object.h"
#include "framework/util/strings.h"
#include "platform/audio.h"
#include "platform/graphics.h"

#include <memory>
#include <string>

class TListBox;
using TListBoxPtr = std::shared_ptr<TListBox>;

class TListBox : public TObject {
public:
    // White lines without shadow in the default font, a black box, a dark blue bar; a channel of
    // its own for the click sound when the game has no channel pool.
    static TListBoxPtr Create(int gap, int centred, int drawBox, int doubleClickMs);
    int Init(int gap, int centred, int drawBox);
    int SetupFont(const platform::ImageFontPtr& imageFont, const TColorPtr& color,
                  const TShadowPtr& shadow, const TBitmapFontPtr& bitmapFont,
                  const TColorPtr& inverseColor);
    // The box's place and size; the line height is not recomputed.
    int SetCoords(float x, float y, float w, float h);
    int SetupBox(const TColorPtr& color);
    // LineHeight from the font (at least 1 pixel); with RoundHeight the box is cut to whole lines.
    int CalcLineHeight();
    // Nothing selected; DoubleClicked is left alone.
    int ClearIndex();
    // Screen y of the selected line's top; 0 when nothing is selected.
    int GetIndexY() const;
    // End (exclusive) of the visible window.
    int GetTempLimit() const;
    // Selects position i (a position outside the list selects nothing) and scrolls it into view.
    int SetIndex(int i);
    int SetTopIndex(int t);
    int Manage();
    int PlayClick();
    int Draw();
    int DrawHighlight();
    int Kill();

    int Count() const { return static_cast<int>(Strings.size()); }

    TFontPtr Font;
    int DrawBox = 1;
    TBox Box;
    // Left inset of the text when not centred.
    int TextBorder = 10;
    // Space above and below each line's text.
    int Gap = 5;
    int LineYOffset = 0;
    int LineHeight = 0;
    int Centred = 0;
    TStringArray Strings;
    // Selected position; -1 none.
    int Index = -1;
    int TopIndex = 0;
    // Text of the selected line.
    std::string Value;
    int Clicked = -1;
    TColorPtr HighlightCol;
    // 1: the bar under the text; 0: over it.
    int HighlightUnder = 1;
    // Position of the line double-clicked, -1 none; the owner sets it back to -1.
    int DoubleClicked = -1;
    // Window for the second click, in logic ticks.
    float DoubleClickTime = 100.0f;
    float DoubleClickCounter = 0.0f;
    // Most lines shown at once; 0 no limit.
    int Limit = 0;
    int RoundHeight = 1;
    int DisplayLines = 0;
    TGameSoundPtr ClickSound;
    platform::ChannelPtr ClickChannel;
    int NoShadowOnHighlighted = 0;
    int ArrowKeysMoveHighlight = 1;
    // Per position: non-zero draws the line in LockedColor.
    TIntArray LockedArray;
    TColorPtr LockedColor;
    TScrollBarPtr ScrollBar;
    float Scale = 1.0f;

private:
    // One visible line at (textX, textY); returns the height it takes.
    float DrawLine(int position, float textX, float textY);
};

#include "framework/ui/list_box.h"

#include "framework/audio/channel_array.h"
#include "framework/graphics/mouse_pointer.h"
#include "framework/shell/game.h"
#include "framework/util/drawing.h"
#include "framework/util/globals.h"
#include "framework/util/input.h"
#include "framework/util/numbers.h"
#include "platform/system.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int KEY_UP = 38;
constexpr int KEY_DOWN = 40;

} // namespace

TListBoxPtr TListBox::Create(int gap, int centred, int drawBox, int doubleClickMs) {
    auto box = std::make_shared<TListBox>();
    box->Init(gap, centred, drawBox);
    box->Font =
        TFont::Create(nullptr, TColor::Create(255, 255, 255, 1.0f), nullptr, 0, nullptr, nullptr);
    box->Box = TBox::Create(0.0f, 0.0f, 0.0f, 0.0f, TColor::Create(0, 0, 0, 1.0f));
    box->HighlightCol = TColor::Create(0, 0, 150, 1.0f);
    box->Strings.clear();
    box->DoubleClickTime = Game->CalcAnimLength(doubleClickMs);
    if (!Game->Channels)
        box->ClickChannel = platform::AllocChannel();
    return box;
}

int TListBox::Init(int gap, int centred, int drawBox) {
    Gap = gap;
    Centred = centred;
    DrawBox = drawBox;
    return 0;
}

int TListBox::SetupFont(const platform::ImageFontPtr& imageFont, const TColorPtr& color,
                        const TShadowPtr& shadow, const TBitmapFontPtr& bitmapFont,
                        const TColorPtr& inverseColor) {
    Font->Init(imageFont, color, shadow, 0, bitmapFont, inverseColor);
    return CalcLineHeight();
}

int TListBox::SetCoords(float x, float y, float w, float h) {
    Box.X = x;
    Box.Y = y;
    Box.W = w;
    Box.H = h;
    return 0;
}

int TListBox::SetupBox(const TColorPtr& color) {
    Box.Color = color;
    return 0;
}

int TListBox::CalcLineHeight() {
    LineHeight = platform::TruncToInt(Font->H + static_cast<float>(2 * Gap));
    // A font without height must not leave rows of no height to divide by.
    if (LineHeight < 1)
        LineHeight = 1;
    const float lineHeight = static_cast<float>(LineHeight);
    if (RoundHeight)
        Box.H = std::floor(Box.H / lineHeight) * lineHeight;
    DisplayLines = platform::TruncToInt(Box.H / lineHeight);
    return 0;
}

int TListBox::ClearIndex() {
    Index = -1;
    Clicked = -1;
    Value.clear();
    return 0;
}

int TListBox::GetIndexY() const {
    if (Index == -1)
        return 0;
    return platform::TruncToInt(Box.Y +
                                static_cast<float>((Index - TopIndex) * LineHeight) * Scale);
}

int TListBox::GetTempLimit() const {
    if (Limit <= 0)
        return Count();
    return std::min(TopIndex + Limit, Count());
}

int TListBox::SetIndex(int i) {
    if (i < 0 || i >= Count()) {
        Index = -1;
        Value.clear();
        return 0;
    }
    Index = i;
    Value = Strings[static_cast<size_t>(i)];
    if (Index < TopIndex)
        TopIndex = Index;
    if (Limit >= 1 && TopIndex < Index - Limit + 1)
        TopIndex = Index - Limit + 1;
    if (ScrollBar) {
        ScrollBar->SliderSetPosition(TopIndex);
        ScrollBar->ValueCalc();
        ScrollBar->DisableButtons();
    }
    return 0;
}

int TListBox::SetTopIndex(int t) {
    TopIndex = t < 0 ? 0 : t;
    if (TopIndex + Limit > Count() - 1)
        TopIndex = std::max(Count() - Limit, 0);
    return 0;
}

int TListBox::Manage() {
    if (ScrollBar) {
        ScrollBar->Manage();
        TopIndex = ScrollBar->Value;
    }
    if (Game->Mouse->GetMh(1)) {
        const float mx = static_cast<float>(Game->Mouse->x);
        const float my = static_cast<float>(Game->Mouse->y);
        const float rowHeight = static_cast<float>(LineHeight) * Scale;
        for (int p = TopIndex; p < GetTempLimit(); ++p) {
            const float row = static_cast<float>(p - TopIndex);
            // Both row edges are outside: a click on the line between two rows selects neither.
            if (mx >= Box.X && mx < Box.X + Box.W * Scale && my > Box.Y + row * rowHeight &&
                my < Box.Y + (row + 1.0f) * rowHeight) {
                if (DoubleClickCounter > 0.0f && Index == p)
                    DoubleClicked = p;
                else
                    PlayClick();
                SetIndex(p);
                DoubleClickCounter = DoubleClicked == -1 ? DoubleClickTime : 0.0f;
                break;
            }
        }
    }
    if (ArrowKeysMoveHighlight) {
        if (KeyHit(KEY_UP) && Index > 0) {
            PlayClick();
            SetIndex(Index - 1);
        }
        if (KeyHit(KEY_DOWN) && Index < Count() - 1) {
            PlayClick();
            SetIndex(Index + 1);
        }
    }
    if (DoubleClickCounter > 0.0f)
        DoubleClickCounter -= Delta;
    return 0;
}

int TListBox::PlayClick() {
    if (!ClickSound)
        return 0;
    if (Game->Channels)
        Game->Channels->PlayGameSound(ClickSound, nullptr, 1.0f, 0.0f);
    else
        ClickSound->PlayInChannel(ClickChannel, 0.0f);
    return 0;
}

int TListBox::Draw() {
    if (DrawBox)
        Box.Draw();
    const float textX =
        Centred ? Box.X + (Box.W / 2.0f) * Scale : Box.X + static_cast<float>(TextBorder) * Scale;
    float textY = Box.Y + static_cast<float>(Gap + LineYOffset) * Scale;
    if (HighlightUnder)
        DrawHighlight();
    Font->Apply();
    if (Font->BitmapFont)
        Font->BitmapFont->ScaleFactor = Scale;
    else
        platform::SetScale(Scale, Scale);
    for (int p = TopIndex; p < GetTempLimit(); ++p)
        textY += DrawLine(p, textX, textY);
    if (Font->BitmapFont)
        Font->BitmapFont->ScaleFactor = 1.0;
    else
        platform::SetScale(1.0f, 1.0f);
    if (Font->Color)
        Font->Color->Restore();
    if (!HighlightUnder)
        DrawHighlight();
    if (ScrollBar)
        ScrollBar->Draw();
    return 0;
}

float TListBox::DrawLine(int position, float textX, float textY) {
    const std::string& text = Strings[static_cast<size_t>(position)];
    const bool selected = position == Index;
    bool locked = false;
    if (selected) {
        if (Font->InverseColor)
            Font->ApplyInverse();
    } else if (position < static_cast<int>(LockedArray.size()) &&
               LockedArray[static_cast<size_t>(position)] != 0 && LockedColor) {
        LockedColor->Apply();
        locked = true;
    }
    const float alpha = locked ? LockedColor->Alpha : (Font->Color ? Font->Color->Alpha : 1.0f);
    const bool shadow = Font->Shadow && !(NoShadowOnHighlighted == 1 && selected);
    const TBitmapFontPtr& bitmap = Font->BitmapFont;
    const int round = Scale == 1.0f ? 1 : 0;
    if (shadow) {
        Font->Shadow->ApplyToText();
        ccTextAlpha = alpha;
        if (bitmap)
            bitmap->DrawAlignedWithShadow(text, textX, textY, Centred, round, round);
        else
            ccDrawTextAligned(text, textX, textY, 1, Centred, 1);
    } else {
        platform::SetAlpha(alpha);
        if (bitmap)
            bitmap->DrawAligned(text, textX, textY, Centred, round, round, 0);
        else
            ccDrawTextAligned(text, textX, textY, 0, Centred, 1);
    }
    float advance = 0.0f;
    if (bitmap) {
        bitmap->ScaleFactor = 1.0;
        advance =
            Scale * static_cast<float>(ccRound(static_cast<float>(bitmap->StringHeight("ABCXYZ"))) +
                                       2 * Gap);
        bitmap->ScaleFactor = Scale;
    } else {
        advance = static_cast<float>(platform::TextHeight(text) + 2 * Gap) * Scale;
    }
    if ((locked || selected) && Font->Color)
        Font->Color->Apply();
    return advance;
}

int TListBox::DrawHighlight() {
    if (Index == -1 || Index < TopIndex || Index >= GetTempLimit())
        return 0;
    HighlightCol->Apply();
    platform::DrawRect(Box.X, Box.Y + static_cast<float>((Index - TopIndex) * LineHeight) * Scale,
                       Scale * Box.W, Scale * static_cast<float>(LineHeight));
    HighlightCol->Restore();
    return 0;
}

int TListBox::Kill() {
    Box.Kill();
    if (Font)
        Font->Kill();
    Strings.clear();
    HighlightCol = nullptr;
    if (!Game->Channels && ClickChannel)
        platform::StopChannel(ClickChannel);
    ClickChannel = nullptr;
    return 0;
}

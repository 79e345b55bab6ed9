#include "framework/ui/scroll_bar.h"

#include "framework/graphics/mouse_pointer.h"
#include "framework/shell/game.h"
#include "framework/util/globals.h"
#include "framework/util/numbers.h"
#include "platform/system.h"

TScrollBarPtr TScrollBar::Create(const TGameImagePtr& slider, int size, double valueMax, float x,
                                 float y, int vertical) {
    auto bar = std::make_shared<TScrollBar>();
    bar->Slider = slider;
    bar->Size = size;
    bar->ValueMax = valueMax < 0.0 ? 0.0 : valueMax;
    bar->X = x;
    bar->Y = y;
    bar->Vertical = vertical;
    return bar;
}

int TScrollBar::Range() const {
    const int length = Slider ? (Vertical ? Slider->h : Slider->w) : 0;
    return Size - length;
}

int TScrollBar::SetArrows(const std::string& upName, const std::string& downName, int clickMs) {
    Menu = TMenu::Create("buttonMO", "buttonclick", 0.0f, 0.0f, 0);
    TButtonPtr up = Menu->AddQuickAuto(upName, "");
    TButtonPtr down = Menu->AddQuickAuto(downName, "");
    UpName = upName;
    DownName = downName;
    const int sliderW = Slider ? Slider->w : 0;
    const int sliderH = Slider ? Slider->h : 0;
    for (const TButtonPtr& button : {up, down}) {
        button->ClickDisabled = 0;
        button->MouseClickDuration = Game->CalcAnimLength(clickMs);
        if (Vertical)
            button->x = X + static_cast<float>((sliderW - button->w) / 2);
        else
            button->y = Y + static_cast<float>((sliderH - button->h) / 2);
    }
    if (Vertical) {
        up->y = Y - static_cast<float>(up->h);
        down->y = Y + static_cast<float>(Size);
    } else {
        up->x = X - static_cast<float>(up->w);
        down->x = X + static_cast<float>(Size);
    }
    Menu->CalcCoords();
    Menu->StoreOriginalCoords();
    up->ClickWhenDown = 1;
    down->ClickWhenDown = 1;
    return DisableButtons();
}

int TScrollBar::DisableButtons() {
    if (!Menu)
        return 0;
    if (TButtonPtr up = Menu->FindButton(UpName); up && up->ImageDisabled)
        up->Disabled = ValuePrecise == 0.0 ? 1 : 0;
    if (TButtonPtr down = Menu->FindButton(DownName); down && down->ImageDisabled)
        down->Disabled = ValuePrecise == ValueMax ? 1 : 0;
    return 0;
}

int TScrollBar::SliderSetPosition(double value) {
    const int range = Range();
    // A slider as long as the track (or longer) has nowhere to go.
    if (ValueMax == 0.0 || range <= 0)
        SliderPosition = 0;
    else
        SliderPosition = ccRound(static_cast<float>(value * (range / ValueMax)));
    return 0;
}

int TScrollBar::ValueCalc() {
    const int range = Range();
    if (ValueMax == 0.0 || range <= 0)
        ValuePrecise = 0.0;
    else if (SliderPosition >= range)
        ValuePrecise = ValueMax; // exactly, so that the down arrow knows the end is reached
    else
        ValuePrecise = SliderPosition / (range / ValueMax);
    return ValueRound();
}

int TScrollBar::ValueRound() {
    Value = ccRound(static_cast<float>(ValuePrecise));
    return 0;
}

void TScrollBar::Step(double delta) {
    ValuePrecise += delta;
    if (ValuePrecise < 0.0)
        ValuePrecise = 0.0;
    if (ValuePrecise > ValueMax)
        ValuePrecise = ValueMax;
    ValueRound();
    SliderSetPosition(ValuePrecise);
    DisableButtons();
}

bool TScrollBar::PointerOverSlider() const {
    if (!Slider)
        return false;
    const float mx = static_cast<float>(Game->Mouse->x);
    const float my = static_cast<float>(Game->Mouse->y);
    const float along = static_cast<float>(SliderPosition);
    const float sw = static_cast<float>(Slider->w);
    const float sh = static_cast<float>(Slider->h);
    if (Vertical)
        return mx >= X && mx < X + sw && my >= Y + along && my < Y + along + sh;
    return my >= Y && my < Y + sh && mx >= X + along && mx < X + along + sw;
}

int TScrollBar::Manage() {
    if (Menu) {
        Menu->Manage();
        if (Menu->Clicked(UpName) && ValuePrecise > 0.0)
            Step(-ValueStep);
        if (Menu->Clicked(DownName) && ValuePrecise < ValueMax)
            Step(ValueStep);
    }
    if (SliderGlow > 0.0f) {
        SliderGlow -= GlowSpeed * Delta;
        if (SliderGlow < 0.0f)
            SliderGlow = 0.0f;
    }
    const bool over = PointerOverSlider();
    if ((FixedGlowOnMO && over) || SliderSelected)
        SliderGlow = GlowMax;
    const float origin = Vertical ? Y : X;
    const float pointer = static_cast<float>(Vertical ? Game->Mouse->y : Game->Mouse->x);
    if (Game->Mouse->GetMb() == 0) {
        SliderSelected = 0;
    } else if (SliderSelected) {
        const int range = Range();
        int position = platform::TruncToInt(pointer - origin - static_cast<float>(SliderOffset));
        if (position > range)
            position = range;
        if (position < 0)
            position = 0;
        SliderPosition = position;
        ValueCalc();
        DisableButtons();
    } else if (over) {
        // A press outside the slider that moves onto it while held grabs it too.
        SliderSelected = 1;
        SliderOffset =
            platform::TruncToInt(pointer - (origin + static_cast<float>(SliderPosition)));
    }
    return 0;
}

int TScrollBar::Draw() {
    if (Menu)
        Menu->Draw(0.0f, 0.0f);
    if (!Slider)
        return 0;
    const float along = static_cast<float>(SliderPosition) * Scale;
    const float sx = Vertical ? X : X + along;
    const float sy = Vertical ? Y + along : Y;
    platform::SetScale(Scale, Scale);
    platform::DrawImage(Slider->image, sx, sy, 0);
    if (SliderGlow > 0.0f) {
        platform::SetBlend(platform::LIGHTBLEND);
        platform::SetAlpha(SliderGlow);
        platform::DrawImage(Slider->image, sx, sy, 0);
        platform::SetAlpha(1.0f);
        platform::SetBlend(platform::ALPHABLEND);
    }
    platform::SetScale(1.0f, 1.0f);
    return 0;
}

int TScrollBar::Kill() {
    Slider = nullptr;
    if (Menu) {
        Menu->Kill();
        Menu = nullptr;
    }
    return 0;
}

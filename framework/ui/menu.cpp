#include "framework/ui/menu.h"

#include "framework/shell/game.h"
#include "framework/shell/game_fade.h"
#include "framework/util/globals.h"
#include "framework/util/strings.h"
#include "platform/files.h"
#include "platform/system.h"

TMenuPtr TMenu::Create(const std::string& soundMO, const std::string& soundClick, float newX,
                       float newY, int gap) {
    auto menu = std::make_shared<TMenu>();
    menu->Init(soundMO, soundClick, newX, newY, gap);
    return menu;
}

int TMenu::Init(const std::string& soundMO, const std::string& soundClick, float newX, float newY,
                int gap) {
    clear();
    x = newX;
    y = newY;
    Gap = gap;
    AddGap = 0;
    h = 0;
    NextY = platform::TruncToInt(newY);
    MouseOverName.clear();
    ClickedName.clear();
    if (!soundMO.empty())
        SoundMouseOver = TGameSound::Create(Game->SoundPath + soundMO + SoundExt, 0);
    if (!soundClick.empty())
        SoundClick = TGameSound::Create(Game->SoundPath + soundClick + SoundExt, 0);
    return 0;
}

int TMenu::Kill() {
    for (const TButtonPtr& button : *this)
        button->Kill();
    clear();
    return 0;
}

int TMenu::SetShadow(int on, float shadowX, float shadowY, float alpha) {
    Shadow = on;
    ShadowX = shadowX;
    ShadowY = shadowY;
    ShadowAlpha = alpha;
    return 0;
}

int TMenu::ResetShadow(int on, float shadowX, float shadowY, float alpha) {
    for (const TButtonPtr& button : *this)
        button->SetShadow(on, shadowX, shadowY, alpha);
    return 0;
}

int TMenu::ChangeShadow(int on, float shadowX, float shadowY, float alpha) {
    ResetShadow(on, shadowX, shadowY, alpha);
    return SetShadow(on, shadowX, shadowY, alpha);
}

int TMenu::SetAlpha(float alpha) {
    for (const TButtonPtr& button : *this)
        button->Alpha = alpha;
    return 0;
}

TButtonPtr TMenu::DoAddNew(const std::string& imageName, const std::string& imageMOName,
                           const std::string& buttonName, int frameWidth, int frameHeight,
                           int frames) {
    auto button = std::make_shared<TButton>();
    button->UseMenuPath = 1;
    button->Load(imageName, imageMOName, "", "", frameWidth, frameHeight, frames);
    button->CentreX(NextY);
    button->SoundMouseOver = SoundMouseOver;
    button->SoundClick = SoundClick;
    button->SetShadow(Shadow, ShadowX, ShadowY, ShadowAlpha);
    if (!buttonName.empty())
        button->SetName(buttonName);
    push_back(button);
    return button;
}

int TMenu::IncreaseHeight(const TButton& button) {
    NextY += button.h + Gap;
    h += button.h;
    if (AddGap)
        h += Gap;
    else
        AddGap = 1;
    return 0;
}

TButtonPtr TMenu::AddNew(const std::string& imageName, const std::string& imageMOName,
                         const std::string& buttonName, int frameWidth, int frameHeight,
                         int frames) {
    TButtonPtr button =
        DoAddNew(imageName, imageMOName, buttonName, frameWidth, frameHeight, frames);
    IncreaseHeight(*button);
    return button;
}

TButtonPtr TMenu::AddQuick(const std::string& imageName, const std::string& buttonName) {
    return AddNew(imageName, imageName + "MO", buttonName, 0, 0, 1);
}

TButtonPtr TMenu::AddQuickAuto(const std::string& imageName, const std::string& buttonName) {
    TButtonPtr button = AddQuick(imageName, buttonName);
    const std::string stem = button->GetPath() + imageName;
    if (platform::FileType(stem + "_disabled" + button->Ext) != platform::FILETYPE_NONE)
        button->LoadDisabled(imageName + "_disabled");
    if (platform::FileType(stem + "_down" + button->Ext) != platform::FILETYPE_NONE)
        button->LoadMouseClick(imageName + "_down", 200);
    return button;
}

int TMenu::AddPair(const std::string& first, const std::string& second, int gap,
                   const std::string& prefix) {
    TButtonPtr a = DoAddNew(first, first + "MO", "", 0, 0, 1);
    TButtonPtr b = DoAddNew(second, second + "MO", "", 0, 0, 1);
    if (!prefix.empty()) {
        a->SetName(prefix + a->name);
        b->SetName(prefix + b->name);
    }
    b->x = a->x + static_cast<float>(a->w + gap);
    IncreaseHeight(a->h > b->h ? *a : *b);
    return 0;
}

TButtonPtr TMenu::FindButton(const std::string& buttonName) const {
    const std::string key = AsciiUpper(buttonName);
    for (const TButtonPtr& button : *this)
        if (button->name == key)
            return button;
    return nullptr;
}

int TMenu::StoreOriginalCoords() {
    for (const TButtonPtr& button : *this)
        button->StoreOriginalCoords();
    OX = x;
    OY = y;
    return 0;
}

int TMenu::SetX(float newX) {
    CalcLeft();
    for (const TButtonPtr& button : *this)
        button->x += newX - x;
    x = newX;
    return 0;
}

int TMenu::SetY(float newY) {
    CalcTop();
    for (const TButtonPtr& button : *this)
        button->y += newY - y;
    y = newY;
    return 0;
}

int TMenu::SetPairX(const std::string& first, const std::string& second, int newX) {
    TButtonPtr a = FindButton(first);
    TButtonPtr b = FindButton(second);
    if (!a || !b)
        return 0;
    const int moved = platform::TruncToInt(static_cast<float>(newX) - a->x);
    a->x = static_cast<float>(newX);
    b->x += static_cast<float>(moved);
    return 0;
}

int TMenu::ScaleMenu(float scaleX, float scaleY) {
    for (const TButtonPtr& button : *this) {
        button->ScaleX = scaleX;
        button->ScaleY = scaleY;
        button->x = x + (button->ox - x) * scaleX;
        button->y = y + (button->oy - y) * scaleY;
    }
    return 0;
}

int TMenu::CalcCoords() {
    CalcLeft();
    return CalcTop();
}

int TMenu::CalcLeft() {
    x = 10000.0f;
    for (const TButtonPtr& button : *this)
        if (button->x < x)
            x = button->x;
    return 0;
}

int TMenu::CalcTop() {
    y = 10000.0f;
    for (const TButtonPtr& button : *this)
        if (button->y < y)
            y = button->y;
    return 0;
}

namespace {

// Span of [start, start + size) over the buttons, from the sentinels 10000 and -10000 (an empty
// menu spans -20000).
template <class Start, class Size> int Span(const TMenu& menu, Start start, Size size) {
    int low = 10000, high = -10000;
    for (const TButtonPtr& button : menu) {
        const float from = start(*button);
        const float to = from + static_cast<float>(size(*button));
        if (from < static_cast<float>(low))
            low = platform::TruncToInt(from);
        if (to > static_cast<float>(high))
            high = platform::TruncToInt(to);
    }
    return high - low;
}

} // namespace

int TMenu::CalcWidth() {
    w = Span(
        *this, [](const TButton& b) { return b.x; }, [](const TButton& b) { return b.w; });
    return w;
}

int TMenu::CalcHeight() {
    h = Span(
        *this, [](const TButton& b) { return b.y; }, [](const TButton& b) { return b.h; });
    return h;
}

int TMenu::CentreHoriz() {
    CalcWidth();
    return SetX(static_cast<float>((ScreenWidth - w) / 2));
}

int TMenu::CentreVert() {
    CalcHeight();
    return SetY(static_cast<float>((ScreenHeight - h) / 2));
}

int TMenu::Centre() {
    CentreHoriz();
    return CentreVert();
}

int TMenu::MakeRow(int gap) {
    float left = 0.0f;
    for (const TButtonPtr& button : *this) {
        button->x = left;
        button->y = 0.0f;
        left += static_cast<float>(button->w + gap);
    }
    return Centre();
}

int TMenu::ClearGlow() {
    for (const TButtonPtr& button : *this)
        button->Glow = 0.0f;
    return 0;
}

int TMenu::ClearMouseClick() {
    for (const TButtonPtr& button : *this) {
        button->Clicked = 0;
        button->MouseClickCounter = 0.0f;
    }
    return 0;
}

int TMenu::ClearMouseOver() {
    for (const TButtonPtr& button : *this)
        button->MouseOver = 0;
    return 0;
}

int TMenu::Clicked(const std::string& buttonName) {
    if (AsciiUpper(buttonName) != ClickedName)
        return 0;
    if (ClearClickedName)
        ClickedName.clear();
    return 1;
}

int TMenu::MouseOver(const std::string& buttonName) {
    if (AsciiUpper(buttonName) != MouseOverName)
        return 0;
    if (ClearMouseOverName)
        MouseOverName.clear();
    return 1;
}

int TMenu::ManageNoSound() {
    NoSound = 1;
    const int managed = Manage();
    NoSound = 0;
    return managed;
}

int TMenu::Precache() {
    for (const TButtonPtr& button : *this)
        button->Precache();
    return 0;
}

int TMenu::Manage() {
    if (Game->GameFade->Active || !AcceptInput) {
        ManageFixedGlowOnly();
        return 0;
    }
    MouseOverName.clear();
    ClickedName.clear();
    for (const TButtonPtr& button : *this) {
        if (NoSound)
            button->ManageNoSound();
        else
            button->Manage();
        if (button->MouseOver)
            MouseOverName = button->name;
        if (button->Clicked)
            ClickedName = button->name;
    }
    return 1;
}

int TMenu::ManageFixedGlowOnly() {
    for (const TButtonPtr& button : *this)
        if (button->FixedGlowOnMO == 1)
            button->ManageGlow();
    return 0;
}

int TMenu::ManageScaleOnMO() {
    for (const TButtonPtr& button : *this)
        button->ManageScaleOnMO();
    return 0;
}

int TMenu::Draw(float offsetX, float offsetY) {
    for (const TButtonPtr& button : *this) {
        button->offx = offsetX;
        button->offy = offsetY;
        button->Draw();
    }
    return 0;
}

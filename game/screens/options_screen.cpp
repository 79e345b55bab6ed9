#include "game/screens/options_screen.h"

#include "framework/graphics/game_image.h"
#include "framework/shell/game.h"
#include "framework/ui/menu.h"
#include "framework/util/drawing.h"
#include "framework/util/globals.h"
#include "framework/util/strings.h"
#include "game/board/asset_names.h"
#include "game/board/program_data.h"
#include "game/screens/picture_screens.h"
#include "platform/graphics.h"
#include "platform/system.h"

namespace {

// Pixels between the two arrows of a volume row.
constexpr int ARROW_GAP = 74;
// Steps of a volume bar.
constexpr int BAR_STEPS = 10;

const char* ToggleImage(int flag) {
    return flag ? "on" : "off";
}

// The bar of one volume row: all steps dim, then the first volume / 10 bright over them.
void DrawVolumeBar(const TGameImagePtr& bar, int barX, float barY, int volume) {
    int step = platform::ImageWidth(bar->image);
    platform::SetColor(155, 155, 155);
    for (int i = 0; i < BAR_STEPS; ++i)
        platform::DrawImage(bar->image, static_cast<float>(barX + i * step), barY, 0);
    platform::SetColor(255, 255, 255);
    for (int i = 0; i < volume / 10; ++i)
        platform::DrawImage(bar->image, static_cast<float>(barX + i * step), barY, 0);
}

} // namespace

int TOptionsScreen::Load() {
    name = "options";
    ImageLoad(OPTIONS_BACKGROUND, 0);
    platform::AutoMidHandle(true);
    Menu = TMenu::Create(MENU_MOUSE_OVER_SOUND, MENU_CLICK_SOUND, 0, 0, 10);
    Menu->AddPair("LeftArrow", "RightArrow", ARROW_GAP, "music");
    Menu->AddPair("LeftArrow", "RightArrow", ARROW_GAP, "sound");
    LoadToggle(Game->FullScreen, "fullscreen");
    Menu->CentreVert();
    auto credits = Menu->AddQuick("credits", "");
    credits->y = static_cast<float>(ScreenHeight - (credits->h + 15));
    credits->x = 30;
    OKButtonCreate(*Menu);
    int arrowX = (ScreenWidth - (2 * Menu->FindButton("musicleftarrow")->w + ARROW_GAP)) / 2;
    Menu->SetPairX("musicleftarrow", "musicrightarrow", arrowX);
    Menu->SetPairX("soundleftarrow", "soundrightarrow", arrowX);
    Game->FadeMusic = 0;
    return 0;
}

int TOptionsScreen::Start() {
    TScreen::Start();
    Game->FadeIn(0);
    return 0;
}

int TOptionsScreen::Logic() {
    TScreen::Logic();
    if (Menu->Clicked("MusicLeftArrow"))
        Game->MusicChangeVolume(-10);
    if (Menu->Clicked("MusicRightArrow"))
        Game->MusicChangeVolume(10);
    if (Menu->Clicked("SoundLeftArrow"))
        Game->SoundChangeVolume(-10);
    if (Menu->Clicked("SoundRightArrow"))
        Game->SoundChangeVolume(10);
    if (Menu->Clicked("fullscreen")) {
        Game->ToggleFullScreen();
        ReloadToggleButton(*Menu->FindButton("fullscreen"), Game->FullScreen, "fullscreen");
    }
    if (Menu->Clicked("credits")) {
        Game->LeaveTo(CreditsScreen);
        CreditsScreen->Destination = OptionsScreen;
    }
    if (Menu->Clicked("ok"))
        Game->LeaveTo(Destination);
    return 0;
}

int TOptionsScreen::Draw() {
    ShowDisplayMode();
    platform::DrawImage(Image, 0, 0, 0);
    platform::SetBlend(platform::ALPHABLEND);
    ccShadowTextAlpha = 0.4f;
    platform::SetColor(255, 255, 255);
    Menu->Draw(0, 0);

    // Looked up every frame: nothing of the layout outlives the frame.
    auto fullScreen = images->Find("fullscreen");
    auto music = images->Find("music");
    auto sound = images->Find("sound");
    auto bar = images->Find("bar");

    auto left = Menu->FindButton("musicleftarrow");
    float labelX = left->x - static_cast<float>(platform::ImageWidth(music->image));
    int barX = platform::TruncToInt(left->x + static_cast<float>(left->w) + 5.0f);
    int creditsHeight = Menu->FindButton("credits")->h;
    int base = platform::TruncToInt(
        Menu->y + static_cast<float>((creditsHeight - platform::TextHeight("f")) / 2) + 2.0f);
    int pitch = creditsHeight + Menu->Gap;

    float musicY = left->y + 27.0f;
    platform::DrawImage(music->image, labelX, musicY, 0);
    DrawVolumeBar(bar, barX, musicY, Game->MusicVolume);

    auto soundY = static_cast<float>(base + pitch + 17);
    platform::DrawImage(sound->image, labelX, soundY, 0);
    DrawVolumeBar(bar, barX, soundY, Game->SoundVolume);

    auto fullScreenY = static_cast<float>(base + 2 * pitch + 19);
    platform::DrawImage(fullScreen->image, labelX, fullScreenY, 0);
    return 0;
}

int TOptionsScreen::SetEscDestination() {
    Game->DestinationTScreen = Destination;
    return 0;
}

int TOptionsScreen::LoadToggle(int flag, const std::string& toggleName) {
    Menu->AddQuick(ToggleImage(flag), toggleName);
    return 0;
}

int TOptionsScreen::ClickSound() {
    auto ok = Menu->FindButton("ok");
    if (ok && ok->SoundClick)
        ok->SoundClick->PlayInChannel(ok->ChannelClick, 0.0f);
    return 0;
}

int TOptionsScreen::ReloadToggleButton(TButton& button, int flag, const std::string& toggleName) {
    std::string image = ToggleImage(flag);
    button.Load(image, image + MOUSE_OVER_SUFFIX, "", "", 0, 0, 1);
    button.name = AsciiUpper(toggleName);
    button.SoundMouseOver = Menu->SoundMouseOver;
    button.SoundClick = Menu->SoundClick;
    return 0;
}

int TOptionsScreen::ShowDisplayMode() {
    TButtonPtr toggle = Menu->FindButton("fullscreen");
    if (toggle && toggle->image && toggle->image->name != AsciiUpper(ToggleImage(Game->FullScreen)))
        ReloadToggleButton(*toggle, Game->FullScreen, "fullscreen");
    return 0;
}

#include "framework/shell/loading_screen.h"

#include "framework/graphics/mouse_pointer.h"
#include "framework/shell/game.h"
#include "framework/ui/button.h"
#include "framework/util/assets.h"
#include "framework/util/drawing.h"
#include "framework/util/globals.h"
#include "framework/util/ini.h"
#include "framework/util/input.h"
#include "platform/path_names.h"

// ---- TLoadingBar -----------------------------------------------------------------------------

int TLoadingBar::Init(const platform::ImagePtr& newImage, const platform::ImagePtr& emptyImage,
                      const platform::ImagePtr& finalImage) {
    Image = newImage;
    EmptyImage = emptyImage;
    FinalImage = finalImage;
    for (const platform::ImagePtr* each : {&Image, &EmptyImage, &FinalImage})
        if (*each)
            platform::SetImageHandle(*each, 0.0f, 0.0f);
    x = 0;
    y = 0;
    w = platform::ImageWidth(Image);
    h = platform::ImageHeight(Image);
    Position = 0.0f;
    Steps = 0.0f;
    StepSize = 0.0f;
    CurrentStep = 0;
    Finished = 0;
    return 0;
}

int TLoadingBar::Centre(int newY) {
    x = (ScreenWidth - w) / 2;
    y = newY;
    return 0;
}

int TLoadingBar::SetSteps(int n) {
    Steps = static_cast<float>(n);
    // No steps, no size: the fill stays empty instead of infinitely wide.
    StepSize = n > 0 ? static_cast<float>(w) / Steps : 0.0f;
    return 0;
}

int TLoadingBar::SetBackgroundColour(int r, int g, int b) {
    BgR = r;
    BgG = g;
    BgB = b;
    return 0;
}

int TLoadingBar::SetBorderColour(int r, int g, int b) {
    BorderR = r;
    BorderG = g;
    BorderB = b;
    return 0;
}

int TLoadingBar::Progress() {
    CurrentStep += 1;
    Position = static_cast<float>(CurrentStep) * StepSize;
    if (static_cast<float>(CurrentStep) == Steps)
        Finished = 1;
    return 0;
}

int TLoadingBar::Draw() {
    // A bar without its picture (never initialised) has nothing to show.
    if (!Image && (Mode == 1 || w <= 0 || h <= 0))
        return 0;
    if (Finished == 1 && FinalImage) {
        platform::SetBlend(platform::ALPHABLEND);
        if (DrawEmptyUnderFinal && EmptyImage)
            platform::DrawImage(EmptyImage, static_cast<float>(x), static_cast<float>(y), 0);
        platform::DrawImage(FinalImage, static_cast<float>(x), static_cast<float>(y), 0);
        return 1;
    }
    if (Mode == 0) {
        platform::SetBlend(platform::SOLIDBLEND);
        platform::SetColor(BgR, BgG, BgB);
        platform::DrawRect(static_cast<float>(x), static_cast<float>(y), static_cast<float>(w),
                           static_cast<float>(h));
        platform::SetColor(BorderR, BorderG, BorderB);
        ccDrawRectOutline(x, y, w, h);
        platform::SetColor(255, 255, 255);
    } else if (Mode == 1) {
        platform::SetBlend(platform::ALPHABLEND);
        if (EmptyImage)
            platform::DrawImage(EmptyImage, static_cast<float>(x), static_cast<float>(y), 0);
    }
    // The fill: the left Position pixels of the full picture.
    if (Image && Position > 0.0f)
        ccDrawImageArea(Image, static_cast<float>(x), static_cast<float>(y), 0.0f, 0.0f, Position,
                        static_cast<float>(h), 0);
    platform::SetBlend(platform::SOLIDBLEND);
    return 1;
}

// ---- TLoadingScreen --------------------------------------------------------------------------

namespace {

// The picture at path when the file exists, else null.
platform::ImagePtr OptionalBitmap(const std::string& path) {
    return ccFileExists(path) ? ccLoadBitmap(path, -1) : nullptr;
}

} // namespace

int TLoadingScreen::SpecialLoad(const std::string& background, const std::string& barImage,
                                const std::string& loadingTextImage) {
    name = "loading";
    ImageLoad(background, 0);
    // A screen killed before is loaded again with a bar of its own.
    if (!LoadingBar)
        LoadingBar = std::make_shared<TLoadingBar>();
    if (!barImage.empty()) {
        // bar.png brings barempty.png and barfinal.png along when they are there.
        const std::string stem = Game->ImagePath + platform::StripExt(barImage);
        const std::string ext = platform::ExtractExt(barImage);
        const platform::ImagePtr empty = OptionalBitmap(stem + "empty." + ext);
        const platform::ImagePtr full = OptionalBitmap(stem + "final." + ext);
        LoadingBar->Init(ccLoadBitmap(Game->ImagePath + barImage, -1), empty, full);
    }
    LoadingTextImage = ccLoadBitmap(Game->ImagePath + loadingTextImage, -1);
    LoadingX = ScreenWidth / 2;
    LoadingY = ScreenHeight / 2;
    platform::MidHandleImage(LoadingTextImage);
    Finished = 0;
    Game->MusicNone();
    return 0;
}

int TLoadingScreen::SetSteps(int n) {
    if (LoadingBar)
        LoadingBar->SetSteps(n);
    return 0;
}

int TLoadingScreen::SetClickHereButton(const std::string& imageName,
                                       const std::string& mouseOverImage,
                                       const std::string& mouseOverSound,
                                       const std::string& clickSound, int newY) {
    ClickHereButton = std::make_shared<TButton>();
    ClickHereButton->Load(imageName, mouseOverImage, mouseOverSound, clickSound, 0, 0, 1);
    ClickHereButton->CentreX(newY);
    ClickHereButton->OKButton = 1;
    return 0;
}

int TLoadingScreen::DrawLoading(int mode) {
    if (mode != 0)
        platform::Cls();
    if (mode == 0 || (mode == 1 && Game->Music == 1)) {
        const platform::ImagePtr& picture =
            LoadingTextImage2 && DrawLoadingTextImage2 ? LoadingTextImage2 : LoadingTextImage;
        if (picture)
            platform::DrawImage(picture, static_cast<float>(LoadingX), static_cast<float>(LoadingY),
                                0);
    }
    if (mode != 0) {
        if (!Game->FadeMouse)
            Game->Mouse->Draw();
        platform::Flip(1);
    }
    return 0;
}

int TLoadingScreen::Progress() {
    if (!LoadingBar)
        return 0;
    LoadingBar->Progress();
    Finished = LoadingBar->Finished;
    if (Finished == 1) {
        ccFlushAll();
        Game->Mouse->UpdateCoords();
    }
    return 0;
}

int TLoadingScreen::Kill() {
    TScreen::Kill();
    LoadingBar = nullptr;
    LoadingTextImage2 = nullptr;
    if (ClickHereButton) {
        ClickHereButton->Kill();
        ClickHereButton = nullptr;
    }
    if (CustomKillFunction)
        CustomKillFunction();
    return 0;
}

int TLoadingScreen::Leave() {
    return Game->LeaveTo(Destination, nullptr, 0);
}

int TLoadingScreen::Logic() {
    if (!ClickHereButton)
        return Leave();
    // Presses of this tick, left for the button to take.
    const int hits = Game->Mouse->GetMh(0);
    ClickHereButton->Manage();
    if (ClickHereButton->Clicked)
        return Leave();
    if (hits) {
        // A click beside the button counts too, with the sound the button did not play.
        ClickHereButton->PlayClick();
        return Leave();
    }
    return 0;
}

int TLoadingScreen::Draw() {
    TScreen::Draw();
    if (!Finished || !ClickHereButton) {
        if (LoadingBar)
            LoadingBar->Draw();
        platform::SetBlend(platform::ALPHABLEND);
        if (!Finished)
            DrawLoading(0);
    } else {
        if (LoadingBar && LoadingBar->FinalImage)
            LoadingBar->Draw();
        ClickHereButton->Draw();
    }
    if (CustomDrawFunction)
        CustomDrawFunction();
    return 0;
}

#pragma once
// The loading screen and its loading bar. The bar fills in a fixed number of steps, drawn as a
// coloured box with an outline or over an empty-bar picture, and is replaced by a full-bar picture
// once full. The screen shows a background, the bar and a loading-text picture while data is
// loaded step by step, then an optional click-here button, and leaves for its destination through
// the screen fade. The game object creates one and never shows it.

#include "framework/shell/screen.h"
#include "framework/util/object.h"
#include "platform/graphics.h"

#include <functional>
#include <memory>
#include <string>

class TButton;

class TLoadingBar : public TObject {
public:
    // The pictures (the last two may be null), each handled at its top-left; the size from image;
    // empty and at (0, 0).
    int Init(const platform::ImagePtr& newImage, const platform::ImagePtr& emptyImage,
             const platform::ImagePtr& finalImage);
    // Centred across the screen at height newY.
    int Centre(int newY);
    // n steps to full; fewer than one step never fills the bar.
    int SetSteps(int n);
    int SetBackgroundColour(int r, int g, int b);
    int SetBorderColour(int r, int g, int b);
    // One step more; Finished once the last step is done.
    int Progress();
    // 0 when nothing was drawn, else 1; leaves solid blending after drawing the bar itself.
    int Draw();

    int Mode = 0; // 0 box background, 1 EmptyImage background, other: the fill alone
    platform::ImagePtr Image;
    platform::ImagePtr EmptyImage;
    platform::ImagePtr FinalImage;
    int x = 0, y = 0;
    int w = 0, h = 0;
    float Position = 0.0f; // width of the fill in pixels
    float Steps = 0.0f;
    float StepSize = 0.0f;
    int CurrentStep = 0;
    int Finished = 0;
    int BgR = 50, BgG = 50, BgB = 50;
    int BorderR = 0, BorderG = 0, BorderB = 0;
    int DrawEmptyUnderFinal = 0;
};
using TLoadingBarPtr = std::shared_ptr<TLoadingBar>;

class TLoadingScreen : public TScreen {
public:
    // The background, the bar (with barname + "empty." + ext and barname + "final." + ext beside
    // it when they exist) and the loading-text picture, all from the image folder. A missing
    // background, bar or loading picture is fatal.
    int SpecialLoad(const std::string& background, const std::string& barImage,
                    const std::string& loadingTextImage);
    int SetSteps(int n);
    // A button centred across the screen at height newY, clicked by Enter or Space too.
    int SetClickHereButton(const std::string& imageName, const std::string& mouseOverImage,
                           const std::string& mouseOverSound, const std::string& clickSound,
                           int newY);
    // mode 0 draws the loading picture into the frame being built; any other mode makes a whole
    // frame of its own (cleared, the picture when mode is 1 and music is on, the pointer, shown).
    int DrawLoading(int mode);
    // One step of the bar; once it is full, pending input is dropped and the pointer placed anew.
    int Progress();

    int Kill() override;
    // Leaves through a fade-out when the button is clicked or the mouse is clicked anywhere, or
    // at once without a button.
    int Logic() override;
    int Draw() override;

    // Dropped by Kill; SpecialLoad makes a new one.
    TLoadingBarPtr LoadingBar = std::make_shared<TLoadingBar>();
    std::shared_ptr<TButton> ClickHereButton;
    int Finished = 0;
    platform::ImagePtr LoadingTextImage; // centre-handled
    int LoadingX = 0, LoadingY = 0;
    int DrawLoadingTextImage2 = 0;
    platform::ImagePtr LoadingTextImage2;
    std::function<int()> CustomDrawFunction; // called at the end of every Draw
    std::function<int()> CustomKillFunction; // called at the end of Kill

private:
    int Leave();
};

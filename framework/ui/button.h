#pragma once
// The clickable image button: a sprite with optional mouse-over, disabled and pressed images,
// mouse-over and click sounds, a glow and a grow-on-hover effect. The owner calls Manage once per
// logic tick, reads MouseOver and Clicked in the same tick, and calls Draw once per frame.

#include "framework/audio/game_sound.h"
#include "framework/graphics/game_image.h"
#include "framework/graphics/sprite.h"
#include "platform/audio.h"

#include <functional>
#include <memory>
#include <string>

class TButton;
using TButtonPtr = std::shared_ptr<TButton>;

class TButton : public TSprite {
public:
    int Init() override;
    // x centres the button on the screen; y is the given value.
    int CentreX(int newY) override;
    // 0 when nothing was drawn (an inactive button without AlwaysDraw).
    int Draw() override;

    // Names the button after the image; loads the images (a strip when frames > 1) from GetPath()
    // and each sound whose name is not empty from the sound folder.
    int Load(const std::string& imageName, const std::string& imageMOName,
             const std::string& soundMOName, const std::string& soundClickName, int frameWidth,
             int frameHeight, int frames);
    int LoadImages(const std::string& imageName, const std::string& imageMOName, int frameWidth,
                   int frameHeight, int frames);
    // The menu folder when UseMenuPath, else the image folder.
    std::string GetPath() const;
    int LoadDisabled(const std::string& imageName);
    // The pressed image shows for ms milliseconds after a click.
    int LoadMouseClick(const std::string& imageName, int ms);
    int Precache();
    int Kill();
    int FixedGlowOnMOActivate();
    int SetFixedGlowOnMO(float glow, float glowSpeed, int useMO);
    int SetAutoGlow(float low, float high, float glowSpeed, int overMO);
    int ManageNoSound();
    int Manage();
    int ManageScaleOnMO();
    // 1 when the click was accepted.
    int Click();
    int SimulateClick();
    int ClearClick();
    int PlayClick();
    int PlayMouseOver();

    TGameImagePtr ImageMouseOver;
    TGameSoundPtr SoundMouseOver;
    TGameSoundPtr SoundClick;
    // Used only when the game has no channel pool.
    platform::ChannelPtr ChannelMouseOver;
    platform::ChannelPtr ChannelClick;
    int MouseOver = 0;
    int Clicked = 0;
    std::string Ext = ".png";
    int UseMenuPath = 0;
    int NoSound = 0;
    // The button's own switch (the sprite's lower-case active is not read by buttons).
    int Active = 1;
    int AlwaysDraw = 0;
    int OKButton = 0;
    int OKButtonUseSpace = 1;
    int Disabled = 0;
    int ClickDisabled = 1;
    int ClickWhenDown = 0;
    TGameImagePtr ImageDisabled;
    TGameImagePtr ImageMouseClick;
    float MouseClickDuration = 0.0f;
    float MouseClickCounter = 0.0f;
    int Animated = 0;
    int FixedGlowOnMO = 0;
    int FixedGlowOnMOUseMO = 0;
    int AutoGlowOnMO = 0;
    // A non-zero result means the pointer does not count as over the button.
    std::function<int()> MouseOverUserFunction;
    float ScaleOnMOMax = 1.0f;
    float ScaleOnMO = 1.0f;
    float ScaleOnMOUpSpeed = 0.03f;
    float ScaleOnMODownSpeed = 0.01f;

    static inline const std::string SoundExt = ".wav";

private:
    TGameImagePtr LoadImage(const std::string& imageName, int frameWidth, int frameHeight,
                            int frames) const;
    // The image Draw shows now, and the light pass that goes with it.
    int DrawFace();
};

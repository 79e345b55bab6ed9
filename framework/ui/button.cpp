#include "framework/ui/button.h"

#include "framework/audio/channel_array.h"
#include "framework/graphics/mouse_pointer.h"
#include "framework/shell/game.h"
#include "framework/util/drawing.h"
#include "framework/util/globals.h"
#include "framework/util/input.h"
#include "platform/graphics.h"

namespace {

constexpr int KEY_ENTER = 13;
constexpr int KEY_SPACE = 32;

} // namespace

int TButton::Init() {
    TSprite::Init();
    GetSize();
    MouseOver = 0;
    Clicked = 0;
    return 0;
}

int TButton::CentreX(int newY) {
    x = static_cast<float>((ScreenWidth - w) / 2);
    y = static_cast<float>(newY);
    return 0;
}

int TButton::Load(const std::string& imageName, const std::string& imageMOName,
                  const std::string& soundMOName, const std::string& soundClickName, int frameWidth,
                  int frameHeight, int frames) {
    SetName(imageName);
    if (!Game->Channels) {
        ChannelMouseOver = platform::AllocChannel();
        ChannelClick = platform::AllocChannel();
    }
    LoadImages(imageName, imageMOName, frameWidth, frameHeight, frames);
    if (!soundMOName.empty())
        SoundMouseOver = TGameSound::Create(Game->SoundPath + soundMOName + SoundExt, 0);
    if (!soundClickName.empty())
        SoundClick = TGameSound::Create(Game->SoundPath + soundClickName + SoundExt, 0);
    return Init();
}

TGameImagePtr TButton::LoadImage(const std::string& imageName, int frameWidth, int frameHeight,
                                 int frames) const {
    auto loaded = std::make_shared<TGameImage>();
    const std::string file = GetPath() + imageName + Ext;
    if (frames > 1)
        loaded->LoadAnim(file, frameWidth, frameHeight, 0, frames, -1, 1);
    else
        loaded->Load(file, -1, 1);
    // Every button image is placed by its top-left corner.
    loaded->MidHandle(0);
    return loaded;
}

int TButton::LoadImages(const std::string& imageName, const std::string& imageMOName,
                        int frameWidth, int frameHeight, int frames) {
    image = LoadImage(imageName, frameWidth, frameHeight, frames);
    if (!imageMOName.empty())
        ImageMouseOver = LoadImage(imageMOName, frameWidth, frameHeight, frames);
    return 0;
}

std::string TButton::GetPath() const {
    return UseMenuPath ? Game->MenuPath : Game->ImagePath;
}

int TButton::LoadDisabled(const std::string& imageName) {
    ImageDisabled = LoadImage(imageName, 0, 0, 1);
    return 0;
}

int TButton::LoadMouseClick(const std::string& imageName, int ms) {
    ImageMouseClick = LoadImage(imageName, 0, 0, 1);
    MouseClickDuration = Game->CalcAnimLength(ms);
    return 0;
}

int TButton::Precache() {
    for (const TGameImagePtr* each : {&image, &ImageMouseOver, &ImageDisabled, &ImageMouseClick})
        if (*each)
            ccCreateFrames((*each)->image);
    return 0;
}

int TButton::Kill() {
    if (!Game->Channels) {
        platform::StopChannel(ChannelMouseOver);
        platform::StopChannel(ChannelClick);
    }
    ChannelMouseOver = nullptr;
    ChannelClick = nullptr;
    return 0;
}

int TButton::FixedGlowOnMOActivate() {
    if (FixedGlowOnMO == 1 && MouseClickCounter == 0.0f)
        SetGlow(2, GlowMax, GlowSpeed, 0.0f, GlowMax);
    return 0;
}

int TButton::SetFixedGlowOnMO(float glow, float glowSpeed, int useMO) {
    FixedGlowOnMO = 1;
    FixedGlowOnMOUseMO = useMO;
    GlowMax = glow;
    GlowSpeed = glowSpeed;
    return 0;
}

int TButton::SetAutoGlow(float low, float high, float glowSpeed, int overMO) {
    SetGlow(3, high, glowSpeed, low, high);
    AutoGlowOnMO = overMO;
    return 0;
}

int TButton::ManageNoSound() {
    NoSound = 1;
    Manage();
    NoSound = 0;
    return 0;
}

int TButton::Manage() {
    bool shrink = false;
    if (!Active || (Disabled && !ClickDisabled)) {
        MouseOver = 0;
        Clicked = 0;
        if (FixedGlowOnMO == 1)
            ManageGlow();
        shrink = true;
    } else {
        if (FramesTotal > 0)
            ManageAnim();
        if (GlowMode > 0)
            ManageGlow();
        const float mx = static_cast<float>(Game->Mouse->x);
        const float my = static_cast<float>(Game->Mouse->y);
        bool inside =
            x <= mx && mx < x + static_cast<float>(w) && y <= my && my < y + static_cast<float>(h);
        if (inside && MouseOverUserFunction && MouseOverUserFunction() != 0)
            inside = false;
        if (inside) {
            // The mouse-over sound plays once per entry, and not while the pressed image shows.
            if (MouseClickCounter == 0.0f) {
                if (MouseOver == 0 && NoSound == 0)
                    PlayMouseOver();
                MouseOver = 1;
            }
            FixedGlowOnMOActivate();
            // A refused click (the pressed image still showing) must not leave the last tick's
            // click standing, or the owner would act on it twice.
            if (Game->Mouse->GetMh(1) == 0 || !Click())
                Clicked = 0;
            if (ScaleOnMOMax > 1.0f) {
                ScaleOnMO += ScaleOnMOUpSpeed * Delta;
                if (ScaleOnMO > ScaleOnMOMax)
                    ScaleOnMO = ScaleOnMOMax;
            }
        } else {
            MouseOver = 0;
            Clicked = 0;
            shrink = true;
        }
        // Enter (and Space, when allowed and Enter was not hit) clicks an OK button wherever the
        // pointer is.
        if (OKButton && (KeyHit(KEY_ENTER) || (OKButtonUseSpace && KeyHit(KEY_SPACE))))
            SimulateClick();
    }
    if (shrink)
        ManageScaleOnMO();
    if (MouseClickCounter > 0.0f) {
        MouseClickCounter -= Delta;
        if (MouseClickCounter < 0.0f)
            MouseClickCounter = 0.0f;
    }
    return 0;
}

int TButton::ManageScaleOnMO() {
    if (ScaleOnMO > 1.0f) {
        ScaleOnMO -= ScaleOnMODownSpeed * Delta;
        if (ScaleOnMO < 1.0f)
            ScaleOnMO = 1.0f;
    }
    return 0;
}

int TButton::Click() {
    if (MouseClickCounter > 0.0f && !ClickWhenDown)
        return 0;
    if (Clicked == 0 && NoSound == 0)
        PlayClick();
    Clicked = 1;
    if (ImageMouseClick)
        MouseClickCounter = MouseClickDuration;
    return 1;
}

int TButton::SimulateClick() {
    FixedGlowOnMOActivate();
    if (Click())
        MouseOver = 1;
    return 0;
}

int TButton::ClearClick() {
    Clicked = 0;
    MouseClickCounter = 0.0f;
    Glow = 0.0f;
    MouseOver = 0;
    return 0;
}

namespace {

int PlayButtonSound(const TGameSoundPtr& sound, platform::ChannelPtr& privateChannel) {
    if (!sound)
        return 0;
    if (Game->Channels)
        Game->Channels->PlayGameSound(sound, nullptr, 1.0f, 0.0f);
    else
        sound->PlayInChannel(privateChannel, 0.0f);
    return 0;
}

} // namespace

int TButton::PlayClick() {
    return PlayButtonSound(SoundClick, ChannelClick);
}

int TButton::PlayMouseOver() {
    return PlayButtonSound(SoundMouseOver, ChannelMouseOver);
}

int TButton::DrawFace() {
    const bool glowing = GlowMode > 0 && Glow > 0.0f;
    auto show = [&](const TGameImagePtr& face, int faceFrame) {
        DrawShadow(face, 0, 0);
        platform::DrawImage(face->image, x, y, faceFrame);
    };
    auto lightPass = [&](const TGameImagePtr& face) {
        DrawLight(Glow, 1.0f, 1.0f, 1.0f, face);
        if (UseAlpha)
            platform::SetAlpha(Alpha);
    };
    // A missing mouse-over, disabled or pressed image falls through to the next face that
    // applies, in the end the normal image.
    if (MouseClickCounter > 0.0f && ImageMouseClick) {
        show(ImageMouseClick, 0);
        if (glowing)
            lightPass(ImageMouseClick);
    } else if (ImageMouseOver && (MouseOver || (FixedGlowOnMOUseMO && glowing))) {
        show(ImageMouseOver, frame);
        if (glowing && (FixedGlowOnMO || AutoGlowOnMO))
            lightPass(ImageMouseOver);
    } else if (Disabled && ImageDisabled) {
        show(ImageDisabled, 0);
    } else if (image) {
        show(image, frame);
        if (glowing)
            lightPass(nullptr);
    }
    return 0;
}

int TButton::Draw() {
    if (!Active && !AlwaysDraw)
        return 0;
    platform::SetBlend(platform::ALPHABLEND);
    const float savedX = x, savedY = y;
    x += offx;
    y += offy;
    if (UseAlpha)
        platform::SetAlpha(Alpha);
    const float savedScaleX = ScaleX, savedScaleY = ScaleY;
    const bool hoverScaled = ScaleOnMO > 1.0f;
    if (hoverScaled) {
        // Grows about its centre, measured on the normal image whatever face is drawn.
        platform::SetScale(ScaleOnMO, ScaleOnMO);
        if (image) {
            x += static_cast<float>(image->w) * (1.0f - ScaleOnMO) / 2.0f;
            y += static_cast<float>(image->h) * (1.0f - ScaleOnMO) / 2.0f;
        }
        ScaleX = ScaleY = ScaleOnMO;
    } else {
        platform::SetScale(ScaleX, ScaleY);
    }
    DrawFace();
    x = savedX;
    y = savedY;
    if (UseAlpha)
        platform::SetAlpha(1.0f);
    if (hoverScaled) {
        ScaleX = savedScaleX;
        ScaleY = savedScaleY;
    }
    platform::SetScale(1.0f, 1.0f);
    return 1;
}

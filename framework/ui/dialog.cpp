#include "framework/ui/dialog.h"

#include "framework/shell/game.h"
#include "framework/util/drawing.h"
#include "framework/util/globals.h"
#include "framework/util/input.h"
#include "platform/system.h"

int TDialog::Init(const std::string& caption, const platform::ImagePtr& background, int newW,
                  int newH, int newX, int newY) {
    Caption = TLabel::CreateSpecial(caption, 0.0f, 0.0f, 1, 0);
    Background = background;
    DialogColor = TColor::Create(150, 150, 150, 1.0f);
    w = newW;
    FixedWidth = newW != 0 ? 1 : 0;
    h = newH;
    x = newX;
    y = newY;
    return 0;
}

int TDialog::Start() {
    CalcAll();
    MenuPosition();
    OldIgnoreEscapeKey = Game->IgnoreEscapeKey;
    Game->IgnoreEscapeKey = 1;
    Active = 1;
    // Only keys pressed while the dialog is up answer it: one still pending from before (typed
    // into a chat line, or pressed during the game) would answer a question nobody has read.
    ccDropKeyPresses();
    if (Slide == 5)
        Slide = platform::Rand(1, 4);
    return CalcOffset();
}

int TDialog::SetupCaption(const platform::ImageFontPtr& font, const TColorPtr& color,
                          const TShadowPtr& shadow, const TBitmapFontPtr& bitmapFont) {
    Caption->Init(font, color, shadow, 0, bitmapFont, nullptr);
    CalcAll();
    return MenuPosition();
}

int TDialog::SetTransitions(int inMs, int outMs, float dim, int fade) {
    if (inMs > 0) {
        TransitionIn = TAnimation::Create(inMs, 0, 0, 0);
        TransitionIn->Start();
        Transitioning = 1;
        if (SlideInSound && Game->Channels)
            Game->Channels->PlayGameSound(SlideInSound, nullptr, 1.0f, 0.0f);
    }
    if (outMs > 0)
        TransitionOut = TAnimation::Create(outMs, 0, 0, 0);
    DimBackground = dim;
    FadeDialog = fade;
    return 0;
}

int TDialog::CalcAll() {
    CalcSize();
    return SetLabelsXY();
}

int TDialog::CalcSize() {
    Caption->CalcWidth();
    Caption->CalcHeight();
    const float captionWidth = Caption->W + static_cast<float>(2 * Border);
    if (Background) {
        platform::SetImageHandle(Background, 0.0f, 0.0f);
        w = platform::ImageWidth(Background);
        h = platform::ImageHeight(Background);
    } else if (!FixedWidth) {
        w = platform::TruncToInt(captionWidth);
    }
    if (FixedWidth && captionWidth > static_cast<float>(w)) {
        Caption->WordWrap = w - 2 * Border;
        Caption->PreCalcWordWrap();
        Caption->CalcHeight();
    }
    return CalcXY();
}

int TDialog::CalcXY() {
    if (Centre) {
        x = (ScreenWidth - w) / 2;
        y = (ScreenHeight - h) / 2;
    }
    return 0;
}

int TDialog::CalcOffset() {
    OffsetX = OffsetY = 0.0f;
    if (Transitioning <= 0 || Slide <= 0)
        return 0;
    float r = 1.0f;
    if (Transitioning == 1 && TransitionIn)
        r = TransitionIn->GetRatio();
    else if (Transitioning == 2 && TransitionOut)
        r = TransitionOut->GetRatioInv();
    const float extra = static_cast<float>(SlideExtra);
    switch (Slide) {
    case 1:
        OffsetY = r * -(static_cast<float>(y + h) + extra);
        break;
    case 2:
        OffsetX = r * (static_cast<float>(ScreenWidth - x) + extra);
        break;
    case 3:
        OffsetY = r * (static_cast<float>(ScreenHeight - y) + extra);
        break;
    case 4:
        OffsetX = r * -(static_cast<float>(x + w) + extra);
        break;
    default:
        break;
    }
    return 0;
}

int TDialog::CaptionGetCentredX() const {
    return x + w / 2;
}

int TDialog::HeaderLoad(const std::string& headerName, float hx, float hy) {
    Header = TSprite::Create(TGameImage::Create(Game->ImagePath + headerName + Ext, -1, 1), hx, hy);
    return 0;
}

int TDialog::SetLabelsXY() {
    if (CaptionOX == 0 && CaptionOY == 0) {
        Caption->X = static_cast<float>(CaptionGetCentredX());
        // A wrapped caption is centred vertically; one line stands Border below the top.
        if (Caption->WordWrap > 0)
            Caption->Y = static_cast<float>(y + h / 2) - Caption->H / 2.0f;
        else
            Caption->Y = static_cast<float>(y + Border);
    } else {
        Caption->X = static_cast<float>(CaptionOX);
        Caption->Y = static_cast<float>(CaptionOY);
    }
    Caption->X += static_cast<float>(CaptionOffsetX);
    Caption->Y += static_cast<float>(CaptionOffsetY);
    return 0;
}

int TDialog::MenuPosition() {
    if (Menu)
        Menu->ManageNoSound();
    return 0;
}

int TDialog::MenuGetCentredX() {
    return x + (w - Menu->CalcWidth()) / 2;
}

int TDialog::Manage() {
    return ManageCore();
}

int TDialog::ManageCore() {
    if (!Active)
        return 0;
    if (TransitionIn && TransitionIn->Manage()) {
        Transitioning = 0;
        if (FadeDialog)
            SetAlphas(1.0f);
        if (ActivateSound && Game->Channels)
            FadeChannel = Game->Channels->PlayGameSound(ActivateSound, nullptr, 1.0f, 0.0f);
        // Keys and clicks made while the dialog came in are not answers.
        ccFlushAll();
    }
    if (TransitionOut) {
        if (TransitionOut->Manage()) {
            if (FadeDialog)
                SetAlphas(0.0f);
            Transitioning = 0;
            ccFlushAll();
            Finalise();
            if (FadeChannel) {
                FadeChannel->OriginalVolume = 0.0f;
                platform::SetChannelVolume(FadeChannel->Channel, 0.0f);
            }
            return 1;
        }
        if (Transitioning == 2 && FadeChannel) {
            FadeChannel->OriginalVolume = TransitionOut->GetRatio();
            platform::SetChannelVolume(FadeChannel->Channel, static_cast<float>(Game->SoundVolume) /
                                                                 100.0f *
                                                                 FadeChannel->OriginalVolume);
        }
    }
    CalcOffset();
    if (Menu) {
        if (Disabled || Transitioning == 2)
            Menu->ManageFixedGlowOnly();
        else if (Transitioning == 0)
            Menu->Manage();
    }
    return 1;
}

int TDialog::SetAlphas(float alpha) {
    if (Header)
        Header->Alpha = alpha;
    if (Menu)
        Menu->SetAlpha(alpha);
    if (Caption && Caption->Color)
        Caption->Color->Alpha = alpha;
    return 0;
}

int TDialog::DoDrawHighlight(float alpha) {
    if (DrawHighlight != 1)
        return 0;
    // The lines follow the slide with the rest of the dialog.
    const float left = static_cast<float>(x) + OffsetX;
    const float top = static_cast<float>(y) + OffsetY;
    platform::SetColor(255, 255, 255);
    platform::SetAlpha(0.5f * alpha);
    platform::DrawLine(left, top, left + static_cast<float>(w - 1), top);
    platform::DrawLine(left, top, left, top + static_cast<float>(h - 1));
    platform::SetAlpha(alpha);
    return 0;
}

int TDialog::Close(int result) {
    CloseResultTemp = result;
    if (TransitionOut) {
        TransitionOut->Start();
        Transitioning = 2;
        if (SlideOutSound && Game->Channels)
            Game->Channels->PlayGameSound(SlideOutSound, nullptr, 1.0f, 0.0f);
        return 0;
    }
    Finalise();
    return CloseResultTemp;
}

int TDialog::Finalise() {
    Active = 0;
    if (ReenableEscapeKey == 1)
        Game->IgnoreEscapeKey = OldIgnoreEscapeKey;
    CloseResult = CloseResultTemp;
    // What was typed while the dialog was up was meant for it, the answering key's own character
    // included: none of it may turn up in an entry line afterwards.
    ccDropTypedChars();
    return 0;
}

int TDialog::DrawPicture(const TGameImagePtr& picture, int px, int py, float scale, float angle,
                         const TShadowPtr& shadow) const {
    platform::SetScale(scale, scale);
    platform::SetRotation(angle);
    if (shadow) {
        const float saved = shadow->Alpha;
        shadow->Alpha *= Alpha;
        shadow->Apply();
        platform::DrawImage(picture->image, static_cast<float>(px) + shadow->X + OffsetX,
                            static_cast<float>(py) + shadow->Y + OffsetY);
        shadow->Restore();
        shadow->Alpha = saved;
    }
    platform::SetAlpha(Alpha);
    platform::DrawImage(picture->image, static_cast<float>(px) + OffsetX,
                        static_cast<float>(py) + OffsetY);
    platform::SetScale(1.0f, 1.0f);
    platform::SetRotation(0.0f);
    return 0;
}

int TDialog::Draw() {
    if (!Active)
        return 0;
    Alpha = 1.0f;
    float dim = DimBackground;
    if (Transitioning == 1 && TransitionIn) {
        if (FadeDialog)
            Alpha = TransitionIn->GetRatioInv();
        if (DimBackground != 0.0f)
            dim = TransitionIn->GetRatioInv() * DimBackground;
    } else if (Transitioning == 2 && TransitionOut) {
        if (FadeDialog)
            Alpha = TransitionOut->GetRatio();
        if (DimBackground != 0.0f)
            dim = TransitionOut->GetRatio() * DimBackground;
    }
    if (dim > 0.0f)
        ccDimScreen(dim);
    platform::SetAlpha(Alpha);
    if (Alpha != 1.0f)
        SetAlphas(Alpha);
    const float left = static_cast<float>(x) + OffsetX;
    const float top = static_cast<float>(y) + OffsetY;
    if (Background) {
        ccDrawImage(Background, left, top, Shadow.get());
    } else {
        DialogColor->Apply();
        ccDrawRect(left, top, static_cast<float>(w), static_cast<float>(h), Shadow.get());
        DialogColor->Restore();
        platform::SetAlpha(Alpha);
    }
    DoDrawHighlight(Alpha);
    if (Header) {
        Header->UseOffset = Slide != 0 ? 1 : 0;
        if (Slide != 0) {
            Header->offx = OffsetX;
            Header->offy = OffsetY;
        }
        Header->Draw();
    }
    Caption->Draw(OffsetX, OffsetY);
    ccTextAlpha = 1.0f;
    if (Menu && MenuShow == 1)
        Menu->Draw(OffsetX, OffsetY);
    if (Picture)
        DrawPicture(Picture, PictureX, PictureY, PictureScale, PictureAngle, PictureShadow);
    if (Picture2)
        DrawPicture(Picture2, Picture2X, Picture2Y, Picture2Scale, Picture2Angle, Picture2Shadow);
    platform::SetAlpha(1.0f);
    return 1;
}

int TDialog::Kill() {
    // An owner that lets an open dialog go must not leave the Escape key claimed.
    if (Active) {
        Active = 0;
        if (ReenableEscapeKey == 1)
            Game->IgnoreEscapeKey = OldIgnoreEscapeKey;
        ccDropTypedChars();
    }
    if (Caption)
        Caption->Kill();
    Background = nullptr;
    Shadow = nullptr;
    DialogColor = nullptr;
    if (Menu) {
        Menu->Kill();
        Menu = nullptr;
    }
    Picture = nullptr;
    Picture2 = nullptr;
    ActivateSound = nullptr;
    SlideInSound = nullptr;
    SlideOutSound = nullptr;
    return 0;
}

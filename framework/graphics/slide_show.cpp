#include "framework/graphics/slide_show.h"

#include "framework/shell/game.h"
#include "framework/util/drawing.h"
#include "framework/util/globals.h"
#include "platform/graphics.h"
#include "platform/system.h"

#include <algorithm>

// ---- TTransitionEffect -----------------------------------------------------------------------

TTransitionEffectPtr TTransitionEffect::Create(int effectType, int ms) {
    auto effect = std::make_shared<TTransitionEffect>();
    effect->EffectType = effectType;
    effect->Length = platform::TruncToInt(Game->CalcAnimLength(ms));
    return effect;
}

TTransitionEffectPtr TTransitionEffect::CreateCopy() const {
    auto copy = std::make_shared<TTransitionEffect>();
    copy->EffectType = EffectType;
    copy->Length = Length;
    copy->ScrollSpeedX = ScrollSpeedX;
    copy->ScrollSpeedY = ScrollSpeedY;
    copy->MaskImage = MaskImage;
    copy->MaskStartSize = MaskStartSize;
    copy->MaskEndSize = MaskEndSize;
    return copy;
}

// ---- TSlide ----------------------------------------------------------------------------------

TSlidePtr TSlide::Create(const std::string& file, int flags, int centred,
                         const TTransitionEffectPtr& inEffect,
                         const TTransitionEffectPtr& holdEffect,
                         const TTransitionEffectPtr& outEffect, const std::string& /*name*/) {
    auto slide = std::make_shared<TSlide>();
    if (!file.empty())
        slide->Image = TGameImage::Create(file, flags, centred);
    slide->InEffect = inEffect;
    slide->HoldEffect = holdEffect;
    slide->OutEffect = outEffect;
    slide->Centred = centred;
    if (centred)
        slide->CentreCoords();
    slide->CurrentEffect = inEffect ? inEffect : holdEffect ? holdEffect : outEffect;
    return slide;
}

int TSlide::CentreCoords() {
    if (Image) {
        x = static_cast<float>(ScreenWidth / 2);
        y = static_cast<float>(ScreenHeight / 2);
    }
    return 0;
}

int TSlide::Kill() {
    Image = nullptr;
    LastSlide = nullptr;
    return 0;
}

int TSlide::StoreOriginalCoords() {
    ox = x;
    oy = y;
    return 0;
}

void TSlide::Travel() {
    if (!CurrentEffect)
        return;
    x -= CurrentEffect->ScrollSpeedX * Delta;
    y -= CurrentEffect->ScrollSpeedY * Delta;
    scale += CurrentEffect->ZoomSpeed * Delta;
}

int TSlide::Manage() {
    const int move = UserManage ? UserManage(*this) : 1;
    // A slide without a phase has nothing to run.
    if (!CurrentEffect)
        return 1;
    if (move) {
        Travel();
        // The previous picture keeps moving under the cross-fade.
        if (CurrentEffect->EffectType == TTransitionEffect::CROSS_FADE && LastSlide)
            LastSlide->Travel();
    }
    Counter += Delta;
    if (Counter < static_cast<float>(CurrentEffect->Length))
        return 0;
    // The rest carries into the next phase.
    Counter -= static_cast<float>(std::max(CurrentEffect->Length, 0));
    TTransitionEffectPtr next;
    if (CurrentEffect == InEffect)
        next = HoldEffect ? HoldEffect : OutEffect;
    else if (CurrentEffect == HoldEffect)
        next = OutEffect;
    if (!next)
        return 1; // ended: the last phase stays current
    CurrentEffect = next;
    return 0;
}

float TSlide::Ratio() const {
    if (!CurrentEffect || CurrentEffect->Length <= 0)
        return 1.0f;
    return Counter / static_cast<float>(CurrentEffect->Length);
}

void TSlide::DrawPicture() const {
    if (Image && Image->image)
        platform::DrawImage(Image->image, x, y, 0);
}

int TSlide::Draw() {
    const float r = Ratio();
    const int type = CurrentEffect ? CurrentEffect->EffectType : TTransitionEffect::PLAIN;
    platform::SetBlend(platform::SOLIDBLEND);
    if (type == TTransitionEffect::CROSS_FADE) {
        // The first slide has no previous picture: it fades in over what lies below.
        if (LastSlide) {
            platform::SetScale(LastSlide->scale, LastSlide->scale);
            LastSlide->DrawPicture();
            if (LastSlide->UserDraw) {
                platform::SetBlend(platform::ALPHABLEND);
                LastSlide->UserDraw(*LastSlide);
            }
        }
        platform::SetScale(1.0f, 1.0f);
        platform::SetBlend(platform::ALPHABLEND);
        platform::SetAlpha(r);
    }
    platform::SetScale(scale, scale);
    DrawPicture();
    platform::SetBlend(platform::ALPHABLEND);
    if (UserDraw)
        UserDraw(*this);
    platform::SetScale(1.0f, 1.0f);
    platform::SetAlpha(1.0f);
    if (!CurrentEffect)
        return 0;

    const TTransitionEffect& effect = *CurrentEffect;
    const bool mask = effect.MaskImage != nullptr;
    const float maskSize = effect.MaskStartSize + r * (effect.MaskEndSize - effect.MaskStartSize);
    switch (type) {
    case TTransitionEffect::PLAIN:
    case TTransitionEffect::CROSS_FADE:
        if (mask)
            DrawMask(effect.MaskEndSize);
        break;
    case TTransitionEffect::FADE_IN:
        if (mask)
            DrawMask(maskSize);
        if (!mask || effect.MaskAndFade)
            ccDimScreen(1.0f - r);
        break;
    case TTransitionEffect::FADE_OUT:
        if (mask)
            DrawMask(maskSize);
        if (!mask || effect.MaskAndFade)
            ccDimScreen(r);
        break;
    default:
        break;
    }
    return 0;
}

int TSlide::DrawMask(float size) {
    if (!CurrentEffect || !CurrentEffect->MaskImage || !CurrentEffect->MaskImage->image)
        return 0;
    platform::SetBlend(platform::ALPHABLEND);
    platform::SetScale(size, size);
    platform::DrawImage(CurrentEffect->MaskImage->image, static_cast<float>(ScreenWidth / 2),
                        static_cast<float>(ScreenHeight / 2), 0);
    platform::SetScale(1.0f, 1.0f);
    return 0;
}

// ---- TSlideShow ------------------------------------------------------------------------------

TSlideShowPtr TSlideShow::Create() {
    return std::make_shared<TSlideShow>();
}

TSlidePtr TSlideShow::AddSlide(const std::string& file, int flags, int centred,
                               const TTransitionEffectPtr& inEffect,
                               const TTransitionEffectPtr& holdEffect,
                               const TTransitionEffectPtr& outEffect, const std::string& name) {
    TSlidePtr slide = TSlide::Create(file, flags, centred, inEffect, holdEffect, outEffect, name);
    push_back(slide);
    return slide;
}

int TSlideShow::Kill() {
    for (const TSlidePtr& slide : *this)
        slide->Kill();
    clear();
    return 0;
}

TSlidePtr TSlideShow::GetCurrentSlide() const {
    if (CurrentSlide < 0 || static_cast<size_t>(CurrentSlide) >= size())
        return nullptr;
    return (*this)[static_cast<size_t>(CurrentSlide)];
}

int TSlideShow::PreCache() {
    for (const TSlidePtr& slide : *this)
        if (slide->Image)
            slide->Image->Precache();
    return 0;
}

int TSlideShow::Manage() {
    if (Finished)
        return 0;
    const TSlidePtr slide = GetCurrentSlide();
    if (!slide || slide->Manage() != 1)
        return 0;
    CurrentSlide += 1;
    if (static_cast<size_t>(CurrentSlide) >= size()) {
        Finished = 1;
        CurrentSlide -= 1; // stays on the last slide
        return 1;
    }
    (*this)[static_cast<size_t>(CurrentSlide)]->LastSlide = slide;
    return 2;
}

int TSlideShow::Draw() {
    if (Finished)
        return 0;
    const TSlidePtr slide = GetCurrentSlide();
    if (!slide)
        return 0;
    slide->Draw();
    platform::SetBlend(platform::SOLIDBLEND);
    if (LetterBoxHeight > 0) {
        const int bar = (ScreenHeight - LetterBoxHeight) / 2;
        const float w = static_cast<float>(ScreenWidth), h = static_cast<float>(bar);
        platform::SetColor(0, 0, 0);
        platform::DrawRect(0.0f, 0.0f, w, h);
        platform::DrawRect(0.0f, static_cast<float>(ScreenHeight - bar), w, h);
        platform::SetColor(255, 255, 255);
    }
    // Back to the resting state for whatever the screen draws next.
    platform::SetBlend(platform::ALPHABLEND);
    return 1;
}

#include "framework/graphics/cross_fade.h"

TCrossFadePtr TCrossFade::Create(const platform::ImagePtr& image1, const platform::ImagePtr& image2,
                                 int ms) {
    auto fade = std::make_shared<TCrossFade>();
    fade->Init(image1, image2, ms);
    return fade;
}

int TCrossFade::Init(const platform::ImagePtr& image1, const platform::ImagePtr& image2, int ms) {
    Image1 = image1;
    Image2 = image2;
    // One phase counting down, idle at its end.
    Anim = TAnimation::Create(ms, 0, 0, 0);
    Anim->Start();
    return 0;
}

int TCrossFade::Manage() {
    if (Anim)
        Anim->Manage();
    return 0;
}

float TCrossFade::Ratio() const {
    // Without a timer there is nothing to fade: the second picture shows.
    return Anim ? Anim->GetRatioInv() : 1.0f;
}

int TCrossFade::Draw() {
    platform::SetBlend(platform::SOLIDBLEND);
    if (Image1)
        platform::DrawImage(Image1, X1, Y1, 0);
    platform::SetBlend(platform::ALPHABLEND);
    platform::SetAlpha(Ratio());
    if (Image2)
        platform::DrawImage(Image2, X2, Y2, 0);
    platform::SetAlpha(1.0f);
    return 0;
}

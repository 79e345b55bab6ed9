#include "framework/graphics/particle.h"

#include "framework/shell/game.h"
#include "framework/util/globals.h"
#include "platform/graphics.h"
#include "platform/system.h"

#include <algorithm>

namespace {

float Ticks(int ms) {
    return Game->CalcAnimLength(ms);
}

// part / whole as an alpha; a fade without length is already over.
float Share(float part, float whole) {
    return whole > 0.0f ? part / whole : 0.0f;
}

} // namespace

// ---- TParticlePhase --------------------------------------------------------------------------

int TParticlePhase::SetFade(int fadeInMs, int sustainMs, int fadeOutMs) {
    FadeInMS = static_cast<float>(fadeInMs);
    FadeSustainMS = static_cast<float>(sustainMs);
    FadeMS = static_cast<float>(fadeOutMs);
    return 0;
}

// ---- TParticle -------------------------------------------------------------------------------

TParticlePtr TParticle::CreateSpecial(const TGameImagePtr& image, float x, float y, float dx,
                                      float dy, float ygravity, float fadeMs, int lightBlend,
                                      int rotate, float rotationSpeed, float scale,
                                      float scaleSpeed, int lifeMs) {
    auto p = std::make_shared<TParticle>();
    p->SetImage(image);
    p->x = x;
    p->y = y;
    p->dx = dx;
    p->dy = dy;
    if (lifeMs > 0)
        p->LifeCounter = Ticks(lifeMs);
    p->FadeLength = Ticks(platform::TruncToInt(fadeMs));
    p->FadeCounter = p->FadeLength;
    p->DoLightBlend = lightBlend;
    if (p->FadeCounter > 0.0f)
        p->UseAlpha = 1;
    p->ygravity = ygravity;
    p->DoRotate = rotate;
    p->RotationSpeed = rotationSpeed;
    p->ScaleX = scale;
    p->ScaleY = scale;
    if (scaleSpeed != 0.0f) {
        p->ScaleXSpeed = scaleSpeed;
        p->ScaleYSpeed = scaleSpeed;
        p->DoScale = 1;
    }
    p->active = 1;
    return p;
}

int TParticle::SetDelay(int ms) {
    DelayCounter = Ticks(ms);
    return 0;
}

TParticlePhasePtr TParticle::AddPhase(int ms) {
    auto phase = std::make_shared<TParticlePhase>();
    phase->Length = Ticks(ms);
    PhaseList.push_back(phase);
    return phase;
}

int TParticle::StartPhases() {
    if (!PhaseList.empty())
        ApplyPhase(PhaseList.front());
    return 0;
}

int TParticle::ApplyPhase(const TParticlePhasePtr& phase) {
    if (!phase)
        return 0;
    PhaseCounter = 0.0f;
    CurrentPhase = phase;
    Hidden = phase->Hidden;
    dx = phase->dx;
    dy = phase->dy;
    if (phase->SetCoords == 1) {
        x = phase->SetX;
        y = phase->SetY;
    }
    ygravity = phase->ygravity;
    SetFade(platform::TruncToInt(phase->FadeInMS), platform::TruncToInt(phase->FadeSustainMS),
            platform::TruncToInt(phase->FadeMS));
    DoRotate = phase->DoRotate;
    RotationSpeed = phase->RotationSpeed;
    DoScale = phase->DoScale;
    ScaleXSpeed = phase->ScaleSpeed;
    ScaleYSpeed = phase->ScaleSpeed;
    if (phase->Scale != 0.0f) {
        ScaleX = phase->Scale;
        ScaleY = phase->Scale;
    }
    if (phase->Alpha != -1)
        Alpha = static_cast<float>(phase->Alpha);
    if (phase->SetAngle != 0)
        Rotation = phase->Angle;
    return 0;
}

int TParticle::SetFade(int fadeInMs, int sustainMs, int fadeOutMs) {
    if (fadeInMs > 0) {
        FadeIn = 1.0f;
        UseAlpha = 1;
        Alpha = 0.0f;
    } else {
        FadeIn = 0.0f;
    }
    FadeInLength = Ticks(fadeInMs);
    FadeSustainCounter = Ticks(sustainMs);
    FadeLength = Ticks(fadeOutMs);
    if (FadeIn != 0.0f) {
        FadeCounter = 0.0f;
    } else {
        FadeCounter = FadeLength;
        UseAlpha = 1;
    }
    return 0;
}

int TParticle::ManagePhases() {
    if (PhaseList.empty())
        return 0;
    if (!CurrentPhase) // phases added but never started: they start now
        StartPhases();
    PhaseCounter += Delta;
    const TParticlePhasePtr ended = CurrentPhase;
    if (PhaseCounter < ended->Length)
        return 0;
    if (ended->UserFunction)
        ended->UserFunction(*this);
    if (PhaseList.empty()) // the function dropped the phases: the particle goes on without them
        return 0;
    auto at = std::find(PhaseList.begin(), PhaseList.end(), ended);
    if (at == PhaseList.end() || std::next(at) == PhaseList.end())
        return -1;
    ApplyPhase(*std::next(at));
    return 1;
}

int TParticle::KillPhases() {
    PhaseList.clear();
    CurrentPhase = nullptr;
    PhaseCounter = 0.0f;
    return 0;
}

int TParticle::Kill() {
    active = 0;
    // Last step: the list may hold the only reference.
    if (TParticleList* list = Particles)
        list->Remove(this);
    return 0;
}

int TParticle::Move() {
    if (DelayCounter > 0.0f) {
        DelayCounter -= Delta;
        if (DelayCounter > 0.0f) {
            Hidden = 1;
            return 1;
        }
        DelayCounter = 0.0f;
        Hidden = 0;
        if (!PhaseList.empty())
            StartPhases();
    }

    if (!PhaseList.empty() && ManagePhases() == -1) {
        Kill();
        return 0;
    }

    if (UserMove)
        UserMove(*this);
    else if (UpdateOriginalCoords)
        MoveOriginalCoords();
    else
        TSprite::Move();

    if (!NoOutOfBounds && OutOfBounds()) {
        Kill();
        return 0;
    }

    if (FadeIn != 0.0f) {
        FadeCounter += Delta;
        if (FadeCounter >= FadeInLength) {
            FadeCounter = FadeLength;
            FadeIn = 0.0f;
            Alpha = 1.0f;
        }
    } else if (FadeSustainCounter > 0.0f) {
        FadeSustainCounter -= Delta;
        if (!(FadeSustainCounter > 0.0f)) {
            FadeSustainCounter = 0.0f;
            FadeCounter = FadeLength;
        }
    } else if (FadeCounter > 0.0f) {
        FadeCounter -= Delta;
        if (!(FadeCounter > 0.0f)) {
            Alpha = 0.0f;
            if (KillOnFade)
                Kill();
        }
    }

    if (DoRotate > 0) {
        Rotation += RotationSpeed * Delta;
        if (Rotation >= 360.0f)
            Rotation -= 360.0f;
    } else if (DoRotate < 0) {
        Rotation -= RotationSpeed * Delta;
        if (Rotation < 0.0f)
            Rotation += 360.0f;
    }

    if (DoScale == 1) {
        ScaleX += ScaleXSpeed * Delta;
        ScaleY += ScaleYSpeed * Delta;
        if (ScaleX <= 0.0f || ScaleY <= 0.0f)
            Kill();
    }

    if (LifeCounter > 0.0f) {
        LifeCounter -= Delta;
        if (!(LifeCounter > 0.0f))
            Kill();
    }
    return 1;
}

int TParticle::Draw() {
    if (!active || Hidden)
        return 0;
    if (FadeCounter > 0.0f)
        Alpha = FadeIn != 0.0f ? Share(FadeCounter, FadeInLength) : Share(FadeCounter, FadeLength);
    if (DoLightBlend)
        platform::SetBlend(platform::LIGHTBLEND);
    TSprite::Draw();
    if (DoLightBlend)
        platform::SetBlend(platform::ALPHABLEND);
    return 1;
}

// ---- TParticleList ---------------------------------------------------------------------------

TParticleList::~TParticleList() {
    Clear();
}

template <class Visit> void TParticleList::Pass(Visit visit) {
    const std::vector<TParticlePtr> visiting(items_.begin(), items_.end());
    for (const TParticlePtr& p : visiting)
        if (p->Particles == this)
            visit(*p);
}

TParticlePtr TParticleList::AddNew(int x, int y, const TGameImagePtr& image, float dx, float dy,
                                   float ygravity, float fadeMs, int lightBlend, int rotate,
                                   float rotationSpeed, float scale, float scaleSpeed, int lifeMs,
                                   int addFirst) {
    TParticlePtr p = TParticle::CreateSpecial(image, static_cast<float>(x), static_cast<float>(y),
                                              dx, dy, ygravity, fadeMs, lightBlend, rotate,
                                              rotationSpeed, scale, scaleSpeed, lifeMs);
    if (addFirst)
        AddFirst(p);
    else
        AddLast(p);
    return p;
}

int TParticleList::Draw() {
    // Drawing kills nothing, so the list itself is walked.
    for (const TParticlePtr& p : items_)
        p->Draw();
    return 0;
}

int TParticleList::Move() {
    Pass([](TParticle& p) { p.Move(); });
    return 0;
}

int TParticleList::Animate() {
    Pass([](TParticle& p) {
        if (p.DelayCounter == 0.0f)
            p.ManageAnim();
    });
    return 0;
}

int TParticleList::Manage() {
    Pass([this](TParticle& p) {
        p.Move();
        if (p.Particles != this) // it died in its move
            return;
        if (p.DelayCounter == 0.0f && p.ManageAnim() && p.KillAfterAnim)
            p.Kill();
    });
    return 0;
}

int TParticleList::FadeAll(int ms) {
    const float length = Ticks(ms);
    for (const TParticlePtr& p : items_) {
        p->FadeLength = length;
        p->FadeCounter = length;
        p->UseAlpha = 1;
    }
    return 0;
}

int TParticleList::SetUseAlpha(int flag) {
    for (const TParticlePtr& p : items_)
        p->UseAlpha = flag;
    return 0;
}

int TParticleList::SetBaseScale(float sx, float sy) {
    for (const TParticlePtr& p : items_) {
        p->BaseScaleX = sx;
        p->BaseScaleY = sy;
    }
    return 0;
}

int TParticleList::EnableUpdateOriginalCoords() {
    for (const TParticlePtr& p : items_) {
        if (!p->UpdateOriginalCoords) {
            p->StoreOriginalCoords();
            p->UpdateOriginalCoords = 1;
        }
    }
    return 0;
}

int TParticleList::ScaleCoords() {
    for (const TParticlePtr& p : items_)
        p->ScaleOriginalCoords();
    return 0;
}

int TParticleList::AddOffsets(float ox, float oy) {
    for (const TParticlePtr& p : items_) {
        p->x += ox;
        p->y += oy;
    }
    return 0;
}

int TParticleList::ProcessScale(float sx, float sy, float ox, float oy) {
    for (const TParticlePtr& p : items_) {
        p->BaseScaleX = sx;
        p->BaseScaleY = sy;
        p->x = sx * p->ox + ox;
        p->y = sy * p->oy + oy;
    }
    return 0;
}

int TParticleList::Collide() {
    for (const TParticlePtr& p : items_)
        if (p->image && p->image->image)
            platform::CollideImage(p->image->image, static_cast<float>(platform::TruncToInt(p->x)),
                                   static_cast<float>(platform::TruncToInt(p->y)), 0, 0, 1,
                                   p.get());
    return 0;
}

int TParticleList::AddFirst(const TParticlePtr& particle) {
    return Adopt(particle, true);
}

int TParticleList::AddLast(const TParticlePtr& particle) {
    return Adopt(particle, false);
}

int TParticleList::Adopt(const TParticlePtr& particle, bool front) {
    // A particle belongs to one list at a time.
    if (particle->Particles)
        particle->Particles->Remove(particle.get());
    particle->Particles = this;
    if (front)
        items_.push_front(particle);
    else
        items_.push_back(particle);
    return 0;
}

int TParticleList::Remove(TParticle* particle) {
    auto at = std::find_if(items_.begin(), items_.end(),
                           [particle](const TParticlePtr& p) { return p.get() == particle; });
    if (at == items_.end())
        return 0;
    particle->Particles = nullptr;
    items_.erase(at); // may free the particle: nothing touches it afterwards
    return 0;
}

int TParticleList::Clear() {
    std::list<TParticlePtr> gone;
    gone.swap(items_);
    for (const TParticlePtr& p : gone)
        p->Particles = nullptr;
    return 0;
}

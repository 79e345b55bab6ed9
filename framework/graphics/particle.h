#pragma once
// Particles: short-lived sprites that move, fade (in, sustain, out), spin, shrink and age by
// themselves, optionally after a start delay and through a chain of timed phases, and that take
// themselves out of their list when they are done. A particle list owns its particles and moves,
// animates and draws them in order (the first drawn first, beneath the later ones).

#include "framework/graphics/sprite.h"

#include <functional>
#include <list>
#include <memory>
#include <vector>

class TParticle;
class TParticleList;
using TParticlePtr = std::shared_ptr<TParticle>;

// One stage of a particle's life: what it sets on the particle when it starts, and how long it
// lasts. The creator fills the fields after TParticle::AddPhase returns it.
class TParticlePhase : public TObject {
public:
    int SetFade(int fadeInMs, int sustainMs, int fadeOutMs);

    float Length = 0.0f; // ticks
    int Hidden = 0;
    float dx = 0.0f, dy = 0.0f;
    int SetCoords = 0;
    float SetX = 0.0f, SetY = 0.0f;
    float ygravity = 0.0f;
    float FadeInMS = 0.0f, FadeSustainMS = 0.0f, FadeMS = 0.0f;
    int DoRotate = 0;
    float RotationSpeed = 0.0f;
    int SetAngle = 0;
    float Angle = 0.0f;
    int DoScale = 0;
    float ScaleSpeed = 0.0f;
    float Scale = 0.0f; // 0 keeps the particle's scale
    int Alpha = -1;     // -1 keeps the particle's alpha
    std::function<int(TParticle&)> UserFunction;
};
using TParticlePhasePtr = std::shared_ptr<TParticlePhase>;

class TParticle : public TSprite {
public:
    // A particle fully visible that fades out at once over fadeMs (none for 0) and dies after
    // lifeMs (no limit for 0 or less); rotate is the sign of the spin, a non-zero scaleSpeed
    // makes it grow or shrink each tick.
    static TParticlePtr CreateSpecial(const TGameImagePtr& image, float x, float y, float dx,
                                      float dy, float ygravity, float fadeMs, int lightBlend,
                                      int rotate, float rotationSpeed, float scale,
                                      float scaleSpeed, int lifeMs);

    int SetDelay(int ms);
    TParticlePhasePtr AddPhase(int ms);
    int StartPhases();
    int ApplyPhase(const TParticlePhasePtr& phase);
    int SetFade(int fadeInMs, int sustainMs, int fadeOutMs);
    // 0 while the phase runs, 1 when the next began, -1 when the last ended.
    int ManagePhases();
    int KillPhases();
    // Takes the particle out of its list (harmless when it is in none).
    int Kill();
    // One tick: delay, phases, motion, bounds, fade, rotation, scale, life. 0 when it died in
    // the phases or the bounds step, else 1.
    int Move() override;
    // 1 when drawn (not killed and not hidden).
    int Draw() override;

    TParticleList* Particles = nullptr; // the list that holds it (not owned)
    int Hidden = 0;
    float LifeCounter = 0.0f;
    float FadeIn = 0.0f;
    float FadeSustainCounter = 0.0f;
    float FadeCounter = 0.0f;
    float FadeInLength = 0.0f;
    float FadeLength = 0.0f;
    int DoLightBlend = 0;
    int DoRotate = 0;
    int DoScale = 0;
    int Data1 = 0, Data2 = 0, Data3 = 0;
    std::shared_ptr<TObject> DataObject;
    std::vector<TParticlePhasePtr> PhaseList; // empty until the first AddPhase
    TParticlePhasePtr CurrentPhase;
    float PhaseCounter = 0.0f;
    int NoOutOfBounds = 0;
    int KillOnFade = 1;
    int KillAfterAnim = 0;
    float DelayCounter = 0.0f;
    int UpdateOriginalCoords = 0;
    std::function<int(TParticle&)> UserMove;
};

// The particles of one owner. A pass over the list visits each particle that is still in it, so
// a particle may kill itself (or others) while it is visited; a killed particle lives on until
// the pass lets go of it.
class TParticleList : public TObject {
public:
    TParticleList() = default;
    ~TParticleList() override;
    TParticleList(const TParticleList&) = delete;
    TParticleList& operator=(const TParticleList&) = delete;

    // One new particle (see TParticle::CreateSpecial) at the front of the list (drawn beneath the
    // others) when addFirst is not 0, else at the back.
    TParticlePtr AddNew(int x, int y, const TGameImagePtr& image, float dx, float dy,
                        float ygravity, float fadeMs, int lightBlend, int rotate,
                        float rotationSpeed, float scale, float scaleSpeed, int lifeMs,
                        int addFirst);
    int Draw();
    int Move();
    // ManageAnim of every particle whose delay has run out.
    int Animate();
    // Move and Animate in one pass; a completed cycle kills a particle with KillAfterAnim set.
    int Manage();
    // Every particle fades out from full over ms.
    int FadeAll(int ms);
    int SetUseAlpha(int flag);
    int SetBaseScale(float sx, float sy);
    int EnableUpdateOriginalCoords();
    int ScaleCoords();
    int AddOffsets(float ox, float oy);
    int ProcessScale(float sx, float sy, float ox, float oy);
    // Writes every particle's footprint into collision layer 1 (nothing is tested).
    int Collide();

    // ---- The list ----
    int AddFirst(const TParticlePtr& particle);
    int AddLast(const TParticlePtr& particle);
    // Takes the particle out (it forgets the list); nothing when it is not in this list.
    int Remove(TParticle* particle);
    // Takes every particle out.
    int Clear();
    int Count() const { return static_cast<int>(items_.size()); }
    bool Empty() const { return items_.empty(); }
    TParticlePtr First() const { return items_.empty() ? nullptr : items_.front(); }
    TParticlePtr Last() const { return items_.empty() ? nullptr : items_.back(); }
    std::list<TParticlePtr>::const_iterator begin() const { return items_.begin(); }
    std::list<TParticlePtr>::const_iterator end() const { return items_.end(); }

private:
    // Calls visit on each particle of the list as it was when the pass began that is still in
    // it when its turn comes.
    template <class Visit> void Pass(Visit visit);
    int Adopt(const TParticlePtr& particle, bool front);

    std::list<TParticlePtr> items_;
};
using TParticleListPtr = std::shared_ptr<TParticleList>;

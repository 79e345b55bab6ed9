#pragma once
// Slide shows: full-screen pictures played one after another, each through up to three timed
// phases (in, hold, out). A phase can fade from or to black, grow or shrink a mask picture over
// the slide, or cross-fade from the previous slide, and in every phase the picture can scroll and
// zoom at a constant speed. Optional letterbox bars frame the show. The owner calls Manage once
// per logic tick and Draw once per frame.

#include "framework/graphics/game_image.h"
#include "framework/util/object.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TTransitionEffect;
class TSlide;
using TTransitionEffectPtr = std::shared_ptr<TTransitionEffect>;
using TSlidePtr = std::shared_ptr<TSlide>;

// The settings of one phase of a slide.
class TTransitionEffect : public TObject {
public:
    enum { PLAIN = 0, FADE_IN = 1, FADE_OUT = 2, CROSS_FADE = 3 };

    // Length is ms in whole logic ticks; the caller sets scroll, zoom and mask afterwards.
    static TTransitionEffectPtr Create(int effectType, int ms);
    // A second effect like this one, but without its zoom and its mask fade.
    TTransitionEffectPtr CreateCopy() const;

    int EffectType = PLAIN;
    int Length = 0; // ticks
    float ScrollSpeedX = 0.0f;
    float ScrollSpeedY = 0.0f;
    float ZoomSpeed = 0.0f;
    TGameImagePtr MaskImage; // drawn over the slide, centred on the screen
    float MaskStartSize = 1.0f;
    float MaskEndSize = 1.0f;
    int MaskAndFade = 0;
};

// One picture with its phases. The phases are told apart by identity: the same effect object as
// in- and hold-phase makes a slide that never reaches its out-phase.
class TSlide : public TObject {
public:
    // The picture file as given (no folder added), mid-handled at the screen centre when centred
    // is set, else handled at its top-left at (0, 0); any effect may be null. name is not stored.
    static TSlidePtr Create(const std::string& file, int flags, int centred,
                            const TTransitionEffectPtr& inEffect,
                            const TTransitionEffectPtr& holdEffect,
                            const TTransitionEffectPtr& outEffect, const std::string& name);

    int CentreCoords();
    int Kill();
    int StoreOriginalCoords();
    // One tick; 1 when the slide's last phase has just ended.
    int Manage();
    int Draw();
    // The current effect's mask at the screen centre, scaled by size.
    int DrawMask(float size);
    // Counter / Length of the current phase: 0 at its start, towards 1 at its end (1 for a phase
    // without length).
    float Ratio() const;

    std::string name;
    TGameImagePtr Image;
    TTransitionEffectPtr InEffect;
    TTransitionEffectPtr HoldEffect;
    TTransitionEffectPtr OutEffect;
    TTransitionEffectPtr CurrentEffect;
    float Counter = 0.0f;
    float x = 0.0f, y = 0.0f;
    float ox = 0.0f, oy = 0.0f;
    float scale = 1.0f;
    int Centred = 1;
    TSlidePtr LastSlide; // set by the show
    // Called first by Manage; 0 holds the slide's motion for that tick.
    std::function<int(TSlide&)> UserManage;
    // Called by Draw after the picture, with alpha blending.
    std::function<int(TSlide&)> UserDraw;

private:
    // Scroll and zoom by the current effect's speeds (none without an effect).
    void Travel();
    void DrawPicture() const;
};

// The slides in showing order.
class TSlideShow : public TObject, public std::vector<TSlidePtr> {
public:
    static std::shared_ptr<TSlideShow> Create();

    TSlidePtr AddSlide(const std::string& file, int flags, int centred,
                       const TTransitionEffectPtr& inEffect, const TTransitionEffectPtr& holdEffect,
                       const TTransitionEffectPtr& outEffect, const std::string& name);
    int Kill();
    // Null when the show has no slide there.
    TSlidePtr GetCurrentSlide() const;
    int PreCache();
    // 0 while the current slide runs (and for ever once finished), 2 when the show has just moved
    // to the next slide, 1 when the last slide has just ended.
    int Manage();
    // 0 once finished (nothing drawn); else the current slide and the letterbox bars, 1.
    int Draw();

    int CurrentSlide = 0;
    int LetterBoxHeight = 0; // the picture band between the bars; 0 or less: no bars
    int Finished = 0;
};
using TSlideShowPtr = std::shared_ptr<TSlideShow>;

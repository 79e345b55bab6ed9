#pragma once
// Explosions: sprites that play their animation strip once (scaling and rotating as their sprite
// settings say) and take themselves out of their list when the animation time has run out. The
// owner adds them with AddNew and StartAnim, calls Manage once per tick and Draw once per frame.

#include "framework/graphics/sprite.h"
#include "framework/graphics/sprite_list.h"

#include <memory>

class TExplosion;
class TExplosionList;
using TExplosionPtr = std::shared_ptr<TExplosion>;

// Moves as a sprite does.
class TExplosion : public TSprite {
public:
    static TExplosionPtr Create(const TGameImagePtr& image, float x, float y);

    // The strip's frames played forward once over ms.
    int StartAnim(int ms, int frames);
    // One tick: motion, scale and rotation ramps, the animation clock; dies when that runs out.
    int Manage();
    // Takes the explosion out of its list (harmless when it is in none).
    int Kill();

    TExplosionList* Explosions = nullptr; // the list that holds it (not owned)
};

class TExplosionList : public TSpriteList<TExplosion, TExplosionList, &TExplosion::Explosions> {
public:
    int Manage();
};
using TExplosionListPtr = std::shared_ptr<TExplosionList>;

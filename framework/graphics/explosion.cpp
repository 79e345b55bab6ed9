#include "framework/graphics/explosion.h"

#include "framework/shell/game.h"
#include "framework/util/globals.h"
#include "platform/system.h"

TExplosionPtr TExplosion::Create(const TGameImagePtr& image, float x, float y) {
    auto explosion = std::make_shared<TExplosion>();
    explosion->SetImage(image);
    explosion->x = x;
    explosion->y = y;
    return explosion;
}

int TExplosion::StartAnim(int ms, int frames) {
    AnimLength = platform::TruncToInt(Game->CalcAnimLength(ms));
    // Counting down from the full length shows the frames forward (AnimCounterDir 0).
    AnimCounter = static_cast<float>(AnimLength);
    FramesTotal = frames;
    return 0;
}

int TExplosion::Manage() {
    Move();
    ManageScale();
    ManageRotation();
    AnimCounter -= Delta;
    if (AnimCounter <= 0.0f)
        Kill();
    return 0;
}

int TExplosion::Kill() {
    // Last step: the list may hold the only reference.
    if (TExplosionList* list = Explosions)
        list->Remove(this);
    return 0;
}

int TExplosionList::Manage() {
    Pass([](TExplosion& e) { e.Manage(); });
    return 0;
}

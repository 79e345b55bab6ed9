#include "framework/graphics/game_object.h"

#include "platform/graphics.h"
#include "platform/system.h"

TGameObjectPtr TGameObject::Create(const TGameImagePtr& image, float x, float y) {
    auto object = std::make_shared<TGameObject>();
    object->SetImage(image);
    object->x = x;
    object->y = y;
    return object;
}

int TGameObject::Move() {
    TSprite::Move();
    if (OutOfBounds())
        Kill();
    return 0;
}

int TGameObject::Kill() {
    // Last step: the list may hold the only reference.
    if (TGameObjectList* list = GameObjects)
        list->Remove(this);
    return 0;
}

int TGameObjectList::Move() {
    Pass([](TGameObject& o) { o.Move(); });
    return 0;
}

int TGameObjectList::Collide() {
    Pass([](TGameObject& o) {
        if (o.image && o.image->image)
            platform::CollideImage(o.image->image, static_cast<float>(platform::TruncToInt(o.x)),
                                   static_cast<float>(platform::TruncToInt(o.y)), 0, 0, 1, &o);
    });
    return 0;
}

int TGameObjectList::Kill() {
    Pass([](TGameObject& o) { o.Kill(); });
    return 0;
}

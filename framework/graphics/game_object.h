#pragma once
// Game objects: plain sprites for screens that need simple moving objects without a class of
// their own. Each moves by its velocity and takes itself out of its list when it leaves the
// screen; the list can also write all its objects into a collision layer.

#include "framework/graphics/sprite.h"
#include "framework/graphics/sprite_list.h"

#include <memory>

class TGameObject;
class TGameObjectList;
using TGameObjectPtr = std::shared_ptr<TGameObject>;

class TGameObject : public TSprite {
public:
    static TGameObjectPtr Create(const TGameImagePtr& image, float x, float y);

    // The sprite's move; an object wholly off the screen then dies.
    int Move() override;
    // Takes the object out of its list (harmless when it is in none).
    int Kill();

    TGameObjectList* GameObjects = nullptr; // the list that holds it (not owned)
};

class TGameObjectList
    : public TSpriteList<TGameObject, TGameObjectList, &TGameObject::GameObjects> {
public:
    int Move();
    // Writes every object's footprint into collision layer 1 (nothing is tested).
    int Collide();
    // Kills every object: the list ends empty.
    int Kill();
};
using TGameObjectListPtr = std::shared_ptr<TGameObjectList>;

#pragma once
// A cross-fade inside the normal main loop: the first picture drawn solid, the second over it with
// an alpha that rises from 0 to 1 over the given time, counted in logic ticks by a one-phase
// animation timer. The owner calls Manage once per tick and Draw once per frame; once the time has
// run out the second picture stays at full alpha.

#include "framework/graphics/animation.h"
#include "framework/util/object.h"
#include "platform/graphics.h"

#include <memory>

class TCrossFade;
using TCrossFadePtr = std::shared_ptr<TCrossFade>;

class TCrossFade : public TObject {
public:
    static TCrossFadePtr Create(const platform::ImagePtr& image1, const platform::ImagePtr& image2,
                                int ms);

    // Starts a new cross-fade from image1 to image2 over ms (the old timer is dropped).
    int Init(const platform::ImagePtr& image1, const platform::ImagePtr& image2, int ms);
    int Manage();
    // Leaves alpha blending at alpha 1.0.
    int Draw();
    // The alpha the second picture is drawn at now.
    float Ratio() const;

    TAnimationPtr Anim;
    platform::ImagePtr Image1; // drawn solid, with its own handle
    platform::ImagePtr Image2;
    float X1 = 0.0f, Y1 = 0.0f;
    float X2 = 0.0f, Y2 = 0.0f;
};

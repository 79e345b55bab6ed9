#pragma once
// The drawn mouse pointer, and the mouse state that widgets and screens read: position, wheel,
// buttons held, presses counted since the last clearing, an optional second picture under the
// pointer and an optional trail of particles. The shell's event pump writes the state (or Update
// reads it from polled input); the shell clears the presses and manages the pointer at the start
// of every tick and draws it near the end of every frame.

#include "framework/graphics/particle.h"
#include "framework/util/object.h"
#include "platform/graphics.h"

#include <functional>
#include <memory>
#include <string>

class TMousePointer : public TObject {
public:
    int On();
    // Hides the pointer and drops its particles.
    int Off();
    // The picture Game->ImagePath + name + Ext (fatal when missing), its handle at the hot spot
    // (offsetx, offsety), which must be set before.
    int Load(const std::string& name);
    int CalcSize();
    // Reads position, held buttons and presses from the polled input.
    int Update();
    // 0 while off; otherwise feeds and manages the particle trail when ParticleFunc is set; 1.
    int Manage();
    // Position from the system's cursor, through the desktop's bottom-up coordinates and the
    // window's client origin; unchanged while there is no window.
    int UpdateCoords();
    int ClearButtons();
    int ClearMouseHit();
    int GetMb() const;
    // The presses counted; clear takes them, so that a press reaches one reader only.
    int GetMh(int clear);
    int CalcButtonTotals();
    // In a window the position follows the system cursor first; then, while on, the trail, the
    // second picture and the pointer (a single pixel without a picture) with alpha blending.
    int Draw();

    int Active = 1;
    platform::ImagePtr Image;
    std::string Ext = ".png";
    platform::ImagePtr Image2;
    int Image2Frame = 0;
    int Image2xoff = 0, Image2yoff = 0;
    float Image2Scale = 1.0f;
    int x = 0, y = 0, z = 0;
    int w = 0, h = 0; // size of Image
    int b1 = 0, b2 = 0, b3 = 0, mb = 0;
    int h1 = 0, h2 = 0, h3 = 0, mh = 0;
    int offsetx = 0, offsety = 0;
    std::function<int()> ParticleFunc;
    std::shared_ptr<TParticleList> ParticleList = std::make_shared<TParticleList>();
    float SparkleCounter = 0.0f;
    int SparkleLength = 15;
};

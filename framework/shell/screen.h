#pragma once
// The base of every screen, and the exit screen that ends the program when chosen as destination.
// The shell never knows a concrete screen: it holds the current one in Game->CurrentTScreen.

#include "framework/util/object.h"
#include "platform/graphics.h"

#include <memory>
#include <string>

class TSprite;
class TMenu;

class TScreen : public TObject, public std::enable_shared_from_this<TScreen> {
public:
    TScreen();
    ~TScreen() override;

    // Not overridden by screens.
    int ImageLoad(const std::string& file, int flags);
    int HeaderLoad(const std::string& file, float x, float y);
    int PreStart();
    int ResetStops();
    int CoreStart();

    // The hooks every screen may override.
    virtual int Load();
    virtual int Start();
    virtual int PostFadeIn();
    virtual int Kill();
    virtual int Logic();
    virtual int Draw();
    virtual int SetEscDestination();
    virtual int SpecificKeys();

    platform::ImagePtr Image;
    std::shared_ptr<TSprite> Header;
    std::string Ext = ".png";
    std::shared_ptr<TMenu> Menu;
    std::string name;
    int StopKill = 0;
    int StopInit = 0;
    std::shared_ptr<TScreen> Destination;
};
using TScreenPtr = std::shared_ptr<TScreen>;

class TExitScreen : public TScreen {};

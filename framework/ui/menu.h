#pragma once
// A menu: an ordered list of image buttons managed and drawn as one block. It builds buttons from
// image names in the menu folder, stacks them (or lays them in a row or in pairs), moves them as a
// block, hands them one mouse-over and one click sound, and reports by name the button under the
// pointer and the button clicked in the current tick.

#include "framework/audio/game_sound.h"
#include "framework/ui/button.h"
#include "framework/util/object.h"

#include <list>
#include <memory>
#include <string>

class TMenu;
using TMenuPtr = std::shared_ptr<TMenu>;

class TMenu : public TObject, public std::list<TButtonPtr> {
public:
    static TMenuPtr Create(const std::string& soundMO, const std::string& soundClick, float newX,
                           float newY, int gap);
    int Init(const std::string& soundMO, const std::string& soundClick, float newX, float newY,
             int gap);
    int Kill();
    int SetShadow(int on, float shadowX, float shadowY, float alpha);
    int ChangeShadow(int on, float shadowX, float shadowY, float alpha);
    int SetAlpha(float alpha);
    int ResetShadow(int on, float shadowX, float shadowY, float alpha);

    // A stacked button: placed at NextY and centred across the screen; the next row goes below.
    TButtonPtr AddNew(const std::string& imageName, const std::string& imageMOName,
                      const std::string& buttonName, int frameWidth, int frameHeight, int frames);
    // The same without moving NextY or growing h.
    TButtonPtr DoAddNew(const std::string& imageName, const std::string& imageMOName,
                        const std::string& buttonName, int frameWidth, int frameHeight, int frames);
    int IncreaseHeight(const TButton& button);
    TButtonPtr AddQuick(const std::string& imageName, const std::string& buttonName);
    // AddQuick, plus the "_disabled" and "_down" images when the menu folder holds them.
    TButtonPtr AddQuickAuto(const std::string& imageName, const std::string& buttonName);
    // Two buttons on one row, gap pixels apart; the row counts once, with the taller height.
    int AddPair(const std::string& first, const std::string& second, int gap,
                const std::string& prefix);

    TButtonPtr FindButton(const std::string& buttonName) const;
    int StoreOriginalCoords();
    int SetX(float newX);
    int SetY(float newY);
    int SetPairX(const std::string& first, const std::string& second, int newX);
    int ScaleMenu(float scaleX, float scaleY);
    int CalcCoords();
    int CalcLeft();
    int CalcTop();
    int CalcWidth();
    int CalcHeight();
    int CentreHoriz();
    int CentreVert();
    int Centre();
    int MakeRow(int gap);

    int ClearGlow();
    int ClearMouseClick();
    int ClearMouseOver();
    // 1 when the named button was clicked in the last managed tick; the click is then consumed
    // (with ClearClickedName).
    int Clicked(const std::string& buttonName);
    // 1 while the pointer is over the named button.
    int MouseOver(const std::string& buttonName);
    int ManageNoSound();
    int Precache();
    // 1 when the buttons were managed; 0 while a screen fade runs or AcceptInput is 0 (the last
    // names and flags are then kept).
    int Manage();
    int ManageFixedGlowOnly();
    int ManageScaleOnMO();
    int Draw(float offsetX, float offsetY);

    float x = 0.0f;
    float y = 0.0f;
    float OX = 0.0f;
    float OY = 0.0f;
    int w = 0;
    int h = 0;
    std::string MouseOverName;
    std::string ClickedName;
    TGameSoundPtr SoundMouseOver;
    TGameSoundPtr SoundClick;
    int NextY = 0;
    int Gap = 0;
    int AddGap = 0;
    int NoSound = 0;
    int Shadow = 0;
    float ShadowX = 3.0f;
    float ShadowY = 3.0f;
    float ShadowAlpha = 0.5f;
    int ClearClickedName = 1;
    int ClearMouseOverName = 0;
    int AcceptInput = 1;

    static inline const std::string SoundExt = ".wav";
};

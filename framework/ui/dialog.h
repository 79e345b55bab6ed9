#pragma once
// The base of the modal dialogs: a box in the middle of the screen with a caption, an optional
// background picture, header sprite and two decorative pictures, and a menu made by the subclass.
// It can slide and fade in and out, dim the screen behind it and play sounds. From Start until it
// closes (or is killed) it claims the Escape key from the shell, so that Escape answers it. Only
// keys pressed while it is open answer it, and what is typed at it reaches no other widget.
// Manage reports 1 for OK or Yes, -1 for Cancel or No, 0 while open.

#include "framework/audio/channel_array.h"
#include "framework/audio/game_sound.h"
#include "framework/graphics/animation.h"
#include "framework/graphics/font.h"
#include "framework/graphics/game_image.h"
#include "framework/graphics/sprite.h"
#include "framework/ui/menu.h"
#include "framework/util/color.h"
#include "platform/graphics.h"

#include <memory>
#include <string>

class TDialog : public TObject {
public:
    int Init(const std::string& caption, const platform::ImagePtr& background, int newW, int newH,
             int newX, int newY);
    virtual int Start();
    int SetupCaption(const platform::ImageFontPtr& font, const TColorPtr& color,
                     const TShadowPtr& shadow, const TBitmapFontPtr& bitmapFont);
    int SetTransitions(int inMs, int outMs, float dim, int fade);
    int CalcAll();
    virtual int CalcSize();
    int CalcXY();
    int CalcOffset();
    int CaptionGetCentredX() const;
    int HeaderLoad(const std::string& headerName, float hx, float hy);
    virtual int SetLabelsXY();
    // The base places nothing; it runs one silent pass of the menu.
    virtual int MenuPosition();
    int MenuGetCentredX();
    virtual int Manage();
    // Transitions, sounds, slide offsets and the menu: 0 while inactive, else 1.
    int ManageCore();
    // 1 when drawn, 0 while inactive.
    virtual int Draw();
    int SetAlphas(float alpha);
    int DoDrawHighlight(float alpha);
    // Closes at once (returning result) or starts the out-transition (returning 0).
    int Close(int result);
    int Finalise();
    // Releases the dialog's objects. A dialog killed while still open gives the Escape key back.
    virtual int Kill();

    TLabelPtr Caption;
    platform::ImagePtr Background;
    int Active = 0;
    int Disabled = 0;
    TShadowPtr Shadow;
    int DrawHighlight = 1;
    int w = 0, h = 0;
    int x = 0, y = 0;
    int Border = 20;
    TColorPtr DialogColor;
    TMenuPtr Menu;
    int MenuShow = 1;
    int Centre = 1;
    int FixedWidth = 0;
    int ReenableEscapeKey = 1;
    int OldIgnoreEscapeKey = 0;
    int CaptionOX = 0, CaptionOY = 0;
    int CaptionOffsetX = 0, CaptionOffsetY = 0;
    int MenuOX = 0, MenuOY = 0;
    TSpritePtr Header;
    std::string Ext = ".png";
    TGameImagePtr Picture;
    int PictureX = 0, PictureY = 0;
    float PictureScale = 1.0f;
    float PictureAngle = 0.0f;
    TShadowPtr PictureShadow;
    TGameImagePtr Picture2;
    int Picture2X = 0, Picture2Y = 0;
    float Picture2Scale = 1.0f;
    float Picture2Angle = 0.0f;
    TShadowPtr Picture2Shadow;
    TAnimationPtr TransitionIn;
    TAnimationPtr TransitionOut;
    // 0 none, 1 coming in, 2 going out.
    int Transitioning = 0;
    float DimBackground = 0.0f;
    int FadeDialog = 0;
    int CloseResultTemp = 0;
    int CloseResult = 0;
    TGameChannelPtr FadeChannel;
    // 0 none, 1 top, 2 right, 3 bottom, 4 left, 5 one of 1 to 4 chosen at Start.
    int Slide = 0;
    int SlideExtra = 0;
    float OffsetX = 0.0f, OffsetY = 0.0f;
    float Alpha = 1.0f;
    TGameSoundPtr ActivateSound;
    TGameSoundPtr SlideInSound;
    TGameSoundPtr SlideOutSound;

private:
    int DrawPicture(const TGameImagePtr& picture, int px, int py, float scale, float angle,
                    const TShadowPtr& shadow) const;
};
using TDialogPtr = std::shared_ptr<TDialog>;

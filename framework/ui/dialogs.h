#pragma once
// The two ready-made message dialogs: TDialogOK (one "OK" button; answers 1) and TDialogYesNo
// ("Yes" and "No" side by side; answers 1 or -1). OK and Yes are clicked by Enter and Space too;
// Escape answers OK in the OK dialog and No in the Yes/No dialog, N answers No and Y answers Yes.

#include "framework/ui/dialog.h"

#include <memory>
#include <string>

class TDialogOK;
using TDialogOKPtr = std::shared_ptr<TDialogOK>;
class TDialogYesNo;
using TDialogYesNoPtr = std::shared_ptr<TDialogYesNo>;

class TDialogOK : public TDialog {
public:
    int CalcSize() override;
    int MenuPosition() override;
    int Manage() override;

    // Not started: the caller sets it up and calls Start.
    static TDialogOKPtr Create(const std::string& caption, const platform::ImagePtr& background,
                               int newW, int newH, int newX);
    int MenuCreate();
    int OKClick();

    // Space between the caption and the button when there is no background picture.
    int Gap = 50;
};

class TDialogYesNo : public TDialog {
public:
    int CalcSize() override;
    int MenuPosition() override;
    int Manage() override;

    // With withMenu 0 the caller gives the dialog a menu with "Yes" and "No" buttons before Start.
    static TDialogYesNoPtr Create(const std::string& caption, const platform::ImagePtr& background,
                                  int newW, int newH, int newX, int withMenu);
    int MenuCreate(int gap);
    int YesClick();
    int NoClick();
    // The "Yes" button's click sound.
    int ClickSound();

    int Gap = 50;
    // Space between the Yes and No buttons.
    int ButtonGap = 50;
};

// The shared layout of the message dialogs: the menu created with the dialogs' sounds, gap and
// button shadow; and the menu centred along the bottom of the dialog (or at MenuOX, MenuOY).
TMenuPtr CreateDialogMenu();
int PlaceDialogMenu(TDialog& dialog);
// Height of a message dialog without a background picture: caption, gap(s), borders and buttons.
int MessageDialogHeight(const TDialog& dialog, float content);

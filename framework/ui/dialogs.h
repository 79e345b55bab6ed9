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

// What the two share: the height from caption, gap and buttons, and the buttons centred along the
// bottom edge.
class TMessageDialog : public TDialog {
public:
    int CalcSize() override;
    int MenuPosition() override;

    // Space between the caption and the buttons when there is no background picture.
    int Gap = 50;

protected:
    // The shared start of a tick: runs the dialog's core and says whether an answer can be taken
    // now; when not, result is the tick's result.
    bool TakesAnswer(int& result);
};

class TDialogOK : public TMessageDialog {
public:
    int Manage() override;

    // Not started: the caller sets it up and calls Start.
    static TDialogOKPtr Create(const std::string& caption, const platform::ImagePtr& background,
                               int newW, int newH, int newX);
    int MenuCreate();
    int OKClick();
};

class TDialogYesNo : public TMessageDialog {
public:
    int Manage() override;

    // With withMenu 0 the caller gives the dialog a menu with "Yes" and "No" buttons before Start.
    static TDialogYesNoPtr Create(const std::string& caption, const platform::ImagePtr& background,
                                  int newW, int newH, int newX, int withMenu);
    int MenuCreate(int gap);
    int YesClick();
    int NoClick();
    // The "Yes" button's click sound.
    int ClickSound();

    // Space between the Yes and No buttons.
    int ButtonGap = 50;
};

// The shared layout of the message dialogs: the menu created with the dialogs' sounds, gap and
// button shadow; and the menu centred along the bottom of the dialog (or at MenuOX, MenuOY).
TMenuPtr CreateDialogMenu();
int PlaceDialogMenu(TDialog& dialog);
// Height of a message dialog without a background picture: caption, gap(s), borders and buttons.
int MessageDialogHeight(const TDialog& dialog, float content);

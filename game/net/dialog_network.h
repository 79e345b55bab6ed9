#pragma once
// The dialogs that set up a networked game on the title screen: the host-or-join dialog, the
// address, port and name prompts, and the error dialog that a refused address or port opens. The
// title screen runs the chain and makes the connection object from its answers.

#include "framework/ui/dialog_text_input.h"
#include "framework/ui/dialogs.h"

#include <memory>
#include <string>

class TDialogNetwork;
using TDialogNetworkPtr = std::shared_ptr<TDialogNetwork>;

// Two stacked buttons: "server" (host a game) answers 1, "client" (join one) answers -1. It reads
// no keys, and it has no cancel: the Escape key it claims does nothing while it is open.
class TDialogNetwork : public TMessageDialog {
public:
    int Manage() override;

    // Not started. withMenu 0 leaves the buttons to the caller.
    static TDialogNetworkPtr Create(const std::string& caption,
                                    const platform::ImagePtr& background, int width, int height,
                                    int newX, int withMenu);
    // The buttons stand one below the other with the menu's own gap; `gap` is not used for them.
    int MenuCreate(int gap);
    int YesClick();
    int NoClick();
    int ClickSound();

    int ButtonGap = 50;
};

// The host-or-join dialog as the title screen opens it: started, on the dialog background.
TDialogNetworkPtr NetworkOptionsDialog();

// The prompts, made and set up but not started; withCancel gives them a "Cancel" button.
// Address: digits and dots, at most 15, checked by CheckIP. Port: digits, at most 5, "5337" at
// first, checked by CheckPort. Name: up to 10 characters that a file name may hold.
TDialogTextInputPtr EnterIPPrompt(int withCancel);
TDialogTextInputPtr EnterPortPrompt(int withCancel);
TDialogTextInputPtr EnterNamePrompt(int withCancel);

// The started OK dialog that shows a refused entry's message in yellow.
TDialogOKPtr ErrorDialog(const std::string& message);

// Characters the address (withDot) or port prompt refuses beyond the file-name characters: every
// other printable character but the digits.
std::string NumberEntryBannedChars(bool withDot);

#pragma once
// The modal dialog for choosing, creating and deleting players: the profiles found in the
// profiles folder (every "<name>.dat") in a list box, and the buttons "OK", "Create", "Delete" and
// "Cancel". Choosing a player makes it the current profile (Game->CurrentProfile) and stores its
// name in the settings; "Create" asks for a name in the owner's text-input dialog and hands it to
// the owner's profile-creating function; "Delete" asks for confirmation and deletes the file.
// Messages and questions appear in sub-dialogs made by the owner's functions; while one is open
// it takes all input. Manage returns 1 when a player was accepted, -1 when cancelled, else 0.

#include "framework/graphics/game_image.h"
#include "framework/ui/dialog.h"
#include "framework/ui/dialog_text_input.h"
#include "framework/ui/dialogs.h"
#include "framework/ui/list_box.h"

#include <functional>
#include <memory>
#include <string>

class TPlayerManager;
using TPlayerManagerPtr = std::shared_ptr<TPlayerManager>;

class TPlayerManager : public TDialog {
public:
    // The dialog's start, then the list box fitted between caption and buttons.
    int Start() override;
    // The button row on the dialog's bottom border (or at MenuOX, MenuOY).
    int MenuPosition() override;
    int Manage() override;
    int Draw() override;
    // Also kills an open sub-dialog; an open manager gives the Escape key back.
    int Kill() override;

    // Not started: the list already filled and the current player selected. limit is the most
    // players and the number of lines shown; 0 or less: no limit, and the lines that fit shown.
    static TPlayerManagerPtr Create(const std::string& caption,
                                    const platform::ImagePtr& background, int newW, int newH,
                                    int newX, int limit);
    int BoxSize();
    int MenuCreate(int buttonGap);
    // The names of the ".dat" files in Game->ProfilePath, in name order; an unreadable folder
    // lists none.
    int FillList();
    int HighlightCurrentPlayer();
    // The only player cannot be deleted; otherwise the confirmation is asked.
    int DeleteProfileCheck();
    // 1 when a selected player was made current and the dialog closed; 0 with none selected.
    int OKClick();
    // Closes the dialog; when the current player's file is gone, the first listed player (if any)
    // becomes current.
    int CancelClick();
    // The "OK" button's click sound.
    int ClickSound();

    int Limit = 10;
    int ButtonGap = 10;
    int BoxBorderH = 20;
    int BoxBorderV = 20;
    // Screen y of the list box; 0 centres it between caption and buttons.
    int BoxY = 0;
    int DimWhenActive = 0;
    int DimWhenShowingDialogs = 0;
    int UpperFirstChar = 1;
    TGameImagePtr FrontFrame;
    int FrontFrameX = 0, FrontFrameY = 0;
    // A picture drawn over the list; not the dialog's own header sprite (TDialog::Header).
    TGameImagePtr Header;
    int HeaderX = 0, HeaderY = 0;
    TListBoxPtr ListBox;
    // Makes and starts an OK dialog for a message; without it a blocking message box shows it.
    std::function<TDialogOKPtr(const std::string& message)> ErrorDialogFunc;
    TDialogOKPtr DialogOK;
    // Makes and starts a Yes/No dialog for a question; without it a plain one of the framework's
    // own asks.
    std::function<TDialogYesNoPtr(const std::string& message)> DialogYesNoFunc;
    TDialogYesNoPtr DialogYesNo;
    // Makes the name-entry dialog; the manager starts it.
    std::function<TDialogTextInputPtr(int)> EnterNamePromptFunc;
    TDialogTextInputPtr EnterName;
    // Creates the profile of that name (and usually makes it current).
    std::function<int(const std::string& name)> CreateProfileFunc;
    int DrawDisabled = 0;
    int AutoAcceptAfterCreate = 1;
    std::string MessageCannotCreate = "You cannot create any more players!";
    std::string MessageCannotDelete = "The list must contain at least one player!";
    std::string MessageConfirmDelete = "Are you sure you want to delete this player?";

private:
    void ShowMessage(const std::string& message);
    // The confirmed deletion of the selected player's file.
    void DeleteSelected();
    // The name entered for a new player; true when the manager is to accept at once.
    bool NameEntered(std::string name);
    void MakeCurrent(const std::string& name);
    // Kills and drops a sub-dialog that has answered; the click that closed it does not reach the
    // manager's buttons.
    template <class D> void Dismiss(std::shared_ptr<D>& dialog);
    bool SubDialogShowing() const;
};

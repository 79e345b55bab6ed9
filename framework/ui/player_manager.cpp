#include "framework/ui/player_manager.h"

#include "framework/shell/game.h"
#include "framework/ui/my_profile.h"
#include "framework/util/drawing.h"
#include "framework/util/error.h"
#include "framework/util/input.h"
#include "platform/files.h"
#include "platform/system.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace {

constexpr int KEY_ESCAPE = 27;
const std::string PROFILE_EXT = ".dat";

// Position of the name in the list, -1 when absent.
int PositionOf(const TStringArray& names, const std::string& name) {
    const auto at = std::find(names.begin(), names.end(), name);
    return at == names.end() ? -1 : static_cast<int>(at - names.begin());
}

// A sub-dialog from the owner's function, open over the manager, which keeps the Escape claim
// when it closes.
template <class D> std::shared_ptr<D> Opened(std::shared_ptr<D> dialog) {
    if (dialog) {
        if (!dialog->Active)
            dialog->Start();
        dialog->ReenableEscapeKey = 0;
    }
    return dialog;
}

} // namespace

TPlayerManagerPtr TPlayerManager::Create(const std::string& caption,
                                         const platform::ImagePtr& background, int newW, int newH,
                                         int newX, int limit) {
    auto manager = std::make_shared<TPlayerManager>();
    manager->Init(caption, background, newW, newH, newX, 0);
    manager->ListBox = TListBox::Create(5, 0, 1, 500);
    manager->MenuCreate(manager->ButtonGap);
    manager->Limit = limit;
    manager->ListBox->Limit = limit > 0 ? limit : 0;
    manager->FillList();
    manager->HighlightCurrentPlayer();
    return manager;
}

int TPlayerManager::MenuCreate(int buttonGap) {
    Menu = CreateDialogMenu();
    for (const char* name : {"OK", "Create", "Delete", "Cancel"})
        Menu->AddQuick(name, "");
    Menu->MakeRow(buttonGap);
    Menu->FindButton("OK")->OKButton = 1;
    return MenuPosition();
}

int TPlayerManager::MenuPosition() {
    return PlaceDialogMenu(*this);
}

int TPlayerManager::Start() {
    TDialog::Start();
    return BoxSize();
}

int TPlayerManager::BoxSize() {
    const float captionH = Caption->H;
    const int menuH = Menu->CalcHeight();
    ListBox->SetCoords(static_cast<float>(x + BoxBorderH),
                       static_cast<float>(y + Border) + captionH + static_cast<float>(BoxBorderV),
                       static_cast<float>(w - 2 * BoxBorderH),
                       static_cast<float>(h - 2 * Border - menuH - 2 * BoxBorderV) - captionH);
    ListBox->CalcLineHeight();
    // Without a limit on players the list shows the lines that fit, and scrolls to the
    // selection, rather than run on over the buttons.
    if (Limit <= 0) {
        ListBox->Limit = std::max(ListBox->DisplayLines, 1);
        ListBox->SetIndex(ListBox->Index); // the current player in sight
    }
    if (BoxY != 0) {
        ListBox->Box.Y = static_cast<float>(BoxY);
    } else {
        const float captionBottom = Caption->Y + captionH;
        const int space = platform::TruncToInt(Menu->y - captionBottom);
        ListBox->Box.Y = captionBottom + (static_cast<float>(space) - ListBox->Box.H) / 2.0f;
    }
    return 0;
}

int TPlayerManager::FillList() {
    TStringArray& names = ListBox->Strings;
    names.clear();
    std::vector<std::string> entries;
    if (!platform::ReadDir(Game->ProfilePath, entries))
        return 0;
    for (const std::string& entry : entries) {
        // Exactly ".dat" (case matters), with a name in front of it, and a file, not a folder.
        if (entry.size() <= PROFILE_EXT.size() ||
            entry.compare(entry.size() - PROFILE_EXT.size(), PROFILE_EXT.size(), PROFILE_EXT) != 0)
            continue;
        if (platform::FileType(Game->ProfilePath + entry) != platform::FILETYPE_FILE)
            continue;
        names.push_back(entry.substr(0, entry.size() - PROFILE_EXT.size()));
    }
    return 0;
}

int TPlayerManager::HighlightCurrentPlayer() {
    ListBox->ClearIndex();
    if (Game->CurrentProfile)
        ListBox->SetIndex(PositionOf(ListBox->Strings, Game->CurrentProfile->Name));
    return 0;
}

void TPlayerManager::ShowMessage(const std::string& message) {
    if (ErrorDialogFunc) {
        DialogOK = Opened(ErrorDialogFunc(message));
        return;
    }
    ccEnablePolledInput();
    ccDialogOK(message, 400, 100);
    ccDisablePolledInput();
}

int TPlayerManager::DeleteProfileCheck() {
    if (ListBox->Index == -1)
        return 0;
    if (ListBox->Count() == 1) {
        ShowMessage(MessageCannotDelete);
        return 0;
    }
    if (DialogYesNoFunc) {
        DialogYesNo = Opened(DialogYesNoFunc(MessageConfirmDelete));
    } else {
        DialogYesNo = TDialogYesNo::Create(MessageConfirmDelete, nullptr, 400, 0, 0, 1);
        DialogYesNo = Opened(DialogYesNo);
    }
    return 0;
}

void TPlayerManager::DeleteSelected() {
    int p = ListBox->Index;
    if (p == -1)
        return;
    platform::DeleteFile(Game->ProfilePath + ListBox->Value + PROFILE_EXT);
    ListBox->ClearIndex();
    FillList();
    if (p >= ListBox->Count())
        --p;
    ListBox->SetIndex(p);
}

bool TPlayerManager::NameEntered(std::string name) {
    if (UpperFirstChar && !name.empty())
        name[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
    if (name.empty())
        return false;
    const int existing = PositionOf(ListBox->Strings, name);
    if (existing != -1) {
        // A name already taken selects that player: creating it again would wipe its profile.
        ListBox->SetIndex(existing);
    } else {
        if (CreateProfileFunc)
            CreateProfileFunc(name);
        FillList();
        HighlightCurrentPlayer();
    }
    return AutoAcceptAfterCreate != 0;
}

template <class D> void TPlayerManager::Dismiss(std::shared_ptr<D>& dialog) {
    dialog->Kill();
    dialog = nullptr;
    Menu->ManageNoSound();
    Menu->ClearMouseClick();
}

int TPlayerManager::Manage() {
    // An open sub-dialog takes all input; the manager's buttons only keep their glow.
    if (DialogOK) {
        if (DialogOK->Manage() == 0)
            return Menu->ManageFixedGlowOnly();
        Dismiss(DialogOK);
    }
    if (DialogYesNo) {
        const int answer = DialogYesNo->Manage();
        if (answer == 0)
            return Menu->ManageFixedGlowOnly();
        if (answer == 1)
            DeleteSelected();
        Dismiss(DialogYesNo);
    }
    if (EnterName) {
        const int answer = EnterName->Manage();
        if (answer == 0)
            return Menu->ManageFixedGlowOnly();
        const bool accept = answer == 1 && NameEntered(EnterName->TextInput->Text);
        Dismiss(EnterName);
        if (accept)
            return OKClick();
    }
    // No answers while closed or sliding in or out.
    if (TDialog::Manage() == 0 || !Active || Transitioning != 0)
        return 0;
    ListBox->Manage();
    if (ListBox->DoubleClicked != -1) {
        ListBox->DoubleClicked = -1;
        ClickSound();
        return OKClick();
    }
    if (Menu->Clicked("OK"))
        return OKClick();
    if (KeyHit(KEY_ESCAPE)) {
        ClickSound();
        CancelClick();
        return -1;
    }
    if (Menu->Clicked("Cancel")) {
        CancelClick();
        return -1;
    }
    if (Menu->Clicked("Create")) {
        if (Limit > 0 && ListBox->Count() >= Limit) {
            ShowMessage(MessageCannotCreate);
            return 0;
        }
        if (EnterNamePromptFunc && CreateProfileFunc) {
            EnterName = EnterNamePromptFunc(1);
            if (EnterName) {
                EnterName->TextInput->MakeCharsFileNameSafe();
                EnterName->Menu->ManageNoSound();
                EnterName->Start();
                EnterName->ReenableEscapeKey = 0;
            }
        }
    }
    if (Menu->Clicked("Delete"))
        DeleteProfileCheck();
    return 0;
}

void TPlayerManager::MakeCurrent(const std::string& name) {
    Game->ProfileName = name;
    if (!Game->CurrentProfile)
        Game->CurrentProfile = TMyProfile::Create(name);
    Game->CurrentProfile->Name = name;
    Game->CurrentProfile->Load();
    Game->IniUpdate(1);
}

int TPlayerManager::OKClick() {
    if (ListBox->Index == -1)
        return 0;
    MakeCurrent(ListBox->Value);
    Close(1);
    return 1;
}

int TPlayerManager::CancelClick() {
    // The current player's file was deleted: the first one left takes its place. With none left
    // the profile stays as it is rather than take an empty name.
    if (Game->CurrentProfile && ListBox->Count() > 0 &&
        PositionOf(ListBox->Strings, Game->CurrentProfile->Name) == -1)
        MakeCurrent(ListBox->Strings.front());
    Close(-1);
    return 0;
}

int TPlayerManager::ClickSound() {
    if (TButtonPtr ok = Menu->FindButton("OK"))
        ok->PlayClick();
    return 0;
}

bool TPlayerManager::SubDialogShowing() const {
    return (EnterName && EnterName->Active) || (DialogOK && DialogOK->Active) ||
           (DialogYesNo && DialogYesNo->Active);
}

int TPlayerManager::Draw() {
    if (!DrawDisabled) {
        if (Active && DimWhenActive == 1)
            ccDimScreen(0.5f);
        MenuShow = 0;
        if (TDialog::Draw() == 0)
            return 0;
        ListBox->Draw();
        if (FrontFrame)
            platform::DrawImage(FrontFrame->image, static_cast<float>(FrontFrameX),
                                static_cast<float>(FrontFrameY), 0);
        if (Header)
            platform::DrawImage(Header->image, static_cast<float>(HeaderX),
                                static_cast<float>(HeaderY), 0);
        Menu->Draw(0.0f, 0.0f);
        if (DimWhenShowingDialogs && SubDialogShowing())
            ccDimScreen(0.5f);
    }
    if (EnterName)
        EnterName->Draw();
    if (DialogOK)
        DialogOK->Draw();
    if (DialogYesNo)
        DialogYesNo->Draw();
    return 1;
}

int TPlayerManager::Kill() {
    // Sub-dialogs first: they leave the Escape claim to the manager, which gives it back.
    if (EnterName) {
        EnterName->Kill();
        EnterName = nullptr;
    }
    if (DialogOK) {
        DialogOK->Kill();
        DialogOK = nullptr;
    }
    if (DialogYesNo) {
        DialogYesNo->Kill();
        DialogYesNo = nullptr;
    }
    TDialog::Kill();
    if (ListBox)
        ListBox->Kill();
    FrontFrame = nullptr;
    Header = nullptr;
    return 0;
}

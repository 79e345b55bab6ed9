#include "framework/ui/dialogs.h"

#include "framework/util/input.h"
#include "platform/system.h"

namespace {

constexpr int KEY_ESCAPE = 27;
constexpr int KEY_N = 78;
constexpr int KEY_Y = 89;

// The named button shows its click (pressed image, sound) as if the pointer had clicked it.
void SimulateClickOn(const TMenu& menu, const std::string& name) {
    if (TButtonPtr button = menu.FindButton(name))
        button->SimulateClick();
}

} // namespace

TMenuPtr CreateDialogMenu() {
    TMenuPtr menu = TMenu::Create("buttonMO", "buttonclick", 0.0f, 0.0f, 10);
    menu->SetShadow(1, 3.0f, 3.0f, 0.4f);
    return menu;
}

int PlaceDialogMenu(TDialog& dialog) {
    dialog.CalcAll();
    if (!dialog.Menu)
        return 0;
    if (dialog.MenuOX == 0 && dialog.MenuOY == 0) {
        dialog.Menu->SetX(static_cast<float>(dialog.MenuGetCentredX()));
        dialog.Menu->SetY(
            static_cast<float>(dialog.y + dialog.h - dialog.Menu->CalcHeight() - dialog.Border));
    } else {
        dialog.Menu->SetX(static_cast<float>(dialog.MenuOX));
        dialog.Menu->SetY(static_cast<float>(dialog.MenuOY));
    }
    return dialog.Menu->ManageNoSound();
}

int MessageDialogHeight(const TDialog& dialog, float content) {
    const int buttons = dialog.Menu ? dialog.Menu->CalcHeight() : 0;
    return platform::TruncToInt(dialog.Caption->CalcHeight() + content +
                                static_cast<float>(2 * dialog.Border + buttons));
}

// ---- TMessageDialog
// ------------------------------------------------------------------------------

int TMessageDialog::CalcSize() {
    TDialog::CalcSize();
    if (!Background)
        h = MessageDialogHeight(*this, static_cast<float>(Gap));
    return 0;
}

int TMessageDialog::MenuPosition() {
    return PlaceDialogMenu(*this);
}

bool TMessageDialog::TakesAnswer(int& result) {
    result = 0;
    if (TDialog::Manage() == 0)
        return false;
    // The tick in which an out-transition has just finished gives the answer.
    if (CloseResult != 0) {
        result = CloseResult;
        return false;
    }
    return Transitioning == 0;
}

// ---- TDialogOK ----------------------------------------------------------------------------------

TDialogOKPtr TDialogOK::Create(const std::string& caption, const platform::ImagePtr& background,
                               int newW, int newH, int newX) {
    auto dialog = std::make_shared<TDialogOK>();
    dialog->Init(caption, background, newW, newH, newX, 0);
    dialog->MenuCreate();
    return dialog;
}

int TDialogOK::MenuCreate() {
    Menu = CreateDialogMenu();
    Menu->AddQuick("OK", "");
    Menu->FindButton("OK")->OKButton = 1;
    return MenuPosition();
}

int TDialogOK::OKClick() {
    return Close(1);
}

int TDialogOK::Manage() {
    int result = 0;
    if (!TakesAnswer(result))
        return result;
    if (KeyHit(KEY_ESCAPE)) {
        SimulateClickOn(*Menu, "OK");
        return OKClick();
    }
    // A click, or Enter or Space through the OK button during the menu's tick.
    if (Menu->Clicked("OK"))
        return OKClick();
    return 0;
}

// ---- TDialogYesNo -------------------------------------------------------------------------------

TDialogYesNoPtr TDialogYesNo::Create(const std::string& caption,
                                     const platform::ImagePtr& background, int newW, int newH,
                                     int newX, int withMenu) {
    auto dialog = std::make_shared<TDialogYesNo>();
    dialog->Init(caption, background, newW, newH, newX, 0);
    if (withMenu)
        dialog->MenuCreate(dialog->ButtonGap);
    return dialog;
}

int TDialogYesNo::MenuCreate(int gap) {
    Menu = CreateDialogMenu();
    Menu->AddPair("Yes", "No", gap, "");
    Menu->FindButton("Yes")->OKButton = 1;
    return MenuPosition();
}

int TDialogYesNo::YesClick() {
    return Close(1);
}

int TDialogYesNo::NoClick() {
    return Close(-1);
}

int TDialogYesNo::ClickSound() {
    if (TButtonPtr yes = Menu->FindButton("Yes"))
        yes->PlayClick();
    return 0;
}

int TDialogYesNo::Manage() {
    int result = 0;
    if (!TakesAnswer(result))
        return result;
    // N is read only when Escape was not hit: it stays pending for the next reader.
    if (KeyHit(KEY_ESCAPE) || KeyHit(KEY_N)) {
        SimulateClickOn(*Menu, "No");
        return NoClick();
    }
    if (KeyHit(KEY_Y)) {
        SimulateClickOn(*Menu, "Yes");
        return YesClick();
    }
    if (Menu->Clicked("No"))
        return NoClick();
    if (Menu->Clicked("Yes"))
        return YesClick();
    return 0;
}

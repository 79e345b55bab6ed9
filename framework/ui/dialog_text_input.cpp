#include "framework/ui/dialog_text_input.h"

#include "framework/shell/game.h"
#include "framework/util/input.h"
#include "platform/system.h"

#include <cctype>

namespace {

constexpr int KEY_ESCAPE = 27;

} // namespace

TDialogTextInputPtr TDialogTextInput::Create(const std::string& caption, const std::string& text,
                                             int maxLength, const platform::ImagePtr& background,
                                             int newW, int newX, int newY, int maxPixelWidth) {
    auto dialog = std::make_shared<TDialogTextInput>();
    dialog->Init(caption, background, newW, 0, newX, newY);
    dialog->Text = TLabel::CreateSpecial(text, 0.0f, 0.0f, 0, 0);
    dialog->BoxColor = TColor::Create(0, 0, 0, 1.0f);
    dialog->TextInput = std::make_shared<TTextInput>();
    dialog->TextInput->MaxLength = maxLength;
    dialog->TextInput->MaxPixelWidth = maxPixelWidth;
    return dialog;
}

int TDialogTextInput::MenuCreate(int withCancel, int gap) {
    Menu = CreateDialogMenu();
    if (withCancel)
        Menu->AddPair("OK", "Cancel", gap, "");
    else
        Menu->AddQuick("OK", "");
    Menu->FindButton("OK")->OKButton = 1;
    return MenuPosition();
}

int TDialogTextInput::SetupText(const platform::ImageFontPtr& font, const TColorPtr& color,
                                const TShadowPtr& shadow, int fixedWidth,
                                const TBitmapFontPtr& bitmapFont) {
    Text->Init(font, color, shadow, fixedWidth, bitmapFont, nullptr);
    Text->CalcSize();
    TextInput->Init(Text->ImageFont, Text->Text, platform::TruncToInt(Text->X),
                    platform::TruncToInt(Text->Y), bitmapFont);
    // The entry's Init blocked the hot keys, but the dialog is not open yet.
    Game->BlockKeys = 0;
    if (Text->Color)
        TextInput->TextCol->Copy(*Text->Color);
    if (Text->Shadow) {
        TextInput->TextShadow = std::make_shared<TShadow>();
        TextInput->TextShadow->Copy(*Text->Shadow);
    }
    TextInput->DrawDots = Text->FixedWidth;
    TextInput->AllowNull = AllowNull;
    if (!Menu->FindButton("Cancel"))
        TextInput->AllowEscToAbort = 0;
    // Space is typed into the text; Enter reaches the entry as a character.
    Menu->FindButton("OK")->OKButtonUseSpace = 0;
    return MenuPosition();
}

int TDialogTextInput::Start() {
    TDialog::Start();
    Game->BlockKeys = 1;
    return 0;
}

int TDialogTextInput::CalcSize() {
    TDialog::CalcSize();
    if (!Background)
        h = MessageDialogHeight(*this, Text->CalcHeight() + static_cast<float>(2 * Gap));
    return 0;
}

int TDialogTextInput::SetLabelsXY() {
    TDialog::SetLabelsXY();
    if (TextOX == 0 && TextOY == 0) {
        Text->X = static_cast<float>(x + BoxBorderH + TextBorder);
        Text->Y = Caption->Y + Caption->H + static_cast<float>(Gap);
    } else {
        Text->X = static_cast<float>(TextOX);
        Text->Y = static_cast<float>(TextOY);
    }
    TextInput->X = platform::TruncToInt(Text->X);
    TextInput->Y = platform::TruncToInt(Text->Y + static_cast<float>(TextYOffset));
    return 0;
}

int TDialogTextInput::MenuPosition() {
    return PlaceDialogMenu(*this);
}

int TDialogTextInput::Manage() {
    if (!Active)
        return 0;
    if (OKClickedScreen) {
        if (OKClickedScreen->Logic() != 1)
            return 0;
        OKClickedScreen->Kill();
        OKClickedScreen = nullptr;
        Active = 0;
        return 1;
    }
    if (DialogOK) {
        if (DialogOK->Manage() == 0)
            return 0;
        // The error was answered: back to the entry with the refused text.
        DialogOK->Kill();
        DialogOK = nullptr;
        Menu->ManageNoSound();
        TextInput->Reset();
    }
    // A transition runs on the dialogs' shared tick; the entry takes input once it is over. The
    // answer is given once, in the tick the out-transition ends.
    if (Transitioning > 0) {
        ManageCore();
        if (Active)
            return 0;
        return CloseResult == 1 ? ProcessOKClickedFunc() : CloseResult;
    }
    const int rc = TextInput->Manage();
    if (rc == 1) {
        if (OKClick(1) == 1) {
            ClickSound();
            return Accepted();
        }
        // Refused without an error dialog (an empty text, or a check that has no dialog to
        // show): the entry takes input again.
        if (!DialogOK)
            TextInput->Reset();
    }
    if (rc == -1) {
        ClickSound();
        return CancelClick();
    }
    // While the entry takes input, Enter is one of its characters: the OK button must not take
    // the key's hit ahead of characters still queued (typed ahead during a slow frame), or it
    // would confirm half a text.
    TButtonPtr ok = Menu->FindButton("OK");
    const int okTakesEnter = ok->OKButton;
    if (TextInput->Active)
        ok->OKButton = 0;
    Menu->Manage();
    ok->OKButton = okTakesEnter;
    if (Menu->Clicked("OK") && OKClick(0) == 1) {
        TextInput->Finish();
        return Accepted();
    }
    if (TButtonPtr cancel = Menu->FindButton("Cancel")) {
        const bool clicked = cancel->Clicked != 0;
        if (clicked || (cancel->Active && KeyHit(KEY_ESCAPE))) {
            TextInput->Finish();
            if (!clicked)
                ClickSound();
            return CancelClick();
        }
    }
    return 0;
}

int TDialogTextInput::OKClick(int fromKey) {
    std::string& text = TextInput->Text;
    if (UppercaseFirstChar == 1 && !text.empty())
        text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    if (ErrorCheckFunc) {
        std::string error;
        if (ErrorCheckFunc(text, error) == -1) {
            // Without an error dialog the text is refused silently.
            if (!ErrorDialogFunc)
                return 0;
            if (fromKey)
                ClickSound();
            DialogOK = ErrorDialogFunc(error);
            // The text dialog keeps the Escape claim when the error dialog closes.
            if (DialogOK)
                DialogOK->ReenableEscapeKey = 0;
            return 0;
        }
    }
    if (AllowNull == 0 && text.empty())
        return 0;
    Close(1);
    return 1;
}

int TDialogTextInput::Accepted() {
    // Still open while it slides out: the answer comes when the out-transition ends.
    if (Active)
        return 0;
    return ProcessOKClickedFunc();
}

int TDialogTextInput::ProcessOKClickedFunc() {
    if (!OKClickedFunc)
        return 1;
    const int r = OKClickedFunc(*this);
    if (r > 0)
        return r;
    // Closed by OKClick, but kept alive to run the OK-clicked screen the function may have set.
    Active = 1;
    return 0;
}

int TDialogTextInput::CancelClick() {
    return Close(-1);
}

int TDialogTextInput::ClickSound() {
    if (TButtonPtr ok = Menu->FindButton("OK"))
        ok->PlayClick();
    return 0;
}

int TDialogTextInput::Draw() {
    if (!DrawDisabled) {
        if (TDialog::Draw() == 0)
            return 0;
        if (DrawBox == 1) {
            BoxColor->Apply();
            platform::DrawRect(static_cast<float>(x + BoxBorderH),
                               Text->Y - static_cast<float>(BoxBorderV),
                               static_cast<float>(w - 2 * BoxBorderH),
                               Text->H + static_cast<float>(2 * BoxBorderV));
            BoxColor->Restore();
        }
        TextInput->Draw();
        if (DialogOK)
            DialogOK->Draw();
    }
    if (OKClickedScreen)
        OKClickedScreen->Draw();
    return 1;
}

int TDialogTextInput::Kill() {
    if (TextInput && TextInput->Active)
        TextInput->Finish();
    if (DialogOK) {
        DialogOK->Kill();
        DialogOK = nullptr;
    }
    TDialog::Kill();
    if (Text)
        Text->Kill();
    BoxColor = nullptr;
    return 0;
}

#include "game/net/dialog_network.h"

#include "framework/shell/fixed_rate_logic.h"
#include "framework/shell/game.h"
#include "framework/util/assets.h"
#include "framework/util/color.h"
#include "game/board/asset_names.h"
#include "game/net/address_checks.h"
#include "game/net/net_message.h"

namespace {

constexpr int ADDRESS_LENGTH = 15;
constexpr int PORT_LENGTH = 5;
constexpr const char* DEFAULT_PORT = "5337";

// Every prompt loads a background of its own.
platform::ImagePtr DialogBackground() {
    return ccLoadBitmap(Game->ImagePath + DIALOG_BACKGROUND, -1);
}

TColorPtr PromptTextColor() {
    return TColor::Create(255, 239, 191, 1.0f);
}

TShadowPtr TextShadow() {
    return TShadow::Create(1.0f, 1.0f, 0.6f);
}

TDialogTextInputPtr Prompt(const std::string& caption, const std::string& text, int maxLength,
                           int withCancel, const std::string& extraBanned) {
    // The picture's load time is not made up in a burst of logic ticks.
    Game->FixedRateLogic->Init();
    auto dialog =
        TDialogTextInput::Create(caption, text, maxLength, DialogBackground(), 0, 0, 0, 0);
    dialog->TextInput->MakeCharsFileNameSafe();
    dialog->TextInput->BannedChars += extraBanned;
    dialog->BoxColor = TColor::Create(165, 105, 40, 1.0f);
    dialog->Gap = 18;
    dialog->MenuCreate(withCancel, 50);
    dialog->Shadow = TShadow::Create(3.0f, 3.0f, 0.4f);
    dialog->SetupCaption(nullptr, PromptTextColor(), TextShadow(), nullptr);
    dialog->SetupText(nullptr, PromptTextColor(), TextShadow(), 0, nullptr);
    // After SetupText, whose entry set-up gives the cursor its default colour.
    dialog->TextInput->CursorCol = TColor::Create(255, 229, 153, 1.0f);
    dialog->BoxBorderH = 90;
    Game->FixedRateLogic->Init();
    return dialog;
}

} // namespace

// ---- TDialogNetwork -----------------------------------------------------------------------------

TDialogNetworkPtr TDialogNetwork::Create(const std::string& caption,
                                         const platform::ImagePtr& background, int width,
                                         int height, int newX, int withMenu) {
    auto dialog = std::make_shared<TDialogNetwork>();
    dialog->Init(caption, background, width, height, newX, 0);
    if (withMenu)
        dialog->MenuCreate(dialog->ButtonGap);
    return dialog;
}

int TDialogNetwork::MenuCreate(int) {
    Menu = CreateDialogMenu();
    Menu->AddNew("server", "serverMO", "", 0, 0, 1);
    Menu->AddNew("client", "clientMO", "", 0, 0, 1);
    MenuPosition();
    return 0;
}

int TDialogNetwork::Manage() {
    int result = 0;
    if (!TakesAnswer(result))
        return result;
    if (Menu->Clicked("client"))
        return NoClick();
    if (Menu->Clicked("server"))
        return YesClick();
    return 0;
}

int TDialogNetwork::YesClick() {
    return Close(1);
}

int TDialogNetwork::NoClick() {
    return Close(-1);
}

int TDialogNetwork::ClickSound() {
    if (TButtonPtr button = Menu->FindButton("server"))
        button->PlayClick();
    return 0;
}

TDialogNetworkPtr NetworkOptionsDialog() {
    auto dialog =
        TDialogNetwork::Create("Host a game, or join one?", DialogBackground(), 0, 0, 0, 1);
    dialog->Shadow = TShadow::Create(3.0f, 3.0f, 0.4f);
    dialog->SetupCaption(nullptr, PromptTextColor(), TextShadow(), nullptr);
    dialog->Start();
    Game->FixedRateLogic->Init();
    return dialog;
}

// ---- Prompts ------------------------------------------------------------------------------------

std::string NumberEntryBannedChars(bool withDot) {
    std::string banned;
    for (int c = 32; c <= 126; ++c) {
        const bool allowed = (c >= '0' && c <= '9') || (withDot && c == '.');
        if (!allowed)
            banned.push_back(static_cast<char>(c));
    }
    return banned;
}

TDialogTextInputPtr EnterIPPrompt(int withCancel) {
    auto dialog = Prompt("Please enter the host's IP address", "", ADDRESS_LENGTH, withCancel,
                         NumberEntryBannedChars(true));
    dialog->ErrorCheckFunc = CheckIP;
    dialog->ErrorDialogFunc = ErrorDialog;
    return dialog;
}

TDialogTextInputPtr EnterPortPrompt(int withCancel) {
    auto dialog = Prompt("Please enter the port number", DEFAULT_PORT, PORT_LENGTH, withCancel,
                         NumberEntryBannedChars(false));
    dialog->ErrorCheckFunc = CheckPort;
    dialog->ErrorDialogFunc = ErrorDialog;
    return dialog;
}

TDialogTextInputPtr EnterNamePrompt(int withCancel) {
    return Prompt("Please enter your name (up to 10 characters)", "", NAME_MAX_LENGTH, withCancel,
                  "");
}

TDialogOKPtr ErrorDialog(const std::string& message) {
    auto dialog = TDialogOK::Create(message, DialogBackground(), 0, 0, 0);
    dialog->Shadow = TShadow::Create(3.0f, 3.0f, 0.4f);
    dialog->SetupCaption(nullptr, TColor::Create(255, 255, 0, 1.0f), TextShadow(), nullptr);
    dialog->Start();
    Game->FixedRateLogic->Init();
    return dialog;
}

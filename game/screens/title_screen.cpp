#include "game/screens/title_screen.h"

#include "framework/shell/fixed_rate_logic.h"
#include "framework/shell/game.h"
#include "framework/ui/menu.h"
#include "framework/util/color.h"
#include "framework/util/drawing.h"
#include "framework/util/input.h"
#include "game/board/asset_names.h"
#include "game/board/board_globals.h"
#include "game/board/program_data.h"
#include "game/net/client.h"
#include "game/net/dialog_network.h"
#include "game/screens/game_setup.h"
#include "game/screens/picture_screens.h"
#include "platform/graphics.h"
#include "platform/system.h"

TNetworkSetupSteps NetworkSetupSteps{EnterIPPrompt, EnterPortPrompt, EnterNamePrompt};

namespace {

// Kills the dialog a chain field holds and empties the field.
template <class Dialog> void Close(std::shared_ptr<Dialog>& field) {
    field->Kill();
    field = nullptr;
}

// Makes the next prompt of the chain and starts it; without a maker the chain ends here.
void OpenPrompt(TDialogTextInputPtr& field, const std::function<TDialogTextInputPtr(int)>& maker) {
    if (!maker)
        return;
    field = maker(1);
    if (field)
        field->Start();
}

// The connection object of the networked game, made for hostAddress and hostPort; nothing is
// opened yet. A connection left from an earlier game is ended first, so its port is free again.
void CreateConnection() {
    if (client)
        client->ShutDown();
    if (myPlayer == 2)
        client = TClient::Create(hostAddress, hostPort);
    else
        client = TServer::Create(hostAddress, hostPort);
}

} // namespace

TTitleScreen::TTitleScreen() : UnlockParticles(std::make_shared<TParticleList>()) {}

int TTitleScreen::Load() {
    name = "title";
    if (!Game->CurrentTScreen) {
        Game->MusicLoad(TITLE_MUSIC, 1);
        // Applies the music volume without saving: a save would leave the settings-changed marker
        // on every start, and any later crash would then throw the player's settings away.
        Game->MusicSetVolume(Game->MusicVolume, 0);
    }
    ImageLoad(TITLE_BACKGROUND, 2);
    Menu = TMenu::Create(MENU_MOUSE_OVER_SOUND, MENU_CLICK_SOUND, 0, 0, 5);
    for (const char* button : {"instructions", "oneplayer", "twoplayers"})
        Menu->AddNew(button, std::string(button) + MOUSE_OVER_SUFFIX, "", 0, 0, 1);
    auto network = Menu->AddQuickAuto("network", "");
    network->ClickDisabled = 0;
    network->Disabled = 1;
    for (const char* button : {"options", "exit", "ankh"})
        Menu->AddNew(button, std::string(button) + MOUSE_OVER_SUFFIX, "", 0, 0, 1);
    Menu->Centre();
    Menu->SetX(Menu->x + 150);
    Menu->SetY(Menu->y + 50);
    auto ankh = Menu->FindButton("ankh");
    ankh->x = 66;
    ankh->y = 370;
    ankh->SoundClick = sounds->Find("win");
    ankh->SoundMouseOver = nullptr;
    Game->FadeMusic = 0;
    ccCreateFrames(Image);
    Menu->Precache();
    return 0;
}

int TTitleScreen::Start() {
    TScreen::Start();
    Game->FadeIn(1);
    Game->FixedRateLogic->Init();
    return 0;
}

bool TTitleScreen::SetupChainStep() {
    // The fields are tested in this order and only the first that holds a dialog is handled.
    if (EnterName) {
        int r = EnterName->Manage();
        if (r == 1) {
            std::string typed = EnterName->TextInput->Text;
            Close(EnterName);
            CreateConnection();
            Game->LeaveTo(GameScreen);
            SetUpNetworkGame(typed);
        } else if (r == -1) {
            Close(EnterName);
        }
        return EnterName && EnterName->Active;
    }
    if (NetworkOptions) {
        int r = NetworkOptions->Manage();
        if (r == 1) {
            Close(NetworkOptions);
            ChooseNetworkHost();
            OpenPrompt(EnterPort, NetworkSetupSteps.EnterPortPrompt);
        } else if (r == -1) {
            Close(NetworkOptions);
            ChooseNetworkJoin();
            OpenPrompt(EnterIP, NetworkSetupSteps.EnterIPPrompt);
        }
        return NetworkOptions && NetworkOptions->Active;
    }
    if (EnterIP) {
        int r = EnterIP->Manage();
        if (r == 1) {
            hostAddress = EnterIP->TextInput->Text;
            Close(EnterIP);
            OpenPrompt(EnterPort, NetworkSetupSteps.EnterPortPrompt);
        } else if (r == -1) {
            Close(EnterIP);
        }
        return EnterIP && EnterIP->Active;
    }
    if (EnterPort) {
        int r = EnterPort->Manage();
        if (r == 1) {
            hostPort = platform::StrToInt(EnterPort->TextInput->Text);
            Close(EnterPort);
            OpenPrompt(EnterName, NetworkSetupSteps.EnterNamePrompt);
        } else if (r == -1) {
            Close(EnterPort);
        }
        return EnterPort && EnterPort->Active;
    }
    return false;
}

int TTitleScreen::Logic() {
    if (SetupChainStep())
        return 0;
    // The network button stays disabled; the N key (named on the title picture) opens the
    // host-or-join dialog that starts the network set-up chain.
    if (!Game->Fading() && !NetworkOptions && KeyHit(NETWORK_SETUP_KEY)) {
        NetworkOptions = NetworkOptionsDialog();
        return 0;
    }
    TScreen::Logic();
    UnlockParticles->Move();
    if (UnlockedSomething == 1)
        Sparkle();
    if (Menu->Clicked("instructions")) {
        Game->LeaveTo(InstructionsScreen);
        InstructionsScreen->Destination = TitleScreen;
    } else if (Menu->Clicked("oneplayer")) {
        SetUpOnePlayerGame();
        Game->LeaveTo(GameScreen);
    } else if (Menu->Clicked("twoplayers")) {
        SetUpTwoPlayerGame();
        Game->LeaveTo(GameScreen);
    } else if (Menu->Clicked("options")) {
        UnlockedSomething = 0;
        Game->LeaveTo(OptionsScreen);
        OptionsScreen->Destination = TitleScreen;
    } else if (Menu->Clicked("exit")) {
        // The music fades out with the picture.
        Game->LeaveTo(Game->ExitScreen, Game->MusicChannel);
    } else if (Menu->Clicked("ankh")) {
        ShufflePlayerColors();
    }
    return 0;
}

int TTitleScreen::Sparkle() {
    auto options = Menu->FindButton("options");
    int bx = platform::TruncToInt(options->x);
    int by = platform::TruncToInt(options->y);
    int bw = platform::TruncToInt(options->Width());
    int bh = platform::TruncToInt(options->Height());
    if (platform::Rand(1, 3) != 1)
        return 0;
    // The draws go y before x, and the tint blue, green, red.
    int sy = platform::Rand(by, by + bh);
    int sx = platform::Rand(bx, bx + bw);
    auto sparkle = UnlockParticles->AddNew(sx, sy, images->Find("particle1"), 0.0f, -0.1f, 0.0f,
                                           200.0f, 0, 1, 1.0f, 1.0f, 0.0f, 0, 0);
    int blue = platform::Rand(200, 255);
    int green = platform::Rand(200, 255);
    int red = platform::Rand(200, 255);
    sparkle->Color = TColor::Create(red, green, blue, 1.0f);
    return 0;
}

int TTitleScreen::Draw() {
    platform::SetBlend(platform::SOLIDBLEND);
    platform::DrawImage(Image, 0, 0, 0);
    Menu->Draw(0, 0);
    UnlockParticles->Draw();
    for (const TDialogPtr& dialog :
         {TDialogPtr(EnterName), TDialogPtr(EnterIP), TDialogPtr(EnterPort), NetworkOptions})
        if (dialog)
            dialog->Draw();
    return 0;
}

#pragma once
// The title screen: the first screen of the run and the hub the other screens return to. Its menu
// starts a game on this machine, opens the instructions and options screens, shuffles the players'
// colours and ends the program; it also carries the network set-up chain of dialogs and the
// sparkles around "options" while an unlocked bonus waits to be looked at.

#include "framework/graphics/particle.h"
#include "framework/shell/screen.h"
#include "framework/ui/dialog.h"
#include "framework/ui/dialog_text_input.h"

#include <functional>
#include <memory>

// What network play gives the set-up chain: the address, port and name prompts, made but not yet
// started. While a prompt maker is missing the chain ends at that step, as on a cancel.
struct TNetworkSetupSteps {
    std::function<TDialogTextInputPtr(int withCancel)> EnterIPPrompt;
    std::function<TDialogTextInputPtr(int withCancel)> EnterPortPrompt;
    std::function<TDialogTextInputPtr(int withCancel)> EnterNamePrompt;
};
extern TNetworkSetupSteps NetworkSetupSteps;

// The key that opens the host-or-join dialog on the title screen (the network button stays
// disabled); the title picture names it.
constexpr int NETWORK_SETUP_KEY = 'N';

class TTitleScreen : public TScreen {
public:
    TTitleScreen();

    int Load() override;
    int Start() override;
    int Logic() override;
    int Draw() override;

    float x = 0.0f;
    float y = 0.0f;
    // The network set-up chain: at most one of these holds a dialog at a time.
    TDialogTextInputPtr EnterIP;
    TDialogTextInputPtr EnterPort;
    TDialogTextInputPtr EnterName;
    TDialogPtr NetworkOptions; // the host-or-join dialog: 1 host, -1 join
    // Sparkles over the menu while a bonus is unlocked; kept for the whole run.
    TParticleListPtr UnlockParticles;

private:
    // One step of the set-up chain; true when the open dialog keeps the menu waiting this tick.
    bool SetupChainStep();
    int Sparkle();
};

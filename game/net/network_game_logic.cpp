// The board screen's part of a networked game: its logic tick runs the networked turn loop
// (network_turn.h), its player's move included, on the screen itself, through TScreenNetworkBoard.
// The board screen reaches it through the hooks that start-up installs.

#include "game/net/network_game_logic.h"

#include "framework/shell/game.h"
#include "framework/shell/game_fade.h"
#include "framework/ui/menu.h"
#include "framework/ui/text_input.h"
#include "framework/util/input.h"
#include "game/board/board_constants.h"
#include "game/board/board_globals.h"
#include "game/board/game_screen.h"
#include "game/board/network_hooks.h"
#include "game/board/program_data.h"
#include "game/net/client.h"
#include "game/net/net_message.h"
#include "game/net/network_turn.h"
#include "platform/system.h"

namespace {

// Typing that has paused this long has stopped: the dialog that opened over it takes its keys.
constexpr int TYPING_PAUSE_MS = 500;

// The chat line as it is after every line sent: empty, taking up to CHAT_MAX_LENGTH characters.
void RestoreChatLine(TTextInputEx& line) {
    line.Text.clear();
    line.MaxLength = CHAT_MAX_LENGTH;
    line.AllowNull = 0;
    line.AllowEscToAbort = 1;
    line.Init(nullptr, "", CHAT_X, CHAT_Y, nullptr);
    line.CursorCol = TColor::Create(255, 229, 153, 1.0f);
    line.TextCol = TColor::Create(255, 239, 191, 1.0f);
}

} // namespace

// The board screen seen by the networked turn loop.
class TScreenNetworkBoard : public TNetworkBoard {
public:
    TScreenNetworkBoard(TGameScreen& screen, int now) : s(screen), now_(now) {}

    TRules& Rules() override { return s.Rules; }
    int MyPlayer() const override { return myPlayer; }
    std::string& PlayerName(int player) override {
        return ::PlayerName[static_cast<std::size_t>(player == 1 || player == 2 ? player : 0)];
    }
    int TextIndicator() const override { return s.TextIndicator; }
    int& SentName() override { return s.SentName; }
    int& GotName() override { return s.GotName; }
    int& LastBeacon() override { return s.LastBeacon; }
    int& NextBeacon() override { return s.NextBeacon; }
    int& needReady() override { return s.needReady; }
    int& ThrowRequested() override { return s.ThrowRequested; }

    bool DieClicked() override { return s.Menu && s.Menu->Clicked("die"); }

    bool TakeChatLine(std::string& text) override {
        if (!s.TextInput || !s.TextInput->Active || s.TextInput->Manage() != 1)
            return false;
        text = s.TextInput->Text;
        RestoreChatLine(*s.TextInput);
        return true;
    }

    // The pointer's part of the move, as in a local game; before the throw nothing is chosen.
    int ChosenSquare() override {
        const int square = s.PointerMove();
        return square >= 0 ? square : -1;
    }

    void ShowLine(const std::string& text, int color) override {
        if (s.MessageBox)
            s.MessageBox->AddNew(text, PlayerColor[static_cast<std::size_t>(color)]);
    }
    void PlayRollSound() override { s.PlayRollSound(); }
    void PlayNoMoveSound() override { s.PlayNoMoveSound(); }
    void ShowDie() override {
        s.Die->ImageFrame = s.Rules.Movement - 1;
        s.Die->visible = 1;
    }
    void HideDie() override { s.Die->visible = 0; }
    void SetThrowButton(int acceptInput) override { s.Menu->AcceptInput = acceptInput; }

    // The chat line exists (and is drawn) from the peer's arrival; while it takes typing the
    // shell's hot keys are blocked, so it is ended as soon as there is nobody to talk to.
    void EnableChat(bool on) override {
        if (on) {
            if (!s.TextInput)
                s.TextInput = std::make_shared<TTextInputEx>();
            RestoreChatLine(*s.TextInput);
        } else if (s.TextInput && s.TextInput->Active) {
            s.TextInput->Finish();
        }
    }
    void RedrawStats() override { s.RedrawStats(); }

    void MovePawn(int square) override {
        const bool open = s.YesNoDialog != nullptr;
        s.MovePawn(square);
        if (!open && s.YesNoDialog)
            HoldDialogKeysWhileTyping();
    }
    void ApplyLocalMove(int square) override {
        TMoveResult result;
        // The hover has already shown the bearing-off sign.
        s.MakeMove(square, true, result);
    }
    void HideHighlight(bool clearParticles) override {
        if (clearParticles)
            s.HighlightParticles.Clear();
        s.Highlight->visible = 0;
    }
    void UpdateWins(int player) override { s.UpdateWins(player); }
    bool EndDialogOpen() override { return s.YesNoDialog != nullptr; }
    int ManageEndDialog() override {
        if (s.DialogKeysHeld) {
            if (platform::MilliSecsDiff(now_, s.LastTyping) >= TYPING_PAUSE_MS) {
                s.DialogKeysHeld = 0;
            } else {
                if (charPut != charGet)
                    s.LastTyping = now_;
                // Dropped, not kept: no key of the typing may answer the dialog after the pause.
                ccDropKeyPresses();
            }
        }
        return s.YesNoDialog->Manage();
    }
    void OpenEndDialog(const std::string& caption) override {
        s.YesNoDialog = TDialogYesNo::Create(caption, DialogBG, BOARD_DIALOG_WIDTH, 0, 0, 1);
        s.YesNoDialog->Start();
        HoldDialogKeysWhileTyping();
    }
    void CloseEndDialog() override {
        s.YesNoDialog->Kill();
        s.YesNoDialog = nullptr;
        s.DialogKeysHeld = 0;
    }
    void NewGame() override { s.AddStartPawns(); }
    void LeaveToTitle() override { s.LeaveToTitle(); }
    bool Leaving() override { return Game->Fading() && Game->GameFade->Out == 1; }

private:
    // A player typing a chat line has not seen the dialog that has just opened: the keys that
    // follow were meant for the line and are dropped until the typing pauses; a click answers the
    // dialog all the same. With the chat line empty its keys answer it at once.
    void HoldDialogKeysWhileTyping() {
        s.DialogKeysHeld = s.TextInput && s.TextInput->Active && !s.TextInput->Text.empty();
        s.LastTyping = now_;
    }

    TGameScreen& s;
    // The time of this tick (MilliSecs).
    int now_;
};

int NetworkGameLogic(TGameScreen& screen) {
    if (!client)
        return 0;
    const int now = platform::MilliSecs();
    TScreenNetworkBoard board(screen, now);
    return NetworkTick(board, *client, now);
}

void LeaveNetworkGame(TGameScreen& screen) {
    if (screen.TextInput && screen.TextInput->Active)
        screen.TextInput->Finish();
    if (client)
        LeaveNetworkGame(*client);
}

void InstallNetworkHooks() {
    NetworkHooks.GameLogic = NetworkGameLogic;
    NetworkHooks.Leave = LeaveNetworkGame;
}

#pragma once
// A board for the networked turn loop without a window: it keeps the rules' state and records
// what the player would see and hear. The player's input of a tick is set by the test and taken
// once.

#include "game/board/rules.h"
#include "game/net/network_turn.h"

#include <array>
#include <string>
#include <utility>
#include <vector>

namespace testing_support {

struct TShownLine {
    std::string Text;
    int Color;
};

class TFakeBoard : public TNetworkBoard {
public:
    explicit TFakeBoard(int me, const std::string& name) : me_(me) {
        rules.PlaceSpecials(false);
        rules.StartPosition();
        rules.CurrentPlayer = 1;
        names[1] = "Player 1";
        names[2] = "Player 2";
        names[static_cast<std::size_t>(me)] = name;
    }

    TRules rules;
    std::array<std::string, 3> names;
    int textIndicator = 0;
    int sentName = 0, gotName = 0, lastBeacon = 0, nextBeacon = 0, ready = 0, throwRequested = 0;

    // Input of the next tick, taken once.
    bool dieClick = false;
    std::string chatLine;
    int chosen = -1;
    int dialogAnswer = 0;

    // What was shown and heard.
    std::vector<TShownLine> lines;
    int rollSounds = 0, noMoveSounds = 0;
    bool dieShown = false;
    int throwButton = 1;
    bool chatOn = false;
    std::array<int, 3> wins{};
    bool dialog = false;
    std::string dialogCaption;
    int newGames = 0;
    bool leftToTitle = false;

    bool Shown(const std::string& text) const {
        for (const auto& line : lines)
            if (line.Text == text)
                return true;
        return false;
    }
    std::string LastLine() const { return lines.empty() ? std::string() : lines.back().Text; }

    TRules& Rules() override { return rules; }
    int MyPlayer() const override { return me_; }
    std::string& PlayerName(int player) override {
        return names[static_cast<std::size_t>(player == 1 || player == 2 ? player : 0)];
    }
    int TextIndicator() const override { return textIndicator; }
    int& SentName() override { return sentName; }
    int& GotName() override { return gotName; }
    int& LastBeacon() override { return lastBeacon; }
    int& NextBeacon() override { return nextBeacon; }
    int& needReady() override { return ready; }
    int& ThrowRequested() override { return throwRequested; }

    bool DieClicked() override { return std::exchange(dieClick, false); }
    bool TakeChatLine(std::string& text) override {
        if (!chatOn || chatLine.empty())
            return false;
        text = std::exchange(chatLine, std::string());
        return true;
    }
    int ChosenSquare() override { return std::exchange(chosen, -1); }

    void ShowLine(const std::string& text, int color) override { lines.push_back({text, color}); }
    void PlayRollSound() override { ++rollSounds; }
    void PlayNoMoveSound() override { ++noMoveSounds; }
    void ShowDie() override { dieShown = true; }
    void HideDie() override { dieShown = false; }
    void SetThrowButton(int acceptInput) override { throwButton = acceptInput; }
    void EnableChat(bool on) override { chatOn = on; }
    void RedrawStats() override {}

    // As the board screen makes a move it was told of: the end of the turn and, on a win, the
    // count and the dialog naming the winner.
    void MovePawn(int square) override {
        const TMoveResult result = rules.MovePawn(square);
        if (result.Kind == TMoveKind::None)
            return;
        dieShown = false;
        throwButton = 1;
        if (result.Won) {
            UpdateWins(result.Player);
            OpenEndDialog(names[static_cast<std::size_t>(result.Player)] +
                          " wins!  Do you want to play again?");
        }
    }
    void ApplyLocalMove(int square) override { rules.MovePawn(square); }
    void HideHighlight(bool) override {}
    void UpdateWins(int player) override { ++wins[static_cast<std::size_t>(player)]; }
    bool EndDialogOpen() override { return dialog; }
    int ManageEndDialog() override { return std::exchange(dialogAnswer, 0); }
    void OpenEndDialog(const std::string& caption) override {
        dialog = true;
        dialogCaption = caption;
    }
    void CloseEndDialog() override { dialog = false; }
    void NewGame() override {
        rules.StartPosition();
        ++newGames;
    }
    void LeaveToTitle() override { leftToTitle = true; }
    bool Leaving() override { return leftToTitle; }

private:
    int me_;
};

} // namespace testing_support

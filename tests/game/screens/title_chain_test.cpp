// The title screen's network set-up chain, driven through its Logic with scripted dialogs in place
// of the network prompts: the values each path sets, and where a cancel leaves it.

#include "framework/shell/game.h"
#include "framework/shell/game_fade.h"
#include "framework/ui/menu.h"
#include "game/board/board_globals.h"
#include "game/board/program_data.h"
#include "game/net/client.h"
#include "game/screens/game_setup.h"
#include "game/screens/title_screen.h"
#include "tests/support/my_game_object.h"
#include "tests/support/shell_driver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A dialog that stays open for one tick and then answers; it records its start and its end.
template <class Base> class ScriptedDialog : public Base {
public:
    ScriptedDialog(int answer, std::string text, std::vector<std::string>& log, std::string label)
        : answer_(answer), log_(log), label_(std::move(label)) {
        if constexpr (std::is_same_v<Base, TDialogTextInput>) {
            this->TextInput = std::make_shared<TTextInput>();
            this->TextInput->Text = std::move(text);
        }
    }
    int Start() override {
        log_.push_back("start " + label_);
        this->Active = 1;
        return 0;
    }
    int Manage() override {
        if (!this->Active || ticks_++ == 0)
            return 0;
        this->Active = 0;
        return answer_;
    }
    int Kill() override {
        log_.push_back("kill " + label_);
        return 0;
    }
    int Draw() override { return 0; }

private:
    int answer_;
    int ticks_ = 0;
    std::vector<std::string>& log_;
    std::string label_;
};

struct Answer {
    int result;
    const char* text;
};

struct ChainCase {
    const char* label;
    int hostOrJoin; // 1 host, -1 join
    Answer ip, port, name;
    std::vector<std::string> log; // dialogs started and killed, in order
    int network;                  // networkGame afterwards
    int player;                   // myPlayer afterwards
    const char* address;          // hostAddress afterwards
    int portValue;                // hostPort afterwards
};

TEST(TitleChain, EachPathSetsItsValuesAndACancelEndsIt) {
    const ChainCase cases[] = {
        {"host",
         1,
         {0, ""},
         {1, "5337"},
         {1, "Ada"},
         {"kill options", "start port", "kill port", "start name", "kill name"},
         1,
         1,
         "127.0.0.1",
         5337},
        {"join",
         -1,
         {1, "10.0.0.7"},
         {1, "6000"},
         {1, "Bea"},
         {"kill options", "start ip", "kill ip", "start port", "kill port", "start name",
          "kill name"},
         1,
         2,
         "10.0.0.7",
         6000},
        {"join, cancel at the address",
         -1,
         {-1, ""},
         {1, "1"},
         {1, "x"},
         {"kill options", "start ip", "kill ip"},
         0,
         2,
         "",
         0},
        {"host, cancel at the port",
         1,
         {0, ""},
         {-1, ""},
         {1, "x"},
         {"kill options", "start port", "kill port"},
         0,
         1,
         "127.0.0.1",
         0},
        {"join, cancel at the name",
         -1,
         {1, "192.168.1.20"},
         {1, "5337"},
         {-1, ""},
         {"kill options", "start ip", "kill ip", "start port", "kill port", "start name",
          "kill name"},
         0,
         2,
         "192.168.1.20",
         5337},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        testing_support::ShellDriver driver;
        driver.UseGame(testing_support::NewMyGame());
        GameScreen = std::make_shared<TScreen>();
        auto title = std::make_shared<TTitleScreen>();
        title->Menu = std::make_shared<TMenu>();
        networkGame = 0;
        myPlayer = 0;
        hostAddress = "";
        hostPort = 0;
        PlayerName = {"", "Player 1", "Computer"};

        std::vector<std::string> log;
        auto prompt = [&](const char* label, Answer answer) {
            return [&log, label, answer](int withCancel) -> TDialogTextInputPtr {
                EXPECT_EQ(withCancel, 1);
                return std::make_shared<ScriptedDialog<TDialogTextInput>>(answer.result,
                                                                          answer.text, log, label);
            };
        };
        NetworkSetupSteps.EnterIPPrompt = prompt("ip", c.ip);
        NetworkSetupSteps.EnterPortPrompt = prompt("port", c.port);
        NetworkSetupSteps.EnterNamePrompt = prompt("name", c.name);
        client = nullptr;

        title->NetworkOptions =
            std::make_shared<ScriptedDialog<TDialog>>(c.hostOrJoin, "", log, "options");
        title->NetworkOptions->Start();
        log.clear();
        for (int tick = 0; tick < 20; ++tick)
            title->Logic();

        EXPECT_EQ(log, c.log);
        EXPECT_EQ(networkGame, c.network);
        EXPECT_EQ(myPlayer, c.player);
        EXPECT_EQ(hostAddress, c.address);
        EXPECT_EQ(hostPort, c.portValue);
        // At the end of the chain no dialog is left.
        EXPECT_FALSE(title->NetworkOptions || title->EnterIP || title->EnterPort ||
                     title->EnterName);
        if (c.network) {
            EXPECT_EQ(PlayerName[c.player], c.name.text);
            EXPECT_EQ(PlayerName[3 - c.player], c.player == 1 ? "Computer" : "Player 1");
            EXPECT_EQ(ComputerPlayer, (std::array<int, 3>{0, 0, 0}));
            EXPECT_EQ(Game->DestinationTScreen, GameScreen);
            // The connection object for the address and port, not opened yet.
            ASSERT_TRUE(client);
            EXPECT_EQ(std::dynamic_pointer_cast<TServer>(client) != nullptr, c.player == 1);
            EXPECT_EQ(client->Host, c.address);
            EXPECT_EQ(client->Port, c.portValue);
            EXPECT_EQ(client->Initialized, NET_CREATED);
            EXPECT_TRUE(Game->GameFade->Active);
        } else {
            EXPECT_EQ(Game->DestinationTScreen, nullptr);
            EXPECT_FALSE(client);
        }
        NetworkSetupSteps = {};
        client = nullptr;
        GameScreen = nullptr;
    }
}

TEST(TitleChain, WithoutNetworkPlayTheChainEndsAfterTheChoice) {
    testing_support::ShellDriver driver;
    driver.UseGame(testing_support::NewMyGame());
    auto title = std::make_shared<TTitleScreen>();
    title->Menu = std::make_shared<TMenu>();
    const TNetworkSetupSteps steps = NetworkSetupSteps;
    NetworkSetupSteps = {};
    std::vector<std::string> log;
    title->NetworkOptions = std::make_shared<ScriptedDialog<TDialog>>(-1, "", log, "options");
    title->NetworkOptions->Start();
    title->Logic();
    title->Logic();
    EXPECT_EQ(myPlayer, 2);
    EXPECT_FALSE(title->NetworkOptions || title->EnterIP);
    NetworkSetupSteps = steps;
}

} // namespace

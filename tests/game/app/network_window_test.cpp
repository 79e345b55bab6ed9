// A networked game in the real program: the player hosts from the title screen through the
// host-or-join dialog and the port and name prompts, a peer (the turn loop on a plain board, in
// this process) joins over loopback, the two exchange names and a chat line, and the player's
// Escape takes the program back to the title screen and tells the peer.

#include "framework/shell/game.h"
#include "framework/ui/menu.h"
#include "game/board/board_globals.h"
#include "game/board/game_screen.h"
#include "game/board/program_data.h"
#include "game/net/client.h"
#include "game/net/network_turn.h"
#include "game/screens/title_screen.h"
#include "platform/input.h"
#include "tests/game/net/fake_board.h"
#include "tests/game/net/loopback.h"
#include "tests/support/program_script.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using testing_support::FreePort;
using testing_support::PressKey;
using testing_support::ProgramScript;
using testing_support::SaveScreenshot;
using testing_support::ShellDriver;
using testing_support::TFakeBoard;

constexpr int KEY_BACKSPACE = 8;
constexpr int KEY_ENTER = 13;
constexpr int KEY_ESCAPE = 27;

TTitleScreen& Title() {
    return static_cast<TTitleScreen&>(*TitleScreen);
}

TGameScreen& Board() {
    return static_cast<TGameScreen&>(*GameScreen);
}

TEST(NetworkWindow, HostFromTheTitleMeetAPeerAndLeave) {
    ShellDriver driver;
    const int port = FreePort();
    TFakeBoard peer(2, "Bo");
    TClientPtr link;
    // A step may wait for the network as well as for the screens.
    ProgramScript script(3000);
    script.Await("title", &TitleScreen)
        .Key(NETWORK_SETUP_KEY)
        .Then("host or join", [] { return Title().NetworkOptions != nullptr; })
        .Check("host or join shown", [] { SaveScreenshot("network_host_or_join.png"); })
        .Click("server", [] { return Title().NetworkOptions->Menu; })
        .Then(
            "port", [] { return Title().EnterPort != nullptr; },
            [port] {
                for (int i = 0; i < 4; ++i)
                    PressKey(KEY_BACKSPACE);
                platform::InjectText(std::to_string(port));
                PressKey(KEY_ENTER);
            })
        .Then(
            "name", [] { return Title().EnterName != nullptr; },
            [] {
                platform::InjectText("ann");
                PressKey(KEY_ENTER);
            })
        .Then(
            "board screen",
            [] {
                return ProgramScript::Idle(GameScreen) && client &&
                       client->Initialized == NET_OPENING;
            },
            [&] {
                EXPECT_EQ(networkGame, 1);
                EXPECT_EQ(myPlayer, 1);
                EXPECT_EQ(client->Port, port);
                link = TClient::Create("127.0.0.1", port);
            })
        .Then("names exchanged",
              [&] {
                  NetworkTick(peer, *link, driver.now);
                  return Board().GotName && peer.gotName;
              })
        .Check("chat",
               [&] {
                   EXPECT_EQ(PlayerName[1], "Ann");
                   EXPECT_EQ(PlayerName[2], "Bo");
                   EXPECT_EQ(peer.names[1], "Ann");
                   peer.chatLine = "good luck";
                   NetworkTick(peer, *link, driver.now);
               })
        .Then("chat shown",
              [&] {
                  NetworkTick(peer, *link, driver.now);
                  for (const auto& label : Board().MessageBox->Message)
                      if (label && label->Text == "good luck")
                          return true;
                  return false;
              })
        .Check("board shown", [] { SaveScreenshot("network_board.png"); })
        .Check("escape", [] { PressKey(KEY_ESCAPE); })
        .Then("back on the title",
              [&] {
                  NetworkTick(peer, *link, driver.now);
                  return ProgramScript::Idle(TitleScreen) &&
                         peer.Shown("** Ann exited the game. **");
              })
        .Check("the keys are the shell's again", [] {
            EXPECT_EQ(Game->BlockKeys, 0);
            EXPECT_EQ(client->Initialized, NET_ENDED);
            platform::InjectQuit();
        });
    EXPECT_TRUE(testing_support::RunsToTheEnd(driver, script));
    client = nullptr;
}

} // namespace

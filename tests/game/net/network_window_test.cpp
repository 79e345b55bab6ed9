// A networked game in the real program: the player hosts from the title screen through the
// host-or-join dialog and the port and name prompts, a peer (the turn loop on a plain board, in
// this process) joins over loopback, the two exchange names and a chat line, and the player's
// Escape takes the program back to the title screen and tells the peer.

#include "framework/graphics/mouse_pointer.h"
#include "framework/shell/game.h"
#include "framework/shell/game_fade.h"
#include "framework/ui/menu.h"
#include "game/app/program.h"
#include "game/board/board_globals.h"
#include "game/board/game_screen.h"
#include "game/net/client.h"
#include "game/net/network_turn.h"
#include "game/screens/game_setup.h"
#include "game/screens/title_screen.h"
#include "platform/graphics.h"
#include "platform/input.h"
#include "platform/pixmap.h"
#include "tests/game/net/fake_board.h"
#include "tests/support/shell_driver.h"
#include "tests/support/temp_dir.h"

#include "tests/game/net/loopback.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using testing_support::FreePort;

using testing_support::ProcessEnded;
using testing_support::ShellDriver;
using testing_support::TFakeBoard;

constexpr int KEY_BACKSPACE = 8;
constexpr int KEY_ENTER = 13;
constexpr int KEY_ESCAPE = 27;
// Frames one step may wait before the run counts as stuck.
constexpr int STEP_LIMIT = 3000;

TTitleScreen& Title() {
    return static_cast<TTitleScreen&>(*TitleScreen);
}

TGameScreen& Board() {
    return static_cast<TGameScreen&>(*GameScreen);
}

bool Idle(const std::shared_ptr<TScreen>& screen) {
    return Game->CurrentTScreen == screen && !Game->GameFade->Active;
}

// The frame just shown, for people to look at.
void SaveScreenshot(const std::string& name) {
    auto frame = platform::GrabPixmap(0, 0, 800, 600);
    ASSERT_TRUE(frame);
    EXPECT_TRUE(platform::SavePixmapPNG(frame, testing_support::TestOutputDir() + name));
}

void Press(int key) {
    platform::InjectKey(key, true);
    platform::InjectKey(key, false);
}

// Each step waits for its condition, one frame at a time, and is then done.
struct TStep {
    std::string what;
    std::function<bool()> done;
};

// Steps that click a button: the pointer goes to its centre, and the press waits until it is
// there (other windows on the display share the pointer).
void AddClick(std::vector<TStep>& steps, const std::string& button,
              std::function<TMenuPtr()> menu) {
    auto centre = [button, menu](int& x, int& y) {
        const TButtonPtr b = menu()->FindButton(button);
        x = static_cast<int>(b->x) + b->w / 2;
        y = static_cast<int>(b->y) + b->h / 2;
    };
    steps.push_back({"press " + button, [centre] {
                         int x, y;
                         centre(x, y);
                         platform::InjectMouseMove(x, y);
                         if (Game->Mouse->x != x || Game->Mouse->y != y)
                             return false;
                         platform::InjectMouseButton(1, true);
                         return true;
                     }});
    steps.push_back({"release " + button, [] {
                         platform::InjectMouseButton(1, false);
                         return true;
                     }});
}

TEST(NetworkWindow, HostFromTheTitleMeetAPeerAndLeave) {
    ShellDriver driver;
    const int port = FreePort();
    TFakeBoard peer(2, "Bo");
    TClientPtr link;
    std::vector<TStep> steps;
    steps.push_back({"title", [] { return TitleScreen && Idle(TitleScreen); }});
    steps.push_back({"network key", [] {
                         Press(NETWORK_SETUP_KEY);
                         return true;
                     }});
    steps.push_back({"host or join", [] { return Title().NetworkOptions != nullptr; }});
    steps.push_back({"host or join shown", [] {
                         SaveScreenshot("network_host_or_join.png");
                         return true;
                     }});
    AddClick(steps, "server", [] { return Title().NetworkOptions->Menu; });
    steps.push_back({"port", [port] {
                         if (!Title().EnterPort)
                             return false;
                         for (int i = 0; i < 4; ++i)
                             Press(KEY_BACKSPACE);
                         platform::InjectText(std::to_string(port));
                         Press(KEY_ENTER);
                         return true;
                     }});
    steps.push_back({"name", [] {
                         if (!Title().EnterName)
                             return false;
                         platform::InjectText("ann");
                         Press(KEY_ENTER);
                         return true;
                     }});
    steps.push_back({"board screen", [&] {
                         if (!Idle(GameScreen) || !client || client->Initialized != NET_OPENING)
                             return false;
                         EXPECT_EQ(networkGame, 1);
                         EXPECT_EQ(myPlayer, 1);
                         EXPECT_EQ(client->Port, port);
                         link = TClient::Create("127.0.0.1", port);
                         return true;
                     }});
    steps.push_back({"names exchanged", [&] {
                         NetworkTick(peer, *link, driver.now);
                         return Board().GotName && peer.gotName;
                     }});
    steps.push_back({"chat", [&] {
                         EXPECT_EQ(PlayerName[1], "Ann");
                         EXPECT_EQ(PlayerName[2], "Bo");
                         EXPECT_EQ(peer.names[1], "Ann");
                         peer.chatLine = "good luck";
                         NetworkTick(peer, *link, driver.now);
                         return true;
                     }});
    steps.push_back({"chat shown", [&] {
                         NetworkTick(peer, *link, driver.now);
                         const auto& lines = Board().MessageBox->Message;
                         for (const auto& label : lines)
                             if (label && label->Text == "good luck")
                                 return true;
                         return false;
                     }});
    steps.push_back({"board shown", [] {
                         SaveScreenshot("network_board.png");
                         return true;
                     }});
    steps.push_back({"escape", [] {
                         Press(KEY_ESCAPE);
                         return true;
                     }});
    steps.push_back({"back on the title", [&] {
                         NetworkTick(peer, *link, driver.now);
                         return Idle(TitleScreen) && peer.Shown("** Ann exited the game. **");
                     }});
    steps.push_back({"the keys are the shell's again", [] {
                         EXPECT_EQ(Game->BlockKeys, 0);
                         EXPECT_EQ(client->Initialized, NET_ENDED);
                         platform::InjectQuit();
                         return true;
                     }});

    std::size_t next = 0;
    int waited = 0;
    std::string stuck;
    platform::SetFlipHook([&] {
        if (next == 0 && waited == 0)
            Game->FastOn();
        driver.Advance(5);
        if (next >= steps.size())
            return;
        if (steps[next].done()) {
            ++next;
            waited = 0;
        } else if (++waited > STEP_LIMIT) {
            stuck = steps[next].what;
            next = steps.size();
            platform::InjectQuit();
        }
    });
    try {
        RunProgram();
    } catch (const ProcessEnded&) {
    }
    platform::SetFlipHook(nullptr);
    EXPECT_EQ(next, steps.size());
    EXPECT_EQ(stuck, "") << "the run was stuck";
    client = nullptr;
}

} // namespace

// Networked games over a link between two network namespaces, which the test makes slow or cuts
// dead. The game's clock stands still here: only the system's own timers, which run on the wall
// clock, can tell that a link has died, so the waits are bounded by a deadline far beyond what
// they should take.

#include "game/net/client.h"
#include "game/net/network_turn.h"
#include "platform/net.h"
#include "tests/game/net/fake_board.h"
#include "tests/support/tun_link.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <linux/sockios.h>
#include <string>
#include <sys/ioctl.h>

namespace {

using testing_support::TFakeBoard;
using testing_support::TunLink;
using Clock = std::chrono::steady_clock;

// Each side's namespace has its ports to itself.
constexpr int PORT = 5337;
// A dead link ends in about 2 s: a probe after 1 s of silence and the end a second later, or 2 s
// of data unacknowledged.
constexpr platform::TLinkTimeouts SHORT_TIMEOUTS{1, 1, 2, 2000};
constexpr auto GIVE_UP = std::chrono::milliseconds(SHORT_TIMEOUTS.UnackedMs);
constexpr auto DEADLINE = std::chrono::seconds(20);
// Each way: a round trip well under the time a dead link takes to end.
constexpr int SLOW_MS = 150;

// Bytes sent and not yet acknowledged by the peer.
int Unacknowledged(const platform::TSocket& socket) {
    int count = -1;
    return ioctl(socket.Handle(), SIOCOUTQ, &count) == 0 ? count : -1;
}

// The host on side A of the link and the joining machine on side B, each a loop on its own board.
struct LinkedPeers {
    TunLink link;
    TFakeBoard host{1, "Hosta"};
    TFakeBoard joining{2, "Joiner"};
    TServerPtr hostLink;
    TClientPtr joinLink;
    int now = 1000;

    LinkedPeers() {
        platform::SetLinkTimeouts(SHORT_TIMEOUTS);
        link.On(0, [this] { hostLink = TServer::Create("", PORT); });
        link.On(1, [this] {
            joinLink = TClient::Create(platform::DottedIp(TunLink::SIDE_A_IP), PORT);
        });
    }

    void Tick() {
        NetworkTick(host, *hostLink, now);
        NetworkTick(joining, *joinLink, now);
    }

    // Ticks both, letting the network catch up between ticks, until `done` or for `limit`: true
    // when done.
    bool TickUntil(const std::function<bool()>& done, Clock::duration limit = DEADLINE) {
        const Clock::time_point end = Clock::now() + limit;
        while (Clock::now() < end) {
            Tick();
            if (done())
                return true;
            platform::SocketWaitReadable(hostLink->Connection, 5);
            platform::SocketWaitReadable(joinLink->Connection, 5);
        }
        return false;
    }

    bool Meet() {
        return TickUntil([this] { return host.gotName && joining.gotName; });
    }

    // Both sides have every byte they sent acknowledged.
    bool AllAcknowledged() const {
        return Unacknowledged(hostLink->Connection) == 0 &&
               Unacknowledged(joinLink->Connection) == 0;
    }

    bool Ended() const { return !hostLink->Connected() || !joinLink->Connected(); }
};

class DeadLink : public testing::Test {
protected:
    void SetUp() override {
        if (!peers.link.Ready())
            GTEST_SKIP() << "two network namespaces joined by TUN devices cannot be made here: "
                         << peers.link.Problem();
    }

    LinkedPeers peers;
};

TEST_F(DeadLink, APeerThatCanNoLongerBeReachedEndsTheGameOnBothSides) {
    ASSERT_TRUE(peers.Meet());
    ASSERT_TRUE(peers.TickUntil([&] { return peers.AllAcknowledged(); }));

    peers.link.Cut();
    // The joining side's line goes into the void: its data is never acknowledged. The host sends
    // nothing, so only probing can tell it that the peer is gone.
    peers.joining.chatLine = "Still there?";
    const Clock::time_point cut = Clock::now();
    EXPECT_TRUE(peers.TickUntil([&] {
        return peers.host.Shown(ExitLine("Joiner")) && peers.joining.Shown(ExitLine("Hosta"));
    })) << "both sides see the end";
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - cut);
    EXPECT_GE(took, GIVE_UP / 2) << "a link is not given up at its first silence";
    EXPECT_TRUE(peers.joining.Shown("Still there?"));
    EXPECT_EQ(peers.hostLink->Initialized, NET_ENDED);
    EXPECT_EQ(peers.joinLink->Initialized, NET_ENDED);
    EXPECT_FALSE(peers.host.chatOn || peers.joining.chatOn);
}

TEST_F(DeadLink, ASlowLinkKeepsAnIdleGameAndItsMessages) {
    peers.link.SetDelayMs(SLOW_MS);
    ASSERT_TRUE(peers.Meet());

    // Nothing to say for four times as long as a dead link lasts: the probes are answered.
    EXPECT_FALSE(peers.TickUntil([&] { return peers.Ended(); }, 4 * GIVE_UP));
    // Then lines both ways for twice as long, each waited for.
    const Clock::time_point end = Clock::now() + 2 * GIVE_UP;
    for (int i = 0; Clock::now() < end && !testing::Test::HasFailure(); ++i) {
        const std::string ping = "ping " + std::to_string(i), pong = "pong " + std::to_string(i);
        peers.host.chatLine = ping;
        EXPECT_TRUE(peers.TickUntil([&] { return peers.joining.Shown(ping); })) << ping;
        peers.joining.chatLine = pong;
        EXPECT_TRUE(peers.TickUntil([&] { return peers.host.Shown(pong); })) << pong;
    }
    EXPECT_FALSE(peers.Ended());
    EXPECT_FALSE(peers.host.Shown(ExitLine("Joiner")));
    EXPECT_FALSE(peers.joining.Shown(ExitLine("Hosta")));
}

} // namespace

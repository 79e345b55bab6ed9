#include "game/net/client.h"

#include "game/net/net_message.h"
#include "platform/system.h"

#include "tests/game/net/loopback.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using testing_support::FreePort;

using platform::TSocket;

// Every wait on a socket is bounded by this; the calls return as soon as the event happens.
constexpr int WAIT_MS = 5000;
const uint32_t LOOPBACK = 0x7F000001u;

// Steps both ends (time standing still) until both are connected; bounded.
bool ConnectBoth(TClient& host, TClient& joining) {
    for (int i = 0; i < 200; ++i) {
        host.ConnectStep(0);
        joining.ConnectStep(0);
        if (host.Initialized == NET_CONNECTED && joining.Initialized == NET_CONNECTED)
            return true;
        if (host.Initialized == NET_ENDED || joining.Initialized == NET_ENDED)
            return false;
        platform::ConnectPoll(joining.Connection, 20);
    }
    return false;
}

// The next message at `to`, waiting (bounded) for it to arrive.
std::string Receive(TClient& to) {
    for (int i = 0; i < 100; ++i) {
        std::string m = to.ReceiveString();
        if (!m.empty())
            return m;
        if (!platform::SocketWaitReadable(to.Connection, 50))
            continue;
    }
    return std::string();
}

struct Game {
    TServerPtr host = TServer::Create("127.0.0.1", FreePort());
    TClientPtr joining = TClient::Create("127.0.0.1", host->Port);
    Game() { EXPECT_TRUE(ConnectBoth(*host, *joining)); }
};

// A raw socket joined to a host, to send what no copy of the game would.
struct RawPeer {
    TServerPtr host = TServer::Create("127.0.0.1", FreePort());
    TSocket raw = platform::CreateTCPSocket();
    RawPeer() {
        EXPECT_EQ(host->ConnectStep(0), TNetEvent::Opened);
        EXPECT_EQ(platform::ConnectSocket(raw, LOOPBACK, host->Port, WAIT_MS), 1);
        EXPECT_EQ(platform::SocketWaitReadable(host->ServerSocket, WAIT_MS), 1);
        EXPECT_EQ(host->ConnectStep(0), TNetEvent::Connected);
    }
    void Send(const std::string& bytes) {
        EXPECT_EQ(raw.Send(bytes.data(), static_cast<int>(bytes.size())),
                  static_cast<int>(bytes.size()));
    }
};

TEST(Connection, CreateMakesObjectsWithoutConnecting) {
    auto joining = TClient::Create("10.0.0.2", 5337);
    EXPECT_EQ(joining->IP, 0x0A000002u);
    EXPECT_EQ(joining->Port, 5337);
    EXPECT_TRUE(joining->Connection.Valid());
    EXPECT_EQ(joining->Initialized, NET_CREATED);
    EXPECT_EQ(TClient::Create("no.such.host.invalid", 5337)->IP, 0u);

    auto host = TServer::Create("127.0.0.1", 5337);
    EXPECT_FALSE(host->Connection.Valid());
    EXPECT_TRUE(host->ServerSocket.Valid());
    EXPECT_EQ(host->ShutDown(), 0);
    EXPECT_FALSE(host->ServerSocket.Valid());
    EXPECT_EQ(host->Initialized, NET_ENDED);
    EXPECT_EQ(host->SendString("d"), 0) << "nothing goes out once ended";
    EXPECT_EQ(host->ReceiveString(), "");
}

TEST(Connection, OpeningFailuresEndTheConnection) {
    struct Case {
        const char* what;
        TClientPtr object;
    } cases[] = {
        {"unresolved host (IP 0 would reach this machine)", TClient::Create("...", 5337)},
        {"joining on port 0", TClient::Create("127.0.0.1", 0)},
        {"hosting on port 0", TServer::Create("127.0.0.1", 0)},
        {"hosting above 65535", TServer::Create("127.0.0.1", 70000)},
    };
    for (auto& c : cases) {
        EXPECT_EQ(c.object->ConnectStep(0), TNetEvent::Failed) << c.what;
        EXPECT_EQ(c.object->Initialized, NET_ENDED) << c.what;
        EXPECT_EQ(c.object->ConnectStep(0), TNetEvent::None) << c.what;
    }
    auto joining = TClient::Create("...", 5337);
    EXPECT_EQ(joining->Init(), 0);
    EXPECT_FALSE(joining->Connection.Valid()) << "a failed Init closes the socket";
    EXPECT_EQ(joining->Initialized, NET_CREATED) << "Init leaves the state alone";
}

TEST(Connection, ConnectToAClosedPortFails) {
    auto joining = TClient::Create("127.0.0.1", FreePort());
    EXPECT_EQ(joining->ConnectStep(0), TNetEvent::Opened);
    TNetEvent event = TNetEvent::None;
    for (int i = 0; i < 100 && event == TNetEvent::None; ++i) {
        platform::ConnectPoll(joining->Connection, 50);
        event = joining->ConnectStep(0);
    }
    EXPECT_EQ(event, TNetEvent::Failed);
    EXPECT_EQ(joining->Initialized, NET_ENDED);
}

TEST(Connection, AConnectThatHangsGivesUpAfterTheTimeout) {
    // A listener whose queue is full takes no more connections: further connects stay under way.
    TSocket listener = platform::CreateTCPSocket();
    ASSERT_EQ(platform::BindSocket(listener, 0), 1);
    ASSERT_EQ(platform::ListenSocket(listener, 1), 1);
    const int port = platform::LocalPort(listener);
    std::vector<TSocket> queued;
    for (int i = 0; i < 4; ++i) {
        queued.push_back(platform::CreateTCPSocket());
        platform::ConnectStart(queued.back(), LOOPBACK, port);
    }
    auto joining = TClient::Create("127.0.0.1", port);
    ASSERT_EQ(joining->ConnectStep(1000), TNetEvent::Opened);
    if (platform::ConnectPoll(joining->Connection, 100) != 0)
        GTEST_SKIP() << "this system took the connection all the same";
    EXPECT_EQ(joining->ConnectStep(1000 + CONNECT_TIMEOUT_MS - 1), TNetEvent::None);
    EXPECT_EQ(joining->ConnectStep(1000 + CONNECT_TIMEOUT_MS), TNetEvent::Failed);
    EXPECT_FALSE(joining->Connection.Valid());
}

TEST(Connection, MessagesOfOneTickArriveApartAndWhole) {
    Game game;
    EXPECT_EQ(game.host->Connected(), 1);
    EXPECT_EQ(game.joining->Connected(), 1);
    EXPECT_FALSE(game.host->ServerSocket.Valid()) << "no second peer can queue";
    const std::vector<std::string> sent = {
        MoveMessage(29),    HostWinMessage(), ChatMessage(std::string(35, 'd')),
        NameMessage("Ace"), MoveMessage(0),   ReadyMessage()};
    for (const auto& m : sent)
        EXPECT_EQ(game.host->SendString(m), 1);
    for (const auto& m : sent)
        EXPECT_EQ(Receive(*game.joining), m);
    EXPECT_EQ(game.joining->ReceiveString(), "") << "nothing more is waiting";
    EXPECT_EQ(game.joining->SendString(ThrowRequestMessage()), 1);
    EXPECT_EQ(Receive(*game.host), ThrowRequestMessage());
    EXPECT_EQ(game.host->SendString(""), 0);
    EXPECT_EQ(game.host->SendString(std::string(MAX_FRAME_PAYLOAD + 1, 'x')), 0);
}

TEST(Connection, OnTheWireAMessageIsItsLengthThenItsBytes) {
    RawPeer peer;
    EXPECT_EQ(peer.host->SendString(MoveMessage(0)), 1);
    EXPECT_EQ(peer.host->SendString(""), 0);
    EXPECT_EQ(peer.host->SendString("4Alice"), 1);
    std::string got;
    char buffer[64];
    while (got.size() < 9 && platform::SocketWaitReadable(peer.raw, WAIT_MS)) {
        const int n = peer.raw.Recv(buffer, sizeof buffer);
        if (n <= 0)
            break;
        got.append(buffer, static_cast<std::size_t>(n));
    }
    EXPECT_EQ(got, std::string("\x01\x00\x06"
                               "4Alice",
                               9));
}

TEST(Connection, TheEndIsNoticedAfterTheMessagesSentBeforeIt) {
    Game game;
    game.joining->SendString(ExitMessage());
    game.joining->ShutDown();
    EXPECT_EQ(game.joining->Initialized, NET_ENDED);
    EXPECT_EQ(Receive(*game.host), ExitMessage());
    TNetEvent event = TNetEvent::None;
    for (int i = 0; i < 100 && event == TNetEvent::None; ++i) {
        platform::SocketWaitReadable(game.host->Connection, 50);
        game.host->ReceiveString();
        event = game.host->ConnectStep(0);
    }
    EXPECT_EQ(event, TNetEvent::Ended);
    EXPECT_EQ(game.host->Initialized, NET_ENDED);
    EXPECT_EQ(game.host->Connected(), 0);
    EXPECT_EQ(game.host->SendString("d"), 0);
}

TEST(Connection, APeerThatClosesMidMessageLeavesNoHalfMessage) {
    RawPeer peer;
    peer.Send(EncodeFrame("d") + std::string("\x05"
                                             "ab",
                                             3));
    CloseSocket(peer.raw);
    EXPECT_EQ(Receive(*peer.host), "d");
    TNetEvent event = TNetEvent::None;
    for (int i = 0; i < 100 && event == TNetEvent::None; ++i) {
        platform::SocketWaitReadable(peer.host->Connection, 50);
        EXPECT_EQ(peer.host->ReceiveString(), "");
        event = peer.host->ConnectStep(0);
    }
    EXPECT_EQ(event, TNetEvent::Ended);
}

TEST(Connection, AFloodIsTakenOneMessageAtATimeWithABoundedInbox) {
    RawPeer peer;
    std::string flood;
    for (int i = 0; i < 20000; ++i)
        flood += EncodeFrame(BeaconMessage());
    // The peer's sends stall once our side stops reading; whatever was taken is delivered.
    std::size_t offset = 0;
    int received = 0;
    for (int round = 0; round < 100000 && received < 20000; ++round) {
        if (offset < flood.size()) {
            const int n =
                peer.raw.Send(flood.data() + offset, static_cast<int>(flood.size() - offset));
            if (n > 0)
                offset += static_cast<std::size_t>(n);
        }
        const std::string m = peer.host->ReceiveString();
        if (!m.empty()) {
            ASSERT_EQ(m, BeaconMessage());
            ++received;
        } else {
            platform::SocketWaitReadable(peer.host->Connection, 10);
        }
    }
    EXPECT_EQ(received, 20000);
}

TEST(Connection, APeerThatNeverReadsIsCutOff) {
    RawPeer peer; // the raw end reads nothing
    const std::string line = ChatMessage(std::string(35, 'x'));
    TNetEvent event = TNetEvent::None;
    for (int i = 0; i < 2000000 && event == TNetEvent::None; ++i) {
        peer.host->SendString(line);
        event = peer.host->ConnectStep(0);
    }
    EXPECT_EQ(event, TNetEvent::Ended);
    EXPECT_EQ(peer.host->Initialized, NET_ENDED);
}

TEST(Connection, GarbageFromThePeerGivesOnlyFramableMessages) {
    RawPeer peer;
    platform::SeedRnd(7102);
    std::string garbage(20000, '\0');
    for (char& c : garbage)
        c = static_cast<char>(platform::Rand(0, 255));
    peer.Send(garbage);
    CloseSocket(peer.raw);
    TNetEvent event = TNetEvent::None;
    for (int i = 0; i < 100000 && event == TNetEvent::None; ++i) {
        const std::string m = peer.host->ReceiveString();
        ASSERT_LE(m.size(), MAX_FRAME_PAYLOAD);
        if (m.empty())
            platform::SocketWaitReadable(peer.host->Connection, 10);
        event = peer.host->ConnectStep(0);
    }
    EXPECT_EQ(event, TNetEvent::Ended);
}

} // namespace

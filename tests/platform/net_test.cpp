#include "platform/net.h"

#include <gtest/gtest.h>

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

#include <string>

namespace {

using namespace platform;

// Every wait on a socket is bounded by this; the calls return as soon as the event happens.
constexpr int WAIT_MS = 5000;

// A listening socket on a free port of this machine.
struct Listener {
    TSocket socket = CreateTCPSocket();
    int port = 0;
    Listener() {
        EXPECT_EQ(BindSocket(socket, 0), 1);
        EXPECT_EQ(ListenSocket(socket, 1), 1);
        port = LocalPort(socket);
        EXPECT_GT(port, 0);
    }
};

// A connected pair over loopback: the joining end and the accepted end.
struct Pair {
    Listener listener;
    TSocket joining = CreateTCPSocket();
    TSocket accepted;
    Pair() {
        EXPECT_EQ(ConnectSocket(joining, HostIp("127.0.0.1"), listener.port, WAIT_MS), 1);
        EXPECT_EQ(SocketWaitReadable(listener.socket, WAIT_MS), 1);
        accepted = AcceptSocket(listener.socket);
        EXPECT_TRUE(accepted.Valid());
    }
};

// Reads until `count` bytes have come or the connection ends; each wait is bounded.
std::string ReadBytes(TSocket& socket, std::size_t count) {
    std::string got;
    char buffer[256];
    while (got.size() < count && SocketWaitReadable(socket, WAIT_MS)) {
        const int n = socket.Recv(buffer, sizeof buffer);
        if (n <= 0)
            break;
        got.append(buffer, static_cast<std::size_t>(n));
    }
    return got;
}

TEST(HostIp, DottedTextIsReadAsDecimalWithoutALookup) {
    struct Case {
        const char* text;
        uint32_t ip;
    } cases[] = {
        {"127.0.0.1", 0x7F000001u},
        {"255.255.255.255", 0xFFFFFFFFu},
        {"010.000.001.002", 0x0A000102u}, // decimal, where the C library would read octal
        {"1..2.3", 0x01000203u},          // an empty part counts 0
        {"...", 0u},
        {"256.0.0.1", 0u},
        {"1.2.3", 0u},
        {"1.2.3.4.5", 0u},
        {"4294967296.1.1.1", 0u}, // would wrap to 0.1.1.1 in 32 bits
        {"", 0u},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(HostIp(c.text), c.ip) << c.text;
    }
    EXPECT_EQ(HostIp("127.0.0.1", 1), 0u) << "a dotted address has only one address";
    EXPECT_EQ(HostIp("localhost"), 0x7F000001u);
    EXPECT_EQ(DottedIp(0x0A000102u), "10.0.1.2");
}

TEST(TcpSocket, LoopbackExchangeBothWays) {
    Pair pair;
    EXPECT_EQ(SocketConnected(pair.joining), 1);
    EXPECT_EQ(SocketConnected(pair.accepted), 1);
    // Every byte value passes unchanged, including NUL, line feed and 255.
    std::string bytes;
    for (int b = 0; b < 256; ++b)
        bytes.push_back(static_cast<char>(b));
    EXPECT_EQ(pair.joining.Send(bytes.data(), static_cast<int>(bytes.size())), 256);
    EXPECT_EQ(ReadBytes(pair.accepted, bytes.size()), bytes);
    EXPECT_EQ(pair.accepted.Send("ok", 2), 2);
    ASSERT_EQ(SocketWaitReadable(pair.joining, WAIT_MS), 1);
    EXPECT_EQ(SocketReadAvail(pair.joining), 2);
    EXPECT_EQ(ReadBytes(pair.joining, 2), "ok");
    // Nothing waiting: a read does not wait and says so.
    char c;
    EXPECT_EQ(pair.joining.Recv(&c, 1), 0);
    EXPECT_EQ(SocketReadAvail(pair.joining), 0);
}

TEST(TcpSocket, PeerCloseIsSeenAndLaterSendsFailWithoutASignal) {
    Pair pair;
    pair.accepted.Send("x", 1);
    CloseSocket(pair.accepted);
    EXPECT_EQ(ReadBytes(pair.joining, 1), "x") << "bytes sent before the close still arrive";
    ASSERT_EQ(SocketWaitReadable(pair.joining, WAIT_MS), 1);
    char c;
    EXPECT_EQ(pair.joining.Recv(&c, 1), -1);
    EXPECT_EQ(SocketConnected(pair.joining), 0);
    // The first send may still be taken; the reset that answers it makes later sends fail. None
    // may raise SIGPIPE (the test process would die).
    int result = 0;
    for (int i = 0; i < 100 && result >= 0; ++i) {
        result = pair.joining.Send("abc", 3);
        SocketWaitReadable(pair.joining, 10);
    }
    EXPECT_EQ(result, -1);
}

TEST(TcpSocket, ConnectToAClosedPortFails) {
    int port;
    {
        Listener gone;
        port = gone.port;
    }
    TSocket socket = CreateTCPSocket();
    ASSERT_EQ(ConnectStart(socket, HostIp("127.0.0.1"), port), 1);
    EXPECT_EQ(ConnectPoll(socket, WAIT_MS), -1);
    TSocket again = CreateTCPSocket();
    EXPECT_EQ(ConnectSocket(again, HostIp("127.0.0.1"), port, WAIT_MS), 0);
}

TEST(TcpSocket, EmptySocketsAndBadArgumentsAreRefusedQuietly) {
    TSocket empty;
    char c;
    EXPECT_EQ(empty.Send("a", 1), -1);
    EXPECT_EQ(empty.Recv(&c, 1), -1);
    EXPECT_EQ(BindSocket(empty, 5337), 0);
    EXPECT_EQ(ListenSocket(empty, 1), 0);
    EXPECT_FALSE(AcceptSocket(empty).Valid());
    EXPECT_EQ(ConnectStart(empty, HostIp("127.0.0.1"), 5337), 0);
    EXPECT_EQ(ConnectPoll(empty, 0), -1);
    EXPECT_EQ(SocketConnected(empty), 0);
    EXPECT_EQ(SocketReadAvail(empty), 0);
    EXPECT_EQ(LocalPort(empty), 0);
    CloseSocket(empty);
    CloseSocket(empty);

    TSocket socket = CreateTCPSocket();
    EXPECT_EQ(BindSocket(socket, 65536), 0);
    EXPECT_EQ(BindSocket(socket, -1), 0);
    EXPECT_EQ(ConnectStart(socket, HostIp("127.0.0.1"), 0), 0);
    EXPECT_EQ(SocketConnected(socket), 0) << "not connected yet";
    Listener listener;
    EXPECT_FALSE(AcceptSocket(listener.socket).Valid()) << "nobody is waiting";
}

int IntOption(const TSocket& socket, int level, int name) {
    int value = -1;
    socklen_t length = sizeof value;
    EXPECT_EQ(getsockopt(socket.Handle(), level, name, &value, &length), 0);
    return value;
}

// Both ends of a connection give up a peer that no longer answers, after the times in force when
// the socket was made.
TEST(TcpSocket, ConnectedAndAcceptedSocketsProbeAndTimeOutASilentPeer) {
    struct Case {
        const char* what;
        TLinkTimeouts timeouts;
    } cases[] = {
        {"default", LINK_TIMEOUTS},
        {"shortened", {1, 2, 3, 1500}},
    };
    EXPECT_EQ(LINK_TIMEOUTS.IdleS + LINK_TIMEOUTS.Probes * LINK_TIMEOUTS.IntervalS, 30);
    EXPECT_EQ(LINK_TIMEOUTS.UnackedMs, 30000);
    for (const auto& c : cases) {
        SetLinkTimeouts(c.timeouts);
        Pair pair;
        SetLinkTimeouts(LINK_TIMEOUTS);
        for (const TSocket* s : {&pair.joining, &pair.accepted}) {
            SCOPED_TRACE(std::string(c.what) + (s == &pair.joining ? " joining" : " accepted"));
            EXPECT_EQ(IntOption(*s, IPPROTO_TCP, TCP_NODELAY), 1);
            EXPECT_EQ(IntOption(*s, SOL_SOCKET, SO_KEEPALIVE), 1);
            EXPECT_EQ(IntOption(*s, IPPROTO_TCP, TCP_KEEPIDLE), c.timeouts.IdleS);
            EXPECT_EQ(IntOption(*s, IPPROTO_TCP, TCP_KEEPINTVL), c.timeouts.IntervalS);
            EXPECT_EQ(IntOption(*s, IPPROTO_TCP, TCP_KEEPCNT), c.timeouts.Probes);
            EXPECT_EQ(IntOption(*s, IPPROTO_TCP, TCP_USER_TIMEOUT), c.timeouts.UnackedMs);
        }
    }
}

TEST(TcpSocket, APortLeftCanBeBoundAgainAtOnce) {
    int port;
    {
        Pair pair; // a connection that stood, so the port passes through TIME_WAIT
        port = pair.listener.port;
        CloseSocket(pair.accepted);
    }
    TSocket again = CreateTCPSocket();
    EXPECT_EQ(BindSocket(again, port), 1);
    EXPECT_EQ(ListenSocket(again, 1), 1);
}

} // namespace

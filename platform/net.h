#pragma once
// TCP over IPv4 for network play. Every socket is non-blocking, so no call here holds up the logic
// tick except the waits a caller asks for by name (ConnectSocket, SocketWaitReadable); sends never
// raise SIGPIPE, small messages leave at once (TCP_NODELAY), and a connection whose peer can no
// longer be reached ends on its own (TLinkTimeouts). Addresses are IPv4 numbers with the first
// octet in the most significant byte.

#include <cstdint>
#include <string>

namespace platform {

// When the system gives up a connection whose peer can no longer be reached (unplugged, switched
// off, a route gone), which nothing on the wire would tell. After IdleS seconds without a byte from
// the peer it sends a probe every IntervalS seconds; the connection ends when the peer has been
// silent for UnackedMs with a probe unanswered, or when data sent has gone unacknowledged that
// long (a system that counts probes instead ends it after Probes of them, at the same time). A
// peer that is up answers the probes: an idle connection stands for ever. The end shows as a
// broken connection: Recv and Send give -1, SocketConnected 0.
struct TLinkTimeouts {
    int IdleS;
    int IntervalS;
    int Probes;
    int UnackedMs;
};
// About 30 s in all: 10 s of silence, then 4 probes 5 s apart.
constexpr TLinkTimeouts LINK_TIMEOUTS{10, 5, 4, 30000};
// The times of the sockets made or accepted from now on; tests shorten them.
void SetLinkTimeouts(const TLinkTimeouts& timeouts);

// One stream socket. It closes itself when it goes; it is empty (Valid() false) when the system
// refused one, after Close, or after it was moved from.
class TSocket {
public:
    TSocket() = default;
    explicit TSocket(int fd) : fd_(fd) {}
    ~TSocket() { Close(); }
    TSocket(TSocket&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
    TSocket& operator=(TSocket&& other) noexcept;
    TSocket(const TSocket&) = delete;
    TSocket& operator=(const TSocket&) = delete;

    bool Valid() const { return fd_ >= 0; }
    int Handle() const { return fd_; }

    // Sends up to count bytes without waiting (flags are added to MSG_NOSIGNAL and MSG_DONTWAIT):
    // the number of bytes taken, 0 when the socket cannot take any now, -1 when the connection is
    // broken or the socket is empty.
    int Send(const void* buffer, int count, int flags = 0);
    // Reads up to max bytes without waiting: the number read, 0 when none are waiting, -1 when the
    // peer has closed the connection, it broke, or the socket is empty.
    int Recv(void* buffer, int max);
    // Closing an empty or closed socket does nothing.
    void Close();

private:
    int fd_ = -1;
};

// The index-th IPv4 address of name; 0 when the lookup fails or yields fewer addresses. A text of
// digits and dots is read as four decimal parts without any lookup (empty parts count 0, leading
// zeros are decimal, not octal), and gives 0 unless it has exactly four parts of 0 to 255.
uint32_t HostIp(const std::string& name, int index = 0);
// "a.b.c.d" of an address.
std::string DottedIp(uint32_t ip);

// A new IPv4 stream socket, non-blocking, closed on exec, with TCP_NODELAY and the link timeouts;
// empty when refused.
TSocket CreateTCPSocket();
// Binds to port (0: any free port) on every local address; a port left moments ago can be bound
// again at once. 1 on success, 0 on failure (also for a port outside 0 to 65535).
int BindSocket(TSocket& socket, int port);
// 1 when the bound socket now listens for connections, else 0.
int ListenSocket(TSocket& socket, int backlog);
// The next waiting connection of a listening socket, non-blocking with TCP_NODELAY and the link
// timeouts; empty when none is waiting.
TSocket AcceptSocket(TSocket& listener);

// Starts a connection to ip:port without waiting: 1 when it stands or is under way, 0 when it
// failed at once (empty socket, port outside 1 to 65535).
int ConnectStart(TSocket& socket, uint32_t ip, int port);
// How a started connection stands after waiting at most waitMs (0: look without waiting):
// 1 connected, 0 still under way, -1 failed.
int ConnectPoll(TSocket& socket, int waitMs);
// Connects and waits at most timeoutMs for the attempt to end: 1 connected, 0 failed or timed out.
int ConnectSocket(TSocket& socket, uint32_t ip, int port, int timeoutMs);

// 1 while the socket's connection stands (nothing says the peer has closed it), else 0.
int SocketConnected(const TSocket& socket);
// Bytes received that can be read without waiting.
int SocketReadAvail(const TSocket& socket);
// Waits at most waitMs until a read would not wait (bytes, the peer's close or an error): 1 then,
// else 0.
int SocketWaitReadable(const TSocket& socket, int waitMs);
// The local port the socket is bound to, or 0.
int LocalPort(const TSocket& socket);
void CloseSocket(TSocket& socket);

} // namespace platform

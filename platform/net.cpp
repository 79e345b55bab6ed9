#include "platform/net.h"

#include <arpa/inet.h>
#include <cerrno>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace platform {

namespace {

TLinkTimeouts linkTimeouts = LINK_TIMEOUTS;

void SetOption(int fd, int level, int name, int value = 1) {
    setsockopt(fd, level, name, &value, sizeof value);
}

// What every connection gets. Turn messages are a few bytes each: they leave at once rather than
// wait for an acknowledgement to gather more. A game sends nothing unless a player acts: without
// probes a peer that vanished would never be noticed on an idle connection, and only after a
// quarter of an hour of retransmissions on one with data on its way.
void SetStreamOptions(int fd) {
    SetOption(fd, IPPROTO_TCP, TCP_NODELAY);
    SetOption(fd, SOL_SOCKET, SO_KEEPALIVE);
    SetOption(fd, IPPROTO_TCP, TCP_KEEPIDLE, linkTimeouts.IdleS);
    SetOption(fd, IPPROTO_TCP, TCP_KEEPINTVL, linkTimeouts.IntervalS);
    SetOption(fd, IPPROTO_TCP, TCP_KEEPCNT, linkTimeouts.Probes);
    SetOption(fd, IPPROTO_TCP, TCP_USER_TIMEOUT, linkTimeouts.UnackedMs);
}

// Reads "a.b.c.d" as four decimal parts. False for anything else.
bool ParseDotted(const std::string& text, uint32_t& ip) {
    uint32_t result = 0;
    int parts = 0;
    std::size_t start = 0;
    while (true) {
        const std::size_t dot = text.find('.', start);
        const std::size_t end = dot == std::string::npos ? text.size() : dot;
        uint32_t value = 0;
        for (std::size_t i = start; i < end; ++i) {
            value = value * 10 + static_cast<uint32_t>(text[i] - '0');
            if (value > 255)
                return false;
        }
        result = (result << 8) | value;
        if (++parts > 4)
            return false;
        if (dot == std::string::npos)
            break;
        start = dot + 1;
    }
    if (parts != 4)
        return false;
    ip = result;
    return true;
}

sockaddr_in Address(uint32_t ip, int port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(ip);
    address.sin_port = htons(static_cast<uint16_t>(port));
    return address;
}

// poll on one descriptor for up to waitMs; the events seen, or 0 on a timeout.
short PollOne(int fd, short events, int waitMs) {
    pollfd entry{fd, events, 0};
    int result;
    do
        result = poll(&entry, 1, waitMs < 0 ? 0 : waitMs);
    while (result < 0 && errno == EINTR);
    return result > 0 ? entry.revents : 0;
}

} // namespace

TSocket& TSocket::operator=(TSocket&& other) noexcept {
    if (this != &other) {
        Close();
        fd_ = other.fd_;
        other.fd_ = -1;
    }
    return *this;
}

int TSocket::Send(const void* buffer, int count, int flags) {
    if (fd_ < 0)
        return -1;
    if (count <= 0)
        return 0;
    ssize_t sent;
    do
        sent =
            send(fd_, buffer, static_cast<std::size_t>(count), flags | MSG_NOSIGNAL | MSG_DONTWAIT);
    while (sent < 0 && errno == EINTR);
    if (sent >= 0)
        return static_cast<int>(sent);
    return errno == EAGAIN || errno == EWOULDBLOCK ? 0 : -1;
}

int TSocket::Recv(void* buffer, int max) {
    if (fd_ < 0)
        return -1;
    if (max <= 0)
        return 0;
    ssize_t got;
    do
        got = recv(fd_, buffer, static_cast<std::size_t>(max), MSG_DONTWAIT);
    while (got < 0 && errno == EINTR);
    if (got > 0)
        return static_cast<int>(got);
    if (got == 0)
        return -1;
    return errno == EAGAIN || errno == EWOULDBLOCK ? 0 : -1;
}

void TSocket::Close() {
    if (fd_ >= 0) {
        close(fd_);
        fd_ = -1;
    }
}

uint32_t HostIp(const std::string& name, int index) {
    if (name.empty() || index < 0)
        return 0;
    if (name.find_first_not_of("0123456789.") == std::string::npos) {
        uint32_t ip = 0;
        return index == 0 && ParseDotted(name, ip) ? ip : 0;
    }
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(name.c_str(), nullptr, &hints, &found) != 0)
        return 0;
    uint32_t ip = 0;
    int n = 0;
    for (addrinfo* a = found; a; a = a->ai_next) {
        if (a->ai_family != AF_INET || !a->ai_addr)
            continue;
        if (n++ == index) {
            ip = ntohl(reinterpret_cast<const sockaddr_in*>(a->ai_addr)->sin_addr.s_addr);
            break;
        }
    }
    freeaddrinfo(found);
    return ip;
}

std::string DottedIp(uint32_t ip) {
    return std::to_string(ip >> 24) + "." + std::to_string((ip >> 16) & 255) + "." +
           std::to_string((ip >> 8) & 255) + "." + std::to_string(ip & 255);
}

void SetLinkTimeouts(const TLinkTimeouts& timeouts) {
    linkTimeouts = timeouts;
}

TSocket CreateTCPSocket() {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return TSocket();
    SetStreamOptions(fd);
    return TSocket(fd);
}

int BindSocket(TSocket& socket, int port) {
    if (!socket.Valid() || port < 0 || port > 65535)
        return 0;
    SetOption(socket.Handle(), SOL_SOCKET, SO_REUSEADDR);
    const sockaddr_in address = Address(INADDR_ANY, port);
    return bind(socket.Handle(), reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0
               ? 1
               : 0;
}

int ListenSocket(TSocket& socket, int backlog) {
    if (!socket.Valid())
        return 0;
    return listen(socket.Handle(), backlog < 1 ? 1 : backlog) == 0 ? 1 : 0;
}

TSocket AcceptSocket(TSocket& listener) {
    if (!listener.Valid())
        return TSocket();
    int fd;
    do
        fd = accept4(listener.Handle(), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return TSocket();
    SetStreamOptions(fd);
    return TSocket(fd);
}

int ConnectStart(TSocket& socket, uint32_t ip, int port) {
    if (!socket.Valid() || port < 1 || port > 65535)
        return 0;
    const sockaddr_in address = Address(ip, port);
    int result;
    do
        result =
            connect(socket.Handle(), reinterpret_cast<const sockaddr*>(&address), sizeof address);
    while (result < 0 && errno == EINTR);
    // EINTR above restarts a connect that may already be under way: EALREADY then says so.
    return result == 0 || errno == EINPROGRESS || errno == EALREADY || errno == EISCONN ? 1 : 0;
}

int ConnectPoll(TSocket& socket, int waitMs) {
    if (!socket.Valid())
        return -1;
    const short seen = PollOne(socket.Handle(), POLLOUT, waitMs);
    if (seen == 0)
        return 0;
    int error = 0;
    socklen_t length = sizeof error;
    if (getsockopt(socket.Handle(), SOL_SOCKET, SO_ERROR, &error, &length) != 0 || error != 0)
        return -1;
    if (seen & (POLLERR | POLLHUP | POLLNVAL))
        return -1;
    return 1;
}

int ConnectSocket(TSocket& socket, uint32_t ip, int port, int timeoutMs) {
    if (!ConnectStart(socket, ip, port))
        return 0;
    return ConnectPoll(socket, timeoutMs) == 1 ? 1 : 0;
}

int SocketConnected(const TSocket& socket) {
    if (!socket.Valid())
        return 0;
    sockaddr_in peer{};
    socklen_t length = sizeof peer;
    if (getpeername(socket.Handle(), reinterpret_cast<sockaddr*>(&peer), &length) != 0)
        return 0;
    const short seen = PollOne(socket.Handle(), POLLIN, 0);
    if (seen & (POLLERR | POLLNVAL))
        return 0;
    if (seen & (POLLIN | POLLHUP)) {
        // Readable: either bytes are waiting, or the peer has closed (a read would give 0).
        char probe;
        const ssize_t got = recv(socket.Handle(), &probe, 1, MSG_PEEK | MSG_DONTWAIT);
        if (got == 0)
            return 0;
        if (got < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)
            return 0;
    }
    return 1;
}

int SocketReadAvail(const TSocket& socket) {
    if (!socket.Valid())
        return 0;
    int count = 0;
    if (ioctl(socket.Handle(), FIONREAD, &count) != 0 || count < 0)
        return 0;
    return count;
}

int SocketWaitReadable(const TSocket& socket, int waitMs) {
    if (!socket.Valid())
        return 0;
    return PollOne(socket.Handle(), POLLIN, waitMs) != 0 ? 1 : 0;
}

int LocalPort(const TSocket& socket) {
    if (!socket.Valid())
        return 0;
    sockaddr_in address{};
    socklen_t length = sizeof address;
    if (getsockname(socket.Handle(), reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return 0;
    return ntohs(address.sin_port);
}

void CloseSocket(TSocket& socket) {
    socket.Close();
}

} // namespace platform

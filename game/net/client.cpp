#include "game/net/client.h"

#include "platform/system.h"

#include <algorithm>

TClientPtr client;

namespace {

constexpr int PORT_MIN = 1;
constexpr int PORT_MAX = 65535;
// What ShutDown reads away at most before it closes.
constexpr int DRAIN_LIMIT = 65536;

bool UsablePort(int port) {
    return port >= PORT_MIN && port <= PORT_MAX;
}

// A new connection object for the host's name and the port; its sockets are the caller's.
template <class T> std::shared_ptr<T> Make(const std::string& host, int port) {
    auto object = std::make_shared<T>();
    object->Host = host;
    object->IP = platform::HostIp(host, 0);
    object->Port = port;
    return object;
}

} // namespace

// ---- TClient ------------------------------------------------------------------------------------

TClientPtr TClient::Create(const std::string& host, int port) {
    auto object = Make<TClient>(host, port);
    object->Connection = platform::CreateTCPSocket();
    return object;
}

int TClient::Connected() const {
    return Initialized == NET_CONNECTED && !gone_ && platform::SocketConnected(Connection) ? 1 : 0;
}

int TClient::Init() {
    if (IP != 0 && UsablePort(Port) && platform::ConnectStart(Connection, IP, Port))
        return 1;
    platform::CloseSocket(Connection);
    return 0;
}

std::string TClient::ReceiveString() {
    if (Initialized != NET_CONNECTED)
        return std::string();
    Flush();
    char buffer[512];
    while (!gone_ && inbox_.Buffered() < INBOX_LIMIT) {
        const std::size_t room = std::min(sizeof buffer, INBOX_LIMIT - inbox_.Buffered());
        const int got = Connection.Recv(buffer, static_cast<int>(room));
        if (got < 0)
            gone_ = true;
        if (got <= 0)
            break;
        inbox_.Feed(buffer, static_cast<std::size_t>(got));
    }
    std::string message;
    return inbox_.Next(message) ? message : std::string();
}

bool TClient::MessageWaiting() const {
    return inbox_.Ready() || platform::SocketReadAvail(Connection) > 0;
}

int TClient::SendString(const std::string& text) {
    const std::string frame = EncodeFrame(text);
    if (frame.empty() || Initialized != NET_CONNECTED || gone_)
        return 0;
    outbox_ += frame;
    Flush();
    return 1;
}

void TClient::Flush() {
    while (!outbox_.empty() && !gone_) {
        const int sent = Connection.Send(outbox_.data(), static_cast<int>(outbox_.size()));
        if (sent < 0)
            gone_ = true;
        if (sent <= 0)
            break;
        outbox_.erase(0, static_cast<std::size_t>(sent));
    }
    if (gone_ || outbox_.size() > OUTBOX_LIMIT) {
        gone_ = true;
        outbox_.clear();
    }
}

int TClient::ShutDown() {
    Flush();
    char buffer[512];
    for (int drained = 0; drained < DRAIN_LIMIT;) {
        const int got = Connection.Recv(buffer, sizeof buffer);
        if (got <= 0)
            break;
        drained += got;
    }
    platform::CloseSocket(Connection);
    inbox_.Clear();
    outbox_.clear();
    Initialized = NET_ENDED;
    return 0;
}

TNetEvent TClient::ConnectStep(int now) {
    if (Initialized == NET_CREATED) {
        if (!Init()) {
            ShutDown();
            return TNetEvent::Failed;
        }
        Initialized = NET_OPENING;
        openedAt_ = now;
        return TNetEvent::Opened;
    }
    if (Initialized == NET_OPENING)
        return WaitStep(now);
    if (Initialized != NET_CONNECTED)
        return TNetEvent::None;
    Flush();
    // The end is noticed once every whole message that came before it has been taken; a frame
    // cut short by the end is dropped.
    if (gone_ && !inbox_.Ready()) {
        ShutDown();
        return TNetEvent::Ended;
    }
    return TNetEvent::None;
}

TNetEvent TClient::WaitStep(int now) {
    const int result = platform::ConnectPoll(Connection, 0);
    if (result == 1) {
        Initialized = NET_CONNECTED;
        connectedAt_ = now;
        return TNetEvent::Connected;
    }
    if (result < 0 || platform::MilliSecsDiff(now, openedAt_) >= CONNECT_TIMEOUT_MS) {
        ShutDown();
        return TNetEvent::Failed;
    }
    return TNetEvent::None;
}

TNetEvent TClient::DropPeer(int) {
    ShutDown();
    return TNetEvent::Failed;
}

// ---- TServer ------------------------------------------------------------------------------------

TServerPtr TServer::Create(const std::string& host, int port) {
    auto object = Make<TServer>(host, port);
    object->ServerSocket = platform::CreateTCPSocket();
    return object;
}

int TServer::Init() {
    return UsablePort(Port) && platform::BindSocket(ServerSocket, Port) &&
                   platform::ListenSocket(ServerSocket, 1)
               ? 1
               : 0;
}

int TServer::ShutDown() {
    TClient::ShutDown();
    platform::CloseSocket(ServerSocket);
    return 0;
}

TNetEvent TServer::WaitStep(int now) {
    platform::TSocket peer = platform::AcceptSocket(ServerSocket);
    if (!peer.Valid())
        return TNetEvent::None;
    Connection = std::move(peer);
    platform::CloseSocket(ServerSocket);
    Initialized = NET_CONNECTED;
    connectedAt_ = now;
    return TNetEvent::Connected;
}

TNetEvent TServer::DropPeer(int now) {
    platform::CloseSocket(Connection);
    inbox_.Clear();
    outbox_.clear();
    gone_ = false;
    // Opened again from the start, on the same port.
    ServerSocket = platform::CreateTCPSocket();
    Initialized = NET_CREATED;
    return ConnectStep(now);
}

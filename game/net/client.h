#pragma once
// The connection of a networked game: a TClient on the joining machine, its subclass TServer on
// the host, held in the global `client`. Messages go out framed (framing.h) through a queue that
// is flushed without waiting, and come back one whole message per ReceiveString. Nothing here ever
// waits on the network: opening the connection is a step taken once per logic tick (ConnectStep).

#include "framework/util/object.h"
#include "game/net/framing.h"
#include "platform/net.h"

#include <cstdint>
#include <memory>
#include <string>

// Values of Initialized.
constexpr int NET_CREATED = 0;   // made; nothing opened yet
constexpr int NET_OPENING = 1;   // the host listens for its peer, or the connect is under way
constexpr int NET_CONNECTED = 2; // the connection stands: the networked game runs
constexpr int NET_ENDED = -1;    // it could not be opened, or it has ended; nothing more happens

// What a ConnectStep did, so that the board screen can tell its player.
enum class TNetEvent {
    None,
    Opened,    // the host listens; the joining side's connect is under way
    Connected, // the peer is there
    Failed,    // the port could not be opened, or the host could not be reached
    Ended,     // the standing connection has ended (closed by the peer, broken, or flooded)
};

// The joining side gives up a connect that has not come through in this time.
constexpr int CONNECT_TIMEOUT_MS = 10000;
// Received bytes held at most; beyond them the socket is left unread, so a flood waits in the
// network and the peer's sends stall.
constexpr std::size_t INBOX_LIMIT = 4096;
// Bytes waiting to leave at most; a peer that lets this much pile up is not reading, and the
// connection is ended.
constexpr std::size_t OUTBOX_LIMIT = 65536;

class TClient : public TObject {
public:
    // A joining-side object for the host's name (or dotted address) and port: nothing is sent and
    // no connection is attempted. A name that does not resolve leaves IP 0.
    static std::shared_ptr<TClient> Create(const std::string& host, int port);

    // 1 while the connection stands, else 0.
    int Connected() const;
    // Opens this side without waiting. TClient: starts the connect to IP:Port; 1 when under way,
    // 0 when it cannot be made (IP 0 - which would reach this machine -, a port outside 1 to
    // 65535, no socket), and then Connection is closed. Initialized is not changed.
    virtual int Init();
    // The next whole message from the peer, "" when none has come; moves the queued messages on.
    std::string ReceiveString();
    // Queues one message and sends what the socket takes now. 1 when queued; 0, with nothing sent,
    // for the empty text, a text too long for a frame, or while the connection does not stand.
    int SendString(const std::string& text);
    // Sends what it can of the queue without waiting, reads away what the peer sent (so that
    // closing does not reset the connection under the last message), closes the sockets and
    // ends the connection (Initialized NET_ENDED). Always 0.
    virtual int ShutDown();

    // True when a message from the peer is waiting (whole, or still in the socket).
    bool MessageWaiting() const;
    // The time (MilliSecs) at which the connection came to stand.
    int ConnectedAt() const { return connectedAt_; }
    // Gives up the peer of a standing connection, at time `now`: the joining side ends the
    // connection, as a connect that failed (Failed); the host closes it and listens on its port
    // again for another player (Opened, or Failed when the port cannot be opened again).
    virtual TNetEvent DropPeer(int now);

    // One step of opening or keeping the connection, at time `now` (MilliSecs): Init from
    // NET_CREATED (a failure ends the connection), then waiting for the peer or the connect
    // without blocking; while connected it sends what is queued and notices the end of the
    // connection once every message that came before it has been taken.
    TNetEvent ConnectStep(int now);

    // The host's name or address as it was given to Create, for the lines that name it.
    std::string Host;
    int Port = 0;
    // IPv4 address of the host, first octet in the most significant byte; 0 when not resolved.
    std::uint32_t IP = 0;
    platform::TSocket Connection;
    int Initialized = NET_CREATED;

protected:
    // The step of NET_OPENING: the connect has come through, failed or timed out.
    virtual TNetEvent WaitStep(int now);
    // Sends what the socket takes of the queue.
    void Flush();

    TFrameDecoder inbox_;
    std::string outbox_;
    int openedAt_ = 0;
    int connectedAt_ = 0;
    // The peer closed or the connection broke; messages that came before may still be waiting.
    bool gone_ = false;
};
using TClientPtr = std::shared_ptr<TClient>;

class TServer : public TClient {
public:
    // A host-side object with a fresh, unbound ServerSocket; Connection stays empty until the peer
    // has been accepted into it.
    static std::shared_ptr<TServer> Create(const std::string& host, int port);

    // Binds ServerSocket to Port on every address and listens: 1, or 0 (also for port 0, which
    // would listen on a port nobody knows).
    int Init() override;
    int ShutDown() override;
    TNetEvent DropPeer(int now) override;

    platform::TSocket ServerSocket;

protected:
    // Accepts the one peer (the host waits as long as its player likes); the listening socket is
    // then closed, so no second peer can queue, until the peer is dropped.
    TNetEvent WaitStep(int now) override;
};
using TServerPtr = std::shared_ptr<TServer>;

// The connection of the networked game: a TServer on the host, a TClient on the joining machine.
extern TClientPtr client;

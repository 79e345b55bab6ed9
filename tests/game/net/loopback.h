#pragma once
// What the network tests share about connections over loopback: a free port, and ticking two
// ends until nothing is on its way between them.

#include "game/net/client.h"
#include "platform/net.h"

#include <functional>

namespace testing_support {

// A port of this machine that was free a moment ago.
inline int FreePort() {
    platform::TSocket probe = platform::CreateTCPSocket();
    platform::BindSocket(probe, 0);
    return platform::LocalPort(probe);
}

// Runs `tick` (one tick of each end) until no message has been waiting between the two ends for
// a few ticks in a row; bounded.
inline void Settle(const std::function<void()>& tick, const TClient& a, const TClient& b) {
    int quiet = 0;
    for (int i = 0; i < 500 && quiet < 3; ++i) {
        tick();
        quiet = a.MessageWaiting() || b.MessageWaiting() ? 0 : quiet + 1;
    }
}

} // namespace testing_support

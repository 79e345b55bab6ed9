#pragma once
// Two machines in one test process: two network namespaces of their own, each with a
// point-to-point TUN device, and a relay thread that copies the IP packets between the two
// devices. The test makes the link slow (every packet held a while) or dead (every packet
// dropped, with nothing sent in its place: no close, no reset), as a cable pulled out would.

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>

namespace testing_support {

class TunLink {
public:
    // Address of each side on the link.
    static constexpr std::uint32_t SIDE_A_IP = 0x0A4D0001u; // 10.77.0.1
    static constexpr std::uint32_t SIDE_B_IP = 0x0A4D0002u; // 10.77.0.2

    // Sets both sides up and starts the relay; Ready() says whether that worked, Problem() why
    // not (the machine refuses namespaces or TUN devices, for example when not run as root).
    TunLink();
    ~TunLink();
    TunLink(const TunLink&) = delete;
    TunLink& operator=(const TunLink&) = delete;

    bool Ready() const { return ready_; }
    const std::string& Problem() const { return problem_; }

    // Runs `make` with the calling thread in side A's (0) or side B's (1) namespace, then puts it
    // back: sockets made there belong to that side for good.
    template <class F> void On(int side, F make) {
        if (Enter(side)) {
            make();
            Leave();
        }
    }

    // Every packet from now on waits this long before it goes on.
    void SetDelayMs(int ms) { delayMs_ = ms; }
    // Every packet from now on is dropped.
    void Cut() { dead_ = true; }

private:
    bool Enter(int side);
    void Leave();
    bool MakeSide(int side, std::uint32_t local, std::uint32_t peer);
    void Relay();

    bool ready_ = false;
    std::string problem_;
    int home_ = -1;           // the namespace of the thread that made the link
    int space_[2] = {-1, -1}; // each side's namespace
    int tun_[2] = {-1, -1};
    int wake_[2] = {-1, -1}; // a pipe that stops the relay
    std::atomic<int> delayMs_{0};
    std::atomic<bool> dead_{false};
    std::thread relay_;
};

} // namespace testing_support

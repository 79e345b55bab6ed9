#include "tests/support/tun_link.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <fcntl.h>
#include <linux/if_tun.h>
#include <net/if.h>
#include <netinet/in.h>
#include <poll.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace testing_support {

namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* DEVICE = "link0";
// Larger than any packet a TUN device of the default MTU hands over.
constexpr std::size_t PACKET_MAX = 65536;

std::string Failed(const std::string& what) {
    return what + ": " + std::strerror(errno);
}

// The namespace the calling thread is in, as a descriptor that keeps it alive; -1 on failure.
int OwnNamespace() {
    return open("/proc/thread-self/ns/net", O_RDONLY | O_CLOEXEC);
}

void SetAddress(sockaddr& field, std::uint32_t ip) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(ip);
    std::memcpy(&field, &address, sizeof address);
}

struct Packet {
    Clock::time_point due;
    std::vector<char> bytes;
};

} // namespace

TunLink::TunLink() {
    home_ = OwnNamespace();
    if (home_ < 0) {
        problem_ = Failed("cannot open this thread's network namespace");
        return;
    }
    if (!MakeSide(0, SIDE_A_IP, SIDE_B_IP) || !MakeSide(1, SIDE_B_IP, SIDE_A_IP))
        return;
    if (pipe2(wake_, O_CLOEXEC) != 0) {
        problem_ = Failed("cannot make a pipe");
        return;
    }
    relay_ = std::thread([this] { Relay(); });
    ready_ = true;
}

TunLink::~TunLink() {
    if (relay_.joinable()) {
        const char stop = 0;
        if (write(wake_[1], &stop, 1) != 1)
            std::abort();
        relay_.join();
    }
    for (int fd : {home_, space_[0], space_[1], tun_[0], tun_[1], wake_[0], wake_[1]})
        if (fd >= 0)
            close(fd);
}

bool TunLink::Enter(int side) {
    return ready_ && setns(space_[side], CLONE_NEWNET) == 0;
}

void TunLink::Leave() {
    // Staying in a side's namespace would cut this thread off from every later test's loopback.
    if (setns(home_, CLONE_NEWNET) != 0)
        std::abort();
}

bool TunLink::MakeSide(int side, std::uint32_t local, std::uint32_t peer) {
    if (unshare(CLONE_NEWNET) != 0) {
        problem_ = Failed("cannot make a network namespace (needs root)");
        return false;
    }
    space_[side] = OwnNamespace();
    // The device belongs to the namespace /dev/net/tun is opened in.
    tun_[side] = open("/dev/net/tun", O_RDWR | O_NONBLOCK | O_CLOEXEC);
    const int control = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    bool made = false;
    if (space_[side] < 0)
        problem_ = Failed("cannot open the new network namespace");
    else if (tun_[side] < 0)
        problem_ = Failed("cannot open /dev/net/tun");
    else if (control < 0)
        problem_ = Failed("cannot make a socket in the new namespace");
    else {
        ifreq request{};
        std::strncpy(request.ifr_name, DEVICE, IFNAMSIZ - 1);
        request.ifr_flags = IFF_TUN | IFF_NO_PI;
        if (ioctl(tun_[side], TUNSETIFF, &request) != 0) {
            problem_ = Failed("cannot make a TUN device");
        } else {
            SetAddress(request.ifr_addr, local);
            const bool addressed = ioctl(control, SIOCSIFADDR, &request) == 0;
            SetAddress(request.ifr_dstaddr, peer);
            const bool paired = addressed && ioctl(control, SIOCSIFDSTADDR, &request) == 0;
            request.ifr_flags = IFF_UP | IFF_RUNNING | IFF_POINTOPOINT | IFF_NOARP;
            if (!paired || ioctl(control, SIOCSIFFLAGS, &request) != 0)
                problem_ = Failed("cannot set up the TUN device");
            else
                made = true;
        }
    }
    if (control >= 0)
        close(control);
    if (setns(home_, CLONE_NEWNET) != 0)
        std::abort();
    return made;
}

void TunLink::Relay() {
    std::deque<Packet> waiting[2]; // by the side the packets go to
    std::vector<char> buffer(PACKET_MAX);
    while (true) {
        const Clock::time_point now = Clock::now();
        for (int to = 0; to < 2; ++to) {
            while (!waiting[to].empty() && waiting[to].front().due <= now) {
                const std::vector<char>& bytes = waiting[to].front().bytes;
                // A write the device refuses (its queue full) drops the packet, as a busy router
                // would.
                const ssize_t sent = dead_ ? 0 : write(tun_[to], bytes.data(), bytes.size());
                static_cast<void>(sent);
                waiting[to].pop_front();
            }
        }
        int waitMs = -1;
        for (const auto& queue : waiting)
            if (!queue.empty()) {
                const auto left =
                    std::chrono::ceil<std::chrono::milliseconds>(queue.front().due - now);
                const int ms = static_cast<int>(left.count());
                waitMs = waitMs < 0 || ms < waitMs ? ms : waitMs;
            }
        pollfd entries[3] = {{tun_[0], POLLIN, 0}, {tun_[1], POLLIN, 0}, {wake_[0], POLLIN, 0}};
        if (poll(entries, 3, waitMs) < 0 && errno != EINTR)
            return;
        if (entries[2].revents)
            return;
        for (int from = 0; from < 2; ++from) {
            if (!(entries[from].revents & POLLIN))
                continue;
            ssize_t got;
            while ((got = read(tun_[from], buffer.data(), buffer.size())) > 0) {
                // Only IPv4 crosses: the system's own IPv6 chatter has no part in the test.
                if (dead_ || (buffer[0] & 0xF0) != 0x40)
                    continue;
                waiting[1 - from].push_back(
                    {Clock::now() + std::chrono::milliseconds(delayMs_.load()),
                     std::vector<char>(buffer.begin(), buffer.begin() + got)});
            }
        }
    }
}

} // namespace testing_support

// Waits for what happens in real time beside the program's manual clock: a
// simulated device's thread, the kernel passing bytes through a
// pseudo-terminal or a loopback socket. Each waits on the condition itself
// with a bound of seconds, so a loaded machine makes a test slower, never
// wrong; none of them moves the program's clock.
#pragma once
#include <poll.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/serial_port.h"
#include "sim/pty_pair.h"

namespace realwait {

constexpr int kBoundMs = 5000;

// Waits until `done`, at most `ms` of real time, with the program standing
// still: for what only the test's own end takes in.
template <class Done>
bool Wait(Done done, int ms = kBoundMs) {
    const long long end = MonotonicMs() + ms;
    for (;;) {
        if (done()) return true;
        if (MonotonicMs() >= end) return false;
        ::poll(nullptr, 0, 1);
    }
}

// Waits until `done`, at most `ms` of real time. The program's posted
// messages and socket events are delivered meanwhile (the clock stands
// still), so `done` may look at what the program has taken in.
template <class Done>
bool Until(Done done, int ms = kBoundMs) {
    const long long end = MonotonicMs() + ms;
    for (;;) {
        plat::manual_clock::Advance(0);
        if (done()) return true;
        if (MonotonicMs() >= end) return false;
        ::poll(nullptr, 0, 1);
    }
}

// Waits until the program can read (or has read) `count` bytes more on the
// port at `path` than `before` says, the bytes a device end has just written.
inline bool Arrived(const std::string& path, const plat::SerialTrafficCount& before, std::size_t count,
                    int ms = kBoundMs) {
    return Wait([&] {
        const plat::SerialTrafficCount t = plat::SerialTraffic(path);
        return t.read + t.pending >= before.read + before.pending + count;
    }, ms);
}

// The test's end of one of the program's ports on a pseudo-terminal, kept in
// step with the program's own byte counts for the port: what the program
// wrote is read to the last byte, what the test writes is waited for until
// the program can read all of it. A check that nothing was written needs no
// waiting: the counts say so.
class PortEnd {
public:
    explicit PortEnd(PtyPair& pty) : pty_(pty), base_(plat::SerialTraffic(pty.slavePath())) {}

    // Everything the program wrote that the test has not read yet.
    std::vector<std::uint8_t> take(int ms = kBoundMs) {
        std::vector<std::uint8_t> got;
        const long long end = MonotonicMs() + ms;
        while (taken_ < written()) {
            const long left = long(end - MonotonicMs());
            if (left <= 0) break;
            const std::vector<std::uint8_t> b = pty_.read(std::size_t(written() - taken_), int(left));
            taken_ += b.size();
            got.insert(got.end(), b.begin(), b.end());
        }
        return got;
    }
    std::string takeText(int ms = kBoundMs) {
        const std::vector<std::uint8_t> b = take(ms);
        return std::string(b.begin(), b.end());
    }
    // Writes `b` and waits until the program can read all of it.
    bool give(const std::vector<std::uint8_t>& b, int ms = kBoundMs) {
        pty_.write(b);
        given_ += b.size();
        return arrived(ms);
    }
    bool give(const std::string& s, int ms = kBoundMs) { return give(std::vector<std::uint8_t>(s.begin(), s.end()), ms); }
    // Counts bytes the device end wrote by other means (a simulator's answers).
    void gave(std::size_t n) { given_ += n; }
    // Waits until everything given can be read by the program (or was).
    bool arrived(int ms = kBoundMs) const {
        return Wait([&] {
            const plat::SerialTrafficCount t = plat::SerialTraffic(pty_.slavePath());
            return t.read - base_.read + t.pending >= given_;
        }, ms);
    }
    // Bytes the program wrote to the port since this end was made.
    std::uint64_t written() const { return plat::SerialTraffic(pty_.slavePath()).written - base_.written; }

private:
    PtyPair& pty_;
    plat::SerialTrafficCount base_;
    std::uint64_t taken_ = 0;
    std::uint64_t given_ = 0;
};

}  // namespace realwait

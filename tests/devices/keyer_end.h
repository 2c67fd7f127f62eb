// The program's keyer port in step with the simulated keyer: the keyer takes
// in everything the program wrote, and what the keyer wrote back is waited
// for until the program can read it. The counts come from the program's own
// byte counts for the port and from what the keyer logged, so neither a
// loaded machine nor the terminal's late hand-over of bytes changes a step.
#pragma once
#include <algorithm>
#include <cstdint>
#include <vector>

#include "civ/accessory_ports.h"
#include "common/real_waits.h"
#include "platform/serial_port.h"
#include "sim/sim_keyer.h"

class KeyerEnd {
public:
    explicit KeyerEnd(sim::SimKeyer& keyer) : keyer_(keyer), base_(plat::SerialTraffic(keyer.slavePath())) {}

    // Bytes the program wrote to the keyer's port.
    std::size_t written() const { return plat::SerialTraffic(keyer_.slavePath()).written - base_.written; }
    // The keyer takes in (and answers) everything the program wrote.
    bool take() {
        return realwait::Until([&] {
            keyer_.serve(5);
            return keyer_.received().size() >= written();
        });
    }
    // The keyer sends `bytes` of its own accord.
    void report(const std::vector<std::uint8_t>& bytes) {
        keyer_.report(bytes);
        reported_ += bytes.size();
    }
    // Both ways: the keyer has taken in what the program wrote, and the
    // program can read all the keyer wrote (while it has the port open).
    bool settle() {
        if (!take()) return false;
        if (g_yaltport == plat::kInvalidPort) return true;
        const std::size_t toProgram = answered() + reported_;
        return realwait::Until([&] {
            const plat::SerialTrafficCount t = plat::SerialTraffic(keyer_.slavePath());
            return t.read - base_.read + t.pending >= toProgram;
        });
    }

private:
    // What the keyer wrote back on its own: the version on a host open, the
    // pot on a pot read, and each text byte's echo.
    std::size_t answered() const {
        const auto& c = keyer_.commands();
        return std::size_t(std::count(c.begin(), c.end(), std::vector<std::uint8_t>{0x00, 0x02}) +
                           std::count(c.begin(), c.end(), std::vector<std::uint8_t>{0x07})) +
               keyer_.sent().size();
    }

    sim::SimKeyer& keyer_;
    plat::SerialTrafficCount base_;
    std::size_t reported_ = 0;
};

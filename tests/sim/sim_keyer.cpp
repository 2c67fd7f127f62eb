#include "sim/sim_keyer.h"

#include <algorithm>

namespace sim {
namespace {
// Parameter bytes after each command byte (the admin command's is its
// sub-command; the defaults block carries 15 values).
std::size_t Params(std::uint8_t cmd) {
    switch (cmd) {
    case 0x00: return 1;
    case 0x02: case 0x03: case 0x09: case 0x0B: case 0x0E: case 0x10: case 0x11: case 0x17: return 1;
    case 0x04: return 2;
    case 0x05: return 3;
    case 0x0F: return 15;
    default: return 0;  // 07 pot read, 0A clear buffer
    }
}
}  // namespace

SimKeyer::SimKeyer(std::uint8_t version) : version_(version) {}

bool SimKeyer::got(const std::vector<std::uint8_t>& c) const {
    return std::find(commands_.begin(), commands_.end(), c) != commands_.end();
}

void SimKeyer::serve(int ms) {
    const long long end = MonotonicMs() + ms;
    long long quiet = MonotonicMs() + 10;
    while (MonotonicMs() < end && MonotonicMs() < quiet) {
        const std::vector<std::uint8_t> in = pty_.read(1, 2);
        if (in.empty()) continue;
        quiet = MonotonicMs() + 10;
        for (std::uint8_t b : in) take(b);
    }
}

void SimKeyer::take(std::uint8_t b) {
    received_.push_back(b);
    if (!pending_.empty()) {
        pending_.push_back(b);
        if (--want_ == 0) {
            command(pending_);
            pending_.clear();
        }
        return;
    }
    if (b < 0x20) {
        want_ = Params(b);
        if (want_ == 0) {
            command({b});
        } else {
            pending_.push_back(b);
        }
        return;
    }
    if (!open_) return;
    // Text: sent in CW and echoed back as it goes out.
    sent_ += char(b);
    pty_.write({b});
}

void SimKeyer::command(const std::vector<std::uint8_t>& c) {
    commands_.push_back(c);
    switch (c[0]) {
    case 0x00:
        if (c[1] == 0x02) {
            open_ = true;
            pty_.write({version_});
        } else if (c[1] == 0x03) {
            open_ = false;
            keyDown_ = false;
        }
        break;
    case 0x02: speed_ = c[1]; break;
    case 0x07: pty_.write({std::uint8_t(0x80 | 8)}); break;
    case 0x09: pins_ = c[1]; break;
    case 0x0A:
        ++clears_;
        break;
    case 0x0B: keyDown_ = c[1] != 0; break;
    case 0x0E: mode_ = c[1]; break;
    case 0x0F:
        mode_ = c[1];
        pins_ = c[14];
        break;
    default: break;
    }
}

}  // namespace sim

#include "sim/sim_device.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <memory>

namespace sim {

SimDevice::SimDevice(Responder responder) : responder_(std::move(responder)) {
    thread_ = std::thread([this] { run(); });
}

SimDevice::~SimDevice() {
    running_ = false;
    if (thread_.joinable()) thread_.join();
}

void SimDevice::run() {
    std::uint8_t buf[512];
    while (running_) {
        pollfd p{pty_.master(), POLLIN, 0};
        if (::poll(&p, 1, 20) <= 0) continue;
        const ssize_t n = ::read(pty_.master(), buf, sizeof buf);
        if (n <= 0) continue;
        Bytes chunk(buf, buf + n);
        {
            std::lock_guard<std::mutex> lock(mutex_);
            received_.insert(received_.end(), chunk.begin(), chunk.end());
        }
        if (responder_) {
            Bytes answer = responder_(chunk);
            if (!answer.empty()) send(answer);
        }
    }
}

Bytes SimDevice::received() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return received_;
}

std::string SimDevice::text() const {
    Bytes b = received();
    return std::string(b.begin(), b.end());
}

void SimDevice::clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    received_.clear();
}

bool SimDevice::waitFor(const Bytes& needle, int ms) const {
    const long long end = MonotonicMs() + ms;
    do {
        if (Find(received(), needle) >= 0) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    } while (MonotonicMs() < end);
    return false;
}

bool SimDevice::waitFor(const std::string& needle, int ms) const {
    return waitFor(Bytes(needle.begin(), needle.end()), ms);
}

void SimDevice::send(const Bytes& b) { pty_.write(b); }

long Find(const Bytes& hay, const Bytes& needle, std::size_t from) {
    if (needle.empty() || hay.size() < needle.size() || from > hay.size()) return -1;
    auto it = std::search(hay.begin() + long(from), hay.end(), needle.begin(), needle.end());
    return it == hay.end() ? -1 : long(it - hay.begin());
}

namespace {
// Line assembly for the text devices: calls `line` for every CR-ended line.
struct Lines {
    std::string carry;
    template <class F>
    Bytes feed(const Bytes& in, F line) {
        Bytes out;
        for (std::uint8_t c : in) {
            if (c != '\r') {
                carry += char(c);
                continue;
            }
            std::string reply = line(carry);
            out.insert(out.end(), reply.begin(), reply.end());
            carry.clear();
        }
        return out;
    }
};
}  // namespace

SimDevice::Responder Alpha87Responder(int watts) {
    auto lines = std::make_shared<Lines>();
    return [lines, watts](const Bytes& in) {
        return lines->feed(in, [watts](const std::string& l) {
            return l == "PWR" ? "PWR " + std::to_string(watts) + "\r" : std::string();
        });
    };
}

SimDevice::Responder LdgTunerResponder(std::uint16_t setting) {
    return [setting](const Bytes& in) {
        Bytes out;
        for (std::uint8_t c : in) {
            if (c == 0x06) {  // tune: a power record, then good tune
                Bytes r{0xA5, 6, 0, 0, 0xA5, 9, 0, 0};
                out.insert(out.end(), r.begin(), r.end());
            }
            if (c == ';' || c == 0x05) {  // the tuned setting
                Bytes r{0xA5, 7, std::uint8_t(setting >> 8), std::uint8_t(setting & 0xFF)};
                out.insert(out.end(), r.begin(), r.end());
            }
        }
        return out;
    };
}

SimDevice::Responder PowerMasterResponder(const std::string& reading) {
    return [reading](const Bytes& in) {
        const Bytes request{0x02, 'D', '2', 0x03};
        if (Find(in, request) < 0) return Bytes{};
        Bytes out{0x02};
        out.insert(out.end(), reading.begin(), reading.end());
        const Bytes tail{0x03, '0', '0', '\r', '\n'};
        out.insert(out.end(), tail.begin(), tail.end());
        return out;
    };
}

SimDevice::Responder TextRotorResponder() {
    auto lines = std::make_shared<Lines>();
    auto bearing = std::make_shared<std::string>("000");
    return [lines, bearing](const Bytes& in) {
        return lines->feed(in, [bearing](const std::string& l) {
            if (l == "A" || l == "U") return "A=" + *bearing + ".0\r";
            if (l.size() == 4 && l[0] == 'A') {
                *bearing = l.substr(1);
                return "A=" + *bearing + ".0 M\r";
            }
            if (l.size() == 3) {
                *bearing = l;
                return "A=" + *bearing + ".0 M\r";
            }
            return std::string();
        });
    };
}

}  // namespace sim

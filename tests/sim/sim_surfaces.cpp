#include "sim/sim_surfaces.h"

#include <chrono>
#include <cstdio>

namespace sim {

SurfaceBytes SimPod::KnobRecord(int count) {
    const auto v = std::uint16_t(std::int16_t(count));
    return {'!', std::uint8_t(v >> 8), std::uint8_t(v & 0xFF), 0, 0};
}

SimFlexKnob::SimFlexKnob(std::string id) : id_(std::move(id)) {
    if (pty_.ok()) thread_ = std::thread([this] { run(); });
}

SimFlexKnob::~SimFlexKnob() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
}

void SimFlexKnob::run() {
    // The knob announces itself when the port is set to its speed; the
    // short pause lets the program's purge on open go by first.
    long last = pty_.slaveBaud();
    while (!stop_ && !unplugged_) {
        const long now = pty_.slaveBaud();
        if (now == 1200 && last != 1200) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            send(id_);
            identified_ = true;
        }
        last = now;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

void SimFlexKnob::send(const std::string& text) {
    if (!unplugged_) pty_.write(SurfaceBytes(text.begin(), text.end()));
}

std::string SimFlexKnob::TurnTokens(int count) {
    if (count == 1) return "U;";
    if (count == -1) return "D;";
    char t[8];
    std::snprintf(t, sizeof t, "%c%02d;", count > 0 ? 'U' : 'D', (count < 0 ? -count : count) % 100);
    return t;
}

std::string SimFlexKnob::written(std::size_t want, int ms) {
    const SurfaceBytes b = pty_.read(want, ms);
    return std::string(b.begin(), b.end());
}

void SimFlexKnob::unplug() {
    unplugged_ = true;
    if (thread_.joinable()) thread_.join();
    pty_.closeMaster();
}

}  // namespace sim

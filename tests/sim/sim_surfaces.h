// Simulated control surfaces on pseudo-terminals: the keypad pod (key and
// knob records, and a receiver's start-up text on the same line) and the
// FlexControl knob (';' tokens, the identification when the port is
// opened at 1200 baud, and the LED commands the program sends back).
#pragma once
#include <atomic>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "sim/pty_pair.h"

namespace sim {

using SurfaceBytes = std::vector<std::uint8_t>;

class SimPod {
public:
    bool ok() const { return pty_.ok(); }
    bool link(const std::string& path) const { return pty_.link(path); }
    const std::string& slavePath() const { return pty_.slavePath(); }
    long portBaud() const { return pty_.slaveBaud(); }

    static SurfaceBytes KeyRecord(std::uint8_t code) { return {'U', code, '\r'}; }
    static SurfaceBytes KnobRecord(int count);
    void press(std::uint8_t code) { send(KeyRecord(code)); }
    void release(std::uint8_t code) { send(KeyRecord(std::uint8_t(code | 0x80))); }
    void knob(int count) { send(KnobRecord(count)); }
    void send(const SurfaceBytes& bytes) { pty_.write(bytes); }
    // What the program wrote to the pod line (receiver answers).
    SurfaceBytes written(std::size_t want, int ms = 300) { return pty_.read(want, ms); }
    void unplug() { pty_.closeMaster(); }

private:
    PtyPair pty_;
};

class SimFlexKnob {
public:
    // Starts a thread that answers an open at 1200 baud with `id`.
    explicit SimFlexKnob(std::string id = "F0001;");
    ~SimFlexKnob();
    SimFlexKnob(const SimFlexKnob&) = delete;
    SimFlexKnob& operator=(const SimFlexKnob&) = delete;

    bool ok() const { return pty_.ok(); }
    bool link(const std::string& path) const { return pty_.link(path); }
    // True once the identification went out.
    bool identified() const { return identified_; }

    void send(const std::string& text);
    // The turn tokens for `count` steps ("U;" one step, "Unn;" more).
    static std::string TurnTokens(int count);
    // What the program wrote (LED commands), waiting up to `ms`.
    std::string written(std::size_t want, int ms = 300);
    void unplug();

private:
    void run();
    PtyPair pty_;
    std::string id_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> identified_{false};
    std::atomic<bool> unplugged_{false};
    std::thread thread_;
};

}  // namespace sim

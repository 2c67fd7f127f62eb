// Simulated serial accessories on pseudo-terminals: a background thread
// reads what the program wrote, logs it and lets the device answer. Each
// device kind is a responder: it gets the bytes as they arrive and returns
// the answer to write back (often nothing).
#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "sim/pty_pair.h"

namespace sim {

using Bytes = std::vector<std::uint8_t>;

class SimDevice {
public:
    using Responder = std::function<Bytes(const Bytes& received)>;
    explicit SimDevice(Responder responder = nullptr);
    ~SimDevice();
    SimDevice(const SimDevice&) = delete;
    SimDevice& operator=(const SimDevice&) = delete;

    bool ok() const { return pty_.ok(); }
    const std::string& slavePath() const { return pty_.slavePath(); }
    bool link(const std::string& linkPath) const { return pty_.link(linkPath); }
    long portBaud() const { return pty_.slaveBaud(); }

    // Every byte the program wrote, in order.
    Bytes received() const;
    std::string text() const;
    void clear();
    // Waits (real time) until `needle` appears in what was received.
    bool waitFor(const Bytes& needle, int ms = 2000) const;
    bool waitFor(const std::string& needle, int ms = 2000) const;
    // Raw bytes to the program, now (unasked replies, noise).
    void send(const Bytes& b);
    void send(const std::string& s) { send(Bytes(s.begin(), s.end())); }

private:
    void run();

    PtyPair pty_;
    Responder responder_;
    mutable std::mutex mutex_;
    Bytes received_;
    std::thread thread_;
    std::atomic<bool> running_{true};
};

// Position of `needle` in `hay`, or -1.
long Find(const Bytes& hay, const Bytes& needle, std::size_t from = 0);

// Device kinds.
// The Alpha 87A: "PWR\r" is answered "PWR <watts>\r".
SimDevice::Responder Alpha87Responder(int watts);
// The LDG AT-200PC: every command byte 05 (recall) and the tune byte 06
// are answered with the records a tuner sends (setting, good tune).
SimDevice::Responder LdgTunerResponder(std::uint16_t setting);
// The PowerMaster: its request is answered with a reading.
SimDevice::Responder PowerMasterResponder(const std::string& reading);
// A text-protocol rotor: a bearing command is answered with "A=ddd.0 M\r"
// and a poll ("A\r") with "A=ddd.0\r".
SimDevice::Responder TextRotorResponder();

}  // namespace sim

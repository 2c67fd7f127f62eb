// A simulated serial accessory whose line a test step can settle: it counts
// what its thread took in and answered, so a step waits until the device has
// taken in every byte the program wrote and the program can read every byte
// the device wrote back. Steps of the program's clock then do not depend on
// how soon the device's thread or the terminal gets the processor.
#pragma once
#include <algorithm>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/real_waits.h"
#include "platform/serial_port.h"
#include "sim/sim_device.h"
#include "sim/sim_radio.h"

class SettledDevice : public sim::SimDevice {
public:
    explicit SettledDevice(Responder responder = nullptr)
        : SettledDevice(std::make_shared<Counts>(), std::move(responder)) {}
    ~SettledDevice() {
        auto& all = Live();
        all.erase(std::remove(all.begin(), all.end(), this), all.end());
    }

    // Raw bytes to the program, counted.
    void send(const sim::Bytes& b) {
        given_ += b.size();
        SimDevice::send(b);
    }
    void send(const std::string& s) { send(sim::Bytes(s.begin(), s.end())); }

    // Waits (real time, bounded) until the line is quiet both ways. A port
    // the program closed with bytes unread never reads them: once the wait
    // for them runs out it is not waited for again until the program
    // writes once more.
    bool settle() const {
        const std::uint64_t written = plat::SerialTraffic(slavePath()).written - base_.written;
        if (!realwait::Wait([&] { return counts_->taken >= written; })) return false;
        if (deaf_ && written == deafAt_) return true;
        const std::uint64_t toProgram = counts_->answered + given_;
        const bool ok = realwait::Wait([&] {
            const plat::SerialTrafficCount t = plat::SerialTraffic(slavePath());
            return t.read - base_.read + t.pending >= toProgram;
        });
        deaf_ = !ok;
        deafAt_ = written;
        return ok;
    }
    // Every live device, for the clock runner.
    static std::vector<SettledDevice*>& Live() {
        static std::vector<SettledDevice*> all;
        return all;
    }

private:
    struct Counts {
        std::atomic<std::uint64_t> taken{0}, answered{0};
    };
    // The answer is counted before the device writes it, and the bytes
    // taken in after that, so a settle never sees the one without the other.
    static Responder Counted(std::shared_ptr<Counts> counts, Responder inner) {
        return [counts, inner](const sim::Bytes& in) {
            sim::Bytes answer = inner ? inner(in) : sim::Bytes{};
            counts->answered += answer.size();
            counts->taken += in.size();
            return answer;
        };
    }
    SettledDevice(std::shared_ptr<Counts> counts, Responder responder)
        : SimDevice(Counted(counts, std::move(responder))),
          counts_(std::move(counts)),
          base_(plat::SerialTraffic(slavePath())) {
        Live().push_back(this);
    }

    std::shared_ptr<Counts> counts_;
    plat::SerialTrafficCount base_;
    std::uint64_t given_ = 0;
    mutable bool deaf_ = false;
    mutable std::uint64_t deafAt_ = 0;
};

// The simulated radio, known to the clock runner so that each step settles
// its line too.
class SettledRadio : public sim::SimRadio {
public:
    explicit SettledRadio(std::uint8_t address = 0x94, long baud = 19200) : SimRadio(address, baud) {
        Live().push_back(this);
    }
    ~SettledRadio() {
        auto& all = Live();
        all.erase(std::remove(all.begin(), all.end(), this), all.end());
    }
    static std::vector<SettledRadio*>& Live() {
        static std::vector<SettledRadio*> all;
        return all;
    }
};

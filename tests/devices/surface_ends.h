// The test's hands on the simulated control surfaces: each record a surface
// sends is waited for until the program can read it, so the next program
// step sees it however late the terminal hands it over.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "common/real_waits.h"
#include "platform/serial_port.h"
#include "sim/sim_surfaces.h"

class PodEnd {
public:
    explicit PodEnd(sim::SimPod& pod) : pod_(pod) {}
    void press(std::uint8_t code) { send(sim::SimPod::KeyRecord(code)); }
    void release(std::uint8_t code) { send(sim::SimPod::KeyRecord(std::uint8_t(code | 0x80))); }
    void knob(int count) { send(sim::SimPod::KnobRecord(count)); }
    void send(const std::vector<std::uint8_t>& bytes) {
        const plat::SerialTrafficCount before = plat::SerialTraffic(pod_.slavePath());
        pod_.send(bytes);
        realwait::Arrived(pod_.slavePath(), before, bytes.size());
    }

private:
    sim::SimPod& pod_;
};

// The knob's port is known by its ports/comN link.
class KnobEnd {
public:
    KnobEnd(sim::SimFlexKnob& knob, std::string link) : knob_(knob), link_(std::move(link)) {}
    void send(const std::string& text) {
        const plat::SerialTrafficCount before = plat::SerialTraffic(link_);
        knob_.send(text);
        realwait::Arrived(link_, before, text.size());
    }

private:
    sim::SimFlexKnob& knob_;
    std::string link_;
};

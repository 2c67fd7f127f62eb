// MIDI controllers without a sequencer: a stand-in source whose device
// names and queued short messages the test sets, behind the layer's seam.
#pragma once
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "base/device_options.h"
#include "base/panel_options.h"
#include "devices/midi_controllers.h"
#include "platform/message_box.h"
#include "platform/midi_in.h"
#include "surface_fixture.h"

struct FakeSourceState {
    std::vector<std::string> names;
    std::vector<std::uint32_t> queue;
    int opened = -1;
};

class FakeSource : public plat::MidiSource {
public:
    explicit FakeSource(std::shared_ptr<FakeSourceState> s) : s_(std::move(s)) {}
    std::vector<std::string> Inputs() override { return s_->names; }
    int Open(int index) override {
        s_->opened = index;
        return 0;
    }
    void Close() override { s_->opened = -1; }
    std::vector<int> PollFds() override { return {}; }
    std::vector<std::uint32_t> Take() override {
        std::vector<std::uint32_t> out;
        out.swap(s_->queue);
        return out;
    }

private:
    std::shared_ptr<FakeSourceState> s_;
};

struct Midi : SurfaceFixture {
    std::shared_ptr<FakeSourceState> source = std::make_shared<FakeSourceState>();
    Midi() {
        plat::SetMidiSource(std::make_unique<FakeSource>(source));
        g_cmdmicro = 1;
        g_step = 1000;
        g_highspeedtuningfactor = 1;
        g_vfoafreq = panel.vfoAFreq = 14.2;
        plat::message_box_script::Clear();
    }
    ~Midi() override { plat::SetMidiSource(nullptr); }
    // Plugs in one controller by its sequencer name: it must open as `model`.
    ::testing::AssertionResult plugIn(const std::string& name, int model) {
        source->names = {name};
        OpenMidi();
        if (!g_midiopen) return ::testing::AssertionFailure() << name << " did not open";
        if (g_midimodel != model) return ::testing::AssertionFailure() << name << " opened as model " << g_midimodel;
        return ::testing::AssertionSuccess();
    }
    void send(std::uint8_t status, std::uint8_t control, std::uint8_t value) {
        source->queue.push_back(plat::PackMidi(status, control, value));
        plat::MidiInPump();
    }
    // A button pressed and let go again (note-on 127, then note-off).
    void press(std::uint8_t status, std::uint8_t control) {
        send(status, control, 127);
        send(std::uint8_t(0x80 | (status & 0x0F)), control, 0);
    }
    long long hz() const { return std::llround(g_vfoafreq * 1e6); }
    bool boxed(const std::string& text) {
        for (const auto& b : plat::message_box_script::History())
            if (b.text == text) return true;
        return false;
    }
};

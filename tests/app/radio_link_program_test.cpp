// The whole program against the simulated radio, watched on the wire with
// the program's clock: how fast frames reach the radio, and a start that
// takes the radio's own frequency and mode.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "app/app.h"
#include "app/main_frame.h"
#include "civ/civ_timers.h"
#include "common/sim_steps.h"
#include "common/test_dir.h"
#include "platform/clock.h"
#include "platform/types.h"
#include "sim/sim_radio.h"

namespace {

struct Station {
    TestDir dir;
    sim::SimRadio radio{0x94, 19200};
    CApp app;
    explicit Station(const std::string& settings) {
        EXPECT_TRUE(radio.link(dir.file("ports/com1")));
        dir.write("qarv.ini", "[INTERFACE]\nCOMPORT=COM1\nBAUD=19200\n[OPERATING STATUS]\nQARV=23\n" + settings);
    }
    void start() {
        radio.start();
        EXPECT_TRUE(app.InitInstance());
    }
    ~Station() { radio.stop(); }
};

// Every frame that reached the radio with the program time it was written,
// to the millisecond: the clock moves one ms at a time and the line is
// settled after each step.
struct WireLog {
    std::vector<std::pair<std::uint32_t, sim::Bytes>> frames;
    void run(int ms, sim::SimRadio& radio) {
        for (int t = 0;; ++t) {
            radio.settleLine();
            for (sim::Bytes& f : radio.takeFrames()) frames.emplace_back(plat::GetTickCount(), std::move(f));
            if (t == ms) break;
            plat::manual_clock::Advance(1);
        }
    }
    int find(const sim::Bytes& body, std::size_t from = 0) const {
        for (std::size_t i = from; i < frames.size(); ++i) {
            const sim::Bytes& f = frames[i].second;
            if (f.size() == body.size() + 5 && std::equal(body.begin(), body.end(), f.begin() + 4)) return int(i);
        }
        return -1;
    }
};

// BCD body of a frequency set (05) for `hz`.
sim::Bytes FrequencySet(long long hz) {
    sim::Bytes b{0x05, 0, 0, 0, 0, 0};
    sim::HzToBcd(hz, b.data() + 1);
    return b;
}

}  // namespace

TEST(RadioLinkProgram, PacedFramesReachTheRadioAtMostOnePerPumpPeriod) {
    Station s("");
    // A radio that hears nothing but still echoes: no answer sends the next
    // frame early, so every write is the pump's.
    s.radio.setAnswering(false);
    s.start();
    WireLog wire;
    // Start-up's reads, then about 11 s later the contact retry initialises
    // the radio: its frames were queued at once.
    wire.run(16000, s.radio);
    const int afZero = wire.find({0x14, 0x01, 0x00, 0x01});  // AF gain 0
    ASSERT_GE(afZero, 0) << "InitRadio never ran";
    EXPECT_LT(afZero, int(wire.frames.size()) - 20);
    ASSERT_GE(wire.find({0x03}), 0);
    ASSERT_LT(wire.find({0x03}), wire.find({0x04}));
    // A frame is logged at the end of the millisecond step it was written in.
    for (std::size_t i = 1; i < wire.frames.size(); ++i)
        EXPECT_GE(wire.frames[i].first - wire.frames[i - 1].first, 49u)
            << "frames " << i - 1 << " and " << i << " of " << wire.frames.size();
    s.app.ExitInstance();
}

TEST(RadioLinkProgram, StartFromTheRadioKeepsItsFrequencyAndModeAndSavesThem) {
    // Saved: 14.025 MHz CW; the radio: 7.074 MHz USB.
    Station s("QARV START=1\nVFO-A FREQUENCY=14.025000\nVFO-A MODE=51\n");
    s.radio.setFrequency(7074000, 0);
    s.radio.setMode(0x01, 1, 0);
    s.start();
    WireLog wire;
    for (int i = 0; i < 60 && !g_mainwin->HasTimer(TIMER_METER_CYCLE); ++i) wire.run(250, s.radio);
    ASSERT_TRUE(g_mainwin->HasTimer(TIMER_METER_CYCLE));
    wire.run(3000, s.radio);
    EXPECT_EQ(wire.find(FrequencySet(14025000)), -1);
    EXPECT_EQ(wire.find({0x06, 0x03}), -1);
    EXPECT_EQ(s.radio.frequency(0), 7074000);
    EXPECT_EQ(s.radio.mode(0), 0x01);
    g_mainwin->SendMessage(plat::WM_CLOSE);
    wire.run(1000, s.radio);
    ASSERT_TRUE(g_mainwin->Closed());
    const std::string ini = s.dir.read("qarv.ini");
    EXPECT_NE(ini.find("VFO-A FREQUENCY=07.074000\n"), std::string::npos) << ini;
    EXPECT_NE(ini.find("VFO-A MODE=48\n"), std::string::npos) << ini;
    s.app.ExitInstance();
}

// The whole program against the simulated radio, watched on the wire with
// the program's clock: how fast frames reach the radio, and a start that
// takes the radio's own frequency and mode.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "app/app.h"
#include "app/main_frame.h"
#include "civ/civ_timers.h"
#include "common/test_dir.h"
#include "platform/clock.h"
#include "platform/types.h"
#include "sim/sim_radio.h"

namespace {

struct Station {
    TestDir dir;
    sim::SimRadio radio{0x94, 19200};
    CApp app;
    // Every frame that reached the radio with the program time it was
    // written: the clock moves a millisecond at a time, the line settled after
    // each step, so a frame is logged at the end of the step that wrote it.
    std::vector<std::pair<std::uint32_t, sim::Bytes>> wire;

    explicit Station(const std::string& settings) {
        EXPECT_TRUE(radio.link(dir.file("ports/com1")));
        dir.write("qarv.ini", "[INTERFACE]\nCOMPORT=COM1\nBAUD=19200\n[OPERATING STATUS]\nQARV=23\n" + settings);
    }
    ~Station() { radio.stop(); }
    void start() {
        radio.start();
        EXPECT_TRUE(app.InitInstance());
    }
    void run(int ms) {
        for (int t = 0;; ++t) {
            radio.settleLine();
            for (sim::Bytes& f : radio.takeFrames()) wire.emplace_back(plat::GetTickCount(), std::move(f));
            if (t == ms) break;
            plat::manual_clock::Advance(1);
        }
    }
    // Index of the first frame whose command and data start so; -1 when none.
    int find(const sim::Bytes& body) const {
        for (std::size_t i = 0; i < wire.size(); ++i) {
            const sim::Bytes& f = wire[i].second;
            if (f.size() >= body.size() + 5 && std::equal(body.begin(), body.end(), f.begin() + 4)) return int(i);
        }
        return -1;
    }
};

}  // namespace

TEST(RadioLinkProgram, PacedFramesReachTheRadioAtMostOnePerPumpPeriod) {
    Station s("");
    // A radio that only echoes: no answer sends a frame early, every write
    // is the pump's.
    s.radio.setAnswering(false);
    s.start();
    // Start-up's reads, and about 11 s later the contact retry's
    // initialisation, its frames queued at once, then meter ticks.
    s.run(16000);
    const int afZero = s.find({0x14, 0x01, 0x00, 0x01});
    ASSERT_GE(afZero, 0) << "no initialisation";
    EXPECT_LT(afZero, int(s.wire.size()) - 20);
    EXPECT_LT(s.find({0x03}), s.find({0x04}));
    for (std::size_t i = 1; i < s.wire.size(); ++i)
        EXPECT_GE(s.wire[i].first - s.wire[i - 1].first, 49u) << "frames " << i - 1 << " and " << i;
    s.app.ExitInstance();
}

TEST(RadioLinkProgram, StartFromTheRadioKeepsItsFrequencyAndModeAndSavesThem) {
    Station s("QARV START=1\nVFO-A FREQUENCY=14.025000\nVFO-A MODE=51\n");
    s.radio.setFrequency(7074000, 0);
    s.radio.setMode(0x01, 1, 0);  // USB
    s.start();
    for (int i = 0; i < 60 && !g_mainwin->HasTimer(TIMER_METER_CYCLE); ++i) s.run(250);
    ASSERT_TRUE(g_mainwin->HasTimer(TIMER_METER_CYCLE));
    s.run(3000);
    // Neither the saved 14.025 MHz, in either frequency command, nor its CW.
    EXPECT_EQ(s.find({0x25, 0x00, 0x00, 0x50, 0x02, 0x14, 0x00}), -1);
    EXPECT_EQ(s.find({0x05, 0x00, 0x50, 0x02, 0x14, 0x00}), -1);
    EXPECT_EQ(s.find({0x06, 0x03}), -1);
    EXPECT_EQ(s.radio.frequency(0), 7074000);
    EXPECT_EQ(s.radio.mode(0), 0x01);
    g_mainwin->SendMessage(plat::WM_CLOSE);
    s.run(1000);
    ASSERT_TRUE(g_mainwin->Closed());
    const std::string ini = s.dir.read("qarv.ini");
    EXPECT_NE(ini.find("VFO-A FREQUENCY=07.074000\n"), std::string::npos) << ini;
    EXPECT_NE(ini.find("VFO-A MODE=48\n"), std::string::npos) << ini;
    s.app.ExitInstance();
}

// Radio initialisation and the state push against the simulated radio: the
// frames arrive in order through the paced send queue and leave the radio
// in the program's state; one panel change is one frame on the wire.
#include "app/main_frame.h"
#include "app/tuning_wiring.h"
#include "civ/civ_options.h"
#include "civ/civ_setters.h"
#include "civ/engine_options.h"
#include "civ/frequency_state.h"
#include "civ/link_fixture.h"
#include "civ/radio_init.h"
#include "common/sim_steps.h"
#include "panel/swl_panel.h"
#include "sim/sim_radio.h"

namespace {

struct SimPush : LinkBase {
    sim::SimRadio radio{0x94, 19200};
    EngineWindow engine;
    CSwlPanel panel;

    SimPush() {
        g_timerwindow = &engine;
        g_radiotype = 23;
        g_7600fw2 = 1;
        g_baud = 19200;
        g_swlpanel = &panel;
        WireTuningView();
        g_power = 50;
        g_txenable = 1;
        g_vfoamode = '0';
        g_rxfilter = 1;
        g_bfo = 600;
        g_volume = 100;
        g_vfoafreq = panel.vfoAFreq = 14.025;
        g_vfobfreq = panel.vfoBFreq = 14.025;
        radio.start();
        open(radio.slavePath());
    }
    ~SimPush() {
        radio.stop();
        engine.KillTimer(TIMER_DEVICE_POLL);
        engine.KillTimer(TIMER_SENDQ);
        g_swlpanel = nullptr;
    }
    // Runs the clock until the send queue is empty, then a little more for
    // the answers; the radio's line is settled after every step, so it has
    // seen everything.
    void Drain() {
        simsteps::RunUntil([&] { return SendQueueEmpty() && !engine.HasTimer(TIMER_AF_GAIN); }, 4000, {&radio});
        simsteps::Run(250, {&radio});
    }
};

Bytes Body(const Bytes& frame) { return Bytes(frame.begin() + 4, frame.end() - 1); }
}  // namespace

TEST(StatePushSim, InitRadioBringsTheRadioInLine) {
    SimPush s;
    InitRadio();
    s.Drain();
    const auto frames = s.radio.takeFrames();
    ASSERT_GT(frames.size(), 30u);
    EXPECT_EQ(Body(frames.front()), (Bytes{0x14, 0x01, 0x00, 0x01}));  // AF gain 0 goes first
    EXPECT_EQ(Body(frames.back()), (Bytes{0x14, 0x01, 0x00, 0x52}));   // the real level last
    EXPECT_EQ(s.radio.level(0x0A), 127);
    EXPECT_EQ(s.radio.level(0x09), 128);
    EXPECT_EQ(s.radio.mode(0), 0x01);
    EXPECT_EQ(s.radio.frequency(0), 14025000);
    EXPECT_TRUE(SendQueueEmpty());
}

TEST(StatePushSim, OnePanelChangeIsOneFrame) {
    SimPush s;
    InitRadio();
    OnSwl();
    s.Drain();
    OnSwl();
    s.Drain();
    s.radio.takeFrames();
    s.panel.fn.nrLevel = 200;
    OnSwl();
    s.Drain();
    const auto frames = s.radio.takeFrames();
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(Body(frames[0]), (Bytes{0x14, 0x06, 0x02, 0x00}));
    EXPECT_EQ(s.radio.level(0x06), 200);
}

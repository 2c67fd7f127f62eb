// The running program against the simulated radio: what the meter poll asks
// for per model and how often, the meters it moves, and a change made on the
// radio's own front panel reaching the program through the mirror poll.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>

#include "app/main_frame.h"
#include "app/started_app.h"
#include "civ/civ_options.h"
#include "civ/civ_timers.h"
#include "civ/polling.h"
#include "civ/radio_init.h"
#include "civ/reply_processing.h"
#include "common/sim_steps.h"
#include "common/test_dir.h"
#include "panel/swl_panel.h"
#include "platform/clock.h"
#include "platform/keys.h"
#include "platform/types.h"
#include "sim/sim_radio.h"

namespace {
const sim::SimRadio* g_radio = nullptr;  // the running test's radio

// Program time in poll steps, the radio's line settled after each.
void Spend(int ms) { simsteps::Run(ms, {g_radio}); }

// Program time until `done` holds, at most 10 s of it.
void SpendUntil(const std::function<bool()>& done) { simsteps::RunUntil(done, 10000, {g_radio}); }

// The simulated radio on ports/com1 and the program started against it,
// run until the radio is initialised and the meter tick runs.
struct Station {
    TestDir dir;
    sim::SimRadio radio;
    Station(std::uint8_t address, int type, const std::string& extra = "") : radio(address, 19200) {
        EXPECT_TRUE(radio.link(dir.file("ports/com1")));
        radio.start();
        g_radio = &radio;
        dir.write("qarv.ini", "[INTERFACE]\nCOMPORT=COM1\nBAUD=19200\n" + extra +
                                  "[OPERATING STATUS]\nMUTE ALWAYS=1\nQARV=" + std::to_string(type) + "\n");
    }
    ~Station() {
        g_radio = nullptr;
        radio.stop();
    }
    void waitForInit(StartedApp&) {
        for (int i = 0; i < 30 && !g_mainwin->HasTimer(TIMER_METER_CYCLE); ++i) Spend(500);
        ASSERT_TRUE(g_mainwin->HasTimer(TIMER_METER_CYCLE));
        Spend(2000);  // the initialisation's frames drain
    }
    // Frames by request (command, and sub-command where it has one) over
    // `ms` of the program's time.
    std::map<sim::Bytes, int> count(int ms) {
        radio.clearLog();
        Spend(ms);
        std::map<sim::Bytes, int> n;
        for (const sim::Bytes& f : radio.frames()) {
            const std::size_t end = f.size() > 7 ? 6 : f.size() - 1;
            ++n[sim::Bytes(f.begin() + 4, f.begin() + long(end))];
        }
        return n;
    }
};

void ExpectAbout(const std::map<sim::Bytes, int>& n, const sim::Bytes& request, int expected) {
    const auto it = n.find(request);
    const int got = it == n.end() ? 0 : it->second;
    EXPECT_NEAR(got, expected, 2) << int(request[0]);
}
}  // namespace

TEST(PollingProgram, Ic756ProIdleFrames) {
    Station st(0x5C, 0);
    StartedApp app;
    st.waitForInit(app);
    const auto n = st.count(6000);
    ExpectAbout(n, {0x15, 0x02}, 30);  // every 200 ms
    ExpectAbout(n, {0x1C, 0x00}, 30);
    ExpectAbout(n, {0x03}, 5);         // every sixth tick
    ExpectAbout(n, {0x12}, 6);         // the antenna, every second
    EXPECT_EQ(n.count({0x25, 0x00}), 0u);
}

TEST(PollingProgram, Ic7300IdleFrames) {
    Station st(0x94, 23);
    StartedApp app;
    st.waitForInit(app);
    const auto n = st.count(6000);
    ExpectAbout(n, {0x15, 0x02}, 30);
    ExpectAbout(n, {0x25, 0x00}, 30);
    ExpectAbout(n, {0x1C, 0x00}, 30);
    EXPECT_EQ(n.count({0x03}), 0u);
    EXPECT_EQ(n.count({0x12}), 0u);
}

TEST(PollingProgram, TheMetersMoveAndTransmitMetersFollowTheMeterSetting) {
    Station st(0x94, 23, "");
    StartedApp app;
    st.waitForInit(app);
    st.radio.setMeter(0x02, 120);
    SpendUntil([] { return Tuning().meterValue > 256; });
    EXPECT_GT(Tuning().meterValue, 256);
    EXPECT_EQ(Tuning().meterType, 4);
    g_metersetting = 2;
    st.radio.setTransmit(1);
    st.radio.setMeter(0x12, 40);
    SpendUntil([] { return g_transmitting == 1; });
    const auto n = st.count(2000);
    ExpectAbout(n, {0x15, 0x12}, 10);
    const sim::Bytes sMeterTx{0x15, 0x02};
    EXPECT_LE(n.count(sMeterTx) ? n.at(sMeterTx) : 0, 1);
    st.radio.setTransmit(0);
    SpendUntil([] { return g_transmitting == 0; });
    const sim::Bytes sMeter{0x15, 0x02};
    EXPECT_GE(st.count(1000)[sMeter], 3);
}

TEST(PollingProgram, AChangeOnTheRadiosFrontPanelReachesTheProgramWithMirrorOn) {
    Station st(0x94, 23, "MIRROR=1\n");
    StartedApp app;
    st.waitForInit(app);
    ASSERT_TRUE(g_mainwin->HasTimer(TIMER_POLL_SEQUENCE));
    // The operator turns the radio's own knobs; the radio announces nothing.
    st.radio.setFrequency(7100000, 0);
    st.radio.setMode(0x03, 0x01, 0);
    st.radio.setSwitch(0x22, 1);
    st.radio.setLevel(0x03, 90);
    // One pass over the poll lists: 27 list-1 items at one per other 60 ms tick.
    int waited = 0;
    while (waited < 4000 && !(g_vfoafreq == 7.1 && g_vfoamode == '3' && Tuning().fn.noiseBlanker == 1 &&
                              Tuning().fn.squelch == 90)) {
        Spend(100);
        waited += 100;
    }
    EXPECT_DOUBLE_EQ(g_vfoafreq, 7.1);
    EXPECT_EQ(g_vfoamode, '3');
    EXPECT_EQ(Tuning().fn.noiseBlanker, 1);
    EXPECT_EQ(Tuning().fn.squelch, 90);
    // What the program passes on leaves the radio as the operator set it.
    Spend(1000);
    EXPECT_EQ(st.radio.frequency(0), 7100000);
    EXPECT_EQ(st.radio.mode(0), 0x03);
    EXPECT_EQ(st.radio.switchState(0x22), 1);
}

TEST(PollingProgram, PollPeriodsAndAmountAreCheckedOnLoad) {
    TestDir dir;
    dir.write("qarv.ini", "[OPERATING STATUS]\nMETER CYCLE=0\nMIRROR POLL=5\nPOLL AMOUNT=0\n");
    {
        StartedApp app;
        EXPECT_EQ(g_metercycle, 50);
        EXPECT_EQ(g_mirrorpoll, 20);
        EXPECT_EQ(g_pollamount, 1);
    }
    dir.write("qarv.ini", "[OPERATING STATUS]\nMETER CYCLE=250\nMIRROR POLL=80\nPOLL AMOUNT=99\n");
    StartedApp app;
    EXPECT_EQ(g_metercycle, 250);
    EXPECT_EQ(g_mirrorpoll, 80);
    EXPECT_EQ(g_pollamount, 10);
}

TEST(PollingProgram, KeyTuningWithTheMeterPollRunning) {
    Station st(0x94, 23);
    StartedApp app;
    st.waitForInit(app);
    const long long before = st.radio.frequency(0);
    const long long step = static_cast<long long>(Tuning().step);
    // Presses 130 ms apart fall at every phase of the 200 ms meter tick.
    constexpr int kPresses = 20;
    for (int i = 0; i < kPresses; ++i) {
        g_mainwin->SendMessage(plat::WM_KEYDOWN, plat::VK_RIGHT);
        Spend(130);
    }
    const long long expected = before + kPresses * step;
    SpendUntil([&] { return st.radio.frequency(0) == expected; });
    EXPECT_EQ(st.radio.frequency(0), expected);
    EXPECT_EQ(std::llround(g_vfoafreq * 1e6), expected);
}

// What a transmission does to the program's automatic tuning, in the whole
// program against the simulated radio: the memory scan stops and resumes
// after the set time, a range scan ends, a sweep waits until the radio has
// stopped sending; the "Turn off Transverter" box holds the timer loop; a
// held Space keeps the radio keyed; a close leaves it unkeyed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/close_sequence.h"
#include "app/commands.h"
#include "app/main_frame.h"
#include "base/memory_options.h"
#include "base/settings_options.h"
#include "civ/civ_options.h"
#include "civ/civ_setters.h"
#include "civ/frequency_options.h"
#include "civ/frequency_state.h"
#include "civ/reply_processing.h"
#include "civ/send_queue.h"
#include "civ/setter_frames.h"
#include "civ/transverters.h"
#include "common/sim_station.h"
#include "devices/keying.h"
#include "memories/memory_fixture.h"
#include "memories/station_recall.h"
#include "memories/stations.h"
#include "memories/sweep.h"
#include "panel/radio_window.h"
#include "panel/swl_panel.h"
#include "platform/input_synth.h"
#include "platform/keys.h"
#include "settings/trans_ops.h"

namespace {
void List(std::initializer_list<CStation> s) {
    g_stationlist = s;
    StationListChanged(false);
    FillStationList();
}

struct Station : SimStation {
    explicit Station(const std::string& settings = "") : SimStation(settings) { initialise(); }
    ~Station() {
        g_stationlist.clear();
        g_transverterbox = ShowTransverterBox;
    }
    // Keys the radio as its operator would and runs until the meter poll has
    // seen it.
    void transmit(int on) {
        radio.setTransmit(on);
        run(600);
    }
};
}  // namespace

TEST(TransmitSafety, AMemoryScanStopsWhileTransmittingAndResumesAfterTheSetTime) {
    Station s("RESUME=3\n");
    g_dwell = 1;
    List({MakeStation("A", 5.0), MakeStation("B", 6.0)});
    ToggleMemoryScan();
    s.run(500);
    ASSERT_EQ(g_memscan, 2);
    s.transmit(1);
    EXPECT_EQ(g_memscan, 0);
    EXPECT_EQ(g_scanstopped, 1);
    s.radio.settleLine();
    const long long held = s.radio.frequency(0);
    // However long the radio sends, the scan does not move it, and the
    // resume waits for the end of the transmission.
    s.run(6000);
    EXPECT_EQ(g_memscan, 0);
    EXPECT_EQ(s.radio.frequency(0), held);
    s.transmit(0);
    s.run(1800);
    EXPECT_EQ(g_memscan, 0);  // 3 s after the last transmit report
    s.run(1500);
    EXPECT_NE(g_memscan, 0);
    EXPECT_EQ(g_scanstopped, 0);
    bool moved = false;  // it scans again
    for (int k = 0; k < 15 && !moved; ++k) {
        s.run(200);
        moved = s.radio.frequency(0) != held;
    }
    EXPECT_TRUE(moved);
    ToggleMemoryScan();
}

TEST(TransmitSafety, WithoutAResumeTimeTheMemoryScanStaysStopped) {
    Station s;
    g_dwell = 1;
    List({MakeStation("A", 5.0), MakeStation("B", 6.0)});
    ToggleMemoryScan();
    s.run(500);
    s.transmit(1);
    s.transmit(0);
    s.run(5000);
    EXPECT_EQ(g_memscan, 0);
    EXPECT_EQ(g_scanstopped, 0);
    EXPECT_FALSE(g_mainwin->HasTimer(TIMER_SCAN_RESUME));
}

TEST(TransmitSafety, ARangeScanEndsAndTheSettingsWindowShowsItStopped) {
    Station s("RESUME=2\nFSCAN START=7.000000\nFSCAN STOP=7.300000\nFSCAN INCR=5\nFSCAN DWELL=1\n");
    ASSERT_NE(g_transops, nullptr);
    g_transops->CheckOf(2444)->Click();  // "Start Frequency Scan"
    s.run(2500);
    ASSERT_GT(g_scanfreq, 0.01);
    s.transmit(1);
    EXPECT_EQ(g_scanfreq, 0.0);
    EXPECT_FALSE(g_transops->CheckOf(2444)->GetCheck());
    EXPECT_TRUE(g_transops->CheckOf(2445)->GetCheck());
    const long long held = s.radio.frequency(0);
    s.transmit(0);
    s.run(4000);
    EXPECT_EQ(s.radio.frequency(0), held);
    EXPECT_EQ(g_scanfreq, 0.0);
}

TEST(TransmitSafety, ASweepDoesNotMoveTheRadioWhileItTransmits) {
    Station s;
    ASSERT_NE(g_sweeppanel, nullptr);
    g_sweeppanel->StartSweep();
    s.run(1000);
    ASSERT_EQ(g_sweeprunning, 1);
    s.transmit(1);
    EXPECT_EQ(g_sweeprunning, 0);
    EXPECT_EQ(g_sweeppause, 1);
    // The sweep put the radio back; it stays there while the radio sends.
    const long long back = s.radio.frequency(0);
    EXPECT_EQ(back, 14074000);
    for (int k = 0; k < 5; ++k) {
        s.run(1000);
        EXPECT_EQ(g_sweeprunning, 0);
        EXPECT_EQ(s.radio.frequency(0), back);
    }
    s.transmit(0);
    s.run(800);
    EXPECT_EQ(g_sweeprunning, 0);  // 2 s after the last transmit report
    s.run(1200);
    EXPECT_EQ(g_sweeprunning, 1);
    EXPECT_EQ(g_sweeppause, 0);
    g_sweeppanel->StopSweep();
    s.run(200);
}

TEST(TransmitSafety, TheTransverterBoxHoldsTheSendPumpAndShowsOnce) {
    Station s;
    Transverter& tv = g_transverter[0];
    const Transverter saved = tv;
    tv.lower = 430;
    tv.upper = 440;
    tv.ifreq = 28;
    tv.power = 10;
    tv.powerlast = 8;
    g_power = 60;
    g_vfoafreq = 432.1;
    SetRadioFrequencies();
    EXPECT_EQ(g_power, 8);  // the transverter's power
    s.run(1000);

    static int boxes;
    static bool pumpHeld, titleHeld;
    static int depthAtClose;
    static Station* station;
    boxes = 0;
    station = &s;
    g_transverterbox = [](const char* text) {
        ++boxes;
        EXPECT_STREQ(text, "Turn off Transverter\n");
        EXPECT_EQ(g_transverterhold, 1);
        EXPECT_EQ(g_power, 8);  // still the transverter's power while the box is up
        // A push from inside the box finds nothing left to answer.
        SetRadioFrequencies();
        // A radio that answers sends the next frame at once (the reader's
        // rule); one that only echoes leaves the pacing to the send pump.
        station->radio.setAnswering(false);
        for (int k = 0; k < 3; ++k) {  // replies already on their way are read first
            station->radio.settleLine();
            station->run(200);
        }
        station->radio.settleLine();
        const std::size_t heard = station->radio.frames().size();
        SendCiv({0x03});
        g_titlefreq = 0;
        station->run(3000);
        station->radio.settleLine();
        pumpHeld = station->radio.frames().size() == heard && !SendQueueEmpty();
        station->radio.setAnswering(true);
        depthAtClose = SendQueueDepth();
        titleHeld = g_titlefreq == 0;
    };
    g_vfoafreq = 14.1;
    SetRadioFrequencies();
    EXPECT_EQ(boxes, 1);
    EXPECT_TRUE(pumpHeld);
    EXPECT_TRUE(titleHeld);
    EXPECT_EQ(g_transverterhold, 0);
    EXPECT_EQ(g_power, 60);      // restored once
    EXPECT_EQ(tv.powerlast, 8);  // the transverter keeps its own
    s.run(1000);  // the pump goes on after the box
    EXPECT_LT(SendQueueDepth(), depthAtClose);
    tv = saved;
}

namespace {
int Count(const std::string& text, const std::string& what) {
    int n = 0;
    for (std::size_t p = text.find(what); p != std::string::npos; p = text.find(what, p + 1)) ++n;
    return n;
}
}  // namespace

// Under X11 a held key repeats as release and press pairs marked as repeats:
// Space held keys the radio once (CI-V and the radio port's RTS line), and
// only the real release lets go.
TEST(TransmitSafety, AHeldSpaceKeepsTheRadioKeyedThroughItsRepeats) {
    Station s("RTS XM=1\n");
    plat::synth::KeyDown(g_mainwin, plat::VK_SPACE);
    for (int k = 0; k < 40; ++k) {
        s.run(40);
        plat::synth::KeyUp(g_mainwin, plat::VK_SPACE, true);
        plat::synth::KeyDown(g_mainwin, plat::VK_SPACE, true);
    }
    s.run(200);
    EXPECT_EQ(s.radio.transmitting(), 1);
    EXPECT_EQ(g_keyedmeans, unsigned(kKeyByCiv | kKeyByRadioRts));
    const std::string log = s.dir.read("comms.txt");
    EXPECT_EQ(Count(log, "PTT On space"), 1);
    EXPECT_EQ(Count(log, "PTT Off space") + Count(log, "keyoff\r\n"), 0);  // no line dropped in between
    plat::synth::KeyUp(g_mainwin, plat::VK_SPACE);
    s.run(1000);
    EXPECT_EQ(s.radio.transmitting(), 0);
    EXPECT_EQ(g_keyedmeans, 0u);
}

// Keyed (Print) while a band change still waits in the queue and closed at
// once (Alt+X): the key-on waiting behind the band's frames must not go out
// after the close's transmit-off, nor may anything key the radio again
// while the close runs.
TEST(TransmitSafety, AKeyOnStillWaitingAtCloseNeverFollowsTheTransmitOff) {
    Station s;
    s.radio.clearLog();
    plat::synth::Click(g_radiowindow->Control(40126), plat::synth::Button::Left, {5, 5});  // "20"
    plat::synth::KeyUp(g_mainwin, plat::VK_SNAPSHOT);
    ASSERT_GT(SendQueueDepth(), 2);
    g_mainwin->SendMessage(plat::WM_COMMAND, ID_QUIT_KEY);  // Alt+X
    s.run(100);
    plat::synth::KeyUp(g_mainwin, plat::VK_SNAPSHOT);  // too late: the close runs
    for (int k = 0; k < 30 && !g_mainwin->Closed(); ++k) s.run(100);
    ASSERT_TRUE(g_mainwin->Closed());
    std::string keys;  // every transmit frame the radio received, in order
    for (const sim::Bytes& f : s.radio.frames())
        if (f.size() == 8 && f[4] == 0x1C && f[5] == 0x00) keys += f[6] ? "on " : "off ";
    EXPECT_EQ(keys, "off ");
    EXPECT_EQ(s.radio.transmitting(), 0);
    EXPECT_EQ(CloseExitStatus(), 0);
}

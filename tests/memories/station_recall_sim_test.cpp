// Recall and the memory scan against the simulated radio: the station's
// frequency, mode and filter reach the radio, the directives in its notes
// apply, and the scan steps with its dwell on the manual clock.
#include "app/main_frame.h"
#include "app/tuning_wiring.h"
#include "base/memory_options.h"
#include "civ/civ_options.h"
#include "civ/civ_setters.h"
#include "civ/engine_options.h"
#include "civ/frequency_options.h"
#include "civ/frequency_state.h"
#include "civ/link_fixture.h"
#include "civ/radio_init.h"
#include "common/sim_steps.h"
#include "memories/station_recall.h"
#include "memories/station_window.h"
#include "memories/stations.h"
#include "memory_fixture.h"
#include "panel/swl_panel.h"
#include "platform/event_loop.h"
#include "platform/message_box.h"
#include "settings/trans_ops.h"
#include "sim/sim_radio.h"

namespace {
// The main frame's share: the engine's timers, the scan step and the recall.
class Frame : public PumpWindow {
public:
    std::vector<double> tuned;
    void OnTimer(unsigned id) override {
        switch (id) {
        case TIMER_SELECT_VFO: OnSelectVfoTimer(); break;
        case TIMER_AF_GAIN: OnAfGainTimer(); break;
        case TIMER_NEW_TUNING: RunTuningTick(); break;
        case TIMER_VFOA_DELAY: OnVfoADelayTimer(); break;
        case TIMER_FREQ_HOLDOFF: OnFreqHoldoffTimer(); break;
        case TIMER_METER_CYCLE: KillTimer(id); break;
        case TIMER_SCAN:
            KillTimer(id);
            if (g_memscan) TuneNextStation(0);
            break;
        default: PumpWindow::OnTimer(id); break;
        }
    }
    plat::LRESULT OnMessage(unsigned msg, plat::WPARAM, plat::LPARAM) override {
        if (msg == WM_RECALL_ENTRY) {
            OnRecallEntry();
            tuned.push_back(g_swlpanel->vfoAFreq);
        }
        return 0;
    }
};

CStation St(const std::string& name, double mhz, const std::string& mode, const std::string& filter,
            const std::string& notes = "", double second = 0) {
    return MakeStation(name, mhz, mode, filter, "", second, notes);
}

struct Recall : LinkBase {
    sim::SimRadio radio{0x94, 19200};
    Frame frame;
    CSwlPanel panel;
    CStationWnd wnd;

    Recall() {
        g_timerwindow = &frame;
        g_radiotype = 23;
        g_baud = 19200;
        g_swlpanel = &panel;
        WireTuningView();
        g_txenable = 1;
        g_vfoamode = '0';
        g_rxfilter = 1;
        g_vfoafreq = panel.vfoAFreq = 14.025;
        g_vfobfreq = panel.vfoBFreq = 14.025;
        g_speech = 1;
        g_dwell = 2;
        radio.start();
        open(radio.slavePath());
        InitRadio();
        Drain();
        radio.takeFrames();
        wnd.Create("Station Memories", plat::WS_POPUP, {0, 0, 400, 400}, &frame, 1400);
        wnd.Build();
        g_stationwnd = &wnd;
    }
    ~Recall() {
        radio.stop();
        frame.KillTimer(TIMER_DEVICE_POLL);
        frame.KillTimer(TIMER_SENDQ);
        frame.KillTimer(TIMER_SCAN);
        g_swlpanel = nullptr;
        g_stationwnd = nullptr;
        g_stationlist.clear();
    }
    void List(std::initializer_list<CStation> s) {
        g_stationlist = s;
        StationListChanged(false);
        FillStationList();
    }
    // Runs the clock until the send queue is empty, then a little more for
    // the answers, the radio's line settled after every step.
    void Drain() {
        simsteps::RunUntil([] { return SendQueueEmpty(); }, 4000, {&radio});
        Run(250);
    }
    // Runs the clock for `ms` in poll steps, letting the radio answer.
    void Run(unsigned ms) { simsteps::Run(int(ms), {&radio}); }
    bool SentCommand(std::uint8_t cmd, std::uint8_t sub) {
        for (const Bytes& f : radio.frames())
            if (f.size() > 6 && f[4] == cmd && f[5] == sub) return true;
        return false;
    }
};
}  // namespace

TEST(StationRecall, TheStationsFrequencyModeAndFilterReachTheRadio) {
    Recall r;
    r.List({St("Radio Exterior", 9.62, "AM", "10.0 kHz "), St("Net", 7.074, "LSB", "2.4 kHz ")});
    r.wnd.list.Choose(1);  // rows by frequency: Net first
    EXPECT_EQ(r.wnd.current.name, "Radio Exterior");
    r.wnd.tune.Click();
    plat::DeliverPosted();
    r.Drain();
    r.Run(300);
    EXPECT_EQ(r.radio.frequency(0), 9620000);
    EXPECT_EQ(r.radio.mode(0), 0x02);  // AM
    EXPECT_EQ(g_stationcaption, "Radio Exterior");
    EXPECT_EQ(g_skipstationname, 1);
    EXPECT_EQ(r.panel.filter, 1);  // "10.0 kHz " is the first AM width
    r.radio.clearLog();
    r.wnd.list.DoubleClick(0);
    plat::DeliverPosted();
    r.Drain();
    r.Run(300);
    EXPECT_EQ(r.radio.frequency(0), 7074000);
    EXPECT_EQ(r.radio.mode(0), 0x00);  // LSB
    EXPECT_EQ(r.panel.filter, 13);     // 2.4 kHz
    EXPECT_TRUE(r.SentCommand(0x1A, 0x03));  // the filter width
}

TEST(StationRecall, DirectivesInTheNotesApply) {
    Recall r;
    r.List({St("Net", 14.3, "USB", "2.4 kHz ", "SP=5 PBT=-1279", 7.1)});
    r.wnd.tune.Click();
    plat::DeliverPosted();
    r.Drain();
    EXPECT_EQ(g_speechvalue, 5);
    EXPECT_EQ(g_hicut, 1);
    EXPECT_EQ(g_locut, 1);
    EXPECT_DOUBLE_EQ(r.panel.vfoBFreq, 7.1);
    // Out of range: nothing changes.
    r.List({St("Odd", 14.3, "USB", "2.4 kHz ", "SP=11 PBT=1280")});
    r.wnd.tune.Click();
    plat::DeliverPosted();
    r.Drain();
    EXPECT_EQ(g_speechvalue, 5);
    EXPECT_EQ(g_hicut, 1);
    // 0 Hz centres the passband; the accepted range fills 1..255.
    EXPECT_EQ(PbtPositionForHz(0), 128);
    EXPECT_EQ(PbtPositionForHz(1279), 255);
    EXPECT_EQ(PbtPositionForHz(-1279), 1);
    EXPECT_EQ(PbtPositionForHz(1280), -1);
}

TEST(StationRecall, TheScanStepsWithItsDwellAndPassesSkippedStations) {
    Recall r;
    r.List({St("A", 5.0, "AM", "10.0 kHz "), St("B", 6.0, "AM", "10.0 kHz ", "skip"), St("C", 7.0, "AM", "10.0 kHz ")});
    ToggleMemoryScan();
    plat::DeliverPosted();
    EXPECT_EQ(g_memscan, 2);
    EXPECT_EQ(r.frame.tuned, (std::vector<double>{5.0}));
    r.Run(2020);  // the dwell, then B is passed at once and C tuned
    EXPECT_EQ(r.frame.tuned, (std::vector<double>{5.0, 5.0, 7.0}));
    r.Run(2000);
    EXPECT_DOUBLE_EQ(r.frame.tuned.back(), 5.0);  // wraps to the first row
    r.Drain();
    EXPECT_EQ(r.radio.frequency(0), 5000000);
    ToggleMemoryScan();
    EXPECT_EQ(g_memscan, 0);
    EXPECT_FALSE(r.frame.HasTimer(TIMER_SCAN));
}

TEST(StationRecall, TheScanStopsWhenThereIsNothingToTune) {
    Recall r;
    r.List({St("A", 5.0, "AM", "", "skip"), St("B", 6.0, "AM", "", "skip")});
    ToggleMemoryScan();
    plat::DeliverPosted();
    r.Run(100);
    EXPECT_EQ(g_memscan, 0);
    EXPECT_FALSE(r.frame.HasTimer(TIMER_SCAN));
    // An emptied list ends a running scan instead of selecting no row.
    r.List({St("A", 5.0, "AM", "")});
    ToggleMemoryScan();
    plat::DeliverPosted();
    r.List({});
    r.Run(2100);
    EXPECT_EQ(g_memscan, 0);
    // No stations: the operator is told.
    plat::message_box_script::Clear();
    ToggleMemoryScan();
    ASSERT_FALSE(plat::message_box_script::History().empty());
    EXPECT_EQ(plat::message_box_script::History().back().text, "No Memory File is Open");
}

namespace {
// The main frame's settings share: every change notification runs the apply.
struct SettingsFrame : plat::Window {
    bool OnCommand(unsigned id, unsigned, plat::LPARAM) override {
        if (id == kSettingsChangedId) ApplySettings();
        return true;
    }
};
// The last tone the radio was given (1B 00), in tenths of Hz; -1 for none.
int LastTone(const sim::SimRadio& radio) {
    int tone = -1;
    for (const Bytes& f : radio.frames())
        if (f.size() == 10 && f[4] == 0x1B && f[5] == 0x00) tone = sim::Bcd2ToInt(&f[7]);
    return tone;
}
}  // namespace

TEST(StationRecall, ARecalledToneSpeechLevelAndCentredPassbandSurviveTheNextSettingsChange) {
    Recall r;
    g_savefmcts = 1;
    g_fmcts = 0;
    g_speechvalue = 2;
    SettingsFrame owner;
    owner.Create("frame", 0, {0, 0, 1000, 700}, nullptr, 0);
    g_transops = new CTransOps;
    g_transops->Create("Transceiver Settings", plat::WS_CHILD, {0, 0, 920, 620}, &owner, 2367);
    LoadSettingsControls();
    r.List({St("Repeater", 14.3, "USB", "2.4 kHz ", "PBT=0 FMCTS=885 SP=7")});
    r.wnd.tune.Click();
    plat::DeliverPosted();
    r.Drain();
    EXPECT_EQ(g_fmcts, 885);
    EXPECT_EQ(g_speechvalue, 7);
    // The settings window shows what the recall set.
    EXPECT_EQ(g_transops->EditOf(559)->GetText(), "885");
    EXPECT_EQ(g_transops->SliderOf(2472)->GetValue(), 7);
    // Another setting changed in the window: the apply reads every control.
    plat::Edit* pitch = g_transops->EditOf(2369);
    pitch->TypeText("650");
    pitch->KillFocus();
    r.Drain();
    r.Run(300);
    EXPECT_EQ(g_bfo, 650);
    EXPECT_EQ(g_fmcts, 885);
    EXPECT_EQ(g_speechvalue, 7);
    EXPECT_EQ(LastTone(r.radio), 885);
    EXPECT_EQ(r.radio.level(0x0E), 7 * 25);  // the speech processor level
    // "PBT=0" centres both cuts.
    EXPECT_EQ(g_hicut, 128);
    EXPECT_EQ(g_locut, 128);
    EXPECT_EQ(r.radio.level(0x07), 128);
    EXPECT_EQ(r.radio.level(0x08), 128);
    delete g_transops;
}

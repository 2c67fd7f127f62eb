// The tuning state the engine owns and the view it announces to: a radio
// report reaches the state and a registered view once, the state follows
// the radio with no view at all, and the saved VFO copies agree with it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/tuning_wiring.h"
#include "base/panel_options.h"
#include "civ/civ_options.h"
#include "civ/engine_options.h"
#include "civ/frame_reader.h"
#include "civ/frequency_state.h"
#include "civ/radio_init.h"
#include "civ/radio_models.h"
#include "civ/radio_port.h"
#include "civ/reply_processing.h"
#include "civ/reply_store.h"
#include "civ/send_queue.h"
#include "civ/tuning_state.h"
#include "civ/tuning_view.h"
#include "panel/panel_recorder.h"
#include "panel/swl_panel.h"
#include "queued_engine.h"

namespace {
using Bytes = std::vector<std::uint8_t>;

struct RecordingTuningView : TuningView {
    std::vector<std::string> calls;
    void ShowFrequency(char vfo, double mhz) override {
        calls.push_back(std::string("freq ") + vfo + " " + std::to_string(mhz));
    }
    void ShowTuning(double, char modeA, double, int, double, char) override {
        calls.push_back(std::string("tuning ") + modeA);
    }
    void ShowMeter(int value, int type) override {
        calls.push_back("meter " + std::to_string(value) + "," + std::to_string(type));
    }
    int Count(const std::string& prefix) const {
        int n = 0;
        for (const std::string& c : calls) n += c.rfind(prefix, 0) == 0;
        return n;
    }
};

struct TuningAnnouncements : ::testing::Test {
    TuningAnnouncements() {
        OpenQueuedEngine();
        g_frequencydelay = 0;
        g_vfoafreq = 14.025;
        g_vfoamode = '0';
    }
    ~TuningAnnouncements() override {
        SetTuningView(nullptr);
        g_swlpanel = nullptr;
        CloseQueuedEngine();
    }
    void Reply(const Bytes& f) {
        ClearReplyFlags();
        StoreCivReply(f.data(), int(f.size()), 0);
        ProcessCivReplies();
    }
    // The radio's own report of VFO A at 7.100 MHz, and of CW.
    void ReportFrequency() { Reply({0xFE, 0xFE, 0x00, 0x5C, 0x00, 0x00, 0x00, 0x10, 0x07, 0x00, 0xFD}); }
    void ReportCw() { Reply({0xFE, 0xFE, 0x00, 0x5C, 0x01, 0x03, 0x01, 0xFD}); }
};
}  // namespace

TEST_F(TuningAnnouncements, AFrequencyReportReachesTheStateAndARegisteredViewOnce) {
    RecordingTuningView view;
    SetTuningView(&view);
    ReportFrequency();
    EXPECT_DOUBLE_EQ(Tuning().vfoAFreq, 7.1);
    EXPECT_DOUBLE_EQ(g_vfoafreq, 7.1);
    EXPECT_EQ(view.Count("freq A"), 1);
    EXPECT_EQ(view.Count("freq B"), 0);
    // The same report again changes nothing and shows nothing.
    ReportFrequency();
    EXPECT_EQ(view.Count("freq A"), 1);
    ReportCw();
    EXPECT_EQ(Tuning().vfoAMode, '3');
    EXPECT_EQ(view.Count("tuning 3"), 1);
}

TEST_F(TuningAnnouncements, WithoutAViewTheStateStillFollowsTheRadio) {
    SetTuningView(nullptr);
    ReportFrequency();
    ReportCw();
    Reply({0xFE, 0xFE, 0xE0, 0x5C, 0x15, 0x02, 0x01, 0x20, 0xFD});  // S meter 120
    EXPECT_DOUBLE_EQ(Tuning().vfoAFreq, 7.1);
    EXPECT_EQ(Tuning().vfoAMode, '3');
    EXPECT_EQ(Tuning().vfoBMode, '3');
    EXPECT_GE(Tuning().meterValue, 256);
    EXPECT_EQ(Tuning().meterType, 4);
    EXPECT_EQ(Tuning().meterPeak, g_smeterpeak);
    // Nothing was left waiting for a push: the state and the saved copies agree.
    EXPECT_EQ(CompareFrequencies(Tuning().vfoAFreq, g_vfoafreq), 0);
    EXPECT_EQ(Tuning().vfoAMode, g_vfoamode);
}

TEST_F(TuningAnnouncements, TheRegisteredPanelShowsWhatTheEngineReports) {
    RecordingFrame frame;
    RecordingView shown;
    CSwlPanel panel{&frame};
    panel.SetView(&shown);
    g_swlpanel = &panel;
    WireTuningView();
    ReportFrequency();
    EXPECT_DOUBLE_EQ(panel.vfoAFreq, 7.1);
    EXPECT_EQ(shown.digits[0][1], "7.");
    // Once the panel is gone the engine runs on without it.
    g_swlpanel = nullptr;
    Reply({0xFE, 0xFE, 0x00, 0x5C, 0x00, 0x00, 0x00, 0x20, 0x07, 0x00, 0xFD});
    EXPECT_DOUBLE_EQ(Tuning().vfoAFreq, 7.2);
}

TEST(TuningStateCopies, ThePanelIsAViewOfTheOneStateAndANewPanelStartsFromTheDefaults) {
    Tuning().vfoAFreq = 3.5;
    Tuning().fn.squelch = 90;
    CSwlPanel panel;
    EXPECT_DOUBLE_EQ(Tuning().vfoAFreq, 14.025);
    EXPECT_EQ(Tuning().fn.squelch, 0);
    panel.vfoAFreq = 7.05;
    panel.fn.afGain = 40;
    panel.keyA.active = 1;
    EXPECT_DOUBLE_EQ(Tuning().vfoAFreq, 7.05);
    EXPECT_EQ(Tuning().fn.afGain, 40);
    EXPECT_EQ(Tuning().keyA.active, 1);
}

TEST(TuningStateCopies, BothVfoCopiesTakeASetValueAndTheStateTakesTheSavedOnes) {
    SetVfoAFrequency(10.1);
    SetVfoBFrequency(10.12);
    SetVfoModes('3', '2');
    SetRxFilter(5);
    EXPECT_DOUBLE_EQ(g_vfoafreq, 10.1);
    EXPECT_DOUBLE_EQ(Tuning().vfoAFreq, 10.1);
    EXPECT_DOUBLE_EQ(g_vfobfreq, 10.12);
    EXPECT_DOUBLE_EQ(Tuning().vfoBFreq, 10.12);
    EXPECT_EQ(g_vfoamode, '3');
    EXPECT_EQ(Tuning().vfoAMode, '3');
    EXPECT_EQ(g_vfobmode, '2');
    EXPECT_EQ(Tuning().vfoBMode, '2');
    EXPECT_EQ(g_rxfilter, 5);
    EXPECT_EQ(Tuning().filter, 5);

    g_vfoafreq = 21.2;
    g_vfobmode = '0';
    g_step = 0;  // a step edited to 0 would divide by zero where VFO A is rounded
    TuningFromSaved();
    EXPECT_DOUBLE_EQ(Tuning().vfoAFreq, 21.2);
    EXPECT_EQ(Tuning().vfoBMode, '0');
    EXPECT_DOUBLE_EQ(Tuning().step, 1);
}

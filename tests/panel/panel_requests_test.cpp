// What the radio panel asks of the devices and memory windows reaches
// whoever is registered for it, once per action; with nobody registered the
// panel still works and asks nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "civ/band_table.h"
#include "civ/civ_options.h"
#include "panel/panel_requests.h"
#include "panel/swl_panel.h"
#include "panel_recorder.h"

namespace {
struct Recorder : PanelRequests {
    std::vector<std::string> asked;
    int antenna = 1;
    void StoreStationFromPanel() override { asked.push_back("store"); }
    void ShowStationWindow() override { asked.push_back("recall"); }
    void ToggleMemoryScan() override { asked.push_back("scan"); }
    int TunerAntenna() override { return antenna; }
    void ToggleTunerAntenna() override {
        asked.push_back("antenna");
        antenna = antenna == 2 ? 1 : 2;
    }
    void ShowScratchPadField(int field, const std::string& text) override {
        asked.push_back("field " + std::to_string(field) + " " + text);
    }
};

struct Requests : ::testing::Test {
    RecordingFrame frame;
    RecordingView view;
    CSwlPanel panel{&frame};
    Recorder recorder;
    Requests() {
        panel.SetView(&view);
        panel.SetPanelTuning(0, 0, 0, 0, 0, 0);
    }
    ~Requests() override { RegisterPanelRequests(nullptr); }
};
}  // namespace

TEST_F(Requests, TheMemoryButtonsReachTheStationMemoriesOnceEach) {
    RegisterPanelRequests(&recorder);
    EXPECT_TRUE(panel.OnCommand(419));
    EXPECT_TRUE(panel.OnCommand(420));
    EXPECT_TRUE(panel.OnCommand(422));
    EXPECT_EQ(recorder.asked, (std::vector<std::string>{"store", "recall", "scan"}));
}

TEST_F(Requests, WithNobodyRegisteredTheButtonsAreTakenAndNothingIsAsked) {
    EXPECT_TRUE(panel.OnCommand(419));
    EXPECT_TRUE(panel.OnCommand(422));
    panel.vfoAFreq = 7.1;
    panel.SelectBand(12);
    EXPECT_TRUE(recorder.asked.empty());
    // The band row keeps the antenna of a tuner that never answered.
    EXPECT_EQ(g_bandtunerant[12], 1);
}

TEST_F(Requests, ABandChangeSwitchesTheLdgTunerToTheBandsAntennaOnlyWhenItDiffers) {
    RegisterPanelRequests(&recorder);
    g_internaltuner = 4;
    g_bandtunerant[12] = 2;
    g_bandtunerant[5] = 2;
    panel.SelectBand(12);
    EXPECT_EQ(std::count(recorder.asked.begin(), recorder.asked.end(), "antenna"), 1);
    // Leaving the band stores the antenna the tuner now has.
    panel.SelectBand(5);
    EXPECT_EQ(g_bandtunerant[12], 2);
    EXPECT_EQ(std::count(recorder.asked.begin(), recorder.asked.end(), "antenna"), 1);
    // Without the LDG tuner nothing is switched.
    g_internaltuner = 0;
    g_bandtunerant[12] = 1;
    panel.SelectBand(12);
    EXPECT_EQ(std::count(recorder.asked.begin(), recorder.asked.end(), "antenna"), 1);
}

// The radio window in the whole program against the simulated radio: a
// radio that does not answer is said on the window until it answers, and the
// filter readout, the lit filter button and the filter the radio was sent
// agree in every mode, on a radio with DSP filters (IC-7300) and on one
// with the three fixed filters of its mode command (IC-756PRO).
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "app/app.h"
#include "app/main_frame.h"
#include "civ/civ_options.h"
#include "civ/civ_timers.h"
#include "civ/filter_widths.h"
#include "civ/frame_reader.h"
#include "civ/radio_models.h"
#include "common/sim_steps.h"
#include "common/test_dir.h"
#include "panel/controls/bistate_button.h"
#include "panel/filter_table.h"
#include "panel/radio_window.h"
#include "platform/clock.h"
#include "platform/input_synth.h"
#include "platform/paint.h"
#include "sim/sim_radio.h"

namespace {
// The program as radio type `type` against the simulated radio at
// `address`.
struct Station {
    TestDir dir;
    sim::SimRadio radio;
    CApp app;
    Station(int type, std::uint8_t address, const std::string& settings = "") : radio(address, 19200) {
        EXPECT_TRUE(radio.link(dir.file("ports/com1")));
        dir.write("qarv.ini", "[INTERFACE]\nCOMPORT=COM1\nBAUD=19200\n[OPERATING STATUS]\nQARV=" +
                                  std::to_string(type) +
                                  "\nVFO-A FREQUENCY=14.074000\nVFO-B FREQUENCY=14.074000\nVFO-A MODE=48\n" + settings);
        radio.start();
        EXPECT_TRUE(app.InitInstance());
    }
    ~Station() {
        app.ExitInstance();
        radio.stop();
    }
    void run(int ms) { simsteps::Run(ms, {&radio}); }
};

bool Shown(int id) {
    plat::Window* w = g_radiowindow->Control(id);
    return w && w->IsWindowVisible();
}

std::string Text(int id) {
    plat::Window* w = g_radiowindow->Control(id);
    return w ? w->GetWindowText() : "<none>";
}

void Click(int id) {
    plat::Window* w = g_radiowindow->Control(id);
    ASSERT_NE(w, nullptr) << id;
    ASSERT_TRUE(w->IsWindowVisible()) << id;
    plat::synth::Click(w, plat::synth::Button::Left, {5, 5});
}

int Lit(int id) {
    auto* b = dynamic_cast<CBiStateButton*>(g_radiowindow->Control(id));
    return b ? b->GetState() : -1;
}

// Readout, lit buttons and what the radio holds, for the panel's filter.
std::string Disagreement(const Station& s, bool dsp, const char* when) {
    const CSwlPanel& p = *g_swlpanel;
    const bool am = UsesAmTable(p.vfoAMode) && ModelCap(g_hasamfmwidth);
    std::string out;
    char line[160];
    if (Text(9103) != FilterReadout(p.filter, am) || Text(9103).empty()) {
        std::snprintf(line, sizeof line, "%s: readout \"%s\" for filter %d\n", when, Text(9103).c_str(), p.filter);
        out += line;
    }
    int lit = 0;
    for (int n = 1; n <= 12; ++n) {
        const bool holds = Shown(400 + n) && CSwlPanel::FilterButtonIndex(n, p.vfoAMode) == p.filter;
        if (Lit(400 + n) != (holds ? 1 : 0)) {
            std::snprintf(line, sizeof line, "%s: button %d lit %d, filter %d\n", when, n, Lit(400 + n), p.filter);
            out += line;
        }
        lit += Lit(400 + n) == 1;
    }
    if (lit == 0) out += std::string(when) + ": no button lit\n";
    if (g_rxfilter != p.filter) {
        std::snprintf(line, sizeof line, "%s: sent filter %d, panel %d\n", when, g_rxfilter, p.filter);
        out += line;
    }
    if (dsp) {
        if (s.radio.filterWidth() != FilterEntry(p.filter, am).code) {
            std::snprintf(line, sizeof line, "%s: radio width code %d, panel %d (%d Hz)\n", when, s.radio.filterWidth(),
                          FilterEntry(p.filter, am).code, FilterEntry(p.filter, am).hz);
            out += line;
        }
    } else if (s.radio.filter(0) != p.filter) {
        std::snprintf(line, sizeof line, "%s: radio filter %d, panel %d\n", when, s.radio.filter(0), p.filter);
        out += line;
    }
    return out;
}

// Runs the station until the radio has what the panel shows, for at most
// five seconds of the program's clock (a loaded machine answers late).
void Settle(Station& s, bool dsp) {
    s.run(800);
    for (int i = 0; i < 14 && !Disagreement(s, dsp, "").empty(); ++i) s.run(300);
}

// Every mode button, then every filter button the mode shows (FM right
// after CW's narrowest filter: a filter of the other table).
void EveryModeAndFilter(Station& s, bool dsp) {
    for (int mode : {101, 102, 103, 105, 100, 106, 109, 101}) {
        Click(mode);
        Settle(s, dsp);
        const std::string m = "mode " + std::to_string(mode);
        EXPECT_EQ(Disagreement(s, dsp, m.c_str()), "");
        for (int n = 1; n <= 12; ++n) {
            if (!Shown(400 + n)) continue;
            Click(400 + n);
            Settle(s, dsp);
            EXPECT_EQ(Disagreement(s, dsp, (m + " button " + std::to_string(n)).c_str()), "");
        }
    }
}
}  // namespace

TEST(RadioWindowStation, ASilentRadioIsSaidOnTheWindowUntilItAnswers) {
    Station s(0, 0x5C);
    s.radio.setAnswering(false);
    s.radio.setEcho(false);
    s.run(15000);
    EXPECT_EQ(g_radioheard, 0);
    EXPECT_TRUE(Shown(9330));
    EXPECT_FALSE(Shown(9200));
    EXPECT_EQ(Text(9330), "No answer from the radio\nIC-756PRO at address 5C");
    const std::string dir = std::string(QARV_BUILD_DIR) + "/radio_window";
    ::mkdir(dir.c_str(), 0755);
    EXPECT_TRUE(plat::SaveWindowPng(g_radiowindow, dir + "/silent_0.png"));
    // The radio is switched on: it answers the next retry, the notice goes
    // and the meter is back.
    s.radio.setAnswering(true);
    s.radio.setEcho(true);
    s.run(15000);
    EXPECT_NE(g_radioheard, 0);
    EXPECT_FALSE(Shown(9330));
    EXPECT_TRUE(Shown(9200));
}

TEST(RadioWindowStation, ARadioThatStopsAnsweringIsSaidUntilItAnswersAgain) {
    Station s(0, 0x5C);
    s.run(8000);
    ASSERT_EQ(g_radioheard, 2);
    EXPECT_FALSE(Shown(9330));
    s.radio.setAnswering(false);  // switched off: the bus still echoes the polls
    const int said = simsteps::RunUntil([] { return Shown(9330); }, 6000, {&s.radio});
    EXPECT_TRUE(said >= 3000 && said <= 4000) << said;
    EXPECT_EQ(Text(9330), "No answer from the radio\nIC-756PRO at address 5C");
    s.radio.setAnswering(true);  // its first answer takes the notice away for good
    EXPECT_TRUE(simsteps::RunUntil([] { return !Shown(9330); }, 500, {&s.radio}) >= 0);
    s.run(6000);
    EXPECT_FALSE(Shown(9330));
    EXPECT_TRUE(Shown(9200));
}

// What the screen shows, not only a fresh render: a filter button whose
// caption changes with the filter table is painted with its new caption.
TEST(RadioWindowStation, FilterCaptionsChangedByAModeArePaintedAtOnce) {
    Station s(23, 0x94);
    s.run(6000);
    for (int mode : {101, 100, 105, 101}) {  // USB, AM, FM, USB
        plat::ScreenSnapshot(g_radiowindow);  // the window as it stands on the screen
        Click(mode);
        s.run(1000);
        for (int id = 401; id <= 412; ++id) {
            plat::Window* b = g_radiowindow->Control(id);
            EXPECT_EQ(plat::AccessibleName(b), b->GetWindowText());
            if (!b->IsWindowVisible()) continue;
            EXPECT_EQ(plat::ScreenSnapshot(b).pixels, plat::TakeSnapshot(b).pixels) << b->GetWindowText() << " after " << mode;
        }
    }
}

TEST(RadioWindowStation, ARadioAtAnotherAddressIsSilent) {
    for (int type : {0, 5, 17, 20}) {
        Station s(type, 0x94);
        s.run(15000);
        EXPECT_EQ(g_radioheard, 0) << type;
        EXPECT_TRUE(Shown(9330)) << type;
    }
}

TEST(RadioWindowStation, FiltersAgreeInEveryModeWithDspFilters) {
    Station s(23, 0x94);
    s.run(15000);
    ASSERT_NE(g_radioheard, 0);
    EXPECT_FALSE(Shown(9330));
    EveryModeAndFilter(s, true);
}

TEST(RadioWindowStation, FiltersAgreeInEveryModeWithTheRadiosFixedFilters) {
    Station s(0, 0x5C);
    s.run(15000);
    ASSERT_NE(g_radioheard, 0);
    EXPECT_EQ(g_filtercount, 3);
    // The three filters and nothing else.
    for (int n = 1; n <= 12; ++n) EXPECT_EQ(Shown(400 + n), n <= 3) << n;
    EXPECT_EQ(Text(401), "FIL1");
    EveryModeAndFilter(s, false);
}

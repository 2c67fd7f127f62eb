// What the LDG tuner reports shows on the radio window: the SWR of its last
// report and the result of a tune in the fields beside its buttons, the
// antenna in use on the antenna button. First with the tuner's records fed
// in, then the whole program with a simulated tuner and a click on "Auto Tnr".
#include <cstdint>
#include <string>

#include "app/tuning_wiring.h"
#include "civ/civ_options.h"
#include "civ/frequency_state.h"
#include "devices/tuner_fixture.h"
#include "panel/radio_window_fixture.h"
#include "platform/event_loop.h"
#include "platform/input_synth.h"
#include "platform/layout_check.h"
#include "sim/sim_radio.h"

using sim::Bytes;

namespace {
constexpr int kSwrField = int(CSwlPanel::kTunerSwrField);
constexpr int kResultField = int(CSwlPanel::kTunerField);

std::string Text(plat::Window* w) { return w ? w->GetWindowText() : "<none>"; }

class TunerPanel : public TunerTest {
protected:
    void SetUp() override {
        TunerTest::SetUp();
        g_internaltuner = 4;
        g_vfoafreq = 14.2;
        ASSERT_TRUE(OpenRadioWindow(frame, window, panel, 23));
        window.ShowWindow(plat::SW_SHOW);
        g_swlpanel = &panel;
        WireTuningView();
    }
    void TearDown() override {
        g_swlpanel = nullptr;
        TunerTest::TearDown();
    }
    static void records(std::initializer_list<std::uint8_t> bytes) {
        std::uint8_t buf[90];
        int n = 0;
        for (std::uint8_t b : bytes) buf[n++] = b;
        EXPECT_EQ(ParseLdg(buf, n), 0);
    }
    // A tune the tuner ends with `record` (9 good, 10 bad).
    static void tune(std::uint8_t record) {
        OnTunerTune();
        g_tunerstate = 3;  // the sequence sent 06 and waits for the result
        records({0xA5, record, 0, 0});
        autotunerexit();
    }
    std::string swr() const { return Text(window.Control(kSwrField)); }
    std::string result() const { return Text(window.Control(kResultField)); }

    ControlOwner frame;
    CSwlPanel panel{&frame};
    CRadioWindow window;
};
}  // namespace

TEST_F(TunerPanel, TheSwrOfEachReportAndEveryTuneResult) {
    EXPECT_EQ(swr(), "");
    EXPECT_EQ(result(), "");
    // A report before any power record (SWR 0) leaves the field alone.
    g_ldgswr = 0;
    records({0xA5, 7, 0x12, 0x34});
    EXPECT_EQ(swr(), "");
    // A power record, then the tuner's report: SWR 3.00.
    records({0xA5, 6, 0, 64, 0xA5, 7, 0x12, 0x34});
    EXPECT_EQ(swr(), "3.00");

    tune(10);
    EXPECT_EQ(result(), "No Tune");
    EXPECT_EQ(swr(), "High");
    tune(9);
    EXPECT_EQ(result(), "Tuned");
    records({0xA5, 6, 0, 11, 0xA5, 7, 0x12, 0x34});
    EXPECT_EQ(swr(), "1.52");
    // A finished memory clear leaves the result as it was.
    records({0xA5, 12, 0, 0});
    EXPECT_EQ(result(), "Tuned");
    EXPECT_TRUE(window.Control(kSwrField)->IsWindowVisible());
    EXPECT_TRUE(window.Control(kResultField)->IsWindowVisible());
}

// A band change to a band tuned on the other antenna switches the tuner's
// antenna: the button says which one is in use, and so does the start-up
// chain that sets the stored one.
TEST_F(TunerPanel, TheAntennaButtonFollowsTheTunerAntenna) {
    g_ldgantenna = 1;
    ToggleTunerAntenna();
    EXPECT_EQ(g_ldgantenna, 2);
    EXPECT_EQ(Text(window.Control(6120)), "Ant2");
    EXPECT_EQ(result(), "");  // the result field keeps the tune's result
    autotunerexit();
    ToggleTunerAntenna();
    EXPECT_EQ(Text(window.Control(6120)), "Ant1");
    autotunerexit();

    g_ldgantenna = 2;
    window.Control(6120)->SetWindowText("Ant1");
    StartLdgChain();
    EXPECT_TRUE(RunUntil([] { return g_tunerstate == 0; }, 3000));
    EXPECT_EQ(Text(window.Control(6120)), "Ant2");
}

namespace {
// The tuner answers the tune byte with a power record (`powerByte`) and
// `outcome` (9 good, 10 bad), and the end of a tune (';') with its report.
sim::SimDevice::Responder Ldg(std::uint8_t powerByte, std::uint8_t outcome, bool reports) {
    return [=](const Bytes& in) {
        Bytes out;
        for (std::uint8_t c : in) {
            if (c == 0x06) out.insert(out.end(), {0xA5, 6, 0, powerByte, 0xA5, outcome, 0, 0});
            if (c == ';' && reports) out.insert(out.end(), {0xA5, 7, 0x01, 0x02});
        }
        return out;
    };
}

plat::Window* Control(int id) { return g_radiowindow ? g_radiowindow->Control(id) : nullptr; }

void Click(int id) {
    plat::Window* b = Control(id);
    ASSERT_NE(b, nullptr) << id;
    ASSERT_TRUE(b->IsWindowVisible()) << id;
    plat::synth::Click(b, plat::synth::Button::Left, {4, 4});
    plat::DeliverPosted();
}

bool Shows(int id, const std::string& text, int ms = 25000) {
    return RunUntil([&] { return Text(Control(id)) == text; }, ms);
}

bool FitsItsField(plat::Window* w) { return w && plat::TextFits(w, w->GetWindowText(), w->GetClientRect(), 1); }
}  // namespace

TEST(TunerPanelProgram, AutoTuneShowsTheSwrAndTunedBesideTheButtons) {
    TunerStation s(14200000, "", Ldg(11, 9, true));
    ASSERT_TRUE(s.started);
    ASSERT_TRUE(s.chainDone());
    ASSERT_NE(g_radiowindow, nullptr);
    // The chain's 3B is answered with a report, but no power record came yet.
    EXPECT_EQ(Text(Control(kSwrField)), "");
    Click(564);  // "Auto Tnr"
    EXPECT_TRUE(Shows(kResultField, "Tuned")) << Text(Control(kResultField));
    EXPECT_TRUE(Shows(kSwrField, "1.52")) << Text(Control(kSwrField));
    EXPECT_GE(sim::Find(s.tuner.received(), Bytes{0x06}), 0);
    EXPECT_TRUE(Control(kSwrField)->IsWindowVisible());
    EXPECT_TRUE(FitsItsField(Control(kSwrField)));
    EXPECT_TRUE(FitsItsField(Control(kResultField)));
    // The tuner's setting was kept for the frequency.
    EXPECT_EQ(LdgSetting(LdgPeriod(14.2)), 0x0102);
}

TEST(TunerPanelProgram, AFailedTuneShowsNoTuneAndMarksTheSwr) {
    TunerStation s(14200000, "", Ldg(64, 10, false));
    ASSERT_TRUE(s.started);
    ASSERT_TRUE(s.chainDone());
    Click(564);
    EXPECT_TRUE(Shows(kResultField, "No Tune")) << Text(Control(kResultField));
    EXPECT_EQ(Text(Control(kSwrField)), "High");
    EXPECT_EQ(g_tunerstate, 0);
}

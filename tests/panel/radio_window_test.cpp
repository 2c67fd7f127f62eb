// The radio window: the layout per model at the default scale, the window
// built from it showing the tuning state, and the operator's typing,
// clicks and keys on the real controls.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "base/panel_options.h"
#include "civ/band_table.h"
#include "civ/radio_models.h"
#include "control_fixture.h"
#include "panel/controls/bistate_button.h"
#include "panel/radio_layout.h"
#include "panel/radio_window.h"
#include "panel/radio_window_fixture.h"
#include "panel/swl_panel.h"
#include "platform/controls.h"

namespace {
using radio_layout::Context;
using radio_layout::Layout;
using radio_layout::Placed;

const Placed* Find(const std::vector<Placed>& l, int id) {
    for (const Placed& p : l)
        if (p.item->id == id) return &p;
    return nullptr;
}

bool Overlap(const plat::Rect& a, const plat::Rect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

std::string Dump(const std::vector<Placed>& l) {
    std::string out;
    for (const Placed& p : l) {
        if (!p.visible) continue;
        char line[160];
        std::snprintf(line, sizeof line, "%5d %-12s %4d,%3d-%4d,%3d\n", p.item->id, p.caption.c_str(), p.px.left,
                      p.px.top, p.px.right, p.px.bottom);
        out += line;
    }
    return out;
}
}  // namespace

TEST(RadioLayout, ScalerTruncatesTheFloatProducts) {
    // "AM" at 1.4: (195+45)*1.4 = 336 ... 127*1.4 = 177.8.
    EXPECT_EQ(radio_layout::ScaleRect(195, 110, 235, 127, 1.4f, 1.4f), (plat::Rect{336, 154, 392, 177}));
    // Design left -42 lands at trunc(3 * sx).
    EXPECT_EQ(radio_layout::ScaleRect(-42, 5, 0, 22, 1.4f, 1.4f).left, 4);
    EXPECT_EQ(radio_layout::ScaleRect(-42, 5, 0, 22, 1.0f, 1.0f).left, 3);
}

TEST(RadioLayout, EveryModelKeepsItsControlsInsideTheWindowAndApart) {
    const std::string dir = std::string(QARV_BUILD_DIR) + "/radio_window";
    ::mkdir(dir.c_str(), 0755);
    for (int model : {0, 5, 17, 20, 23}) {
        for (bool touch : {false, true}) {
            for (int tuner : {0, 1, 4}) {
                Context c;
                c.radiotype = model;
                c.touchScreen = touch;
                c.tuner = tuner;
                const auto l = Layout(c, 1.4f, 1.4f);
                const plat::Rect win = radio_layout::WindowRect(1.4f, 1.4f);
                for (const Placed& p : l) {
                    EXPECT_GE(p.px.left, 0) << model << " " << p.item->id;
                    EXPECT_GE(p.px.top, 0) << model << " " << p.item->id;
                    EXPECT_LE(p.px.right, win.right) << model << " " << p.item->id;
                    EXPECT_LE(p.px.bottom, win.bottom) << model << " " << p.item->id;
                    EXPECT_LT(p.px.left, p.px.right) << p.item->id;
                }
                // Two visible controls never cover each other (the memory
                // frame holds its buttons).
                for (std::size_t i = 0; i < l.size(); ++i)
                    for (std::size_t j = i + 1; j < l.size(); ++j) {
                        const Placed& a = l[i];
                        const Placed& b = l[j];
                        if (!a.visible || !b.visible || a.item->id == 9300 || b.item->id == 9300) continue;
                        EXPECT_FALSE(Overlap(a.px, b.px))
                            << "model " << model << ": " << a.item->id << " and " << b.item->id;
                    }
                if (!touch && tuner == 1) {
                    std::ofstream(dir + "/layout_" + std::to_string(model) + ".txt") << Dump(l);
                }
            }
        }
    }
}

TEST(RadioLayout, ModelRules) {
    auto visible = [](int model, int id) {
        Context c;
        c.radiotype = model;
        const auto l = Layout(c, 1.4f, 1.4f);
        const Placed* p = Find(l, id);
        return p && p->visible;
    };
    for (int model : {0, 5, 17, 23}) EXPECT_FALSE(visible(model, 179)) << model;
    EXPECT_TRUE(visible(20, 179));
    EXPECT_FALSE(visible(17, 105));
    EXPECT_TRUE(visible(23, 105));
    EXPECT_FALSE(visible(17, 214));  // "Mon"
    EXPECT_TRUE(visible(23, 2532));  // "IP+" only on model 23
    EXPECT_FALSE(visible(5, 2532));
    EXPECT_TRUE(visible(5, 2512));  // APF on the DIGI-SEL family
    EXPECT_TRUE(visible(5, 1516));
    EXPECT_FALSE(visible(23, 1516));
    EXPECT_FALSE(visible(0, 2517));  // no meter selection
    EXPECT_TRUE(visible(23, 2517));

    Context c17;
    c17.radiotype = 17;
    const auto l17 = Layout(c17, 1.4f, 1.4f);
    ASSERT_NE(Find(l17, 40036), nullptr);
    EXPECT_EQ(Find(l17, 40036)->caption, "Off");
    EXPECT_FALSE(Find(l17, 2489)->visible);
    // Models 5 and 16 have four AGC buttons; the fourth reads "Off" on the IC-7610.
    Context c5;
    c5.radiotype = 5;
    EXPECT_EQ(Find(Layout(c5, 1.4f, 1.4f), 2489)->caption, "Man");
    EXPECT_EQ(Find(Layout(c5, 1.4f, 1.4f), 40034)->px, radio_layout::ScaleRect(411, 170, 439, 187, 1.4f, 1.4f));
    c5.model7610 = true;
    EXPECT_EQ(Find(Layout(c5, 1.4f, 1.4f), 2489)->caption, "Off");
    // The Perseus receiver: SAM replaces the digital-mode button.
    Context p;
    p.radiotype = 13;
    p.perseus = true;
    const auto lp = Layout(p, 1.4f, 1.4f);
    EXPECT_NE(Find(lp, 6126), nullptr);
    EXPECT_EQ(Find(lp, 109), nullptr);
}

namespace {
struct Frame : ControlOwner {
    std::vector<unsigned> chars;
    plat::LRESULT WindowProc(unsigned msg, plat::WPARAM w, plat::LPARAM l) override {
        if (msg == plat::WM_CHAR) chars.push_back(unsigned(w));
        return ControlOwner::WindowProc(msg, w, l);
    }
};

struct RadioWindowTest : ::testing::Test {
    Frame frame;
    CSwlPanel panel{&frame};
    CRadioWindow window;
    void Open(int model) {
        ASSERT_TRUE(OpenRadioWindow(frame, window, panel, model));
        window.CreateToolTips();
        window.ShowWindow(plat::SW_SHOW);
    }
    std::string Text(int id) {
        plat::Window* w = window.Control(id);
        return w ? w->GetWindowText() : "<none>";
    }
    std::string Digits(int first) {
        std::string s;
        for (int i = 0; i < kDigitBoxes; ++i) s += Text(first + i) + "|";
        return s;
    }
    int Lit(int id) {
        auto* b = dynamic_cast<CBiStateButton*>(window.Control(id));
        return b ? b->GetState() : -1;
    }
};
}  // namespace

TEST_F(RadioWindowTest, CreatingTheWindowSendsNothingAndShowsTheState) {
    Open(23);
    EXPECT_TRUE(frame.commands.empty());
    EXPECT_GE(window.GetClientRect().width(), radio_layout::WindowRect(1.4f, 1.4f).width());
    EXPECT_EQ(window.Control(100)->GetWindowRect().width(), 392 - 336);
    // The start-up state goes on the screen.
    panel.SetPanelTuning(14.025, '0', 1000, 2, 7.1, '1');
    EXPECT_EQ(Digits(5155), "1|4.|0|2|5.|0|0|0|");
    EXPECT_EQ(Digits(5164), "  |7.|1|0|0.|0|0|0|");
    EXPECT_EQ(Text(9101), "USB");
    EXPECT_EQ(Text(9102), "LSB");
    EXPECT_EQ(Text(9105), "1.0 kHz");
    EXPECT_EQ(Lit(101), 1);
    EXPECT_EQ(Lit(100), 0);
    EXPECT_EQ(Lit(704), 1);  // STEP4 = 1000
    EXPECT_EQ(Lit(703), 0);
    EXPECT_EQ(Text(701), "  1 Hz");
    EXPECT_EQ(Text(706), "10.0 kHz");
    // Mode, step and band follow the radio.
    panel.SetPanelTuning(0, '3', 100, 0, 0, 0);
    EXPECT_EQ(Lit(103), 1);
    EXPECT_EQ(Lit(101), 0);
    EXPECT_EQ(Lit(703), 1);
    EXPECT_EQ(Text(9105), "100 Hz");
    g_bandrow = 13;  // 20 m SSB
    panel.ShowBand();
    EXPECT_EQ(Lit(40126), 1);
    EXPECT_EQ(Lit(40026), 0);
    panel.SetTransmitA(1);
    panel.SetFrequency(144.11);
    EXPECT_EQ(Digits(5155), "1|4|4.|1|1|0.|0|0|");

    const std::string dir = std::string(QARV_BUILD_DIR) + "/radio_window";
    ::mkdir(dir.c_str(), 0755);
    panel.SetTransmitA(0);
    panel.SetFrequency(14.025);
    EXPECT_TRUE(plat::SaveWindowPng(&window, dir + "/radio_23.png"));
}

TEST_F(RadioWindowTest, RendersModelsZeroAndFive) {
    const std::string dir = std::string(QARV_BUILD_DIR) + "/radio_window";
    ::mkdir(dir.c_str(), 0755);
    Open(5);
    panel.SetPanelTuning(7.025, '3', 100, 5, 7.03, '3');
    EXPECT_TRUE(plat::SaveWindowPng(&window, dir + "/radio_5.png"));
}

TEST_F(RadioWindowTest, RendersModelZero) {
    const std::string dir = std::string(QARV_BUILD_DIR) + "/radio_window";
    ::mkdir(dir.c_str(), 0755);
    Open(0);
    panel.SetPanelTuning(3.79, '1', 1000, 3, 3.8, '1');
    EXPECT_TRUE(plat::SaveWindowPng(&window, dir + "/radio_0.png"));
}

TEST_F(RadioWindowTest, TypedDigitsTuneThroughTheMainFrame) {
    Open(23);
    panel.SetPanelTuning(14.025, '0', 1000, 2, 7.1, '1');
    frame.commands.clear();
    plat::Window* box = window.Control(5158);
    ASSERT_NE(box, nullptr);
    plat::synth::Type(box, "7.025");
    // The typed value shows while the radio's reports are held off.
    EXPECT_EQ(Digits(5155), "  |7.|0|2|5.|0|0|0|");
    panel.SetFrequency(14.2);
    EXPECT_EQ(Digits(5155), "  |7.|0|2|5.|0|0|0|");
    plat::synth::Type(box, "\r");
    EXPECT_DOUBLE_EQ(g_keypadfreq, 7.025);
    EXPECT_EQ(frame.Count(ID_STORED_FREQ), 1);
    EXPECT_EQ(frame.Count(IDC_RADIO_WINDOW), 0);

    // ManMD on: the panel takes the frequency and the main frame hears 1213.
    g_manualmode = 1;
    plat::synth::Type(box, "3.5\r");
    EXPECT_DOUBLE_EQ(panel.vfoAFreq, 3.5);
    EXPECT_EQ(frame.Count(IDC_RADIO_WINDOW), 1);
    EXPECT_EQ(Digits(5155), "  |3.|5|0|0.|0|0|0|");

    // Esc puts the stored frequency back; Enter alone is refused.
    plat::synth::Type(box, "21");
    plat::synth::Type(box, "\x1b");
    EXPECT_EQ(Digits(5155), "  |3.|5|0|0.|0|0|0|");
    plat::synth::Type(box, "\r");
    EXPECT_EQ(Digits(5155), "  |3.|5|0|0.|0|0|0|");
    EXPECT_EQ(frame.Count(IDC_RADIO_WINDOW), 1);
}

TEST_F(RadioWindowTest, KeypadEntryStopsAtTheLargestFrequencyTheBoxesHold) {
    Open(23);
    panel.SetPanelTuning(14.025, '0', 1000, 2, 7.1, '1');
    plat::Window* box = window.Control(5160);
    // Whole MHz past 9999 cannot take the point; digits past 1 Hz add nothing.
    plat::synth::Type(box, "12345.");
    EXPECT_EQ(Digits(5155), "  |0.|0|1|2.|3|4|5|");
    plat::synth::Type(box, "\x1b");
    plat::synth::Type(box, "9999.9999999999");
    EXPECT_EQ(Digits(5155), "9|9|9|9.|9|9|9.|9|");
    EXPECT_DOUBLE_EQ(panel.keyA.accumulator, 9999999999.0);
    // Without the point: ten digits of Hz at most.
    plat::synth::Type(box, "\x1b");
    plat::synth::Type(box, "99999999999999");
    EXPECT_DOUBLE_EQ(panel.keyA.accumulator, 9999999999.0);
    plat::synth::Type(box, "\x1b");
    EXPECT_EQ(Digits(5155), "1|4.|0|2|5.|0|0|0|");
}

TEST_F(RadioWindowTest, ButtonsKeysAndClose) {
    Open(23);
    panel.SetPanelTuning(14.025, '0', 1000, 2, 7.1, '1');
    frame.commands.clear();
    // A step button sets the step and tells the main frame.
    plat::Window* step2 = window.Control(702);
    plat::synth::Click(step2, plat::synth::Button::Left, {5, 5});
    EXPECT_EQ(panel.step, 10);
    EXPECT_EQ(Text(9105), " 10 Hz");
    EXPECT_GE(frame.Count(IDC_RADIO_WINDOW), 1);
    // A button whose action belongs to the main frame reaches it ("Time":
    // the clock's local/UTC switch).
    frame.commands.clear();
    plat::synth::Click(window.Control(424), plat::synth::Button::Left, {5, 5});
    EXPECT_EQ(frame.Count(3231), 1);
    // '+' and '-' step the main frame's tuning; nothing else is sent.
    frame.commands.clear();
    window.SendMessage(plat::WM_CHAR, '+', 0);
    window.SendMessage(plat::WM_CHAR, '-', 0);
    EXPECT_EQ(frame.commands, (std::vector<unsigned>{223, 222}));
    // Tooltips on the controls.
    EXPECT_EQ(window.Control(100)->GetToolTip(), "AM Mode");
    EXPECT_EQ(window.Control(5156)->GetToolTip(), "Use Mouse Wheel to Tune Digit Up or Down");
    // The pointer over a slider or a digit box makes it the wheel's target.
    plat::synth::Enter(window.Control(2360));
    EXPECT_EQ(g_wheelctrl, 2360);
    plat::synth::Leave(window.Control(2360));
    EXPECT_EQ(g_wheelctrl, 0);
    plat::synth::Enter(window.Control(5157));
    EXPECT_EQ(g_wheelctrl, 5157);
    plat::synth::Move(&window, {600, 500});
    EXPECT_EQ(g_wheelctrl, 0);
    // The body drags the window.
    const plat::Rect before = window.GetWindowRect();
    plat::synth::Press(&window, plat::synth::Button::Left, {600, 500});
    plat::synth::Move(&window, {630, 520}, plat::MK_LBUTTON);
    plat::synth::Release(&window, plat::synth::Button::Left, {630, 520});
    EXPECT_EQ(window.GetWindowRect().left, before.left + 30);
    EXPECT_EQ(window.GetWindowRect().top, before.top + 20);
    // Digits without the kHz point when it is switched off.
    g_removeextradecimal = 1;
    panel.SetFrequency(7.1);
    EXPECT_EQ(Digits(5155), "  |7.|1|0|0|0|0|0|");
    // The close-time layout: the notice in place of the bottom row.
    panel.CloseLayout();
    EXPECT_TRUE(window.Control(9320)->IsWindowVisible());
    EXPECT_EQ(window.Control(9320)->GetWindowText(), "Saving Settings to Qarv.INI ");
    EXPECT_FALSE(window.Control(589)->IsWindowVisible());
    EXPECT_TRUE(window.Control(100)->IsWindowVisible());
    // Closing only hides.
    window.SendMessage(plat::WM_CLOSE);
    EXPECT_TRUE(window.IsCreated());
    EXPECT_FALSE(window.IsWindowVisible());
}

// The radio window as an operator sees it at the scales the settings offer:
// every caption and number whole inside its control, the controls inside the
// window and apart, the text the scales, meter and passband picture draw
// whole and growing with the window; per model no internal names and no
// holes in a column.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <cstdio>
#include <string>

#include "base/device_options.h"
#include "base/panel_options.h"
#include "base/settings_options.h"
#include "civ/frame_reader.h"
#include "civ/radio_models.h"
#include "civ/transverters.h"
#include "control_fixture.h"
#include "memories/stations.h"
#include "panel/controls/owner_drawn.h"
#include "panel/filter_table.h"
#include "panel/function_buttons.h"
#include "panel/radio_layout.h"
#include "panel/radio_window.h"
#include "panel/swl_panel.h"
#include "platform/layout_check.h"

namespace {
struct Fit {
    int type;
    float scale;
};

std::string Name(const Fit& f) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "type %d at %.1f", f.type, double(f.scale));
    return buf;
}

// The window of one model at one scale, showing a busy state: the longest
// clock texts, a filter, PBT and RIT away from zero, a meter reading.
struct OpenWindow {
    ControlOwner frame;
    CSwlPanel panel{&frame};
    CRadioWindow window;
    explicit OpenWindow(const Fit& f) {
        g_radioheard = 1;  // the meter in its place
        g_radiotype = f.type;
        g_scalex = g_scaley = f.scale;
        // The longest texts the new labels carry: a long station name, the
        // largest call-sign size, every transverter button.
        g_stationcaption = "Radio Exterior de Espana";
        std::snprintf(g_callsign, sizeof g_callsign, "%s", "VP2E/W1AW");
        g_callsize = 34;
        std::snprintf(g_rotortarget, sizeof g_rotortarget, "%s", "359");
        for (int n = 0; n < 5; ++n) {
            g_transverter[n].lower = 1000 + 100 * n;
            g_transverter[n].upper = 1050 + 100 * n;
            std::snprintf(g_transverter[n].button, sizeof g_transverter[n].button, "%s", "23cm");
        }
        frame.Open(200, 100);
        window.CreatePanel(&frame, {10, 10, 0, 0}, &panel);
        window.CreateSliderRow();
        window.CreateToolTips();
        window.ShowWindow(plat::SW_SHOW);
        SetModelFilterCount();  // as the main frame's start-up does
        panel.SetPanelTuning(14.025, '0', 1000, 2, 7.1, '1');
        panel.ShowClocks("LOC 12:58:58", "UTC 23:58:58");
        panel.ShowMeterReading(2304, 4);
        panel.SetPbtInner(148);
        panel.SetPbtOuter(0);
        panel.ritOffset = -9999;
        panel.xitOffset = -9999;
        panel.xit = 1;
        panel.ShowRitXit();
        panel.ShowCwSpeed("25");
        panel.SetCwCaption("Cw Kb");
        if (f.type == 5) {
            panel.fn.noiseReductionB = panel.fn.noiseBlankerB = panel.fn.autoNotchB = panel.fn.manualNotchB = panel.fn.twinPeakB = 1;
            panel.fn.attenuatorB = 7;
            panel.fn.preampB = 2;
            panel.fn.apfB = 1;
            panel.fn.rxAntennaB = 1;
            panel.ShowDspStatusLine();
            panel.ShowRfStatusLine();
        }
    }
    plat::Window* Control(int id) const { return window.Control(id); }
};

const int kDrawing[] = {2358, 2386, 2382, 9200, 2401};

// The scales, meter and passband picture: what they drew lies inside them,
// and each text fits its box in the font the control paints with.
std::string DrawnFaults(const OpenWindow& w) {
    std::string out;
    for (int id : kDrawing) {
        auto* c = dynamic_cast<const COwnerDrawn*>(w.Control(id));
        if (!c || !c->IsWindowVisible()) continue;
        const plat::Rect inside{0, 0, c->Width(), c->Height()};
        for (const COwnerDrawn::DrawnText& t : c->DrawnTexts()) {
            const bool in = t.box.left >= 0 && t.box.top >= 0 && t.box.right <= inside.right && t.box.bottom <= inside.bottom;
            if (!in || !plat::TextFits(c, t.text, t.box, 0))
                out += std::to_string(id) + " \"" + t.text + "\" at " + std::to_string(t.box.left) + "," +
                       std::to_string(t.box.top) + "-" + std::to_string(t.box.right) + "," +
                       std::to_string(t.box.bottom) + " in " + std::to_string(inside.right) + "x" +
                       std::to_string(inside.bottom) + "\n";
        }
    }
    return out;
}

std::string Overlaps(const OpenWindow& w) {
    std::string out;
    const auto& placed = w.window.Placement();
    for (std::size_t i = 0; i < placed.size(); ++i)
        for (std::size_t j = i + 1; j < placed.size(); ++j) {
            const int a = placed[i].item->id, b = placed[j].item->id;
            if (a == 9300 || b == 9300) continue;  // the memory frame holds its buttons
            plat::Window* wa = w.Control(a);
            plat::Window* wb = w.Control(b);
            if (!wa || !wb || wa == wb || !wa->IsWindowVisible() || !wb->IsWindowVisible()) continue;
            if (plat::Intersects(plat::ScreenRect(wa), plat::ScreenRect(wb)))
                out += std::to_string(a) + " and " + std::to_string(b) + "\n";
        }
    return out;
}

void Render(OpenWindow& w, const Fit& f) {
    const std::string dir = std::string(QARV_BUILD_DIR) + "/radio_window";
    ::mkdir(dir.c_str(), 0755);
    char name[64];
    std::snprintf(name, sizeof name, "/fit_%d_%.1f.png", f.type, double(f.scale));
    EXPECT_TRUE(plat::SaveWindowPng(&w.window, dir + name));
}
}  // namespace

class RadioWindowFit : public ::testing::TestWithParam<Fit> {};

TEST_P(RadioWindowFit, CaptionsNumbersAndDrawnTextFitAndNothingOverlaps) {
    const Fit f = GetParam();
    OpenWindow w(f);
    Render(w, f);  // paints every control
    EXPECT_EQ(plat::DescribeFaults(plat::CheckLayout(&w.window)), "") << Name(f);
    EXPECT_EQ(Overlaps(w), "") << Name(f);
    EXPECT_EQ(DrawnFaults(w), "") << Name(f);
    // The values the panel works out are on the screen.
    for (int id : {9341, 9343, 9345, 9347, 9348, 9349, 9350, 40145, 40149}) {
        plat::Window* c = w.Control(id);
        ASSERT_NE(c, nullptr) << id << " " << Name(f);
        EXPECT_TRUE(c->IsWindowVisible()) << id << " " << Name(f);
        EXPECT_FALSE(c->GetWindowText().empty()) << id << " " << Name(f);
    }
    EXPECT_EQ(w.Control(9341)->GetWindowText(), "-9.999");
    EXPECT_EQ(w.Control(9347)->GetWindowText(), "-128");
    EXPECT_EQ(w.Control(9348)->GetWindowText(), "Radio Exterior de Espana");
    // The scales show their numbers: none of them is dropped for want of room.
    auto* scale = dynamic_cast<const COwnerDrawn*>(w.Control(2358));
    ASSERT_NE(scale, nullptr);
    EXPECT_GE(scale->DrawnTexts().size(), 3u) << Name(f);
    auto* pbt = dynamic_cast<const COwnerDrawn*>(w.Control(2386));
    EXPECT_GE(pbt->DrawnTexts().size(), 1u) << Name(f);
    // A silent radio's notice in the meter's place fits as well.
    g_radioheard = 0;
    w.panel.ShowRadioContact();
    ASSERT_TRUE(w.Control(9330)->IsWindowVisible());
    EXPECT_EQ(plat::DescribeFaults(plat::CheckLayout(&w.window)), "") << Name(f);
    EXPECT_EQ(Overlaps(w), "") << Name(f);
}

INSTANTIATE_TEST_SUITE_P(Models, RadioWindowFit,
                         ::testing::Values(Fit{0, 1.0f}, Fit{0, 1.4f}, Fit{0, 1.5f}, Fit{0, 2.0f}, Fit{5, 1.0f},
                                           Fit{5, 1.4f}, Fit{5, 1.5f}, Fit{5, 2.0f}, Fit{17, 1.0f}, Fit{17, 1.4f},
                                           Fit{17, 1.5f}, Fit{17, 2.0f}, Fit{20, 1.0f}, Fit{20, 1.4f}, Fit{20, 1.5f},
                                           Fit{20, 2.0f}, Fit{23, 1.0f}, Fit{23, 1.4f}, Fit{23, 1.5f}, Fit{23, 2.0f}));

// Text drawn in code follows the window's scale factors.
TEST(RadioWindowFitScale, DrawnTextGrowsWithTheWindow) {
    int height[2] = {0, 0};
    int i = 0;
    for (float scale : {1.0f, 2.0f}) {
        OpenWindow w({23, scale});
        ASSERT_TRUE(plat::SaveWindowPng(&w.window, std::string(QARV_BUILD_DIR) + "/radio_window/scale_probe.png"));
        for (int id : kDrawing) {
            auto* c = dynamic_cast<const COwnerDrawn*>(w.Control(id));
            ASSERT_NE(c, nullptr) << id;
            ASSERT_FALSE(c->DrawnTexts().empty()) << id;
        }
        auto* c = dynamic_cast<const COwnerDrawn*>(w.Control(2358));
        height[i++] = plat::MeasureText(c, c->DrawnTexts().front().text).y;
    }
    EXPECT_GT(height[1], height[0] * 3 / 2);
}

namespace {
// Holes a person sees: in a column of buttons (the same left and right
// edge) a gap tall enough for one more button, and in the slider strip a
// gap wide enough for one more slider. Empty when there is none.
std::string Holes(const std::vector<radio_layout::Placed>& placed, float sx, float sy) {
    using radio_layout::Kind;
    std::string out;
    std::map<std::pair<int, int>, std::vector<plat::Rect>> columns;
    std::vector<plat::Rect> sliders;
    for (const radio_layout::Placed& p : placed) {
        if (!p.visible) continue;
        if (p.item->kind == Kind::Button || p.item->kind == Kind::HoldButton || p.item->kind == Kind::FilterButton)
            columns[{p.px.left, p.px.right}].push_back(p.px);
        if (p.item->kind == Kind::Slider) sliders.push_back(p.px);
    }
    const int buttonHeight = int(17 * sy), sliderWidth = int(20 * sx);
    for (auto& [edges, rects] : columns) {
        std::sort(rects.begin(), rects.end(), [](const plat::Rect& a, const plat::Rect& b) { return a.top < b.top; });
        for (std::size_t i = 1; i < rects.size(); ++i)
            if (rects[i].top - rects[i - 1].bottom >= buttonHeight)
                out += "column at x " + std::to_string(edges.first) + ": hole above y " + std::to_string(rects[i].top) + "\n";
    }
    std::sort(sliders.begin(), sliders.end(), [](const plat::Rect& a, const plat::Rect& b) { return a.left < b.left; });
    for (std::size_t i = 1; i < sliders.size(); ++i)
        if (sliders[i].left - sliders[i - 1].right >= sliderWidth)
            out += "slider strip: hole left of x " + std::to_string(sliders[i].left) + "\n";
    return out;
}
}  // namespace

// Per model: no column has a hole where a control the model lacks would
// be, and the filter buttons that show are the model's filters.
TEST(RadioWindowModels, NoHolesWhereAModelLacksAControl) {
    for (int type = 0; type < kRadioTypes; ++type) {
        if (type == 19 || type == 24) continue;  // they run as 13 and 18
        radio_layout::Context c;
        c.radiotype = type;
        for (int tuner : {0, 1, 4}) {
            c.tuner = tuner;
            EXPECT_EQ(Holes(radio_layout::Layout(c, 1.4f, 1.4f), 1.4f, 1.4f), "") << "type " << type;
        }
    }
    // The IC-7200 has no FM: the digital modes close up under CW.
    radio_layout::Context c17;
    c17.radiotype = 17;
    for (const radio_layout::Placed& p : radio_layout::Layout(c17, 1.0f, 1.0f)) {
        if (p.item->id == 109) {
            EXPECT_EQ(p.px.top, 190);
        }
    }
    // The IC-756PRO has neither APF nor IP+: NBlk heads the left-most column
    // instead of leaving its top empty; the IC-7800 (NB in the DSP row) has
    // ANotch under APF.
    radio_layout::Context c0;
    c0.radiotype = 0;
    for (const radio_layout::Placed& p : radio_layout::Layout(c0, 1.0f, 1.0f)) {
        if (p.item->id == 2364) {
            EXPECT_EQ(p.px.top, 5);
        }
    }
    radio_layout::Context c5;
    c5.radiotype = 5;
    for (const radio_layout::Placed& p : radio_layout::Layout(c5, 1.0f, 1.0f)) {
        if (p.item->id == 2495) {
            EXPECT_EQ(p.px.top, 24);
        }
    }
}

// No control shows a name of the program's own making: every caption and
// text on a visible control has a capital or a digit, but for the sub
// receiver's two status lines, whose letter codes the window captions
// ("Sub Receiver:") and explains in their tooltips.
TEST(RadioWindowModels, NoLowerCaseNamesOnScreen) {
    for (int type : {0, 5, 17, 20, 23}) {
        OpenWindow w({type, 1.4f});
        for (const radio_layout::Placed& p : w.window.Placement()) {
            plat::Window* c = w.Control(p.item->id);
            if (!c || !c->IsWindowVisible()) continue;
            const std::string text = c->GetWindowText();
            bool lower = false, marked = false;
            for (char ch : text) {
                lower = lower || std::islower(static_cast<unsigned char>(ch));
                marked = marked || std::isupper(static_cast<unsigned char>(ch)) || std::isdigit(static_cast<unsigned char>(ch));
            }
            if (p.item->id == int(IDC_DSP_STATUS) || p.item->id == int(IDC_RF_STATUS)) {
                EXPECT_TRUE(w.Control(9325)->IsWindowVisible());
                EXPECT_FALSE(c->GetToolTip().empty());
                continue;
            }
            EXPECT_FALSE(lower && !marked) << "type " << type << " id " << p.item->id << " \"" << text << "\"";
        }
    }
}

// Every number on the window says what it is: a caption beside it or a
// tooltip on it.
TEST(RadioWindowModels, EveryNumberHasATooltip) {
    OpenWindow w({23, 1.4f});

    for (const radio_layout::Placed& p : w.window.Placement()) {
        if (p.item->kind != radio_layout::Kind::Label) continue;
        plat::Window* c = w.Control(p.item->id);
        if (!c || !c->IsWindowVisible()) continue;
        const std::string text = c->GetWindowText();
        bool digit = false;
        for (char ch : text) digit = digit || std::isdigit(static_cast<unsigned char>(ch));
        if (digit) {
            EXPECT_FALSE(c->GetToolTip().empty()) << p.item->id << " \"" << text << "\"";
        }
    }
    // Buttons captioned with a number: the band buttons say their band.
    for (const radio_layout::Placed& p : w.window.Placement()) {
        if (p.item->kind != radio_layout::Kind::Button) continue;
        plat::Window* c = w.Control(p.item->id);
        if (!c || !c->IsWindowVisible() || c->GetWindowText().empty()) continue;
        if (std::isdigit(static_cast<unsigned char>(c->GetWindowText()[0]))) {
            EXPECT_FALSE(c->GetToolTip().empty()) << p.item->id << " \"" << c->GetWindowText() << "\"";
        }
    }
    EXPECT_EQ(w.Control(40126)->GetToolTip(), "20 Meters SSB");
    EXPECT_EQ(w.Control(40026)->GetToolTip(), "20 Meters CW");
    EXPECT_EQ(w.Control(40136)->GetToolTip(), "25 Meters");
    EXPECT_EQ(w.Control(9111)->GetToolTip(), "CW Keyboard Speed (WPM)");
    EXPECT_EQ(w.Control(9322)->GetToolTip(), "Noise Blanker Level");
}

// A tick label the strip's ends would cut ("-100" shown as ".00", "14.4"
// as "14.") is left out; the others keep their place over their tick.
TEST(TickLabels, LabelsCutByAnEndAreLeftOut) {
    auto measure = [](const std::string& t) { return plat::Point{int(t.size()) * 8, 12}; };
    const auto placed = PlaceTickLabels({{"-100", 10}, {"-50", 60}, {"0", 110}, {"14.4", 225}}, 230, 2, measure);
    ASSERT_EQ(placed.size(), 2u);
    EXPECT_EQ(placed[0].text, "-50");
    EXPECT_EQ(placed[0].box, (plat::Rect{48, 2, 72, 14}));
    EXPECT_EQ(placed[1].text, "0");
    EXPECT_EQ(placed[1].box, (plat::Rect{106, 2, 114, 14}));
}

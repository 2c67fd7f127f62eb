// The main frame as an operator meets it: every embedded panel open at the
// scales the settings offer, none on another or on the bars, every caption
// whole; the scratch pads after a restart; Help and the Hot Keys box.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "app/commands.h"
#include "app/keys_table.h"
#include "app/main_frame.h"
#include "app/started_app.h"
#include "civ/frequency_state.h"
#include "common/test_dir.h"
#include "devices/cw_panel.h"
#include "devices/wave_panel.h"
#include "memories/dstar_panel.h"
#include "memories/memory_file_panel.h"
#include "memories/recall_panels.h"
#include "memories/sweep.h"
#include "memories/sweep_panel.h"
#include "panel/mirror_panel.h"
#include "panel/swl_panel.h"
#include "platform/clock.h"
#include "platform/event_loop.h"
#include "platform/files.h"
#include "platform/input_synth.h"
#include "platform/layout_check.h"
#include "platform/menu.h"
#include "platform/message_box.h"
#include "settings/trans_ops.h"

namespace {
std::string Ini(const char* scale, int bigSweep, const char* status = "") {
    std::ostringstream s;
    s << "[RADIO WINDOW]\nSCALEX=" << scale << "\nSCALEY=" << scale << "\nSETTINGS SCALEX=" << scale
      << "\nSETTINGS SCALEY=" << scale << "\n[SWEEP WINDOW]\nVISIBLE=TRUE\n[OPERATING STATUS]\nSP VISIBLE=1\n"
      << "KEYER STATE=1\nBIG SWEEP=" << bigSweep << "\n" << status << "[INTERFACE]\nMIRROR=1\n"
      << "[MAIN WINDOW]\nMAXIMIZE=FALSE\n";
    return s.str();
}

std::string Name(const plat::Window* w) { return w->GetWindowText(); }

// The frame's bars on the screen: the menu, and each dialog bar while it
// shows.
std::vector<plat::Rect> Bars() {
    const plat::Point o = g_mainwin->ClientToScreen({0, 0});
    std::vector<plat::Rect> bars{
        {o.x, o.y, o.x + g_mainwin->GetClientRect().right, o.y + plat::MenuBarHeight(g_mainwin)}};
    for (plat::Window* b : {g_mainwin->ControlBar(), g_mainwin->MonitorBar()})
        if (b && b->IsWindowVisible()) bars.push_back(plat::ScreenRect(b));
    return bars;
}

// Everything a person would see wrong with the embedded panels now.
void ExpectPanelsApart(const std::string& when) {
    SCOPED_TRACE(when);
    std::vector<plat::Window*> open;
    for (plat::Window* w : EmbeddedPanels())
        if (w->IsWindowVisible()) open.push_back(w);
    ASSERT_EQ(open.size(), 7u) << "radio, settings, sweep, CW keyboard, mirror, recall and scratch pad all open";
    // The client area scrolls over them all.
    const plat::Point surface = g_mainwin->Client()->SurfaceSize();
    for (std::size_t i = 0; i < open.size(); ++i) {
        const plat::Rect r = open[i]->GetWindowRect();
        EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= surface.x && r.bottom <= surface.y)
            << Name(open[i]) << " reaches past the client area's " << surface.x << "x" << surface.y;
        for (const plat::Rect& bar : Bars())
            EXPECT_FALSE(plat::Intersects(plat::ScreenRect(open[i]), bar)) << Name(open[i]) << " on a bar";
        for (std::size_t j = i + 1; j < open.size(); ++j)
            EXPECT_FALSE(plat::Intersects(plat::ScreenRect(open[i]), plat::ScreenRect(open[j])))
                << Name(open[i]) << " on " << Name(open[j]);
    }
    // Inside each panel and bar (the settings window's pages have tests of their own).
    std::vector<plat::Window*> checked{g_mainwin->ControlBar(), g_mainwin->MonitorBar()};
    for (plat::Window* w : open)
        if (w != g_transops) checked.push_back(w);
    for (plat::Window* w : checked) {
        const auto faults = plat::CheckLayout(w);
        EXPECT_TRUE(faults.empty()) << Name(w) << "\n" << plat::DescribeFaults(faults);
    }
}
}  // namespace

class MainFramePanels : public ::testing::TestWithParam<const char*> {};

TEST_P(MainFramePanels, NoneCoversAnotherOrTheBarsAndEveryCaptionFits) {
    const std::string scale = GetParam();
    for (int big : {0, 1}) {
        TestDir dir;
        dir.write("qarv.ini", Ini(scale.c_str(), big));
        StartedApp s;
        plat::DeliverPosted();
        ExpectPanelsApart("scale " + scale + (big ? " big sweep" : ""));
        if (big == 0 && scale != "1.0") {
            EXPECT_TRUE(plat::SaveWindowImage(g_mainwin, std::string(QARV_BUILD_DIR) + "/main_frame_panels_" + scale +
                                                            ".png"));
        }
        // The CI-V monitor bar docks at the left: the client area makes room
        // for it and the panels keep their places in it.
        const plat::Rect sweep = g_sweeppanel->GetWindowRect();
        g_mainwin->SendMessage(plat::WM_COMMAND, ID_VIEW_CIV_MONITOR);
        ExpectPanelsApart("monitor bar shown");
        g_mainwin->SendMessage(plat::WM_COMMAND, ID_VIEW_CIV_MONITOR);
        EXPECT_EQ(g_sweeppanel->GetWindowRect(), sweep);
    }
}

INSTANTIATE_TEST_SUITE_P(Scales, MainFramePanels, ::testing::Values("1.0", "1.4", "2.0"),
                         [](const auto& info) { return std::string(info.param).replace(1, 1, "_"); });

TEST(MainFramePanels, GivenPlacesStayWhenFreeAndCollisionsMove) {
    // The sweep and settings places hold; a panel under the menu band or on
    // one placed before it moves to the free place nearest the corner.
    const std::vector<plat::Rect> placed =
        PackPanels({{14, 359, 917, 961}, {100, 100, 480, 359}, {0, 0, 728, 350}, {500, 120, 612, 313}}, {}, 60,
                    {1920, 1080}, {1870, 1000});
    EXPECT_EQ(placed[0], (plat::Rect{14, 359, 917, 961}));
    EXPECT_EQ(placed[1], (plat::Rect{100, 100, 480, 359}));
    EXPECT_EQ(placed[2], (plat::Rect{921, 64, 1649, 414}));
    EXPECT_EQ(placed[3], (plat::Rect{500, 120, 612, 313}));
    // Nothing fits on the screen: a corner the next start keeps, else below everything.
    EXPECT_EQ(PackPanels({{0, 0, 300, 100}}, {{0, 60, 250, 400}}, 60, {500, 300}, {450, 220})[0],
              (plat::Rect{254, 64, 554, 164}));
    EXPECT_EQ(PackPanels({{0, 0, 300, 100}}, {{0, 60, 250, 400}}, 60, {500, 300}, {200, 220})[0],
              (plat::Rect{4, 404, 304, 504}));
}

TEST(MainFramePanels, PopOutPanelsFitTheirOwnWindows) {
    for (const char* scale : {"1.0", "1.4", "2.0"}) {
        SCOPED_TRACE(scale);
        TestDir dir;
        dir.write("qarv.ini", Ini(scale, 0, "WAVENODE=1\nWAVE VISIBLE=1\nQARV=20\n"));
        StartedApp s;
        ASSERT_NE(g_wavepanel, nullptr);
        ASSERT_NE(g_dstarpanel, nullptr);
        ASSERT_NE(g_crapanel, nullptr);
        ShowMemoryFileNamePanel("WORLD.RMY");
        g_dstarpanel->ShowWindow(plat::SW_SHOW);
        g_wavepanel->ShowWindow(plat::SW_SHOW);
        for (plat::Window* w : {static_cast<plat::Window*>(g_wavepanel), static_cast<plat::Window*>(g_dstarpanel),
                                static_cast<plat::Window*>(g_crapanel)}) {
            const auto faults = plat::CheckLayout(w);
            EXPECT_TRUE(faults.empty()) << Name(w) << "\n" << plat::DescribeFaults(faults);
        }
        // Popped out, the CW keyboard is a window of its own and keeps whole.
        const plat::Rect docked = g_cwpanel->GetWindowRect();
        g_cwpanel->PopOut().Click();
        ASSERT_TRUE(g_cwpanel->PoppedOut());
        const auto faults = plat::CheckLayout(g_cwpanel);
        EXPECT_TRUE(faults.empty()) << plat::DescribeFaults(faults);
        // The text it draws itself grows with it.
        const double k = std::stod(scale);
        EXPECT_TRUE(plat::TextFits(g_cwpanel, "CW Keyboard", {int(8 * k), int(4 * k), int(300 * k), int(24 * k)}));
        EXPECT_TRUE(plat::TextFits(g_cwpanel, "CW Memory5", {int(8 * k), 0, int(96 * k), int(22 * k)}));
        if (std::string(scale) == "2.0") {
            const std::string build = QARV_BUILD_DIR;
            EXPECT_TRUE(plat::SaveWindowImage(g_cwpanel, build + "/cw_keyboard_popped_out_2.0.png"));
            EXPECT_TRUE(plat::SaveWindowImage(g_wavepanel, build + "/wave_node_panel.png"));
            EXPECT_TRUE(plat::SaveWindowImage(g_dstarpanel, build + "/dstar_panel.png"));
            EXPECT_TRUE(plat::SaveWindowImage(g_crapanel, build + "/memory_file_name_panel.png"));
        }
        // Docked again, it is back at its free place in the frame.
        g_cwpanel->PopOut().Click();
        ASSERT_FALSE(g_cwpanel->PoppedOut());
        EXPECT_EQ(g_cwpanel->GetWindowRect(), docked);
    }
}

TEST(ScratchPadPanel, ShowsEveryStoredPadAfterARestart) {
    TestDir dir;
    dir.write("qarv.ini", "[OPERATING STATUS]\nSP VISIBLE=1\n");
    auto tune = [](const std::string& mhz) {
        for (char c : mhz + "\r") g_mainwin->SendMessage(plat::WM_CHAR, unsigned(c));
        plat::DeliverPosted();
    };
    auto click = [](int button) {
        CBiStateButton& b = g_spmemory->buttons[std::size_t(button)];
        const plat::Rect r = b.GetClientRect();
        plat::synth::Click(&b, plat::synth::Button::Left, {r.right / 2, r.bottom / 2});
        plat::DeliverPosted();
    };
    {
        StartedApp s;
        ASSERT_TRUE(g_spmemory->IsWindowVisible());
        const std::pair<const char*, int> pads[] = {{"9.41", 4}, {"7.074", 5}, {"14.2", 6}};  // Sto 1..3
        for (const auto& [mhz, sto] : pads) {
            tune(mhz);
            ASSERT_DOUBLE_EQ(g_swlpanel->vfoAFreq, std::stod(mhz));
            click(sto);
        }
        EXPECT_EQ(g_spmemory->fields[1].GetWindowText(), "1:  9.410000");
        g_mainwin->SendMessage(plat::WM_COMMAND, ID_FILE_QUIT);
        plat::manual_clock::Advance(600);
        ASSERT_TRUE(g_mainwin->Closed());
    }
    StartedApp s;
    EXPECT_EQ(g_spmemory->fields[1].GetWindowText(), "1:  9.410000");
    EXPECT_EQ(g_spmemory->fields[2].GetWindowText(), "2:  7.074000");
    EXPECT_EQ(g_spmemory->fields[3].GetWindowText(), "3: 14.200000");
    click(0);  // Rcl 1 tunes what the field shows
    EXPECT_DOUBLE_EQ(g_swlpanel->vfoAFreq, 9.41);
    // The frequency left by the recall is the undo row.
    EXPECT_EQ(g_spmemory->fields[0].GetWindowText(), "X: 14.200000");
}

TEST(HelpMenu, OpensTheHelpFileOrSaysItIsMissing) {
    TestDir dir;
    plat::shell_script::Enable();
    plat::shell_script::Clear();
    StartedApp s;
    plat::message_box_script::Clear();
    g_mainwin->SendMessage(plat::WM_COMMAND, ID_HELP_DOCUMENT);
    EXPECT_TRUE(plat::shell_script::Opened().empty());
    ASSERT_EQ(plat::message_box_script::History().size(), 1u);
    EXPECT_EQ(plat::message_box_script::History()[0].caption, "Help");
    EXPECT_NE(plat::message_box_script::History()[0].text.find("\"qarv.pdf\" is missing"), std::string::npos);

    dir.write("qarv.pdf", "%PDF-1.4\n");
    g_mainwin->SendMessage(plat::WM_COMMAND, ID_HELP_DOCUMENT);
    EXPECT_EQ(plat::message_box_script::History().size(), 1u);  // no second box
    ASSERT_EQ(plat::shell_script::Opened().size(), 1u);
    EXPECT_EQ(plat::shell_script::Opened()[0], plat::GetCurrentDir() + "/qarv.pdf");
}

TEST(HotKeysBox, EveryActionStartsInOneColumnOfAFixedPitchBox) {
    TestDir dir;
    StartedApp s;
    plat::message_box_script::Clear();
    g_mainwin->SendMessage(plat::WM_COMMAND, ID_HOT_KEYS);
    ASSERT_EQ(plat::message_box_script::History().size(), 1u);
    const auto& box = plat::message_box_script::History()[0];
    EXPECT_TRUE(box.type & plat::MB_FIXEDPITCH);
    // Line by line the key and the action as the system gives them; each
    // action starts at the same column.
    std::istringstream given(HotKeysText()), shown(box.text);
    std::string g, line;
    std::size_t column = 0, lines = 0;
    while (std::getline(given, g)) {
        ASSERT_TRUE(std::getline(shown, line)) << "missing: " << g;
        const std::size_t cut = g.find("  ") != std::string::npos ? g.find("  ") : g.rfind('>') + 1;
        const std::string key = g.substr(0, cut), action = g.substr(g.find_first_not_of(' ', cut));
        EXPECT_EQ(line.substr(0, key.size()), key);
        const std::size_t at = line.size() - action.size();
        EXPECT_EQ(line.substr(at), action);
        if (lines++ == 0) column = at;
        EXPECT_EQ(at, column) << line;
    }
    EXPECT_EQ(lines, 38u);
    EXPECT_FALSE(std::getline(shown, line));
}

TEST(SweepPanel, TheGraphScaleShowsWholeFrequencies) {
    TestDir dir;
    dir.write("qarv.ini", Ini("1.4", 0));
    StartedApp s;
    ASSERT_TRUE(g_sweeppanel->IsWindowVisible());
    // The operator presses "Sweep": the graph shows the swept range's scale.
    plat::Window* sweep = plat::FindWindowByName(g_sweeppanel, "Sweep");
    ASSERT_NE(sweep, nullptr);
    plat::synth::Click(sweep, plat::synth::Button::Left, {10, 10});
    plat::DeliverPosted();
    const SweepRun& run = CurrentSweep();
    ASSERT_GT(run.end, run.start);
    CSweepWnd& graph = g_sweeppanel->Graph();
    EXPECT_TRUE(plat::SaveWindowImage(g_sweeppanel, std::string(QARV_BUILD_DIR) + "/sweep_panel_running.png"));
    // The first label starts at the graph's left edge with its first digit
    // whole: scale text (yellow) in the first columns of the scale line.
    const plat::Snapshot shot = plat::TakeSnapshot(&graph);
    const int lineTop = shot.height - plat::MeasureText(&graph, "0").y;
    bool leftDigit = false, rightDigit = false;
    for (int y = lineTop; y < shot.height; ++y)
        for (int x = 0; x < 6; ++x) {
            leftDigit = leftDigit || shot.At(x + 1, y) == plat::RGB(255, 255, 0);
            rightDigit = rightDigit || shot.At(shot.width - 2 - x, y) == plat::RGB(255, 255, 0);
        }
    EXPECT_TRUE(leftDigit);
    EXPECT_TRUE(rightDigit);
    g_sweeppanel->StopSweep();
}

TEST(MainFramePanels, AKeyboardPoppedOutAtStartDocksOnAFreePlace) {
    TestDir dir;
    dir.write("qarv.ini", Ini("1.4", 0, "CW POPOUT=1\n"));
    StartedApp s;
    ASSERT_TRUE(g_cwpanel->PoppedOut());
    g_cwpanel->PopOut().Click();  // the operator docks it
    ASSERT_FALSE(g_cwpanel->PoppedOut());
    g_cwpanel->ShowWindow(plat::SW_SHOW);
    ExpectPanelsApart("docked after start");
}

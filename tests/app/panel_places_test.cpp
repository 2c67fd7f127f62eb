// The panels of the main frame on the screens operators have: the settings
// window fits the free space at first start; shown in a later run the
// panels cover no other window and paint their own body; the sweep and
// settings windows drag by their body.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/commands.h"
#include "app/main_frame.h"
#include "app/started_app.h"
#include "common/test_dir.h"
#include "memories/memory_file_panel.h"
#include "memories/sweep_panel.h"
#include "panel/radio_window.h"
#include "platform/clock.h"
#include "platform/event_loop.h"
#include "platform/input_synth.h"
#include "platform/layout_check.h"
#include "platform/scroll_area.h"
#include "settings/trans_ops.h"

namespace {
struct Screen {
    int width, height;
    std::string Name() const { return std::to_string(width) + "x" + std::to_string(height); }
};
constexpr Screen kScreens[] = {{1366, 768}, {1920, 1080}};

// The program laid out for `s`; the frame opens at the screen's size.
struct OnScreen {
    explicit OnScreen(const Screen& s) { plat::app::SetHeadlessDesktop({0, 0, s.width, s.height}); }
    ~OnScreen() { plat::app::SetHeadlessDesktop({}); }
};
constexpr const char* kFrameNormal = "[MAIN WINDOW]\nMAXIMIZE=FALSE\n";
// The radio window's body ("LO CYAN").
constexpr plat::Colour kRadioBody = plat::RGB(0x00, 0xC0, 0xC0);

void Quit() {
    g_mainwin->SendMessage(plat::WM_COMMAND, ID_FILE_QUIT);
    plat::manual_clock::Advance(600);
    ASSERT_TRUE(g_mainwin->Closed());
}

std::vector<plat::Window*> Shown() {
    std::vector<plat::Window*> open;
    for (plat::Window* w : EmbeddedPanels())
        if (w->IsWindowVisible()) open.push_back(w);
    return open;
}

void ExpectApart(const std::vector<plat::Window*>& open) {
    for (std::size_t i = 0; i < open.size(); ++i)
        for (std::size_t j = i + 1; j < open.size(); ++j)
            EXPECT_FALSE(plat::Intersects(open[i]->GetWindowRect(), open[j]->GetWindowRect()))
                << open[i]->GetWindowText() << " on " << open[j]->GetWindowText();
}

// Pixels of the radio window's body inside `w`'s rectangle in a render of the frame.
int RadioPixelsIn(const plat::Window* w) {
    const plat::Snapshot shot = plat::TakeSnapshot(g_mainwin);
    const plat::Rect r = plat::ScreenRect(w);
    const plat::Point o = g_mainwin->ClientToScreen({0, 0});
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) n += shot.At(x - o.x, y - o.y) == kRadioBody;
    return n;
}

// The operator drags `w` by a point of its body by (dx, dy).
void DragBody(plat::Window* w, plat::Point body, int dx, int dy) {
    plat::synth::Press(w, plat::synth::Button::Left, body);
    plat::synth::Move(w, {body.x + dx, body.y + dy}, plat::MK_LBUTTON);
    plat::synth::Release(w, plat::synth::Button::Left, {body.x + dx, body.y + dy});
}

std::string Location(const TestDir& dir, const std::string& section) {
    const std::string ini = dir.read("qarv.ini");
    const std::size_t at = ini.find("[" + section + "]\n");
    const std::size_t key = ini.find("LOCATION=", at);
    return at == std::string::npos || key == std::string::npos ? "" : ini.substr(key + 9, 9);
}
// At first start the settings window is whole and covers nothing: on view
// where the screen has room beside the radio window, else under it, where
// the client area scrolls to it. Every page's rows stand whole in it.
void ExpectSettingsFit(const Screen& screen) {
    ASSERT_TRUE(g_transops->IsWindowVisible());
    const plat::Rect r = g_transops->GetWindowRect(), view = g_mainwin->Client()->GetClientRect();
    ExpectApart(Shown());
    EXPECT_EQ(r.height(), g_transops->NaturalSize().y);
    EXPECT_EQ(r.width(), g_transops->NaturalSize().x);
    if (screen.width == 1920) EXPECT_TRUE(r.bottom <= view.bottom && r.right <= view.right);
    else EXPECT_GE(r.top, g_radiowindow->GetWindowRect().bottom);
    for (int page = 0; page < g_settingspagecount; ++page) {
        g_transops->PageList()->Choose(page);
        const auto faults = plat::CheckLayout(g_transops);
        EXPECT_TRUE(faults.empty()) << "page " << page << "\n" << plat::DescribeFaults(faults);
    }
    g_transops->PageList()->Choose(18);
}
}  // namespace

TEST(PanelPlaces, ShownInALaterRunTheyCoverNothingAndShowTheirOwnBody) {
    for (const Screen& screen : kScreens) {
        SCOPED_TRACE(screen.Name());
        OnScreen on(screen);
        TestDir dir;
        dir.write("qarv.ini", kFrameNormal);
        {
            StartedApp first;  // memories and sweep never opened: their default places are saved
            ExpectSettingsFit(screen);
            EXPECT_TRUE(plat::SaveWindowImage(g_mainwin, std::string(QARV_BUILD_DIR) + "/first_start_" + screen.Name() + ".png"));
            Quit();
        }
        ASSERT_EQ(Location(dir, "MEMORY WINDOW"), "0060 0060");
        ASSERT_EQ(Location(dir, "SWEEP WINDOW"), "0100 0100");
        StartedApp s;
        g_mainwin->SendMessage(plat::WM_COMMAND, ID_VIEW_MEMORIES);
        g_mainwin->SendMessage(plat::WM_COMMAND, ID_VIEW_SPECTRUM);
        ShowMemoryFileNamePanel("WORLD.RMY");
        plat::DeliverPosted();
        const std::vector<plat::Window*> open = Shown();
        ASSERT_GE(open.size(), 7u);
        ExpectApart(open);
        EXPECT_TRUE(plat::SaveWindowImage(g_mainwin, std::string(QARV_BUILD_DIR) + "/panels_" + screen.Name() + ".png"));
        // Laid on the radio window by the operator, each shows its own body.
        const plat::Rect radio = g_radiowindow->GetWindowRect();
        for (plat::Window* w : open) {
            if (w == g_radiowindow) continue;
            SCOPED_TRACE(w->GetWindowText());
            const plat::Rect before = w->GetWindowRect();
            w->SetWindowPos(radio.left + 20, radio.top + 20);
            w->BringWindowToTop();
            EXPECT_EQ(RadioPixelsIn(w), 0);
            w->MoveWindow(before);
        }
    }
}

TEST(PanelPlaces, SweepAndSettingsDragByTheirBodyAndTheDraggedPlaceHolds) {
    OnScreen on(kScreens[1]);
    TestDir dir;
    dir.write("qarv.ini", std::string(kFrameNormal) + "[SWEEP WINDOW]\nVISIBLE=TRUE\n");
    std::string sweepAt, settingsAt;
    {
        StartedApp s;
        ASSERT_TRUE(g_sweeppanel->IsWindowVisible());
        ASSERT_TRUE(g_transops->IsWindowVisible());
        const plat::Rect sweep = g_sweeppanel->GetWindowRect(), settings = g_transops->GetWindowRect();
        DragBody(g_sweeppanel, {3, g_sweeppanel->GetClientRect().bottom - 3}, 40, 30);
        // Under "Menu Down", left of the page area; up, as it may stand at
        // the bottom of the client area.
        DragBody(g_transops, {8, g_transops->GetClientRect().bottom - 8}, -20, -25);
        const plat::Rect movedSweep = g_sweeppanel->GetWindowRect(), movedSettings = g_transops->GetWindowRect();
        EXPECT_EQ(movedSweep, (plat::Rect{sweep.left + 40, sweep.top + 30, sweep.right + 40, sweep.bottom + 30}));
        EXPECT_EQ(movedSettings.left, std::max(0, settings.left - 20));
        EXPECT_EQ(movedSettings.top, settings.top - 25);
        // Dragged onto the radio window, hidden and shown again: it stays.
        DragBody(g_sweeppanel, {3, g_sweeppanel->GetClientRect().bottom - 3}, 10 - movedSweep.left, 10 - movedSweep.top);
        g_mainwin->SendMessage(plat::WM_COMMAND, ID_VIEW_SPECTRUM);
        g_mainwin->SendMessage(plat::WM_COMMAND, ID_VIEW_SPECTRUM);
        g_mainwin->SendMessage(plat::WM_COMMAND, ID_VIEW_SPECTRUM);
        ASSERT_TRUE(g_sweeppanel->IsWindowVisible());
        EXPECT_EQ(g_sweeppanel->GetWindowRect().left, 10);
        EXPECT_EQ(g_sweeppanel->GetWindowRect().top, 10);
        char buf[16];
        std::snprintf(buf, sizeof buf, "%04d %04d", movedSettings.left, movedSettings.top);
        settingsAt = buf;
        Quit();
    }
    EXPECT_EQ(Location(dir, "SWEEP WINDOW"), "0010 0010");
    EXPECT_EQ(Location(dir, "TX OPTIONS WINDOW"), settingsAt);
}

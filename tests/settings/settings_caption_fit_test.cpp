// The settings window as a person sees it at the scales the settings accept
// (1.0, 1.4 and 2.0): every caption and every list entry fits its control on
// every page of every radio type and device choice, the page list names the
// page on show and no page outside the list shows, and the window fits a
// 1000-pixel screen at 1.4 and scrolls its pages at 2.0.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <thread>

#include "app/app.h"
#include "app/main_frame.h"
#include "base/device_options.h"
#include "base/panel_options.h"
#include "base/settings_options.h"
#include "civ/accessory_ports.h"
#include "civ/civ_options.h"
#include "civ/civ_timers.h"
#include "civ/frequency_options.h"
#include "civ/polling.h"
#include "civ/radio_models.h"
#include "common/sim_station.h"
#include "devices/remote_link.h"
#include "platform/input_synth.h"
#include "platform/layout_check.h"
#include "settings/assign_pages.h"
#include "settings/settings_fixture.h"
#include "sim/sim_radio.h"

namespace {
constexpr double kScales[] = {1.0, 1.4, 2.0};
// A 1000-pixel-high screen less the margins the windows keep from its edges.
constexpr int kScreenWidth = 1920 - 50, kScreenHeight = 1000 - 80;

std::string Where(double scale, int type, int page) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "scale %.1f type %d page %d", scale, type, page);
    return buf;
}

// A list shows any of its entries once chosen: the longest must fit too.
std::string LongestEntryFaults(plat::Window* root) {
    std::string out;
    const auto rows = settings::PageRows();
    std::vector<plat::ComboBox*> lists;
    for (int n = 0; n < int(rows.size()); ++n)
        if (rows[n].kind == settings::Ctl::Combo) lists.push_back(g_transops->ComboOf(settings::RowControlId(n)));
    for (int n = 0; n < settings::kAssignRows; ++n) lists.push_back(g_transops->AssignList(n));
    for (plat::ComboBox* list : lists) {
        if (!list || !list->IsWindowVisible() || list->GetCount() == 0) continue;
        int longest = 0;
        for (int i = 1; i < list->GetCount(); ++i)
            if (plat::MeasureText(list, list->GetItemText(i)).x > plat::MeasureText(list, list->GetItemText(longest)).x)
                longest = i;
        const int was = list->GetCurSel();
        list->SetCurSel(longest);
        for (const plat::LayoutFault& f : plat::CheckLayout(root))
            if (f.window == list) out += f.what + "\n";
        list->SetCurSel(was);
    }
    return out;
}

// Every page of the list, at every scale, for the radio types given, with
// the device choices `configure` makes.
void CheckEveryPage(std::initializer_list<int> types, const std::function<void()>& configure) {
    for (double scale : kScales) {
        for (int type : types) {
            configure();
            g_settingsscalex = g_settingsscaley = scale;
            SettingsWindow s(type, 0);
            s.w().FitWithin(kScreenWidth, kScreenHeight);
            s.frame.ShowWindow(plat::SW_SHOW);
            s.w().ShowWindow(plat::SW_SHOW);
            const auto rows = settings::PageRows();
            for (int page = 0; page < g_settingspagecount; ++page) {
                s.w().PageList()->Choose(page);
                const std::string where = Where(scale, type, page);
                EXPECT_EQ(plat::DescribeFaults(plat::CheckLayout(&s.w())), "") << where;
                EXPECT_EQ(LongestEntryFaults(&s.w()), "") << where;
                // The list names the page on show.
                EXPECT_EQ(s.w().PageList()->GetSelectedText(), settings::PageCaption(page)) << where;
                // Only that page's rows are on show.
                for (int n = 0; n < int(rows.size()); ++n) {
                    if (s.w().RowControl(n)->IsWindowVisible()) {
                        EXPECT_EQ(rows[n].page, page) << where << " \"" << rows[n].caption << "\"";
                    }
                }
                // Nothing runs off the page area's surface.
                const plat::Point surface = s.w().PageArea()->SurfaceSize();
                for (int n = 0; n < int(rows.size()); ++n) {
                    if (!s.w().RowControl(n)->IsWindowVisible()) continue;
                    const plat::Rect r = s.w().RowControl(n)->GetWindowRect();
                    EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= surface.x && r.bottom <= surface.y)
                        << where << " \"" << rows[n].caption << "\"";
                }
            }
        }
    }
}

// The bottom edge of the lowest control on show, in surface pixels.
plat::Window* LowestControl(CTransOps& w) {
    plat::Window* lowest = nullptr;
    const auto rows = settings::PageRows();
    for (int n = 0; n < int(rows.size()); ++n) {
        plat::Window* c = w.RowControl(n);
        if (c->IsWindowVisible() && (!lowest || c->GetWindowRect().bottom > lowest->GetWindowRect().bottom)) lowest = c;
    }
    return lowest;
}

bool InView(plat::ScrollArea* area, plat::Window* c) {
    const plat::Rect a = plat::ScreenRect(area), r = plat::ScreenRect(c);
    const plat::Rect v = area->ViewRect();
    return r.top >= a.top + v.top && r.bottom <= a.top + v.bottom && r.left >= a.left + v.left &&
           r.right <= a.left + v.right;
}
}  // namespace

TEST(SettingsCaptions, FitOnEveryPageOfTheTypesThatDifferMost) {
    // IC-7300 (DSP widths), IC-7800 (DIGI-SEL, both filter columns),
    // IC-756PRO (three filters, 22 pages), type 4 (AGC without Medium) and
    // type 16 (the Filter 2 column only).
    CheckEveryPage({23, 5, 0, 4, 16}, [] {});
}

TEST(SettingsCaptions, FitWithTheKeyerTunerAmplifiersAntennasClientAndMidi) {
    CheckEveryPage({23, 5}, [] {
        g_yaltkeyer = 1;
        g_internaltuner = 4;
        std::snprintf(g_alpha87acomport, sizeof g_alpha87acomport, "%s", "COM9");
        g_experton = 1;
        g_denkovi = 1;
        g_adr2200 = 1;
        std::snprintf(g_b26ip, sizeof g_b26ip, "%s", "192.168.1.20");
        g_client = 1;
        g_cmdmicro = 1;
    });
}

TEST(SettingsCaptions, FitWithTheServerTMate2AcomAndNetworkSwitch) {
    CheckEveryPage({23, 18}, [] {
        g_radioserver = 1;
        g_usetmate2 = 1;
        std::snprintf(g_acomcomport, sizeof g_acomcomport, "%s", "COM8");
        g_tavnag = 1;
        g_mirror = 1;
        g_model7610 = 1;
    });
}

TEST(SettingsCaptions, FitWithTheFlexKnobKeypadPodAndPerseus) {
    CheckEveryPage({13}, [] {
        g_flexknob = 1;
        g_perseus = 1;
    });
    CheckEveryPage({23}, [] {
        g_flexknob = 0;
        g_perseus = 0;
        std::snprintf(g_pegasuscomport, sizeof g_pegasuscomport, "%s", "COM4");
    });
}

TEST(SettingsCaptions, ASavedPageOutsideTheListShowsNoRowsAtAnyScale) {
    for (double scale : kScales) {
        g_settingsscalex = g_settingsscaley = scale;
        SettingsWindow s(0, 23);  // type 0 has 22 pages
        EXPECT_EQ(g_settingspage, -1);
        EXPECT_EQ(s.w().PageList()->GetCurSel(), -1);
        // Not even the kept 6m transverter rows, which belong to no page.
        const auto rows = settings::PageRows();
        for (int n = 0; n < int(rows.size()); ++n)
            EXPECT_FALSE(s.w().RowControl(n)->IsWindowVisible()) << scale << " \"" << rows[n].caption << "\"";
        s.w().ShowPage(-1);
        EXPECT_FALSE(s.shown("6m IF"));
        s.click(s.w().MenuDown());
        EXPECT_EQ(g_settingspage, 0);
        EXPECT_EQ(s.w().PageList()->GetSelectedText(), "Preferences");
        // Shown from elsewhere (the apply shows a page again): the list follows.
        s.w().ShowPage(13);
        EXPECT_EQ(s.w().PageList()->GetSelectedText(), "Steps");
    }
}

TEST(SettingsWindowSize, FitsAThousandPixelScreenAt14WithoutScrolling) {
    g_settingsscalex = g_settingsscaley = 1.4;
    SettingsWindow s(5, 0);  // the most pages
    // At the place the settings give it by default.
    s.w().MoveWindow({14, 359, 100, 400});
    s.w().FitWithin(kScreenWidth, kScreenHeight);
    s.frame.ShowWindow(plat::SW_SHOW);
    s.w().ShowWindow(plat::SW_SHOW);
    const plat::Rect r = s.w().GetWindowRect();
    EXPECT_LE(r.bottom, kScreenHeight);
    EXPECT_EQ(r.height(), s.w().NaturalSize().y);
    for (int page = 0; page < g_settingspagecount; ++page) {
        s.w().PageList()->Choose(page);
        EXPECT_FALSE(s.w().PageArea()->Scrolls()) << page;
    }
}

TEST(SettingsWindowSize, ScrollsItsPagesAt20AndEveryRowCanBeBroughtIntoView) {
    g_settingsscalex = g_settingsscaley = 2.0;
    SettingsWindow s(23, 12);
    // At the place the settings give it by default: the window keeps its
    // place and ends on the screen.
    s.w().MoveWindow({14, 359, 60, 400});
    s.w().FitWithin(kScreenWidth, kScreenHeight);
    s.frame.MoveWindow({0, 0, 1900, 1000});
    s.frame.ShowWindow(plat::SW_SHOW);
    s.w().ShowWindow(plat::SW_SHOW);
    const plat::Rect r = s.w().GetWindowRect();
    EXPECT_GT(359 + s.w().NaturalSize().y, kScreenHeight);
    EXPECT_EQ(r.top, 359);
    EXPECT_EQ(r.bottom, kScreenHeight);
    EXPECT_EQ(r.left, 14);
    // The page list and its buttons stay where they are.
    EXPECT_TRUE(plat::Intersects(plat::ScreenRect(s.w().PageList()), plat::ScreenRect(&s.w())));
    // The SWL band page is the longest: its last rows lie below the view
    // until the operator turns the wheel over the page area.
    plat::ScrollArea* area = s.w().PageArea();
    ASSERT_TRUE(area->Scrolls());
    plat::Window* last = LowestControl(s.w());
    ASSERT_NE(last, nullptr);
    EXPECT_FALSE(InView(area, last));
    // The pointer rests on the page's heading; the wheel goes on to the area.
    plat::Window* heading = s.w().RowControl(s.rowOf("Caption     Lower Limit         Upper Limit"));
    for (int i = 0; i < 20 && !InView(area, last); ++i) plat::synth::Wheel(heading, {5, 5}, -120);
    EXPECT_TRUE(InView(area, last));
    EXPECT_GT(area->ScrollPos().y, 0);
    EXPECT_TRUE(plat::SaveWindowImage(&s.w(), std::string(QARV_BUILD_DIR) + "/settings_fit_2.0_scrolled.png"));
    // The wheel over a list it has not been given the focus scrolls the page
    // and leaves the setting alone.
    s.w().ShowPage(5);  // Colors: a list on every line
    auto* model = static_cast<plat::ComboBox*>(s.w().RowControl(s.rowOf("Local Time")));
    ASSERT_TRUE(area->Scrolls());
    const int chosen = model->GetCurSel();
    const int before = area->ScrollPos().y;
    plat::synth::Wheel(model, {5, 5}, -120);
    EXPECT_EQ(model->GetCurSel(), chosen);
    EXPECT_GT(area->ScrollPos().y, before);
    // So does the wheel over a slider.
    g_yaltkeyer = 1;
    s.w().ShowPage(14);  // CW Settings with the keyer's rows: the strip at the foot
    CSlider& speed = s.sliderNamed("Key Spd");
    ASSERT_TRUE(speed.IsWindowVisible());
    ASSERT_TRUE(area->Scrolls());
    const int scrolled = area->ScrollPos().y;
    ASSERT_GT(scrolled, 0);
    plat::synth::Wheel(&speed, {5, 5}, 120);
    EXPECT_LT(area->ScrollPos().y, scrolled);
    s.w().ShowPage(12);
    // And back up to the first row.
    plat::Window* first = s.w().RowControl(s.rowOf("Caption 1"));
    for (int i = 0; i < 20 && !InView(area, first); ++i) plat::synth::Wheel(heading, {5, 5}, 120);
    EXPECT_TRUE(InView(area, first));
}

TEST(SettingsWindowSize, PagesAsPicturesAt10To20) {
    g_yaltkeyer = 1;
    g_denkovi = 1;
    for (double scale : kScales) {
        g_settingsscalex = g_settingsscaley = scale;
        SettingsWindow s(5, 0);
        s.w().FitWithin(kScreenWidth, kScreenHeight);
        s.frame.MoveWindow({0, 0, 1900, 1000});
        s.frame.ShowWindow(plat::SW_SHOW);
        s.w().ShowWindow(plat::SW_SHOW);
        for (int page : {0, 1, 2, 5, 11, 12, 14, 21, 22}) {
            s.w().PageList()->Choose(page);
            char name[96];
            std::snprintf(name, sizeof name, "/settings_fit_%.1f_page%d.png", scale, page);
            EXPECT_TRUE(plat::SaveWindowImage(&s.w(), std::string(QARV_BUILD_DIR) + name));
        }
    }
}

// The window in the program: sized to the screen at 2.0, the page list
// showing the saved page, the font grown with the window.
TEST(SettingsWindowApp, At20TheWindowStaysOnTheScreenAndNamesItsPage) {
    SimStation s("SELECTION=13\n[RADIO WINDOW]\nSETTINGS SCALEX=2.0\nSETTINGS SCALEY=2.0\n");
    s.run(1000);
    ASSERT_NE(g_transops, nullptr);
    EXPECT_EQ(g_settingspage, 13);
    EXPECT_EQ(g_transops->PageList()->GetSelectedText(), "Steps");
    // Its corner on the screen, the whole window in the frame's client area
    // (which scrolls to it).
    const plat::Rect r = g_transops->GetWindowRect();
    EXPECT_LE(r.top, g_screenlimity);
    EXPECT_LE(r.left, g_screenlimitx);
    EXPECT_LE(r.bottom, g_mainwin->Client()->SurfaceSize().y);
    EXPECT_LE(r.right, g_mainwin->Client()->SurfaceSize().x);
    EXPECT_EQ(plat::DescribeFaults(plat::CheckLayout(g_transops)), "");
    // 2.0 draws the settings text at twice the height 1.0 does.
    const int tall = plat::MeasureText(g_transops, "Step Button 1").y;
    EXPECT_GE(tall, 2 * 12);
    EXPECT_TRUE(plat::SaveWindowImage(g_transops, std::string(QARV_BUILD_DIR) + "/settings_in_program_2.0.png"));
}

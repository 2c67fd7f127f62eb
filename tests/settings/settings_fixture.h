// The settings window as a person meets it: created over a frame whose
// change notifications run the apply, filled from the settings, driven
// through its real controls.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "app/settings_view_wiring.h"
#include "base/settings_options.h"
#include "civ/setter_fixture.h"
#include "panel/controls/slider.h"
#include "platform/input_synth.h"
#include "settings/settings_pages.h"
#include "settings/trans_ops.h"

namespace {
// The main frame's part: every change notification runs the apply.
struct Frame : plat::Window {
    int changes = 0;
    bool OnCommand(unsigned id, unsigned, plat::LPARAM) override {
        if (id == kSettingsChangedId) {
            ++changes;
            ApplySettings();
        }
        return true;
    }
};

int g_apputc = 5, g_appsteppir = 0, g_appmute = 0;

struct SettingsWindow : Captured {
    Frame frame;
    explicit SettingsWindow(int type = 23, int page = 21) : Captured(type) {
        g_settingspage = page;
        settings::BindAppSetting(settings::AppVar::UtcHour, &g_apputc);
        settings::BindAppSetting(settings::AppVar::Steppir, &g_appsteppir);
        settings::BindAppSetting(settings::AppVar::MuteAlways, &g_appmute);
        frame.Create("frame", 0, {0, 0, 1000, 700}, nullptr, 0);
        // The engine and the devices reach the window as in the program.
        WireSettingsView();
        g_transops = new CTransOps;
        g_transops->Create("Transceiver Settings", plat::WS_CHILD, {0, 0, 920, 620}, &frame, 2367);
        LoadSettingsControls();
        frames();
    }
    ~SettingsWindow() { delete g_transops; }
    CTransOps& w() { return *g_transops; }
    plat::Edit& edit(int id) { return *w().EditOf(id); }
    // The row of a caption (rows without an id of their own); a two-line
    // slider caption matches with a space for its break.
    static std::string OneLine(const char* caption) {
        std::string out;
        for (const char* p = caption; *p; ++p) {
            if (*p == '\r' && p[1] == '\n') continue;
            out += (*p == '\r' || *p == '\n') ? ' ' : *p;
        }
        return out;
    }
    int rowOf(const char* caption) {
        const auto rows = settings::PageRows();
        for (int n = 0; n < int(rows.size()); ++n)
            if (OneLine(rows[n].caption) == caption) return n;
        return -1;
    }
    plat::Window* byCaption(const char* caption) { return w().RowControl(rowOf(caption)); }
    CSlider& sliderNamed(const char* caption) { return *static_cast<CSlider*>(byCaption(caption)); }
    std::string valueShown(const char* caption) { return w().ValueLabel(rowOf(caption))->GetWindowText(); }
    // A person's click on the slider row that gives `value`.
    void slide(CSlider& slider, int value) {
        const int h = slider.GetWindowRect().height();
        const SliderScale scale{slider.GetLow(), slider.GetHigh(), 0, h};
        for (int y = 0; y < h; ++y)
            if (scale.ValueAt(y) == value) {
                plat::synth::Press(&slider, plat::synth::Button::Left, {slider.GetWindowRect().width() / 2, y});
                plat::synth::Release(&slider, plat::synth::Button::Left, {slider.GetWindowRect().width() / 2, y});
                return;
            }
        ADD_FAILURE() << "no row gives " << value;
    }
    void click(plat::Window* button) {
        plat::synth::Click(button, plat::synth::Button::Left, {5, 5});
    }
    plat::Edit& editNamed(const char* caption) { return *static_cast<plat::Edit*>(byCaption(caption)); }
    void type(plat::Edit& e, const std::string& text) {
        e.TypeText(text);
        e.KillFocus();
    }
    bool shown(const char* caption) { return byCaption(caption)->IsWindowVisible(); }
};

}  // namespace

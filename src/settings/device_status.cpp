#include "settings/device_status.h"

#include <cstring>
#include <string>

#include "base/settings_options.h"
#include "devices/amplifiers.h"
#include "devices/rotator.h"
#include "settings/settings_pages.h"
#include "settings/trans_ops.h"

namespace {
void SetLabel(int id, const std::string& text) {
    if (!g_transops) return;
    plat::Window* label = g_transops->RowControl(settings::RowOfId(id));
    if (label && label->GetWindowText() != text) label->SetWindowText(text);
}

std::string Digits(const char* text) { return std::string(text, strnlen(text, 3)); }
}  // namespace

void ShowRotorState() {
    SetLabel(kRotorShownLabelId, Digits(g_rotorshown));
    // The label keeps its line on the page, so nothing moves when it changes.
    SetLabel(kRotorMovingLabelId, g_rotormoving ? "Moving" : "");
}

void ShowRotorTarget() {
    if (g_transops) {
        if (plat::Edit* e = g_transops->EditOf(2525); e && e->GetText() != Digits(g_rotortarget))
            e->SetText(Digits(g_rotortarget));
    }
}

void ShowAmplifierText() {
    SetLabel(kAmpStatusLabelId, std::string(g_amplifiertext, strnlen(g_amplifiertext, sizeof g_amplifiertext)));
}

void CTransOps::SetKeySpeed(int base) {
    const int row = settings::RowOfId(2453);
    CSlider* slider = SliderOf(2453);
    if (row < 0 || !slider) return;
    slider->SetValue(settings::SliderOfSetting(settings::PageRows()[row], base));
    ShowSliderValue(row);
}

#include "settings/panel_captions.h"

#include "base/device_options.h"
#include "panel/radio_layout.h"
#include "panel/radio_window.h"
#include "panel/swl_panel.h"
#include "settings/trans_ops.h"

namespace settings {
namespace {
PanelView* View() { return g_swlpanel ? g_swlpanel->View() : nullptr; }

// The caption the radio window's layout gives a control now (the layout
// reads the working band and user captions, and keeps its own for empty ones).
void Recaption(int first, int last) {
    PanelView* view = View();
    if (!view) return;
    const radio_layout::Context c = radio_layout::CurrentContext();
    for (const radio_layout::Item& item : radio_layout::Items())
        if (item.id >= first && item.id <= last) view->SetControlText(unsigned(item.id), radio_layout::CaptionOf(item, c));
}
}  // namespace

void CaptionBandButtons() { Recaption(40132, 40142); }
void CaptionUserButtons() { Recaption(1516, 1519); }

void CaptionCwButtons() {
    PanelView* view = View();
    if (!view) return;
    for (const radio_layout::Item& item : radio_layout::Items()) {
        if (item.id < 589 || item.id > 593) continue;
        const char* tag = g_cwtag[item.id - 589];
        view->SetControlText(unsigned(item.id), tag[0] ? tag : item.caption);
    }
}

void CaptionStepButton(int n, int hz) {
    if (PanelView* view = View(); view && n >= 1 && n <= kStepButtons)
        view->SetControlText(IDC_STEP1 + unsigned(n - 1), StepButtonCaption(hz));
}

void ShowTunerButtons(int selection) {
    if (g_radiowindow) g_radiowindow->ShowTunerButtons(selection);
}

}  // namespace settings

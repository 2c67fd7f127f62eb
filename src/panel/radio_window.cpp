#include "panel/radio_window.h"

#include <algorithm>
#include <cstdio>

#include "base/panel_options.h"
#include "base/trace_log.h"
#include "civ/band_table.h"
#include "civ/filter_widths.h"
#include "civ/radio_models.h"
#include "panel/controls/bistate_button.h"
#include "panel/controls/dragit.h"
#include "panel/controls/filter_controls.h"
#include "panel/controls/meter.h"
#include "panel/controls/numeric_edit.h"
#include "panel/controls/scale.h"
#include "panel/controls/slider.h"
#include "panel/filter_table.h"
#include "panel/function_buttons.h"
#include "panel/slider_row.h"
#include "platform/controls.h"
#include "platform/paint.h"

CRadioWindow* g_radiowindow = nullptr;

namespace {
using radio_layout::Kind;

constexpr plat::Colour kBlack = plat::RGB(0, 0, 0);
constexpr plat::Colour kGreen = plat::RGB(0, 255, 0);
constexpr plat::Colour kRed = plat::RGB(255, 0, 0);
constexpr plat::Colour kYellow = plat::RGB(255, 255, 0);
constexpr plat::Colour kWhite = plat::RGB(255, 255, 255);
constexpr plat::Colour kSilentRed = plat::RGB(255, 96, 96);

// The labels inside the black frequency display.
constexpr int kModeLabelA = 9101, kModeLabelB = 9102, kFilterLabel = 9103, kFilterLabelB = 9104,
              kStepLabel = 9105, kStepLabelB = 9106, kLocalClock = 9107, kUtcClock = 9108;
constexpr int kMeter = 9200;
constexpr int kSaveNotice = 9320;
constexpr int kFilterGraphic = 2401;
constexpr int kSilentNotice = 9330;
constexpr int kFirstModeButton[] = {100, 101, 102, 103, 105, 106, 109, 179, 6126};

bool InDisplay(int id) { return (id >= kModeLabelA && id <= kUtcClock) || id == kSilentNotice; }

// Controls the mouse wheel adjusts while the pointer is over them.
bool WheelControl(int id) {
    switch (id) {
    case 441: case 563: case 725: case 726: case 1544: case 2359: case 2360: case 2362: case 2382:
    case 2386: case 2387: case 2486: case 2510: case 2511: case 2514: case 2600: case 2625:
        return true;
    default:
        return (id >= 5156 && id <= 5162) || (id >= 5165 && id <= 5171);
    }
}

// The wheel turned over a control goes on to the window and from there to
// the main frame, which tunes or adjusts what is under the pointer
// (g_wheelctrl).
template <class T>
class WheelForwarder : public T {
protected:
    void OnMouseWheel(unsigned flags, int delta, plat::Point) override {
        if (plat::Window* window = this->GetParent())
            window->SendMessage(plat::WM_MOUSEWHEEL, plat::MAKEWPARAM(flags, unsigned(delta)), 0);
    }
};

// A control the wheel adjusts: the pointer over it makes it the wheel's
// target (g_wheelctrl), leaving it clears that.
template <class T>
class WheelTarget : public WheelForwarder<T> {
protected:
    void OnMouseEnter() override {
        g_wheelctrl = this->GetDlgCtrlID();
        T::OnMouseEnter();
    }
    void OnMouseLeave() override {
        if (g_wheelctrl == this->GetDlgCtrlID()) g_wheelctrl = 0;
        T::OnMouseLeave();
    }
};

template <class T>
std::unique_ptr<T> Make(int id) {
    if (WheelControl(id)) return std::make_unique<WheelTarget<T>>();
    return std::make_unique<WheelForwarder<T>>();
}
}  // namespace

CRadioWindow::CRadioWindow() = default;

CRadioWindow::~CRadioWindow() {
    if (panel_ && panel_->View() == this) panel_->SetView(nullptr);
    if (g_radiowindow == this) g_radiowindow = nullptr;
    // The controls go before the window that hosts them.
    byId_.clear();
    owned_.clear();
}

bool CRadioWindow::CreatePanel(plat::Window* frame, const plat::Rect& place, CSwlPanel* panel) {
    panel_ = panel;
    // Scales outside the usable range were refused when the settings were read.
    sx_ = float(IsUsablePanelScale(g_scalex) ? g_scalex : 1.4);
    sy_ = float(IsUsablePanelScale(g_scaley) ? g_scaley : 1.4);
    context_ = radio_layout::CurrentContext();
    const plat::Rect size = radio_layout::WindowRect(sx_, sy_);
    const plat::Rect r{place.left, place.top, place.left + size.width(), place.top + size.height()};
    // A child of the main frame: inside its client area, under the menu
    // and the control bar, stacked among its siblings.
    if (!Create("Radio Window", plat::WS_CHILD | plat::WS_CLIPSIBLINGS | plat::WS_SYSMENU, r, frame, 1213)) return false;
    if (panel_) panel_->SetView(this);
    g_radiowindow = this;
    return true;
}

int CRadioWindow::OnCreate() {
    buttonFont_.Create(int(10 * sy_), plat::FW_NORMAL, "Arial");
    labelFont_.Create(int(10 * sy_), plat::FW_BOLD, "Arial");
    digitFontA_.Create(int(22 * sy_), plat::FW_BOLD, "Arial");
    digitFontB_.Create(int(13 * sy_), plat::FW_BOLD, "Arial");
    statusFont_.Create(int(10 * sy_), plat::FW_BOLD, "Courier New");
    // Drawn text grows with the window: 14 pixels at the default 1.4.
    drawFont_.Create(int(10 * sy_), plat::FW_NORMAL, "Arial");
    CreateItems(false);
    return 0;
}

void CRadioWindow::CreateSliderRow() {
    if (!IsCreated()) return;
    CreateItems(true);
    // The step buttons read their configured steps.
    const auto steps = ConfiguredSteps();
    for (int i = 0; i < kStepButtons; ++i) SetText(int(IDC_STEP1) + i, StepCaption(steps[std::size_t(i)]));
    // The settings read before the window existed show on its sliders and buttons.
    if (panel_) {
        panel_->FillSliderRow();
        panel_->ShowFunctionButtons();
        panel_->RefreshFilters();
        panel_->ShowRadioContact();
        panel_->ShowTransverterButtons();
        panel_->ShowStationCaption();
        panel_->ShowCallSign();
        panel_->ShowBearing();
        panel_->ShowTuner();
        panel_->ShowRitXit();
        SetText(int(CSwlPanel::kPbtInnerLabel), std::to_string(panel_->pbtInnerOffset));
        SetText(int(CSwlPanel::kPbtOuterLabel), std::to_string(panel_->pbtOuterOffset));
    }
}

void CRadioWindow::CreateItems(bool sliderRow) {
    for (const radio_layout::Placed& p : radio_layout::Layout(context_, sx_, sy_)) {
        if (p.item->sliderRow != sliderRow) continue;
        placed_.push_back(p);
        CreateItem(p);
    }
}

void CRadioWindow::CreateItem(const radio_layout::Placed& p) {
    const int id = p.item->id;
    std::unique_ptr<plat::Window> w;
    switch (p.item->kind) {
    case Kind::Button:
    case Kind::FilterButton:
    case Kind::HoldButton: {
        std::unique_ptr<CBiStateButton> b;
        if (p.item->kind == Kind::FilterButton) {
            auto f = Make<CFilterButton>(id);
            f->CreateChild(p.caption, p.px, this, id, p.visible);
            f->SetFilter(g_filterbuttons[id - 401]);
            b = std::move(f);
        } else {
            b = p.item->kind == Kind::HoldButton ? Make<CPHButton>(id) : Make<CBiStateButton>(id);
            b->CreateChild(p.caption, p.px, this, id, p.visible);
        }
        b->SetFont(&buttonFont_);
        b->SetOffColor(g_buttontextcolor);
        b->SetOnColor(g_buttonselectedtextcolor);
        w = std::move(b);
        break;
    }
    case Kind::Label: {
        auto s = Make<plat::StaticText>(id);
        s->CreateControl(p.caption, p.px, this, id, p.visible);
        if (InDisplay(id)) {
            const plat::Colour c = id == kLocalClock   ? g_loctimecolor
                                   : id == kUtcClock   ? g_utctimecolor
                                   : id == kSilentNotice ? kSilentRed
                                                         : kYellow;
            s->SetColours(c, kBlack);
        } else {
            s->SetColours(g_buttontextcolor, g_radiobackgroundcolor);
        }
        s->SetFont(id == int(IDC_DSP_STATUS) || id == int(IDC_RF_STATUS) ? &statusFont_ : &labelFont_);
        w = std::move(s);
        break;
    }
    case Kind::Frame: {
        auto g = Make<plat::GroupBox>(id);
        g->CreateControl(p.caption, p.px, this, id, p.visible);
        g->SetColours(g_buttontextcolor, g_radiobackgroundcolor);
        g->SetFont(&labelFont_);
        w = std::move(g);
        break;
    }
    case Kind::DigitA:
    case Kind::DigitB: {
        auto e = Make<CNumericEdit>(id);
        e->CreateControl("", p.px, this, id, p.visible);
        e->SetColours(kGreen, kBlack);
        e->SetFont(p.item->kind == Kind::DigitA ? &digitFontA_ : &digitFontB_);
        w = std::move(e);
        break;
    }
    case Kind::Scale: {
        auto s = Make<CScale>(id);
        s->Create(p.px, this, id, panel_ ? panel_->vfoAFreq : 14.0);
        w = std::move(s);
        break;
    }
    case Kind::Drag: {
        auto d = Make<CDragit>(id);
        d->Create(p.px, this, id, id == 2386 ? 1 : 0);
        if (id == 2386)
            d->SetRange(-8000, 8000);
        else
            d->SetRange(-9999, 9999);
        w = std::move(d);
        break;
    }
    case Kind::Slider: {
        auto s = Make<CSlider>(id);
        s->Create(p.px, this, id, p.visible);
        const SliderLimits limits = SliderLimitsOf(id);
        s->SetRange(limits.low, limits.high);
        w = std::move(s);
        break;
    }
    case Kind::Meter: {
        auto m = Make<CMeter>(id);
        m->Create(p.px, this, id);
        if (!p.visible) m->ShowWindow(plat::SW_HIDE);
        w = std::move(m);
        break;
    }
    case Kind::FilterGraphic: {
        auto f = Make<CFilterControl>(id);
        f->Create(p.px, this, id);
        w = std::move(f);
        break;
    }
    }
    if (!w) return;
    switch (p.item->kind) {
    case Kind::Scale: case Kind::Drag: case Kind::Meter: case Kind::FilterGraphic: w->SetFont(&drawFont_); break;
    default: break;
    }
    if (WheelControl(id) || id == 2358) w->SetCursor(plat::CursorShape::Hand);
    if (p.visible) w->ShowWindow(plat::SW_SHOW);
    if (p.item->show == radio_layout::Show::Tuner123 || p.item->show == radio_layout::Show::TunerLdg)
        tunerButtons_.emplace_back(p.item->show, w.get());
    byId_.emplace(id, w.get());
    owned_.push_back(std::move(w));
}

bool CRadioWindow::CreateToolTips() {
    if (!IsCreated()) {
        WriteTrace("Unable to create the ToolTip");
        return false;
    }
    for (const radio_layout::Placed& p : placed_) {
        const std::string tip = radio_layout::TipOf(*p.item, context_);
        if (tip.empty()) continue;
        auto range = byId_.equal_range(p.item->id);
        for (auto it = range.first; it != range.second; ++it) it->second->SetToolTip(tip);
    }
    // The VFO B volume slider is the balance while dual watch runs.
    WriteTrace("ToolTip created");
    return true;
}

plat::Window* CRadioWindow::Control(int id) const {
    // Both tuners' buttons exist with the same ids: the one on show first.
    const auto [first, last] = byId_.equal_range(id);
    for (auto it = first; it != last; ++it)
        if (it->second->IsWindowVisible()) return it->second;
    return first == last ? nullptr : first->second;
}

void CRadioWindow::SetText(int id, const std::string& text) {
    if (plat::Window* w = Control(id)) {
        if (w->GetWindowText() != text) w->SetWindowText(text);
    }
}

// The panel is told its state again with every report from the radio: only
// a control whose look changes is repainted.
void CRadioWindow::Light(int id, bool on) {
    if (auto* b = dynamic_cast<CBiStateButton*>(Control(id)); b && b->GetState() != (on ? 1 : 0)) b->SetState(on ? 1 : 0);
}

void CRadioWindow::ShowTunerButtons(int tuner) {
    context_.tuner = tuner;
    for (auto& [show, w] : tunerButtons_) {
        const bool on = show == radio_layout::Show::TunerLdg ? tuner == 4 : tuner >= 1 && tuner <= 3;
        w->ShowWindow(on ? plat::SW_SHOW : plat::SW_HIDE);
    }
}

std::string CRadioWindow::PlaceText() const {
    const plat::Rect r = GetNormalRect();
    char text[32];
    std::snprintf(text, sizeof text, "%04d %04d", r.left, r.top);
    return text;
}

// ---- The view ---------------------------------------------------------------

void CRadioWindow::ShowDigits(int vfo, const std::array<std::string, kDigitBoxes>& boxes) {
    const int first = vfo == 0 ? int(IDC_DIGITS_A) : int(IDC_DIGITS_B);
    for (int i = 0; i < kDigitBoxes; ++i) SetText(first + i, boxes[std::size_t(i)]);
}

void CRadioWindow::ShowModeCaption(int vfo, char mode) {
    SetText(vfo == 0 ? kModeLabelA : kModeLabelB, radio_layout::ModeCaption(mode, context_));
}

void CRadioWindow::LightModeButton(char mode) {
    const int id = radio_layout::ModeButtonFor(mode, context_.perseus);
    for (int b : kFirstModeButton) Light(b, b == id);
    litMode_ = id;
    // The filter buttons read the width table of the mode; a button without
    // a filter of the model does not show.
    const bool am = UsesAmTable(mode) && ModelCap(g_hasamfmwidth);
    const bool tableChanged = filterAm_ != int(am);
    filterAm_ = int(am);
    for (int i = 0; i < 12; ++i) {
        if (auto* f = dynamic_cast<CFilterButton*>(Control(401 + i))) {
            const int index = CSwlPanel::FilterButtonIndex(i + 1, mode);
            if (tableChanged || f->GetFilter() != index) {
                f->SetAmTable(am);
                f->SetFilter(index);
            }
            f->ShowWindow(IsModelFilter(index) ? plat::SW_SHOW : plat::SW_HIDE);
        }
    }
}

void CRadioWindow::ShowFilterName(const std::string& name) { SetText(kFilterLabel, name); }

void CRadioWindow::SetFilterGraphicWidth(int hz) {
    if (auto* f = dynamic_cast<CFilterControl*>(Control(kFilterGraphic))) f->SetWidth(hz);
}

void CRadioWindow::LightFilterButtons(int index) {
    litFilter_ = index;
    const char mode = panel_ ? panel_->vfoAMode : '0';
    for (int i = 0; i < 12; ++i) Light(401 + i, CSwlPanel::FilterButtonIndex(i + 1, mode) == index);
}

void CRadioWindow::ShowVfoBFilterLabel(int index) { SetText(kFilterLabelB, FilterCaption(index, false)); }

void CRadioWindow::LightBandButton(int row) {
    litBand_ = row;
    for (const radio_layout::Placed& p : placed_)
        if (p.item->bandRow >= 0) Light(p.item->id, p.item->bandRow == row);
}

void CRadioWindow::ShowStepCaption(const std::string& text) { SetText(kStepLabel, text); }

void CRadioWindow::LightStepButton(int button) {
    litStep_ = button;
    for (int i = 0; i < kStepButtons; ++i) Light(int(IDC_STEP1) + i, i == button);
}

void CRadioWindow::ShowStepBCaption(const std::string& text) { SetText(kStepLabelB, text); }

void CRadioWindow::SetScaleResolution(int resolution) {
    if (auto* s = dynamic_cast<CScale*>(Control(2358)); s && s->GetZoom() != (resolution > 0 ? resolution : 1))
        s->SetZoom(resolution);
}

void CRadioWindow::MoveFrequencyScale(double mhz) {
    if (auto* s = dynamic_cast<CScale*>(Control(2358)); s && s->GetCentre() != mhz) s->SetCentre(mhz);
}

void CRadioWindow::SetTransmitColour(int vfo, bool transmitting) {
    int& shown = txShown_[vfo == 0 ? 0 : 1];
    if (shown == int(transmitting)) return;
    shown = int(transmitting);
    const int first = vfo == 0 ? int(IDC_DIGITS_A) : int(IDC_DIGITS_B);
    for (int i = 0; i < kDigitBoxes; ++i)
        if (auto* e = dynamic_cast<plat::Control*>(Control(first + i))) e->SetColours(transmitting ? kRed : kGreen, kBlack);
}

void CRadioWindow::ShowPbt(int shift) {
    if (auto* d = dynamic_cast<CDragit*>(Control(2386)); d && d->GetValue() != shift) d->SetValue(shift);
    if (auto* f = dynamic_cast<CFilterControl*>(Control(kFilterGraphic)); f && f->GetShift() != shift) f->SetShift(shift);
}

void CRadioWindow::ShowMeter(int value, int type) {
    if (auto* m = dynamic_cast<CMeter*>(Control(kMeter))) m->SetValue(value, type, 0);
}

void CRadioWindow::ShowPowerMeter(int forward, int reflected) {
    if (auto* m = dynamic_cast<CMeter*>(Control(kMeter))) m->SetValue(forward, 1, reflected);
}

void CRadioWindow::ShowMeterPeak(int peak, int type) {
    if (auto* m = dynamic_cast<CMeter*>(Control(kMeter))) m->SetType(peak, type);
}

void CRadioWindow::ShowStoreCaption(const std::string& text) { SetText(419, text); }

void CRadioWindow::ShowControl(unsigned id, bool show) {
    auto range = byId_.equal_range(int(id));
    for (auto it = range.first; it != range.second; ++it) it->second->ShowWindow(show ? plat::SW_SHOW : plat::SW_HIDE);
}

void CRadioWindow::SetSliderValue(unsigned id, int value) {
    if (auto* s = dynamic_cast<CSlider*>(Control(int(id))); s && s->GetValue() != value) s->SetValue(value);
}

int CRadioWindow::SliderValue(unsigned id) const {
    if (auto* s = dynamic_cast<CSlider*>(Control(int(id)))) return s->GetValue();
    return -1;
}

void CRadioWindow::SetDragValue(unsigned id, int value) {
    if (auto* d = dynamic_cast<CDragit*>(Control(int(id))); d && d->GetValue() != value) d->SetValue(value);
}

void CRadioWindow::ShowRadioSilent(bool silent, const std::string& text) {
    SetText(kSilentNotice, text);
    ShowControl(kSilentNotice, silent);
    ShowControl(unsigned(kMeter), !silent);
}

// The stored size is the call sign's height at the default scale of 1.4; it
// grows and shrinks with the window like every other text.
void CRadioWindow::SetCallSignStyle(int height, plat::Colour colour) {
    auto* label = dynamic_cast<plat::StaticText*>(Control(int(CSwlPanel::kCallSignLabel)));
    if (!label || (height == callHeight_ && colour == callColour_)) return;
    callHeight_ = height;
    callColour_ = colour;
    callFont_.Create(std::max(1, int(float(height) * sy_ / 1.4f)), plat::FW_NORMAL, "Arial");
    label->SetFont(&callFont_);
    label->SetColours(colour, g_radiobackgroundcolor);
}

void CRadioWindow::SetButtonOnColour(unsigned id, plat::Colour colour) {
    if (auto* b = dynamic_cast<CBiStateButton*>(Control(int(id)))) b->SetOnColor(colour);
}

// The close-time layout: the controls under the notice make way for it
// while the settings are written.
void CRadioWindow::ShowSaveNotice() {
    plat::Window* notice = Control(kSaveNotice);
    if (!notice) return;
    const plat::Rect n = radio_layout::ScaleRect(7, 247, 500, 274, sx_, sy_);
    for (const radio_layout::Placed& p : placed_) {
        if (p.item->id == kSaveNotice || p.item->kind == Kind::Frame) continue;
        const plat::Rect& r = p.px;
        if (r.left < n.right && n.left < r.right && r.top < n.bottom && n.top < r.bottom) {
            auto range = byId_.equal_range(p.item->id);
            for (auto it = range.first; it != range.second; ++it) it->second->ShowWindow(plat::SW_HIDE);
        }
    }
    notice->ShowWindow(plat::SW_SHOW);
}

// ---- Window behaviour ----------------------------------------------------------

bool CRadioWindow::OnCommand(unsigned id, unsigned code, plat::LPARAM control) {
    (void)control;
    if (code != 0) return false;  // the edits' own notifications
    if (panel_ && panel_->OnCommand(id)) return true;
    // Everything else is the main frame's (or not built yet): pass it on,
    // then the keyboard goes back to the main frame.
    if (plat::Window* frame = GetParent()) {
        if (id == IDC_RADIO_WINDOW) return true;
        frame->SendMessage(plat::WM_COMMAND, id, 0);
    }
    if (panel_) panel_->ReturnFocus();
    return true;
}

plat::LRESULT CRadioWindow::OnMessage(unsigned msg, plat::WPARAM wParam, plat::LPARAM lParam) {
    if (!panel_) return 0;
    if (msg == WM_SCALE_PICKED || msg == WM_SCALE_DRAGGED) {
        // The value as each kind reports it: the frequency scale a picked
        // frequency in kHz (351) or its centre in MHz (352), a drag tool or
        // the filter graphic its value.
        const int id = int(wParam);
        plat::Window* w = Control(id);
        double value = 0;
        if (auto* sc = dynamic_cast<CScale*>(w))
            value = msg == WM_SCALE_PICKED ? sc->GetValue() : sc->GetCentre();
        else if (auto* d = dynamic_cast<CDragit*>(w))
            value = d->GetValue();
        else if (auto* f = dynamic_cast<CFilterControl*>(w))
            value = f->GetShift();
        else
            return 0;
        panel_->OnScaleMessage(msg, id, value);
        return 0;
    }
    if (msg == WM_VFO_DRAG) {
        panel_->VfoDragStep(int(wParam));
        return 0;
    }
    if (panel_->OnPanelMessage(msg)) return 0;
    // A slider tells its owner with its own id as the message number.
    if (int(wParam) == int(msg) && dynamic_cast<CSlider*>(Control(int(msg))))
        panel_->OnSliderMessage(int(msg), int(lParam));
    return 0;
}

void CRadioWindow::OnClose() { ShowWindow(plat::SW_HIDE); }

// The wheel anywhere on the window is the main frame's to apply.
void CRadioWindow::OnMouseWheel(unsigned flags, int delta, plat::Point) {
    if (plat::Window* frame = GetParent()) frame->SendMessage(plat::WM_MOUSEWHEEL, plat::MAKEWPARAM(flags, unsigned(delta)), 0);
}

void CRadioWindow::OnChar(unsigned ch) {
    plat::Window* frame = GetParent();
    if (!frame) return;
    if (ch == '-') {
        frame->SendMessage(plat::WM_COMMAND, 222, 0);
    } else if (ch == '+') {
        frame->SendMessage(plat::WM_COMMAND, 223, 0);
    } else {
        // The keys tune wherever the focus is: the main frame handles them.
        frame->SendMessage(plat::WM_CHAR, ch, 0);
    }
}

// The main frame keeps the keys (tuning, PTT on the space bar) even where
// the window manager leaves the focus here: both halves of a key go on.
void CRadioWindow::OnKeyDown(unsigned key, unsigned flags) {
    if (plat::Window* frame = GetParent()) frame->SendMessage(plat::WM_KEYDOWN, key, flags);
}

void CRadioWindow::OnKeyUp(unsigned key, unsigned flags) {
    if (plat::Window* frame = GetParent()) frame->SendMessage(plat::WM_KEYUP, key, flags);
}

void CRadioWindow::OnPaint(plat::PaintContext& pc) {
    const plat::Rect client = GetClientRect();
    pc.FillRect(client, g_radiobackgroundcolor);
    // The frequency display: black inside a sunken two-pixel border.
    plat::Rect d = radio_layout::ScaleRect(radio_layout::kDisplayLeft, radio_layout::kDisplayTop,
                                           radio_layout::kDisplayRight, radio_layout::kDisplayBottom, sx_, sy_);
    d = {d.left - 2, d.top - 2, d.right + 2, d.bottom + 2};
    pc.FillRect(d, kBlack);
    pc.Line(d.left, d.top, d.right - 1, d.top, plat::RGB(0x80, 0x80, 0x80));
    pc.Line(d.left, d.top, d.left, d.bottom - 1, plat::RGB(0x80, 0x80, 0x80));
    pc.Line(d.left + 1, d.top + 1, d.right - 2, d.top + 1, plat::RGB(0x3F, 0x3F, 0x3F));
    pc.Line(d.left + 1, d.top + 1, d.left + 1, d.bottom - 2, plat::RGB(0x3F, 0x3F, 0x3F));
    pc.Line(d.left + 1, d.bottom - 2, d.right - 2, d.bottom - 2, plat::RGB(0xC0, 0xC0, 0xC0));
    pc.Line(d.right - 2, d.top + 1, d.right - 2, d.bottom - 2, plat::RGB(0xC0, 0xC0, 0xC0));
    pc.Line(d.left, d.bottom - 1, d.right - 1, d.bottom - 1, kWhite);
    pc.Line(d.right - 1, d.top, d.right - 1, d.bottom - 1, kWhite);
}

// The body of the window is its caption: a press anywhere off the controls
// drags it.
void CRadioWindow::OnLButtonDown(unsigned, plat::Point p) {
    // The step label is no control of its own: a click on it opens the step
    // dialog.
    for (const radio_layout::Placed& c : placed_) {
        if (c.item->id != kStepLabel) continue;
        if (panel_ && p.x >= c.px.left && p.x < c.px.right && p.y >= c.px.top && p.y < c.px.bottom) {
            panel_->OnCommand(IDC_STEP_LABEL);
            return;
        }
    }
    BringWindowToTop();
    dragging_ = true;
    dragFrom_ = ClientToScreen(p);
    SetCapture();
}

void CRadioWindow::OnMouseMove(unsigned flags, plat::Point p) {
    g_wheelctrl = 0;
    if (!dragging_ || !(flags & plat::MK_LBUTTON)) return;
    const plat::Point now = ClientToScreen(p);
    const plat::Rect r = GetWindowRect();
    // Dragged anywhere inside the frame, never off it.
    const plat::Rect to = plat::KeepInside({r.left + now.x - dragFrom_.x, r.top + now.y - dragFrom_.y,
                                            r.right + now.x - dragFrom_.x, r.bottom + now.y - dragFrom_.y},
                                           DragBounds());
    MoveWindow(to);
    // Where the window stopped against the edge, the pointer runs ahead.
    dragFrom_ = {now.x - (r.left + now.x - dragFrom_.x - to.left), now.y - (r.top + now.y - dragFrom_.y - to.top)};
}

void CRadioWindow::OnLButtonUp(unsigned, plat::Point) {
    if (!dragging_) return;
    dragging_ = false;
    ReleaseCapture();
    if (panel_) panel_->ReturnFocus();
}

void RecordRadioWindowPlace() {
    if (!g_radiowindow || !g_radiowindow->IsCreated()) return;
    std::snprintf(g_radioplace, sizeof g_radioplace, "%s", g_radiowindow->PlaceText().c_str());
}

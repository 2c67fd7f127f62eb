#include "memories/sweep_panel.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "base/memory_options.h"
#include "base/settings_options.h"
#include "base/shared_fonts.h"
#include "civ/band_table.h"
#include "civ/civ_options.h"
#include "civ/frequency_options.h"
#include "civ/frequency_state.h"
#include "memories/sweep.h"
#include "platform/controls.h"
#include "platform/layout_check.h"
#include "platform/paint.h"

CSweepPanel* g_sweeppanel = nullptr;

namespace {
// Control ids of the panel.
enum : int {
    kIdGraph = 3001,
    kIdSweep,
    kIdStop,
    kIdHighRes,
    kIdWide,
    kIdRange,
    kIdCentre,
    kIdManual,
    kIdDisplay,
    kIdPass,
    kIdLinear,
    kIdStyle,
    kIdPulse,
    kIdReadout,
};

const char* const kRanges[] = {"1.5 MHz", "750 kHz", "300 kHz", "150 kHz", "75 kHz",
                               "30 KHz",  "12 KHz",  "6 KHz",   "3 kHz"};
const char* const kCentres[] = {"Track Receiver", "Manual Setting", "Band Center"};
const char* const kDisplays[] = {"Normal", "MaxHold", "Integrate"};
const char* const kPasses[] = {"One Pass",          "Continuous",        "Threshhold S3",    "Threshhold S5",
                               "Threshhold S7",     "Threshhold S9",     "Threshhold S9+10", "Threshhold S9+20"};
const char* const kStyles[] = {"Solid", "Line"};

constexpr plat::Colour kBack = plat::RGB(0, 0, 0);
constexpr plat::Colour kTraceColour = plat::RGB(0, 255, 0);
constexpr plat::Colour kGrid = plat::RGB(0, 96, 0);
constexpr plat::Colour kMarkerColour = plat::RGB(255, 0, 0);
constexpr plat::Colour kScaleText = plat::RGB(255, 255, 0);
constexpr int kScaleHeight = 14;

template <std::size_t N>
void Fill(plat::ComboBox& box, const char* const (&items)[N], int sel) {
    for (const char* s : items) box.AddString(s);
    box.SetCurSel(std::clamp(sel, 0, int(N) - 1));
}

int Points(bool highRes) { return highRes ? 300 : 150; }

// A sample's height in the graph, 0..h: linear, or logarithmic over the
// 100..5000 range of values (the receiver's own floor reads about 200, so
// a scale from 0 would spend most of the height below it).
int Height(int value, int h, bool linear) {
    if (value <= 0) return 0;
    const double f = linear ? value / 5000.0 : std::log10(std::max(value, 100) / 100.0) / std::log10(50.0);
    return std::clamp(int(f * h), 0, h);
}
}  // namespace

// ---- Graph ----------------------------------------------------------------------

void CSweepWnd::OnPaint(plat::PaintContext& pc) {
    const plat::Rect r = GetWindowRect();
    const int w = r.width(), h = r.height();
    pc.FillRect({0, 0, w, h}, kBack);
    if (GetFont()) pc.SetFont(GetFont());
    // The scale's line is as high as its text.
    const int scaleH = std::max(pc.TextExtent("0.0").y + 1, kScaleHeight);
    const int plotH = std::max(h - scaleH, 1);
    for (int i = 1; i < 4; ++i) pc.Line(0, plotH * i / 4, w, plotH * i / 4, kGrid);
    const SweepRun& run = CurrentSweep();
    const CSweepPanel* panel = g_sweeppanel;
    const bool linear = panel && panel->linear;
    const bool line = panel && panel->style == 1;
    const int samples = std::max(run.maxIndex, 1);
    if (g_sweeptrace) {
        int lastX = -1, lastY = plotH;
        for (int i = 0; i < run.maxIndex && i < kSweepSamples; ++i) {
            const int x = i * w / samples;
            const int y = plotH - Height(g_sweeptrace[i], plotH, linear);
            if (line) {
                if (lastX >= 0) pc.Line(lastX, lastY, x, y, kTraceColour);
            } else {
                const int x2 = std::max((i + 1) * w / samples, x + 1);
                pc.FillRect({x, y, x2, plotH}, kTraceColour);
            }
            lastX = x;
            lastY = y;
        }
    }
    // The frequency scale under the trace.
    if (run.end > run.start) {
        pc.SetTextColour(kScaleText);
        for (int i = 0; i <= 4; ++i) {
            char text[16];
            std::snprintf(text, sizeof text, "%6.3f", run.start + (run.end - run.start) * i / 4);
            // Centred on its tick, held inside the graph at both ends.
            const int tw = pc.TextExtent(text).x + 2;
            const int x = std::clamp(i * w / 4 - tw / 2, 0, std::max(w - tw, 0));
            pc.DrawText(text, {x, plotH, x + tw, h}, plat::DT_CENTER | plat::DT_SINGLELINE);
        }
        if (panel && panel->marker >= run.start && panel->marker <= run.end) {
            const int x = int((panel->marker - run.start) / (run.end - run.start) * w);
            pc.Line(x, 0, x, plotH, kMarkerColour);
        }
    }
}

double CSweepWnd::FrequencyAt(int x) const {
    const SweepRun& run = CurrentSweep();
    const int w = std::max(GetWindowRect().width(), 1);
    return run.start + (run.end - run.start) * std::clamp(x, 0, w) / w;
}

int CSweepWnd::ValueAt(int x) const {
    const SweepRun& run = CurrentSweep();
    if (!g_sweeptrace || run.end <= run.start) return 0;
    const int samples = std::min(run.steps * run.count, kSweepSamples);
    const int w = std::max(GetWindowRect().width(), 1);
    const int i = std::clamp(x, 0, w - 1) * samples / w;
    return i < run.maxIndex ? g_sweeptrace[i] : 0;
}

void CSweepWnd::OnLButtonDown(unsigned, plat::Point p) {
    if (auto* panel = dynamic_cast<CSweepPanel*>(GetParent())) panel->PickAt(p.x);
}

void CSweepWnd::OnMouseMove(unsigned, plat::Point p) {
    if (auto* panel = dynamic_cast<CSweepPanel*>(GetParent())) panel->ShowReadoutAt(p.x);
}

void CSweepWnd::OnMouseLeave() {
    if (auto* panel = dynamic_cast<CSweepPanel*>(GetParent())) panel->ShowReadoutAt(-1);
}

// ---- Panel ------------------------------------------------------------------------

CSweepPanel::CSweepPanel() = default;
CSweepPanel::~CSweepPanel() = default;

void CSweepPanel::LoadOptions() {
    range = std::clamp(g_sweeprange, 0, 8);
    pass = std::clamp(g_sweepthresh, 0, 7);
    manualFreq = std::atof(g_sweepfreq);
    centre = std::clamp(g_sweepcenter, 0, 2);
    style = std::clamp(g_sweepstyle, 0, 1);
    pulse = std::clamp(g_sweeppulse, 0, 15);
    linear = g_sweepformat != 0;
    display = std::clamp(g_sweepmaxhold, 0, 2);
    wide = g_bigsweep != 0;
}

void CSweepPanel::SaveOptions() const {
    g_sweeprange = range;
    g_sweepthresh = pass;
    std::snprintf(g_sweepfreq, sizeof g_sweepfreq, "%09.6f", manualFreq);
    g_sweepcenter = centre;
    g_sweepstyle = style;
    g_sweeppulse = pulse;
    g_sweepformat = linear;
    g_sweepmaxhold = display;
    g_bigsweep = wide;
}

namespace {
// Rows of controls under the graph: each control is as wide as its longest
// text needs in the panel's font, and they flow left to right in a fixed
// order. The panel widens (never narrows) until they take at most kRows rows.
constexpr int kRows = 4;
constexpr int kRowPitch = 25;
constexpr int kRowHeight = 23;
constexpr int kGap = 4;
// What a control adds to its text: a button's frame, a combo box's arrow
// and frame, a check box's box, an edit's frame.
constexpr int kButtonExtra = 18, kComboExtra = 34, kCheckExtra = 26, kEditExtra = 14;

struct FlowItem {
    plat::Window* w;
    int width;
};

// Left edges of the items row by row in `inner` pixels; the number of rows.
int Flow(const std::vector<FlowItem>& items, int inner, std::vector<plat::Point>* at) {
    int x = 0, row = 0;
    for (const FlowItem& it : items) {
        if (x > 0 && x + it.width > inner) {
            ++row;
            x = 0;
        }
        if (at) at->push_back({x, row});
        x += it.width + kGap;
    }
    return row + 1;
}

template <std::size_t N>
int Widest(const plat::Window* w, const char* const (&items)[N]) {
    int most = 0;
    for (const char* s : items) most = std::max(most, plat::MeasureText(w, s).x);
    return most;
}
}  // namespace

int CSweepPanel::OnCreate() {
    const plat::Rect r = GetWindowRect();
    int w = r.width();
    const int graphH = g_sweepheight > 20 ? g_sweepheight : 148;
    graph_.Create("", plat::WS_CHILD | plat::WS_VISIBLE, {4, 4, w - 4, 4 + graphH}, this, kIdGraph);
    graph_.SetFont(g_smallfont);
    auto make = [&](auto& ptr, const char* text, int id) {
        ptr = std::make_unique<std::remove_reference_t<decltype(*ptr)>>();
        ptr->CreateControl(text, {0, 0, 10, kRowHeight}, this, id);
        if (g_smallfont) ptr->SetFont(g_smallfont);
    };
    make(sweep_, "Sweep", kIdSweep);
    make(stop_, "Stop", kIdStop);
    make(rangeList_, "Range", kIdRange);
    make(centreList_, "Center Frequency", kIdCentre);
    make(manualEdit_, "", kIdManual);
    make(displayList_, "", kIdDisplay);
    make(passList_, "", kIdPass);
    make(styleList_, "", kIdStyle);
    make(pulseList_, "", kIdPulse);
    make(highResBox_, "High Resolution", kIdHighRes);
    make(wideBox_, "Wide Sweep (Pgm Restart Req)", kIdWide);
    make(linearBox_, "Linear", kIdLinear);
    make(readout_, "", kIdReadout);

    const char* const pulses[] = {"Default Pulse Width", "Pulse Width 16"};
    auto text = [&](const plat::Window* c, const char* t) { return plat::MeasureText(c, t).x; };
    const std::vector<FlowItem> items = {
        {sweep_.get(), text(sweep_.get(), "Sweep") + kButtonExtra},
        {stop_.get(), text(stop_.get(), "Stop") + kButtonExtra},
        {rangeList_.get(), Widest(rangeList_.get(), kRanges) + kComboExtra},
        {centreList_.get(), Widest(centreList_.get(), kCentres) + kComboExtra},
        {manualEdit_.get(), text(manualEdit_.get(), "000.000000") + kEditExtra},
        {displayList_.get(), Widest(displayList_.get(), kDisplays) + kComboExtra},
        {passList_.get(), Widest(passList_.get(), kPasses) + kComboExtra},
        {styleList_.get(), Widest(styleList_.get(), kStyles) + kComboExtra},
        {pulseList_.get(), Widest(pulseList_.get(), pulses) + kComboExtra},
        {highResBox_.get(), text(highResBox_.get(), "High Resolution") + kCheckExtra},
        {wideBox_.get(), text(wideBox_.get(), "Wide Sweep (Pgm Restart Req)") + kCheckExtra},
        {linearBox_.get(), text(linearBox_.get(), "Linear") + kCheckExtra},
    };
    // The readout has a row of its own under the graph, as wide as its
    // longest text (either scale, the highest frequency and value).
    const int readoutW = std::max(text(readout_.get(), SweepReadout(999.999999, 5000, false).c_str()),
                                  text(readout_.get(), SweepReadout(999.999999, 5000, true).c_str())) + 6;
    w = std::max(w, readoutW + 8);
    while (Flow(items, w - 8, nullptr) > kRows && w < 2000) w += 20;
    std::vector<plat::Point> at;
    const int rows = Flow(items, w - 8, &at);
    const int readoutTop = graphH + 8;
    const int top = readoutTop + kRowPitch;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const int x = 4 + at[i].x, y = top + at[i].y * kRowPitch;
        items[i].w->MoveWindow({x, y, x + items[i].width, y + kRowHeight});
    }
    // The panel grows to hold its rows; its place stays.
    const int h = std::max(r.height(), top + rows * kRowPitch + 2);
    if (w != r.width() || h != r.height()) {
        MoveWindow({r.left, r.top, r.left + w, r.top + h});
        graph_.MoveWindow({4, 4, w - 4, 4 + graphH});
    }
    readout_->MoveWindow({4, readoutTop, w - 4, readoutTop + kRowHeight});

    Fill(*rangeList_, kRanges, range);
    Fill(*centreList_, kCentres, centre);
    Fill(*displayList_, kDisplays, display);
    Fill(*passList_, kPasses, pass);
    Fill(*styleList_, kStyles, style);
    pulseList_->AddString("Default Pulse Width");
    for (int n = 2; n <= 16; ++n) pulseList_->AddString("Pulse Width " + std::to_string(n));
    pulseList_->SetCurSel(pulse);
    char freq[32];
    std::snprintf(freq, sizeof freq, "%09.6f", manualFreq);
    manualEdit_->SetText(freq);
    highResBox_->SetCheck(highRes);
    wideBox_->SetCheck(wide);
    linearBox_->SetCheck(linear);
    EnableRunControls(!(g_sweeprunning || g_sweepbrunning));
    ready_ = true;
    return 0;
}

void CSweepPanel::ReadControls() {
    if (!ready_) return;
    range = std::max(rangeList_->GetCurSel(), 0);
    centre = std::max(centreList_->GetCurSel(), 0);
    display = std::max(displayList_->GetCurSel(), 0);
    pass = std::max(passList_->GetCurSel(), 0);
    style = std::max(styleList_->GetCurSel(), 0);
    pulse = std::max(pulseList_->GetCurSel(), 0);
    highRes = highResBox_->GetCheck();
    wide = wideBox_->GetCheck();
    linear = linearBox_->GetCheck();
    const double f = std::atof(manualEdit_->GetText().c_str());
    if (f > 0) manualFreq = f;
}

bool CSweepPanel::OnCommand(unsigned id, unsigned, plat::LPARAM) {
    switch (int(id)) {
        case kIdSweep: StartSweep(); return true;
        case kIdStop: StopSweep(); return true;
        case kIdRange: case kIdCentre: case kIdDisplay: case kIdPass: case kIdStyle: case kIdPulse:
        case kIdHighRes: case kIdWide: case kIdLinear: case kIdManual:
            ReadControls();
            SaveOptions();
            graph_.Invalidate();
            return true;
        default: return false;
    }
}

void CSweepPanel::EnableRunControls(bool idle) {
    if (!sweep_) return;
    sweep_->EnableWindow(idle);
    stop_->EnableWindow(!idle);
    for (plat::Window* w : {static_cast<plat::Window*>(rangeList_.get()), static_cast<plat::Window*>(highResBox_.get()),
                            static_cast<plat::Window*>(centreList_.get()), static_cast<plat::Window*>(manualEdit_.get())})
        w->EnableWindow(idle);
}

void CSweepPanel::StartSweep() {
    if (g_memscan || g_scanfreq > 0.01 || g_sweeprunning || g_sweepbrunning) return;
    ReadControls();
    // Wide sweep is fixed at start-up: the setting is read then.
    const bool wideNow = g_bigsweep != 0;
    const int user = pulse > 0 ? pulse + 1 : 0;
    SweepSteps s = SweepStepsFor(range, wideNow, highRes != 0, user);
    const int points = Points(highRes != 0);
    double start = SweepStartFor(centre == 1 ? manualFreq : g_vfoafreq, s.stepHz, s.count, points);
    if (centre == 2 && g_bandrow != kGenBandRow && g_bandrow >= 0 && g_bandrow < kBandRows) {
        const BandStackEntry& b = g_bandstack[g_bandrow];
        if (user == 0 && s.count != 1) s.count = highRes ? 8 : 4;
        s.stepHz = int(s.count * std::llround((b.high - b.low) * 1e6) / (2 * points));
        start = SweepStartFor((b.low + b.high) / 2, s.stepHz, s.count, points);
    }
    runStart = start;
    runStep = s.stepHz;
    runCount = s.count;
    EnableRunControls(false);
    if (GetParent())
        GetParent()->SendMessage(plat::WM_COMMAND, ID_SWEEP_START, 0);
    else
        OnSweepStart(runStart, runStep, runCount, highRes != 0);
}

void CSweepPanel::StopSweep() {
    EnableRunControls(true);
    if (GetParent())
        GetParent()->SendMessage(plat::WM_COMMAND, ID_SWEEP_STOP, 0);
    else
        EndSweep();
    graph_.Invalidate();
}

void CSweepPanel::SetMarker(double mhz) {
    marker = mhz;
    graph_.Invalidate();
}

void CSweepPanel::PickAt(int x) {
    // Before any sweep the graph covers no frequencies: nothing to tune.
    const SweepRun& run = CurrentSweep();
    if (run.end <= run.start) return;
    pickFreq = graph_.FrequencyAt(x);
    if (GetParent())
        GetParent()->SendMessage(plat::WM_COMMAND, ID_SWEEP_PICK, 0);
    else
        OnSweepPick(pickFreq);
}

void CSweepPanel::ShowReadoutAt(int x) {
    if (!readout_) return;
    const SweepRun& run = CurrentSweep();
    if (x < 0 || run.end <= run.start)
        readout_->SetWindowText("");
    else
        readout_->SetWindowText(SweepReadout(graph_.FrequencyAt(x), graph_.ValueAt(x), linear != 0));
}

std::string CSweepPanel::ReadoutText() const { return readout_ ? readout_->GetWindowText() : std::string(); }

void CSweepPanel::TraceChanged() { graph_.Invalidate(); }

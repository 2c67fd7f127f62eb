// RIT, XIT and passband tuning, and the scales that show them.
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "base/trace_log.h"
#include "civ/band_table.h"
#include "civ/frequency_state.h"
#include "civ/radio_models.h"
#include "panel/knob_state.h"
#include "panel/swl_panel.h"
#include "platform/window.h"

int g_knobfunction = 1;
int g_wheelmult = 0;
int g_knobabsolute = 0;
int g_knobabsvalue = 0;

namespace {
constexpr unsigned kPbtButton = 169, kRitButton = 164, kXitButton = 165, kFlagButton = 168;
constexpr int kFrequencyScale = 2358, kRitScale = 2382, kXitScale = 2400, kPbtScale = 2386;
// The passband picture: 2401 in our layout, 166 on the pop-out filter panel.
constexpr int kFilterGraphic = 2401, kFilterPanelGraphic = 166;
constexpr unsigned kPicked = 351, kDragged = 352;
constexpr int kKnobPbt = 2, kKnobRit = 3, kKnobXit = 4;
constexpr int kMaxOffset = 9999;
constexpr int kCentre = 128;
constexpr int kPbtStep = 5;      // one LO CUT / HI CUT click, in position units
constexpr int kHzPerPosition = 5;
constexpr int kKnobPbtHz = 10;

// The radio takes only the 0..255 cut positions, whose shift is at most
// (127 + 127) * 5 Hz: nothing wider is ever sent or stored.
int ClampPosition(int p) { return std::clamp(p, 0, 255); }
}  // namespace

int ClampPbtShift(int hz) { return std::clamp(hz, -kMaxPbtShift, kMaxPbtShift); }

std::string OffsetText(int hz) {
    char text[24];
    if (hz >= -999 && hz <= 999)
        std::snprintf(text, sizeof text, "%+3d", hz);
    else
        std::snprintf(text, sizeof text, "%+4.3f", hz / 1000.0);
    return text;
}

// ---- Passband tuning -----------------------------------------------------------

namespace {
// After a cut position moved: the shift follows (unless the radio reported
// it), and PBT is lit exactly while there is a shift.
void FollowPositions(CSwlPanel& p) {
    if (!p.shiftReported) p.pbtShift = ClampPbtShift((p.pbtInnerOffset + p.pbtOuterOffset) * kHzPerPosition);
    if ((p.pbt && p.pbtShift == 0) || (!p.pbt && p.pbtShift != 0)) {
        p.pbt = !p.pbt;
        if (p.View()) p.View()->LightButton(kPbtButton, p.pbt);
    }
    p.ShowPbt();
}
}  // namespace

void CSwlPanel::SetPbtInner(int position) {
    pbtInner = ClampPosition(position);
    pbtInnerOffset = pbtInner - kCentre;
    if (View()) View()->SetControlText(kPbtInnerLabel, std::to_string(pbtInnerOffset));
    FollowPositions(*this);
}

void CSwlPanel::SetPbtOuter(int position) {
    pbtOuter = ClampPosition(position);
    pbtOuterOffset = pbtOuter - kCentre;
    if (View()) View()->SetControlText(kPbtOuterLabel, std::to_string(pbtOuterOffset));
    FollowPositions(*this);
}

void CSwlPanel::SetPbtFromShift(int shift) {
    shift = ClampPbtShift(shift);
    const int c = (shift - (pbtInnerOffset + pbtOuterOffset) * kHzPerPosition) / 10;
    pbtShift = shift;
    shiftReported = 1;
    SetPbtInner(pbtInnerOffset + c + kCentre);
    SetPbtOuter(pbtOuterOffset + c + kCentre);
    shiftReported = 0;
}

void CSwlPanel::ShowPbt() {
    pbtShown = pbtShift;
    if (!View()) return;
    View()->ShowPbt(pbt ? pbtShift : 0);
    View()->SetDragValue(kPbtScale, pbtShift);
}

// ---- RIT and XIT ----------------------------------------------------------------

void CSwlPanel::ShowRitXit() {
    ritText = rit || xit ? OffsetText(ritOffset) : "  ";
    if ((rit || xit) && View()) View()->SetDragValue(kRitScale, ritOffset);
    xitText = xit ? OffsetText(xitOffset) : "+0";
    if (View()) {
        View()->SetControlText(kRitLabel, ritText);
        View()->SetControlText(kXitLabel, xitText);
    }
}

namespace {
// Off always; on only without SPLIT and dual watch, which tune VFO B.
void ToggleOffset(CSwlPanel& p, int& flag, unsigned button) {
    if (flag)
        flag = 0;
    else if (!p.split && !g_dual)
        flag = 1;
    if (p.View()) p.View()->LightButton(button, flag);
    p.NotifyMainWin();
    p.ShowRitXit();
}
}  // namespace

// Dual watch and split cannot share the receiver with RIT or XIT.
void CSwlPanel::SwitchRitXitOff() {
    if (!rit && !xit) return;
    rit = 0;
    xit = 0;
    if (View()) {
        View()->LightButton(kRitButton, 0);
        View()->LightButton(kXitButton, 0);
    }
    ShowRitXit();
}

void CSwlPanel::ToggleRit() { ToggleOffset(*this, rit, kRitButton); }
void CSwlPanel::ToggleXit() { ToggleOffset(*this, xit, kXitButton); }

// ---- Knob steps ------------------------------------------------------------------

namespace {
// One RIT knob click: a tenth of a VFO step from 100 Hz up, else the step;
// a wheel step of several clicks moves by all of them at once.
void StepRit(CSwlPanel& p, int sign) {
    const int s = int(p.step);
    const int delta = (s > 99 ? s / 10 : s) * (p.wheelStep ? std::abs(g_wheelmult) : 1);
    p.ritOffset = std::clamp(p.ritOffset + sign * delta, -kMaxOffset, kMaxOffset);
    p.ShowRitXit();
    if (p.View()) p.View()->SetDragValue(kRitScale, p.ritOffset);
}
}  // namespace

void CSwlPanel::KnobUp() {
    if (g_knobfunction == kKnobPbt)
        SetPbtFromShift(g_knobabsolute ? g_knobabsvalue * 20 - kMaxPbtShift : pbtShift + kKnobPbtHz);
    else if (g_knobfunction == kKnobRit)
        StepRit(*this, 1);
    else
        return;
    if (!wheelStep) NotifyMainWin();
}

void CSwlPanel::KnobDown() {
    if (g_knobfunction == kKnobPbt)
        SetPbtFromShift(pbtShift - kKnobPbtHz);
    else if (g_knobfunction == kKnobRit)
        StepRit(*this, -1);
    else
        return;
    if (!wheelStep) NotifyMainWin();
}

// ---- Commands ------------------------------------------------------------------

bool CSwlPanel::OnOffsetCommand(unsigned id) {
    switch (id) {
    case kRitButton: ToggleRit(); return true;
    case kXitButton: ToggleXit(); return true;
    case kPbtButton:
        // Elsewhere PBT follows the shift; only the Perseus switches it.
        if (g_perseus) {
            pbt = !pbt;
            if (View()) View()->LightButton(kPbtButton, pbt);
            ShowPbt();
            NotifyMainWin();
        }
        ReturnFocus();
        return true;
    case 2418: case 2419:
        SetPbtInner(std::min(pbtInner, 255) + (id == 2418 ? -kPbtStep : kPbtStep));
        NotifyMainWin();
        return true;
    case 2490: case 2491:
        SetPbtOuter(std::min(pbtOuter, 255) + (id == 2490 ? -kPbtStep : kPbtStep));
        NotifyMainWin();
        return true;
    case 2504: SetPbtInner(kCentre); NotifyMainWin(); return true;
    case 2503: SetPbtOuter(kCentre); NotifyMainWin(); return true;
    case kFlagButton:
        flag168 = !flag168;
        if (View()) View()->LightButton(kFlagButton, flag168);
        return true;
    default: return false;
    }
}

// ---- Scales ----------------------------------------------------------------------

bool CSwlPanel::OnScaleMessage(unsigned msg, int id, double value) {
    if (msg != kPicked && msg != kDragged) return false;
    switch (id) {
    case kFrequencyScale: {
        // A pick reports kHz, a drag the scale's centre in MHz.
        const double f = msg == kPicked ? value / 1000 : value;
        if (CheckCoverage(f) != 0) return true;
        vfoAFreq = f;
        if (View()) View()->MoveFrequencyScale(f);
        SetFrequency(f);
        NotifyMainWin();
        return true;
    }
    case kRitScale: {
        if (msg == kDragged && !rit && !xit && !split && !g_dual) {
            rit = 1;
            if (View()) View()->LightButton(kRitButton, 1);
        }
        ritOffset = std::clamp(int(value), -kMaxOffset, kMaxOffset);
        WriteTracef(msg == kPicked ? "SWL RitFreq %d" : "SWL 2 RitFreq %d", ritOffset);
        ShowRitXit();
        NotifyMainWin();
        return true;
    }
    case kXitScale:
        xitOffset = std::clamp(int(value), -kMaxOffset, kMaxOffset);
        ShowRitXit();
        NotifyMainWin();
        return true;
    case kPbtScale:
        SetPbtFromShift(int(value));
        NotifyMainWin();
        return true;
    case kFilterGraphic:
    case kFilterPanelGraphic:
        // The picture spans ±6000 Hz, but only what the cut positions can
        // carry is a shift; the positions follow so the radio gets it.
        SetPbtFromShift(int(value));
        NotifyMainWin();
        return true;
    default: return false;
    }
}

// The wheel over an offset scale switches its offset on (never off: a
// second click must not undo the first) and steps it by the clicks.
void CSwlPanel::SwitchRitOnForStep() {
    if (rit || xit || split || g_dual) return;
    rit = 1;
    if (View()) View()->LightButton(kRitButton, 1);
    ShowRitXit();
}

void CSwlPanel::SwitchPbtOnForStep() {
    // Elsewhere PBT lights by itself once the shift moves.
    if (pbt || !g_perseus) return;
    pbt = 1;
    if (View()) View()->LightButton(kPbtButton, 1);
}

void CSwlPanel::WheelOverScale(int id, int clicks) {
    int knob = 0;
    if (id == kRitScale) {
        SwitchRitOnForStep();
        knob = xit ? kKnobXit : kKnobRit;
    } else if (id == kPbtScale) {
        SwitchPbtOnForStep();
        knob = kKnobPbt;
    } else {
        return;
    }
    if (clicks != 0) {
        const int saved = g_knobfunction;
        g_knobfunction = knob;
        g_wheelmult = clicks;
        wheelStep = 1;
        if (clicks > 0)
            KnobUp();
        else
            KnobDown();
        wheelStep = 0;
        g_knobfunction = saved;
    }
    NotifyMainWin();
}

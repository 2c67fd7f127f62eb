// Band buttons and the band stack: loading and storing rows, the scratch
// pads and the state kept around a tune.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "base/device_options.h"
#include "base/panel_options.h"
#include "base/settings_view.h"
#include "base/trace_log.h"
#include "civ/band_table.h"
#include "civ/civ_options.h"
#include "civ/frequency_options.h"
#include "civ/radio_init.h"
#include "civ/transverters.h"
#include "panel/filter_table.h"
#include "panel/panel_requests.h"
#include "panel/radio_layout.h"
#include "panel/swl_panel.h"

int g_manualmodesaved = 0;

namespace {
constexpr unsigned IDC_BAND_MW = 40142;
constexpr unsigned IDC_BAND_SIXTY_SSB = 40032;
constexpr unsigned IDC_SIXTY_NEXT = 5043;  // right click on the phone-column "60"
constexpr unsigned IDC_BAND_BOTTOM = 2479;
constexpr unsigned IDC_RECALL_SP = 123, IDC_STORE_SP = 124;
constexpr unsigned IDC_RECALL_SP2 = 6128, IDC_STORE_SP2 = 6129;
constexpr unsigned IDC_RECALL_SP3 = 6130, IDC_STORE_SP3 = 6131;
constexpr unsigned IDC_UNDO_SP = 6132;
constexpr unsigned IDC_MANUAL_MODE = 238;
constexpr unsigned IDC_AMP_DRIVE = 2536;  // the settings window's amplifier drive

constexpr int kScratchRow = 31, kTuneRow = 38, kScratch3Row = 40, kScratch2Row = 41, kScratch4Row = 42,
              kUndoRow = 43;
constexpr int kUndoField = 0;  // the scratch-pad panel's field of the undo row
constexpr int kNoAntenna = 9, kNoPbt = 355;
constexpr int kMarkerUnsent = 9;  // a preamp or attenuator value neither takes

// Rows that hold any frequency: their last frequency is loaded as it stands.
bool KeepsAnyFrequency(int row) {
    switch (row) {
    case kScratchRow: case kGenBandRow: case kTuneRow: case kScratch3Row: case kScratch2Row: case kScratch4Row:
    case kUndoRow:
        return true;
    default:
        return false;
    }
}

bool IsCw(int mode) { return mode == '3' || mode == '2'; }

// A mode the program knows ('0'..'5', '7'..'<', DV).
bool KnownMode(int mode) { return (mode >= '0' && mode <= '<' && mode != '6') || mode == 0x17; }

std::string ScratchText(double mhz) {
    char text[24];
    std::snprintf(text, sizeof text, "%9.6f", mhz);
    return text;
}
}  // namespace

int CSwlPanel::BandRowOfCommand(unsigned id) {
    for (const radio_layout::Item& item : radio_layout::Items())
        if (item.bandRow >= 0 && unsigned(item.id) == id) return item.bandRow;
    return -1;
}

void CSwlPanel::StoreBandRow(double mhz, int row) {
    if (row < 0 || row >= kBandRows) return;
    BandStackEntry& b = g_bandstack[row];
    b.last = mhz;
    b.second = split ? vfoBFreq : 0;
    b.mode = vfoAMode;
    b.filter = filter;
    g_bandmainant[row] = antenna;
    g_bandsubant[row] = rxAntenna;
    g_bandmainantb[row] = fn.antennaB;
    g_bandsubantb[row] = fn.rxAntennaB;
    g_bandtunerant[row] = std::int16_t(Requests().TunerAntenna());
    g_bandlocut[row] = std::clamp(pbtInner, 0, 255);
    g_bandhicut[row] = std::clamp(pbtOuter, 0, 255);
    g_bandpower[row] = g_power;
    g_bandpreamp[row] = std::int16_t(preamp);
    g_bandattn[row] = std::int16_t(attenuator);
}

void CSwlPanel::StoreCurrentBand(double mhz) { StoreBandRow(mhz, PanelBandRow(mhz, g_prevbandrow)); }

void CSwlPanel::SelectBand(int row) {
    if (row < 0 || row >= kBandRows) return;
    {
        NotifyHold hold(*this);
        const BandStackEntry& b = g_bandstack[row];
        StoreCurrentBand(vfoAFreq);
        g_prevbandrow = g_bandrow;
        g_bandchanged = 1;
        if (g_internaltuner == 4 && g_bandtunerant[row] != Requests().TunerAntenna()) Requests().ToggleTunerAntenna();

        double f = b.last;
        if (!KeepsAnyFrequency(row) && (f >= b.high || f <= b.low)) f = b.low;
        // A damaged row or a disabled transverter's row must not tune the
        // radio off its coverage: VFO A stays where it is.
        if (CheckCoverage(f) == 0) vfoAFreq = f;

        bandLoading = 1;
        const bool loadsB = b.second != 0 && CheckCoverage(b.second) == 0;
        if (loadsB) {
            vfoBFreq = b.second;
            SetFrequency2(vfoBFreq);
        }
        if (g_experton) {
            const int drive = g_ampdrivebyband && g_bandrow >= 0 && g_bandrow < kBandRows ? g_ampdrive[g_bandrow]
                                                                                          : g_ampdrivefactor;
            char text[16];
            std::snprintf(text, sizeof text, "%d", drive);
            SettingsWindow().SetEditText(int(IDC_AMP_DRIVE), text);
            WriteTracef("Update ampdrive %s, band %d", text, g_bandrow);
        }
        // A hand-edited mode no radio has keeps the mode in use.
        const char mode = KnownMode(b.mode) ? char(b.mode) : vfoAMode;
        vfoAMode = mode;
        if (loadsB) {
            vfoBMode = mode;
            if (View()) View()->ShowModeCaption(1, vfoBMode);
        }
        RefreshFrequency();
        SetMode(mode);
        bandLoading = 0;

        // A filter index no table has (the built-in CW rows carry 45) keeps
        // the filter in use.
        if (b.filter >= 1 && b.filter <= g_filtercount) {
            if (loadsB) g_vfobrxfilter = b.filter;
            SetFilter(b.filter);
            ShowFilterButtons(b.filter);
        }
        if (loadsB != (split != 0)) ToggleSplit();

        if (g_bandpower[row] != 0 && row != kTuneRow) {
            g_power = g_useamptunepower ? b.alcsetting : g_bandpower[row];
            ShowPower();
            g_powerchanged = 1;
        }
        if (g_bandmainant[row] != kNoAntenna) {
            antenna = g_bandmainant[row];
            ShowAntenna();
        }
        if (g_bandsubant[row] != kNoAntenna) {
            rxAntenna = g_bandsubant[row];
            ShowRxAntenna();
        }
        if (g_bandmainantb[row] != kNoAntenna) fn.antennaB = g_bandmainantb[row];
        if (g_bandsubantb[row] != kNoAntenna) fn.rxAntennaB = g_bandsubantb[row];
        if (g_bandlocut[row] != kNoPbt) {
            pbtInner = std::clamp(g_bandlocut[row], 0, 255);
            SetPbtInner(pbtInner);
        }
        if (g_bandhicut[row] != kNoPbt) {
            pbtOuter = std::clamp(g_bandhicut[row], 0, 255);
            SetPbtOuter(pbtOuter);
        }
        preamp = g_bandpreamp[row];
        attenuator = g_bandattn[row];
        ShowPreamp();
        ShowAttenuator();
        g_pushcopy.preamp = kMarkerUnsent;
        g_pushcopy.attenuator = kMarkerUnsent;
    }
    // The whole row is on the panel: one push sends all of it.
    NotifyMainWin();
}

void CSwlPanel::BandButton(unsigned id, int row) {
    {
        NotifyHold hold(*this);
        if (id == IDC_BAND_SIXTY_SSB && g_bandrow == kSixtySsbRow) {
            SixtyMeterStep(false);
        } else {
            g_bandrow = row;
            ShowBand();
            SelectBand(row);
            if (id == IDC_BAND_MW && !g_manualmode) SetStep(g_mwstep);
        }
    }
    NotifyMainWin();
}

void CSwlPanel::SixtyMeterStep(bool up) {
    {
        NotifyHold hold(*this);
        g_bandrow = kSixtySsbRow;
        ShowBand();
        StoreCurrentBand(vfoAFreq);
        g_sixtymchannel = NextSixtyMeterChannel(g_sixtymchannel, up);
        // The mode setter first: its step rounding would move the channel
        // off its dial frequency.
        if (!IsCw(vfoAMode)) SetMode('0');
        vfoAFreq = SixtyMeterFrequency(g_sixtymchannel, vfoAMode);
        RefreshFrequency();
        if (split) ToggleSplit();
    }
    NotifyMainWin();
}

void CSwlPanel::BandBottom() {
    if (g_bandrow == kGenBandRow || g_bandrow < 0 || g_bandrow >= kBandRows) return;
    const double low = g_bandstack[g_bandrow].low;
    if (CheckCoverage(low) == 0) vfoAFreq = low;
    SetFrequency(vfoAFreq);
    if (View()) View()->MoveFrequencyScale(vfoAFreq);
    NotifyMainWin();
    ReturnFocus();
}

void CSwlPanel::StoreScratch(int row, int field) {
    ShowBand();
    Requests().ShowScratchPadField(field, ScratchText(vfoAFreq));
    StoreBandRow(vfoAFreq, row);
    ReturnFocus();
}

void CSwlPanel::RecallScratch(int row) {
    StoreBandRow(vfoAFreq, kUndoRow);
    Requests().ShowScratchPadField(kUndoField, ScratchText(vfoAFreq));
    SelectBand(row);
}

void CSwlPanel::StoreScratchPad() { StoreScratch(kScratchRow, 1); }
void CSwlPanel::RecallScratchPad() { RecallScratch(kScratchRow); }
void CSwlPanel::StoreScratchPad3() { StoreBandRow(vfoAFreq, kScratch3Row); }
void CSwlPanel::RecallScratchPad3() { SelectBand(kScratch3Row); }

void CSwlPanel::SaveTuneState() {
    // A tune started during another must not overwrite the state to go
    // back to, nor the ManMD setting kept with it.
    if (tuneStateHeld) return;
    tuneStateHeld = 1;
    g_manualmodesaved = g_manualmode;
    g_manualmode = 1;
    if (View()) View()->LightButton(IDC_MANUAL_MODE, 1);
    StoreBandRow(vfoAFreq, kTuneRow);
}

void CSwlPanel::RestoreTuneState() {
    if (!tuneStateHeld) return;  // nothing saved: the row may be a session old
    {
        NotifyHold hold(*this);
        SelectBand(kTuneRow);
        g_manualmode = g_manualmodesaved;
        if (View()) View()->LightButton(IDC_MANUAL_MODE, g_manualmode);
        tuneStateHeld = 0;
    }
    NotifyMainWin();
}

bool CSwlPanel::OnBandCommand(unsigned id) {
    const int row = BandRowOfCommand(id);
    if (row >= 0) {
        BandButton(id, row);
        return true;
    }
    switch (id) {
    case IDC_SIXTY_NEXT: SixtyMeterStep(true); return true;
    case IDC_BAND_BOTTOM: BandBottom(); return true;
    case IDC_STORE_SP: StoreScratchPad(); return true;
    case IDC_STORE_SP2: StoreScratch(kScratch2Row, 2); return true;
    case IDC_STORE_SP3: StoreScratch(kScratch4Row, 3); return true;
    case IDC_RECALL_SP: RecallScratchPad(); return true;
    case IDC_RECALL_SP2: RecallScratch(kScratch2Row); return true;
    case IDC_RECALL_SP3: RecallScratch(kScratch4Row); return true;
    case IDC_UNDO_SP: SelectBand(kUndoRow); return true;
    default: return false;
    }
}

// The transverter band buttons: one for each transverter set up, captioned
// by its "TV%d BUTTON" text (at most 4 characters, as the setting allows).
void CSwlPanel::ShowTransverterButtons() {
    if (!View()) return;
    for (int n = 0; n < 5; ++n) {
        const Transverter& tv = g_transverter[n];
        const unsigned id = kFirstTransverterButton + unsigned(n);
        View()->SetControlText(id, std::string(tv.button, strnlen(tv.button, 4)));
        View()->ShowControl(id, TransverterInUse(tv));
    }
}

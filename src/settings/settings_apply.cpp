// Fill and apply of the settings window. Both walk the page rows: the fill
// shows each setting in its row's encoding, the apply reads a control back
// only when it no longer shows what the fill would show, so a control the
// operator did not touch never changes its setting (the first apply after
// start-up changes nothing, whatever form an older file stored).
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/band_plan.h"
#include "base/colour_names.h"
#include "base/device_options.h"
#include "base/panel_options.h"
#include "base/settings_options.h"
#include "base/settings_store.h"
#include "base/settings_table.h"
#include "base/trace_log.h"
#include "civ/accessory_ports.h"
#include "civ/band_table.h"
#include "civ/civ_options.h"
#include "civ/civ_setters.h"
#include "civ/civ_timers.h"
#include "civ/engine_options.h"
#include "civ/frequency_options.h"
#include "civ/frequency_state.h"
#include "civ/radio_models.h"
#include "civ/radio_port.h"
#include "civ/radio_search.h"
#include "civ/transverters.h"
#include "devices/amplifiers.h"
#include "devices/cat_out.h"
#include "devices/control_surfaces.h"
#include "devices/cw_keyer.h"
#include "devices/keyer.h"
#include "devices/keying.h"
#include "devices/remote_link.h"
#include "devices/rotator.h"
#include "devices/station_outputs.h"
#include "devices/switches.h"
#include "panel/controls/meter.h"
#include "panel/swl_panel.h"
#include "platform/port_list.h"
#include "settings/band_sets.h"
#include "settings/device_status.h"
#include "settings/panel_captions.h"
#include "settings/scales.h"
#include "settings/settings_pages.h"
#include "settings/trans_ops.h"

using namespace settings;

namespace {
constexpr int kStepIds[6] = {2397, 2398, 2399, 2403, 2401, 2402};
constexpr int kStepDefaults[6] = {1, 10, 100, 1000, 5000, 10000};
struct ModeStep {
    int id;
    int def;
};
constexpr ModeStep kModeSteps[] = {{2404, 5000}, {2420, 5000}, {2421, 10}, {2422, 10},
                                   {2423, 1000}, {2425, 10000}, {2424, 10}};
constexpr int kFilterIds[5] = {2427, 2428, 2429, 2430, 2431};
constexpr int kFilterDefaults[5][2] = {{2, 2}, {2, 12}, {2, 8}, {2, 12}, {2, 12}};

std::string Format(const char* fmt, double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, fmt, v);
    return buf;
}
std::string Int(long v) { return std::to_string(v); }
int ReadInt(const std::string& text) { return std::atoi(text.c_str()); }

// Stepped edits (steps, filter positions) are checked by their own handler.
bool HasOwnHandler(int id) {
    for (int s : kStepIds)
        if (s == id) return true;
    for (const ModeStep& m : kModeSteps)
        if (m.id == id) return true;
    for (int f : kFilterIds)
        if (f == id) return true;
    return false;
}

// What the fill shows for a row: the edit text, or the list selection.
std::string ShownText(const PageRow& r) {
    const int* p = RowInt(r);
    switch (r.enc) {
    case Enc::Int:
    case Enc::Range:
    case Enc::Keep:
    case Enc::Ctcss: return p ? Int(*p) : "";
    case Enc::CallSize: return p ? Int(*p - 19) : "";
    case Enc::Double:
    case Enc::Scale: return r.d ? Format(r.fmt, *r.d) : "";
    case Enc::Text: return r.s ? r.s : "";
    case Enc::Long: return r.l ? Int(*r.l) : "";
    default: return "";
    }
}
int ShownSel(const PageRow& r, const plat::ComboBox& list) {
    const int* p = RowInt(r);
    switch (r.enc) {
    case Enc::Index: return p ? *p : -1;
    case Enc::AgcChar: return p ? (*p >= '0' ? *p - '0' : *p) : -1;  // older files hold 0..3
    case Enc::Colour: {
        const char* name = r.c ? ColorToName(*r.c) : nullptr;
        return name ? list.FindStringExact(name) : -1;
    }
    case Enc::Restore: return p ? 41 - *p : -1;
    case Enc::TxFilter: return p ? *p : -1;
    case Enc::Number: return p ? *p - 1 : -1;
    case Enc::DragScale: return p ? IndexOfDragScale(*p) : -1;
    case Enc::Baud: return r.l ? IndexOfBaud(*r.l) : -1;
    default: return -1;
    }
}
// The entry the fill selects (none for a value the list does not hold).
int FilledSel(const PageRow& r, const plat::ComboBox& list) {
    int sel = ShownSel(r, list);
    if (r.items == Items::CivAddr && sel > 207) sel = 207;  // 207 and above: the type's default
    return sel >= 0 && sel < list.GetCount() ? sel : -1;
}

// Sets a row's control from its setting.
void FillRow(CTransOps& w, int n) {
    const PageRow& r = PageRows()[n];
    plat::Window* c = w.RowControl(n);
    if (r.enc == Enc::None) return;
    switch (r.kind) {
    case Ctl::Slider:
        if (const int* p = RowInt(r)) static_cast<CSlider*>(c)->SetValue(SliderOfSetting(r, *p));
        w.ShowSliderValue(n);
        break;
    case Ctl::Check:
    case Ctl::Radio:
        if (const int* p = RowInt(r)) static_cast<plat::CheckBox*>(c)->SetCheck(*p != 0);
        break;
    case Ctl::Edit: static_cast<plat::Edit*>(c)->SetText(ShownText(r)); break;
    case Ctl::Combo: {
        auto* list = static_cast<plat::ComboBox*>(c);
        if (r.enc == Enc::Port) {
            w.SelectPort(RowControlId(n), r.s);
        } else {
            list->SetCurSel(FilledSel(r, *list));
        }
        break;
    }
    default: break;
    }
}

}  // namespace

void ShowSettingRow(int id) {
    const int n = RowOfId(id);
    if (g_transops && n >= 0) FillRow(*g_transops, n);
}

void ShowRowText(int id, const char* text) {
    if (!g_transops) return;
    if (plat::Window* c = g_transops->RowControl(RowOfId(id))) c->SetWindowText(text);
}

void FillPageRows(int page) {
    if (!g_transops) return;
    const auto rows = PageRows();
    for (int n = 0; n < int(rows.size()); ++n)
        if (rows[n].page == page) FillRow(*g_transops, n);
}

namespace {
// Reads a row's control back into its setting. True when the setting changed.
bool ApplyRow(CTransOps& w, int n) {
    const PageRow& r = PageRows()[n];
    plat::Window* c = w.RowControl(n);
    int* p = RowInt(r);
    switch (r.kind) {
    case Ctl::Slider: {
        auto* slider = static_cast<CSlider*>(c);
        // A slider still where the fill put it leaves its setting alone,
        // also a stored value no slider position gives.
        if (!p || slider->GetValue() == SliderOfSetting(r, *p)) return false;
        const int old = *p;
        *p = SettingOfSlider(r, slider->GetValue());
        slider->SetValue(SliderOfSetting(r, *p));
        w.ShowSliderValue(n);
        return *p != old;
    }
    case Ctl::Check:
    case Ctl::Radio: {
        if (!p || r.enc != Enc::Bool) return false;
        const int v = static_cast<plat::CheckBox*>(c)->GetCheck() ? 1 : 0;
        if ((*p != 0) == (v != 0)) return false;
        *p = v;
        return true;
    }
    case Ctl::Edit: {
        auto* e = static_cast<plat::Edit*>(c);
        const std::string text = e->GetText();
        if (text == ShownText(r) || r.enc == Enc::Scale) return false;
        const bool needsInt = r.enc != Enc::Double && r.enc != Enc::Text && r.enc != Enc::Long;
        if (needsInt && !p) return false;
        const int v = ReadInt(text);
        const int old = p ? *p : 0;
        switch (r.enc) {
        case Enc::Int: *p = v; break;
        case Enc::Range: *p = v >= r.lo && v <= r.hi ? v : r.def; break;
        case Enc::Keep:
            if (v >= r.lo && v <= r.hi) *p = v;
            break;
        case Enc::Ctcss:
            if (v == 0 || (v >= 670 && v <= 2541)) *p = v;
            break;
        case Enc::CallSize: *p = v >= 1 && v <= 15 ? v + 19 : 20; break;
        case Enc::Double: {
            const double old = *r.d;
            *r.d = std::atof(text.c_str());
            if ((r.id == 2442 || r.id == 2443) && CheckCoverage(*r.d) != 0) *r.d = old;
            e->SetText(ShownText(r));
            return *r.d != old;
        }
        case Enc::Text:
            if (text == r.s) return false;
            std::snprintf(r.s, r.size, "%s", text.c_str());
            return true;
        case Enc::Long: {
            const long old = *r.l;
            const long x = std::atol(text.c_str());
            if (x >= r.lo && x <= r.hi) *r.l = x;
            e->SetText(ShownText(r));
            return *r.l != old;
        }
        default: return false;
        }
        // A refused or replaced value shows what was kept.
        if (ShownText(r) != text) e->SetText(ShownText(r));
        return *p != old;
    }
    case Ctl::Combo: {
        auto* list = static_cast<plat::ComboBox*>(c);
        const int sel = list->GetCurSel();
        // A list with nothing selected leaves its setting as it is.
        if (sel < 0 || r.enc == Enc::Port || sel == FilledSel(r, *list)) return false;
        switch (r.enc) {
        case Enc::Index: *p = sel; break;
        case Enc::AgcChar: *p = '0' + sel; break;
        case Enc::Restore: *p = 41 - sel; break;
        case Enc::TxFilter: *p = sel; break;  // the entry's item data is its number
        case Enc::Number: *p = sel + 1; break;
        case Enc::DragScale: *p = DragScaleOfIndex(sel); break;
        case Enc::Colour: *r.c = NameToColor(list->GetSelectedText().c_str()); break;
        case Enc::Baud: *r.l = BaudOfIndex(sel); break;
        default: return false;
        }
        return true;
    }
    default: return false;
    }
}

int RowIdx(int id) { return RowOfId(id); }
int Checked(int id) { return g_transops->CheckOf(id) ? g_transops->CheckOf(id)->GetCheck() : 0; }
void SetChecked(int id, int on) {
    if (auto* c = g_transops->CheckOf(id)) c->SetCheck(on);
}

// The Yalt keyer rows depend on it; the open page is redrawn.
void ReshowPage() {
    if (g_settingspage >= 0) g_transops->ShowPage(g_settingspage);
}

// One knob device at a time: the one just ticked closes the others.
void KnobDevice(int* which) {
    if (which == &g_flexknob) {
        if (g_tmate2open) CloseTMate2();
        g_usetmate2 = 0, g_cmdmicro = 0;
        if (g_flexknob) FindFlexKnob();
    } else if (which == &g_usetmate2) {
        g_flexknob = 0, g_cmdmicro = 0;
        if (g_usetmate2) OpenTMate2();
        else CloseTMate2();
    } else {
        if (g_tmate2open) CloseTMate2();
        g_usetmate2 = 0, g_flexknob = 0;
        if (g_cmdmicro) OpenMidi();
    }
    SetChecked(2480, g_flexknob);
    SetChecked(2481, g_usetmate2);
    SetChecked(2482, g_cmdmicro);
    // The assignment rows now belong to another surface.
    g_transops->RefillAssignments();
    ReshowPage();
}

int g_resend = 0;

// Exactly one antenna box shows the selection.
void SelectAntennaCheck(int selection) {
    for (int n = 1; n <= 9; ++n)
        if (auto* box = static_cast<plat::CheckBox*>(g_transops->RowControl(AntennaRow(n)))) box->SetCheck(n == selection);
}
bool AntennaChecked(int n) {
    auto* box = static_cast<plat::CheckBox*>(g_transops->RowControl(AntennaRow(n)));
    return box && box->GetCheck();
}

// The relay-board device's buttons: the relay value of each, and the band
// entries a button takes over while VFO A is in that band.
constexpr int kPelxRelay[8] = {7, 6, 5, 1, 4, 0, 2, 3};
struct PelxBand {
    double low, high;
    int* entry;
};
const PelxBand kPelxBands[] = {
    {3.4, 3.7, &g_pelx75}, {3.7, 4.2, &g_pelx80}, {6, 9, &g_pelx40}, {9, 11, &g_pelx30}};
// The bands button n (1..8) stands for (button 7 all four).
bool PelxButtonHas(int n, const PelxBand& b) {
    if (n == 7) return true;
    return (n == 2 && b.entry == &g_pelx75) || (n == 3 && b.entry == &g_pelx80) || (n == 4 && b.entry == &g_pelx40) ||
           (n == 5 && b.entry == &g_pelx30);
}

// The antenna buttons: "Auto" lets the antenna follow the frequency, a
// band button picks its antenna on the device in use.
void ApplyAntennaButtons() {
    if (!RuleHolds(Rule::Antennas)) return;
    if (AntennaChecked(9) && g_antennaselection != 9) {
        g_antennaselection = 9;
        SelectAntennaCheck(9);
        SelectAntennaForFreq(g_vfoafreq);
        return;
    }
    for (int n = 1; n <= 8; ++n) {
        if (!AntennaChecked(n) || g_antennaselection == n) continue;
        g_antennaselection = n;
        SelectAntennaCheck(n);
        if (g_pelx) {
            setadr(kPelxRelay[n - 1]);
            for (const PelxBand& b : kPelxBands)
                if (PelxButtonHas(n, b) && g_vfoafreq >= b.low && g_vfoafreq < b.high) {
                    // The band keeps this antenna from now on: back to "Auto".
                    *b.entry = kPelxRelay[n - 1];
                    g_antennaselection = 9;
                    SelectAntennaCheck(9);
                    break;
                }
        } else if (g_adr2200 || g_denkovi) {
            setadr(n);
        } else if (g_tavnag) {
            setTavn(n);
        } else {
            SelectLdg6Antenna(n);
        }
        return;
    }
    // A box unticked by hand: the selection stays and shows again.
    SelectAntennaCheck(g_antennaselection);
}

// Radio values that go to the radio as they stand when they change.
struct Sender {
    const int* value;
    void (*send)(int);
};
const Sender kSenders[] = {
    {&g_sidetonevolume, SetSidetoneLevel}, {&g_fmcts, SetCtcss},     {&g_micgain, SetMicGain},
    {&g_voxgain, SetVoxGain},              {&g_antivox, SetAntiVox}, {&g_voxhang, SetVoxHang},
};

// The row's setting lies inside the table `first` of `size` bytes.
bool RowIn(const PageRow& r, const void* first, std::size_t size) {
    const void* v = r.d ? static_cast<const void*>(r.d) : r.i ? static_cast<const void*>(r.i) : r.s;
    const auto* p = static_cast<const char*>(v);
    const auto* begin = static_cast<const char*>(first);
    return p && p >= begin && p < begin + size;
}

// A transverter in use is found by its band row; one not in use never is.
void ApplyTransverterRows() {
    for (int n = 0; n < 5; ++n) {
        BandStackEntry& row = g_bandstack[kFirstTvRow + n];
        const bool inUse = TransverterInUse(g_transverter[n]);
        row.low = inUse ? g_transverter[n].lower : 90000;
        row.high = inUse ? g_transverter[n].upper : 0;
    }
}

// Panadapters, one at a time: a newly ticked one clears the others (the
// fixed IF belongs to the SDR-IQ/HDSDR one and ticks it).
void OnPanadapter(const int* p) {
    if (!*p) return;
    auto clear = [](int& v, int id) {
        v = 0;
        SetChecked(id, 0);
    };
    if (p == &g_powersdrpan) {
        clear(g_perseuspan, 2485), clear(g_sdriqpan, 2486), clear(g_hdsdrif, 2488);
    } else if (p == &g_perseuspan) {
        clear(g_powersdrpan, 2489), clear(g_sdriqpan, 2486);
    } else if (p == &g_sdriqpan) {
        clear(g_powersdrpan, 2489), clear(g_perseuspan, 2485), clear(g_hdsdrif, 2488);
    } else {
        g_sdriqpan = 1;
        SetChecked(2486, 1);
        clear(g_powersdrpan, 2489), clear(g_perseuspan, 2485);
    }
}

// The action of a setting that changed.
void OnRowChanged(const PageRow& r) {
    const int* p = RowInt(r);
    if (RowIn(r, g_transverter, sizeof g_transverter)) return ApplyTransverterRows();
    if (RowIn(r, g_cwtag, sizeof g_cwtag)) return CaptionCwButtons();
    if (p == &g_powersdrpan || p == &g_perseuspan || p == &g_sdriqpan || p == &g_hdsdrif) return OnPanadapter(p);
    for (const Sender& x : kSenders)
        if (x.value == p) return x.send(*p);
    if (p == &g_passive) {
        g_rawmode = g_passive;
        g_manualmode = g_passive;
    } else if (p == &g_tooltip) {
        plat::EnableToolTips(g_tooltip != 0);
    } else if (p == &g_usingpgxlamp || p == &g_pgxlautotemp) {
        PgxlOptionChanged();
    } else if (p == &g_followlicense) {
        g_resend = 1;
    } else if (p == &g_bfo) {
        SetCwPitch(g_bfo);
        g_resend = 1;
    } else if (p == &g_cwqskdelay) {
        if (g_cwqskdelay < 15) g_cwqskdelay = 0;
        SetQskDelay(g_cwqskdelay);
    } else if (p == &g_txfilter) {
        SetTxFrequencies();
    } else if (p == &g_tuneswitch) {
        SetTuneMode(g_tuneswitch);
    } else if (p == &g_auxthang || p == &g_auxt2hang) {
        SetAuxTHang(p == &g_auxthang ? 1 : 2, *p);
    } else if (p == &g_monitor) {
        SetMonitor(g_monitor);
    } else if (p == &g_roof) {
        SetFilterWidthA(g_rxfilter);
    } else if (p == &g_speechvalue) {
        SetSpeech(g_speech, g_speechvalue);
    } else if (p == &g_keyercw) {
        g_cwspeed = g_keyerks + g_keyercw + 10;
        if (g_yaltkeyer) SetupKeyerPot();
        else kstats(g_cwspeed, g_keyerweight);
    } else if (p == &g_keyerweight || p == &g_keyerditweight || p == &g_keyerspcweight) {
        kstats(g_cwspeed, g_keyerweight);
    } else if (p == &g_keyer) {
        SetRadioKeyer(g_keyer);
        kstats(g_cwspeed, g_keyerweight);
    } else if (p == &g_reversepaddle || p == &g_autospace || p == &g_contestspace || p == &g_iambica) {
        if (g_yaltkeyer && g_keyertype == 2) SetKeyerMode();
    } else if (p == &g_nospeedpot) {
        if (g_yaltkeyer && g_keyertype == 2) {
            SetKeyerSpeed(0);
            if (!g_nospeedpot) ReadKeyerPot();
        }
    } else if (p == &g_yalt1st) {
        SetKeyerFirstExt();
    } else if (p == &g_yaltweight) {
        SetKeyerWeight();
    } else if (p == &g_yaltlead) {
        SetKeyerLead();
    } else if (p == &g_yalttail) {
        SetKeyerTail();
    } else if (p == &g_yaltkeycomp) {
        SetKeyerComp();
    } else if (p == &g_yaltditdah) {
        SetKeyerRatio();
    } else if (p == &g_flexknob || p == &g_usetmate2 || p == &g_cmdmicro) {
        KnobDevice(const_cast<int*>(p));
    } else if (p == &g_yaltkeyer) {
        ReshowPage();
        if (g_yaltkeyer && !plat::SerialIsOpen(g_yaltport)) OpenKeyerPort();
        if (!g_yaltkeyer && plat::SerialIsOpen(g_yaltport)) plat::SerialClose(g_yaltport);
    } else if (p == &g_dtrpw || p == &g_rtspw) {
        const bool dtr = p == &g_dtrpw;
        if (*p) {
            (dtr ? g_dtrcw : g_rtscw) = 0;
            SetChecked(dtr ? 2498 : 2497, 0);
        }
        if (g_rawmode) {
            if (dtr) SetDTR(g_dtrpw, g_radioport);
            else SetRTS(g_rtspw, g_radioport);
        } else if (g_settingsreinit) {
            g_settingsreinit();
        }
    } else if (r.enc == Enc::Baud) {
        if (g_settingsreinit) g_settingsreinit();
    }
}

// Port lists: a changed name is taken over and, with the device in use,
// reopened; a device switched off has its port closed and its name "NONE".
void ApplyCatOutPorts(bool switchedOff) {
    if (switchedOff) {
        std::snprintf(g_thpcomport, sizeof g_thpcomport, "%s", "NONE");
        ReopenThpPort(1, 0);
    }
    const std::string p1 = g_transops->SavedPort(6122);
    if (g_thp && !p1.empty() && p1 != g_thpcomport) {
        std::snprintf(g_thpcomport, sizeof g_thpcomport, "%s", p1.c_str());
        ReopenThpPort(1, 1);
    }
    for (int k = 0; k < 4; ++k) {
        const std::string name = g_transops->SavedPort(6400 + k);
        if (name.empty() || name == g_thpxcomport[k]) continue;
        std::snprintf(g_thpxcomport[k], sizeof g_thpxcomport[k], "%s", name.c_str());
        ReopenThpPort(k + 2, g_thpchosen[k]);
    }
}

void ApplyAccessoryPorts(bool switchedOff) {
    int* steppir = AppSetting(AppVar::Steppir);
    if (switchedOff) {
        std::snprintf(g_steppircomport, sizeof g_steppircomport, "%s", "NONE");
        if (plat::SerialIsOpen(g_steppirport)) plat::SerialClose(g_steppirport);
    }
    const std::string s = g_transops->SavedPort(6161);
    if (steppir && *steppir && !s.empty() && s != g_steppircomport) {
        std::snprintf(g_steppircomport, sizeof g_steppircomport, "%s", s.c_str());
        if (plat::SerialIsOpen(g_steppirport)) plat::SerialClose(g_steppirport);
        if (!PortIsOff(g_steppircomport)) OpenSteppirPort();
    }
    const std::string k = g_transops->SavedPort(6108);
    if (!k.empty() && k != g_yaltcomport) {
        std::snprintf(g_yaltcomport, sizeof g_yaltcomport, "%s", k.c_str());
        if (plat::SerialIsOpen(g_yaltport)) plat::SerialClose(g_yaltport);
        if (g_yaltkeyer) OpenKeyerPort();
    }
    const std::string t = g_transops->SavedPort(6109);
    if (!t.empty() && t != g_ldgcomport) {
        std::snprintf(g_ldgcomport, sizeof g_ldgcomport, "%s", t.c_str());
        if (plat::SerialIsOpen(g_ldgport)) plat::SerialClose(g_ldgport);
        if (g_internaltuner == 4) OpenLdgPort();
    }
}

void ApplyTunerSelection() {
    const int sel = Checked(2441) ? 4 : (ModelCap(g_hasinternaltuner) ? 1 : 0);
    if (Checked(2441) == (g_internaltuner == 4)) return;  // the box still shows the selection
    g_internaltuner = sel;
    ShowTunerButtons(sel);
    if (g_prefs3shown) ReshowPage();
    if (sel == 4 && !plat::SerialIsOpen(g_ldgport)) OpenLdgPort();
}

// Wide, medium, narrow act as one choice: two ticked are the old and the new.
void ApplySsbTxFilter() {
    const int w = Checked(2380), m = Checked(2381), n = Checked(2396);
    if (w + m + n < 2) return;
    const int old = g_ssbtxfilter;
    int choice = old;
    if (w && m) choice = old == 0 ? 1 : 0;
    else if (w && n) choice = old == 0 ? 2 : 0;
    else if (m && n) choice = old == 1 ? 2 : 1;
    g_ssbtxfilter = choice;
    SetChecked(2380, choice == 0);
    SetChecked(2381, choice == 1);
    SetChecked(2396, choice == 2);
    SetSsbTxFilter(choice);
}

// The amplifier's operate and power buttons of the Call Sign page. The Acom
// 2000 is told its state on every apply; the Alpha 87A on a change only. An
// operator client asks the radio server instead.
void ApplyAmplifierButtons(CTransOps& w) {
    const std::uint8_t state = std::uint8_t(g_ampoperate ? 1 : 0);
    if (!PortIsOff(g_acomcomport)) {
        if (g_client) {
            sendtopartner(&state, 1, 11);
        } else {
            const std::uint8_t oper[] = {0x41, 0x71, std::uint8_t(g_ampoperate ? 0x4F : 0x53), 0x0D};
            SendToAcom(oper, 4);
        }
        w.operChange = 0;
    }
    if (!PortIsOff(g_alpha87acomport)) {
        if (w.operChange) {
            const char* text = g_ampoperate ? "OPER ON\r" : "OPER OFF\r";
            if (g_client) sendtopartner(&state, 1, 11);
            else SendToA87(reinterpret_cast<const std::uint8_t*>(text), int(std::strlen(text)));
        }
        if (w.powerChange) {
            const std::uint8_t power = std::uint8_t(g_amppower ? 1 : 0);
            const char* text = g_amppower ? "AC ON\r" : "AC OFF\r";
            if (g_client) sendtopartner(&power, 1, 10);
            else SendToA87(reinterpret_cast<const std::uint8_t*>(text), int(std::strlen(text)));
        }
        w.operChange = 0;
        w.powerChange = 0;
    }
}

void ApplyRemoteLink() {
    if (!g_client && !g_radioserver) return;
    bool changed = false;
    const int row = RowIdx(2494);
    if (row >= 0) changed |= ApplyRow(*g_transops, row);
    if (g_client) changed |= ApplyRow(*g_transops, RowIdx(2493));
    if (changed) {
        WriteTrace("New port or IP");
        DropConnection(-2);
    }
}

void ApplyRadioPort() {
    const std::string name = g_transops->SavedPort(1317);
    if (name.empty() || name == g_comport) return;
    std::snprintf(g_comport, sizeof g_comport, "%s", name.c_str());
    OpenRadioPort();
}
}  // namespace

// A typed bearing needs a rotor to turn: the serial rotor, the network rotor
// switch, or, for an operator client, the server's rotor.
namespace {
bool RotorTakesBearing() { return g_client || g_tavnrg == 1 || !PortIsOff(g_rotorcomport); }
}  // namespace

int StepButtonDefault(int n) { return n >= 1 && n <= 6 ? kStepDefaults[n - 1] : 1; }
std::string StepButtonCaption(int hz) {
    char buf[32];
    if (hz < 1000) std::snprintf(buf, sizeof buf, "%d Hz", hz);
    else std::snprintf(buf, sizeof buf, "%d kHz", hz / 1000);
    return buf;
}
int FilterPositionDefault(int editId, bool dspWidths) {
    for (int k = 0; k < 5; ++k)
        if (kFilterIds[k] == editId) return kFilterDefaults[k][dspWidths ? 1 : 0];
    return 2;
}

// Edits that check and store their value when they lose the focus.
void CTransOps::OnEditKillFocus(int id) {
    plat::Edit* e = EditOf(id);
    const int row = RowOfId(id);
    if (!e || row < 0) return;
    const PageRow& r = PageRows()[row];
    const int v = ReadInt(e->GetText());
    auto refuse = [&](int value) {
        *r.i = value;
        e->SetText(Int(value));
    };
    for (int k = 0; k < 6; ++k)
        if (kStepIds[k] == id) {
            if (v >= 1 && v <= 20000) *r.i = v;
            else refuse(kStepDefaults[k]);
            CaptionStepButton(k + 1, *r.i);
        }
    for (const ModeStep& m : kModeSteps)
        if (m.id == id) {
            if (v >= 1 && v <= 20000) *r.i = v;
            else refuse(m.def);
        }
    const bool dsp = ModelCap(g_hasfilterwidth) != 0;
    for (int f : kFilterIds)
        if (f == id) {
            if (v >= 1 && v <= (dsp ? 12 : 3)) *r.i = v;
            else refuse(FilterPositionDefault(id, dsp));
        }
    if (id == 4514) {
        const std::string text = e->GetText();
        std::snprintf(g_b26ip, sizeof g_b26ip, "%s", text.c_str());
        ResetAmpSocket();
    } else if (id == 2525) {
        const std::string text = e->GetText();
        if (text.empty()) return;
        if (!RotorTakesBearing()) {
            // Nothing would turn: the bearing is neither kept nor sent, and
            // neither the edit nor the radio panel shows one.
            e->SetText("");
            g_rotortarget[0] = '\0';
            if (g_swlpanel) g_swlpanel->ShowBearing();
            return;
        }
        if (v >= g_rotorlowlimit && v <= g_rotorhighlimit) {
            std::snprintf(g_rotortarget, sizeof g_rotortarget, "%03d", v);
            // The rotor turns to the bearing it is given: the one typed.
            std::memcpy(g_rotorbearing, g_rotortarget, sizeof g_rotorbearing);
            rotorStart = 1;
            NotifyChanged();
        }
        e->SetText(g_rotortarget[0] == 'Z' ? "" : std::string(g_rotortarget, strnlen(g_rotortarget, 3)));
        if (g_swlpanel) g_swlpanel->ShowBearing();
        return;
    } else if (id == 2536) {
        // The band index can be "none" (99): only a real band row takes a drive.
        if (Checked(2535)) {
            if (g_bandrow >= 0 && g_bandrow < kBandRows) g_ampdrive[g_bandrow] = short(v);
        } else {
            g_ampdrivefactor = v;
        }
    }
    NotifyChanged();
}

int ShownAmpDrive(bool byBand) {
    // The drive edit shows the band's own drive or the single factor.
    if (byBand && g_bandrow >= 0 && g_bandrow < kBandRows) return g_ampdrive[g_bandrow];
    return g_ampdrivefactor;
}

void LoadSettingsControls() {
    CTransOps* w = g_transops;
    if (!w) return;
    w->EnumerateComPorts(plat::ListSerialPorts(g_cwd));
    // Only the captions of the working band set are saved: its edges come
    // from the set chosen, so the FT8 set's "20" tunes 20 m after a restart.
    UseBandSetEdges(g_swlbandset);
    const auto rows = PageRows();
    for (int n = 0; n < int(rows.size()); ++n) FillRow(*w, n);
    // Derived boxes.
    SetChecked(2441, g_internaltuner == 4);
    SetChecked(2465, g_yaltpin5 == 5);
    SetChecked(2380, g_ssbtxfilter == 0);
    SetChecked(2381, g_ssbtxfilter == 1);
    SetChecked(2396, g_ssbtxfilter == 2);
    SetChecked(2450, g_kpa1500 != 0);
    SetChecked(2452, !g_kpa1500 && g_b26smodel != 0);
    SetChecked(2451, !g_kpa1500 && !g_b26smodel);
    SetChecked(2447, g_toptenoption == 1);
    SetChecked(2448, g_toptenoption == 2);
    SetChecked(1552, g_swlbandset == 1);
    SetChecked(1553, g_swlbandset == 0);
    for (int k = 0; k < 4; ++k) g_thpchosen[k] = !PortIsOff(g_thpxcomport[k]);
    CaptionCwButtons();
    if (!g_thp) w->SelectPort(6122, "NONE");
    if (int* st = AppSetting(AppVar::Steppir); st && !*st) w->SelectPort(6161, "NONE");
    w->SetSidetoneVolume(g_sidetonevolume);
    SelectAntennaCheck(g_antennaselection);
    w->txFilterData = g_txfilter;
    w->BiStateOf(1531)->SetState(g_ampoperate ? 1 : 0);
    w->BiStateOf(1532)->SetWindowText(g_amppower ? "ON" : "OFF");
    if (auto* e = w->EditOf(2536)) e->SetText(Int(ShownAmpDrive(g_ampdrivebyband != 0)));
    ShowRotorState();
    ShowAmplifierText();
    const int sel = w->PageList()->GetCurSel();
    w->ShowPage(sel);
    // The speed is timed and sent to the radio when it is initialised; a
    // frame sent here would go out before the radio has answered.
    g_cwspeed = g_keyercw + g_keyerks + 10;
    ShowKeyerFactors(g_keyerweight);
}

void ApplySettings() {
    CTransOps* w = g_transops;
    if (!w) return;
    g_resend = 0;
    if (w->rotorStart) {
        w->rotorStart = 0;
        StartRotor();
    }
    if (g_b26ip[0]) {
        // One network amplifier model: the newly ticked box wins.
        const int k = Checked(2450), s = Checked(2452);
        if (k && !g_kpa1500) g_kpa1500 = 1, g_b26smodel = 0;
        else if (s && !g_b26smodel) g_b26smodel = 1, g_kpa1500 = 0;
        else if (!k && !s) g_kpa1500 = 0, g_b26smodel = 0;
        else if (Checked(2451)) g_kpa1500 = 0, g_b26smodel = 0;
        SetChecked(2450, g_kpa1500 != 0);
        SetChecked(2452, !g_kpa1500 && g_b26smodel);
        SetChecked(2451, !g_kpa1500 && !g_b26smodel);
    }
    if (Checked(582)) {
        SetChecked(582, 0);
        StopRotor();
    }
    ApplyAmplifierButtons(*w);
    ApplyRemoteLink();
    const int thpRow = RowIdx(2491);
    // A device switched off lets its port go: closed and named "NONE".
    ApplyCatOutPorts(ApplyRow(*w, thpRow) && !g_thp);
    const int* steppir = AppSetting(AppVar::Steppir);
    ApplyAccessoryPorts(ApplyRow(*w, RowIdx(2449)) && steppir && !*steppir);
    ApplyTunerSelection();
    ApplySsbTxFilter();
    const int pin = Checked(2465) ? 5 : 4;
    if (RuleHolds(Rule::Yalt) && pin != g_yaltpin5) {
        g_yaltpin5 = pin;
        SetKeyerPins();
    }
    // Every other row in page order, each action on a change only.
    const auto rows = PageRows();
    for (int n = 0; n < int(rows.size()); ++n) {
        const int id = rows[n].id;
        if (id == 2491 || id == 2449 || id == 2494 || id == 2493 || HasOwnHandler(id)) continue;
        if (ApplyRow(*w, n)) OnRowChanged(rows[n]);
    }
    w->ApplyAssignments();
    ApplyRadioPort();
    OnPortsChanged(g_resend);
}

namespace {
// "Start Frequency Scan" and "Stop Frequency Scan" (a scan frequency below
// 0.01 MHz means no scan runs).
void ApplyFrequencyScan() {
    const bool running = g_scanfreq >= 0.01;
    if (Checked(2444) && !running && !g_memscan && !g_sweeprunning) {
        SetChecked(2445, 0);
        UpdateBandStack(g_vfoafreq, 1);
        const double lo = g_fscanstart, hi = g_fscanstop, f = g_vfoafreq;
        const bool inRange = lo <= hi ? (f >= lo && f < hi) : (f > hi && f <= lo);
        g_scanfreq = inRange ? f : lo;
        g_vfoafreq = g_scanfreq;
        SetRadioFrequencies();
        if (g_swlpanel) g_swlpanel->SetPanelTuning(g_vfoafreq, 0, 0, 0, 0, 0);
        SetCivTimer(TIMER_SCAN, unsigned(g_fscandwell) * 1000u);
    } else {
        SetChecked(2444, g_scanfreq >= 0.01);
    }
    if (Checked(2445) && g_scanfreq >= 0.01) {
        SetChecked(2444, 0);
        KillCivTimer(TIMER_SCAN);
        g_scanfreq = 0;
    }
}

// "Search for Radio Automatically": on every apply while ticked, the search
// starts over on the first port of the radio port list; unticked, a search
// that runs stops and gives the operator's port and baud back.
void ApplyRadioSearch() {
    if (!Checked(2492)) {
        StopRadioSearch();
        return;
    }
    std::vector<std::string> ports;
    if (plat::ComboBox* list = g_transops->ComboOf(1317))
        for (int i = 1; i < list->GetCount(); ++i) ports.push_back(list->GetItemText(i));  // 0 is "COM0"
    StartRadioSearch(ports);
}
}  // namespace

void OnPortsChanged(int resend) {
    CTransOps* w = g_transops;
    if (!w) return;
    ApplyFrequencyScan();
    // TopTen options act as one choice.
    const int o1 = Checked(2447), o2 = Checked(2448);
    if (g_toptenoption == 0) g_toptenoption = o1 ? 1 : o2 ? 2 : 0;
    else if (g_toptenoption == 1) g_toptenoption = o2 ? 2 : o1 ? 1 : 0;
    else g_toptenoption = o1 ? 1 : o2 ? 2 : 0;
    SetChecked(2447, g_toptenoption == 1);
    SetChecked(2448, g_toptenoption == 2);
    // The user buttons and the band buttons show the working captions.
    CaptionUserButtons();
    CaptionBandButtons();
    if (resend) SetRadioFrequencies();
    ApplyRadioSearch();
    ApplyAntennaButtons();
}

// The scale edits are read when the settings are saved: a changed scale is
// stored and its window's fonts follow it. Scales outside 0.5..4.0 are
// refused and the edit shows the kept value.
void ApplyScaleEdits() {
    if (!g_transops) return;
    const auto rows = PageRows();
    for (int n = 0; n < int(rows.size()); ++n) {
        const PageRow& r = rows[n];
        if (r.enc != Enc::Scale) continue;
        auto* e = static_cast<plat::Edit*>(g_transops->RowControl(n));
        const std::string text = e->GetText();
        if (text == ShownText(r)) continue;
        const double v = std::atof(text.c_str());
        // The panels draw from these: one the panels refuse is not stored.
        if (!IsUsablePanelScale(v)) {
            e->SetText(ShownText(r));
            continue;
        }
        *r.d = v;
        if (r.d == &g_scalex || r.d == &g_settingsscalex) {
            const ScaledFonts f = FontSizesForScale(v);
            if (r.d == &g_settingsscalex) {
                if (int* micro = AppSetting(AppVar::SettingsMicroFont)) *micro = f.micro;
                if (int* small = AppSetting(AppVar::SettingsSmallFont)) *small = f.small;
            } else if (int* micro = AppSetting(AppVar::MicroFont), *small = AppSetting(AppVar::SmallFont);
                       micro && small) {
                *micro = f.micro;
                *small = f.small;
            }
        }
    }
}

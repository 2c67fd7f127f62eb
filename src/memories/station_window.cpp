#include "memories/station_window.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/memory_options.h"
#include "base/panel_options.h"
#include "civ/band_table.h"
#include "civ/civ_options.h"
#include "civ/frequency_options.h"
#include "civ/radio_models.h"
#include "memories/station_cdf.h"
#include "memories/stations.h"
#include "panel/filter_table.h"
#include "platform/event_loop.h"
#include "platform/font.h"
#include "platform/message_box.h"
#include "platform/types.h"

CStationWnd* g_stationwnd = nullptr;

namespace {
double ScaleX() { return g_scalex > 0.2 ? g_scalex : 1.0; }
double ScaleY() { return g_scaley > 0.2 ? g_scaley : 1.0; }
plat::Rect Scaled(int l, int t, int r, int b) {
    return {int(l * ScaleX()), int(t * ScaleY()), int(r * ScaleX()), int(b * ScaleY())};
}

// The window and its sheet write in the panels' text font (14 pixels at the
// default scale 1.4), grown and shrunk with their scale so that every
// caption keeps its room.
const plat::Font* StationFont() {
    static plat::Font font;
    static double madeFor = 0;
    if (madeFor != ScaleY()) {
        font.Create(std::max(8, int(std::lround(14 * ScaleY() / 1.4))), plat::FW_NORMAL, "Arial");
        madeFor = ScaleY();
    }
    return &font;
}

bool LessNoCase(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) < std::tolower(static_cast<unsigned char>(y));
    });
}

constexpr const char* kModes[] = {"AM", "CW", "FM", "USB", "LSB", "CWR", "SAM", "RTTY", "RTTYR", "RTTY2", "RTTY2R"};

// The tone in "FMCTS=" is rewritten in place: only its digits change.
std::string WithTone(std::string notes, int tone) {
    if (notes.find("FMCTS=") == std::string::npos) notes = "FMCTS=0000\r\n" + notes;
    const std::size_t at = notes.find("FMCTS=") + 6;
    std::size_t end = at;
    while (end < notes.size() && std::isdigit(static_cast<unsigned char>(notes[end]))) ++end;
    char digits[16];
    std::snprintf(digits, sizeof digits, "%04d", std::clamp(tone, 0, 9999));
    return notes.replace(at, end - at, digits);
}
}  // namespace

std::string StationLine(const CStation& s, int sort) {
    char buf[512];
    switch (sort) {
    case 1: std::snprintf(buf, sizeof buf, "%-.20s\t%.6f\t%s", s.name.c_str(), s.frequency, s.country.c_str()); break;
    case 2:
        std::snprintf(buf, sizeof buf, "%-.20s\t%-.18s\t%.6f", s.country.c_str(), s.name.c_str(), s.frequency);
        break;
    default:
        std::snprintf(buf, sizeof buf, "%09.5f\t%-.20s\t%s", s.frequency, s.name.c_str(), s.country.c_str());
        break;
    }
    return buf;
}

std::vector<int> SortedStationRows(const StationList& list, int sort) {
    std::vector<std::string> lines;
    lines.reserve(list.size());
    for (const CStation& s : list) lines.push_back(StationLine(s, sort));
    std::vector<int> rows(list.size());
    for (std::size_t i = 0; i < rows.size(); ++i) rows[i] = int(i);
    std::stable_sort(rows.begin(), rows.end(),
                     [&lines](int a, int b) { return LessNoCase(lines[std::size_t(a)], lines[std::size_t(b)]); });
    return rows;
}

// ---- The edit dialog ---------------------------------------------------------------

void CEditStationDialog::OnInitDialog() {
    constexpr const char* kLabels[7] = {"Name or Identifier", "Frequency (MHz)", "Mode", "Filter",
                                        "Country",            "Language",        "Notes"};
    SetFont(StationFont());
    // One line each, 20 units apart; the notes take the rest down to the buttons.
    for (int i = 0; i < 7; ++i) labels[i].CreateControl(kLabels[i], Scaled(6, 7 + i * 20, 100, 23 + i * 20), this, -1);
    name.CreateControl(station.name, Scaled(102, 6, 264, 23), this, IDC_ES_NAME);
    char f[32] = "";
    if (station.frequency != 0) std::snprintf(f, sizeof f, "%.6f", station.frequency);
    frequency.CreateControl(f, Scaled(102, 26, 196, 43), this, IDC_ES_FREQUENCY);
    mode.CreateControl("", Scaled(102, 46, 196, 63), this, IDC_ES_MODE);
    filter.CreateControl("", Scaled(102, 66, 196, 83), this, IDC_ES_FILTER);
    country.CreateControl(station.country, Scaled(102, 86, 264, 103), this, IDC_ES_COUNTRY);
    language.CreateControl(station.language, Scaled(102, 106, 264, 123), this, IDC_ES_LANGUAGE);
    notes.CreateControl(station.notes, Scaled(102, 126, 264, 186), this, IDC_ES_NOTES);
    ok.CreateControl("OK", Scaled(102, 194, 172, 212), this, plat::IDOK);
    cancel.CreateControl("Cancel", Scaled(184, 194, 254, 212), this, plat::IDCANCEL);
    for (const char* m : kModes) mode.AddString(m);
    // A station stored in a mode the list does not name (PSK, PSKR, WFM,
    // DV from the Store button or a file) keeps it: the mode joins the list.
    int sel = mode.FindStringExact(station.mode);
    if (sel < 0 && !station.mode.empty()) {
        mode.AddString(station.mode);
        sel = mode.FindStringExact(station.mode);
    }
    mode.SetCurSel(sel < 0 ? 0 : sel);
    FillFilters();
}

void CEditStationDialog::FillFilters() {
    filter.ResetContent();
    std::string def;
    if (HasNamedFilters()) {
        const bool am = UsesAmFilterNames(mode.GetSelectedText());
        const int count = g_filtercount > 0 && g_filtercount < 41 ? g_filtercount : 41;
        for (int i = 1; i <= count; ++i) filter.AddString(FilterCaption(i, am));
        def = am ? "10.0 kHz " : "3.6 kHz ";
    } else {
        char fil[16];
        for (int i = 1; i <= g_filtercount; ++i) {
            std::snprintf(fil, sizeof fil, "FIL%1d", i);
            filter.AddString(fil);
        }
        def = "FIL2";
    }
    int sel = -1;
    for (int i = 0; i < filter.GetCount(); ++i)
        if (filter.GetItemText(i) == station.filter) sel = i;
    if (sel < 0) sel = filter.FindStringExact(def);
    filter.SetCurSel(sel);
}

bool CEditStationDialog::OnCommand(unsigned id, unsigned code, plat::LPARAM) {
    if (id == unsigned(IDC_ES_MODE) && code == plat::CBN_SELCHANGE) {
        station.filter = filter.GetSelectedText();
        FillFilters();
        return true;
    }
    if (id == unsigned(plat::IDCANCEL)) {
        EndDialog(plat::IDCANCEL);
        return true;
    }
    if (id != unsigned(plat::IDOK)) return false;
    char* end = nullptr;
    const std::string text = frequency.GetText();
    const double mhz = std::strtod(text.c_str(), &end);
    if (end == text.c_str() || !(mhz >= 0.1 && mhz <= 90000)) {
        plat::MessageBox(this, "Please enter a number between 0.1 and 90000.", "", plat::MB_OK | plat::MB_ICONEXCLAMATION);
        frequency.SetFocus();
        return true;
    }
    station.name = name.GetText();
    station.frequency = mhz;
    station.mode = mode.GetSelectedText();
    station.filter = filter.GetSelectedText();
    station.country = country.GetText();
    station.language = language.GetText();
    station.notes = notes.GetText();
    EndDialog(plat::IDOK);
    return true;
}

bool CEditStationDialog::Run(plat::Window* owner) {
    return DoModal(owner, "Station Information Sheet", Scaled(120, 80, 390, 300)) == plat::IDOK;
}

bool EditStation(plat::Window* owner, CStation& s) {
    CStation shown = s;
    for (;;) {
        CEditStationDialog dlg;
        dlg.station = shown;
        if (!dlg.Run(owner)) return false;
        shown = dlg.station;
        if (CheckCoverage(shown.frequency) == 0) break;
        shown.frequency = 0;
    }
    s = shown;
    return true;
}

// ---- The window ------------------------------------------------------------------

void CStationWnd::Build() {
    SetFont(StationFont());
    title.CreateControl("No Name", Scaled(6, 4, 290, 20), this, IDC_STATION_TITLE);
    sortStation.CreateControl("Station", Scaled(6, 22, 66, 38), this, IDC_SORT_STATION);
    sortFrequency.CreateControl("Frequency", Scaled(70, 22, 146, 38), this, IDC_SORT_FREQUENCY);
    sortCountry.CreateControl("Country", Scaled(150, 22, 216, 38), this, IDC_SORT_COUNTRY);
    autoTune.CreateControl("Auto Tune", Scaled(218, 22, 292, 38), this, IDC_AUTO_TUNE);
    list.CreateControl("", Scaled(6, 42, 290, 250), this, IDC_STATION_LIST);
    add.CreateControl("Add", Scaled(6, 254, 58, 272), this, IDC_STATION_ADD);
    del.CreateControl("Delete", Scaled(62, 254, 114, 272), this, IDC_STATION_DELETE);
    tune.CreateControl("Tune", Scaled(118, 254, 170, 272), this, IDC_STATION_TUNE);
    edit.CreateControl("Edit", Scaled(174, 254, 226, 272), this, IDC_STATION_EDIT);
    close.CreateControl("Close", Scaled(238, 254, 290, 272), this, IDC_STATION_CLOSE);
    sortStation.SetCheck(g_stationsort == 1);
    sortFrequency.SetCheck(g_stationsort == 0);
    sortCountry.SetCheck(g_stationsort == 2);
    autoTune.SetCheck(g_autotune ? 1 : 0);
}

bool CStationWnd::OnCommand(unsigned id, unsigned code, plat::LPARAM) {
    switch (id) {
    case IDC_STATION_LIST:
        if (code == plat::LBN_SELCHANGE) OnSelChange();
        if (code == plat::LBN_DBLCLK) {
            // The click before a double click selects the row.
            SelectStation(StationOfRow(list.GetCurSel()));
            OnTune();
        }
        return true;
    case IDC_STATION_TUNE: OnTune(); return true;
    case IDC_AUTO_TUNE: OnAutoTune(); return true;
    case IDC_SORT_FREQUENCY: OnSort(0); return true;
    case IDC_SORT_STATION: OnSort(1); return true;
    case IDC_SORT_COUNTRY: OnSort(2); return true;
    case IDC_STATION_ADD: OnAdd(); return true;
    case IDC_STATION_EDIT: OnEdit(); return true;
    case IDC_STATION_DELETE: OnDelete(); return true;
    case IDC_STATION_CLOSE: ShowWindow(plat::SW_HIDE); return true;
    default: return false;
    }
}

int CStationWnd::StationOfRow(int row) const {
    if (row < 0 || row >= int(rows_.size())) return -1;
    const int pos = rows_[std::size_t(row)];
    return pos < int(g_stationlist.size()) ? pos : -1;
}

void CStationWnd::FillStationList() {
    const bool any = !g_stationlist.empty();
    for (plat::Button* b : {&del, &tune, &edit}) b->EnableWindow(any);
    add.EnableWindow(true);
    list.ResetContent();
    rows_.clear();
    if (any) {
        constexpr int kTabStops[3] = {40, 80, 50};
        list.SetTabStops(kTabStops[g_stationsort >= 0 && g_stationsort < 3 ? g_stationsort : 0]);
        rows_ = SortedStationRows(g_stationlist, g_stationsort);
        for (std::size_t row = 0; row < rows_.size(); ++row) {
            // A long list must not keep a termination signal waiting: the
            // close needs the rows no more.
            if (row % 1024 == 1023 && plat::app::CloseSignalled()) {
                rows_.resize(row);
                break;
            }
            list.AddString(StationLine(g_stationlist[std::size_t(rows_[row])], g_stationsort));
        }
        list.SetCurSel(0);
        SelectStation(rows_[0]);
    }
    ShowFileName();
}

void CStationWnd::SelectStation(int position) {
    if (position < 0 || position >= int(g_stationlist.size())) return;
    const CStation& s = g_stationlist[std::size_t(position)];
    current = {s.name, s.frequency, s.frequency2, s.mode, s.filter, s.notes};
}

void CStationWnd::SelectStationRow(int position) {
    for (std::size_t row = 0; row < rows_.size(); ++row)
        if (rows_[row] == position) {
            list.SetCurSel(int(row));
            SelectStation(position);
            return;
        }
}

void CStationWnd::TuneNextStation(int stay) {
    const int count = int(rows_.size());
    if (count == 0) {
        // Nothing left to scan: the scan ends instead of spinning.
        g_memscan = 0;
        return;
    }
    int row = list.GetCurSel();
    if (row < 0) row = 0;
    else if (!stay) ++row;
    if (row >= count) row = 0;
    list.SetCurSel(row);
    SelectStation(rows_[std::size_t(row)]);
    Recall();
}

void CStationWnd::ShowFileName() {
    const std::string name = g_memfilename;
    title.SetWindowText(name.empty() || name == kNoName ? "No Name" : name);
}

void CStationWnd::Recall() {
    if (GetParent()) GetParent()->PostMessage(WM_RECALL_ENTRY);
}

void CStationWnd::OnSelChange() {
    const int pos = StationOfRow(list.GetCurSel());
    if (pos < 0) return;
    SelectStation(pos);
    if (g_autotune) Recall();
}

void CStationWnd::OnTune() {
    if (StationOfRow(list.GetCurSel()) >= 0) Recall();
}

void CStationWnd::OnAutoTune() {
    g_autotune = g_autotune ? 0 : 1;
    autoTune.SetCheck(g_autotune);
}

void CStationWnd::OnSort(int sort) {
    sortFrequency.SetCheck(sort == 0);
    sortStation.SetCheck(sort == 1);
    sortCountry.SetCheck(sort == 2);
    g_stationsort = sort;
    FillStationList();
}

void CStationWnd::OnAdd() {
    CStation s;
    s.name.clear();
    s.frequency = 0;
    s.frequency2 = 0;
    s.language.clear();
    s.mode.clear();
    if (!EditStation(this, s)) return;
    g_stationlist.push_back(s);
    StationListChanged(true);
    FillStationList();
}

void CStationWnd::OnEdit() {
    const int pos = StationOfRow(list.GetCurSel());
    if (pos < 0) return;
    CStation s = g_stationlist[std::size_t(pos)];
    if (s.filter.empty()) s.filter = "6000";
    if (ModelCap(g_hastone) && g_savefmcts) s.notes = WithTone(s.notes, g_fmcts);
    if (!EditStation(this, s)) return;
    g_stationlist[std::size_t(pos)] = s;
    StationListChanged(true);
    FillStationList();
}

void CStationWnd::OnDelete() {
    const int pos = StationOfRow(list.GetCurSel());
    if (pos < 0) return;
    g_stationlist.erase(g_stationlist.begin() + pos);
    StationListChanged(true);
    FillStationList();
}

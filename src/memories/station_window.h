// "Station Memories": the station list in a window of its own. The operator
// sorts, adds, edits and deletes stations there and tunes the selected one;
// tuning is the main frame's (WM_RECALL_ENTRY), which reads the window's
// current entry.
#pragma once
#include <string>
#include <vector>

#include "memories/station.h"
#include "panel/pop_out_panel.h"
#include "platform/controls.h"
#include "platform/dialog.h"
#include "platform/window.h"

constexpr unsigned WM_RECALL_ENTRY = 0x0400 + 1;  // WM_USER+1 to the main frame

enum StationWndId : int {
    IDC_SORT_STATION = 1300,
    IDC_SORT_FREQUENCY = 1301,
    IDC_SORT_COUNTRY = 1302,
    IDC_AUTO_TUNE = 1303,
    IDC_STATION_LIST = 1304,
    IDC_STATION_ADD = 1305,
    IDC_STATION_DELETE = 1306,
    IDC_STATION_EDIT = 1308,
    IDC_STATION_TUNE = 1310,
    IDC_STATION_CLOSE = 8,
    IDC_STATION_TITLE = 1311,
};

// The entry the recall tunes.
struct StationEntry {
    std::string name;
    double frequency = 0;
    double frequency2 = 0;
    std::string mode;
    std::string filter;
    std::string notes;
};

// One list line of a station for the sort (0 frequency, 1 station, 2 country).
std::string StationLine(const CStation& s, int sort);
// Rows in list-box order: the station positions sorted by their lines
// (without regard to case; equal lines keep the list order).
std::vector<int> SortedStationRows(const StationList& list, int sort);

// "Station Information Sheet": edits one station.
class CEditStationDialog : public plat::Dialog {
public:
    CStation station;  // in: the values shown; out: the values entered
    void OnInitDialog() override;
    bool OnCommand(unsigned id, unsigned code, plat::LPARAM control) override;
    // Runs the dialog; false on Cancel.
    bool Run(plat::Window* owner);

    plat::Edit name, frequency, country, language;
    plat::MultiLineEdit notes;
    plat::ComboBox mode, filter;
    plat::Button ok, cancel;
    plat::StaticText labels[7];

private:
    void FillFilters();
};

enum EditStationId : int {
    IDC_ES_NAME = 3060,
    IDC_ES_FREQUENCY = 3207,
    IDC_ES_MODE = 3076,
    IDC_ES_FILTER = 3079,
    IDC_ES_COUNTRY = 3080,
    IDC_ES_LANGUAGE = 3097,
    IDC_ES_NOTES = 3075,
};

// Runs the edit dialog until the operator cancels or enters a frequency the
// radio covers (the field is cleared and the dialog shown again). True with
// `s` holding the entry on OK.
bool EditStation(plat::Window* owner, CStation& s);

class CStationWnd : public CPopOutPanel {
public:
    void Build();
    bool OnCommand(unsigned id, unsigned code, plat::LPARAM control) override;
    void OnClose() override { ShowWindow(plat::SW_HIDE); }

    void FillStationList();
    void SelectStation(int position);
    void TuneNextStation(int stay);
    void ShowFileName();
    // Selects the row of the station at `position` (the lookup's match).
    void SelectStationRow(int position);

    void OnSelChange();
    void OnTune();
    void OnAutoTune();
    void OnSort(int sort);
    void OnAdd();
    void OnEdit();
    void OnDelete();

    // The station position of a list row, or -1.
    int StationOfRow(int row) const;

    StationEntry current;
    plat::StaticText title;
    plat::RadioButton sortStation, sortFrequency, sortCountry;
    plat::CheckBox autoTune;
    plat::ListBox list;
    plat::Button add, del, tune, edit, close;

private:
    void Recall();
    std::vector<int> rows_;  // item data: station position of each row
};

extern CStationWnd* g_stationwnd;

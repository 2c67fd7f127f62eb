// Callsign lookup: a callsign database library answers LookupCallSign with
// the licence holder's record; the "Call Lookup" window asks it. The library
// is loaded by path ([PREFERENCE] "HAMCALL LIBRARY", relative names in the
// working directory); without one the Call command stays disabled.
#pragma once
#include <string>
#include <vector>

#include "panel/pop_out_panel.h"
#include "platform/controls.h"
#include "platform/paint.h"
#include "platform/window.h"

extern int g_hamcallloaded;  // the callsign library is loaded

// The library's one export: fills `buffer` (of `size` bytes) with the
// record of `call` found in the database at `path`; returns the record
// length, or -1 not found, -2 no database, -3 index error, -4 memory error.
using LookupCallSignFn = int (*)(const char* path, const char* call, int size, char* buffer);

constexpr unsigned ID_RUN_CALL_LOOKUP = 42000;
constexpr int IDC_LOOKUP_CALL = 1318;
constexpr int IDC_LOOKUP_FIND = 1319;
constexpr int IDC_LOOKUP_RESULT = 1320;
constexpr int IDC_LOOKUP_CLOSE = 8;

void LoadHamCallLibrary();
void FreeHamCallLibrary();
// WM_COMMAND 42000: looks the typed call sign up and shows the result.
void RunCallLookup();

// The database path from the settings window's HamCall field: a bare
// drive or folder name gets "/ham0/" appended.
std::string HamCallPath(const std::string& field);
// The lines a record shows (without line ends).
std::vector<std::string> ParseHamCallRecord(const std::string& record);
// The text shown for a negative result of the library.
std::string LookupErrorText(int result);

class CLookupCallWnd : public CPopOutPanel {
public:
    void Build();
    bool OnCommand(unsigned id, unsigned code, plat::LPARAM control) override;
    // Its caption bar: the window's title across its top edge, above the
    // controls; the window drags by it.
    void OnPaint(plat::PaintContext& pc) override;
    static constexpr int kCaptionHeight = 18;
    void OnChar(unsigned ch) override;
    void OnClose() override { ShowWindow(plat::SW_HIDE); }
    plat::StaticText label;
    plat::Edit call;
    plat::Button find, close;
    plat::MultiLineEdit result;
};

extern CLookupCallWnd* g_lookupwnd;

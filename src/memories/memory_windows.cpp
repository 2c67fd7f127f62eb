#include "memories/memory_windows.h"

#include <cstdio>

#include "base/memory_options.h"
#include "base/panel_options.h"
#include "base/trace_log.h"
#include "civ/frequency_state.h"
#include "memories/dstar_panel.h"
#include "memories/lookup.h"
#include "memories/memory_file_panel.h"
#include "memories/radio_memories.h"
#include "memories/small_dialogs.h"
#include "memories/station_cdf.h"
#include "memories/station_window.h"
#include "memories/stations.h"
#include "panel/swl_panel.h"
#include "platform/window.h"

namespace {
constexpr int IDW_STATIONS = 1400;
constexpr int IDW_CALL_LOOKUP = 2389;
constexpr int IDW_MEMORY_FILE_NAME = 2527;

// File menu and the other commands the memories answer.
enum : unsigned {
    ID_FILE_NEW = 40016,
    ID_FILE_OPEN = 500,
    ID_FILE_CLOSE = 501,
    ID_FILE_SAVE = 502,
    ID_FILE_SAVE_AS = 503,
    ID_FILE_IMPORT = 557,
    ID_FILE_EXPORT = 558,
    ID_SAVE_RADIO_MEMORIES = 2476,
    ID_RESTORE_RADIO_MEMORIES = 2477,
};

// Pop-out windows keep their place from the settings: "%04d %04d".
plat::Rect Placed(const char* place, int w, int h, int defx, int defy) {
    int x = defx, y = defy;
    if (place && place[0]) std::sscanf(place, "%d %d", &x, &y);
    if (x < -400 || x > 4000) x = 0;
    if (y < -230 || y > 3000) y = 0;
    return {x, y, x + w, y + h};
}

template <class T>
T* MakeWindow(T*& global, plat::Window* frame, const char* caption, int id, const plat::Rect& r) {
    if (!global) global = new T;
    // A child of the main frame, dragged by its body; the call lookup has a
    // caption of its own.
    const unsigned style = plat::WS_CHILD | plat::WS_CLIPSIBLINGS | plat::WS_SYSMENU;
    global->Create(caption, id == IDW_CALL_LOOKUP ? style | plat::WS_CAPTION : style, r, frame, id);
    global->SetDragByBody(true);
    global->Build();
    return global;
}
}  // namespace

void CreateMemoryWindows(plat::Window* frame) {
    g_memoryowner = frame;
    const double sx = g_scalex > 0.2 ? g_scalex : 1.0, sy = g_scaley > 0.2 ? g_scaley : 1.0;
    MakeWindow(g_stationwnd, frame, "Station Memories", IDW_STATIONS,
               Placed(g_memoryplace, int(296 * sx), int(278 * sy), 60, 60));
    MakeWindow(g_lookupwnd, frame, "Call Lookup", IDW_CALL_LOOKUP, Placed(g_lookupplace, 328, 158 + CLookupCallWnd::kCaptionHeight, 80, 80));
    MakeWindow(g_crapanel, frame, "Memory File Name", IDW_MEMORY_FILE_NAME, Placed(g_craplace, 308, 62, 100, 100));
    if (g_memoryvisible) g_stationwnd->ShowWindow(plat::SW_SHOW);
    CreateDstarPanel(frame);
}

void DestroyMemoryWindows() {
    DestroyDstarPanel();
    delete g_stationwnd;
    g_stationwnd = nullptr;
    delete g_lookupwnd;
    g_lookupwnd = nullptr;
    delete g_crapanel;
    g_crapanel = nullptr;
    FreeHamCallLibrary();
}

plat::Window* MemoryWindowById(int id) {
    switch (id) {
    case IDW_STATIONS: return g_stationwnd;
    case IDW_CALL_LOOKUP: return g_lookupwnd;
    case IDW_MEMORY_FILE_NAME: return g_crapanel;
    case kDstarWindowId: return g_dstarpanel;
    default: return nullptr;
    }
}

void RecordMemoryWindowPlaces() {
    auto record = [](plat::Window* w, char* place, std::size_t size) {
        if (!w || !w->IsCreated()) return;
        const plat::Rect r = w->GetNormalRect();
        std::snprintf(place, size, "%04d %04d", r.left, r.top);
    };
    record(g_stationwnd, g_memoryplace, sizeof g_memoryplace);
    record(g_lookupwnd, g_lookupplace, sizeof g_lookupplace);
    record(g_crapanel, g_craplace, sizeof g_craplace);
    record(g_dstarpanel, g_dstarplace, sizeof g_dstarplace);
    if (g_stationwnd) g_memoryvisible = g_stationwnd->IsWindowVisible() ? 1 : 0;
}

void ShowStationWindow() {
    if (!g_stationwnd) return;
    g_stationwnd->ShowWindow(plat::SW_SHOW);
    g_stationwnd->BringWindowToTop();
}

bool OnMemoryCommand(unsigned id) {
    switch (id) {
    case ID_FILE_NEW:
    case ID_FILE_CLOSE: CloseMemoryFile(); return true;
    case ID_FILE_OPEN: OnFileOpen(); return true;
    case ID_FILE_SAVE: OnFileSave(); return true;
    case ID_FILE_SAVE_AS: OnFileSaveAs(); return true;
    case ID_FILE_IMPORT: ImportCdf(kAskName); return true;
    case ID_FILE_EXPORT: ExportCdf(kAskName); return true;
    case ID_SAVE_RADIO_MEMORIES: SaveRadioMemories(kAskName); return true;
    case ID_RESTORE_RADIO_MEMORIES: RestoreRadioMemories(kAskName); return true;
    case ID_MEMORY_FILE_NAME: OnMemoryFileName(); return true;
    case ID_RUN_CALL_LOOKUP: RunCallLookup(); return true;
    case ID_TIME_STATION: OnTimeStation(g_presetfreq); return true;
    case ID_TIME_UTC: OnTimeUtc(g_memoryowner); return true;
    case ID_ABOUT: OnAbout(g_memoryowner); return true;
    default: return false;
    }
}

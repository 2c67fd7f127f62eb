#include "memories/stations.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <utility>

#include "base/memory_options.h"
#include "base/settings_store.h"
#include "base/trace_log.h"
#include "memories/memory_file_panel.h"
#include "memories/radio_memories.h"
#include "memories/station_archive.h"
#include "memories/station_cdf.h"
#include "memories/station_window.h"
#include "panel/swl_panel.h"
#include "platform/clock.h"
#include "platform/dialog.h"
#include "platform/files.h"
#include "platform/message_box.h"
#include "platform/profile.h"
#include "platform/types.h"

int g_memmodified = 0;
int g_indexvalid = 1;
int g_stationcount = 0;
int g_memcrashop = 0;
int g_skipstationname = 0;
plat::Window* g_memoryowner = nullptr;

namespace {
// Frequency index: {MHz, list position}, ascending by frequency.
std::vector<std::pair<double, int>> g_stationindex;
bool g_indexbuilt = false;

// A memory file larger than this is not a station list.
constexpr std::size_t kMaxMemoryFile = 256u << 20;

bool IsNoName(const char* name) { return name[0] == '\0' || std::strcmp(name, kNoName) == 0; }

// The memory file refused as damaged at start-up. Its name stays the current
// one (the operator repairs the file and the next start loads it), but a save
// never goes over it without the operator naming it.
std::string g_refusedname;
bool IsRefused(const char* name) { return !g_refusedname.empty() && g_refusedname == name; }

enum class ReadResult { Ok, NotFound, Damaged };

ReadResult ReadMemoryFile(const std::string& path, StationList& list, std::string& error) {
    if (!plat::FileExists(path)) return ReadResult::NotFound;
    const long long size = plat::FileSize(path);
    if (size < 0 || std::size_t(size) > kMaxMemoryFile) {
        error = "the file is too large to be a station list";
        return ReadResult::Damaged;
    }
    auto bytes = plat::ReadWholeFile(path, kMaxMemoryFile);
    if (!bytes) {
        error = "the file cannot be read";
        return ReadResult::Damaged;
    }
    return ReadStationArchive(*bytes, list, error) ? ReadResult::Ok : ReadResult::Damaged;
}

void ShowDamaged(const std::string& name, const std::string& error) {
    plat::MessageBox(g_memoryowner, "Unable to read memory file: " + name + "\n" + error + ".\nThe station list is unchanged.",
                     "Error- Memory File", plat::MB_OK | plat::MB_ICONEXCLAMATION);
}

bool WriteMemoryFile(const std::string& name) {
    const std::string path = MemoryFilePath(name);
    std::string why;
    if (!plat::WriteFileAtomic(path, WriteStationArchive(g_stationlist), &why)) {
        WriteTrace("memory file not saved: " + path + ": " + why);
        plat::MessageBox(g_memoryowner,
                         "ERROR: Access to File Denied\n" + name + " was not saved (" + why + "); the old file is kept.",
                         "CFileException", plat::MB_OK | plat::MB_ICONEXCLAMATION);
        return false;
    }
    if (IsRefused(name.c_str())) g_refusedname.clear();
    g_memmodified = 0;
    return true;
}
}  // namespace

// Runs a file dialog with the crash mark around it, so that a crash inside
// the dialog makes the next run ask for names by typing.
bool AskFileName(bool open, const std::string& defExt, const char* filter, std::string& path) {
    SetMemoryCrashFlag(1);
    const bool ok = open ? plat::FileOpenDialog(g_memoryowner, defExt, filter, "", path)
                         : plat::FileSaveDialog(g_memoryowner, defExt, filter, "", path);
    SetMemoryCrashFlag(0);
    return ok;
}

void AskTypedName(int op) {
    WriteTrace("crash status");
    g_memcrashop = op;
    ShowMemoryFileNamePanel(g_memfilename);
}

bool PickFileName(int mode, bool open, const char* defExt, const char* filter, const std::string& typed,
                  std::string& path, int op) {
    if (mode != kAskName) {
        path = typed;
        return !path.empty();
    }
    if (g_memcrash) {
        AskTypedName(op);
        return false;
    }
    return AskFileName(open, defExt, filter, path);
}


bool IsMemoryFileName(const std::string& name) {
    if (name.size() <= 4) return false;
    std::string ext = name.substr(name.size() - 4);
    for (char& c : ext) c = char(std::tolower(static_cast<unsigned char>(c)));
    return ext == ".rmy";
}

std::string MemoryFilePath(const std::string& name) {
    if (name.empty() || name[0] == '/') return name;
    return (g_cwd.empty() ? plat::GetCurrentDir() : g_cwd) + "/" + name;
}

bool SetMemoryFileName(const std::string& name) {
    if (name.size() >= sizeof g_memfilename) {
        plat::MessageBox(g_memoryowner, "The file name is too long: " + name, "Memory File", plat::MB_OK);
        return false;
    }
    std::snprintf(g_memfilename, sizeof g_memfilename, "%s", name.c_str());
    return true;
}

void StationListChanged(bool modified) {
    g_memmodified = modified ? 1 : 0;
    g_indexvalid = 0;
    g_stationcount = int(g_stationlist.size());
}

void ClearStationList() {
    g_stationlist.clear();
    g_stationcount = 0;
    g_indexvalid = 0;
}

void LoadMemoryFile() {
    // A name ending in 'f' was a .cdf file, which is not reopened as a list.
    const std::size_t len = std::strlen(g_memfilename);
    if (len > 0 && (g_memfilename[len - 1] == 'f' || g_memfilename[len - 1] == 'F')) SetMemoryFileName(kNoName);
    g_indexvalid = 0;
    if (IsNoName(g_memfilename)) return;
    plat::RemoveStaleTempFiles(MemoryFilePath(g_memfilename));
    StationList list;
    std::string error;
    switch (ReadMemoryFile(MemoryFilePath(g_memfilename), list, error)) {
    case ReadResult::Ok:
        g_stationlist = std::move(list);
        break;
    case ReadResult::NotFound: WriteTrace(std::string("memory file not found: ") + g_memfilename); break;
    case ReadResult::Damaged:
        // Saving under this name would destroy whatever the file still holds.
        WriteTrace(std::string("memory file not read: ") + g_memfilename + ": " + error);
        ShowDamaged(g_memfilename, error);
        g_refusedname = g_memfilename;
        break;
    }
    g_stationcount = int(g_stationlist.size());
    g_memmodified = 0;
}

bool OpenMemoryFile(int mode) {
    if (g_memmodified && !CloseMemoryFile()) return false;
    std::string name = g_memfilename;
    if (mode == kAskName) {
        if (g_memcrash) {
            AskTypedName(kOpOpen);
            return false;
        }
        if (!AskFileName(true, "rmy", kRmyFilter, name)) return false;
    }
    if (!IsMemoryFileName(name)) {
        plat::MessageBox(g_memoryowner, "Not a memory file (*.rmy): " + name, "Error- File Not Found",
                         plat::MB_OK | plat::MB_ICONEXCLAMATION);
        return false;
    }
    StationList list;
    std::string error;
    switch (ReadMemoryFile(MemoryFilePath(name), list, error)) {
    case ReadResult::NotFound:
        plat::MessageBox(g_memoryowner, "Unable to locate file: " + name, "Error- File Not Found", plat::MB_OK);
        return false;
    case ReadResult::Damaged: ShowDamaged(name, error); return false;
    case ReadResult::Ok: break;
    }
    if (!SetMemoryFileName(name)) return false;
    if (IsRefused(g_memfilename)) g_refusedname.clear();  // repaired meanwhile
    g_stationlist = std::move(list);
    StationListChanged(false);
    FillStationList();
    return true;
}

bool SaveMemoryFile(int mode) {
    if (mode == kAskName && (IsNoName(g_memfilename) || IsRefused(g_memfilename))) {
        if (g_memcrash) {
            AskTypedName(kOpSave);
            return false;
        }
        std::string path;
        if (!AskFileName(false, "rmy", kRmyFilter, path) || !SetMemoryFileName(path)) return false;
    }
    if (IsNoName(g_memfilename)) return false;
    return WriteMemoryFile(g_memfilename);
}

bool SaveMemoryFileAs(int mode) {
    std::string name = g_memfilename;
    if (mode == kAskName) {
        if (g_memcrash) {
            AskTypedName(kOpSaveAs);
            return false;
        }
        if (!AskFileName(false, "rmy", kRmyFilter, name)) return false;
    }
    if (IsNoName(name.c_str())) return false;
    if (name.size() >= sizeof g_memfilename) return SetMemoryFileName(name);  // shows why
    if (!WriteMemoryFile(name)) return false;
    SetMemoryFileName(name);
    if (g_stationwnd) g_stationwnd->ShowFileName();
    return true;
}

bool CloseMemoryFile() {
    if (g_memmodified) {
        const int answer = plat::MessageBox(g_memoryowner,
                                            std::string(g_memfilename) + " \n has been modified ... Save Changes?", "",
                                            plat::MB_YESNOCANCEL | plat::MB_ICONQUESTION);
        if (answer == plat::IDCANCEL) return false;
        // The list goes only once it is safely on disk.
        if (answer == plat::IDYES && !SaveMemoryFile(kAskName)) return false;
    }
    ClearStationList();
    SetMemoryFileName(kNoName);
    StationListChanged(false);
    FillStationList();
    return true;
}

void OnFileOpen() { OpenMemoryFile(kAskName); }
bool OnFileSave() { return SaveMemoryFile(kAskName); }
void OnFileSaveAs() { SaveMemoryFileAs(kAskName); }

bool SaveMemoryFileUnattended() {
    if (!g_memmodified) return true;
    // The refused file stays the one to load next; the list goes beside it.
    const std::string refused = IsRefused(g_memfilename) ? g_memfilename : "";
    if (IsNoName(g_memfilename) || !refused.empty()) {
        const plat::SystemTime t = plat::GetLocalTime();
        char name[64];
        for (int n = 0; n < 100; ++n) {
            std::snprintf(name, sizeof name, "unsaved-%04d%02d%02d-%02d%02d%02d%s.rmy", t.year, t.month, t.day, t.hour,
                          t.minute, t.second, n ? ("-" + std::to_string(n)).c_str() : "");
            if (!plat::FileExists(MemoryFilePath(name))) break;
        }
        SetMemoryFileName(name);
    }
    const std::string path = MemoryFilePath(g_memfilename);
    WriteTrace("saving memory file " + path);
    if (!refused.empty()) SetMemoryFileName(refused);
    std::string why;
    if (plat::WriteFileAtomic(path, WriteStationArchive(g_stationlist), &why)) {
        g_memmodified = 0;
        return true;
    }
    NoteSaveFailure(path, why);
    return false;
}

void OnMemoryFileName() {
    const std::string typed = MemoryFileNamePanelText();
    HideMemoryFileNamePanel();
    const int op = g_memcrashop;
    // Runs once: a later focus change must not repeat it.
    g_memcrashop = 0;
    switch (op) {
    case kOpOpen: {
        // The typed name becomes the file's name only when it opens.
        const std::string previous = g_memfilename;
        if (!SetMemoryFileName(typed)) break;
        if (!OpenMemoryFile(kUseName)) SetMemoryFileName(previous);
        break;
    }
    case kOpSave:
        if (SetMemoryFileName(typed)) SaveMemoryFile(kUseName);
        break;
    case kOpSaveAs: {
        const std::string previous = g_memfilename;
        if (!SetMemoryFileName(typed)) break;
        if (!SaveMemoryFileAs(kUseName)) SetMemoryFileName(previous);
        break;
    }
    // The .cdf files never become the memory file's name.
    case kOpRestoreRadio: RestoreRadioMemories(kUseName, typed); break;
    case kOpSaveRadio: SaveRadioMemories(kUseName, typed); break;
    case kOpExport: ExportCdf(kUseName, typed); break;
    case kOpImport: ImportCdf(kUseName, typed); break;
    default: break;
    }
}

void BuildStationIndex() {
    g_indexvalid = 1;
    g_indexbuilt = false;
    g_stationindex.clear();
    if (g_stationlist.empty() || g_stationlist.size() > std::size_t(kMaxIndexedStations)) return;
    g_stationindex.reserve(g_stationlist.size());
    for (std::size_t i = 0; i < g_stationlist.size(); ++i) {
        const double f = g_stationlist[i].frequency;
        // A frequency that is not a number sorts first and matches nothing.
        g_stationindex.emplace_back(std::isfinite(f) ? f : -1.0, int(i));
    }
    // Among equal frequencies the station later in the list comes first.
    std::sort(g_stationindex.begin(), g_stationindex.end(), [](const auto& a, const auto& b) {
        return a.first != b.first ? a.first < b.first : a.second > b.second;
    });
    g_indexbuilt = true;
}

int FindIndexedStation(double mhz) {
    if (!g_indexbuilt || g_stationindex.empty() || !std::isfinite(mhz)) return -1;
    // Within 500 Hz; measured in Hz so that 0.0005 MHz apart is no match.
    auto near = [mhz](double f) { return std::fabs(mhz - f) * 1e6 < 500.0 - 1e-6; };
    auto it = std::lower_bound(g_stationindex.begin(), g_stationindex.end(), mhz - 0.0005,
                               [](const auto& e, double v) { return e.first < v; });
    for (; it != g_stationindex.end() && it->first <= mhz + 0.0005; ++it)
        if (near(it->first)) return it->second;
    return -1;
}

void ShowStationName(double mhz) {
    if (g_skipstationname) {
        g_skipstationname = 0;
        return;
    }
    if (g_stationlist.empty() || !g_indexvalid || !g_indexbuilt) return;
    const int pos = FindIndexedStation(mhz);
    if (pos < 0 || pos >= int(g_stationlist.size())) {
        g_stationcaption = std::string(11, ' ');
        if (g_swlpanel) g_swlpanel->ShowStationCaption();
        return;
    }
    g_stationcaption = g_stationlist[std::size_t(pos)].name;
    if (g_stationsort == 0 && g_automemselect && g_stationwnd) g_stationwnd->SelectStationRow(pos);
    if (g_swlpanel) g_swlpanel->ShowStationCaption();
}

void FillStationList() {
    g_stationcount = int(g_stationlist.size());
    if (g_stationwnd) g_stationwnd->FillStationList();
}

void TuneNextStation(int stay) {
    if (g_stationwnd) g_stationwnd->TuneNextStation(stay);
}

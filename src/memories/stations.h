// Station memories: the open memory file, its station list, the frequency
// index and the station-name lookup, and the File menu's operations.
#pragma once
#include <string>
#include <vector>

#include "memories/station.h"
#include "panel/station_caption.h"

namespace plat {
class Window;
}

extern int g_memmodified;   // the station list was changed since it was loaded or saved
extern int g_indexvalid;    // the station frequency index matches the list
extern int g_stationcount;  // stations in the list
extern int g_memcrashop;    // file operation waiting for a typed name (0 none)
extern int g_skipstationname;  // the next station-name lookup leaves the caption alone

// Typed-name operations.
enum MemCrashOp { kOpOpen = 1, kOpSave, kOpSaveAs, kOpRestoreRadio, kOpSaveRadio, kOpExport, kOpImport };
// Modes of the file operations: ask for the name, or use g_memfilename.
constexpr int kAskName = 1;
constexpr int kUseName = 2;
// A file dialog with the crash mark around it, so that a crash inside the
// dialog makes the next run ask for names by typing.
bool AskFileName(bool open, const std::string& defExt, const char* filter, std::string& path);
// After a crash inside a file dialog: the typed-name window asks instead and
// runs `op` with the name (OnMemoryFileName).
void AskTypedName(int op);
// The path of a file command: mode kUseName takes `typed`; kAskName runs the
// dialog, or the typed-name window after a crash (false: nothing to do now).
bool PickFileName(int mode, bool open, const char* defExt, const char* filter, const std::string& typed,
                  std::string& path, int op);
constexpr const char* kNoName = "NONAME";
constexpr const char* kRmyFilter = "Memory Files(*.rmy)|*.rmy|All files(*.*)|*.*||";

// Start-up load (errors only traced; a damaged file is never overwritten).
void LoadMemoryFile();
// File menu. Each returns true when it finished its work.
bool OpenMemoryFile(int mode);
bool SaveMemoryFile(int mode);
bool SaveMemoryFileAs(int mode);
bool CloseMemoryFile();
void OnFileOpen();
bool OnFileSave();
void OnFileSaveAs();
// The close by a signal: no one can answer a file dialog, so a list with
// no file name goes into a new file beside qarv.ini (traced).
bool SaveMemoryFileUnattended();
// WM_COMMAND 2528 from the typed-name panel.
void OnMemoryFileName();

void ClearStationList();
// After any change of the list: modified (or not), index rebuilt later.
void StationListChanged(bool modified);

void BuildStationIndex();
void ShowStationName(double mhz);
// The list position of the station on `mhz` (within 500 Hz; among equal
// frequencies the one later in the list), or -1.
int FindIndexedStation(double mhz);
// The largest list that gets an index.
constexpr int kMaxIndexedStations = 29000;

// The station window's operations as the main frame calls them.
void FillStationList();
void TuneNextStation(int stay);

// True when `name` ends in ".rmy" (any case) after at least one character.
bool IsMemoryFileName(const std::string& name);
// `name` as a path: relative names are taken in the working directory.
std::string MemoryFilePath(const std::string& name);
// Sets g_memfilename; false (and a message) when the name does not fit.
bool SetMemoryFileName(const std::string& name);
// The window that owns the file dialogs and message boxes (the main frame).
extern plat::Window* g_memoryowner;

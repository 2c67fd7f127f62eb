// Station memories: the open memory file, its station list and window.
#pragma once
#include <string>

extern int g_memmodified;   // the station list of the open file was changed
extern int g_indexvalid;    // the station frequency index is current
extern int g_stationcount;  // stations in the list
extern std::string g_memfilepath;  // the open memory file

void LoadMemoryFile();
void FillStationList();
void TuneNextStation(int resume);
void BuildStationIndex();
void ShowStationName(double mhz);
void ClearStationList();
void OnFileSave();

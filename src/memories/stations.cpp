#include "memories/stations.h"

int g_memmodified = 0;
int g_indexvalid = 1;
int g_stationcount = 0;
std::string g_memfilepath;

// Built with the station memories.
void LoadMemoryFile() {}
void FillStationList() {}
void TuneNextStation(int) {}
void BuildStationIndex() {}
void ClearStationList() {}
void OnFileSave() {}

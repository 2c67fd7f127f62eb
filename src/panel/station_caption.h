// The radio window's station caption: the name of the station VFO A sits
// on, or 11 blanks. The station memories set it; the panel shows it.
#pragma once
#include <string>

extern std::string g_stationcaption;

// The five transverters TV1..TV5: the band each one covers, its IF and
// crystal correction, its power, and the caption of its band button.
#pragma once
#include <string>

struct Transverter {
    double lower = 0;      // MHz; the entry is in use when above 0.001
    double ifreq = 0;      // MHz
    int crystal = 0;       // Hz
    double upper = 0;      // MHz
    int power = 5;         // watts
    int powerlast = 500;   // never above `power`
    char button[128] = "TVX";
};

extern Transverter g_transverter[5];

inline bool TransverterInUse(const Transverter& tv) { return tv.lower > 0.001; }

// Reads "TV%d LOWER LIMIT" .. "TV%d BUTTON" of all five entries.
void LoadTransverters(const std::string& path);
// Writes the seven keys of every entry in use; an entry not in use gets only
// "TV%d LOWER LIMIT" = "0".
void SaveTransverters(const std::string& path);
// Radio types 4, 13, 20 and 25 (not the Perseus) have 70 cm built in: the
// first entry's unset values stand for it.
void FixTransverterDefaults(int radiotype, int perseus);

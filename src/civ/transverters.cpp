#include "civ/transverters.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/settings_store.h"

Transverter g_transverter[5];

namespace {
std::string Key(int n, const char* what) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "TV%d %s", n + 1, what);
    return buf;
}
std::string Read(int n, const char* what, const char* def, const std::string& path) {
    return ReadIniText("OPERATING STATUS", Key(n, what).c_str(), def, path, 128);
}
void Write(int n, const char* what, const char* fmt, double v, const std::string& path) {
    char buf[64];
    std::snprintf(buf, sizeof buf, fmt, v);
    WriteIniKey("OPERATING STATUS", Key(n, what).c_str(), buf, path);
}
void Write(int n, const char* what, int v, const std::string& path) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%d", v);
    WriteIniKey("OPERATING STATUS", Key(n, what).c_str(), buf, path);
}
}  // namespace

void LoadTransverters(const std::string& path) {
    for (int n = 0; n < 5; ++n) {
        Transverter& tv = g_transverter[n];
        tv.lower = std::atof(Read(n, "LOWER LIMIT", "0", path).c_str());
        tv.ifreq = std::atof(Read(n, "IF", "0", path).c_str());
        tv.crystal = std::atoi(Read(n, "CRYSTAL CORRECTION", "0", path).c_str());
        tv.upper = std::atof(Read(n, "UPPER LIMIT", "0", path).c_str());
        tv.power = std::atoi(Read(n, "POWER", "5", path).c_str());
        tv.powerlast = std::atoi(Read(n, "POWER LAST", "500", path).c_str());
        if (tv.powerlast > tv.power) tv.powerlast = tv.power;
        std::string button = Read(n, "BUTTON", "TVX", path);
        std::snprintf(tv.button, sizeof tv.button, "%s", button.c_str());
    }
}

void SaveTransverters(const std::string& path) {
    for (int n = 0; n < 5; ++n) {
        const Transverter& tv = g_transverter[n];
        if (!TransverterInUse(tv)) {
            WriteIniKey("OPERATING STATUS", Key(n, "LOWER LIMIT").c_str(), "0", path);
            continue;
        }
        Write(n, "LOWER LIMIT", "%f", tv.lower, path);
        Write(n, "IF", "%f", tv.ifreq, path);
        Write(n, "CRYSTAL CORRECTION", tv.crystal, path);
        Write(n, "UPPER LIMIT", "%f", tv.upper, path);
        Write(n, "POWER", tv.power, path);
        Write(n, "POWER LAST", tv.powerlast, path);
        WriteIniKey("OPERATING STATUS", Key(n, "BUTTON").c_str(), tv.button, path);
    }
}

void FixTransverterDefaults(int radiotype, int perseus) {
    if (perseus || !(radiotype == 4 || radiotype == 13 || radiotype == 20 || radiotype == 25)) return;
    Transverter& tv = g_transverter[0];
    if (TransverterInUse(tv)) return;  // the operator set it up
    tv.lower = 430;
    if (tv.ifreq <= 0.001) tv.ifreq = 430;
    if (tv.upper <= 0.001) tv.upper = 450;
    if (tv.power == 5) tv.power = 100;
    std::snprintf(tv.button, sizeof tv.button, "70");
}

// Helpers of the settings tests: run the start-up reads and the close-time
// save in the test's working directory, and read an ini text back section by
// section, keys in file order.
#pragma once

#include <fstream>
#include <string>
#include <utility>
#include <vector>
#include <sstream>

#include "app/settings_load.h"
#include "base/trace_log.h"
#include "common/test_dir.h"
#include "platform/files.h"
#include "platform/profile.h"

using IniSection = std::pair<std::string, std::vector<std::pair<std::string, std::string>>>;

inline std::vector<IniSection> ParseIni(const std::string& text) {
    std::vector<IniSection> out;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '[') {
            out.push_back({line.substr(1, line.find(']') - 1), {}});
            continue;
        }
        auto eq = line.find('=');
        if (eq == std::string::npos || out.empty()) continue;
        out.back().second.push_back({line.substr(0, eq), line.substr(eq + 1)});
    }
    return out;
}

inline const IniSection* FindSection(const std::vector<IniSection>& ini, const std::string& name) {
    for (const IniSection& s : ini)
        if (s.first == name) return &s;
    return nullptr;
}

inline std::string IniValue(const std::vector<IniSection>& ini, const std::string& section, const std::string& key) {
    if (const IniSection* s = FindSection(ini, section))
        for (const auto& [k, v] : s->second)
            if (k == key) return v;
    return "<missing>";
}

inline void LoadAll() {
    plat::ProfileFlushCache();
    LoadSettings(SettingsPathFor(plat::GetCurrentDir()));
}

inline std::vector<std::string> SaveTraced() {
    g_trace = 3;
    OpenTraceFile();
    saveoper();
    EndTraceFile();
    CloseTraceStream();
    plat::ProfileFlushCache();
    std::vector<std::string> lines;
    std::ifstream in("comms.txt");
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.size() > 6) lines.push_back(line.substr(6));  // drop the tick stamp
    }
    return lines;
}

// The close-time save, then the file it left, parsed.
inline std::vector<IniSection> SaveAndReadBack(const TestDir& dir) {
    SaveTraced();
    return ParseIni(dir.read("qarv.ini"));
}

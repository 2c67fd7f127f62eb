#include "memories/station_cdf.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/memory_options.h"
#include "base/settings_store.h"
#include "base/trace_log.h"
#include "civ/band_table.h"
#include "civ/radio_models.h"
#include "memories/memory_file_panel.h"
#include "memories/stations.h"
#include "panel/filter_table.h"
#include "platform/dialog.h"
#include "platform/message_box.h"
#include "platform/profile.h"
#include "platform/types.h"

namespace {
constexpr int kNamedFilters = 41;

std::string NoCommas(const std::string& text) {
    std::string out = text;
    for (char& c : out)
        if (c == ',') c = ' ';
    return out;
}

std::string Fixed(double mhz) {
    char buf[48];
    std::snprintf(buf, sizeof buf, "%9.6f", mhz);
    return buf;
}


int NamedCount() { return g_filtercount > 0 && g_filtercount < kNamedFilters ? g_filtercount : kNamedFilters; }

}  // namespace

bool HasNamedFilters() { return ModelCap(g_hasfilterwidth) != 0; }

bool UsesAmFilterNames(const std::string& modeWord) {
    return ModelCap(g_hasamfmwidth) && (modeWord == "AM" || modeWord == "SAM" || modeWord == "FM");
}

std::string CdfFilterField(const std::string& word) {
    const std::size_t blank = word.find(' ');
    const std::string token = word.substr(0, std::min<std::size_t>(blank == std::string::npos ? word.size() : blank, 10));
    // A width in kHz goes out in Hz, so "10.0 kHz " and "1.0 kHz " stay apart.
    if (blank != std::string::npos && word.compare(blank + 1, 3, "kHz") == 0) {
        char* end = nullptr;
        const double khz = std::strtod(token.c_str(), &end);
        if (end != token.c_str() && *end == '\0' && khz >= 0 && khz < 1000) return std::to_string(int(khz * 1000 + 0.5));
    }
    std::string out;
    for (char c : token)
        if (c != '.') out += c;
    if (token.find('.') != std::string::npos && token.size() < 5)
        while (out.size() < 4) out += '0';
    return out;
}

std::string CdfLine(const CStation& s) {
    std::string line = NoCommas(s.name) + "," + Fixed(s.frequency) + "," + NoCommas(s.mode) + "," +
                       NoCommas(CdfFilterField(s.filter)) + "," + NoCommas(s.country) + "," + NoCommas(s.language);
    if (s.frequency2 > 0.0001) line += "," + Fixed(s.frequency2);
    return line;
}

std::string ImportFilterWord(const std::string& field, const std::string& modeWord) {
    int n = std::atoi(field.c_str());
    if (n == 0) n = 6000;
    if (n > 0 && n < 10) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%1.2f", std::atof(field.c_str()) * 1000);
        n = std::atoi(buf);
    }
    if (!HasNamedFilters()) {
        // Numbered filters keep their word; anything else is the middle one.
        const int k = field.size() == 4 && field.compare(0, 3, "FIL") == 0 ? field[3] - '0' : 0;
        return k >= 1 && k <= g_filtercount && k <= 9 ? field : "FIL2";
    }
    const bool am = UsesAmFilterNames(modeWord);
    const int count = NamedCount();
    int row = count;
    if (n >= 16000 || n >= FilterWidthHz(1, am)) {
        row = 1;
    } else {
        for (int i = 2; i <= count; ++i)
            if (FilterWidthHz(i, am) <= n && FilterWidthHz(i - 1, am) > n) {
                row = i;
                break;
            }
    }
    return FilterCaption(row, am);
}

bool ParseCdfLine(const std::string& line, CStation& s) {
    if (line.compare(0, 4, "Bank") == 0 || line.compare(0, 5, "Clear") == 0) return false;
    const std::vector<std::string> f = SplitCdfFields(line);
    auto field = [&f](std::size_t i) { return i < f.size() ? f[i] : std::string(); };
    s = CStation{};
    s.language.clear();
    s.mode.clear();
    s.frequency = 0;
    s.name = field(0);
    const bool radioMemory = s.name.compare(0, 6, "Memory") == 0;
    s.frequency = std::atof(field(1).c_str());
    if (CheckCoverage(s.frequency) != 0) return false;
    s.mode = field(2);
    s.filter = ImportFilterWord(field(3), s.mode);
    if (radioMemory && ModelCap(g_hasmembanks))
        s.name = field(4);
    else
        s.country = field(4);
    s.language = field(5);
    s.frequency2 = std::atof(field(6).c_str());
    return true;
}

std::string SkippedLinesText(const std::vector<int>& lines, int stoppedAt) {
    const std::string stopped =
        stoppedAt > 0 ? "The read stopped at line " + std::to_string(stoppedAt) + ": it is too long." : "";
    if (lines.empty()) return stopped;
    constexpr std::size_t kShown = 5;
    std::string text = std::to_string(lines.size()) + (lines.size() == 1 ? " line was" : " lines were") +
                       " skipped: " + (lines.size() == 1 ? "line " : "lines ");
    for (std::size_t i = 0; i < lines.size() && i < kShown; ++i) text += (i ? ", " : "") + std::to_string(lines[i]);
    if (lines.size() > kShown) text += " and more";
    text += ".\nA line is skipped when its frequency is missing or outside the radio's range.";
    return stopped.empty() ? text : text + "\n" + stopped;
}

void ReportSkippedLines(const std::string& caption, const std::vector<int>& lines, int stoppedAt) {
    if (lines.empty() && stoppedAt <= 0) return;
    WriteTracef("%s: %zu lines skipped, stopped at %d", caption.c_str(), lines.size(), stoppedAt);
    plat::MessageBox(g_memoryowner, SkippedLinesText(lines, stoppedAt), caption, plat::MB_OK | plat::MB_ICONEXCLAMATION);
}

bool ExportCdf(int mode, const std::string& typed) {
    std::string path;
    if (!PickFileName(mode, false, "cdf", kCdfFilter, typed, path, kOpExport)) return false;
    std::string text;
    for (const CStation& s : g_stationlist) text += CdfLine(s) + "\n";
    if (!plat::WriteFileAtomic(MemoryFilePath(path), text)) {
        plat::MessageBox(g_memoryowner, "ERROR: Access to File Denied\n" + path, "CFileException",
                         plat::MB_OK | plat::MB_ICONEXCLAMATION);
        return false;
    }
    return true;
}

bool ImportCdf(int mode, const std::string& typed) {
    WriteTrace("import 1");
    if (g_memmodified && !CloseMemoryFile()) return false;
    std::string path;
    if (!PickFileName(mode, true, "cdf", kCdfFilter, typed, path, kOpImport)) return false;
    WriteTrace("import 2");
    auto text = plat::ReadWholeFile(MemoryFilePath(path));
    if (!text) {
        plat::MessageBox(g_memoryowner, "Unable to locate file: " + path, "Error- File Not Found", plat::MB_OK);
        return false;
    }
    WriteTrace("import 3");
    StationList list;
    std::vector<int> skipped;
    std::size_t start = 0;
    int lineNo = 0;
    while (start < text->size()) {
        std::size_t end = text->find_first_of("\r\n", start);
        if (end == std::string::npos) end = text->size();
        const std::string line = text->substr(start, end - start);
        // CR LF is one line end.
        start = end + (text->compare(end, 2, "\r\n") == 0 ? 2 : 1);
        ++lineNo;
        CStation s;
        if (line.empty()) continue;
        if (ParseCdfLine(line, s)) list.push_back(std::move(s));
        // Bank and clear lines of a radio-memory file hold no station.
        else if (line.compare(0, 4, "Bank") != 0 && line.compare(0, 5, "Clear") != 0) skipped.push_back(lineNo);
    }
    ClearStationList();
    g_stationlist = std::move(list);
    SetMemoryFileName(kNoName);  // the list is no longer an .rmy file
    WriteTracef("import 23 %zu stations", g_stationlist.size());
    StationListChanged(true);
    FillStationList();
    ReportSkippedLines("Import", skipped);
    return true;
}

int GetMemoryFilterIndex(const std::string& word, bool amTable) {
    WriteTrace("mem Filter");
    WriteTracef("text %s, length %d", word.c_str(), int(word.size()));
    int index;
    if (HasNamedFilters()) {
        WriteTrace("mem Filter1");
        index = 0;
        for (int i = 1; i <= NamedCount(); ++i)
            if (FilterCaption(i, amTable) == word) {
                index = i;
                break;
            }
    } else {
        WriteTrace("mem Filter2");
        index = word == "FIL1" ? 1 : word == "FIL3" ? 3 : 2;
    }
    WriteTracef("Mem filter %d", index);
    return index;
}

std::vector<std::string> SplitCdfFields(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = line.find(',', start);
        fields.push_back(line.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return fields;
}

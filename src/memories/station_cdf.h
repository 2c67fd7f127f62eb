// Export and import of the station list as comma-separated "*.cdf" text,
// and the filter word to filter index rule of recall.
#pragma once
#include <string>
#include <vector>

#include "memories/station.h"

// The comma-separated fields of a .cdf line (a missing field is empty).
std::vector<std::string> SplitCdfFields(const std::string& line);

constexpr const char* kCdfFilter = "Memory Files(*.cdf)|*.cdf|All files(*.*)|*.*||";

// File > Export / Import. Mode 1 asks for the name; mode 2 uses `path`
// (the typed name). Neither changes the memory file's name to the .cdf.
bool ExportCdf(int mode, const std::string& path = "");
bool ImportCdf(int mode, const std::string& path = "");

// One export line (without the line end).
std::string CdfLine(const CStation& s);
// The export's filter field: Hz for a "n.n kHz" word, else the word up to
// its first blank without '.'.
std::string CdfFilterField(const std::string& word);
// The filter word an imported field gives for the station's mode word.
std::string ImportFilterWord(const std::string& field, const std::string& modeWord);
// A station from one import line; false for lines that hold none (bank and
// clear lines, lines without a frequency the radio covers).
bool ParseCdfLine(const std::string& line, CStation& s);

// The operator's note on the lines of a file that a read left out: how many
// and the first few line numbers (1 = the first line). Empty for none.
// `stoppedAt`: the line at which the read gave up (too long), or 0.
std::string SkippedLinesText(const std::vector<int>& lines, int stoppedAt = 0);
// Shows that note in a message box with `caption`; nothing when all was read.
void ReportSkippedLines(const std::string& caption, const std::vector<int>& lines, int stoppedAt = 0);

// The radio's filter index for a filter word (0 when a named filter is not
// in the model's table).
int GetMemoryFilterIndex(const std::string& word, bool amTable = false);
// True when the model names its filters by width; the AM names apply for
// `modeWord` "AM", "SAM" or "FM" on models with two tables.
bool HasNamedFilters();
bool UsesAmFilterNames(const std::string& modeWord);

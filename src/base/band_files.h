// The operator's band data files in the working directory, read once at
// start-up and never written:
//   "bands.dat"    named ranges the frequency scale shows,
//   "foreign.dat"  the privileges of licence class 4 ("Foreign"),
//   "ssbrtty.dat"  the RTTY and SSB segments the automatic mode choice uses.
// Each line is "name,low,high" (MHz); the low edge follows one or more commas,
// the high edge one or more blanks or commas. Lines that do not parse are
// skipped. The parsers take the file text so they can be fed anything.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "base/band_plan.h"

// One named band of "bands.dat".
class CBandObj {
public:
    double low = 10.0;   // MHz
    double high = 10.0;  // MHz
    std::string name = "NAME HERE";
};

// The bands of "bands.dat" in file order; the frequency scale walks them.
extern std::vector<CBandObj> g_bandlist;

struct FreqSegment {
    double low;   // MHz
    double high;  // MHz
};

constexpr int kMaxSegments = 29;

// A fixed list of up to 29 segments.
struct SegmentList {
    FreqSegment seg[kMaxSegments] = {};
    int count = 0;
    bool Full() const { return count >= kMaxSegments; }
};

extern SegmentList g_rttysegments;
extern SegmentList g_ssbsegments;

// Only the first 255 characters of a line count; the rest of it is dropped.
constexpr std::size_t kBandLineMax = 255;
// Files are read up to this size; the last line cut by it is dropped.
constexpr std::size_t kBandFileMaxBytes = 1u << 20;

// One parsed line. The edges are read in single precision and widened, so an
// edge keeps about seven significant digits.
struct BandLine {
    std::string name;
    double low = 0.0;
    double high = 0.0;
};

// Parses one line (without its line end). False when a field is missing, the
// name is empty or an edge is not a finite number.
bool ParseBandLine(std::string_view line, BandLine& out);

// Whole-file parsers; none of them touches the program's state.
std::vector<CBandObj> ParseBandsText(std::string_view text);
// Fills up to 29 rows from the text and ends the class after them. Returns
// the number of rows filled.
int ParseForeignText(std::string_view text, BandPlanClass& rows);
// Fills the two lists; each stops taking pairs when it is full, without
// cutting the other short.
void ParseSegmentText(std::string_view text, SegmentList& rtty, SegmentList& ssb);

// True when `mhz` lies within one of the list's segments (edges included).
bool SegmentListHolds(const SegmentList& list, double mhz);

// Puts "ssbrtty.new" and "foreign.new" in place of a missing "ssbrtty.dat"
// and "foreign.dat"; a file that exists is never replaced.
void RenameNewDataFiles();
// Reads "bands.dat" into g_bandlist, then loads "foreign.dat" and
// "ssbrtty.dat" (each file on its own, so a missing one costs only its own
// contents). Returns the number of bands read, or -1 when "bands.dat" could
// not be opened.
int LoadBandFiles();
// Fills class 4 of g_bandplan from "foreign.dat"; a missing file leaves it empty.
void LoadForeignPlan();
// Fills g_rttysegments and g_ssbsegments from "ssbrtty.dat".
void LoadSegmentLists();
// Empties g_bandlist.
void FreeBandList();

#include "base/band_files.h"

#include <charconv>
#include <cmath>
#include <optional>

#include "base/trace_log.h"
#include "platform/files.h"
#include "platform/profile.h"

std::vector<CBandObj> g_bandlist;
SegmentList g_rttysegments;
SegmentList g_ssbsegments;

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

// One edge as C's "%f" reads it (leading blanks skipped, optional sign), but
// always in C notation: the toolkit switches the process to the user's
// locale, where "14.350" could otherwise read as 14.
bool ReadEdge(std::string_view s, std::size_t& pos, double& out) {
    while (pos < s.size() && IsBlank(s[pos])) ++pos;
    if (pos < s.size() && s[pos] == '+') {
        ++pos;
        if (pos < s.size() && (s[pos] == '+' || s[pos] == '-')) return false;
    }
    float v = 0.0f;
    auto [end, ec] = std::from_chars(s.data() + pos, s.data() + s.size(), v);
    if (ec != std::errc{} || !std::isfinite(v)) return false;
    pos = static_cast<std::size_t>(end - s.data());
    // Single precision widened, as the edges have always been held.
    out = static_cast<double>(v);
    return true;
}

template <typename Fn>
void ForEachLine(std::string_view text, Fn&& fn) {
    while (!text.empty()) {
        std::size_t nl = text.find('\n');
        std::string_view line = text.substr(0, nl);
        text = nl == std::string_view::npos ? std::string_view{} : text.substr(nl + 1);
        // false: stop reading.
        if (!fn(line)) return;
    }
}

template <typename Fn>
void ForEachBandLine(std::string_view text, Fn&& fn) {
    ForEachLine(text, [&](std::string_view line) {
        BandLine b;
        return ParseBandLine(line, b) ? fn(b) : true;
    });
}

// The file's text, or nullopt when it cannot be opened. An oversized file is
// read up to the limit, less the line the limit cuts.
std::optional<std::string> ReadBandFile(const char* name) {
    auto text = plat::ReadWholeFile(name, kBandFileMaxBytes + 1);
    if (text && text->size() > kBandFileMaxBytes) {
        WriteTracef("%s is larger than %zu bytes, reading only its start", name, kBandFileMaxBytes);
        text->resize(kBandFileMaxBytes);
        std::size_t nl = text->rfind('\n');
        text->resize(nl == std::string::npos ? 0 : nl + 1);
    }
    return text;
}

void AddSegment(SegmentList& list, const BandLine& b) {
    if (list.Full()) return;
    list.seg[list.count++] = {b.low, b.high};
}

}  // namespace

bool ParseBandLine(std::string_view line, BandLine& out) {
    // A line holds what a C string would hold, up to its length limit.
    line = line.substr(0, line.find('\0'));
    line = line.substr(0, kBandLineMax);
    std::size_t comma = line.find(',');
    if (comma == std::string_view::npos || comma == 0) return false;
    std::size_t pos = comma;
    while (pos < line.size() && line[pos] == ',') ++pos;
    double low = 0.0, high = 0.0;
    if (!ReadEdge(line, pos, low)) return false;
    std::size_t sep = pos;
    while (pos < line.size() && (line[pos] == ' ' || line[pos] == ',')) ++pos;
    if (pos == sep) return false;
    if (!ReadEdge(line, pos, high)) return false;
    out.name.assign(line.substr(0, comma));
    out.low = low;
    out.high = high;
    return true;
}

std::vector<CBandObj> ParseBandsText(std::string_view text) {
    std::vector<CBandObj> bands;
    ForEachBandLine(text, [&](const BandLine& b) {
        CBandObj band;
        band.name = b.name;
        band.low = b.low;
        band.high = b.high;
        bands.push_back(std::move(band));
        return true;
    });
    return bands;
}

int ParseForeignText(std::string_view text, BandPlanClass& rows) {
    rows = {};
    int n = 0;
    ForEachBandLine(text, [&](const BandLine& b) {
        std::uint8_t phone = (b.name[0] == 'P' || b.name[0] == 'p') ? 1 : 0;
        rows[n++] = {b.low, b.high, phone};
        // One row stays free to end the class.
        return n < kBandPlanRows - 1;
    });
    rows[n] = {0.0, 0.0, 0};
    return n;
}

void ParseSegmentText(std::string_view text, SegmentList& rtty, SegmentList& ssb) {
    rtty = {};
    ssb = {};
    ForEachBandLine(text, [&](const BandLine& b) {
        if (b.name.starts_with("RTTY"))
            AddSegment(rtty, b);
        else if (b.name.starts_with("SSB"))
            AddSegment(ssb, b);
        // A full list only drops its own later lines.
        return !(rtty.Full() && ssb.Full());
    });
}

bool SegmentListHolds(const SegmentList& list, double mhz) {
    for (int i = 0; i < list.count && i < kMaxSegments; ++i)
        if (list.seg[i].low <= mhz && mhz <= list.seg[i].high) return true;
    return false;
}

void RenameNewDataFiles() {
    static constexpr const char* kPairs[][2] = {{"ssbrtty.new", "ssbrtty.dat"}, {"foreign.new", "foreign.dat"}};
    // Rename would replace an existing file here, so only a missing one is
    // filled; the operator's edited files stay as they are.
    for (const auto& pair : kPairs)
        if (!plat::FileExists(pair[1])) plat::RenameFile(pair[0], pair[1]);
}

int LoadBandFiles() {
    int count = -1;
    if (auto text = ReadBandFile("bands.dat")) {
        g_bandlist = ParseBandsText(*text);
        count = static_cast<int>(g_bandlist.size());
    }
    // The other two files do not depend on this one: without them class 4
    // would forbid every frequency and the automatic mode choice would stop.
    LoadForeignPlan();
    LoadSegmentLists();
    return count;
}

void LoadForeignPlan() {
    auto text = ReadBandFile("foreign.dat");
    ParseForeignText(text ? *text : std::string_view{}, g_bandplan[kForeignClass]);
}

void LoadSegmentLists() {
    auto text = ReadBandFile("ssbrtty.dat");
    ParseSegmentText(text ? *text : std::string_view{}, g_rttysegments, g_ssbsegments);
}

void FreeBandList() { g_bandlist.clear(); }

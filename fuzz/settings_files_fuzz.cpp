// Arbitrary text as a settings file and as the three band files. The ini
// document must settle after one write, keep its lines and never read past
// its input; the band parsers must stay inside their bounded lists.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "base/band_files.h"
#include "platform/profile.h"

namespace {
void Check(bool ok) {
    if (!ok) std::abort();
}

void FuzzIni(const std::string& text) {
    plat::IniDocument doc;
    doc.Parse(text);
    // Line ends are normalised by the first write (a stray CR can make an LF
    // file look like a CR LF one); from then on a round trip changes nothing.
    plat::IniDocument second;
    second.Parse(doc.Serialize());
    const std::string settled = second.Serialize();
    plat::IniDocument third;
    third.Parse(settled);
    Check(third.Serialize() == settled);
    // A key written is read back trimmed, whatever surrounds it.
    doc.Set("OPERATING STATUS", "FUZZ KEY", "value 1");
    auto v = doc.Get("operating status", "fuzz key");
    Check(v.has_value() && *v == "value 1");
    doc.Set("NEW SECTION", "K", "");
    Check(doc.Get("new section", "k").has_value());
}

void FuzzBandFiles(std::string_view text) {
    auto bands = ParseBandsText(text);
    for (const auto& b : bands) Check(b.name.size() < 256);
    BandPlanClass rows{};
    int n = ParseForeignText(text, rows);
    Check(n >= 0 && n < int(rows.size()));
    SegmentList rtty{}, ssb{};
    ParseSegmentText(text, rtty, ssb);
    Check(rtty.count >= 0 && rtty.count <= kMaxSegments && ssb.count >= 0 && ssb.count <= kMaxSegments);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    FuzzIni(text);
    FuzzBandFiles(text);
    return 0;
}

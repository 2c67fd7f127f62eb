// Arbitrary bytes as a memory file. The reader must never read past its
// input and either refuse the file or give a list that writes back to a
// file reading as the same list.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "memories/station_archive.h"

namespace {
void Check(bool ok) {
    if (!ok) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    StationList list;
    std::string error;
    if (!ReadStationArchive(bytes, list, error)) {
        Check(!error.empty() && list.empty());
        return 0;
    }
    const std::string written = WriteStationArchive(list);
    StationList again;
    Check(ReadStationArchive(written, again, error));
    Check(again.size() == list.size());
    Check(WriteStationArchive(again) == written);
    return 0;
}

// A stand-in callsign database library for the lookup tests: a few calls
// with fixed records, and the faults a real library may show.
#include <cstring>
#include <string>

namespace {
std::string g_lastpath;

int Put(const std::string& record, int size, char* buffer) {
    const int n = int(record.size()) < size ? int(record.size()) : size;
    std::memcpy(buffer, record.data(), std::size_t(n));
    return int(record.size());
}
}  // namespace

extern "C" {
const char* LastLookupPath() { return g_lastpath.c_str(); }

int LookupCallSign(const char* path, const char* call, int size, char* buffer) {
    g_lastpath = path;
    if (g_lastpath.find("nodb") != std::string::npos) return -2;
    const std::string c = call;
    if (c == "W1AW")
        return Put("W1AW \xB6" "E\xB7" "C\xB8" "HIRAM\xB9" "P\xBA" "MAXIM\xBC" "225 MAIN ST\xBF" "NEWINGTON\xC0" "CT\xC1" "06111",
                   size, buffer);
    if (c == "K1X") return Put("K1X \xB7X\xBA" "SMITH\xBC" "1 ELM ST", size, buffer);
    // Claims more than it was given room for.
    if (c == "LONG") {
        std::memset(buffer, 'A', std::size_t(size));
        return 100000;
    }
    if (c == "IDX") return -3;
    return -1;
}
}

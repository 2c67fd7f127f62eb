#include "platform/resident_memory.h"

#include <malloc.h>
#include <sys/mman.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

namespace plat {
namespace {

struct Mapping {
    unsigned long start = 0, end = 0;
    bool candidate = false;  // read-only, backed by a file
    long changed = -1;       // pages of it the process has written (copied on write)
};

void ReleaseIfClean(const Mapping& m) {
    // A page copied on write (relocated constants, a debugger's breakpoint)
    // would be lost: such a mapping stays as it is.
    if (!m.candidate || m.changed != 0 || m.end <= m.start) return;
    madvise(reinterpret_cast<void*>(m.start), m.end - m.start, MADV_DONTNEED);
}

}  // namespace

std::size_t ResidentBytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::size_t(std::strtoul(line.c_str() + 6, nullptr, 10)) * 1024;
    return 0;
}

std::size_t TrimResidentMemory() {
    const std::size_t before = ResidentBytes();
    malloc_trim(0);
    std::ifstream smaps("/proc/self/smaps");
    std::string line;
    Mapping m;
    while (std::getline(smaps, line)) {
        unsigned long a = 0, b = 0;
        char perms[8] = {};
        char path[512] = {};
        if (std::sscanf(line.c_str(), "%lx-%lx %7s %*s %*s %*s %511s", &a, &b, perms, path) >= 3 &&
            line.find(':') > line.find(' ')) {
            ReleaseIfClean(m);
            m = Mapping{a, b, false, -1};
            m.candidate = (std::strcmp(perms, "r-xp") == 0 || std::strcmp(perms, "r--p") == 0) && path[0] == '/';
            continue;
        }
        long kb = 0;
        if (std::sscanf(line.c_str(), "Anonymous: %ld", &kb) == 1) m.changed = m.changed < 0 ? kb : m.changed + kb;
        else if (std::sscanf(line.c_str(), "Private_Dirty: %ld", &kb) == 1) m.changed = m.changed < 0 ? kb : m.changed + kb;
    }
    ReleaseIfClean(m);
    const std::size_t after = ResidentBytes();
    return before > after ? before - after : 0;
}

}  // namespace plat

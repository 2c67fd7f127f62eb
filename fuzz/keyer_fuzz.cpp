// Arbitrary bytes from the serial keyer, in arbitrary read splits, in both
// start-up states and with every reading option: the echo line, the counts
// and the CW ring must stay in range whatever the keyer sends.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "base/device_options.h"
#include "base/panel_options.h"
#include "base/trace_log.h"
#include "civ/civ_options.h"
#include "devices/cw_keyboard.h"
#include "devices/keyer.h"
#include "devices/remote_link.h"

namespace {
void Check(bool ok) {
    if (!ok) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    static std::vector<std::uint8_t> ring(kCwRingSize, 0);
    g_trace = 0;
    g_cwring = ring.data();
    g_cwget = data[0] % kCwRingSize;
    g_cwput = (data[0] * 7) % kCwRingSize;
    g_cwecholine[0] = '\0';
    const std::uint8_t mode = data[1];
    g_keyertype = (mode & 1) ? 1 : 2;
    g_nospeedpot = (mode >> 1) & 1;
    g_client = (mode >> 2) & 1;
    g_keyerstate = (mode >> 3) & 1;
    g_cwclearonbreakin = (mode >> 4) & 1;
    g_wordsend = (mode >> 5) & 1;
    g_yaltpause = (mode >> 6) & 1;
    g_yaltbreakin = 0;
    g_yaltinflight = 0;
    g_cwfilename[0] = '\0';
    std::size_t at = 2;
    while (at < size) {
        const std::size_t n = 1 + data[at] % 100;
        ++at;
        const std::size_t take = n < size - at ? n : size - at;
        ProcessKeyerBytes(data + at, int(take));
        at += take;
        Check(std::strlen(g_cwecholine) <= std::size_t(kCwEchoLength));
        Check(g_yaltinflight >= 0);
        Check(g_cwget >= 0 && g_cwget < kCwRingSize && g_cwput >= 0 && g_cwput < kCwRingSize);
        Check(g_keyerks >= 0 && g_keyerks <= 0x3F);
    }
    return 0;
}

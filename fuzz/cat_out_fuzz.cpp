// Arbitrary client bytes in arbitrary read splits through the CAT-out
// parser with its carry, and the same bytes through the Perseus link's frame
// reader. The carry must stay within its buffer whatever arrives, and every
// set parser must refuse what is not exactly its form.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "base/trace_log.h"
#include "civ/frequency_state.h"
#include "devices/cat_commands.h"
#include "devices/cat_out.h"

namespace {
void Check(bool ok) {
    if (!ok) std::abort();
}

void CheckSets(const CatBatch& b) {
    for (const CatCommand& c : b.commands) {
        const std::string& t = c.text;
        Check(c.kind >= 0 && c.kind < kCatKinds);
        Check(t.size() >= 3 && t.back() == ';');
        const long long hz = CatSetHz(t);
        Check(hz == -1 || (t.size() == 14 && hz >= 0 && hz <= 99999999999LL));
        const int d = CatSetDigit(t);
        Check(d == -1 || (t.size() == 4 && d >= 0 && d <= 9));
        const int p = CatPowerSet(t);
        Check(p == -1 || (t.size() == 6 && p >= 0 && p <= 999));
    }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    g_trace = 0;
    if (size < 1) return 0;
    // The first byte chooses the read lengths.
    const unsigned seed = data[0];
    ++data;
    --size;

    std::uint8_t carry[kThpCarrySize];
    int carrylen = 0;
    std::size_t pos = 0;
    unsigned r = seed;
    while (pos < size) {
        r = r * 1103515245u + 12345u;
        std::size_t chunk = 1 + (r >> 16) % 64;
        if (chunk > size - pos) chunk = size - pos;
        if (chunk > std::size_t(kThpReadSize - carrylen)) chunk = std::size_t(kThpReadSize - carrylen);
        std::uint8_t buf[kThpReadSize];
        std::memcpy(buf, carry, std::size_t(carrylen));
        std::memcpy(buf + carrylen, data + pos, chunk);
        const int total = carrylen + int(chunk);
        pos += chunk;

        CatBatch batch;
        const int tail = ParseTHPCommands(buf, total, &batch);
        Check(tail >= 0 && tail <= kThpMaxTail && tail <= total);
        CheckSets(batch);
        std::memcpy(carry, buf + total - tail, std::size_t(tail));
        carrylen = tail;
    }

    // The Perseus reader on whole and split input.
    g_tuning = 0;
    const int whole = size > std::size_t(kThpReadSize) ? kThpReadSize : int(size);
    const int rest = ReadPerseus(data, whole);
    Check(rest >= 0 && rest <= kThpCarrySize && rest <= whole);
    return 0;
}

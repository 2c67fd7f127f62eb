// Arbitrary bytes in arbitrary read splits through the keypad pod's and the
// FlexControl's readers. Whatever arrives, the carries stay within one
// record, every key record taken is whole, counts stay within 16 bits, and
// the key-event processor never reads past its buffer.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "base/trace_log.h"
#include "devices/flex_knob.h"
#include "devices/key_events.h"
#include "devices/keypad_pod.h"

namespace {
void Check(bool ok) {
    if (!ok) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    g_trace = 0;
    PodParser pod;
    FlexParser flex;
    std::size_t pos = 0;
    while (pos < size) {
        // The first byte of each piece says how long the read is.
        const std::size_t len = std::min<std::size_t>(size - pos, std::size_t(data[pos] % 64) + 1);
        const std::uint8_t* piece = data + pos;
        pos += len;
        PodRecords records;
        pod.Feed(piece, int(len), records);
        Check(pod.Carried() >= 0 && pod.Carried() <= 4);
        Check(records.keys.size() % 3 == 0);
        for (std::size_t i = 0; i < records.keys.size(); i += 3)
            Check(records.keys[i] == 'U' && records.keys[i + 2] == '\r');
        Check(records.knobSum >= -32767 && records.knobSum <= 32767);
        const int step = PodKnobStep(records, 1000);
        Check(step >= -32767 && step <= 32767);
        FlexTokens tokens;
        flex.Feed(piece, int(len), tokens);
        Check(flex.Carried() >= 0 && flex.Carried() <= 3);
        Check(tokens.count >= -32767 && tokens.count <= 32767);
        // The processor stops at the end of what it was given.
        std::vector<std::uint8_t> copy(piece, piece + len);
        const int end = ProcessKeyEvents(copy.data(), int(copy.size()), 0);
        Check(end >= 0 && end <= int(copy.size()));
    }
    return 0;
}

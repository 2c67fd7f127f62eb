// Arbitrary device bytes in arbitrary read splits through every accessory
// reader, each with its own carry the way the device poll keeps it. No
// reader may read or write past its buffer, or leave a carry it cannot
// grow out of.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "base/device_options.h"
#include "base/trace_log.h"
#include "civ/civ_options.h"
#include "civ/radio_init.h"
#include "civ/radio_models.h"
#include "devices/amplifiers.h"
#include "devices/device_port.h"
#include "devices/external_meters.h"
#include "devices/rotator.h"
#include "devices/tuner.h"

namespace {
void Check(bool ok) {
    if (!ok) std::abort();
}

using Parser = int (*)(std::uint8_t*, int);

int ParseLines(std::uint8_t* b, int n) {
    ParsePgxlReply(b, n);
    ParseTavnRG(b, n);
    std::uint8_t out[9];
    ZunAnswer(b, n, out);
    ProcessZunChars(b, n);
    return 0;
}

std::uint8_t g_image[kLdgImageSize];
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    g_trace = 0;
    g_myaddr = 0xE0;
    g_ldgimage = g_image;
    g_m2rotor = data[0] & 3;
    g_wattmetertype = (data[0] >> 2) & 1 ? 3 : 1;
    g_tunerstate = (data[0] >> 3) & 1 ? 3 : 0;
    g_vfoafreq = 1.0 + (data[1] % 60);
    const Parser parsers[] = {ParseA87, ParsePW1, ParseOM4, ParseLdg, ParseRotor, ParsePowerMaster, ParseLp100,
                              ParseLines};
    for (Parser parse : parsers) {
        DeviceCarry rx;
        std::size_t at = 2;
        while (at < size) {
            if (rx.len >= DeviceCarry::kSize) rx.len = 0;
            // Read sizes come from the input too.
            std::size_t chunk = 1 + data[at] % 40;
            ++at;
            if (at + chunk > size) chunk = size - at;
            const int room = DeviceCarry::kSize - rx.len;
            const int n = int(chunk) < room ? int(chunk) : room;
            std::memcpy(rx.buf + rx.len, data + at, std::size_t(n));
            at += chunk;
            rx.len = parse(rx.buf, rx.len + n);
            Check(rx.len >= 0 && rx.len <= DeviceCarry::kSize);
        }
    }
    return 0;
}

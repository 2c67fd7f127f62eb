#include "devices/band_decoder.h"

#include "base/trace_log.h"
#include "civ/accessory_ports.h"
#include "civ/civ_options.h"
#include "civ/frequency_state.h"
#include "devices/switches.h"

namespace {

struct Row {
    double below;
    BandData data;
};
constexpr Row kHf[] = {
    {2, {1, 0x01}},  {4, {2, 0x20}},  {8, {3, 0x21}},  {12, {4, 0x40}}, {16, {5, 0x41}},
    {20, {6, 0x60}}, {23, {7, 0x61}}, {26, {8, 0x80}}, {30, {9, 0x81}},
};
constexpr BandData kHfAbove{10, 0xA0};
constexpr Row kVhf[] = {
    {0.2, {1, 0x01}}, {30, {2, 0x20}}, {55, {3, 0x21}}, {149, {4, 0x40}},
};
constexpr BandData kVhfAbove{9, 0x81};
constexpr int kDataRegister = 888;

int g_lastband = -1;
int g_output = 0;

}  // namespace

BandData BandDataFor(int scheme, double mhz) {
    if (scheme == 2) {
        for (const Row& r : kVhf)
            if (mhz < r.below) return r.data;
        return kVhfAbove;
    }
    for (const Row& r : kHf)
        if (mhz < r.below) return r.data;
    return kHfAbove;
}

void SendBandData() {
    if (g_pegportsel != 1 && g_pegportsel != 2) return;
    const double f = g_split ? g_vfobfreq : g_vfoafreq;
    const BandData d = BandDataFor(g_pegportsel, f);
    if (d.band == g_lastband) return;
    g_lastband = d.band;
    g_output = (g_output & ~0xFF) | d.value;
    WriteBandData(kDataRegister, g_output);
}

void WriteBandData(int port, int value) {
    if (g_bandparallel && g_porttalkok) outportb(port, std::uint8_t(value));
    if (g_bcdport[0] != plat::kInvalidPort) {
        SetRTS((value & 0x08) != 0, g_bcdport[0]);
        SetDTR((value & 0x10) != 0, g_bcdport[0]);
    }
    if (g_bcdport[1] != plat::kInvalidPort) {
        SetRTS((value & 0x20) != 0, g_bcdport[1]);
        SetDTR((value & 0x40) != 0, g_bcdport[1]);
    }
}

// The Perseus link on CAT-out port 1 ("PERSEUS PAN"): CI-V style frames
// between this program (E0) and the Perseus receiver used as panadapter (E1).
#include <cstring>

#include "base/trace_log.h"
#include "civ/civ_frame.h"
#include "civ/civ_options.h"
#include "civ/filter_widths.h"
#include "civ/frequency_state.h"
#include "civ/radio_models.h"
#include "devices/cat_out.h"
#include "panel/swl_panel.h"

namespace {

constexpr std::uint8_t kPerseusAddr = 0xE1;
constexpr std::uint8_t kOurAddr = 0xE0;
constexpr unsigned kReportHoldMs = 1400;

int g_lastperseusfilter = -1;

bool LinkAddress(std::uint8_t b) { return b == kOurAddr || b == kPerseusAddr || b == 0x00; }

bool BcdDigitsValid(const std::uint8_t* five) {
    for (int k = 0; k < 5; ++k)
        if ((five[k] & 0x0F) > 9 || (five[k] >> 4) > 9) return false;
    return true;
}

// "%06d" of value as three BCD bytes, least significant pair first.
void PutBcd3(std::uint8_t* out, int value) {
    for (int k = 0; k < 3; ++k) {
        const int pair = value % 100;
        out[k] = std::uint8_t((pair / 10) << 4 | pair % 10);
        value /= 100;
    }
}

int WidthClass(int hz) {
    if (hz < 400) return 6;
    if (hz < 1200) return 5;
    if (hz < 2400) return 4;
    if (hz < 5400) return 3;
    return 2;
}

}  // namespace

void SendToPerseus(const std::uint8_t* frame, int length) {
    if (length < 1 || frame[0] != 0xFE) return;
    WriteTracef("Send to Per %s", HexBytes(frame, length).c_str());
    if (g_thpport[0] == plat::kInvalidPort) return;
    if (plat::SerialWrite(g_thpport[0], frame, length) != length) WriteTrace("Perseus write error");
}

int ReadPerseus(const std::uint8_t* d, int count) {
    if (g_trace >= 2) WriteTracef("from Per st %d count %d %s", 0, count, HexBytes(d, count).c_str());
    int i = 0;
    while (i < count) {
        if (d[i] != 0xFE) {
            ++i;
            continue;
        }
        const int left = count - i;
        if (left < 4) return left <= kThpCarrySize ? left : 0;
        if (d[i + 1] != 0xFE || !LinkAddress(d[i + 2]) || !LinkAddress(d[i + 3])) {
            ++i;
            continue;
        }
        const int len = FindCivEnd(d + i, left);
        if (len == 0) {
            if (left <= kThpCarrySize) return left;
            // Longer than any frame: skip this start and look for the next.
            i += 2;
            continue;
        }
        const std::uint8_t* f = d + i;
        const bool ownEcho = f[2] == kPerseusAddr;
        const bool broadcastEcho = len > 4 && f[2] == 0x00 && f[3] == kOurAddr && f[4] == 0x00;
        if (!ownEcho && !broadcastEcho) AnalyzeMessageI(f, len);
        i += len;
    }
    return 0;
}

void AnalyzeMessageI(const std::uint8_t* f, int size) {
    WriteTracef("Analyze MessageI size %d, i %d", size, 0);
    if (size < 5 || (f[4] != 0x00 && f[4] != 0x03)) return;
    if (size != 11) {
        WriteTrace("Throw away bad length");
        return;
    }
    if (g_tuning) {
        WriteTrace("Throw away freq because tuning");
        return;
    }
    if (!BcdDigitsValid(f + 5)) return;
    const double mhz = BcdToFrequency(f + 5, g_tvoffset);
    if (g_split || g_dual) {
        if (CompareFrequencies(mhz, g_vfobfreq) == 0) return;
        WriteTrace("Receive B X1");
        HoldFrequencyReports(kReportHoldMs);
        SetVfoB(mhz);
        if (g_swlpanel ? g_swlpanel->dual : g_dual)
            SendFreqToRX340();
        else
            SetRadioFrequenciesVFOB();
    } else if (CompareFrequencies(mhz, g_vfoafreq) != 0) {
        WriteTrace("Receive A X1");
        HoldFrequencyReports(kReportHoldMs);
        TuneToFrequency(mhz, 0);
    }
}

void PerseusModeCode() {
    std::uint8_t m = 0;
    switch (g_vfoamode) {
        case '5': case 0x17: m = 5; break;
        case '0': case '9': m = 1; break;
        case '3': case '2': m = 3; break;
        case '4': m = 2; break;
        case '7': m = 4; break;
        case '8': m = 8; break;
        case ';': m = 6; break;
        default: m = 0; break;
    }
    const std::uint8_t f[7] = {0xFE, 0xFE, kPerseusAddr, kOurAddr, 0x06, m, 0xFD};
    SendToPerseus(f, 7);
}

void PerseusFilterCode() {
    if (g_rxfilter == g_lastperseusfilter || !ModelCap(g_hasfilterwidth)) return;
    g_lastperseusfilter = g_rxfilter;
    const int w = FilterEntry(g_rxfilter, UsesAmTable(g_vfoamode)).hz;
    std::uint8_t f[16] = {0xFE, 0xFE, kPerseusAddr, kOurAddr, 0x70, 0x04, std::uint8_t(WidthClass(w))};
    int n = 7;
    if (g_vfoamode == '0' || g_vfoamode == '1') {
        PutBcd3(f + n, 200);
        n += 3;
        f[n++] = 0xAA;
        PutBcd3(f + n, w + 200);
        n += 3;
    } else {
        PutBcd3(f + n, w);
        n += 3;
        f[n++] = 0xAA;
        f[n++] = 0x00;
        f[n++] = 0x00;
    }
    f[n++] = 0xFD;
    SendToPerseus(f, n);
}

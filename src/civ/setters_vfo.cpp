// VFO selection and the scalings shared by the level setters.
#include "base/trace_log.h"
#include "civ/civ_frame.h"
#include "civ/civ_options.h"
#include "civ/civ_setters.h"
#include "civ/civ_timers.h"
#include "civ/engine_options.h"
#include "civ/frequency_state.h"
#include "civ/radio_models.h"
#include "civ/radio_port.h"
#include "civ/setter_frames.h"

namespace {

// The 07 byte that selects `v`: D0/D1 on main/sub models (B0 on the two old
// dual-receiver types), 00/01 on the others.
std::uint8_t VfoByte(char v, bool mainSub) {
    if (mainSub) {
        if (ModelCap(g_oldmainsub)) return 0xB0;
        return v == 'A' ? 0xD0 : 0xD1;
    }
    return v == 'A' ? 0x00 : 0x01;
}

unsigned ReturnToADelay() {
    if (ModelCap(g_hasmainsub) && !ModelCap(g_oldmainsub)) return 1000;
    return g_client ? 500 : 250;
}
}  // namespace

int ClampLevel(int level) { return level < 0 ? 0 : (level > 255 ? 255 : level); }

int AfGainLevel(int a) {
    a = ClampLevel(a);
    return ClampLevel((a + 16) * (a + 16) / 255);
}

int PercentLevel(int percent) { return ClampLevel(percent * 255 / 100); }

int RfGainLevel(int percent) { return ClampLevel((100 - percent) * 255 / 100); }

namespace {
// The setting in lo..hi whose level is nearest to `level` (the lowest on a
// tie): a level read back from the radio and sent again stays where it is.
template <typename Scale>
int NearestSetting(int level, int lo, int hi, Scale scale) {
    int best = lo;
    for (int v = lo; v <= hi; ++v) {
        const int d = scale(v) - level, bd = scale(best) - level;
        if ((d < 0 ? -d : d) < (bd < 0 ? -bd : bd)) best = v;
    }
    return best;
}
}  // namespace

int AfGainFromLevel(int level) { return NearestSetting(ClampLevel(level), 0, 255, AfGainLevel); }

int RfGainFromLevel(int level) { return NearestSetting(ClampLevel(level), 0, 100, RfGainLevel); }

int CwPitchLevel(int hz) {
    if (hz < 300) hz = 300;
    if (hz > 900) hz = 900;
    return ClampLevel((hz - 300) * 32 / 75);
}

void SelectVfo(char v) {
    if (v != g_selvfo) {
        const bool mainSub = ModelCap(g_hasmainsub) != 0;
        if (ModelCap(g_mainsubbyband)) {
            // The IC-9100 takes its main/sub choice first; within one band
            // the plain VFO choice follows, across bands VFO A is restored.
            if (BandIndex(g_vfoafreq) == BandIndex(g_vfobfreq)) {
                WriteTrace("sameband 9100");
                SendCiv({0x07, 0xD0});
                SendCiv({0x07, VfoByte(v, false)});
            } else {
                WriteTrace("not sameband 9100");
                SendCiv({0x07, VfoByte(v, true)});
                SendCiv({0x07, 0x00});
            }
        } else {
            SendCiv({0x07, VfoByte(v, mainSub)});
        }
        g_selvfo = v;
    }
    KillCivTimer(TIMER_SELECT_VFO);
    if (v == 'B') SetCivTimer(TIMER_SELECT_VFO, ReturnToADelay());
}

void SelectVfoDirect(char v) {
    std::uint8_t buf[7];
    SendPoll(buf, BuildCivFrame(buf, {0x07, VfoByte(v, ModelCap(g_hasmainsub) != 0)}));
}

void OnSelectVfoTimer() {
    KillCivTimer(TIMER_SELECT_VFO);
    WriteTrace("scr 8");
    SelectVfo('A');
}

// Switch setters: AGC, preamp, attenuator, the 16 xx on/off functions,
// tone, antenna, dual watch and transmit enable.
#include "base/trace_log.h"
#include "civ/civ_frame.h"
#include "civ/civ_options.h"
#include "civ/civ_setters.h"
#include "civ/civ_timers.h"
#include "civ/frequency_state.h"
#include "civ/radio_init.h"
#include "civ/radio_models.h"
#include "civ/radio_port.h"
#include "civ/setter_frames.h"
#include "civ/tuning_state.h"

int g_equalizestep = 0;

namespace {
constexpr unsigned kAntennaHoldoffMs = 800;

void SwitchOnVfo(char vfo, std::uint8_t sub, int value) {
    SelectVfo(vfo);
    SendCiv({0x16, sub, std::uint8_t(value)});
}
}  // namespace

int AgcCode(int code) {
    if (code == '3') return 0x01;
    if (ModelCap(g_agctwospeed) || code == '2') return 0x02;
    if (code == '6') return 0x00;
    return std::uint8_t(ModelCap(g_agcslowcode));
}

void SetAgc(int code) { SendCiv({0x16, 0x12, std::uint8_t(AgcCode(code))}); }

void SetAgcA(int code) {
    WriteTrace("scr 19");
    if (ModelCap(g_agctwospeed) && code == '2') code = '3';
    SelectVfo('A');
    SetAgc(code);
}

void SetAgcB(int code) {
    WriteTrace("scr 20");
    SelectVfo('B');
    SetAgc(code);
}

void SetPreamp(int level) { SendCiv({0x16, 0x02, std::uint8_t(level)}); }

void SetPreampA(int level) {
    WriteTrace("scr 25");
    SelectVfo('A');
    SetPreamp(level);
}

void SetPreampB(int level) {
    WriteTrace("scr 26");
    SelectVfo('B');
    SetPreamp(level);
}

namespace {
// The DIGI-SEL family counts the attenuator in 3 dB steps.
std::uint8_t AttenuatorByte(int step) {
    const bool times3 = ModelCap(g_atten3db) || g_model7610;
    return ByteToBcd(times3 ? step * 3 : step);
}
}  // namespace

void SetAttenuatorA(int step) {
    WriteTrace("scr 23");
    SelectVfo('A');
    SendCiv({0x11, AttenuatorByte(step)});
}

void SetAttenuatorB(int step) {
    WriteTrace("scr 24");
    SelectVfo('B');
    SendCiv({0x11, AttenuatorByte(step)});
}

void SetNoiseBlankerA(int on) {
    if (g_perseus) {
        SendPerseus(0x06, std::uint8_t(on));
        return;
    }
    SwitchOnVfo('A', 0x22, on);
}

void SetNoiseBlankerB(int on) { SwitchOnVfo('B', 0x22, on); }

void SetNoiseReductionA(int on) {
    if (!ModelCap(g_haslevels)) return;
    if (g_perseus) {
        SendPerseus(0x07, std::uint8_t(on));
        return;
    }
    SwitchOnVfo('A', 0x40, on);
}

void SetNoiseReductionB(int on) { SwitchOnVfo('B', 0x40, on); }

void SetAutoNotchA(int on) {
    if (!ModelCap(g_haslevels)) return;
    if (g_perseus) {
        SendPerseus(0x08, std::uint8_t(on));
        return;
    }
    SwitchOnVfo('A', 0x41, on);
}

void SetAutoNotchB(int on) { SwitchOnVfo('B', 0x41, on); }

void SetManualNotchA(int on) {
    if (ModelCap(g_hasnotch)) SwitchOnVfo('A', 0x48, on);
}

void SetManualNotchB(int on) {
    if (ModelCap(g_hassubreceiver)) SwitchOnVfo('B', 0x48, on);
}

void SetAgcVrA(int on) {
    if (ModelCap(g_hasagcvr)) SwitchOnVfo('A', 0x4D, on);
}

void SetAgcVrB(int on) {
    if (ModelCap(g_hassubreceiver)) SwitchOnVfo('B', 0x4D, on);
}

void SetApfA(int on) {
    if (ModelCap(g_hasdigisel)) SwitchOnVfo('A', 0x32, on);
}

void SetApfB(int on) {
    if (ModelCap(g_hassubreceiver)) SwitchOnVfo('B', 0x32, on);
}

void SetDigiSelA(int on) {
    if (!ModelCap(g_hasdigisel)) return;
    WriteTrace("digistate A");
    SwitchOnVfo('A', 0x4E, on);
}

void SetDigiSelB(int on) {
    if (!ModelCap(g_hassubreceiver)) return;
    WriteTrace("digistate B");
    SwitchOnVfo('B', 0x4E, on);
}

void SetTwinPeakA(int on) {
    if (ModelCap(g_hastwinpeak)) SwitchOnVfo('A', 0x4F, on);
}

void SetTwinPeakB(int on) {
    if (ModelCap(g_hassubreceiver)) SwitchOnVfo('B', 0x4F, on);
}

void SetMonitor(int on) {
    if (!ModelCap(g_hasmonitor)) return;
    SendCiv({0x16, 0x45, std::uint8_t(on == 1 ? 1 : 0)});
}

void SetVox(int on) { SendCiv({0x16, 0x46, std::uint8_t(on)}); }

// Break-in is 0 off, 1 semi, 2 full. The stored value shares its key with
// an older level setting (default 20): anything else is no break-in
// setting and is not sent.
void SetBreakIn(int value) {
    if (value < 0 || value > 2) {
        WriteTracef("break-in %d not sent", value);
        return;
    }
    SendCiv({0x16, 0x47, std::uint8_t(value)});
}

void SetFunction1657(int value) {
    if (ModelCap(g_hasnotchwidth)) SwitchOnVfo('A', 0x57, value);
}

void SetFunction1A07(int value) {
    if (!ModelCap(g_hasipplus)) return;
    SelectVfo('A');
    SendCiv({0x1A, 0x07, std::uint8_t(value)});
}

void SetSsbTxFilter(int value) {
    if (ModelCap(g_hastxfilter)) SendCiv({0x1A, 0x07, std::uint8_t(value)});
}

void SetDataMode(int value) {
    if (!ModelCap(g_menudialect) || g_firstpoll) return;
    SelectVfo('A');
    SendCiv({0x1A, std::uint8_t(ModelCap(g_lowerwidthcmds) ? 0x04 : 0x06), std::uint8_t(value)});
}

void SetVsc(int on) {
    if (!ModelCap(g_hasvsc) || g_firstpoll) return;
    SwitchOnVfo('A', 0x4C, on);
}

void SetCtcss(int tenths) {
    if (!ModelCap(g_hastone)) return;
    const std::uint8_t on = tenths > 0 ? 1 : 0;
    SendCiv({0x16, 0x42, on});
    SendCiv({0x16, 0x43, on});
    if (!on) return;
    std::uint8_t tone[2];
    LevelToBcd(tenths, tone);
    SendCiv({0x1B, 0x00, 0x00, tone[0], tone[1]});
    SendCiv({0x1B, 0x01, 0x00, tone[0], tone[1]});
}

void SetAntenna(int antenna, int rxAntenna) {
    if (!ModelCap(g_hasantennaset)) return;
    const auto ant = std::uint8_t(antenna - 1);
    const auto rx = std::uint8_t(rxAntenna);
    const bool oneByte = ModelCap(g_antennaonebyte) != 0;
    auto send = [&] {
        if (oneByte)
            SendCiv({0x12, ant});
        else
            SendCiv({0x12, ant, rx});
    };
    if (ModelCap(g_hassubreceiver)) {
        WriteTrace("scr 29");
        SelectVfo('A');
        send();
        WriteTrace("scr 30");
        SelectVfo('B');
        send();
    } else {
        send();
    }
    // The radio reports a frequency while it switches; ignore it.
    HoldFrequencyReports(kAntennaHoldoffMs);
}

void SetDualWatch(int on, int viaPoll) {
    std::uint8_t buf[8];
    int n = 0;
    if (ModelCap(g_dualby1659)) {
        const bool sameBand = BandIndex(g_vfoafreq) == BandIndex(g_vfobfreq);
        n = BuildCivFrame(buf, {0x16, 0x59, std::uint8_t(sameBand ? 0 : (on ? 1 : 0))});
    } else {
        n = BuildCivFrame(buf, {0x07, std::uint8_t(on ? 0xC1 : 0xC0)});
    }
    if (viaPoll)
        SendPoll(buf, n);
    else
        sendtoradio(buf, n);
}

void EqualizeMainSub() {
    switch (g_equalizestep) {
        case 0:
            SetCivTimer(TIMER_EQUALIZE_SUB, unsigned(g_diversitydelay > 0 ? g_diversitydelay : 0));
            g_equalizestep = 1;
            break;
        case 1:
            break;
        default:
            SendCiv({0x07, 0xB1});
            g_equalizestep = 0;
            break;
    }
}

void OnEqualizeTimer() {
    KillCivTimer(TIMER_EQUALIZE_SUB);
    g_equalizestep = 2;
    EqualizeMainSub();
}

void SetTxEnable(int on) {
    // A disabled transmitter is a transmit power of zero.
    g_txenable = on ? 1 : 0;
    // The panel's transmit-disable state is this one: a later state push
    // must find nothing to undo.
    Tuning().fn.txEnabled = g_txenable;
    SetTxPower(g_power);
}

void SetMenuDualFlag() {
    if (!ModelCap(g_hasdualmenu) || !g_allowed) return;
    SendCiv({0x1A, 0x05, 0x00, 0x22, std::uint8_t(g_dual ? 0 : 1)});
}

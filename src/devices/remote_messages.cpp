// The remote link's messages: the length each type must have, and what the
// server does with a logged-on client's messages and the client with the
// server's.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "base/panel_options.h"
#include "base/settings_view.h"
#include "base/trace_log.h"
#include "civ/accessory_ports.h"
#include "civ/band_table.h"
#include "civ/civ_frame.h"
#include "civ/civ_options.h"
#include "civ/civ_timers.h"
#include "civ/engine_options.h"
#include "civ/frequency_state.h"
#include "civ/radio_models.h"
#include "civ/radio_port.h"
#include "civ/reply_store.h"
#include "civ/send_queue.h"
#include "devices/amplifiers.h"
#include "devices/band_decoder.h"
#include "devices/cat_out.h"
#include "devices/cw_keyboard.h"
#include "devices/cw_keyer.h"
#include "devices/external_meters.h"
#include "devices/keyer.h"
#include "devices/keying.h"
#include "devices/remote_link.h"
#include "devices/rotator.h"
#include "devices/switches.h"
#include "devices/tuner.h"
#include "panel/function_buttons.h"
#include "panel/swl_panel.h"
#include "platform/window.h"

namespace {
enum class Check { None, CivFrame, ClientState, Digits, NulInside, InUse };

struct LengthRule {
    int type;
    bool fromClient;
    int min, max;
    Check check;
};

// Every message a peer may send, with the payload length its type allows.
// A type not listed is ignored after the log-on, whatever its length.
constexpr LengthRule kLengthRules[] = {
    {kMsgCivFrame, true, 6, 300, Check::CivFrame},
    {kMsgTypedChars, true, 1, 1, Check::None},
    {kMsgClientState, true, 29, 29, Check::ClientState},
    {kMsgKey, true, 1, 1, Check::None},
    {kMsgPttLine, true, 1, 1, Check::None},
    {kMsgTuner, true, 2, 64, Check::None},
    {kMsgBearing, true, 3, 3, Check::Digits},
    {kMsgRotorStop, true, 1, 1, Check::None},
    {kMsgAmpMains, true, 1, 1, Check::None},
    {kMsgAmpOperate, true, 1, 1, Check::None},
    {kMsgSwitch, true, 3, 3, Check::None},
    {kMsgAntenna, true, 2, 2, Check::None},
    {kMsgKeepAlive, true, 0, 0, Check::None},
    {kMsgLogOff, true, 0, 0, Check::None},
    {kMsgCivFrame, false, 6, 300, Check::CivFrame},
    {kMsgTuner, false, 1, 90, Check::None},
    {kMsgBearing, false, 3, 3, Check::Digits},
    {kMsgAmpMains, false, 1, 1, Check::None},
    {kMsgAmpOperate, false, 1, 128, Check::NulInside},
    {kMsgSwitch, false, 17, 17, Check::None},
    {kMsgAntenna, false, 32, 32, Check::None},
    {kMsgKeepAlive, false, 0, 0, Check::None},
    {kMsgLogOff, false, 0, 0, Check::None},
    {kMsgVersion, false, 1, 1, Check::None},
    {kMsgInUse, false, 3, 34, Check::InUse},
    {kMsgRefused, false, 0, 0, Check::None},
    {kMsgAccepted, false, 1, 1, Check::None},
};

bool AllDigits(const std::uint8_t* p, int n) {
    for (int i = 0; i < n; ++i)
        if (p[i] < '0' || p[i] > '9') return false;
    return true;
}

void Dump(const char* head, const std::uint8_t* payload, int length) {
    if (g_trace > 1) TracePartnerBytes(head, payload, length, length);
}

// Frames from the client refused while the send queue was full, not yet traced.
int g_queuefullrefused = 0;

// One frame of the client's to the radio. A frame with a preamble inside
// would reach the radio as two; a frame the full send queue cannot take is
// answered with the radio's own "not done" (FA), so the client is not left
// believing it went.
void ClientFrameToRadio(const std::uint8_t* p, int n) {
    int body = 0;
    while (body < n && p[body] == kCivPreamble) ++body;
    if (std::memchr(p + body, kCivPreamble, std::size_t(n - body)) != nullptr) {
        WriteTrace("frame from client refused, preamble inside");
        return;
    }
    if (SendQueueFull()) {
        if (g_queuefullrefused++ == 0) WriteTrace("send queue full, frames from client refused");
        const std::uint8_t ng[6] = {kCivPreamble, kCivPreamble, std::uint8_t(g_myaddr), std::uint8_t(g_radioadr),
                                    kCivNg, kCivEnd};
        sendtopartner(ng, 6, kMsgCivFrame);
        return;
    }
    if (g_queuefullrefused > 0) {
        WriteTracef("send queue full: %d frames from client refused", g_queuefullrefused);
        g_queuefullrefused = 0;
    }
    sendtoradioactual(p, n);
}

void TypedCharacters(const std::uint8_t* payload, int length) {
    g_vfoamode = '3';
    if (!g_cwtakesinput) OnShowCwKeyboard();
    for (int i = 0; i < length; ++i)
        if (g_timerwindow) g_timerwindow->SendMessage(plat::WM_CHAR, payload[i], 0);
}

void AmplifierMains(int on) {
    WriteTrace("From Client amp on/off");
    if (on == 1) SendToA87(reinterpret_cast<const std::uint8_t*>("AC ON\r"), 6);
    if (on == 0) SendToA87(reinterpret_cast<const std::uint8_t*>("AC OFF\r"), 7);
}

void AmplifierOperate(int on) {
    WriteTrace("From Client amp oper");
    if (on != 0 && on != 1) return;
    if (g_a87port != plat::kInvalidPort) {
        if (on) SendToA87(reinterpret_cast<const std::uint8_t*>("OPER ON\r"), 8);
        else SendToA87(reinterpret_cast<const std::uint8_t*>("OPER OFF\r"), 9);
    } else if (g_thp) {
        const std::uint8_t cmd[4] = {0x41, 0x71, std::uint8_t(on ? 0x4F : 0x53), 0x0D};
        SendToTHP(cmd, 4);
    }
}

int Number4(const std::uint8_t* p) {
    char text[5] = {};
    std::memcpy(text, p, 4);
    return std::atoi(text);
}

std::uint32_t U32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}
}  // namespace

bool PartnerLengthValid(int type, const std::uint8_t* p, int n, bool fromClient) {
    for (const LengthRule& r : kLengthRules) {
        if (r.type != type || r.fromClient != fromClient) continue;
        if (n < r.min || n > r.max) return false;
        switch (r.check) {
        case Check::None: return true;
        case Check::CivFrame:
            // One whole frame: FE FE, the addresses and command, and its only FD last.
            return p[0] == kCivPreamble && p[1] == kCivPreamble && p[n - 1] == kCivEnd &&
                   std::memchr(p, kCivEnd, std::size_t(n - 1)) == nullptr;
        case Check::ClientState:
            return AllDigits(p + 1, 11) && p[12] == 0 && AllDigits(p + 14, 11) && p[25] == 0 && p[26] <= 1;
        case Check::Digits: return AllDigits(p, n);
        case Check::NulInside: return std::memchr(p, 0, std::size_t(n)) != nullptr;
        case Check::InUse: return p[0] != 0 && p[n - 2] == 0;
        }
    }
    return true;
}

namespace {
// The client's CW speed and its keyer's speed-pot base: the keyer, the
// panel's speed offset, the settings window's speed slider and the CW timing
// follow. Both stay inside what the panel and the slider can show.
void ApplyClientKeySpeed(int speed, int base) {
    g_cwspeed = speed;
    const int keyercw = std::clamp(base, 0, 40);
    if (keyercw != g_keyercw) {
        g_keyercw = keyercw;
        if (g_yaltport != plat::kInvalidPort) SetupKeyerPot();
    }
    g_keyerks = std::clamp(speed - g_keyercw - 10, 0, kKeyerKsMax);
    if (g_swlpanel) g_swlpanel->ShowKeyerSpeed();
    SettingsWindow().SetKeySpeed(g_keyercw);
    kstats(g_cwspeed, g_keyerweight);
}
}  // namespace

void ApplyClientState(const std::uint8_t* p) {
    const double a = std::atof(reinterpret_cast<const char*>(p + 1)) / 1000000.0;
    const double b = std::atof(reinterpret_cast<const char*>(p + 14)) / 1000000.0;
    if (CompareFrequencies(a, g_vfoafreq) != 0 || CompareFrequencies(b, g_vfobfreq) != 0 || g_vfoamode != p[0] ||
        g_vfobmode != p[13]) {
        g_vfoafreq = a;
        g_vfoamode = p[0];
        g_vfobfreq = b;
        g_vfobmode = p[13];
        if (g_swlpanel) {
            g_swlpanel->SetPanelTuning(a, char(p[0]), g_step, g_rxfilter, b, char(p[13]));
            g_bandrow = BandIndex(a);
            g_swlpanel->ShowBand();
            g_swlpanel->SetPanelTuning(a, 0, 0, 0, 0, 0);
        }
        UpdateBandStack(a, 1);
        WriteTrace("updated");
    }
    if (g_swlpanel && p[26] != g_swlpanel->split) g_swlpanel->ToggleSplit();
    if (p[27] != g_cwspeed) ApplyClientKeySpeed(p[27], p[28]);
    if (g_pegportsel) SendBandData();
}

void ProcessClientMessage(const std::uint8_t* p, int n, int type) {
    Dump("from client ", p, n);
    switch (type) {
    case kMsgCivFrame: ClientFrameToRadio(p, n); break;
    case kMsgTypedChars: TypedCharacters(p, n); break;
    case kMsgClientState: ApplyClientState(p); break;
    case kMsgKey:
        if (p[0] == 1) keyon();
        else keyoff();
        break;
    case kMsgPttLine: SetRTS(p[0] == 1 ? 1 : 0, g_pttport); break;
    case kMsgTuner:
        g_ldgrtspulse = p[n - 1];
        WriteTrace("from ldg client");
        sendtoldg(p, n - 1);
        break;
    case kMsgBearing:
        std::memcpy(g_rotorbearing, p, 3);
        g_rotorbearing[3] = '\0';
        WriteTracef("from rotor client %s", g_rotorbearing);
        StartRotor();
        break;
    case kMsgRotorStop:
        WriteTrace("From Client rotor stop");
        StopRotor();
        break;
    case kMsgAmpMains: AmplifierMains(p[0]); break;
    case kMsgAmpOperate: AmplifierOperate(p[0]); break;
    case kMsgSwitch: SendHamShack(p); break;
    case kMsgAntenna:
        g_radioTavn = p[1];
        setTavn(p[0]);
        break;
    default: break;  // keep-alives and types of newer clients
    }
}

void ProcessServerMessage(const std::uint8_t* p, int n, int type) {
    Dump("From server ", p, n);
    switch (type) {
    case kMsgCivFrame:
        WriteTracef("Process message from server len %d, command %02x", n, unsigned(p[4]));
        ClearReplyFlags();
        StoreCivReply(p, n, 0);
        ProcessCivReplies();
        break;
    case kMsgTuner: {
        std::uint8_t copy[90];
        std::memcpy(copy, p, std::size_t(n));
        ParseLdg(copy, n);
        break;
    }
    case kMsgBearing: {
        const int change = std::memcmp(p, g_rotorbearing, 3) != 0;
        if (change) {
            std::memcpy(g_rotorbearing, p, 3);
            g_rotorbearing[3] = '\0';
        }
        char digits[4] = {char(p[0]), char(p[1]), char(p[2]), '\0'};
        WriteTracef("from rotor server %s, change %d", digits, change);
        // The settings window shows it where the local rotor's bearing shows.
        std::memcpy(g_rotorshown, digits, sizeof digits);
        SettingsWindow().ShowRotorState();
        break;
    }
    case kMsgAmpMains:
        g_rotormoving = p[0] != 0;
        SettingsWindow().ShowRotorState();
        break;
    case kMsgAmpOperate: SetAmplifierText(p, n); break;
    case kMsgSwitch:
        // Forward and reflected power to the meter; the third number is the
        // server meter's SWR x 100, shown as the external SWR.
        if (g_swlpanel) g_swlpanel->ShowPowerReading(Number4(p), Number4(p + 6));
        g_extswr = Number4(p + 12);
        break;
    case kMsgAntenna: OnWaveNodeMessage(U32(p + 16), U32(p)); break;
    default: break;  // keep-alives re-arm the time-out as they arrive
    }
}

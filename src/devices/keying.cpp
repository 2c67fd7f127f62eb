#include "devices/keying.h"

#include <cstdint>
#include <cstring>

#include "base/device_options.h"
#include "base/panel_options.h"
#include "base/trace_log.h"
#include "civ/accessory_ports.h"
#include "civ/civ_frame.h"
#include "civ/civ_options.h"
#include "civ/civ_setters.h"
#include "civ/civ_timers.h"
#include "civ/engine_options.h"
#include "civ/frequency_options.h"
#include "civ/frequency_state.h"
#include "civ/radio_models.h"
#include "civ/radio_port.h"
#include "civ/send_queue.h"
#include "civ/setter_frames.h"
#include "devices/cw_keyboard.h"
#include "devices/cw_keyer.h"
#include "devices/keyer.h"
#include "devices/remote_link.h"
#include "devices/switches.h"
#include "panel/swl_panel.h"
#include "platform/event_loop.h"
#include "platform/message_box.h"

int g_keyingstate = 0;
int g_pulsekeying = 0;
int g_pulsephase = 0;
int g_idrestorepending = 0;
char g_idsavedmode = '3';
int g_idsavedfilter = 0;
int g_idsavedoffset = 0;
unsigned g_keyedmeans = 0;

namespace {
// Radio types that have no CI-V transmit command (an IC-706MKIIG and an
// IC-718 would take 1C 00 01 as an unknown command).
constexpr ModelTable kNoTransmitCommand = {0, 0, 0, 0, 1, 0, 0, 1, 0, 0, 0, 0, 0,
                                           0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
constexpr unsigned kKeyonDelayMs = 200;
constexpr unsigned kPulseMs = 20;
constexpr unsigned kRemoteKey = 5;  // remote message: key (1) or unkey (0) the server

// The port the RTS and DTR keying lines of the last keyon were set on.
plat::PortHandle* g_keyedlineport = nullptr;
// Alt+Q: the last toggle keyed on.
int g_keytoggled = 0;
bool g_keyingheld = false;

bool CwKeying() { return g_vfoamode == '3' || g_vfoamode == '2' || g_doingcwid; }

// The separate PTT port when open, else the radio port.
plat::PortHandle& LinePort() { return g_pttport != plat::kInvalidPort ? g_pttport : g_radioport; }

void SendKeyer(std::uint8_t down) {
    if (g_keyertype != 2) return;
    const std::uint8_t cmd[2] = {0x0B, down};
    SendToYalt(cmd, 2);
}

void SendRemoteKey(std::uint8_t on) { sendtopartner(&on, 1, kRemoteKey); }

// What holds the transmitter is armed for release by a program that dies of
// a fault and cannot run keyoff: the radio's transmit-off frame, the
// keyer's key-up, the keying lines.
namespace fatal = plat::fatal_release;

void ArmCivRelease() {
    std::uint8_t frame[kCivHeaderLen + 4];
    const int n = BuildCivFrame(frame, {0x1C, 0x00, 0x00});
    fatal::Arm(fatal::kRadioFrame, g_radioport, frame, n);
}

void ArmKeyerRelease() {
    if (g_keyertype != 2) return;
    const std::uint8_t up[2] = {0x0B, 0x00};
    fatal::Arm(fatal::kKeyerFrame, g_yaltport, up, 2);
}

// As DropLines: a line that powers the radio's interface stays up.
void ArmLineRelease(int slot, plat::PortHandle port, bool rts, bool dtr) {
    const bool powerPort = port == g_radioport;
    rts = rts && !(powerPort && g_rtspw);
    dtr = dtr && !(powerPort && g_dtrpw);
    if (rts || dtr) fatal::Arm(slot, port, nullptr, 0, rts, dtr);
}

// The radio's transmit-off frame stays armed: the send pump disarms it
// once the off frame is on the line.
void DisarmReleasesButTheRadioFrame() {
    for (int slot = 0; slot < fatal::kSlotCount; ++slot)
        if (slot != fatal::kRadioFrame) fatal::Disarm(slot);
}

// Sends CI-V 1C 00 00. A frame queued keeps the fault release armed until
// the pump writes it; one that went to the server or was filtered out
// leaves nothing for a fault to do. One refused by a closed port or a full
// queue never reached the radio: the release stays armed. `overtake` puts
// it ahead of every waiting frame and drops a key-on still waiting.
void SendTransmitOff(bool overtake) {
    const int before = SendQueueDepth();
    SendCiv({0x1C, 0x00, 0x00});
    if (SendQueueDepth() > before) {
        if (overtake) {
            const std::uint8_t on[3] = {0x1C, 0x00, 0x01};
            DropWaitingFrames(on, 3);
            PromoteNewestFrame();
        }
        return;
    }
    if (g_radioport != plat::kInvalidPort && !SendQueueFull()) fatal::Disarm(fatal::kRadioFrame);
}

// Drops the keying lines on `port`, leaving a line that powers the radio's
// interface alone.
void DropLines(plat::PortHandle& port, bool rts, bool dtr) {
    if (port == plat::kInvalidPort) return;
    const bool powerPort = &port == &g_radioport;
    if (rts && !(powerPort && g_rtspw)) SetRTS(0, port);
    if (dtr && !(powerPort && g_dtrpw)) SetDTR(0, port);
}
}  // namespace

bool CivTransmitCommand() { return !g_perseus && !ModelCap(kNoTransmitCommand); }

unsigned KeyingPath() {
    unsigned m = 0;
    const bool cw = CwKeying();
    if ((g_yaltkeyer && !g_client && cw) || g_yaltptt) {
        m |= kKeyByKeyer;
    } else {
        if (CivTransmitCommand()) m |= kKeyByCiv;
        if (cw) {
            if (g_ppkeying)
                m |= kKeyByLpt;
            else if (g_client)
                m |= kKeyByRemote;
            else
                m |= (g_rtscw ? kKeyByRts : 0u) | (g_dtrcw ? kKeyByDtr : 0u);
        }
    }
    // A client keys the server when nothing of its own keys the transmitter.
    if (g_client && m == 0) m |= kKeyByRemote;
    if (g_rtsxm) m |= kKeyByRadioRts;
    return m;
}

void keyon() {
    WriteTrace("keyon");
    if (g_keyingheld) {
        WriteTrace("keyon refused, closing");
        return;
    }
    const unsigned m = KeyingPath();
    if (m & kKeyByKeyer) {
        WriteTrace("YALT");
        SendKeyer(0x01);
        ArmKeyerRelease();
    }
    if (m & kKeyByCiv) ArmCivRelease();
    if (m & kKeyByCiv) {
        if (g_keyingstate != 0) {
            // A key-off still waiting out the delay is cancelled: the
            // transmitter is keyed again and stays keyed.
            if (g_keyingstate == 2) g_keyingstate = 1;
            if (!g_txamptunepulse) SetCivTimer(TIMER_KEYON_DELAY, kKeyonDelayMs);
        } else {
            WriteTrace("1c command");
            SendCiv({0x1C, 0x00, 0x01});
            if (!g_txamptunepulse) {
                g_keyingstate = 1;
                SetCivTimer(TIMER_KEYON_DELAY, kKeyonDelayMs);
            }
        }
    }
    if (!(m & kKeyByKeyer)) WriteTracef("Mode %d", g_vfoamode);
    if (m & kKeyByLpt) {
        outportb(kLptKeyPort, kLptKeyDown);
        fatal::ArmControlRegister(fatal::kParallelControl, ParallelDescriptor(), kLptKeyUp);
        WriteTrace("LPT on");
    }
    if (m & (kKeyByRts | kKeyByDtr)) {
        plat::PortHandle& port = LinePort();
        if (&port == &g_radioport) WriteTrace("NOT PTT");
        if (m & kKeyByRts) SetRTS(1, port);
        if (m & kKeyByDtr) SetDTR(1, port);
        g_keyedlineport = &port;
        ArmLineRelease(fatal::kKeyLines, port, m & kKeyByRts, m & kKeyByDtr);
    }
    if (m & kKeyByRadioRts) {
        SetRTS(1, g_radioport);
        ArmLineRelease(fatal::kRadioLines, g_radioport, true, false);
    }
    if (m & kKeyByRemote) SendRemoteKey(1);
    g_keyedmeans |= m;
    WriteTrace("keyon exit");
}

void keyoff() {
    WriteTrace("keyoff");
    // What the settings choose now, and whatever the last key-on used.
    const unsigned m = KeyingPath() | g_keyedmeans;
    if (m & kKeyByKeyer) SendKeyer(0x00);
    fatal::Disarm(fatal::kKeyerFrame);
    if (m & kKeyByCiv) {
        if (g_keyingstate != 0) {
            g_keyingstate = 2;  // still keyed until the delay sends the key-off
        } else {
            SendTransmitOff(false);
        }
    } else {
        fatal::Disarm(fatal::kRadioFrame);
    }
    if (m & kKeyByLpt) {
        outportb(kLptKeyPort, kLptKeyUp);
        fatal::Disarm(fatal::kParallelControl);
        WriteTrace("LPT off");
    }
    if (m & (kKeyByRts | kKeyByDtr)) {
        plat::PortHandle& now = LinePort();
        DropLines(now, m & kKeyByRts, m & kKeyByDtr);
        if (g_keyedlineport && g_keyedlineport != &now) DropLines(*g_keyedlineport, m & kKeyByRts, m & kKeyByDtr);
        g_keyedlineport = nullptr;
    }
    if (m & kKeyByRadioRts) DropLines(g_radioport, true, false);
    fatal::Disarm(fatal::kKeyLines);
    fatal::Disarm(fatal::kRadioLines);
    if (m & kKeyByRemote) SendRemoteKey(0);
    g_keyedmeans = 0;
}

void KeyOnOff(int on) {
    if (on == 1) {
        keyon();
        if (g_amtnactive && g_txamptunepulse) SetCivTimer(TIMER_KEYING_LOOP, kPulseMs);
        return;
    }
    KillCivTimer(TIMER_KEYING_LOOP);
    g_pulsephase = 0;
    keyoff();
}

void OnKeyToggle() {
    g_keytoggled = !g_keytoggled;
    if (g_keytoggled)
        keyon();
    else
        keyoff();
}

void OnKeyonDelay() {
    KillCivTimer(TIMER_KEYON_DELAY);
    if (g_keyingstate == 2) SendTransmitOff(false);
    g_keyingstate = 0;
}

bool PulseKeyingTick() {
    if (!(g_pulsekeying && g_amtnactive)) {
        // A tune that ends inside a key-on phase must not leave the
        // transmitter keyed.
        if (g_pulsephase) {
            keyoff();
            g_pulsephase = 0;
        }
        return false;
    }
    if (g_pulsephase)
        keyoff();
    else
        keyon();
    g_pulsephase = !g_pulsephase;
    return true;
}

void ReleaseAllKeying(const char* why) {
    // Releasing a line can report its port lost, which releases again.
    static bool releasing = false;
    if (releasing) return;
    releasing = true;
    WriteTracef("release keying: %s", why ? why : "");
    KillCivTimer(TIMER_KEYING_LOOP);
    KillCivTimer(TIMER_CW_ELEMENT);
    g_pulsephase = 0;
    g_keytoggled = 0;
    // Text still queued would key the transmitter again.
    StopCwSending();
    if (g_doingcwid || g_idrestorepending) EndIdentification();
    KillCivTimer(TIMER_KEYON_DELAY);
    g_keyingstate = 0;
    if (CivTransmitCommand()) SendTransmitOff(true);
    SendKeyer(0x00);
    DropLines(g_pttport, true, true);
    DropLines(g_radioport, true, true);
    if (g_ppkeying) outportb(kLptKeyPort, kLptKeyUp);
    if (g_client && g_linkstate == 3) SendRemoteKey(0);
    g_keyedmeans = 0;
    g_keyedlineport = nullptr;
    DisarmReleasesButTheRadioFrame();
    if (!CivTransmitCommand()) fatal::Disarm(fatal::kRadioFrame);
    releasing = false;
}

void HoldKeyingOff(bool hold) { g_keyingheld = hold; }

void StartKeying() {
    g_keyingheld = false;
    for (int slot = 0; slot < fatal::kSlotCount; ++slot) fatal::Disarm(slot);
}

bool TransmitterReleased(std::string& why) { return fatal::ReleaseArmed(why); }

void RestoreAfterIdentification(bool viaKeyer) {
    SetModeA(g_idsavedmode, g_idsavedmode);
    if (viaKeyer) SetFilterWidthA(g_idsavedfilter);
    g_lastsenta = g_lastsentb = 40.0;
    const double offset = g_idsavedoffset / 1000000.0;
    g_vfoafreq += g_idsavedmode == '0' ? -offset : offset;
    SetRadioFrequencies();
    g_keyerstate = 0;
    g_cwtakesinput = 0;
    // The identification sent one character at a time; later text may again
    // run ahead of the echo.
    g_yaltthreshold = 3;
    if (viaKeyer) {
        SetKeyerSpeed(0);
        return;
    }
    kstats(g_cwspeed, g_keyerweight);
    g_spc = g_spcbase;
    g_dit = g_ditbase;
    g_dah = g_dahbase;
    g_bspc = g_bspcbase;
}

void EndIdentification() {
    if (!g_doingcwid && !g_idrestorepending) return;
    const bool viaKeyer = g_idrestorepending || g_yaltkeyer;
    g_doingcwid = 0;
    g_idrestorepending = 0;
    RestoreAfterIdentification(viaKeyer);
}

void OnCwIdNow() {
    WriteTrace("nowtimer\n");
    autoid();
}

void autoid() {
    WriteTrace("autoid");
    const bool sideband = g_vfoamode == '0' || g_vfoamode == '1';
    // Without sending enabled the text would wait in the ring with the radio
    // left in CW; the reminder is the honest answer then.
    if (g_cwid && sideband && !CwKeyboardOn() && !g_split && g_cwsendenabled && !g_doingcwid) {
        g_spc = 60;
        g_dit = 60;
        g_dah = 180;
        g_bspc = 100;
        if (g_yaltkeyer)
            SetKeyerSpeed(20);
        else
            kstats(22, g_keyerweight);
        g_idsavedmode = char(g_vfoamode);
        g_idsavedfilter = g_rxfilter;
        g_idsavedoffset = g_bfo;
        g_yaltthreshold = 0;
        g_doingcwid = 1;
        OnShowCwKeyboard();
        const char* text[] = {"de ", g_callsign, " "};
        for (const char* part : text)
            for (const char* p = part; *p; ++p) CwKeyboardChar(static_cast<unsigned char>(*p));
        SetModeA('3', '3');
        const double offset = g_idsavedoffset / 1000000.0;
        g_vfoafreq += g_idsavedmode == '0' ? offset : -offset;
        SetRadioFrequencies();
        g_vfoamode = g_idsavedmode;
        return;
    }
    plat::MessageBeep(plat::MB_ICONEXCLAMATION);
    g_idflash = 1;
    if (g_swlpanel) g_swlpanel->ShowIdReminder(g_callsign);
}

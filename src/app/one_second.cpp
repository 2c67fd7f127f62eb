// One-second housekeeping (TIMER_ONE_SECOND): radio contact retry, window
// title, clocks, accessory polls, remote-link upkeep, identification and
// scheduled events.
#include "app/one_second.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "app/app_options.h"
#include "app/cw_sender.h"
#include "app/main_frame.h"
#include "app/scheduled_events.h"
#include "base/device_options.h"
#include "base/panel_options.h"
#include "base/settings_options.h"
#include "base/trace_log.h"
#include "civ/accessory_ports.h"
#include "civ/band_table.h"
#include "civ/civ_options.h"
#include "civ/civ_setters.h"
#include "civ/civ_timers.h"
#include "civ/engine_options.h"
#include "civ/frame_reader.h"
#include "civ/frequency_options.h"
#include "civ/frequency_state.h"
#include "civ/polling.h"
#include "civ/radio_init.h"
#include "civ/radio_models.h"
#include "civ/radio_port.h"
#include "civ/radio_search.h"
#include "civ/reply_processing.h"
#include "civ/setter_frames.h"
#include "devices/amplifiers.h"
#include "devices/cat_out.h"
#include "devices/control_surfaces.h"
#include "devices/external_meters.h"
#include "devices/keyer.h"
#include "devices/keying.h"
#include "devices/program_links.h"
#include "devices/remote_link.h"
#include "devices/rotator.h"
#include "devices/tuner.h"
#include "memories/radio_memories.h"
#include "panel/swl_panel.h"
#include "platform/clock.h"
#include "platform/event_loop.h"

int g_contactcount = 0;
int g_pollcount = 0;
int g_idminuteflag = 0;

namespace {
int g_rotorcount = 0;
int g_idflashcount = 0;
int g_pw1toggle = 0;
double g_pw1lastfreq = 0;
int g_exchangerunning = 0;

std::tm ToTm(const plat::SystemTime& s) {
    std::tm t{};
    t.tm_year = s.year - 1900;
    t.tm_mon = s.month - 1;
    t.tm_mday = s.day;
    t.tm_hour = s.hour;
    t.tm_min = s.minute;
    t.tm_sec = s.second;
    t.tm_wday = s.dayOfWeek;
    t.tm_isdst = -1;
    return t;
}

// Transmit frequency: VFO B when split.
double TxFrequency() { return g_split ? g_vfobfreq : g_vfoafreq; }

void ClientState() {
    // Client-state message: mode, VFO A in Hz with its NUL, mode, VFO B, split,
    // speed and keyer flag (29 bytes).
    std::uint8_t msg[29] = {};
    msg[0] = std::uint8_t(g_vfoamode);
    std::snprintf(reinterpret_cast<char*>(msg + 1), 12, "%011.0f", g_vfoafreq * 1e6);
    msg[13] = std::uint8_t(g_vfobmode);
    std::snprintf(reinterpret_cast<char*>(msg + 14), 12, "%011.0f", g_vfobfreq * 1e6);
    msg[26] = std::uint8_t(g_split);
    msg[27] = std::uint8_t(g_cwspeed);
    msg[28] = std::uint8_t(g_keyercw);
    sendtopartner(msg, 29, 4);
}

void Clocks() {
    const plat::SystemTime loc = plat::GetLocalTime();
    const plat::SystemTime utc = plat::GetUtcTime();
    std::string local, utcText = UtcClockText(ToTm(utc));
    if (g_pcutc) {
        local = LocalClockText(LocalFieldsAsUtc(CorrectedFields(ToTm(loc), g_utchourcorrection, g_utcminutecorrection)),
                               g_local24hour != 0);
    } else {
        if (g_idarmed) {
            if (loc.minute % 10 == 0) {
                if (!g_idminuteflag) {
                    g_idminuteflag = 1;
                    autoid();
                }
            } else {
                g_idminuteflag = 0;
            }
        }
        if (g_autodst) {
            local = LocalClockText(ToTm(loc), g_local24hour != 0);
        } else {
            std::tm t = CorrectedFields(ToTm(loc), -g_utchourcorrection, -g_utcminutecorrection);
            WriteTracef("Year %d, month %d, day %d, hour %d, minute %d, second %d", t.tm_year + 1900, t.tm_mon + 1,
                        t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec);
            WriteTrace("one second 6.2");
            WriteTrace("one second 6.2.1");
            std::tm u = LocalFieldsAsUtc(t);
            WriteTrace("one second 6.3");
            WriteTrace("one second 6.4");
            local = LocalClockText(u, g_local24hour != 0);
            WriteTrace("one second 6.5");
            WriteTrace("one second 6.6");
            WriteTrace("one second 6.7");
        }
    }
    if (g_swlpanel) g_swlpanel->ShowClocks(local.c_str(), utcText.c_str());
}
}  // namespace

std::string LocalClockText(const std::tm& t, bool hours24) {
    char buf[32];
    std::strftime(buf, sizeof buf, hours24 ? "LOC %H:%M:%S" : "LOC %I:%M:%S", &t);
    if (!hours24 && buf[4] == '0') buf[4] = ' ';
    return buf;
}

std::string UtcClockText(const std::tm& t) {
    char buf[32];
    std::strftime(buf, sizeof buf, "UTC %H:%M:%S", &t);
    return buf;
}

std::tm CorrectedFields(std::tm t, int hours, int minutes) {
    int m = t.tm_min + minutes;
    int h = t.tm_hour + hours;
    while (m >= 60) {
        m -= 60;
        ++h;
    }
    while (m < 0) {
        m += 60;
        --h;
    }
    h %= 24;
    if (h < 0) h += 24;
    t.tm_min = m;
    t.tm_hour = h;
    return t;
}

std::tm LocalFieldsAsUtc(std::tm t) {
    t.tm_isdst = -1;
    std::time_t secs = std::mktime(&t);
    std::tm out{};
    gmtime_r(&secs, &out);
    return out;
}

void CMainWin::OnOneSecond() {
    KillTimer(TIMER_ONE_SECOND);
    // Ports lost in use (a radio or a logger's adapter unplugged) are tried
    // again every few seconds; a reopened radio port starts contact over.
    if (RetryRadioPort()) g_contactcount = 0;
    if (g_thp) RetryThpPorts();
    // 2. Radio contact retry.
    if (g_radioheard < 2 && g_autobaud == 0) {
        if (++g_contactcount > 10) {
            if (!g_rawmode) {
                g_firstpoll = 0;
                WriteTrace("firstpoll 0");
            }
            FirstPoll();
            if (g_radioheard == 1) g_radioheard = 2;
            g_contactcount = 0;
        }
    }
    // 3. Title.
    if (g_vfoafreq != g_titlefreq && !g_accxmit) {
        SetWindowText(MainTitle(g_vfoafreq, g_modelname));
        g_titlefreq = g_vfoafreq;
    }
    // 4. Identification reminder.
    if (g_idjustarmed) {
        g_idjustarmed = 0;
        g_idflashcount = 0;
        if (g_swlpanel) g_swlpanel->ShowIdLabel();
    }
    if (g_idflash && g_idarmed) {
        if (g_swlpanel) g_swlpanel->ShowIdFlash(g_idflashcount % 2);
        if (++g_idflashcount > 10) {
            g_idflash = 0;
            if (g_swlpanel) g_swlpanel->ShowIdLabel();
        }
    } else if (!g_idarmed) {
        g_idflash = 0;
    }
    // 5. Polling keep-up.
    if (g_polling && !g_memtransfer && !g_firstpoll) {
        if (++g_pollcount > 1) {
            g_pollcount = 0;
            PollFreqMode();
        }
    }
    // 6. Rotor.
    if (g_rotorport != plat::kInvalidPort || g_rotorconnected) {
        if (g_radioserver && g_rotorreportpending) {
            sendtopartner(g_rotorbuffer, 3, 8);
            g_rotorreportpending = 0;
        }
        if (!g_client && (++g_rotorcount >= 5 || g_rotormoving) && g_rotorpoll >= 0) {
            if (g_m2rotor) {
                const std::uint8_t a[2] = {'A', '\r'};
                SendToRotor(a, 2);
            } else {
                SendToRotor(reinterpret_cast<const std::uint8_t*>("AI1;"), 4);
            }
            g_rotorcount = 0;
        }
    }
    // 7. AFSK data-mode read.
    if (g_afsk && g_pegasustransferfile[0] && ModelCap(g_hasdataread)) {
        SendCiv({0x1A, 0x06});
    }
    // 8. Keyer host-open upkeep.
    // "Keyer in use" is the setting: a port closed for the reopen below
    // must not stop the count that reopens it.
    if (g_yaltkeyer) {
        if (g_keyertype == 1) {
            ++g_yaltcount;
            if (g_yaltcount > 5) {
                OpenKeyerPort();
                // A reopened keyer gets the host-open again a second later.
                g_keyertype = -3;
            } else if (g_yaltcount > 4) {
                CloseKeyerPort();
            }
        } else if (g_keyertype == 0) {
            const std::uint8_t open[2] = {0x00, 0x02};
            SendToYalt(open, 2);
            g_keyertype = 1;
            g_yaltcount = 0;
        } else if (g_keyertype == -3) {
            g_keyertype = 0;
        }
    }
    // 9. Scheduled events.
    if (g_event) CheckScheduledEvents();
    // 10. Acom segment.
    if (g_acomport != plat::kInvalidPort && !g_acompending) {
        const int seg = GetAcomSegment(TxFrequency());
        if (seg != g_acomsegment) {
            g_acomsegment = seg;
            char hex[3];
            std::snprintf(hex, sizeof hex, "%02X", seg & 0xFF);
            for (char& c : hex)
                if (c >= 'A' && c <= 'F') c = char(c - 7);
            const std::uint8_t cmd[7] = {'A', 'q', 'W', '2', std::uint8_t(hex[0]), std::uint8_t(hex[1]), '\r'};
            SendToAcom(cmd, 7);
            g_acompending = 1;
            SetTimer(TIMER_ACOM_SEND, 250);
        }
    }
    // 11. Remote link.
    if (g_radioserver) {
        if (g_radioinitialised && g_radioheard) ServiceServerSocket();
    }
    if (g_client) {
        ServiceClientSocket();
        if (g_linkstate == 3 && g_radioinitialised) {
            ClientState();
            const unsigned now = plat::GetTickCount();
            if ((g_ipsoundstate == 0 || g_ipsoundstate == 3) && (g_ipsoundstamp == 0 || now - g_ipsoundstamp > 5000)) {
                g_ipsoundstate = CallIPSound(2);
                g_ipsoundstamp = now;
            }
        }
    } else if (g_linkstate == 3) {
        SendKeepAlive();
        if (RemoteOperatorActive()) KillTimer(TIMER_METER_CYCLE);
    }
    // 12.
    if (g_rotorconnected) PollRotorHeading();
    // 13. Antenna read.
    if (!g_mirror && ModelCap(g_antennaupkeep)) {
        SendCiv({0x12});
    }
    // 14. Perseus panadapter and THP poll.
    if (g_thp && !g_tuning) {
        if (g_perseuspan) {
            const std::uint8_t f[6] = {0xFE, 0xFE, 0xE1, 0xE0, 0x03, 0xFD};
            SendToPerseus(f, 6);
        }
        if (g_thppoll) {
            g_activethp = 0;
            SendToTHP(reinterpret_cast<const std::uint8_t*>("FA;"), 3);
        }
    }
    // 15. Alpha 87A.
    if (!g_client && g_a87port != plat::kInvalidPort) {
        const double tx = TxFrequency();
        if (IsHamBand(tx) && tx < 30.0) {
            const int khz = A87Khz(tx);
            if (khz != g_a87lastkhz) {
                char buf[24];
                int n = std::snprintf(buf, sizeof buf, "FREQ %d\r", khz);
                SendToA87(reinterpret_cast<const std::uint8_t*>(buf), n);
                g_a87lastkhz = khz;
            }
        }
        SendToA87(reinterpret_cast<const std::uint8_t*>("PWR\r"), 4);
    }
    // 16. IC-PW1 / OM4.
    if (g_pw1port != plat::kInvalidPort || g_om4port != plat::kInvalidPort) {
        g_pw1toggle = g_vfoafreq != g_pw1lastfreq ? 1 : !g_pw1toggle;
        if (g_pw1toggle) {
            if (g_pw1port != plat::kInvalidPort) SendFreqToPW1();
            if (g_om4port != plat::kInvalidPort) SendFreqToOM4();
            g_pw1lastfreq = g_vfoafreq;
        } else if (g_pw1port != plat::kInvalidPort) {
            SendModeToPW1();
        }
    }
    // 17.
    if (g_flexopen) SetFlexKnobLeds();
    // 18. Mode restore after an identification through the keyer.
    if (g_yaltkeyer && g_idrestorepending && g_yaltinflight == 0) {
        g_idrestorepending = 0;
        RestoreAfterIdentification(true);
    }
    // 19. PALStar.
    if (g_palstarport != plat::kInvalidPort) {
        const double tx = TxFrequency();
        if (tx < 55.0) {
            char fa[16];
            std::snprintf(fa, sizeof fa, "FA%011.0f;", tx * 1e6);
            SendToPALStar(reinterpret_cast<const std::uint8_t*>(fa), 14);
            char info[40];
            std::snprintf(info, sizeof info, "IF%011.0f     +000000 00%c%c00%c001 ;", tx * 1e6,
                          g_transmitting ? '1' : '0', CatModeDigit(char(g_vfoamode)),
                          g_split ? '1' : '0');
            SendToPALStar(reinterpret_cast<const std::uint8_t*>(info), 38);
        }
    }
    // 20.
    if (g_tmate2open) ShowTMate2State();
    // 21.
    if (g_wavehold > 0) --g_wavehold;
    // 22. SteppIR.
    if (g_steppir && g_vfoafreq < 30.0 && !g_split) {
        char buf[16];
        std::snprintf(buf, sizeof buf, "@AF%08.0f\r", g_vfoafreq * 1e6);
        SendToSteppir(reinterpret_cast<const std::uint8_t*>(buf), 12);
    }
    // 23.
    if (g_deferredonswl && g_client) OnSwl();
    // 24.
    if (g_usingpgxlamp && g_pgxlconnected) SendPGXLStatus();
    // 25.
    Clocks();
    // 26.
    if (g_b26ip[0]) SendRadioInfo();
    // 27.
    if (g_rawmode && g_pegasustransferfile[0]) ReadDualFile();
    if (!g_exchangerunning) {
        g_exchangerunning = 1;
        ExchangePegasusFiles();
        g_exchangerunning = 0;
    }
    g_exchangenewdata = 0;
    SetTimer(TIMER_ONE_SECOND,
             OneSecondDelay(plat::TimerDueIn(this, TIMER_METER_CYCLE), plat::TimerPeriod(this, TIMER_METER_CYCLE)));
}

namespace {
// The meter tick carries the housekeeping when it runs at least twice a second.
constexpr long kSecond = 1000;
bool TickCarriesSecond(unsigned meterCycle) { return meterCycle > 0 && meterCycle <= kSecond / 2; }
}  // namespace

unsigned OneSecondDelay(long meterDueIn, unsigned meterCycle) {
    if (meterDueIn < 0 || !TickCarriesSecond(meterCycle)) return unsigned(kSecond);
    long delay = meterDueIn;
    while (delay + long(meterCycle) <= kSecond + long(meterCycle) / 2) delay += long(meterCycle);
    // Each tick is re-armed from when it ran, so under load the ticks drift
    // later than this forecast; a cycle's grace keeps the timer from running
    // alone ahead of its tick.
    delay += long(meterCycle);
    return unsigned(delay < 10 ? 10 : delay);
}

bool OneSecondRidesTick(long oneSecondDueIn, unsigned oneSecondPeriod, unsigned meterCycle) {
    if (oneSecondDueIn < 0 || !TickCarriesSecond(meterCycle)) return false;
    // OneSecondDelay's periods are over a second and a half cycle; a plain
    // second has no grace after it.
    const long cycle = long(meterCycle);
    const long grace = long(oneSecondPeriod) > kSecond + cycle / 2 ? cycle : 0;
    return oneSecondDueIn - grace <= cycle / 2;
}

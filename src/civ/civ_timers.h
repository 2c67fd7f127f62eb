// The program's window timers: one fixed table of ids for every subsystem.
// Every timer lives on the main frame; the engine and the devices arm theirs
// on `g_timerwindow`, which start-up points at the main frame (tests point
// it at a window of their own). A timer is one-shot unless its handler
// re-arms it.
#pragma once

namespace plat {
class Window;
}

constexpr unsigned TIMER_NEW_TUNING = 1;         // tuning tick, "NEW TUNING DELAY" ms
constexpr unsigned TIMER_METER_CYCLE = 2;        // meter tick, "METER CYCLE" ms
constexpr unsigned TIMER_ONE_SECOND = 206;       // one-second housekeeping
constexpr unsigned TIMER_POPUP_TEXT = 425;       // removes the pop-up text, 2000 ms
constexpr unsigned TIMER_SWEEP_STEP = 621;       // sweep step
constexpr unsigned TIMER_KEY_GUARD = 622;        // key-repeat guard, 50 ms
constexpr unsigned TIMER_SCAN = 623;             // scan dwell, "FSCAN DWELL" s
constexpr unsigned TIMER_EXIT = 624;             // final exit step
constexpr unsigned TIMER_SWEEP_RETRY = 625;      // sweep retry
constexpr unsigned TIMER_SENDQ = 626;            // send pump, 50 ms
constexpr unsigned TIMER_TUNER_STEP = 627;       // tuner sequence step
constexpr unsigned TIMER_KEYING_LOOP = 628;      // pulsed keying, 20 ms
constexpr unsigned TIMER_SWEEP_RESUME = 629;     // sweep resumes after transmit
constexpr unsigned TIMER_DEFERRED_ONSWL = 630;   // deferred state push, 50 ms
constexpr unsigned TIMER_MEM_TRANSFER = 631;     // radio-memory save/restore step
constexpr unsigned TIMER_CW_ELEMENT = 632;       // CW element sender
constexpr unsigned TIMER_SCAN_RESUME = 633;      // scan resumes after transmit
constexpr unsigned TIMER_VFOB_DELAY = 634;       // delayed VFO B display
constexpr unsigned TIMER_VFOB_SEND = 643;        // send VFO B after tuning it
constexpr unsigned TIMER_AF_GAIN = 644;          // AF gain debounce, 200 ms
constexpr unsigned TIMER_SUB_AF_GAIN = 645;      // sub AF gain debounce, 200 ms
constexpr unsigned TIMER_SELECT_VFO = 648;       // back to VFO A after a VFO B operation
constexpr unsigned TIMER_EQUALIZE_SUB = 649;     // main/sub equalize, "DIVERSITY DELAY" ms
constexpr unsigned TIMER_CLOSE2 = 650;           // second close step, 1 ms
constexpr unsigned TIMER_VFOA_DELAY = 651;       // delayed VFO A display
constexpr unsigned TIMER_AUTOTUNE = 652;         // tuner watchdog
constexpr unsigned TIMER_AG_TIMEOUT = 5178;      // network antenna switch watchdog
constexpr unsigned TIMER_RG_TIMEOUT = 5179;      // network rotator watchdog
constexpr unsigned TIMER_KEYON_DELAY = 6201;     // transmitter off after keyon
constexpr unsigned TIMER_SWEEP_END = 6300;       // sweep end
constexpr unsigned TIMER_TUNER_RECALL = 6301;    // the tuner follows the radio
constexpr unsigned TIMER_DEVICE_POLL = 6302;     // device poll, "READ TIMER" ms
constexpr unsigned TIMER_KNOB_SPEED = 6303;      // knob high speed ends, 300 ms
constexpr unsigned TIMER_KNOB_WINDOW = 6304;     // knob step window, 150 ms
constexpr unsigned TIMER_ACOM_SEND = 6305;       // Acom command, 250 ms
constexpr unsigned TIMER_FREQ_HOLDOFF = 6306;    // end of the frequency-report hold-off
constexpr unsigned TIMER_SOCK_TIMEOUT = 6307;    // remote link watchdog
constexpr unsigned TIMER_PASSBAND = 6308;        // Perseus passband, at most one per 300 ms
constexpr unsigned TIMER_RX2_MUTE = 6309;        // second receiver unmute
constexpr unsigned TIMER_REMOTE_LOGOFF = 6310;   // call-log log-off; no case of its own
constexpr unsigned TIMER_POLL_SEQUENCE = 6311;   // mirror poll, "MIRROR POLL" ms
constexpr unsigned TIMER_SLIDER_POLL = 6312;     // main/sub sliders
constexpr unsigned TIMER_AUTOBAUD = 6313;        // radio search step
constexpr unsigned TIMER_THP_FREQ = 6314;        // THP frequency follower
constexpr unsigned TIMER_PGXL_STATUS = 6315;     // PGXL status change

extern plat::Window* g_timerwindow;

// Arm (re-arming replaces) or kill a timer on g_timerwindow; nothing while
// there is no window.
void SetCivTimer(unsigned id, unsigned ms);
void KillCivTimer(unsigned id);

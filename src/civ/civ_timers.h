// Window timers the CI-V engine arms. Every program timer lives on the main
// frame; the engine arms its own on `g_timerwindow`, which start-up points
// at the main frame (tests point it at a window of their own).
#pragma once

namespace plat {
class Window;
}

constexpr unsigned TIMER_SENDQ = 626;         // send pump, 50 ms
constexpr unsigned TIMER_DEVICE_POLL = 6302;  // device poll, "READ TIMER" ms

extern plat::Window* g_timerwindow;

// Arm (re-arming replaces) or kill a timer on g_timerwindow; nothing while
// there is no window.
void SetCivTimer(unsigned id, unsigned ms);
void KillCivTimer(unsigned id);

#include "civ/civ_timers.h"

#include "platform/window.h"

plat::Window* g_timerwindow = nullptr;

void SetCivTimer(unsigned id, unsigned ms) {
    if (g_timerwindow) g_timerwindow->SetTimer(id, ms);
}

void KillCivTimer(unsigned id) {
    if (g_timerwindow) g_timerwindow->KillTimer(id);
}

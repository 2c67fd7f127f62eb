#include "devices/control_surfaces.h"

#include "devices/cat_out.h"

#include "devices/key_events.h"
#include "devices/knob_tuning.h"
#include "devices/midi_controllers.h"
#include "platform/types.h"

int g_flexopen = 0;
int g_tmate2open = 0;
int g_keyguard = 0;
int g_knobhighspeed = 0;
int g_knobsteps = 0;
int g_accxmit = 0;
int g_deferredonswl = 0;

// The RX331 shares the keypad pod's line; its start-up text is the CAT-out
// ports' writer's.
void InitRx331() { SendRX331Init(); }

namespace {
// Accelerator commands: F1..F5 (CW memories or pod keys), F6..F11, Page
// Up/Down with and without Shift.
constexpr unsigned kF1 = 5020;
constexpr unsigned kF6 = 615;
constexpr unsigned kF7 = 636;  // .. F11 = 640
constexpr unsigned kPageUp = 150;
constexpr unsigned kPageDown = 117;
constexpr unsigned kShiftPageUp = 5083;
constexpr unsigned kShiftPageDown = 5084;
}  // namespace

bool OnSurfaceCommand(unsigned id) {
    if (id >= kF1 && id < kF1 + 5) {
        OnKeyF(int(id - kF1) + 1);
        return true;
    }
    if (id >= kF7 && id < kF7 + 5) {
        OnKeyF(int(id - kF7) + 7);
        return true;
    }
    switch (id) {
    case kF6: OnKeyF(6); return true;
    case kPageUp: OnPageUp(); return true;
    case kPageDown: OnPageDown(); return true;
    case kShiftPageUp: OnShiftPageUp(); return true;
    case kShiftPageDown: OnShiftPageDown(); return true;
    case ID_POD_PERIOD_KEY: OnPodPeriodKey(); return true;
    case ID_POD_ZERO_KEY: OnPodZeroKey(); return true;
    case ID_POD_CAPTION:
        // The same id also carries the amplifier-tune state: others may take it too.
        ShowPodKnob();
        return false;
    case ID_TMATE2_MULTI: OnTmate2MultiChange(); return true;
    case ID_MIDI_REOPEN: OnMidiReopen(); return true;
    default: return false;
    }
}

bool OnSurfaceMessage(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam) {
    switch (msg) {
    case WM_MIDI_DATA: MidiData(std::uint32_t(wParam), std::uint32_t(lParam)); return true;
    case WM_MIDI_LONGDATA: MidiDataLong(std::uint32_t(wParam), std::uint32_t(lParam)); return true;
    default: return false;
    }
}

// The one dispatcher of control-surface functions and the one processor of
// key events: keypads, knob buttons, the FlexControl, the TMate2, MIDI
// buttons and the PC's function keys all end here.
#pragma once
#include <cstdint>

extern int g_keypadtyping;    // a frequency is being typed from a keypad
extern int g_numericpending;  // 1 "Up Numeric" / 2 "Down Numeric" armed for the next digit
extern int g_podpttlatched;   // transmit latched by "PTT" in toggle mode (and by 5014)
extern int g_xfcswapped;      // "XFC" has swapped the VFOs
extern int g_midifunctionknob;  // the request comes from a MIDI function knob

// Runs one action code. `key` is the key code that caused it, 1 to have
// the knob label refreshed without a key, 0 from knob turns.
void ExecuteFunction(int action, std::uint8_t key);
// The release side of a function (hold release, PTT in momentary mode).
void PostKnobButton(int action);
// Processes the key-event records of buf[start..length); returns the
// position after the last record taken. A record needs all three bytes.
int ProcessKeyEvents(const std::uint8_t* buf, int length, int start);
// A press and a release of `code`.
void PressKey(std::uint8_t code);
// The same, only with the Griffin PowerMate option on.
void PressPodButton(std::uint8_t code);

// Keys of the main frame that emulate pod buttons.
void OnKeyF(int n);  // F1..F11
void OnPodPeriodKey();
void OnPodZeroKey();

// Posts a radio-panel command to the window that routes it (the main frame).
void PostPanelCommand(unsigned id);
// Stops a running memory scan or range scan: a control surface took over.
void StopScansForSurface();

// Raises the panel-change flag while alive; the outermost one runs a state
// push the panel asked for meanwhile.
class PanelChangeScope {
public:
    PanelChangeScope();
    ~PanelChangeScope();
    PanelChangeScope(const PanelChangeScope&) = delete;
    PanelChangeScope& operator=(const PanelChangeScope&) = delete;

private:
    int saved_;
};

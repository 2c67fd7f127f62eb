// What the engine and the devices show on the "Transceiver Settings" window
// when the radio or a device changes a setting or a state behind it. They sit
// below the window, so they only name the request here; the window implements
// it and the application registers it at start-up. With nothing registered
// (or no window) every request does nothing. Controls are named by their ids.
#pragma once

class SettingsView {
public:
    virtual ~SettingsView() = default;
    // Shows one control's setting again (after the radio changed it).
    virtual void ShowSettingRow(int /*id*/) {}
    // Puts `text` on the control of a row (a label showing a device's state).
    virtual void ShowRowText(int /*id*/, const char* /*text*/) {}
    // Puts `text` in an edit.
    virtual void SetEditText(int /*id*/, const char* /*text*/) {}
    // Checks or clears a check box.
    virtual void SetCheck(int /*id*/, int /*check*/) {}
    // Puts `text` on the value label under a slider row.
    virtual void SetValueLabel(int /*id*/, const char* /*text*/) {}
    // The key-speed slider shows the keyer's speed-pot base.
    virtual void SetKeySpeed(int /*base*/) {}
    // The rotor's received bearing and moving flag.
    virtual void ShowRotorState() {}
    // The "Rotor Bearing" edit shows the typed target (g_rotortarget).
    virtual void ShowRotorTarget() {}
    // The amplifier's last reply.
    virtual void ShowAmplifierText() {}
};

// `view` answers from now on; null goes back to doing nothing.
void RegisterSettingsView(SettingsView* view);
// The registered view, or one that does nothing.
SettingsView& SettingsWindow();

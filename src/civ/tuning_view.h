// What the engine announces about the tuning state, and the few things it
// asks of the panel. The engine owns this interface so that it needs
// nothing from the panel above it: it writes Tuning() itself and then tells
// the registered view, which the program wires to the radio panel at
// start-up. Without a registered view every call does nothing and the
// state is kept all the same.
#pragma once
#include <string>

// The panel refreshes that need nothing but the state (or the one value
// given with them).
enum class TuningShow {
    Mode,              // VFO A's mode on its buttons, readout and filters
    ModeCaptions,      // both VFOs' mode captions
    FilterButtons,     // value: the filter index lit
    FilterNameB,       // VFO B's filter label
    Band,              // the lit band button (g_bandrow)
    Power,             // the power slider (g_power)
    Antenna,
    RxAntenna,
    Attenuator,
    Preamp,
    Apf,
    Agc,               // value: the AGC code the state takes
    BreakIn,           // value: the break-in setting the state takes
    MeterSetting,      // the meter choice (g_metersetting)
    RfStatusLine,      // the sub receiver's status lines
    DspStatusLine,
    ReceiverSliders,   // value: 0 the main receiver's, 1 the sub's
    VolumeA,           // value: the AF gain slider
    TuneButton,        // value: lit or not
    MemoryScanButton,  // value: lit or not
    RadioContact,      // the notice of a radio that does not answer, shown or cleared
};

// The panel's own two-state controls the engine may flip as their buttons
// do (the panel then asks for a push of what changed).
enum class TuningToggle { Split, Dual, DataMode, Squelch };

enum class PbtCut { Inner, Outer };

class TuningView {
public:
    virtual ~TuningView() = default;

    // ---- Announcements
    // A VFO's frequency on its digits (vfo 'A' or 'B').
    virtual void ShowFrequency(char vfo, double mhz) { (void)vfo; (void)mhz; }
    // The radio changed mode: the panel takes the tuning as a whole (a 0 or
    // 0.0 leaves that value as it is).
    virtual void ShowTuning(double freqA, char modeA, double stepHz, int filter, double freqB, char modeB) {
        (void)freqA; (void)modeA; (void)stepHz; (void)filter; (void)freqB; (void)modeB;
    }
    // VFO A's filter readout and buttons.
    virtual void ShowFilter(int index) { (void)index; }
    // A VFO's digits in the transmit colour or not.
    virtual void ShowTransmit(char vfo, int on) { (void)vfo; (void)on; }
    virtual void ShowMeter(int value, int type) { (void)value; (void)type; }
    virtual void ShowMeterPeak(int peak, int type) { (void)peak; (void)type; }
    // The transmit power in watts beside the power slider.
    virtual void ShowPowerText(const std::string& text) { (void)text; }
    // The function button of panel command `command` lit or not.
    virtual void LightButton(unsigned command, int on) { (void)command; (void)on; }
    virtual void Show(TuningShow what, int value = 0) { (void)what; (void)value; }

    // ---- Requests, carried out as the panel's own controls do
    virtual void SetStep(int hz) { (void)hz; }
    virtual void SetPbt(PbtCut cut, int position) { (void)cut; (void)position; }
    virtual void Toggle(TuningToggle what) { (void)what; }
    // Dual watch on (when off) with VFO B following VFO A.
    virtual void StartDiversity() {}
    // A preset's mode with its defaults, leaving the CW keyboard as it is.
    virtual void SelectPresetMode(char mode) { (void)mode; }
    // The panel's state into the band row of `mhz` before it is left.
    virtual void StoreBand(double mhz) { (void)mhz; }
};

// The registered view (nullptr: none); TuningDisplay() is it or a view that
// does nothing.
void SetTuningView(TuningView* view);
TuningView& TuningDisplay();

// The state takes a value and the view shows it.
void AnnounceMeter(int value, int type);
void AnnounceMeterPeak(int peak, int type);
void AnnounceTransmit(char vfo, int on);

// The radio panel: the update operations over the tuning state (the
// engine's TuningState, whose fields the panel carries under the same names)
// and its display through an attached view. The CI-V engine announces radio
// state through its tuning view, which the program wires to this panel; the
// main frame calls the update operations itself. Operator actions change the
// state and tell the main frame (WM_COMMAND 1213), whose OnSwl sends what
// differs. The panel itself never builds a radio command.
//
// Without a view every display call does nothing; the texts a view would
// show come from the free functions below.
#pragma once
#include <array>
#include <string>

#include "civ/frequency_state.h"
#include "civ/tuning_state.h"
#include "platform/paint.h"

namespace plat {
class Window;
}

// Commands between the radio window and the main frame.
constexpr unsigned IDC_RADIO_WINDOW = 1213;  // panel state changed: run OnSwl
constexpr unsigned IDC_VFOB_CHANGED = 1408;  // VFO B, the VFO swap or the sub receiver changed
constexpr unsigned ID_TIME_STATION = 1214;   // tune the stored time station
constexpr unsigned ID_STORED_FREQ = 32000;   // tune the keypad's frequency (g_keypadfreq)
// Panel commands.
constexpr unsigned IDC_STEP_UP = 233;
constexpr unsigned IDC_STEP_DOWN = 5010;
constexpr unsigned IDC_STEP1 = 701;  // 701..706: the six step buttons
constexpr unsigned IDC_STEP_LABEL = 1201;  // a click on the step label: the step dialog
constexpr unsigned WM_VFO_DRAG = 1305;     // the VFO drag tool's message, wParam its code
constexpr unsigned IDC_KEY_DIGIT_A = 5163;
constexpr unsigned IDC_KEY_DIGIT_B = 5172;

constexpr int kDigitBoxes = 8;
constexpr int kStepButtons = 6;

extern int g_manualmode;  // ManMD: no step rounding, no per-mode defaults
extern int g_manualmodesaved;  // ManMD as it was before SaveTuneState forced it on
extern int g_inpodkey;    // a keypad-pod record is being processed
extern int g_keyentry;    // the key handed to KeyDigitA/B (a character code); they clear it
extern double g_keypadfreq;  // the keypad's frequency for ID_STORED_FREQ, MHz

// ---- Pure display and step rules -------------------------------------------

// "%09.6f" of the frequency with a leading '0' replaced by a blank.
std::string FrequencyText(double mhz);
// The eight digit boxes of a VFO for `mhz`.
std::array<std::string, kDigitBoxes> FrequencyDigitBoxes(double mhz, bool removeExtraDecimal);
// Step captions: "%3.0f Hz" below 1000, else "%3.1f kHz"; VFO B without units.
std::string StepCaption(double hz);
std::string StepBCaption(double hz);
// VFO A rounded to the nearest multiple of `stepHz` (a half step rounds up).
// A step below 1 counts as 1.
double RoundToStep(double mhz, int stepHz);
// The STEPn list taken in ascending order: the next one up (wrapping to the
// smallest) and down (wrapping to the largest) from `step`.
int StepAbove(double step, const std::array<int, kStepButtons>& steps);
int StepBelow(double step, const std::array<int, kStepButtons>& steps);
// The first step button equal to `step` (as an integer), or -1.
int StepButtonFor(double step, const std::array<int, kStepButtons>& steps);
// Resolution of the frequency scale for a step.
int ScaleResolution(double step, bool variableScale);
// The leading number of a filter name in Hz, times 1000 below 20
// ("2.4 kHz " gives 2400, "500 Hz " gives 500); 0 without a number.
int FilterNameWidth(const char* name);
// The six step-button values as configured.
std::array<int, kStepButtons> ConfiguredSteps();
// RIT/XIT offsets: "%+3d" (Hz) for -999..999, else "%+4.3f" kHz.
std::string OffsetText(int hz);
// PBT shifts stay within what the cut positions 0..255 can carry.
constexpr int kMaxPbtShift = 1280;
int ClampPbtShift(int hz);

// ---- The view ---------------------------------------------------------------

// Display hooks the radio window implements; every default does nothing.
class PanelView {
public:
    virtual ~PanelView() = default;
    virtual void ShowDigits(int vfo, const std::array<std::string, kDigitBoxes>& boxes) { (void)vfo; (void)boxes; }
    virtual void ShowModeCaption(int vfo, char mode) { (void)vfo; (void)mode; }
    virtual void LightModeButton(char mode) { (void)mode; }
    virtual void ShowFilterName(const std::string& name) { (void)name; }
    virtual void SetFilterGraphicWidth(int hz) { (void)hz; }
    virtual void LightFilterButtons(int index) { (void)index; }
    virtual void ShowVfoBFilterLabel(int index) { (void)index; }
    virtual void LightBandButton(int row) { (void)row; }
    virtual void ShowStepCaption(const std::string& text) { (void)text; }
    virtual void LightStepButton(int button) { (void)button; }  // -1: none lit
    virtual void ShowStepBCaption(const std::string& text) { (void)text; }
    virtual void SetScaleResolution(int resolution) { (void)resolution; }
    virtual void MoveFrequencyScale(double mhz) { (void)mhz; }
    virtual void SetTransmitColour(int vfo, bool transmitting) { (void)vfo; (void)transmitting; }
    virtual void ShowPbt(int shift) { (void)shift; }
    virtual void ShowMeter(int value, int type) { (void)value; (void)type; }
    // Power (type 1) with the reflected power beside it.
    virtual void ShowPowerMeter(int forward, int reflected) { ShowMeter(forward, 1); (void)reflected; }
    virtual void ShowMeterPeak(int peak, int type) { (void)peak; (void)type; }
    virtual void ShowStoreCaption(const std::string& text) { (void)text; }
    virtual void LightButton(unsigned id, int on) { (void)id; (void)on; }
    virtual void ShowSaveNotice() {}
    // Any control by id: its caption, whether it shows, a slider's or drag
    // scale's value (read back as -1 / 0 without such a control).
    virtual void SetControlText(unsigned id, const std::string& text) { (void)id; (void)text; }
    virtual void ShowControl(unsigned id, bool show) { (void)id; (void)show; }
    virtual void SetSliderValue(unsigned id, int value) { (void)id; (void)value; }
    virtual int SliderValue(unsigned id) const { (void)id; return -1; }
    virtual void SetDragValue(unsigned id, int value) { (void)id; (void)value; }
    // The radio has not answered (yet): said plainly where the meter is.
    virtual void ShowRadioSilent(bool silent, const std::string& text) { (void)silent; (void)text; }
    // The call-sign label's font height (pixels at the default scale) and colour.
    virtual void SetCallSignStyle(int height, plat::Colour colour) { (void)height; (void)colour; }
    // A two-state button's caption colour while lit.
    virtual void SetButtonOnColour(unsigned id, plat::Colour colour) { (void)id; (void)colour; }
};

// ---- The panel --------------------------------------------------------------

class CSwlPanel {
public:
    // The tuning state (civ/tuning_state.h) under the names the panel's
    // routines have always used: frequencies in MHz, steps in Hz.
    TuningState& state = Tuning();
    double& vfoAFreq = state.vfoAFreq;
    char& vfoAMode = state.vfoAMode;
    double& vfoBFreq = state.vfoBFreq;
    char& vfoBMode = state.vfoBMode;
    double& step = state.step;
    int& filter = state.filter;
    int& agc = state.agc;
    int& split = state.split;
    int& dual = state.dual;
    int& diversity = state.diversity;
    int& rit = state.rit;
    int& xit = state.xit;
    int& pbt = state.pbt;
    int& ritOffset = state.ritOffset;
    int& xitOffset = state.xitOffset;
    int& pbtInner = state.pbtInner;
    int& pbtOuter = state.pbtOuter;
    int& pbtShift = state.pbtShift;
    int& pbtShown = state.pbtShown;
    int& enabled = state.enabled;
    int& transmitA = state.transmitA;
    int& transmitB = state.transmitB;
    int& antenna = state.antenna;
    int& rxAntenna = state.rxAntenna;
    int& attenuator = state.attenuator;
    int& preamp = state.preamp;
    int& dataMode = state.dataMode;
    int& vsc = state.vsc;
    int& meterValue = state.meterValue;
    int& meterType = state.meterType;
    int& meterPeak = state.meterPeak;
    PanelFunctions& fn = state.fn;
    using KeyEntry = TuningState::KeyEntry;
    KeyEntry& keyA = state.keyA;
    KeyEntry& keyB = state.keyB;

    // A new panel starts the tuning state from its defaults. The members
    // above are references into it, so a panel is neither copied nor assigned.
    explicit CSwlPanel(plat::Window* parent = nullptr) : parent_(parent) { state = TuningState{}; }
    CSwlPanel(const CSwlPanel&) = delete;
    CSwlPanel& operator=(const CSwlPanel&) = delete;
    void SetParent(plat::Window* parent) { parent_ = parent; }
    plat::Window* Parent() const { return parent_; }
    void SetView(PanelView* view) { view_ = view; }
    PanelView* View() const { return view_; }

    // Update operations.
    void SetPanelTuning(double freqA, char modeA, double stepHz, int filterIndex, double freqB, char modeB);
    void SetFrequency(double mhz);
    void SetFrequency2(double mhz);
    void SetTransmitA(int on);
    void SetTransmitB(int on);
    void SetMode(char mode);
    void ShowMode();
    void SetFilter(int index);
    void SelectFilter(int index);
    void ShowFilterButtons(int index);
    void ShowFilterNameB();
    void ShowBand();
    void SetStep(int stepHz);
    void ShowStep(double stepHz);
    void ShowStepB();
    void StepUp();
    void StepDown();
    void KeyDigitA();
    void KeyDigitB();
    void RefreshFrequency();
    void NotifyMainWin();
    void NotifyVfoB();
    void ReturnFocus();
    // Step buttons 1..6 (commands 701..706).
    void StepButton(int n);
    // The panel's commands (step buttons, step up/down, keypad); true when handled.
    bool OnCommand(unsigned id);
    // Meter display (the panel's meter control).
    void ShowMeterReading(int value, int type);
    void ShowPowerReading(int forward, int reflected);
    void ShowMeterPeak(int peak, int type);
    // The memory "Store" button's caption (a radio-memory transfer shows its
    // channel there).
    void ShowStoreCaption(const std::string& text);
    std::string storeCaption = "Store";

    // Operations built with the panel's later controls.
    void PressModeButton(char mode);
    void SetPbtInner(int position);
    void SetPbtOuter(int position);
    void ToggleSplit();
    void ToggleDual();
    void SetDiversity(int on);
    void MouseWheel(int delta);
    void StoreCurrentBand(double mhz);
    void SelectBand(int row);
    void ToggleDataMode();
    void ToggleSquelch();
    void ShowAntenna();
    void ShowRxAntenna();
    void ShowAttenuator();
    void ShowPreamp();
    void SetModeCaption();
    void SetMemoryScanButton(int on);
    void SetTuneButton(int on);
    // The state kept around a tuner or amplifier tune (band row 38).
    void SaveTuneState();
    void RestoreTuneState();

    // The command groups OnCommand hands on to, each in its own file; true
    // when the group knows the id.
    bool OnPanelCommand(unsigned id);
    bool OnBandCommand(unsigned id);      // band buttons, scratch pads
    bool OnModeCommand(unsigned id);      // mode, filter and AGC buttons
    bool OnVfoCommand(unsigned id);       // VFO buttons, split, dual, step label
    bool OnOffsetCommand(unsigned id);    // RIT, XIT, PBT
    bool OnFunctionCommand(unsigned id);  // function buttons
    bool OnSliderCommand(unsigned id);    // main/sub slider switch
    bool OnMemoryButton(unsigned id);     // Store, Recall, Scan
    // The window's scale and drag-tool messages (351 picked, 352 dragged)
    // with the control's value.
    bool OnScaleMessage(unsigned msg, int id, double value);
    // A slider's message (its own id) with its new value.
    bool OnSliderMessage(int id, int value);
    // The wheel over the RIT/XIT scale (2382) or the PBT scale (2386).
    void WheelOverScale(int id, int clicks);
    // Before a wheel or knob step moves RIT or PBT: switch it on when it is
    // off and allowed (never off again, however many steps come).
    void SwitchRitOnForStep();
    void SwitchPbtOnForStep();
    // SPLIT and DUAL on: RIT and XIT off, their buttons too.
    void SwitchRitXitOff();

    // ---- Band stack state
    int bandLoading = 0;  // a band row is being loaded
    // While above 0 NotifyMainWin waits: a row load, a swap or a band button
    // tells the main frame once, when the whole change is on the panel.
    int notifyHold = 0;
    int tuneStateHeld = 0;  // SaveTuneState holds row 38 until RestoreTuneState
    class NotifyHold {
    public:
        explicit NotifyHold(CSwlPanel& p) : p_(p) { ++p_.notifyHold; }
        ~NotifyHold() { --p_.notifyHold; }
        NotifyHold(const NotifyHold&) = delete;
        NotifyHold& operator=(const NotifyHold&) = delete;

    private:
        CSwlPanel& p_;
    };
    // Writes the panel state into band row `row` with `mhz` as its frequency.
    void StoreBandRow(double mhz, int row);
    // A band button (command `id`, band row `row`).
    void BandButton(unsigned id, int row);
    // The next (`up`) or previous 60 m channel.
    void SixtyMeterStep(bool up);
    // VFO A to the low edge of the current band row.
    void BandBottom();
    // Scratch pads: store into `row` shown on scratch-pad field `field`;
    // recall `row` after keeping the current state in the undo row.
    void StoreScratch(int row, int field);
    void RecallScratch(int row);
    // Labels of values kept elsewhere: the VFO A station name
    // (g_stationcaption), the call sign ("CALLSIGN" in its colour and size)
    // and the rotor's target bearing.
    static constexpr unsigned kStationLabel = 9348, kCallSignLabel = 9349, kBearingLabel = 9350;
    static constexpr unsigned kRitLabel = 9341, kXitLabel = 9343, kPbtInnerLabel = 9345, kPbtOuterLabel = 9347;
    void ShowStationCaption();
    void ShowCallSign();
    void ShowBearing();
    // The LDG tuner beside its buttons: the SWR of its last report and the
    // result of the last tune in their fields, the antenna (1, 2) and the
    // impedance (HiZ when set) on their buttons. Kept here so that a window
    // created later shows them too (ShowTuner).
    static constexpr unsigned kTunerSwrField = 9351, kTunerField = 9352;
    static constexpr unsigned kTunerAntennaButton = 6120, kTunerImpedanceButton = 595;
    std::string tunerSwr, tunerResult;
    int tunerAntenna = 1, tunerHiZ = 0;
    void ShowTunerSwr(const std::string& text);
    void ShowTunerResult(const std::string& text);
    void ShowTunerCaptions(int antenna, int hiz);
    void ShowTuner();
    // The transverter buttons 40145..40149 for the transverters set up.
    static constexpr unsigned kFirstTransverterButton = 40145;
    void ShowTransverterButtons();
    // Band button command -> band row, or -1.
    static int BandRowOfCommand(unsigned id);

    // ---- Mode, filter and AGC state
    // Set by the main frame around the mode change of a world-time station
    // or a frequency preset: the CW keyboard is left as it is.
    int modeFromPreset = 0;
    // The mode setters: the mode with its defaults (Alt keys, the mode
    // buttons, SetMode and the mode cycle end here).
    void SetModeAM();
    void SetModeSAM();
    void SetModeUSB();
    void SetModeLSB();
    void SetModeCW();
    void SetModeCWR();
    void SetModeFM();
    void SetModeWFM();
    void SetModeRTTY();
    void SetModeRTTYR();
    void SetModePSK();
    void SetModePSKR();
    void SetModeDV();
    // The name of a mode code on the panel's labels ("USB", "CWR", ...).
    static std::string ModeName(int code);
    // Filter button n (1..12): its filter for VFO A when the index is one of
    // the model's filters; any other index keeps the current filter.
    void PressFilterButton(int n);
    // The filter index button n (1..12) stands for in `mode`: the configured
    // width-table entry on models with DSP filters, else the n-th of the
    // model's fixed filters; 0 for a button with no filter of the model.
    static int FilterButtonIndex(int n, char mode);
    // The filter button a mode's default position `n` comes to: n when it
    // holds one of the model's filters, else the nearest button before it
    // that does (after it when none before); 0 when no button does.
    static int NearestFilterButton(int n, char mode);
    // The readout, the filter buttons (captions, which show, which is lit)
    // and the VFO B filter label again, for the current mode and filter.
    void RefreshFilters();
    // AGC buttons: Fast/Med/Slow for VFO A, the "Man"/"Off" button, and
    // the VFO B code from their right clicks.
    void SelectAgc(int code);
    void AgcManual();
    void SelectAgcB(int code);

    // ---- VFO, split and dual-watch state
    // VFO A or B one step down (-1) or up (+1); `fast` multiplies the step by
    // "FAST TUNING MULT" and rounds to the multiplied step.
    void StepVfoA(int direction, bool fast);
    void StepVfoB(int direction, bool fast);
    // A code of the VFO drag tool (message 1305): 1301 +10 steps, 1302 +1,
    // 1303 -10, 1304 -1.
    void VfoDragStep(int code);
    void ToggleLock();
    void RepeaterOffset();
    // The step label: the step dialog.
    void StepDialog();
    // Pure rules of the VFO buttons.
    static double FastTuned(double mhz, double stepHz, int multiplier, int direction);
    // The repeater shift (MHz) for VFO A at `mhz`; 0 where there is none.
    static double RepeaterShift(double mhz);
    // SPLIT may join VFO A at `a` and VFO B at `b` without "CROSSBAND".
    static bool SameSplitBand(double a, double b);
    // The step dialog's text for the current step.
    static std::string StepDialogText(double stepHz);

    // ---- RIT, XIT and PBT state
    int pbtInnerOffset = 0, pbtOuterOffset = 0;  // position - 128
    int shiftReported = 0;  // setting a position keeps the shift as given
    int wheelStep = 0;      // a wheel event over a scale is being applied
    int flag168 = 0;        // command 168's own flag
    std::string ritText = "  ";   // the offset display ("%+3d" Hz or kHz)
    std::string xitText = "+0";   // the XIT value display
    // The two positions moved together so that their shift is `shift`.
    void SetPbtFromShift(int shift);
    void ShowPbt();
    // RIT / XIT buttons; RIT and XIT go on only without SPLIT and dual watch.
    void ToggleRit();
    void ToggleXit();

    // ---- Function-button state
    int amtnStep = 1000;      // VFO A step before the amplifier tune
    int amtnKnob = 1;         // knob function before it
    int cwKeyboard = 0;       // the CW keyboard's buttons are shown
    std::string statusText;   // the status label's own text (the mute state)
    // Amplifier tune (command 555): the first press sets up a tune, the
    // second restores what was there.
    void OnAmTn();
    // The main frame reports the mute state: "Mute" or four blanks.
    void ShowMute(int muted);
    // Every function button and status line as the panel's state has it
    // (the window's controls are all there).
    void ShowFunctionButtons();

    // ---- Slider-row state
    // The row's sliders, labels and buttons from the panel's levels, without
    // notifying (the window calls it once the row exists).
    void FillSliderRow();
    // Window messages of the panel other than commands; true when handled
    // (365: the step dialog asks for the step display).
    bool OnPanelMessage(unsigned msg);
    // The sliders write the sub receiver's copies (g_subsliders with g_dual).
    bool SubSliders() const;
    // A slider's position: the window's, or without it the level it shows;
    // -1 for no slider.
    int SliderPosition(int id);
    // The position a receiver level slider shows for the main or sub
    // receiver's copy (subModel: the notch and digital selector's); -1 for
    // no such slider.
    int LevelPosition(int id, bool sub, bool subModel);
    void SetSlider(unsigned id, int value);

    // Operations of the panel's later controls that the main frame uses
    // (keys, labels, close-time layout).
    int swrAlternate = 0;  // the SWR label shows its alternate display
    int vox = 0;           // the VOX button
    int transmit = 0;      // the transmit button (space bar PTT)
    void CopyAToB();
    void SwapAB();
    void CycleAttenuator();
    void SetVolumeA(int gain);
    void HotKeyMode(char mode);  // Alt+A, U, L, C, F, R, P
    void ShowTransmitButton(int on);
    void ShowSwr(const char* text);
    void ShowClocks(const char* local, const char* utc);
    // Whether the radio has answered, on the window: a notice in the meter's
    // place while nothing has been heard from it. The one-second clock tick
    // refreshes it.
    void ShowRadioContact();
    int silentShown = -1;  // what the window shows: -1 nothing yet
    void ShowIdLabel();
    void ShowIdFlash(int selected);
    void ShowVox(int on);
    void CloseLayout();
    void ToggleMainSubSliders();
    // The CW keyboard's marks on the radio window: the speed text, the
    // caption ("Cw Kb"), its four buttons, the keyer-speed slider and the
    // call sign shown as the identification reminder.
    void ShowCwSpeed(const char* text);
    void SetCwCaption(const char* text);
    void ShowCwKeyboardButtons(int on);
    void ShowKeyerSpeed();
    void ShowIdReminder(const char* call);

    // Operations of the panel's later controls that the control surfaces run.
    std::string podKnobCaption;  // the knob-function label
    void ShowPodKnobCaption(const std::string& text);
    void CycleBreakIn();
    void ToggleVox();
    void StoreScratchPad();
    void StoreScratchPad3();
    void RecallScratchPad();
    void RecallScratchPad3();
    void CycleAntenna();
    void ToggleRxAntenna();
    void ToggleTpf();
    void CyclePreamp();
    void KnobUp();
    void KnobDown();
    void ShowRitXit();
    // The AGC start-up of the "Man" button, run once the window exists.
    void InitAgc();
    // Displays the mirror refreshes (main = 0, sub = 1 where a side applies).
    void ShowReceiverSliders(int side);
    void ShowRfStatusLine();
    void ShowDspStatusLine();
    void ShowApf();
    void ShowAgc(int code);
    void ShowPower();
    void ShowBreakIn(int value);
    void ShowMeterSetting();
    void LightFunctionButton(unsigned command, int on);  // the button of that command lit or not

private:
    void KeyDigit(int vfo);
    void ShowKeyedDigits(int vfo, double mhz);

    plat::Window* parent_ = nullptr;
    PanelView* view_ = nullptr;
};

// VFO A / VFO B may be tuned (the LOCK button clears g_tunea).
extern int g_tunea;
extern int g_tuneb;
// The control under the mouse that the wheel adjusts (0: none).
extern int g_wheelctrl;

// The one radio panel.
extern CSwlPanel* g_swlpanel;

// The function buttons' rules: the attenuator and preamp series of each
// radio model, the captions of the multi-state buttons and the sub
// receiver's two status lines. Pure functions, so the rules are tested
// without a window; the panel's handlers (function_buttons.cpp) apply them.
#pragma once
#include <string>

#include "civ/panel_functions.h"

// Commands of the function buttons.
constexpr unsigned IDC_ATTN = 126;
constexpr unsigned IDC_PREAMP = 173;
constexpr unsigned IDC_ATTN_SUB = 6104;    // right click on "Attn" (model 5)
constexpr unsigned IDC_PREAMP_SUB = 6105;  // right click on "PreAmp" (model 5)
constexpr unsigned IDC_NB = 2364;
constexpr unsigned IDC_NR = 2505;
constexpr unsigned IDC_ANOTCH = 2495;
constexpr unsigned IDC_ANOTCH_SUB = 2507;
constexpr unsigned IDC_MNOTCH = 2518;
constexpr unsigned IDC_NOTCH_WIDTH = 2533;
constexpr unsigned IDC_APF = 2512;
constexpr unsigned IDC_APF_SUB = 2513;
constexpr unsigned IDC_TPF = 2515;
constexpr unsigned IDC_TPF_SUB = 2516;
constexpr unsigned IDC_DIGISEL = 2526;
constexpr unsigned IDC_IPPLUS = 2532;
constexpr unsigned IDC_AGCVR_SUB = 2509;   // right click on "Man" (model 5)
constexpr unsigned IDC_ANTENNA = 2493;
constexpr unsigned IDC_RXANT = 2494;
constexpr unsigned IDC_ANTENNA_SUB = 2520;
constexpr unsigned IDC_RXANT_SUB = 2521;
constexpr unsigned IDC_METER_SEL = 2517;
constexpr unsigned IDC_PTT = 230;
constexpr unsigned IDC_TUNE = 430;
constexpr unsigned IDC_MONITOR = 214;
constexpr unsigned IDC_VOX = 1402;
constexpr unsigned IDC_BREAKIN = 1407;
constexpr unsigned IDC_TX_DISABLE = 596;
constexpr unsigned IDC_AMTN = 555;
constexpr unsigned IDC_CWID = 560;
constexpr unsigned IDC_CWID_NOW = 1230;    // right click on "I D"
constexpr unsigned IDC_MUTE = 114;
constexpr unsigned IDC_VSC = 1520;
constexpr unsigned IDC_KS_DOWN = 1514;
constexpr unsigned IDC_KS_UP = 1515;       // right click on "KS"
constexpr unsigned IDC_USER1 = 1516;       // 1516..1519
constexpr unsigned IDC_REINIT = 2522;
constexpr unsigned IDC_TIME = 424;
constexpr unsigned IDC_MEMSCAN = 422;

// Commands the panel sends on to the main frame.
constexpr unsigned ID_PANEL_CW_ID_NOW = 1229;
constexpr unsigned ID_PANEL_AMTN_CHANGED = 556;
constexpr unsigned ID_PANEL_CLOCK_TOGGLE = 3231;

// The radio window's labels these buttons and the main frame's timers write.
constexpr unsigned IDC_SWR_LABEL = 9109;
constexpr unsigned IDC_STATUS_LABEL = 9110;  // mute state, AGC "UNKNOWN", the identification reminder
constexpr unsigned IDC_SPEED_LABEL = 9111;   // CW speed
constexpr unsigned IDC_CWKB_LABEL = 9112;    // "Cw Kb"
constexpr unsigned IDC_DSP_STATUS = 9323;    // model 5: the sub receiver's DSP line
constexpr unsigned IDC_RF_STATUS = 9324;     // model 5: the sub receiver's RF line
constexpr unsigned IDC_LOCAL_CLOCK = 9107;
constexpr unsigned IDC_UTC_CLOCK = 9108;

constexpr int kKeyerKsMax = 15;
constexpr int kStatusLineLength = 29;

// The radio as the attenuator and preamp rules see it.
struct FunctionModel {
    int radiotype = 0;
    bool perseus = false;
    bool model7610 = false;
};

// The attenuator after `value` in the model's series, wrapping to 0 after
// the last: dB on most models, steps of 3 dB on models 5, 16 and the
// IC-7610. Models without a series keep `value`.
int NextAttenuator(int value, const FunctionModel& m);
// "Attn" at 0, else "Atn-%2d" of the dB.
std::string AttenuatorCaption(int value, const FunctionModel& m);
// Preamp + 1, back to 0 above `maxLevel`.
int NextPreamp(int level, int maxLevel);
// "PreAmp" for 0 and 1, "PreAm2" for 2.
std::string PreampCaption(int level);
// Antenna + 1, back to 1 after 2 (after 4 on models 5 and 16).
int NextAntenna(int antenna, int radiotype);
std::string AntennaCaption(int antenna);
// "APF", "APF320", "APF160", "APF80" for settings 0..3.
std::string ApfCaption(int setting);
// "Bk-In", "BSemi", "BFull" for break-in 0..2.
std::string BreakInCaption(int value);
// Break-in 0 -> 1 -> 2 -> 0; a value outside 0..2 counts as off.
int NextBreakIn(int value);
// "Mn Wid", "Mn Mid", "Mn Nar" for widths 0..2.
std::string NotchWidthCaption(int width);
// VSC may be switched on in USB, LSB, AM and FM only.
bool IsVscMode(char mode);
// The keyer speed offset moved by `delta`, kept in 0..15.
int ClampKeyerKs(int ks, int delta);

// The sub receiver's status lines (29 characters each).
std::string DspStatusLine(const PanelFunctions& f, int agcCodeB);
std::string RfStatusLine(const PanelFunctions& f);

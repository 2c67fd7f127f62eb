// The CI-V setters: one small builder per radio function. Each follows one
// pattern: model gate, optional SelectVfo, BuildCivHeader, bytes, FD,
// sendtoradio. Setters never report errors; a failed gate sends nothing.
// Values come in as arguments, so the panel and the settings window decide
// what is sent and the builders stay testable without windows.
#pragma once
#include <cstdint>

#include "civ/civ_timers.h"  // the timers the setters arm

extern int g_muted;     // AF muted by ToggleMute
extern int g_submuted;  // sub AF muted by ToggleSubMute
extern int g_passbandpending;  // TIMER_PASSBAND runs
extern int g_equalizestep;     // 0 idle, 1 waiting for TIMER_EQUALIZE_SUB, 2 due

// VFO selection. SelectVfo sends 07 only when the radio's selection differs
// and, for 'B', arms the return to A.
void SelectVfo(char v);
// The 07 frame through SendPoll (mirror poll): no state, no timer.
void SelectVfoDirect(char v);
// TIMER_SELECT_VFO expiry.
void OnSelectVfoTimer();

// Scalings (pure).
int AfGainLevel(int a);         // (a + 16)^2 / 255, 0..255
int PercentLevel(int percent);  // percent x 255 / 100, 0..255
int RfGainLevel(int percent);   // (100 - percent) x 255 / 100, 0..255
int CwPitchLevel(int hz);       // (hz - 300) x 32 / 75, hz clamped to 300..900, 0..255
// The settings whose level is nearest to a level the radio reports.
int AfGainFromLevel(int level);  // slider 0..255
int RfGainFromLevel(int level);  // percent 0..100
int ClampLevel(int level);      // 0..255

// Levels (14 xx).
void SendAfGain(int a);
void SendSubAfGain(int a);
void SetRfGain(int percent);
void SetRfGainB(int percent);
void SetSquelchA(int level);
void SetSquelchB(int level);
void SetLoCut(int level);
void SetHiCut(int level);
void SetNrLevelA(int level);
void SetNrLevelB(int level);
void SetNbLevelA(int level);
void SetNbLevelB(int level);
void SetAgcVrLevelA(int level);
void SetAgcVrLevelB(int level);
void SetNotchPositionA(int level);
void SetNotchPositionB(int level);
void SetApfLevelA(int level);
void SetApfLevelB(int level);
void SetDigiSelLevelA(int level);
void SetDigiSelLevelB(int level);
void SetCwPitch(int hz);
void SetTxPower(int percent);
// The watts a power percentage gives on the radio type.
int PowerWatts(int percent, int radiotype);
void PowerUp();
void PowerDown();
// AF gain request: 0 or less at once, others after the 200 ms debounce.
void SetVolume(int a);
void OnAfGainTimer();
// Sub AF request, after the 200 ms debounce.
void SetSubVolume(int a);
void OnSubAfGainTimer();
void ToggleSubMute();
void ToggleMute();
void SetMicGain(int percent);
void SetSpeech(int on, int level);
void SetQskDelay(int value);
void SetVoxGain(int percent);
void SetAntiVox(int percent);
void SetVoxHang(int value);
void SetSidetoneLevel(int value);

// Switches (16 xx and friends). A value byte is sent as it stands.
int AgcCode(int code);  // AGC code to the 16 12 byte, by model
void SetAgc(int code);
void SetAgcA(int code);
void SetAgcB(int code);
void SetPreamp(int level);
void SetPreampA(int level);
void SetPreampB(int level);
void SetAttenuatorA(int step);
void SetAttenuatorB(int step);
void SetNoiseBlankerA(int on);
void SetNoiseBlankerB(int on);
void SetNoiseReductionA(int on);
void SetNoiseReductionB(int on);
void SetAutoNotchA(int on);
void SetAutoNotchB(int on);
void SetManualNotchA(int on);
void SetManualNotchB(int on);
void SetAgcVrA(int on);
void SetAgcVrB(int on);
void SetApfA(int on);
void SetApfB(int on);
void SetDigiSelA(int on);
void SetDigiSelB(int on);
void SetTwinPeakA(int on);
void SetTwinPeakB(int on);
void SetMonitor(int on);
void SetVox(int on);
void SetBreakIn(int value);
void SetFunction1657(int value);  // 16 57, model 23
void SetFunction1A07(int value);  // 1A 07, model 23
void SetSsbTxFilter(int value);
void SetDataMode(int value);
void SetVsc(int on);
void SetCtcss(int tenths);
void SetAntenna(int antenna, int rxAntenna);
void SetDualWatch(int on, int viaPoll = 0);
void EqualizeMainSub();
void OnEqualizeTimer();
void SetTxEnable(int on);
void SetMenuDualFlag();  // 1A 05 00 22, model 5

// Mode and filter.
void SetRadioMode(int mode, int filter);
void SetModeA(int mode, int txMode);
void SetModeB(int mode);
void SetFilterWidth(int index, int mode);
// The same with the filter-width table given: the exit's filter restore sets
// the AM slots from the AM table whatever mode VFO A is in.
void SetFilterWidthFromTable(int index, int mode, bool amTable);
void SetFilterWidthA(int index);
void SetFilterWidthB(int index);
void SetPerseusPassband();
void OnPassbandTimer();
// Makes the next passband request differ from the last one sent.
void ForgetPerseusPassband();
void SendDstarCalls();
// The two halves: UR, R1 and R2 (1F 01), and MY (1F 00).
void SendDstarUrRpt();
void SendDstarMy();

// Transmitter, power, requests.
void SetRadioPower(int on);
void StartTuner();
void PollFreqMode();
void RequestRit();
void SetRadioKeyer(int on);
void SetAuxTHang(int which, int value);
// The stored command text as hex digit pairs, then FD; an odd number of
// digit positions sends nothing.
void SendUserCommand(const char* text);
// The bytes SendUserCommand would send (without header and FD); false when
// the text has an odd number of digit positions.
bool ParseUserCommand(const char* text, std::uint8_t* out, int* count);

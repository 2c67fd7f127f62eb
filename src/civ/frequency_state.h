// Frequency, band and transverter state: both VFOs in MHz, the one routine
// that sends a frequency in the radio's dialect, the propagation after a
// change, the transmit side (split, RIT/XIT, transverter ranges), the band
// lookup and the tuning operations.
#pragma once

#include "civ/civ_timers.h"  // the timers it arms

extern double g_lastsenta;  // VFO A frequency last sent (0: send the next one)
extern double g_lastsentb;  // VFO B frequency last sent
extern int g_split;         // split on
extern int g_selvfo;        // VFO selected on the radio, 'A' or 'B'
extern int g_tuning;        // hold-off: frequency reports are thrown away
extern double g_tvoffset;   // transverter offset added to every frequency read
extern int g_dual;          // dual watch on
extern int g_diversity;     // VFO B follows VFO A
extern int g_tunemodeon;    // the transmitter is in tune mode
extern int g_sweeprunning;  // the VFO A sweep runs
extern int g_sweepbrunning; // the VFO B (sub receiver) sweep runs
extern int g_sweeppause;    // the sweep waits for the end of a transmission
extern int g_tunerrecallarmed;  // TIMER_TUNER_RECALL armed once
extern int g_lastvfobmodesent;    // VFO B mode last sent to the radio
extern int g_lastvfobfiltersent;  // VFO B filter last sent to the radio
extern int g_transverterhold;  // the "Turn off Transverter" box is open: the timer loop holds
// Shows the modal "Turn off Transverter" box (a test may put its own here).
extern void (*g_transverterbox)(const char* text);
void ShowTransverterBox(const char* text);
extern int g_newtuningpending;  // pending tuning action of TIMER_NEW_TUNING: 1 send, 2 end the sweep

// Raises g_tuning for `ms`: the radio's frequency reports in that time are
// thrown away (it reports while it switches).
void HoldFrequencyReports(unsigned ms);
// Sends `mhz` (plus `rit` Hz on VFO A) to VFO 'A' or 'B' unless equal to the
// value last sent.
void SetCommonFrequencies(int rit, double mhz, char vfo);
// Propagation after VFO A changed.
void SetRadioFrequencies();
void SetRadioFrequenciesVFOB();
// Transmit side: split, RIT/XIT, transverter ranges and power.
void SetTxFrequencies();
// Displayed frequency to radio frequency (transverter conversion).
double RadioFrequencyFor(double mhz);
// Band-table row of a frequency; none gives 32 ("GEN BAND").
int BandIndex(double mhz);
// 0 when equal to 1 Hz ("%09.0f" of the Hz), else non-zero; the printed
// values as integers go to the optional outputs.
int CompareFrequencies(double a, double b, long long* hza = nullptr, long long* hzb = nullptr);
// Show the VFO on the panel now or after "FREQUENCY DELAY".
void SendVfoAFreq();
void SendVfoBFreq();

// Tuning.
void TuneUp();
void TuneDown();
void OnFastTuneUp();
void OnFastTuneDown();
void TuneVfoA(int deltaHz);
void TuneVfoB(int deltaHz);
// A wheel on digit box `id` (5156..5162 / 5165..5171) by `clicks`; the
// ids are the radio window's digit boxes.
constexpr unsigned IDC_DIGITS_A = 5155;  // 5155..5162: VFO A digit boxes
constexpr unsigned IDC_DIGITS_B = 5164;  // 5164..5171: VFO B digit boxes
void TuneDigitA(unsigned id, int clicks);
void TuneDigitB(unsigned id, int clicks);
// The step spin control: +1 or -1 Hz.
void OnVScroll(int delta);
void SetTuneMode(int on);
void TuneToFrequency(double mhz, int source);
void UpdateBandStack(double mhz, int store);
void SendFreqToRX340();
// Forgets VFO B's mode, AGC and filter last sent, so the next dual-watch
// refresh sends them again.
void ForgetVfoBSent();
int RadioStateChanged();
// The band-plan transmit test after a frequency or mode change.
void CheckTxEnable();
// The close gives the transmit power back; the band-plan test is not run
// again in this run, so the radio is left as it was before the program
// limited it.
void GiveBackTxEnable();
// WM_COMMAND ID_TIME_STATION: tune the time station in g_keypadfreq's sibling slot.
void OnTimeStation(double mhz);

// Timer expiries, called by the main loop.
void OnFreqHoldoffTimer();
void OnVfoADelayTimer();
void OnVfoBDelayTimer();
void OnVfoBSendTimer();

// Pure rules.
// Transmit frequency is VFO B's in split, else VFO A's.
// The mode code (1 CW, 2 USB, 3 LSB, 4 FM, 5 AM, 6 RTTY, 7 PSK) the band
// plan gives a frequency.
int BandPlanModeCode(double mhz);
// The mode code a band row's stored ModeChar gives; 0 for no change.
int ModeCodeForModeChar(int modeChar);
// The ModeChar a mode code selects ('3' CW ... '9' PSK); 0 for none.
char ModeCharForCode(int code);
// The row of `mhz` searched in band order (preferred row first unless 99);
// -1 when no row holds it.
int BandSearchRow(double mhz, int preferred);

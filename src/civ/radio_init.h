// Radio initialisation and the state push: InitRadio pushes every saved
// setting to the radio; OnSwl compares the panel's values with the copies
// last sent and calls the setter of each value that changed.
#pragma once

#include "civ/civ_timers.h"  // the timers it arms

extern int g_allowed;         // set by InitRadio: frequency sends may go out
extern int g_swlpending;      // a state push requested while the frame reader was busy
extern int g_firstpoll;       // start-up hold ("QARV START"): some setters send nothing
extern int g_rfstarthold;     // "QARV START": preamp and attenuator are stored, not sent
extern int g_forcepush;       // OnSwl sends every compared value, changed or not
extern int g_reinitrequest;   // the next OnSwl reopens the port and runs InitRadio
extern int g_resendfreqs;     // InitRadio sends the frequencies (a memory transfer ended)
extern int g_radioinitialised;  // InitRadio has run (read by the radio server)
extern int g_powerchanged;    // the transmit power changed: OnSwl sends it
extern int g_keyerspeedchanged;  // the keyer speed changed: OnSwl applies it
extern int g_tunerstate;      // internal tuner: 1 requested, 2 running, 6 start, 0 idle
extern int g_tuneraction;     // tuner command byte (1C 01 x)
extern int g_userbutton;      // 1..4: user command to send on the next push
extern int g_bandchanged;     // the band changed since the last push
extern int g_vfoadelaypending;  // TIMER_VFOA_DELAY runs: the delayed VFO A display is due
extern int g_bandreportpending; // TIMER_THP_FREQ runs
extern int g_mirrored1415;    // last mirrored 14 15 level; 1000 lets the next one through

// Copies of the values last sent that have no setting of their own; OnSwl
// compares the panel's values with them. The VFO B group belongs to the
// sub receiver of model 5.
struct PushCopies {
    int digiSel = 0, ipPlus = 0, notchWidth = 0, digiSelLevel = 0;
    int preamp = 0, attenuator = 0, monitor = 0, ptt = 0;
    int antenna = 0, rxAntenna = 0, antennaB = 0, rxAntennaB = 0;
    int squelch = 0, passbandShift = 0;
    int loCut = 10000, hiCut = 10000;  // 10000: send after every filter change
    int preampB = 0, attenuatorB = 0, noiseReductionB = 0, agcVrB = 0, apfB = 0, digiSelB = 0;
    int twinPeakB = 0, noiseBlankerB = 0, autoNotchB = 0, manualNotchB = 0, nbLevelB = 0;
    int agcVrLevelB = 0, notchPositionB = 0, apfLevelB = 0, digiSelLevelB = 0, nrLevelB = 0;
    int rfGainB = 0, squelchB = 0;
};
extern PushCopies g_pushcopy;


// Pushes every saved setting to the radio ("Initializing Radio").
void InitRadio();
// Thin entry to radio initialisation, used by the main loop and the replies.
void FirstPoll();
// The radio port was reopened (a replugged radio): contact is made again as
// at start-up, and the radio's first frequency reply initialises it.
void ContactRadioAgain();
// The general state push: sends every panel value that changed.
void OnSwl();
// The remote link's entry to OnSwl.
void RemoteOnSwl();

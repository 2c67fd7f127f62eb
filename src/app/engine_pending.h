// Entries into the CI-V engine (radio initialisation, setters, frequency
// state, reply processing) whose routines are still being written. Each
// forwards to the engine routine of the same name once that exists; until
// then it does nothing. The main frame calls only these, so completing one
// is a one-line change here.
#pragma once

namespace pending {
// Radio initialisation and the state push.
void InitRadio();
void SetStartupHold(int on);  // g_firstpoll
int StartupHold();
int RadioInitialised();
int BandChanged();
int TunerState();
void SetTunerState(int state);
// Setters.
void SelectVfo(char v);
void SelectVfoDirect(char v);
void SetSelectedVfoRecord(char v);  // g_selvfo without sending
void SetRadioPower(int on);
void PollFreqMode();
void SetVolume(int a);
void ToggleMute();
void ToggleSubMute();
int Muted();
int SubMuted();
void SetTxEnable(int on);
void SetRadioMode(int mode, int filter);
void SetFilterWidth(int index, int mode);
void SetModeA(int mode, int txMode);
void SetFilterWidthA(int index);
void SetDualWatch(int on, int viaPoll);
void SetClosing(int on);  // g_closing
void UseFilterTable(int am);  // copies the SSB/CW or the AM table into the working table
// Frequency state.
void SetRadioFrequencies();
int FrequencyPropagationPending();
void ClearFrequencyPropagation();
void ClearLastSent();  // g_lastsenta = g_lastsentb = 0
void ForceNextSend();  // g_lastsenta = g_lastsentb = 40.0
void TuneUp();
void TuneDown();
void SendFreqToRX340();
int RadioStateChanged();
int Split();
int Tuning();
int DualWatch();
void SetDualWatchState(int on);
int SweepRunning();  // either sweep
// Timer expiries the engine handles.
void OnNewTuningTimer();
void OnVfoADelayTimer();
void OnVfoBDelayTimer();
void OnVfoBSendTimer();
void OnFreqHoldoffTimer();
void OnSelectVfoTimer();
void OnAfGainTimer();
void OnSubAfGainTimer();
void OnEqualizeTimer();
void OnPassbandTimer();
void OnThpFreqTimer();
void OnSliderPollTimer();
void OnRadioSearchTimer();
void OnTunerStepTimer();
// Reply processing.
void BeginTransmit();
int Transmitting();
}  // namespace pending

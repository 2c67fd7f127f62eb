#include "app/engine_pending.h"

// Empty until the engine routine each one names is built.
namespace pending {
void InitRadio() {}
void SetStartupHold(int) {}
int StartupHold() { return 0; }
int RadioInitialised() { return 0; }
int BandChanged() { return 0; }
int TunerState() { return 0; }
void SetTunerState(int) {}
void SelectVfo(char) {}
void SelectVfoDirect(char) {}
void SetSelectedVfoRecord(char) {}
void SetRadioPower(int) {}
void PollFreqMode() {}
void SetVolume(int) {}
void ToggleMute() {}
void ToggleSubMute() {}
int Muted() { return 0; }
int SubMuted() { return 0; }
void SetTxEnable(int) {}
void SetRadioMode(int, int) {}
void SetFilterWidth(int, int) {}
void SetModeA(int, int) {}
void SetFilterWidthA(int) {}
void SetDualWatch(int, int) {}
void SetClosing(int) {}
void UseFilterTable(int) {}
void SetRadioFrequencies() {}
int FrequencyPropagationPending() { return 0; }
void ClearFrequencyPropagation() {}
void ClearLastSent() {}
void ForceNextSend() {}
void TuneUp() {}
void TuneDown() {}
void SendFreqToRX340() {}
int RadioStateChanged() { return 0; }
int Split() { return 0; }
int Tuning() { return 0; }
int DualWatch() { return 0; }
void SetDualWatchState(int) {}
int SweepRunning() { return 0; }
void OnNewTuningTimer() {}
void OnVfoADelayTimer() {}
void OnVfoBDelayTimer() {}
void OnVfoBSendTimer() {}
void OnFreqHoldoffTimer() {}
void OnSelectVfoTimer() {}
void OnAfGainTimer() {}
void OnSubAfGainTimer() {}
void OnEqualizeTimer() {}
void OnPassbandTimer() {}
void OnThpFreqTimer() {}
void OnSliderPollTimer() {}
void OnRadioSearchTimer() {}
void OnTunerStepTimer() {}
void BeginTransmit() {}
int Transmitting() { return 0; }
}  // namespace pending

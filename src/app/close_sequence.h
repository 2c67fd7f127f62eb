// The close sequence's pure decisions, shared with the tests.
#pragma once

// "MUTE ALWAYS" with the answers: returns 1 mute, 0 do not mute, -1 cancel.
// `askMute` asks the mute question (IDYES, IDNO, IDCANCEL); a radio server
// asks nothing and takes `fileAnswer` (the memory-file answer; IDYES mutes).
int MuteDecision(int muteAlways, bool radioServer, int fileAnswer, int (*askMute)());

// Filter-restore slots for the radio type: 10 for type 5, 5 for types 16
// and 18, else 2.
int RestoreSlotCount(int radioType);
// The mode character of slot i (0..9): "0379403794".
char RestoreSlotMode(int slot);
// Slots 4 and 9 (AM) take their widths from the AM table.
bool RestoreSlotUsesAmTable(int slot);
// Records the sweep panel's place and visibility for the save.
void RecordSweepPanelPlace();
// Delay of the exit step after the second close step.
unsigned ExitDelayMs(bool powerOff, bool digisel);
// The files that could not be saved this run, each on stderr and all in one
// message box; nothing when every save went through.
void ReportSaveFailures();
// The program's exit status: 1 when a save failed, else 0.
int CloseExitStatus();

// Recall of a station (the main frame's WM_RECALL_ENTRY), the memory scan
// and the radio window's Store and Scan buttons.
#pragma once
#include <string>

// WM_RECALL_ENTRY: tunes the station window's current entry.
void OnRecallEntry();
// The radio window's Store button: the dialog preset with VFO A (and VFO B
// in split or dual watch); the station is appended.
void StoreStationFromPanel();
// The radio window's Scan button: starts or stops the memory scan.
void ToggleMemoryScan();

// The number after `key` ("SP=", "FMCTS=", "PBT=") anywhere in `notes`;
// false when the key is not there.
bool RecallDirective(const std::string& notes, const char* key, int& value);
// The mode character of a station's mode word ('4' for an unknown word).
char ModeCharForWord(const std::string& word);
// The mode word the Store button gives VFO A's mode.
std::string ModeWordForChar(char mode);
// Both twin-PBT positions for "PBT=" n Hz; -1 when n is out of range.
int PbtPositionForHz(int hz);

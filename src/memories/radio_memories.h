// Save and restore of the radio's own memory channels through a "*.cdf"
// file, one step per TIMER_MEM_TRANSFER expiry; the radio's replies to the
// requests of a save step become the file's lines.
#pragma once
#include <cstdint>
#include <string>

extern int g_memtransfer;   // a radio-memory transfer runs
extern int g_radiomemcount; // memories of the radio
extern int g_memstate;      // the step of the next timer expiry
extern int g_memchannels;   // channels 1 .. g_memchannels - 1 are transferred
extern int g_curbank;       // the bank in use on radio type 13, 1..5

// TIMER_MEM_TRANSFER step.
void RadioMemoryStep();
// Ends a running transfer however it ends (abort, end of file, last
// channel): closes the file and has the program's frequencies sent again.
void CloseMemoryTransferFile();
// File > Save / Restore Qarv Memories (mode 1 asks for the name, 2 uses
// the memory file name).
// The chosen .cdf file never becomes the memory file's name: a later
// File > Save would write the station list over it.
void SaveRadioMemories(int mode, const std::string& typed = "");
void RestoreRadioMemories(int mode, const std::string& typed = "");

// Starts a save into / a restore from `path`; false when the file cannot be
// used (nothing starts).
bool StartRadioMemorySave(const std::string& path);
bool StartRadioMemoryRestore(const std::string& path);

// Radio-memory recall panel: selects the channel and copies it to the VFO.
void RecallRadioMemory(int channel);

// Pure helpers of the file format.
// The mode word of a CI-V mode byte ("USB", "CWR", ...); "" for others.
const char* MemoryModeWord(int civMode);
// A mode word back to the program's mode character ("DV" keeps DV; an
// unknown word gives AM).
char MemoryModeChar(const std::string& word);
// A channel as "%04d" packed into two BCD bytes (12 -> 00 12).
void ChannelBcd(int channel, std::uint8_t* two);

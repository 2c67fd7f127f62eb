// Save and restore of the radio's own memories.
#pragma once

extern int g_memtransfer;   // a radio-memory transfer runs
extern int g_radiomemcount; // memories of the radio

// TIMER_MEM_TRANSFER step.
void RadioMemoryStep();
// Closes the file of a running transfer.
void CloseMemoryTransferFile();
// File > Save / Restore Qarv Memories (mode 1 asks for the name, 2 uses
// the memory file name).
void SaveRadioMemories(int mode);
void RestoreRadioMemories(int mode);

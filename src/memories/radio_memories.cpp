#include "memories/radio_memories.h"

int g_memtransfer = 0;
int g_radiomemcount = 101;

// Built with the radio-memory transfer.
void RadioMemoryStep() {}
// Built with the radio-memory transfer.
void CloseMemoryTransferFile() {}
// Built with the radio-memory transfer.
void SaveRadioMemories(int) {}
void RestoreRadioMemories(int) {}

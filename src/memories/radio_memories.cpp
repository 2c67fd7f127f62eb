#include "memories/radio_memories.h"

// Built with the radio-memory transfer.
void CloseMemoryTransferFile() {}

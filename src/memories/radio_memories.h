// Save and restore of the radio's own memories.
#pragma once

// Closes the file of a running transfer.
void CloseMemoryTransferFile();

#include "memories/sweep.h"

std::uint16_t* g_sweeptrace = nullptr;
int g_sweeppause = 0;

// Built with the sweep.
void EndSweep() {}

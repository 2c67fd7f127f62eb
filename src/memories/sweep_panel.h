// The spectrum sweep window.
#pragma once

class CSweepPanel {
public:
    void StopSweep();
};

extern CSweepPanel* g_sweeppanel;

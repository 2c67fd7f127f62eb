// The spectrum sweep window.
#pragma once

class CSweepPanel {
public:
    void SetMarker(double mhz);
    void StartSweep();
    void StopSweep();
};

extern CSweepPanel* g_sweeppanel;  // null until the sweep panel is built

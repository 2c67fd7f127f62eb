// What the radio panel asks of the devices and the memory windows: the LCD of
// the TMate2, the sweep, the step picker, the LDG tuner's antenna, the
// scratch-pad panel and the station memories. They sit above the panel, so the
// panel only names its requests here; the application registers who answers
// at start-up. With nothing registered every request does nothing.
#pragma once
#include <string>

namespace plat {
class Window;
}

class PanelRequests {
public:
    virtual ~PanelRequests() = default;
    // The TMate2's LCD shows VFO A's frequency and mode (while it is open).
    virtual void ShowTMate2Freq(double /*mhz*/) {}
    virtual void ShowTMate2Mode(char /*mode*/) {}
    // A running sweep keeps VFO B's new frequency, mode and filter.
    virtual void SweepKeepVfoB(double /*mhz*/, int /*mode*/, int /*filter*/) {}
    // The step picker over `owner`, starting at `step` Hz under `text`; true
    // with the chosen step in `step`.
    virtual bool RunTuneSel(plat::Window* /*owner*/, const std::string& /*text*/, double& /*step*/) { return false; }
    // The LDG tuner's antenna (1 or 2) and its switch to the other one.
    virtual int TunerAntenna() { return 1; }
    virtual void ToggleTunerAntenna() {}
    // A field of the scratch-pad panel shows `text`.
    virtual void ShowScratchPadField(int /*field*/, const std::string& /*text*/) {}
    // The memory buttons: Store, Recall (the station window) and Scan.
    virtual void StoreStationFromPanel() {}
    virtual void ShowStationWindow() {}
    virtual void ToggleMemoryScan() {}
};

// `requests` answers from now on; null goes back to doing nothing.
void RegisterPanelRequests(PanelRequests* requests);
// The registered requests, or ones that do nothing.
PanelRequests& Requests();

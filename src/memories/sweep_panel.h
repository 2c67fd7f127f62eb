// The sweep panel ("SweepPanel"): the sweep's options and its graph. The
// options are plain members (loaded from and saved to the settings), so the
// sweep runs and is tested without the window; the controls and the graph
// show them once the window exists.
#pragma once
#include <memory>
#include <string>

#include "panel/pop_out_panel.h"
#include "platform/window.h"

namespace plat {
class Button;
class CheckBox;
class ComboBox;
class Edit;
class PaintContext;
class StaticText;
}  // namespace plat

// The graph: the trace over the swept range, a frequency scale and the
// marker of VFO A.
class CSweepWnd : public plat::Window {
public:
    void OnPaint(plat::PaintContext& pc) override;
    // The frequency under x (pixels), for a pick and the readout.
    double FrequencyAt(int x) const;
    // The sample under x (pixels); 0 where nothing was measured.
    int ValueAt(int x) const;
    // A click tunes there; the pointer shows the readout.
    void OnLButtonDown(unsigned flags, plat::Point p) override;
    void OnMouseMove(unsigned flags, plat::Point p) override;
    void OnMouseLeave() override;
};

class CSweepPanel : public CPopOutPanel {
public:
    CSweepPanel();
    ~CSweepPanel() override;

    // Options, in the order of the panel's lists.
    int range = 2;        // 0 "1.5 MHz" .. 8 "3 kHz"
    int highRes = 0;
    int wide = 0;         // takes effect at the next start of the program
    int centre = 0;       // 0 Track Receiver, 1 Manual Setting, 2 Band Center
    double manualFreq = 14.0;
    int display = 0;      // 0 Normal, 1 MaxHold, 2 Integrate
    int pass = 0;         // 0 One Pass, 1 Continuous, 2.. thresholds S3 .. S9+20
    int linear = 0;
    int style = 0;        // 0 Solid, 1 Line
    int pulse = 0;        // 0 default, n: pulse width n + 1

    double marker = 0;    // VFO A, shown in the graph
    // What the last press of "Sweep" asked the main frame to run.
    double runStart = 0;
    int runStep = 0;
    int runCount = 1;
    double pickFreq = 0;

    void LoadOptions();
    void SaveOptions() const;

    // The panel's "Sweep" and "Stop", also used by the main frame.
    void StartSweep();
    void StopSweep();
    void SetMarker(double mhz);
    // A pick at x pixels of the graph.
    void PickAt(int x);
    // The readout for the pointer at x pixels of the graph; x < 0 clears it.
    void ShowReadoutAt(int x);
    std::string ReadoutText() const;
    // A step stored samples: redraw the graph.
    void TraceChanged();

    int OnCreate() override;
    bool OnCommand(unsigned id, unsigned code, plat::LPARAM control) override;
    void OnClose() override { ShowWindow(0); }
    CSweepWnd& Graph() { return graph_; }

private:
    void EnableRunControls(bool idle);
    void ReadControls();

    bool ready_ = false;  // the controls are filled: their changes are the operator's
    CSweepWnd graph_;
    std::unique_ptr<plat::Button> sweep_, stop_;
    std::unique_ptr<plat::CheckBox> highResBox_, wideBox_, linearBox_;
    std::unique_ptr<plat::ComboBox> rangeList_, centreList_, displayList_, passList_, styleList_, pulseList_;
    std::unique_ptr<plat::Edit> manualEdit_;
    std::unique_ptr<plat::StaticText> readout_;  // the row under the graph
};

extern CSweepPanel* g_sweeppanel;  // null until the sweep panel is built

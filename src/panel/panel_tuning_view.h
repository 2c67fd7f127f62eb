// The radio panel as the engine's tuning view: each announcement or request
// of the engine (civ/tuning_view.h) becomes the panel routine that does it,
// on the one panel (g_swlpanel); while there is none it does nothing. The
// program registers it at start-up.
#pragma once
#include "civ/tuning_view.h"

class PanelTuningView : public TuningView {
public:
    void ShowFrequency(char vfo, double mhz) override;
    void ShowTuning(double freqA, char modeA, double stepHz, int filter, double freqB, char modeB) override;
    void ShowFilter(int index) override;
    void ShowTransmit(char vfo, int on) override;
    void ShowMeter(int value, int type) override;
    void ShowMeterPeak(int peak, int type) override;
    void ShowPowerText(const std::string& text) override;
    void LightButton(unsigned command, int on) override;
    void Show(TuningShow what, int value) override;
    void SetStep(int hz) override;
    void SetPbt(PbtCut cut, int position) override;
    void Toggle(TuningToggle what) override;
    void StartDiversity() override;
    void SelectPresetMode(char mode) override;
    void StoreBand(double mhz) override;
};

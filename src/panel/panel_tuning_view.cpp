#include "panel/panel_tuning_view.h"

#include "panel/swl_panel.h"

namespace {
constexpr unsigned kPowerLabel = 9312;  // the radio window's label over the power slider
}  // namespace

void PanelTuningView::ShowFrequency(char vfo, double mhz) {
    if (!g_swlpanel) return;
    if (vfo == 'B')
        g_swlpanel->SetFrequency2(mhz);
    else
        g_swlpanel->SetFrequency(mhz);
}

void PanelTuningView::ShowTuning(double freqA, char modeA, double stepHz, int filter, double freqB, char modeB) {
    if (g_swlpanel) g_swlpanel->SetPanelTuning(freqA, modeA, stepHz, filter, freqB, modeB);
}

void PanelTuningView::ShowFilter(int index) {
    if (g_swlpanel) g_swlpanel->SetFilter(index);
}

void PanelTuningView::ShowTransmit(char vfo, int on) {
    if (!g_swlpanel) return;
    if (vfo == 'B')
        g_swlpanel->SetTransmitB(on);
    else
        g_swlpanel->SetTransmitA(on);
}

void PanelTuningView::ShowMeter(int value, int type) {
    if (g_swlpanel) g_swlpanel->ShowMeterReading(value, type);
}

void PanelTuningView::ShowMeterPeak(int peak, int type) {
    if (g_swlpanel) g_swlpanel->ShowMeterPeak(peak, type);
}

void PanelTuningView::ShowPowerText(const std::string& text) {
    if (g_swlpanel && g_swlpanel->View()) g_swlpanel->View()->SetControlText(kPowerLabel, text);
}

void PanelTuningView::LightButton(unsigned command, int on) {
    if (g_swlpanel) g_swlpanel->LightFunctionButton(command, on);
}

void PanelTuningView::Show(TuningShow what, int value) {
    CSwlPanel* p = g_swlpanel;
    if (!p) return;
    switch (what) {
        case TuningShow::Mode: p->ShowMode(); break;
        case TuningShow::ModeCaptions: p->SetModeCaption(); break;
        case TuningShow::FilterButtons: p->ShowFilterButtons(value); break;
        case TuningShow::FilterNameB: p->ShowFilterNameB(); break;
        case TuningShow::Band: p->ShowBand(); break;
        case TuningShow::Power: p->ShowPower(); break;
        case TuningShow::Antenna: p->ShowAntenna(); break;
        case TuningShow::RxAntenna: p->ShowRxAntenna(); break;
        case TuningShow::Attenuator: p->ShowAttenuator(); break;
        case TuningShow::Preamp: p->ShowPreamp(); break;
        case TuningShow::Apf: p->ShowApf(); break;
        case TuningShow::Agc: p->ShowAgc(value); break;
        case TuningShow::BreakIn: p->ShowBreakIn(value); break;
        case TuningShow::MeterSetting: p->ShowMeterSetting(); break;
        case TuningShow::RfStatusLine: p->ShowRfStatusLine(); break;
        case TuningShow::DspStatusLine: p->ShowDspStatusLine(); break;
        case TuningShow::ReceiverSliders: p->ShowReceiverSliders(value); break;
        case TuningShow::VolumeA: p->SetVolumeA(value); break;
        case TuningShow::TuneButton: p->SetTuneButton(value); break;
        case TuningShow::MemoryScanButton: p->SetMemoryScanButton(value); break;
        case TuningShow::RadioContact: p->ShowRadioContact(); break;
    }
}

void PanelTuningView::SetStep(int hz) {
    if (g_swlpanel) g_swlpanel->SetStep(hz);
}

void PanelTuningView::SetPbt(PbtCut cut, int position) {
    if (!g_swlpanel) return;
    if (cut == PbtCut::Outer)
        g_swlpanel->SetPbtOuter(position);
    else
        g_swlpanel->SetPbtInner(position);
}

void PanelTuningView::Toggle(TuningToggle what) {
    CSwlPanel* p = g_swlpanel;
    if (!p) return;
    switch (what) {
        case TuningToggle::Split: p->ToggleSplit(); break;
        case TuningToggle::Dual: p->ToggleDual(); break;
        case TuningToggle::DataMode: p->ToggleDataMode(); break;
        case TuningToggle::Squelch: p->ToggleSquelch(); break;
    }
}

void PanelTuningView::StartDiversity() {
    if (g_swlpanel) g_swlpanel->SetDiversity(1);
}

void PanelTuningView::SelectPresetMode(char mode) {
    if (!g_swlpanel) return;
    // A preset's mode leaves the CW keyboard as the operator has it.
    g_swlpanel->modeFromPreset = 1;
    g_swlpanel->PressModeButton(mode);
    g_swlpanel->modeFromPreset = 0;
}

void PanelTuningView::StoreBand(double mhz) {
    if (g_swlpanel) g_swlpanel->StoreCurrentBand(mhz);
}

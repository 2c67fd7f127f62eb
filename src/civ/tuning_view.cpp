#include "civ/tuning_view.h"

#include "civ/tuning_state.h"

namespace {
TuningView g_noview;
TuningView* g_tuningview = nullptr;
}  // namespace

void SetTuningView(TuningView* view) { g_tuningview = view; }

TuningView& TuningDisplay() { return g_tuningview ? *g_tuningview : g_noview; }

void AnnounceMeter(int value, int type) {
    Tuning().meterValue = value;
    Tuning().meterType = type;
    TuningDisplay().ShowMeter(value, type);
}

void AnnounceMeterPeak(int peak, int type) {
    Tuning().meterPeak = peak;
    TuningDisplay().ShowMeterPeak(peak, type);
}

void AnnounceTransmit(char vfo, int on) {
    (vfo == 'B' ? Tuning().transmitB : Tuning().transmitA) = on;
    TuningDisplay().ShowTransmit(vfo, on);
}

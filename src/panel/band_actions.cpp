// Band buttons and the band stack: loading and storing rows, the scratch
// pads and the state kept around a tune.
#include "panel/swl_panel.h"

void CSwlPanel::StoreCurrentBand(double mhz) { (void)mhz; }
void CSwlPanel::SelectBand(int row) { (void)row; }
void CSwlPanel::StoreScratchPad() {}
void CSwlPanel::StoreScratchPad3() {}
void CSwlPanel::RecallScratchPad() {}
void CSwlPanel::RecallScratchPad3() {}
void CSwlPanel::SaveTuneState() {}
void CSwlPanel::RestoreTuneState() {}
bool CSwlPanel::OnBandCommand(unsigned id) {
    (void)id;
    return false;
}

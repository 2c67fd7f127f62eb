#include "app/panel_restore.h"

#include "base/panel_options.h"
#include "base/settings_options.h"
#include "civ/band_table.h"
#include "civ/civ_options.h"
#include "civ/frequency_state.h"
#include "civ/radio_init.h"
#include "civ/tuning_state.h"
#include "panel/swl_panel.h"

namespace {
constexpr int kAntennaNotStored = 9;

// The row of the saved VFO A frequency carries the receiver settings last
// used on that band; a row that never stored an antenna keeps antenna 1.
void TakeBandRowValues(TuningState& p) {
    const int row = BandStackRow(g_vfoafreq);
    if (row < 0 || row >= kBandRows) return;
    if (g_bandmainant[row] != kAntennaNotStored) {
        p.antenna = g_bandmainant[row];
        p.rxAntenna = g_bandsubant[row];
    }
    p.preamp = g_bandpreamp[row];
    p.attenuator = g_bandattn[row];
}
}  // namespace

void PushLoadedStateToPanel() {
    TuningState& p = Tuning();
    PanelFunctions& f = p.fn;

    TuningFromSaved();
    p.agc = g_agcmodea;
    p.dataMode = g_datamode;
    p.vsc = g_vsc;
    p.pbtInner = g_locut;
    p.pbtOuter = g_hicut;
    TakeBandRowValues(p);

    f.noiseBlanker = g_hardwarenoisesetting;
    f.autoNotch = g_anotch;
    f.manualNotch = g_mnotch;
    f.noiseReduction = g_noise;
    f.agcVr = g_agcvr;
    f.apf = g_apf;
    f.digiSel = g_digi;
    f.twinPeak = g_tpf;
    f.ipPlus = g_ipplus;
    f.nbLevel = g_nbval;
    f.nrLevel = g_nrval;
    f.agcVrLevel = g_agcvrval;
    f.notchPosition = g_manntval;
    f.apfLevel = g_apfval;
    f.digiSelLevel = g_digival;
    f.squelch = g_squelch;
    f.afGain = g_volume;
    f.rfGain = g_rfgain;
    f.vox = g_voxstate;
    f.monitor = g_monitor;
    f.breakIn = g_spotvolume;
    f.txEnabled = g_txenable;

    f.antennaB = g_vaantb;
    f.rxAntennaB = g_vbantb;
    f.preampB = g_preampb;
    f.attenuatorB = g_battn;
    f.noiseBlankerB = g_nblkb;
    f.noiseReductionB = g_nreducb;
    f.autoNotchB = g_anotchb;
    f.manualNotchB = g_mnotchb;
    f.agcVrB = g_agcvrb;
    f.apfB = g_apfb;
    f.digiSelB = g_digib;
    f.twinPeakB = g_tpfb;
    f.nbLevelB = g_nbvalb;
    f.nrLevelB = g_nrvalb;
    f.agcVrLevelB = g_agcvrvalb;
    f.notchPositionB = g_manntvalb;
    f.apfLevelB = g_apfvalb;
    f.digiSelLevelB = g_digivalb;
    f.rfGainB = g_rfgainb;

    // Values whose last-sent copy is not a saved setting: nothing has been
    // sent yet, so the copy is what the panel now holds. InitRadio sends
    // them all at first contact.
    PushCopies& c = g_pushcopy;
    c.digiSel = f.digiSel;
    c.ipPlus = f.ipPlus;
    c.digiSelLevel = f.digiSelLevel;
    c.preamp = p.preamp;
    c.attenuator = p.attenuator;
    c.monitor = f.monitor;
    c.antenna = p.antenna;
    c.rxAntenna = p.rxAntenna;
    c.antennaB = f.antennaB;
    c.rxAntennaB = f.rxAntennaB;
    c.loCut = p.pbtInner;
    c.hiCut = p.pbtOuter;

    // The displays follow (each does nothing until the window exists).
    if (CSwlPanel* panel = g_swlpanel) {
        panel->ShowStep(p.step);
        panel->ShowStepB();
        panel->ShowFilterButtons(p.filter);
        panel->ShowAntenna();
        panel->ShowPreamp();
        panel->ShowAttenuator();
    }
}

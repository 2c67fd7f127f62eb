// The radio panel's function flags and levels: what the function buttons
// and the slider row set and the state push sends. VFO B values are the
// sub receiver's copies.
#pragma once

struct PanelFunctions {
    // VFO A on/off functions.
    int noiseBlanker = 0;   // 0/1; 2 on the Perseus receiver
    int noiseReduction = 0;
    int autoNotch = 0;
    int manualNotch = 0;
    int agcVr = 0;          // AGC variable rate ("Man")
    int apf = 0;
    int digiSel = 0;
    int twinPeak = 0;
    int ipPlus = 0;         // 1A 07 on model 23
    int notchWidth = 0;     // 16 57 on model 23
    // VFO A levels (0..255).
    int nbLevel = 0;
    int nrLevel = 0;
    int agcVrLevel = 0;
    int notchPosition = 0;
    int apfLevel = 128;
    int digiSelLevel = 0;
    int squelch = 0;
    int afGain = 0;
    int rfGain = 0;         // percent
    // Transmit side.
    int vox = 0;
    int monitor = 0;
    int breakIn = 0;        // 0, 1, 2
    int pttRequest = 0;
    int tuneRequest = 0;
    int txEnabled = 1;
    int mute = 0;
    // VFO B (sub receiver).
    int antennaB = 1, rxAntennaB = 0;
    int preampB = 0;
    int attenuatorB = 0;
    int noiseBlankerB = 0;
    int noiseReductionB = 0;
    int autoNotchB = 0;
    int manualNotchB = 0;
    int agcVrB = 0;
    int apfB = 0;
    int digiSelB = 0;
    int twinPeakB = 0;
    int nbLevelB = 0;
    int nrLevelB = 0;
    int agcVrLevelB = 0;
    int notchPositionB = 0;
    int apfLevelB = 128;
    int digiSelLevelB = 0;
    int rfGainB = 0;
    int squelchB = 0;
};

// The spectrum sweep: the radio's VFO is stepped across a range and the
// S meter read at each step; the readings form a trace of 700 samples.
// The main frame starts it (ID_SWEEP_START from the sweep panel), every
// S-meter reply advances it (SweepRetrigger), and EndSweep puts the radio
// back as it was.
#pragma once
#include <cstdint>
#include <string>

#include "civ/frequency_state.h"  // g_sweeppause
#include "memories/sweep_panel.h"

constexpr int kSweepSamples = 700;
extern std::uint16_t* g_sweeptrace;  // one sample per sweep step

// Commands between the sweep panel and the main frame.
constexpr unsigned ID_SWEEP_START = 1224;
constexpr unsigned ID_SWEEP_STOP = 1225;
constexpr unsigned ID_SWEEP_PICK = 1401;

// Step and samples per measurement of a range (0 "1.5 MHz" .. 8 "3 kHz").
struct SweepSteps {
    int count;   // trace samples filled by one measurement
    int stepHz;  // between measurements
};
SweepSteps SweepStepsFor(int range, bool wide, bool highRes, int userCount);
// The first frequency of a sweep centred on `centre` with `points` per side.
double SweepStartFor(double centre, int stepHz, int count, int points);
// The stored value of a reading: 2r, less 300 above 299, at most 5000.
int SweepValue(int reading);
// The pass list's S-meter limit (One Pass and Continuous: none).
int SweepPassLimit(int pass);

// What a sweep run covers and where it is.
struct SweepRun {
    double start = 0, end = 0, current = 0;  // MHz
    int stepHz = 0;
    int count = 1;
    int step = 0;       // measurements taken in this pass
    int steps = 0;      // measurements in a pass
    int index = 0;      // samples written in this pass
    int maxIndex = 0;   // the highest index reached
    bool firstPass = true;
    double found = 0;   // the frequency a threshold stop found
    double pick = 0;    // a frequency picked while it ran
    bool sub = false;   // the sub receiver (VFO B) is stepped
    // VFO B's state: kept at the start of a sub-receiver run, and when
    // split went on during the run (0: not kept).
    double vfoBFreq = 0;
    int vfoBMode = 0;
    int vfoBFilter = 0;
};
const SweepRun& CurrentSweep();

// ID_SWEEP_START at the main frame: remembers the radio's state, puts it in
// the sweep settings, tunes the start and asks for the first reading.
void OnSweepStart(double start, int stepHz, int count, bool highRes);
// A pick in the graph: during a sweep it becomes the frequency to go back
// to and stops the sweep; otherwise VFO A is tuned there.
void OnSweepPick(double mhz);
void EndSweep();
// The run keeps VFO B's `mhz`, `mode` and `filter`: at the start of a
// sub-receiver sweep, and when split goes on or A=B / A/B run during one.
void SweepKeepVfoB(double mhz, int mode, int filter);
// Clears the trace.
void ClearSweepTrace();
// Graph readout under the mouse.
std::string SweepReadout(double mhz, int value, bool linear);

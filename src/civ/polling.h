// Polling of the radio. The meter poll (every meter tick) asks for the meter
// reading, the transmit state and now and then the frequency. In mirror mode
// the poll sequencer walks two cyclic lists of read requests, so that the
// program follows every change made on the radio's own front panel; its
// frames go straight to the port, past the send queue.
#pragma once
#include <cstdint>
#include <vector>

extern int g_mirror;      // "MIRROR": follow changes made on the radio itself
extern int g_mirrorpoll;  // "MIRROR POLL": mirror poll period in ms (default 60)
extern int g_metersuspend;  // the meter poll is suspended
extern int g_pollmain;    // replies belong to the main receiver (0 only for model 5's sub)
extern int g_sliderreread;  // re-read the sub sliders once the sequencer moves to VFO B

// Requests that other parts hand to the sequencer; each is sent once, on
// the next tick, before anything else.
struct PollOneShots {
    int splitOn = 0;
    int splitOff = 0;
    int dualOn = 0;
    int dualOff = 0;
};
extern PollOneShots g_pollrequests;

// Frames of requests waiting in the send queue beyond which a meter tick
// sends nothing to the radio: it would only grow the backlog.
constexpr int kMeterBacklog = 8;

void PollMeters();
void PollRadio();

// A radio that answered once and then stops (switched off, cable pulled)
// must not look alive: it counts as silent once polls have gone out for
// this long with no frame from it since.
constexpr std::uint32_t kRadioSilentMs = 3000;
// True while the radio has been heard before and is silent now as above
// (never for an operator client, whose radio is heard through the link).
bool RadioFellSilent();
// The frame reader heard a frame from the radio.
void NoteRadioFrame();

// The sequencer's lists, for the tests: the request bytes (after the header)
// of every item of list 1 or 2 whose gate passes now, in list order.
std::vector<std::vector<std::uint8_t>> PollListItems(int list);
// Positions and toggle of the sequencer (tests start it afresh).
void ResetPollSequencer();

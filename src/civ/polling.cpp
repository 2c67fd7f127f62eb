#include "civ/polling.h"

#include <array>

#include "base/device_options.h"
#include "base/panel_options.h"
#include "base/trace_log.h"
#include "civ/accessory_ports.h"
#include "civ/civ_frame.h"
#include "civ/civ_options.h"
#include "civ/civ_setters.h"
#include "civ/civ_timers.h"
#include "civ/engine_events.h"
#include "civ/engine_options.h"
#include "civ/frame_reader.h"
#include "civ/frequency_options.h"
#include "civ/frequency_state.h"
#include "civ/radio_init.h"
#include "civ/radio_models.h"
#include "civ/radio_port.h"
#include "civ/reply_processing.h"
#include "civ/send_queue.h"
#include "civ/setter_frames.h"
#include "civ/station_queries.h"
#include "civ/tuning_state.h"
#include "civ/tuning_view.h"
#include "platform/clock.h"

int g_mirror = 0;
int g_mirrorpoll = 60;
int g_metersuspend = 0;
int g_pollmain = 1;
int g_sliderreread = 0;
PollOneShots g_pollrequests;

namespace {
// Set when a poll goes out after the radio's last frame, with the time of
// the first such poll; a frame from the radio clears it.
bool g_pollunanswered = false;
std::uint32_t g_pollunansweredsince = 0;

void NotePollSent() {
    if (g_pollunanswered) return;
    g_pollunanswered = true;
    g_pollunansweredsince = plat::GetTickCount();
}
}  // namespace

bool RadioFellSilent() {
    return g_radioheard != 0 && !g_client && g_pollunanswered &&
           plat::GetTickCount() - g_pollunansweredsince >= kRadioSilentMs;
}

void NoteRadioFrame() {
    const bool wasSilent = RadioFellSilent();
    g_pollunanswered = false;
    if (wasSilent) TuningDisplay().Show(TuningShow::RadioContact);
}

namespace {
constexpr int kFreqEvery = 6;            // meter ticks per frequency request
constexpr unsigned kSweepRetryMs = 1000;
constexpr unsigned kSliderPollMs = 5000;

enum class Gate : std::uint8_t {
    None,
    Single,        // neither dual watch nor split
    DualOrSplit,
    Levels,
    AntennaRead,
    SpeechQsk,
    TwinPbt,
    DigiSel,
    Notch,
    Vsc,
    AgcVr,
    Menu2,         // the newer menu dialect (14 16, 14 17)
    DataMode,      // a menu dialect, which carries the data-mode control
    FilterWidth,
};

struct PollItem {
    std::array<std::uint8_t, 2> bytes;
    std::uint8_t length;
    Gate gate;
};

constexpr std::array<PollItem, 35> kList1 = {{
    {{0x03, 0}, 1, Gate::Single},       {{0x11, 0}, 1, Gate::None},
    {{0x12, 0}, 1, Gate::AntennaRead},    {{0x14, 0x03}, 2, Gate::Levels},
    {{0x14, 0x05}, 2, Gate::DigiSel},   {{0x16, 0x32}, 2, Gate::DigiSel},
    {{0x14, 0x09}, 2, Gate::Levels},    {{0x14, 0x0A}, 2, Gate::Levels},
    {{0x14, 0x0B}, 2, Gate::Levels},    {{0x14, 0x0D}, 2, Gate::Notch},
    {{0x14, 0x0E}, 2, Gate::Levels},    {{0x16, 0x44}, 2, Gate::None},
    {{0x14, 0x0F}, 2, Gate::SpeechQsk}, {{0x14, 0x11}, 2, Gate::AgcVr},
    {{0x16, 0x12}, 2, Gate::None},      {{0x14, 0x12}, 2, Gate::Levels},
    {{0x14, 0x13}, 2, Gate::DigiSel},   {{0x14, 0x16}, 2, Gate::Menu2},
    {{0x14, 0x17}, 2, Gate::Menu2},     {{0x16, 0x4E}, 2, Gate::DigiSel},
    {{0x16, 0x41}, 2, Gate::None},      {{0x16, 0x22}, 2, Gate::None},
    {{0x16, 0x40}, 2, Gate::Levels},    {{0x14, 0x06}, 2, Gate::Levels},
    {{0x16, 0x45}, 2, Gate::Levels},    {{0x16, 0x4F}, 2, Gate::DigiSel},
    {{0x16, 0x46}, 2, Gate::None},      {{0x16, 0x47}, 2, Gate::None},
    {{0x16, 0x48}, 2, Gate::Notch},     {{0x16, 0x4C}, 2, Gate::Vsc},
    {{0x16, 0x4D}, 2, Gate::AgcVr}, {{0x1A, 0x06}, 2, Gate::DataMode},
    {{0x04, 0}, 1, Gate::Single},       {{0x14, 0x15}, 2, Gate::None},
    {{0x16, 0x02}, 2, Gate::None},
}};

constexpr std::array<PollItem, 6> kList2 = {{
    {{0x04, 0}, 1, Gate::DualOrSplit},
    {{0x1A, 0x03}, 2, Gate::FilterWidth},  // model 17 asks with 1A 02
    {{0x03, 0}, 1, Gate::DualOrSplit},
    {{0x14, 0x02}, 2, Gate::Levels},
    {{0x14, 0x07}, 2, Gate::TwinPbt},
    {{0x14, 0x08}, 2, Gate::TwinPbt},
}};

int g_freqcount = 0;        // meter ticks since the last frequency request
int g_listpos[2] = {0, 0};  // next item of each list
int g_listtoggle = 0;       // 0: the next tick walks list 1

bool Passes(Gate gate) {
    const bool levels = ModelCap(g_haslevels) != 0;
    const bool single = !g_dual && !g_split;
    switch (gate) {
        case Gate::None: return true;
        case Gate::Single: return single;
        case Gate::DualOrSplit: return !single;
        case Gate::Levels: return levels;
        case Gate::AntennaRead: return ModelCap(g_hasantennaread) != 0;
        case Gate::SpeechQsk: return ModelCap(g_hasspeechqsk) != 0;
        case Gate::TwinPbt: return ModelCap(g_hastwinpbt) != 0;
        case Gate::DigiSel: return ModelCap(g_hasdigisel) != 0;
        case Gate::Notch: return ModelCap(g_hasnotch) != 0;
        case Gate::Vsc: return ModelCap(g_hasvsc) != 0;
        case Gate::AgcVr: return ModelCap(g_hasagcvr) != 0;
        case Gate::Menu2: return ModelCap(g_menudialect) == 2;
        case Gate::DataMode: return ModelCap(g_menudialect) != 0;
        case Gate::FilterWidth: return ModelCap(g_hasfilterwidth) != 0;
    }
    return false;
}

// The request bytes of an item as the running model asks for them.
std::vector<std::uint8_t> RequestBytes(const PollItem& item) {
    std::vector<std::uint8_t> body(item.bytes.begin(), item.bytes.begin() + item.length);
    if (body.size() == 2 && body[0] == 0x1A && body[1] == 0x03 && ModelCap(g_lowerwidthcmds)) body[1] = 0x02;
    return body;
}

void SendPollRequest(const std::vector<std::uint8_t>& body) {
    std::uint8_t frame[kCivHeaderLen + 3];
    BuildCivHeader(frame);
    int n = kCivHeaderLen;
    for (std::uint8_t b : body) frame[n++] = b;
    frame[n++] = kCivEnd;
    SendPoll(frame, n);
}

// Walks one list from its position until `sent` reaches "POLL AMOUNT". A
// full pass over the list that finds no item whose gate passes ends the tick
// all the same.
template <std::size_t N>
void WalkList(const std::array<PollItem, N>& list, int& pos, int sent) {
    const int amount = g_pollamount > 0 ? g_pollamount : 1;
    std::size_t sinceSent = 0;
    while (sent < amount && sinceSent < N) {
        const PollItem& item = list[std::size_t(pos)];
        pos = pos + 1 >= int(N) ? 0 : pos + 1;
        ++sinceSent;
        if (!Passes(item.gate)) continue;
        SendPollRequest(RequestBytes(item));
        ++sent;
        sinceSent = 0;
    }
}

// Step 1: the first waiting one-shot request; true when one was sent.
bool SendOneShot() {
    PollOneShots& r = g_pollrequests;
    if (r.splitOn) {
        r.splitOn = 0;
        SendPollRequest({0x0F, 0x01});
    } else if (r.splitOff) {
        r.splitOff = 0;
        SendPollRequest({0x0F, 0x00});
    } else if (r.dualOn) {
        r.dualOn = 0;
        SetDualWatch(1, 1);
    } else if (r.dualOff) {
        r.dualOff = 0;
        SetDualWatch(0, 1);
    } else {
        return false;
    }
    return true;
}

// Step 2: which VFO is polled; true when the radio was switched over.
bool SelectPolledVfo() {
    const bool onB = g_pollvfoa == 0;
    // Once on VFO B the sequencer stays there while the sub sliders show.
    const bool wantB = g_subsliders && (onB || g_dual || g_split);
    bool switched = false;
    if (wantB != onB) {
        const char v = wantB ? 'B' : 'A';
        SelectVfoDirect(v);
        g_selvfo = v;  // the radio is there now: SelectVfo below has nothing to send
        switched = true;
        g_pollvfoa = wantB ? 0 : 1;
        g_pollmain = wantB && ModelCap(g_hassubreceiver) ? 0 : 1;
        if (wantB && g_sliderreread) {
            g_sliderreread = 0;
            SetCivTimer(TIMER_SLIDER_POLL, kSliderPollMs);
        }
    }
    SelectVfo(g_pollvfoa ? 'A' : 'B');
    return switched;
}

void PollAccessories() {
    Announce().PollStationMeters();
    if (Ask().SurfaceMeterShown())
        Announce().SurfaceMeter(g_tmate2peak ? Tuning().meterPeak : Tuning().meterValue);
}

// The meter reading to ask for: the S-meter unless the radio transmits.
std::uint8_t MeterRequest() {
    if (g_sweeprunning || g_sweepbrunning || g_metersetting == 0 || !g_transmitting) return 0x02;
    switch (g_metersetting) {
        case 1: return 0x11;
        case 2: return 0x12;
        case 3: return 0x14;
        case 4: return 0x13;
        default: return 0x02;
    }
}
}  // namespace

void PollMeters() {
    // A radio gone silent is said at the next tick, not at the next second.
    if (RadioFellSilent()) TuningDisplay().Show(TuningShow::RadioContact);
    if (g_doingcwid || g_savemem) return;
    PollAccessories();
    // The send pump writes one frame per 50 ms; while it is behind, another
    // round of requests would only lengthen the wait of everything queued.
    if (SendQueueDepth() >= kMeterBacklog) {
        CivTrace("meter poll skipped, queue backlog");
        return;
    }
    const bool sweeping = g_sweeprunning || g_sweepbrunning;
    bool sent = false;
    if (ModelCap(g_hassweep)) {
        SendCiv({0x15, MeterRequest()});
        sent = true;
        if (sweeping) SetCivTimer(TIMER_SWEEP_RETRY, kSweepRetryMs);
    }
    if (g_7600fw2) {
        SendCiv({0x25, 0x00});
        if (g_dual || g_split) SendCiv({0x25, 0x01});
        SendCiv({0x1C, 0x00});
        NotePollSent();
        return;
    }
    if (ModelCap(g_hastxread)) {
        SendCiv({0x1C, 0x00});
        sent = true;
    }
    if (!g_polling && !g_rawmode && !g_doingcwid) {
        if (++g_freqcount >= kFreqEvery) {
            g_freqcount = 0;
            SendCiv({0x03});
            sent = true;
        }
    }
    if (sent) NotePollSent();
}

void PollRadio() {
    // A radio-memory transfer owns the radio's replies, as for the meter poll.
    if (!g_mirror || g_savemem) return;
    NotePollSent();
    if (SendOneShot()) return;
    const int sent = SelectPolledVfo() ? 1 : 0;
    const int list = g_listtoggle;
    g_listtoggle ^= 1;
    if (list == 0)
        WalkList(kList1, g_listpos[0], sent);
    else
        WalkList(kList2, g_listpos[1], sent);
}

std::vector<std::vector<std::uint8_t>> PollListItems(int list) {
    std::vector<std::vector<std::uint8_t>> out;
    auto collect = [&](const auto& items) {
        for (const PollItem& item : items)
            if (Passes(item.gate)) out.push_back(RequestBytes(item));
    };
    if (list == 1)
        collect(kList1);
    else
        collect(kList2);
    return out;
}

void ResetPollSequencer() {
    g_freqcount = 0;
    g_listpos[0] = g_listpos[1] = 0;
    g_listtoggle = 0;
}

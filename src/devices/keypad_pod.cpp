#include "devices/keypad_pod.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "base/device_options.h"
#include "base/trace_log.h"
#include "civ/accessory_ports.h"
#include "civ/frequency_state.h"
#include "civ/radio_init.h"
#include "devices/cat_out.h"
#include "devices/control_surfaces.h"
#include "devices/function_table.h"
#include "devices/key_events.h"
#include "devices/knob_tuning.h"
#include "panel/swl_panel.h"
#include "platform/clock.h"
#include "platform/serial_port.h"

int g_podstate = 0;
int g_podfreqpending = 0;
int g_podfreqpolls = 0;

namespace {
constexpr int kReadMax = 255;
constexpr int kKeyRecord = 3;
constexpr int kKnobRecord = 5;
PodParser g_podparser;

void Send(const std::uint8_t* data, int length) { SendToRX331(data, length); }
void SendText(const char* text) { Send(reinterpret_cast<const std::uint8_t*>(text), int(std::strlen(text))); }

void AnswerReceiver(const std::uint8_t* data, int n) {
    if (ContainsText(data, n, "DSP")) SendText("P1\r");
    if (ContainsText(data, n, "RADIO")) {
        SendText("?V\r");
        g_podstate = kPodCarriesReceiver;
    }
    if (ContainsText(data, n, "VER")) {
        plat::SleepMs(50);
        SendText("#0\r");
        SendText("#2\r");
        const std::uint8_t p[3] = {'P', 0x00, '\r'};
        Send(p, 3);
        plat::SleepMs(50);
        const std::uint8_t init[8] = {0x4E, 0x4E, 0x1F, 0x1A, 0xA9, 0x55, 0x50, 0x0D};
        Send(init, 8);
        SendText("#8\r");
        SendText("#6\r");
        g_podstate = kPodCarriesReceiver;
    }
}
}  // namespace

void PodParser::Feed(const std::uint8_t* data, int length, PodRecords& out) {
    while (data && length > 0) {
        const int take = length < kReadMax ? length : kReadMax;
        FeedChunk(data, take, out);
        data += take;
        length -= take;
    }
}

void PodParser::FeedChunk(const std::uint8_t* data, int length, PodRecords& out) {
    std::uint8_t buf[sizeof carry_ + kReadMax];
    std::memcpy(buf, carry_, std::size_t(carryLen_));
    int n = carryLen_;
    carryLen_ = 0;
    std::memcpy(buf + n, data, std::size_t(length));
    n += length;
    int pos = 0;
    while (pos < n) {
        const std::uint8_t b = buf[pos];
        const int need = b == kKeyEventStart ? kKeyRecord : b == '!' ? kKnobRecord : 0;
        if (need == 0) {
            ++pos;
            continue;
        }
        if (n - pos < need) {
            carryLen_ = n - pos;
            std::memcpy(carry_, buf + pos, std::size_t(carryLen_));
            return;
        }
        if (b == kKeyEventStart) {
            // A key record ends in CR; anything else is noise to resync past.
            if (buf[pos + 2] != kKeyEventEnd) {
                ++pos;
                continue;
            }
            out.keys.insert(out.keys.end(), {kKeyEventStart, buf[pos + 1], kKeyEventEnd});
        } else {
            const int count = std::int16_t(std::uint16_t(buf[pos + 1] << 8 | buf[pos + 2]));
            out.knobSum = ClampCount((long long)out.knobSum + count);
            ++out.knobRecords;
        }
        pos += need;
    }
}

int PodKnobStep(const PodRecords& r, int highSpeedFactor) {
    if (r.knobRecords <= 1) return r.knobSum;
    return ClampCount((long long)r.knobSum * highSpeedFactor);
}

bool ContainsText(const std::uint8_t* data, int length, const char* text) {
    const int t = int(std::strlen(text));
    for (int i = 0; i + t <= length; ++i)
        if (std::memcmp(data + i, text, std::size_t(t)) == 0) return true;
    return false;
}

const char* PodKnobCaption(int f) {
    switch (f) {
    case kKnobVfoA: return "VFOA";
    case kKnobPbt: return "PBT";
    case kKnobRit: return "RIT";
    case kKnobPower: return "ALC";
    case kKnobVolume: return "VOL";
    case kKnobVfoB: return "VFOB";
    case kKnobRfGain: return "RFG";
    case kKnobKeyerSpeed: return "KS";
    case kKnobFilter: return "FIL";
    default: return nullptr;
    }
}

int NextPodKnob(int f) {
    switch (f) {
    case kKnobVfoA: return kKnobVfoB;
    case kKnobVfoB: return kKnobPbt;
    case kKnobPbt: return kKnobRit;
    case kKnobRit: return kKnobPower;
    case kKnobPower: return kKnobFilter;
    case kKnobFilter: return kKnobVolume;
    case kKnobVolume: return kKnobRfGain;
    case kKnobRfGain: return kKnobKeyerSpeed;
    default: return kKnobVfoA;
    }
}

void ShowPodKnob() {
    const char* caption = PodKnobCaption(g_knobfunction);
    if (caption && g_swlpanel) g_swlpanel->ShowPodKnobCaption(caption);
}

void CyclePodKnob() {
    g_knobfunction = NextPodKnob(g_knobfunction);
    ShowPodKnob();
}

void ReadPegPort() {
    std::uint8_t data[kReadMax];
    const int n = plat::SerialRead(g_pegasusport, data, kReadMax);
    if (n < 0) {
        // Unplugged: close it (one box) and forget any half record.
        g_podparser.Reset();
        ReportDefectivePort(g_pegasusport);
        return;
    }
    if (n == 0) return;
    WriteTrace(TraceBytes("From PEG ", data, n));
    AnswerReceiver(data, n);

    PodRecords records;
    g_podparser.Feed(data, n, records);
    {
        PanelChangeScope change;
        if (records.knobRecords > 0 && !g_keypadtyping) {
            StepRecord r = MakeStepRecord(PodKnobStep(records, g_highspeedtuningfactor));
            r.bytes[0] = '!';
            r.bytes[3] = '\r';
            ApplyTuneStep(r);
        }
        if (!records.keys.empty()) ProcessKeyEvents(records.keys.data(), int(records.keys.size()), 0);
    }
    if (g_podfreqpending && ++g_podfreqpolls > g_podtuningfactor) {
        SetRadioFrequencies();
        g_podfreqpending = 0;
        g_podfreqpolls = 0;
    }
}

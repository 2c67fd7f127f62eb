// Power switching, tuner start, requests, the radio keyer's text commands
// and the user commands.
#include <cstdio>
#include <cstring>

#include "base/trace_log.h"
#include "civ/civ_frame.h"
#include "civ/civ_setters.h"
#include "civ/engine_options.h"
#include "civ/radio_port.h"
#include "civ/setter_frames.h"
#include "platform/clock.h"

namespace {
constexpr int kWakeupBytes = 200;  // preamble run that wakes a sleeping radio
constexpr int kUserCommandMax = 40;

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Text commands for a keyer on the CI-V line; the send path lets only CI-V
// frames out, so they stop there.
void SendText(const char* text) {
    sendtoradio(reinterpret_cast<const std::uint8_t*>(text), int(std::strlen(text)));
}
}  // namespace

void SetRadioPower(int on) {
    if (!on) {
        WriteTrace("Power Off");
        SendCiv({0x18, 0x00});
        return;
    }
    std::uint8_t buf[kWakeupBytes + 7];
    std::memset(buf, kCivPreamble, kWakeupBytes);
    sendtoradio(buf, kWakeupBytes + BuildCivFrame(buf + kWakeupBytes, {0x18, 0x01}));
}

void StartTuner() {
    plat::SleepMs(100);
    WriteTrace("StartTuner");
    SendCiv({0x1C, 0x01, 0x02});
}

void PollFreqMode() {
    if (g_client) return;
    SendCiv({0x03});
    SendCiv({0x04});
}

void RequestRit() { SendCiv({0x21, 0x00}); }

void SetRadioKeyer(int on) { SendText(on ? "*CK1\r" : "*CK0\r"); }

void SetAuxTHang(int which, int value) {
    char text[16];
    std::snprintf(text, sizeof text, "*TD%d%03d\r", which == 2 ? 2 : 1, value < 0 ? 0 : value % 1000);
    SendText(text);
}

bool ParseUserCommand(const char* text, std::uint8_t* out, int* count) {
    *count = 0;
    if (!text) return false;
    int positions = 0;
    int value = 0;
    for (int i = 0; i < kUserCommandMax && text[i]; ++i, ++positions) {
        // A character that is not a hex digit holds its place as a zero.
        const int d = HexDigit(text[i]);
        value = value * 16 + (d < 0 ? 0 : d);
        if (positions % 2 == 1) {
            out[(*count)++] = std::uint8_t(value);
            value = 0;
        }
    }
    return positions % 2 == 0;
}

void SendUserCommand(const char* text) {
    std::uint8_t bytes[kUserCommandMax / 2];
    int count = 0;
    if (!ParseUserCommand(text, bytes, &count) || count == 0) return;
    std::uint8_t buf[kCivHeaderLen + kUserCommandMax / 2 + 1];
    BuildCivHeader(buf);
    std::memcpy(buf + kCivHeaderLen, bytes, std::size_t(count));
    buf[kCivHeaderLen + count] = kCivEnd;
    sendtoradio(buf, kCivHeaderLen + count + 1);
}

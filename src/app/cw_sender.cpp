#include "app/cw_sender.h"

#include <cctype>
#include <cstdint>

#include "app/main_frame.h"
#include "base/device_options.h"
#include "base/panel_options.h"
#include "civ/civ_options.h"
#include "civ/civ_setters.h"
#include "civ/civ_timers.h"
#include "civ/engine_options.h"
#include "civ/frequency_options.h"
#include "civ/frequency_state.h"
#include "civ/radio_init.h"
#include "civ/reply_processing.h"
#include "devices/cw_keyboard.h"
#include "devices/keyer.h"
#include "devices/keying.h"
#include "devices/remote_link.h"
#include "platform/clock.h"

namespace {
constexpr const char* kLetters[26] = {".-",   "-...", "-.-.", "-..",  ".",   "..-.", "--.",  "....", "..",
                                      ".---", "-.-",  ".-..", "--",   "-.",  "---",  ".--.", "--.-", ".-.",
                                      "...",  "-",    "..-",  "...-", ".--", "-..-", "-.--", "--.."};
constexpr const char* kDigits[10] = {"-----", ".----", "..---", "...--", "....-",
                                     ".....", "-....", "--...", "---..", "----."};
constexpr const char* kProsigns[5] = {"-...-", "...-.-", ".-.-.", "-.--.", ".-.-"};  // BT SK AR KN AA
constexpr char kKeyerProsigns[5] = {'=', '>', '<', ':', ';'};

int ProsignIndex(char ch, const char prosigns[5]) {
    for (int i = 0; i < 5; ++i)
        if (prosigns[i] && ch == prosigns[i]) return i;
    return -1;
}

// Control codes 247..255 pause a repeating memory for (256 - code) seconds.
bool IsPauseCode(std::uint8_t c) { return c >= 247; }

}  // namespace

std::string MorseCode(char ch, const char prosigns[5]) {
    const int p = ProsignIndex(ch, prosigns);
    if (p >= 0) return kProsigns[p];
    const char c = char(std::tolower(static_cast<unsigned char>(ch)));
    if (c >= 'a' && c <= 'z') return kLetters[c - 'a'];
    if (c >= '0' && c <= '9') return kDigits[c - '0'];
    switch (c) {
    case '.': return ".-.-.-";
    case '?': return "..--..";
    case ',': return "--..--";
    case '/': return "-..-.";
    case '@': return ".--.-.";
    case ' ': return " ";
    default: return "";
    }
}

char KeyerCharacter(char ch, const char prosigns[5]) {
    const int p = ProsignIndex(ch, prosigns);
    if (p >= 0) return kKeyerProsigns[p];
    return char(std::toupper(static_cast<unsigned char>(ch)));
}

void RunCwElementSender(bool (*hasWordBreak)()) {
    KillCivTimer(TIMER_CW_ELEMENT);
    const int keyerWas = g_yaltkeyer;
    const bool keyer = g_yaltkeyer || g_client;
    // An operator client sends whole characters, as a keyer does.
    if (g_client) g_yaltkeyer = 1;
    g_yaltpause = 0;
    char prosigns[5];
    CwProsigns(prosigns);
    bool go = hasWordBreak() && (!keyer || g_yaltinflight <= g_yaltthreshold);
    static bool keyDown = false;
    std::uint32_t deadline = 0;
    while (go && g_cwsendenabled) {
        std::uint32_t now = plat::GetTickCount();
        if (!keyer) {
            // The elements of one character are timed inside this expiry.
            while (deadline != 0 && std::int32_t(deadline - now) > 0 && hasWordBreak()) {
                plat::SleepMs(1);
                now = plat::GetTickCount();
            }
        }
        if (g_keyerstate == 0) {
            if (!keyer) keyoff();
            keyDown = false;
            deadline = 0;
            break;
        }
        if (g_keyerstate == 1) {
            if (!keyer && keyDown) {
                keyoff();
                keyDown = false;
            }
            deadline = now + std::uint32_t(g_spc);
            if (g_cwget == g_cwput) {
                deadline = 0;
                break;
            }
            g_keyerstate = 2;
            // The gap after the element runs out on the next pass, before
            // the next element keys the transmitter.
            if (!hasWordBreak()) break;
            continue;
        }
        if (g_cwget == g_cwput) {
            // Emptied while sending (ESC, a break-in): nothing is left.
            if (!keyer && keyDown) keyoff();
            keyDown = false;
            g_keyerstate = 1;
            g_cwelement = 0;
            break;
        }
        const std::uint8_t ch = g_cwring[g_cwget % kCwRingSize];
        const std::string code = IsPauseCode(ch) ? std::string() : MorseCode(char(ch), prosigns);
        bool characterDone = false;
        if (g_cwelement == 0 && !IsPauseCode(ch)) CountCwSent();
        if (keyer && g_cwelement == 0 && !IsPauseCode(ch)) {
            if (g_client) {
                sendtopartner(&ch, 1, 2);
            } else {
                const std::uint8_t k = std::uint8_t(KeyerCharacter(char(ch), prosigns));
                SendToYalt(&k, 1);
                if (ch != '|') ++g_yaltinflight;
                if (g_yaltinflight > g_yaltthreshold) go = false;
            }
            g_keyerstate = 1;
            characterDone = true;
        } else if (g_cwelement < int(code.size())) {
            const char e = code[std::size_t(g_cwelement)];
            if (e == ' ') {
                deadline = 0;
                SetCivTimer(TIMER_CW_ELEMENT, unsigned(g_bspc));
            } else {
                keyDown = true;
                keyon();
                deadline = plat::GetTickCount() + std::uint32_t(e == '.' ? g_dit : g_dah);
                BeginTransmit();
            }
            g_keyerstate = 1;
            ++g_cwelement;
        } else {
            characterDone = true;
        }
        if (characterDone) {
            g_cwget = (g_cwget + 1) % kCwRingSize;
            g_cwelement = 0;
            deadline = 0;
            if (IsPauseCode(ch)) {
                g_cwget = g_cwmemget;
                g_cwput = g_cwmemput;
                SetCivTimer(TIMER_CW_ELEMENT, unsigned(256 - ch) * 1000u);
                if (keyer) {
                    go = false;
                    g_yaltpause = 1;
                }
                g_keyerstate = 2;
            } else {
                if (!(g_client && g_wordsend)) ShowCwRing();
                if (g_cwget != g_cwput) {
                    g_keyerstate = 2;
                    if (!keyer) SetCivTimer(TIMER_CW_ELEMENT, unsigned(g_bspc));
                } else {
                    g_keyerstate = 1;
                    if (g_doingcwid) {
                        g_doingcwid = 0;
                        if (keyer)
                            g_idrestorepending = 1;
                        else
                            RestoreAfterIdentification(false);
                    }
                }
            }
        }
        if (!keyer && deadline == 0) go = false;
        if (!hasWordBreak()) go = false;
    }
    g_yaltkeyer = keyerWas;
}

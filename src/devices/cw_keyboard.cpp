#include "devices/cw_keyboard.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "base/device_options.h"
#include "base/panel_options.h"
#include "base/shell_ops.h"
#include "base/trace_log.h"
#include "civ/civ_options.h"
#include "civ/civ_timers.h"
#include "civ/engine_options.h"
#include "civ/frequency_options.h"
#include "devices/cat_out.h"
#include "devices/control_surfaces.h"
#include "devices/cw_keyer.h"
#include "devices/cw_panel.h"
#include "devices/key_events.h"
#include "devices/keyer.h"
#include "devices/keying.h"
#include "devices/remote_link.h"
#include "panel/pop_out_panel.h"
#include "panel/swl_panel.h"
#include "platform/profile.h"

char g_cwmacro[5][kCwMacroSize] = {};
std::uint8_t* g_cwring = nullptr;
int g_cwget = 0;
int g_cwput = 0;
int g_cwmemget = 0;
int g_cwmemput = 0;
int g_cwelement = 0;
int g_cwsendenabled = 1;
int g_cwtakesinput = 0;
int g_cwsentcount = 0;
int g_cwclearonbreakin = 0;
int g_cwclearpending = 0;
char g_cwecholine[kCwEchoLength + 1] = "";

namespace {
constexpr int kShownPending = 400;
constexpr int kSentCountLimit = 35;
constexpr unsigned kEsc = 27, kBackspace = 8;
constexpr std::uint8_t kClearBuffer = 0x0A;  // keyer: drop what it has not sent
constexpr unsigned kRemoteTyped = 2;         // remote message: typed characters
constexpr unsigned kIdStartMs = 1000;        // the identification starts after the mode change
// The pod keys of keyer buttons 6..11 (F6..F11).
constexpr int kPodKeys[6] = {'6', '7', '8', '9', '0', 17};

int g_membusy[5] = {};

bool IsPauseCode(unsigned c) { return c >= 247 && c <= 255; }

void SendToServer(unsigned c) {
    const std::uint8_t b = std::uint8_t(c);
    sendtopartner(&b, 1, kRemoteTyped);
}

void ShowEchoLine() {
    if (g_cwpanel) g_cwpanel->ShowEcho(g_cwecholine);
}

void ClearRingAndEcho() {
    g_cwget = g_cwput;
    g_cwecholine[0] = '\0';
    ShowEchoLine();
    ShowCwRing();
}

void Append(unsigned c) {
    if (g_cwsendenabled && (IsWordSeparator(int(c)) || !g_wordsend))
        SetCivTimer(TIMER_CW_ELEMENT, g_doingcwid ? kIdStartMs : 1);
    if (!g_cwring) return;
    g_cwring[g_cwput] = std::uint8_t(c);
    const int next = (g_cwput + 1) % kCwRingSize;
    // One slot stays free: a full ring would look empty.
    if (next != g_cwget) g_cwput = next;
    ShowCwRing();
}

void SetSpeedText(const char* text) {
    if (g_swlpanel) g_swlpanel->ShowCwSpeed(text);
}
}  // namespace

bool IsWordSeparator(int c) { return c == ' ' || c == ',' || c == '.' || c == '?'; }

void CwProsigns(char out[5]) {
    out[0] = g_btchar[0];
    out[1] = g_skchar[0];
    out[2] = g_archar[0];
    out[3] = g_knchar[0];
    out[4] = g_aachar[0];
}

bool IsCwCharacter(unsigned c) {
    if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || IsPauseCode(c)) return true;
    if (std::strchr(" ,.|/?@", int(c)) && c != 0) return true;
    char p[5];
    CwProsigns(p);
    for (char x : p)
        if (x && unsigned(static_cast<unsigned char>(x)) == c) return true;
    return false;
}

int CwRingPending() { return ((g_cwput - g_cwget) % kCwRingSize + kCwRingSize) % kCwRingSize; }

bool CwRingHasWordBreak() {
    if (!g_wordsend) return true;
    if (!g_cwring) return false;
    for (int i = g_cwget; i != g_cwput; i = (i + 1) % kCwRingSize)
        if (IsWordSeparator(g_cwring[i])) return true;
    return false;
}

std::string CwRingText() {
    std::string line(std::size_t(g_cwsentcount), '#');
    const int pending = CwRingPending();
    const int shown = pending > kShownPending ? kShownPending : pending;
    for (int k = pending - shown; k < pending && g_cwring; ++k) {
        const std::uint8_t c = g_cwring[(g_cwget + k) % kCwRingSize];
        line += (c & 0x80) ? 'R' : char(c);
    }
    return line;
}

void ShowCwRing() {
    if (g_doingcwid) return;
    if (g_cwpanel) g_cwpanel->ShowPending(CwRingText());
}

bool CwKeyboardOn() { return g_keyerstate != 0; }

void CountCwSent() {
    if (++g_cwsentcount > kSentCountLimit) g_cwsentcount = 0;
}

void StopCwSending() {
    KillCivTimer(TIMER_CW_ELEMENT);
    ClearRingAndEcho();
    g_cwelement = 0;
    if (g_keyerstate == 2) g_keyerstate = 1;
    if (g_keyertype == 2) SendToYalt(&kClearBuffer, 1);
    g_yaltinflight = 0;
}

void AddPaddleEcho(char c) {
    const std::size_t n = std::strlen(g_cwecholine);
    if (n < std::size_t(kCwEchoLength)) {
        g_cwecholine[n] = c;
        g_cwecholine[n + 1] = '\0';
    } else {
        std::memmove(g_cwecholine, g_cwecholine + 1, std::size_t(kCwEchoLength) - 1);
        g_cwecholine[kCwEchoLength - 1] = c;
        g_cwecholine[kCwEchoLength] = '\0';
    }
    ShowEchoLine();
}

void CwKeyboardChar(unsigned c) {
    if (g_cwpopout && g_cwpanel && g_cwpanel->IsWindowVisible()) {
        g_cwpanel->BringWindowToTop();
        g_cwpanel->SetFocus();
    }
    if (g_cwclearpending) {
        g_cwclearpending = 0;
        g_cwget = g_cwput;
    }
    if (c >= 'A' && c <= 'Z') c = c - 'A' + 'a';
    if (IsCwCharacter(c)) {
        Append(c);
        return;
    }
    if (c == kBackspace) {
        if (g_cwput != g_cwget) g_cwput = (g_cwput + kCwRingSize - 1) % kCwRingSize;
        ShowCwRing();
        return;
    }
    if (c == kEsc) {
        StopCwSending();
        if (g_client) SendToServer(kEsc);
        EndIdentification();
        return;
    }
    if (g_client) SendToServer(c);
}

namespace {
// Each state (child or popped out) keeps its own place.
void RememberPlace() {
    if (!g_cwpanel || !g_cwpanel->IsCreated()) return;
    const plat::Point at = g_cwpanel->Place();
    if (g_cwpanel->PoppedOut()) {
        g_cwleftpopout = at.x;
        g_cwtoppopout = at.y;
    } else {
        g_cwleft = at.x;
        g_cwtop = at.y;
    }
}

void HideKeyboard() {
    RememberPlace();
    if (g_swlpanel) {
        g_swlpanel->SetCwCaption("");
        g_swlpanel->ShowCwKeyboardButtons(0);
    }
    if (g_cwpanel) g_cwpanel->ShowWindow(plat::SW_HIDE);
    StopCwSending();
    if (!g_speeddisplay) SetSpeedText("  ");
    g_keyerstate = 0;
    g_cwtakesinput = 0;
    // An identification cut short gives the radio its mode and frequency back.
    EndIdentification();
}

void ShowKeyboard() {
    if (!g_doingcwid) {
        if (g_cwpanel) {
            g_cwpanel->ShowWindow(plat::SW_SHOW);
            // In the frame it goes where it covers no other window.
            CPopOutPanel::Shown(g_cwpanel);
            g_cwpanel->SetFocus();
        }
        char text[16];
        std::snprintf(text, sizeof text, "%d", g_cwspeed);
        SetSpeedText(text);
        g_speeddisplay = 1;
        if (g_swlpanel) {
            g_swlpanel->ShowCwKeyboardButtons(1);
            g_swlpanel->SetCwCaption("Cw Kb");
        }
    }
    g_cwget = g_cwput;
    g_keyerstate = 1;
    g_cwtakesinput = 1;
    ShowCwRing();
}
}  // namespace

void OnShowCwKeyboard() {
    // The radio window asks while its mode change is on the way to the
    // radio: its own mode counts as well.
    const char panelMode = g_swlpanel ? g_swlpanel->vfoAMode : g_vfoamode;
    const bool cw = g_vfoamode == '3' || g_vfoamode == '2' || panelMode == '3' || panelMode == '2';
    if (!cw && !g_doingcwid) return;
    if (CwKeyboardOn())
        HideKeyboard();
    else
        ShowKeyboard();
}

void OnToggleCwSend() {
    g_cwsendenabled = !g_cwsendenabled;
    if (g_cwsendenabled && g_cwput != g_cwget && CwKeyboardOn()) SetCivTimer(TIMER_CW_ELEMENT, 1);
}

void memgen(int index) {
    WriteTrace("memgen");
    if (index < 0 || index > 4) return;
    if (g_yaltkeyer == 3) {
        // A text-line keyer on the CAT ports takes the memory as a line.
        WriteTrace("test3");
        char line[kCwMacroSize + 1];
        int n = 0;
        for (const char* p = g_cwmacro[index]; *p && n < kCwMacroSize - 1; ++p)
            line[n++] = char(std::tolower(static_cast<unsigned char>(*p)));
        line[n++] = '\r';
        SendToTHP(reinterpret_cast<const std::uint8_t*>(line), n);
        return;
    }
    MyWindowFocus();
    if (g_cwclearpending) {
        g_cwclearpending = 0;
        g_cwget = g_cwput;
    }
    if (!g_cwsendenabled || g_membusy[index]) return;
    g_membusy[index] = 1;
    bool pause = false;
    const char* text = g_cwmacro[index];
    for (std::size_t i = 0; text[i] && i < std::size_t(kCwMacroSize); ++i) {
        const char c = text[i];
        const char next = text[i + 1];
        if (c == '#' && next >= '1' && next <= '5') {
            memgen(next - '1');
            ++i;
        } else if (c == '"' && next) {
            SendTextFile(text + i + 1);
            break;  // the path runs to the end of the memory
        } else if (c == '%' && next >= '1' && next <= '9') {
            CwKeyboardChar(unsigned(256 - (next - '0')));
            pause = true;
            ++i;
        } else {
            CwKeyboardChar(static_cast<unsigned char>(c));
        }
    }
    CwKeyboardChar(' ');
    if (pause) {
        g_cwmemget = g_cwget;
        g_cwmemput = g_cwput;
    }
    g_membusy[index] = 0;
}

void RunMemoryKey(int n) {
    if (n < 1 || n > 5) return;
    if (CwKeyboardOn() && g_cwmacro[n - 1][0])
        memgen(n - 1);
    else
        PressPodButton('0' + n);
}

void RunMacroKey(int n) {
    if (n >= 1 && n <= 5)
        memgen(n - 1);
    else if (n >= 6 && n <= 11)
        PressPodButton(kPodKeys[n - 6]);
}

void SendTextFile(const char* path) {
    auto text = plat::ReadWholeFile(path, std::size_t(kCwRingSize - 1));
    if (!text) return;
    for (char c : *text) CwKeyboardChar(static_cast<unsigned char>(c));
}

void CreateCwKeyboard(plat::Window* parent) {
    if (!g_cwpanel) g_cwpanel = new CCWPanel;
    g_cwpanel->Build(parent, g_cwpopout != 0);
}

void OpenCwKeyboard() {
    // "KEYER STATE" tells whether the keyboard was open at the last exit.
    if (g_keyerstate == 0) return;
    ShowKeyboard();
}

void ApplyCwPopOut() {
    if (!g_cwpanel) return;
    plat::Window* parent = g_cwpanel->GetParent();
    const bool shown = g_cwpanel->IsWindowVisible();
    RememberPlace();
    g_cwpanel->Tear();
    g_cwpanel->Build(parent, g_cwpopout != 0);
    g_cwpanel->ShowPending(CwRingText());
    g_cwpanel->ShowEcho(g_cwecholine);
    if (shown) g_cwpanel->ShowWindow(plat::SW_SHOW);
}

void DestroyCwKeyboard() {
    if (!g_cwpanel) return;
    RememberPlace();
    g_cwpanel->Tear();
    delete g_cwpanel;
    g_cwpanel = nullptr;
}

plat::Window* CwKeyboardWindow() { return g_cwpanel; }

// The function table's CW memory functions type the memory into the ring.
void mem1() { memgen(0); }
void mem2() { memgen(1); }
void mem3() { memgen(2); }
void mem4() { memgen(3); }
void mem5() { memgen(4); }

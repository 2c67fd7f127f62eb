#include "devices/program_links.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "base/device_options.h"
#include "base/panel_options.h"
#include "base/trace_log.h"
#include "civ/band_table.h"
#include "civ/civ_options.h"
#include "civ/civ_setters.h"
#include "civ/engine_options.h"
#include "civ/frequency_state.h"
#include "civ/radio_init.h"
#include "civ/radio_port.h"
#include "civ/tuning_state.h"
#include "devices/cat_out.h"
#include "devices/rotator.h"
#include "devices/station_outputs.h"
#include "panel/swl_panel.h"
#include "platform/files.h"
#include "platform/profile.h"
#include "platform/window.h"

int g_exchangenewdata = 0;
int g_dualfilemute = 0;
int g_afskrtty = 0;

namespace {

constexpr unsigned kToggleSplitCommand = 122;  // the main frame's split toggle
constexpr int kExchangeMaxBytes = 100;

// What "pegasus.out" last said, and what the dual file last said.
struct Written {
    double vfoA = -1, vfoB = -1;
    int modeA = -1, modeB = -1, power = -1, split = -1;
};
Written g_pegout;
double g_dualvfob = -1;
int g_dualmode = -1;

bool DualFileNamed() { return g_pegasustransferfile[0] != 0; }

// The first `max` bytes of a file; false when it cannot be read.
bool ReadHead(const std::string& path, std::string* text, std::size_t max) {
    auto head = plat::ReadWholeFile(path, max);
    if (!head) return false;
    *text = std::move(*head);
    return true;
}

std::string FolderFile(const char* name) {
    std::string folder = g_transferfolder;
    if (folder.empty()) return name;
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (folder.back() != '/' && folder.back() != '\\') folder += '/';
    return folder + name;
}

// Six blanks after a mode word tell a Pelx-equipped logger the power is low.
bool PelxPad(double mhz) { return mhz < 30 && g_pelx && g_power < 90; }

std::string MainModeWord(int mode) {
    const bool label = g_pegoutrttymodeisbuttontext != 0;
    switch (mode) {
        case '5': case 0x17: return "FM";
        case '0': return "USB";
        case '1': return g_afskrtty ? "RTTY" : "LSB";
        case '3': case '2': return "CW";
        case '4': case ';': return "AM";
        case '7': return label ? g_rttylabel : "LSB";
        case '8': return label ? g_rttylabel : "USB";
        case '9': return label ? std::string(g_rttylabel2, strnlen(g_rttylabel2, 5)) : "USB";
        case ':': return label ? "PSK31" : "LSB";
        default: return "";
    }
}

const char* SecondModeWord(int mode) {
    switch (mode) {
        case '5': case 0x17: return "FM";
        case '0': return "USB";
        case '1': return g_afskrtty ? "RTTY" : "LSB";
        case '7': case '8': return "RTTY";
        case '3': case '2': return "CW";
        case '4': case ';': return "AM";
        case '9': case ':': return "PSK31";
        default: return "";
    }
}

std::string ModeLine(int mode, double mhz, bool main) {
    std::string word = main ? MainModeWord(mode) : SecondModeWord(mode);
    if (PelxPad(mhz)) word += "      ";
    return word + "\n";
}

bool SplitForOut() {
    return g_split || (g_rawmode && DualFileNamed() && std::fabs(g_vfoafreq - g_vfobfreq) > 9e-6);
}

void WritePegasusOut() {
    const int split = SplitForOut() ? 1 : 0;
    if (CompareFrequencies(g_vfoafreq, g_pegout.vfoA) == 0 && g_vfoamode == g_pegout.modeA &&
        g_vfobmode == g_pegout.modeB && g_power == g_pegout.power && split == g_pegout.split &&
        CompareFrequencies(g_vfobfreq, g_pegout.vfoB) == 0)
        return;
    // Rewritten whole and replaced at once: the logger never reads half a file.
    if (!plat::WriteFileAtomic(PegasusOutPath(), PegasusOutText())) return;  // tried again next tick
    g_pegout = {g_vfoafreq, g_vfobfreq, g_vfoamode, g_vfobmode, g_power, split};
}

// One line of the exchange file, CRs dropped.
std::string Line(const std::string& text, std::size_t* pos) {
    std::string line;
    while (*pos < text.size() && text[*pos] != '\n') {
        if (text[*pos] != '\r') line.push_back(text[*pos]);
        ++*pos;
    }
    if (*pos < text.size()) ++*pos;
    return line;
}

char SecondModeChar(char letter) {
    switch (letter) {
        case 'A': return '4';
        case 'C': return '3';
        case 'F': return '5';
        case 'L': return '1';
        case 'P': return '9';
        case 'R': return g_afsk ? '1' : '7';
        case 'U': return '0';
        default: return 0;
    }
}

void ReadPegasusIn(const std::string& path) {
    WriteTrace("scr 7");
    SelectVfo('A');
    std::string text;
    const bool read = ReadHead(path, &text, kExchangeMaxBytes);
    g_afskrtty = 0;
    if (read && !text.empty() && text[0] == 'm') {
        if (!g_muted) ToggleMute();
        plat::RemoveFile(path);
        return;
    }
    if (g_muted) ToggleMute();
    std::size_t pos = 0;
    const std::string l1 = Line(text, &pos);
    const std::string l2 = Line(text, &pos);
    std::string l3 = Line(text, &pos);
    const std::string l4 = Line(text, &pos);
    double freqA = std::atof(l1.c_str());
    const char letter = l2.empty() ? 0 : l2[0];
    double freqB = l3.empty() ? 0 : std::atof(l3.c_str());
    if (g_splitswitchonly && g_diversity) freqB = 0;
    if (freqB != 0 && !IsHamBand(freqB)) freqB = 0;
    CSwlPanel* panel = g_swlpanel;
    if (g_rawmode && DualFileNamed()) {
        if (freqB != 0 && panel && panel->dual) panel->ToggleDual();
        if (l3.empty() && !g_splitswitchonly) {
            SetVfoBFrequency(freqA);
            g_vfobmode = SecondModeChar(letter) ? SecondModeChar(letter) : g_vfobmode;
            if (!(g_dual && g_diversity) && panel) panel->SetDiversity(1);
        }
    }
    int code = 0;
    switch (letter) {
        case 'A': code = 5; break;
        case 'C': code = 1; break;
        case 'F': code = 4; break;
        case 'L': code = 3; break;
        case 'U': code = 2; break;
        case 'P': case 'R':
            if (g_afsk) {
                code = 3;
                if (DualFileNamed()) freqA += g_rttyoffset / 1e6;
                g_afskrtty = 1;
            } else {
                code = 6;
            }
            break;
        default: break;
    }
    if (freqA > 0) TuneToFrequency(freqA, code);
    if (letter == 'H' && l2.size() >= 4) {
        std::snprintf(g_rotorbearing, sizeof g_rotorbearing, "%.3s", l2.c_str() + 1);
        WriteTracef("rotor bearing %s", g_rotorbearing);
        StartRotor();
    }
    if (freqB > 0) {
        if (g_afskrtty && g_vfoamode == '1') freqB += g_rttyoffset / 1e6;
        SetVfoB(freqB);
        if (panel) {
            if (!panel->split && !g_rawmode && g_timerwindow)
                g_timerwindow->PostMessage(plat::WM_COMMAND, kToggleSplitCommand, 0);
        }
        const char m = l4.empty() ? 0 : SecondModeChar(l4[0]);
        if (m && panel && m != panel->vfoBMode) panel->SetPanelTuning(0, 0, 0, 0, 0, m);
        if (m) g_vfobmode = m;
        if (g_rawmode) {
            if (DualFileNamed()) {
                SendFreqToRX340();
            } else {
                SetModeB(g_vfobmode);
                SetRadioFrequenciesVFOB();
            }
        }
        OnSwl();
    }
    plat::RemoveFile(path);
}

}  // namespace

// ---- The automation object ------------------------------------------------------

CWLInterface::CWLInterface(plat::Window* panel) : panel_(panel) {}
CWLInterface::~CWLInterface() {}
void CWLInterface::RegisterForPort(int port) { port_ = port >= 1 && port <= 15 ? port : 0; }

int LoggerModeCode(int mode) {
    switch (mode) {
        case '0': return 2;
        case '1': return 1;
        case '3': return 3;
        case '4': return 5;
        case '5': return 4;
        case '7': case '8': case '9': case ':': return 6;
        default: return -1;
    }
}

int SetLoggerMode(int code) {
    static constexpr char kModes[] = {0, '1', '0', '3', '5', '4'};
    if (code < 1 || code > 5) return -1;
    if (g_swlpanel) g_swlpanel->PressModeButton(kModes[code]);
    return 0;
}

short CWLInterface::GetRigStatus(short* modeA, short* modeB, double* freqA, double* freqB, short* split) {
    if (!g_swlpanel) return 0;
    const int a = LoggerModeCode(g_vfoamode);
    if (a < 0) return -1;
    *modeA = short(a);
    if (g_split) {
        const int b = LoggerModeCode(g_vfobmode);
        if (b < 0) return -1;
        *modeB = short(b);
        *freqB = g_vfobfreq;
    } else {
        *modeB = *modeA;
        *freqB = g_vfoafreq;
    }
    *freqA = g_vfoafreq;
    // Loggers truncate to the kHz; the offset keeps 14.074 from reading 14.073.
    *freqA += 0.0004;
    *freqB += 0.0004;
    *split = g_split ? 1 : 0;
    return 0;
}

short CWLInterface::SetRigStatus(short modeA, short modeB, double freqA, double freqB, short split) {
    CSwlPanel* p = g_swlpanel;
    if (!p) return 0;
    if (split) {
        p->SwapAB();
        p->vfoAFreq = freqB;
        p->SetFrequency(freqB);
        SetLoggerMode(modeB);
        p->SwapAB();
    }
    if (freqA != 0) {
        p->vfoAFreq = freqA;
        p->SetFrequency(freqA);
    }
    if ((p->split != 0) != (split != 0)) p->ToggleSplit();
    SetLoggerMode(modeA);
    p->NotifyMainWin();
    return 1;
}

short CWLInterface::SetPTTState(short state) {
    CSwlPanel* p = g_swlpanel;
    if (!p) return 0;
    if ((p->fn.pttRequest != 0) != (state != 0)) {
        p->fn.pttRequest = p->fn.pttRequest ? 0 : 1;
        p->NotifyMainWin();
    }
    return 1;
}

short CWLInterface::SetRITState(short state) {
    CSwlPanel* p = g_swlpanel;
    if (!p) return 0;
    if (state) {
        if (!p->rit) p->rit = 1;
    } else if (p->rit) {
        p->ritOffset = 0;
        p->rit = 0;
    }
    p->NotifyMainWin();
    return 1;
}

// ---- Exchange files ---------------------------------------------------------------

std::string PegasusInPath() { return FolderFile("pegasus.in"); }
std::string PegasusOutPath() { return FolderFile("pegasus.out"); }

std::string PegasusOutText() {
    if (MainModeWord(g_vfoamode).empty()) return "";
    double a = g_vfoafreq;
    if (g_afskrtty && DualFileNamed() && g_vfoamode == '1') a -= g_rttyoffset / 1e6;
    char buf[32];
    std::snprintf(buf, sizeof buf, "%09.6f\n", a);
    std::string text = buf + ModeLine(g_vfoamode, g_vfoafreq, true);
    if (SplitForOut()) {
        std::snprintf(buf, sizeof buf, "%09.6f\n", g_vfobfreq);
        text += buf + ModeLine(g_vfobmode, g_vfobfreq, false);
    }
    return text;
}

void ExchangePegasusFiles() {
    const std::string in = PegasusInPath();
    if (plat::FileExists(in)) {
        ReadPegasusIn(in);
        return;
    }
    WritePegasusOut();
}

bool WriteDualFile() {
    if (!DualFileNamed()) return false;
    WriteTrace("Dual File Used");
    const int dual = g_swlpanel ? g_swlpanel->dual : g_dual;
    const double vfob = g_swlpanel ? g_swlpanel->vfoBFreq : g_vfobfreq;
    const int mode = g_swlpanel ? g_swlpanel->vfoBMode : g_vfobmode;
    const bool mute = g_dualfilemute && !g_rawmode;
    if (!mute && !(dual && (CompareFrequencies(vfob, g_dualvfob) != 0 || mode != g_dualmode))) return true;
    std::string text;
    if (mute) {
        text = "mute\r";
        g_dualfilemute = 0;
    } else {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%09.6f\n", vfob);
        const char* word = "";
        switch (mode) {
            case '5': case 0x17: word = "FM"; break;
            case '0': word = "USB"; break;
            case '1': word = g_afskrtty ? "RTTY" : "LSB"; break;
            case '7': word = "RTTY"; break;
            case '3': word = "CW"; break;
            case '4': case ';': word = "AM"; break;
            default: break;
        }
        text = std::string(buf) + word + "\n";
    }
    if (!plat::WriteFileAtomic(g_pegasustransferfile, text)) return true;
    if (!mute) {
        g_dualvfob = vfob;
        g_dualmode = mode;
    }
    return true;
}

void ForgetDualFileVfoB() { g_dualvfob = -1; }

void ReadDualFile() {
    const std::string name = std::string(g_pegasustransferfile) + "out";
    WriteTrace(name);
    std::string text;
    if (!ReadHead(name, &text, kExchangeMaxBytes)) return;
    std::size_t pos = 0;
    const double mhz = std::atof(Line(text, &pos).c_str());
    if (mhz <= 0.5 || CompareFrequencies(mhz, g_vfobfreq) == 0) return;
    SetVfoB(mhz);
    SendVfoBFreq();
}

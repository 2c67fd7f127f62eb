// Links to logging and decoding programs on the same computer: the logger
// automation object's four methods, the exchange files "pegasus.in" and
// "pegasus.out" in the transfer folder, and the dual frequency file of a
// second-receiver program.
//
// Linux has no running-object table: no outside program can find or call
// the automation object. Its methods are plain functions here, with the
// results the object would give.
#pragma once
#include <cstdint>
#include <string>

#include "platform/types.h"

namespace plat {
class Window;
}

class CWLInterface {
public:
    explicit CWLInterface(plat::Window* panel);
    ~CWLInterface();
    // Registers the object for one more radio port (1..15); nothing to
    // register with on Linux, the number is kept.
    void RegisterForPort(int port);
    int RegisteredPort() const { return port_; }
    plat::Window* panel() const { return panel_; }

    // The dispatch methods (ids 1..4), on the one radio panel. Modes are
    // logger codes (1 LSB, 2 USB, 3 CW, 4 FM, 5 AM, 6 digital).
    short GetRigStatus(short* modeA, short* modeB, double* freqA, double* freqB, short* split);
    short SetRigStatus(short modeA, short modeB, double freqA, double freqB, short split);
    short SetPTTState(short state);
    short SetRITState(short state);

private:
    plat::Window* panel_;
    int port_ = 0;
};

// The logger code of a ModeChar; -1 for CW-R, SAM, WFM, DV and unknown.
int LoggerModeCode(int mode);
// Applies a logger code through the panel's mode buttons; -1 for other codes.
int SetLoggerMode(int code);

// Each second and after a state change: reads "pegasus.in" if it is there,
// else rewrites "pegasus.out" when what it would say changed.
void ExchangePegasusFiles();
// Each second with "RAWMODE" and a dual file: VFO B from the partner file.
void ReadDualFile();
extern int g_exchangenewdata;  // the exchange has new data
extern int g_dualfilemute;     // the next dual-file write asks for mute
extern int g_afskrtty;         // an RTTY/PSK request was run as LSB (AFSK)
// Forgets the VFO B frequency last written to the dual file, so the next
// write carries it again.
void ForgetDualFileVfoB();

// The exchange file paths for the transfer folder (empty: the working
// directory); the folder is created when missing.
std::string PegasusInPath();
std::string PegasusOutPath();
// The text "pegasus.out" holds for the current state ("" for a mode it
// cannot name).
std::string PegasusOutText();

// ---- Datagrams ----------------------------------------------------------------
// A contest logger's active-radio datagrams come in on "GORV PORT"; the
// transmit frequency goes out each second to a network amplifier ("B26 IP").

constexpr unsigned WM_SOCK_GORV = 0x1824;  // the logger socket's events, to the main frame

extern int g_activeradio;              // the logger's active radio number (-1 none heard)
extern std::uint32_t g_b26destination;  // resolved "B26 IP"; 0 = look it up before the next datagram

// Opens (again) the logger socket on "GORV PORT".
void OpenGorvSocket();
void CloseGorvSocket();
// WM_SOCK_GORV: reads every waiting datagram.
void OnSockGorvRead(plat::WPARAM wParam, plat::LPARAM lParam);
// One frequency datagram to "B26 IP" when the conditions hold.
void SendRadioInfo();
// The datagram texts (pure).
std::string RadioInfoXml(double rxMhz, double txMhz);
std::string Kpa1500Datagram(double txMhz);
// The active radio of a logger datagram ('1' or '2' after "<ActiveRadioNr>"),
// or -1.
int ActiveRadioOf(const std::uint8_t* data, int length);

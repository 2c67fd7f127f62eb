// Serial ports of the accessories: one opener per device, sharing the radio
// port's recipe, the two modem-line operations and the port-failure boxes.
// An invalid handle means the device is absent; its poll step is skipped.
#pragma once
#include "platform/serial_port.h"

// Handles of the accessories opened here (invalid until opened).
extern plat::PortHandle g_pegasusport;  // keypad pod, [INTERFACE] "PEGASUS COMPORT"
extern plat::PortHandle g_pttport;      // PTT line, "PTT COMPORT"
extern plat::PortHandle g_steppirport;  // SteppIR antenna, "STEPPIR COMPORT"
extern plat::PortHandle g_yaltport;     // serial CW keyer, "YALT COMPORT"
extern plat::PortHandle g_ldgport;      // LDG AT-200PC tuner, "LDG COMPORT"

// Their port names, as the settings store keeps them ("0", "NONE" or "COM0":
// no port), and the SteppIR's baud rate ("STEPPIR BAUD", default 57600).
extern char g_pegasuscomport[40];
extern char g_pttcomport[40];
extern char g_steppircomport[40];
extern char g_yaltcomport[40];
extern char g_ldgcomport[40];
extern long g_steppirbaud;

void OpenPegasusPort();
void OpenPttPort();
void OpenSteppirPort();
void OpenKeyerPort();
void OpenLdgPort();
// Opens one CAT-out port: closes `handle` if open, then opens `portName` at
// `baud`, with CTS/RTS handshake when `handshake` is set and both modem lines
// raised when `lines` is set. Returns the new handle (invalid on failure;
// `quiet` shows no box then, for the retries of a lost port).
plat::PortHandle OpenThpPort(plat::PortHandle handle, long baud, const char* portName, int handshake, int lines,
                             bool quiet = false);

// The LDG opener starts the tuner's start-up sequence through this hook,
// which the tuner sets (the sequence and its timers belong to the tuner and
// the main frame). Nothing happens while it is unset.
extern void (*g_ldgportopened)();

// Raise (on non-zero) or drop DTR / RTS. A failure traces the error and
// reports the port defective, which closes it and marks `port` invalid.
void SetDTR(int on, plat::PortHandle& port);
void SetRTS(int on, plat::PortHandle& port);

// The open-failure box: "Error accessing " + device word + port name and the
// reason, taken from the last failed open. The same device and port twice in
// a row show one box.
void ShowPortError(const char* device, const char* portName);

// Closes a port that failed while in use, marks it invalid (also in the
// owning device's handle) and shows "<port> is defective" once per run.
void ReportDefectivePort(plat::PortHandle& port);

// Called after a port that failed in use was closed, with the reason; the
// keying code releases whatever that port or another may be holding.
extern void (*g_onportlost)(const char* why);

// Devices owned elsewhere (coax switch, power meter) register their handle
// and port name so that a defect on their port is reported by name.
void RegisterPortOwner(plat::PortHandle* handle, const char* portName);

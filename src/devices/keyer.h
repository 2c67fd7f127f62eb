// The serial CW keyer: its start-up exchange, the commands the program
// sends it and the reading of what it reports (echo, paddle, speed pot,
// status and push-buttons).
#pragma once
#include <cstdint>
#include <string>

// Keyer state: -3 port just opened, 0 ready to start, 1 host open sent
// (waiting for the version byte), 2 running. Commands other than the
// start-up bytes go out only in state 2.
extern int g_keyertype;
extern int g_yaltcount;       // seconds waited for the host-open answer
extern int g_yaltversion;     // firmware version the keyer reported
extern int g_yaltextended;    // version 20 or later: pin byte and push-buttons differ
extern char g_yaltversiontext[32];  // "YALT VERSION %s" for the about box
extern int g_yaltinflight;    // characters sent and not yet echoed
extern int g_yaltthreshold;   // in-flight threshold (initial 3)
extern int g_yaltpause;       // the keyer pause mark
extern int g_yaltbreakin;     // the paddle broke in: echo bytes are paddle characters
// CW element times in ms and their base copies (kstats sets both).
extern int g_spc, g_dit, g_dah, g_bspc;
extern int g_spcbase, g_ditbase, g_dahbase, g_bspcbase;

// Mode byte: keyer mode in the high nibble, paddle and serial echo on, then
// paddle swap, autospace and contest spacing.
std::uint8_t BuildKeyerMode();
// Pin configuration byte for the keyer's version and the program's role.
std::uint8_t KeyerPinByte();
// "YALT VERSION %s" with the one character version + 48.
std::string KeyerVersionText(int version);

// The one writer to the keyer port.
void SendToYalt(const std::uint8_t* data, int length);
// Command senders (only while running, except the speed and the mode).
void SetKeyerSpeed(int speed);
void SetKeyerWeight();
void SetKeyerLead();
void SetKeyerTail();
void SetupKeyerPot();
void ReadKeyerPot();
void SetKeyerPins();
void SetKeyerMode();
void SetKeyerFirstExt();
void SetKeyerComp();
void SetKeyerRatio();
// The keyer's defaults and settings after its version byte.
void InitKeyer();
// The reader, run by the device poll.
void ReadYaltPort();
// Handles the bytes of one read (the reader's work, apart from the port).
void ProcessKeyerBytes(const std::uint8_t* data, int length);
void CloseKeyerPort();

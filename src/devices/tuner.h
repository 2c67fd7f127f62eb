// The LDG AT-200PC antenna tuner: its serial records, the per-frequency
// memory image ("ldg.dat"), the recall that follows the radio and the
// command sequence the panel's tuner buttons start; and the SteppIR writer.
#pragma once
#include <cstdint>

#include "platform/serial_port.h"

// The memory image in bytes: 16-bit settings, little-endian, indexed by
// period = trunc(20480 / MHz). The file keeps the first kLdgFileSize bytes.
constexpr int kLdgImageSize = 24000;
constexpr int kLdgFileSize = 23000;
extern std::uint8_t* g_ldgimage;  // LDG tuner memory image (ldg.dat)
extern plat::PortHandle g_ldgcoaxport;
extern int g_ldgcoax;             // the LDG coax switch is enabled
extern int g_ldgmemclear;         // memory clear: 2 confirmed, 1 done
extern int g_ldgbusy;
extern int g_tunerpending;        // pending tuner action (10 store)

// Tuner state the panel shows.
extern int g_ldgswr;              // SWR x 100 of the last power record
extern char g_ldgswrtext[16];     // the panel's tuner SWR field
extern char g_ldgtunertext[16];   // the panel's tuner result field
extern int g_ldgantenna;          // 1 or 2 ("Ant1"/"Ant2")
extern int g_ldghiz;              // the impedance caption shows "HiZ"
extern int g_ldgrtspulse;         // pulse RTS before the next send

// Recall works between these frequencies, and a setting is stored only
// where it can be recalled.
constexpr double kLdgLowMHz = 1.79;
constexpr double kLdgHighMHz = 54.0;
// The period of a frequency, or -1 where recall does not work.
int LdgPeriod(double mhz);
std::uint16_t LdgSetting(int period);
void StoreLdgSetting(int period, std::uint16_t value);
// SWR x 100 from the last byte of a power record.
int LdgSwrFromPower(std::uint8_t b3);

void ReadLdgPort();
// Tuner records: acts on every whole record, returns the carry.
int ParseLdg(std::uint8_t* buf, int len);
// Tuner bytes that the radio server forwarded to this client.
void ParseLdgFromServer(const std::uint8_t* data, int len);
void sendtoldg(const std::uint8_t* data, int length);
void RunTunerSequence();
void TunerRecall();
void autotunerexit();
// Forgets the good/bad result of an earlier tune before a new one starts.
void ClearTuneResults();
// Reads "ldg.dat" into the image (a short file leaves the rest zero).
void ReadLdgFile();
// Saves the image: a temporary file renamed over "ldg.dat", so a crash
// never costs the old memory.
void WriteLdgFile();
// The start-up chain that wakes the tuner and sets its mode and antenna.
void StartLdgChain();

// The panel's tuner buttons.
void OnTunerTune();
void OnTunerBypass();
void OnTunerCap1();
void OnTunerCap2();
void OnTunerInd1();
void OnTunerInd2();
void OnTunerRecall();
void OnTunerStore();
void OnTunerHiLoZ();
void ToggleTunerAntenna();
// The radio window's tuner buttons; true when `id` is one of them.
bool OnTunerButton(unsigned id);

void SendToSteppir(const std::uint8_t* data, int length);

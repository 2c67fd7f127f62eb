// Load and save hooks of the catalogue rows that are more than a format:
// conditional keys, decorated forms, window places, port names, the band
// stack, the transverters and the control-surface assignments.
#pragma once
#include <string>

#include "platform/types.h"

struct SettingKey;

// Conditions of the conditional writes.
bool HasDigiSel();      // the radio type belongs to the DIGI-SEL family
bool AmFiltersSaved();  // DIGI-SEL family, the Perseus or radio type 23
bool Mirroring();       // mirror mode is on

void SaveVersion(const SettingKey& row, const std::string& path);
void SaveTrace(const SettingKey& row, const std::string& path);
void LoadTraceCheck(const SettingKey& row, const std::string& path);
void TraceProgress1(const SettingKey& row, const std::string& path);
void TraceSaveFilter4(const SettingKey& row, const std::string& path);

// "RTTY MODE", "RTTY MODE2": 2 "FSK", 1 "USB", anything else "LSB".
int RttyModeFromText(const char* text);
const char* RttyModeText(int mode);
void LoadRttyMode(const SettingKey& row, const std::string& path);
void SaveRttyMode(const SettingKey& row, const std::string& path);

void LoadTransvertersRow(const SettingKey& row, const std::string& path);
void SaveTransvertersRow(const SettingKey& row, const std::string& path);

// Window places: the text read from "LOCATION", written back as "%04d %04d".
std::string NormalisePlace(const char* text);
// Where a window opens while its section holds no place.
plat::Point DefaultWindowPlace(const char* section);
void SaveWindowPlace(const SettingKey& row, const std::string& path);
void SaveAlwaysTrue(const SettingKey& row, const std::string& path);
void SaveCwPlace(const SettingKey& row, const std::string& path);
void SaveCwPopoutPlace(const SettingKey& row, const std::string& path);
void SaveScaleEdits(const SettingKey& row, const std::string& path);

void LoadBandRows(const SettingKey& row, const std::string& path);
void SaveBandRows(const SettingKey& row, const std::string& path);
void LoadSurfaceKeys(const SettingKey& row, const std::string& path);
void SaveSurfaceKeys(const SettingKey& row, const std::string& path);

void SaveLp100Port(const SettingKey& row, const std::string& path);
void SavePowerMasterPort(const SettingKey& row, const std::string& path);
void SaveLp100Flag(const SettingKey& row, const std::string& path);

void LoadRadioTypeSel(const SettingKey& row, const std::string& path);
void SaveRadioTypeSel(const SettingKey& row, const std::string& path);
void SaveEffectiveRadioType(const SettingKey& row, const std::string& path);

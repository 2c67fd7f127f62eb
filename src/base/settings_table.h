// The settings catalogue as data: one row per key, in the order in which
// saveoper writes them. LoadSettings..LoadSettings4 read the rows whose
// `reader` is 1..4, in table order. Adding a key is one row.
#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

enum class SettingKind : std::uint8_t {
    Int,     // int, written with fmt ("%d")
    Long,    // long (baud rates), "%ld"
    Double,  // double, fmt ("%09.6f", "%f", "%01.2f", "%2.3f")
    Text,    // char array of `size`, written as is (or through fmt such as "(%s)")
    Bool,    // int 0/1 read by comparing with "TRUE", written "TRUE"/"FALSE"
    Colour,  // colour value, read and written by its name
    Char,    // int holding one character (AGC mode letters), "%c"
    Custom,  // load and save hooks do the work
};

enum SettingFlags : std::uint8_t {
    kNotWritten = 1,  // read, never saved: the file keeps what the operator wrote
    kNotRead = 2,     // saved, never read back
    kAtRule = 4,      // blanks saved as '@' and read back as blanks
    kPortName = 8,    // a device port: written "NONE" while the device is off
    kEmptyKeeps = 16, // an empty value keeps the variable's built-in text
    kHookReads = 32,  // the load hook reads the key itself: no standard read first
};

struct SettingKey;
using SettingHook = void (*)(const SettingKey& row, const std::string& path);
using SettingCondition = bool (*)();

struct SettingKey {
    const char* section;
    const char* key;
    const char* def;             // default text; nullptr means the variable's current value
    SettingKind kind;
    const char* fmt;             // write format; nullptr: text as is
    int* i = nullptr;            // Int, Bool
    long* l = nullptr;           // Long
    double* d = nullptr;         // Double
    char* s = nullptr;           // Text (capacity `size`)
    std::uint32_t* c = nullptr;  // Colour (0x00BBGGRR)
    std::uint16_t size = 40;     // read buffer; also the Text capacity
    std::uint8_t reader = 1;     // 1..4: which of LoadSettings..LoadSettings4 reads it
    std::uint8_t flags = 0;
    SettingCondition writeIf = nullptr;  // written only when this says so
    SettingHook load = nullptr;          // Custom, or runs after the standard read
    SettingHook save = nullptr;          // Custom: writes the key(s) itself
};

// The whole catalogue, in save order.
std::span<const SettingKey> SettingsCatalogue();

// Formats the row's current value as saveoper writes it.
std::string FormatSetting(const SettingKey& row);
// Reads one row from the file into its variable (standard kinds).
void LoadSettingRow(const SettingKey& row, const std::string& path);
// Writes one row through WriteIniKey (standard kinds, or its save hook).
void SaveSettingRow(const SettingKey& row, const std::string& path);

// A decorated text format such as "(%s)" read back: strips the decoration
// when the text carries it, so that saving twice never grows the value.
std::string StripDecoration(const char* fmt, const std::string& text);
// True when a device port text means "no port" ("", "0", "COM0", "NONE").
bool PortIsOff(const char* port);

// The settings store: every option lives in a program-wide variable that is
// loaded from "qarv.ini" at start-up and written back at close through
// WriteIniKey, which skips a key whose value equals the file's text as it
// was read at start-up.
#pragma once
#include <string>
#include <vector>

// Working directory recorded at start-up; the settings file lives there.
extern std::string g_cwd;

// "<dir>/qarv.ini" (a single separator, also for the root directory).
std::string SettingsPathFor(const std::string& dir);
// The settings file of the recorded working directory.
std::string SettingsPath();

// Reads one key as text with a default; the value is cut to size-1 characters.
std::string ReadIniText(const char* section, const char* key, const char* def, const std::string& path,
                        int size = 40);
// The same, whole however long the stored value is.
std::string ReadIniTextWhole(const char* section, const char* key, const char* def, const std::string& path);
int ReadIniInt(const char* section, const char* key, const char* def, const std::string& path, int size = 40);

// The start-up cache of the settings file (first 32000 bytes, CR LF read as LF).
void LoadIniText(const std::string& path);
int IniLineLength(int pos);
int IniCacheLength();
void ClearIniCache();

void WriteIniKey(const char* section, const char* key, const char* value, const std::string& path);

// [OPERATING STATUS] "MEMORY CRASH" straight into the settings file.
void SetMemoryCrashFlag(int n);

void SpacesToAt(char* text);
void AtToSpaces(char* text);

// A file the program failed to save this run, and why; the close reports
// them and ends with a failure status. `savedAs`, when not empty, is where
// the data went instead (the file's folder was moved while the program ran).
struct SaveFailure {
    std::string file;
    std::string reason;
    std::string savedAs;
};
void NoteSaveFailure(const std::string& file, const std::string& reason, const std::string& savedAs = {});
const std::vector<SaveFailure>& SaveFailures();

// Tells the operator, once a run for each file, that a file of the program
// is a FIFO, a device, a socket or a folder (`what`), which the program
// neither reads nor replaces: the file routines' reporter.
void TellNotRegularFile(const std::string& path, const std::string& what);

#include "base/settings_store.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/settings_table.h"
#include "base/trace_log.h"
#include "platform/files.h"
#include "platform/profile.h"

std::string g_cwd;

namespace {
// The file as read at start-up: CR LF read as LF, at most 32000 bytes. Names
// are compared without case; values byte for byte, so a change of letter case
// alone (a call sign, a file name) is still saved.
constexpr int kCacheMax = 32000;
std::string g_cache;
// True when the file went on past the cache: its last value may be cut short.
bool g_cachecut = false;

char Up(char c) { return char(std::toupper(static_cast<unsigned char>(c))); }

bool StartsWithNoCase(const std::string& text, std::size_t pos, const std::string& word) {
    if (pos + word.size() > text.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i)
        if (Up(text[pos + i]) != Up(word[i])) return false;
    return true;
}

// True when the cache holds `value` for (section, key).
bool CacheHolds(const std::string& section, const std::string& key, const std::string& value) {
    const int len = int(g_cache.size());
    int pos = 0;
    bool inSection = false;
    while (pos < len) {
        int lineLen = IniLineLength(pos);
        if (g_cache[std::size_t(pos)] == '[') {
            if (inSection) return false;  // the key is not in its section
            // The whole name must match: "[CW WINDOW" is not "[CW WINDOW POPOUT]".
            inSection = StartsWithNoCase(g_cache, std::size_t(pos) + 1, section) &&
                        std::size_t(pos) + 1 + section.size() < g_cache.size() &&
                        g_cache[std::size_t(pos) + 1 + section.size()] == ']';
        } else if (inSection && StartsWithNoCase(g_cache, std::size_t(pos), key) &&
                   std::size_t(pos) + key.size() < g_cache.size() &&
                   g_cache[std::size_t(pos) + key.size()] == '=') {
            std::size_t v = std::size_t(pos) + key.size() + 1;
            while (v < g_cache.size() && g_cache[v] == ' ') ++v;
            if (g_cache.compare(v, value.size(), value) != 0 || v + value.size() > g_cache.size()) return false;
            std::size_t after = v + value.size();
            if (after == g_cache.size()) return !g_cachecut;
            return g_cache[after] == '\n' || g_cache[after] == '\r';
        }
        pos += lineLen;
    }
    return false;
}
}  // namespace

std::string SettingsPathFor(const std::string& dir) {
    if (!dir.empty() && dir.back() == '/') return dir + "qarv.ini";
    return dir + "/qarv.ini";
}

std::string SettingsPath() { return SettingsPathFor(g_cwd.empty() ? plat::GetCurrentDir() : g_cwd); }

std::string ReadIniText(const char* section, const char* key, const char* def, const std::string& path, int size) {
    return plat::ProfileReadString(section, key, def ? def : "", path, std::size_t(size > 0 ? size : 1));
}

std::string ReadIniTextWhole(const char* section, const char* key, const char* def, const std::string& path) {
    return plat::ProfileReadString(section, key, def ? def : "", path, std::size_t(-1));
}

int ReadIniInt(const char* section, const char* key, const char* def, const std::string& path, int size) {
    return std::atoi(ReadIniText(section, key, def, path, size).c_str());
}

void LoadIniText(const std::string& path) {
    g_cache.clear();
    g_cachecut = false;
    auto data = plat::ReadWholeFile(path, 1u << 20);
    if (!data) return;
    g_cache.reserve(kCacheMax);
    std::size_t i = 0;
    for (; i < data->size() && int(g_cache.size()) < kCacheMax; ++i) {
        char c = (*data)[i];
        if (c == '\r' && i + 1 < data->size() && (*data)[i + 1] == '\n') continue;
        g_cache.push_back(c);
    }
    g_cachecut = i < data->size();
}

int IniLineLength(int pos) {
    const int len = int(g_cache.size());
    int n = 0;
    while (pos + n < len && g_cache[std::size_t(pos + n)] != '\n') ++n;
    return n + 1;  // the LF, or one past the end of the cache
}

int IniCacheLength() { return int(g_cache.size()); }
void ClearIniCache() {
    g_cache.clear();
    g_cachecut = false;
}

void WriteIniKey(const char* section, const char* key, const char* value, const std::string& path) {
    std::string v = value ? value : "";
    std::string trimmed = v;
    while (!trimmed.empty() && trimmed.back() == ' ') trimmed.pop_back();
    if (!g_cache.empty() && CacheHolds(section, key, trimmed)) return;
    WriteTracef("writing %s %s %s", section, key, v.c_str());
    // Trailing blanks cannot survive a read (values are trimmed), so they are
    // not written either: the next save then finds the key unchanged.
    plat::ProfileWriteString(section, key, trimmed, path);
}

void SpacesToAt(char* text) {
    for (; *text; ++text)
        if (*text == ' ') *text = '@';
}

void AtToSpaces(char* text) {
    for (; *text; ++text)
        if (*text == '@') *text = ' ';
}

void SetMemoryCrashFlag(int n) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%d", n);
    plat::ProfileWriteString("OPERATING STATUS", "MEMORY CRASH", buf, SettingsPath());
}

namespace {
std::vector<SaveFailure> g_savefailures;
}  // namespace

void NoteSaveFailure(const std::string& file, const std::string& reason) {
    WriteTrace("not saved: " + file + ": " + reason);
    g_savefailures.push_back({file, reason});
}

const std::vector<SaveFailure>& SaveFailures() { return g_savefailures; }

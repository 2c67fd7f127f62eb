#include "base/settings_store.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string_view>

#include "base/settings_table.h"
#include "base/trace_log.h"
#include "platform/files.h"
#include "platform/profile.h"

std::string g_cwd;

namespace {
// The file as read at start-up: at most its first 32000 bytes, a byte-order
// mark dropped and every line end (CR LF, LF or CR) read as LF. Names are
// compared without case; values byte for byte, so a change of letter case
// alone (a call sign, a file name) is still saved.
constexpr int kCacheMax = 32000;
std::string g_cache;
// The same text indexed as the readers index the file, so that the save
// compares with the very line a key's value was read from.
plat::IniDocument g_cachedoc;

bool StartsWithNoCase(std::string_view text, const std::string& word) {
    if (word.size() > text.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(text[i])) != std::toupper(static_cast<unsigned char>(word[i])))
            return false;
    return true;
}

// True when the cache holds `value` for (section, key) on the line the
// reader took the key from. Only a line in the writer's own form counts:
// the key name from its first character and '=' right after it (blanks
// after the '=' are skipped); any other form is written again.
bool CacheHolds(const std::string& section, const std::string& key, const std::string& value) {
    const auto line = g_cachedoc.KeyLine(section, key);
    if (!line || !StartsWithNoCase(*line, key) || line->size() <= key.size() || (*line)[key.size()] != '=')
        return false;
    std::size_t v = key.size() + 1;
    while (v < line->size() && (*line)[v] == ' ') ++v;
    return line->substr(v) == value;
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
    ClearIniCache();
    auto data = plat::ReadWholeFile(path, 1u << 20);
    if (!data) return;
    const std::string& d = *data;
    g_cache.reserve(kCacheMax);
    std::size_t i = d.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    for (; i < d.size() && int(g_cache.size()) < kCacheMax; ++i) {
        char c = d[i];
        if (c == '\r') {
            if (i + 1 < d.size() && d[i + 1] == '\n') ++i;
            c = '\n';
        }
        g_cache.push_back(c);
    }
    // When the file goes on, the cache's last line may be cut short: it is
    // not looked at.
    g_cachedoc.Parse(i < d.size() ? g_cache.substr(0, g_cache.rfind('\n') + 1) : g_cache);
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
    g_cachedoc.Parse(std::string());
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

void NoteSaveFailure(const std::string& file, const std::string& reason, const std::string& savedAs) {
    if (savedAs.empty())
        WriteTrace("not saved: " + file + ": " + reason);
    else
        WriteTrace("saved " + savedAs + " instead of " + file + ": " + reason);
    g_savefailures.push_back({file, reason, savedAs});
}

void TellNotRegularFile(const std::string& path, const std::string& what) {
    static std::set<std::string> told;
    const std::string full = path.empty() || path[0] == '/' ? path : plat::GetCurrentDir() + "/" + path;
    if (!told.insert(full).second) return;
    WriteTrace(full + " is " + what + ", not a regular file: left as it is");
    std::fprintf(stderr, "qarv: %s is %s, not a regular file: qarv neither reads nor replaces it\n", full.c_str(),
                 what.c_str());
    std::fflush(stderr);
}

const std::vector<SaveFailure>& SaveFailures() { return g_savefailures; }

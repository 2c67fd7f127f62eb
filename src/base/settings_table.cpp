#include "base/settings_table.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <strings.h>

#include "base/colour_names.h"
#include "base/settings_store.h"
#include "base/trace_log.h"
#include "platform/serial_port.h"

std::string StripDecoration(const char* fmt, const std::string& text) {
    if (fmt == nullptr) return text;
    const char* hole = std::strstr(fmt, "%s");
    if (hole == nullptr) return text;
    const std::string prefix(fmt, std::size_t(hole - fmt));
    const std::string suffix(hole + 2);
    if (text.size() >= prefix.size() + suffix.size() && text.compare(0, prefix.size(), prefix) == 0 &&
        text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0)
        return text.substr(prefix.size(), text.size() - prefix.size() - suffix.size());
    return text;
}

namespace {
// Rows whose stored value was longer than the variable holds, with the
// value as the variable took it. While the variable keeps that value the
// file keeps its own whole text: a start and close changes nothing.
std::map<const SettingKey*, std::string> g_longvalues;
}  // namespace

bool PortIsOff(const char* port) { return port == nullptr || plat::IsNoPortName(port); }

std::string FormatSetting(const SettingKey& row) {
    char buf[512];
    switch (row.kind) {
    case SettingKind::Int:
        std::snprintf(buf, sizeof buf, row.fmt ? row.fmt : "%d", *row.i);
        return buf;
    case SettingKind::Long:
        std::snprintf(buf, sizeof buf, row.fmt ? row.fmt : "%ld", *row.l);
        return buf;
    case SettingKind::Double:
        std::snprintf(buf, sizeof buf, row.fmt ? row.fmt : "%f", *row.d);
        return buf;
    case SettingKind::Bool: return *row.i ? "TRUE" : "FALSE";
    case SettingKind::Char: return std::string(1, char(*row.i));
    case SettingKind::Colour: {
        const char* name = ColorToName(*row.c);
        return name ? name : "";
    }
    case SettingKind::Text: {
        if ((row.flags & kPortName) && PortIsOff(row.s)) return "NONE";
        std::string text(row.s, strnlen(row.s, row.size));
        if (row.flags & kAtRule)
            for (char& c : text)
                if (c == ' ') c = '@';
        if (row.fmt) {
            std::snprintf(buf, sizeof buf, row.fmt, text.c_str());
            return buf;
        }
        return text;
    }
    case SettingKind::Custom: return std::string();
    }
    return std::string();
}

void LoadSettingRow(const SettingKey& row, const std::string& path) {
    if (!(row.flags & (kNotRead | kHookReads)) && row.key != nullptr && row.kind != SettingKind::Custom) {
        // A row without a default keeps the variable's built-in value when
        // the key is missing.
        std::string def = row.def ? row.def : FormatSetting(row);
        std::string text = ReadIniTextWhole(row.section, row.key, def.c_str(), path);
        const std::size_t room = row.size > 0 ? std::size_t(row.size - 1) : 0;
        const bool cut = text.size() > room;
        if (cut) text.resize(room);
        g_longvalues.erase(&row);
        switch (row.kind) {
        case SettingKind::Int: *row.i = std::atoi(text.c_str()); break;
        case SettingKind::Long: *row.l = std::atol(text.c_str()); break;
        case SettingKind::Double: *row.d = std::atof(text.c_str()); break;
        case SettingKind::Bool: *row.i = strcasecmp(text.c_str(), "TRUE") == 0 ? 1 : 0; break;
        case SettingKind::Char:
            // An empty value would save as nothing at all: keep the default letter.
            *row.i = static_cast<unsigned char>(text.empty() ? def[0] : text[0]);
            break;
        case SettingKind::Colour: *row.c = NameToColor(text.c_str()); break;
        case SettingKind::Text: {
            if ((row.flags & kEmptyKeeps) && text.empty()) break;
            text = StripDecoration(row.fmt, text);
            std::size_t n = std::min<std::size_t>(text.size(), row.size - 1);
            std::memcpy(row.s, text.data(), n);
            row.s[n] = '\0';
            if (row.flags & kAtRule) AtToSpaces(row.s);
            break;
        }
        case SettingKind::Custom: break;
        }
        if (cut) {
            WriteTracef("%s %s is longer than %d characters: the file keeps it whole", row.section, row.key,
                        int(room));
            g_longvalues[&row] = FormatSetting(row);
        }
    }
    if (row.load) row.load(row, path);
}

void SaveSettingRow(const SettingKey& row, const std::string& path) {
    if (row.flags & kNotWritten) return;
    if (row.writeIf && !row.writeIf()) return;
    if (row.save) {
        row.save(row, path);
        return;
    }
    if (row.kind == SettingKind::Custom || row.key == nullptr) return;
    if (row.kind == SettingKind::Colour && ColorToName(*row.c) == nullptr) {
        // A mixed colour changed after it was chosen has no name: keep the file's.
        WriteTracef("no colour name for %s %06X", row.key, unsigned(*row.c));
        return;
    }
    const std::string value = FormatSetting(row);
    auto kept = g_longvalues.find(&row);
    if (kept != g_longvalues.end() && kept->second == value) return;
    WriteIniKey(row.section, row.key, value.c_str(), path);
}

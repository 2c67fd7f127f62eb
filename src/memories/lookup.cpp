#include "memories/lookup.h"

#include <cstdio>
#include <cstring>

#include "base/memory_options.h"
#include "base/settings_options.h"
#include "base/settings_store.h"
#include "base/trace_log.h"
#include "platform/library.h"
#include "platform/message_box.h"
#include "platform/types.h"

int g_hamcallloaded = 0;
CLookupCallWnd* g_lookupwnd = nullptr;

namespace {
plat::LibraryHandle g_hamcallhandle = nullptr;
LookupCallSignFn g_lookupcallsign = nullptr;
// The record buffer; the library is told one byte less, for the terminator.
constexpr int kRecordSize = 2048;

struct TagField {
    unsigned char tag;
    int slot;
};
enum Slot { kClass, kStatus, kFirst, kMiddle, kLast, kStreet, kCity, kState, kZip, kSlots };
constexpr TagField kTags[] = {{0xB6, kClass}, {0xB7, kStatus}, {0xB8, kFirst},  {0xB9, kMiddle}, {0xBA, kLast},
                              {0xBC, kStreet}, {0xBF, kCity},   {0xC0, kState}, {0xC1, kZip}};
struct Letter {
    char letter;
    const char* text;
};
constexpr Letter kClasses[] = {{'E', "- Extra Class"},      {'A', "- Advanced Class"},   {'G', "- General Class"},
                               {'P', "- Tech. Plus Class"}, {'T', "- Technician Class"}, {'N', "- Novice Class"}};
constexpr Letter kStatusLines[] = {{'-', "No Longer In Database"}, {'C', "Club Call"}, {'D', "FCC Deletion"},
                                   {'L', "Requested Deletion"},    {'Q', "Silent Key"}};

bool FieldChar(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '+' || c == '-' ||
           c == '.' || c == ' ';
}

std::string Line(const char* fmt, const std::string& a, const std::string& b = "", const std::string& c = "") {
    char buf[512];
    std::snprintf(buf, sizeof buf, fmt, a.c_str(), b.c_str(), c.c_str());
    return buf;
}
}  // namespace

std::string HamCallPath(const std::string& field) {
    if (field.find('/') != std::string::npos || field.find('\\') != std::string::npos) return field;
    return field + "/ham0/";
}

std::vector<std::string> ParseHamCallRecord(const std::string& record) {
    std::size_t i = 0;
    std::string call;
    while (i < record.size() && ((record[i] >= '0' && record[i] <= '9') || (record[i] >= 'A' && record[i] <= 'Z') ||
                                 (record[i] >= 'a' && record[i] <= 'z') || record[i] == ' '))
        call += record[i++];
    while (!call.empty() && call.back() == ' ') call.pop_back();
    std::string f[kSlots];
    while (i < record.size()) {
        const unsigned char tag = static_cast<unsigned char>(record[i++]);
        int slot = -1;
        for (const TagField& t : kTags)
            if (t.tag == tag) slot = t.slot;
        std::string value;
        while (i < record.size() && FieldChar(record[i])) value += record[i++];
        if (slot >= 0) f[slot] = value;
    }
    std::vector<std::string> lines;
    if (f[kStatus].find('X') != std::string::npos) {
        lines.push_back(Line("%s %s", call, f[kLast]));
        return lines;
    }
    for (char c : f[kStatus])
        for (const Letter& l : kStatusLines)
            if (l.letter == c) lines.push_back(l.text);
    std::string cls;
    for (const Letter& l : kClasses)
        if (!f[kClass].empty() && l.letter == f[kClass][0]) cls = l.text;
    lines.push_back(Line("%s %s", call, cls));
    lines.push_back(Line("%s %s %s", f[kFirst], f[kMiddle], f[kLast]));
    lines.push_back(Line("%s", f[kStreet]));
    lines.push_back(Line("%s, %s  %s", f[kCity], f[kState], f[kZip]));
    return lines;
}

std::string LookupErrorText(int result) {
    switch (result) {
    case -1: return "Callsign Not Found!";
    case -2: return "Database Not Found!";
    case -3: return "Database Index Error!";
    case -4: return "Database Memory Error!";
    default: return "Database Error!";
    }
}

void LoadHamCallLibrary() {
    FreeHamCallLibrary();
    std::string path = g_hamcalllibrary;
    if (path.empty()) return;
    if (path[0] != '/') path = (g_cwd.empty() ? std::string(".") : g_cwd) + "/" + path;
    std::string error;
    g_hamcallhandle = plat::LoadLibrary(path, &error);
    WriteTracef("load library  %08lx", static_cast<unsigned long>(reinterpret_cast<std::uintptr_t>(g_hamcallhandle)));
    if (!g_hamcallhandle) return;
    g_lookupcallsign = reinterpret_cast<LookupCallSignFn>(plat::GetProcAddress(g_hamcallhandle, "LookupCallSign"));
    if (!g_lookupcallsign) {
        WriteTrace("LookupCallSign not found in " + path);
        FreeHamCallLibrary();
        return;
    }
    g_hamcallloaded = 1;
}

void FreeHamCallLibrary() {
    plat::FreeLibrary(g_hamcallhandle);
    g_hamcallhandle = nullptr;
    g_lookupcallsign = nullptr;
    g_hamcallloaded = 0;
}

void RunCallLookup() {
    if (!g_hamcallloaded || !g_lookupcallsign || !g_lookupwnd) return;
    CLookupCallWnd& w = *g_lookupwnd;
    const std::string path = HamCallPath(g_hamcall);
    const std::string call = w.call.GetText();
    w.call.SetText("");
    char buffer[kRecordSize] = {};
    const int n = g_lookupcallsign(path.c_str(), call.c_str(), kRecordSize - 1, buffer);
    w.result.SetText("");
    if (n >= 0) {
        // The library's length is trusted no further than the buffer.
        const std::string record(buffer, std::size_t(n < kRecordSize - 1 ? n : kRecordSize - 1));
        std::string text;
        for (const std::string& line : ParseHamCallRecord(record.c_str())) text += line + "\r\n";
        w.result.SetText(text);
    } else {
        w.result.SetText(call + "\r\n" + LookupErrorText(n) + "\r\n");
    }
    w.find.EnableWindow(false);
    w.call.SetFocus();
}

void CLookupCallWnd::Build() {
    constexpr int c = kCaptionHeight;
    label.CreateControl("Call Sign", {8, c + 8, 70, c + 26}, this, -1);
    call.CreateControl("", {74, c + 6, 200, c + 28}, this, IDC_LOOKUP_CALL);
    find.CreateControl("Find", {206, c + 6, 260, c + 28}, this, IDC_LOOKUP_FIND);
    close.CreateControl("Close", {266, c + 6, 320, c + 28}, this, IDC_LOOKUP_CLOSE);
    result.CreateControl("", {8, c + 34, 320, c + 150}, this, IDC_LOOKUP_RESULT);
    result.SetReadOnly(true);
    find.EnableWindow(false);
}

void CLookupCallWnd::OnPaint(plat::PaintContext& pc) {
    const plat::Rect r = GetClientRect();
    pc.FillRect(r, plat::GetSysColour(plat::COLOR_BTNFACE));
    pc.FillRect({0, 0, r.right, kCaptionHeight}, plat::RGB(0x00, 0x00, 0x80));
    pc.SetTextColour(plat::RGB(0xFF, 0xFF, 0xFF));
    pc.TextOut(4, 2, GetWindowText());
}

bool CLookupCallWnd::OnCommand(unsigned id, unsigned code, plat::LPARAM) {
    switch (id) {
    case IDC_LOOKUP_CALL:
        if (code == plat::EN_CHANGE) find.EnableWindow(!call.GetText().empty());
        // Return in the edit looks the call up, as Find does.
        if (code == plat::EN_KILLFOCUS && !call.GetText().empty() && GetParent())
            GetParent()->SendMessage(plat::WM_COMMAND, ID_RUN_CALL_LOOKUP);
        return true;
    case IDC_LOOKUP_FIND:
        if (GetParent()) GetParent()->SendMessage(plat::WM_COMMAND, ID_RUN_CALL_LOOKUP);
        return true;
    case IDC_LOOKUP_CLOSE: ShowWindow(plat::SW_HIDE); return true;
    default: return false;
    }
}

void CLookupCallWnd::OnChar(unsigned ch) {
    if (ch == 13) {
        if (!call.GetText().empty() && GetParent()) GetParent()->SendMessage(plat::WM_COMMAND, ID_RUN_CALL_LOOKUP);
        return;
    }
    plat::MessageBox(this, "Press Return to look the call sign up", "Call Lookup", plat::MB_OK);
}

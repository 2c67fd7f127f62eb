#include "memories/radio_memories.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "base/memory_options.h"
#include "base/shell_ops.h"
#include "base/trace_log.h"
#include "civ/band_table.h"
#include "civ/civ_frame.h"
#include "civ/civ_options.h"
#include "civ/civ_setters.h"
#include "civ/civ_timers.h"
#include "civ/frequency_options.h"
#include "civ/frequency_state.h"
#include "civ/radio_init.h"
#include "civ/radio_models.h"
#include "civ/radio_port.h"
#include "civ/reply_processing.h"
#include "civ/setter_frames.h"
#include "devices/remote_link.h"
#include "memories/station_cdf.h"
#include "memories/station_hooks.h"
#include "memories/stations.h"
#include "panel/swl_panel.h"
#include "platform/files.h"
#include "platform/profile.h"

int g_memtransfer = 0;
int g_radiomemcount = 101;
int g_memstate = 0;
int g_memchannels = 100;
int g_curbank = 1;

namespace {
constexpr int kLongLine = 191;       // a restore line this long ends the restore
constexpr double kSameFrequency = 0.000003;
constexpr std::uint8_t kBlank = 0xFF;
constexpr std::uint8_t kSplitFlag = 0x10;
// The contents reply as the reply store keeps it: from the command byte on.
constexpr int kContentsLength = 50;  // 54-byte frame less FE FE to from
constexpr int kFlagsAt = 5, kTxAt = 23, kNameAt = 40, kEndAt = 49;
constexpr unsigned kStartMs = 200;

enum State { kSaveNext = 1, kSaveAsk = 2, kRestoreLine = 5, kRestoreStore = 6, kEnd = 7, kRestoreName = 8 };

struct Transfer {
    bool open = false;
    bool saving = false;
    std::string target;     // the file the operator chose
    // A save collects its lines here and replaces the target at its end; a
    // restore reads the file's text from `at` on.
    std::string text;
    std::size_t at = 0;
    int lines = 0;          // memory lines written
    std::string line;       // the line being assembled
    bool lineWritten = false;
    std::string name;       // at most 9 characters
    std::string split;      // transmit frequency text of a split memory
    int skip = 0;
    double lastFreq = 0;
    int clear = 0;
    bool ended = false;     // the run reached its end (not aborted)
    int lineNo = 0;         // restore: the line last read (1 = the first)
    std::vector<int> skipped;  // restore: lines left out, told at the end
    int stoppedAt = 0;         // restore: the too-long line that ended it
};
Transfer g_xfer;

bool Banked() { return ModelCap(g_hasmembanks) != 0; }
char BankLetter(int bank) { return char('A' + bank - 1); }

void Arm(unsigned ms) { SetCivTimer(TIMER_MEM_TRANSFER, ms); }

void SendBankSelect(int bank) { SendCiv({0x08, 0xA0, std::uint8_t(bank)}); }

void SendChannelSelect(int channel) {
    std::uint8_t bcd[2];
    ChannelBcd(channel, bcd);
    SendCiv({0x08, bcd[0], bcd[1]});
}

void SendContentsRequest(int bank, int channel, bool clear) {
    std::uint8_t bcd[2];
    ChannelBcd(channel, bcd);
    if (clear)
        SendCiv({0x1A, 0x00, std::uint8_t(bank), bcd[0], bcd[1], kBlank});
    else
        SendCiv({0x1A, 0x00, std::uint8_t(bank), bcd[0], bcd[1]});
}

// Lines end with CR LF, as the files other stations keep have them.
void WriteLine(const std::string& text) {
    if (!g_xfer.open) return;
    g_xfer.text += text;
    g_xfer.text += "\r\n";
}

std::string StoreCaption(int channel) {
    char buf[16];
    if (Banked())
        std::snprintf(buf, sizeof buf, "%c%02d", BankLetter(g_curbank), channel);
    else
        std::snprintf(buf, sizeof buf, "%d", channel);
    return buf;
}

void ShowStore(const std::string& caption) {
    if (g_swlpanel) g_swlpanel->ShowStoreCaption(caption);
}

int ChannelLimit() { return ModelCap(g_memorychannels); }

bool Begin(const std::string& path, bool saving) {
    if (g_perseus) return false;
    if (g_xfer.open) {
        // A new start replaces a running transfer.
        g_xfer.ended = false;
        CloseMemoryTransferFile();
    }
    Transfer x;
    x.saving = saving;
    x.target = path;
    if (!saving) {
        auto text = plat::ReadWholeFile(path);
        x.open = text.has_value();
        if (text) x.text = std::move(*text);
    } else {
        // The file stays as it is until the whole run is in: a link stays a
        // link, and anything but a regular file is refused then.
        x.open = true;
    }
    if (!x.open) {
        WriteTracef("memory transfer: cannot open %s", path.c_str());
        ShowPopupText("Cannot open " + path);
        return false;
    }
    g_xfer = x;
    if (!g_muted) ToggleMute();
    g_memchannels = ChannelLimit();
    g_memtransfer = 1;
    if (Banked()) g_curbank = g_membank >= 1 && g_membank <= 5 ? g_membank : 1;
    return true;
}

// ---- Save --------------------------------------------------------------------

void SaveNextChannel() {
    // A save starts at -1 (0 means no transfer); its first step is channel 1.
    g_savemem = g_savemem < 1 ? 1 : g_savemem + 1;
    if (Banked() && g_savemem >= g_memchannels && g_membank == 0) {
        ++g_curbank;
        if (g_curbank < 6) {
            g_savemem = 1;
            SendBankSelect(g_curbank);
            WriteLine(std::string("Bank ") + BankLetter(g_curbank));
        }
    }
    if (g_savemem >= g_memchannels) {
        g_memstate = kEnd;
        Arm(200);
        return;
    }
    g_xfer.skip = 1;
    g_xfer.line.clear();
    g_xfer.lineWritten = false;
    SendChannelSelect(g_savemem);
    SendCiv({0x0A});
    g_memstate = kSaveAsk;
    Arm(100);
}

void AskChannel() {
    g_xfer.name.clear();
    WriteTrace("clear name");
    if (Banked()) SendContentsRequest(g_curbank, g_savemem, false);
    SendCiv({0x03});
    SendCiv({0x04});
    g_memstate = kSaveNext;
    Arm(400);
}

// Ends the channel's line and writes it; a channel is written once, however
// many mode or width replies arrive for it.
void FinishLine(const std::string& tail) {
    if (!g_xfer.saving || g_xfer.skip || g_xfer.lineWritten || g_xfer.line.empty()) return;
    g_xfer.line += tail;
    WriteTrace("fwrite");
    WriteLine(g_xfer.line);
    g_xfer.lineWritten = true;
    ++g_xfer.lines;
    ShowStore(StoreCaption(g_savemem));
}

// ---- Restore ------------------------------------------------------------------

// Reads one line up to CR or LF; false at the end of the file. `tooLong`
// when it reached the limit without a line end.
bool ReadLine(std::string& line, bool& tooLong) {
    line.clear();
    tooLong = false;
    const std::string& t = g_xfer.text;
    bool any = false;
    while (g_xfer.at < t.size()) {
        const char c = t[g_xfer.at++];
        if (!any) ++g_xfer.lineNo;
        any = true;
        if (c == '\r') {
            if (g_xfer.at < t.size() && t[g_xfer.at] == '\n') ++g_xfer.at;
            return true;
        }
        if (c == '\n') return true;
        line += char(c);
        if (int(line.size()) >= kLongLine) {
            tooLong = true;
            return true;
        }
    }
    return any;
}

std::string Field(const std::vector<std::string>& f, std::size_t i) { return i < f.size() ? f[i] : std::string(); }

bool Covered(const std::string& text, double& mhz) {
    char* end = nullptr;
    mhz = std::strtod(text.c_str(), &end);
    return end != text.c_str() && mhz > 0 && CheckCoverage(mhz) == 0;
}

void RestoreMemoryLine(const std::string& line) {
    const std::vector<std::string> f = SplitCdfFields(line);
    g_xfer.name.clear();
    const std::string first = Field(f, 0);
    if (first.compare(0, 6, "Memory") == 0 && first.size() >= 10) {
        const int n = std::atoi(first.c_str() + 6);
        if (n >= 1 && n <= g_memchannels) g_savemem = n;
    } else if (Banked()) {
        g_xfer.name = first.substr(0, 9);
    }
    double mhz = 0;
    if (!Covered(Field(f, 1), mhz)) {
        // An empty or foreign frequency would send the radio to 0 Hz or off
        // its range: the line is left out.
        WriteTracef("skip memory line, frequency not covered: %s", line.c_str());
        g_xfer.skipped.push_back(g_xfer.lineNo);
        Arm(1);
        return;
    }
    const char mode = MemoryModeChar(Field(f, 2));
    int filter = std::atoi(Field(f, 3).c_str());
    if (filter < 1 || filter > 3) filter = 2;
    std::size_t next = 4;
    g_xfer.split.clear();
    if (Banked()) {
        if (g_xfer.name.empty()) {
            g_xfer.name = Field(f, next++).substr(0, 9);
            WriteTrace("copy name");
            WriteTrace(g_xfer.name);
        }
        const std::string tx = Field(f, next);
        if (!tx.empty()) {
            double txMhz = 0;
            if (!Covered(tx, txMhz)) {
                WriteTracef("skip memory line, transmit frequency not covered: %s", line.c_str());
                g_xfer.skipped.push_back(g_xfer.lineNo);
                Arm(1);
                return;
            }
            g_xfer.split = tx.substr(0, 19);
            WriteTrace("copy vfob");
            WriteTrace(g_xfer.split);
        }
    }
    SetRadioMode(mode, filter);
    SetCommonFrequencies(0, mhz, 'A');
    g_memstate = kRestoreStore;
    Arm(200);
}

void RestoreNextLine() {
    WriteTrace("Line");
    std::string line;
    bool tooLong = false;
    if (!ReadLine(line, tooLong) || tooLong) {
        if (tooLong) {
            WriteTrace("memory line too long, restore ends");
            g_xfer.stoppedAt = g_xfer.lineNo;
        }
        g_memstate = kEnd;
        Arm(1000);
        return;
    }
    if (line.empty()) {
        Arm(1);
        return;
    }
    g_xfer.clear = 0;
    WriteTrace("mybuffer");
    WriteTrace(line);
    if (line.compare(0, 4, "Bank") == 0) {
        if (Banked() && line.size() > 5 && line[5] >= 'A' && line[5] <= 'E') {
            g_savemem = 1;
            g_curbank = line[5] - 'A' + 1;
            SendBankSelect(g_curbank);
        }
        Arm(1);
        return;
    }
    if (Banked() && line.compare(0, 5, "Clear") == 0) {
        SendContentsRequest(g_curbank, g_savemem, true);
        g_xfer.clear = 1;
        g_memstate = kRestoreStore;
        Arm(200);
        return;
    }
    RestoreMemoryLine(line);
}

void StoreLine() {
    if (Banked() && g_savemem >= g_memchannels && g_membank == 0) {
        ++g_curbank;
        if (g_curbank < 6) {
            g_savemem = 1;
            SendBankSelect(g_curbank);
        }
    }
    if (g_savemem >= g_memchannels) {
        g_memstate = kEnd;
        Arm(200);
        return;
    }
    if (!g_xfer.clear) {
        SendChannelSelect(g_savemem);
        SendCiv({0x09});
    }
    ShowStore(StoreCaption(g_savemem));
    if (Banked() && !g_xfer.clear) {
        SendContentsRequest(g_curbank, g_savemem, false);
        WriteTrace("memstate 8");
        g_memstate = kRestoreName;
        Arm(1000);
        return;
    }
    g_memstate = kRestoreLine;
    Arm(200);
    ++g_savemem;
}

void EndTransfer() {
    g_xfer.ended = true;
    const bool restoring = !g_xfer.saving;
    const std::vector<int> skipped = std::move(g_xfer.skipped);
    const int stoppedAt = g_xfer.stoppedAt;
    g_xfer.skipped.clear();
    g_xfer.stoppedAt = 0;
    CloseMemoryTransferFile();
    g_savemem = 0;
    InitRadio();
    if (restoring) ReportSkippedLines("Restore Qarv Memories", skipped, stoppedAt);
}

// A contents reply belongs to the channel asked for only when it is whole
// and names that bank and channel.
bool ContentsFor(const std::uint8_t* r, int length, int bank, int channel) {
    if (length != kContentsLength || r[0] != 0x1A || r[1] != 0x00 || r[kEndAt] != kCivEnd) return false;
    std::uint8_t bcd[2];
    ChannelBcd(channel, bcd);
    return r[2] == bank && r[3] == bcd[0] && r[4] == bcd[1];
}

double BcdMhz(const std::uint8_t* five) {
    long long hz = 0;
    for (int i = 4; i >= 0; --i) hz = hz * 100 + (five[i] >> 4) * 10 + (five[i] & 0x0F);
    return double(hz) / 1e6;
}

void WriteNameBack(const std::uint8_t* r) {
    std::uint8_t frame[4 + kContentsLength];
    BuildCivHeader(frame);
    std::memcpy(frame + 4, r, kContentsLength);
    std::uint8_t* body = frame + 4;
    std::string name = g_xfer.name.substr(0, 9);
    name.resize(9, ' ');
    std::memcpy(body + kNameAt, name.data(), 9);
    body[kFlagsAt] = 0x00;
    if (!g_xfer.split.empty()) {
        char text[32];
        std::snprintf(text, sizeof text, "%010.6f", std::atof(g_xfer.split.c_str()));
        auto digit = [&](int i) { return std::uint8_t(text[i] - '0'); };
        body[kFlagsAt] = kSplitFlag;
        body[kTxAt + 0] = std::uint8_t(digit(8) << 4 | digit(9));
        body[kTxAt + 1] = std::uint8_t(digit(6) << 4 | digit(7));
        body[kTxAt + 2] = std::uint8_t(digit(4) << 4 | digit(5));
        body[kTxAt + 3] = std::uint8_t(digit(1) << 4 | digit(2));
        body[kTxAt + 4] = digit(0);
    }
    sendtoradio(frame, int(sizeof frame));
    WriteTrace("write name back");
}
}  // namespace

// ---- Pure helpers -----------------------------------------------------------------

const char* MemoryModeWord(int civMode) {
    switch (civMode) {
        case 0x00: return "LSB";
        case 0x01: return "USB";
        case 0x02: return "AM";
        case 0x03: return "CW";
        case 0x04: return "RTTY";
        case 0x05: return "FM";
        case 0x06: return "WFM";  // the radios that have it; restored as WFM, not AM
        case 0x07: return "CWR";
        case 0x08: return "RTTYR";
        case 0x12: return "PSK";
        case 0x13: return "PSKR";
        case 0x17: return "DV";
        default: return "";
    }
}

char MemoryModeChar(const std::string& word) {
    struct Pair {
        const char* word;
        char mode;
    };
    static constexpr Pair kModes[] = {{"AM", '4'},    {"USB", '0'},   {"LSB", '1'},  {"CW", '3'},
                                      {"CWR", '2'},   {"FM", '5'},    {"DV", 0x17},  {"RTTY", '7'},
                                      {"RTTYR", '8'}, {"PSK", '9'},   {"PSKR", ':'},  {"WFM", '<'}};
    for (const Pair& p : kModes)
        if (word == p.word) return p.mode;
    return '4';
}

void ChannelBcd(int channel, std::uint8_t* two) {
    if (channel < 0) channel = 0;
    if (channel > 9999) channel = 9999;
    two[0] = std::uint8_t((channel / 1000) << 4 | (channel / 100) % 10);
    two[1] = std::uint8_t(((channel / 10) % 10) << 4 | channel % 10);
}

// ---- The transfer ------------------------------------------------------------------

void SaveRadioMemories(int mode, const std::string& typed) {
    if (g_perseus) return;
    std::string path;
    if (PickFileName(mode, false, "cdf", kCdfFilter, typed, path, kOpSaveRadio)) StartRadioMemorySave(path);
}

void RestoreRadioMemories(int mode, const std::string& typed) {
    if (g_perseus) return;
    std::string path;
    if (PickFileName(mode, true, "cdf", kCdfFilter, typed, path, kOpRestoreRadio)) StartRadioMemoryRestore(path);
}

bool StartRadioMemorySave(const std::string& path) {
    if (!Begin(path, true)) return false;
    g_savemem = -1;
    g_xfer.lastFreq = g_vfoafreq;
    g_memstate = kSaveNext;
    if (Banked()) {
        SendBankSelect(g_curbank);
        WriteLine(std::string("Bank ") + BankLetter(g_curbank));
    }
    Arm(kStartMs);
    return true;
}

bool StartRadioMemoryRestore(const std::string& path) {
    if (!Begin(path, false)) return false;
    g_savemem = 1;
    g_memstate = kRestoreLine;
    if (Banked()) SendBankSelect(g_curbank);
    Arm(kStartMs);
    return true;
}

void RadioMemoryStep() {
    KillCivTimer(TIMER_MEM_TRANSFER);
    if (g_client || g_savemem == 0) return;
    switch (g_memstate) {
        case kSaveNext: SaveNextChannel(); break;
        case kSaveAsk: AskChannel(); break;
        case kRestoreLine: RestoreNextLine(); break;
        case kRestoreStore: StoreLine(); break;
        case kRestoreName:
            // No contents reply: the channel keeps what VFO to memory stored.
            ++g_savemem;
            g_memstate = kRestoreLine;
            Arm(1);
            break;
        case kEnd: EndTransfer(); break;
        default: break;
    }
}

void CloseMemoryTransferFile() {
    KillCivTimer(TIMER_MEM_TRANSFER);
    if (g_xfer.open) {
        g_xfer.open = false;
        if (g_xfer.saving) {
            // The backup is replaced only by a complete run that read
            // memories; otherwise the old file stays as it was.
            const bool complete = g_xfer.ended && g_xfer.lines > 0;
            const bool failed = complete && !plat::WriteFileAtomic(g_xfer.target, g_xfer.text);
            if (complete && !failed) {
                WriteTracef("saved %d radio memories to %s", g_xfer.lines, g_xfer.target.c_str());
                ShowPopupText("Saved " + std::to_string(g_xfer.lines) + " radio memories");
            } else {
                const char* why = !g_xfer.ended ? "stopped" : failed ? "could not be written"
                                                                     : "read no memories from the radio";
                WriteTracef("radio memory save %s, %s unchanged", why, g_xfer.target.c_str());
                ShowPopupText(std::string("Memory save ") + why + "; " + g_xfer.target + " unchanged");
            }
        } else {
            WriteTracef("radio memory restore %s", g_xfer.ended ? "done" : "stopped");
        }
        g_xfer.text.clear();
        g_xfer.at = 0;
    }
    g_memtransfer = 0;
    g_memstate = 0;
    g_xfer.ended = false;
    // The radio was left on the last channel's frequency: the program's
    // frequencies go out again, however the transfer ended.
    g_resendfreqs = 1;
    ShowStore("Store");
}

void RecallRadioMemory(int channel) {
    WriteTrace("Recall Qarv Memory");
    SendChannelSelect(channel);
    SendCiv({0x0A});
    // The requests queue behind the recall, so the radio answers with the
    // recalled channel; the replies update the panel.
    g_recallwait = 2;
    PollFreqMode();
}

// ---- Replies during a transfer -------------------------------------------------

bool MemorySaveFrequency(double mhz) {
    if (!g_xfer.saving) return true;
    if (CheckCoverage(mhz) != 0) return false;
    WriteTrace("savemem");
    g_xfer.skip = 0;
    if (std::fabs(mhz - g_xfer.lastFreq) < kSameFrequency) {
        // A blank channel leaves the VFO where it was.
        g_xfer.skip = 1;
        return true;
    }
    char buf[64];
    std::snprintf(buf, sizeof buf, "Memory %03d,%9.6f", g_savemem, mhz);
    g_xfer.line = buf;
    g_xfer.lineWritten = false;
    g_xfer.lastFreq = mhz;
    return true;
}

void MemorySaveMode(int civMode, int filter) {
    if (!g_xfer.saving || g_xfer.skip || g_xfer.lineWritten || g_xfer.line.empty()) return;
    const char* word = MemoryModeWord(civMode);
    std::string tail = std::string(",") + word;
    const int number = (filter < 0 ? 0 : filter) + (ModelCap(g_filterbase) ? 1 : 0);
    char buf[64];
    if (!g_xfer.name.empty()) {
        std::snprintf(buf, sizeof buf, ",%1d,%s,", number, g_xfer.name.c_str());
        WriteTrace("good name");
    } else {
        std::snprintf(buf, sizeof buf, ",%1d,,", number);
    }
    tail += buf;
    tail += g_xfer.split;
    FinishLine(tail);
}

void MemorySaveFilterWidth(int hz) {
    char buf[32];
    std::snprintf(buf, sizeof buf, ",%d,,", hz);
    FinishLine(buf);
}

void MemorySaveContents(const std::uint8_t* r, int length) {
    WriteTrace("memory contents");
    if (g_memstate == kSaveNext && g_xfer.saving) {
        g_xfer.split.clear();
        if (!ContentsFor(r, length, g_curbank, g_savemem)) return;
        if (r[kFlagsAt] == kBlank) {
            g_xfer.name.clear();
            return;
        }
        std::string name(reinterpret_cast<const char*>(r + kNameAt), 9);
        while (!name.empty() && (name.back() == ' ' || name.back() == '\0')) name.pop_back();
        g_xfer.name = name;
        if (!name.empty()) WriteTrace("got name");
        if (r[kFlagsAt] & kSplitFlag) {
            WriteTrace("split mem");
            char buf[32];
            std::snprintf(buf, sizeof buf, "%9.6f,", BcdMhz(r + kTxAt));
            g_xfer.split = buf;
        }
        return;
    }
    if (g_memstate == kRestoreName && !g_xfer.saving) {
        // Only a whole reply for the channel just stored is written back.
        if (!ContentsFor(r, length, g_curbank, g_savemem) || r[kFlagsAt] == kBlank) return;
        WriteNameBack(r);
        Arm(200);
        ++g_savemem;
        g_memstate = kRestoreLine;
    }
}

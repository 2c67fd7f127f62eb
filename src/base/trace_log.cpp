#include "base/trace_log.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "base/version.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/profile.h"

int g_trace = 3;

namespace {
std::FILE* g_stream = nullptr;
int g_open = 0;
int g_rotation = 0;
long g_rotateLimit = 1000000;
// Bytes in the current file: asking the stream would cost a system call per
// line at the level that flushes every line.
long g_length = 0;

std::FILE* OpenFresh(const char* name) {
    // Never a FIFO or a device a link leads to: the log waits for nobody.
    std::FILE* f = plat::OpenRegularFile(name, plat::OpenFor::Fresh);
    g_length = 0;
    return f;
}

void Rotate() {
    if (!g_stream) return;
    if (g_length <= g_rotateLimit) return;
    std::fclose(g_stream);
    g_stream = nullptr;
    if (++g_rotation > 1) g_rotation = 0;
    g_stream = OpenFresh(g_rotation == 1 ? "comms2.txt" : "comms3.txt");
    // A rotation file that cannot be opened ends the log; tracing never
    // disturbs the run.
    if (!g_stream) g_open = 0;
}
}  // namespace

void OpenTraceFile() {
    g_stream = OpenFresh("comms.txt");
    if (g_stream) {
        g_open = 1;
        std::fputs("Log File Begin\r\n", g_stream);
        std::fputs(kVersionText, g_stream);
        std::fputs("\r\n", g_stream);
        g_length += long(std::strlen("Log File Begin\r\n") + std::strlen(kVersionText) + 2);
        if (g_trace == 3) std::fflush(g_stream);
    }
    plat::RemoveFile("comms2.txt");
    plat::RemoveFile("comms3.txt");
}

void WriteTrace(const std::string& text) {
    if (g_trace == 0 || g_open == 0) return;
    char stamp[16];
    std::snprintf(stamp, sizeof stamp, "%05ld ", static_cast<long>(plat::GetTickCount() & 0xFFFF));
    if (g_stream) {
        std::fputs(stamp, g_stream);
        std::fwrite(text.data(), 1, text.size(), g_stream);
        std::fputs("\r\n", g_stream);
        g_length += long(std::strlen(stamp) + text.size() + 2);
        if (g_trace == 3) std::fflush(g_stream);
    }
    Rotate();
}

void WriteTracef(const char* format, ...) {
    if (g_trace == 0 || g_open == 0) return;
    char buf[4096];
    va_list ap;
    va_start(ap, format);
    int n = std::vsnprintf(buf, sizeof buf, format, ap);
    va_end(ap);
    if (n < 0) return;
    WriteTrace(std::string(buf, std::size_t(n) < sizeof buf ? std::size_t(n) : sizeof buf - 1));
}

void EndTraceFile() {
    if (g_stream) {
        std::fputs("Log File End\r\n", g_stream);
        std::fflush(g_stream);
    }
    g_open = 0;
}

void CloseTraceStream() {
    if (g_stream) std::fclose(g_stream);
    g_stream = nullptr;
    g_open = 0;
}

bool TraceIsOpen() { return g_open != 0; }

void SetTraceRotateLimit(long limit) { g_rotateLimit = limit; }

std::string TraceBytes(const char* prefix, const std::uint8_t* data, int length, const char* format) {
    std::string text = prefix;
    char hex[16];
    for (int i = 0; i < length; ++i) {
        std::snprintf(hex, sizeof hex, format, static_cast<unsigned short>(data[i]));
        text += hex;
    }
    return text;
}

// The trace log: one diagnostic journal, "comms.txt" in the working
// directory, that every subsystem appends to through WriteTrace. Each line
// starts with the tick count masked to 16 bits. Past 1,000,000 bytes the log
// continues alternately in "comms2.txt" and "comms3.txt".
#pragma once
#include <cstdint>
#include <string>

// Trace level from [SPECIAL] "TRACE": 0 off, 1-2 buffered, 3 flushed per line.
// Detail dumps are written only above 1.
extern int g_trace;

void OpenTraceFile();
void WriteTrace(const std::string& text);
// printf-style convenience; costs one test when tracing is off.
void WriteTracef(const char* format, ...) __attribute__((format(printf, 1, 2)));
void EndTraceFile();
// `prefix` followed by each byte in `format` ("%02hX " by default): the
// device readers' and writers' trace lines.
std::string TraceBytes(const char* prefix, const std::uint8_t* data, int length, const char* format = "%02hX ");
// Closes the stream itself; the program's exit runs it after EndTraceFile.
void CloseTraceStream();
bool TraceIsOpen();

// The rotation threshold in bytes (tests lower it).
void SetTraceRotateLimit(long limit);

// The settings window's trace check box: the save writes "TRACE" as 3 when it
// is on, else 0. It starts from the loaded level.
extern int g_tracecheck;

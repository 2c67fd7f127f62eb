// The settings readers and the save: they walk the key catalogue, which
// names every subsystem's globals, so they belong to the application.
#pragma once
#include <string>

#include "base/settings_store.h"

void LoadSettings(const std::string& path);
void LoadSettings2(const std::string& path);
void LoadSettings3(const std::string& path);
void LoadSettings4(const std::string& path);
// Reads the keys that steer start-up itself ([SPECIAL] "TRACE" and "TEST")
// and opens the trace log, so every later step is traced.
void LoadTraceSettings(const std::string& path);

// Writes every setting in the catalogue's order; the file is replaced
// atomically once at the end.
void saveoper();

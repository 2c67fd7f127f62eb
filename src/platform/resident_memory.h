// The program's resident memory after start-up. Start-up touches a great
// deal of library code and read-only data that the running program never
// uses again (plug-in probing, font and locale set-up, window creation);
// those pages stay counted as resident until released.
#pragma once
#include <cstddef>

namespace plat {

// Releases this process's mappings of clean, read-only file pages (library
// and program code and constants) and returns the freed heap to the system.
// The pages stay in the system's page cache, shared, and come back on their
// next use; nothing written by the program is touched. Returns the bytes of
// resident memory given up (0 where the system does not tell).
std::size_t TrimResidentMemory();

// Resident memory of this process in bytes (0 where the system does not tell).
std::size_t ResidentBytes();

}  // namespace plat

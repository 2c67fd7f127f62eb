// One running copy per working folder: the settings, memory and trace files
// there are read at start-up and written at close, so two copies would
// overwrite each other's changes.
#pragma once
#include <string>

namespace plat {

enum class FolderLock {
    Taken,      // this copy holds the folder now
    Held,       // another running copy holds it
    Unlocked,   // the file system keeps no locks: run on without one
};

// Takes the lock on `dir` for the rest of the run. The lock lives on the
// folder itself (no file is left behind), and the system lets go of it when
// the program ends, however it ends.
FolderLock LockFolder(const std::string& dir);
// Lets go of the lock (the program is leaving).
void UnlockFolder();

}  // namespace plat

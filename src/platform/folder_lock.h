// One running copy per working folder: the settings, memory and trace files
// there are read at start-up and written at close, so two copies would
// overwrite each other's changes.
#pragma once
#include <string>

namespace plat {

enum class FolderLock {
    Taken,      // this copy holds the folder now
    Held,       // another running copy holds it
    Unlocked,   // no lock can be taken here: run on without one
};

// The lock file of a folder. Only a copy that may write the folder can
// create it, and only its owner can open it (mode 600); it stays behind
// when the program ends, and is never removed while a copy holds it.
inline constexpr char kFolderLockFile[] = "qarv.lock";

// Takes the lock on the working folder `dir` for the rest of the run and
// keeps the folder open: its files are written through it from then on. The
// lock is a write lock on the folder's lock file, whichever name leads to
// the folder and whatever namespace a copy runs in; the system lets go of it
// when the program ends, however it ends. Held only when another copy
// holds it; Unlocked when no lock can be taken here (`why` tells why).
FolderLock LockFolder(const std::string& dir, std::string* why = nullptr);
// Takes the lock on one more folder (the one a linked settings file lies
// in), released with the working folder's.
FolderLock LockAlsoFolder(const std::string& dir, std::string* why = nullptr);
// Lets go of every lock (the program is leaving).
void UnlockFolder();

// The working folder as it stands: true while the name it was locked by
// still leads to it. Otherwise `now` says where it is ("" when it was
// removed).
bool WorkingFolderInPlace(std::string* now = nullptr);

// A file by its folder and its name there. A file of the locked working
// folder is reached through the folder the lock holds open, so a save never
// follows the folder's old name into another folder that took it.
class FolderFile {
public:
    explicit FolderFile(const std::string& path);
    ~FolderFile();
    FolderFile(const FolderFile&) = delete;
    FolderFile& operator=(const FolderFile&) = delete;
    bool ok() const { return dir_ >= 0; }
    int dir() const { return dir_; }
    const std::string& name() const { return name_; }
    // Moves along a chain of symbolic links to the file it ends in (relative
    // links are taken from the link's folder); false when the chain loops or
    // cannot be read.
    bool FollowLinks();

private:
    void Reset(int dir, bool owned);
    int dir_ = -1;
    bool owned_ = false;
    std::string name_;
};

}  // namespace plat

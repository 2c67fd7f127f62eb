#include "platform/folder_lock.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstring>
#include <vector>

namespace plat {
namespace {
// A folder this copy holds: the folder itself, and its lock file open for
// writing with an open-file-description write lock on it. Such a lock is
// the file's, not a namespace's, so a copy in a namespace of its own meets
// it too; a reader cannot take it, so nobody who may not write the folder
// can keep a copy from starting.
struct Held {
    int path = -1;   // the folder itself, whatever its name becomes
    int lock = -1;   // its lock file
};
std::vector<Held> g_held;   // [0]: the working folder
std::string g_workpath;     // the name it was locked by

void Release(Held& h) {
    for (int fd : {h.lock, h.path})
        if (fd >= 0) ::close(fd);
    h = Held{};
}

std::string Why(int err) { return std::string(kFolderLockFile) + ": " + std::strerror(err); }

// 1: taken, 0: another copy holds it, -1: no lock can be taken here (`why`).
int TakeLockFile(int dir, int& out, std::string& why) {
    // Never through a link, never blocking on a device or pipe put in its
    // place, and not handed on to a program started from here.
    int fd;
    do {
        fd = ::openat(dir, kFolderLockFile, O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK, 0600);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        why = Why(errno);
        return -1;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        why = std::string(kFolderLockFile) + ": not a regular file";
        ::close(fd);
        return -1;
    }
    // Ours alone, should it have been opened up: a reader could not stop a
    // copy, but it could keep this one from locking.
    if (st.st_uid == ::geteuid() && st.st_nlink == 1 && (st.st_mode & 077) != 0) ::fchmod(fd, 0600);
    // A few rounds: a holder may let go between the two questions below.
    for (int round = 0; round < 3; ++round) {
        struct flock fl {};
        fl.l_type = F_WRLCK;
        fl.l_whence = SEEK_SET;
        if (::fcntl(fd, F_OFD_SETLK, &fl) == 0) {
            out = fd;
            return 1;
        }
        const int err = errno;
        if (err == EINTR) continue;
        if (err != EAGAIN && err != EACCES) {
            why = Why(err);
            break;
        }
        // Another copy holds a write lock; anything else is not one of ours.
        struct flock who {};
        who.l_type = F_WRLCK;
        who.l_whence = SEEK_SET;
        if (::fcntl(fd, F_OFD_GETLK, &who) != 0 || who.l_type == F_WRLCK) {
            ::close(fd);
            return 0;
        }
        if (who.l_type == F_RDLCK) {
            why = std::string(kFolderLockFile) + ": held open for reading by another program";
            break;
        }
    }
    if (why.empty()) why = std::string(kFolderLockFile) + ": it keeps changing hands";
    ::close(fd);
    return -1;
}

FolderLock Take(const std::string& dir, std::string& why) {
    Held h;
    h.path = ::open(dir.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (h.path < 0) {
        why = std::strerror(errno);
        return FolderLock::Unlocked;
    }
    const int got = TakeLockFile(h.path, h.lock, why);
    if (got == 0) {
        Release(h);
        return FolderLock::Held;
    }
    g_held.push_back(h);
    return got > 0 ? FolderLock::Taken : FolderLock::Unlocked;
}

bool SameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// The locked working folder, when `dir` names it (or leads to it).
int WorkingFolderFor(const std::string& dir) {
    if (g_held.empty() || g_held[0].path < 0) return -1;
    if (dir == g_workpath) return g_held[0].path;
    struct stat a {}, b {};
    if (::stat(dir.c_str(), &a) == 0 && ::fstat(g_held[0].path, &b) == 0 && SameFile(a, b)) return g_held[0].path;
    return -1;
}
}  // namespace

FolderLock LockFolder(const std::string& dir, std::string* why) {
    UnlockFolder();
    g_workpath = dir;
    std::string reason;
    const FolderLock got = Take(dir, reason);
    if (why) *why = reason;
    if (g_held.empty()) {
        // Still kept open: the saves go through it even without a lock.
        Held h;
        h.path = ::open(dir.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        g_held.push_back(h);
    }
    return got;
}

FolderLock LockAlsoFolder(const std::string& dir, std::string* why) {
    std::string reason;
    FolderLock got = FolderLock::Unlocked;
    struct stat st {};
    if (g_held.empty()) reason = "the working folder is not held";
    else if (::stat(dir.c_str(), &st) != 0) reason = std::strerror(errno);
    else {
        bool mine = false;
        for (const Held& h : g_held) {
            struct stat held {};
            if (h.path >= 0 && ::fstat(h.path, &held) == 0 && SameFile(st, held)) {
                // Already tried: what came of it stands.
                mine = true;
                got = h.lock >= 0 ? FolderLock::Taken : FolderLock::Unlocked;
                break;
            }
        }
        if (!mine) got = Take(dir, reason);
    }
    if (why) *why = reason;
    return got;
}

void UnlockFolder() {
    for (Held& h : g_held) Release(h);
    g_held.clear();
    g_workpath.clear();
}

bool WorkingFolderInPlace(std::string* now) {
    if (now) now->clear();
    if (g_held.empty() || g_held[0].path < 0) return true;
    struct stat held {}, named {};
    if (::fstat(g_held[0].path, &held) != 0) return true;
    if (::stat(g_workpath.c_str(), &named) == 0 && SameFile(held, named)) return true;
    if (now && held.st_nlink > 0) {
        char buf[PATH_MAX];
        const std::string link = "/proc/self/fd/" + std::to_string(g_held[0].path);
        const ssize_t n = ::readlink(link.c_str(), buf, sizeof buf);
        if (n > 0) now->assign(buf, std::size_t(n));
    }
    return false;
}

FolderFile::FolderFile(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::string dir = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    name_ = slash == std::string::npos ? path : path.substr(slash + 1);
    const int held = WorkingFolderFor(dir);
    if (held >= 0) Reset(held, false);
    else Reset(::open(dir.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC), true);
}

FolderFile::~FolderFile() { Reset(-1, false); }

void FolderFile::Reset(int dir, bool owned) {
    if (owned_ && dir_ >= 0) ::close(dir_);
    dir_ = dir;
    owned_ = owned;
}

bool FolderFile::FollowLinks() {
    // The kernel's own limit on a chain of links.
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::fstatat(dir_, name_.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISLNK(st.st_mode)) return true;
        char buf[PATH_MAX];
        const ssize_t n = ::readlinkat(dir_, name_.c_str(), buf, sizeof buf - 1);
        if (n <= 0) return false;
        const std::string target(buf, std::size_t(n));
        const std::size_t slash = target.rfind('/');
        if (slash == std::string::npos) {
            name_ = target;
            continue;
        }
        // An absolute folder ignores the one the link lies in.
        const std::string dir = slash == 0 ? "/" : target.substr(0, slash);
        const int next = ::openat(dir_, dir.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        if (next < 0) return false;
        Reset(next, true);
        name_ = target.substr(slash + 1);
    }
    errno = ELOOP;
    return false;
}

}  // namespace plat

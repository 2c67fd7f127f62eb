#include "platform/folder_lock.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <vector>

namespace plat {
namespace {
// A folder this copy holds. Two locks on it: a local socket named after
// the folder's device and inode, which any copy can take whatever the
// folder's permissions (a folder it may write but not read cannot be opened
// for flock), and flock on the folder where it can be opened, which also
// holds across machines sharing the file system.
struct Held {
    int path = -1;   // the folder itself, whatever its name becomes
    int flock = -1;
    int socket = -1;
};
std::vector<Held> g_held;   // [0]: the working folder
std::string g_workpath;     // the name it was locked by

void Release(Held& h) {
    for (int fd : {h.socket, h.flock, h.path})
        if (fd >= 0) ::close(fd);
    h = Held{};
}

// 1: taken, 0: another copy has it, -1: no lock of this kind here.
int TakeSocket(const struct stat& st, int& out) {
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    // The abstract namespace: nothing in the file system, gone with the process.
    const int n = std::snprintf(addr.sun_path + 1, sizeof addr.sun_path - 1, "qarv-folder-%llx-%llx",
                                static_cast<unsigned long long>(st.st_dev), static_cast<unsigned long long>(st.st_ino));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), socklen_t(offsetof(sockaddr_un, sun_path) + 1 + n)) == 0) {
        out = fd;
        return 1;
    }
    const int err = errno;
    ::close(fd);
    return err == EADDRINUSE ? 0 : -1;
}

int TakeFlock(const std::string& dir, int& out) {
    // Close-on-exec: a program started from here must not keep the folder.
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return -1;
    int rc;
    do {
        rc = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc == 0) {
        out = fd;
        return 1;
    }
    const int err = errno;
    ::close(fd);
    return err == EWOULDBLOCK ? 0 : -1;
}

FolderLock Take(const std::string& dir) {
    Held h;
    h.path = ::open(dir.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    struct stat st {};
    if (h.path < 0 || ::fstat(h.path, &st) != 0) {
        Release(h);
        return FolderLock::Unlocked;
    }
    const int bySocket = TakeSocket(st, h.socket);
    const int byFlock = bySocket == 0 ? 0 : TakeFlock(dir, h.flock);
    if (bySocket == 0 || byFlock == 0) {
        Release(h);
        return FolderLock::Held;
    }
    g_held.push_back(h);
    return bySocket > 0 || byFlock > 0 ? FolderLock::Taken : FolderLock::Unlocked;
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

FolderLock LockFolder(const std::string& dir) {
    UnlockFolder();
    g_workpath = dir;
    const FolderLock got = Take(dir);
    if (g_held.empty()) {
        // Still kept open: the saves go through it even without a lock.
        Held h;
        h.path = ::open(dir.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        g_held.push_back(h);
    }
    return got;
}

FolderLock LockAlsoFolder(const std::string& dir) {
    if (g_held.empty()) return FolderLock::Unlocked;
    struct stat st {};
    if (::stat(dir.c_str(), &st) != 0) return FolderLock::Unlocked;
    for (const Held& h : g_held) {
        struct stat mine {};
        if (h.path >= 0 && ::fstat(h.path, &mine) == 0 && SameFile(st, mine))
            return h.socket >= 0 || h.flock >= 0 ? FolderLock::Taken : FolderLock::Unlocked;
    }
    return Take(dir);
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

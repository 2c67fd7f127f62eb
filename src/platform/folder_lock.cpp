#include "platform/folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

namespace plat {
namespace {
int g_lockfd = -1;
}

FolderLock LockFolder(const std::string& dir) {
    UnlockFolder();
    // Close-on-exec: a program started from here must not keep the folder.
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return FolderLock::Unlocked;
    int rc;
    do {
        rc = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        const int err = errno;
        ::close(fd);
        return err == EWOULDBLOCK ? FolderLock::Held : FolderLock::Unlocked;
    }
    g_lockfd = fd;
    return FolderLock::Taken;
}

void UnlockFolder() {
    if (g_lockfd < 0) return;
    ::close(g_lockfd);
    g_lockfd = -1;
}

}  // namespace plat

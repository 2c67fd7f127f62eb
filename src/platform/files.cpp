#include "platform/files.h"

#include <filesystem>

#include <dirent.h>
#include <limits.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <sstream>
#include <vector>

extern char** environ;

namespace plat {

std::string GetCurrentDir() {
    char buf[4096];
    if (::getcwd(buf, sizeof buf) == nullptr) return ".";
    return buf;
}

bool SetCurrentDir(const std::string& dir) { return ::chdir(dir.c_str()) == 0; }

bool FileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

bool RemoveFile(const std::string& path) { return ::unlink(path.c_str()) == 0; }

bool RenameFile(const std::string& from, const std::string& to) { return ::rename(from.c_str(), to.c_str()) == 0; }

long long FileSize(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return -1;
    return static_cast<long long>(st.st_size);
}

bool ResolveLinks(const std::string& path, std::string& real) {
    std::string p = path;
    // The kernel's own limit on a chain of links.
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(p.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
            real = p;
            return true;
        }
        char buf[PATH_MAX];
        const ssize_t n = ::readlink(p.c_str(), buf, sizeof buf - 1);
        if (n <= 0) return false;
        std::string target(buf, std::size_t(n));
        if (target[0] != '/') {
            const std::size_t slash = p.rfind('/');
            if (slash != std::string::npos) target = p.substr(0, slash + 1) + target;
        }
        p = target;
    }
    errno = ELOOP;
    return false;
}

namespace {
constexpr char kTempMark[] = ".qarv-tmp-";
constexpr std::size_t kTempMarkLength = sizeof kTempMark - 1;
}  // namespace

std::string TempFileName(const std::string& file, long pid) { return file + kTempMark + std::to_string(pid); }

namespace {
// "<name>.qarv-tmp-<digits>": the name and the process id; false for
// anything else, however like a temporary file it looks.
bool SplitTempName(const std::string& file, std::string& name, long& pid) {
    const std::size_t at = file.rfind(kTempMark);
    if (at == std::string::npos || at == 0 || at + kTempMarkLength >= file.size()) return false;
    const std::string digits = file.substr(at + kTempMarkLength);
    if (digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string::npos) return false;
    name = file.substr(0, at);
    pid = std::stol(digits);
    return pid > 0;
}

bool IsStaleTemp(const std::string& path, long pid) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    if (pid == long(::getpid())) return true;
    if (::kill(pid_t(pid), 0) != 0 && errno == ESRCH) return true;
    return std::time(nullptr) - st.st_mtime > 3600;
}

// Removes the stale temporary files in `dir` for which `ours` says yes.
template <class Pred>
int RemoveStale(const std::string& dir, Pred ours) {
    DIR* d = ::opendir(dir.empty() ? "." : dir.c_str());
    if (!d) return 0;
    std::vector<std::string> doomed;
    while (const dirent* e = ::readdir(d)) {
        std::string name;
        long pid = 0;
        if (!SplitTempName(e->d_name, name, pid) || !ours(name)) continue;
        const std::string full = (dir.empty() ? std::string() : dir + "/") + e->d_name;
        if (IsStaleTemp(full, pid)) doomed.push_back(full);
    }
    ::closedir(d);
    int removed = 0;
    for (const auto& f : doomed) removed += ::unlink(f.c_str()) == 0 ? 1 : 0;
    return removed;
}
}  // namespace

int RemoveStaleTempFiles(const std::string& path) {
    std::string real;
    if (!ResolveLinks(path, real)) return 0;
    const std::size_t slash = real.rfind('/');
    const std::string dir = slash == std::string::npos ? std::string() : real.substr(0, slash == 0 ? 1 : slash);
    const std::string base = slash == std::string::npos ? real : real.substr(slash + 1);
    return RemoveStale(dir, [&base](const std::string& name) { return name == base; });
}

int RemoveStaleTempFilesIn(const std::string& dir) {
    return RemoveStale(dir, [&dir](const std::string& name) {
        struct stat st {};
        return ::lstat((dir + "/" + name).c_str(), &st) == 0;
    });
}

namespace {
bool Spawn(const std::vector<std::string>& args) {
    if (args.empty()) return false;
    std::vector<char*> argv;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_addopen(&fa, 0, "/dev/null", 0, 0);
    int rc = posix_spawnp(&pid, argv[0], &fa, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&fa);
    return rc == 0;
}
}  // namespace

namespace {
bool g_shellscripted = false;
std::vector<std::string> g_shellopened;
}  // namespace

namespace shell_script {
void Enable() { g_shellscripted = true; }
const std::vector<std::string>& Opened() { return g_shellopened; }
void Clear() { g_shellopened.clear(); }
}  // namespace shell_script

bool ShellOpen(const std::string& path) {
    if (g_shellscripted) {
        g_shellopened.push_back(path);
        return true;
    }
    return Spawn({"xdg-open", path});
}

bool StartProgram(const std::string& commandLine) {
    std::istringstream in(commandLine);
    std::vector<std::string> args;
    std::string a;
    while (in >> a) args.push_back(a);
    return Spawn(args);
}

bool OsVersion(int& major, int& minor) {
    major = minor = 0;
    struct utsname u {};
    if (::uname(&u) != 0) return false;
    return std::sscanf(u.release, "%d.%d", &major, &minor) == 2;
}
void EnsureParentDirectory(const std::string& path) {
    std::error_code ec;
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    if (!parent.empty()) std::filesystem::create_directories(parent, ec);
}
}  // namespace plat

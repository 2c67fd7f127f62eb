#include "platform/files.h"

#include <filesystem>

#include <spawn.h>
#include <sys/stat.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <cstdio>
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

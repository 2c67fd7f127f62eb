// Files, folders and starting other programs.
#pragma once
#include <string>
#include <vector>

namespace plat {
std::string GetCurrentDir();
bool SetCurrentDir(const std::string& dir);
bool FileExists(const std::string& path);
bool RemoveFile(const std::string& path);
bool RenameFile(const std::string& from, const std::string& to);
long long FileSize(const std::string& path);  // -1 when missing
// Creates the folders that `path` lies in, when missing.
void EnsureParentDirectory(const std::string& path);
// Opens a document with the desktop's handler; false when it could not start.
bool ShellOpen(const std::string& path);
namespace shell_script {
// From now on ShellOpen starts nothing: it records the path and succeeds.
void Enable();
const std::vector<std::string>& Opened();
void Clear();
}  // namespace shell_script
// Starts a program (command line split at blanks) without waiting for it.
bool StartProgram(const std::string& commandLine);
// Major and minor version of the operating system's kernel; false (and 0, 0)
// when it cannot be read.
bool OsVersion(int& major, int& minor);
}  // namespace plat

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
// The file a chain of symbolic links at `path` ends in (`path` itself when it
// is no link; relative links are taken from the link's folder). False when
// the chain loops or cannot be read.
bool ResolveLinks(const std::string& path, std::string& real);
// The temporary file an atomic save of `file` writes first ("<file>.qarv-tmp-<PID>"):
// a name no editor or other program makes, so that start-up can tell a
// killed save's leftover from an operator's own file.
std::string TempFileName(const std::string& file, long pid);
// Temporary files of the atomic saves left by a run that was killed
// mid-save. A leftover is stale when its process is gone, is this process
// (an earlier run with the same id) or it is over an hour old. Removes those
// of `path` (beside the file its links end in); returns how many.
int RemoveStaleTempFiles(const std::string& path);
// Removes the stale temporary files in `dir` whose own file is there too.
int RemoveStaleTempFilesIn(const std::string& dir);
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

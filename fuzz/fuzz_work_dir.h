// A fuzz target that reads and writes files of its working directory works
// in a fresh directory of its own; the corpus paths and the crash files are
// kept where the caller meant them.
#pragma once
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

// Rewrites the command line (relative paths made absolute, the artifact
// prefix set) and enters a new directory made from `pattern` (ending XXXXXX).
inline void EnterWorkDir(int* argc, char*** argv, const char* pattern) {
    static std::string here;
    static std::vector<std::string> args;
    static std::vector<char*> ptrs;
    char cwd[4096];
    if (getcwd(cwd, sizeof cwd) == nullptr) std::abort();
    here = std::string(cwd) + "/";
    bool prefix = false;
    for (int i = 0; i < *argc; ++i) {
        std::string a = (*argv)[i];
        if (i > 0 && !a.empty() && a[0] != '-' && a[0] != '/') a = here + a;
        if (a.rfind("-artifact_prefix=", 0) == 0) prefix = true;
        args.push_back(a);
    }
    if (!prefix) args.push_back("-artifact_prefix=" + here);
    for (std::string& a : args) ptrs.push_back(a.data());
    ptrs.push_back(nullptr);
    *argc = int(args.size());
    *argv = ptrs.data();
    std::string dir = pattern;
    if (mkdtemp(dir.data()) == nullptr || chdir(dir.c_str()) != 0) std::abort();
}

#include "platform/shared_library.h"

#include <dlfcn.h>

namespace plat {

namespace {
std::string g_liberror;
}

LibraryHandle LoadLibrary(const std::string& path) {
    g_liberror.clear();
    if (path.empty()) {
        g_liberror = "no library configured";
        return nullptr;
    }
    // RTLD_LOCAL: a vendor library's symbols must not replace ours.
    void* h = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!h) {
        const char* e = dlerror();
        g_liberror = e ? e : "cannot be loaded";
    }
    return h;
}

void* GetProcAddress(LibraryHandle lib, const char* name) {
    if (!lib || !name) return nullptr;
    dlerror();
    return dlsym(lib, name);
}

void FreeLibrary(LibraryHandle& lib) {
    if (lib) dlclose(lib);
    lib = nullptr;
}

std::string LibraryError() { return g_liberror; }

}  // namespace plat

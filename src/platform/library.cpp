#include "platform/library.h"

#include <dlfcn.h>

namespace plat {
LibraryHandle LoadLibrary(const std::string& path, std::string* error) {
    // RTLD_LOCAL: the library's own symbols must not stand in for ours.
    void* h = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!h && error) {
        const char* e = ::dlerror();
        *error = e ? e : "cannot load";
    }
    return h;
}

void* GetProcAddress(LibraryHandle lib, const char* name) { return lib ? ::dlsym(lib, name) : nullptr; }

void FreeLibrary(LibraryHandle lib) {
    if (lib) ::dlclose(lib);
}
}  // namespace plat

// Libraries loaded at run time by path (dlopen): vendor libraries that a
// device needs and that may or may not be installed.
#pragma once
#include <string>

namespace plat {

using LibraryHandle = void*;

// Loads the library at `path`; null when it cannot be loaded (the reason in
// LibraryError).
LibraryHandle LoadLibrary(const std::string& path);
// The address of an exported function, or null.
void* GetProcAddress(LibraryHandle lib, const char* name);
void FreeLibrary(LibraryHandle& lib);
std::string LibraryError();

}  // namespace plat

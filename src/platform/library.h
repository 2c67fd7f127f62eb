// Loading an optional shared library by path and resolving its exports.
#pragma once
#include <string>

namespace plat {
using LibraryHandle = void*;
// Null when it cannot be loaded; `error` (when given) then says why.
LibraryHandle LoadLibrary(const std::string& path, std::string* error = nullptr);
void* GetProcAddress(LibraryHandle lib, const char* name);
void FreeLibrary(LibraryHandle lib);
}  // namespace plat

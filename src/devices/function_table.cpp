#include "devices/function_table.h"

int g_functioncount = kFunctionsOffered;

std::span<const FunctionEntry> OfferedFunctions() {
    const int n = g_functioncount < 0 ? 0 : g_functioncount > kFunctionsAll ? kFunctionsAll : g_functioncount;
    return std::span<const FunctionEntry>(g_functions, std::size_t(n));
}

namespace {
char Upper(char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; }

bool SameUpper(const char* a, const char* b) {
    for (; *a && *b; ++a, ++b)
        if (Upper(*a) != Upper(*b)) return false;
    return *a == *b;
}
}  // namespace

int FindFunctionExact(std::span<const FunctionEntry> table, const char* name) {
    if (!name) return -1;
    for (const FunctionEntry& e : table)
        if (SameUpper(e.name, name)) return e.action;
    return -1;
}

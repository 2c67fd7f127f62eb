// CW keyboard state shared with the settings store.
#pragma once

// The five message macro texts the macro keys send ("MEMORY1".."MEMORY5").
extern char g_cwmacro[5][64];

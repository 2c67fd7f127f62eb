// CAT-out ports: state shared with the settings store.
#pragma once

// [SPECIAL] "TEST": 3 discards all CAT-out input and most output.
extern int g_test;

#include "devices/cat_out.h"

int g_test = 0;

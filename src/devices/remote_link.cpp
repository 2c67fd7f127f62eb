#include "devices/remote_link.h"

int g_client = 0;
int g_radioserver = 0;
int g_linkstate = 0;

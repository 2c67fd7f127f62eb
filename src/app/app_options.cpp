#include "app/app_options.h"


int g_steppir = 0;
int g_pcutc = 0;
int g_fscanincr = 1;
int g_spvisible = 0;

int g_local24hour = 0;
int g_autodst = 1;
int g_mutealways = 0;
int g_utchourcorrection = 5;
int g_utcminutecorrection = 0;

int g_wavevisible = 1;
int g_dstarvisible = 1;
int g_qarvmemvisible = 1;

int g_controlbar = 1;
int g_event = 0;

char g_serialabcomport[40] = "0";
char g_autoprogramstartfolder[64] = "";

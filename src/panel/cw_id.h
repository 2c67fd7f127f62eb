// The radio panel's CW identification button: the panel arms and disarms
// it, the keyer asks for a flash when an identification is due, and the
// one-second tick flashes the button.
#pragma once

extern int g_idarmed;      // automatic CW identification armed
extern int g_idjustarmed;  // just armed: the reminder resets
extern int g_idflash;      // a flash of the ID button is requested

// The main frame's side of the settings window: creation, fill, and the
// window's place and visibility taken over before the settings are saved.
#pragma once

class CMainWin;

void CreateSettingsWindow(CMainWin* frame);
void RecordSettingsWindow();

// "Memory File Name": the small panel in which file names are typed when a
// file dialog crashed the program before ("MEMORY CRASH"). Leaving its edit
// runs the waiting file operation (WM_COMMAND 2528 to the main frame).
#pragma once
#include <string>

#include "panel/pop_out_panel.h"
#include "platform/controls.h"
#include "platform/window.h"

constexpr unsigned ID_MEMORY_FILE_NAME = 2528;
constexpr int IDC_CRA_EDIT = 2526;

class CCRAPanel : public CPopOutPanel {
public:
    void Build();
    bool OnCommand(unsigned id, unsigned code, plat::LPARAM control) override;
    void OnClose() override { ShowWindow(plat::SW_HIDE); }
    plat::Edit edit;
    plat::StaticText label;
};

extern CCRAPanel* g_crapanel;

void ShowMemoryFileNamePanel(const std::string& name);
void HideMemoryFileNamePanel();
std::string MemoryFileNamePanelText();

#include "memories/memory_file_panel.h"

#include "memories/stations.h"

CCRAPanel* g_crapanel = nullptr;

void CCRAPanel::Build() {
    label.CreateControl("Memory File Name", {8, 8, 300, 26}, this, -1);
    edit.CreateControl("", {8, 30, 300, 54}, this, IDC_CRA_EDIT);
}

bool CCRAPanel::OnCommand(unsigned id, unsigned code, plat::LPARAM) {
    if (id == unsigned(IDC_CRA_EDIT) && code == plat::EN_KILLFOCUS) {
        if (g_memcrashop && GetParent()) GetParent()->SendMessage(plat::WM_COMMAND, ID_MEMORY_FILE_NAME);
        return true;
    }
    return false;
}

void ShowMemoryFileNamePanel(const std::string& name) {
    if (!g_crapanel) return;
    g_crapanel->edit.SetText(name);
    g_crapanel->ShowWindow(plat::SW_SHOW);
    g_crapanel->BringWindowToTop();
    g_crapanel->edit.SetFocus();
}

void HideMemoryFileNamePanel() {
    if (g_crapanel) g_crapanel->ShowWindow(plat::SW_HIDE);
}

std::string MemoryFileNamePanelText() { return g_crapanel ? g_crapanel->edit.GetText() : std::string(); }

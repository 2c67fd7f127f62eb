#include "memories/dstar_panel.h"

#include <cstdio>
#include <cstring>

#include "base/memory_options.h"
#include "civ/civ_options.h"

CDSTARPanel* g_dstarpanel = nullptr;

namespace {
// The radio takes 8 characters for UR, R1 and R2 and 12 for MY.
constexpr int kCallChars = 8;
constexpr int kMyChars = 12;

void Copy(char* to, std::size_t size, const std::string& text) { std::snprintf(to, size, "%s", text.c_str()); }

plat::Rect Placed(const char* place, int w, int h) {
    int x = 400, y = 250;
    if (place && place[0]) std::sscanf(place, "%d %d", &x, &y);
    if (x < -400 || x > 4000) x = 0;
    if (y < -230 || y > 3000) y = 0;
    return {x, y, x + w, y + h};
}
}  // namespace

void CDSTARPanel::Build() {
    const char* names[4] = {"UR", "R1", "R2", "MY"};
    plat::Edit* edits[4] = {&ur, &r1, &r2, &my};
    const unsigned ids[4] = {IDC_DSTAR_UR, IDC_DSTAR_R1, IDC_DSTAR_R2, IDC_DSTAR_MY};
    for (int i = 0; i < 4; ++i) {
        const int y = 8 + i * 28;
        labels_[i].CreateControl(names[i], {8, y + 3, 36, y + 21}, this, -1);
        edits[i]->CreateControl("", {40, y, 160, y + 24}, this, int(ids[i]));
        edits[i]->SetLimitText(i == 3 ? kMyChars : kCallChars);
    }
    close_.CreateControl("Close", {60, 124, 140, 150}, this, int(IDC_DSTAR_CLOSE));
    ShowCalls();
}

void CDSTARPanel::ShowCalls() {
    ur.SetText(g_dstarur);
    r1.SetText(g_dstarrpt[0]);
    r2.SetText(g_dstarrpt[1]);
    my.SetText(g_dstarmy);
}

bool CDSTARPanel::OnCommand(unsigned id, unsigned code, plat::LPARAM) {
    if (id == IDC_DSTAR_CLOSE) {
        ShowWindow(plat::SW_HIDE);
        return true;
    }
    if (code != plat::EN_KILLFOCUS) return false;
    switch (id) {
        case IDC_DSTAR_UR: Copy(g_dstarur, sizeof g_dstarur, ur.GetText()); break;
        case IDC_DSTAR_R1: Copy(g_dstarrpt[0], sizeof g_dstarrpt[0], r1.GetText()); break;
        case IDC_DSTAR_R2: Copy(g_dstarrpt[1], sizeof g_dstarrpt[1], r2.GetText()); break;
        case IDC_DSTAR_MY:
            Copy(g_dstarmy, sizeof g_dstarmy, my.GetText());
            if (GetParent()) GetParent()->SendMessage(plat::WM_COMMAND, ID_SEND_DSTAR_MY, 0);
            return true;
        default: return false;
    }
    // UR, R1 and R2 always go together.
    if (GetParent()) GetParent()->SendMessage(plat::WM_COMMAND, ID_SEND_DSTAR_CALLS, 0);
    return true;
}

void CreateDstarPanel(plat::Window* frame) {
    if (!g_dstarpanel) g_dstarpanel = new CDSTARPanel;
    g_dstarpanel->SetDragByBody(true);
    g_dstarpanel->Create("D-Star", plat::WS_CHILD | plat::WS_CLIPSIBLINGS | plat::WS_SYSMENU, Placed(g_dstarplace, 172, 160), frame,
                         kDstarWindowId);
    g_dstarpanel->Build();
}

void DestroyDstarPanel() {
    delete g_dstarpanel;
    g_dstarpanel = nullptr;
}

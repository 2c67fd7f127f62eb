// "D-Star": the four D-STAR call-sign fields of a digital-voice radio. Leaving
// a field stores its text and asks the main frame to send the call signs.
#pragma once
#include "panel/pop_out_panel.h"
#include "platform/controls.h"
#include "platform/window.h"

constexpr unsigned IDC_DSTAR_UR = 1534;
constexpr unsigned IDC_DSTAR_R1 = 1535;
constexpr unsigned IDC_DSTAR_R2 = 1536;
constexpr unsigned IDC_DSTAR_MY = 1537;
constexpr unsigned ID_SEND_DSTAR_CALLS = 1538;  // UR, R1 and R2 together
constexpr unsigned ID_SEND_DSTAR_MY = 1541;
constexpr unsigned IDC_DSTAR_CLOSE = 8;
constexpr int kDstarWindowId = 1542;  // the panel's child id

class CDSTARPanel : public CPopOutPanel {
public:
    void Build();
    bool OnCommand(unsigned id, unsigned code, plat::LPARAM control) override;
    void OnClose() override { ShowWindow(plat::SW_HIDE); }
    // The fields show the stored texts (the sender upper-cases them).
    void ShowCalls();
    plat::Edit ur, r1, r2, my;

private:
    plat::StaticText labels_[4];
    plat::Button close_;
};

extern CDSTARPanel* g_dstarpanel;

// Creates the panel hidden at its saved place; the main frame shows it.
void CreateDstarPanel(plat::Window* frame);
void DestroyDstarPanel();

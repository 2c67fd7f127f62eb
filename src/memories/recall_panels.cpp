#include "memories/recall_panels.h"

#include <cstdlib>

#include <cstdio>

#include "base/memory_options.h"
#include "base/panel_options.h"
#include "base/shell_ops.h"
#include "civ/band_table.h"
#include "panel/swl_panel.h"

CSPMemory* g_spmemory = nullptr;
CQARVMEMPanel* g_qarvmempanel = nullptr;
int g_qarvmemchannel = 0;

// The scratch-pad memories belong to the radio window: the buttons only
// post its commands.
const std::array<ScratchPadButton, 7> kScratchPadButtons{{
    {"Rcl 1", 6134, 123},
    {"Rcl 2", 6135, 6128},
    {"Rcl 3", 6136, 6130},
    {"Rcl X", 6137, 6132},
    {"Sto 1", 6138, 124},
    {"Sto 2", 6139, 6129},
    {"Sto 3", 6140, 6131},
}};

namespace {
// Layouts in design units, times the radio window's scale factors.
constexpr int kTitleHeight = 12;  // the panel font's line
constexpr int kMargin = 3;
// Scratch pad: the four recalls on one row, the three stores below, and
// the stored frequencies under them, two to a row, each named by its recall.
constexpr int kSpButtonWidth = 40;
constexpr int kSpPitch = 43;
constexpr int kSpRowTop[2] = {14, 32};
constexpr int kSpButtonHeight = 16;
constexpr int kSpFieldTop = 50;
constexpr int kSpFieldHeight = 13;
constexpr int kSpFieldPitch = 14;
constexpr int kSpWidth = kMargin + 4 * kSpPitch;
constexpr int kSpHeight = kSpFieldTop + 2 * kSpFieldPitch + 2;
// Field n's place (0 the undo row, last) and the name shown before its text.
constexpr int kSpFieldSlot[4] = {3, 0, 1, 2};
constexpr const char* kSpFieldName[4] = {"X:", "1:", "2:", "3:"};
// The band-stack rows the radio window keeps field n's frequency in (the
// undo row, then scratch pads 1..3); the settings store saves them.
constexpr int kSpFieldRow[4] = {43, 31, 41, 42};
// Recall panel: label and edit side by side under the title, the label
// wide enough for "QARV Memory" in the panel font.
constexpr int kRecallWidth = 140;
constexpr int kRecallHeight = 32;
constexpr int kRecallLabelRight = 82;

double ScaleX() { return g_scalex > 0.2 ? g_scalex : 1.0; }
double ScaleY() { return g_scaley > 0.2 ? g_scaley : 1.0; }

// Black or white, whichever reads on `back`.
plat::Colour TextOn(plat::Colour back) {
    const int lum = (299 * plat::GetRValue(back) + 587 * plat::GetGValue(back) + 114 * plat::GetBValue(back)) / 1000;
    return lum > 128 ? plat::RGB(0, 0, 0) : plat::RGB(255, 255, 255);
}
}  // namespace

int ChannelFromText(const std::string& text) { return std::atoi(text.c_str()); }

std::string ScratchPadText(int row) {
    if (row < 0 || row >= kBandRows) return {};
    char text[24];
    std::snprintf(text, sizeof text, "%9.6f", g_bandstack[row].last);
    return text;
}

int CSPMemory::OnCreate() {
    const double sx = ScaleX(), sy = ScaleY();
    SetBackground(g_spmembackgroundcolor);
    title.CreateControl("Scratch Pad Memories", ScaledRect(0, 0, kSpWidth, kTitleHeight, sx, sy), this, -1);
    title.SetColours(TextOn(g_spmembackgroundcolor), g_spmembackgroundcolor);
    const plat::Font* font = PanelFont(sy);
    title.SetFont(font);
    for (std::size_t i = 0; i < kScratchPadButtons.size(); ++i) {
        const bool recall = i < 4;
        const int col = int(recall ? i : i - 4);
        const int left = kMargin + col * kSpPitch, top = kSpRowTop[recall ? 0 : 1];
        buttons[i].CreateChild(kScratchPadButtons[i].caption,
                               ScaledRect(left, top, left + kSpButtonWidth, top + kSpButtonHeight, sx, sy), this,
                               kScratchPadButtons[i].id);
        buttons[i].SetFont(font);
    }
    // Scratch pads 1 and 2 on the first row, 3 and the undo row on the second.
    for (std::size_t f = 0; f < fields.size(); ++f) {
        const int slot = kSpFieldSlot[f];
        const int left = kMargin + (slot % 2) * 2 * kSpPitch, top = kSpFieldTop + (slot / 2) * kSpFieldPitch;
        fields[f].CreateControl(kSpFieldName[f],
                                ScaledRect(left, top, left + 2 * kSpPitch - 3, top + kSpFieldHeight, sx, sy), this, -1);
        fields[f].SetColours(plat::RGB(0, 0, 0), plat::RGB(255, 255, 255));
        fields[f].SetFont(font);
        // The pads were saved with the band stack: show what each recalls.
        fields[f].SetWindowText(std::string(kSpFieldName[f]) + " " + ScratchPadText(kSpFieldRow[f]));
    }
    return 0;
}

bool CSPMemory::OnCommand(unsigned id, unsigned, plat::LPARAM) {
    for (const ScratchPadButton& b : kScratchPadButtons) {
        if (id != unsigned(b.id)) continue;
        // Posted: the radio window runs it after the click has ended.
        if (g_swlpanel && g_swlpanel->Parent()) g_swlpanel->Parent()->PostMessage(plat::WM_COMMAND, b.command, 0);
        return true;
    }
    return false;
}

int CQARVMEMPanel::OnCreate() {
    const double sx = ScaleX(), sy = ScaleY();
    title.CreateControl("Recall QARV Memory", ScaledRect(0, 0, kRecallWidth, kTitleHeight, sx, sy), this, -1);
    label.CreateControl("QARV Memory", ScaledRect(kMargin, 14, kRecallLabelRight - 2, 29, sx, sy), this, -1);
    edit.CreateControl("", ScaledRect(kRecallLabelRight, 13, kRecallWidth - kMargin, 30, sx, sy), this,
                       IDC_QARVMEM_EDIT);
    const plat::Font* font = PanelFont(sy);
    for (plat::Window* w : {static_cast<plat::Window*>(&title), static_cast<plat::Window*>(&label),
                            static_cast<plat::Window*>(&edit)})
        w->SetFont(font);
    return 0;
}

bool CQARVMEMPanel::OnCommand(unsigned id, unsigned code, plat::LPARAM) {
    if (id != unsigned(IDC_QARVMEM_EDIT)) return false;
    if (code == plat::EN_KILLFOCUS) {
        g_qarvmemchannel = ChannelFromText(edit.GetText());
        if (GetParent()) GetParent()->SendMessage(plat::WM_COMMAND, ID_RECALL_RADIO_MEMORY, 0);
    }
    return true;
}

plat::Point ScratchPadPanelSize() { return {int(kSpWidth * ScaleX()), int(kSpHeight * ScaleY())}; }
plat::Point RecallPanelSize() { return {int(kRecallWidth * ScaleX()), int(kRecallHeight * ScaleY())}; }

CQARVMEMPanel* CreateRecallPanel(plat::Window* frame, const plat::Rect& r) {
    if (!g_qarvmempanel) g_qarvmempanel = new CQARVMEMPanel;
    g_qarvmempanel->Create("QARV Recall Memory", plat::WS_CHILD | plat::WS_CLIPSIBLINGS | plat::WS_SYSMENU, r, frame, IDW_RECALL_MEMORY_PANEL);
    return g_qarvmempanel;
}

CSPMemory* CreateScratchPadPanel(plat::Window* frame, const plat::Rect& r) {
    if (!g_spmemory) g_spmemory = new CSPMemory;
    g_spmemory->Create("SP Memory", plat::WS_CHILD | plat::WS_CLIPSIBLINGS | plat::WS_SYSMENU, r, frame, IDW_SP_MEMORY_PANEL);
    return g_spmemory;
}

void DestroyRecallPanels() {
    // The toggles compare with the last window they raised: never a freed one.
    if (g_lasttoggled == g_spmemory || g_lasttoggled == g_qarvmempanel) g_lasttoggled = nullptr;
    delete g_spmemory;
    g_spmemory = nullptr;
    delete g_qarvmempanel;
    g_qarvmempanel = nullptr;
}

void RecordRecallPanelPlaces() {
    if (g_qarvmempanel) g_qarvmempanel->RecordPlace(g_qarvmemplace, sizeof g_qarvmemplace);
    if (g_spmemory) g_spmemory->RecordPlace(g_spplace, sizeof g_spplace);
}

void ShowScratchPadField(int field, const std::string& text) {
    if (!g_spmemory || field < 0 || field >= int(g_spmemory->fields.size())) return;
    g_spmemory->fields[std::size_t(field)].SetWindowText(std::string(kSpFieldName[field]) + " " + text);
}

// Two small pop-outs of the main frame: "SP Memory", seven buttons that
// store and recall the radio window's scratch-pad memories, and "QARV
// Recall Memory", an edit in which the operator types one of the radio's
// own memory channels to recall it.
#pragma once
#include <array>
#include <string>

#include "panel/controls/bistate_button.h"
#include "panel/pop_out_panel.h"
#include "platform/controls.h"

constexpr int IDW_SP_MEMORY_PANEL = 6133;
constexpr int IDW_RECALL_MEMORY_PANEL = 2530;
constexpr int IDC_QARVMEM_EDIT = 1543;
// To the main frame: recall the channel in g_qarvmemchannel.
constexpr unsigned ID_RECALL_RADIO_MEMORY = 6145;

// One scratch-pad button and the radio window command it posts.
struct ScratchPadButton {
    const char* caption;
    int id;
    unsigned command;
};
extern const std::array<ScratchPadButton, 7> kScratchPadButtons;

// The radio memory channel typed last into the recall panel.
extern int g_qarvmemchannel;

// The typed text as a channel number: decimal, anything else counts as 0.
int ChannelFromText(const std::string& text);
// A band-stack row's frequency as the scratch-pad panel shows it.
std::string ScratchPadText(int row);

class CSPMemory : public CPopOutPanel {
public:
    int OnCreate() override;
    bool OnCommand(unsigned id, unsigned code, plat::LPARAM control) override;
    plat::StaticText title;  // "Scratch Pad Memories"
    std::array<CBiStateButton, 7> buttons;
    // The stored frequencies: the undo row (under "Rcl X") and scratch pads 1..3.
    std::array<plat::StaticText, 4> fields;
};

class CQARVMEMPanel : public CPopOutPanel {
public:
    int OnCreate() override;
    bool OnCommand(unsigned id, unsigned code, plat::LPARAM control) override;
    plat::StaticText title;  // "Recall QARV Memory"
    plat::StaticText label;  // "QARV Memory"
    plat::Edit edit;
};

// The panels (null until created).
extern CSPMemory* g_spmemory;
extern CQARVMEMPanel* g_qarvmempanel;

// Sizes in pixels at the panels' scale.
plat::Point ScratchPadPanelSize();
plat::Point RecallPanelSize();
// Each is created hidden as a child of `frame` at `r`.
CQARVMEMPanel* CreateRecallPanel(plat::Window* frame, const plat::Rect& r);
CSPMemory* CreateScratchPadPanel(plat::Window* frame, const plat::Rect& r);
void DestroyRecallPanels();
// Puts the panels' places into [QARVMEM WINDOW] and [SP WINDOW] "LOCATION"
// for the save at close.
void RecordRecallPanelPlaces();
// Shows a scratch pad's frequency text on the scratch-pad panel's field
// `field` (0 the undo row, 1..3 the scratch pads).
void ShowScratchPadField(int field, const std::string& text);

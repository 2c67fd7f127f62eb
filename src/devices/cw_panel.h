// The CW keyboard window ("CW Keyboard"): the pending text and the keyer's
// paddle echo, the five memory edits, "Transmit full words only", "Pop Out
// Window", "Clear File" and "Hide". A child of the main window, or a free
// window of its own when popped out.
#pragma once
#include <string>

#include "platform/controls.h"
#include "platform/font.h"
#include "platform/window.h"

// Control ids of the window.
constexpr int IDC_CW_HIDE = 1;
constexpr int IDC_CW_MEMORY1 = 6115;  // .. 6119
constexpr int IDC_CW_WORD_SEND = 2460;
constexpr int IDC_CW_POPOUT = 2534;
constexpr int IDC_CW_CLEAR_FILE = 2537;

class CCWPanel : public plat::Window {
public:
    // Creates the window and its controls, a child of `parent` or, popped
    // out, a window of its own; hidden.
    void Build(plat::Window* parent, bool popOut);
    // Destroys the window and its controls (the objects stay for a rebuild).
    void Tear();
    bool PoppedOut() const { return popOut_; }
    // The texts the two display lines show.
    void ShowPending(const std::string& text);
    void ShowEcho(const std::string& text);
    const std::string& Pending() const { return pending_; }
    const std::string& EchoText() const { return echo_; }
    // The controls as an operator reaches them.
    plat::Edit& MemoryEdit(int i) { return memory_[i]; }
    plat::CheckBox& WordSend() { return wordSend_; }
    plat::CheckBox& PopOut() { return popOutCheck_; }
    plat::Button& ClearFile() { return clearFile_; }
    plat::Button& Hide() { return hide_; }
    // The window's place (left, top) as it is now.
    plat::Point Place() const;
    // The window's size in pixels at the scale "SCALEX"/"SCALEY".
    static plat::Point Size();

    bool OnCommand(unsigned id, unsigned code, plat::LPARAM control) override;
    void OnChar(unsigned ch) override;
    void OnPaint(plat::PaintContext& pc) override;

private:
    void FillControls();
    bool popOut_ = false;
    std::string pending_, echo_;
    plat::Font font_;  // every text of the window, at the window's scale
    plat::Button hide_, clearFile_;
    plat::Edit memory_[5];
    plat::CheckBox wordSend_, popOutCheck_;
};

// The one keyboard window (null before start-up made it).
extern CCWPanel* g_cwpanel;
// "Clear File": the paddle-echo file starts again holding one blank.
void ClearPaddleFile();

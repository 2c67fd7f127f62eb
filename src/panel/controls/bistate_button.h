// The owner-drawn push buttons of the panels and the settings window.
//
// CBiStateButton: an owner creates it with CreateChild(caption, rect, parent,
// id), sets its font (SetFont) and lights or darkens it with SetState(1/0);
// the caption colour shows the state (SetOnColor/SetOffColor). It tells the
// owner by WM_COMMAND (wParam the command id, lParam 0), sent synchronously:
//   - a left click (press and release on the button): its own id;
//   - a right press: the second commands of the right-click table below;
//   - held on the tuning tools (2406, 2407, 2410, 2411 left; their right
//     commands and the step buttons 701-706 right): the command again after
//     150 ms (timer 800) and then every 10 ms (timer 801) until the button
//     is released, the capture is lost, the button loses the focus or hides.
// CPHButton: press-and-hold; WM_COMMAND 1405 on the press, 1406 on the release.
// CMenuBtn: opens its menu under itself on a press; the chosen command goes
// to its parent as WM_COMMAND.
// Space (pressed and released) and a screen reader's press act as a left
// click on each of them.
//
// The buttons do not take the keyboard focus on a click: it stays with the
// main frame, which handles the program's keys.
#pragma once
#include <string>
#include <vector>

#include "panel/controls/owner_drawn.h"
#include "platform/menu.h"

constexpr unsigned TIMER_REPEAT_DELAY = 800;   // first repeat of a held button
constexpr unsigned TIMER_REPEAT_PERIOD = 801;  // the repeats after it
constexpr unsigned kRepeatDelayMs = 150;
constexpr unsigned kRepeatPeriodMs = 10;

constexpr unsigned IDC_HOLD_PRESS = 1405;    // CPHButton pressed
constexpr unsigned IDC_HOLD_RELEASE = 1406;  // CPHButton released

// One command a right press sends; `repeat` when it repeats while held.
struct SecondCommand {
    unsigned command;
    bool repeat;
    bool operator==(const SecondCommand&) const = default;
};

// The second commands of a right press on button `id` with `caption`, in the
// order they are sent, for radio type `radiotype` with the sub receiver
// active (`subActive`) or not. `stepHz` gets the VFO B step of a step button
// (701-706), else stays as it was.
std::vector<SecondCommand> RightClickCommands(int id, const std::string& caption, int radiotype, bool subActive,
                                              double* stepHz);

// How the shared frame is drawn: the tint inside the frame, pushed or not.
struct ButtonLook {
    bool tinted = false;
    plat::Colour tint = 0;
};
// The tint of a CBiStateButton with `id`: the centre group takes "CENTER BACK
// COLOR", the side group "LEFT RIGHT BACK COLOR", unless that colour is white.
ButtonLook BiStateLook(int id);
// Draws the shared button: face, outline, raised or sunken frame, caption.
// `textColour` null leaves the context's colour. Returns the text rectangle.
plat::Rect DrawButtonFrame(plat::PaintContext& pc, plat::Rect r, bool pushed, const ButtonLook& look);

class CBiStateButton : public COwnerDrawn {
public:
    CBiStateButton();
    void SetOnColor(plat::Colour c);
    void SetOffColor(plat::Colour c);
    void SetState(int state);
    int GetState() const { return state_; }
    bool IsPushed() const { return pushed_; }
    int RepeatId() const { return m_repeatId; }

protected:
    void OnLButtonDown(unsigned flags, plat::Point p) override;
    void OnLButtonDblClk(unsigned flags, plat::Point p) override { OnLButtonDown(flags, p); }
    void OnRButtonDown(unsigned flags, plat::Point p) override;
    void OnRButtonDblClk(unsigned flags, plat::Point p) override { OnRButtonDown(flags, p); }
    void OnLButtonUp(unsigned flags, plat::Point p) override;
    void OnRButtonUp(unsigned flags, plat::Point p) override;
    void OnMouseMove(unsigned flags, plat::Point p) override;
    void OnTimer(unsigned id) override;
    void OnCaptureChanged() override;
    void OnKillFocus(plat::Window* gets) override;
    void OnShowWindow(bool shown) override;
    void OnKeyDown(unsigned key, unsigned flags) override;
    void OnKeyUp(unsigned key, unsigned flags) override;
    bool OnAccessiblePress() override;
    void OnPaint(plat::PaintContext& pc) override;
    int OnCreate() override;
    // The shared push-button behaviour: pushed while held inside, a click on
    // a release inside.
    void Press();
    // Ends the press; true when it was a click.
    bool Release(plat::Point p);
    void StartRepeat(unsigned command);
    void StopRepeat();
    virtual ButtonLook Look() const { return BiStateLook(GetDlgCtrlID()); }

    int m_repeatId = 0;
    plat::Colour onColour_;
    plat::Colour offColour_;
    int state_ = 0;
    bool pushed_ = false;   // drawn sunken
    bool tracking_ = false; // the left button went down on us
};

class CPHButton : public CBiStateButton {
public:
    CPHButton();

protected:
    void OnLButtonDown(unsigned flags, plat::Point p) override;
    void OnLButtonUp(unsigned flags, plat::Point p) override;
    void OnRButtonDown(unsigned, plat::Point) override {}
    void OnKeyDown(unsigned key, unsigned flags) override;
    void OnKeyUp(unsigned key, unsigned flags) override;
    bool OnAccessiblePress() override;
    ButtonLook Look() const override;
};

class CMenuBtn : public CBiStateButton {
public:
    CMenuBtn();
    // The menu whose first sub-menu opens under the button.
    void SetMenu(std::vector<plat::MenuItem> menu) { menu_ = std::move(menu); }

protected:
    void OnLButtonDown(unsigned flags, plat::Point p) override;
    void OnRButtonDown(unsigned, plat::Point) override {}
    void OnKeyUp(unsigned key, unsigned flags) override;
    bool OnAccessiblePress() override;
    void OnPaint(plat::PaintContext& pc) override;
    ButtonLook Look() const override { return {}; }

private:
    void OpenMenu();
    std::vector<plat::MenuItem> menu_;
};

// The window object of the platform layer: an id, a parent, a rectangle,
// visibility and a title, synchronous SendMessage and queued PostMessage of
// numbered messages, and window timers by id delivered to OnTimer. A window
// is usable as a message target before (or without) its on-screen widget, so
// program logic runs and is tested headless.
#pragma once
#include <memory>
#include <string>

#include "platform/types.h"

class QWidget;

namespace plat {

class Font;
class PaintContext;
struct WindowImpl;

// Creation styles that matter to the layer.
constexpr unsigned WS_CHILD = 0x40000000u;
constexpr unsigned WS_VISIBLE = 0x10000000u;
constexpr unsigned WS_BORDER = 0x00800000u;
constexpr unsigned WS_CAPTION = 0x00C00000u;
constexpr unsigned WS_OVERLAPPEDWINDOW = 0x00CF0000u;
constexpr unsigned WS_POPUP = 0x80000000u;
constexpr unsigned WS_CLIPSIBLINGS = 0x04000000u;
constexpr unsigned WS_SYSMENU = 0x00080000u;
constexpr unsigned WS_EX_TOPMOST = 0x00000008u;
// A bar docked at an edge of its frame: it stays outside the frame's
// scrolled client area (SetClientArea).
constexpr unsigned WS_DOCKED = 0x00000400u;

// Pointer shapes a window may ask for while the pointer is over it.
enum class CursorShape { Arrow, Hand, SizeWE, SizeNS, Cross, IBeam };

// What a window is to a screen reader (its accessible role); its accessible
// name is its caption unless set apart.
enum class AccessRole { Client, PushButton, CheckButton, Slider, StaticText, EditableText, Graphic, Meter, ButtonMenu };

class Window {
public:
    Window();
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // Creates the on-screen window (when a display session exists) and sends
    // WM_CREATE, i.e. OnCreate runs inside this call. A window whose parent is
    // null is a top-level frame; children live inside their parent. A
    // parentless WS_POPUP without a caption is a frameless splash window that
    // stays on top, never takes the focus and lets clicks through.
    bool Create(const std::string& title, unsigned style, const Rect& rect, Window* parent, int id);
    bool IsCreated() const;
    // Hides and releases the on-screen window, kills the window's timers and
    // drops messages posted to it. The object itself stays.
    void DestroyWindow();

    int GetDlgCtrlID() const { return id_; }
    unsigned GetStyle() const { return style_; }
    Window* GetParent() const { return parent_; }

    // Messages.
    LRESULT SendMessage(unsigned msg, WPARAM wParam = 0, LPARAM lParam = 0);
    void PostMessage(unsigned msg, WPARAM wParam = 0, LPARAM lParam = 0);

    // Window timers: re-arming an id replaces it; periods below 10 ms run at 10 ms.
    void SetTimer(unsigned id, unsigned ms);
    void KillTimer(unsigned id);
    bool HasTimer(unsigned id) const;

    // Placement and looks.
    void ShowWindow(int cmd);
    bool IsWindowVisible() const;
    bool IsZoomed() const;
    bool IsIconic() const;
    void MoveWindow(const Rect& r, bool repaint = true);
    void SetWindowPos(int x, int y);
    Rect GetWindowRect() const;
    // The rectangle the window returns to from maximised or minimised.
    Rect GetNormalRect() const;
    void SetWindowText(const std::string& text);
    const std::string& GetWindowText() const { return title_; }
    void SetFont(const Font* font);
    const Font* GetFont() const { return font_; }
    void SetTopMost(bool on);
    // The smallest size (pixels) the operator can give a top-level window.
    void SetMinimumSize(int width, int height);
    // The frame's client area: every child created after this (WS_CHILD
    // and not WS_DOCKED) lives on the area's scrolled surface, in surface
    // pixels, while its messages still go to this window. A click on such a
    // child, or on anything inside it, brings it to the top of its siblings.
    void SetClientArea(Window* area);
    Window* ClientArea() const { return clientArea_; }
    // The window's body acts as its caption: a left press on it (off its
    // controls) drags the window inside the visible part of its parent;
    // the window gets no button message for it.
    void SetDragByBody(bool on) { dragByBody_ = on; }
    bool DragsByBody() const { return dragByBody_; }
    // True once the operator has dragged the window by its body in this
    // run: the program leaves such a place alone.
    bool DraggedByOperator() const { return dragged_; }
    void SetDraggedByOperator(bool on) { dragged_ = on; }
    // Where a child window may be dragged to, in its parent's coordinates:
    // the part of the parent's client area (or scrolled surface) on view.
    Rect DragBounds() const;
    // Raises the window. A window created with a parent but without
    // WS_CHILD is owned by it: the window manager keeps it above its owner
    // (a transient window), so raising the owner never buries it.
    void BringWindowToTop();
    void SetFocus();
    void Invalidate();
    // Only `r` (client coordinates) is painted again: a small change costs
    // a small copy to the screen.
    void InvalidateRect(const Rect& r);
    void EnableWindow(bool on);
    bool IsWindowEnabled() const { return enabled_; }
    // Client point to screen point.
    Point ClientToScreen(Point p) const;
    // The area inside the window: for a top-level window without its frame.
    Rect GetClientRect() const;

    // Mouse capture: while a window holds it, every mouse message goes to it,
    // also outside it. The holder gets WM_CAPTURECHANGED when it loses it
    // (released, taken by another window, a modal box or menu opened, or the
    // window hidden or destroyed).
    void SetCapture();
    void ReleaseCapture();
    bool HasCapture() const;
    void SetCursor(CursorShape shape);
    // Whether a click gives the window the keyboard focus (the default). The
    // radio panel's buttons say no: the keyboard stays with the main frame.
    void SetClickFocus(bool on);
    bool ClickFocus() const { return clickFocus_; }
    // Whether the window takes the keyboard focus at all (click, Tab or its
    // window becoming active); the frequency digits say no, so the keys
    // reach the main frame's tuning and hot keys.
    void SetKeyboardFocus(bool on);
    bool KeyboardFocus() const { return keyboardFocus_; }
    // Whether Tab and the window's activation may give it the keyboard (the
    // default); off, only a click does, so a field the operator picks never
    // takes the keys of a window that merely became active.
    void SetTabFocus(bool on);
    // Tooltip text shown while tooltips are on (EnableToolTips).
    void SetToolTip(const std::string& text);
    const std::string& GetToolTip() const { return tooltip_; }
    // The name screen readers (and tests) know the window by: its caption,
    // or for a display the value it shows.
    void SetAccessibleName(const std::string& name);
    void SetAccessibleRole(AccessRole role);
    AccessRole GetAccessibleRole() const { return role_; }

    // Layer-internal access to the on-screen part.
    WindowImpl* impl() const { return impl_.get(); }

    // Entry point of every message; the default maps the standard messages
    // onto the virtual handlers below.
    virtual LRESULT WindowProc(unsigned msg, WPARAM wParam, LPARAM lParam);

    virtual int OnCreate() { return 0; }
    virtual void OnDestroy() {}
    virtual void OnTimer(unsigned id) { (void)id; }
    // id, notification code, control window (or null). Returns true when handled.
    virtual bool OnCommand(unsigned id, unsigned code, LPARAM control) { (void)id; (void)code; (void)control; return false; }
    virtual void OnClose() { DestroyWindow(); }
    virtual void OnKeyDown(unsigned key, unsigned flags) { (void)key; (void)flags; }
    virtual void OnKeyUp(unsigned key, unsigned flags) { (void)key; (void)flags; }
    virtual void OnChar(unsigned ch) { (void)ch; }
    virtual void OnPaint(PaintContext& pc) { (void)pc; }
    // Mouse: `flags` are the MK_ flags, `p` the client position.
    virtual void OnLButtonDown(unsigned flags, Point p) { (void)flags; (void)p; }
    virtual void OnLButtonUp(unsigned flags, Point p) { (void)flags; (void)p; }
    virtual void OnLButtonDblClk(unsigned flags, Point p) { (void)flags; (void)p; }
    virtual void OnRButtonDown(unsigned flags, Point p) { (void)flags; (void)p; }
    virtual void OnRButtonUp(unsigned flags, Point p) { (void)flags; (void)p; }
    virtual void OnRButtonDblClk(unsigned flags, Point p) { (void)flags; (void)p; }
    virtual void OnMouseMove(unsigned flags, Point p) { (void)flags; (void)p; }
    // Whole wheel clicks only: `delta` is a non-zero multiple of 120.
    virtual void OnMouseWheel(unsigned flags, int delta, Point p) { (void)flags; (void)delta; (void)p; }
    virtual void OnMouseEnter() {}
    virtual void OnMouseLeave() {}
    virtual void OnSetFocus(Window* lost) { (void)lost; }
    virtual void OnKillFocus(Window* gets) { (void)gets; }
    virtual void OnCaptureChanged() {}
    virtual void OnShowWindow(bool shown) { (void)shown; }
    // A top-level window's new client size.
    virtual void OnSize(int width, int height) { (void)width; (void)height; }
    // A screen reader's (or switch access's) press of an owner-drawn button:
    // the window acts as on the operator's click. False when it has no press.
    virtual bool OnAccessiblePress() { return false; }
    // An owner-drawn slider's value for screen readers: false when the window
    // has none; a value set by them acts as the operator's move to it.
    virtual bool AccessibleValue(int* value, int* low, int* high) const { (void)value; (void)low; (void)high; return false; }
    virtual void OnAccessibleSetValue(int value) { (void)value; }
    // Every other message, WM_USER+n and the program's numbered messages.
    virtual LRESULT OnMessage(unsigned msg, WPARAM wParam, LPARAM lParam) { (void)msg; (void)wParam; (void)lParam; return 0; }

protected:
    // The on-screen widget of this kind of window; the default is a plain
    // owner-drawn surface. Controls return their toolkit widget.
    virtual QWidget* CreateNative(QWidget* parent);
    // Called after the native widget exists (controls fill it from their state).
    virtual void NativeCreated() {}
    // Shows a new window text: the title of a frame, the caption of a control.
    virtual void NativeSetText(const std::string& text);

private:
    void ReleaseNative();
    std::unique_ptr<WindowImpl> impl_;
    Window* parent_ = nullptr;
    int id_ = 0;
    unsigned style_ = 0;
    bool created_ = false;
    bool visible_ = false;
    bool zoomed_ = false;
    bool iconic_ = false;
    bool enabled_ = true;
    Rect rect_{};
    std::string title_;
    const Font* font_ = nullptr;
    std::string tooltip_;
    std::string accName_;
    bool accNameSet_ = false;
    AccessRole role_ = AccessRole::Client;
    bool clickFocus_ = true;
    bool keyboardFocus_ = true;
    bool tabFocus_ = true;
    int pendingShow_ = -1;  // an owned window waits for its owner to be mapped
    Window* clientArea_ = nullptr;
    bool dragByBody_ = false;
    bool dragged_ = false;
};

// `r` moved (not resized) so that it lies inside `bounds` as far as it fits;
// a window larger than `bounds` keeps its left and top edge inside.
Rect KeepInside(const Rect& r, const Rect& bounds);

// Renders the window with its children into a PNG file; false without an
// on-screen widget or when the file cannot be written.
bool SaveWindowImage(const Window* w, const std::string& path);

// True while the window object exists; messages and timers to a window that
// was deleted are dropped through this check.
bool IsLiveWindow(const Window* w);

// A message number unique to `name` for this run (0xC000 and up), the same
// number for the same name.
unsigned RegisterWindowMessage(const std::string& name);
// The window that was last given the keyboard focus (null when gone).
Window* FocusedWindow();
// The window holding the mouse capture (null when none).
Window* GetCapture();
// Takes the capture from whoever holds it (modal boxes and menus do this).
void ReleaseAnyCapture();
// Moves the keyboard focus to `w` (null: nobody): WM_KILLFOCUS to the window
// that had it, then WM_SETFOCUS to `w`.
void ChangeFocus(Window* w);
// Tooltips program-wide: off hides every registered text, on shows them again.
void EnableToolTips(bool on);
bool ToolTipsEnabled();
// The tooltip the toolkit would show for `w` now (empty while tooltips are off).
std::string ShownToolTip(const Window* w);
// What a screen reader reads for `w`: its accessible name and role.
std::string AccessibleName(const Window* w);
AccessRole AccessibleRoleOf(const Window* w);
// The first window under `root` (depth first) whose accessible name is
// `name`, or null.
Window* FindWindowByName(Window* root, const std::string& name);
// Foreground handling of top-level windows. While one of the program's
// windows is active, SetForegroundWindow moves only the keyboard focus and
// no window: the operator's arrangement stays as it is.
bool IsForegroundWindow(const Window* w);
void SetForegroundWindow(Window* w);
// True while one of the program's windows is the active window.
bool ProgramIsActive();
// The owner a top-level window is kept above (its transient parent), null
// for a frame, a child or without a display.
Window* OwnerOf(const Window* w);
}  // namespace plat

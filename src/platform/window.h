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
constexpr unsigned WS_EX_TOPMOST = 0x00000008u;

class Window {
public:
    Window();
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // Creates the on-screen window (when a display session exists) and sends
    // WM_CREATE, i.e. OnCreate runs inside this call. A window whose parent is
    // null is a top-level frame; children live inside their parent.
    bool Create(const std::string& title, unsigned style, const Rect& rect, Window* parent, int id);
    bool IsCreated() const;
    // Hides and releases the on-screen window, kills the window's timers and
    // drops messages posted to it. The object itself stays.
    void DestroyWindow();

    int GetDlgCtrlID() const { return id_; }
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
    void BringWindowToTop();
    void SetFocus();
    void Invalidate();
    void EnableWindow(bool on);
    bool IsWindowEnabled() const { return enabled_; }

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
};

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
// Foreground handling of top-level windows.
bool IsForegroundWindow(const Window* w);
void SetForegroundWindow(Window* w);
}  // namespace plat

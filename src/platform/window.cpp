#include "platform/window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QPainter>

#include <map>
#include <unordered_set>

#include "platform/event_loop.h"
#include "platform/font.h"
#include "platform/font_impl.h"
#include "platform/keys.h"
#include "platform/paint.h"
#include "platform/window_impl.h"

namespace plat {
namespace {
// A top-level window's place is that of its frame, as GetWindowRect reports
// it; a child's is its own rectangle in the parent.
void PlaceWidget(QWidget* w, const Rect& r) {
    if (w->isWindow()) {
        w->resize(r.width(), r.height());
        w->move(r.left, r.top);
    } else {
        w->setGeometry(r.left, r.top, r.width(), r.height());
    }
}
}  // namespace
namespace {
std::unordered_set<const Window*>& LiveWindows() {
    static std::unordered_set<const Window*> live;
    return live;
}
}  // namespace

bool IsLiveWindow(const Window* w) { return w != nullptr && LiveWindows().count(w) != 0; }

unsigned VirtualKeyOf(int k) {
    if (k >= Qt::Key_A && k <= Qt::Key_Z) return unsigned('A' + (k - Qt::Key_A));
    if (k >= Qt::Key_0 && k <= Qt::Key_9) return unsigned('0' + (k - Qt::Key_0));
    if (k >= Qt::Key_F1 && k <= Qt::Key_F24) return VK_F1 + unsigned(k - Qt::Key_F1);
    switch (k) {
    case Qt::Key_Backspace: return VK_BACK;
    case Qt::Key_Tab: return VK_TAB;
    case Qt::Key_Return:
    case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_Shift: return VK_SHIFT;
    case Qt::Key_Control: return VK_CONTROL;
    case Qt::Key_Alt: return VK_MENU;
    case Qt::Key_Pause: return VK_PAUSE;
    case Qt::Key_Escape: return VK_ESCAPE;
    case Qt::Key_Space: return VK_SPACE;
    case Qt::Key_PageUp: return VK_PRIOR;
    case Qt::Key_PageDown: return VK_NEXT;
    case Qt::Key_End: return VK_END;
    case Qt::Key_Home: return VK_HOME;
    case Qt::Key_Left: return VK_LEFT;
    case Qt::Key_Up: return VK_UP;
    case Qt::Key_Right: return VK_RIGHT;
    case Qt::Key_Down: return VK_DOWN;
    case Qt::Key_Print: return VK_SNAPSHOT;
    case Qt::Key_Insert: return VK_INSERT;
    case Qt::Key_Delete: return VK_DELETE;
    case Qt::Key_Asterisk: return VK_MULTIPLY;
    case Qt::Key_Plus: return VK_OEM_PLUS;
    case Qt::Key_Minus: return VK_OEM_MINUS;
    case Qt::Key_Comma: return VK_OEM_COMMA;
    case Qt::Key_Period: return VK_OEM_PERIOD;
    case Qt::Key_Slash: return VK_DIVIDE;
    default: return 0;
    }
}

namespace {
unsigned KeyFlags(const QKeyEvent* ev) {
    unsigned f = 0;
    auto m = ev->modifiers();
    if (m & Qt::ShiftModifier) f |= KF_SHIFT;
    if (m & Qt::ControlModifier) f |= KF_CONTROL;
    if (m & Qt::AltModifier) f |= KF_ALT;
    if (m & Qt::KeypadModifier) f |= KF_KEYPAD;
    if (ev->isAutoRepeat()) f |= KF_REPEAT;
    return f;
}

unsigned KeypadKey(const QKeyEvent* ev, unsigned vk) {
    if (!(ev->modifiers() & Qt::KeypadModifier)) return vk;
    if (vk >= '0' && vk <= '9') return VK_NUMPAD0 + (vk - '0');
    if (vk == VK_OEM_PLUS) return VK_ADD;
    if (vk == VK_OEM_MINUS) return VK_SUBTRACT;
    if (vk == VK_OEM_PERIOD || vk == VK_DELETE) return VK_DECIMAL;
    return vk;
}
}  // namespace

HostWidget::HostWidget(Window* owner, QWidget* parent) : QWidget(parent), owner_(owner) {
    setFocusPolicy(Qt::StrongFocus);
}

void HostWidget::closeEvent(QCloseEvent* ev) {
    // The program decides about closing through its own WM_CLOSE handler.
    ev->ignore();
    if (owner_) owner_->SendMessage(WM_CLOSE);
}

void HostWidget::paintEvent(QPaintEvent*) {
    if (!owner_) return;
    QPainter p(this);
    if (owner_->GetFont() && owner_->GetFont()->impl()) p.setFont(owner_->GetFont()->impl()->font);
    PaintContext pc(p);
    owner_->OnPaint(pc);
}

void HostWidget::keyPressEvent(QKeyEvent* ev) {
    unsigned vk = VirtualKeyOf(ev->key());
    if (owner_ && vk) {
        owner_->SendMessage(WM_KEYDOWN, KeypadKey(ev, vk), KeyFlags(ev));
        const QString t = ev->text();
        if (!t.isEmpty() && t.at(0).unicode() < 256) owner_->SendMessage(WM_CHAR, t.at(0).unicode(), 0);
        return;
    }
    // Keys without a virtual-key code of their own ('?', '@', '|' ...)
    // still type their character.
    const QString t = ev->text();
    if (owner_ && !t.isEmpty() && t.at(0).unicode() >= 32 && t.at(0).unicode() < 256) {
        owner_->SendMessage(WM_CHAR, t.at(0).unicode(), 0);
        return;
    }
    QWidget::keyPressEvent(ev);
}

bool SaveWindowImage(const Window* w, const std::string& path) {
    if (!w || !w->impl() || !w->impl()->widget) return false;
    return w->impl()->widget->grab().save(QString::fromLocal8Bit(path.c_str()), "PNG");
}

void HostWidget::keyReleaseEvent(QKeyEvent* ev) {
    unsigned vk = VirtualKeyOf(ev->key());
    if (owner_ && vk) {
        owner_->SendMessage(WM_KEYUP, KeypadKey(ev, vk), KeyFlags(ev));
        return;
    }
    QWidget::keyReleaseEvent(ev);
}

Window::Window() : impl_(std::make_unique<WindowImpl>()) { LiveWindows().insert(this); }

Window::~Window() {
    LiveWindows().erase(this);
    TimerKillAll(this);
    PostedDropAll(this);
    ReleaseNative();
}

void Window::ReleaseNative() {
    if (!impl_->widget) return;
    if (HostWidget* h = impl_->host()) h->detach();
    impl_->widget->hide();
    impl_->widget->deleteLater();
    impl_->widget = nullptr;
}

QWidget* Window::CreateNative(QWidget* parent) { return new HostWidget(this, parent); }

bool Window::Create(const std::string& title, unsigned style, const Rect& rect, Window* parent, int id) {
    parent_ = parent;
    id_ = id;
    style_ = style;
    rect_ = rect;
    title_ = title;
    if (app::Started()) {
        QWidget* qparent = (parent && (style & WS_CHILD) && parent->impl_->widget) ? parent->impl_->widget.data() : nullptr;
        QWidget* w = CreateNative(qparent);
        if (!qparent && parent && parent->impl_->widget) {
            // Pop-out windows stay tied to their frame but are top-level.
            w->setParent(parent->impl_->widget, Qt::Window);
        }
        impl_->widget = w;
        NativeSetText(title);
        if (rect.width() > 0 && rect.height() > 0) PlaceWidget(w, rect);
        // A child shows only when asked to, not with its parent.
        if (!(style & WS_VISIBLE)) w->hide();
        NativeCreated();
    }
    created_ = true;
    if (WindowProc(WM_CREATE, 0, 0) == -1) {
        DestroyWindow();
        return false;
    }
    if (style & WS_VISIBLE) ShowWindow(SW_SHOW);
    return true;
}

bool Window::IsCreated() const { return created_; }

void Window::DestroyWindow() {
    if (!created_) return;
    WindowProc(WM_DESTROY, 0, 0);
    created_ = false;
    visible_ = false;
    TimerKillAll(this);
    PostedDropAll(this);
    ReleaseNative();
}

LRESULT Window::SendMessage(unsigned msg, WPARAM wParam, LPARAM lParam) { return WindowProc(msg, wParam, lParam); }

void Window::PostMessage(unsigned msg, WPARAM wParam, LPARAM lParam) { PostTo(this, msg, wParam, lParam); }

void Window::SetTimer(unsigned id, unsigned ms) { TimerSet(this, id, ms); }
void Window::KillTimer(unsigned id) { TimerKill(this, id); }
bool Window::HasTimer(unsigned id) const { return TimerExists(this, id); }

LRESULT Window::WindowProc(unsigned msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE: return OnCreate();
    case WM_DESTROY: OnDestroy(); return 0;
    case WM_TIMER: OnTimer(unsigned(wParam)); return 0;
    case WM_COMMAND: return OnCommand(LOWORD(wParam), HIWORD(wParam), lParam) ? 0 : 1;
    case WM_CLOSE: OnClose(); return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: OnKeyDown(unsigned(wParam), unsigned(lParam)); return 0;
    case WM_KEYUP: OnKeyUp(unsigned(wParam), unsigned(lParam)); return 0;
    case WM_CHAR: OnChar(unsigned(wParam)); return 0;
    default: return OnMessage(msg, wParam, lParam);
    }
}

void Window::ShowWindow(int cmd) {
    QWidget* w = impl_->widget;
    switch (cmd) {
    case SW_HIDE:
        visible_ = false;
        if (w) w->hide();
        break;
    case SW_SHOWMAXIMIZED:
        visible_ = true;
        zoomed_ = true;
        iconic_ = false;
        if (w) w->showMaximized();
        break;
    case SW_MINIMIZE:
        visible_ = true;
        iconic_ = true;
        if (w) w->showMinimized();
        break;
    case SW_SHOWNORMAL:
    case SW_RESTORE:
        visible_ = true;
        zoomed_ = false;
        iconic_ = false;
        if (w) w->showNormal();
        break;
    default:
        visible_ = true;
        if (w) w->show();
        break;
    }
}

bool Window::IsWindowVisible() const { return created_ && visible_; }
bool Window::IsZoomed() const { return zoomed_; }
bool Window::IsIconic() const { return iconic_; }

void Window::MoveWindow(const Rect& r, bool) {
    rect_ = r;
    if (impl_->widget) PlaceWidget(impl_->widget, r);
}

void Window::SetWindowPos(int x, int y) {
    Rect cur = GetWindowRect();
    MoveWindow({x, y, x + cur.width(), y + cur.height()});
}

Rect Window::GetWindowRect() const {
    if (impl_->widget && impl_->widget->isVisible()) {
        QRect g = impl_->widget->isWindow() ? impl_->widget->frameGeometry() : impl_->widget->geometry();
        return {g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
    }
    return rect_;
}

Rect Window::GetNormalRect() const {
    if (impl_->widget && impl_->widget->isWindow() && impl_->widget->isVisible()) {
        QRect g = impl_->widget->normalGeometry();
        if (g.isValid()) return {g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
    }
    return zoomed_ ? rect_ : GetWindowRect();
}

void Window::SetWindowText(const std::string& text) {
    title_ = text;
    if (impl_->widget) NativeSetText(text);
}

void Window::NativeSetText(const std::string& text) { impl_->widget->setWindowTitle(QString::fromLatin1(text.c_str())); }

void Window::SetFont(const Font* font) {
    font_ = font;
    if (impl_->widget && font && font->impl()) impl_->widget->setFont(font->impl()->font);
}

void Window::SetTopMost(bool on) {
    QWidget* w = impl_->widget;
    if (!w || !w->isWindow()) return;
    bool shown = w->isVisible();
    w->setWindowFlag(Qt::WindowStaysOnTopHint, on);
    if (shown) w->show();
}

void Window::BringWindowToTop() {
    if (impl_->widget) impl_->widget->raise();
}

namespace {
const Window* g_focused = nullptr;
}

void Window::SetFocus() {
    g_focused = this;
    if (impl_->widget) impl_->widget->setFocus();
}

Window* FocusedWindow() { return IsLiveWindow(g_focused) ? const_cast<Window*>(g_focused) : nullptr; }

void Window::Invalidate() {
    if (impl_->widget) impl_->widget->update();
}

void Window::EnableWindow(bool on) {
    enabled_ = on;
    if (impl_->widget) impl_->widget->setEnabled(on);
}

unsigned RegisterWindowMessage(const std::string& name) {
    static std::map<std::string, unsigned> ids;
    auto it = ids.find(name);
    if (it != ids.end()) return it->second;
    unsigned id = 0xC000u + unsigned(ids.size());
    ids.emplace(name, id);
    return id;
}

bool IsForegroundWindow(const Window* w) {
    QWidget* q = w && w->impl() ? w->impl()->widget : nullptr;
    return q != nullptr && q->isActiveWindow();
}

void SetForegroundWindow(Window* w) {
    QWidget* q = w && w->impl() ? w->impl()->widget : nullptr;
    if (!q) return;
    q->raise();
    q->activateWindow();
}

}  // namespace plat

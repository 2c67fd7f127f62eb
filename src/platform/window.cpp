#include "platform/window.h"

#include "platform/files.h"

#include <algorithm>
#include <climits>

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QWindow>
#include <QWheelEvent>

#include <map>
#include <vector>
#include <unordered_set>

#include "platform/event_loop.h"
#include "platform/font.h"
#include "platform/font_impl.h"
#include "platform/keys.h"
#include "platform/paint.h"
#include "platform/window_impl.h"

namespace plat {
namespace {

// An owned top-level window is a transient of its owner's window: X11
// window managers (WM_TRANSIENT_FOR) and Wayland compositors (the xdg
// parent) then keep it above its owner, whatever is raised. The owner's
// native window must exist first; it is made, unmapped, when needed.
void TieToOwner(QWidget* w, QWidget* owner) {
    if (!w || !owner || !w->isWindow()) return;
    QWidget* top = owner->window();
    top->winId();
    w->winId();
    if (QWindow* h = w->windowHandle()) {
        if (h->transientParent() != top->windowHandle()) h->setTransientParent(top->windowHandle());
    }
}

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
// The scrolled surface of a client area (a scroll area's inner widget).
QWidget* ClientSurface(const Window* area) {
    QWidget* w = area && area->impl() ? area->impl()->widget.data() : nullptr;
    auto* a = qobject_cast<QScrollArea*>(w);
    return a ? a->widget() : w;
}

// The child of a client surface that holds `w` (or is it), or null.
QWidget* PanelOf(QWidget* w) {
    for (; w && w->parentWidget(); w = w->parentWidget())
        if (w->parentWidget()->property("plat_client_surface").toBool()) return w;
    return nullptr;
}

// A press anywhere on a frame's child window, on its own body or one of its
// controls, brings that window to the top of its siblings first.
class RaiseOnPress : public QObject {
public:
    bool eventFilter(QObject* obj, QEvent* ev) override {
        if (ev->type() == QEvent::MouseButtonPress && obj->isWidgetType()) {
            if (QWidget* panel = PanelOf(static_cast<QWidget*>(obj))) panel->raise();
        }
        return false;
    }
};
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
Qt::FocusPolicy FocusPolicyOf(bool keyboard, bool click, bool tab) {
    if (!keyboard) return Qt::NoFocus;
    if (!click) return Qt::TabFocus;
    return tab ? Qt::StrongFocus : Qt::ClickFocus;
}

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
    // The program expects moves without a button held too (hover feedback).
    setMouseTracking(true);
}

unsigned MouseFlags(Qt::MouseButtons b, Qt::KeyboardModifiers m) {
    unsigned f = 0;
    if (b & Qt::LeftButton) f |= MK_LBUTTON;
    if (b & Qt::RightButton) f |= MK_RBUTTON;
    if (b & Qt::MiddleButton) f |= MK_MBUTTON;
    if (m & Qt::ShiftModifier) f |= MK_SHIFT;
    if (m & Qt::ControlModifier) f |= MK_CONTROL;
    return f;
}

void HostWidget::Mouse(unsigned msg, QMouseEvent* ev) {
    ev->accept();
    if (!owner_) return;
    Window* target = owner_;
    QPoint p = ev->position().toPoint();
    // While another window holds the capture the message is its, in its own
    // client coordinates.
    Window* cap = GetCapture();
    if (cap && cap != owner_ && cap->impl() && cap->impl()->widget) {
        target = cap;
        p = cap->impl()->widget->mapFromGlobal(ev->globalPosition().toPoint());
    }
    target->SendMessage(msg, MouseFlags(ev->buttons(), ev->modifiers()), MAKELPARAM(p.x(), p.y()));
}

void HostWidget::mousePressEvent(QMouseEvent* ev) {
    // A press on the body of a window that drags by it moves the window, as
    // a press on a caption would.
    if (ev->button() == Qt::LeftButton && owner_ && owner_->DragsByBody() && !isWindow() && !GetCapture()) {
        ev->accept();
        bodyDrag_ = true;
        dragFrom_ = ev->globalPosition().toPoint();
        dragStart_ = geometry();
        return;
    }
    switch (ev->button()) {
    case Qt::LeftButton: Mouse(WM_LBUTTONDOWN, ev); break;
    case Qt::RightButton: Mouse(WM_RBUTTONDOWN, ev); break;
    case Qt::MiddleButton: Mouse(WM_MBUTTONDOWN, ev); break;
    default: QWidget::mousePressEvent(ev);
    }
}

void HostWidget::mouseReleaseEvent(QMouseEvent* ev) {
    if (bodyDrag_ && ev->button() == Qt::LeftButton) {
        bodyDrag_ = false;
        ev->accept();
        return;
    }
    switch (ev->button()) {
    case Qt::LeftButton: Mouse(WM_LBUTTONUP, ev); break;
    case Qt::RightButton: Mouse(WM_RBUTTONUP, ev); break;
    case Qt::MiddleButton: Mouse(WM_MBUTTONUP, ev); break;
    default: QWidget::mouseReleaseEvent(ev);
    }
}

void HostWidget::mouseDoubleClickEvent(QMouseEvent* ev) {
    switch (ev->button()) {
    case Qt::LeftButton: Mouse(WM_LBUTTONDBLCLK, ev); break;
    case Qt::RightButton: Mouse(WM_RBUTTONDBLCLK, ev); break;
    case Qt::MiddleButton: Mouse(WM_MBUTTONDOWN, ev); break;
    default: QWidget::mouseDoubleClickEvent(ev);
    }
}

void HostWidget::mouseMoveEvent(QMouseEvent* ev) {
    if (bodyDrag_) {
        ev->accept();
        if (!owner_ || !(ev->buttons() & Qt::LeftButton)) {
            bodyDrag_ = false;
            return;
        }
        const QPoint d = ev->globalPosition().toPoint() - dragFrom_;
        const QRect g = dragStart_.translated(d);
        if (d != QPoint(0, 0)) owner_->SetDraggedByOperator(true);
        owner_->MoveWindow(KeepInside({g.left(), g.top(), g.left() + g.width(), g.top() + g.height()},
                                      owner_->DragBounds()));
        return;
    }
    Mouse(WM_MOUSEMOVE, ev);
}

void HostWidget::resizeEvent(QResizeEvent* ev) {
    QWidget::resizeEvent(ev);
    // A frame lays out its bars and client area anew.
    if (owner_ && isWindow()) owner_->SendMessage(WM_SIZE, 0, MAKELPARAM(width(), height()));
}

void HostWidget::wheelEvent(QWheelEvent* ev) {
    ev->accept();
    if (!owner_) return;
    QPoint a = ev->angleDelta();
    // A touchpad reports small deltas; they count once they add up to a click.
    wheelRest_ += a.y() != 0 ? a.y() : a.x();
    int clicks = wheelRest_ / WHEEL_DELTA;
    if (clicks == 0) return;
    wheelRest_ -= clicks * WHEEL_DELTA;
    clicks = std::max(-273, std::min(273, clicks));  // the delta travels in 16 bits
    QPoint p = ev->position().toPoint();
    owner_->SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(MouseFlags(ev->buttons(), ev->modifiers()), unsigned(clicks * WHEEL_DELTA)),
                        MAKELPARAM(p.x(), p.y()));
}

void HostWidget::enterEvent(QEnterEvent*) {
    if (owner_) owner_->SendMessage(WM_MOUSEHOVER);
}

void HostWidget::leaveEvent(QEvent*) {
    if (owner_) owner_->SendMessage(WM_MOUSELEAVE);
}

void HostWidget::focusInEvent(QFocusEvent* ev) {
    // A window becoming active hands the keyboard to its first control; a
    // control that leaves the keyboard alone (a panel button) passes it on
    // to its window, whose keys reach the main frame.
    if (ev->reason() == Qt::ActiveWindowFocusReason && owner_ && !owner_->ClickFocus() && !isWindow()) {
        QWidget* top = window();
        if (top != this && top->focusPolicy() != Qt::NoFocus && WindowOfWidget(top)) {
            top->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
    QWidget::focusInEvent(ev);
    if (owner_) NativeFocusIn(owner_);
}

void HostWidget::focusOutEvent(QFocusEvent* ev) {
    QWidget::focusOutEvent(ev);
    if (owner_) NativeFocusOut(owner_, ev->reason());
}

void HostWidget::hideEvent(QHideEvent* ev) {
    QWidget::hideEvent(ev);
    bodyDrag_ = false;
    // Hidden with an ancestor: the window itself still counts as shown, but
    // whatever it does while held (repeats, drags) must end.
    if (owner_ && owner_->IsWindowVisible()) {
        if (owner_->HasCapture()) owner_->ReleaseCapture();
        owner_->SendMessage(WM_SHOWWINDOW, 0, 0);
    }
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
    // A bordered child window: a one-pixel line round it.
    if (!isWindow() && (owner_->GetStyle() & WS_BORDER) == WS_BORDER && (owner_->GetStyle() & WS_CHILD)) {
        p.setPen(Qt::black);
        p.setBrush(Qt::NoBrush);
        p.drawRect(0, 0, width() - 1, height() - 1);
    }
}

namespace {
// Who gets the keys of a widget: the window itself, or for an owned
// top-level panel that leaves the keyboard with its owner (no click focus),
// the owner, so tuning and hot keys work wherever the operator clicked.
Window* KeyTarget(Window* owner, const QWidget* w) {
    if (owner && w->isWindow() && !owner->ClickFocus() && IsLiveWindow(owner->GetParent())) return owner->GetParent();
    return owner;
}
}  // namespace

namespace {
// Under X11 a held key repeats as a release and a press with one time
// stamp. The toolkit marks the pair as a repeat only when it finds the
// press already queued behind the release; on a busy machine it may not
// have arrived yet. A key's release from the window system is therefore
// held back briefly: a press of the same key with the same time stamp
// makes both a repeat, anything else lets the release go first.
constexpr int kRepeatGapMs = 50;

struct HeldRelease {
    bool held = false;
    Window* target = nullptr;
    unsigned vk = 0, flags = 0;
    quint64 time = 0;
    unsigned serial = 0;
} g_heldRelease;

// The window system's release a control handed on (PassKeyReleaseOn), known
// by its key and time stamp: a synthesised release has no time stamp.
struct PassedRelease {
    int key = 0;
    quint64 time = 0;
} g_passedRelease;

void DeliverHeldRelease(unsigned extraFlags = 0) {
    if (!g_heldRelease.held) return;
    g_heldRelease.held = false;
    if (IsLiveWindow(g_heldRelease.target))
        g_heldRelease.target->SendMessage(WM_KEYUP, g_heldRelease.vk, g_heldRelease.flags | extraFlags);
}

void HoldRelease(Window* target, unsigned vk, unsigned flags, quint64 time) {
    DeliverHeldRelease();
    g_heldRelease = {true, target, vk, flags, time, g_heldRelease.serial + 1};
    const unsigned serial = g_heldRelease.serial;
    QTimer::singleShot(kRepeatGapMs, qApp, [serial] {
        if (g_heldRelease.serial == serial) DeliverHeldRelease();
    });
}
}  // namespace

void HostWidget::keyPressEvent(QKeyEvent* ev) {
    Window* target = KeyTarget(owner_, this);
    unsigned vk = VirtualKeyOf(ev->key());
    unsigned flags = KeyFlags(ev);
    const unsigned key = KeypadKey(ev, vk);
    if (g_heldRelease.held) {
        const bool repeat = g_heldRelease.vk == key && g_heldRelease.time == ev->timestamp();
        DeliverHeldRelease(repeat ? KF_REPEAT : 0);
        if (repeat) flags |= KF_REPEAT;
    }
    if (target && vk) {
        target->SendMessage(WM_KEYDOWN, key, flags);
        const QString t = ev->text();
        if (!t.isEmpty() && t.at(0).unicode() < 256 && IsLiveWindow(target)) target->SendMessage(WM_CHAR, t.at(0).unicode(), 0);
        return;
    }
    // Keys without a virtual-key code of their own ('?', '@', '|' ...)
    // still type their character.
    const QString t = ev->text();
    if (target && !t.isEmpty() && t.at(0).unicode() >= 32 && t.at(0).unicode() < 256) {
        target->SendMessage(WM_CHAR, t.at(0).unicode(), 0);
        return;
    }
    QWidget::keyPressEvent(ev);
}

bool SaveWindowImage(const Window* w, const std::string& path) {
    if (!w || !w->impl() || !w->impl()->widget) return false;
    QWidget* q = w->impl()->widget.data();
    if (!q->isVisible()) q->ensurePolished();
    EnsureParentDirectory(path);
    return q->grab().save(QString::fromUtf8(path.c_str()), "PNG");
}

void PassKeyReleaseOn(QKeyEvent* ev) {
    if (ev->spontaneous() && ev->timestamp() != 0) g_passedRelease = {ev->key(), ev->timestamp()};
    ev->ignore();  // the toolkit hands it to the parent widget
}

void HostWidget::keyReleaseEvent(QKeyEvent* ev) {
    const bool passedOn = ev->timestamp() != 0 && g_passedRelease.time == ev->timestamp() && g_passedRelease.key == ev->key();
    const bool fromSystem = ev->spontaneous() || passedOn;
    Window* target = KeyTarget(owner_, this);
    unsigned vk = VirtualKeyOf(ev->key());
    if (target && vk) {
        if (passedOn) g_passedRelease = {};
        if (fromSystem && !ev->isAutoRepeat()) {
            HoldRelease(target, KeypadKey(ev, vk), KeyFlags(ev), ev->timestamp());
            return;
        }
        DeliverHeldRelease();
        target->SendMessage(WM_KEYUP, KeypadKey(ev, vk), KeyFlags(ev));
        return;
    }
    QWidget::keyReleaseEvent(ev);
}

Window::Window() : impl_(std::make_unique<WindowImpl>()) { LiveWindows().insert(this); }

namespace {
Window* g_capture = nullptr;
const Window* g_focused = nullptr;
bool g_tooltips = true;

QAccessible::Role ToQRole(AccessRole r) {
    switch (r) {
    case AccessRole::PushButton: return QAccessible::PushButton;
    case AccessRole::CheckButton: return QAccessible::CheckBox;
    case AccessRole::Slider: return QAccessible::Slider;
    case AccessRole::StaticText: return QAccessible::StaticText;
    case AccessRole::EditableText: return QAccessible::EditableText;
    case AccessRole::Graphic: return QAccessible::Graphic;
    case AccessRole::Meter: return QAccessible::ProgressBar;
    case AccessRole::ButtonMenu: return QAccessible::ButtonMenu;
    case AccessRole::Client: break;
    }
    return QAccessible::Client;
}

AccessRole FromQRole(QAccessible::Role r) {
    switch (r) {
    case QAccessible::PushButton: return AccessRole::PushButton;
    case QAccessible::CheckBox:
    case QAccessible::RadioButton: return AccessRole::CheckButton;
    case QAccessible::Slider: return AccessRole::Slider;
    case QAccessible::StaticText: return AccessRole::StaticText;
    case QAccessible::EditableText: return AccessRole::EditableText;
    case QAccessible::Graphic: return AccessRole::Graphic;
    case QAccessible::ProgressBar: return AccessRole::Meter;
    case QAccessible::ButtonMenu: return AccessRole::ButtonMenu;
    default: return AccessRole::Client;
    }
}

// Owner-drawn windows tell screen readers what they are, as the toolkit's
// own widgets do, and take their actions: a button's press, a slider's
// value and steps. Each reaches the window as the mouse would.
class HostAccessibleWidget : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    HostAccessibleWidget(HostWidget* h, QAccessible::Role role) : QAccessibleWidget(h, role) {}

    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::ValueInterface && Value(nullptr, nullptr, nullptr))
            return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    QStringList actionNames() const override {
        QStringList names;
        if (widget()->isEnabled()) {
            if (role() == QAccessible::ButtonMenu) names << showMenuAction();
            else if (role() == QAccessible::PushButton || role() == QAccessible::CheckBox) names << pressAction();
            else if (Value(nullptr, nullptr, nullptr)) names << increaseAction() << decreaseAction();
        }
        return names + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& name) override {
        Window* w = Owner();
        if (!w || !widget()->isEnabled()) return;
        if (name == pressAction() || name == showMenuAction()) {
            if (w->OnAccessiblePress()) return;
        } else if (name == increaseAction() || name == decreaseAction()) {
            int v = 0, lo = 0, hi = 0;
            if (Value(&v, &lo, &hi)) {
                const int next = std::clamp(v + (name == increaseAction() ? 1 : -1), std::min(lo, hi), std::max(lo, hi));
                if (next != v) w->OnAccessibleSetValue(next);
                return;
            }
        }
        QAccessibleWidget::doAction(name);
    }

    QVariant currentValue() const override {
        int v = 0;
        return Value(&v, nullptr, nullptr) ? QVariant(v) : QVariant();
    }
    void setCurrentValue(const QVariant& value) override {
        int v = 0, lo = 0, hi = 0;
        Window* w = Owner();
        if (!w || !widget()->isEnabled() || !Value(&v, &lo, &hi)) return;
        const int next = std::clamp(value.toInt(), std::min(lo, hi), std::max(lo, hi));
        if (next != v) w->OnAccessibleSetValue(next);
    }
    QVariant maximumValue() const override {
        int lo = 0, hi = 0;
        return Value(nullptr, &lo, &hi) ? QVariant(std::max(lo, hi)) : QVariant();
    }
    QVariant minimumValue() const override {
        int lo = 0, hi = 0;
        return Value(nullptr, &lo, &hi) ? QVariant(std::min(lo, hi)) : QVariant();
    }
    QVariant minimumStepSize() const override { return 1; }

private:
    Window* Owner() const {
        auto* h = static_cast<HostWidget*>(widget());
        return h && IsLiveWindow(h->owner()) ? h->owner() : nullptr;
    }
    bool Value(int* v, int* lo, int* hi) const {
        int a = 0, b = 0, c = 0;
        Window* w = Owner();
        if (!w || !w->AccessibleValue(&a, &b, &c)) return false;
        if (v) *v = a;
        if (lo) *lo = b;
        if (hi) *hi = c;
        return true;
    }
};

QAccessibleInterface* HostAccessible(const QString&, QObject* o) {
    auto* h = dynamic_cast<HostWidget*>(o);
    if (!h || !h->owner()) return nullptr;
    return new HostAccessibleWidget(h, ToQRole(h->owner()->GetAccessibleRole()));
}

void ApplyToolTip(const Window* w) {
    if (w->impl() && w->impl()->widget)
        w->impl()->widget->setToolTip(g_tooltips ? QString::fromLatin1(w->GetToolTip().c_str()) : QString());
}

Qt::CursorShape ToQCursor(CursorShape c) {
    switch (c) {
    case CursorShape::Hand: return Qt::PointingHandCursor;
    case CursorShape::SizeWE: return Qt::SizeHorCursor;
    case CursorShape::SizeNS: return Qt::SizeVerCursor;
    case CursorShape::Cross: return Qt::CrossCursor;
    case CursorShape::IBeam: return Qt::IBeamCursor;
    case CursorShape::Arrow: break;
    }
    return Qt::ArrowCursor;
}
}  // namespace

Window* WindowOfWidget(const QWidget* w) {
    if (!w) return nullptr;
    auto* win = static_cast<Window*>(w->property("plat_window").value<void*>());
    return IsLiveWindow(win) ? win : nullptr;
}

Window::~Window() {
    LiveWindows().erase(this);
    if (g_capture == this) g_capture = nullptr;
    if (g_focused == this) g_focused = nullptr;
    TimerKillAll(this);
    PostedDropAll(this);
    ReleaseNative();
}

void Window::ReleaseNative() {
    if (!impl_->widget) return;
    if (HostWidget* h = impl_->host()) h->detach();
    impl_->widget->setProperty("plat_window", QVariant::fromValue<void*>(nullptr));
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
        static const bool factory = [] {
            QAccessible::installFactory(HostAccessible);
            return true;
        }();
        (void)factory;
        QWidget* qparent = (parent && (style & WS_CHILD) && parent->impl_->widget) ? parent->impl_->widget.data() : nullptr;
        // A frame's child window lives on its client area's surface.
        if (qparent && !(style & WS_DOCKED) && parent->clientArea_ && parent->clientArea_ != this) {
            if (QWidget* surface = ClientSurface(parent->clientArea_)) qparent = surface;
        }
        QWidget* w = CreateNative(qparent);
        if (!qparent && parent && parent->impl_->widget) {
            // Owned windows (the radio window, pop-outs, dialogs) are
            // top-level but stay above their owner: a dialog-type window is
            // what carries the transient relation to the window manager.
            w->setParent(parent->impl_->widget, Qt::Dialog);
        }
        if (!parent && (style & WS_POPUP) && (style & WS_CAPTION) != WS_CAPTION) {
            // A frameless pop-up of its own (the start-up splash): above
            // everything, never active, and a click goes through to the
            // window under it.
            w->setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                              Qt::WindowDoesNotAcceptFocus | Qt::WindowTransparentForInput);
            w->setAttribute(Qt::WA_ShowWithoutActivating);
        }
        impl_->widget = w;
        w->setProperty("plat_window", QVariant::fromValue<void*>(this));
        NativeSetText(title);
        w->setAccessibleName(QString::fromUtf8((accNameSet_ ? accName_ : title).c_str()));
        ApplyToolTip(this);
        if (!keyboardFocus_ || !clickFocus_ || !tabFocus_) w->setFocusPolicy(FocusPolicyOf(keyboardFocus_, clickFocus_, tabFocus_));
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
    if (g_capture == this) ReleaseCapture();
    if (g_focused == this) g_focused = nullptr;
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
    case WM_LBUTTONDOWN: OnLButtonDown(unsigned(wParam), {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}); return 0;
    case WM_LBUTTONUP: OnLButtonUp(unsigned(wParam), {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}); return 0;
    case WM_LBUTTONDBLCLK: OnLButtonDblClk(unsigned(wParam), {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}); return 0;
    case WM_RBUTTONDOWN: OnRButtonDown(unsigned(wParam), {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}); return 0;
    case WM_RBUTTONUP: OnRButtonUp(unsigned(wParam), {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}); return 0;
    case WM_RBUTTONDBLCLK: OnRButtonDblClk(unsigned(wParam), {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}); return 0;
    case WM_MOUSEMOVE: OnMouseMove(unsigned(wParam), {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}); return 0;
    case WM_MOUSEWHEEL:
        OnMouseWheel(LOWORD(wParam), GET_WHEEL_DELTA_WPARAM(wParam), {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_MOUSEHOVER: OnMouseEnter(); return 0;
    case WM_MOUSELEAVE: OnMouseLeave(); return 0;
    case WM_SETFOCUS: OnSetFocus(reinterpret_cast<Window*>(wParam)); return 0;
    case WM_KILLFOCUS: OnKillFocus(reinterpret_cast<Window*>(wParam)); return 0;
    case WM_CAPTURECHANGED: OnCaptureChanged(); return 0;
    case WM_SHOWWINDOW: OnShowWindow(wParam != 0); return 0;
    case WM_SIZE: OnSize(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)); return 0;
    default: return OnMessage(msg, wParam, lParam);
    }
}

void Window::ShowWindow(int cmd) {
    QWidget* w = impl_->widget;
    const bool was = visible_;
    const bool owned = w && w->isWindow() && !(style_ & WS_CHILD) && IsLiveWindow(parent_) && parent_->impl_->widget;
    pendingShow_ = -1;
    if (owned && cmd != SW_HIDE) {
        TieToOwner(w, parent_->impl_->widget);
        // Mapped before its owner, the window manager would not know the
        // owner yet and would stack the owner over it: it appears with it.
        // A modal box shows at once (its loop waits for an answer).
        if (!parent_->impl_->widget->window()->isVisible() && w->windowModality() == Qt::NonModal) {
            pendingShow_ = cmd;
            visible_ = true;
            if (!was) SendMessage(WM_SHOWWINDOW, 1, 0);
            return;
        }
    }
    switch (cmd) {
    case SW_HIDE:
        visible_ = false;
        // What the operator made of the frame (maximised or not) outlives
        // the hidden window.
        if (w && w->isWindow() && w->isVisible()) {
            zoomed_ = w->isMaximized();
            iconic_ = w->isMinimized();
        }
        if (w) w->hide();
        if (g_capture == this) ReleaseCapture();
        if (was) SendMessage(WM_SHOWWINDOW, 0, 0);
        return;
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
    if (!was) SendMessage(WM_SHOWWINDOW, 1, 0);
    // Owned windows that waited for this one appear now, above it.
    if (w && w->isWindow() && w->isVisible()) {
        std::vector<Window*> waiting;
        for (const Window* o : LiveWindows())
            if (o->parent_ == this && o->pendingShow_ >= 0) waiting.push_back(const_cast<Window*>(o));
        for (Window* o : waiting)
            if (IsLiveWindow(o) && o->pendingShow_ >= 0 && o->visible_) o->ShowWindow(o->pendingShow_);
    }
}

bool Window::IsWindowVisible() const { return created_ && visible_; }
// The window manager may have changed what ShowWindow asked for (the
// operator un-maximised the frame): a shown frame answers from its state.
bool Window::IsZoomed() const {
    QWidget* w = impl_->widget;
    if (w && w->isWindow() && w->isVisible()) return w->isMaximized();
    return zoomed_;
}
bool Window::IsIconic() const {
    QWidget* w = impl_->widget;
    if (w && w->isWindow() && w->isVisible()) return w->isMinimized();
    return iconic_;
}

void Window::MoveWindow(const Rect& r, bool) {
    rect_ = r;
    if (impl_->widget) PlaceWidget(impl_->widget, r);
}

void Window::SetMinimumSize(int width, int height) {
    if (impl_->widget) impl_->widget->setMinimumSize(width, height);
}

void Window::SetWindowPos(int x, int y) {
    Rect cur = GetWindowRect();
    MoveWindow({x, y, x + cur.width(), y + cur.height()});
}

Rect Window::GetClientRect() const {
    if (impl_->widget && impl_->widget->isWindow()) return {0, 0, impl_->widget->width(), impl_->widget->height()};
    const Rect r = GetWindowRect();
    return {0, 0, r.width(), r.height()};
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
        // Places are those of the frame, as windows are placed.
        if (!impl_->widget->isMaximized() && !impl_->widget->isMinimized())
            g.translate(-(impl_->widget->geometry().topLeft() - impl_->widget->frameGeometry().topLeft()));
        if (g.isValid()) return {g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
    }
    return zoomed_ ? rect_ : GetWindowRect();
}

void Window::SetWindowText(const std::string& text) {
    const bool changed = text != title_;
    title_ = text;
    if (impl_->widget) {
        NativeSetText(text);
        if (!accNameSet_) impl_->widget->setAccessibleName(QString::fromLatin1(text.c_str()));
        // An owner-drawn control paints its caption itself: the old one
        // would stay on the screen until something else repainted it.
        if (changed && !impl_->widget->isWindow()) impl_->widget->update();
    }
}

void Window::SetAccessibleName(const std::string& name) {
    accName_ = name;
    accNameSet_ = true;
    if (impl_->widget) impl_->widget->setAccessibleName(QString::fromLatin1(name.c_str()));
}

void Window::SetAccessibleRole(AccessRole role) { role_ = role; }

Point Window::ClientToScreen(Point p) const {
    if (impl_->widget) {
        QPoint g = impl_->widget->mapToGlobal(QPoint(p.x, p.y));
        return {g.x(), g.y()};
    }
    return {rect_.left + p.x, rect_.top + p.y};
}

void Window::SetCapture() {
    if (g_capture == this) return;
    Window* old = g_capture;
    g_capture = this;
    if (IsLiveWindow(old)) old->SendMessage(WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(this));
}

void Window::ReleaseCapture() {
    if (g_capture != this) return;
    g_capture = nullptr;
    SendMessage(WM_CAPTURECHANGED, 0, 0);
}

bool Window::HasCapture() const { return g_capture == this; }

Window* GetCapture() { return IsLiveWindow(g_capture) ? g_capture : nullptr; }

void ReleaseAnyCapture() {
    if (Window* w = GetCapture()) w->ReleaseCapture();
}

void Window::SetCursor(CursorShape shape) {
    if (impl_->widget) impl_->widget->setCursor(ToQCursor(shape));
}

void Window::SetClickFocus(bool on) {
    clickFocus_ = on;
    if (impl_->widget && keyboardFocus_) impl_->widget->setFocusPolicy(FocusPolicyOf(keyboardFocus_, on, tabFocus_));
}

void Window::SetTabFocus(bool on) {
    tabFocus_ = on;
    if (impl_->widget && keyboardFocus_) impl_->widget->setFocusPolicy(FocusPolicyOf(keyboardFocus_, clickFocus_, on));
}

void Window::SetKeyboardFocus(bool on) {
    keyboardFocus_ = on;
    if (!impl_->widget) return;
    if (!on && impl_->widget->hasFocus()) impl_->widget->clearFocus();
    impl_->widget->setFocusPolicy(FocusPolicyOf(on, clickFocus_, tabFocus_));
}

void Window::SetToolTip(const std::string& text) {
    tooltip_ = text;
    ApplyToolTip(this);
}

void EnableToolTips(bool on) {
    g_tooltips = on;
    for (const Window* w : LiveWindows())
        if (!w->GetToolTip().empty()) ApplyToolTip(w);
}

bool ToolTipsEnabled() { return g_tooltips; }

std::string ShownToolTip(const Window* w) {
    if (!w || !w->impl() || !w->impl()->widget) return {};
    return w->impl()->widget->toolTip().toLatin1().toStdString();
}

std::string AccessibleName(const Window* w) {
    if (!w) return {};
    if (w->impl() && w->impl()->widget) {
        if (QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w->impl()->widget.data()))
            return a->text(QAccessible::Name).toLatin1().toStdString();
    }
    return w->GetWindowText();
}

AccessRole AccessibleRoleOf(const Window* w) {
    if (!w) return AccessRole::Client;
    if (w->impl() && w->impl()->widget) {
        if (QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w->impl()->widget.data()))
            return FromQRole(a->role());
    }
    return w->GetAccessibleRole();
}

Window* FindWindowByName(Window* root, const std::string& name) {
    if (!root || !root->impl() || !root->impl()->widget) return nullptr;
    for (QWidget* child : root->impl()->widget->findChildren<QWidget*>()) {
        Window* w = WindowOfWidget(child);
        if (w && AccessibleName(w) == name) return w;
    }
    return nullptr;
}

void Window::NativeSetText(const std::string& text) { impl_->widget->setWindowTitle(QString::fromUtf8(text.c_str())); }

void Window::SetFont(const Font* font) {
    font_ = font;
    if (impl_->widget && font && font->impl()) impl_->widget->setFont(font->impl()->font);
}

void Window::SetTopMost(bool on) {
    QWidget* w = impl_->widget;
    if (!w || !w->isWindow() || w->windowFlags().testFlag(Qt::WindowStaysOnTopHint) == on) return;
    // A changed flag on the widget makes the toolkit build the window anew,
    // and the child windows lose their painting on the new one (a settings
    // page stays as it was). The window we have takes the new state
    // instead: children, owned windows and their ties stay as they are.
    Qt::WindowFlags flags = w->windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, on);
    w->overrideWindowFlags(flags);
    if (QWindow* h = w->windowHandle()) h->setFlags(flags);
}

void Window::BringWindowToTop() {
    QWidget* w = impl_->widget;
    if (!w) return;
    // A frame is raised only while the program is in front: a change pushed
    // to the radio must not lift the program over the operator's other
    // programs (the window manager decides that).
    if (w->isWindow() && !ProgramIsActive()) return;
    w->raise();
}

void ChangeFocus(Window* to) {
    if (to == g_focused) return;
    Window* old = FocusedWindow();
    g_focused = to;
    if (old) old->SendMessage(WM_KILLFOCUS, reinterpret_cast<WPARAM>(to), 0);
    // The kill-focus handler may have moved the focus on already.
    if (to && g_focused == to && IsLiveWindow(to)) to->SendMessage(WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
}

void NativeFocusIn(Window* w) { ChangeFocus(w); }

void NativeFocusOut(Window* w, Qt::FocusReason reason) {
    // Another program or a pop-up becoming active leaves our focus where it is.
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) return;
    if (g_focused == w) ChangeFocus(nullptr);
}

void Window::SetFocus() {
    ChangeFocus(this);
    if (impl_->widget && g_focused == this) impl_->widget->setFocus();
}

Window* FocusedWindow() { return IsLiveWindow(g_focused) ? const_cast<Window*>(g_focused) : nullptr; }

void Window::Invalidate() {
    if (impl_->widget) impl_->widget->update();
}

void Window::InvalidateRect(const Rect& r) {
    if (impl_->widget && r.width() > 0 && r.height() > 0) impl_->widget->update(r.left, r.top, r.width(), r.height());
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

bool ProgramIsActive() { return QApplication::activeWindow() != nullptr; }

void SetForegroundWindow(Window* w) {
    QWidget* q = w && w->impl() ? w->impl()->widget : nullptr;
    if (!q) return;
    // The program is in front already: the keyboard goes to `w`, and no
    // window moves (raising the frame would bury what the operator works in).
    if (ProgramIsActive()) {
        w->SetFocus();
        return;
    }
    q->raise();
    q->activateWindow();
}

void Window::SetClientArea(Window* area) {
    clientArea_ = area;
    if (QWidget* surface = ClientSurface(area)) {
        surface->setProperty("plat_client_surface", true);
        static RaiseOnPress* filter = [] {
            auto* f = new RaiseOnPress;
            qApp->installEventFilter(f);
            return f;
        }();
        (void)filter;
    }
}

Rect Window::DragBounds() const {
    QWidget* w = impl_->widget;
    QWidget* p = w ? w->parentWidget() : nullptr;
    if (!p || w->isWindow()) return {INT_MIN / 4, INT_MIN / 4, INT_MAX / 4, INT_MAX / 4};
    // On a scrolled surface: the part of it in view.
    if (auto* a = p->parentWidget() ? qobject_cast<QScrollArea*>(p->parentWidget()->parentWidget()) : nullptr;
        a && a->widget() == p) {
        const int x = a->horizontalScrollBar()->value(), y = a->verticalScrollBar()->value();
        const QSize v = a->viewport()->size();
        return {x, y, x + v.width(), y + v.height()};
    }
    return {0, 0, p->width(), p->height()};
}

Rect KeepInside(const Rect& r, const Rect& b) {
    const int w = r.width(), h = r.height();
    const int x = std::max(b.left, std::min(r.left, b.right - w));
    const int y = std::max(b.top, std::min(r.top, b.bottom - h));
    return {x, y, x + w, y + h};
}

Window* OwnerOf(const Window* w) {
    QWidget* q = w && w->impl() ? w->impl()->widget.data() : nullptr;
    if (!q || !q->isWindow() || !q->windowHandle()) return nullptr;
    QWindow* tp = q->windowHandle()->transientParent();
    if (!tp) return nullptr;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->windowHandle() == tp) return WindowOfWidget(top);
    return nullptr;
}

}  // namespace plat

// Layer-internal: the on-screen widget behind a plat::Window.
#pragma once
#include <QPointer>
#include <QWidget>
#include <QMouseEvent>

namespace plat {
class Window;

class HostWidget : public QWidget {
public:
    HostWidget(Window* owner, QWidget* parent);
    Window* owner() const { return owner_; }
    void detach() { owner_ = nullptr; }

protected:
    void closeEvent(QCloseEvent* ev) override;
    void paintEvent(QPaintEvent* ev) override;
    void keyPressEvent(QKeyEvent* ev) override;
    void keyReleaseEvent(QKeyEvent* ev) override;
    void mousePressEvent(QMouseEvent* ev) override;
    void mouseReleaseEvent(QMouseEvent* ev) override;
    void mouseDoubleClickEvent(QMouseEvent* ev) override;
    void mouseMoveEvent(QMouseEvent* ev) override;
    void wheelEvent(QWheelEvent* ev) override;
    void enterEvent(QEnterEvent* ev) override;
    void leaveEvent(QEvent* ev) override;
    void focusInEvent(QFocusEvent* ev) override;
    void focusOutEvent(QFocusEvent* ev) override;
    void hideEvent(QHideEvent* ev) override;
    void resizeEvent(QResizeEvent* ev) override;

private:
    void Mouse(unsigned msg, QMouseEvent* ev);
    Window* owner_;
    int wheelRest_ = 0;  // touchpad deltas not yet a whole click
    // A drag by the window's body: the press point on screen and the
    // window's rectangle then.
    bool bodyDrag_ = false;
    QPoint dragFrom_;
    QRect dragStart_;
};

// Mouse-message flags of a toolkit event's buttons and modifiers.
unsigned MouseFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers mods);
// Focus bookkeeping shared by every widget kind: the toolkit moved the focus.
void NativeFocusIn(Window* w);
void NativeFocusOut(Window* w, Qt::FocusReason reason);
// The plat window a toolkit widget stands for (null for other widgets).
Window* WindowOfWidget(const QWidget* w);

struct WindowImpl {
    // Guarded: a parent's widget takes its children's widgets with it.
    QPointer<QWidget> widget;
    HostWidget* host() const { return dynamic_cast<HostWidget*>(widget.data()); }
};

// A control hands a key's release on to the window it sits in (an edit that
// did not keep the key's press). The toolkit drops the window system's mark
// on an event it hands to a parent widget; this keeps it, so the window holds
// the release back as it does its own and tells a held key's repeats from
// its real release.
void PassKeyReleaseOn(QKeyEvent* ev);

// Windows virtual-key code of a toolkit key, 0 when it has none.
unsigned VirtualKeyOf(int qtKey);
}  // namespace plat

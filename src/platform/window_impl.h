// Layer-internal: the on-screen widget behind a plat::Window.
#pragma once
#include <QPointer>
#include <QWidget>

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

private:
    Window* owner_;
};

struct WindowImpl {
    // Guarded: a parent's widget takes its children's widgets with it.
    QPointer<QWidget> widget;
    HostWidget* host() const { return dynamic_cast<HostWidget*>(widget.data()); }
};

// Windows virtual-key code of a toolkit key, 0 when it has none.
unsigned VirtualKeyOf(int qtKey);
}  // namespace plat

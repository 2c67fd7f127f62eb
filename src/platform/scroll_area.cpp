#include "platform/scroll_area.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QPalette>
#include <QScrollArea>
#include <QScrollBar>
#include <QChildEvent>

#include <algorithm>
#include <QStyle>

#include "platform/window_impl.h"

namespace plat {
namespace {
// A list or a drawn control (a slider) on the surface takes the wheel only
// while it has the focus: the wheel turned to scroll the page would
// otherwise change the setting under the pointer, or stop at the control.
// Without the focus the turn scrolls the area.
class WheelToArea : public QObject {
public:
    explicit WheelToArea(QScrollArea* area) : QObject(area), area_(area) { setObjectName("plat_wheel_to_area"); }
    bool eventFilter(QObject* obj, QEvent* ev) override {
        auto* w = qobject_cast<QWidget*>(obj);
        if (ev->type() != QEvent::Wheel || !w || w->hasFocus()) return QObject::eventFilter(obj, ev);
        QCoreApplication::sendEvent(area_->verticalScrollBar(), ev);
        return true;
    }

private:
    QScrollArea* area_;
};
}  // namespace

// Keeps a fitted surface the size of what is on it: any child moved,
// resized, shown or hidden, or the area resized, fits it again.
class FitWatcher : public QObject {
public:
    explicit FitWatcher(ScrollArea* owner) : owner_(owner) {}
    bool eventFilter(QObject* obj, QEvent* ev) override {
        if (!owner_->area()) return false;
        switch (ev->type()) {
        case QEvent::ChildAdded:
            if (auto* c = static_cast<QChildEvent*>(ev)->child(); c && c->isWidgetType()) c->installEventFilter(this);
            break;
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Show:
        case QEvent::Hide:
            if (obj != owner_->area()->widget()) owner_->Fit();
            break;
        default: break;
        }
        return false;
    }

private:
    ScrollArea* owner_;
};

// The area's widgets outlive this object by a little (they go later); the
// watcher must not.
ScrollArea::~ScrollArea() { delete watcher_; }

void ScrollArea::FitToChildren() {
    QScrollArea* a = area();
    if (!a || !a->widget() || fitting_) return;
    fitting_ = true;
    auto* watcher = new FitWatcher(this);
    watcher_ = watcher;
    a->installEventFilter(watcher);
    a->widget()->installEventFilter(watcher);
    for (QObject* c : a->widget()->children())
        if (c->isWidgetType()) c->installEventFilter(watcher);
    Fit();
}

void ScrollArea::Fit() {
    QScrollArea* a = area();
    if (!a || !a->widget()) return;
    constexpr int kMargin = 4;
    int w = 0, h = 0;
    for (QObject* c : a->widget()->children()) {
        auto* cw = qobject_cast<QWidget*>(c);
        if (!cw || cw->isHidden()) continue;
        w = std::max(w, cw->geometry().right() + 1 + kMargin);
        h = std::max(h, cw->geometry().bottom() + 1 + kMargin);
    }
    const int bar = BarExtent();
    const int aw = a->width(), ah = a->height();
    bool v = h > ah, hz = w > aw - (v ? bar : 0);
    if (hz && !v) v = h > ah - bar;
    w = std::max(w, aw - (v ? bar : 0));
    h = std::max(h, ah - (hz ? bar : 0));
    if (surface_.x != w || surface_.y != h || a->widget()->size() != QSize(w, h)) SetSurfaceSize(w, h);
}

QWidget* ScrollArea::CreateNative(QWidget* parent) {
    auto* a = new QScrollArea(parent);
    a->setFrameShape(QFrame::NoFrame);
    a->setWidgetResizable(false);
    a->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    a->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    auto* surface = new QWidget;
    surface->resize(surface_.x > 0 ? surface_.x : 1, surface_.y > 0 ? surface_.y : 1);
    a->setWidget(surface);
    return a;
}

QScrollArea* ScrollArea::area() const { return impl() ? qobject_cast<QScrollArea*>(impl()->widget.data()) : nullptr; }

void ScrollArea::Adopt(Window* child) {
    QScrollArea* a = area();
    QWidget* w = child && child->impl() ? child->impl()->widget.data() : nullptr;
    if (!a || !w || !a->widget()) return;
    const bool shown = !w->isHidden();
    const QRect g = w->geometry();
    w->setParent(a->widget());
    w->setGeometry(g);
    if (shown) w->show();
    if (qobject_cast<QComboBox*>(w) || dynamic_cast<HostWidget*>(w)) {
        QObject* wheel = a->findChild<QObject*>("plat_wheel_to_area", Qt::FindDirectChildrenOnly);
        w->installEventFilter(wheel ? wheel : new WheelToArea(a));
    }
}

void ScrollArea::SetSurfaceSize(int width, int height) {
    surface_ = {width, height};
    if (QScrollArea* a = area(); a && a->widget()) a->widget()->resize(width, height);
    UpdateBars();
}

int ScrollArea::BarExtent() const {
    QScrollArea* a = area();
    return a ? a->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, a) : 0;
}

void ScrollArea::UpdateBars() {
    QScrollArea* a = area();
    if (!a) return;
    // Decided here and now rather than on the toolkit's next pass, so the
    // bars (and the view they leave) are right as soon as the area is placed.
    const int bar = BarExtent();
    const Rect r = GetWindowRect();
    bool v = surface_.y > r.height(), h = surface_.x > r.width() - (v ? bar : 0);
    if (h && !v) v = surface_.y > r.height() - bar;
    a->setVerticalScrollBarPolicy(v ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    a->setHorizontalScrollBarPolicy(h ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
}

void ScrollArea::SetBackground(Colour c) {
    QScrollArea* a = area();
    if (!a) return;
    const QColor q(GetRValue(c), GetGValue(c), GetBValue(c));
    // The bars keep the desktop's colours.
    for (QWidget* w : {a->viewport(), a->widget()}) {
        if (!w) continue;
        QPalette pal = w->palette();
        pal.setColor(QPalette::Window, q);
        w->setPalette(pal);
        w->setAutoFillBackground(true);
    }
}

Point ScrollArea::ScrollPos() const {
    QScrollArea* a = area();
    if (!a) return {0, 0};
    return {a->horizontalScrollBar()->value(), a->verticalScrollBar()->value()};
}

bool ScrollArea::Scrolls() const {
    QScrollArea* a = area();
    return a && (a->verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOn ||
                 a->horizontalScrollBarPolicy() == Qt::ScrollBarAlwaysOn);
}

void ScrollArea::ScrollTo(const Rect& r) {
    QScrollArea* a = area();
    if (!a) return;
    Fit();
    UpdateBars();
    // The far corner first, so that the near one wins where both cannot show.
    a->ensureVisible(r.right - 1, r.bottom - 1, 0, 0);
    a->ensureVisible(r.left, r.top, 0, 0);
}

Rect ScrollArea::ViewRect() const {
    QScrollArea* a = area();
    if (!a) return GetClientRect();
    const QRect v = a->viewport()->geometry();
    return {v.left(), v.top(), v.left() + v.width(), v.top() + v.height()};
}

}  // namespace plat

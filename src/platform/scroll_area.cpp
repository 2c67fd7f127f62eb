#include "platform/scroll_area.h"

#include <QPalette>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>

#include "platform/window_impl.h"

namespace plat {

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
}

void ScrollArea::SetSurfaceSize(int width, int height) {
    surface_ = {width, height};
    if (QScrollArea* a = area(); a && a->widget()) a->widget()->resize(width, height);
    UpdateBars();
}

void ScrollArea::UpdateBars() {
    QScrollArea* a = area();
    if (!a) return;
    // Decided here and now rather than on the toolkit's next pass, so the
    // bars (and the view they leave) are right as soon as the area is placed.
    const int bar = a->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, a);
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

Rect ScrollArea::ViewRect() const {
    QScrollArea* a = area();
    if (!a) return GetClientRect();
    const QRect v = a->viewport()->geometry();
    return {v.left(), v.top(), v.left() + v.width(), v.top() + v.height()};
}

}  // namespace plat

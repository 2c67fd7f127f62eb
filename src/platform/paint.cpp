#include "platform/paint.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPixmap>
#include <QPolygon>

#include <algorithm>
#include <cstdlib>

#include "platform/font.h"
#include "platform/font_impl.h"

namespace plat {
namespace {
QColor ToQ(Colour c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)); }
QRect ToQ(const Rect& r) { return QRect(r.left, r.top, r.width(), r.height()); }
}  // namespace

Colour GetSysColour(int index) {
    switch (index) {
    case COLOR_WINDOWFRAME: return RGB(0, 0, 0);
    case COLOR_BTNFACE: return RGB(240, 240, 240);
    case COLOR_BTNSHADOW: return RGB(160, 160, 160);
    case COLOR_BTNTEXT: return RGB(0, 0, 0);
    case COLOR_BTNHIGHLIGHT: return RGB(255, 255, 255);
    default: return RGB(192, 192, 192);
    }
}

struct BufferedPaint::Impl {
    QPixmap pixmap;
    QPainter painter;
};

BufferedPaint::BufferedPaint(PaintContext& target, int width, int height) : impl_(new Impl), w_(std::max(width, 1)), h_(std::max(height, 1)) {
    const qreal dpr = target.painter().device() ? target.painter().device()->devicePixelRatioF() : 1.0;
    impl_->pixmap = QPixmap(int(w_ * dpr + 0.5), int(h_ * dpr + 0.5));
    impl_->pixmap.setDevicePixelRatio(dpr);
    impl_->pixmap.fill(Qt::black);
    impl_->painter.begin(&impl_->pixmap);
    impl_->painter.setFont(target.painter().font());
    pc_ = new PaintContext(impl_->painter);
}

BufferedPaint::~BufferedPaint() {
    delete pc_;
    if (impl_->painter.isActive()) impl_->painter.end();
    delete impl_;
}

void PaintContext::Blit(int x, int y, BufferedPaint& from) {
    BufferedPaint::Impl* b = from.impl();
    if (b->painter.isActive()) b->painter.end();
    p_.drawPixmap(x, y, b->pixmap);
}

void PaintContext::Rectangle(const Rect& r, Colour pen, int penWidth, Colour fill) {
    p_.fillRect(ToQ(r), ToQ(fill));
    if (penWidth <= 0) return;
    // The outline lies inside the rectangle, as wide as the pen.
    for (int i = 0; i < penWidth && i * 2 < r.width() && i * 2 < r.height(); ++i)
        FrameRect({r.left + i, r.top + i, r.right - i, r.bottom - i}, pen);
}

void PaintContext::Polygon(const Point* pts, int n, Colour fill, Colour pen, int penWidth) {
    if (n < 2) return;
    QPolygon poly;
    for (int i = 0; i < n; ++i) poly << QPoint(pts[i].x, pts[i].y);
    p_.setBrush(ToQ(fill));
    if (penWidth > 0) p_.setPen(QPen(ToQ(pen), penWidth));
    else p_.setPen(Qt::NoPen);
    p_.drawPolygon(poly);
    p_.setBrush(Qt::NoBrush);
}

void PaintContext::Polyline(const Point* pts, int n, Colour pen, int penWidth) {
    if (n < 2) return;
    QPolygon poly;
    for (int i = 0; i < n; ++i) poly << QPoint(pts[i].x, pts[i].y);
    p_.setPen(QPen(ToQ(pen), penWidth, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    p_.drawPolyline(poly);
}

void PaintContext::FillRect(const Rect& r, Colour c) { p_.fillRect(ToQ(r), ToQ(c)); }

void PaintContext::FrameRect(const Rect& r, Colour c) {
    p_.setPen(ToQ(c));
    p_.setBrush(Qt::NoBrush);
    p_.drawRect(QRect(r.left, r.top, r.width() - 1, r.height() - 1));
}

void PaintContext::Line(int x1, int y1, int x2, int y2, Colour c, int width) {
    if (x1 == x2 && y1 == y2) return;
    if (width <= 1 && (x1 == x2 || y1 == y2)) {
        // Axis lines as filled pixels: exact at any pixel density.
        if (x1 == x2) p_.fillRect(y2 > y1 ? QRect(x1, y1, 1, y2 - y1) : QRect(x1, y2 + 1, 1, y1 - y2), ToQ(c));
        else p_.fillRect(x2 > x1 ? QRect(x1, y1, x2 - x1, 1) : QRect(x2 + 1, y1, x1 - x2, 1), ToQ(c));
        return;
    }
    // The end point is left out, as the program's line calls do.
    p_.setPen(QPen(ToQ(c), width, Qt::SolidLine, Qt::FlatCap));
    p_.drawLine(QLineF(x1 + 0.5, y1 + 0.5, x2 + 0.5, y2 + 0.5));
}

void PaintContext::SetFont(const Font* f) {
    if (f && f->impl()) p_.setFont(f->impl()->font);
}

void PaintContext::DrawText(const std::string& text, const Rect& r, unsigned format) {
    int flags = 0;
    flags |= (format & DT_CENTER) ? Qt::AlignHCenter : (format & DT_RIGHT) ? Qt::AlignRight : Qt::AlignLeft;
    flags |= (format & DT_VCENTER) ? Qt::AlignVCenter : (format & DT_BOTTOM) ? Qt::AlignBottom : Qt::AlignTop;
    flags |= Qt::TextSingleLine | Qt::TextDontClip;
    const QString t = QString::fromLatin1(text.c_str());
    if (bkMode_ == OPAQUE) p_.fillRect(p_.boundingRect(ToQ(r), flags, t), ToQ(bk_));
    p_.setPen(ToQ(text_));
    p_.drawText(ToQ(r), flags, t);
}

void PaintContext::TextOut(int x, int y, const std::string& text) {
    p_.setPen(ToQ(text_));
    QFontMetrics fm(p_.font());
    p_.drawText(x, y + fm.ascent(), QString::fromLatin1(text.c_str()));
}

Point PaintContext::TextExtent(const std::string& text) {
    QFontMetrics fm(p_.font());
    return {fm.horizontalAdvance(QString::fromLatin1(text.c_str())), fm.height()};
}

}  // namespace plat

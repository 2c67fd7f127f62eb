#include "platform/layout_check.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QWidget>

#include <cstdio>

#include "platform/font.h"
#include "platform/font_impl.h"
#include "platform/window.h"
#include "platform/window_impl.h"

namespace plat {
namespace {

QWidget* WidgetOf(const Window* w) { return w && w->impl() ? w->impl()->widget.data() : nullptr; }

// The font an owner-drawn window paints with: its own, else the toolkit's.
QFont PaintFont(const Window* w, const QWidget* q) {
    if (w->GetFont() && w->GetFont()->impl()) return w->GetFont()->impl()->font;
    return q->font();
}

// A button's '&' marks its access key and is not drawn ("&&" draws one).
QString Drawn(const QString& text) {
    QString out;
    for (int i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size()) ++i;
        out += text[i];
    }
    return out;
}

QSize TextSize(const QFont& f, const QString& text) {
    QFontMetrics fm(f);
    QRect r = fm.boundingRect(QRect(0, 0, 100000, 100000), Qt::AlignLeft | Qt::AlignTop, text);
    return {r.width(), std::max(r.height(), fm.height())};
}

std::string Name(const Window* w) {
    char head[32];
    std::snprintf(head, sizeof head, "id %d ", w->GetDlgCtrlID());
    return head + ("\"" + w->GetWindowText() + "\"");
}

std::string Sizes(const char* what, QSize need, QSize have) {
    char buf[96];
    std::snprintf(buf, sizeof buf, "%s %dx%d in %dx%d", what, need.width(), need.height(), have.width(), have.height());
    return buf;
}

// What a caption needs and the room it has; empty `need` when the window
// shows no caption of its own.
bool CaptionRoom(const Window* w, QWidget* q, QSize& need, QSize& have) {
    QStyle* st = q->style();
    if (auto* cb = qobject_cast<QComboBox*>(q)) {
        if (cb->currentText().isEmpty()) return false;
        QStyleOptionComboBox opt;
        opt.initFrom(cb);
        opt.editable = cb->isEditable();
        QRect field = st->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, cb);
        need = TextSize(cb->font(), cb->currentText());
        have = field.size();
        return true;
    }
    if (qobject_cast<QCheckBox*>(q) || qobject_cast<QRadioButton*>(q)) {
        auto* b = static_cast<QAbstractButton*>(q);
        if (b->text().isEmpty()) return false;
        const bool check = qobject_cast<QCheckBox*>(q) != nullptr;
        const int ind = st->pixelMetric(check ? QStyle::PM_IndicatorWidth : QStyle::PM_ExclusiveIndicatorWidth, nullptr, q) +
                        st->pixelMetric(check ? QStyle::PM_CheckBoxLabelSpacing : QStyle::PM_RadioButtonLabelSpacing, nullptr, q);
        need = TextSize(b->font(), Drawn(b->text()));
        have = {q->width() - ind, q->height()};
        return true;
    }
    if (auto* b = qobject_cast<QPushButton*>(q)) {
        if (b->text().isEmpty()) return false;
        need = TextSize(b->font(), Drawn(b->text()));
        // The button's frame takes a few pixels on each side.
        have = {q->width() - 4, q->height() - 2};
        return true;
    }
    if (auto* l = qobject_cast<QLabel*>(q)) {
        if (l->text().isEmpty() || l->textFormat() == Qt::RichText) return false;
        if (l->wordWrap()) {
            need = {0, l->heightForWidth(q->width())};
            have = {0, q->height()};
        } else {
            need = TextSize(l->font(), l->text());
            have = q->size();
        }
        return true;
    }
    if (auto* g = qobject_cast<QGroupBox*>(q)) {
        if (g->title().isEmpty()) return false;
        need = TextSize(g->font(), Drawn(g->title()));
        need.setHeight(0);
        have = {q->width() - 8, q->height()};
        return true;
    }
    if (dynamic_cast<HostWidget*>(q)) {
        switch (w->GetAccessibleRole()) {
        case AccessRole::PushButton:
        case AccessRole::CheckButton:
        case AccessRole::StaticText:
        case AccessRole::ButtonMenu: break;
        default: return false;
        }
        if (w->GetWindowText().empty()) return false;
        need = TextSize(PaintFont(w, q), QString::fromLatin1(w->GetWindowText().c_str()));
        have = {q->width() - 2, q->height()};
        return true;
    }
    return false;
}
}  // namespace

std::vector<LayoutFault> CheckLayout(const Window* root) {
    std::vector<LayoutFault> faults;
    QWidget* top = WidgetOf(root);
    if (!top) return faults;
    for (QWidget* q : top->findChildren<QWidget*>()) {
        Window* w = WindowOfWidget(q);
        if (!w || q->isWindow() || !q->isVisibleTo(top)) continue;
        if (QWidget* p = q->parentWidget()) {
            if (!p->rect().contains(q->geometry()))
                faults.push_back({w, Name(w) + ": " + Sizes("outside its window at", {q->x(), q->y()}, p->size()) +
                                         Sizes(", size", q->size(), q->size())});
        }
        QSize need, have;
        if (CaptionRoom(w, q, need, have) && (need.width() > have.width() || need.height() > have.height()))
            faults.push_back({w, Name(w) + ": " + Sizes("caption", need, have)});
    }
    return faults;
}

Point MeasureText(const Window* w, const std::string& text) {
    QWidget* q = WidgetOf(w);
    QFont f = q ? PaintFont(w, q) : QFont();
    QSize s = TextSize(f, QString::fromLatin1(text.c_str()));
    return {s.width(), s.height()};
}

bool TextFits(const Window* w, const std::string& text, const Rect& box, int margin) {
    Point s = MeasureText(w, text);
    return s.x + 2 * margin <= box.width() && s.y <= box.height();
}

bool Intersects(const Rect& a, const Rect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

Rect ScreenRect(const Window* w) {
    QWidget* q = WidgetOf(w);
    if (!q) return w ? w->GetWindowRect() : Rect{};
    QRect g = q->isWindow() ? q->frameGeometry() : QRect(q->mapToGlobal(QPoint(0, 0)), q->size());
    return {g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
}

std::string DescribeFaults(const std::vector<LayoutFault>& faults) {
    std::string out;
    for (const LayoutFault& f : faults) out += f.what + "\n";
    return out;
}

}  // namespace plat

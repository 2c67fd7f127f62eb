#include "platform/controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QKeyEvent>
#include <QPalette>
#include <QPointer>

#include <algorithm>

#include "platform/window_impl.h"

namespace plat {
namespace {
// The program keeps its texts in UTF-8.
QString Q(const std::string& s) { return QString::fromUtf8(s.c_str()); }
std::string S(const QString& q) { return q.toUtf8().toStdString(); }
template <class T>
T* As(const Window* w) {
    return w->impl() ? qobject_cast<T*>(w->impl()->widget.data()) : nullptr;
}
}  // namespace

bool Control::CreateControl(const std::string& text, const Rect& r, Window* parent, int id, bool visible) {
    return Create(text, WS_CHILD | (visible ? WS_VISIBLE : 0), r, parent, id);
}

void Control::SetColours(Colour text, Colour background) {
    coloured_ = true;
    textColour_ = text;
    backColour_ = background;
    ApplyColours();
}

void Control::ApplyColours() {
    QWidget* w = impl() ? impl()->widget.data() : nullptr;
    if (!w || !coloured_) return;
    const QColor t(GetRValue(textColour_), GetGValue(textColour_), GetBValue(textColour_));
    const QColor b(GetRValue(backColour_), GetGValue(backColour_), GetBValue(backColour_));
    QPalette pal = w->palette();
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) pal.setColor(role, t);
    for (auto role : {QPalette::Window, QPalette::Base, QPalette::Button}) pal.setColor(role, b);
    w->setPalette(pal);
    w->setAutoFillBackground(true);
    // A coloured field is drawn flat, as the program's coloured edits are.
    if (auto* e = qobject_cast<QLineEdit*>(w)) e->setFrame(false);
}

void Control::Notify(unsigned code) {
    if (GetParent() && IsLiveWindow(GetParent()))
        GetParent()->SendMessage(WM_COMMAND, MAKEWPARAM(unsigned(GetDlgCtrlID()), code), reinterpret_cast<LPARAM>(this));
}

QWidget* Button::CreateNative(QWidget* parent) {
    auto* b = new QPushButton(parent);
    QObject::connect(b, &QPushButton::clicked, [this] { Click(); });
    return b;
}
void Button::NativeSetText(const std::string& text) {
    if (auto* b = As<QPushButton>(this)) b->setText(Q(text));
}

void CheckBox::SetCheck(int on) {
    checked_ = on;
    if (auto* b = As<QAbstractButton>(this)) {
        QSignalBlocker block(b);
        b->setChecked(on != 0);
    }
}
void CheckBox::Click() {
    SetCheck(checked_ ? 0 : 1);
    Notify(BN_CLICKED);
}
// Every change of the box's state is the operator's (the program's own
// SetCheck blocks the signal): a click, Space, or a screen reader's toggle,
// which changes the state without any click.
void CheckBox::Toggled(bool on) {
    checked_ = on;
    Notify(BN_CLICKED);
}
QWidget* CheckBox::CreateNative(QWidget* parent) {
    auto* b = new QCheckBox(parent);
    QObject::connect(b, &QCheckBox::toggled, [this](bool on) { Toggled(on); });
    return b;
}
void CheckBox::NativeCreated() {
    ApplyColours();
    SetCheck(checked_);
}
void CheckBox::NativeSetText(const std::string& text) {
    if (auto* b = As<QAbstractButton>(this)) b->setText(Q(text));
}

QWidget* RadioButton::CreateNative(QWidget* parent) {
    auto* b = new QRadioButton(parent);
    b->setAutoExclusive(false);  // the program switches its groups itself
    QObject::connect(b, &QRadioButton::toggled, [this](bool on) { Toggled(on); });
    return b;
}

QWidget* StaticText::CreateNative(QWidget* parent) { return new QLabel(parent); }
void StaticText::NativeSetText(const std::string& text) {
    if (auto* l = As<QLabel>(this)) l->setText(Q(text));
}

QWidget* GroupBox::CreateNative(QWidget* parent) { return new QGroupBox(parent); }
void GroupBox::NativeSetText(const std::string& text) {
    if (auto* g = As<QGroupBox>(this)) g->setTitle(Q(text));
}

void Edit::SetText(const std::string& text) {
    SetWindowText(text);
    Notify(EN_CHANGE);
}
void Edit::TypeText(const std::string& text) {
    std::string t = text;
    if (limit_ > 0 && int(t.size()) > limit_) t.resize(std::size_t(limit_));
    SetText(t);
}
namespace {
// The field the toolkit edits, with the program's character filter and focus
// bookkeeping in front of the toolkit's own.
//
// A key the field does not keep (any key of a readout that passes keys on,
// Escape, Return or F1 in a text field) goes on to the window the field sits
// in, and so does its release: the toolkit's field takes every release, so a
// window that acts on a key's release (Space and End unkey the transmitter)
// would never see it. A release of a key the field kept stays with the field;
// one whose press the field never saw (pressed before the field had the
// keyboard) is the window's.
class LineEdit : public QLineEdit {
public:
    LineEdit(Edit* owner, QWidget* parent) : QLineEdit(parent), owner_(owner) {}

protected:
    void keyPressEvent(QKeyEvent* ev) override {
        const QPointer<LineEdit> self(this);  // the filter or the toolkit's field may end it
        const int key = ev->key();
        const QString t = ev->text();
        if (IsLiveWindow(owner_) && !t.isEmpty() && t.at(0).unicode() < 256 && owner_->FilterChar(t.at(0).unicode())) {
            ev->accept();
            if (self) held_.insert(key, false);
            return;
        }
        if (!self) return;
        if (IsLiveWindow(owner_) && owner_->PassOnKeys()) {
            ev->ignore();  // the toolkit hands it to the parent widget
            held_.insert(key, true);
            return;
        }
        QLineEdit::keyPressEvent(ev);
        if (self) held_.insert(key, !ev->isAccepted());
    }
    void keyReleaseEvent(QKeyEvent* ev) override {
        const int key = ev->key();
        const auto it = held_.constFind(key);
        const bool passOn = it == held_.constEnd() || it.value();
        // A held key's repeats (release and press pairs) keep it held here.
        if (it != held_.constEnd() && !ev->isAutoRepeat()) held_.remove(key);
        QLineEdit::keyReleaseEvent(ev);
        if (passOn) PassKeyReleaseOn(ev);  // to the parent widget, as its press went
    }
    void focusInEvent(QFocusEvent* ev) override {
        QLineEdit::focusInEvent(ev);
        if (IsLiveWindow(owner_)) NativeFocusIn(owner_);
    }
    void focusOutEvent(QFocusEvent* ev) override {
        // Keys held now are released where the keyboard goes.
        held_.clear();
        QLineEdit::focusOutEvent(ev);
        if (IsLiveWindow(owner_)) NativeFocusOut(owner_, ev->reason());
    }
    // The pointer over an edit is known to it as over any window (the radio
    // window's digit boxes become the wheel's target).
    void enterEvent(QEnterEvent* ev) override {
        QLineEdit::enterEvent(ev);
        if (IsLiveWindow(owner_)) owner_->SendMessage(WM_MOUSEHOVER);
    }
    void leaveEvent(QEvent* ev) override {
        QLineEdit::leaveEvent(ev);
        if (IsLiveWindow(owner_)) owner_->SendMessage(WM_MOUSELEAVE);
    }

private:
    Edit* owner_;
    // Keys pressed in the field and not yet released: true when the press
    // went on to the window.
    QHash<int, bool> held_;
};
}  // namespace

void Edit::SetSel(int start, int end) {
    if (auto* e = As<QLineEdit>(this)) {
        int len = int(e->text().size());
        if (start < 0) {
            e->deselect();
            e->setCursorPosition(len);
            return;
        }
        if (end < 0 || end > len) end = len;
        start = std::clamp(start, 0, end);
        e->setSelection(start, end - start);
    }
}


QWidget* Edit::CreateNative(QWidget* parent) {
    auto* e = new LineEdit(this, parent);
    // Typing, and a screen reader's text set or insert, which edits nothing
    // by keys; the program's own SetText blocks the signal.
    QObject::connect(e, &QLineEdit::textChanged, [this](const QString& t) {
        if (S(t) != GetText()) TypeText(S(t));
    });
    QObject::connect(e, &QLineEdit::editingFinished, [this] { KillFocus(); });
    return e;
}
void Edit::NativeSetText(const std::string& text) {
    if (auto* e = As<QLineEdit>(this)) {
        // The program's own text (a limit may cut it) is no operator's change.
        QSignalBlocker block(e);
        if (e->text() != Q(text)) e->setText(Q(text));
        if (limit_ > 0) e->setMaxLength(limit_);
    }
}

void MultiLineEdit::SetReadOnly(bool on) {
    readOnly_ = on;
    if (auto* e = As<QPlainTextEdit>(this)) e->setReadOnly(on);
}
void MultiLineEdit::AppendText(const std::string& text) { SetText(GetText() + text); }
QWidget* MultiLineEdit::CreateNative(QWidget* parent) {
    auto* e = new QPlainTextEdit(parent);
    e->setReadOnly(readOnly_);
    QObject::connect(e, &QPlainTextEdit::textChanged, [this, e] {
        std::string t = S(e->toPlainText());
        // The widget's line ends are LF; the program's are CR LF.
        std::string crlf;
        for (char c : t) {
            if (c == '\n') crlf += '\r';
            crlf += c;
        }
        if (crlf != GetText()) TypeText(crlf);
    });
    return e;
}
void MultiLineEdit::NativeSetText(const std::string& text) {
    auto* e = As<QPlainTextEdit>(this);
    if (!e) return;
    std::string lf;
    for (char c : text)
        if (c != '\r') lf += c;
    if (S(e->toPlainText()) != lf) {
        QSignalBlocker block(e);
        e->setPlainText(Q(lf));
    }
}

int ListControl::AddString(const std::string& item) {
    items_.push_back(item);
    NativeInsertRow(int(items_.size()) - 1);
    return int(items_.size()) - 1;
}
int ListControl::InsertString(int index, const std::string& item) {
    if (index < 0 || index > int(items_.size())) index = int(items_.size());
    items_.insert(items_.begin() + index, item);
    if (sel_ >= index) ++sel_;
    NativeInsertRow(index);
    return index;
}
int ListControl::DeleteString(int index) {
    if (index < 0 || index >= int(items_.size())) return LB_ERR;
    items_.erase(items_.begin() + index);
    if (sel_ == index) sel_ = -1;
    else if (sel_ > index) --sel_;
    NativeRemoveRow(index);
    return int(items_.size());
}
void ListControl::ResetContent() {
    items_.clear();
    sel_ = -1;
    NativeSync();
}
std::string ListControl::GetItemText(int index) const {
    return index >= 0 && index < int(items_.size()) ? items_[std::size_t(index)] : std::string();
}
int ListControl::FindStringExact(const std::string& item) const {
    for (std::size_t i = 0; i < items_.size(); ++i)
        if (items_[i].size() == item.size() &&
            std::equal(item.begin(), item.end(), items_[i].begin(),
                       [](char a, char b) { return std::toupper(static_cast<unsigned char>(a)) == std::toupper(static_cast<unsigned char>(b)); }))
            return int(i);
    return CB_ERR;
}
int ListControl::SetCurSel(int index) {
    sel_ = index >= 0 && index < int(items_.size()) ? index : -1;
    NativeSelect();
    return sel_ < 0 && index >= 0 ? CB_ERR : sel_;
}
void ListControl::Choose(int index) {
    SetCurSel(index);
    Notify(CBN_SELCHANGE);
}

void ComboBox::NativeSync() {
    auto* c = As<QComboBox>(this);
    if (!c) return;
    QSignalBlocker block(c);
    c->clear();
    for (const auto& i : items_) c->addItem(Q(i));
    c->setCurrentIndex(sel_);
}
void ComboBox::NativeInsertRow(int index) {
    auto* c = As<QComboBox>(this);
    if (!c) return;
    QSignalBlocker block(c);
    c->insertItem(index, Q(items_[std::size_t(index)]));
    c->setCurrentIndex(sel_);
}
void ComboBox::NativeRemoveRow(int index) {
    auto* c = As<QComboBox>(this);
    if (!c) return;
    QSignalBlocker block(c);
    c->removeItem(index);
    c->setCurrentIndex(sel_);
}
void ComboBox::NativeSelect() {
    auto* c = As<QComboBox>(this);
    if (!c) return;
    QSignalBlocker block(c);
    c->setCurrentIndex(sel_);
}
QWidget* ComboBox::CreateNative(QWidget* parent) {
    auto* c = new QComboBox(parent);
    // A pick by mouse, keys or wheel changes the entry and then activates
    // it in the same call: one notification. A change without an activation
    // (a screen reader's) notifies too, and so does picking the entry that
    // was already chosen.
    QObject::connect(c, &QComboBox::currentIndexChanged, [this, c](int i) {
        if (i == sel_) return;
        sel_ = i;  // the widget shows it already
        reported_ = true;
        QMetaObject::invokeMethod(c, [this] { if (IsLiveWindow(this)) reported_ = false; }, Qt::QueuedConnection);
        Notify(CBN_SELCHANGE);
    });
    QObject::connect(c, QOverload<int>::of(&QComboBox::activated), [this](int i) {
        if (reported_) {
            reported_ = false;
            return;
        }
        Choose(i);
    });
    return c;
}

namespace {
// Rows with tabs drawn the way list boxes with tab stops draw them.
class TabStopDelegate : public QStyledItemDelegate {
public:
    TabStopDelegate(const ListBox* box, QObject* parent) : QStyledItemDelegate(parent), box_(box) {}
    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        const QString text = opt.text;
        opt.text.clear();
        opt.widget->style()->drawControl(QStyle::CE_ItemViewItem, &opt, p, opt.widget);
        const QFontMetrics fm(opt.font);
        const int stop = std::max(1, fm.averageCharWidth() * box_->TabStops() / 4);
        p->save();
        p->setPen(opt.palette.color(opt.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text));
        int x = 0;
        const QStringList parts = text.split('\t');
        for (int i = 0; i < parts.size(); ++i) {
            if (i > 0) x = (x / stop + 1) * stop;
            const QRect r = opt.rect.adjusted(3 + x, 0, 0, 0);
            p->drawText(r, Qt::AlignVCenter | Qt::AlignLeft, parts[i]);
            x += fm.horizontalAdvance(parts[i]);
        }
        p->restore();
    }

private:
    const ListBox* box_;
};
}  // namespace

void ListBox::SetTabStops(int dialogUnits) {
    tabStops_ = dialogUnits > 0 ? dialogUnits : 32;
    if (auto* l = As<QListWidget>(this)) l->viewport()->update();
}

void ListBox::NativeSync() {
    auto* l = As<QListWidget>(this);
    if (!l) return;
    QSignalBlocker block(l);
    l->clear();
    for (const auto& i : items_) l->addItem(Q(i));
    l->setCurrentRow(sel_);
}
void ListBox::NativeInsertRow(int index) {
    auto* l = As<QListWidget>(this);
    if (!l) return;
    QSignalBlocker block(l);
    l->insertItem(index, Q(items_[std::size_t(index)]));
    if (l->currentRow() != sel_) l->setCurrentRow(sel_);
}
void ListBox::NativeRemoveRow(int index) {
    auto* l = As<QListWidget>(this);
    if (!l) return;
    QSignalBlocker block(l);
    delete l->takeItem(index);
    if (l->currentRow() != sel_) l->setCurrentRow(sel_);
}
void ListBox::NativeSelect() {
    auto* l = As<QListWidget>(this);
    if (!l) return;
    QSignalBlocker block(l);
    l->setCurrentRow(sel_);
}
void ListBox::DoubleClick(int index) {
    SetCurSel(index);
    Notify(LBN_DBLCLK);
}
QWidget* ListBox::CreateNative(QWidget* parent) {
    auto* l = new QListWidget(parent);
    l->setItemDelegate(new TabStopDelegate(this, l));
    QObject::connect(l, &QListWidget::currentRowChanged, [this](int r) {
        if (r != sel_) Choose(r);
    });
    // A screen reader selects a row without making it current.
    QObject::connect(l, &QListWidget::itemSelectionChanged, [this, l] {
        const QList<QListWidgetItem*> picked = l->selectedItems();
        const int r = picked.isEmpty() ? -1 : l->row(picked.front());
        if (r >= 0 && r != sel_) Choose(r);
    });
    QObject::connect(l, &QListWidget::itemDoubleClicked, [this, l](QListWidgetItem* it) { DoubleClick(l->row(it)); });
    return l;
}

void TabStrip::NativeSync() {
    auto* t = As<QTabBar>(this);
    if (!t) return;
    QSignalBlocker block(t);
    while (t->count() > 0) t->removeTab(0);
    for (const auto& i : items_) t->addTab(Q(i));
    t->setCurrentIndex(sel_);
}
void TabStrip::NativeInsertRow(int index) {
    auto* t = As<QTabBar>(this);
    if (!t) return;
    QSignalBlocker block(t);
    t->insertTab(index, Q(items_[std::size_t(index)]));
    t->setCurrentIndex(sel_);
}
void TabStrip::NativeRemoveRow(int index) {
    auto* t = As<QTabBar>(this);
    if (!t) return;
    QSignalBlocker block(t);
    t->removeTab(index);
    t->setCurrentIndex(sel_);
}
void TabStrip::NativeSelect() {
    auto* t = As<QTabBar>(this);
    if (!t) return;
    QSignalBlocker block(t);
    t->setCurrentIndex(sel_);
}
QWidget* TabStrip::CreateNative(QWidget* parent) {
    auto* t = new QTabBar(parent);
    QObject::connect(t, &QTabBar::currentChanged, [this](int i) {
        if (i != sel_) {
            SetCurSel(i);
            Notify(TCN_SELCHANGE);
        }
    });
    return t;
}

}  // namespace plat

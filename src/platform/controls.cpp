#include "platform/controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>

#include <algorithm>

#include "platform/window_impl.h"

namespace plat {
namespace {
QString Q(const std::string& s) { return QString::fromLatin1(s.c_str()); }
std::string S(const QString& q) { return q.toLatin1().toStdString(); }
template <class T>
T* As(const Window* w) {
    return w->impl() ? qobject_cast<T*>(w->impl()->widget.data()) : nullptr;
}
}  // namespace

bool Control::CreateControl(const std::string& text, const Rect& r, Window* parent, int id, bool visible) {
    return Create(text, WS_CHILD | (visible ? WS_VISIBLE : 0), r, parent, id);
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
QWidget* CheckBox::CreateNative(QWidget* parent) {
    auto* b = new QCheckBox(parent);
    QObject::connect(b, &QCheckBox::clicked, [this](bool on) {
        checked_ = on;
        Notify(BN_CLICKED);
    });
    return b;
}
void CheckBox::NativeCreated() { SetCheck(checked_); }
void CheckBox::NativeSetText(const std::string& text) {
    if (auto* b = As<QAbstractButton>(this)) b->setText(Q(text));
}

QWidget* RadioButton::CreateNative(QWidget* parent) {
    auto* b = new QRadioButton(parent);
    b->setAutoExclusive(false);  // the program switches its groups itself
    QObject::connect(b, &QRadioButton::clicked, [this](bool on) {
        checked_ = on;
        Notify(BN_CLICKED);
    });
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
QWidget* Edit::CreateNative(QWidget* parent) {
    auto* e = new QLineEdit(parent);
    QObject::connect(e, &QLineEdit::textEdited, [this](const QString& t) { TypeText(S(t)); });
    QObject::connect(e, &QLineEdit::editingFinished, [this] { KillFocus(); });
    return e;
}
void Edit::NativeSetText(const std::string& text) {
    if (auto* e = As<QLineEdit>(this)) {
        if (e->text() != Q(text)) {
            QSignalBlocker block(e);
            e->setText(Q(text));
        }
        if (limit_ > 0) e->setMaxLength(limit_);
    }
}

int ListControl::AddString(const std::string& item) {
    items_.push_back(item);
    NativeSync();
    return int(items_.size()) - 1;
}
int ListControl::InsertString(int index, const std::string& item) {
    if (index < 0 || index > int(items_.size())) index = int(items_.size());
    items_.insert(items_.begin() + index, item);
    if (sel_ >= index) ++sel_;
    NativeSync();
    return index;
}
int ListControl::DeleteString(int index) {
    if (index < 0 || index >= int(items_.size())) return LB_ERR;
    items_.erase(items_.begin() + index);
    if (sel_ == index) sel_ = -1;
    else if (sel_ > index) --sel_;
    NativeSync();
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
    NativeSync();
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
QWidget* ComboBox::CreateNative(QWidget* parent) {
    auto* c = new QComboBox(parent);
    QObject::connect(c, QOverload<int>::of(&QComboBox::activated), [this](int i) { Choose(i); });
    return c;
}

void ListBox::NativeSync() {
    auto* l = As<QListWidget>(this);
    if (!l) return;
    QSignalBlocker block(l);
    l->clear();
    for (const auto& i : items_) l->addItem(Q(i));
    l->setCurrentRow(sel_);
}
void ListBox::DoubleClick(int index) {
    SetCurSel(index);
    Notify(LBN_DBLCLK);
}
QWidget* ListBox::CreateNative(QWidget* parent) {
    auto* l = new QListWidget(parent);
    QObject::connect(l, &QListWidget::currentRowChanged, [this](int r) {
        if (r != sel_) Choose(r);
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

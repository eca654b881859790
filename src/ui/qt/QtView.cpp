#include "ui/qt/QtView.h"

#include <QAbstractScrollArea>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcutEvent>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>
#include <set>

#include "ui/Accessible.h"
#include "ui/Ansi.h"
#include "ui/Control.h"
#include "ui/qt/QtAccessible.h"
#include "ui/qt/QtControls.h"
#include "ui/qt/QtWindowBoard.h"
#include "ui/qt/QtWindows.h"

namespace ui {

namespace {

QString qs(const std::string& s) { return QString::fromStdString(s); }

// Model texts use CR LF line breaks; Qt uses LF.
QString display(const std::string& s) {
    QString t = qs(s);
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QChar('\r'), QChar('\n'));
    return t;
}

std::string fromMultiLine(const QString& t) {
    QString s = t;
    s.replace(QChar('\n'), QStringLiteral("\r\n"));
    return s.toStdString();
}

QString objectNameOf(const Control& c) {
    QString n = qs(c.name());
    if (c.index() >= 0) n += QStringLiteral("(%1)").arg(c.index());
    return n;
}

bool stretches(Kind k) {
    return k == Kind::TextBox || k == Kind::ComboBox || k == Kind::ScrollBar || k == Kind::ProgressBar;
}

// -1 passes the key on, 0 swallows it, anything else is the key to use instead.
using KeyFilter = std::function<int(QKeyEvent*)>;

// The key event that types the key code `key` instead of the original key;
// nullptr for a code without a character.
std::unique_ptr<QKeyEvent> replacementKey(const QKeyEvent* original, int key) {
    if (key == 8) return std::make_unique<QKeyEvent>(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
    if (key == 13)
        return std::make_unique<QKeyEvent>(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    const char32_t u = ansiToUnicode(key);
    if (u == 0 || key < 32) return nullptr;
    const QChar ch(static_cast<char16_t>(u));
    return std::make_unique<QKeyEvent>(QEvent::KeyPress, ch.toUpper().unicode(), original->modifiers(), QString(ch));
}

// Types the filter's answer into the editor: -1 the key itself, 0 nothing,
// else the key code to type instead.
template <class Base>
void filteredKey(QKeyEvent* e, const KeyFilter& onKey, Base&& base) {
    const int r = onKey ? onKey(e) : -1;
    if (r < 0) {
        base(e);
        return;
    }
    e->accept();
    if (r == 0) return;
    if (auto replaced = replacementKey(e, r)) base(replaced.get());
}

class QtLineEdit : public QLineEdit {
public:
    using QLineEdit::QLineEdit;
    KeyFilter onKey;

protected:
    void keyPressEvent(QKeyEvent* e) override {
        filteredKey(e, onKey, [this](QKeyEvent* k) { QLineEdit::keyPressEvent(k); });
    }
};

class QtPlainEdit : public QPlainTextEdit {
public:
    using QPlainTextEdit::QPlainTextEdit;
    KeyFilter onKey;

protected:
    void keyPressEvent(QKeyEvent* e) override {
        filteredKey(e, onKey, [this](QKeyEvent* k) { QPlainTextEdit::keyPressEvent(k); });
    }
};

// A list as wide as its longest row (up to a limit).
class QtComboBox : public QComboBox {
public:
    explicit QtComboBox(QWidget* parent) : QComboBox(parent) { setSizeAdjustPolicy(QComboBox::AdjustToContents); }
    // False when the popup must not open (the form went away).
    std::function<bool()> onPopup;

    QSize minimumSizeHint() const override {
        QSize s = QComboBox::minimumSizeHint();
        s.setWidth(std::max(s.width(), std::min(sizeHint().width(), WidestList)));
        return s;
    }
    static constexpr int WidestList = 360;

    void showPopup() override {
        if (onPopup && !onPopup()) return;
        QComboBox::showPopup();
    }
};

// A picture that holds other controls: its image on top, the controls below.
class PictureFrame : public QFrame {
public:
    using QFrame::QFrame;
    QLabel* image = nullptr;
};

// Key code of the character a key press types: 8 Backspace, 13 Enter,
// 32-255 a character of the 8-bit code page; -1 for keys that type nothing
// or a character outside the code page.
int asciiOf(const QKeyEvent* e) {
    if (e->key() == Qt::Key_Backspace) return 8;
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) return 13;
    if (e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return -1;
    const QString t = e->text();
    if (t.size() != 1) return -1;
    const int code = unicodeToAnsi(t.at(0).unicode());
    if (code < 32 || code == 127) return -1;
    return code;
}

// A caption whose access key has no target: "&x" shows as "x", "&&" as "&".
QString withoutAccessKeys(const QString& caption) {
    QString out;
    out.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QChar('&') && i + 1 < caption.size()) ++i;
        out += caption[i];
    }
    return out;
}

void applyFont(QWidget* w, const Font& f) {
    QFont font;  // resolves nothing: the rest comes from the parent
    if (f.bold) font.setBold(true);
    if (f.pointSize > 0) font.setPointSize(f.pointSize);
    w->setFont(font);
}

// Lets a view see the events of its widgets.
class EventHook : public QObject {
public:
    std::function<bool(QObject*, QEvent*)> onEvent;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override { return onEvent && onEvent(watched, e); }
};

void applyColour(QWidget* w, std::uint32_t colour) {
    if (colour == EnabledColour) {
        if (w->testAttribute(Qt::WA_SetPalette)) w->setPalette(QPalette());
        return;
    }
    const QPalette def = QApplication::palette(w);
    QColor base;
    if (colour == GreyedColour) {
        base = def.color(QPalette::Button);
    } else if (colour & 0x80000000u) {
        switch (colour & 0xFFu) {
            case 0x05:
                base = def.color(QPalette::Base);
                break;
            case 0x0F:
                base = def.color(QPalette::Button);
                break;
            case 0x0D:
                base = def.color(QPalette::Highlight);
                break;
            default:
                base = def.color(QPalette::Window);
                break;
        }
    } else {
        base = QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                      static_cast<int>((colour >> 16) & 0xFF));
    }
    QPalette pal = w->palette();
    pal.setColor(QPalette::Base, base);
    w->setPalette(pal);
}

// The width a grid cell wants: its widget's, or that of the row it sits in.
int cellWidth(QLayoutItem* cell) {
    if (QWidget* w = cell->widget()) return w->sizeHint().width();
    return cell->layout() ? cell->layout()->sizeHint().width() : 0;
}

// How far a control set in under `under` moves right: to the caption of an
// option or check box, else one indicator and its spacing.
int indentBelow(const QWidget* under) {
    if (auto* button = qobject_cast<const QAbstractButton*>(under)) return captionOffset(button);
    const QStyle* style = under ? under->style() : QApplication::style();
    return style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, under) +
           style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, under);
}

// Puts `w`, found in `layout` or a layout inside it, into a row of its own
// that starts `by` further right, at the same place.
bool indentIn(QLayout* layout, QWidget* w, int by) {
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem* item = layout->itemAt(i);
        if (QLayout* inner = item->layout(); inner && indentIn(inner, w, by)) return true;
        if (item->widget() != w) continue;
        auto* row = new QHBoxLayout;
        row->setContentsMargins(by, 0, 0, 0);
        row->setSpacing(0);
        const Qt::Alignment alignment = item->alignment();
        if (auto* grid = qobject_cast<QGridLayout*>(layout)) {
            int r = 0, c = 0, rows = 0, cols = 0;
            grid->getItemPosition(i, &r, &c, &rows, &cols);
            delete grid->takeAt(i);
            row->addWidget(w, 0, alignment);  // the widget, not the row, keeps its height for its width
            grid->addLayout(row, r, c, rows, cols);
        } else if (auto* box = qobject_cast<QBoxLayout*>(layout)) {
            const int stretch = box->stretch(i);
            delete box->takeAt(i);
            row->addWidget(w, 0, alignment);
            box->insertLayout(i, row, stretch);
        } else {
            delete row;
            return false;
        }
        return true;
    }
    return false;
}

}  // namespace

QtFormView::QtFormView(Form& form)
    : form_(form), alive_(std::make_shared<bool>(true)), ctx_(std::make_unique<QObject>()) {
    auto hook = std::make_unique<EventHook>();
    auto alive = alive_;
    hook->onEvent = [this, alive](QObject* target, QEvent* e) { return *alive && mnemonic(target, e); };
    mnemonics_ = std::move(hook);
    auto keys = std::make_unique<EventHook>();
    keys->onEvent = [this, alive](QObject* target, QEvent* e) { return *alive && enterKey(target, e); };
    keys_ = std::move(keys);
    build();
}

QtFormView::~QtFormView() {
    *alive_ = false;
    ctx_.reset();                                                           // drops every connection to this view
    if (QCoreApplication::instance()) mnemonics_.release()->deleteLater();  // it may be filtering an event right now
    if (QCoreApplication::instance()) keys_.release()->deleteLater();
    windowboard::gone(this);
}

QWidget* QtFormView::page() const { return page_.data(); }

QWidget* QtFormView::window() const {
    QWidget* w = windowboard::windowShowing(static_cast<const QtPage*>(page_.data()));
    return w ? w : page_.data();
}

QWidget* QtFormView::widget(const Control& control) const {
    auto it = widgets_.find(&control);
    return it == widgets_.end() ? nullptr : it->second.data();
}

bool QtFormView::attached(const Control* c) const {
    const auto& all = form_.controls();
    return std::find(all.begin(), all.end(), c) != all.end();
}

bool QtFormView::owns(const Control* c, const QWidget* w) const {
    auto it = widgets_.find(c);
    return it != widgets_.end() && it->second == w && attached(c);
}

bool QtFormView::hasChildren(const Control* c) const {
    for (const Control* x : form_.controls())
        if (x->container() == c) return true;
    return false;
}

void QtFormView::build() {
    page_ = new QtPage(this);
    page_->setObjectName(qs(form_.name()));

    // The page scrolls where the screen is too small for it; the button row
    // below it stays in sight.
    auto* root = new QVBoxLayout(page_);
    root->setContentsMargins(0, 0, 0, 14);
    root->setSpacing(14);
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("page"));
    auto* body = new QHBoxLayout(page);
    body->setContentsMargins(20, 20, 20, 0);
    body->setSpacing(20);
    QScrollArea* scroller = newPageScroller(page, page_);
    root->addWidget(scroller, 1);
    // A page that scrolls is a Tab stop of its own: read by the page's title.
    QObject::connect(scroller->verticalScrollBar(), &QScrollBar::rangeChanged, ctx_.get(), [this] { nameScroller(); });
    auto* bottom = new QVBoxLayout;
    bottom->setContentsMargins(20, 0, 20, 0);
    bottom->setSpacing(14);
    root->addLayout(bottom);

    bool logos = false;
    for (const Control* c : form_.controls())
        if (!c->container() && c->kind() == Kind::Picture && !hasChildren(c)) logos = true;
    logos_ = new QVBoxLayout;
    logos_->setSpacing(10);
    if (logos) body->addLayout(logos_);
    content_ = new QVBoxLayout;
    content_->setSpacing(10);
    body->addLayout(content_, 1);

    buttonLine_ = new QFrame(page_);
    buttonLine_->setFrameShape(QFrame::HLine);
    buttonLine_->setFrameShadow(QFrame::Sunken);
    bottom->addWidget(buttonLine_);
    buttons_ = new QHBoxLayout;
    buttons_->setSpacing(8);
    buttons_->addStretch(1);
    bottom->addLayout(buttons_);

    place(nullptr, content_, page, true);
    if (logos) logos_->addStretch(1);
    content_->addStretch(1);
    buttonLine_->setVisible(buttons_->count() > 1);

    QObject::connect(qApp, &QApplication::focusChanged, ctx_.get(),
                     [this](QWidget*, QWidget* now) { focusMoved(now); });

    for (Control* c : form_.controls()) {
        auto it = widgets_.find(c);
        if (it == widgets_.end() || !it->second) continue;
        wire(*c, it->second.data());
        syncAll(*c);
    }
    page_->ensurePolished();
    applyIndents();
    alignGrids();
    applyTabOrder();
    applyAccessibleTexts();
}

void QtFormView::applyTabOrder() {
    QWidget* previous = nullptr;
    for (Control* c : tabOrder()) {
        QWidget* w = widget(*c);
        if (!w || (w->focusPolicy() == Qt::NoFocus && !w->focusProxy())) continue;
        if (previous) QWidget::setTabOrder(previous, w);
        previous = w;
    }
}

std::vector<Control*> QtFormView::tabOrder() const {
    std::vector<Control*> order;
    std::set<const Control*> done;
    auto add = [&](Control* c) {
        if (c && done.insert(c).second) order.push_back(c);
    };
    for (Control* c : form_.controls()) {
        if (done.count(c)) continue;
        const std::vector<std::vector<Control*>>* grid = nullptr;
        for (const auto& g : form_.layoutGrids())
            for (const auto& r : g)
                if (!grid && std::find(r.begin(), r.end(), c) != r.end()) grid = &g;
        if (!grid) {
            add(c);
            continue;
        }
        for (const auto& r : *grid)
            for (Control* m : r) add(m);
    }
    return order;
}

namespace {

// The text field of an editable list reads as the list.
void nameTextField(QWidget* w) {
    auto* list = qobject_cast<QComboBox*>(w);
    QLineEdit* field = list ? list->lineEdit() : nullptr;
    if (field && field->accessibleName() != list->accessibleName()) field->setAccessibleName(list->accessibleName());
}

bool isInput(Kind k) {
    return k == Kind::TextBox || k == Kind::ComboBox || k == Kind::CheckBox || k == Kind::OptionButton ||
           k == Kind::ScrollBar;
}

}  // namespace

// The first enabled input in Tab order (of a group of options, the chosen
// one), else the default button; never a button that only leads away.
Control* QtFormView::firstFocus() const {
    for (Control* c : tabOrder()) {
        QWidget* w = widget(*c);
        if (!isInput(c->kind()) || !c->usable() || !w || !w->isEnabled()) continue;
        if (c->kind() == Kind::OptionButton) {
            for (Control* x : form_.controls())
                if (x->kind() == Kind::OptionButton && x->container() == c->container() &&
                    static_cast<OptionButton*>(x)->value() && x->usable())
                    return x;
        }
        return c;
    }
    return usableButton(true);
}

// Names, descriptions and shown values for assistive technology beyond the captions.
void QtFormView::applyAccessibleTexts() {
    installAccessibleControls();
    const auto texts = accessibleTexts(form_);
    for (const auto& [control, w] : widgets_) {
        if (!w || !attached(control)) continue;
        auto it = texts.find(control);
        const QString name = it == texts.end() ? QString() : qs(it->second.name);
        const QString description = it == texts.end() ? QString() : display(it->second.description);
        if (w->accessibleName() != name) w->setAccessibleName(name);
        if (w->accessibleDescription() != description) w->setAccessibleDescription(description);
        nameTextField(w);
        if (auto* bar = qobject_cast<QScrollBar*>(w.data()); bar && it != texts.end() && it->second.shownValue)
            setShownValue(bar, qobject_cast<QLabel*>(widget(*it->second.shownValue)));
    }
}

// The options of one container form one exclusive group, so that they are
// radio buttons to assistive technology and the arrow keys move the choice.
QButtonGroup* QtFormView::optionGroup(const Control* container) {
    QPointer<QButtonGroup>& g = optionGroups_[container];
    if (!g) g = new QButtonGroup(page_);
    return g;
}

// Tab reaches a group of options once: at its chosen option, else at its
// first one that can take the focus.
void QtFormView::optionTabStops(const Control* container) {
    auto it = optionGroups_.find(container);
    if (it == optionGroups_.end() || !it->second) return;
    const QList<QAbstractButton*> buttons = it->second->buttons();
    auto reachable = [](const QAbstractButton* b) { return b && b->isEnabled() && !b->isHidden(); };
    QAbstractButton* stop = it->second->checkedButton();
    if (!reachable(stop)) {
        stop = nullptr;
        for (QAbstractButton* b : buttons)
            if (!stop && reachable(b)) stop = b;
    }
    for (QAbstractButton* b : buttons) b->setFocusPolicy(b == stop ? Qt::StrongFocus : Qt::ClickFocus);
}

// A tick changed on the widget (a click, Space, an arrow key, an
// accessibility action) reaches the model as a click, whose handler runs
// once; the widgets then show what the model holds.
void QtFormView::buttonToggled(Control* c) {
    auto* b = attached(c) ? qobject_cast<QAbstractButton*>(widget(*c)) : nullptr;
    if (!b) return;
    if (c->kind() == Kind::CheckBox) {
        const Qt::CheckState state = static_cast<QCheckBox*>(b)->checkState();
        const int shown = state == Qt::Checked ? 1 : state == Qt::PartiallyChecked ? 2 : 0;
        if (shown == static_cast<CheckBox*>(c)->value()) return;
        clickControl(c);
        return;
    }
    // An option unticked by the choice of another one follows that choice.
    if (!b->isChecked() || static_cast<OptionButton*>(c)->value()) return;
    const Control* group = c->container();
    std::shared_ptr<bool> alive = alive_;
    clickControl(c);
    if (!*alive) return;
    for (Control* x : form_.controls())
        if (x->kind() == Kind::OptionButton && x->container() == group) syncState(*x);
}

// Enter presses the button that has the focus, as Space does; elsewhere the
// default button, but in a multi-line text box that takes the key itself.
bool QtFormView::enterKey(QObject* target, QEvent* e) {
    if (e->type() != QEvent::KeyPress) return false;
    const auto* k = static_cast<QKeyEvent*>(e);
    if ((k->key() != Qt::Key_Return && k->key() != Qt::Key_Enter) || (k->modifiers() & ~Qt::KeypadModifier))
        return false;
    if (auto* p = qobject_cast<QPlainTextEdit*>(target); p && !p->isReadOnly()) return false;
    if (auto* b = qobject_cast<QPushButton*>(target)) {
        b->click();
        return true;
    }
    return keyPressed(Qt::Key_Return);
}

void QtFormView::place(Control* container, QBoxLayout* into, QWidget* parent, bool topLevel) {
    std::set<const Control*> done;
    QWidget* above = nullptr;  // the control placed on its own just before
    const auto& rows = form_.layoutRows();
    for (Control* c : form_.controls()) {
        if (c->container() != container || c->kind() == Kind::Timer || done.count(c)) continue;
        // A grid stands where its first control stands.
        const std::vector<std::vector<Control*>>* grid = nullptr;
        for (const auto& g : form_.layoutGrids())
            for (const auto& r : g)
                if (!grid && std::find(r.begin(), r.end(), c) != r.end()) grid = &g;
        if (grid) {
            placeGrid(*grid, container, into, parent, done);
            above = nullptr;
            continue;
        }
        const std::vector<Control*>* row = nullptr;
        for (const auto& r : rows)
            if (std::find(r.begin(), r.end(), c) != r.end()) {
                row = &r;
                break;
            }
        if (row) {
            auto* h = new QHBoxLayout;
            h->setSpacing(8);
            into->addLayout(h);
            bool stretchy = false;
            for (Control* m : *row) {
                if (m->container() != container || m->kind() == Kind::Timer || done.count(m)) continue;
                done.insert(m);
                QWidget* w = makeWidget(*m, parent);
                if (auto* label = qobject_cast<QLabel*>(w); label && m->kind() == Kind::Label)
                    label->setWordWrap(false);
                const bool s = stretches(m->kind());
                stretchy = stretchy || s;
                h->addWidget(w, s ? 1 : 0);
            }
            if (!stretchy) h->addStretch(1);
            above = nullptr;
            continue;
        }
        done.insert(c);
        if (topLevel && c->kind() == Kind::CommandButton) {
            buttons_->addWidget(makeWidget(*c, parent));
        } else if (topLevel && c->kind() == Kind::Picture && !hasChildren(c)) {
            logos_->addWidget(makeWidget(*c, parent), 0, Qt::AlignTop | Qt::AlignLeft);
        } else if (c->kind() == Kind::CommandButton) {
            into->addWidget(makeWidget(*c, parent), 0, Qt::AlignLeft);  // natural width
        } else {
            QWidget* w = makeWidget(*c, parent);
            into->addWidget(w);
            // The description right below an option lines up with its caption.
            auto* option = qobject_cast<QAbstractButton*>(above);
            if (auto* label = qobject_cast<QLabel*>(w); label && option && c->kind() == Kind::Label)
                label->setIndent(captionOffset(option));
            above = w;
            continue;
        }
        above = nullptr;
    }
}

// Rows whose columns line up: captions at their natural width, inputs
// stretching, buttons at their natural width. A label with nothing after it
// in its row is a description: it takes the rest of the row and wraps. The
// last control of a row shorter than the others takes the columns the row
// leaves out. Help buttons in a last column of their own stand on the right.
// A description in the first column right below an option lines up with the
// option's caption.
void QtFormView::placeGrid(const std::vector<std::vector<Control*>>& grid, Control* container, QBoxLayout* into,
                           QWidget* parent, std::set<const Control*>& done) {
    auto* g = new QGridLayout;
    g->setHorizontalSpacing(10);
    g->setVerticalSpacing(8);
    into->addLayout(g);
    auto placed = [&](const Control* m) {
        return m && m->container() == container && m->kind() != Kind::Timer && !done.count(m);
    };
    std::size_t columns = 0;
    for (const auto& row : grid) columns = std::max(columns, row.size());
    std::vector<bool> stretchy(columns, false), described(columns, false), buttonsOnly(columns, true);
    QAbstractButton* optionAbove = nullptr;  // an option or check box alone on the row before
    for (std::size_t r = 0; r < grid.size(); ++r) {
        const auto& row = grid[r];
        QAbstractButton* alone = nullptr;
        int cells = 0;
        for (std::size_t k = 0; k < row.size(); ++k) {
            Control* m = row[k];
            if (!placed(m)) continue;
            done.insert(m);
            QWidget* w = makeWidget(*m, parent);
            if (cells++ == 0 && (m->kind() == Kind::OptionButton || m->kind() == Kind::CheckBox))
                alone = static_cast<QAbstractButton*>(w);
            const bool last = std::none_of(row.begin() + static_cast<std::ptrdiff_t>(k) + 1, row.end(),
                                           [](const Control* x) { return x != nullptr; });
            const auto at = static_cast<int>(r), col = static_cast<int>(k);
            buttonsOnly[k] = buttonsOnly[k] && m->kind() == Kind::CommandButton;
            if (m->kind() == Kind::Label && last) {
                described[k] = true;
                // Right below an option: lined up with its caption.
                if (k == 0 && optionAbove) static_cast<QLabel*>(w)->setIndent(captionOffset(optionAbove));
                g->addWidget(w, at, col, 1, static_cast<int>(columns - k));
                continue;
            }
            if (auto* label = qobject_cast<QLabel*>(w); label && m->kind() == Kind::Label) label->setWordWrap(false);
            const bool s = stretches(m->kind());
            stretchy[k] = stretchy[k] || s;
            const int span = k + 1 == row.size() ? static_cast<int>(columns - k) : 1;
            g->addWidget(w, at, col, 1, span, s ? Qt::Alignment() : Qt::AlignLeft | Qt::AlignVCenter);
        }
        optionAbove = cells == 1 ? alone : nullptr;
    }
    // Room beyond what the cells need goes to the inputs, else to the
    // descriptions, else to the column before the help buttons.
    if (std::find(stretchy.begin(), stretchy.end(), true) == stretchy.end()) stretchy = described;
    if (std::find(stretchy.begin(), stretchy.end(), true) == stretchy.end() && columns > 1 && buttonsOnly.back())
        stretchy[columns - 2] = true;
    bool any = false;
    for (std::size_t k = 0; k < columns; ++k) {
        if (!stretchy[k]) continue;
        g->setColumnStretch(static_cast<int>(k), 1);
        any = true;
    }
    if (!any) g->setColumnStretch(static_cast<int>(columns), 1);
    grids_.push_back({g, stretchy});
}

// The columns before the first stretching one (check boxes, captions) get
// one width in every grid of the form, so that the inputs after them start
// at one x, also across frames.
void QtFormView::alignGrids() {
    if (grids_.size() < 2) return;
    std::vector<int> widths;
    auto eachLeadingCell = [this](auto&& f) {
        for (const auto& [g, stretchy] : grids_) {
            const auto leading =
                static_cast<std::size_t>(std::find(stretchy.begin(), stretchy.end(), true) - stretchy.begin());
            for (int i = 0; i < g->count(); ++i) {
                int row = 0, col = 0, rows = 0, cols = 0;
                g->getItemPosition(i, &row, &col, &rows, &cols);
                QLayoutItem* cell = g->itemAt(i);
                const auto k = static_cast<std::size_t>(col);
                if ((cell->widget() || cell->layout()) && cols == 1 && k < leading) f(g, k, cell);
            }
        }
    };
    eachLeadingCell([&](QGridLayout*, std::size_t k, QLayoutItem* cell) {
        if (widths.size() <= k) widths.resize(k + 1, 0);
        widths[k] = std::max(widths[k], cellWidth(cell));
    });
    eachLeadingCell(
        [&](QGridLayout* g, std::size_t k, QLayoutItem*) { g->setColumnMinimumWidth(static_cast<int>(k), widths[k]); });
}

// Controls set in under another one start where its caption starts: each
// moves into a row of its own whose left margin is that offset.
void QtFormView::applyIndents() {
    for (const Form::Indent& indent : form_.layoutIndents()) {
        QWidget* under = indent.under ? widget(*indent.under) : nullptr;
        const int by = indentBelow(under);
        for (const Control* c : indent.controls) {
            QWidget* w = widget(*c);
            if (w && w->parentWidget() && w->parentWidget()->layout()) indentIn(w->parentWidget()->layout(), w, by);
        }
    }
}

QWidget* QtFormView::makeWidget(Control& c, QWidget* parent) {
    QWidget* w = nullptr;
    switch (c.kind()) {
        case Kind::Label: {
            auto* l = new QLabel(parent);
            l->setTextFormat(Qt::PlainText);
            l->setWordWrap(true);
            l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            w = l;
            break;
        }
        case Kind::TextBox: {
            auto& tb = static_cast<TextBox&>(c);
            if (tb.multiLine()) {
                auto* e = new QtPlainEdit(parent);
                e->setTabChangesFocus(true);
                e->setMinimumHeight(72);
                w = e;
            } else {
                w = new QtLineEdit(parent);
            }
            break;
        }
        case Kind::CommandButton: {
            auto& cb = static_cast<CommandButton&>(c);
            auto* b = new QPushButton(parent);
            b->setAutoDefault(false);  // Enter is the focused button's, else the default button's
            b->setDefault(cb.isDefault());
            b->setMinimumWidth(88);
            b->installEventFilter(mnemonics_.get());
            w = b;
            break;
        }
        case Kind::CheckBox:
            w = newWrappingCheckBox(parent);
            w->installEventFilter(mnemonics_.get());
            break;
        case Kind::OptionButton: {
            auto* r = newWrappingRadioButton(parent);
            r->setAutoExclusive(true);
            optionGroup(c.container())->addButton(r);
            r->installEventFilter(mnemonics_.get());
            w = r;
            break;
        }
        case Kind::ComboBox: {
            if (dynamic_cast<const ListBox*>(&c)) {
                w = newListBox(parent);
                break;
            }
            auto* cb = new QtComboBox(parent);
            cb->setInsertPolicy(QComboBox::NoInsert);
            cb->setMinimumContentsLength(12);
            w = cb;
            break;
        }
        case Kind::Frame: {
            auto* g = newCaptionedFrame(parent);
            auto* inner = new QVBoxLayout(g);
            inner->setSpacing(8);
            inner_[&c] = inner;
            widgets_[&c] = g;
            place(&c, inner, g, false);
            w = g;
            break;
        }
        case Kind::Picture: {
            if (hasChildren(&c)) {
                auto* f = new PictureFrame(parent);
                auto* inner = new QVBoxLayout(f);
                inner->setSpacing(8);
                f->image = new QLabel(f);
                f->image->setObjectName(QStringLiteral("image"));
                inner->addWidget(f->image, 0, Qt::AlignLeft | Qt::AlignTop);
                inner_[&c] = inner;
                widgets_[&c] = f;
                place(&c, inner, f, false);
                w = f;
            } else {
                auto* l = new QLabel(parent);
                l->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
                w = l;
            }
            break;
        }
        case Kind::Timer:
            return nullptr;
        case Kind::ProgressBar: {
            auto* p = new QProgressBar(parent);
            p->setRange(0, 100);
            p->setTextVisible(false);
            w = p;
            break;
        }
        case Kind::ScrollBar:
            w = newSteppingScrollBar(parent);
            break;
    }
    w->setObjectName(objectNameOf(c));
    w->installEventFilter(keys_.get());
    widgets_[&c] = w;
    return w;
}

// A control made after the form loaded gets its widget at its first change.
QWidget* QtFormView::ensureWidget(Control& c) {
    if (QWidget* w = widget(c)) return w;
    if (c.kind() == Kind::Timer || !page_) return nullptr;
    QWidget* parent = page_;
    QBoxLayout* into = content_;
    if (Control* box = c.container()) {
        auto it = inner_.find(box);
        if (it != inner_.end()) {
            into = it->second;
            parent = widget(*box);
        }
    }
    QWidget* w = makeWidget(c, parent);
    if (into == content_ && c.kind() == Kind::CommandButton) {
        buttons_->addWidget(w);
        buttonLine_->setVisible(true);
    } else if (into == content_) {
        content_->insertWidget(content_->count() - 1, w);  // before the closing stretch
    } else {
        into->addWidget(w);
    }
    wire(c, w);
    syncAll(c);
    // Labels that name it get their buddy now.
    for (Control* x : form_.controls())
        if (x->kind() == Kind::Label && static_cast<Label*>(x)->buddy() == &c)
            if (auto* l = qobject_cast<QLabel*>(widget(*x))) syncLabel(static_cast<Label&>(*x), l);
    applyTabOrder();
    applyAccessibleTexts();
    return w;
}

template <class F>
void QtFormView::input(Control* c, F&& action) {
    if (!attached(c)) return;
    std::shared_ptr<bool> alive = alive_;
    action(*c);  // may unload the form and so destroy this view
    if (!*alive || !attached(c)) return;
    syncState(*c, true);
}

void QtFormView::clickControl(Control* c) {
    input(c, [](Control& x) {
        if (x.kind() == Kind::CommandButton)
            static_cast<CommandButton&>(x).click();
        else if (x.kind() == Kind::CheckBox)
            static_cast<CheckBox&>(x).click();
        else if (x.kind() == Kind::OptionButton)
            static_cast<OptionButton&>(x).click();
    });
}

// Qt answers an access key on a button with a click animated over 100 ms;
// the model gets the click at once instead.
bool QtFormView::mnemonic(QObject* target, QEvent* e) {
    if (e->type() != QEvent::Shortcut || static_cast<QShortcutEvent*>(e)->isAmbiguous()) return false;
    auto* w = qobject_cast<QWidget*>(target);
    if (!w) return false;
    for (const auto& [control, widget] : widgets_) {
        if (widget != w || !attached(control)) continue;
        w->setFocus(Qt::ShortcutFocusReason);
        clickControl(const_cast<Control*>(control));
        return true;
    }
    return false;
}

void QtFormView::wire(Control& c, QWidget* w) {
    Control* cp = &c;
    QObject* ctx = ctx_.get();
    auto alive = alive_;
    switch (c.kind()) {
        case Kind::TextBox:
            if (auto* e = dynamic_cast<QtLineEdit*>(w)) {
                e->onKey = [this, alive, cp, e](QKeyEvent* ev) {
                    if (!*alive) return 0;
                    return owns(cp, e) ? lineKey(cp, asciiOf(ev)) : -1;
                };
                QObject::connect(e, &QLineEdit::textEdited, ctx, [this, cp](const QString& t) {
                    input(cp, [&](Control& x) { static_cast<TextBox&>(x).userType(t.toStdString()); });
                });
            } else if (auto* p = dynamic_cast<QtPlainEdit*>(w)) {
                p->onKey = [this, alive, cp, p](QKeyEvent* ev) {
                    if (!*alive) return 0;
                    return owns(cp, p) ? lineKey(cp, asciiOf(ev)) : -1;
                };
                QObject::connect(p, &QPlainTextEdit::textChanged, ctx, [this, cp, p] {
                    const std::string text = fromMultiLine(p->toPlainText());
                    input(cp, [&](Control& x) { static_cast<TextBox&>(x).userType(text); });
                });
            }
            break;
        case Kind::CommandButton:
            QObject::connect(static_cast<QAbstractButton*>(w), &QAbstractButton::clicked, ctx,
                             [this, cp] { clickControl(cp); });
            break;
        case Kind::CheckBox:
            QObject::connect(static_cast<QCheckBox*>(w), &QCheckBox::stateChanged, ctx,
                             [this, cp] { buttonToggled(cp); });
            break;
        case Kind::OptionButton:
            QObject::connect(static_cast<QAbstractButton*>(w), &QAbstractButton::toggled, ctx,
                             [this, cp] { buttonToggled(cp); });
            break;
        case Kind::ComboBox: {
            if (auto* list = qobject_cast<QListWidget*>(w)) {
                wireList(cp, list);
                break;
            }
            auto* cb = static_cast<QtComboBox*>(w);
            cb->onPopup = [this, alive, cp, cb] {
                if (!*alive || !owns(cp, cb)) return false;
                input(cp, [](Control& x) { static_cast<ComboBox&>(x).userDropDown(); });
                return *alive;
            };
            QObject::connect(cb, &QComboBox::activated, ctx, [this, cp](int row) {
                input(cp, [row](Control& x) { static_cast<ComboBox&>(x).userSelect(row); });
            });
            break;
        }
        case Kind::ScrollBar:
            QObject::connect(static_cast<QScrollBar*>(w), &QScrollBar::valueChanged, ctx, [this, cp](int v) {
                input(cp, [v](Control& x) { static_cast<ScrollBar&>(x).userSet(v); });
            });
            break;
        default:
            break;
    }
}

// The key press of a text box: the model's handler sees typed characters
// first and may change or swallow them. Enter goes to the default button
// when the form has one the user can reach.
int QtFormView::lineKey(Control* c, int key) {
    if (key < 0 || !attached(c)) return -1;
    auto& tb = static_cast<TextBox&>(*c);
    if (key == 13 && !tb.multiLine()) {
        if (usableButton(true)) return -1;  // the window clicks the default button
        input(c, [](Control& x) { static_cast<TextBox&>(x).userKey(13); });
        return 0;
    }
    if (!tb.onKeyPress || !tb.usable()) return -1;
    int k = key;
    std::shared_ptr<bool> alive = alive_;
    form_.dispatch([&] { tb.onKeyPress(k); });
    if (!*alive) return 0;
    return k == key ? -1 : k;
}

CommandButton* QtFormView::usableButton(bool isDefault) const {
    for (Control* c : form_.controls()) {
        if (c->kind() != Kind::CommandButton) continue;
        auto* b = static_cast<CommandButton*>(c);
        if ((isDefault ? b->isDefault() : b->isCancel()) && b->usable()) return b;
    }
    return nullptr;
}

bool QtFormView::keyPressed(int key) {
    CommandButton* b = usableButton(key != Qt::Key_Escape);
    if (!b) return false;
    input(b, [](Control& x) { static_cast<CommandButton&>(x).click(); });
    return true;
}

void QtFormView::focusMoved(QWidget* now) {
    for (QWidget* w = now; w; w = w->parentWidget()) {
        if (w == page_) return;
        for (const auto& [control, widget] : widgets_) {
            if (widget == w && attached(control)) {
                form_.setFocused(const_cast<Control*>(control));
                return;
            }
        }
    }
}

void QtFormView::visibilityChanged(bool visible, bool modal) {
    if (!page_) return;
    if (visible)
        windowboard::shown(this, modal);
    else
        windowboard::hidden(this);
}

void QtFormView::focusFirst() {
    Control* f = firstFocus();
    if (!f) return;
    form_.setFocused(f);
    if (QWidget* w = widget(*f)) w->setFocus(Qt::OtherFocusReason);
}

void QtFormView::captionChanged() {
    windowboard::captionChanged(static_cast<const QtPage*>(page_.data()), qs(form_.caption()));
    nameScroller();
}

void QtFormView::nameScroller() {
    auto* s = page_ ? page_->findChild<QScrollArea*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
    if (!s) return;
    const QString name = s->focusPolicy() == Qt::NoFocus ? QString() : qs(form_.caption());
    if (s->accessibleName() != name) s->setAccessibleName(name);
}

void QtFormView::controlChanged(Control& control, Property property) {
    if (!ensureWidget(control)) return;
    sync(control, property);
}

void QtFormView::controlRemoved(Control& control) {
    inner_.erase(&control);
    auto it = widgets_.find(&control);
    if (it == widgets_.end()) return;
    QWidget* w = it->second.data();
    widgets_.erase(it);
    if (!w) return;
    QObject::disconnect(w, nullptr, ctx_.get(), nullptr);
    if (auto* b = qobject_cast<QAbstractButton*>(w); b && b->group()) b->group()->removeButton(b);
    if (auto* cb = qobject_cast<QComboBox*>(w); cb && cb->lineEdit())
        QObject::disconnect(cb->lineEdit(), nullptr, ctx_.get(), nullptr);
    w->hide();
    w->deleteLater();  // it may be delivering a signal right now
}

void QtFormView::syncAll(Control& c) {
    QWidget* w = widget(c);
    if (!w) return;
    {
        QSignalBlocker block(w);
        syncStyle(c, w);
        syncCaption(c, w);
        w->setEnabled(c.enabled());
        w->setToolTip(qs(c.toolTip()));
        applyColour(w, c.backColor());
    }
    syncState(c);
    if (!c.visible()) w->setVisible(false);
    if (c.kind() == Kind::OptionButton) optionTabStops(c.container());
}

void QtFormView::sync(Control& c, Property p) {
    QWidget* w = widget(c);
    if (!w) return;
    QSignalBlocker block(w);
    switch (p) {
        case Property::Enabled:
            w->setEnabled(c.enabled());
            if (c.kind() == Kind::OptionButton) optionTabStops(c.container());
            break;
        case Property::Visible:
            w->setVisible(c.visible());
            if (c.kind() == Kind::OptionButton) optionTabStops(c.container());
            break;
        case Property::BackColor:
            applyColour(w, c.backColor());
            break;
        case Property::ToolTip:
            w->setToolTip(qs(c.toolTip()));
            applyAccessibleTexts();  // a description ends with the tool tip
            break;
        case Property::Focus:
            w->setFocus(Qt::OtherFocusReason);
            // The text is selected, to be typed over.
            if (auto* e = qobject_cast<QLineEdit*>(w)) e->selectAll();
            if (auto* cb = qobject_cast<QComboBox*>(w); cb && cb->lineEdit()) cb->lineEdit()->selectAll();
            break;
        case Property::Caption:
        case Property::Font:
        case Property::Buddy:
            syncCaption(c, w);
            if (p != Property::Font) applyAccessibleTexts();
            break;
        case Property::Style:
            syncStyle(c, w);
            syncState(c);
            break;
        default:
            syncState(c);
            break;
    }
}

void QtFormView::syncCaption(Control& c, QWidget* w) {
    switch (c.kind()) {
        case Kind::Label:
            syncLabel(static_cast<Label&>(c), static_cast<QLabel*>(w));
            break;
        case Kind::CommandButton: {
            auto* b = static_cast<QPushButton*>(w);
            b->setText(qs(static_cast<CommandButton&>(c).caption()));
            b->setMinimumWidth(std::max(b->minimumWidth(), b->minimumSizeHint().width()));  // never cut
            break;
        }
        case Kind::CheckBox:
            static_cast<QCheckBox*>(w)->setText(qs(static_cast<CheckBox&>(c).caption()));
            break;
        case Kind::OptionButton:
            static_cast<QRadioButton*>(w)->setText(qs(static_cast<OptionButton&>(c).caption()));
            break;
        case Kind::Frame:  // blanks around a caption would only shift it along the border
            static_cast<QGroupBox*>(w)->setTitle(qs(static_cast<Frame&>(c).caption()).trimmed());
            break;
        default:
            break;
    }
}

// The caption, font and buddy of a label. A label with a buddy shows its
// access key underlined and moves the focus there on Alt+letter; assistive
// technology names the buddy by the caption.
void QtFormView::syncLabel(Label& l, QLabel* w) {
    QWidget* buddy = l.buddy() ? widget(*l.buddy()) : nullptr;
    const QString text = display(l.caption());
    w->setText(buddy ? text : withoutAccessKeys(text));
    if (w->buddy() != buddy) w->setBuddy(buddy);
    applyFont(w, l.font());
}

void QtFormView::syncStyle(Control& c, QWidget* w) {
    if (c.kind() == Kind::TextBox) {
        auto& tb = static_cast<TextBox&>(c);
        if (auto* e = qobject_cast<QLineEdit*>(w)) {
            setMaskCharacter(e, tb.passwordChar());
            e->setMaxLength(tb.maxLength() > 0 ? tb.maxLength() : 32767);
            e->setReadOnly(tb.locked());
        } else if (auto* p = qobject_cast<QPlainTextEdit*>(w)) {
            p->setReadOnly(tb.locked());
        }
    } else if (auto* cb = qobject_cast<QComboBox*>(w); cb && c.kind() == Kind::ComboBox) {
        const bool editable = static_cast<ComboBox&>(c).style() == ComboBox::Style::DropDownCombo;
        if (cb->isEditable() != editable) {
            cb->setEditable(editable);
            if (editable) {
                cb->setCompleter(nullptr);  // the text is what the user typed
                nameTextField(cb);
                Control* cp = &c;
                QObject::connect(cb->lineEdit(), &QLineEdit::textEdited, ctx_.get(), [this, cp](const QString& t) {
                    input(cp, [&](Control& x) { static_cast<ComboBox&>(x).userType(t.toStdString()); });
                });
            }
        }
    }
}

void QtFormView::syncState(Control& c, bool afterInput) {
    QWidget* w = widget(c);
    if (!w) return;
    QSignalBlocker block(w);
    switch (c.kind()) {
        case Kind::TextBox: {
            auto& tb = static_cast<TextBox&>(c);
            if (auto* e = qobject_cast<QLineEdit*>(w)) {
                const QString t = qs(tb.text());
                if (e->text() != t) {
                    // Characters the model refused leave the cursor where the typing stood.
                    const qsizetype refused = std::max<qsizetype>(0, e->text().size() - t.size());
                    const qsizetype cursor = std::clamp<qsizetype>(e->cursorPosition() - refused, 0, t.size());
                    e->setText(t);
                    if (afterInput) e->setCursorPosition(static_cast<int>(cursor));
                }
                e->setReadOnly(tb.locked());
            } else if (auto* p = qobject_cast<QPlainTextEdit*>(w)) {
                const QString t = display(tb.text());
                if (p->toPlainText() != t) p->setPlainText(t);
                p->setReadOnly(tb.locked());
            }
            break;
        }
        case Kind::CheckBox: {
            auto* box = static_cast<QCheckBox*>(w);
            const int v = static_cast<CheckBox&>(c).value();
            box->setTristate(v == 2);
            box->setCheckState(v == 2 ? Qt::PartiallyChecked : v == 1 ? Qt::Checked : Qt::Unchecked);
            break;
        }
        case Kind::OptionButton: {
            auto* r = static_cast<QRadioButton*>(w);
            const bool on = static_cast<OptionButton&>(c).value();
            if (r->isChecked() != on) {
                // An exclusive group keeps its chosen option ticked.
                QButtonGroup* g = on ? nullptr : r->group();
                if (g) g->setExclusive(false);
                r->setChecked(on);
                if (g) g->setExclusive(true);
            }
            optionTabStops(c.container());
            break;
        }
        case Kind::ComboBox: {
            auto& model = static_cast<ComboBox&>(c);
            if (auto* list = qobject_cast<QListWidget*>(w)) {
                syncList(model, list);
                break;
            }
            auto* cb = static_cast<QComboBox*>(w);
            QStringList items;
            for (const auto& i : model.items()) items << qs(i);
            QStringList shown;
            for (int i = 0; i < cb->count(); ++i) shown << cb->itemText(i);
            if (shown != items) {
                cb->clear();
                cb->addItems(items);
            }
            if (cb->currentIndex() != model.listIndex()) cb->setCurrentIndex(model.listIndex());
            if (cb->isEditable()) {
                const QString t = qs(model.text());
                if (cb->currentText() != t) cb->setEditText(t);
            }
            break;
        }
        case Kind::Picture: {
            const QPixmap img = pictureImage(static_cast<Picture&>(c).image());
            if (auto* f = dynamic_cast<PictureFrame*>(w))
                f->image->setPixmap(img);
            else if (auto* l = qobject_cast<QLabel*>(w))
                l->setPixmap(img);
            break;
        }
        case Kind::ProgressBar:
            static_cast<QProgressBar*>(w)->setValue(static_cast<ProgressBar&>(c).value());
            break;
        case Kind::ScrollBar: {
            auto& sb = static_cast<ScrollBar&>(c);
            auto* bar = static_cast<QScrollBar*>(w);
            bar->setInvertedAppearance(sb.min() > sb.max());
            bar->setRange(std::min(sb.min(), sb.max()), std::max(sb.min(), sb.max()));
            bar->setSingleStep(sb.smallChange());
            bar->setPageStep(sb.largeChange());
            bar->setValue(sb.value());
            break;
        }
        default:
            break;
    }
}

// A list box picks its row as the user moves through it (arrows, Home, End,
// a click).
void QtFormView::wireList(Control* c, QListWidget* list) {
    QObject::connect(list, &QListWidget::currentRowChanged, ctx_.get(), [this, c](int row) {
        if (row >= 0) input(c, [row](Control& x) { static_cast<ComboBox&>(x).userSelect(row); });
    });
}

void QtFormView::syncList(const ComboBox& model, QListWidget* list) {
    QStringList items;
    for (const auto& i : model.items()) items << qs(i);
    QStringList shown;
    for (int i = 0; i < list->count(); ++i) shown << list->item(i)->text();
    if (shown != items) {
        list->clear();
        list->addItems(items);
        list->updateGeometry();  // as high as its rows
    }
    if (list->currentRow() != model.listIndex()) list->setCurrentRow(model.listIndex());
}

// ---------------------------------------------------------------------------

std::unique_ptr<FormView> QtViewFactory::create(Form& form) { return std::make_unique<QtFormView>(form); }

QtFormView* qtView(const Form& form) { return dynamic_cast<QtFormView*>(form.view()); }

QWidget* windowOf(const Form& form) {
    settleWindows();
    QtFormView* v = qtView(form);
    return v ? v->window() : nullptr;
}

QWidget* widgetOf(const Control& control) {
    settleWindows();
    QtFormView* v = qtView(control.form());
    return v ? v->widget(control) : nullptr;
}

bool grabToPng(Form& form, const std::string& path) {
    QWidget* w = windowOf(form);
    if (!w) return false;
    w->ensurePolished();
    if (!w->isVisible()) {
        // Laid out as it would be shown, without showing it.
        fitToScreen(w);
        if (QLayout* l = w->layout()) {
            l->invalidate();
            l->activate();
        }
    } else if (QLayout* l = w->layout()) {
        l->activate();
    }
    // Scroll areas show or hide their scroll bars in a queued call after a resize.
    for (auto* area : w->findChildren<QAbstractScrollArea*>())
        QCoreApplication::sendPostedEvents(area, QEvent::MetaCall);
    return w->grab().save(QString::fromStdString(path), "PNG");
}

}  // namespace ui

#include "ui/qt/QtWindowBoard.h"

#include <QAbstractEventDispatcher>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLayout>
#include <QMargins>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "ui/Application.h"
#include "ui/Form.h"
#include "ui/qt/QtView.h"

namespace ui {

// ---------------------------------------------------------------------------
// Placement

namespace {

QScreen* screenOf(const QWidget* w) {
    QScreen* s = w ? w->screen() : nullptr;
    return s ? s : QGuiApplication::primaryScreen();
}

QRect freeArea(const QScreen* screen) { return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768); }

// What the window manager's frame adds around a window's inside: as it is on
// screen; until the manager has said, as around `like` (a window of the
// program on screen), else the room a frame may take, the title bar above.
QMargins frameOf(const QWidget* w, const QWidget* like = nullptr) {
    for (const QWidget* x : {w, like}) {
        if (!x || !x->isVisible()) continue;
        const QRect f = x->frameGeometry(), g = x->geometry();
        if (f != g) return {g.left() - f.left(), g.top() - f.top(), f.right() - g.right(), f.bottom() - g.bottom()};
    }
    const QSize room = frameAllowance(screenOf(w));
    const int side = room.width() / 2;
    return {side, room.height() - side, side, side};
}

QSize extent(const QMargins& m) { return {m.left() + m.right(), m.top() + m.bottom()}; }

// A window's size and the room around it on its screen.
struct Fitting {
    QRect avail;     // the free area of its screen
    QMargins frame;  // its frame
    QSize size;      // its inside
};

// As big as its page wants on its screen, as far as the screen has room.
Fitting fitting(QWidget* w, const QWidget* like) {
    w->ensurePolished();
    Fitting f{freeArea(screenOf(w)), frameOf(w, like), {}};
    f.size = fittedWindowSize(w, f.avail, extent(f.frame));
    return f;
}

// Puts the inside of a window at `topLeft`, moved up and left just enough for
// the window, frame and all, to end on the free area, never past its top-left;
// `whole`: a window placed anew, kept clear of the area's top-left edges too.
// The window is placed by its inside, which the window manager keeps where it
// is put however thick its frame turns out, also at a scale where the frame
// is a fraction of a pixel.
QPoint put(QWidget* w, const Fitting& f, QPoint topLeft, bool whole) {
    auto along = [whole](int at, int low, int high) {
        if (at > high) return std::max(high, low);
        return whole ? std::max(at, low) : at;
    };
    topLeft = {
        along(topLeft.x(), f.avail.left() + f.frame.left(), f.avail.right() + 1 - f.frame.right() - f.size.width()),
        along(topLeft.y(), f.avail.top() + f.frame.top(), f.avail.bottom() + 1 - f.frame.bottom() - f.size.height())};
    if (topLeft != w->geometry().topLeft() || !w->testAttribute(Qt::WA_Moved))
        w->setGeometry(QRect(topLeft, f.size));
    else if (f.size != w->size())
        w->resize(f.size);
    return topLeft;
}

QPoint centredIn(const QRect& area, const QSize& size) {
    return area.topLeft() + QPoint((area.width() - size.width()) / 2, (area.height() - size.height()) / 2);
}

}  // namespace

QSize frameAllowance(const QScreen* screen) {
    if (!screen) screen = QGuiApplication::primaryScreen();
    const qreal ratio = screen ? std::max<qreal>(1, screen->devicePixelRatio()) : 1;
    return {static_cast<int>(std::ceil(FrameAllowanceWidth / ratio)),
            static_cast<int>(std::ceil(FrameAllowanceHeight / ratio))};
}

QSize fittedWindowSize(QWidget* window, const QRect& available, const QSize& frame) {
    QLayout* layout = window->layout();
    if (!layout) return window->sizeHint();
    const QSize minimum = layout->totalMinimumSize().expandedTo(window->minimumSize());
    const int roomWidth = available.width() - frame.width();
    const int roomHeight = available.height() - frame.height();
    auto heightAt = [&](int width) {
        const int h =
            layout->hasHeightForWidth() ? layout->totalHeightForWidth(width) : layout->totalSizeHint().height();
        return std::max(h, minimum.height());
    };
    int width = std::max(minimum.width(), std::min(PreferredWindowWidth, roomWidth));
    int height = heightAt(width);
    // Too high for the screen: wider, so that texts take fewer lines.
    constexpr int Step = 40;
    while (height > roomHeight && width < roomWidth) {
        width = std::min(roomWidth, width + Step);
        height = heightAt(width);
    }
    return {width, std::min(height, std::max(minimum.height(), roomHeight))};
}

void fitToScreen(QWidget* window) {
    window->ensurePolished();
    const QScreen* screen = QGuiApplication::primaryScreen();
    window->resize(fittedWindowSize(window, freeArea(screen), frameAllowance(screen)));
}

void centreOnScreen(QWidget* window) {
    Fitting f{freeArea(screenOf(window)), frameOf(window), window->size()};
    f.size = f.size.boundedTo(f.avail.size() - extent(f.frame));
    put(window, f, centredIn(f.avail, f.size), true);
}

void centreOver(QWidget* window, const QWidget* over) {
    const Fitting f{freeArea(screenOf(over)), frameOf(window, over), window->size()};
    put(window, f, centredIn(over->geometry(), f.size), true);
}

// ---------------------------------------------------------------------------
// Windows

// A window of the program: the wizard window, whose page changes as the user
// goes on or back, or a dialog over the window it was opened from (its
// parent), decided when it is made. It shows one page; Enter, Escape and the
// close button go to that page.
class QtFormWindow : public QWidget {
public:
    explicit QtFormWindow(QWidget* opener, bool dialog);

    bool isDialog() const { return windowType() == Qt::Dialog; }
    QtPage* page() const {
        for (QObject* c : children())
            if (auto* p = dynamic_cast<QtPage*>(c)) return p;
        return nullptr;
    }
    QtFormView* view() const {
        QtPage* p = page();
        return p ? p->view() : nullptr;
    }
    // Its page was hidden or unloaded.
    bool vacant() const {
        QtFormView* v = view();
        return !v || !v->form().isVisible();
    }

    // Puts the page of `v` in this window in place of the page it shows.
    void showPage(QtFormView* v) {
        auto* p = static_cast<QtPage*>(v->page());
        QtPage* old = page();
        if (old && old != p) {
            old->hide();
            old->setParent(nullptr);
            if (!old->view()) old->deleteLater();  // its form is gone
        }
        if (p->parentWidget() != this) {
            p->setParent(this);
            layout()->addWidget(p);
        }
        p->setEnabled(true);
        p->show();
        setObjectName(p->objectName());
        setWindowTitle(QString::fromStdString(v->form().caption()));
    }

    bool closed = false;  // gone from the screen for good, to be deleted
    QPoint placedAt;      // where the program put its inside last

protected:
    void keyPressEvent(QKeyEvent* e) override {
        const int k = e->key();
        QtFormView* v = view();
        if ((k == Qt::Key_Return || k == Qt::Key_Enter || k == Qt::Key_Escape) && v && !vacant()) {
            std::shared_ptr<bool> alive = v->alive_;
            if (v->keyPressed(k)) {
                e->accept();
                return;
            }
            if (!*alive) return;
        }
        QWidget::keyPressEvent(e);
    }
    void closeEvent(QCloseEvent* e) override {
        e->ignore();  // the page's form decides; the window goes when it has no page left
        if (QtFormView* v = view(); v && !vacant()) v->form().userClose();
    }
    bool event(QEvent* e) override;
};

namespace {

// A dialog, or a window that blocks others, is a dialog for assistive
// technology; the wizard window is a frame.
class FormWindowAccessible : public QAccessibleWidget {
public:
    explicit FormWindowAccessible(QtFormWindow* w) : QAccessibleWidget(w, QAccessible::Window), window_(w) {}
    QAccessible::Role role() const override {
        return window_->isDialog() || window_->isModal() ? QAccessible::Dialog : QAccessible::Window;
    }

private:
    QtFormWindow* window_;
};

QAccessibleInterface* formWindowAccessible(const QString&, QObject* object) {
    if (auto* w = dynamic_cast<QtFormWindow*>(object)) return new FormWindowAccessible(w);
    return nullptr;
}

QtFormWindow* windowOfPage(const QWidget* page) {
    return page ? dynamic_cast<QtFormWindow*>(page->parentWidget()) : nullptr;
}

// The window the user is to work in now.
void activate(QWidget* w) {
    // The off-screen platform has no stacking order to change.
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) w->raise();
    w->activateWindow();
}

// A modal window that blocks `w`: one that blocks the whole program, else
// one that blocks the window it was opened over.
QWidget* blockerOf(const QWidget* w) {
    QWidget* found = nullptr;
    for (QWidget* t : QApplication::topLevelWidgets()) {
        if (t == w || !t->isVisible() || !t->isModal()) continue;
        if (t->windowModality() == Qt::ApplicationModal) return t;
        for (const QWidget* p = t->parentWidget(); p && !found; p = p->parentWidget())
            if (p == w) found = t;
    }
    return found;
}

// A form shown since the last settling.
struct Shown {
    QtFormView* view;
    bool modal;
    QPointer<QtFormWindow> opener;  // the window the user worked in then
};

struct Board {
    std::vector<Shown> waiting;  // in the order shown
    int boxes = 0;               // message boxes and file dialogs open
    bool queued = false;
    bool settling = false;
    Application* app = nullptr;  // of the forms shown last
    // The window that is to have the keyboard, where the window manager may
    // give it to another one first.
    QPointer<QWidget> keyboard;

    static Board& get() {
        static Board board;
        return board;
    }

    // The program's windows: Qt's top-level widgets that are form windows.
    static std::vector<QtFormWindow*> windows() {
        std::vector<QtFormWindow*> out;
        for (QWidget* t : QApplication::topLevelWidgets())
            if (auto* w = dynamic_cast<QtFormWindow*>(t); w && !w->closed) out.push_back(w);
        return out;
    }

    static QtFormWindow* wizard() {
        for (QtFormWindow* w : windows())
            if (!w->isDialog()) return w;
        return nullptr;
    }

    // The window the user works in: of the windows showing a page, a modal
    // one, else the one furthest up a line of dialogs.
    static QtFormWindow* active() {
        QtFormWindow* best = nullptr;
        int bestRank = -1;
        for (QtFormWindow* w : windows()) {
            if (!w->isVisible() || w->vacant()) continue;
            int rank = w->isModal() ? 1000 : 0;
            for (QWidget* p = w->parentWidget(); p; p = p->parentWidget()) ++rank;
            if (rank > bestRank || (rank == bestRank && w->isActiveWindow())) {
                best = w;
                bestRank = rank;
            }
        }
        return best;
    }

    // The window the user is to work in; the window manager may give the
    // keyboard to another one first, as it chooses when a window goes.
    void giveKeyboard(QWidget* w) {
        keyboard = w;
        activate(w);
    }

    void queue() {
        if (queued) return;
        queued = true;
        QTimer::singleShot(0, [] { Board::get().settle(false); });
    }

    void shown(QtFormView* v, bool modal) {
        app = &v->form().app();
        auto* page = static_cast<QtPage*>(v->page());
        if (QtFormWindow* w = windowOfPage(page); w && !w->closed) {
            // Hidden and shown again before the next page came.
            page->setEnabled(true);
            if (!w->isVisible()) {
                w->show();
                activate(w);
            }
            v->focusFirst();
            return;
        }
        waiting.push_back({v, modal, active()});
        if (modal)
            settle(false);  // a modal form opens its window before its loop runs
        else
            queue();
    }

    void hidden(QtFormView* v) {
        forget(v);
        queue();
    }

    void gone(QtFormView* v) {
        forget(v);
        auto* page = static_cast<QtPage*>(v->page());
        if (page) page->forgetView();
        if (!QCoreApplication::instance()) return;
        const bool inWindow = windowOfPage(page) != nullptr;
        if (!inWindow && page) {
            page->hide();
            page->deleteLater();  // a signal of one of its widgets may be on its way right now
        }
        const Form& form = v->form();
        const auto& loaded = form.app().loadedForms();
        if (std::none_of(loaded.begin(), loaded.end(), [&](const Form* f) { return f != &form && f->isLoaded(); }))
            closeAll();  // nothing can come any more
        else if (inWindow)
            queue();  // its window keeps the page until the next one comes
    }

    void forget(QtFormView* v) {
        waiting.erase(std::remove_if(waiting.begin(), waiting.end(), [v](const Shown& s) { return s.view == v; }),
                      waiting.end());
    }

    // `forBox`: a box is about to open: forms waiting for a window take over
    // windows left by pages hidden meanwhile, and nothing else changes.
    void settle(bool forBox) {
        if (!forBox) queued = false;
        if (settling || (boxes > 0 && !forBox)) return;
        settling = true;
        const std::vector<QtFormWindow*> all = windows();
        std::vector<QtFormWindow*> free;
        for (QtFormWindow* w : all)
            if (w->vacant() && !w->isModal()) free.push_back(w);
        // A page taking a window over takes the wizard window before a dialog.
        std::stable_partition(free.begin(), free.end(), [](const QtFormWindow* w) { return !w->isDialog(); });
        std::vector<std::pair<QtFormWindow*, QtFormView*>> takes;
        std::vector<Shown> opens;
        std::vector<Shown> shown;
        shown.swap(waiting);
        for (const Shown& s : shown) {
            if (!s.view->form().isVisible() || windowOfPage(s.view->page())) continue;
            if (!free.empty() && !s.modal) {
                takes.emplace_back(free.front(), s.view);
                free.erase(free.begin());
            } else if (forBox) {
                waiting.push_back(s);
            } else {
                opens.push_back(s);
            }
        }
        // The windows whose page went and that no page takes over.
        QtFormWindow* wiz = wizard();
        std::vector<QtFormWindow*> leaving;
        for (QtFormWindow* w : all)
            if (w != wiz && w->vacant() &&
                std::none_of(takes.begin(), takes.end(), [w](const auto& t) { return t.first == w; }))
                leaving.push_back(w);
        // A wizard window whose page went while a page shown over it stays
        // (the welcome page unloaded under the page after it) takes that
        // page in.
        if (!forBox && wiz && wiz->isVisible() && wiz->vacant() &&
            std::find(free.begin(), free.end(), wiz) != free.end()) {
            for (QtFormWindow* d : all) {
                if (d == wiz || d->parentWidget() != wiz || d->isModal() || d->vacant() || !d->isVisible()) continue;
                takes.emplace_back(wiz, d->view());
                leaving.push_back(d);
                break;
            }
        }
        // The page after a dialog page the user moved opens where the user put it.
        std::optional<QPoint> userPlace;
        for (QtFormWindow* d : leaving)
            if ((d->geometry().topLeft() - d->placedAt).manhattanLength() > 2) userPlace = d->geometry().topLeft();
        // Under a box the windows on screen stay.
        if (forBox) leaving.clear();
        const bool leftActive =
            std::any_of(leaving.begin(), leaving.end(), [](const QtFormWindow* d) { return d->isActiveWindow(); });
        // Gone before the next page shows, so that no window stays beside it.
        for (QtFormWindow* d : leaving) close(d);
        for (const auto& [w, v] : takes) takeOver(w, v, w->isDialog() ? std::nullopt : userPlace);
        for (const Shown& s : opens) open(s);
        if (!forBox && wiz && !wiz->closed && wiz->vacant()) {
            // Greyed while it waits for the next page (see idle).
            if (QtPage* p = wiz->page()) p->setEnabled(false);
        }
        if (leftActive && opens.empty())
            if (QtFormWindow* w = active()) giveKeyboard(w);
        settling = false;
    }

    // The window takes over the page of `v`, and keeps its top-left unless
    // it goes where the user put the dialog page before it.
    void takeOver(QtFormWindow* w, QtFormView* v, std::optional<QPoint> at) {
        const bool mapped = w->isVisible();
        w->showPage(v);
        w->placedAt = put(w, fitting(w, nullptr), at.value_or(w->geometry().topLeft()), false);
        if (!mapped) {
            w->show();
            activate(w);
        }
        v->focusFirst();
    }

    // A window for a form that takes over none: a dialog of the window the
    // user worked in when it was shown, where that one still shows its page;
    // else the wizard window, centred on the screen.
    void open(const Shown& s) {
        QtFormWindow* opener = s.opener;
        if (!opener || opener->closed || opener->vacant() || !opener->isVisible()) opener = active();
        const bool dialog = opener || s.modal;
        auto* w = new QtFormWindow(opener, dialog);
        w->setWindowModality(s.modal                                    ? Qt::ApplicationModal
                             : opener && s.view->form().modalToOpener() ? Qt::WindowModal
                                                                        : Qt::NonModal);
        if (!dialog) watchIdle(w);
        w->showPage(s.view);
        // Placed before it is first mapped.
        const Fitting f = fitting(w, opener);
        w->placedAt = put(w, f, opener ? centredIn(opener->geometry(), f.size) : centredIn(f.avail, f.size), true);
        w->show();
        activate(w);
        s.view->focusFirst();
    }

    // The wizard window left without a page waits, greyed, while a forms
    // timer may bring a page back or a box is open; then it hides.
    void watchIdle(QtFormWindow* w) {
        if (auto* d = QAbstractEventDispatcher::instance())
            QObject::connect(d, &QAbstractEventDispatcher::aboutToBlock, w, [this, w] { idle(w); });
    }

    void idle(QtFormWindow* w) {
        if (w->closed || !w->isVisible() || !w->vacant() || queued || settling || boxes > 0) return;
        if (app && app->msUntilNextTimer() >= 0) return;
        w->hide();
    }

    void close(QtFormWindow* w) {
        w->closed = true;
        w->hide();
        if (QtPage* p = w->page(); p && p->view()) p->setParent(nullptr);
        w->deleteLater();  // with a page whose form is gone
    }

    void closeAll() {
        waiting.clear();
        app = nullptr;
        for (QtFormWindow* w : windows()) close(w);
    }
};

}  // namespace

QtFormWindow::QtFormWindow(QWidget* opener, bool dialog) : QWidget(opener, dialog ? Qt::Dialog : Qt::Window) {
    static const bool accessible = (QAccessible::installFactory(formWindowAccessible), true);
    (void)accessible;
    auto* l = new QVBoxLayout(this);
    l->setContentsMargins(0, 0, 0, 0);
    l->setSpacing(0);
}

bool QtFormWindow::event(QEvent* e) {
    // The window has the keyboard (Qt tells its dialogs too, which share
    // the activation): a modal window that blocks it takes the keyboard back
    // (the user clicked the blocked window), and so does a window that is to
    // have it where the window manager chose another one.
    if (e->type() == QEvent::WindowActivate && QGuiApplication::focusWindow() == windowHandle()) {
        QPointer<QWidget>& keyboard = Board::get().keyboard;
        QWidget* want = blockerOf(this);
        if (!want && keyboard && keyboard != this && keyboard->isVisible()) want = keyboard;
        keyboard = nullptr;
        if (want) QTimer::singleShot(0, want, [want] { activate(want); });
    }
    const bool handled = QWidget::event(e);
    if (e->type() == QEvent::LayoutRequest && isVisible() && layout() && layout()->hasHeightForWidth()) {
        // Texts that got longer or controls that appeared while the window
        // is up: it grows to show them whole, as far as the screen has room.
        Fitting f{freeArea(screenOf(this)), frameOf(this), size()};
        const int needed = layout()->totalHeightForWidth(width());
        if (needed > height()) {
            f.size = QSize(width(), std::max(height(), std::min(needed, f.avail.height() - extent(f.frame).height())));
            if (f.size != size()) put(this, f, geometry().topLeft(), false);
        }
    }
    return handled;
}

namespace windowboard {

void shown(QtFormView* view, bool modal) { Board::get().shown(view, modal); }
void hidden(QtFormView* view) { Board::get().hidden(view); }
void gone(QtFormView* view) { Board::get().gone(view); }

QWidget* windowShowing(const QtPage* page) {
    QtFormWindow* w = windowOfPage(page);
    return w && !w->closed ? w : nullptr;
}

void captionChanged(const QtPage* page, const QString& caption) {
    if (QWidget* w = windowShowing(page)) w->setWindowTitle(caption);
}

}  // namespace windowboard

void settleWindows() { Board::get().settle(false); }

OpenBox::OpenBox() {
    Board& board = Board::get();
    board.settle(true);
    ++board.boxes;
    over_ = Board::active();
}

QWidget* OpenBox::over() const { return over_.data(); }

OpenBox::~OpenBox() {
    Board& board = Board::get();
    // The window the box went over takes the keyboard back, whatever the
    // window manager chose when the box went.
    if (over_ && over_->isVisible()) board.giveKeyboard(over_);
    if (--board.boxes == 0) board.queue();
}

}  // namespace ui

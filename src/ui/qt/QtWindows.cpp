#include "ui/qt/QtWindows.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QProxyStyle>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <algorithm>
#include <cmath>

#include "ui/Ansi.h"
#include "ui/qt/SharedStyle.h"

namespace ui {

namespace {

// Lines of a page that stay in sight however small its window gets.
constexpr int FewestPageLines = 4;
// Rows a list box has room for, even when it holds fewer.
constexpr int FewestListRows = 3;

class PageScroller : public QScrollArea {
public:
    PageScroller(QWidget* page, QWidget* parent) : QScrollArea(parent) {
        setFrameShape(QFrame::NoFrame);
        // Tab goes from control to control and the page follows; a page
        // that must scroll takes the focus too, so that the arrows and Page
        // Down bring every text into sight.
        setFocusPolicy(Qt::NoFocus);
        QObject::connect(verticalScrollBar(), &QScrollBar::rangeChanged, this,
                         [this](int, int max) { setFocusPolicy(max > 0 ? Qt::StrongFocus : Qt::NoFocus); });
        setWidgetResizable(true);
        QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
        policy.setHeightForWidth(true);
        setSizePolicy(policy);
        setWidget(page);
        page->installEventFilter(this);
        QObject::connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
            if (now && widget() && widget()->isAncestorOf(now)) ensureWidgetVisible(now, 0, 8);
        });
    }

    QSize sizeHint() const override {
        const int frame = 2 * frameWidth();
        return widget() ? widget()->sizeHint() + QSize(frame, frame) : QScrollArea::sizeHint();
    }

    // As narrow as the page can get, a few lines high.
    QSize minimumSizeHint() const override {
        if (!widget()) return QScrollArea::minimumSizeHint();
        const int frame = 2 * frameWidth();
        const QSize page = widget()->minimumSizeHint();
        return {page.width() + frame, std::min(page.height(), FewestPageLines * fontMetrics().height()) + frame};
    }

    bool hasHeightForWidth() const override { return widget() && widget()->hasHeightForWidth(); }

    int heightForWidth(int width) const override {
        if (!widget()) return -1;
        const int frame = 2 * frameWidth();
        const int h = widget()->heightForWidth(width - frame);
        return (h < 0 ? widget()->sizeHint().height() : h) + frame;
    }

protected:
    // The page's contents changed: the window around it may want another
    // size, at once rather than at the next turn of the event loop.
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (watched == widget() && e->type() == QEvent::LayoutRequest) {
            updateGeometry();
            if (window()->isVisible())
                for (QWidget* w = parentWidget(); w; w = w->isWindow() ? nullptr : w->parentWidget())
                    QCoreApplication::sendPostedEvents(w, QEvent::LayoutRequest);
        }
        return QScrollArea::eventFilter(watched, e);
    }
};

class ListBox : public QListWidget {
public:
    explicit ListBox(QWidget* parent) : QListWidget(parent) {
        setSelectionMode(QAbstractItemView::SingleSelection);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        setUniformItemSizes(true);
    }

    QSize sizeHint() const override { return {QListWidget::sizeHint().width(), rowsHeight()}; }
    QSize minimumSizeHint() const override { return {QListWidget::minimumSizeHint().width(), rowsHeight()}; }

private:
    int rowsHeight() const {
        const int row = count() > 0 ? sizeHintForRow(0) : fontMetrics().height() + 4;
        return std::max(count(), FewestListRows) * row + 2 * frameWidth();
    }
};

// Password boxes mask with the character the widget names.
class MaskStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    static constexpr const char* Property = "maskCharacter";

    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_LineEdit_PasswordCharacter && widget) {
            const int mask = widget->property(Property).toInt();
            if (mask > 0) return static_cast<int>(ansiToUnicode(mask));
        }
        if (hint == SH_LineEdit_PasswordMaskDelay) return 0;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

QScreen* screenOf(const QWidget* w) {
    QScreen* s = w ? w->screen() : nullptr;
    return s ? s : QGuiApplication::primaryScreen();
}

}  // namespace

QScrollArea* newPageScroller(QWidget* page, QWidget* parent) { return new PageScroller(page, parent); }

QListWidget* newListBox(QWidget* parent) { return new ListBox(parent); }

void setMaskCharacter(QLineEdit* edit, char mask) {
    const int code = static_cast<unsigned char>(mask);
    edit->setEchoMode(code != 0 ? QLineEdit::Password : QLineEdit::Normal);
    if (code == 0 || edit->property(MaskStyle::Property).toInt() == code) return;
    edit->setProperty(MaskStyle::Property, code);
    if (edit->style() != sharedStyle<MaskStyle>()) {
        edit->setStyle(sharedStyle<MaskStyle>());
    } else {
        QEvent changed(QEvent::StyleChange);  // the line edit reads its mask again
        QCoreApplication::sendEvent(edit, &changed);
    }
}

void moveOnScreen(QWidget* window, QPoint topLeft, const QPoint& frameOffset, const QScreen* screen) {
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (screen) {
        const QRect avail = screen->availableGeometry();
        topLeft.setX(
            std::max(avail.left() + frameOffset.x(), std::min(topLeft.x(), avail.right() + 1 - window->width())));
        topLeft.setY(
            std::max(avail.top() + frameOffset.y(), std::min(topLeft.y(), avail.bottom() + 1 - window->height())));
    }
    // Placed by its inside, which the window manager keeps where it is put
    // however thick its frame turns out, also at a scale where the frame is
    // a fraction of a pixel.
    window->setGeometry(QRect(topLeft, window->size()));
}

QSize frameAllowance(const QScreen* screen) {
    if (!screen) screen = QGuiApplication::primaryScreen();
    const qreal ratio = screen ? std::max<qreal>(1, screen->devicePixelRatio()) : 1;
    return {static_cast<int>(std::ceil(FrameAllowanceWidth / ratio)),
            static_cast<int>(std::ceil(FrameAllowanceHeight / ratio))};
}

void centreOnScreen(QWidget* window) {
    const QScreen* screen = screenOf(window);
    if (!screen) return;
    const QRect avail = screen->availableGeometry();
    const QSize room = avail.size() - frameAllowance(screen);
    if (window->width() > room.width() || window->height() > room.height())
        window->resize(window->size().boundedTo(room));
    const QPoint centred((avail.width() - window->width()) / 2, (avail.height() - window->height()) / 2);
    moveOnScreen(window, avail.topLeft() + centred, window->geometry().topLeft() - window->pos(), screen);
}

// While the window has no frame yet, its frame is taken to be that of the
// window it goes over.
void centreOver(QWidget* window, const QWidget* over) {
    const QRect o = over->geometry();
    QPoint frame = window->geometry().topLeft() - window->pos();
    if (frame.isNull()) frame = o.topLeft() - over->pos();
    const QPoint centred((o.width() - window->width()) / 2, (o.height() - window->height()) / 2);
    moveOnScreen(window, o.topLeft() + centred, frame, screenOf(over));
}

}  // namespace ui

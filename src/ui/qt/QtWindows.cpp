#include "ui/qt/QtWindows.h"

#include <QApplication>
#include <QEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QProxyStyle>
#include <QScrollArea>
#include <QScrollBar>
#include <algorithm>

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

}  // namespace ui

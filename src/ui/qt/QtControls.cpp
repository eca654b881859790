#include "ui/qt/QtControls.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QPainter>
#include <QProxyStyle>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyleOption>
#include <QStylePainter>
#include <algorithm>

#include "ui/qt/SharedStyle.h"

namespace ui {

namespace {

template <class Button>
struct ButtonParts;

template <>
struct ButtonParts<QCheckBox> {
    static constexpr QStyle::ControlElement control = QStyle::CE_CheckBox;
    static constexpr QStyle::SubElement contents = QStyle::SE_CheckBoxContents;
    static constexpr QStyle::ContentsType size = QStyle::CT_CheckBox;
};

template <>
struct ButtonParts<QRadioButton> {
    static constexpr QStyle::ControlElement control = QStyle::CE_RadioButton;
    static constexpr QStyle::SubElement contents = QStyle::SE_RadioButtonContents;
    static constexpr QStyle::ContentsType size = QStyle::CT_RadioButton;
};

// Narrowest a wrapping caption gets: its longest word, or this many average
// characters when the words are short.
constexpr int NarrowestCaptionChars = 12;

template <class Base>
class WrappingButton : public Base {
    using Parts = ButtonParts<Base>;

public:
    explicit WrappingButton(QWidget* parent) : Base(parent) {
        // Narrower than one line and higher than one line when it has to.
        QSizePolicy policy = this->sizePolicy();
        policy.setHorizontalPolicy(QSizePolicy::Preferred);
        policy.setVerticalPolicy(QSizePolicy::Preferred);
        policy.setHeightForWidth(true);
        this->setSizePolicy(policy);
    }

    QSize minimumSizeHint() const override {
        const QSize line = Base::sizeHint();
        if (this->text().isEmpty()) return line;
        const int full = textWidth(this->text());
        int widestWord = 0;
        for (const QString& word : this->text().split(QChar(' '), Qt::SkipEmptyParts))
            widestWord = std::max(widestWord, textWidth(word));
        const int narrowest =
            std::min(full, std::max(widestWord, this->fontMetrics().averageCharWidth() * NarrowestCaptionChars));
        return {line.width() - full + narrowest, line.height()};
    }

    bool hasHeightForWidth() const override { return !this->text().isEmpty(); }

    int heightForWidth(int width) const override {
        const QSize line = Base::sizeHint();
        if (this->text().isEmpty() || width >= line.width()) return line.height();
        const int room = std::max(1, width - (line.width() - textWidth(this->text())));
        QStyleOptionButton opt;
        this->initStyleOption(&opt);
        const QSize text = this->style()
                               ->itemTextRect(this->fontMetrics(), QRect(0, 0, room, 1 << 20),
                                              Qt::TextWordWrap | Qt::TextShowMnemonic, false, this->text())
                               .size();
        return std::max(line.height(), this->style()->sizeFromContents(Parts::size, &opt, text, this).height());
    }

protected:
    void paintEvent(QPaintEvent* e) override {
        if (!wraps()) {
            Base::paintEvent(e);
            return;
        }
        QStylePainter p(this);
        QStyleOptionButton opt;
        this->initStyleOption(&opt);
        const QString text = opt.text;
        const bool focused = opt.state & QStyle::State_HasFocus;
        // The indicator alone, then the caption wrapped into the rest.
        opt.text.clear();
        opt.state &= ~QStyle::State_HasFocus;
        p.drawControl(Parts::control, opt);
        opt.text = text;
        const QRect room = this->style()->subElementRect(Parts::contents, &opt, this);
        int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap | Qt::TextShowMnemonic;
        if (!this->style()->styleHint(QStyle::SH_UnderlineShortcut, &opt, this)) flags |= Qt::TextHideMnemonic;
        const bool enabled = opt.state & QStyle::State_Enabled;
        p.drawItemText(room, flags, opt.palette, enabled, text, QPalette::WindowText);
        if (focused) {
            QStyleOptionFocusRect frame;
            frame.QStyleOption::operator=(opt);
            const QRect used = this->style()->itemTextRect(opt.fontMetrics, room, flags, enabled, text);
            frame.rect = used.adjusted(-2, -1, 2, 1) & this->rect();
            p.drawPrimitive(QStyle::PE_FrameFocusRect, frame);
        }
    }

    bool hitButton(const QPoint& pos) const override {
        return wraps() ? this->rect().contains(pos) : Base::hitButton(pos);
    }

private:
    bool wraps() const { return !this->text().isEmpty() && this->width() < Base::sizeHint().width(); }

    int textWidth(const QString& text) const {
        return this->style()->itemTextRect(this->fontMetrics(), QRect(), Qt::TextShowMnemonic, false, text).width();
    }
};

// Frames as one box: the caption sits in a gap of the top border line, the
// controls right below it.
class CaptionedFrameStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    QRect subControlRect(ComplexControl cc, const QStyleOptionComplex* opt, SubControl sc,
                         const QWidget* w) const override {
        const auto* box = qstyleoption_cast<const QStyleOptionGroupBox*>(opt);
        if (cc != CC_GroupBox || !box) return QProxyStyle::subControlRect(cc, opt, sc, w);
        const QRect r = opt->rect;
        const int title = box->text.isEmpty() ? 0 : opt->fontMetrics.height();
        switch (sc) {
            case SC_GroupBoxFrame:
                return r.adjusted(0, title / 2, 0, 0);
            case SC_GroupBoxLabel: {
                if (title == 0) return {};
                const int width =
                    itemTextRect(opt->fontMetrics, QRect(), Qt::TextShowMnemonic, false, box->text).width();
                return {r.left() + TitleIndent, r.top(),
                        std::min(width + 2 * TitlePadding, r.width() - 2 * TitleIndent), title};
            }
            case SC_GroupBoxContents:
                return r.adjusted(1, std::max(title, 1), -1, -1);
            default:
                return {};  // frames have no check box
        }
    }

    QSize sizeFromContents(ContentsType ct, const QStyleOption* opt, const QSize& size,
                           const QWidget* w) const override {
        if (ct != CT_GroupBox) return QProxyStyle::sizeFromContents(ct, opt, size, w);
        return size + QSize(2 * (TitleIndent + TitlePadding), 2);
    }

    void drawComplexControl(ComplexControl cc, const QStyleOptionComplex* opt, QPainter* p,
                            const QWidget* w) const override {
        const auto* box = qstyleoption_cast<const QStyleOptionGroupBox*>(opt);
        if (cc != CC_GroupBox || !box) {
            QProxyStyle::drawComplexControl(cc, opt, p, w);
            return;
        }
        p->save();
        p->setRenderHint(QPainter::Antialiasing);
        const QColor window = opt->palette.color(QPalette::Window);
        const QRectF frame = QRectF(subControlRect(cc, opt, SC_GroupBoxFrame, w)).adjusted(0.5, 0.5, -0.5, -0.5);
        p->setPen(Qt::NoPen);
        p->setBrush(window.darker(103));
        p->drawRoundedRect(frame, 3, 3);
        const QRect title = subControlRect(cc, opt, SC_GroupBoxLabel, w);
        if (title.isValid()) p->setClipRegion(QRegion(opt->rect).subtracted(title));  // the gap for the caption
        p->setPen(window.darker(135));
        p->setBrush(Qt::NoBrush);
        p->drawRoundedRect(frame, 3, 3);
        p->setClipping(false);
        if (title.isValid()) {
            int flags = Qt::AlignCenter | Qt::TextShowMnemonic;
            if (!styleHint(SH_UnderlineShortcut, opt, w)) flags |= Qt::TextHideMnemonic;
            drawItemText(p, title, flags, box->palette, box->state & State_Enabled, box->text, QPalette::WindowText);
        }
        p->restore();
    }

private:
    static constexpr int TitleIndent = 8;
    static constexpr int TitlePadding = 4;
};

// A click in the trough of a scroll bar moves one page, whatever the style
// would do.
class SteppingStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    int styleHint(StyleHint hint, const QStyleOption* opt, const QWidget* w,
                  QStyleHintReturn* returned) const override {
        if (hint == SH_ScrollBar_LeftClickAbsolutePosition) return 0;
        return QProxyStyle::styleHint(hint, opt, w, returned);
    }
};

// Left moves the slider left and Right moves it right: a scroll bar, made
// for scroll areas, has them the other way round.
class SteppingScrollBar : public QScrollBar {
public:
    explicit SteppingScrollBar(QWidget* parent) : QScrollBar(Qt::Horizontal, parent) {}

protected:
    void keyPressEvent(QKeyEvent* e) override {
        const bool left = e->key() == Qt::Key_Left;
        if (!left && e->key() != Qt::Key_Right) {
            QScrollBar::keyPressEvent(e);
            return;
        }
        const bool lower = left != (isRightToLeft() != invertedAppearance());
        triggerAction(lower ? SliderSingleStepSub : SliderSingleStepAdd);
        e->accept();
    }
};

}  // namespace

QCheckBox* newWrappingCheckBox(QWidget* parent) { return new WrappingButton<QCheckBox>(parent); }

QRadioButton* newWrappingRadioButton(QWidget* parent) { return new WrappingButton<QRadioButton>(parent); }

int captionOffset(const QAbstractButton* button) {
    QStyleOptionButton opt;
    opt.initFrom(button);
    opt.text = button->text();
    const auto part =
        qobject_cast<const QRadioButton*>(button) ? QStyle::SE_RadioButtonContents : QStyle::SE_CheckBoxContents;
    return button->style()->subElementRect(part, &opt, button).left() - opt.rect.left();
}

QScrollBar* newSteppingScrollBar(QWidget* parent) {
    auto* bar = new SteppingScrollBar(parent);
    bar->setStyle(sharedStyle<SteppingStyle>());
    bar->setFocusPolicy(Qt::StrongFocus);
    return bar;
}

QGroupBox* newCaptionedFrame(QWidget* parent) {
    auto* g = new QGroupBox(parent);
    g->setStyle(sharedStyle<CaptionedFrameStyle>());
    return g;
}

}  // namespace ui

#include "ui/qt/QtAccessible.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFrame>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <cmath>

namespace ui {

namespace {

constexpr const char* ShownValueKey = "quillShownValue";

// A list named by its name, which Qt reads out as the row it holds; the
// row is its value. Its children and actions are those Qt gives it.
class ComboAccessible : public QAccessibleWidget {
public:
    explicit ComboAccessible(QComboBox* w) : QAccessibleWidget(w, QAccessible::ComboBox) {}
    QComboBox* combo() const { return static_cast<QComboBox*>(object()); }

    QString text(QAccessible::Text t) const override {
        QString s;
        if (t == QAccessible::Name) s = combo()->accessibleName();
        if ((t == QAccessible::Name && s.isEmpty()) || t == QAccessible::Value)
            s = combo()->isEditable() ? combo()->lineEdit()->text() : combo()->currentText();
        if (t == QAccessible::Accelerator) s = QKeySequence(Qt::Key_Down).toString(QKeySequence::NativeText);
        return s.isEmpty() ? QAccessibleWidget::text(t) : s;
    }
    int childCount() const override { return combo()->isEditable() ? 2 : 1; }
    QAccessibleInterface* child(int index) const override {
        if (index == 0) return QAccessible::queryAccessibleInterface(combo()->view());
        if (index == 1 && combo()->isEditable()) return QAccessible::queryAccessibleInterface(combo()->lineEdit());
        return nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        if (child->object() == combo()->view()) return 0;
        if (combo()->isEditable() && child->object() == combo()->lineEdit()) return 1;
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        if (combo()->isEditable() && combo()->lineEdit()->rect().contains(x, y)) return child(1);
        return nullptr;
    }
    QAccessibleInterface* focusChild() const override { return combo()->isEditable() ? child(1) : nullptr; }

    QStringList actionNames() const override { return {showMenuAction(), pressAction()}; }
    QString localizedActionDescription(const QString& action) const override {
        return action == showMenuAction() || action == pressAction()
                   ? QComboBox::tr("Open the combo box selection popup")
                   : QString();
    }
    void doAction(const QString& action) override {
        if (action != showMenuAction() && action != pressAction()) return;
        if (combo()->view()->isVisible())
            combo()->hidePopup();
        else
            combo()->showPopup();
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }
};

// A scroll bar whose value reads as the label beside it shows it, where it
// has one; its range and steps in the same unit.
class ScrollBarAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit ScrollBarAccessible(QScrollBar* w) : QAccessibleWidget(w, QAccessible::ScrollBar) {}
    QScrollBar* bar() const { return static_cast<QScrollBar*>(object()); }

    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }
    QString text(QAccessible::Text t) const override {
        if (t != QAccessible::Value) return QAccessibleWidget::text(t);
        const QLabel* label = shownBy();
        return label ? label->text() : QString::number(bar()->value());
    }
    QVariant currentValue() const override {
        double shown = 0;
        return shownValue(shown) ? QVariant(shown) : QVariant(bar()->value());
    }
    void setCurrentValue(const QVariant& value) override {
        bar()->setValue(static_cast<int>(std::lround(value.toDouble() / scale())));
    }
    QVariant maximumValue() const override { return inUnit(bar()->maximum()); }
    QVariant minimumValue() const override { return inUnit(bar()->minimum()); }
    QVariant minimumStepSize() const override { return inUnit(bar()->singleStep()); }

private:
    const QLabel* shownBy() const {
        return qobject_cast<const QLabel*>(bar()->property(ShownValueKey).value<QObject*>());
    }
    bool shownValue(double& shown) const {
        const QLabel* label = shownBy();
        if (!label) return false;
        bool ok = false;
        shown = QString(label->text()).replace(QChar(','), QChar('.')).toDouble(&ok);
        return ok;
    }
    // Shown units per step of the bar, as last seen away from 0.
    double scale() const {
        double shown = 0;
        if (bar()->value() != 0 && shownValue(shown) && shown != 0) scale_ = shown / bar()->value();
        return scale_;
    }
    QVariant inUnit(int steps) const {
        if (!shownBy()) return steps;
        return steps * scale();
    }
    mutable double scale_ = 1;
};

// A row of buttons that hands the focus on to one of them (a message box's)
// is not focused itself; the button is.
class ButtonRowAccessible : public QAccessibleWidget {
public:
    explicit ButtonRowAccessible(QDialogButtonBox* w) : QAccessibleWidget(w, QAccessible::Grouping) {}
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.focused = QApplication::focusWidget() == widget();
        return s;
    }
};

QAccessibleInterface* controlAccessible(const QString&, QObject* object) {
    if (auto* combo = qobject_cast<QComboBox*>(object)) return new ComboAccessible(combo);
    if (auto* bar = qobject_cast<QScrollBar*>(object)) return new ScrollBarAccessible(bar);
    if (auto* row = qobject_cast<QDialogButtonBox*>(object)) return new ButtonRowAccessible(row);
    // A plain line, such as the one above a button row, is a separator.
    if (auto* line = qobject_cast<QFrame*>(object);
        line && line->metaObject() == &QFrame::staticMetaObject &&
        (line->frameShape() == QFrame::HLine || line->frameShape() == QFrame::VLine))
        return new QAccessibleWidget(line, QAccessible::Separator);
    return nullptr;
}

}  // namespace

void installAccessibleControls() {
    static const bool installed = (QAccessible::installFactory(controlAccessible), true);
    (void)installed;
}

void setShownValue(QAbstractSlider* bar, QLabel* label) {
    if (!label || bar->property(ShownValueKey).value<QObject*>() == label) return;
    bar->setProperty(ShownValueKey, QVariant::fromValue<QObject*>(label));
    QObject::connect(label, &QObject::destroyed, bar, [bar] { bar->setProperty(ShownValueKey, QVariant()); });
}

}  // namespace ui

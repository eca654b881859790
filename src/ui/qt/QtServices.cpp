#include "ui/qt/QtServices.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QCursor>
#include <QDialog>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>
#include <QShowEvent>
#include <QStringList>
#include <vector>

#include "ui/qt/QtAccessible.h"
#include "ui/qt/QtWindowBoard.h"

namespace ui {

namespace {

struct Choice {
    QMessageBox::StandardButton button;
    int result;
};

std::vector<Choice> choicesOf(Buttons b) {
    switch (b) {
        case Buttons::OK:
            return {{QMessageBox::Ok, IDOK}};
        case Buttons::OKCancel:
            return {{QMessageBox::Ok, IDOK}, {QMessageBox::Cancel, IDCANCEL}};
        case Buttons::YesNo:
            return {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}};
        case Buttons::YesNoCancel:
            return {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}, {QMessageBox::Cancel, IDCANCEL}};
    }
    return {{QMessageBox::Ok, IDOK}};
}

QMessageBox::Icon iconOf(Icon i) {
    switch (i) {
        case Icon::None:
            return QMessageBox::NoIcon;
        case Icon::Critical:
            return QMessageBox::Critical;
        case Icon::Question:
            return QMessageBox::Question;
        case Icon::Exclamation:
            return QMessageBox::Warning;
        case Icon::Information:
            return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

// A box centred on its page.
class CentredBox : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

protected:
    // The box has its final size only once it is shown: centred on its page at that size.
    void showEvent(QShowEvent* e) override {
        QMessageBox::showEvent(e);
        keepLinesWhole();
        if (QWidget* page = parentWidget()) centreOver(this, page->window());
    }
    // Qt sizes a box anew at every layout request, as it does when shown.
    bool event(QEvent* e) override {
        if (e->type() == QEvent::LayoutRequest && isVisible() && keepLinesWhole()) return QDialog::event(e);
        return QMessageBox::event(e);
    }

private:
    // Qt wraps a box's text at half the screen's width, which breaks every
    // line in two on a small or scaled-up screen; the lines stay whole where
    // the screen has room for them. False where it has not.
    bool keepLinesWhole() {
        auto* label = findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        if (!label || !layout()) return false;
        const bool wrapped = label->wordWrap();
        label->setWordWrap(false);
        layout()->invalidate();
        const QSize whole = layout()->totalMinimumSize().expandedTo(layout()->totalSizeHint());
        const QScreen* s = screen();
        const int room = s ? s->availableGeometry().width() - frameAllowance(s).width() : whole.width();
        if (whole.width() > room) {
            label->setWordWrap(wrapped);
            return false;
        }
        setFixedSize(whole);
        QCoreApplication::removePostedEvents(this, QEvent::LayoutRequest);  // already laid out
        return true;
    }
};

}  // namespace

int QtMessageBox::show(const MessageRequest& request) {
    // Over the window the user works in; the box goes with it should that
    // window be destroyed while the box is open.
    OpenBox open;
    installAccessibleControls();
    QPointer<CentredBox> box = new CentredBox(open.over());
    QString text = QString::fromStdString(request.text);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QChar('\r'), QChar('\n'));
    box->setTextFormat(Qt::PlainText);
    box->setText(text);
    box->setWindowTitle(QString::fromStdString(request.title));
    box->setIcon(iconOf(request.icon));

    const std::vector<Choice> choices = choicesOf(request.buttons);
    for (const Choice& c : choices) box->addButton(c.button);
    const int pos = request.defaultButton >= 1 && request.defaultButton <= static_cast<int>(choices.size())
                        ? request.defaultButton
                        : 1;
    const Choice& preset = choices[static_cast<std::size_t>(pos - 1)];
    box->setDefaultButton(preset.button);
    // Escape and the title-bar close: Cancel, else No, else OK.
    const Choice& escape = choices.back();
    box->setEscapeButton(escape.button);

    box->exec();
    if (!box) return escape.result;
    const QMessageBox::StandardButton clicked = box->standardButton(box->clickedButton());
    delete box.data();
    for (const Choice& c : choices)
        if (c.button == clicked) return c.result;
    return escape.result;
}

QString qtFileFilter(const std::string& filter) {
    const QStringList parts = QString::fromStdString(filter).split(QChar('|'));
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QChar(';'), QChar(' '));
        // "*.*" means every file; here names need no dot.
        QStringList list;
        for (QString p : patterns.split(QChar(' '), Qt::SkipEmptyParts)) {
            if (p == QStringLiteral("*.*")) p = QStringLiteral("*");
            if (!list.contains(p)) list << p;
        }
        QString desc = parts[i];
        // A description that already names its patterns keeps them once.
        if (desc.contains(QChar('(')) && desc.endsWith(QChar(')')))
            desc = desc.left(desc.lastIndexOf(QChar('('))).trimmed();
        out << QStringLiteral("%1 (%2)").arg(desc, list.join(QChar(' ')));
    }
    if (parts.size() % 2 == 1 && !parts.back().isEmpty() && out.isEmpty()) out << parts.back();
    return out.join(QStringLiteral(";;"));
}

std::optional<std::string> QtFileDialog::open(const FileDialogRequest& request) {
    OpenBox open;
    QPointer<QFileDialog> owned = new QFileDialog(open.over());
    QFileDialog& dlg = *owned;
    dlg.setWindowTitle(QString::fromStdString(request.title));
    if (request.fileMustExist) {
        dlg.setAcceptMode(QFileDialog::AcceptOpen);
        dlg.setFileMode(QFileDialog::ExistingFile);
    } else {
        dlg.setAcceptMode(request.opening ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
        dlg.setFileMode(QFileDialog::AnyFile);
        dlg.setOption(QFileDialog::DontConfirmOverwrite, true);
    }
    const QString filter = qtFileFilter(request.filter);
    if (!filter.isEmpty()) dlg.setNameFilters(filter.split(QStringLiteral(";;")));
    if (!request.initialDir.empty()) dlg.setDirectory(QString::fromStdString(request.initialDir));
    if (!request.defaultExt.empty()) {
        QString ext = QString::fromStdString(request.defaultExt);
        if (ext.startsWith(QChar('.'))) ext.remove(0, 1);
        dlg.setDefaultSuffix(ext);
    }
    if (!request.fileName.empty()) dlg.selectFile(QString::fromStdString(request.fileName));
    const int result = dlg.exec();
    if (!owned) return std::nullopt;  // its window went away
    const QStringList files = dlg.selectedFiles();
    delete owned.data();
    if (result != QDialog::Accepted) return std::nullopt;
    if (files.isEmpty() || files.front().isEmpty()) return std::nullopt;
    return QDir::toNativeSeparators(files.front()).toStdString();
}

void showWaitCursor() { QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }

void restoreCursor() { QGuiApplication::restoreOverrideCursor(); }

}  // namespace ui

// The real message box and file dialog, answered from zero timers.

#include <gtest/gtest.h>
#include <unistd.h>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <functional>

#include "Access.h"
#include "GuiWorld.h"
#include "ui/qt/QtServices.h"

namespace {

struct SeenBox {
    bool seen = false;
    QString text, title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    QMessageBox::StandardButtons buttons;
};

// Shows the request and lets `act` answer the box once it is open.
int showAndAnswer(const ui::MessageRequest& r, SeenBox& seen, std::function<void(QMessageBox*)> act) {
    guitest::whenReady([] { return qobject_cast<QMessageBox*>(QApplication::activeModalWidget()) != nullptr; },
                       [&seen, act] {
                           auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                           seen.seen = true;
                           seen.text = box->text();
                           seen.title = box->windowTitle();
                           seen.icon = box->icon();
                           seen.defaultButton = box->standardButton(box->defaultButton());
                           seen.buttons = box->standardButtons();
                           act(box);
                       });
    ui::QtMessageBox service;
    return service.show(r);
}

void clickDefault(QMessageBox* box) { box->defaultButton()->click(); }

TEST(QtMessageBox, OkBoxWithTextTitleAndIcon) {
    SeenBox seen;
    int r = showAndAnswer({"Line one\r\nLine two", ui::Buttons::OK, ui::Icon::Information, 1, "Notice"}, seen,
                          clickDefault);
    ASSERT_TRUE(seen.seen);
    EXPECT_EQ(r, ui::IDOK);
    EXPECT_EQ(seen.text, "Line one\nLine two");
    EXPECT_EQ(seen.title, "Notice");
    EXPECT_EQ(seen.icon, QMessageBox::Information);
    EXPECT_EQ(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    EXPECT_EQ(seen.defaultButton, QMessageBox::Ok);
}

TEST(QtMessageBox, DefaultButtonByPosition) {
    struct Case {
        ui::Buttons buttons;
        int position;
        QMessageBox::StandardButton expected;
        int result;
    };
    const Case cases[] = {
        {ui::Buttons::OKCancel, 1, QMessageBox::Ok, ui::IDOK},
        {ui::Buttons::OKCancel, 2, QMessageBox::Cancel, ui::IDCANCEL},
        {ui::Buttons::YesNo, 1, QMessageBox::Yes, ui::IDYES},
        {ui::Buttons::YesNo, 2, QMessageBox::No, ui::IDNO},
        {ui::Buttons::YesNoCancel, 1, QMessageBox::Yes, ui::IDYES},
        {ui::Buttons::YesNoCancel, 2, QMessageBox::No, ui::IDNO},
        {ui::Buttons::YesNoCancel, 3, QMessageBox::Cancel, ui::IDCANCEL},
    };
    for (const Case& c : cases) {
        SeenBox seen;
        int r = showAndAnswer({"Question?", c.buttons, ui::Icon::Question, c.position, "T"}, seen, clickDefault);
        ASSERT_TRUE(seen.seen);
        EXPECT_EQ(seen.defaultButton, c.expected) << static_cast<int>(c.buttons) << "/" << c.position;
        EXPECT_EQ(r, c.result) << static_cast<int>(c.buttons) << "/" << c.position;
    }
    SeenBox seen;
    showAndAnswer({"Q", ui::Buttons::YesNoCancel, ui::Icon::None, 1, "T"}, seen, clickDefault);
    EXPECT_EQ(seen.buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
}

TEST(QtMessageBox, Icons) {
    const std::pair<ui::Icon, QMessageBox::Icon> icons[] = {
        {ui::Icon::None, QMessageBox::NoIcon},
        {ui::Icon::Critical, QMessageBox::Critical},
        {ui::Icon::Question, QMessageBox::Question},
        {ui::Icon::Exclamation, QMessageBox::Warning},
        {ui::Icon::Information, QMessageBox::Information},
    };
    for (const auto& [icon, expected] : icons) {
        SeenBox seen;
        showAndAnswer({"x", ui::Buttons::OK, icon, 1, "T"}, seen, clickDefault);
        EXPECT_EQ(seen.icon, expected) << static_cast<int>(icon);
    }
}

TEST(QtMessageBox, ClickingOrEnterOnAnotherButtonAnswersIt) {
    auto click = [](QMessageBox* box) { box->button(QMessageBox::No)->click(); };
    auto enter = [](QMessageBox* box) {
        box->button(QMessageBox::No)->setFocus();
        QTest::keyClick(box->button(QMessageBox::No), Qt::Key_Return);
    };
    for (const auto& act : {std::function<void(QMessageBox*)>(click), std::function<void(QMessageBox*)>(enter)}) {
        SeenBox seen;
        EXPECT_EQ(showAndAnswer({"Save?", ui::Buttons::YesNoCancel, ui::Icon::Question, 1, "T"}, seen, act), ui::IDNO);
    }
}

TEST(QtMessageBox, OnlyTheFocusedButtonReadsAsFocused) {
    SeenBox seen;
    showAndAnswer({"Go on?", ui::Buttons::YesNo, ui::Icon::Question, 1, "T"}, seen, [](QMessageBox* box) {
        box->activateWindow();
        QCoreApplication::processEvents();
        EXPECT_EQ(QApplication::focusWidget(), box->button(QMessageBox::Yes));
        guitest::expectBoxListedRight(box);
        clickDefault(box);
    });
}

TEST(QtMessageBox, EscapeAndCloseGiveCancelElseNoElseOk) {
    auto escape = [](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); };
    auto close = [](QMessageBox* box) { box->close(); };
    struct Case {
        ui::Buttons buttons;
        std::function<void(QMessageBox*)> act;
        int result;
    };
    const Case cases[] = {
        {ui::Buttons::YesNoCancel, escape, ui::IDCANCEL},
        {ui::Buttons::OKCancel, escape, ui::IDCANCEL},
        {ui::Buttons::YesNo, escape, ui::IDNO},
        {ui::Buttons::OK, escape, ui::IDOK},
        {ui::Buttons::YesNoCancel, close, ui::IDCANCEL},
        {ui::Buttons::YesNo, close, ui::IDNO},
        {ui::Buttons::OK, close, ui::IDOK},
    };
    for (const Case& c : cases) {
        SeenBox seen;
        // Yes is the default: Escape does not take it.
        EXPECT_EQ(showAndAnswer({"x", c.buttons, ui::Icon::None, 1, "T"}, seen, c.act), c.result)
            << static_cast<int>(c.buttons);
    }
}

TEST(QtMessageBox, ThroughTheApplicationWithItsTitle) {
    ui::QtMessageBox messages;
    ui::ScriptedFileDialog files;
    ui::VirtualClock clock;
    ui::Application app(messages, files, clock);
    app.setTitle("Quillon");
    QString title;
    guitest::whenReady([] { return qobject_cast<QMessageBox*>(QApplication::activeModalWidget()) != nullptr; },
                       [&title] {
                           auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                           title = box->windowTitle();
                           box->button(QMessageBox::Yes)->click();
                       });
    EXPECT_EQ(app.msgBox("Go on?", ui::Buttons::YesNo, ui::Icon::Question, 2), ui::IDYES);
    EXPECT_EQ(title, "Quillon");
}

// ---------------------------------------------------------------------------

TEST(QtFileDialog, FilterConversion) {
    EXPECT_EQ(ui::qtFileFilter("Settings (*.nic)|*.nic|All files|*.*"), "Settings (*.nic);;All files (*)");
    EXPECT_EQ(ui::qtFileFilter("All Files (*.*)|*.*"), "All Files (*)");
    EXPECT_EQ(ui::qtFileFilter("Text|*.txt;*.log"), "Text (*.txt *.log)");
    EXPECT_EQ(ui::qtFileFilter(""), "");
}

struct TempFolder {
    std::filesystem::path path;
    TempFolder() {
        char tmpl[] = "/tmp/quill-gui-XXXXXX";
        path = ::mkdtemp(tmpl);
    }
    ~TempFolder() { std::filesystem::remove_all(path); }
};

std::optional<std::string> openAndAnswer(const ui::FileDialogRequest& r, std::function<void(QFileDialog*)> act,
                                         QString* title = nullptr, QStringList* filters = nullptr) {
    guitest::whenReady([] { return qobject_cast<QFileDialog*>(QApplication::activeModalWidget()) != nullptr; },
                       [act, title, filters] {
                           auto* dlg = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
                           if (title) *title = dlg->windowTitle();
                           if (filters) *filters = dlg->nameFilters();
                           act(dlg);
                       });
    ui::QtFileDialog service;
    return service.open(r);
}

TEST(QtFileDialog, NewFileNameIsAllowedWhenTheFileNeedNotExist) {
    TempFolder tmp;
    ui::FileDialogRequest r;
    r.title = "Save Settings";
    r.filter = "Settings|*.nic|All files|*.*";
    r.initialDir = tmp.path.string();
    r.defaultExt = "nic";
    QString title;
    QStringList filters;
    const std::string target = (tmp.path / "new.nic").string();
    auto got = openAndAnswer(
        r,
        [&](QFileDialog* d) {
            EXPECT_EQ(d->acceptMode(), QFileDialog::AcceptSave);
            d->selectFile(QString::fromStdString(target));
            static_cast<QDialog*>(d)->accept();
        },
        &title, &filters);
    ASSERT_TRUE(got.has_value());
    EXPECT_EQ(*got, target);
    EXPECT_EQ(title, "Save Settings");
    EXPECT_EQ(filters, (QStringList{"Settings (*.nic)", "All files (*)"}));
}

TEST(QtFileDialog, ExistingFileIsPicked) {
    TempFolder tmp;
    const std::string existing = (tmp.path / "old.nic").string();
    std::ofstream(existing) << "x";
    ui::FileDialogRequest r;
    r.title = "Open Settings";
    r.filter = "Settings|*.nic";
    r.initialDir = tmp.path.string();
    r.fileMustExist = true;
    auto got = openAndAnswer(r, [&](QFileDialog* d) {
        EXPECT_EQ(d->acceptMode(), QFileDialog::AcceptOpen);
        EXPECT_EQ(d->fileMode(), QFileDialog::ExistingFile);
        d->selectFile(QString::fromStdString(existing));
        static_cast<QDialog*>(d)->accept();
    });
    ASSERT_TRUE(got.has_value());
    EXPECT_EQ(*got, existing);
}

TEST(QtFileDialog, AnOpenDialogTakesANameThatNeedNotExist) {
    TempFolder tmp;
    ui::FileDialogRequest r;
    r.title = "File Browser";
    r.initialDir = tmp.path.string();
    r.opening = true;
    QString accept;
    auto got = openAndAnswer(r, [&](QFileDialog* d) {
        auto* buttons = d->findChild<QDialogButtonBox*>();
        ASSERT_NE(buttons, nullptr);
        QAbstractButton* ok = buttons->buttons().front();
        accept = ok->text();
        d->findChild<QLineEdit*>("fileNameEdit")->setText("settings");
        ok->click();
    });
    EXPECT_EQ(accept.remove(QChar('&')), "Open");
    EXPECT_EQ(got, (tmp.path / "settings").string());
}

TEST(QtFileDialog, CancelGivesNothing) {
    ui::FileDialogRequest r;
    r.title = "Open";
    auto got = openAndAnswer(r, [](QFileDialog* d) { d->reject(); });
    EXPECT_FALSE(got.has_value());
}

}  // namespace

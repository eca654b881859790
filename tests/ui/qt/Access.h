#pragma once
// What a keyboard or screen-reader user needs of every page, read through
// Qt's accessibility interfaces: the window is a frame or a dialog, options
// are radio buttons, each control a user works with has a name of its own
// (a list by its caption, not the row it holds) and keeps its tool tip, no
// button but the forward one is the default, a page shown has the focus at an
// input (at its default button when it has none), Tab goes through each
// grid row by row, and nothing else a screen reader lists reads wrong.

#include <gtest/gtest.h>
#include <QAbstractScrollArea>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QWidget>
#include <algorithm>
#include <cstddef>
#include <initializer_list>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "ui/Application.h"
#include "ui/Control.h"
#include "ui/Form.h"
#include "ui/Scripted.h"
#include "ui/qt/QtView.h"

namespace guitest {

inline QAccessible::Role accessibleRole(QWidget* w) {
    QAccessibleInterface* i = QAccessible::queryAccessibleInterface(w);
    return i ? i->role() : QAccessible::NoRole;
}

inline QString accessibleText(QWidget* w, QAccessible::Text t) {
    QAccessibleInterface* i = QAccessible::queryAccessibleInterface(w);
    return i ? i->text(t) : QString();
}

// What a screen reader reads for a control beyond its caption: its name,
// and its description unless that is nullptr.
struct ReadAs {
    const ui::Control& control;
    const char* name;
    const char* description = nullptr;
};

inline void expectReadAs(std::initializer_list<ReadAs> expected) {
    for (const ReadAs& e : expected) {
        QWidget* w = ui::widgetOf(e.control);
        ASSERT_NE(w, nullptr) << e.control.name();
        EXPECT_EQ(accessibleText(w, QAccessible::Name), e.name) << e.control.name();
        if (e.description) {
            EXPECT_EQ(accessibleText(w, QAccessible::Description), e.description) << e.control.name();
        }
    }
}

// Escape on each page presses its Cancel, which asks before leaving; No,
// the default answer, keeps the page.
template <std::size_t N>
void expectEscapeAsksBeforeLeaving(ui::Form* (&pages)[N], ui::ScriptedMessageBox& messages) {
    for (ui::Form* page : pages) {
        page->show();
        messages.clear();
        QTest::keyClick(ui::windowOf(*page)->focusWidget(), Qt::Key_Escape);
        ASSERT_EQ(messages.count(), 1u) << page->name();
        EXPECT_EQ(messages.last().title, "Caution Exiting Wizard") << page->name();
        EXPECT_TRUE(page->isVisible()) << page->name();
        page->hide();
    }
}

// What a screen reader lists of a window beyond its controls' own texts: the
// text field of an editable list reads as the list, a page that scrolls is
// read by its title where it takes the focus, no name keeps a caption's
// colon, a line is a separator (a frame is a top-level window's role), and
// every help button says what it does.
inline void expectListedRight(QWidget* win, const QString& title) {
    for (QWidget* w : win->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(win)) continue;
        const std::string where =
            title.toStdString() + "." + w->metaObject()->className() + " " + w->objectName().toStdString();
        const QAccessible::Role role = accessibleRole(w);
        const QString name = accessibleText(w, QAccessible::Name);
        if (auto* list = qobject_cast<QComboBox*>(w); list && list->lineEdit()) {
            EXPECT_EQ(accessibleText(list->lineEdit(), QAccessible::Name).toStdString(), name.toStdString()) << where;
        }
        if (qobject_cast<QAbstractScrollArea*>(w) && role == QAccessible::Client && w->focusPolicy() != Qt::NoFocus) {
            EXPECT_EQ(name.toStdString(), title.toStdString()) << where << " takes the focus without the page's title";
        }
        if (role != QAccessible::StaticText) {
            EXPECT_FALSE(name.endsWith(QChar(':'))) << where << " reads " << name.toStdString();
        }
        if (auto* line = qobject_cast<QFrame*>(w);
            line && (line->frameShape() == QFrame::HLine || line->frameShape() == QFrame::VLine)) {
            EXPECT_EQ(role, QAccessible::Separator) << where;
        }
        EXPECT_NE(role, QAccessible::Border) << where << " is read as a window";
        if (auto* b = qobject_cast<QPushButton*>(w); b && b->text() == "What is this?") {
            EXPECT_EQ(accessibleText(b, QAccessible::Description).toStdString(),
                      "Shows a brief description of this option.")
                << where;
        }
    }
}

// No part of a message box but the focused control reads as focused, and
// that one has a name.
inline void expectBoxListedRight(QMessageBox* box) {
    std::vector<QAccessibleInterface*> todo{QAccessible::queryAccessibleInterface(box)};
    while (!todo.empty()) {
        QAccessibleInterface* i = todo.back();
        todo.pop_back();
        if (!i) continue;
        const QObject* o = i->object();
        const std::string what = o ? std::string(o->metaObject()->className()) : "?";
        if (i->state().focused) {
            EXPECT_EQ(o, QApplication::focusWidget()) << what << " reads as focused";
            EXPECT_FALSE(i->text(QAccessible::Name).isEmpty()) << what;
        }
        for (int k = 0; k < i->childCount(); ++k) todo.push_back(i->child(k));
    }
}

// Enter on a focused button presses that button, not the page's default
// one: it asks what `asks` titles (nullptr: nothing) and leaves the form
// named `shows` on screen, alone.
struct EnterOnButton {
    ui::Form& page;
    const ui::Control& button;
    const char* asks;
    const char* shows;
};

template <std::size_t N>
void expectEnterPressesTheFocusedButton(const EnterOnButton (&rows)[N], ui::Application& app,
                                        ui::ScriptedMessageBox& messages) {
    for (const EnterOnButton& row : rows) {
        for (ui::Form* f : app.loadedForms())
            if (f->isVisible()) f->hide();
        row.page.show();
        const std::string where = row.page.name() + "." + row.button.name();  // the page may go with the key
        QWidget* button = ui::widgetOf(row.button);
        ASSERT_NE(qobject_cast<QPushButton*>(button), nullptr) << where;
        button->setFocus();
        messages.clear();
        QTest::keyClick(button, Qt::Key_Return);
        std::vector<std::string> asked, shown;
        for (const ui::MessageRequest& m : messages.shown()) asked.push_back(m.title);
        for (ui::Form* f : app.loadedForms())
            if (f->isVisible()) shown.push_back(f->name());
        EXPECT_EQ(asked, row.asks ? std::vector<std::string>{row.asks} : std::vector<std::string>{}) << where;
        EXPECT_EQ(shown, std::vector<std::string>{row.shows}) << where;
    }
}

inline void expectAccessible(ui::Form& form) {
    using ui::Kind;
    QWidget* win = ui::windowOf(form);
    ASSERT_NE(win, nullptr) << form.name();
    // A form on screen: a dialog where the wizards show it over a page that
    // stays on screen, else in the wizard window, a frame.
    if (form.isVisible()) {
        static const std::set<std::string> overAPage = {"CustomDialog", "Dialog", "KAEAbout", "LoadDlg", "SelectDlg"};
        const auto& loaded = form.app().loadedForms();
        const bool over = overAPage.count(form.name()) && std::any_of(loaded.begin(), loaded.end(), [&](auto* f) {
                              return f != &form && f->isVisible();
                          });
        EXPECT_EQ(accessibleRole(win), over ? QAccessible::Dialog : QAccessible::Window) << form.name();
    }

    std::set<std::pair<QAccessible::Role, QString>> heard;
    bool input = false;
    QWidget* defaultButton = nullptr;
    for (const ui::Control* c : form.controls()) {
        QWidget* w = ui::widgetOf(*c);
        const Kind k = c->kind();
        if (!w || !w->isVisibleTo(win) || k == Kind::Label || k == Kind::Frame || k == Kind::Picture ||
            k == Kind::ProgressBar)
            continue;
        const std::string where = form.name() + "." + w->objectName().toStdString();
        if (k == Kind::OptionButton) {
            EXPECT_EQ(accessibleRole(w), QAccessible::RadioButton) << where;
        }
        if (auto* b = qobject_cast<QPushButton*>(w)) {
            EXPECT_FALSE(b->autoDefault()) << where;
            const QString caption = QString(b->text()).remove(QChar('&'));
            const bool forward = caption == "Next >" || caption == "Finish" || caption == "OK";
            EXPECT_EQ(b->isDefault(), forward) << where;
            if (b->isDefault()) defaultButton = b;
        } else if (c->usable()) {
            input = true;
        }
        const QString name = accessibleText(w, QAccessible::Name);
        if (k == Kind::CheckBox || k == Kind::OptionButton || k == Kind::CommandButton || k == Kind::ComboBox) {
            EXPECT_FALSE(name.isEmpty()) << where;
        }
        if (auto* list = qobject_cast<QComboBox*>(w); list && !list->currentText().isEmpty()) {
            EXPECT_NE(name, list->currentText()) << where << " is named by the row it holds";
        }
        if (!name.isEmpty()) {
            EXPECT_TRUE(heard.insert({accessibleRole(w), name}).second)
                << where << " has the name of another control: " << name.toStdString();
        }
        EXPECT_TRUE(accessibleText(w, QAccessible::Description).contains(w->toolTip()))
            << where << " hides its tool tip";
    }
    if (win->isVisible()) {
        QWidget* focus = win->focusWidget();
        if (input) {
            EXPECT_TRUE(focus && win->isAncestorOf(focus)) << form.name() << " has no focus";
            EXPECT_EQ(qobject_cast<QPushButton*>(focus), nullptr) << form.name() << " has the focus on a button";
        } else if (defaultButton) {
            EXPECT_EQ(focus, defaultButton) << form.name();
        }
    }

    expectListedRight(win, QString::fromStdString(form.caption()));

    std::vector<QWidget*> chain;
    for (QWidget* w = win->nextInFocusChain(); w && w != win && chain.size() < 1000; w = w->nextInFocusChain())
        chain.push_back(w);
    auto place = [&](QWidget* w) { return std::find(chain.begin(), chain.end(), w) - chain.begin(); };
    for (const auto& grid : form.layoutGrids()) {
        std::ptrdiff_t last = -1;
        for (const auto& row : grid) {
            for (const ui::Control* c : row) {
                QWidget* w = c ? ui::widgetOf(*c) : nullptr;
                if (!w || w->focusPolicy() == Qt::NoFocus) continue;
                EXPECT_LT(place(w), static_cast<std::ptrdiff_t>(chain.size()))
                    << form.name() << "." << c->name() << " is not in the Tab order";
                EXPECT_GT(place(w), last) << form.name() << "." << c->name() << " is out of its row's Tab order";
                last = place(w);
            }
        }
    }
}

}  // namespace guitest

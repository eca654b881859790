#pragma once
// What a keyboard or screen-reader user needs of every page, read through
// Qt's accessibility interfaces: the window is a frame or a dialog, options
// are radio buttons, each control a user works with has a name of its own
// (a list by its caption, not the row it holds) and keeps its tool tip, no
// button but the forward one takes Enter, a page shown has the focus at an
// input (at its default button when it has none), and Tab goes through each
// grid row by row.

#include <gtest/gtest.h>
#include <QAccessible>
#include <QComboBox>
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

#pragma once
// Pictures of forms for people to look at: saveScreen(form, "PortSelect")
// writes build/tests/screens/PortSelect.png, saveScreen(form, "marrowby/Selection")
// writes build/tests/screens/marrowby/Selection.png. The form must be loaded
// with the Qt renderer; a hidden form is laid out and rendered all the same.
// Every picture is checked for what a person would call broken in it, and
// its page for what a keyboard or screen-reader user would.

#include <gtest/gtest.h>
#include <QByteArray>
#include <QImage>
#include <QScreen>
#include <QWidget>
#include <filesystem>
#include <string>
#include <vector>

#include "Access.h"
#include "ui/Form.h"
#include "ui/qt/QtView.h"
#include "ui/qt/QtWindowBoard.h"

#ifndef QUILL_SCREENS_DIR
#define QUILL_SCREENS_DIR QUILL_BIN_DIR "/../tests/screens"
#endif

namespace guitest {

// The folder of the pictures (made when missing); QUILL_SCREENS_DIR in the
// environment names another one (the pictures at double scale).
inline std::filesystem::path screensDir() {
    std::filesystem::path dir = QUILL_SCREENS_DIR;
    if (const QByteArray other = qgetenv("QUILL_SCREENS_DIR"); !other.isEmpty()) dir = other.toStdString();
    std::filesystem::create_directories(dir);
    return dir;
}

// Every control of a rendered form lies inside its parent, clear of the
// others, no narrower than it can draw itself and as high as its wrapped text
// needs.
inline void expectControlsWhole(ui::Form& form) {
    QWidget* win = ui::windowOf(form);
    ASSERT_NE(win, nullptr) << form.name();
    std::vector<QWidget*> shown;
    for (const ui::Control* c : form.controls()) {
        QWidget* w = ui::widgetOf(*c);
        if (!w || !w->isVisibleTo(win)) continue;
        const std::string name = form.name() + "." + w->objectName().toStdString();
        EXPECT_TRUE(QRect(QPoint(0, 0), w->parentWidget()->size()).contains(w->geometry())) << name << " sticks out";
        EXPECT_GE(w->width(), w->minimumSizeHint().width()) << name << " is cut on the right";
        if (w->hasHeightForWidth()) {
            EXPECT_GE(w->height(), w->heightForWidth(w->width())) << name << " is cut below";
        }
        for (QWidget* other : shown) {
            EXPECT_FALSE(other->parentWidget() == w->parentWidget() && other->geometry().intersects(w->geometry()))
                << name << " overlaps " << other->objectName().toStdString();
        }
        shown.push_back(w);
    }
}

// The window of a rendered form is about a page wide and fits the free area
// of its screen (the button row lies inside it), and its controls are whole;
// at its minimum size too, where the page scrolls instead.
inline void expectLaidOut(ui::Form& form) {
    QWidget* win = ui::windowOf(form);
    ASSERT_NE(win, nullptr) << form.name();
    EXPECT_GE(win->width(), 480) << form.name();
    EXPECT_LE(win->width(), 680) << form.name();
    const QRect free = win->screen()->availableGeometry();
    // With the frame it has on screen, else the room a frame would take.
    const QSize frame =
        win->isVisible() ? win->frameGeometry().size() - win->size() : ui::frameAllowance(win->screen());
    EXPECT_LE(win->width(), free.width() - frame.width()) << form.name();
    EXPECT_LE(win->height(), free.height() - frame.height()) << form.name();
    expectControlsWhole(form);
    const QSize size = win->size();
    win->resize(win->minimumSize());
    win->grab();  // lays out a hidden window too
    expectControlsWhole(form);
    win->resize(size);
    win->grab();
}

// Renders the form into <screens>/<name>.png in place of an older picture,
// making sub-folders as needed, and checks the picture and the layout;
// returns the file's path, or an empty path after a test failure.
inline std::filesystem::path saveScreen(ui::Form& form, const std::string& name) {
    const std::filesystem::path path = screensDir() / (name + ".png");
    std::filesystem::create_directories(path.parent_path());
    std::filesystem::remove(path);
    if (!ui::grabToPng(form, path.string())) {
        ADD_FAILURE() << "no picture of " << form.name() << " at " << path;
        return {};
    }
    const QImage image(QString::fromStdString(path.string()));
    EXPECT_FALSE(image.isNull()) << path;
    EXPECT_GE(image.width(), 480) << path;
    expectLaidOut(form);
    expectAccessible(form);
    return path;
}

}  // namespace guitest

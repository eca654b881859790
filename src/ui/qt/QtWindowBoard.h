#pragma once
// The windows of a program whose forms are Qt pages. A wizard has one window
// for its life, whose page changes as the user goes on or back; while it has
// no page it waits, greyed, and then hides. A form shown over a page that
// stays is a dialog of that page's window. Where each window stands on the
// screen is decided here too: a window keeps its top-left while its page fits
// below it, moves up and left just enough to show a page whole, and a dialog
// or box opens centred over the window it belongs to.

#include <QPointer>
#include <QRect>
#include <QSize>
#include <QWidget>

class QScreen;

namespace ui {

class QtFormView;

// A form's page: its controls and its button row, in one window at a time
// (its parent), or in none.
class QtPage : public QWidget {
public:
    explicit QtPage(QtFormView* view) : view_(view) {}
    // The view that built it; nullptr once its form is gone.
    QtFormView* view() const { return view_; }
    void forgetView() { view_ = nullptr; }

private:
    QtFormView* view_;
};

// What the views tell the board, and what they ask of it.
namespace windowboard {

// The form of `view` was shown (`modal`: its loop runs until it is hidden).
void shown(QtFormView* view, bool modal);
// The form of `view` was hidden.
void hidden(QtFormView* view);
// `view` goes; its page may stay in its window until the next page comes.
void gone(QtFormView* view);
// The window that shows `page`; nullptr while it shows none.
QWidget* windowShowing(const QtPage* page);
// The window's title follows its page's caption.
void captionChanged(const QtPage* page, const QString& caption);

}  // namespace windowboard

// Forms shown and hidden take effect on the screen together, once the code
// that showed and hid them returns to the event loop: a page shown in place
// of one hidden in the same turn takes over that page's window, one shown
// over a page that stays becomes a dialog of that page's window. This makes
// the changes so far take effect now.
void settleWindows();

// While it lives a message box or file dialog is open: the page changes made
// so far that give a page a window take effect, and the windows on screen
// stay as they are until it is gone. Then the window it went over is the
// active one again, with the focus where it was.
class OpenBox {
public:
    OpenBox();
    ~OpenBox();
    OpenBox(const OpenBox&) = delete;
    OpenBox& operator=(const OpenBox&) = delete;
    // The window the box goes over: the one the user works in; nullptr when none.
    QWidget* over() const;

private:
    QPointer<QWidget> over_;
};

// Room a window manager's frame and title bar take around a window, in
// device pixels: the manager draws them at the screen's own scale.
constexpr int FrameAllowanceWidth = 16;
constexpr int FrameAllowanceHeight = 48;
// The same room in the logical pixels of `screen` (the primary one when
// null): less where the program is scaled up.
QSize frameAllowance(const QScreen* screen);

// The width a form window takes when the screen has room; long texts wrap
// at this width rather than widen the window.
constexpr int PreferredWindowWidth = 600;

// The size of a top-level window with a layout on a screen whose free area is
// `available`, where the window manager's frame takes `frame`: as wide as
// what cannot wrap needs, at least the preferred width where the screen has
// room, and as high as its contents need at that width (no higher than the
// screen unless the contents cannot shrink).
QSize fittedWindowSize(QWidget* window, const QRect& available, const QSize& frame);

// Sizes a top-level window as it would be shown on the primary screen.
void fitToScreen(QWidget* window);

// Makes a top-level window no bigger than the free area of its screen (the
// primary one until it has one) and centres it there.
void centreOnScreen(QWidget* window);

// Centres a window over another one, keeping it on that window's screen.
void centreOver(QWidget* window, const QWidget* over);

}  // namespace ui

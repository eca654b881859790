#pragma once
// What form windows need beyond their controls: a page that scrolls when the
// screen is too small for it, list boxes that show every row, masked text
// boxes, the programs' icon, and windows placed on the screen or centred
// over another window.

#include <QIcon>
#include <QPoint>
#include <QSize>

class QLineEdit;
class QListWidget;
class QScreen;
class QScrollArea;
class QWidget;

namespace ui {

// Room a window manager's frame and title bar take around a window, in
// device pixels: the manager draws them at the screen's own scale.
constexpr int FrameAllowanceWidth = 16;
constexpr int FrameAllowanceHeight = 48;
// The same room in the logical pixels of `screen` (the primary one when
// null): less where the program is scaled up.
QSize frameAllowance(const QScreen* screen);

// A frameless scroll area holding `page`: as big as the page wants and as
// high as the page needs at any width, so that a window shows the whole page
// where the screen has room and scrolls it where not. A control that takes
// the focus is scrolled into view.
QScrollArea* newPageScroller(QWidget* page, QWidget* parent);

// A list box as high as all its rows (at least a few).
QListWidget* newListBox(QWidget* parent);

// Shows the text of a line edit as one `mask` for each character; 0 shows
// it in clear.
void setMaskCharacter(QLineEdit* edit, char mask);

// The icon of the wizards' windows, drawn at run time.
QIcon programIcon();

// Moves a window so that the top-left corner of its inside (its frame is
// `frameOffset` further up and left) is at `topLeft`, as far as the free
// area of `screen` (the primary one when null) allows. Its position is that
// of its inside from then on, whatever frame the window manager gives it.
void moveOnScreen(QWidget* window, QPoint topLeft, const QPoint& frameOffset, const QScreen* screen);

// Makes a top-level window no bigger than the free area of its screen (the
// primary one until it has one) and centres it there.
void centreOnScreen(QWidget* window);

// Centres a window over another one, keeping it on that window's screen.
void centreOver(QWidget* window, const QWidget* over);

}  // namespace ui

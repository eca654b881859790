#pragma once
// What form windows need beyond their controls: a page that scrolls when the
// screen is too small for it, list boxes that show every row, masked text
// boxes and the programs' icon.

#include <QIcon>

class QLineEdit;
class QListWidget;
class QScrollArea;
class QWidget;

namespace ui {

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

}  // namespace ui

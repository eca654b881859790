#pragma once
// Widgets that lay themselves out the way pages need, and the size of a form
// window: check boxes and option buttons whose captions wrap, frames with
// their caption set into the border.

#include <QRect>
#include <QSize>

class QAbstractButton;
class QCheckBox;
class QGroupBox;
class QRadioButton;
class QScrollBar;
class QWidget;

namespace ui {

// A check box or option button whose caption wraps onto more lines when it
// gets less room than one line needs, and which toggles wherever it is clicked.
QCheckBox* newWrappingCheckBox(QWidget* parent);
QRadioButton* newWrappingRadioButton(QWidget* parent);

// How far the caption of a check box or option button stands from its left edge.
int captionOffset(const QAbstractButton* button);

// A horizontal scroll bar that takes the keyboard focus: the arrows move
// one step, Page Up and Page Down and a click in the trough one page, Home
// and End go to the ends.
QScrollBar* newSteppingScrollBar(QWidget* parent);

// A frame whose caption interrupts the top of its border.
QGroupBox* newCaptionedFrame(QWidget* parent);

// The width a form window takes when the screen has room; long texts wrap
// at this width rather than widen the window.
constexpr int PreferredWindowWidth = 600;

// The size of a top-level window with a layout on a screen whose free area is
// `available`, where the window manager's frame takes `frame`: as wide as
// what cannot wrap needs, at least the preferred width where the screen has
// room, and as high as its contents need at that width (no higher than the
// screen unless the contents cannot shrink).
QSize fittedWindowSize(QWidget* window, const QRect& available, const QSize& frame);

}  // namespace ui

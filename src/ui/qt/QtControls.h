#pragma once
// Widgets that lay themselves out the way pages need: check boxes and option buttons whose captions wrap, frames with
// their caption set into the border.

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

}  // namespace ui

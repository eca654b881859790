#pragma once
// What assistive technology reads of lists, scroll bars and lines beyond
// what Qt gives it: a list goes by its name (Qt names it by the row it
// holds), a scroll bar can give its value as a label beside it shows it, a
// plain line is a separator (Qt makes it a frame), and a box's button row
// is not focused beside its focused button.

class QAbstractSlider;
class QLabel;

namespace ui {

// Makes these read as above; once, before their first reading.
void installAccessibleControls();

// The value of `bar` reads as `label` shows it ("-0.07" where the bar stands at -7).
void setShownValue(QAbstractSlider* bar, QLabel* label);

}  // namespace ui

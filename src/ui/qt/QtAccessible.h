#pragma once
// What assistive technology reads of lists and scroll bars beyond what Qt
// gives it: a list goes by its name (Qt names it by the row it holds), and
// a scroll bar can give its value as a label beside it shows it.

class QAbstractSlider;
class QLabel;

namespace ui {

// Makes lists and scroll bars read as above; once, before their first reading.
void installAccessibleControls();

// The value of `bar` reads as `label` shows it ("-0.07" where the bar stands at -7).
void setShownValue(QAbstractSlider* bar, QLabel* label);

}  // namespace ui

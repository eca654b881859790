#pragma once
// What assistive technology reads for a form's controls beyond their own
// captions, worked out from the form's layout: a name of its own for every
// control a user works with, the text that explains an option, and the
// label that shows a scroll bar's value.

#include <map>
#include <string>

namespace ui {

class Control;
class Form;

// A caption as spoken: without access-key marks, "*", a trailing ":" and
// the blanks around it.
std::string spokenCaption(const std::string& caption);

struct AccessibleText {
    std::string name;                     // empty: the control's own caption
    std::string description;              // empty: its tool tip
    const Control* shownValue = nullptr;  // the label that shows a scroll bar's value
};

// The texts of the controls that need one:
// - a text box, list, scroll bar or progress bar is named by its label as
//   spoken; a list without one by its row's caption;
// - a check box or option without a caption by its column's heading and its
//   row's caption;
// - a text box with a unit after it by its row's caption and the unit;
// - controls that would share a name add their row's caption to it (a check
//   box puts it in place of the last word of its caption);
// - an option or check box is described by the labels that explain it
//   (beside it, under it, or the question above a row of options), then
//   its tool tip;
// - a control with a spoken description is described by it.
// A row's caption is the first one in it other than the control's own
// name; a row without one continues the row above it.
std::map<const Control*, AccessibleText> accessibleTexts(const Form& form);

}  // namespace ui

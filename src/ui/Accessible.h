#pragma once
// What assistive technology reads for a form's controls beyond their own
// captions: a name for a box without a caption, and a description that
// tells apart controls of one name by the row they stand in.

#include <map>
#include <string>

namespace ui {

class Control;
class Form;

// A caption as spoken: without access-key marks, "*", a trailing ":" and
// the blanks around it.
std::string spokenCaption(const std::string& caption);

struct AccessibleText {
    std::string name;         // empty: the control's own caption, or its label's
    std::string description;  // empty: none
};

// The texts of the controls that need one, from the form's layout grids. A
// check box or option without a caption is named by its column's heading
// and its row's caption; controls that share a name are described by their
// row. A row's caption is the first one in it other than the control's own
// name; a row without one continues the row above it.
std::map<const Control*, AccessibleText> accessibleTexts(const Form& form);

}  // namespace ui

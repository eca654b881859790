#pragma once
// What a renderer gets told about a form. The forms layer works without any
// view (headless); a renderer installs a ViewFactory on the Application.

#include <memory>

#include "ui/Control.h"

namespace ui {

class Form;

class FormView {
public:
    virtual ~FormView() = default;
    virtual void visibilityChanged(bool visible, bool modal) = 0;
    virtual void captionChanged() = 0;
    virtual void controlChanged(Control& control, Property property) = 0;
    // A control is being destroyed while the view exists; only its address is valid.
    virtual void controlRemoved(Control& control) { (void)control; }
};

class ViewFactory {
public:
    virtual ~ViewFactory() = default;
    // Called when a form loads, after its controls exist.
    virtual std::unique_ptr<FormView> create(Form& form) = 0;
};

}  // namespace ui

#pragma once
// The place of one form in its program: the first use builds and loads it,
// and a use after an unload builds a fresh one with its defaults.

#include <functional>
#include <memory>

#include "ui/Form.h"

namespace ui {

template <class T>
class FormSlot {
public:
    explicit FormSlot(std::function<std::shared_ptr<T>()> make) : make_(std::move(make)) {}

    // The loaded form, loading it when needed.
    T& operator()() {
        if (!form_ || form_->state() == Form::State::Unloaded) {
            form_ = make_();
            form_->load();
        }
        return *form_;
    }
    // The form when it is loaded, without loading it.
    T* loaded() const { return form_ && form_->isLoaded() ? form_.get() : nullptr; }
    // Unloads the form if it is loaded; true when it is gone.
    bool unload() {
        if (T* f = loaded()) return f->unload();
        return true;
    }

private:
    std::function<std::shared_ptr<T>()> make_;
    std::shared_ptr<T> form_;
};

}  // namespace ui

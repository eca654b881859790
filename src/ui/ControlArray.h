#pragma once
// A control array: controls of one name told apart by index. Indexes may be
// sparse; each element forwards its events to the array's handlers with its index.

#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>

#include "ui/Control.h"

namespace ui {

class Form;

template <class T>
class ControlArray {
public:
    using IndexHandler = std::function<void(int index)>;

    ControlArray(Form& form, std::string name) : form_(form), name_(std::move(name)) {}

    // Creates element `index`; extra arguments go to the control's constructor
    // after its name (caption and the like).
    template <class... Args>
    T& add(int index, Args&&... args) {
        auto c = std::make_unique<T>(form_, name_, std::forward<Args>(args)..., index);
        T& ref = *c;
        wire(ref);
        items_[index] = std::move(c);
        return ref;
    }
    template <class... Args>
    T& addIn(Control* container, int index, Args&&... args) {
        auto c = std::make_unique<T>(form_, name_, std::forward<Args>(args)..., index, container);
        T& ref = *c;
        wire(ref);
        items_[index] = std::move(c);
        return ref;
    }

    bool exists(int index) const { return items_.count(index) != 0; }
    T& operator[](int index) const {
        auto it = items_.find(index);
        if (it == items_.end())
            throw std::out_of_range("Control array element " + name_ + "(" + std::to_string(index) +
                                    ") does not exist");
        return *it->second;
    }
    int count() const { return static_cast<int>(items_.size()); }
    int lbound() const { return items_.empty() ? 0 : items_.begin()->first; }
    int ubound() const { return items_.empty() ? -1 : items_.rbegin()->first; }
    const std::string& name() const { return name_; }

    struct Iterator {
        typename std::map<int, std::unique_ptr<T>>::const_iterator it;
        T& operator*() const { return *it->second; }
        Iterator& operator++() {
            ++it;
            return *this;
        }
        bool operator!=(const Iterator& o) const { return it != o.it; }
    };
    Iterator begin() const { return {items_.begin()}; }
    Iterator end() const { return {items_.end()}; }

    IndexHandler onClick;
    IndexHandler onChange;
    IndexHandler onDropDown;
    std::function<void(int index, int& keyAscii)> onKeyPress;

private:
    void wire(T& c) {
        int i = c.index();
        if constexpr (requires { c.onClick; })
            c.onClick = [this, i] {
                if (onClick) onClick(i);
            };
        if constexpr (requires { c.onChange; })
            c.onChange = [this, i] {
                if (onChange) onChange(i);
            };
        if constexpr (requires { c.onDropDown; })
            c.onDropDown = [this, i] {
                if (onDropDown) onDropDown(i);
            };
        if constexpr (requires { c.onKeyPress; })
            c.onKeyPress = [this, i](int& k) {
                if (onKeyPress) onKeyPress(i, k);
            };
    }

    Form& form_;
    std::string name_;
    std::map<int, std::unique_ptr<T>> items_;
};

}  // namespace ui

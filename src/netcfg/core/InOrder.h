#pragma once
// Controls take their place on the page and in the Tab order from the order
// in which they are made. A member of this type runs its code at its own
// place among a page's members, so the elements of a control array are made
// between the plain controls that come before and after them.

#include <utility>

namespace netcfg {

struct InOrder {
    template <class F>
    explicit InOrder(F&& make) {
        std::forward<F>(make)();
    }
};

}  // namespace netcfg

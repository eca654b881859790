#pragma once
// What every page of the network-interface wizard shares: its module, the
// rules of every wizard page, and the way to the next page.

#include <string>

#include "foundation/WizardPage.h"

namespace netcfg {

class QuillonModule;

class Page : public foundation::WizardPage {
public:
    Page(QuillonModule& module, std::string name, std::string caption);

    QuillonModule& module() const { return m_; }

protected:
    // Shows the next page with this one as its Caller, so that the next
    // page's Back comes here; returns the next page.
    template <class P>
    P& ShowNext(P& next) {
        next.show();
        next.Caller = this;
        return next;
    }

    QuillonModule& m_;
};

}  // namespace netcfg

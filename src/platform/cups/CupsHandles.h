#pragma once
// Owning handles of libcups objects.

#include <cups/cups.h>

#include <memory>

namespace platform::cups {

struct HttpClose {
    void operator()(http_t* h) const { httpClose(h); }
};
using Http = std::unique_ptr<http_t, HttpClose>;

struct IppDelete {
    void operator()(ipp_t* p) const { ippDelete(p); }
};
using Ipp = std::unique_ptr<ipp_t, IppDelete>;

}  // namespace platform::cups

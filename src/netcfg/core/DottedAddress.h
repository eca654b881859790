#pragma once
// The rules for dotted addresses typed into the pages: exactly four segments
// of one to three decimal digits each and nothing else.

#include <string>

namespace netcfg {

// How a text fails the rules.
enum class DottedFault { None, Empty, Format, Segment };

// A host address: first and last segment 1 to 254, the middle two 0 to 255.
DottedFault CheckHostAddress(const std::string& text);

// The message of a host address that fails (`fault` not None); `name` is
// the address's name in it ("IP Address"), `emptyText` the page's own first
// line for an empty text.
std::string HostAddressMessage(DottedFault fault, const std::string& name, const std::string& emptyText);

// A subnet mask: every segment 0 to 255.
DottedFault CheckSubnetMask(const std::string& text);

}  // namespace netcfg

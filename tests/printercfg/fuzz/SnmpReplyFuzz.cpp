// libFuzzer target of the SNMP reply reader: any datagram, read as the reply
// to each of the wizard's three requests and as a bare value of its first byte.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "printercfg/core/Snmp.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view datagram(reinterpret_cast<const char*>(data), size);
    for (const char* oid : {"1.3.6.1.2.1.1.1.0", "1.3.6.1.2.1.43.16.5.1.2.1.1", "1.3.6.1.2.1.43.16.5.1.2.1.2"}) {
        const std::string name = printercfg::EncodeSnmpOid(oid).value_or(std::string{});
        if (auto text = printercfg::DecodeSnmpReply(datagram, printercfg::SnmpRequestId, name))
            if (text->size() > size) __builtin_trap();  // a reply never holds more than its datagram
    }
    if (size > 0) printercfg::DecodeSnmpValue(data[0], datagram.substr(1));
    return 0;
}

#include <gtest/gtest.h>

#include "netcfg/core/DottedAddress.h"

using netcfg::DottedFault;

namespace {

struct Case {
    const char* text;
    DottedFault host;
    DottedFault mask;
};

TEST(DottedAddress, FourSegmentsOfOneToThreeDigitsInRange) {
    const Case cases[] = {
        {"127.2.123.254", DottedFault::None, DottedFault::None},
        {"127.0.0.1", DottedFault::None, DottedFault::None},  // middle segments may be 0
        {"127.168.0.20", DottedFault::None, DottedFault::None},
        {"127.1.1.1", DottedFault::None, DottedFault::None},
        {"1.255.255.1", DottedFault::None, DottedFault::None},
        {"001.002.003.004", DottedFault::None, DottedFault::None},
        {"255.255.255.0", DottedFault::Segment, DottedFault::None},  // first segment above 254
        {"255.0.255.0", DottedFault::Segment, DottedFault::None},    // no contiguity test on masks
        {"0.1.2.3", DottedFault::Segment, DottedFault::None},
        {"127.168.0.0", DottedFault::Segment, DottedFault::None},
        {"127.168.1.255", DottedFault::Segment, DottedFault::None},
        {"127.256.0.1", DottedFault::Segment, DottedFault::Segment},
        {"255.255.256.0", DottedFault::Segment, DottedFault::Segment},
        {"127a.2.3.4", DottedFault::Segment, DottedFault::Segment},  // letters are refused, not read as 127
        {"1..2.3", DottedFault::Segment, DottedFault::Segment},
        {" 127.2.3.4", DottedFault::Segment, DottedFault::Segment},
        {"1 0.2.3.4", DottedFault::Segment, DottedFault::Segment},
        {"+127.2.3.4", DottedFault::Segment, DottedFault::Segment},
        {"0127.2.3.4", DottedFault::Segment, DottedFault::Segment},
        {"127.2.123", DottedFault::Format, DottedFault::Format},
        {"1.2.3.4.5", DottedFault::Format, DottedFault::Format},
        {"127.2.3.4.", DottedFault::Format, DottedFault::Format},
        {"   ", DottedFault::Format, DottedFault::Format},
        {"", DottedFault::Empty, DottedFault::Empty},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(netcfg::CheckHostAddress(c.text), c.host) << c.text;
        EXPECT_EQ(netcfg::CheckSubnetMask(c.text), c.mask) << c.text;
    }
}

}  // namespace

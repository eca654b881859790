#include <gtest/gtest.h>

#include <string>

#include "netcfg/pages/NetworkDlg.h"
#include "netcfg/pages/QuestionDlg.h"
#include "netcfg/pages/WiredDlg.h"
#include "support/QuillonWorld.h"

using testsupport::QuillonWorld;

namespace {

struct WiredPage : ::testing::Test {
    QuillonWorld w;
    netcfg::WiredDlg& p = w.q.WiredDlgForm();

    // Manual-mode inputs enabled, automatic-mode inputs greyed, or the reverse.
    void expectManual(bool manual) {
        for (int i = 0; i < 3; ++i) EXPECT_EQ(p.Label2[i].enabled(), manual) << i;
        for (ui::TextBox* box : {&p.IPAddr, &p.SubMask, &p.Gateway}) {
            EXPECT_EQ(box->enabled(), manual) << box->name();
            EXPECT_EQ(box->backColor(), manual ? ui::EnabledColour : ui::GreyedColour) << box->name();
        }
        EXPECT_EQ(p.BootP.enabled(), !manual);
        EXPECT_EQ(p.DHCP.enabled(), !manual);
        for (int i = 0; i < 2; ++i) EXPECT_EQ(p.Label5[i].enabled(), !manual) << i;
    }
};

TEST_F(WiredPage, DefaultsAndModesKeepTicksAndTexts) {
    auto defaults = [&] {
        EXPECT_TRUE(p.NicOption[0].value() && !p.NicOption[1].value());
        EXPECT_TRUE(p.useAutoIP.value() && !p.useStaticIP.value());
        EXPECT_EQ(p.DHCP.value() * 10 + p.BootP.value(), 10);
        expectManual(false);
    };
    defaults();
    p.BootP.click();
    p.useStaticIP.click();
    expectManual(true);
    p.IPAddr.userType("127.1.1.5");
    p.useAutoIP.click();
    expectManual(false);
    EXPECT_EQ(p.BootP.value(), 1);

    p.NicOption[1].click();
    p.useStaticIP.click();
    p.SetDefaultState();
    defaults();
    EXPECT_EQ(p.IPAddr.text(), "127.1.1.5");
}

TEST_F(WiredPage, ManualModeChecksAddressThenGatewayThenMask) {
    struct Case {
        const char* ip;
        const char* gateway;
        const char* mask;
        std::string box;  // empty: passes
    };
    const std::string again = "\r\nPlease enter a valid IP Address";
    const Case cases[] = {
        {"127.168.0.20", "127.168.0.1", "255.0.255.0", ""},
        {"127.2.123.254", "", "255.255.255.0",
         "Gateway Address cannot be empty when the Static  option is selected." + again},
        {"", "", "", "IP Address cannot be empty when the Static  option is selected." + again},
        {"127.168.0.0", "nonsense", "", "Invalid IP Address format. Segment value must be between 1 and 254" + again},
        {"127.2.3.4.", "1.1.1.1", "0.0.0.0",
         "Invalid IP Address format.\r\nCorrect format is ###.###.###.###\r\nExample: 10.2.123.254" + again},
        {"127.2.3.4", "127.2.3", "0.0.0.0",
         "Invalid Gateway Address format.\r\nCorrect format is ###.###.###.###\r\nExample: 10.2.123.254" + again},
        {"127.2.3.4", "0.2.3.1", "", "Invalid Gateway Address format. Segment value must be between 1 and 254" + again},
        {"127.2.3.4", "127.2.3.1", "", "Submask cannot be empty when the Static option is selected." + again},
        {"127.2.3.4", "127.2.3.1", "255.255.0",
         "Invalid submask format.\r\nCorrect format is ###.###.###.###\r\nExample: 255.255.0.0" + again},
        {"127.2.3.4", "127.2.3.1", "255.255.256.0",
         "Invalid submask format. Segment value must be between 0 and 255" + again},
    };
    p.useStaticIP.click();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.ip) + " / " + c.gateway + " / " + c.mask);
        for (ui::Form* f : w.app.loadedForms()) f->hide();
        p.show();
        w.messages.clear();
        p.IPAddr.setText(c.ip);
        p.Gateway.setText(c.gateway);
        p.SubMask.setText(c.mask);
        p.Next.click();
        if (c.box.empty()) {
            EXPECT_EQ(w.messages.count(), 0u);
            EXPECT_FALSE(p.isVisible());
        } else {
            ASSERT_EQ(w.messages.count(), 1u);
            EXPECT_EQ(w.messages.last().text, c.box);
            EXPECT_EQ(w.messages.last().title, "Program Error");
            EXPECT_TRUE(p.isVisible());
        }
    }

    // Automatic mode checks nothing.
    p.useAutoIP.click();
    p.IPAddr.setText("nonsense");
    p.show();
    w.messages.clear();
    p.Next.click();
    EXPECT_EQ(w.messages.count(), 0u);
    EXPECT_FALSE(p.isVisible());
}

}  // namespace

// The two choice pages: which radio settings, and which security method.

#include "WirelessWorld.h"

using wirelesstest::WirelessWorld;

namespace {

TEST(WirelessQuestionDlg, NothingTickedKeepsThePageWithTheSelectionError) {
    WirelessWorld w;
    auto& p = w.choice();
    p.show();
    for (const auto& c : p.check) EXPECT_EQ(c.value(), 0);
    p.check[4].setValue(2);  // only the value 1 counts as ticked
    p.Next.click();
    ASSERT_EQ(w.messages.count(), 1u);
    const auto& box = w.messages.last();
    EXPECT_EQ(box.text,
              "You need to select one of the check boxes to continue.\r\n\r\n"
              "If you don't wish to change any of the available settings,\r\n"
              "press the Cancel button to exit.");
    EXPECT_EQ(box.title, "Selection Error");
    EXPECT_EQ(box.icon, ui::Icon::Critical);
    EXPECT_EQ(box.buttons, ui::Buttons::OK);
    EXPECT_EQ(w.shown(), std::vector<std::string>{"WirelessQuestionDlg"});
}

TEST(EncryptQuestionDlg, OtherMethodsEnableTheirBoxesWhichKeepTheirTicks) {
    WirelessWorld w;
    auto& p = w.security();
    EXPECT_TRUE(p.click[0].value());
    EXPECT_FALSE(p.WPA.enabled());
    EXPECT_FALSE(p.EAP.enabled());

    p.click[2].click();
    EXPECT_TRUE(p.WPA.enabled());
    EXPECT_TRUE(p.EAP.enabled());
    p.WPA.click();
    p.click[1].click();
    EXPECT_FALSE(p.WPA.enabled());
    EXPECT_EQ(p.WPA.value(), 1);
    p.click[2].click();
    EXPECT_TRUE(p.WPA.enabled());
    EXPECT_EQ(p.WPA.value(), 1);
}

TEST(EncryptQuestionDlg, NextStaysOnThePageWhenNoMethodCanBeShown) {
    WirelessWorld w;
    auto& p = w.security();
    p.show();
    p.click[2].setValue(true);
    p.Next.click();
    ASSERT_EQ(w.messages.count(), 1u);
    EXPECT_EQ(w.messages.last().text, "You need to select at least one authentication method: WPA or EAP");
    EXPECT_EQ(w.messages.last().title, "Notice");
    EXPECT_EQ(w.shown(), std::vector<std::string>{"EncryptQuestionDlg"});

    p.click[2].setValue(false);  // as a loaded record can leave it
    p.Next.click();
    EXPECT_EQ(w.messages.count(), 1u);
    EXPECT_EQ(w.shown(), std::vector<std::string>{"EncryptQuestionDlg"});
}

}  // namespace

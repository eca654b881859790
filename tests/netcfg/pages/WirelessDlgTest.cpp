// The wireless radio page: lists and defaults, row enabling, the country
// timer and the three warnings on Next.

#include "WirelessWorld.h"

using wirelesstest::WirelessWorld;

namespace {

TEST(WirelessDlg, ListsAndDefaultsAfterLoad) {
    WirelessWorld w;
    auto& p = w.radio();
    struct List {
        ui::ComboBox& box;
        int count;
        int selected;
        const char* text;
    };
    const List lists[] = {{p.OpMode, 3, 0, "Normal"},    {p.Speed, 5, 0, "Auto-negotiate"},
                          {p.Channel, 16, 0, "Default"}, {p.Antenna, 3, 0, "Primary"},
                          {p.Preamble, 3, 0, "Default"}, {p.TxPower, 101, 100, "100"},
                          {p.PowerMgmt, 2, 0, "On"},     {p.Devices, 7, 1, "Mixed: 802.11b and 802.11g"},
                          {p.CountryCode, 12, 0, "USA"}};
    for (const auto& l : lists) {
        SCOPED_TRACE(l.box.name());
        EXPECT_EQ(l.box.listCount(), l.count);
        EXPECT_EQ(l.box.listIndex(), l.selected);
        EXPECT_EQ(l.box.text(), l.text);
        EXPECT_EQ(l.box.style(), ui::ComboBox::Style::DropDownList);
        EXPECT_FALSE(l.box.enabled());  // nothing ticked yet
    }
    EXPECT_EQ(p.Channel.list(7), "7");
    EXPECT_EQ(p.CountryCode.list(9), "Germany Indoor Operation");
    EXPECT_EQ(p.SSID.maxLength(), 32);
    EXPECT_EQ(p.Check2.value(), 0);
    EXPECT_EQ(p.SSID.backColor(), ui::GreyedColour);
    EXPECT_FALSE(p.Timer1.running());
}

TEST(WirelessDlg, SetDefaultStateEnablesExactlyTheTickedRowsAndKeepsValues) {
    WirelessWorld w;
    auto& p = w.radio();
    p.TxPower.setListIndex(40);
    w.choice().check[0].setValue(1);
    w.choice().check[6].setValue(1);
    w.choice().check[9].setValue(2);  // any value but 0 enables
    w.choice().Next.click();
    const std::vector<ui::Control*> inputs = {&p.SSID,     &p.OpMode,  &p.Speed,     &p.Channel, &p.Antenna,
                                              &p.Preamble, &p.TxPower, &p.PowerMgmt, &p.Devices, &p.CountryCode};
    for (int i = 0; i <= 9; ++i) {
        const bool on = i == 0 || i == 6 || i == 9;
        EXPECT_EQ(p.Label2[i].enabled(), on) << i;
        EXPECT_EQ(inputs[static_cast<std::size_t>(i)]->enabled(), on) << i;
    }
    EXPECT_TRUE(p.Check2.enabled());
    EXPECT_EQ(p.SSID.backColor(), ui::EnabledColour);
    EXPECT_EQ(p.TxPower.listIndex(), 40);

    w.choice().check[0].setValue(0);
    p.SetDefaultState();
    EXPECT_FALSE(p.SSID.enabled());
    EXPECT_EQ(p.SSID.backColor(), ui::GreyedColour);
}

struct Warning {
    const char* name;
    int country;
    int international;
    int devices;
    int speed;
    std::vector<int> answers;
    std::vector<const char*> boxes;  // first lines of the boxes shown, in order
    bool leaves;
};

const char* const European = "You selected an European country code but didn't enable International Mode.";
const char* const Usa = "You selected the USA country code but enable International Mode.";
const char* const Speed =
    "You selected a minimum transmission speed that is not compatible with your device mix setting.";

const Warning Warnings[] = {
    {"Defaults", 0, 0, 1, 0, {}, {}, true},
    {"EuropeWithoutInternational_No", 6, 0, 1, 0, {ui::IDNO}, {European}, false},
    {"EuropeWithoutInternational_Yes", 6, 0, 1, 0, {ui::IDYES}, {European}, true},
    {"EuropeWithInternational", 10, 1, 1, 0, {}, {}, true},
    {"UsaWithInternational", 0, 1, 1, 0, {ui::IDNO}, {Usa}, false},
    {"UsaIndoorWithInternational", 1, 1, 1, 0, {ui::IDYES}, {Usa}, true},
    {"NoFastRatesWithFastMinimum", 0, 0, 5, 3, {ui::IDNO}, {Speed}, false},
    {"NoFastRatesWithSlowMinimum", 0, 0, 5, 2, {}, {}, true},
    {"MixedWithoutFastRates", 0, 0, 2, 4, {ui::IDYES}, {Speed}, true},
    {"TwoWarnings_NoOnTheFirst", 11, 0, 2, 4, {ui::IDNO}, {European}, false},
    {"TwoWarnings_YesThenNo", 11, 0, 2, 4, {ui::IDYES, ui::IDNO}, {European, Speed}, false},
    {"TwoWarnings_YesYes", 11, 0, 2, 4, {ui::IDYES, ui::IDYES}, {European, Speed}, true},
};

class WirelessWarnings : public ::testing::TestWithParam<Warning> {};

TEST_P(WirelessWarnings, EachBoxOnlyAfterTheOneBeforeWasConfirmed) {
    const Warning& c = GetParam();
    WirelessWorld w;
    auto& p = w.radio();
    p.show();  // no row ticked: the warnings look at the values all the same
    p.CountryCode.setListIndex(c.country);
    p.Check2.setValue(c.international);
    p.Devices.setListIndex(c.devices);
    p.Speed.setListIndex(c.speed);
    for (int a : c.answers) w.messages.answer(a);
    p.Next.click();
    ASSERT_EQ(w.messages.count(), c.boxes.size());
    for (std::size_t i = 0; i < c.boxes.size(); ++i) {
        const auto& box = w.messages.shown()[i];
        EXPECT_EQ(box.text, std::string(c.boxes[i]) +
                                "\r\nThis may cause improper operation of the wireless NIC.\r\n\r\n"
                                "Are you sure you want to continue with these settings?");
        EXPECT_EQ(box.title, "Warning");
        EXPECT_EQ(box.icon, ui::Icon::Exclamation);
        EXPECT_EQ(box.buttons, ui::Buttons::YesNo);
        EXPECT_EQ(box.defaultButton, 1);
    }
    EXPECT_EQ(w.shown(), std::vector<std::string>{c.leaves ? "FinishDialog" : "WirelessDlg"});
}

INSTANTIATE_TEST_SUITE_P(Next, WirelessWarnings, ::testing::ValuesIn(Warnings), wirelesstest::CaseName());

struct CountryTimer : ::testing::Test {
    WirelessWorld w;
    netcfg::WirelessDlg& p = w.radio();
    void SetUp() override {
        w.choice().check[9].setValue(1);
        w.choice().show();
        w.choice().Next.click();
    }
    void pick(int row) {
        p.CountryCode.userDropDown();
        p.CountryCode.userSelect(row);
    }
};

TEST_F(CountryTimer, PickingFromTheOpenedListSetsInternationalModeWithinTenMilliseconds) {
    pick(9);  // Germany Indoor Operation
    EXPECT_EQ(p.PrevCountryText, "USA");
    EXPECT_EQ(p.Check2.value(), 0);
    w.wait(10);
    EXPECT_EQ(p.Check2.value(), 1);
    EXPECT_FALSE(p.Timer1.running());

    pick(1);  // USA Indoor Operation
    w.wait(10);
    EXPECT_EQ(p.Check2.value(), 0);
}

TEST_F(CountryTimer, KeyboardChangeWithoutOpeningTheListLeavesInternationalModeAlone) {
    p.CountryCode.userSelect(4);
    w.wait(100);
    EXPECT_EQ(p.Check2.value(), 0);
}

TEST_F(CountryTimer, ClosedWithoutChangeKeepsPollingWhileShown) {
    p.CountryCode.userDropDown();
    w.wait(500);
    EXPECT_TRUE(p.Timer1.running());
    p.CountryCode.userSelect(2);  // later, by the keyboard
    w.wait(10);
    EXPECT_EQ(p.Check2.value(), 1);
    EXPECT_FALSE(p.Timer1.running());
}

TEST_F(CountryTimer, StopsWhenThePageIsHiddenSoALaterLoadKeepsItsValues) {
    const std::function<void()> leave[] = {[&] { p.Next.click(); }, [&] { p.Prev.click(); }, [&] { p.hide(); }};
    for (const auto& how : leave) {
        p.show();
        p.CountryCode.userDropDown();
        how();
        EXPECT_FALSE(p.isVisible());
        EXPECT_FALSE(p.Timer1.running());
        // As a settings file load writes them:
        p.CountryCode.setListIndex(p.CountryCode.listIndex() == 6 ? 0 : 6);
        p.Check2.setValue(0);
        w.wait(100);
        EXPECT_EQ(p.Check2.value(), 0);
    }
}

}  // namespace

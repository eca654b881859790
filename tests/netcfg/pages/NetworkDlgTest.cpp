#include <gtest/gtest.h>

#include <string>

#include "netcfg/pages/NetworkDlg.h"
#include "netcfg/pages/QuestionDlg.h"
#include "support/QuillonWorld.h"

using testsupport::QuillonWorld;

namespace {

struct NetworkPage : ::testing::Test {
    QuillonWorld w;
    netcfg::QuestionDlg& choices = w.q.QuestionDlgForm();

    void tick(const char* ticks) {
        for (int i = 0; i < 7; ++i) choices.Check1[i].setValue(ticks[i] - '0');
    }
    // "1"/"0" for rows 1 to 5 enabled, then "|" and the PING fields.
    std::string rows(netcfg::NetworkDlg& p) {
        std::string s;
        for (int i = 1; i <= 5; ++i) {
            EXPECT_EQ(p.Label2[i].enabled(), p.Combo1[i].enabled()) << i;
            s += p.Combo1[i].enabled() ? '1' : '0';
        }
        const bool ping = p.Packet.enabled();
        for (ui::Control* c : std::initializer_list<ui::Control*>{&p.Period, &p.Label3[0], &p.Label3[1]})
            EXPECT_EQ(c->enabled(), ping) << c->name();
        for (ui::TextBox* box : {&p.Packet, &p.Period})
            EXPECT_EQ(box->backColor(), ping ? ui::EnabledColour : ui::GreyedColour) << box->name();
        return s + "|" + (ping ? '1' : '0');
    }
    void settle(std::uint32_t ms) {
        w.clock.advance(ms);
        w.app.fireDueTimers();
    }
};

TEST_F(NetworkPage, InitFormEnablesTheTickedRowsAndKeepsTheValues) {
    tick("0010000");
    auto& p = w.q.NetworkDlgForm();
    EXPECT_EQ(rows(p), "01000|0");
    const char* presets[] = {"", "Auto Select", "3 min", "Standard", "Enable", "Enable"};
    for (int i = 1; i <= 5; ++i) EXPECT_EQ(p.Combo1[i].text(), presets[i]) << i;
    EXPECT_EQ(p.Combo1[2].listCount(), 10);
    EXPECT_EQ(p.Packet.text() + p.Period.text(), "15");

    const std::pair<const char*, const char*> cases[] = {
        {"1001000", "00100|0"},
        {"0111110", "11111|1"},
        {"0000010", "00001|1"},
        {"0000000", "00000|0"},
    };
    p.Combo1[3].setListIndex(2);
    p.Packet.setText("7");
    for (auto [ticks, expected] : cases) {
        tick(ticks);
        p.InitForm();
        EXPECT_EQ(rows(p), expected) << ticks;
    }
    EXPECT_EQ(p.Combo1[3].text() + p.Packet.text(), "Off7");
}

TEST_F(NetworkPage, PingFieldsFollowTheSelectionOnTheTimerAfterTheListOpens) {
    tick("0000110");
    auto& p = w.q.NetworkDlgForm();
    p.show();
    p.InitForm();
    EXPECT_EQ(rows(p), "00011|1");

    // Opening another list starts nothing; a choice alone changes nothing yet.
    p.Combo1[4].userDropDown();
    p.Combo1[5].userSelect(1);
    settle(1000);
    EXPECT_EQ(rows(p), "00011|1");

    p.Combo1[5].userDropDown();
    settle(99);
    EXPECT_EQ(rows(p), "00011|1");
    settle(1);
    EXPECT_EQ(rows(p), "00011|0");
    p.Combo1[5].userSelect(0);
    settle(100);
    EXPECT_EQ(rows(p), "00011|1");

    // Next stops the timer; shown again, the selection decides at once.
    p.Combo1[5].userSelect(1);
    p.Next.click();
    EXPECT_EQ(w.app.msUntilNextTimer(), -1);
    p.show();
    p.InitForm();
    EXPECT_EQ(rows(p), "00011|0");
}

TEST_F(NetworkPage, HidingThePageStopsTheTimerSoAnUntickedPingRowStaysGreyed) {
    tick("0000110");
    auto& p = w.q.NetworkDlgForm();
    p.show();
    p.Combo1[5].userDropDown();
    p.Prev.click();
    tick("0000100");
    p.show();
    p.InitForm();
    settle(100);
    EXPECT_EQ(rows(p), "00010|0");
}

TEST_F(NetworkPage, PacketAndPeriodTakeOnlyCharactersOfThe8BitCodePage) {
    tick("0000010");
    auto& p = w.q.NetworkDlgForm();
    p.show();
    const std::pair<const char*, const char*> cases[] = {{"abc", "abc"}, {"5 €", "5 €"}, {"ä✓1", "ä1"}, {"日本", ""}};
    for (auto [typed, kept] : cases) {
        p.Packet.userType(typed);
        p.Period.userType(typed);
        EXPECT_EQ(p.Packet.text(), kept) << typed;
        EXPECT_EQ(p.Period.text(), kept) << typed;
    }
}

}  // namespace

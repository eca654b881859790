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

    void tick(const std::string& ticks) {
        for (int i = 0; i < 7; ++i) choices.Check1[i].setValue(ticks[static_cast<std::size_t>(i)] - '0');
    }
    // Row i enabled as "1", disabled as "0", rows 1 to 5, then the PING fields.
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

TEST_F(NetworkPage, ListsStartWithTheirDefaults) {
    tick("0000000");
    auto& p = w.q.NetworkDlgForm();
    struct List {
        int row;
        int count;
        const char* first;
        const char* preset;
    };
    const List lists[] = {
        {1, 5, "Auto Select", "Auto Select"}, {2, 10, "Disable", "3 min"}, {3, 3, "Standard", "Standard"},
        {4, 2, "Enable", "Enable"},           {5, 2, "Enable", "Enable"},
    };
    for (const List& l : lists) {
        EXPECT_EQ(p.Combo1[l.row].listCount(), l.count) << l.row;
        EXPECT_EQ(p.Combo1[l.row].list(0), l.first) << l.row;
        EXPECT_EQ(p.Combo1[l.row].text(), l.preset) << l.row;
        EXPECT_EQ(p.Combo1[l.row].style(), ui::ComboBox::Style::DropDownList) << l.row;
    }
    EXPECT_EQ(p.Combo1[2].list(9), "10 min");
    EXPECT_EQ(p.Packet.text(), "1");
    EXPECT_EQ(p.Period.text(), "5");
}

TEST_F(NetworkPage, InitFormEnablesTheTickedRowsAndKeepsTheValues) {
    struct Case {
        const char* ticks;
        const char* rows;
    };
    const Case cases[] = {
        {"0010000", "01000|0"}, {"1001000", "00100|0"}, {"0111110", "11111|1"},
        {"0000010", "00001|1"}, {"0000000", "00000|0"},
    };
    tick("0000010");
    auto& p = w.q.NetworkDlgForm();
    p.Combo1[3].setListIndex(2);
    p.Packet.setText("7");
    for (const Case& c : cases) {
        tick(c.ticks);
        p.InitForm();
        EXPECT_EQ(rows(p), c.rows) << c.ticks;
    }
    EXPECT_EQ(p.Combo1[3].text(), "Off");
    EXPECT_EQ(p.Packet.text(), "7");
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

    // Next stops the timer.
    p.Combo1[5].userSelect(1);
    p.Next.click();
    settle(1000);
    EXPECT_EQ(rows(p), "00011|1");
    EXPECT_EQ(w.app.msUntilNextTimer(), -1);
    // Shown again, the selection decides at once.
    p.show();
    p.InitForm();
    EXPECT_EQ(rows(p), "00011|0");
}

TEST_F(NetworkPage, PacketAndPeriodTakeOnlyCharactersOfThe8BitCodePage) {
    tick("0000010");
    auto& p = w.q.NetworkDlgForm();
    p.show();
    struct Case {
        const char* typed;
        const char* kept;
    };
    const Case cases[] = {{"12", "12"}, {"abc", "abc"}, {"5 €", "5 €"}, {"ä✓1", "ä1"}, {"日本", ""}};
    for (const Case& c : cases) {
        p.Packet.userType(c.typed);
        p.Period.userType(c.typed);
        EXPECT_EQ(p.Packet.text(), c.kept) << c.typed;
        EXPECT_EQ(p.Period.text(), c.kept) << c.typed;
    }
}

}  // namespace

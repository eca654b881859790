// Every way through the wireless and security pages, forwards and back.

#include "WirelessWorld.h"
#include "netcfg/pages/NetworkDlg.h"
#include "netcfg/pages/QuestionDlg.h"
#include "netcfg/pages/WiredDlg.h"

using wirelesstest::WirelessWorld;

namespace {

// The page that a page's Back leads to, where the page keeps one.
ui::Form* callerOf(ui::Form& page) {
    if (auto* p = dynamic_cast<netcfg::WirelessQuestionDlg*>(&page)) return p->Caller;
    if (auto* p = dynamic_cast<netcfg::EncryptQuestionDlg*>(&page)) return p->Caller;
    if (auto* p = dynamic_cast<netcfg::LEAPDlg*>(&page)) return p->Caller;
    if (auto* p = dynamic_cast<netcfg::FinishDialog*>(&page)) return p->Caller;
    return nullptr;
}

struct Walk {
    const char* name;
    std::vector<int> rows;  // radio rows ticked on the choice page
    bool encryption;
    // Security choice: 'O' open, 'T' WEP text keys, 'H' WEP hex keys,
    // 'P' WPA, 'E' EAP, 'B' WPA and EAP, '-' other methods without any.
    char method;
    // Buttons pressed ('N' Next, 'B' Back), each with the one page on screen afterwards.
    std::vector<std::pair<char, const char*>> steps;
};

void typeTwice(ui::TextBox& entry, ui::TextBox& confirm, const std::string& text) {
    entry.setText(text);
    confirm.setText(text);
}

void setUp(WirelessWorld& w, const Walk& walk) {
    for (int i : walk.rows) w.choice().check[i].setValue(1);
    w.choice().EncryptionCB.setValue(walk.encryption ? 1 : 0);
    auto& s = w.security();
    const char m = walk.method;
    s.click[m == 'O' ? 0 : m == 'T' || m == 'H' ? 1 : 2].setValue(true);
    s.WPA.setValue(m == 'P' || m == 'B' ? 1 : 0);
    s.EAP.setValue(m == 'E' || m == 'B' ? 1 : 0);
    if (m == 'H') w.q.WEPDlgForm().EntryManual.setValue(true);
    // A first key and a pass phrase that the pages take.
    if (m == 'T') typeTwice(w.q.WEPphraseDlgForm().KeyText[0], w.q.WEPphraseDlgForm().ConfirmTxt[0], "key one");
    if (m == 'H')
        typeTwice(w.q.WEPkeyDlgForm().KeyText[0], w.q.WEPkeyDlgForm().ConfirmTxt[0], "0123456789abcdef0123456789");
    if (m == 'P' || m == 'B') typeTwice(w.q.WPADlgForm().PassPhrase, w.q.WPADlgForm().ConfirmTxt, "phrase one");
}

const Walk Walks[] = {
    {"RadioThenWepTextKeysAndAllTheWayBack",
     {0},
     true,
     'T',
     {{'N', "WirelessDlg"},
      {'N', "EncryptQuestionDlg"},
      {'B', "WirelessDlg"},
      {'N', "EncryptQuestionDlg"},
      {'N', "WEPDlg"},
      {'N', "WEPphraseDlg"},
      {'B', "WEPDlg"},
      {'B', "EncryptQuestionDlg"},
      {'B', "WirelessDlg"},
      {'B', "WirelessQuestionDlg"},
      {'B', "QuestionDlg"}}},
    {"RadioThenWepHexKeysToTheFinish",
     {5, 9},
     true,
     'H',
     {{'N', "WirelessDlg"},
      {'N', "EncryptQuestionDlg"},
      {'N', "WEPDlg"},
      {'N', "WEPkeyDlg"},
      {'B', "WEPDlg"},
      {'N', "WEPkeyDlg"},
      {'N', "FinishDialog"}}},
    {"WepTextKeysToTheFinish",
     {},
     true,
     'T',
     {{'N', "EncryptQuestionDlg"}, {'N', "WEPDlg"}, {'N', "WEPphraseDlg"}, {'N', "FinishDialog"}}},
    {"RadioOnlyGoesToTheFinish",
     {9},
     false,
     'O',
     {{'N', "WirelessDlg"}, {'B', "WirelessQuestionDlg"}, {'N', "WirelessDlg"}, {'N', "FinishDialog"}}},
    {"OpenNetworkGoesToTheFinish",
     {},
     true,
     'O',
     {{'N', "EncryptQuestionDlg"}, {'B', "WirelessQuestionDlg"}, {'N', "EncryptQuestionDlg"}, {'N', "FinishDialog"}}},
    {"WpaThenEapAndBack",
     {},
     true,
     'B',
     {{'N', "EncryptQuestionDlg"},
      {'N', "WPADlg"},
      {'N', "LEAPDlg"},
      {'B', "WPADlg"},
      {'B', "EncryptQuestionDlg"},
      {'N', "WPADlg"},
      {'N', "LEAPDlg"},
      {'N', "FinishDialog"}}},
    {"WpaOnlyGoesToTheFinish", {}, true, 'P', {{'N', "EncryptQuestionDlg"}, {'N', "WPADlg"}, {'N', "FinishDialog"}}},
    {"EapOnlyComesBackToTheSecurityChoice",
     {3},
     true,
     'E',
     {{'N', "WirelessDlg"},
      {'N', "EncryptQuestionDlg"},
      {'N', "LEAPDlg"},
      {'B', "EncryptQuestionDlg"},
      {'N', "LEAPDlg"},
      {'N', "FinishDialog"}}},
    {"NothingTickedStaysOnTheChoicePage", {}, false, 'O', {{'N', "WirelessQuestionDlg"}, {'B', "QuestionDlg"}}},
    {"OtherMethodsWithoutAnyStayOnTheSecurityChoice",
     {},
     true,
     '-',
     {{'N', "EncryptQuestionDlg"}, {'N', "EncryptQuestionDlg"}, {'B', "WirelessQuestionDlg"}}},
};

class Routes : public ::testing::TestWithParam<Walk> {};

TEST_P(Routes, EachStepShowsOnePageAndNextSetsTheCallerOfTheNext) {
    WirelessWorld w;
    const Walk& walk = GetParam();
    setUp(w, walk);
    ui::Form& start = w.choice();
    w.choice().Caller = &w.q.QuestionDlgForm();
    start.show();
    ui::Form* current = &start;
    for (std::size_t s = 0; s < walk.steps.size(); ++s) {
        const auto& [button, page] = walk.steps[s];
        SCOPED_TRACE("step " + std::to_string(s + 1) + " to " + page);
        WirelessWorld::press(*current, button == 'N' ? "Next" : "Prev");
        ASSERT_EQ(w.shown(), std::vector<std::string>{page});
        ui::Form* now = nullptr;
        for (ui::Form* f : w.app.loadedForms())
            if (f->isVisible()) now = f;
        if (button == 'N' && now != current) {
            // Pages with a Caller learn who showed them; the others have a fixed Back.
            const std::string n = now->name();
            if (n == "EncryptQuestionDlg" || n == "LEAPDlg" || n == "FinishDialog") {
                EXPECT_EQ(callerOf(*now), current);
            }
        }
        current = now;
    }
}

INSTANTIATE_TEST_SUITE_P(Wireless, Routes, ::testing::ValuesIn(Walks), wirelesstest::CaseName());

TEST(RoutesBack, ChoicePageReturnsToWhicheverPageShowedIt) {
    WirelessWorld w;
    ui::Form* openers[] = {&w.q.QuestionDlgForm(), &w.q.WiredDlgForm(), &w.q.NetworkDlgForm()};
    for (ui::Form* opener : openers) {
        w.choice().show();
        w.choice().Caller = opener;
        w.choice().Prev.click();
        EXPECT_EQ(w.shown(), std::vector<std::string>{opener->name()});
        opener->hide();
    }
}

}  // namespace

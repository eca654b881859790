// Every way through the wireless and security pages, forwards and back.

#include <functional>

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

struct Step {
    char button;       // 'N' Next, 'B' Back
    const char* page;  // the one page on screen afterwards
};

struct Walk {
    const char* name;
    std::function<void(WirelessWorld&)> setUp;
    std::vector<Step> steps;
};

void tick(WirelessWorld& w, std::initializer_list<int> rows, bool encryption) {
    for (int i : rows) w.choice().check[i].setValue(1);
    w.choice().EncryptionCB.setValue(encryption ? 1 : 0);
}

void other(WirelessWorld& w, int wpa, int eap) {
    w.security().click[2].setValue(true);
    w.security().WPA.setValue(wpa);
    w.security().EAP.setValue(eap);
}

const Walk Walks[] = {
    {"RadioThenWepTextKeysAndAllTheWayBack",
     [](WirelessWorld& w) {
         tick(w, {0}, true);
         w.security().click[1].setValue(true);
     },
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
     [](WirelessWorld& w) {
         tick(w, {5, 9}, true);
         w.security().click[1].setValue(true);
         w.q.WEPDlgForm().EntryManual.setValue(true);
     },
     {{'N', "WirelessDlg"},
      {'N', "EncryptQuestionDlg"},
      {'N', "WEPDlg"},
      {'N', "WEPkeyDlg"},
      {'B', "WEPDlg"},
      {'N', "WEPkeyDlg"},
      {'N', "FinishDialog"}}},
    {"WepTextKeysToTheFinish",
     [](WirelessWorld& w) {
         tick(w, {}, true);
         w.security().click[1].setValue(true);
     },
     {{'N', "EncryptQuestionDlg"}, {'N', "WEPDlg"}, {'N', "WEPphraseDlg"}, {'N', "FinishDialog"}}},
    {"RadioOnlyGoesToTheFinish", [](WirelessWorld& w) { tick(w, {9}, false); },
     {{'N', "WirelessDlg"}, {'B', "WirelessQuestionDlg"}, {'N', "WirelessDlg"}, {'N', "FinishDialog"}}},
    {"OpenNetworkGoesToTheFinish", [](WirelessWorld& w) { tick(w, {}, true); },
     {{'N', "EncryptQuestionDlg"}, {'B', "WirelessQuestionDlg"}, {'N', "EncryptQuestionDlg"}, {'N', "FinishDialog"}}},
    {"WpaThenEapAndBack",
     [](WirelessWorld& w) {
         tick(w, {}, true);
         other(w, 1, 1);
     },
     {{'N', "EncryptQuestionDlg"},
      {'N', "WPADlg"},
      {'N', "LEAPDlg"},
      {'B', "WPADlg"},
      {'B', "EncryptQuestionDlg"},
      {'N', "WPADlg"},
      {'N', "LEAPDlg"},
      {'N', "FinishDialog"}}},
    {"WpaOnlyGoesToTheFinish",
     [](WirelessWorld& w) {
         tick(w, {}, true);
         other(w, 1, 0);
     },
     {{'N', "EncryptQuestionDlg"}, {'N', "WPADlg"}, {'N', "FinishDialog"}}},
    {"EapOnlyComesBackToTheSecurityChoice",
     [](WirelessWorld& w) {
         tick(w, {3}, true);
         other(w, 0, 1);
     },
     {{'N', "WirelessDlg"},
      {'N', "EncryptQuestionDlg"},
      {'N', "LEAPDlg"},
      {'B', "EncryptQuestionDlg"},
      {'N', "LEAPDlg"},
      {'N', "FinishDialog"}}},
    {"NothingTickedStaysOnTheChoicePage", [](WirelessWorld& w) { tick(w, {}, false); },
     {{'N', "WirelessQuestionDlg"}, {'B', "QuestionDlg"}}},
    {"OtherMethodsWithoutAnyStayOnTheSecurityChoice",
     [](WirelessWorld& w) {
         tick(w, {}, true);
         other(w, 0, 0);
     },
     {{'N', "EncryptQuestionDlg"}, {'N', "EncryptQuestionDlg"}, {'B', "WirelessQuestionDlg"}}},
};

class Routes : public ::testing::TestWithParam<Walk> {};

TEST_P(Routes, EachStepShowsOnePageAndNextSetsTheCallerOfTheNext) {
    WirelessWorld w;
    const Walk& walk = GetParam();
    walk.setUp(w);
    ui::Form& start = w.choice();
    w.choice().Caller = &w.q.QuestionDlgForm();
    start.show();
    ui::Form* current = &start;
    for (std::size_t s = 0; s < walk.steps.size(); ++s) {
        const Step& step = walk.steps[s];
        SCOPED_TRACE("step " + std::to_string(s + 1) + " to " + step.page);
        WirelessWorld::press(*current, step.button == 'N' ? "Next" : "Prev");
        ASSERT_EQ(w.shown(), std::vector<std::string>{step.page});
        ui::Form* now = nullptr;
        for (ui::Form* f : w.app.loadedForms())
            if (f->isVisible()) now = f;
        if (step.button == 'N' && now != current) {
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

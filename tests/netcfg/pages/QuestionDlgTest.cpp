#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "netcfg/core/FinishDialog.h"
#include "netcfg/core/PortSelect.h"
#include "netcfg/pages/NetworkDlg.h"
#include "netcfg/pages/QuestionDlg.h"
#include "netcfg/pages/WiredDlg.h"
#include "netcfg/pages/WirelessQuestionDlg.h"
#include "support/QuillonWorld.h"

using testsupport::QuillonWorld;
using Names = std::vector<std::string>;

namespace {

struct SettingsPages : ::testing::Test {
    QuillonWorld w;
    netcfg::QuestionDlg& choices = w.q.QuestionDlgForm();

    ui::Form* page(const std::string& name) {
        if (name == "QuestionDlg") return &choices;
        if (name == "WiredDlg") return &w.q.WiredDlgForm();
        if (name == "NetworkDlg") return &w.q.NetworkDlgForm();
        if (name == "PortSelect") return &w.q.PortSelectForm();
        return nullptr;
    }
    std::string callerOf(const std::string& name) {
        ui::Form* caller = nullptr;
        if (name == "NetworkDlg") caller = w.q.NetworkDlgForm().Caller;
        if (name == "WirelessQuestionDlg") caller = w.q.WirelessQuestionDlgForm().Caller;
        if (name == "FinishDialog") caller = w.q.FinishDialogForm().Caller;
        return caller ? caller->name() : "";
    }
};

TEST_F(SettingsPages, NextFollowsTheTicksAndBackReturnsToTheCaller) {
    struct Route {
        const char* ticks;  // Check1(0) to Check1(6)
        const char* from;
        const char* button;
        const char* to;
        const char* caller;  // of the page shown; for Back, of the page left
    };
    const Route routes[] = {
        {"1000000", "QuestionDlg", "Next", "WiredDlg", ""},
        {"1000001", "QuestionDlg", "Next", "WiredDlg", ""},
        {"0100000", "QuestionDlg", "Next", "NetworkDlg", "QuestionDlg"},
        {"0000010", "QuestionDlg", "Next", "NetworkDlg", "QuestionDlg"},
        {"0000001", "QuestionDlg", "Next", "WirelessQuestionDlg", "QuestionDlg"},
        {"1001000", "WiredDlg", "Next", "NetworkDlg", "WiredDlg"},
        {"1000011", "WiredDlg", "Next", "NetworkDlg", "WiredDlg"},
        {"1000001", "WiredDlg", "Next", "WirelessQuestionDlg", "WiredDlg"},
        {"1000000", "WiredDlg", "Next", "FinishDialog", "WiredDlg"},
        {"0010001", "NetworkDlg", "Next", "WirelessQuestionDlg", "NetworkDlg"},
        {"0010000", "NetworkDlg", "Next", "FinishDialog", "NetworkDlg"},
        {"0000000", "PortSelect", "Next", "QuestionDlg", ""},
        {"0000000", "QuestionDlg", "Prev", "PortSelect", ""},
        {"1000000", "WiredDlg", "Prev", "QuestionDlg", ""},
        {"0010000", "NetworkDlg", "Prev", "QuestionDlg", "QuestionDlg"},
        {"1010000", "NetworkDlg", "Prev", "WiredDlg", "WiredDlg"},
    };
    for (const Route& r : routes) {
        SCOPED_TRACE(std::string(r.ticks) + " " + r.from + "." + r.button);
        for (ui::Form* f : w.app.loadedForms()) f->hide();
        for (int i = 0; i < 7; ++i) choices.Check1[i].setValue(r.ticks[i] - '0');
        const bool back = std::string(r.button) == "Prev";
        if (back && *r.caller) w.q.NetworkDlgForm().Caller = page(r.caller);
        ui::Form* from = page(r.from);
        from->show();
        static_cast<ui::CommandButton*>(from->find(r.button))->click();
        EXPECT_EQ(w.shown(), Names{r.to});
        if (!back) {
            EXPECT_EQ(callerOf(r.to), r.caller);
        }
        EXPECT_EQ(w.messages.count(), 0u);
    }
}

TEST_F(SettingsPages, NothingTickedKeepsThePageWithASelectionError) {
    choices.Check1[6].setValue(2);  // a greyed box does not count
    choices.show();
    choices.Next.click();
    EXPECT_EQ(w.shown(), Names{"QuestionDlg"});
    ASSERT_EQ(w.messages.count(), 1u);
    EXPECT_EQ(w.messages.last().text,
              "You need to select one of the check boxes to continue.\r\n\r\n"
              "If you don't wish to change any of the available settings,\r\n"
              "press the Cancel button to exit.");
    EXPECT_EQ(w.messages.last().title, "Selection Error");
    EXPECT_EQ(w.messages.last().icon, ui::Icon::Critical);
}

TEST_F(SettingsPages, HelpButtonsOfBothPagesShowTheSameFiveNotices) {
    auto& network = w.q.NetworkDlgForm();
    Names texts;
    for (const char* name : {"HelpSpeed", "HelpTimer", "HelpJob", "HelpNetBios", "HelpPing"}) {
        static_cast<ui::CommandButton*>(choices.find(name))->click();
        static_cast<ui::CommandButton*>(network.find(name))->click();
        const auto& shown = w.messages.shown();
        EXPECT_EQ(shown.back().text, shown[shown.size() - 2].text) << name;
        EXPECT_EQ(shown.back().title, "Notice");
        if (std::find(texts.begin(), texts.end(), shown.back().text) == texts.end()) texts.push_back(shown.back().text);
    }
    EXPECT_EQ(texts.size(), 5u);
    choices.HelpIP.click();
    EXPECT_NE(w.messages.last().text.find("IP Addess gets assigned. IP Address can be"), std::string::npos);
}

}  // namespace

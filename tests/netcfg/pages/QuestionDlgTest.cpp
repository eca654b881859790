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

namespace {

struct SettingsPages : ::testing::Test {
    QuillonWorld w;
    netcfg::QuestionDlg& choices = w.q.QuestionDlgForm();

    // Ticks from a string of seven "0"/"1", index 0 first.
    void tick(const std::string& ticks) {
        for (int i = 0; i < 7; ++i) choices.Check1[i].setValue(ticks[static_cast<std::size_t>(i)] - '0');
    }
    std::vector<std::string> visiblePages() const {
        std::vector<std::string> names;
        for (const ui::Form* f : w.app.loadedForms())
            if (f->isVisible()) names.push_back(f->name());
        return names;
    }
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

TEST_F(SettingsPages, NextFollowsTheTicksAndSetsCaller) {
    struct Route {
        const char* ticks;
        const char* from;
        const char* to;
        const char* caller;
    };
    const Route routes[] = {
        {"1000000", "QuestionDlg", "WiredDlg", ""},
        {"1000001", "QuestionDlg", "WiredDlg", ""},
        {"0100000", "QuestionDlg", "NetworkDlg", "QuestionDlg"},
        {"0000010", "QuestionDlg", "NetworkDlg", "QuestionDlg"},
        {"0000001", "QuestionDlg", "WirelessQuestionDlg", "QuestionDlg"},
        {"1001000", "WiredDlg", "NetworkDlg", "WiredDlg"},
        {"1000011", "WiredDlg", "NetworkDlg", "WiredDlg"},
        {"1000001", "WiredDlg", "WirelessQuestionDlg", "WiredDlg"},
        {"1000000", "WiredDlg", "FinishDialog", "WiredDlg"},
        {"0010001", "NetworkDlg", "WirelessQuestionDlg", "NetworkDlg"},
        {"0010000", "NetworkDlg", "FinishDialog", "NetworkDlg"},
        {"0000000", "PortSelect", "QuestionDlg", ""},
    };
    for (const Route& r : routes) {
        SCOPED_TRACE(std::string(r.ticks) + " " + r.from);
        for (ui::Form* f : w.app.loadedForms()) f->hide();
        tick(r.ticks);
        ui::Form* from = page(r.from);
        from->show();
        static_cast<ui::CommandButton*>(from->find("Next"))->click();
        EXPECT_EQ(visiblePages(), std::vector<std::string>{r.to});
        EXPECT_EQ(callerOf(r.to), r.caller);
        EXPECT_EQ(w.messages.count(), 0u);
    }
}

TEST_F(SettingsPages, BackReturnsToThePageBefore) {
    struct Route {
        const char* from;
        const char* caller;
        const char* to;
    };
    const Route routes[] = {
        {"QuestionDlg", "", "PortSelect"},
        {"WiredDlg", "", "QuestionDlg"},
        {"NetworkDlg", "QuestionDlg", "QuestionDlg"},
        {"NetworkDlg", "WiredDlg", "WiredDlg"},
    };
    for (const Route& r : routes) {
        SCOPED_TRACE(std::string(r.from) + " from " + r.caller);
        for (ui::Form* f : w.app.loadedForms()) f->hide();
        ui::Form* from = page(r.from);
        if (*r.caller) w.q.NetworkDlgForm().Caller = page(r.caller);
        from->show();
        static_cast<ui::CommandButton*>(from->find("Prev"))->click();
        EXPECT_EQ(visiblePages(), std::vector<std::string>{r.to});
    }
}

TEST_F(SettingsPages, NothingTickedKeepsThePageWithASelectionError) {
    choices.show();
    choices.Next.click();
    EXPECT_EQ(visiblePages(), std::vector<std::string>{"QuestionDlg"});
    ASSERT_EQ(w.messages.count(), 1u);
    EXPECT_EQ(w.messages.last().text,
              "You need to select one of the check boxes to continue.\r\n\r\n"
              "If you don't wish to change any of the available settings,\r\n"
              "press the Cancel button to exit.");
    EXPECT_EQ(w.messages.last().title, "Selection Error");
    EXPECT_EQ(w.messages.last().icon, ui::Icon::Critical);
    // A greyed box does not count as ticked.
    choices.Check1[6].setValue(2);
    choices.Next.click();
    EXPECT_EQ(w.messages.count(), 2u);
}

TEST_F(SettingsPages, HelpButtonsShowTheirNoticeAndBothPagesShareTheTexts) {
    auto& network = w.q.NetworkDlgForm();
    const char* names[] = {"HelpSpeed", "HelpTimer", "HelpJob", "HelpNetBios", "HelpPing"};
    for (const char* name : names) {
        SCOPED_TRACE(name);
        static_cast<ui::CommandButton*>(choices.find(name))->click();
        static_cast<ui::CommandButton*>(network.find(name))->click();
        const auto& shown = w.messages.shown();
        ASSERT_GE(shown.size(), 2u);
        EXPECT_EQ(shown[shown.size() - 1].text, shown[shown.size() - 2].text);
        EXPECT_EQ(shown.back().title, "Notice");
        EXPECT_EQ(shown.back().icon, ui::Icon::Information);
        EXPECT_EQ(static_cast<ui::CommandButton*>(network.find(name))->toolTip(),
                  "Shows a brief description of this option.");
    }
    // Five different texts for five buttons.
    std::vector<std::string> texts;
    for (std::size_t i = 0; i < w.messages.count(); i += 2) texts.push_back(w.messages.shown()[i].text);
    std::sort(texts.begin(), texts.end());
    EXPECT_EQ(std::unique(texts.begin(), texts.end()) - texts.begin(), 5);

    choices.HelpIP.click();
    EXPECT_EQ(w.messages.last().text,
              "Allows you to either specify a unique IP Address for the network adapter or determine how the IP Addess "
              "gets assigned. IP Address can be obtained through one of the following methods: RARP, BootP, DHCP, or "
              "manually assigned.");
    choices.HelpWireless.click();
    EXPECT_NE(w.messages.last().text.find("include:\r\n\r\nWireless network name (SSID).\r\n"), std::string::npos);
}

}  // namespace

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "netcfg/core/LoadDlg.h"
#include "netcfg/core/PortSelect.h"
#include "netcfg/pages/QuestionDlg.h"
#include "support/QuillonWorld.h"

using testsupport::QuillonWorld;
using Items = std::vector<std::string>;

namespace {

Items serialPorts(int n) {
    Items ports;
    for (int i = 1; i <= n; ++i) ports.push_back("COM" + std::to_string(i) + ":");
    return ports;
}

std::string lines(const Items& items) {
    std::string s;
    for (const auto& i : items) s += i + "\n";
    return s;
}

TEST(PortSelectPorts, ListsHiddenRowsAndDefaultFollowThePortFile) {
    struct Case {
        std::optional<std::string> written;   // by the lister
        std::optional<std::string> leftOver;  // already in the current directory
        Items lpt, com, usb;
        const char* chosen;
    };
    const Case cases[] = {
        {"LPT1:\r\nCOM1:\r\nCOM2:\r\nUSB001\r\nFILE:\r\n", {}, {"LPT1:"}, {"COM1:", "COM2:"}, {"USB001"}, "PortLPT"},
        {"lpt1:\nLPT1\nCOM3:\nCOM4\n", {}, {}, {"COM3:"}, {}, "PortCOM"},
        {"USB001\nUSB002:\n", {}, {}, {}, {"USB001", "USB002:"}, "PortUSB"},
        {"FILE:\n\nIP_10.1.1.1\n", {}, {}, {}, {}, "PortTCP"},
        {"COM1:", {}, {}, {"COM1:"}, {}, "PortCOM"},
        {lines(serialPorts(105)), {}, {}, serialPorts(101), {}, "PortCOM"},
        {std::nullopt, "USB003\r\n", {}, {}, {"USB003"}, "PortUSB"},
        {std::nullopt, {}, {"LPT1:"}, {}, {}, "PortLPT"},  // no list: the error box
        {"", {}, {"LPT1:"}, {}, {}, "PortLPT"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.written.value_or("(none)").substr(0, 20));
        QuillonWorld w;
        w.ports = c.written;
        if (c.leftOver) testsupport::writeFile("ports.txt", *c.leftOver);
        auto& p = w.q.PortSelectForm();

        EXPECT_EQ(p.LPTCombo.items(), c.lpt);
        EXPECT_EQ(p.ComCombo.items(), c.com);
        EXPECT_EQ(p.USBCombo.items(), c.usb);
        for (auto [option, list] : {std::pair{&p.PortLPT, &p.LPTCombo}, std::pair{&p.PortCOM, &p.ComCombo},
                                    std::pair{&p.PortUSB, &p.USBCombo}}) {
            const bool any = list->listCount() > 0;
            EXPECT_EQ(option->visible() && list->visible(), any) << list->name();
            EXPECT_EQ(list->listIndex(), any ? 0 : -1) << list->name();
        }
        EXPECT_EQ(p.USB_ErrLbl.visible(), c.usb.empty());
        for (ui::OptionButton* o : {&p.PortLPT, &p.PortCOM, &p.PortUSB, &p.PortTCP, &p.PortFile})
            EXPECT_EQ(o->value(), o->name() == c.chosen) << o->name();
        EXPECT_EQ(p.IPAddr.backColor(), p.PortTCP.value() ? ui::EnabledColour : ui::GreyedColour);

        const bool noList = c.written.value_or("").empty() && !c.leftOver;
        ASSERT_EQ(w.messages.count(), noList ? 1u : 0u);
        if (noList) {
            EXPECT_EQ(w.messages.last().text,
                      "Unable to get list of available local ports.\r\nUsing default port settings.");
            EXPECT_EQ(w.messages.last().title, "Program Error");
        }
    }
}

TEST(PortSelectPorts, ListerRunsOnceFromTheProgramFolderAndEveryEntryIsLogged) {
    QuillonWorld w;
    w.q.DebugMode = true;
    auto& p = w.q.PortSelectForm();
    p.show();
    p.hide();
    w.q.PortSelectForm().show();
    ASSERT_EQ(w.processes.starts.size(), 1u);
    EXPECT_EQ(w.processes.starts[0].commandLine, w.folder.str() + "/tevask quenmora.exe");
    EXPECT_EQ(w.q.PortList, (Items{"LPT1:", "FILE:"}));
    const std::string at = "Dec 07,2026 09:00:00 - ";
    EXPECT_EQ(w.log(), at + "NumPorts=GetPorts()=[2]\r\n" + at + "   LPT1:\r\n" + at + "   FILE:\r\n" + at +
                           "exit Load_Combo\r\n");

    netcfg::QuillonModule other(w.app, w.os, "/opt/label printers");
    other.PortSelectForm();
    EXPECT_EQ(w.processes.starts.back().commandLine, "\"/opt/label printers/tevask\" quenmora.exe");
}

struct PortSelectPage : ::testing::Test {
    QuillonWorld w;
    netcfg::PortSelect& p = (w.ports = "LPT1:\nCOM1:\nUSB001\n", w.q.PortSelectForm());
    void SetUp() override { p.show(); }
};

TEST_F(PortSelectPage, EachOptionEnablesItsOwnInputsAndGreysTheOthers) {
    // Enabled: LPTCombo, ComCombo, USBCombo, the address row, the file row.
    const std::pair<ui::OptionButton*, const char*> rows[] = {
        {&p.PortTCP, "00010"}, {&p.PortFile, "00001"}, {&p.PortCOM, "01000"},
        {&p.PortUSB, "00100"}, {&p.PortLPT, "10000"},
    };
    p.IPAddr.setText("typed");
    p.FileName.setText("/tmp/out.txt");
    for (auto [option, expected] : rows) {
        option->click();
        const bool ip = p.IPAddr.enabled(), file = p.FileName.enabled();
        std::string on{p.LPTCombo.enabled() ? '1' : '0', p.ComCombo.enabled() ? '1' : '0',
                       p.USBCombo.enabled() ? '1' : '0', ip ? '1' : '0', file ? '1' : '0'};
        EXPECT_EQ(on, expected) << option->name();
        EXPECT_EQ(p.IPAddrLabel.enabled(), ip);
        EXPECT_EQ(p.IPAddr.backColor(), ip ? ui::EnabledColour : ui::GreyedColour);
        for (ui::Control* c : std::initializer_list<ui::Control*>{&p.FileDescLabel, &p.FileLabel, &p.Browse})
            EXPECT_EQ(c->enabled(), file) << c->name();
        EXPECT_EQ(p.FileName.backColor(), file ? ui::EnabledColour : ui::GreyedColour);
        EXPECT_EQ(p.IPAddr.text() + p.FileName.text(), "typed/tmp/out.txt");
    }
}

TEST_F(PortSelectPage, NextOrEnterValidatesTheAddressOrWarnsAboutTheClearTextFile) {
    const std::string again = "\r\nPlease enter a valid IP Address";
    const std::string segment = "Invalid IP Address format. Segment value must be between 1 and 254" + again;
    const std::string warning =
        "All configuration data, including sensitive password data, will be stored in a text file "
        "unencrypted.\r\nDo you want to continue?";
    struct Case {
        ui::OptionButton* option;
        const char* address;
        int key;     // 0: Next clicked, 1: Enter in IPAddr, 2: Enter in FileName
        int answer;  // reply to the warning
        std::string box;
        bool goesOn;
    };
    const Case cases[] = {
        {&p.PortTCP, "127.0.0.1", 0, 0, "", true},
        {&p.PortTCP, "127.168.0.20", 1, 0, "", true},
        {&p.PortTCP, "127a.2.3.4", 1, 0, segment, false},
        {&p.PortTCP, "1..2.3", 0, 0, segment, false},
        {&p.PortTCP, "127.2.123", 1, 0,
         "Invalid IP Address format.\r\nCorrect format is ###.###.###.###\r\nExample: 10.2.123.254" + again, false},
        {&p.PortTCP, "", 0, 0, "IP Address cannot be empty when the TCP port option is selected." + again, false},
        {&p.PortFile, "", 2, ui::IDYES, warning, true},
        {&p.PortFile, "", 0, ui::IDNO, warning, false},
        {&p.PortLPT, "nonsense", 0, 0, "", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.option->name() + " " + c.address);
        c.option->click();
        p.IPAddr.setText(c.address);
        p.show();
        if (auto* q = w.q.QuestionDlgForm.loaded()) q->hide();
        w.messages.clear();
        if (c.answer) w.messages.answer(c.answer);

        if (c.key == 0) p.Next.click();
        if (c.key == 1) p.IPAddr.userKey(13);
        if (c.key == 2) p.FileName.userKey(13);
        ASSERT_EQ(w.messages.count(), c.box.empty() ? 0u : 1u);
        if (!c.box.empty()) {
            EXPECT_EQ(w.messages.last().text, c.box);
            EXPECT_EQ(w.messages.last().title, c.answer ? "Warning" : "Program Error");
        }
        EXPECT_EQ(p.isVisible(), !c.goesOn);
        EXPECT_EQ(w.q.QuestionDlgForm().isVisible(), c.goesOn);
    }
}

TEST_F(PortSelectPage, BrowseAddsTheExtensionAndBackAndCancelLeaveOrAsk) {
    const std::pair<std::optional<std::string>, const char*> cases[] = {
        {"/tmp/out", "/tmp/out.txt"},
        {"/tmp/my.dir/out", "/tmp/my.dir/out"},  // a dot anywhere counts
        {std::nullopt, "/tmp/my.dir/out"},       // cancelled: nothing changes
    };
    p.PortFile.click();
    for (const auto& [chosen, expected] : cases) {
        w.files.answer(chosen);
        p.Browse.click();
        EXPECT_EQ(p.FileName.text(), expected);
    }
    const auto& request = w.files.shown().front();
    EXPECT_EQ(request.title, "File Browser");
    EXPECT_EQ(request.filter, "Text file (*.txt)|*.txt|All Files (*.*)|*.*");
    EXPECT_EQ(request.initialDir, w.folder.str());
    EXPECT_FALSE(request.fileMustExist);
    p.FileName.userType("/tmp/ünï ✓");  // a path takes any character
    EXPECT_EQ(p.FileName.text(), "/tmp/ünï ✓");

    w.messages.answer(ui::IDNO);
    p.Cancel.click();
    EXPECT_EQ(w.messages.last().title, "Caution Exiting Wizard");
    p.Prev.click();
    EXPECT_FALSE(p.isVisible());
    EXPECT_TRUE(w.q.LoadDlgForm().isVisible());
}

}  // namespace

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

const std::string Stamp = "Dec 07,2026 09:00:00 - ";

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

struct PortsCase {
    const char* name;
    std::optional<std::string> written;  // what the lister writes
    std::optional<std::string> leftOver;  // a file already in the current directory
    Items lpt, com, usb;
    bool errorBox;
    const char* chosen;
};

TEST(PortSelectPorts, ListsHiddenRowsAndDefaultFollowThePortFile) {
    const PortsCase cases[] = {
        {"all kinds", "LPT1:\r\nCOM1:\r\nCOM2:\r\nUSB001\r\nFILE:\r\n", {}, {"LPT1:"}, {"COM1:", "COM2:"}, {"USB001"},
         false, "PortLPT"},
        {"case and colon count", "lpt1:\nLPT1\nCOM3:\nCOM4\n", {}, {}, {"COM3:"}, {}, false, "PortCOM"},
        {"only USB", "USB001\nUSB002:\n", {}, {}, {}, {"USB001", "USB002:"}, false, "PortUSB"},
        {"no local port", "FILE:\n\nIP_10.1.1.1\n", {}, {}, {}, {}, false, "PortTCP"},
        {"last line without line end", "COM1:", {}, {}, {"COM1:"}, {}, false, "PortCOM"},
        {"no file", std::nullopt, {}, {"LPT1:"}, {}, {}, true, "PortLPT"},
        {"empty file", "", {}, {"LPT1:"}, {}, {}, true, "PortLPT"},
        {"file left over", std::nullopt, "USB003\r\n", {}, {}, {"USB003"}, false, "PortUSB"},
        {"more than 101 lines", lines(serialPorts(105)), {}, {}, serialPorts(101), {}, false, "PortCOM"},
    };
    for (const PortsCase& c : cases) {
        SCOPED_TRACE(c.name);
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
            EXPECT_EQ(option->visible(), any) << option->name();
            EXPECT_EQ(list->visible(), any) << list->name();
            EXPECT_EQ(list->listIndex(), any ? 0 : -1) << list->name();
        }
        EXPECT_EQ(p.USB_ErrLbl.visible(), c.usb.empty());

        if (c.errorBox) {
            ASSERT_EQ(w.messages.count(), 1u);
            EXPECT_EQ(w.messages.last().text,
                      "Unable to get list of available local ports.\r\nUsing default port settings.");
            EXPECT_EQ(w.messages.last().title, "Program Error");
            EXPECT_EQ(w.messages.last().icon, ui::Icon::Critical);
        } else {
            EXPECT_EQ(w.messages.count(), 0u);
        }
        for (ui::OptionButton* o : {&p.PortLPT, &p.PortCOM, &p.PortUSB, &p.PortTCP, &p.PortFile})
            EXPECT_EQ(o->value(), o->name() == c.chosen) << o->name();
        const bool tcp = std::string(c.chosen) == "PortTCP";
        EXPECT_EQ(p.IPAddr.enabled(), tcp);
        EXPECT_EQ(p.IPAddr.backColor(), tcp ? ui::EnabledColour : ui::GreyedColour);
    }
}

TEST(PortSelectPorts, ListerRunsOnceFromTheProgramFolderAndEveryEntryIsLogged) {
    QuillonWorld w;
    w.q.DebugMode = true;
    w.ports = "LPT1:\r\nFILE:\r\n";
    auto& p = w.q.PortSelectForm();
    p.show();
    p.hide();
    w.q.PortSelectForm().show();
    ASSERT_EQ(w.processes.starts.size(), 1u);
    EXPECT_EQ(w.processes.starts[0].commandLine, w.folder.str() + "/tevask quenmora.exe");
    EXPECT_FALSE(w.processes.starts[0].detached);
    EXPECT_EQ(w.q.PortList, (Items{"LPT1:", "FILE:"}));
    EXPECT_EQ(w.log(), Stamp + "NumPorts=GetPorts()=[2]\r\n" + Stamp + "   LPT1:\r\n" + Stamp + "   FILE:\r\n" +
                           Stamp + "exit Load_Combo\r\n");

    // A program folder holding blanks is quoted.
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
    struct Row {
        ui::OptionButton* option;
        bool lpt, com, usb, ip, file;
    };
    const Row rows[] = {
        {&p.PortTCP, false, false, false, true, false}, {&p.PortFile, false, false, false, false, true},
        {&p.PortCOM, false, true, false, false, false}, {&p.PortUSB, false, false, true, false, false},
        {&p.PortLPT, true, false, false, false, false},
    };
    p.IPAddr.setText("typed");
    p.FileName.setText("/tmp/out.txt");
    for (const Row& r : rows) {
        SCOPED_TRACE(r.option->name());
        r.option->click();
        EXPECT_EQ(p.LPTCombo.enabled(), r.lpt);
        EXPECT_EQ(p.ComCombo.enabled(), r.com);
        EXPECT_EQ(p.USBCombo.enabled(), r.usb);
        EXPECT_EQ(p.IPAddr.enabled(), r.ip);
        EXPECT_EQ(p.IPAddrLabel.enabled(), r.ip);
        EXPECT_EQ(p.IPAddr.backColor(), r.ip ? ui::EnabledColour : ui::GreyedColour);
        for (ui::Control* c : std::initializer_list<ui::Control*>{&p.FileDescLabel, &p.FileLabel, &p.FileName,
                                                                  &p.Browse})
            EXPECT_EQ(c->enabled(), r.file) << c->name();
        EXPECT_EQ(p.FileName.backColor(), r.file ? ui::EnabledColour : ui::GreyedColour);
        // Typed texts stay when their option is left.
        EXPECT_EQ(p.IPAddr.text(), "typed");
        EXPECT_EQ(p.FileName.text(), "/tmp/out.txt");
    }
}

TEST_F(PortSelectPage, NextValidatesTheAddressOrWarnsAboutTheClearTextFile) {
    struct Case {
        const char* option;
        const char* address;
        int answer;          // reply to the warning, 0: none asked
        const char* box;     // text of the box, nullptr: none
        bool goesOn;
    };
    const std::string again = "\r\nPlease enter a valid IP Address";
    const std::string segment = "Invalid IP Address format. Segment value must be between 1 and 254" + again;
    const std::string format =
        "Invalid IP Address format.\r\nCorrect format is ###.###.###.###\r\nExample: 10.2.123.254" + again;
    const std::string empty = "IP Address cannot be empty when the TCP port option is selected." + again;
    const std::string warning =
        "All configuration data, including sensitive password data, will be stored in a text file "
        "unencrypted.\r\nDo you want to continue?";
    const Case cases[] = {
        {"PortTCP", "10.2.123.254", 0, nullptr, true},
        {"PortTCP", "192.168.0.20", 0, nullptr, true},
        {"PortTCP", "10.0.0.1", 0, nullptr, true},
        {"PortTCP", "192.168.1.255", 0, segment.c_str(), false},
        {"PortTCP", "10a.2.3.4", 0, segment.c_str(), false},
        {"PortTCP", "1..2.3", 0, segment.c_str(), false},
        {"PortTCP", "10.2.123", 0, format.c_str(), false},
        {"PortTCP", "1.2.3.4.5", 0, format.c_str(), false},
        {"PortTCP", "", 0, empty.c_str(), false},
        {"PortFile", "nonsense", ui::IDYES, warning.c_str(), true},
        {"PortFile", "nonsense", ui::IDNO, warning.c_str(), false},
        {"PortLPT", "nonsense", 0, nullptr, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.option) + " " + c.address);
        static_cast<ui::OptionButton*>(p.find(c.option))->click();
        p.IPAddr.setText(c.address);
        p.show();
        if (auto* q = w.q.QuestionDlgForm.loaded()) q->hide();
        w.messages.clear();
        if (c.answer) w.messages.answer(c.answer);

        p.Next.click();
        if (c.box) {
            ASSERT_EQ(w.messages.count(), 1u);
            EXPECT_EQ(w.messages.last().text, c.box);
            const bool warn = std::string(c.option) == "PortFile";
            EXPECT_EQ(w.messages.last().title, warn ? "Warning" : "Program Error");
            EXPECT_EQ(w.messages.last().icon, warn ? ui::Icon::Exclamation : ui::Icon::Critical);
        } else {
            EXPECT_EQ(w.messages.count(), 0u);
        }
        EXPECT_EQ(p.isVisible(), !c.goesOn);
        EXPECT_EQ(w.q.QuestionDlgForm.loaded() && w.q.QuestionDlgForm.loaded()->isVisible(), c.goesOn);
    }
}

TEST_F(PortSelectPage, EnterInTheAddressOrFileBoxActsAsNext) {
    p.PortTCP.click();
    p.IPAddr.userType("10.2.3");
    p.IPAddr.userKey(13);
    ASSERT_EQ(w.messages.count(), 1u);
    EXPECT_EQ(w.messages.last().text.substr(0, 26), "Invalid IP Address format.");
    EXPECT_EQ(p.IPAddr.text(), "10.2.3");
    EXPECT_TRUE(p.isVisible());

    p.PortFile.click();
    w.messages.answer(ui::IDYES);
    p.FileName.userType("/tmp/ünïcödé ✓.txt");  // a path takes any character
    EXPECT_EQ(p.FileName.text(), "/tmp/ünïcödé ✓.txt");
    p.FileName.userKey(13);
    EXPECT_EQ(w.messages.last().title, "Warning");
    EXPECT_FALSE(p.isVisible());
    EXPECT_TRUE(w.q.QuestionDlgForm().isVisible());
}

TEST_F(PortSelectPage, BrowseOffersTextFilesFromTheProgramFolderAndAddsTheExtension) {
    struct Case {
        std::optional<std::string> chosen;
        const char* expected;
    };
    const Case cases[] = {
        {"/tmp/out", "/tmp/out.txt"},
        {"/tmp/my.dir/out", "/tmp/my.dir/out"},  // a dot anywhere counts
        {"/tmp/out.cfg", "/tmp/out.cfg"},
        {std::nullopt, "/tmp/out.cfg"},          // cancelled: nothing changes
    };
    p.PortFile.click();
    for (const Case& c : cases) {
        w.files.answer(c.chosen);
        p.Browse.click();
        EXPECT_EQ(p.FileName.text(), c.expected);
    }
    const auto& request = w.files.shown().front();
    EXPECT_EQ(request.title, "File Browser");
    EXPECT_EQ(request.filter, "Text file (*.txt)|*.txt|All Files (*.*)|*.*");
    EXPECT_EQ(request.initialDir, w.folder.str());
    EXPECT_TRUE(request.fileName.empty());
    EXPECT_FALSE(request.fileMustExist);
}

TEST_F(PortSelectPage, BackShowsTheLoadPageAndCancelAsks) {
    p.Prev.click();
    EXPECT_FALSE(p.isVisible());
    EXPECT_TRUE(w.q.LoadDlgForm().isVisible());

    p.show();
    w.messages.answer(ui::IDNO);
    p.Cancel.click();
    EXPECT_EQ(w.messages.last().title, "Caution Exiting Wizard");
    EXPECT_TRUE(p.isVisible());
    EXPECT_FALSE(w.app.ended());
}

}  // namespace

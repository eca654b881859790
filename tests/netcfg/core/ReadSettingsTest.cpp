// Page records and the network card's command block, line for line, for
// chosen settings on the pages; and the save question on the way out.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>

#include "foundation/KAEIntro.h"
#include "netcfg/core/PortSelect.h"
#include "netcfg/core/ReadSettings.h"
#include "netcfg/pages/EncryptQuestionDlg.h"
#include "netcfg/pages/LEAPDlg.h"
#include "netcfg/pages/NetworkDlg.h"
#include "netcfg/pages/QuestionDlg.h"
#include "netcfg/pages/WEPDlg.h"
#include "netcfg/pages/WEPkeyDlg.h"
#include "netcfg/pages/WEPphraseDlg.h"
#include "netcfg/pages/WPADlg.h"
#include "netcfg/pages/WiredDlg.h"
#include "netcfg/pages/WirelessDlg.h"
#include "netcfg/pages/WirelessQuestionDlg.h"
#include "support/Lines.h"
#include "support/QuillonWorld.h"

using netcfg::QuillonModule;
using testsupport::QuillonWorld;
using testsupport::splitCrLf;

namespace {

// Lines each ending with CR LF.
std::string crlf(std::initializer_list<std::string> lines) {
    std::string out;
    for (const auto& l : lines) out += l + "\r\n";
    return out;
}

const std::string RadioNone = crlf({"0|.", "0|.", "0|.", "0|.", "0|.", "0|.", "0|.", "0|.", "0|.", "0|.|."});

void wireless(QuillonModule& m, std::initializer_list<int> rows, bool encryption) {
    for (int i : rows) m.WirelessQuestionDlgForm().check[i].setValue(1);
    m.WirelessQuestionDlgForm().EncryptionCB.setValue(encryption ? 1 : 0);
}

void ethernet(QuillonModule& m, std::initializer_list<std::pair<int, int>> rows) {
    for (auto [i, k] : rows) {
        m.QuestionDlgForm().Check1[i].setValue(1);
        m.NetworkDlgForm().Combo1[i].setListIndex(k);
    }
}

void keys(ui::ControlArray<ui::TextBox>& boxes, std::initializer_list<const char*> texts) {
    int i = 0;
    for (const char* t : texts) boxes[i++].setText(t);
}

struct Case {
    const char* name;
    std::function<void(QuillonModule&)> set;
    std::map<int, std::string> records;  // the slots this case looks at
    std::vector<std::string> commands;   // each line ends with CR LF
};

// Security "other methods" with the WPA and EAP boxes as given.
void other(QuillonModule& m, int wpa, int eap) {
    wireless(m, {}, true);
    auto& e = m.EncryptQuestionDlgForm();
    e.click[2].setValue(true);
    e.WPA.setValue(wpa);
    e.EAP.setValue(eap);
}

// WEP with text keys ('T') or hexadecimal keys ('H').
void wep(QuillonModule& m, char kind) {
    wireless(m, {}, true);
    m.EncryptQuestionDlgForm().click[1].setValue(true);
    if (kind == 'H') m.WEPDlgForm().EntryManual.setValue(true);
}

void wired(QuillonModule& m, bool wiredAdapter) {
    m.QuestionDlgForm().Check1[0].setValue(1);
    m.WiredDlgForm().NicOption[wiredAdapter ? 0 : 1].setValue(true);
}

const Case Cases[] = {
    {"NothingChosen",
     [](QuillonModule&) {},
     {{0, crlf({"1|0", "0|.", "0|.", "0|.", "0|."})},
      {1, "0|0|0|0|0|0|0"},
      {2, ""},
      {3, crlf({"0|.", "0|.", "0|.", "0|.", "0|.", "0|."})},
      {4, "0|0|0|0|0|0|0|0|0|0|0"},
      {5, RadioNone},
      {6, "True|False|False|0|0"},
      {7, ""}},
     {""}},
    {"TcpOutput",
     [](QuillonModule& m) {
         m.PortSelectForm().PortTCP.setValue(true);
         m.PortSelectForm().IPAddr.setText("127.1.1.1");
     },
     {{0, crlf({"0|.", "0|.", "0|.", "1|127.1.1.1", "0|."})}},
     {""}},
    {"FileOutputKeepsABarInTheName",
     [](QuillonModule& m) {
         m.PortSelectForm().PortFile.setValue(true);
         m.PortSelectForm().FileName.setText("/tmp/a|b.txt");
     },
     {{0, crlf({"0|.", "0|.", "0|.", "0|.", "1|/tmp/a|b.txt"})}},
     {""}},
    {"AutomaticAddressDefaults",
     [](QuillonModule& m) { wired(m, true); },
     {{1, "1|0|0|0|0|0|0"}, {2, crlf({"1", "1|0|1"})}},
     {"store tcpip 1 opts -bootp dhcp ", ""}},
    {"ManualAddressOnWirelessAdapter",
     [](QuillonModule& m) {
         wired(m, false);
         auto& w = m.WiredDlgForm();
         w.useStaticIP.setValue(true);
         w.IPAddr.setText("127.1.1.5");
         w.SubMask.setText("255.255.255.0");
         w.Gateway.setText("127.1.1.254");
     },
     {{2, crlf({"2", "0|127.1.1.5|255.255.255.0|127.1.1.254"})}},
     {"store tcpip 2 opts -bootp -dhcp ", "store tcpip 2 addr 127.1.1.5", "store tcpip 2 mask 255.255.255.0",
      "store tcpip route add default2 127.1.1.254 2", ""}},
    {"EthernetFirstRows",
     [](QuillonModule& m) {
         ethernet(m, {{1, 0}, {2, 2}, {3, 1}, {4, 1}, {5, 0}});
         m.NetworkDlgForm().Packet.setText("3");
         m.NetworkDlgForm().Period.setText("10");
     },
     {{1, "0|1|1|1|1|1|0"}, {3, crlf({"0|.", "1|0", "1|2", "1|1", "1|1", "1|0|3|10"})}},
     {"store ifc 1 mode auto", "store tcpip tcp opts keepalive", "store tcpip tcp keepalivetimeout 3",
      "store pserver opts jobcontrol enhanced", "set sysinfo module -netbios", "save", "store pping opts enable",
      "store pping packet 3", "store pping period 10"}},
    {"EthernetOtherValueRows",
     [](QuillonModule& m) {
         ethernet(m, {{1, 4}, {2, 0}, {3, 2}, {4, 0}, {5, 1}});
     },
     {{3, crlf({"0|.", "1|4", "1|0", "1|2", "1|0", "1|1|1|5"})}},
     {"store ifc 1 mode 100full", "store tcpip tcp opts -keepalive", "store pserver opts jobcontrol off",
      "set sysinfo module netbios", "save", "store pping opts -enable"}},
    {"EthernetTenHalfDuplex",
     [](QuillonModule& m) {
         ethernet(m, {{1, 1}});
     },
     {},
     {"store ifc 1 mode 10half"}},
    {"EthernetListsWithoutSelection",
     [](QuillonModule& m) {
         ethernet(m, {{1, -1}, {3, -1}});
     },
     {{3, crlf({"0|.", "1|-1", "0|.", "1|-1", "0|.", "0|."})}},
     {"store ifc 1 mode 100full", "store pserver opts jobcontrol off"}},
    {"KeepAliveWithoutSpeedStartsWithAnEmptyLine",
     [](QuillonModule& m) {
         ethernet(m, {{2, 8}});
     },
     {},
     {"", "store tcpip tcp opts keepalive", "store tcpip tcp keepalivetimeout 9"}},
    {"RadioFirstRows",
     [](QuillonModule& m) {
         wireless(m, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, false);
         auto& r = m.WirelessDlgForm();
         r.SSID.setText("Lab|Net");
         for (auto [list, row] : {std::pair{&r.OpMode, 1},
                                  {&r.Speed, 3},
                                  {&r.Channel, 7},
                                  {&r.Antenna, 1},
                                  {&r.Preamble, 1},
                                  {&r.TxPower, 55},
                                  {&r.Devices, 6},
                                  {&r.CountryCode, 9}})
             list->setListIndex(row);
     },
     {{4, "1|1|1|1|1|1|1|1|1|1|0"},
      {5, crlf({"1|Lab|Net", "1|1", "1|3", "1|7", "1|1", "1|1", "1|55", "1|0", "1|6", "1|9|0"})}},
     {"", "store ifc 2 wlan ssid Lab|Net", "store ifc 2 wlan mode adhoc", "store ifc 2 wlan speed 5",
      "store ifc 2 wlan channel 7", "store ifc 2 wlan antenna diverse", "store ifc 2 wlan preamble long",
      "store ifc 2 wlan txpwr 55", "store ifc 2 wlan ppm on", "store ifc 2 wlan profile 6",
      "store ifc 2 wlan opts -intnl", "store ifc 2 wlan country DEI"}},
    {"RadioOtherValueRows",
     [](QuillonModule& m) {
         wireless(m, {1, 2, 3, 4, 5, 7, 9}, false);
         auto& r = m.WirelessDlgForm();
         for (auto [list, row] :
              {std::pair{&r.OpMode, 2}, {&r.Speed, 4}, {&r.Antenna, 2}, {&r.Preamble, 2}, {&r.PowerMgmt, 1}})
             list->setListIndex(row);
         r.Check2.setValue(1);
     },
     {{5, crlf({"0|.", "1|2", "1|4", "1|0", "1|2", "1|2", "0|.", "1|1", "0|.", "1|0|1"})}},
     {"", "store ifc 2 wlan mode pseudo", "store ifc 2 wlan speed 11", "store ifc 2 wlan channel default",
      "store ifc 2 wlan antenna aux", "store ifc 2 wlan preamble short", "store ifc 2 wlan ppm off",
      "store ifc 2 wlan opts intnl", "store ifc 2 wlan country US"}},
    {"CountryWithoutTransmitPower",
     [](QuillonModule& m) {
         wireless(m, {9}, false);
         m.WirelessDlgForm().CountryCode.setListIndex(2);
         m.WirelessDlgForm().Check2.setValue(1);
     },
     {{5, crlf({"0|.", "0|.", "0|.", "0|.", "0|.", "0|.", "0|.", "0|.", "0|.", "1|2|1"})}},
     {"", "store ifc 2 wlan opts intnl", "store ifc 2 wlan country GB"}},
    {"CountryOutsideTheTableSendsNeitherLine",
     [](QuillonModule& m) {
         wireless(m, {9}, false);
         m.WirelessDlgForm().CountryCode.setListIndex(-1);
     },
     {{5, crlf({"0|.", "0|.", "0|.", "0|.", "0|.", "0|.", "0|.", "0|.", "0|.", "1|-1|0"})}},
     {""}},
    {"OpenNetwork",
     [](QuillonModule& m) { wireless(m, {}, true); },
     {{4, "0|0|0|0|0|0|0|0|0|0|1"}, {6, "True|False|False|0|0"}, {7, ""}},
     {"", "store ifc 2 wlan auth open"}},
    {"WepTextKeysSecondKeyShared",
     [](QuillonModule& m) {
         wep(m, 'T');
         m.WEPphraseDlgForm().DefaultKey.setListIndex(2);
         keys(m.WEPphraseDlgForm().KeyText, {"alpha", "be ta"});
     },
     {{6, "False|True|False|0|0"}, {7, crlf({"0|.", "1|1|2|1|alpha|be ta||"})}},
     {"", "store ifc 2 wlan auth shared", "store ifc 2 wlan key 1 $alpha", "store ifc 2 wlan key 2 $be ta",
      "store ifc 2 wlan defkey 2"}},
    {"WepHexKeysOpenAuthentication",
     [](QuillonModule& m) {
         wep(m, 'H');
         auto& h = m.WEPkeyDlgForm();
         h.KeySize.setListIndex(0);
         h.AuthMethod.setListIndex(0);
         h.DefaultKey.setListIndex(4);
         keys(h.KeyText, {"", "", "12:34", "A7F3-0C9E-5B"});
     },
     {{7, crlf({"0|.", "1|0|0|0|4|||12:34|A7F3-0C9E-5B"})}},
     {"", "store ifc 2 wlan auth open", "store ifc 2 wlan key 3 12:34", "store ifc 2 wlan key 4 A7F3-0C9E-5B",
      "store ifc 2 wlan defkey 4"}},
    {"WepDisabledStoresNoKeys",
     [](QuillonModule& m) {
         wep(m, 'H');
         m.WEPkeyDlgForm().DefaultKey.setListIndex(0);
         keys(m.WEPkeyDlgForm().KeyText, {"12:34:56:78:9A"});
     },
     {{7, crlf({"0|.", "1|0|1|1|0"})}},
     {"", "store ifc 2 wlan defkey disable"}},
    {"WpaOnlyWithItsOtherValueRows",
     [](QuillonModule& m) {
         other(m, 1, 0);
         m.WPADlgForm().PassPhrase.setText("pass phrase");
         m.WPADlgForm().WPAMode.setListIndex(0);
         m.WPADlgForm().EncryptMethod.setListIndex(0);
     },
     {{6, "False|False|True|1|0"}, {7, crlf({"0|.", "0|.", "1|1|pass phrase|0|0"})}},
     {"", "store ifc 2 wlan passphrase pass phrase", "store ifc 2 wlan wpa disable",
      "store ifc 2 wlan cipher disable"}},
    {"WpaDefaults",
     [](QuillonModule& m) { other(m, 1, 0); },
     {},
     {"", "store ifc 2 wlan passphrase ", "store ifc 2 wlan wpa personal", "store ifc 2 wlan cipher aes"}},
    {"EapNoneStillSendsUserAndPassword",
     [](QuillonModule& m) {
         other(m, 0, 1);
         auto& l = m.LEAPDlgForm();
         l.Combo1.setListIndex(0);
         l.UserName.setText("user");
         l.Password.setText("p|w");
     },
     {{6, "False|False|True|0|1"}, {7, crlf({"0|.", "0|.", "0|.", "1|1|user|p|w|0"})}},
     {"", "store ifc 2 wlan eap none", "store ifc 2 wlan user user", "store ifc 2 wlan pass p|w"}},
    {"WpaAndEap",
     [](QuillonModule& m) {
         other(m, 1, 1);
         m.WPADlgForm().WPAMode.setListIndex(2);
         m.WPADlgForm().EncryptMethod.setListIndex(3);
         m.LEAPDlgForm().Combo1.setListIndex(3);
     },
     {{7, crlf({"0|.", "0|.", "1|1||3|2", "1|1|||3"})}},
     {"", "store ifc 2 wlan passphrase ", "store ifc 2 wlan wpa enterprise", "store ifc 2 wlan cipher tkip+aes",
      "store ifc 2 wlan eap ttls", "store ifc 2 wlan user ", "store ifc 2 wlan pass "}},
    {"EncryptionUntickedSendsNoSecurity",
     [](QuillonModule& m) {
         wep(m, 'T');
         m.WirelessQuestionDlgForm().EncryptionCB.setValue(0);
     },
     {{6, "False|True|False|0|0"}, {7, ""}},
     {""}},
    {"GroupsInOrderWithTheirInterfaces",
     [](QuillonModule& m) {
         wired(m, true);
         m.WiredDlgForm().BootP.setValue(1);
         m.WiredDlgForm().DHCP.setValue(0);
         ethernet(m, {{3, 0}});
         wireless(m, {0}, true);
         m.WirelessDlgForm().SSID.setText("x");
     },
     {{2, crlf({"1", "1|1|0"})}},
     {"store tcpip 1 opts bootp -dhcp ", "", "store pserver opts jobcontrol standard", "store ifc 2 wlan ssid x",
      "store ifc 2 wlan auth open"}},
};

struct CaseName {
    std::string operator()(const ::testing::TestParamInfo<Case>& info) const { return info.param.name; }
};

class Records : public ::testing::TestWithParam<Case> {};

TEST_P(Records, PagesReadIntoRecordsAndCommandLines) {
    QuillonWorld w;
    const Case& c = GetParam();
    c.set(w.q);
    netcfg::BuildNicSettings(w.q);
    for (const auto& [slot, record] : c.records) {
        SCOPED_TRACE("slot " + std::to_string(slot));
        EXPECT_EQ(splitCrLf(w.q.CurrentSettings[static_cast<std::size_t>(slot)]), splitCrLf(record));
    }
    std::string expected;
    for (const auto& l : c.commands) expected += l + "\r\n";
    EXPECT_EQ(splitCrLf(w.q.NicCommands), splitCrLf(expected));

    // The baseline writers store the same records.
    netcfg::StoreInitialSettings(w.q);
    EXPECT_EQ(w.q.InitialSettings, w.q.CurrentSettings);
    EXPECT_FALSE(netcfg::SettingsDiffer(w.q));
}

INSTANTIATE_TEST_SUITE_P(Settings, Records, ::testing::ValuesIn(Cases), CaseName{});

TEST(Baseline, ReadsOnlyThePortPageAndTheChoicePages) {
    QuillonWorld w;
    netcfg::StoreInitialSettings(w.q);
    EXPECT_TRUE(w.q.BaselineTaken);
    std::vector<std::string> loaded;
    for (const ui::Form* f : w.app.loadedForms()) loaded.push_back(f->name());
    std::sort(loaded.begin(), loaded.end());
    EXPECT_EQ(loaded,
              (std::vector<std::string>{"EncryptQuestionDlg", "PortSelect", "QuestionDlg", "WirelessQuestionDlg"}));
    for (const auto& slot : w.q.CurrentSettings) EXPECT_EQ(slot, "");
    EXPECT_TRUE(netcfg::SettingsDiffer(w.q));
}

TEST(Baseline, TheUnchosenWiredSlotKeepsItsOlderText) {
    QuillonWorld w;
    w.q.QuestionDlgForm().Check1[0].setValue(1);
    netcfg::BuildNicSettings(w.q);
    w.q.QuestionDlgForm().Check1[0].setValue(0);
    netcfg::BuildNicSettings(w.q);
    EXPECT_EQ(w.q.CurrentSettings[2], "1\r\n1|0|1\r\n");
    EXPECT_EQ(w.q.NicInterface, 1);
}

TEST(Baseline, RadioAndSecurityChoicePagesRecordThemselvesOnNext) {
    QuillonWorld w;
    wireless(w.q, {6}, true);
    auto& radio = w.q.WirelessDlgForm();
    radio.show();
    radio.Next.click();
    EXPECT_EQ(w.q.CurrentSettings[5], crlf({"0|.", "0|.", "0|.", "0|.", "0|.", "0|.", "1|100", "0|.", "0|.", "0|.|."}));
    EXPECT_EQ(w.q.NicInterface, 2);
    auto& security = w.q.EncryptQuestionDlgForm();
    ASSERT_TRUE(security.isVisible());
    security.click[2].setValue(true);
    security.EAP.setValue(1);
    security.Next.click();
    EXPECT_EQ(w.q.CurrentSettings[6], "False|False|True|0|1");
    for (std::size_t i : {0u, 1u, 2u, 3u, 4u, 7u}) EXPECT_EQ(w.q.CurrentSettings[i], "") << i;
}

struct Leaving : ::testing::Test {
    QuillonWorld w;
    const char* const Title = "Leaving Wizard Without Saving Settings";
    bool asked() const {
        for (const auto& box : w.messages.shown())
            if (box.title == Title) return true;
        return false;
    }
    bool listerRan() const {
        for (const auto& s : w.processes.starts)
            if (s.commandLine.find("quenmora") != std::string::npos) return true;
        return false;
    }
};

TEST_F(Leaving, WelcomeExitBeforeTheBaselineReadsNoPageAndAsksNothing) {
    w.q.Main("");
    w.messages.answer(ui::IDYES);
    w.q.KAEIntroForm().Exit.click();
    EXPECT_TRUE(w.app.ended());
    EXPECT_FALSE(asked());
    EXPECT_FALSE(listerRan());
}

TEST_F(Leaving, UnchangedPagesLeaveWithoutTheQuestion) {
    netcfg::StoreInitialSettings(w.q);
    w.q.PortSelectForm().show();
    w.messages.answer(ui::IDYES);
    w.q.PortSelectForm().Cancel.click();
    EXPECT_FALSE(asked());
    EXPECT_TRUE(w.app.ended());
}

TEST_F(Leaving, ChangedPagesAskAndYesKeepsTheWizard) {
    netcfg::StoreInitialSettings(w.q);
    auto& choice = w.q.QuestionDlgForm();
    choice.show();
    choice.Check1[4].setValue(1);
    w.messages.answer(ui::IDYES);  // leave the wizard
    w.messages.answer(ui::IDYES);  // save first
    choice.Cancel.click();
    ASSERT_TRUE(asked());
    EXPECT_EQ(w.messages.last().text,
              "You are about to exit this wizard after making changes.\r\n"
              "Once you exit, all of your settings will be lost.\r\n"
              "Would you like to save your settings before you exit?");
    EXPECT_FALSE(w.app.ended());
    EXPECT_EQ(w.q.CurrentSettings[3], crlf({"0|.", "0|.", "0|.", "0|.", "1|0", "0|."}));

    // After a save the same change no longer asks.
    w.messages.clear();
    w.q.SettingsSavedToFile = true;
    EXPECT_TRUE(w.q.ExitWizard());
    EXPECT_FALSE(asked());
}

TEST_F(Leaving, AChangedKeyAloneAsks) {
    wep(w.q, 'T');
    netcfg::StoreInitialSettings(w.q);
    w.q.WEPphraseDlgForm().KeyText[0].setText("alpha");
    w.messages.answer(ui::IDNO);
    w.q.ExitWizard();
    EXPECT_TRUE(asked());
}

TEST_F(Leaving, TitleBarCloseWithChangesAsksAndNoEnds) {
    netcfg::StoreInitialSettings(w.q);
    w.q.PortSelectForm().PortTCP.setValue(true);
    w.q.PortSelectForm().show();
    w.messages.answer(ui::IDNO);
    EXPECT_TRUE(w.q.PortSelectForm().userClose());
    EXPECT_TRUE(asked());
    EXPECT_TRUE(w.app.ended());
}

}  // namespace

// Saving the pages to a settings file and loading them back into the pages:
// the round trip, a file written by hand, the refusals and the faults of a
// save, and records that do not fit the pages.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>

#include "foundation/KAEIntro.h"
#include "netcfg/core/Dialog.h"
#include "netcfg/core/KRNCmds.h"
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
#include "support/QuillonWorld.h"
#include "support/Unprivileged.h"

using netcfg::QuillonModule;
using testsupport::readFile;
using testsupport::writeFile;

namespace {

namespace fs = std::filesystem;

// A wizard on its load page (the baseline taken), the file password typed.
struct Wizard : testsupport::QuillonWorld {
    explicit Wizard(const std::string& password = "Tessi-7") {
        q.Main("");
        q.KAEIntroForm().Next.click();
        q.DialogForm().Password.setText(password);
    }
    bool asksOnLeaving() {
        messages.clear();
        messages.answer(ui::IDNO);
        q.ExitWizard();
        for (const auto& box : messages.shown())
            if (box.title == "Leaving Wizard Without Saving Settings") return true;
        return false;
    }
};

// Many pages filled in: TCP output, a manual address, PING, radio rows and
// WPA with EAP.
void fill(QuillonModule& m) {
    m.PortSelectForm().PortTCP.setValue(true);
    m.PortSelectForm().IPAddr.setText("127.1.1.1");
    for (int i : {0, 5, 6}) m.QuestionDlgForm().Check1[i].setValue(1);
    auto& w = m.WiredDlgForm();
    w.useStaticIP.setValue(true);
    w.IPAddr.setText("127.1.1.5");
    w.SubMask.setText("255.255.255.0");
    w.Gateway.setText("127.1.1.254");
    m.NetworkDlgForm().Period.setText("12");
    for (int i : {0, 3, 6, 9}) m.WirelessQuestionDlgForm().check[i].setValue(1);
    m.WirelessQuestionDlgForm().EncryptionCB.setValue(1);
    m.WirelessDlgForm().SSID.setText("Caf\u00e9 floor 2");
    m.WirelessDlgForm().Channel.setListIndex(11);
    m.WirelessDlgForm().TxPower.setListIndex(40);
    m.WirelessDlgForm().CountryCode.setListIndex(4);
    m.WirelessDlgForm().Check2.setValue(1);
    auto& e = m.EncryptQuestionDlgForm();
    e.click[2].setValue(true);
    e.WPA.setValue(1);
    e.EAP.setValue(1);
    m.WPADlgForm().PassPhrase.setText("gate house 9");
    m.WPADlgForm().WPAMode.setListIndex(2);
    m.LEAPDlgForm().UserName.setText("operator");
    m.LEAPDlgForm().Password.setText("Pa55word");
    m.LEAPDlgForm().Combo1.setListIndex(3);
}

TEST(SettingsFiles, SavedPagesLoadBackIntoTheSamePagesAndLeavingAsksNothing) {
    auto first = std::make_unique<Wizard>();
    const std::string path = first->work.file("printer.qlz");
    fill(first->q);
    ASSERT_TRUE(first->q.SaveWizardSettings(path));
    EXPECT_EQ(first->messages.last().text, "Settings successfully saved in " + path + "\r\n");
    const auto records = first->q.CurrentSettings;
    const auto commands = first->q.NicCommands;
    EXPECT_EQ(records[5].rfind("1|Caf\u00e9 floor 2\r\n", 0), 0u);

    Wizard second;
    ASSERT_TRUE(second.q.LoadWizardSettings(path));
    EXPECT_EQ(second.q.CurrentSettings, records);
    EXPECT_EQ(second.q.InitialSettings, records);
    EXPECT_EQ(second.q.LEAPDlgForm().Password.text(), "Pa55word");
    EXPECT_EQ(second.q.WirelessDlgForm().SSID.text(), "Caf\u00e9 floor 2");
    netcfg::BuildNicSettings(second.q);
    EXPECT_EQ(second.q.CurrentSettings, records);
    EXPECT_EQ(second.q.NicCommands, commands);
    EXPECT_FALSE(second.asksOnLeaving());
    EXPECT_TRUE(second.app.ended());
}

// The format written out by hand: each record its type 8, its length and its text.
std::string handWritten(const std::string& password, const std::vector<std::string>& pageRecords) {
    auto rec = [](const std::string& text) {
        return std::string{8, 0, static_cast<char>(text.size() & 255), static_cast<char>(text.size() >> 8)} + text;
    };
    auto hex = [](const std::string& bytes) {
        std::string out;
        char pair[3];
        for (unsigned char c : bytes) {
            std::snprintf(pair, sizeof pair, "%02X", c);
            out += pair;
        }
        return out;
    };
    std::string file = rec("V1.1") + rec(hex(password));
    for (const auto& r : pageRecords) file += rec(hex(r));
    return file;
}

TEST(SettingsFiles, AFileWrittenFromTheFormatLoadsIntoThePages) {
    Wizard w("");
    const std::string path = w.work.file("by-hand");
    writeFile(path, handWritten("", {"0|.\r\n0|.\r\n0|.\r\n1|127.1.1.9\r\n0|.\r\n", "1|0|0|0|0|0|1",
                                     "2\r\n0|127.1.1.5|255.255.0.0|127.1.1.1\r\n",
                                     "0|.\r\n0|.\r\n0|.\r\n0|.\r\n0|.\r\n0|.\r\n", "1|0|0|1|0|0|0|0|0|0|1",
                                     "1|Caf\xe9\r\n0|.\r\n0|.\r\n1|3\r\n0|.\r\n0|.\r\n0|.\r\n0|.\r\n0|.\r\n0|.|.\r\n",
                                     "False|True|False|0|0", "0|.\r\n1|1|2|1|alpha|beta|gamma|delta\r\n"}));
    ASSERT_TRUE(w.q.LoadWizardSettings(path));
    auto& m = w.q;
    EXPECT_TRUE(m.PortSelectForm().PortTCP.value());
    EXPECT_EQ(m.PortSelectForm().IPAddr.text(), "127.1.1.9");
    EXPECT_EQ(m.PortSelectForm().FileName.text(), "");
    EXPECT_TRUE(m.WiredDlgForm().NicOption[1].value());
    EXPECT_TRUE(m.WiredDlgForm().useStaticIP.value());
    EXPECT_EQ(m.WiredDlgForm().Gateway.text(), "127.1.1.1");
    EXPECT_EQ(m.WirelessDlgForm().SSID.text(), "Caf\u00e9");
    EXPECT_EQ(m.WirelessDlgForm().Channel.listIndex(), 3);
    EXPECT_EQ(m.WirelessDlgForm().TxPower.listIndex(), 0);  // a row not chosen goes to the list's first row
    EXPECT_EQ(m.WirelessDlgForm().CountryCode.listIndex(), 0);
    EXPECT_EQ(m.WirelessDlgForm().Check2.value(), 0);
    EXPECT_TRUE(m.EncryptQuestionDlgForm().click[1].value());
    EXPECT_TRUE(m.WEPDlgForm().Phrase.value());
    EXPECT_EQ(m.WEPphraseDlgForm().DefaultKey.listIndex(), 2);
    EXPECT_EQ(m.WEPphraseDlgForm().KeyText[3].text(), "delta");
    EXPECT_FALSE(w.asksOnLeaving());
}

TEST(SettingsFiles, RefusedFilesShowTheirNoticeAndChangeNothing) {
    struct Case {
        const char* name;
        std::function<std::string(const std::string& good)> bytes;  // nothing: no file
        std::string notice;
    };
    const Case cases[] = {
        {"missing", nullptr, "File not found. Please select another file."},
        {"other version", [](const std::string& good) { return std::string("\x08\0\x04\0V1.0", 8) + good.substr(8); },
         "Error Reading File\r\nIncompatible File Type Detected\r\nUnable to load the saved settings\r\n"},
        {"wrong password",
         [](const std::string&) {
             return handWritten("tessi-7", {"", "", "", "", "", "", "", ""});
         },
         "Error Invalid Password.\r\nUnable to load the saved settings\r\n"},
        {"ends early", [](const std::string& good) { return good.substr(0, good.size() - 3); },
         "Error Reading File\r\nThe file is incomplete or damaged\r\nUnable to load the saved settings\r\n"},
    };
    for (const Case& c : cases) {
        Wizard w;
        const std::string good = w.work.file("good.qlz"), path = w.work.file("test.qlz");
        w.q.QuestionDlgForm().Check1[4].setValue(1);
        ASSERT_TRUE(w.q.SaveWizardSettings(good));
        w.q.QuestionDlgForm().Check1[4].setValue(0);
        if (c.bytes) writeFile(path, c.bytes(readFile(good)));
        const auto current = w.q.CurrentSettings, initial = w.q.InitialSettings;
        EXPECT_FALSE(w.q.LoadWizardSettings(path)) << c.name;
        EXPECT_EQ(w.messages.last().text, c.notice) << c.name;
        EXPECT_EQ(w.messages.last().title, "Notice") << c.name;
        EXPECT_EQ(w.q.CurrentSettings, current) << c.name;
        EXPECT_EQ(w.q.InitialSettings, initial) << c.name;
        EXPECT_EQ(w.q.QuestionDlgForm().Check1[4].value(), 0) << c.name;
    }
}

TEST(SettingsFiles, ASaveReplacesTheWholeFileKeepingItsPermissionsOrLeavesItWhole) {
    Wizard w;
    const std::string path = w.work.file("kept.qlz"), link = w.work.file("link.qlz");
    writeFile(path, std::string(5000, 'x'));
    ::chmod(path.c_str(), 0640);
    fs::create_symlink(path, link);

    w.messages.answer(ui::IDNO);  // not over the older file
    EXPECT_FALSE(w.q.SaveWizardSettings(link));
    EXPECT_EQ(w.messages.count(), 1u);
    EXPECT_EQ(w.messages.last().title, "File Exist Error");
    EXPECT_EQ(readFile(path), std::string(5000, 'x'));

    w.messages.answer(ui::IDYES);
    ASSERT_TRUE(w.q.SaveWizardSettings(link));
    const std::string saved = readFile(path);
    EXPECT_EQ(saved.size(),
              8u + 4 + 14 + 8 * 4 +
                  2 * (w.q.CurrentSettings[0].size() + w.q.CurrentSettings[1].size() + w.q.CurrentSettings[3].size() +
                       w.q.CurrentSettings[4].size() + w.q.CurrentSettings[5].size() + w.q.CurrentSettings[6].size()));
    EXPECT_EQ(fs::status(path).permissions(), fs::perms(0640));
    EXPECT_TRUE(fs::is_symlink(link));
    for (const auto& entry : fs::directory_iterator(w.work.path()))
        EXPECT_EQ(entry.path().string().find(".new"), std::string::npos) << entry.path();

    const std::string nowhere = w.work.file("no-such-folder/settings.qlz");
    EXPECT_FALSE(w.q.SaveWizardSettings(nowhere));
    EXPECT_EQ(w.messages.last().text, "Error Writing File\r\nUnable to save the settings in " + nowhere + "\r\n");
}

TEST(SettingsFiles, NewFilesThatMayHoldKeysAreTheOwnersOnly) {
    Wizard w;
    struct Umask {
        mode_t old = ::umask(0);  // the most permissive
        ~Umask() { ::umask(old); }
    } permissive;
    ASSERT_TRUE(w.q.SaveWizardSettings(w.work.file("new.qlz")));
    w.q.PortSelectForm().PortFile.setValue(true);
    w.q.PortSelectForm().FileName.setText(w.work.file("job.txt"));
    ASSERT_EQ(netcfg::SendConfigJob(w.q, "store ifc 2 wlan wep key 1 0102030405\r\n"), netcfg::SendResult::Sent);
    w.q.DebugMode = true;
    w.q.WriteLog("in FinishDialog");
    for (const auto& file : {w.work.file("new.qlz"), w.work.file("job.txt"), w.folder.file("Log.txt")})
        EXPECT_EQ(fs::status(file).permissions(), fs::perms(0600)) << file;
}

// A shared folder: the user may write its files but make none in it.
TEST(SettingsFiles, FileOutputWritesOverAFileOfAClosedFolderWhereSettingsFilesAreRefused) {
    const std::string commands = "store ifc 2 wlan wep key 1 0102030405\r\n";
    const std::string job = "!VMD_SETUP\r\nNIC_SETUP\r\n" + commands + "\r\nreboot\r\nEND_NIC_SETUP\r\nVMD_END\r\n\r\n";
    const std::string report = testsupport::asUnprivilegedUser([&] {
        Wizard w;
        const std::string shared = w.work.file("shared");
        fs::create_directory(shared);
        const std::string older = shared + "/job.txt", fresh = shared + "/new.txt", pipe = shared + "/pipe",
                          settings = shared + "/printer.qlz";
        writeFile(older, std::string(5000, 'o'));
        ::chmod(older.c_str(), 0640);
        writeFile(settings, "older settings");
        ::mkfifo(pipe.c_str(), 0600);
        struct stat before {};
        ::stat(older.c_str(), &before);
        ::chmod(shared.c_str(), 0555);

        auto send = [&](const std::string& path) {
            w.q.PortSelectForm().PortFile.setValue(true);
            w.q.PortSelectForm().FileName.setText(path);
            return netcfg::SendConfigJob(w.q, commands) == netcfg::SendResult::Sent;
        };
        std::string out;
        out += std::string("older file: ") + (send(older) ? "sent" : "refused");
        struct stat after {};
        ::stat(older.c_str(), &after);
        out += after.st_ino == before.st_ino ? ", the same file" : ", another file";
        out += (after.st_mode & 07777) == 0640 ? ", its mode" : ", another mode";
        out += readFile(older) == job ? ", the job\n" : ", other bytes\n";
        out += std::string("new file: ") + (send(fresh) ? "sent" : "refused") + (fs::exists(fresh) ? ", made\n" : "\n");
        out += std::string("pipe: ") + (send(pipe) ? "sent\n" : "refused\n");
        w.messages.answer(ui::IDYES);
        out += std::string("settings file: ") + (w.q.SaveWizardSettings(settings) ? "saved" : "refused") +
               (readFile(settings) == "older settings" ? ", unchanged\n" : ", changed\n");
        ::chmod(shared.c_str(), 0755);
        return out;
    });
    EXPECT_EQ(report,
              "older file: sent, the same file, its mode, the job\n"
              "new file: refused\n"
              "pipe: refused\n"
              "settings file: refused, unchanged\n");
}

TEST(SettingsFiles, ANameOfTheLongestLegalLengthSaves) {
    Wizard w;
    const std::string path = w.work.file(std::string(251, 'n') + ".qlz");
    ASSERT_TRUE(w.q.SaveWizardSettings(path));
    EXPECT_TRUE(fs::is_regular_file(path));
}

TEST(SettingsFiles, TextsTheFormatCannotHoldAreRefusedByName) {
    struct Case {
        std::function<void(QuillonModule&)> set;
        std::string notice;
    };
    const std::string lead = "Unable to save the settings: \"";
    const Case cases[] = {
        {[](QuillonModule& m) {
             m.PortSelectForm().PortFile.setValue(true);
             m.PortSelectForm().FileName.setText("/tmp/nic|job.txt");
         },
         lead + "Printer Port Selection: Full Path and File Name\" contains \"|\" or a line break, which a settings "
                "file cannot hold.\r\n"},
        {[](QuillonModule& m) {
             m.WirelessQuestionDlgForm().check[0].setValue(1);
             m.WirelessDlgForm().SSID.setText("Lab\nNet");
         },
         lead + "Wireless Network Settings: SSID\" contains \"|\" or a line break, which a settings file cannot "
                "hold.\r\n"},
        {[](QuillonModule& m) {
             m.PortSelectForm().PortFile.setValue(true);
             m.PortSelectForm().FileName.setText("/tmp/\u4e2d.txt");
         },
         lead + "Printer Port Selection: Full Path and File Name\" contains a character that a settings file cannot "
                "hold.\r\n"},
        {[](QuillonModule& m) {
             m.QuestionDlgForm().Check1[0].setValue(1);
             auto& wired = m.WiredDlgForm();
             wired.useStaticIP.setValue(true);
             wired.SubMask.setText("255.255.255.0");
             wired.Gateway.setText("\u4e2d");  // named, though not the longest text of its record
         },
         lead + "IP Address Assignment: Gateway\" contains a character that a settings file cannot hold.\r\n"},
        {[](QuillonModule& m) {
             m.WirelessQuestionDlgForm().EncryptionCB.setValue(1);
             m.EncryptQuestionDlgForm().click[2].setValue(true);
             m.EncryptQuestionDlgForm().WPA.setValue(1);
             m.WPADlgForm().PassPhrase.setText(std::string(33000, 'p'));
         },
         lead + "WPA Encryption Configuration: Passphrase\" is too long for a settings file.\r\n"},
    };
    for (const Case& c : cases) {
        Wizard w;
        c.set(w.q);
        const std::string path = w.work.file("refused.qlz");
        EXPECT_FALSE(w.q.SaveWizardSettings(path));
        EXPECT_EQ(w.messages.last().text, c.notice);
        EXPECT_FALSE(fs::exists(path));
    }
}

TEST(SettingsFiles, TheLongestPasswordTheFormatHoldsIsSaved) {
    const std::string password(65535 / 2, 'k');
    Wizard w(password);
    const std::string path = w.work.file("long.qlz");
    ASSERT_TRUE(w.q.SaveWizardSettings(path));
    // Loaded back, it takes the whole password and nothing shorter.
    Wizard whole(password), cut(password.substr(1));
    EXPECT_TRUE(whole.q.LoadWizardSettings(path));
    EXPECT_FALSE(cut.q.LoadWizardSettings(path));
    EXPECT_EQ(cut.messages.last().text, "Error Invalid Password.\r\nUnable to load the saved settings\r\n");
}

TEST(SettingsFiles, HexadecimalKeysLoadIntoTheirBoxes) {
    Wizard w;
    w.q.CurrentSettings[7] = "0|.\r\n1|0|1|1|2|12:34:56:78:9A|||0123456789\r\n";
    netcfg::ApplySettings(w.q);
    EXPECT_EQ(w.q.WEPkeyDlgForm().KeyText[0].text(), "12:34:56:78:9A");
    EXPECT_EQ(w.q.WEPkeyDlgForm().KeyText[3].text(), "0123456789");
}

TEST(SettingsFiles, RecordsThatDoNotFitThePagesAreSkipped) {
    Wizard w;
    auto& m = w.q;
    m.CurrentSettings = {"1|7\r\n1|x\r\n0|.\r\n0|.\r\n0|.\r\n",
                         "9|x|1|2|0|1|0|1|1|1|1",
                         "1\r\n1|1",
                         "0|.\r\n1|99\r\n1|-1\r\n1|x|y\r\n0|.\r\n1|1|8|9|extra\r\n1|0\r\n",
                         "1|1|1|1|1|1|1|1|1|1|1|1|1|1|x",
                         "1|\r\n1|9\r\n1|x\r\n1\r\n\r\n1|1\r\n1|70000\r\n1|0|.|1\r\n",
                         "maybe|True|32767|2|3|4|1|1",
                         "0|.\r\n1|1\r\n1|1|pass||3\r\n1|1|user|pw|77\r\n1|0|4|4|4\r\n"};
    EXPECT_NO_THROW(netcfg::ApplySettings(m));
    EXPECT_TRUE(m.PortSelectForm().PortLPT.value());  // no port 7 here: the page's choice stays
    EXPECT_EQ(m.PortSelectForm().LPTCombo.listIndex(), 0);
    EXPECT_EQ(m.QuestionDlgForm().Check1[0].value(), 0);
    EXPECT_EQ(m.QuestionDlgForm().Check1[3].value(), 2);
    EXPECT_EQ(m.NetworkDlgForm().Combo1[1].listIndex(), 0);
    EXPECT_EQ(m.NetworkDlgForm().Period.text(), "9");
    EXPECT_EQ(m.WirelessDlgForm().OpMode.listIndex(), 0);
    EXPECT_EQ(m.WirelessDlgForm().TxPower.listIndex(), 100);   // 70000 is no 16-bit number
    EXPECT_TRUE(m.EncryptQuestionDlgForm().click[2].value());  // the largest 16-bit number is true
    EXPECT_EQ(m.WPADlgForm().PassPhrase.text(), "pass");
    EXPECT_EQ(m.WPADlgForm().WPAMode.listIndex(), 1);  // one row past the list
    EXPECT_EQ(m.LEAPDlgForm().Combo1.listIndex(), 1);
}

}  // namespace

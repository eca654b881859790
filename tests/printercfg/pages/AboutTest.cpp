// Marrowby's About box and the start of the system-information program.

#include <gtest/gtest.h>

#include <filesystem>

#include "printercfg/core/KAEAbout.h"
#include "support/MarrowbyWorld.h"

using platform::RegRoot;
using platform::RegValue;
using testsupport::MarrowbyWorld;

namespace {

printercfg::KAEAbout& about(MarrowbyWorld& w) { return dynamic_cast<printercfg::KAEAbout&>(w.m.KAEAboutForm()); }

TEST(About, TextsOfThePrinterWizard) {
    MarrowbyWorld w;
    auto& box = about(w);
    EXPECT_EQ(box.caption(), "About Marrowby");
    EXPECT_EQ(box.lblTitle.caption(), "7391-Q25 Marrowby");
    EXPECT_EQ(box.lblVersion.caption(), "Version 1.03D");
    EXPECT_EQ(box.lblDescription.caption(),
              "This application will help guide you through the process of configuring your printer");
    EXPECT_EQ(box.cmdSysInfo.caption(), "&System Info...");
    EXPECT_TRUE(box.cmdOK.isDefault());
}

TEST(About, SystemInformationIsFoundThroughTheRegistry) {
    struct Case {
        const char* what;
        const char* pathValue;  // "PATH" under Shared Tools\MSINFO; nullptr: none
        const char* toolInFolder;
        const char* started;  // relative to the program folder; nullptr: the box
    };
    const Case cases[] = {
        {"the stand-in in the program folder", nullptr, "MSINFO32", "/MSINFO32.EXE"},
        {"a tool named by PATH first", "/tools/info", "MSINFO32", "/tools/info"},
        {"a tool named by PATH with blanks", "/my tools/info", nullptr, "\"/my tools/info\""},
        {"PATH naming nothing", "/tools/missing", "MSINFO32", nullptr},
        {"no stand-in", nullptr, nullptr, nullptr},
        {"the stand-in's name in other case", nullptr, "msinfo32", nullptr},
    };
    for (const auto& c : cases) {
        MarrowbyWorld w;
        if (c.toolInFolder) w.addProgram(c.toolInFolder);
        if (c.pathValue) {
            const std::string tool = w.programFolder + c.pathValue;
            std::filesystem::create_directories(std::filesystem::path(tool).parent_path());
            if (std::string(c.pathValue) != "/tools/missing") w.addProgram(c.pathValue + 1);
            w.store.setValue(RegRoot::LocalMachine, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH",
                             RegValue::string(tool));
        }
        about(w).cmdSysInfo.click();
        if (c.started) {
            ASSERT_EQ(w.processes.starts.size(), 1u) << c.what;
            std::string expected = c.started;
            expected = expected[0] == '"' ? "\"" + w.programFolder + expected.substr(1) : w.programFolder + expected;
            EXPECT_EQ(w.processes.starts[0].commandLine, expected) << c.what;
            EXPECT_TRUE(w.processes.starts[0].detached);
            EXPECT_FALSE(w.processes.starts[0].hidden);
            EXPECT_EQ(w.messages.count(), 0u) << c.what;
        } else {
            EXPECT_TRUE(w.processes.starts.empty()) << c.what;
            ASSERT_EQ(w.messages.count(), 1u) << c.what;
            EXPECT_EQ(w.messages.last().text, "System Information Is Unavailable At This Time");
            EXPECT_EQ(w.messages.last().title, "Marrowby");
            EXPECT_EQ(w.messages.last().icon, ui::Icon::None);
        }
        EXPECT_NE(w.m.KAEAboutForm.loaded(), nullptr);  // the box stays open
    }
}

}  // namespace

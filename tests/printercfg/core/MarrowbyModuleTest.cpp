// Start-up, exit, the change flags and the message boxes of the printer wizard.

#include <gtest/gtest.h>

#include "foundation/KAEIntro.h"
#include "printercfg/core/Dialog.h"
#include "printercfg/core/FinishDialog.h"
#include "printercfg/core/KAEAbout.h"
#include "printercfg/core/LoadDlg.h"
#include "printercfg/core/ProgressDlg.h"
#include "printercfg/pages/CustomDialog.h"
#include "printercfg/pages/Operation.h"
#include "printercfg/pages/PrinterSetup.h"
#include "printercfg/pages/SelectDlg.h"
#include "printercfg/pages/Selection.h"
#include "support/MarrowbyWorld.h"
#include "ui/View.h"

using platform::RegRoot;
using platform::RegValue;
using testsupport::MarrowbyWorld;
using Strings = std::vector<std::string>;

namespace {

// Notes the order in which forms lose their views, that is are unloaded.
struct UnloadRecorder : ui::ViewFactory {
    struct View : ui::FormView {
        View(Strings& out, std::string name) : out_(out), name_(std::move(name)) {}
        ~View() override { out_.push_back(name_); }
        void visibilityChanged(bool, bool) override {}
        void captionChanged() override {}
        void controlChanged(ui::Control&, ui::Property) override {}
        Strings& out_;
        std::string name_;
    };
    std::unique_ptr<ui::FormView> create(ui::Form& form) override {
        return std::make_unique<View>(unloaded, form.name());
    }
    Strings unloaded;
};

int menuStarts(const MarrowbyWorld& w, const std::string& keyword) {
    int n = 0;
    for (const auto& s : w.processes.starts) n += s.commandLine.find(" " + keyword + " ") != std::string::npos;
    return n;
}

TEST(StartUp, SwitchesAreSubstringsOfTheCommandLineInAnyCase) {
    struct Case {
        const char* line;
        bool debug, menu;
        const char* menuArgs;
        const char* log;
    };
    const Case cases[] = {
        {"", false, false, "", ""},
        {"log", true, false, "", "Dec 07,2026 09:00:00 - Entering Debug Mode\r\n"},
        {"GO", false, false, "", ""},
        {"CD E:\\", false, true, " E:\\", ""},
        {"cd F:\\LOGOS", true, true, " F:\\LOGOS",
         "Dec 07,2026 09:00:00 - Entering Debug Mode\r\nDec 07,2026 09:00:00 - Tulver CD Menu Enabled\r\n"},
    };
    for (const auto& c : cases) {
        MarrowbyWorld w;
        w.m.SettingsSavedToFile = w.m.PrinterErrorSeen = true;
        w.m.Main(c.line);
        EXPECT_EQ(w.m.DebugMode, c.debug) << c.line;
        EXPECT_EQ(w.m.CdMenuMode, c.menu) << c.line;
        EXPECT_EQ(w.m.CdMenuArgs, c.menuArgs) << c.line;
        EXPECT_EQ(w.m.CdMenuProgram, "Hollin.exe");
        EXPECT_FALSE(w.m.SettingsSavedToFile);
        EXPECT_FALSE(w.m.PrinterErrorSeen);
        EXPECT_EQ(w.log(), c.log) << c.line;
        EXPECT_EQ(menuStarts(w, "min"), c.menu ? 1 : 0) << c.line;
        ASSERT_NE(w.m.KAEIntroForm.loaded(), nullptr);
        EXPECT_TRUE(w.m.KAEIntroForm().isVisible());
        EXPECT_EQ(w.m.KAEIntroForm().focused(), &w.m.KAEIntroForm().Next);
    }
}

TEST(StartUp, WelcomePageIsMarrowbysAndLeadsToTheOperationChoice) {
    MarrowbyWorld w;
    w.m.Main("");
    auto& intro = w.m.KAEIntroForm();
    EXPECT_EQ(intro.Label1.caption(), "Welcome to the Tessivarn Marrowby");
    EXPECT_EQ(intro.Label3.caption(),
              "This wizard will guide you through the process of configuring the basic settings of your printer and "
              "its network interface card (NIC). Please refer to the user manual for assistance in configuring the "
              "other printer settings.");
    intro.Next.click();
    ASSERT_NE(w.m.SelectDlgForm.loaded(), nullptr);
    EXPECT_TRUE(w.m.SelectDlgForm().isVisible());
    EXPECT_TRUE(intro.isVisible());  // left shown behind
    EXPECT_EQ(w.m.GetVersionNumber(), "1.03D");
    EXPECT_EQ(w.app.title(), "Marrowby");
    w.m.ShowSetupSent();
    EXPECT_EQ(w.messages.last().text, "Printer Setup Request Successfully Sent");
    EXPECT_TRUE(w.m.SetupSent);
}

TEST(ChangeFlags, OnlyAnUncheckedIgnoreBoxCountsAndSomeAskForCalibration) {
    struct Case {
        const char* box;
        bool changed, calibration;
    };
    const Case cases[] = {
        {"", false, false},           {"DispenseCB", true, false},   {"OrientationCB", true, false},
        {"EmulationCB", true, false}, {"PrintSpeedCB", true, false}, {"VertCB", true, false},
        {"HorzCB", true, false},      {"MediaSizeCB", true, true},   {"MediaTypeCB", true, true},
        {"GapCB", true, true},
    };
    for (const auto& c : cases) {
        MarrowbyWorld w;
        w.m.SettingsChanged = w.m.CalibrationNeeded = true;
        std::string box = c.box;
        if (!box.empty()) {
            ui::Form& page =
                box == "DispenseCB" || box == "OrientationCB" || box == "MediaSizeCB" || box == "MediaTypeCB"
                    ? static_cast<ui::Form&>(w.m.OperationForm())
                    : static_cast<ui::Form&>(w.m.PrinterSetupForm());
            static_cast<ui::CheckBox*>(page.find(box))->setValue(0);
        }
        w.m.CollectChangeFlags();
        EXPECT_EQ(w.m.SettingsChanged, c.changed) << box;
        EXPECT_EQ(w.m.CalibrationNeeded, c.calibration) << box;
    }
    // A greyed box is no change.
    MarrowbyWorld w;
    w.m.OperationForm().DispenseCB.setValue(2);
    w.m.CollectChangeFlags();
    EXPECT_FALSE(w.m.SettingsChanged);
}

struct Exit : ::testing::Test {
    UnloadRecorder views;  // outlives the forms whose views it made
    MarrowbyWorld w;
    void SetUp() override {
        w.app.setViews(&views);
        w.m.Main("CD X:");
    }
    // Every form of the program loaded.
    void loadAll() {
        w.m.SelectDlgForm();
        w.m.ProgressDlgForm();
        w.m.SelectionForm();
        w.m.PrinterSetupForm();
        w.m.OperationForm();
        w.m.LoadDlgForm();
        w.m.KAEAboutForm();
        w.m.FinishDialogForm();
        w.m.DialogForm();
        w.m.CustomDialogForm();
    }
};

TEST_F(Exit, NothingChangedEndsWithoutAQuestionUnloadingInTheFixedOrder) {
    loadAll();
    EXPECT_TRUE(w.m.ExitWizard());
    EXPECT_EQ(w.messages.count(), 0u);
    EXPECT_EQ(menuStarts(w, "max"), 1);
    EXPECT_EQ(w.processes.starts.back().commandLine, "Hollin.exe max  X:");
    EXPECT_EQ(views.unloaded, (Strings{"CustomDialog", "Dialog", "FinishDialog", "KAEAbout", "KAEIntro", "LoadDlg",
                                       "Operation", "PrinterSetup", "Selection", "ProgressDlg", "SelectDlg"}));
    EXPECT_TRUE(w.app.ended());
}

TEST_F(Exit, SavedSettingsAreNotAskedFor) {
    w.m.OperationForm().OrientationCB.setValue(0);
    w.m.SettingsSavedToFile = true;
    EXPECT_TRUE(w.m.ExitWizard());
    EXPECT_EQ(w.messages.count(), 0u);
    EXPECT_TRUE(w.app.ended());
}

TEST_F(Exit, ChangesAskAndNoEndsOnce) {
    w.m.PrinterSetupForm().GapCB.setValue(0);
    w.messages.answer(ui::IDNO);
    EXPECT_TRUE(w.m.ExitWizard());
    ASSERT_EQ(w.messages.count(), 1u);
    const auto& box = w.messages.last();
    EXPECT_EQ(box.text,
              "You are about to exit this wizard after making changes.\r\n"
              "Once you exit, all of your settings will be lost.\r\n"
              "Would you like to save your settings before you exit?");
    EXPECT_EQ(box.title, "Leaving Wizard Without Saving Settings");
    EXPECT_EQ(box.icon, ui::Icon::Question);
    EXPECT_EQ(box.buttons, ui::Buttons::YesNo);
    EXPECT_EQ(box.defaultButton, 1);
    EXPECT_EQ(menuStarts(w, "max"), 1);
    EXPECT_TRUE(w.app.ended());
}

TEST_F(Exit, ChangesAskAndYesOpensTheSaveDialogAndUnloadsNothing) {
    w.m.OperationForm().MediaSizeCB.setValue(0);
    EXPECT_FALSE(w.m.ExitWizard());  // Yes is the default answer
    ASSERT_NE(w.m.DialogForm.loaded(), nullptr);
    EXPECT_EQ(w.m.DialogForm().dialogFlag, 2);
    EXPECT_TRUE(w.m.DialogForm().isVisible());
    EXPECT_TRUE(views.unloaded.empty());
    EXPECT_EQ(menuStarts(w, "max"), 0);
    EXPECT_FALSE(w.app.ended());
    // A title-bar close asks the same and keeps the page.
    EXPECT_FALSE(w.m.KAEIntroForm().userClose());
    EXPECT_NE(w.m.KAEIntroForm.loaded(), nullptr);
}

TEST_F(Exit, CancelAsksUnlessTheSettingsWentOut) {
    w.messages.answer(ui::IDNO);
    w.m.KAEIntroForm().Exit.click();
    ASSERT_EQ(w.messages.count(), 1u);
    EXPECT_EQ(w.messages.last().text,
              "Printer setting is not complete. If you quit\r\n"
              "the wizard now, the printer will not be updated.\r\n"
              "Do you want to exit the wizard?");
    EXPECT_EQ(w.messages.last().title, "Caution Exiting Wizard");
    EXPECT_EQ(w.messages.last().icon, ui::Icon::Exclamation);
    EXPECT_EQ(w.messages.last().defaultButton, 2);
    EXPECT_FALSE(w.app.ended());

    w.m.SetupSent = true;
    w.m.ConfirmCancel();
    EXPECT_EQ(w.messages.count(), 1u);
    EXPECT_TRUE(w.app.ended());
}

TEST(Boxes, ErrorBoxIsAlwaysPrinterErrorAndFatalOnesExit) {
    struct Case {
        bool fatal;
        const char* text;
    };
    const Case cases[] = {{false, "Bad\r\nOperation cannot continue."}, {true, "Bad\r\nThe wizard will exit."}};
    for (const Case& c : cases) {
        MarrowbyWorld w;
        w.m.Main("");
        w.m.ShowError("Bad", c.fatal, "Other Title");
        EXPECT_EQ(w.messages.last().text, c.text);
        EXPECT_EQ(w.messages.last().title, "Printer Error");
        EXPECT_EQ(w.messages.last().icon, ui::Icon::Critical);
        EXPECT_EQ(w.messages.last().buttons, ui::Buttons::OK);
        EXPECT_EQ(w.app.ended(), c.fatal);
    }
}

TEST(Boxes, PrinterUpdateErrorWithAndWithoutFrontPanelText) {
    const std::pair<const char*, const char*> cases[] = {
        {"PAPER OUT\r\nLOAD MEDIA",
         "ERROR!  Unable to Update Printer Settings.\r\n"
         "An unexpected error occurred during printer configuration.\r\n"
         "Printer Front Panel Message:\r\nPAPER OUT\r\nLOAD MEDIA\r\n\r\n"
         "Operation cannot continue. The wizard will exit."},
        {"",
         "ERROR!  Unable to Update Printer Settings.\r\n"
         "An unexpected error occurred during printer configuration.\r\n"
         "Please see the printer for the error condition.\r\n\r\n"
         "Operation cannot continue. The wizard will exit."},
    };
    for (const auto& [panel, text] : cases) {
        MarrowbyWorld w;
        w.m.Main("");
        w.m.SetupSent = true;
        w.m.ShowPrinterUpdateError(panel);
        EXPECT_EQ(w.messages.last().text, text);
        EXPECT_EQ(w.messages.last().title, "Printer Error");
        EXPECT_EQ(w.messages.last().icon, ui::Icon::Critical);
        EXPECT_TRUE(w.m.PrinterErrorSeen);
        EXPECT_FALSE(w.m.SetupSent);
        EXPECT_FALSE(w.app.ended());
    }
}

TEST(Registry, GetKeyValueReadsTextAndNumbersOnly) {
    MarrowbyWorld w;
    w.store.setValue(RegRoot::LocalMachine, "K", "text", RegValue::string("/usr/bin/tool"));
    w.store.setValue(RegRoot::LocalMachine, "K", "raw", RegValue{platform::RegType::Sz, "no zero"});
    w.store.setValue(RegRoot::LocalMachine, "K", "number", RegValue::dword(0x0001000A));
    w.store.setValue(RegRoot::LocalMachine, "K", "big", RegValue::dword(0xFFFFFFFF));
    w.store.setValue(RegRoot::LocalMachine, "K", "bytes", RegValue::binary("ab"));
    w.store.setValue(RegRoot::LocalMachine, "K", "multi", RegValue::multiString({"a"}));
    // Reading needs no right to write.
    w.store.setWritable(RegRoot::LocalMachine, false);
    const std::tuple<const char*, const char*, bool, const char*> cases[] = {
        {"K", "text", true, "/usr/bin/tool"},
        {"k", "TEXT", true, "/usr/bin/tool"},
        {"K", "raw", true, "no zero"},
        {"K", "number", true, "65546"},
        {"K", "big", true, "4294967295"},
        {"K", "bytes", false, ""},
        {"K", "multi", false, ""},
        {"K", "none", false, ""},
        {"Missing", "text", false, ""},
    };
    for (const auto& [key, name, found, text] : cases) {
        std::string value = "stale";
        EXPECT_EQ(w.m.GetKeyValue(RegRoot::LocalMachine, key, name, value), found) << name;
        EXPECT_EQ(value, text) << name;
    }
}

TEST(ProgramFiles, ATrailingExeIsDroppedInAnyCase) {
    MarrowbyWorld w;
    w.addProgram("Quillon");
    w.addProgram("Other.exe");
    const std::pair<const char*, bool> cases[] = {
        {"Quillon", true},      {"Quillon.exe", true},      {"Quillon.EXE", true},
        {"Quillon.ExE", true},  {"Other.exe", true},        {"Other", false},
        {"quillon.exe", false}, {"Quillon.exe.exe", false}, {".exe", false},
    };
    for (const auto& [name, exists] : cases)
        EXPECT_EQ(w.m.ProgramFileExists(w.programFolder + "/" + name), exists) << name;
    EXPECT_EQ(printercfg::MarrowbyModule::CommandPath("/opt/a b/Quillon.exe"), "\"/opt/a b/Quillon.exe\"");
    EXPECT_EQ(printercfg::MarrowbyModule::CommandPath("/opt/ab/Quillon.exe"), "/opt/ab/Quillon.exe");
}

}  // namespace

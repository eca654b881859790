// The settings job read from the two settings pages, and the emulation
// overlay with the page's emulation row.

#include <gtest/gtest.h>

#include "printercfg/core/KRNCmds.h"
#include "printercfg/pages/CustomDialog.h"
#include "printercfg/pages/Operation.h"
#include "printercfg/pages/PrinterSetup.h"
#include "support/MarrowbyWorld.h"

using Strings = std::vector<std::string>;

namespace {

std::string text(const Strings& lines) {
    std::string s;
    for (const auto& l : lines) s += l + "\r\n";
    return s;
}

struct SettingsJob : ::testing::Test {
    testsupport::MarrowbyWorld w;
    void SetUp() override {
        w.spooler.addQueue("Label A", "Tessivarn 7391-Q25 004", "usb://Tessivarn/7391");
        w.spooler.setCurrentPrinter("Label A");
        w.m.MaxMediaWidth = 4;
        w.m.ResolutionClass = 2;
    }
    printercfg::Operation& media() { return w.m.OperationForm(); }
    printercfg::PrinterSetup& print() { return w.m.PrinterSetupForm(); }
    std::string send() {
        w.spooler.documents.clear();
        printercfg::KRNCmds cmds(w.m);
        const bool sent = cmds.SendCfgCmd();
        EXPECT_EQ(sent, !w.spooler.documents.empty());
        return sent ? w.spooler.documents.back().bytes : std::string{};
    }
};

TEST_F(SettingsJob, OnlyTheSettingsWhoseIgnoreBoxIsUnchecked) {
    struct Case {
        const char* name;
        std::function<void(SettingsJob&)> choose;
        Strings job;
    };
    const Case cases[] = {
        {"nothing", [](SettingsJob&) {}, {}},
        {"every setting at its default",
         [](SettingsJob& t) {
             for (auto* box :
                  {&t.media().MediaTypeCB, &t.media().MediaSizeCB, &t.media().OrientationCB, &t.media().DispenseCB,
                   &t.print().PrintSpeedCB, &t.print().GapCB, &t.print().HorzCB, &t.print().VertCB})
                 box->click();
         },
         {"!VMD_SETUP", "ENGINE-MODE;X", "ENGINE-LENGTH;06000:WIDTH;04000", "ENGINE-MEDIA_HANDLING;1",
          "ENGINE-IMAGE_SHFT_H;0", "ENGINE-IMAGE_SHFT_V;0", "VMD_END", "!VMD_SETUP", "WINMODE-BEGIN", "VMD_END",
          "~PAPER;ROTATE 0", "~PAPER;SPEED IPS 4", "~PAPER;LABELS 2", "!VMD_SETUP", "WINMODE-END", "VMD_END"}},
        {"landscape only",
         [](SettingsJob& t) {
             t.media().OrientationCB.click();
             t.media().OrientationCombo.userSelect(1);
         },
         {"!VMD_SETUP", "WINMODE-BEGIN", "VMD_END", "~PAPER;ROTATE 90", "!VMD_SETUP", "WINMODE-END", "VMD_END"}},
        {"label size only",
         [](SettingsJob& t) {
             t.media().MediaSizeCB.click();
             t.media().LabelLengthCombo.userSelect(0);
             t.media().LabelWidthCombo.userSelect(2);
         },
         {"!VMD_SETUP", "ENGINE-LENGTH;01000:WIDTH;02500", "VMD_END"}},
        {"a width without a length (a settings file's row -1)",
         [](SettingsJob& t) {
             t.media().MediaSizeCB.click();
             t.media().LabelWidthCombo.userSelect(2);
             t.media().LabelLengthCombo.setListIndex(-1);
         },
         {}},
        {"shifts, peel-off and mark",
         [](SettingsJob& t) {
             t.print().HorzCB.click();
             t.print().HorzShiftHScroll.userSet(-37);
             t.print().VertCB.click();
             t.print().VertShiftHScroll.userSet(1280);
             t.media().DispenseCB.click();
             t.media().DispenseCombo.userSelect(2);
             t.print().GapCB.click();
             t.print().GapCombo.userSelect(2);
         },
         {"!VMD_SETUP", "ENGINE-MEDIA_HANDLING;3", "ENGINE-IMAGE_SHFT_H;-370", "ENGINE-IMAGE_SHFT_V;12800", "VMD_END",
          "!VMD_SETUP", "WINMODE-BEGIN", "VMD_END", "~PAPER;LABELS 1", "!VMD_SETUP", "WINMODE-END", "VMD_END"}},
        {"custom width",
         [](SettingsJob& t) {
             t.media().MediaSizeCB.click();
             auto& custom = t.w.m.CustomDialogForm();
             custom.WidthValueInch.userType("4.1");
             custom.OKButton.click();
         },
         {"!VMD_SETUP", "ENGINE-LENGTH;06000:WIDTH;04100", "VMD_END"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        w.m.OperationForm.unload();
        w.m.PrinterSetupForm.unload();
        c.choose(*this);
        EXPECT_EQ(send(), text(c.job));
    }
}

TEST_F(SettingsJob, EmulationOverlayWithThePagesRow) {
    print().EmulationCB.click();
    print().EmulationCombo.userSelect(2);
    printercfg::KRNCmds(w.m).SendEmuCmd(5);
    EXPECT_EQ(w.spooler.documents.back().bytes, text({"!VMD_SETUP", "CONFIG-OVERLAY;5.", "guardsave   .e  0   0x0",
                                                      "dvxswitch   .e  4   0x0", "CONFIG-OVERLAY;END.", "VMD_END"}));
}

}  // namespace

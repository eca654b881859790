// Marrowby's load page, settings pages and custom size dialog as Qt
// windows, with their rows enabled, and their pictures in
// build/tests/screens/marrowby/.

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <filesystem>
#include <gtest/gtest.h>

#include "platform/RegistryViews.h"
#include "platform/memory/MemoryRegistry.h"
#include "platform/memory/MemorySpooler.h"
#include "printercfg/core/LoadDlg.h"
#include "printercfg/core/MarrowbyModule.h"
#include "printercfg/pages/CustomDialog.h"
#include "printercfg/pages/Operation.h"
#include "printercfg/pages/PrinterSetup.h"
#include "support/FakeProcesses.h"
#include "ui/qt/GuiWorld.h"

namespace {

using guitest::widgetAs;

struct MarrowbySettings : ::testing::Test {
    std::unique_ptr<guitest::GuiWorld> world = std::make_unique<guitest::GuiWorld>();
    testsupport::FakeProcesses processes;
    platform::MemorySpooler spooler;
    platform::MemoryRegistry store;
    platform::RegistryViews registry{store, spooler, "/nonexistent-program-folder"};
    platform::Platform os{.processLauncher = &processes, .spoolerBackend = &spooler, .registryBackend = &registry};
    std::unique_ptr<printercfg::MarrowbyModule> m;

    void SetUp() override {
        m = std::make_unique<printercfg::MarrowbyModule>(world->app, os, "/nonexistent-program-folder");
        m->MaxMediaWidth = 6;
        m->ResolutionClass = 2;
    }
    void TearDown() override {
        m.reset();
        world.reset();
        guitest::flushDeletes();
    }
    static void render(ui::Form& form) {
        QCoreApplication::processEvents();  // lets the layouts follow changed texts
        const std::string dir = QUILL_SCREENS_DIR;
        std::filesystem::create_directories(dir);
        const std::string path = dir + "/" + form.name() + ".png";
        ASSERT_TRUE(ui::grabToPng(form, path)) << form.name();
        QImage image(QString::fromStdString(path));
        ASSERT_FALSE(image.isNull()) << form.name();
        EXPECT_GE(image.width(), 480) << form.name();
    }
};

TEST_F(MarrowbySettings, LoadPageSettingsPagesAndCustomSizeRender) {
    auto& load = m->LoadDlgForm();
    load.show();
    EXPECT_TRUE(widgetAs<QPushButton>(load.Next)->isDefault());
    render(load);
    load.Next.click();

    auto& media = m->OperationForm();
    EXPECT_TRUE(ui::windowOf(media)->isVisible());
    for (ui::CheckBox* box : {&media.MediaTypeCB, &media.MediaSizeCB, &media.OrientationCB, &media.DispenseCB}) {
        EXPECT_TRUE(widgetAs<QCheckBox>(*box)->isChecked());
        widgetAs<QCheckBox>(*box)->click();
    }
    EXPECT_TRUE(widgetAs<QComboBox>(media.LabelWidthCombo)->isEnabled());
    EXPECT_EQ(widgetAs<QComboBox>(media.LabelWidthCombo)->currentText(), "6.0\" (152.4mm)");
    render(media);

    widgetAs<QPushButton>(media.CustomizeMedia)->click();
    auto& custom = m->CustomDialogForm();
    EXPECT_TRUE(ui::windowOf(custom)->isVisible());
    custom.WidthValueInch.userType("5.5");
    custom.HeightValueMM.userType("80");
    render(custom);
    widgetAs<QPushButton>(custom.OKButton)->click();
    EXPECT_EQ(widgetAs<QComboBox>(media.LabelWidthCombo)->currentText(), "5.5\" (139.7mm)");

    widgetAs<QPushButton>(media.Next)->click();
    auto& print = m->PrinterSetupForm();
    EXPECT_TRUE(ui::windowOf(print)->isVisible());
    for (ui::CheckBox* box : {&print.PrintSpeedCB, &print.HorzCB, &print.VertCB, &print.GapCB, &print.EmulationCB})
        box->click();
    print.HorzShiftHScroll.userSet(-37);
    print.VertShiftUnit.userSelect(1);
    print.VertShiftHScroll.userSet(125);
    EXPECT_EQ(widgetAs<QLabel>(print.HorzLabel)->text(), "-0.37");
    EXPECT_EQ(widgetAs<QLabel>(print.VertLabel)->text(), "31.75");
    render(print);
}

}  // namespace

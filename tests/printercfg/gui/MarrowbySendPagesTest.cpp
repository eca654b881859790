// The finish and progress pages as real Qt windows, and their pictures in
// build/tests/screens/marrowby/.

#include <gtest/gtest.h>
#include <QComboBox>
#include <QProgressBar>
#include <QPushButton>

#include "printercfg/core/FinishDialog.h"
#include "printercfg/core/ProgressDlg.h"
#include "printercfg/pages/PrinterSetup.h"
#include "support/MarrowbyGuiWorld.h"
#include "ui/qt/Screens.h"

namespace {

using guitest::widgetAs;

struct MarrowbySendPages : ::testing::Test, testsupport::MarrowbyGuiWorld {
    void SetUp() override {
        spooler.addQueue("Shipping Labels", "Tessivarn 7391-Q25 006", "socket://127.1.1.1:9100");
        m->SelectedPrinterName = "Shipping Labels";
    }
    static void render(ui::Form& form) { guitest::saveScreen(form, form.name()); }
};

TEST_F(MarrowbySendPages, FinishAndProgressRender) {
    // An emulation change: both operations are offered.
    m->PrinterSetupForm().EmulationCB.setValue(0);
    auto& finish = m->FinishDialogForm();
    finish.show();
    finish.SaveCombo.userSelect(2);
    finish.SetComboBoxes();
    EXPECT_TRUE(widgetAs<QComboBox>(finish.SaveCombo)->isEnabled());
    EXPECT_EQ(widgetAs<QComboBox>(finish.PowerUpCombo)->currentText(), "Configuration 3");
    EXPECT_TRUE(widgetAs<QPushButton>(finish.OKButton)->isDefault());
    render(finish);

    auto& progress = m->ProgressDlgForm();
    finish.hide();  // the progress page takes its place
    progress.show();
    progress.StatusLog.setText("Initializing ....");
    for (const char* line : {"Requesting active emulation to be changed.", "  ... Request received OK",
                             "Requesting loading of configuration #3 to set active emulation.",
                             "  ... Request received OK", "Sending configuration update request to printer."})
        progress.AppendStatus(line);
    progress.ProgressBar.setValue(30);
    EXPECT_EQ(widgetAs<QProgressBar>(progress.ProgressBar)->value(), 30);
    render(progress);
}

}  // namespace

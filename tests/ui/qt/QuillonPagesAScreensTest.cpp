// The port page and the first settings pages as real Qt windows, rendered
// into build/tests/screens with their rows enabled.

#include <gtest/gtest.h>
#include <QLineEdit>
#include <functional>
#include <memory>
#include <string>

#include "Screens.h"
#include "netcfg/core/PortSelect.h"
#include "netcfg/pages/NetworkDlg.h"
#include "netcfg/pages/QuestionDlg.h"
#include "netcfg/pages/WiredDlg.h"
#include "support/QuillonGuiWorld.h"

namespace {

using guitest::widgetAs;

struct QuillonPagesA : ::testing::Test, testsupport::QuillonGuiWorld {
    void SetUp() override { listedPorts = "LPT1:\nCOM1:\nCOM2:\nUSB001\nFILE:\n"; }
    // Shows the page alone, grabs it and checks the picture.
    void render(ui::Form& page) {
        for (ui::Form* f : world->app.loadedForms())
            if (f != &page) f->hide();
        page.show();
        guitest::saveScreen(page, page.name());
    }
};

TEST_F(QuillonPagesA, PagesRenderWithTheirRowsEnabled) {
    auto& ports = module->PortSelectForm();
    ports.PortTCP.click();
    ports.IPAddr.setText("127.1.1.1");
    render(ports);
    EXPECT_TRUE(widgetAs<QLineEdit>(ports.IPAddr)->isEnabled());
    EXPECT_FALSE(widgetAs<QLineEdit>(ports.FileName)->isEnabled());

    auto& choices = module->QuestionDlgForm();
    for (int i = 0; i < 6; ++i) choices.Check1[i].setValue(1);
    render(choices);

    auto& wired = module->WiredDlgForm();
    wired.useStaticIP.click();
    wired.IPAddr.setText("127.1.1.1");
    wired.SubMask.setText("255.0.0.0");
    wired.Gateway.setText("127.1.1.254");
    render(wired);
    EXPECT_TRUE(widgetAs<QLineEdit>(wired.Gateway)->isEnabled());

    auto& network = module->NetworkDlgForm();
    network.InitForm();
    render(network);
    EXPECT_TRUE(widgetAs<QLineEdit>(network.Period)->isEnabled());
}

}  // namespace

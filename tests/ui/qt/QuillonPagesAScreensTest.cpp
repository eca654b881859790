// The port page and the first settings pages as real Qt windows, rendered
// into build/tests/screens with their rows enabled.

#include <gtest/gtest.h>
#include <QLineEdit>
#include <functional>
#include <memory>
#include <string>

#include "GuiWorld.h"
#include "Screens.h"
#include "netcfg/core/PortSelect.h"
#include "netcfg/core/QuillonModule.h"
#include "netcfg/pages/NetworkDlg.h"
#include "netcfg/pages/QuestionDlg.h"
#include "netcfg/pages/WiredDlg.h"
#include "platform/Platform.h"
#include "support/FakeProcesses.h"
#include "support/TempDir.h"

namespace {

using guitest::widgetAs;

class QuillonPagesA : public ::testing::Test {
protected:
    void SetUp() override {
        processes.program("quenmora", [](const std::string&) {
            testsupport::writeFile("ports.txt", "LPT1:\nCOM1:\nCOM2:\nUSB001\nFILE:\n");
        });
        world = std::make_unique<guitest::GuiWorld>();
        module = std::make_unique<netcfg::QuillonModule>(world->app, os, folder.str());
    }
    void TearDown() override {
        module.reset();
        world.reset();
        guitest::flushDeletes();
    }
    // Shows the page alone, grabs it and checks the picture.
    void render(ui::Form& page) {
        for (ui::Form* f : world->app.loadedForms())
            if (f != &page) f->hide();
        page.show();
        guitest::saveScreen(page, page.name());
    }

    testsupport::FakeProcesses processes;
    platform::Platform os{.processLauncher = &processes, .spoolerBackend = nullptr};
    testsupport::TempDir folder;
    testsupport::TempDir work;
    testsupport::CurrentDirectory inWork{work.path()};
    std::unique_ptr<guitest::GuiWorld> world;
    std::unique_ptr<netcfg::QuillonModule> module;
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

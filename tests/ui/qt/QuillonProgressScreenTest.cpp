// Quillon's progress page as a real Qt window, rendered into a picture
// halfway through a send.

#include <gtest/gtest.h>
#include <QWidget>
#include <memory>
#include <string>

#include "GuiWorld.h"
#include "Screens.h"
#include "netcfg/core/ProgressDlg.h"
#include "netcfg/core/QuillonModule.h"
#include "platform/Platform.h"
#include "support/FakeProcesses.h"

namespace {

TEST(ProgressScreen, RendersToPng) {
    testsupport::FakeProcesses processes;
    processes.failStarts = true;  // no port lister: the page offers LPT1:
    platform::Platform os{.processLauncher = &processes};
    auto world = std::make_unique<guitest::GuiWorld>();
    {
        netcfg::QuillonModule module(world->app, os, "/nonexistent-program-folder");
        auto& page = module.ProgressDlgForm();
        page.Timer1.setEnabled(false);
        page.ProgressBar.setValue(50);
        page.StatusLog.setText("Initializing ....\r\nSending settings to printer.");
        page.show();
        ASSERT_TRUE(ui::windowOf(page)->isVisible());
        guitest::saveScreen(page, "ProgressDlg");
    }
    world.reset();
    guitest::flushDeletes();
}

}  // namespace

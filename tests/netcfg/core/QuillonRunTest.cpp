// Whole runs of the headless Quillon against the real setup-menu stand-in.

#include <cstdlib>

#include <gtest/gtest.h>

#include "foundation/KAEIntro.h"
#include "netcfg/core/QuillonModule.h"
#include "platform/posix/PosixProcess.h"
#include "support/TempDir.h"
#include "support/WaitFile.h"
#include "ui/Clocks.h"
#include "ui/Scripted.h"
#include "ui/VirtualPump.h"

namespace {

TEST(QuillonRun, SetupMenuIsMinimisedAtStartAndRestoredOnceAtTheEnd) {
    testsupport::TempDir tmp;
    const std::string record = tmp.file("hollin.txt");
    ::setenv("HOLLIN_RECORD", record.c_str(), 1);

    ui::ScriptedMessageBox messages;
    ui::ScriptedFileDialog files;
    ui::VirtualClock clock;
    ui::Application app(messages, files, clock);
    ui::VirtualPump pump(app, clock);
    platform::PosixProcessLauncher launcher(QUILL_BIN_DIR);
    platform::Platform os{.processLauncher = &launcher, .spoolerBackend = nullptr};
    netcfg::QuillonModule q(app, os, tmp.str());

    q.Main("CD E:\\ LOG");
    ASSERT_TRUE(
        testsupport::waitForFile(record, [](const std::string& s) { return s.find('\n') != std::string::npos; }));
    EXPECT_EQ(testsupport::readFile(record), "[min] [E:\\] [LOG]\n");

    messages.answer(ui::IDYES);
    pump.post([&] { q.KAEIntroForm().Exit.click(); });
    pump.run();
    EXPECT_TRUE(app.ended());
    ASSERT_TRUE(
        testsupport::waitForFile(record, [](const std::string& s) { return s.find("[max]") != std::string::npos; }));
    EXPECT_EQ(testsupport::readFile(record), "[min] [E:\\] [LOG]\n[max] [E:\\] [LOG]\n");
    EXPECT_NE(testsupport::readFile(tmp.file("Log.txt")).find(" - Tulver CD Menu Enabled\r\n"), std::string::npos);
}

}  // namespace

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "TestModule.h"

using namespace foundationtest;
using testsupport::writeFile;

namespace {

struct LogTest : ::testing::Test {
    World w;
};

TEST_F(LogTest, WritesNothingAtAllWithoutDebugMode) {
    w.m.WriteLog("in FinishDialog");
    EXPECT_FALSE(std::filesystem::exists(w.folder.file("Log.txt")));
}

TEST_F(LogTest, AppendsTimeStampedLinesEndedByCrLf) {
    w.m.DebugMode = true;
    w.m.WriteLog("in FinishDialog");
    w.clock.advance(61'000);
    w.m.WriteLog("");
    EXPECT_EQ(w.log(), "Dec 07,2026 09:00:00 - in FinishDialog\r\nDec 07,2026 09:01:01 - \r\n");
}

TEST_F(LogTest, LineFormatPadsFieldsAndUsesEnglishMonths) {
    std::tm t{};
    t.tm_year = 2027 - 1900;
    t.tm_mon = 0;
    t.tm_mday = 3;
    t.tm_hour = 4;
    t.tm_min = 5;
    t.tm_sec = 6;
    EXPECT_EQ(foundation::FormatLogLine(t, "x"), "Jan 03,2027 04:05:06 - x");
    t.tm_mon = 11;
    t.tm_mday = 7;
    t.tm_hour = 23;
    t.tm_min = 16;
    t.tm_sec = 27;
    t.tm_year = 2026 - 1900;
    EXPECT_EQ(foundation::FormatLogLine(t, "in FinishDialog"), "Dec 07,2026 23:16:27 - in FinishDialog");
}

TEST_F(LogTest, KeepsTheFileOfEarlierRuns) {
    writeFile(w.folder.file("Log.txt"), "old line\r\n");
    w.m.DebugMode = true;
    w.m.WriteLog("new");
    EXPECT_EQ(w.log(), "old line\r\nDec 07,2026 09:00:00 - new\r\n");
}

TEST_F(LogTest, WaitsWhileAnotherProcessHoldsTheFileThenWritesOnce) {
    const std::string path = w.folder.file("Log.txt");
    int holder = ::open(path.c_str(), O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(flock(holder, LOCK_EX), 0);
    // flock locks belong to the open file, so this descriptor stands for the
    // other process.
    std::vector<std::uint32_t> sleeps;
    w.clock.onSleep = [&](std::uint32_t ms) {
        sleeps.push_back(ms);
        if (sleeps.size() == 3) ::close(holder);
    };
    w.m.DebugMode = true;
    w.m.WriteLog("after the wait");
    EXPECT_EQ(sleeps, (std::vector<std::uint32_t>{500, 500, 500}));
    // The stamp is taken before the first attempt.
    EXPECT_EQ(w.log(), "Dec 07,2026 09:00:00 - after the wait\r\n");
}

TEST_F(LogTest, DropsTheLineWhenTheFileStaysBusy) {
    const std::string path = w.folder.file("Log.txt");
    int holder = ::open(path.c_str(), O_WRONLY | O_CREAT, 0644);
    ASSERT_EQ(flock(holder, LOCK_EX), 0);
    int sleeps = 0;
    w.clock.onSleep = [&](std::uint32_t) { ++sleeps; };
    w.m.DebugMode = true;
    w.m.WriteLog("lost");
    ::close(holder);
    EXPECT_EQ(sleeps, foundation::WizardModule::LogAttempts - 1);
    EXPECT_EQ(w.log(), "");
    w.m.WriteLog("next one is written");
    EXPECT_NE(w.log().find("next one is written"), std::string::npos);
}

TEST_F(LogTest, OtherErrorsDropTheLineAtOnce) {
    testsupport::TempDir d;
    World other;
    foundationtest::TestModule m(other.app, other.os, testTexts(), d.file("missing-folder"));
    int sleeps = 0;
    other.clock.onSleep = [&](std::uint32_t) { ++sleeps; };
    m.DebugMode = true;
    m.WriteLog("nowhere to go");
    EXPECT_EQ(sleeps, 0);
}

TEST(FileExists, OrdinaryFilesOnly) {
    World w;
    writeFile(w.folder.file("a.qlz"), "x");
    std::filesystem::create_directory(w.folder.file("sub"));
    EXPECT_TRUE(w.m.FileExists(w.folder.file("a.qlz")));
    EXPECT_FALSE(w.m.FileExists(""));
    EXPECT_FALSE(w.m.FileExists(w.folder.file("missing")));
    EXPECT_FALSE(w.m.FileExists(w.folder.file("sub")));
    EXPECT_FALSE(w.m.FileExists(w.folder.file("sub") + "/"));
    EXPECT_FALSE(w.m.FileExists(w.folder.file("a.qlz") + "\\"));
    // Wildcards count when an ordinary file matches.
    EXPECT_TRUE(w.m.FileExists(w.folder.file("*.qlz")));
    EXPECT_FALSE(w.m.FileExists(w.folder.file("*.mqz")));
}

TEST(FileExists, RelativePathsAreLookedUpInTheCurrentDirectory) {
    World w;
    writeFile(w.folder.file("here.txt"), "x");
    auto old = std::filesystem::current_path();
    std::filesystem::current_path(w.folder.path());
    bool found = w.m.FileExists("here.txt");
    std::filesystem::current_path(old);
    EXPECT_TRUE(found);
}

TEST(MessageBoxes, SuccessNoticeAndOverwrite) {
    World w;
    w.messages.onShow = [&](const ui::MessageRequest&) { EXPECT_FALSE(w.m.SetupSent); };
    w.m.ShowSetupSent();
    w.messages.onShow = nullptr;
    EXPECT_TRUE(w.m.SetupSent);
    const auto& ok = w.messages.last();
    EXPECT_EQ(ok.text, "Test Request Successfully Sent");
    EXPECT_EQ(ok.title, "Process Successful");
    EXPECT_EQ(ok.icon, ui::Icon::Information);
    EXPECT_EQ(ok.buttons, ui::Buttons::OK);

    w.m.ShowNotice("A help text");
    EXPECT_EQ(w.messages.last().title, "Notice");
    EXPECT_EQ(w.messages.last().icon, ui::Icon::Information);

    // Enter takes the default button, which is No.
    EXPECT_FALSE(w.m.ConfirmOverwrite());
    const auto& q = w.messages.last();
    EXPECT_EQ(q.text, "Warning! Selected file currently exist\r\nDo you want to overwrite the file?");
    EXPECT_EQ(q.title, "File Exist Error");
    EXPECT_EQ(q.icon, ui::Icon::Exclamation);
    EXPECT_EQ(q.buttons, ui::Buttons::YesNo);
    EXPECT_EQ(q.defaultButton, 2);
    w.messages.answer(ui::IDYES);
    EXPECT_TRUE(w.m.ConfirmOverwrite());
}

TEST(SetupMenu, StartedHiddenWithTheKeywordAndTheMenuArgumentOnlyInMenuMode) {
    World w;
    w.m.CdMenuProgram = "Hollin.exe";
    w.m.CallSetupMenu("min");
    EXPECT_TRUE(w.processes.starts.empty());
    w.m.CdMenuMode = true;
    w.m.CdMenuArgs = " E:\\";
    w.m.CallSetupMenu("max");
    ASSERT_EQ(w.processes.starts.size(), 1u);
    EXPECT_EQ(w.processes.starts[0].commandLine, "Hollin.exe max  E:\\");
    EXPECT_TRUE(w.processes.starts[0].hidden);
    EXPECT_TRUE(w.processes.starts[0].detached);
}

TEST(JoinLines, JoinsWithCrLf) {
    EXPECT_EQ(foundation::JoinLines({"a", "b", "c"}), "a\r\nb\r\nc");
    EXPECT_EQ(foundation::JoinLines({"", "b"}), "\r\nb");
}

}  // namespace

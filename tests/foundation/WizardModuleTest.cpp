#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "TestModule.h"
#include "support/Locales.h"
#include "ui/Control.h"
#include "ui/Form.h"

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

// A pump whose pauses run events, as a real event loop's do, on the virtual clock.
struct EventLoopPump : ui::VirtualPump {
    using VirtualPump::VirtualPump;
    void idle(std::uint32_t passMs, std::uint32_t limitMs) override {
        VirtualPump::idle(passMs, limitMs);
        doEvents();
    }
};

// The log file held by another process: an open file with a lock of its own.
struct LogHolder {
    int fd;
    explicit LogHolder(const std::string& path) : fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600)) {
        if (fd < 0 || flock(fd, LOCK_EX) != 0) throw std::runtime_error("cannot hold " + path);
    }
    ~LogHolder() { release(); }
    void release() {
        if (fd >= 0) ::close(fd);
        fd = -1;
    }
};

TEST_F(LogTest, LinesWaitInOrderWhileAnotherProcessHoldsTheFileAndNoEventRunsMeanwhile) {
    EventLoopPump pump(w.app, w.clock);
    LogHolder holder(w.folder.file("Log.txt"));
    w.m.DebugMode = true;
    std::string expected;
    bool writing = false;
    int nested = 0, waited = 0;
    auto handler = [&](const std::string& text) {
        if (writing) ++nested;
        writing = true;
        const std::uint32_t before = w.clock.milliseconds();
        expected += foundation::FormatLogLine(w.clock.localTime(), text) + "\r\n";
        w.m.WriteLog(text);
        if (w.clock.milliseconds() != before) ++waited;
        writing = false;
    };
    // Ticks and clicks for 2.9 s; the other process lets go at 3 s.
    auto form = std::make_shared<ui::Form>(w.app, "frmTicks", "Ticks");
    ui::Timer ticks(*form, "tmrTicks", 250);
    int tick = 0;
    ticks.onTimer = [&] {
        handler("tick " + std::to_string(++tick));
        if (tick == 11) ticks.setEnabled(false);
    };
    form->show();
    for (int click = 0; click < 8; ++click)
        pump.post([&handler, click] { handler("click " + std::to_string(click)); }, 100 + 400 * click);
    pump.post([&] { holder.release(); }, 3000);
    pump.run();
    EXPECT_EQ(nested, 0);
    EXPECT_EQ(waited, 0);
    // Written by the timer queue within one retry of the release, each line once.
    EXPECT_EQ(w.log(), expected);
    EXPECT_LE(w.clock.elapsed(), 3000u + foundation::WizardModule::LogRetryMs);
    EXPECT_EQ(w.app.msUntilNextTimer(), -1);

    // Lines held back go out with the next line once the file is free.
    LogHolder again(w.folder.file("Log.txt"));
    handler("held back");
    again.release();
    handler("next");
    EXPECT_EQ(w.log(), expected);
    EXPECT_EQ(w.app.msUntilNextTimer(), -1);
}

TEST(LogAtExit, LinesHeldBackGetOneLastBoundedTry) {
    for (bool freed : {true, false}) {
        testsupport::UiWorld w;
        testsupport::TempDir folder;
        LogHolder holder(folder.file("Log.txt"));
        std::vector<std::uint32_t> sleeps;
        w.clock.onSleep = [&](std::uint32_t ms) {
            sleeps.push_back(ms);
            if (freed) holder.release();
        };
        platform::Platform os;
        std::optional<TestModule> m;
        m.emplace(w.app, os, testTexts(), folder.str());
        m->DebugMode = true;
        m->WriteLog("last");
        EXPECT_TRUE(sleeps.empty());
        m.reset();
        EXPECT_EQ(sleeps, std::vector<std::uint32_t>{foundation::WizardModule::LogRetryMs}) << freed;
        EXPECT_EQ(testsupport::readFile(folder.file("Log.txt")), freed ? "Dec 07,2026 09:00:00 - last\r\n" : "")
            << freed;
        EXPECT_EQ(w.app.msUntilNextTimer(), -1) << freed;  // no try left behind
    }
}

TEST_F(LogTest, OtherErrorsDropTheLineAtOnce) {
    testsupport::TempDir d;
    const std::string readOnly = d.file("read-only");
    std::filesystem::create_directory(readOnly);
    ::chmod(readOnly.c_str(), 0555);
    // A missing folder; one nobody may write to, whoever runs the test (sysfs
    // refuses new files even to root); one this user may not write to.
    for (const std::string& folder : {d.file("missing-folder"), std::string("/sys"), readOnly}) {
        World other;
        foundationtest::TestModule m(other.app, other.os, testTexts(), folder);
        m.DebugMode = true;
        m.WriteLog("nowhere to go");
        EXPECT_EQ(other.app.msUntilNextTimer(), -1) << folder;  // no try later
    }
    ::chmod(readOnly.c_str(), 0755);
}

// The month names of a locale of our own, made for the test.
struct TestLocale {
    testsupport::LocaleFolder dir;
    bool made = false;
    TestLocale() {
        const std::string source = dir.file("xx_XX.src");
        writeFile(
            source,
            "LC_CTYPE\ncopy \"POSIX\"\nEND LC_CTYPE\n"
            "LC_TIME\n"
            "abday \"So\";\"Mo\";\"Di\";\"Mi\";\"Do\";\"Fr\";\"Sa\"\n"
            "day \"So\";\"Mo\";\"Di\";\"Mi\";\"Do\";\"Fr\";\"Sa\"\n"
            "abmon \"Jan\";\"Feb\";\"Mrz\";\"Apr\";\"Mai\";\"Jun\";\"Jul\";\"Aug\";\"Sep\";\"Okt\";\"Nov\";\"Dez\"\n"
            "mon \"Januar\";\"Februar\";\"Maerz\";\"April\";\"Mai\";\"Juni\";\"Juli\";\"August\";"
            "\"September\";\"Oktober\";\"November\";\"Dezember\"\n"
            "d_t_fmt \"%a %d %b %Y %T\"\nd_fmt \"%d.%m.%Y\"\nt_fmt \"%T\"\nam_pm \"\";\"\"\nt_fmt_ampm \"\"\n"
            "END LC_TIME\n");
        made = dir.make("xx_XX", source, "ANSI_X3.4-1968");
    }
};

using Env = testsupport::ScopedEnv;

TEST_F(LogTest, MonthNamesFollowTheUsersLocale) {
    TestLocale locale;
    ASSERT_TRUE(locale.made) << "localedef (package locales) could not make the test locale";
    std::tm t{};
    t.tm_year = 2027 - 1900;
    t.tm_mon = 2;
    t.tm_mday = 1;
    struct Case {
        const char* lcAll;
        const char* lcTime;
        const char* lang;
        std::string line;
    };
    const Case cases[] = {
        {"xx_XX", nullptr, nullptr, "Mrz 01,2027 00:00:00 - x"},
        {nullptr, "xx_XX", "C", "Mrz 01,2027 00:00:00 - x"},
        {nullptr, nullptr, "xx_XX", "Mrz 01,2027 00:00:00 - x"},
        {"C", "xx_XX", nullptr, "Mar 01,2027 00:00:00 - x"},
        {nullptr, nullptr, nullptr, "Mar 01,2027 00:00:00 - x"},
        {"no_SUCH.locale", nullptr, nullptr, "Mar 01,2027 00:00:00 - x"},  // missing: English
    };
    for (const Case& c : cases) {
        Env env;
        env.set("LOCPATH", locale.dir.str().c_str());
        env.set("LC_ALL", c.lcAll);
        env.set("LC_TIME", c.lcTime);
        env.set("LANG", c.lang);
        EXPECT_EQ(foundation::FormatLogLine(t, "x"), c.line)
            << (c.lcAll ? c.lcAll : "") << "/" << (c.lcTime ? c.lcTime : "") << "/" << (c.lang ? c.lang : "");
    }
    Env env;
    env.set("LOCPATH", locale.dir.str().c_str());
    env.set("LC_ALL", "xx_XX");
    w.m.DebugMode = true;
    w.m.WriteLog("in FinishDialog");
    EXPECT_EQ(w.log(), "Dez 07,2026 09:00:00 - in FinishDialog\r\n");
}

TEST(FileExists, OnlyStarAndQuestionMarkAreWildcards) {
    World w;
    for (const char* name : {"set[1].qlz", "a\\b.qlz", "set1.qlz"}) writeFile(w.folder.file(name), "x");
    const std::pair<const char*, bool> cases[] = {
        {"set[1].qlz", true}, {"a\\b.qlz", true},    {"set?1?.qlz", true},   {"*[1]*", true},  {"a\\*", true},
        {"set?.qlz", true},   {"set[2].qlz", false}, {"set[12].qlz", false}, {"a\\c*", false}, {"*.mqz", false},
        {"set1.qlz?", false}, {"??????????", true},  {"???????????", false},
    };
    for (const auto& [pattern, found] : cases) EXPECT_EQ(w.m.FileExists(w.folder.file(pattern)), found) << pattern;
    std::filesystem::remove(w.folder.file("set[1].qlz"));
    // "[1]" is no character class: set1.qlz is not set[1].qlz.
    EXPECT_FALSE(w.m.FileExists(w.folder.file("set[1].qlz")));
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

TEST(CommandLine, TheArgumentsAfterTheProgramJoinedByOneBlank) {
    std::string program = "/opt/Quillon", cd = "CD", folder = "E:\\", empty, log = "log";
    char* none[] = {program.data(), nullptr};
    char* some[] = {program.data(), cd.data(), folder.data(), empty.data(), log.data(), nullptr};
    EXPECT_EQ(foundation::CommandLine(1, none), "");
    EXPECT_EQ(foundation::CommandLine(5, some), "CD E:\\  log");
}

}  // namespace

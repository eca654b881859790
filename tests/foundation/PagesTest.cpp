#include <gtest/gtest.h>

#include "TestModule.h"

using namespace foundationtest;

namespace {

struct PagesTest : ::testing::Test {
    World w;
    foundation::KAEIntro& intro() { return w.m.KAEIntroForm(); }
};

TEST_F(PagesTest, WelcomePageTexts) {
    auto& p = intro();
    EXPECT_EQ(p.caption(), "Welcome");
    EXPECT_EQ(p.Label1.caption(), "Welcome to the Tester");
    EXPECT_EQ(p.Label3.caption(), "Tests things.");
    EXPECT_EQ(p.Label4.caption(),
              "For more complete control over your network printers, please use the Fenwold Console (FWC).");
    EXPECT_EQ(p.Label2.caption(), "To continue, click Next");
    EXPECT_EQ(p.About.caption(), "About");
    EXPECT_EQ(p.Exit.caption(), "Exit");
    EXPECT_EQ(p.Next.caption(), "Next >");
}

TEST_F(PagesTest, EachLoadOfTheWelcomePageMinimisesTheSetupMenu) {
    intro();
    EXPECT_TRUE(w.processes.starts.empty());  // not in menu mode

    w.m.CdMenuMode = true;
    w.m.CdMenuProgram = "Hollin.exe";
    w.m.CdMenuArgs = " E:\\";
    intro().show();  // already loaded: nothing
    EXPECT_TRUE(w.processes.starts.empty());
    w.m.KAEIntroForm.unload();
    intro();
    intro();
    ASSERT_EQ(w.processes.starts.size(), 1u);
    EXPECT_EQ(w.processes.starts[0].commandLine, "Hollin.exe min  E:\\");
    EXPECT_TRUE(w.processes.starts[0].hidden);
}

TEST_F(PagesTest, AboutShowsAFreshBoxEachTime) {
    intro().show();
    std::vector<std::string> seen;
    std::weak_ptr<ui::Form> first;
    auto answerAbout = [&] {
        auto& a = w.m.KAEAboutForm();
        seen.push_back(a.caption() + "|" + a.lblTitle.caption() + "|" + a.lblVersion.caption() + "|" +
                       a.lblDescription.caption());
        EXPECT_TRUE(a.isModal());
        if (seen.size() == 1) first = a.shared_from_this();
        a.lblVersion.setCaption("changed");
        a.cmdOK.click();
    };
    w.pump.post(answerAbout);
    intro().About.click();
    EXPECT_EQ(w.m.KAEAboutForm.loaded(), nullptr);
    w.pump.post(answerAbout);
    intro().About.click();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], "About Tester|7391-Q25 Tester|Version 9.99Z|About the tester");
    EXPECT_EQ(seen[1], seen[0]);
    EXPECT_TRUE(first.expired());
    EXPECT_TRUE(intro().isVisible());
    EXPECT_FALSE(w.app.ended());
    EXPECT_TRUE(w.m.KAEAboutForm().cmdOK.isDefault());
    EXPECT_TRUE(w.m.KAEAboutForm().cmdOK.isCancel());
}

TEST_F(PagesTest, ClosingTheAboutBoxFromItsTitleBarRunsTheExit) {
    intro().show();
    w.pump.post([&] { w.m.KAEAboutForm().userClose(); });
    intro().About.click();
    EXPECT_EQ(w.m.exits, 1);
    EXPECT_TRUE(w.app.ended());
}

TEST_F(PagesTest, ButtonsLeadToTheProgramsRoutines) {
    intro().show();
    intro().Exit.click();
    intro().Next.click();
    EXPECT_EQ(w.m.cancels, 1);
    EXPECT_EQ(w.m.nexts, 1);
    EXPECT_TRUE(intro().isVisible());  // Next leaves the page to the next one
}

TEST_F(PagesTest, TitleBarCloseOfTheWelcomePageRunsTheExit) {
    intro().show();
    w.m.exitEnds = false;  // the user chose to save first: the page stays
    EXPECT_FALSE(intro().userClose());
    EXPECT_TRUE(intro().isVisible());
    w.m.exitEnds = true;
    EXPECT_TRUE(intro().userClose());
    EXPECT_EQ(w.m.exits, 2);
    EXPECT_TRUE(w.app.ended());
    // A close by the program asks nothing.
    intro().unload();
    EXPECT_EQ(w.m.exits, 2);
}

}  // namespace

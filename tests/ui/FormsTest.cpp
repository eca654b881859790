#include <gtest/gtest.h>

#include "TestForms.h"

using namespace uitest;

namespace {

struct FormsTest : ::testing::Test {
    World w;
    std::vector<std::string> log;
    ui::FormSlot<Page> slot{[this] { return std::make_shared<Page>(w.app, log); }};
    ui::FormSlot<Page> other{[this] { return std::make_shared<Page>(w.app, log, "Other"); }};
};

TEST_F(FormsTest, FormLoadsOnFirstUseOnlyAndOnce) {
    EXPECT_EQ(slot.loaded(), nullptr);
    EXPECT_TRUE(log.empty());

    // Reading a control from elsewhere loads the page.
    EXPECT_EQ(slot().Text1.text(), "default");
    EXPECT_NE(slot.loaded(), nullptr);
    slot().show();
    slot().Check1.setValue(1);
    EXPECT_EQ(std::count(log.begin(), log.end(), "Form_Load Page"), 1);
    EXPECT_TRUE(slot().isVisible());
}

TEST_F(FormsTest, UnloadLosesValuesAndNextUseStartsFresh) {
    slot().Text1.setText("typed");
    slot().Check1.setValue(1);
    Page* first = &slot();
    ASSERT_TRUE(slot.unload());
    EXPECT_EQ(slot.loaded(), nullptr);

    Page& again = slot();
    EXPECT_NE(&again, first);
    EXPECT_EQ(again.Text1.text(), "default");
    EXPECT_EQ(again.Check1.value(), 0);
    EXPECT_EQ(std::count(log.begin(), log.end(), "Form_Load Page"), 2);
}

TEST_F(FormsTest, HiddenFormKeepsItsValues) {
    slot().show();
    slot().Text1.setText("kept");
    slot().hide();
    EXPECT_FALSE(slot().isVisible());
    EXPECT_EQ(slot().Text1.text(), "kept");
    EXPECT_FALSE(w.app.ended());
}

TEST_F(FormsTest, HideTellsTheFormButUnloadDoesNot) {
    slot().show();
    slot().hide();
    slot().show();
    slot.unload();
    EXPECT_EQ(std::count(log.begin(), log.end(), "Form_Hide Page"), 1);
}

TEST_F(FormsTest, QueryUnloadSeesWhoClosesAndMayCancel) {
    slot().show();
    slot().cancelQuery = 1;
    EXPECT_FALSE(slot().userClose());
    EXPECT_NE(slot.loaded(), nullptr);
    EXPECT_TRUE(slot().isVisible());

    slot().cancelQuery = 0;
    Page& p = slot();
    auto keep = p.shared_from_this();
    EXPECT_TRUE(slot.unload());
    EXPECT_EQ(p.queryModes, (std::vector<int>{ui::UnloadByUser, ui::UnloadByProgram}));
    EXPECT_EQ(log.back(), "Form_Unload Page");
}

TEST_F(FormsTest, UnloadHandlerMayCancel) {
    struct Refusing : Page {
        using Page::Page;
        int cancelUnload = 1;
        void Form_Unload(int& cancel) override {
            Page::Form_Unload(cancel);
            cancel = cancelUnload;
        }
    };
    ui::FormSlot<Refusing> refusing{[this] { return std::make_shared<Refusing>(w.app, log, "Refusing"); }};
    refusing().show();
    EXPECT_FALSE(refusing().userClose());
    EXPECT_FALSE(refusing.unload());
    ASSERT_NE(refusing.loaded(), nullptr);
    EXPECT_TRUE(refusing().isVisible());
    EXPECT_FALSE(w.app.ended());
    refusing().cancelUnload = 0;
    EXPECT_TRUE(refusing.unload());
    EXPECT_EQ(refusing.loaded(), nullptr);
    EXPECT_EQ(std::count(log.begin(), log.end(), "Form_Unload Refusing"), 3);
}

TEST_F(FormsTest, ProgramEndsWhenTheLastFormIsUnloaded) {
    slot().show();
    other().show();
    other().hide();
    EXPECT_FALSE(w.app.ended());
    slot.unload();
    EXPECT_FALSE(w.app.ended());  // a hidden form is still loaded
    other.unload();
    EXPECT_TRUE(w.app.ended());
    EXPECT_TRUE(w.pump.quitRequested());
}

TEST_F(FormsTest, FormUnloadedInsideItsOwnHandlerLivesUntilTheHandlerReturns) {
    std::weak_ptr<ui::Form> watch;
    bool aliveAfterNestedUnload = false;
    slot().Next.onClick = [&] {
        // Another event, handled inside DoEvents, unloads the page.
        w.pump.post([&] { slot.unload(); });
        w.app.doEvents();
        aliveAfterNestedUnload = !watch.expired();
        // The handler still uses its own controls.
        slot.loaded() == nullptr ? log.push_back("gone from slot") : log.push_back("still in slot");
    };
    watch = slot().shared_from_this();
    slot().show();
    slot().Next.click();
    EXPECT_TRUE(aliveAfterNestedUnload);
    EXPECT_EQ(log.back(), "gone from slot");
    // The next use builds a fresh page; the old one is released.
    slot();
    EXPECT_TRUE(watch.expired());
}

TEST_F(FormsTest, UnloadFromInsideQueryUnloadHappensOnce) {
    // A user close whose handler unloads every form (the program's exit).
    struct Closing : Page {
        using Page::Page;
        std::function<void()> onQuery;
        void Form_QueryUnload(int& cancel, int mode) override {
            Page::Form_QueryUnload(cancel, mode);
            if (mode == ui::UnloadByUser && onQuery) onQuery();
        }
    };
    ui::FormSlot<Closing> closing{[this] { return std::make_shared<Closing>(w.app, log, "Closing"); }};
    closing().show();
    other().show();
    closing().onQuery = [&] {
        closing.unload();
        other.unload();
    };
    EXPECT_TRUE(closing().userClose());
    EXPECT_EQ(std::count(log.begin(), log.end(), "Form_Unload Closing"), 1);
    EXPECT_TRUE(w.app.ended());
}

TEST_F(FormsTest, ModalShowReturnsWhenTheFormCloses) {
    slot().show();
    other();  // loaded, not shown
    w.pump.post([&] { other().hide(); }, 200);
    other().showModal();
    EXPECT_FALSE(other().isVisible());
    EXPECT_GE(w.clock.elapsed(), 200u);
}

TEST_F(FormsTest, ModalFormWaitingForInputThatNeverComesFailsLoudly) {
    EXPECT_THROW(other().showModal(), ui::StalledError);
}

TEST_F(FormsTest, MessageBoxWithoutTitleGetsTheProgramTitle) {
    w.app.setTitle("Quillon");
    w.app.msgBox("Hello");
    w.app.msgBox("Again", ui::Buttons::YesNo, ui::Icon::Question, 2, "Own");
    ASSERT_EQ(w.messages.count(), 2u);
    EXPECT_EQ(w.messages.shown()[0].title, "Quillon");
    EXPECT_EQ(w.messages.shown()[1].title, "Own");
}

TEST_F(FormsTest, ScriptedBoxAnswersFromItsScriptElseWithTheDefaultButton) {
    w.messages.answer(ui::IDNO);
    EXPECT_EQ(w.app.msgBox("q", ui::Buttons::YesNo), ui::IDNO);
    EXPECT_EQ(w.app.msgBox("q", ui::Buttons::YesNo, ui::Icon::None, 1), ui::IDYES);
    EXPECT_EQ(w.app.msgBox("q", ui::Buttons::YesNo, ui::Icon::None, 2), ui::IDNO);
    EXPECT_EQ(w.app.msgBox("q", ui::Buttons::OK), ui::IDOK);
}

}  // namespace

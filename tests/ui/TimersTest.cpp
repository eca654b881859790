#include <gtest/gtest.h>

#include "TestForms.h"

using namespace uitest;

namespace {

class Ticking : public ui::Form {
public:
    explicit Ticking(ui::Application& app) : ui::Form(app, "Ticking", "Ticking") {
        Timer1.onTimer = [this] {
            ticks.push_back(this->app().clock().milliseconds());
            if (body) body();
        };
    }
    ui::Timer Timer1{*this, "Timer1", 500, true};
    std::vector<std::uint32_t> ticks;
    std::function<void()> body;
};

struct TimersTest : ::testing::Test {
    World w;
    ui::FormSlot<Ticking> slot{[this] { return std::make_shared<Ticking>(w.app); }};
};

TEST_F(TimersTest, TimerTicksOnTheVirtualClockOnlyWhileItsFormIsLoaded) {
    const std::uint32_t start = w.clock.milliseconds();
    auto& f = slot();
    f.show();
    w.pump.post([&] { f.unload(); }, 1600);
    w.pump.run();
    ASSERT_EQ(f.ticks.size(), 3u);
    EXPECT_EQ(f.ticks[0] - start, 500u);
    EXPECT_EQ(f.ticks[2] - start, 1500u);
    EXPECT_TRUE(w.app.ended());
}

TEST_F(TimersTest, AnUnloadedFormsTimerStopsWhileAnotherFormStaysLoaded) {
    auto& f = slot();
    f.show();
    auto other = std::make_shared<Ticking>(w.app);
    other->show();
    w.clock.advance(500);
    w.app.fireDueTimers();
    ASSERT_EQ(f.ticks.size(), 1u);
    f.unload();
    for (int i = 0; i < 4; ++i) {
        w.clock.advance(500);
        w.app.fireDueTimers();
    }
    EXPECT_EQ(f.ticks.size(), 1u);
    EXPECT_EQ(other->ticks.size(), 5u);
    EXPECT_FALSE(w.app.ended());
}

TEST_F(TimersTest, DisablingStopsAndEnablingRestartsTheCount) {
    auto& f = slot();
    f.show();
    f.Timer1.setEnabled(false);
    w.clock.advance(2000);
    w.app.fireDueTimers();
    EXPECT_TRUE(f.ticks.empty());
    f.Timer1.setInterval(100);
    f.Timer1.setEnabled(true);
    w.clock.advance(99);
    w.app.fireDueTimers();
    EXPECT_TRUE(f.ticks.empty());
    w.clock.advance(1);
    w.app.fireDueTimers();
    EXPECT_EQ(f.ticks.size(), 1u);
    f.Timer1.setInterval(0);  // an interval of 0 stops it
    EXPECT_EQ(w.app.msUntilNextTimer(), -1);
}

TEST_F(TimersTest, ATickNeverRunsNestedInsideItself) {
    auto& f = slot();
    f.show();
    int depth = 0, deepest = 0;
    f.body = [&] {
        ++depth;
        deepest = std::max(deepest, depth);
        // A long step that keeps the events going, as a status wait does.
        if (f.ticks.size() == 1)
            for (int i = 0; i < 300; ++i) w.app.doEvents();
        --depth;
        if (f.ticks.size() == 3) f.Timer1.setEnabled(false);
    };
    w.pump.run();
    EXPECT_EQ(deepest, 1);
    EXPECT_EQ(f.ticks.size(), 3u);
}

TEST_F(TimersTest, OtherTimersTickInsideAWait) {
    auto& f = slot();
    f.show();
    struct Second : ui::Form {
        explicit Second(ui::Application& a) : ui::Form(a, "Second", "") {}
        ui::Timer T{*this, "T", 100, true};
    };
    auto second = std::make_shared<Second>(w.app);
    int secondTicks = 0;
    second->T.onTimer = [&] { ++secondTicks; };
    second->load();
    f.body = [&] {
        for (int i = 0; i < 100; ++i) w.app.doEvents();  // 1 s of events
        f.Timer1.setEnabled(false);
        second->T.setEnabled(false);
    };
    w.pump.run();
    EXPECT_GE(secondTicks, 9);
}

TEST_F(TimersTest, ALateTickKeepsThePhaseAndSkipsMissedTicks) {
    // Re-armed by the pump alone, and by its own tick as the progress page does.
    for (bool rearmInTick : {false, true}) {
        SCOPED_TRACE(rearmInTick);
        World world;
        auto f = std::make_shared<Ticking>(world.app);
        f->body = [&] {
            if (rearmInTick) f->Timer1.setInterval(500);
        };
        const std::uint32_t start = world.clock.milliseconds();
        f->load();
        for (std::uint32_t step : {503u, 497u, 1700u, 300u}) {
            world.clock.advance(step);
            world.app.fireDueTimers();
        }
        std::vector<std::uint32_t> at;
        for (std::uint32_t t : f->ticks) at.push_back(t - start);
        EXPECT_EQ(at, (std::vector<std::uint32_t>{503, 1000, 2700, 3000}));
    }
}

TEST_F(TimersTest, CounterWrapDoesNotStopTimers) {
    World nearWrap(0xFFFFFF00u);
    auto f = std::make_shared<Ticking>(nearWrap.app);
    f->load();
    f->body = [&] {
        if (f->ticks.size() == 4) f->Timer1.setEnabled(false);
    };
    nearWrap.pump.run();
    EXPECT_EQ(f->ticks.size(), 4u);
    EXPECT_LT(f->ticks.back(), 0x1000u);  // past the wrap
}

}  // namespace

// The Qt event pump lets I/O sources move on, in doEvents and while its
// event loop runs.

#include <gtest/gtest.h>

#include "ui/Control.h"
#include "ui/Form.h"
#include "ui/qt/GuiWorld.h"

namespace {

TEST(QtPumpIo, PollsSourcesInDoEventsAndInTheEventLoop) {
    guitest::GuiWorld world;
    int polls = 0;
    auto io = world.app.addIoSource([&] { ++polls; });
    world.pump.doEvents();
    EXPECT_EQ(polls, 1);

    ui::Form form(world.app, "frmIo", "I/O");
    ui::Label label(form, "lbl", "Waiting");
    form.show();
    // Nothing but the source ends the loop: it unloads the form on its tenth poll.
    auto closer = world.app.addIoSource([&] {
        if (polls >= 10 && form.isLoaded()) form.unload();
    });
    world.pump.run();
    EXPECT_GE(polls, 10);
    EXPECT_FALSE(form.isLoaded());
    guitest::flushDeletes();
}

}  // namespace

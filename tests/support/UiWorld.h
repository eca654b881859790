#pragma once
// The headless forms run-time of a test: scripted boxes and dialogs, a
// virtual clock and the virtual pump.

#include <cstdint>

#include "ui/Application.h"
#include "ui/Clocks.h"
#include "ui/Scripted.h"
#include "ui/VirtualPump.h"

namespace testsupport {

struct UiWorld {
    // `counter`: where the clock's millisecond counter starts.
    explicit UiWorld(std::uint32_t counter = 1000) : clock(ui::VirtualClock::defaultStart(), counter) {}

    ui::ScriptedMessageBox messages;
    ui::ScriptedFileDialog files;
    ui::VirtualClock clock;
    ui::Application app{messages, files, clock};
    ui::VirtualPump pump{app, clock};
};

}  // namespace testsupport

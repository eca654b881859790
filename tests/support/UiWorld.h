#pragma once
// The headless forms run-time of a test: scripted boxes and dialogs, a
// virtual clock and the virtual pump.

#include <cstdint>
#include <string>
#include <vector>

#include "ui/Application.h"
#include "ui/Clocks.h"
#include "ui/Form.h"
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

    // The names of the forms on screen, in the order they were loaded.
    std::vector<std::string> shown() const {
        std::vector<std::string> names;
        for (const ui::Form* f : app.loadedForms())
            if (f->isVisible()) names.push_back(f->name());
        return names;
    }
    // Whether the named form is on screen.
    bool isShown(const std::string& form) const {
        for (const ui::Form* f : app.loadedForms())
            if (f->name() == form && f->isVisible()) return true;
        return false;
    }
};

}  // namespace testsupport

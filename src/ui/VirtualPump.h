#pragma once
// The headless event pump of the tests. It runs on a VirtualClock: each
// doEvents polls the I/O sources, handles the posted input that is due,
// moves the clock on by one step and fires the due timers. Posted actions
// stand for the user's input.

#include <cstdint>
#include <deque>
#include <functional>
#include <stdexcept>

#include "ui/Application.h"
#include "ui/Clocks.h"

namespace ui {

// Thrown when a modal form, or run(), waits for input that no test gave.
struct StalledError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class VirtualPump : public EventPump {
public:
    VirtualPump(Application& app, VirtualClock& clock, std::uint32_t stepMs = 10);

    void doEvents() override;
    // Moves the clock on by the pass, as a sleep does.
    void idle(std::uint32_t passMs, std::uint32_t) override { clock_.sleep(passMs); }
    void run() override;
    void runModal(Form& form) override;
    void quit() override { quit_ = true; }
    bool quitRequested() const override { return quit_; }

    // Input for the pump to handle, now or after `ms` of virtual time.
    void post(std::function<void()> action, std::uint32_t ms = 0);
    std::size_t pending() const { return actions_.size(); }
    std::uint64_t doEventsCalls() const { return calls_; }
    // Longest virtual time run() or a modal wait may take before it counts as stalled.
    void setStallLimit(std::uint64_t ms) { stallLimit_ = ms; }

private:
    bool runDueAction();
    // One idle step: to the next posted action or timer; false when there is none.
    bool step(std::uint64_t& waited);

    struct Posted {
        std::uint64_t at;
        std::function<void()> action;
    };
    Application& app_;
    VirtualClock& clock_;
    std::uint32_t stepMs_;
    std::deque<Posted> actions_;
    bool quit_ = false;
    std::uint64_t calls_ = 0;
    std::uint64_t stallLimit_ = 24ull * 3600 * 1000;
};

}  // namespace ui

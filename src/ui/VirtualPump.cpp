#include "ui/VirtualPump.h"

#include <algorithm>

#include "ui/Form.h"

namespace ui {

VirtualPump::VirtualPump(Application& app, VirtualClock& clock, std::uint32_t stepMs)
    : app_(app), clock_(clock), stepMs_(stepMs) {
    app_.setPump(*this);
}

void VirtualPump::post(std::function<void()> action, std::uint32_t ms) {
    Posted p{clock_.elapsed() + ms, std::move(action)};
    auto it = std::upper_bound(actions_.begin(), actions_.end(), p.at,
                               [](std::uint64_t at, const Posted& q) { return at < q.at; });
    actions_.insert(it, std::move(p));
}

bool VirtualPump::runDueAction() {
    if (actions_.empty() || actions_.front().at > clock_.elapsed()) return false;
    auto action = std::move(actions_.front().action);
    actions_.pop_front();
    action();
    return true;
}

void VirtualPump::doEvents() {
    ++calls_;
    app_.pollIo();
    runDueAction();
    clock_.advance(stepMs_);
    app_.fireDueTimers();
}

bool VirtualPump::step(std::uint64_t& waited) {
    app_.pollIo();
    if (runDueAction()) return true;
    long long timer = app_.msUntilNextTimer();
    long long action = actions_.empty() ? -1 : static_cast<long long>(actions_.front().at - clock_.elapsed());
    long long wait = timer < 0 ? action : action < 0 ? timer : std::min(timer, action);
    if (wait < 0) return false;
    clock_.advance(static_cast<std::uint32_t>(wait));
    waited += static_cast<std::uint64_t>(wait);
    if (waited > stallLimit_) return false;
    app_.fireDueTimers();
    return true;
}

void VirtualPump::run() {
    quit_ = false;
    std::uint64_t waited = 0;
    while (!quit_ && !app_.ended()) {
        if (!step(waited)) return;  // nothing left that could ever happen
    }
}

void VirtualPump::runModal(Form& form) {
    std::uint64_t waited = 0;
    while (form.isLoaded() && form.isVisible()) {
        if (!step(waited)) throw StalledError("modal form " + form.name() + " waits for input that never comes");
    }
}

}  // namespace ui

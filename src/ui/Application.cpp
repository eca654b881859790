#include "ui/Application.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "ui/Control.h"
#include "ui/Form.h"

namespace ui {

int buttonResult(Buttons buttons, int position) {
    switch (buttons) {
        case Buttons::OK:
            return IDOK;
        case Buttons::OKCancel:
            return position == 2 ? IDCANCEL : IDOK;
        case Buttons::YesNo:
            return position == 2 ? IDNO : IDYES;
        case Buttons::YesNoCancel:
            return position == 3 ? IDCANCEL : position == 2 ? IDNO : IDYES;
    }
    return IDOK;
}

Application::Application(MessageBoxService& messages, FileDialogService& files, Clock& clock)
    : messages_(messages), files_(files), clock_(clock) {}

EventPump& Application::pump() const {
    if (!pump_) throw std::logic_error("no event pump attached");
    return *pump_;
}

int Application::msgBox(const std::string& text, Buttons buttons, Icon icon, int defaultButton,
                        const std::string& title) {
    return msgBox(MessageRequest{text, buttons, icon, defaultButton, title});
}

int Application::msgBox(MessageRequest request) {
    if (request.title.empty()) request.title = title_;
    return messages_.show(request);
}

void Application::doEvents() { pump().doEvents(); }

void Application::handlerStarts() {
    if (handlers_++ == 0 && actionStart_) actionStart_();
}

void Application::idle(std::uint32_t passMs, std::uint32_t limitMs) { pump().idle(passMs, limitMs); }

void Application::addTimer(Timer* t) { timers_.push_back(t); }

void Application::removeTimer(Timer* t) {
    timers_.erase(std::remove(timers_.begin(), timers_.end(), t), timers_.end());
}

void Application::fireDueTimers() {
    const std::uint32_t now = clock_.milliseconds();
    // Copy: a tick may create or destroy timers.
    std::vector<Timer*> due;
    for (Timer* t : timers_)
        if (t->running() && !t->inTick() && static_cast<std::int32_t>(now - t->due()) >= 0) due.push_back(t);
    std::sort(due.begin(), due.end(), [now](Timer* a, Timer* b) {
        return static_cast<std::int32_t>(a->due() - now) < static_cast<std::int32_t>(b->due() - now);
    });
    for (Timer* t : due) {
        // Still there and still due? An earlier tick may have changed it.
        if (std::find(timers_.begin(), timers_.end(), t) == timers_.end()) continue;
        if (!t->running() || t->inTick() || static_cast<std::int32_t>(now - t->due()) < 0) continue;
        t->tick();
    }
    std::vector<std::pair<std::int32_t, std::uint64_t>> dueCalls;
    for (const auto& [id, c] : calls_)
        if (static_cast<std::int32_t>(now - c.due) >= 0)
            dueCalls.emplace_back(static_cast<std::int32_t>(c.due - now), id);
    std::sort(dueCalls.begin(), dueCalls.end());
    for (const auto& entry : dueCalls) {
        // An earlier call or tick may have cancelled it.
        auto it = calls_.find(entry.second);
        if (it == calls_.end()) continue;
        auto call = std::move(it->second.call);
        calls_.erase(it);
        call();
    }
}

long long Application::msUntilNextTimer() {
    const std::uint32_t now = clock_.milliseconds();
    long long best = -1;
    for (Timer* t : timers_) {
        if (!t->running() || t->inTick()) continue;
        long long wait = std::max<long long>(0, static_cast<std::int32_t>(t->due() - now));
        if (best < 0 || wait < best) best = wait;
    }
    for (const auto& entry : calls_) {
        long long wait = std::max<long long>(0, static_cast<std::int32_t>(entry.second.due - now));
        if (best < 0 || wait < best) best = wait;
    }
    return best;
}

TimedCall Application::callAfter(std::uint32_t ms, std::function<void()> call) {
    const std::uint64_t id = nextCall_++;
    calls_.emplace(id, Call{clock_.milliseconds() + ms, std::move(call)});
    return TimedCall(*this, id);
}

Registration& Registration::operator=(Registration&& o) noexcept {
    if (this != &o) {
        reset();
        app_ = o.app_;
        id_ = o.id_;
        drop_ = o.drop_;
        o.app_ = nullptr;
    }
    return *this;
}

void Registration::reset() {
    if (app_) drop_(*app_, id_);
    app_ = nullptr;
}

TimedCall::TimedCall(Application& app, std::uint64_t id)
    : Registration(app, id, [](Application& a, std::uint64_t i) { a.cancelCall(i); }) {}

bool TimedCall::pending() const { return app_ && app_->callPending(id_); }

IoSubscription::IoSubscription(Application& app, std::uint64_t id)
    : Registration(app, id, [](Application& a, std::uint64_t i) { a.removeIoSource(i); }) {}

IoSubscription Application::addIoSource(std::function<void()> poll, IoWaitFunction wait) {
    const std::uint64_t id = nextIo_++;
    io_.emplace(id, IoSource{std::move(poll), std::move(wait)});
    return IoSubscription(*this, id);
}

void Application::removeIoSource(std::uint64_t id) { io_.erase(id); }

void Application::pollIo() {
    // A poll may add or remove sources: take the ids first.
    for (std::uint64_t id : ioSourceIds()) pollIo(id);
}

void Application::pollIo(std::uint64_t id) {
    auto it = io_.find(id);
    if (it == io_.end()) return;
    auto poll = it->second.poll;  // the source may remove itself while it runs
    poll();
}

std::vector<std::uint64_t> Application::ioSourceIds() const {
    std::vector<std::uint64_t> ids;
    ids.reserve(io_.size());
    for (const auto& entry : io_) ids.push_back(entry.first);
    return ids;
}

std::optional<IoWait> Application::ioWait(std::uint64_t id) const {
    auto it = io_.find(id);
    if (it == io_.end() || !it->second.wait) return std::nullopt;
    return it->second.wait();
}

void Application::formLoaded(Form* f) {
    loaded_.push_back(f);
    ended_ = false;
}

void Application::formUnloaded(Form* f) {
    forget(f);
    if (loaded_.empty()) {
        ended_ = true;
        if (pump_) pump_->quit();
    }
}

void Application::forget(Form* f) { loaded_.erase(std::remove(loaded_.begin(), loaded_.end(), f), loaded_.end()); }

}  // namespace ui

#pragma once
// The forms layer's run-time: services, the timer queue, the loaded forms.
// The program ends when the last loaded form is unloaded.

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "ui/Services.h"

namespace ui {

class Application;
class Form;
class Timer;
class ViewFactory;

// What an I/O source waits for, so that an event loop can sleep until its
// poll has something to do. A descriptor of -1 waits for nothing.
struct IoWait {
    int fd = -1;
    bool read = false;   // until the descriptor can be read
    bool write = false;  // until it can be written
};

// Keeps something registered with the Application under an id (an I/O
// source, a call of the timer queue); `drop` unregisters it when the
// registration is destroyed or reset.
class Registration {
public:
    using Drop = void (*)(Application&, std::uint64_t);
    Registration() = default;
    Registration(Application& app, std::uint64_t id, Drop drop) : app_(&app), id_(id), drop_(drop) {}
    Registration(Registration&& o) noexcept : app_(o.app_), id_(o.id_), drop_(o.drop_) { o.app_ = nullptr; }
    Registration& operator=(Registration&& o) noexcept;
    Registration(const Registration&) = delete;
    Registration& operator=(const Registration&) = delete;
    ~Registration() { reset(); }
    void reset();
    bool active() const { return app_ != nullptr; }

protected:
    Application* app_ = nullptr;
    std::uint64_t id_ = 0;
    Drop drop_ = nullptr;
};

// Keeps an I/O source registered with the Application.
class IoSubscription : public Registration {
public:
    IoSubscription() = default;
    IoSubscription(Application& app, std::uint64_t id);
};

// Keeps a call of the timer queue set.
class TimedCall : public Registration {
public:
    TimedCall() = default;
    TimedCall(Application& app, std::uint64_t id);
    // Set and not yet made.
    bool pending() const;
};

class Application {
public:
    Application(MessageBoxService& messages, FileDialogService& files, Clock& clock);
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // The event pump is made with the Application, so it is attached after.
    void setPump(EventPump& pump) { pump_ = &pump; }
    void setViews(ViewFactory* views) { views_ = views; }

    MessageBoxService& messages() const { return messages_; }
    FileDialogService& files() const { return files_; }
    Clock& clock() const { return clock_; }
    EventPump& pump() const;
    ViewFactory* views() const { return views_; }

    // The program's title: the title of a message box given none.
    const std::string& title() const { return title_; }
    void setTitle(std::string t) { title_ = std::move(t); }

    int msgBox(const std::string& text, Buttons buttons = Buttons::OK, Icon icon = Icon::None, int defaultButton = 1,
               const std::string& title = {});
    int msgBox(MessageRequest request);
    void doEvents();
    // The pause between two passes of a wait loop (see EventPump::idle).
    void idle(std::uint32_t passMs, std::uint32_t limitMs);

    // A user action starts when a handler of a form runs while no other one
    // does (a click, a key, a tick); `start` runs first. Replaces the last one.
    void setActionStart(std::function<void()> start) { actionStart_ = std::move(start); }

    // Loaded forms, in load order.
    const std::vector<Form*>& loadedForms() const { return loaded_; }
    bool ended() const { return ended_; }

    // Timers: the pump fires the due ones.
    void addTimer(Timer* t);
    void removeTimer(Timer* t);
    // Runs every running timer and timed call whose time has come; none runs
    // nested in itself.
    void fireDueTimers();
    // Milliseconds until the next running timer or timed call is due; -1 when none.
    long long msUntilNextTimer();
    // A call that belongs to no form: the timer queue makes it once, `ms`
    // after now, unless it is cancelled first.
    [[nodiscard]] TimedCall callAfter(std::uint32_t ms, std::function<void()> call);
    void cancelCall(std::uint64_t id) { calls_.erase(id); }
    bool callPending(std::uint64_t id) const { return calls_.count(id) != 0; }

    // I/O sources (sockets and the like): the pump calls every registered
    // poll function on each doEvents and whenever the source may have
    // something to do, so I/O progresses and raises its events on this
    // thread. A poll never blocks. `wait` tells what the source waits for;
    // without it, or when it returns nothing, the source cannot say, and a
    // pump with a real event loop polls it every few milliseconds.
    using IoWaitFunction = std::function<std::optional<IoWait>()>;
    [[nodiscard]] IoSubscription addIoSource(std::function<void()> poll, IoWaitFunction wait = {});
    void removeIoSource(std::uint64_t id);
    // Runs each registered poll once.
    void pollIo();
    // Runs the poll of one source, if it is still registered.
    void pollIo(std::uint64_t id);
    std::size_t ioSources() const { return io_.size(); }
    // The registered sources, in registration order.
    std::vector<std::uint64_t> ioSourceIds() const;
    // What the source waits for now; nothing when it cannot say or is gone.
    std::optional<IoWait> ioWait(std::uint64_t id) const;

    // Used by Form.
    void handlerStarts();
    void handlerEnded() { --handlers_; }
    void formLoaded(Form* f);
    void formUnloaded(Form* f);
    void forget(Form* f);

private:
    MessageBoxService& messages_;
    FileDialogService& files_;
    Clock& clock_;
    EventPump* pump_ = nullptr;
    ViewFactory* views_ = nullptr;
    std::string title_;
    std::vector<Form*> loaded_;
    std::vector<Timer*> timers_;
    bool ended_ = false;
    int handlers_ = 0;
    std::function<void()> actionStart_;
    struct IoSource {
        std::function<void()> poll;
        IoWaitFunction wait;
    };
    std::map<std::uint64_t, IoSource> io_;
    std::uint64_t nextIo_ = 1;
    struct Call {
        std::uint32_t due;
        std::function<void()> call;
    };
    std::map<std::uint64_t, Call> calls_;
    std::uint64_t nextCall_ = 1;
};

}  // namespace ui

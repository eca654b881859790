#pragma once
// The event pump of the Qt program: the Qt event loop, woken only by events.
// The forms layer's timers share one Qt timer armed for the next due time on
// the model's clock; I/O sources report through socket notifiers.

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "ui/Application.h"

class QEventLoop;
class QObject;
class QSocketNotifier;
class QTimer;

namespace ui {

class VirtualClock;

class QtPump : public EventPump {
public:
    // Attaches itself to the application (app.setPump).
    explicit QtPump(Application& app);
    ~QtPump() override;
    QtPump(const QtPump&) = delete;
    QtPump& operator=(const QtPump&) = delete;

    // Handles the pending Qt events once, then the I/O sources and the due timers.
    void doEvents() override;
    // Blocks in the event loop until an event was handled or `limitMs` have
    // passed. On a virtual clock, which no event loop moves, it moves the
    // clock on by `passMs` instead.
    void idle(std::uint32_t passMs, std::uint32_t limitMs) override;
    // Runs the Qt event loop until quit(), or until no form is loaded any more.
    void run() override;
    // A nested event loop until the form is hidden or unloaded.
    void runModal(Form& form) override;
    // Ends run() and any modal loop.
    void quit() override;
    bool quitRequested() const override { return quit_; }

    // Event loops running now: run() and the modal ones.
    int depth() const { return static_cast<int>(loops_.size()); }

    // How often an I/O source that cannot say what it waits for is polled.
    static constexpr int BlindPollMs = 5;

private:
    struct Loop {
        QEventLoop* loop;
        Form* form;  // nullptr: run()
    };
    struct Watch {
        int fd = -1;
        QSocketNotifier* read = nullptr;
        QSocketNotifier* write = nullptr;
    };
    void fire();
    void arm();
    // Makes the notifiers follow the sources; `blocking`: the loop is about to sleep.
    void watch(bool blocking = false);
    void unwatch(Watch& w);
    void check();

    Application& app_;
    VirtualClock* virtualClock_;
    std::unique_ptr<QObject> ctx_;
    QTimer* timer_ = nullptr;  // the next due forms timer
    QTimer* blind_ = nullptr;  // polls the sources that cannot say what they wait for
    std::uint32_t armedFor_ = 0;
    std::map<std::uint64_t, Watch> watches_;
    std::vector<Loop> loops_;
    bool quit_ = false;
};

}  // namespace ui

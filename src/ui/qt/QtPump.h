#pragma once
// The event pump of the Qt program: the Qt event loop, with the forms
// layer's timers fired from a short Qt timer on the model's clock.

#include <memory>
#include <vector>

#include "ui/Application.h"

class QEventLoop;
class QObject;
class QTimer;

namespace ui {

class QtPump : public EventPump {
public:
    // Attaches itself to the application (app.setPump).
    explicit QtPump(Application& app, int tickMs = 5);
    ~QtPump() override;
    QtPump(const QtPump&) = delete;
    QtPump& operator=(const QtPump&) = delete;

    // Handles the pending Qt events once, then the due timers.
    void doEvents() override;
    // Runs the Qt event loop until quit(), or until no form is loaded any more.
    void run() override;
    // A nested event loop until the form is hidden or unloaded.
    void runModal(Form& form) override;
    // Ends run() and any modal loop.
    void quit() override;
    bool quitRequested() const override { return quit_; }

    // Event loops running now: run() and the modal ones.
    int depth() const { return static_cast<int>(loops_.size()); }

private:
    struct Loop {
        QEventLoop* loop;
        Form* form;  // nullptr: run()
    };
    void tick();
    void check();

    Application& app_;
    std::unique_ptr<QObject> ctx_;
    QTimer* timer_ = nullptr;
    std::vector<Loop> loops_;
    bool quit_ = false;
    bool tickPosted_ = false;
};

}  // namespace ui

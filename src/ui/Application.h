#pragma once
// The forms layer's run-time: services, the timer queue, the loaded forms.
// The program ends when the last loaded form is unloaded.

#include <string>
#include <vector>

#include "ui/Services.h"

namespace ui {

class Form;
class Timer;
class ViewFactory;

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

    int msgBox(const std::string& text, Buttons buttons = Buttons::OK, Icon icon = Icon::None,
               int defaultButton = 1, const std::string& title = {});
    int msgBox(MessageRequest request);
    void doEvents();

    // Loaded forms, in load order.
    const std::vector<Form*>& loadedForms() const { return loaded_; }
    bool ended() const { return ended_; }

    // Timers: the pump fires the due ones.
    void addTimer(Timer* t);
    void removeTimer(Timer* t);
    // Runs every running timer whose time has come; none runs nested in itself.
    void fireDueTimers();
    // Milliseconds until the next running timer is due; -1 when none runs.
    long long msUntilNextTimer();

    // Used by Form.
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
};

}  // namespace ui

#pragma once
// The services a page reaches through the forms layer: message boxes, the
// open-file dialog, the event pump and the clock. Each has a real and a
// scripted or virtual implementation.

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

namespace ui {

class Form;

// Message box buttons, icons and results, with the values pages compare with.
enum class Buttons { OK = 0, OKCancel = 1, YesNoCancel = 3, YesNo = 4 };
enum class Icon { None = 0, Critical = 16, Question = 32, Exclamation = 48, Information = 64 };

constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

struct MessageRequest {
    std::string text;
    Buttons buttons = Buttons::OK;
    Icon icon = Icon::None;
    int defaultButton = 1;  // 1 = first button, 2 = second, ...
    std::string title;      // filled with the program title when empty
};

// The result code of the button at `position` (1-based) of a button set.
int buttonResult(Buttons buttons, int position);

class MessageBoxService {
public:
    virtual ~MessageBoxService() = default;
    virtual int show(const MessageRequest& request) = 0;
};

struct FileDialogRequest {
    std::string title;
    std::string filter;  // "Description|*.ext|..." pairs
    std::string initialDir;
    std::string fileName;  // initial name
    std::string defaultExt;
    bool fileMustExist = false;
    // A file to read rather than one to write: the dialog's button reads
    // "Open", whether or not the name must exist.
    bool opening = false;
};

class FileDialogService {
public:
    virtual ~FileDialogService() = default;
    // The chosen path, or nothing when the user cancelled.
    virtual std::optional<std::string> open(const FileDialogRequest& request) = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    // Free-running millisecond counter; wraps at 2^32 like a system tick count.
    virtual std::uint32_t milliseconds() = 0;
    // Local wall time, for time stamps.
    virtual std::tm localTime() = 0;
    // Seconds since local midnight, with fractions.
    virtual double secondsSinceMidnight() = 0;
    // Blocks the calling thread (a virtual clock just moves on).
    virtual void sleep(std::uint32_t ms) = 0;
};

class EventPump {
public:
    virtual ~EventPump() = default;
    // Handles the pending events once, timers included, and returns.
    virtual void doEvents() = 0;
    // The pause between two passes of a wait loop that handles events. The
    // headless pump lets `passMs` pass on its clock; a pump with a real event
    // loop blocks in it until it has handled an event or `limitMs` have
    // passed, so that a wait neither spins nor sleeps through its events.
    virtual void idle(std::uint32_t passMs, std::uint32_t limitMs) = 0;
    // Runs until quit() is called, or (headless) until nothing is left to do.
    virtual void run() = 0;
    // Runs until the form is hidden or unloaded.
    virtual void runModal(Form& form) = 0;
    virtual void quit() = 0;
    virtual bool quitRequested() const = 0;
};

}  // namespace ui

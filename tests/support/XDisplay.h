#pragma once
// A private X display for tests of real windows: Xvfb on a display number it
// picks itself, a window manager on it, and what the X server says of the
// windows on screen. Stopped with the object, or with the test program.

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

struct xcb_connection_t;

namespace testsupport {

class XDisplay {
public:
    // Starts Xvfb with one screen of `screen` ("WIDTHxHEIGHTxDEPTH") and the
    // window manager `windowManager` ("openbox", "xfwm4", "metacity"), and
    // returns once the manager runs; std::runtime_error when either fails.
    explicit XDisplay(const std::string& windowManager, const std::string& screen = "1280x800x24");
    ~XDisplay();
    XDisplay(const XDisplay&) = delete;
    XDisplay& operator=(const XDisplay&) = delete;

    // ":N", for DISPLAY.
    const std::string& name() const { return name_; }

    // A window on screen: a client window that is mapped (viewable), its
    // title, and its outer geometry, frame included, on the root window.
    struct Window {
        std::string title;
        int x = 0, y = 0, width = 0, height = 0;
    };
    // The windows on screen, bottom of the stack first.
    std::vector<Window> windows() const;
    // For a failure message: every window mapped on the root window, managed
    // by the window manager or not, with its name.
    std::string describe() const;

    // A click of the first mouse button at (x, y) on the root window, as if
    // from the real mouse (XTEST).
    void click(int x, int y) const;

private:
    std::filesystem::path folder_;
    pid_t server_ = -1;
    pid_t manager_ = -1;
    std::string name_;
    xcb_connection_t* conn_ = nullptr;
};

}  // namespace testsupport

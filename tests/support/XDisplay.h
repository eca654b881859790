#pragma once
// A private X display for tests of real windows: Xvfb on a display number it
// picks itself, a window manager on it, and what the X server says of the
// windows on screen, the active one and the keyboard focus. Stopped with the
// object, or with the test program.

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

struct xcb_connection_t;

namespace testsupport {

class XDisplay {
public:
    // Starts Xvfb with one screen of `screen` ("WIDTHxHEIGHTxDEPTH") and the
    // window manager `windowManager` ("openbox", "xfwm4", "metacity"), and
    // returns once the manager runs. When either fails to start, whatever
    // did start is stopped again and error() says why.
    explicit XDisplay(const std::string& windowManager, const std::string& screen = "1280x800x24");
    ~XDisplay();
    XDisplay(const XDisplay&) = delete;
    XDisplay& operator=(const XDisplay&) = delete;

    bool started() const { return error_.empty(); }
    const std::string& error() const { return error_; }

    // ":N", for DISPLAY.
    const std::string& name() const { return name_; }

    // A window on screen: a client window that is mapped (viewable), its
    // id, title and process, its inside on the root window and its outer
    // geometry, frame included.
    struct Window {
        std::uint32_t id = 0;
        std::string title;
        int pid = 0;
        int x = 0, y = 0, width = 0, height = 0;  // the inside
        int frameX = 0, frameY = 0, frameWidth = 0, frameHeight = 0;
    };
    // The windows on screen, bottom of the stack first. Safe to call from
    // another thread meanwhile.
    std::vector<Window> windows() const;
    // For a failure message: every window mapped on the root window, managed
    // by the window manager or not, with its name.
    std::string describe() const;
    // The window the manager calls active (_NET_ACTIVE_WINDOW), and the
    // window that has the keyboard focus; 0 for none.
    std::uint32_t activeWindow() const;
    std::uint32_t focusWindow() const;

    // A click of the first mouse button at (x, y) on the root window, as if
    // from the real mouse (XTEST).
    void click(int x, int y) const;
    // The user moves a client window so that its frame's top-left is at
    // (x, y), as from a pager (_NET_MOVERESIZE_WINDOW).
    void move(std::uint32_t window, int x, int y) const;
    // A press and release of the key that types the key symbol `keysym`.
    void key(std::uint32_t keysym) const;

private:
    // Starts both; what went wrong, or nothing.
    std::string start(const std::string& windowManager, const std::string& screen);
    // Stops whatever started.
    void fail(const std::string& why);

    std::filesystem::path folder_;
    pid_t server_ = -1;
    pid_t manager_ = -1;
    std::string name_;
    std::string error_;
    xcb_connection_t* conn_ = nullptr;
};

}  // namespace testsupport

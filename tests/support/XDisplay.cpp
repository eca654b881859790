#include "support/XDisplay.h"

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <memory>
#include <utility>

#include "support/ServerProcess.h"

namespace testsupport {

namespace {

constexpr auto StartLimit = std::chrono::seconds(15);

template <class T>
using Reply = std::unique_ptr<T, decltype(&std::free)>;

template <class T>
Reply<T> owned(T* reply) {
    return Reply<T>(reply, &std::free);
}

xcb_window_t rootOf(xcb_connection_t* c) { return xcb_setup_roots_iterator(xcb_get_setup(c)).data->root; }

xcb_atom_t atom(xcb_connection_t* c, const std::string& name) {
    auto r = owned(xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, static_cast<std::uint16_t>(name.size()), name.c_str()), nullptr));
    return r ? r->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

// The bytes of a property; empty when the window has none.
std::string property(xcb_connection_t* c, xcb_window_t w, xcb_atom_t name) {
    auto r =
        owned(xcb_get_property_reply(c, xcb_get_property(c, 0, w, name, XCB_GET_PROPERTY_TYPE_ANY, 0, 4096), nullptr));
    if (!r || r->type == XCB_ATOM_NONE) return {};
    const int bytes = xcb_get_property_value_length(r.get());
    return std::string(static_cast<const char*>(xcb_get_property_value(r.get())), static_cast<std::size_t>(bytes));
}

bool hasProperty(xcb_connection_t* c, xcb_window_t w, xcb_atom_t name) {
    auto r =
        owned(xcb_get_property_reply(c, xcb_get_property(c, 0, w, name, XCB_GET_PROPERTY_TYPE_ANY, 0, 0), nullptr));
    return r && r->type != XCB_ATOM_NONE;
}

bool viewable(xcb_connection_t* c, xcb_window_t w) {
    auto a = owned(xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, w), nullptr));
    return a && a->map_state == XCB_MAP_STATE_VIEWABLE;
}

std::vector<xcb_window_t> children(xcb_connection_t* c, xcb_window_t w) {
    auto t = owned(xcb_query_tree_reply(c, xcb_query_tree(c, w), nullptr));
    if (!t) return {};
    const xcb_window_t* first = xcb_query_tree_children(t.get());
    return {first, first + xcb_query_tree_children_length(t.get())};
}

// The client window in a frame: the window with WM_STATE, the frame itself
// where the manager does not reparent.
xcb_window_t clientIn(xcb_connection_t* c, xcb_window_t w, xcb_atom_t wmState, int depth = 0) {
    if (hasProperty(c, w, wmState)) return w;
    if (depth == 4) return XCB_WINDOW_NONE;
    for (xcb_window_t child : children(c, w))
        if (xcb_window_t found = clientIn(c, child, wmState, depth + 1); found != XCB_WINDOW_NONE) return found;
    return XCB_WINDOW_NONE;
}

// The command line that runs each manager on its own, without a session
// manager (xfwm4 keeps its settings on a message bus of its own).
std::vector<std::string> managerCommand(const std::string& manager) {
    if (manager == "openbox") return {manager, "--sm-disable"};
    if (manager == "xfwm4") return {"dbus-run-session", "--", manager, "--compositor=off", "--sm-client-disable"};
    if (manager == "metacity") return {manager, "--sm-disable", "--no-composite"};
    return {manager};
}

// The program's path; empty when it is not installed.
std::string findProgram(const std::string& name) {
    for (const char* dir : {"/usr/bin/", "/usr/local/bin/", "/bin/"})
        if (::access((std::string(dir) + name).c_str(), X_OK) == 0) return std::string(dir) + name;
    return {};
}

// The keycode that types `keysym`; 0 when no key does.
xcb_keycode_t keycodeOf(xcb_connection_t* c, xcb_keysym_t keysym) {
    const xcb_setup_t* setup = xcb_get_setup(c);
    const auto count = static_cast<std::uint8_t>(setup->max_keycode - setup->min_keycode + 1);
    auto map =
        owned(xcb_get_keyboard_mapping_reply(c, xcb_get_keyboard_mapping(c, setup->min_keycode, count), nullptr));
    if (!map) return 0;
    const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(map.get());
    for (int k = 0; k < count; ++k)
        for (int i = 0; i < map->keysyms_per_keycode; ++i)
            if (syms[k * map->keysyms_per_keycode + i] == keysym)
                return static_cast<xcb_keycode_t>(setup->min_keycode + k);
    return 0;
}

}  // namespace

XDisplay::XDisplay(const std::string& windowManager, const std::string& screen) {
    if (const std::string why = start(windowManager, screen); !why.empty()) fail(why);
}

std::string XDisplay::start(const std::string& windowManager, const std::string& screen) {
    try {
        folder_ = makeTempFolder("quill-x");
    } catch (const std::exception& e) {
        return e.what();
    }
    const std::string log = (folder_ / "x.log").string();
    const std::string xvfb = findProgram("Xvfb");
    const std::vector<std::string> command = managerCommand(windowManager);
    const std::string manager = findProgram(command.front());
    if (xvfb.empty() || manager.empty()) return (xvfb.empty() ? "Xvfb" : command.front()) + " is not installed";
    // Xvfb picks a free display number and writes it into the pipe once it is ready.
    int fds[2];
    if (::pipe(fds) != 0) return "pipe failed";
    try {
        server_ = startServer(
            xvfb, {"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", screen, "-nolisten", "tcp"}, log);
    } catch (const std::exception& e) {
        ::close(fds[0]);
        ::close(fds[1]);
        return e.what();
    }
    ::close(fds[1]);
    const auto deadline = std::chrono::steady_clock::now() + StartLimit;
    std::string number;
    for (;;) {
        pollfd p{fds[0], POLLIN, 0};
        if (::poll(&p, 1, msUntil(deadline)) <= 0) break;
        char ch = 0;
        if (::read(fds[0], &ch, 1) != 1 || ch == '\n') break;
        number += ch;
    }
    ::close(fds[0]);
    if (number.empty()) return "Xvfb did not start; see " + log;
    name_ = ":" + number;
    conn_ = xcb_connect(name_.c_str(), nullptr);
    if (xcb_connection_has_error(conn_)) return "no connection to Xvfb on " + name_;

    // The manager runs once it names itself on the root window.
    const xcb_window_t root = rootOf(conn_);
    const std::uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(conn_, root, XCB_CW_EVENT_MASK, &mask);
    const xcb_atom_t check = atom(conn_, "_NET_SUPPORTING_WM_CHECK");
    const std::string home = folder_.string();
    try {
        manager_ = startServer(manager, command, log,
                               {{"DISPLAY", name_},
                                {"HOME", home},
                                {"XDG_CONFIG_HOME", home},
                                {"XDG_CACHE_HOME", home},
                                // No accessibility bus, which would outlive the manager.
                                {"NO_AT_BRIDGE", "1"}});
    } catch (const std::exception& e) {
        return e.what();
    }
    // Waits until `ready`, for up to `limit` of the time left; false when it
    // did not come or the manager ended meanwhile.
    bool ended = false;
    auto waitFor = [&](const auto& ready, std::chrono::milliseconds limit) {
        const auto until = std::min(deadline, std::chrono::steady_clock::now() + limit);
        while (!ready()) {
            int status = 0;
            if (::waitpid(manager_, &status, WNOHANG) == manager_) {
                manager_ = -1;
                ended = true;
                return false;
            }
            if (msUntil(until) == 0) return false;
            pollfd p{xcb_get_file_descriptor(conn_), POLLIN, 0};
            ::poll(&p, 1, msUntil(until));  // woken by a property's change
            while (xcb_generic_event_t* e = xcb_poll_for_event(conn_)) std::free(e);
        }
        return true;
    };
    const auto started = [&] { return hasProperty(conn_, root, check); };
    if (!waitFor(started, StartLimit)) return windowManager + (ended ? " ended" : " did not start") + "; see " + log;
    // A manager names itself before it has set up, and may drop a window's
    // request to be mapped that comes meanwhile: it runs once it takes a
    // window of ours in (gives it WM_STATE). Until then the window asks again.
    const xcb_window_t probe = xcb_generate_id(conn_);
    xcb_create_window(conn_, XCB_COPY_FROM_PARENT, probe, root, 0, 0, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                      XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK, &mask);
    const xcb_atom_t wmState = atom(conn_, "WM_STATE");
    const auto managed = [&] { return hasProperty(conn_, probe, wmState); };
    for (;;) {
        xcb_map_window(conn_, probe);
        xcb_flush(conn_);
        if (waitFor(managed, std::chrono::milliseconds(250))) break;
        if (ended || msUntil(deadline) == 0)
            return windowManager + (ended ? " ended" : " manages no window") + "; see " + log;
        xcb_unmap_window(conn_, probe);
    }
    xcb_destroy_window(conn_, probe);
    const std::uint32_t none = 0;
    xcb_change_window_attributes(conn_, root, XCB_CW_EVENT_MASK, &none);
    xcb_flush(conn_);
    return {};
}

void XDisplay::fail(const std::string& why) {
    error_ = why.empty() ? "the display did not start" : why;
    if (conn_) xcb_disconnect(conn_);
    conn_ = nullptr;
    if (manager_ > 0) stopServer(manager_, std::chrono::seconds(2));
    if (server_ > 0) stopServer(server_, std::chrono::seconds(2));
    manager_ = server_ = -1;
    // The log stays for the message to point at.
}

XDisplay::~XDisplay() {
    if (conn_) xcb_disconnect(conn_);
    if (manager_ > 0) stopServer(manager_, std::chrono::seconds(2));
    if (server_ > 0) stopServer(server_, std::chrono::seconds(2));
    std::error_code ec;
    if (!folder_.empty() && started()) std::filesystem::remove_all(folder_, ec);
}

std::vector<XDisplay::Window> XDisplay::windows() const {
    std::vector<Window> out;
    if (!conn_) return out;
    const xcb_atom_t wmState = atom(conn_, "WM_STATE");
    const xcb_atom_t netName = atom(conn_, "_NET_WM_NAME");
    const xcb_atom_t netPid = atom(conn_, "_NET_WM_PID");
    const xcb_window_t root = rootOf(conn_);
    for (xcb_window_t frame : children(conn_, root)) {
        if (!viewable(conn_, frame)) continue;
        const xcb_window_t client = clientIn(conn_, frame, wmState);
        if (client == XCB_WINDOW_NONE || !viewable(conn_, client)) continue;
        auto g = owned(xcb_get_geometry_reply(conn_, xcb_get_geometry(conn_, frame), nullptr));
        auto inside = owned(xcb_get_geometry_reply(conn_, xcb_get_geometry(conn_, client), nullptr));
        auto at = owned(
            xcb_translate_coordinates_reply(conn_, xcb_translate_coordinates(conn_, client, root, 0, 0), nullptr));
        if (!g || !inside || !at) continue;
        Window w;
        w.id = client;
        w.title = property(conn_, client, netName);
        if (w.title.empty()) w.title = property(conn_, client, XCB_ATOM_WM_NAME);
        const std::string pid = property(conn_, client, netPid);
        if (pid.size() == 4) std::memcpy(&w.pid, pid.data(), 4);
        w.x = at->dst_x;
        w.y = at->dst_y;
        w.width = inside->width;
        w.height = inside->height;
        w.frameX = g->x;
        w.frameY = g->y;
        w.frameWidth = g->width + 2 * g->border_width;
        w.frameHeight = g->height + 2 * g->border_width;
        out.push_back(std::move(w));
    }
    return out;
}

std::string XDisplay::describe() const {
    if (!conn_) return " nothing";
    const xcb_atom_t wmState = atom(conn_, "WM_STATE");
    std::string out;
    for (xcb_window_t top : children(conn_, rootOf(conn_))) {
        if (!viewable(conn_, top)) continue;
        const xcb_window_t client = clientIn(conn_, top, wmState);
        const xcb_window_t named = client == XCB_WINDOW_NONE ? top : client;
        out += " [" + property(conn_, named, XCB_ATOM_WM_NAME) + (client == XCB_WINDOW_NONE ? ", unmanaged" : "") +
               (client != XCB_WINDOW_NONE && !viewable(conn_, client) ? ", client unmapped" : "") + "]";
    }
    return out.empty() ? " nothing" : out;
}

std::uint32_t XDisplay::activeWindow() const {
    if (!conn_) return 0;
    const std::string id = property(conn_, rootOf(conn_), atom(conn_, "_NET_ACTIVE_WINDOW"));
    std::uint32_t w = 0;
    if (id.size() >= 4) std::memcpy(&w, id.data(), 4);  // the first of the list (xfwm4 adds one)
    return w;
}

std::uint32_t XDisplay::focusWindow() const {
    if (!conn_) return 0;
    auto f = owned(xcb_get_input_focus_reply(conn_, xcb_get_input_focus(conn_), nullptr));
    return f ? f->focus : 0;
}

void XDisplay::click(int x, int y) const {
    if (!conn_) return;
    const xcb_window_t root = rootOf(conn_);
    xcb_test_fake_input(conn_, XCB_MOTION_NOTIFY, 0, XCB_CURRENT_TIME, root, static_cast<std::int16_t>(x),
                        static_cast<std::int16_t>(y), 0);
    xcb_test_fake_input(conn_, XCB_BUTTON_PRESS, 1, XCB_CURRENT_TIME, XCB_WINDOW_NONE, 0, 0, 0);
    xcb_test_fake_input(conn_, XCB_BUTTON_RELEASE, 1, XCB_CURRENT_TIME, XCB_WINDOW_NONE, 0, 0, 0);
    xcb_flush(conn_);
}

void XDisplay::move(std::uint32_t window, int x, int y) const {
    if (!conn_) return;
    xcb_client_message_event_t e{};
    e.response_type = XCB_CLIENT_MESSAGE;
    e.format = 32;
    e.window = window;
    e.type = atom(conn_, "_NET_MOVERESIZE_WINDOW");
    // North-west gravity, x and y given, from the user (a pager).
    e.data.data32[0] = 1u | (1u << 8) | (1u << 9) | (2u << 12);
    e.data.data32[1] = static_cast<std::uint32_t>(x);
    e.data.data32[2] = static_cast<std::uint32_t>(y);
    const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_send_event(conn_, 0, rootOf(conn_), mask, reinterpret_cast<const char*>(&e));
    xcb_flush(conn_);
}

void XDisplay::key(std::uint32_t keysym) const {
    if (!conn_) return;
    const xcb_keycode_t code = keycodeOf(conn_, keysym);
    if (code == 0) return;
    xcb_test_fake_input(conn_, XCB_KEY_PRESS, code, XCB_CURRENT_TIME, XCB_WINDOW_NONE, 0, 0, 0);
    xcb_test_fake_input(conn_, XCB_KEY_RELEASE, code, XCB_CURRENT_TIME, XCB_WINDOW_NONE, 0, 0, 0);
    xcb_flush(conn_);
}

}  // namespace testsupport

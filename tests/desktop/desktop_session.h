#pragma once
// The desktop the desktop tests look at: Xvfb with openbox, an editor started on it
// with a project of an 8 x 8 map and a red sheet, and the X calls that see and click
// what a user would.
// GoogleTest before Xlib, whose macros (None, Bool, Status) would break it.
#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/bmp_file_builder.h"

namespace desktoptest {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// Long enough for a loaded machine; a healthy run takes a few seconds in all.
constexpr auto kPatience = std::chrono::seconds(30);
constexpr unsigned long kRed = 0xFF0000, kWhite = 0xFFFFFF;
inline const std::string kMainTitle = "クオーベルエディター";
inline const std::string kSettingsTitle = "設定";

inline bool waitUntil(const std::function<bool()>& condition, Clock::duration patience = kPatience) {
    const auto deadline = Clock::now() + patience;
    while (!condition()) {
        if (Clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

// A child process that dies with the test and is ended when it is no longer needed.
struct Child {
    pid_t pid = -1;
    std::optional<int> exitStatus;

    static Child start(const std::vector<std::string>& argv, const std::vector<std::string>& environment,
                       const fs::path& log, int passFd = -1) {
        Child child;
        child.pid = fork();
        if (child.pid == 0) {
            prctl(PR_SET_PDEATHSIG, SIGKILL);
            for (const std::string& entry : environment) putenv(strdup(entry.c_str()));
            const int out = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            dup2(out, 1);
            dup2(out, 2);
            if (passFd >= 0) dup2(passFd, 3);
            std::vector<char*> args;
            for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
            args.push_back(nullptr);
            execvp(args[0], args.data());
            _exit(127);
        }
        return child;
    }

    bool exited() {
        if (exitStatus) return true;
        int status = 0;
        if (pid <= 0 || waitpid(pid, &status, WNOHANG) != pid) return false;
        exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        return true;
    }

    void stop() {
        if (pid <= 0 || exited()) return;
        kill(pid, SIGTERM);
        if (!waitUntil([this] { return exited(); }, std::chrono::seconds(5))) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
    }
};

struct Rect {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const Rect&) const = default;
    int right() const { return x + width; }
};

inline std::ostream& operator<<(std::ostream& out, const Rect& r) {
    return out << r.width << "x" << r.height << "+" << r.x << "+" << r.y;
}

// The X server and its window manager, with the editor started on them.
class Desktop {
public:
    std::vector<std::string> editorCommand;  // the program and its first arguments
    fs::path folder;
    Child server, manager, editor;
    std::vector<std::string> environment;  // the window manager's and the editor's
    std::vector<std::string> extraEnvironment;  // added to it at the start
    std::function<void()> beforeEditor;         // run once the desktop is there
    Display* display = nullptr;
    Window root = 0, main = 0;

    std::string setUp() {
        char pattern[] = "/tmp/quarvel-desktop-XXXXXX";
        if (!mkdtemp(pattern)) return "no temporary folder";
        folder = pattern;
        fs::create_directory(folder / "run");
        fs::permissions(folder / "run", fs::perms::owner_all);
        testsupport::BmpFields sheet;
        sheet.width = 640;
        sheet.height = 480;
        for (int pixel = 0; pixel < 640 * 480; ++pixel) sheet.pixels += std::string("\0\0\xFF", 3);  // red
        std::ofstream(folder / "sheet.bmp", std::ios::binary) << testsupport::buildBmp(sheet);
        // An 8 x 8 map of tiles beyond the sheet: every cell shows its background.
        std::ofstream project(folder / "desk.quarvel", std::ios::binary);
        project << (folder / "sheet.bmp").string() << "\r\nDesk\r\n8\r\n8\r\n";
        for (int i = 0; i < 64; ++i) project << "65535\r\n";
        project.close();

        int ready[2];
        if (pipe(ready) != 0) return "no pipe";
        server = Child::start({"Xvfb", "-displayfd", "3", "-screen", "0", "1920x1080x24", "-nolisten", "tcp"}, {},
                             folder / "xvfb.log", ready[1]);
        close(ready[1]);
        const std::string number = readLine(ready[0]);
        close(ready[0]);
        if (number.empty()) return "Xvfb did not start (is it installed?)";
        const std::string name = ":" + number;
        display = XOpenDisplay(name.c_str());
        if (!display) return "cannot open display " + name;
        // Windows come and go while they are looked at; a vanished one reads as empty.
        XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
        root = DefaultRootWindow(display);
        environment = {"DISPLAY=" + name, "HOME=" + folder.string(),
                                                   "XDG_CONFIG_HOME=" + (folder / "config").string(),
                                                   "XDG_RUNTIME_DIR=" + (folder / "run").string(),
                                                   "QT_QPA_PLATFORM=xcb", "WAYLAND_DISPLAY="};
        environment.insert(environment.end(), extraEnvironment.begin(), extraEnvironment.end());
        // Its focus decisions are logged, for the account of a failure.
        manager = Child::start({"openbox", "--debug", "--debug-focus"}, environment, folder / "openbox.log");
        if (!waitUntil([&] { return windowProperty(root, "_NET_SUPPORTING_WM_CHECK", XA_WINDOW).size() == 1; }))
            return "openbox did not start (is it installed?)";
        if (beforeEditor) beforeEditor();
        startEditor();
        if (!waitUntil([&] { return (main = clientNamed(kMainTitle)) && settings(); }))
            return "the editor's windows did not appear";
        return {};
    }

    // The editor with the project; HOME is the test's folder, and so is its state.
    void startEditor() {
        main = 0;
        std::vector<std::string> command = editorCommand;
        command.push_back((folder / "desk.quarvel").string());
        editor = Child::start(command, environment, folder / "quarvel.log");
    }
    fs::path recoveryFolder() const { return folder / ".local" / "state" / "quarvel-editor" / "recovery"; }

    void tearDown() {
        editor.stop();
        manager.stop();
        if (display) XCloseDisplay(display);
        server.stop();
        std::error_code ignored;
        if (!folder.empty()) fs::remove_all(folder, ignored);
    }

    std::string editorLog() const {
        std::ifstream in(folder / "quarvel.log");
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    // The X server's and the window manager's view, and the manager's last decisions.
    std::string describe() const {
        std::ostringstream out;
        Window focus = 0;
        int revert = 0;
        XGetInputFocus(display, &focus, &revert);
        out << std::hex << "main 0x" << main << ", settings 0x" << settings() << ", active 0x" << active()
            << ", input focus 0x" << focus << "\nstacking, bottom to top:";
        for (unsigned long window : stacking()) out << " 0x" << window;
        out << std::dec << "\n";
        for (unsigned long window : windowProperty(root, "_NET_CLIENT_LIST", XA_WINDOW)) {
            XWindowAttributes attributes{};
            XGetWindowAttributes(display, window, &attributes);
            const auto state = windowProperty(window, "WM_STATE", atom("WM_STATE"));
            out << std::hex << "0x" << window << std::dec << " \"" << windowName(window) << "\": map state "
                << attributes.map_state << ", WM_STATE " << (state.empty() ? -1l : long(state[0])) << ", frame "
                << frame(window) << "\n";
        }
        Window under = 0, child = 0;
        int x = 0, y = 0, wx = 0, wy = 0;
        unsigned mask = 0;
        XQueryPointer(display, root, &under, &child, &x, &y, &wx, &wy, &mask);
        out << "pointer at " << x << "," << y << "\nopenbox's last lines:\n";
        std::ifstream log(folder / "openbox.log");
        std::vector<std::string> lines;
        for (std::string line; std::getline(log, line);) lines.push_back(line);
        for (size_t i = lines.size() > 60 ? lines.size() - 60 : 0; i < lines.size(); ++i) out << lines[i] << "\n";
        return out.str();
    }

    Atom atom(const char* name) const { return XInternAtom(display, name, False); }

    std::vector<unsigned long> windowProperty(Window window, const char* name, Atom type) const {
        Atom actual = 0;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        std::vector<unsigned long> values;
        if (XGetWindowProperty(display, window, atom(name), 0, 1024, False, type, &actual, &format, &count, &after,
                               &data) == Success && data && format == 32)
            values.assign(reinterpret_cast<unsigned long*>(data), reinterpret_cast<unsigned long*>(data) + count);
        if (data) XFree(data);
        return values;
    }

    std::string windowName(Window window) const {
        Atom actual = 0;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        std::string name;
        if (XGetWindowProperty(display, window, atom("_NET_WM_NAME"), 0, 256, False, atom("UTF8_STRING"), &actual,
                               &format, &count, &after, &data) == Success && data)
            name.assign(reinterpret_cast<char*>(data), count);
        if (data) XFree(data);
        return name;
    }

    Window clientNamed(const std::string& name) const {
        for (unsigned long window : windowProperty(root, "_NET_CLIENT_LIST", XA_WINDOW))
            if (windowName(window) == name) return window;
        return 0;
    }
    // Looked up each time: Qt makes a new native window when it shows a closed one.
    Window settings() const { return clientNamed(kSettingsTitle); }

    // Bottom to top, as the window manager stacks its clients.
    std::vector<unsigned long> stacking() const { return windowProperty(root, "_NET_CLIENT_LIST_STACKING", XA_WINDOW); }
    bool above(Window upper, Window lower) const {
        const auto order = stacking();
        const auto u = std::find(order.begin(), order.end(), upper), l = std::find(order.begin(), order.end(), lower);
        return u != order.end() && l != order.end() && u > l;
    }
    Window active() const {
        const auto values = windowProperty(root, "_NET_ACTIVE_WINDOW", XA_WINDOW);
        return values.empty() ? 0 : values[0];
    }
    bool shown(Window window) const {
        XWindowAttributes attributes;
        const auto state = windowProperty(window, "WM_STATE", atom("WM_STATE"));
        return XGetWindowAttributes(display, window, &attributes) && attributes.map_state == IsViewable &&
               !state.empty() && state[0] == NormalState;
    }
    bool iconic(Window window) const {
        const auto state = windowProperty(window, "WM_STATE", atom("WM_STATE"));
        return !state.empty() && state[0] == IconicState;
    }

    Rect client(Window window) const {
        XWindowAttributes attributes;
        Window child = 0;
        Rect r;
        if (!XGetWindowAttributes(display, window, &attributes)) return r;
        XTranslateCoordinates(display, window, root, 0, 0, &r.x, &r.y, &child);
        r.width = attributes.width;
        r.height = attributes.height;
        return r;
    }
    // The client rectangle grown by the frame the window manager reports.
    Rect frame(Window window) const {
        const auto extents = windowProperty(window, "_NET_FRAME_EXTENTS", XA_CARDINAL);
        Rect r = client(window);
        if (extents.size() != 4) return r;
        return {r.x - int(extents[0]), r.y - int(extents[2]), r.width + int(extents[0] + extents[1]),
                r.height + int(extents[2] + extents[3])};
    }

    // Where the window manager's own window holding `window` stands on the screen. At
    // rest it is the frame; while openbox slides a window in from its icon it is a strip
    // on its way there.
    Rect outer(Window window) const {
        Window top = window;
        for (;;) {
            Window rootOfTree = 0, parent = 0, *children = nullptr;
            unsigned count = 0;
            if (!XQueryTree(display, top, &rootOfTree, &parent, &children, &count)) return {};
            if (children) XFree(children);
            if (parent == root || parent == 0) break;
            top = parent;
        }
        Window rootOfTree = 0;
        Rect r;
        unsigned width = 0, height = 0, border = 0, depth = 0;
        if (!XGetGeometry(display, top, &rootOfTree, &r.x, &r.y, &width, &height, &border, &depth)) return {};
        r.width = int(width);
        r.height = int(height);
        return r;
    }

    unsigned long pixel(int x, int y) const {
        XImage* image = XGetImage(display, root, x, y, 1, 1, AllPlanes, ZPixmap);
        if (!image) return ~0ul;
        const unsigned long value = XGetPixel(image, 0, 0) & 0xFFFFFF;
        XDestroyImage(image);
        return value;
    }
    int countPixels(const Rect& area, unsigned long rgb) const {
        XImage* image = XGetImage(display, root, area.x, area.y, area.width, area.height, AllPlanes, ZPixmap);
        if (!image) return -1;
        int count = 0;
        for (int y = 0; y < area.height; ++y)
            for (int x = 0; x < area.width; ++x) count += (XGetPixel(image, x, y) & 0xFFFFFF) == rgb;
        XDestroyImage(image);
        return count;
    }

    void click(int x, int y, unsigned button = 1) const {
        XTestFakeMotionEvent(display, -1, x, y, CurrentTime);
        XTestFakeButtonEvent(display, button, True, CurrentTime);
        XTestFakeButtonEvent(display, button, False, CurrentTime);
        XFlush(display);
    }
    // The screen point of the main window's scrolled content's origin, found from the
    // red sheet's top-left corner, which the design puts at (16, 88): the first red
    // pixel row by row. Nothing while no red shows.
    std::optional<std::pair<int, int>> contentOrigin() const {
        std::optional<std::pair<int, int>> origin;
        const Rect area = client(main);
        waitUntil([&] {
            XImage* image = XGetImage(display, root, area.x, area.y, area.width, area.height, AllPlanes, ZPixmap);
            for (int row = 0; image && row < area.height && !origin; ++row)
                for (int column = 0; column < area.width && !origin; ++column)
                    if ((XGetPixel(image, column, row) & 0xFFFFFF) == kRed)
                        origin = std::make_pair(area.x + column - 16, area.y + row - 88);
            if (image) XDestroyImage(image);
            return origin.has_value();
        });
        return origin;
    }

    // Printable ASCII, with Shift where the keyboard needs it.
    void type(const std::string& text) const {
        const KeyCode shift = XKeysymToKeycode(display, XK_Shift_L);
        for (const char c : text) {
            const KeySym symbol = static_cast<unsigned char>(c);
            const KeyCode code = XKeysymToKeycode(display, symbol);
            int perCode = 0;
            KeySym* symbols = XGetKeyboardMapping(display, code, 1, &perCode);
            const bool shifted = symbols && perCode > 0 && symbols[0] != symbol;
            if (symbols) XFree(symbols);
            if (shifted) XTestFakeKeyEvent(display, shift, True, CurrentTime);
            XTestFakeKeyEvent(display, code, True, CurrentTime);
            XTestFakeKeyEvent(display, code, False, CurrentTime);
            if (shifted) XTestFakeKeyEvent(display, shift, False, CurrentTime);
        }
        XFlush(display);
    }
    // A key with Ctrl held, such as "a" for Ctrl+A.
    void controlKey(const char* name) const {
        const KeyCode control = XKeysymToKeycode(display, XK_Control_L);
        XTestFakeKeyEvent(display, control, True, CurrentTime);
        key(name);
        XTestFakeKeyEvent(display, control, False, CurrentTime);
        XFlush(display);
    }
    void key(const char* name) const {
        const KeyCode code = XKeysymToKeycode(display, XStringToKeysym(name));
        XTestFakeKeyEvent(display, code, True, CurrentTime);
        XTestFakeKeyEvent(display, code, False, CurrentTime);
        XFlush(display);
    }
    // What a task bar or the close box asks of the window manager.
    void sendToManager(Window window, const char* message, long data0, long data1 = 0) const {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = atom(message);
        event.xclient.format = 32;
        event.xclient.data.l[0] = data0;
        event.xclient.data.l[1] = data1;
        XSendEvent(display, root, False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
        XFlush(display);
    }

    // Returns once the editor has read every event the X server gave it before now and
    // done what it does for them at once, such as asking the window manager to activate
    // a clicked window: it answers a ping to `window` only after them.
    bool caughtUp(Window window) {
        const long token = ++pings;
        XSelectInput(display, root, StructureNotifyMask);  // where the answer goes
        XEvent ping{};
        ping.xclient.type = ClientMessage;
        ping.xclient.window = window;
        ping.xclient.message_type = atom("WM_PROTOCOLS");
        ping.xclient.format = 32;
        ping.xclient.data.l[0] = long(atom("_NET_WM_PING"));
        ping.xclient.data.l[1] = token;
        ping.xclient.data.l[2] = long(window);
        XSendEvent(display, window, False, NoEventMask, &ping);
        XFlush(display);
        const bool answered = waitUntil([&] {
            while (XPending(display)) {
                XEvent event;
                XNextEvent(display, &event);
                if (event.type == ClientMessage && event.xclient.message_type == atom("WM_PROTOCOLS") &&
                    event.xclient.data.l[0] == long(atom("_NET_WM_PING")) && event.xclient.data.l[1] == token)
                    return true;
            }
            return false;
        });
        XSelectInput(display, root, NoEventMask);
        XSync(display, True);
        return answered;
    }

private:
    long pings = 0x51000000;  // apart from the window manager's own ping numbers

    static std::string readLine(int fd) {
        std::string line;
        const auto deadline = Clock::now() + kPatience;
        char c = 0;
        while (Clock::now() < deadline) {
            pollfd wait{fd, POLLIN, 0};
            if (poll(&wait, 1, 100) <= 0) continue;
            if (read(fd, &c, 1) != 1) break;
            if (c == '\n') return line;
            line += c;
        }
        return {};
    }
};

}  // namespace desktoptest

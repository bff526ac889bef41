// The real editor on a real X server under a window manager (Xvfb and openbox), looked
// at and clicked from outside, as the window manager and the screen see it: where the
// windows stand and stack, the frame's size, the colours on the screen, the wheel, the
// settings window brought back, and the end of the program with its main window.

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

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// Long enough for a loaded machine; a healthy run takes a few seconds in all.
constexpr auto kPatience = std::chrono::seconds(30);
constexpr unsigned long kRed = 0xFF0000, kWhite = 0xFFFFFF;
const std::string kMainTitle = "クオーベルエディター";
const std::string kSettingsTitle = "設定";

bool waitUntil(const std::function<bool()>& condition, Clock::duration patience = kPatience) {
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

std::ostream& operator<<(std::ostream& out, const Rect& r) {
    return out << r.width << "x" << r.height << "+" << r.x << "+" << r.y;
}

// The X server and its window manager, with the editor started on them.
class Desktop {
public:
    fs::path folder;
    Child server, manager, editor;
    std::vector<std::string> environment;  // the window manager's and the editor's
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
        // Its focus decisions are logged, for the account of a failure.
        manager = Child::start({"openbox", "--debug", "--debug-focus"}, environment, folder / "openbox.log");
        if (!waitUntil([&] { return windowProperty(root, "_NET_SUPPORTING_WM_CHECK", XA_WINDOW).size() == 1; }))
            return "openbox did not start (is it installed?)";
        startEditor();
        if (!waitUntil([&] { return (main = clientNamed(kMainTitle)) && settings(); }))
            return "the editor's windows did not appear";
        return {};
    }

    // The editor with the project; HOME is the test's folder, and so is its state.
    void startEditor() {
        main = 0;
        editor = Child::start({QUARVEL_EXE, (folder / "desk.quarvel").string()}, environment, folder / "quarvel.log");
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

class DesktopTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        desktop = new Desktop;
        failure = desktop->setUp();
    }
    static void TearDownTestSuite() {
        desktop->tearDown();
        delete desktop;
        desktop = nullptr;
    }
    void SetUp() override { ASSERT_TRUE(failure.empty()) << failure; }
    void TearDown() override {
        if (HasFailure()) std::cerr << desktop->describe() << "editor output:\n" << desktop->editorLog() << "\n";
    }

    // Screen point of a point of the main window's scrolled content, found from the
    // red sheet's top-left corner, which the design puts at (16, 88): the first red
    // pixel row by row.
    static std::pair<int, int> content(int x, int y) {
        if (!origin) {
            Desktop& d = *desktop;
            const Rect area = d.client(d.main);
            waitUntil([&] {
                XImage* image = XGetImage(d.display, d.root, area.x, area.y, area.width, area.height, AllPlanes, ZPixmap);
                for (int row = 0; image && row < area.height && !origin; ++row)
                    for (int column = 0; column < area.width && !origin; ++column)
                        if ((XGetPixel(image, column, row) & 0xFFFFFF) == kRed)
                            origin = std::make_pair(area.x + column - 16, area.y + row - 88);
                if (image) XDestroyImage(image);
                return origin.has_value();
            });
        }
        return origin ? std::make_pair(origin->first + x, origin->second + y) : std::make_pair(-1, -1);
    }

    static Desktop* desktop;
    static std::string failure;
    static std::optional<std::pair<int, int>> origin;
};

Desktop* DesktopTest::desktop = nullptr;
std::string DesktopTest::failure;
std::optional<std::pair<int, int>> DesktopTest::origin;

TEST_F(DesktopTest, BothWindowsInSightTheSettingsWindowBesideAndAboveItsOwner) {
    Desktop& d = *desktop;
    const Rect designed{279, 141, 714, 516};
    EXPECT_TRUE(waitUntil([&] { return d.frame(d.main) == designed; })) << d.frame(d.main);
    EXPECT_TRUE(waitUntil([&] { return d.shown(d.main) && d.shown(d.settings()); }));
    const Rect settings = d.frame(d.settings());
    EXPECT_EQ(settings.x, designed.right()) << settings;
    EXPECT_EQ(settings.y, designed.y) << settings;

    Window owner = 0;
    EXPECT_TRUE(XGetTransientForHint(d.display, d.settings(), &owner));
    EXPECT_EQ(owner, d.main);
    EXPECT_TRUE(waitUntil([&] { return d.above(d.settings(), d.main); }));
    EXPECT_EQ(d.active(), d.main);
    // The window manager is asked for no minimise and no maximise function or button.
    const auto hints = d.windowProperty(d.settings(), "_MOTIF_WM_HINTS", d.atom("_MOTIF_WM_HINTS"));
    ASSERT_GE(hints.size(), 3u);
    const unsigned long minimise = 1ul << 3, maximise = 1ul << 4;
    EXPECT_EQ(hints[1] & (1ul | minimise | maximise), 0u) << "functions";
    EXPECT_EQ(hints[2] & (1ul | minimise << 2 | maximise << 2), 0u) << "decorations";

    // A click on the main window makes it active and raises it; its tool window stays
    // above it. (A click on the settings window first, so the change shows when the
    // window manager has taken the click.) As a user would, the second click waits until
    // the editor has read the first: reading a click on a window other than its focus
    // window, Qt asks the window manager to activate that window, and openbox honours
    // the request whenever it comes, so one read after the second click would take the
    // activation back.
    const Rect settingsClient = d.client(d.settings()), mainClient = d.client(d.main);
    d.click(settingsClient.x + 250, settingsClient.y + 200);
    ASSERT_TRUE(waitUntil([&] { return d.active() == d.settings(); }));
    ASSERT_TRUE(d.caughtUp(d.settings())) << "the editor does not answer";
    d.click(mainClient.x + 600, mainClient.y + 60);
    ASSERT_TRUE(waitUntil([&] { return d.active() == d.main; }));
    EXPECT_TRUE(d.above(d.settings(), d.main));
    EXPECT_TRUE(d.shown(d.settings()));
}

TEST_F(DesktopTest, DataCellsAreWhiteHeadersButtonFaceAndLabelsHideTheSheet) {
    Desktop& d = *desktop;
    ASSERT_NE(content(0, 0).first, -1) << "the red sheet is not shown";
    const auto at = [&](int x, int y) { const auto [sx, sy] = content(x, y); return d.pixel(sx, sy); };
    const unsigned long buttonFace = at(450, 40);  // bare window background
    EXPECT_NE(buttonFace, kWhite);
    // The map view at (232, 80) with its 2-pixel sunken border: cells of 16 pixels.
    const auto cell = [&](int col, int row, int dx, int dy) { return at(234 + col * 16 + dx, 82 + row * 16 + dy); };
    EXPECT_EQ(cell(3, 3, 8, 8), kWhite) << "a data cell";
    EXPECT_EQ(cell(10, 3, 8, 8), kWhite) << "beyond the last column";
    EXPECT_EQ(cell(3, 10, 8, 8), kWhite) << "below the last row";
    EXPECT_EQ(cell(3, 0, 14, 14), buttonFace) << "a header cell";
    EXPECT_EQ(cell(0, 3, 14, 14), buttonFace) << "a header cell";

    EXPECT_GT(d.countPixels({content(20, 150).first, content(20, 150).second, 100, 50}, kRed), 4000) << "the sheet";
    const std::pair<const char*, Rect> covers[] = {
        {"画像横サイズ：", {16, 248, 76, 12}}, {"タイル番号を表示する", {16, 344, 129, 17}},
        {"the border check box", {152, 344, 17, 17}}, {"境界線表示", {168, 344, 60, 12}}};
    for (const auto& [name, place] : covers) {
        const auto [x, y] = content(place.x, place.y);
        EXPECT_EQ(d.countPixels({x, y, place.width, place.height}, kRed), 0) << name;
    }
}

TEST_F(DesktopTest, TheWheelOverTheWindowStepsTheFocusedMapView) {
    Desktop& d = *desktop;
    ASSERT_NE(content(0, 0).first, -1) << "the red sheet is not shown";
    // The view holds the focus from the start; the wheel turns over a label. One notch
    // toward the user moves to the second row and stamps tile 1, red, there.
    const auto [x, y] = content(30, 254);
    d.click(x, y, 5);
    const auto [cx, cy] = content(234 + 16 + 8, 82 + 2 * 16 + 8);
    EXPECT_TRUE(waitUntil([&] { return d.pixel(cx, cy) == kRed; }, std::chrono::seconds(5)));
    EXPECT_EQ(d.pixel(cx, cy - 16), kWhite) << "the first row is not stamped";
    // The window's content did not scroll: the sheet's top edge stays where it was.
    EXPECT_EQ(d.pixel(content(20, 88).first, content(20, 88).second), kRed);
    EXPECT_NE(d.pixel(content(20, 86).first, content(20, 86).second), kRed);
}

// The wheel's stamp is unsaved work: it is in the recovery copy within seconds, and an
// editor killed outright offers it back at the next start.
TEST_F(DesktopTest, AKilledEditorOffersTheWorkBackAtTheNextStart) {
    Desktop& d = *desktop;
    const auto copied = [&] {
        std::error_code ignored;
        return fs::exists(d.recoveryFolder(), ignored) && !fs::is_empty(d.recoveryFolder(), ignored);
    };
    ASSERT_TRUE(waitUntil(copied, std::chrono::seconds(5))) << "no recovery copy";
    kill(d.editor.pid, SIGKILL);
    ASSERT_TRUE(waitUntil([&] { return d.editor.exited(); }));
    d.startEditor();
    // The project opens before the main window shows: the question comes first.
    Window box = 0;
    ASSERT_TRUE(waitUntil([&] { return (box = d.clientNamed(kMainTitle)) != 0 && d.active() == box; }))
        << "no offer";
    d.key("Return");  // "はい", the default
    ASSERT_TRUE(waitUntil([&] {
        const Window main = d.clientNamed(kMainTitle);
        return main != 0 && main != box && d.shown(main) && d.settings();
    })) << "the windows did not come back";
    d.main = d.clientNamed(kMainTitle);
    const auto [cx, cy] = content(234 + 16 + 8, 82 + 2 * 16 + 8);
    EXPECT_TRUE(waitUntil([&] { return d.pixel(cx, cy) == kRed; }, std::chrono::seconds(5))) << "the stamp is back";
    EXPECT_EQ(d.pixel(cx, cy - 16), kWhite);
}

TEST_F(DesktopTest, TheSettingsButtonBringsTheWindowBackClosedOrMinimised) {
    Desktop& d = *desktop;
    const auto [bx, by] = content(8 + 60, 400 + 16);  // "設定ダイアログを表示"
    const Rect place = d.frame(d.settings()), mainPlace = d.frame(d.main);
    const auto broughtBack = [&] {
        return waitUntil([&] { return d.shown(d.settings()) && d.active() == d.settings(); }) &&
               d.above(d.settings(), d.main) && d.frame(d.settings()) == place;
    };

    // The close box hides it.
    d.sendToManager(d.settings(), "_NET_CLOSE_WINDOW", CurrentTime, 2);
    ASSERT_TRUE(waitUntil([&] { return !d.shown(d.settings()); }));
    d.click(bx, by);
    EXPECT_TRUE(broughtBack()) << "after closing";

    // Minimised. Window managers that minimise an owner with its tool window (openbox
    // does) leave the main window to be brought back as a task bar does. openbox slides
    // it in from its icon's place: the button is pressed once the window stands in its
    // own place again, as a user would see it there before clicking.
    XIconifyWindow(d.display, d.settings(), DefaultScreen(d.display));
    XFlush(d.display);
    ASSERT_TRUE(waitUntil([&] { return d.iconic(d.settings()); }));
    if (waitUntil([&] { return d.iconic(d.main); }, std::chrono::milliseconds(500))) {
        d.sendToManager(d.main, "_NET_ACTIVE_WINDOW", 2, CurrentTime);
        ASSERT_TRUE(waitUntil([&] { return d.shown(d.main) && d.outer(d.main) == mainPlace; }))
            << d.outer(d.main) << " instead of " << mainPlace;
    }
    d.click(bx, by);
    EXPECT_TRUE(broughtBack()) << "after minimising";
}

// After a failure box from the settings window the keys go on to the field that had
// them, not to the map view of the main window.
TEST_F(DesktopTest, AFailureBoxGivesTheFocusBackToTheFieldThatHadIt) {
    Desktop& d = *desktop;
    const Rect settings = d.client(d.settings());
    d.click(settings.x + 72 + 20, settings.y + 56 + 10);  // "Xタイル数", Edit2
    ASSERT_TRUE(waitUntil([&] { return d.active() == d.settings(); }));
    // The field has the focus once the editor has handled the click.
    ASSERT_TRUE(d.caughtUp(d.settings())) << "the editor does not answer";
    d.key("End");
    d.key("z");
    Window box = 0;
    ASSERT_TRUE(waitUntil([&] {
        box = d.active();
        return box != 0 && box != d.main && box != d.settings();
    })) << "no failure box";
    d.key("Return");
    EXPECT_TRUE(waitUntil([&] { return d.active() == d.settings(); })) << "active 0x" << std::hex << d.active();
    // BackSpace takes the "z" back out of the field; the arrows stay in it too. Had the
    // map view the keys, Right would stamp tile 1, red, beside the current cell.
    d.key("BackSpace");
    d.key("Right");
    d.key("Right");
    ASSERT_TRUE(d.caughtUp(d.settings())) << "the editor does not answer";
    EXPECT_EQ(d.active(), d.settings()) << "another failure box: the keys went elsewhere";
    const auto [cx, cy] = content(234 + 2 * 16 + 8, 82 + 2 * 16 + 8);
    EXPECT_EQ(d.pixel(cx, cy), kWhite) << "the map was stamped";
}

// Ctrl + wheel toward the user zooms out a level a notch: at 8 pixels a cell the
// stamp of the wheel test (map cell 0, 1) is an 8 x 8 red square beside white ones.
TEST_F(DesktopTest, CtrlWheelZoomsTheMapViewOut) {
    Desktop& d = *desktop;
    const auto [vx, vy] = content(234 + 100, 82 + 60);
    const KeyCode control = XKeysymToKeycode(d.display, XK_Control_L);
    XTestFakeMotionEvent(d.display, -1, vx, vy, CurrentTime);
    XTestFakeKeyEvent(d.display, control, True, CurrentTime);
    for (int notch = 0; notch < 2; ++notch) {
        XTestFakeButtonEvent(d.display, 5, True, CurrentTime);
        XTestFakeButtonEvent(d.display, 5, False, CurrentTime);
    }
    XTestFakeKeyEvent(d.display, control, False, CurrentTime);
    XFlush(d.display);
    ASSERT_TRUE(d.caughtUp(d.main)) << "the editor does not answer";
    const auto at = [&](int x, int y) {
        const auto [sx, sy] = content(234 + 16 + x, 82 + 16 + y);
        return d.pixel(sx, sy);
    };
    EXPECT_TRUE(waitUntil([&] { return at(1, 8 + 1) == kRed && at(6, 8 + 6) == kRed; }, std::chrono::seconds(5)))
        << "the stamped cell, 8 pixels a side";
    EXPECT_EQ(at(8 + 4, 8 + 4), kWhite) << "the cell beside it";
    EXPECT_EQ(at(4, 4), kWhite) << "the cell above it";
    EXPECT_EQ(at(4, 16 + 4), kWhite) << "the cell below it";
}

TEST_F(DesktopTest, ClosingTheMainWindowEndsTheProgram) {
    Desktop& d = *desktop;
    d.sendToManager(d.main, "_NET_CLOSE_WINDOW", CurrentTime, 2);
    // The wheel's stamp left the map changed: the prompt asks, and "いいえ" (N) ends.
    // The key goes to the prompt once the window manager has given it the focus.
    Window prompt = 0;
    ASSERT_TRUE(waitUntil([&] {
        return d.editor.exited() || ((prompt = d.clientNamed("注意")) != 0 && d.active() == prompt);
    })) << "neither a prompt nor the end";
    if (prompt) d.key("n");
    EXPECT_TRUE(waitUntil([&] { return d.editor.exited(); })) << "the editor still runs";
    EXPECT_EQ(d.editor.exitStatus.value_or(-1), 0);
}

// Logging out ends the editor by SIGTERM: the copy is written at once, before the
// quiet interval, and the program ends without asking.
TEST_F(DesktopTest, TheEndOfTheSessionWritesTheCopyAtOnce) {
    Desktop& d = *desktop;
    std::error_code ignored;
    d.editor.stop();
    fs::remove_all(d.recoveryFolder(), ignored);
    d.startEditor();
    ASSERT_TRUE(waitUntil([&] { return (d.main = d.clientNamed(kMainTitle)) && d.shown(d.main) && d.settings(); }));
    const auto [x, y] = content(30, 254);
    d.click(x, y, 5);  // a wheel notch: the stamp at the second row, as at the start
    const auto [cx, cy] = content(234 + 16 + 8, 82 + 2 * 16 + 8);
    ASSERT_TRUE(waitUntil([&] { return d.pixel(cx, cy) == kRed; }, std::chrono::seconds(5)));
    kill(d.editor.pid, SIGTERM);
    ASSERT_TRUE(waitUntil([&] { return d.editor.exited(); }, std::chrono::seconds(5))) << "still running";
    EXPECT_EQ(d.editor.exitStatus.value_or(-1), 0);
    std::vector<std::string> lines;
    for (const auto& entry : fs::directory_iterator(d.recoveryFolder(), ignored)) {
        std::ifstream in(entry.path(), std::ios::binary);
        for (std::string line; std::getline(in, line);) lines.push_back(line);
    }
    ASSERT_EQ(lines.size(), 4u + 64) << "one copy of the 8 x 8 map";
    EXPECT_EQ(lines[4 + 8], "1\r") << "map cell (0, 1) holds the stamp";
}

}  // namespace

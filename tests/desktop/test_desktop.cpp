// The real editor on a real X server under a window manager (Xvfb and openbox), looked
// at and clicked from outside, as the window manager and the screen see it: where the
// windows stand and stack, the frame's size, the colours on the screen, the wheel, the
// settings window brought back, and the end of the program with its main window.
#include "tests/desktop/desktop_session.h"

namespace {

using namespace desktoptest;

class DesktopTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        desktop = new Desktop;
        desktop->editorCommand = {QUARVEL_EXE};
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

    // Screen point of a point of the main window's scrolled content (the origin is
    // found once: the window stays where it is).
    static std::pair<int, int> content(int x, int y) {
        if (!origin) origin = desktop->contentOrigin();
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

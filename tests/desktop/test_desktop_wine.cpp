// quarvel.exe from the Windows ZIP, unpacked into a folder of its own and run under
// Wine on Xvfb and openbox: both windows with their captions, a stamp saved over the
// project byte for byte as the Linux editor saves it, an export from the settings
// window as quarvel-export.exe writes it, and the end of the Windows session kept in
// the recovery copy. QUARVEL_WINDOWS_ZIP names the ZIP; WINEPREFIX the Wine prefix.
#include "tests/desktop/desktop_session.h"

namespace {

using namespace desktoptest;

const char* wine() { return fs::exists("/usr/lib/wine/wine64") ? "/usr/lib/wine/wine64" : "wine"; }

// Runs a command to its end; its exit status.
int run(const std::vector<std::string>& argv, const std::vector<std::string>& environment, const fs::path& log) {
    Child child = Child::start(argv, environment, log);
    waitUntil([&] { return child.exited(); }, std::chrono::seconds(120));
    return child.exitStatus.value_or(-1);
}

std::string contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class WineDesktopTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        const char* zip = std::getenv("QUARVEL_WINDOWS_ZIP");
        if (!zip || !std::getenv("WINEPREFIX")) {
            failure = "QUARVEL_WINDOWS_ZIP and WINEPREFIX must name the ZIP and a Wine prefix";
            return;
        }
        desktop = new Desktop;
        desktop->extraEnvironment = {"WINEDEBUG=-all"};
        failure = unpack(zip);
        if (!failure.empty()) return;
        desktop->editorCommand = {wine(), (program / "quarvel.exe").string()};
        desktop->beforeEditor = [] {
            // Wine's session on this display, its desktop and work area included, before
            // the editor asks where the work area is.
            Desktop& d = *desktop;
            run({"wineserver", "-k"}, d.environment, d.folder / "wineserver.log");
            run({wine(), "cmd", "/c", "exit"}, d.environment, d.folder / "session.log");
        };
        failure = desktop->setUp();
    }
    static void TearDownTestSuite() {
        if (desktop) desktop->tearDown();
        delete desktop;
        desktop = nullptr;
        std::error_code ignored;
        if (!unpacked.empty()) fs::remove_all(unpacked, ignored);
    }
    void SetUp() override { ASSERT_TRUE(failure.empty()) << failure; }
    void TearDown() override {
        if (HasFailure()) std::cerr << desktop->describe() << "editor output:\n" << desktop->editorLog() << "\n";
    }

    // Anywhere will do: a fresh folder, the ZIP's one folder inside it.
    static std::string unpack(const char* zip) {
        char pattern[] = "/tmp/quarvel-unpacked-XXXXXX";
        if (!mkdtemp(pattern)) return "no folder to unpack into";
        unpacked = pattern;
        if (run({"unzip", "-q", zip, "-d", unpacked.string()}, {}, unpacked / "unzip.log") != 0) return "unzip failed";
        for (const auto& entry : fs::directory_iterator(unpacked))
            if (fs::exists(entry.path() / "quarvel.exe")) program = entry.path();
        return program.empty() ? "the ZIP holds no quarvel.exe" : "";
    }

    // The screen point of a point of the map view's content; found anew each time,
    // since an editor started again may stand elsewhere.
    static std::pair<int, int> content(int x, int y) {
        const auto origin = desktop->contentOrigin();
        return origin ? std::make_pair(origin->first + x, origin->second + y) : std::make_pair(-1, -1);
    }

    // A stamp with the first tile at map cell (1, 2), then "プロジェクトを上書き保存",
    // the fourth entry of the main window's menu, until the project file changes.
    static bool stampAndSave() {
        Desktop& d = *desktop;
        const fs::path project = d.folder / "desk.quarvel";
        const std::string before = contents(project);
        const auto [cx, cy] = content(234 + 16 + 8, 82 + 2 * 16 + 8);
        if (cx < 0) return false;
        d.click(cx, cy);
        if (!waitUntil([&] { return d.pixel(cx, cy) == kRed; }, std::chrono::seconds(10))) return false;
        const Rect menu = d.client(d.main);
        d.click(menu.x + 20, menu.y + 9);
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        for (int entry = 0; entry < 4; ++entry) d.key("Down");
        d.key("Return");
        return waitUntil([&] { return contents(project) != before; }, std::chrono::seconds(10));
    }

    // The project as a fresh start finds it: the 8 x 8 map of tiles beyond the sheet.
    static void restoreProject() {
        std::ofstream project(desktop->folder / "desk.quarvel", std::ios::binary);
        project << (desktop->folder / "sheet.bmp").string() << "\r\nDesk\r\n8\r\n8\r\n";
        for (int i = 0; i < 64; ++i) project << "65535\r\n";
    }

    // Ends the running editor and starts `command` on the same project.
    static bool restartWith(const std::vector<std::string>& command) {
        Desktop& d = *desktop;
        d.editor.stop();
        restoreProject();
        d.editorCommand = command;
        d.startEditor();
        return waitUntil([&] { return (d.main = d.clientNamed(kMainTitle)) && d.settings(); });
    }

    static Desktop* desktop;
    static std::string failure;
    static fs::path unpacked, program;
};

Desktop* WineDesktopTest::desktop = nullptr;
std::string WineDesktopTest::failure;
fs::path WineDesktopTest::unpacked, WineDesktopTest::program;

TEST_F(WineDesktopTest, BothWindowsAppearWithTheirCaptions) {
    Desktop& d = *desktop;
    EXPECT_EQ(d.windowName(d.main), kMainTitle);
    EXPECT_EQ(d.windowName(d.settings()), kSettingsTitle);
    EXPECT_TRUE(d.shown(d.main));
    EXPECT_TRUE(d.shown(d.settings()));
    EXPECT_NE(content(0, 0).first, -1) << "the red sheet is not shown";
}

TEST_F(WineDesktopTest, AStampSavedOverTheProjectIsTheLinuxEditorsFile) {
    Desktop& d = *desktop;
    ASSERT_TRUE(stampAndSave()) << "the Windows editor did not save";
    const std::string windows = contents(d.folder / "desk.quarvel");
    const std::vector<std::string> windowsCommand = d.editorCommand;
    ASSERT_TRUE(restartWith({QUARVEL_EXE})) << "the Linux editor did not start";
    ASSERT_TRUE(stampAndSave()) << "the Linux editor did not save";
    EXPECT_EQ(windows, contents(d.folder / "desk.quarvel"));
    EXPECT_NE(windows.find("\r\n1\r\n"), std::string::npos) << "no stamped cell";
    ASSERT_TRUE(restartWith(windowsCommand));
}

// "マップデータ出力" at (48, 184, 105, 33) of the settings window's client area; the
// save dialog starts in its file name field.
TEST_F(WineDesktopTest, AnExportFromTheSettingsWindowIsQuarvelExportsFile) {
    Desktop& d = *desktop;
    // Wine draws the window's caption and border inside its X window: the settings
    // window's 326 x 236 client area sits at the bottom, the border's width in.
    const Rect outer = d.client(d.settings());
    const int border = (outer.width - 326) / 2;
    const Rect settings{outer.x + border, outer.y + outer.height - border - 236, 326, 236};
    // A click on a window that is not active may only activate it: clicked until the
    // dialog shows.
    Window dialog = 0;
    for (int attempt = 0; attempt < 3 && !dialog; ++attempt) {
        d.click(settings.x + 48 + 52, settings.y + 184 + 16);
        waitUntil([&] { return (dialog = d.clientNamed("出力ファイル")) != 0; }, std::chrono::seconds(3));
    }
    ASSERT_NE(dialog, 0u) << "no save dialog";
    ASSERT_TRUE(waitUntil([&] { return d.active() == dialog; }));
    const fs::path exported = d.folder / "from-editor.h";
    d.controlKey("a");
    d.type("Z:" + exported.string());
    d.key("Return");
    ASSERT_TRUE(waitUntil([&] { return fs::exists(exported) && fs::file_size(exported) > 0; }, std::chrono::seconds(10)))
        << "the editor wrote no export";
    const fs::path reference = d.folder / "from-tool.h";
    ASSERT_EQ(run({wine(), (program / "quarvel-export.exe").string(), "-o", reference.string(),
                   (d.folder / "desk.quarvel").string()},
                  d.environment, d.folder / "export.log"),
              0);
    EXPECT_EQ(contents(exported), contents(reference));
}

// Wine's own end of the session sends WM_QUERYENDSESSION and WM_ENDSESSION to every
// window: the editor keeps the stamp in its recovery copy and ends without asking.
TEST_F(WineDesktopTest, TheEndOfTheWindowsSessionKeepsTheWorkInTheRecoveryCopy) {
    Desktop& d = *desktop;
    const auto [cx, cy] = content(234 + 16 + 8, 82 + 4 * 16 + 8);
    d.click(cx, cy);
    ASSERT_TRUE(waitUntil([&] { return d.pixel(cx, cy) == kRed; }, std::chrono::seconds(10)));
    const fs::path local = fs::path(std::getenv("WINEPREFIX")) / "drive_c" / "users";
    const auto copies = [&] {
        std::vector<fs::path> found;
        std::error_code ignored;
        for (fs::recursive_directory_iterator it(local, ignored), end; it != end; it.increment(ignored))
            if (it->path().parent_path().filename() == "recovery" && it->path().filename().string().rfind("desk.quarvel-", 0) == 0)
                found.push_back(it->path());
        return found;
    };
    for (const fs::path& stale : copies()) fs::remove(stale);
    run({wine(), "wineboot", "--end-session"}, d.environment, d.folder / "wineboot.log");
    // Wine, as Windows, ends what is left of the program after WM_ENDSESSION.
    ASSERT_TRUE(waitUntil([&] { return d.editor.exited(); }, std::chrono::seconds(20))) << "the editor did not end";
    const auto found = copies();
    ASSERT_EQ(found.size(), 1u) << "no recovery copy in %LOCALAPPDATA%\\quarvel-editor\\recovery";
    const std::string copy = contents(found.front());
    EXPECT_NE(copy.find("\r\n1\r\n"), std::string::npos) << "the stamp is not in the copy";
    fs::remove(found.front());
}

}  // namespace

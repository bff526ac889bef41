// quarvel-export as a build pipeline sees it: exit status, standard output,
// standard error and the files it leaves.
#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "support/cp932.h"
#include "support/data_cases.h"
#include "support/posix_files.h"
#include "support/temp_folder.h"
#include "tools/export_command.h"

namespace {

namespace fs = std::filesystem;
using testsupport::readAll;
using toolstest::ExportCommand;
using toolstest::Launch;
using toolstest::Outcome;

// The editor, started with an environment that holds no display.
class EditorCommand : public ExportCommand {
protected:
    EditorCommand() { program_ = QUARVEL_EXE; }
};

std::string dataProject(const std::string& exportCase) {
    return std::string(QUARVEL_SOURCE_DIR) + "/tests/data/export/" + exportCase + "/project.quarvel";
}

// A failure as quarvel-export shows it: the program, the file it concerns, the message.
std::string shownText(const std::string& file, const std::string& utf8Message) {
    return "quarvel-export: " + file + ": " + utf8Message + "\n";
}

TEST_F(ExportCommand, HelpAndVersionGoToStandardOutputWithSuccess) {
    for (const char* option : {"--help", "-h"}) {
        const Outcome outcome = run({option});
        EXPECT_EQ(outcome.exitCode, 0) << option;
        EXPECT_EQ(outcome.out.rfind("usage: quarvel-export [--format FORMAT]", 0), 0u) << outcome.out;
        EXPECT_EQ(outcome.err, "");
    }
    const Outcome version = run({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, "quarvel-export (Quarvel Editor) " QUARVEL_PROJECT_VERSION "\n");
    EXPECT_EQ(version.err, "");
    EXPECT_EQ(run({"--version"}, "C.UTF-8", "/dev/full").exitCode, 1);
}

// Answered before any window exists, so they work without a display.
// Whether the process catches `signal` by now (its handlers are in place).
bool catches(pid_t pid, int signal) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("SigCgt:", 0) == 0) return (std::stoull(line.substr(7), nullptr, 16) >> (signal - 1)) & 1;
    return false;
}

// A closed terminal, Ctrl+C or logging out ends the editor as "終了" does, with no
// prompt left waiting; nothing unsaved, so no copy.
TEST_F(EditorCommand, SessionEndSignalsEndTheEditor) {
    for (const int signal : {SIGINT, SIGHUP, SIGTERM}) {
        toolstest::Launch launch;
        launch.environment = {"QT_QPA_PLATFORM=offscreen", "HOME=" + folder.path()};
        launch.secondsAllowed = 20;
        const pid_t editor = start({}, launch);
        for (int waited = 0; waited < 2000 && !catches(editor, signal); ++waited) ::usleep(10000);
        ASSERT_TRUE(catches(editor, signal)) << "signal " << signal;
        ::kill(editor, signal);
        const Outcome outcome = finish(editor, launch);
        EXPECT_FALSE(outcome.timedOut) << "signal " << signal;
        EXPECT_EQ(outcome.exitCode, 0) << "signal " << signal << ": " << outcome.err;
        EXPECT_FALSE(fs::exists(folder.file(".local/state/quarvel-editor/recovery/untitled.quarvel")));
    }
}

TEST_F(EditorCommand, HelpAndVersionNeedNoDisplay) {
    const Outcome help = run({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.out.rfind("usage: quarvel [PROJECT.quarvel]\n", 0), 0u) << help.out;
    EXPECT_EQ(help.err, "");
    const Outcome version = run({"--version", "ignored.quarvel"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, "quarvel (Quarvel Editor) " QUARVEL_PROJECT_VERSION "\n");
    EXPECT_EQ(version.err, "");
    EXPECT_EQ(run({"--help"}, "C.UTF-8", "/dev/full").exitCode, 1);
}

TEST_F(ExportCommand, UsageErrorsExitTwoWithUsageOnStandardError) {
    const std::string project = dataProject("level-1");
    const std::string output = folder.file("never.h");
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"--bogus", project}, "unknown option '--bogus'"},
        {{"--format", "pascal", project}, "unknown format 'pascal'"},
        {{"--format", "C", project}, "unknown format 'C'"},
        {{project, "--label"}, "--label needs a value"},
        {{"-o", output}, "missing PROJECT"},
        {{}, "missing PROJECT"},
        {{project, project}, "unexpected argument"},
        {{"--format", "gas", "--format", "c", project}, "more than once"},
    };
    for (const auto& [arguments, problem] : cases) {
        const Outcome outcome = run(arguments);
        EXPECT_EQ(outcome.exitCode, 2) << problem;
        EXPECT_EQ(outcome.out, "") << problem;
        EXPECT_NE(outcome.err.find(problem), std::string::npos) << outcome.err;
        EXPECT_NE(outcome.err.find("usage: quarvel-export"), std::string::npos) << problem;
    }
    EXPECT_FALSE(fs::exists(output));
}

TEST_F(ExportCommand, MissingProjectFailsWithItsMessageAndKeepsTheOutputFile) {
    const std::string output = folder.write("out.h", "earlier\r\n");
    const Outcome outcome = run({"-o", output, folder.file("absent.quarvel")});
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_EQ(outcome.err, shownText(folder.file("absent.quarvel"), "ファイルが見つかりません."));
    EXPECT_EQ(readAll(output), "earlier\r\n");
    // Without --format the C array is written.
    const std::string worked = std::string(QUARVEL_SOURCE_DIR) + "/tests/data/export/worked-example/";
    EXPECT_EQ(run({worked + "project.quarvel"}).out, readAll(worked + "expected.c"));
}

// Every export case in every format it has, to standard output and with -o; every
// project that cannot be opened, with the reader's message and the output file kept.
class ExportCase : public ExportCommand, public ::testing::WithParamInterface<fs::path> {};

TEST_P(ExportCase, WritesTheExpectedBytesOrFailsWithTheExpectedText) {
    const fs::path& data = GetParam();
    const std::string project = (data / "project.quarvel").string();
    if (fs::exists(data / "expected-failure.txt")) {
        const std::string output = folder.write("out.h", "earlier\r\n");
        const Outcome outcome = run({"-o", output, project});
        EXPECT_EQ(outcome.exitCode, 1);
        std::string message = readAll(data / "expected-failure.txt");
        message.pop_back();  // the file's own line end
        EXPECT_EQ(outcome.err, shownText(project, message));
        EXPECT_EQ(outcome.out, "");
        EXPECT_EQ(readAll(output), "earlier\r\n");
        return;
    }
    for (const auto& [name, format] : testsupport::exportFormats()) {
        const fs::path expectedFile = data / ("expected." + name);
        if (!fs::exists(expectedFile)) continue;
        const std::string expected = readAll(expectedFile);
        const Outcome toStdout = run({"--format", name, project});
        EXPECT_EQ(toStdout.exitCode, 0) << name;
        EXPECT_EQ(toStdout.err, "") << name;
        EXPECT_EQ(toStdout.out, expected) << name;

        const Outcome toFile = run({"--format=" + name, "-o", folder.file("tool.h"), project});
        EXPECT_EQ(toFile.exitCode, 0) << name;
        EXPECT_EQ(toFile.err, "") << name;
        EXPECT_EQ(toFile.out, "") << name;
        EXPECT_EQ(readAll(folder.file("tool.h")), expected) << name;
    }
}

std::vector<fs::path> exportAndFailureCases() {
    std::vector<fs::path> cases = testsupport::dataCases("export");
    for (auto& projectCase : testsupport::dataCases("project"))
        if (fs::exists(projectCase / "expected-failure.txt")) cases.push_back(std::move(projectCase));
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Data, ExportCase, ::testing::ValuesIn(exportAndFailureCases()),
                         [](const auto& info) { return testsupport::caseName(info.param); });

TEST_F(ExportCommand, LabelFromTheTerminalIsWrittenAsCodePage932) {
    const std::string project = folder.write("p.quarvel", "tiles.bmp\r\nown\r\n1\r\n1\r\n5\r\n");
    const Outcome japanese = run({"--format", "dragonbasic", "--label", "地図 その1", project}, "C.UTF-8");
    ASSERT_EQ(japanese.exitCode, 0) << japanese.err;
    EXPECT_EQ(japanese.out, testsupport::cp932("地図 その1") + ":\r\n\r\n\tdata 5\r\n\r\n");

    const Outcome empty = run({"--format", "dragonbasic", "--label=", project});
    ASSERT_EQ(empty.exitCode, 0) << empty.err;
    EXPECT_EQ(empty.out, ":\r\n\r\n\tdata 5\r\n\r\n");
}

// The plain C locale names ASCII, but the terminal almost always takes UTF-8.
TEST_F(ExportCommand, LabelUnderThePlainCLocaleIsTakenAsUtf8) {
    const std::string project = folder.write("p.quarvel", "tiles.bmp\r\nown\r\n1\r\n1\r\n5\r\n");
    const Outcome japanese = run({"--format", "dragonbasic", "--label", "地図", project}, "C");
    ASSERT_EQ(japanese.exitCode, 0) << japanese.err;
    EXPECT_EQ(japanese.out, testsupport::cp932("地図") + ":\r\n\r\n\tdata 5\r\n\r\n");
}

TEST_F(ExportCommand, LabelThatTheTerminalEncodingCannotHoldIsAUsageError) {
    const std::string project = folder.write("p.quarvel", "tiles.bmp\r\nown\r\n1\r\n1\r\n5\r\n");
    // No UTF-8 either: guessing would write the wrong label.
    const Outcome notUtf8 = run({"--label", "\xff\xfe", "-o", folder.file("out.h"), project}, "C");
    EXPECT_EQ(notUtf8.exitCode, 2);
    EXPECT_NE(notUtf8.err.find("--label"), std::string::npos) << notUtf8.err;
    EXPECT_FALSE(fs::exists(folder.file("out.h")));
    // A character that code page 932 has no form for.
    const Outcome emoji = run({"--label", "map\xF0\x9F\x98\x80", project}, "C.UTF-8");
    EXPECT_EQ(emoji.exitCode, 2);
    EXPECT_EQ(emoji.out, "");
}

TEST_F(ExportCommand, MessagesUnderThePlainCLocaleStayReadable) {
    const Outcome outcome = run({folder.file("absent.quarvel")}, "C");
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_EQ(outcome.err, shownText(folder.file("absent.quarvel"), "ファイルが見つかりません."));
}

TEST_F(ExportCommand, OutputThatCannotBeWrittenIsAFailure) {
    const std::string project = dataProject("level-1");
    const Outcome missingFolder = run({"-o", folder.file("no/such/folder.h"), project});
    EXPECT_EQ(missingFolder.exitCode, 1);
    EXPECT_EQ(missingFolder.err, shownText(folder.file("no/such/folder.h"), "不正なファイル名です."));

    // A full device as standard output must not be reported as success.
    const Outcome fullDevice = run({project}, "C.UTF-8", "/dev/full");
    EXPECT_EQ(fullDevice.exitCode, 1);
    EXPECT_EQ(fullDevice.err, shownText("standard output", "I/O エラー (112)"));

    // A file-size limit is a failure of the write, not the end of the program.
    Launch limited;
    limited.fileSizeLimit = 1024;  // below the export's 2412 bytes, above the message's
    const std::string output = folder.write("out.h", "earlier\r\n");
    const Outcome tooLarge = run({"-o", output, dataProject("start-up-map")}, limited);
    EXPECT_EQ(tooLarge.signal, 0);
    EXPECT_EQ(tooLarge.exitCode, 1);
    EXPECT_EQ(tooLarge.err, shownText(output, "I/O エラー (112)"));
    EXPECT_EQ(readAll(output), "earlier\r\n");
    EXPECT_EQ(folder.entryCount(), 3u);  // out.h, stdout, stderr
}

// Paths are the file system's own bytes: none of them need fit code page 932. They
// may be relative, with "." and "..".
TEST_F(ExportCommand, ProjectAndOutputPathsMayHoldAnyCharacter) {
    const std::string cafe = folder.file("café 地図");
    fs::create_directory(cafe);
    fs::copy_file(dataProject("level-1"), cafe + "/map😀.quarvel");
    Launch launch;
    launch.locale = "C";
    launch.workingFolder = cafe;
    const Outcome outcome = run({"-o", "./../café 地図/é.h", "map😀.quarvel"}, launch);
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
    EXPECT_EQ(readAll(cafe + "/é.h"), readAll(fs::path(dataProject("level-1")).parent_path() / "expected.c"));
}

// Output named by a descriptor, standard output among them, is written in place.
TEST_F(ExportCommand, StandardOutputByNameIntoAPipe) {
    const std::string worked = std::string(QUARVEL_SOURCE_DIR) + "/tests/data/export/worked-example/";
    for (const char* output : {"/dev/stdout", "-", "/proc/self/fd/1"}) {
        int ends[2];
        ASSERT_EQ(::pipe(ends), 0);
        Launch launch;
        launch.standardOutputFd = ends[1];
        const pid_t child = start({"-o", output, worked + "project.quarvel"}, launch);
        ::close(ends[1]);
        std::string piped;
        char block[4096];
        for (ssize_t got; (got = ::read(ends[0], block, sizeof block)) > 0;) piped.append(block, static_cast<std::size_t>(got));
        ::close(ends[0]);
        const Outcome outcome = finish(child, launch);
        EXPECT_EQ(outcome.exitCode, 0) << output << ": " << outcome.err;
        EXPECT_EQ(piped, readAll(worked + "expected.c")) << output;
    }
}

// A pipe or a device as the project would block, spin or grow without end.
TEST_F(ExportCommand, AProjectThatIsNoRegularFileIsRefusedAtOnce) {
    const std::string fifo = folder.file("fifo.quarvel");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    Launch launch;
    launch.secondsAllowed = 10;
    launch.memoryLimit = rlim_t{512} << 20;
    for (const std::string& project : {fifo, std::string("/dev/zero")}) {
        const Outcome outcome = run({project}, launch);
        EXPECT_FALSE(outcome.timedOut) << project;
        EXPECT_EQ(outcome.exitCode, 1) << project;
        EXPECT_EQ(outcome.err, shownText(project, "ファイルへのアクセスが拒否されました.")) << project;
    }
}

// A hostile width line, 200 MB of zero bytes after an escape sequence (a sparse
// file), read under a memory limit: the message quotes a short, escaped part of it.
TEST_F(ExportCommand, AHugeHostileTextIsShownShortAndEscaped) {
    const std::string project = folder.write("hostile.quarvel", "a.bmp\nlabel\n\x1b]0;owned\x07\x1b[2J");
    ASSERT_EQ(::truncate(project.c_str(), off_t{200} << 20), 0);
    Launch launch;
    launch.memoryLimit = rlim_t{192} << 20;
    launch.secondsAllowed = 20;
    const Outcome outcome = run({project}, launch);
    EXPECT_EQ(outcome.exitCode, 1);
    const std::string start = "quarvel-export: " + project + ": '\\x1b]0;owned\\x07\\x1b[2J\\x00\\x00";
    EXPECT_EQ(outcome.err.substr(0, start.size()), start);
    const std::string end = "…' は整数ではありません.\n";
    ASSERT_GT(outcome.err.size(), end.size());
    EXPECT_EQ(outcome.err.substr(outcome.err.size() - end.size()), end);
    EXPECT_LT(outcome.err.size(), 2000u);
    EXPECT_TRUE(std::none_of(outcome.err.begin(), outcome.err.end() - 1,
                             [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7f; }))
        << outcome.err;
}

// ---- What a signal leaves ----

// A 2048 x 2048 project: its GAS export takes long enough to be caught in the middle.
std::string largeProject(const testsupport::TempFolder& folder) {
    if (fs::exists(folder.file("large.quarvel"))) return folder.file("large.quarvel");
    std::string text = "a.bmp\r\nbig\r\n2048\r\n2048\r\n";
    text.reserve(text.size() + 2048u * 2048u * 7u);
    for (unsigned i = 0; i < 2048u * 2048u; ++i) text += std::to_string(i * 7919u % 65536u) + "\r\n";
    return folder.write("large.quarvel", text);
}

// Whether the program has begun to write a file in `folder`: its temporary one, named
// or not.
bool writesInto(pid_t program, const std::string& folder) {
    const std::string fds = "/proc/" + std::to_string(program) + "/fd";
    DIR* listing = ::opendir(fds.c_str());
    if (!listing) return false;
    bool found = false;
    while (const dirent* entry = ::readdir(listing)) {
        char target[4096];
        struct stat info {};
        const ssize_t length = ::readlinkat(::dirfd(listing), entry->d_name, target, sizeof target);
        if (length > 0 && std::string(target, static_cast<std::size_t>(length)).rfind(folder + "/", 0) == 0 &&
            ::fstatat(::dirfd(listing), entry->d_name, &info, 0) == 0 && info.st_size > 0)
            found = true;
    }
    ::closedir(listing);
    return found;
}

std::set<std::string> entriesOf(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
    return names;
}

class ExportSignal : public ExportCommand {
protected:
    // Starts an export into out/map.s, sends `signal` in the middle of its writing, and
    // checks that the program ended by it and left only the earlier map.s behind.
    void expectNothingLeftBy(int signal, const std::vector<std::string>& environment) {
        const std::string project = largeProject(folder);
        const std::string out = folder.file("out");
        fs::remove_all(out);
        fs::create_directory(out);
        const std::string target = folder.write("out/map.s", "earlier\r\n");
        Launch launch;
        launch.environment = environment;
        launch.environment.push_back(std::string("LD_PRELOAD=") + QUARVEL_FS_PROBE);
        const pid_t child = start({"--format", "gas", "-o", target, project}, launch);
        bool caught = false;
        for (int tries = 0; tries < 20000 && !caught; ++tries) {
            caught = writesInto(child, out);
            if (!caught) ::usleep(500);
        }
        ASSERT_TRUE(caught) << "the export was not caught writing";
        ::kill(child, signal);
        const Outcome outcome = finish(child, launch);
        EXPECT_EQ(outcome.signal, signal) << outcome.err;
        EXPECT_EQ(entriesOf(out), std::set<std::string>{"map.s"});
        EXPECT_EQ(readAll(target), "earlier\r\n");
    }
};

TEST_F(ExportSignal, AnUnnamedTemporaryFileVanishesWithTheProgram) {
    if (!testsupport::unnamedTemporaryFilesWork(folder.path())) GTEST_SKIP() << "no unnamed temporary files here";
    for (int signal : {SIGINT, SIGTERM, SIGKILL}) expectNothingLeftBy(signal, {});
}

TEST_F(ExportSignal, ANamedTemporaryFileIsRemovedOnInterruptAndTermination) {
    for (int signal : {SIGINT, SIGTERM}) expectNothingLeftBy(signal, {"QUARVEL_PROBE_NO_TMPFILE=1"});
}

// A saved file survives a power loss only once its folder's entry is on disk too.
TEST_F(ExportCommand, TheFolderIsSyncedAfterTheRename) {
    const std::string log = folder.file("probe.log");
    const std::string out = folder.file("out");
    fs::create_directory(out);
    for (const char* mode : {"QUARVEL_PROBE_NO_TMPFILE=1", "QUARVEL_PROBE_UNUSED=1"}) {
        fs::remove(log);
        Launch launch;
        launch.environment = {std::string("LD_PRELOAD=") + QUARVEL_FS_PROBE, "QUARVEL_PROBE_LOG=" + log, mode};
        const Outcome outcome = run({"-o", out + "/map.h", dataProject("level-1")}, launch);
        ASSERT_EQ(outcome.exitCode, 0) << outcome.err;
        EXPECT_EQ(readAll(log), "sync-file\nrename " + out + "/map.h\nsync-folder " + out + "\n") << mode;
    }
}

}  // namespace

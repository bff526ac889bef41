// quarvel-export as a build pipeline sees it: exit status, standard output,
// standard error and the files it leaves.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/editor_state.h"
#include "core/export_formats.h"
#include "support/cp932.h"

namespace {

namespace fs = std::filesystem;

struct Outcome {
    int exitCode = -1;
    std::string out;
    std::string err;
};

std::string readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBytes(const fs::path& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

class ExportCommand : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("quarvel_export_tool_" + std::to_string(::getpid()) + "_" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    fs::path at(const std::string& name) const { return folder_ / name; }

    // Runs the program with only LC_ALL set, so the caller's locale cannot leak in.
    Outcome run(const std::vector<std::string>& arguments, const std::string& locale = "C.UTF-8",
                const std::string& standardOutput = "") const {
        const std::string outPath = standardOutput.empty() ? at("stdout").string() : standardOutput;
        const std::string errPath = at("stderr").string();
        std::vector<std::string> argvStorage{program_};
        argvStorage.insert(argvStorage.end(), arguments.begin(), arguments.end());
        std::vector<char*> argv;
        for (auto& argument : argvStorage) argv.push_back(argument.data());
        argv.push_back(nullptr);
        std::string localeSetting = "LC_ALL=" + locale;
        char* environment[] = {localeSetting.data(), nullptr};

        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        pid_t child = 0;
        const int spawned = ::posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environment);
        posix_spawn_file_actions_destroy(&actions);
        Outcome outcome;
        if (spawned != 0) return outcome;
        int status = 0;
        ::waitpid(child, &status, 0);
        outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        if (standardOutput.empty()) outcome.out = readBytes(outPath);
        outcome.err = readBytes(errPath);
        return outcome;
    }

    fs::path folder_;
    std::string program_ = QUARVEL_EXPORT_EXE;
};

// The editor, started with an environment that holds no display.
class EditorCommand : public ExportCommand {
protected:
    EditorCommand() { program_ = QUARVEL_EXE; }
};

// A project file as the editor writes it.
std::string projectBytes(const std::string& label, const std::string& width, const std::string& height,
                         const std::vector<std::string>& cells) {
    std::string bytes = "tiles.bmp\r\n" + label + "\r\n" + width + "\r\n" + height + "\r\n";
    for (const auto& cell : cells) bytes += cell + "\r\n";
    return bytes;
}

core::EditorState sampleState() {
    core::EditorState state;
    state.MapName = "level_1";
    state.MapWidth = 11;
    state.MapHeight = 3;
    state.Map.assign(3, core::MapRow(11));
    for (std::size_t r = 0; r < 3; ++r)
        for (std::size_t c = 0; c < 11; ++c) state.Map[r][c] = static_cast<core::Cell>(r * 20000 + c * 997);
    return state;
}

std::string projectOf(const core::EditorState& state) {
    std::vector<std::string> cells;
    for (const auto& row : state.Map)
        for (const auto value : row) cells.push_back(std::to_string(value));
    return projectBytes(state.MapName, std::to_string(state.MapWidth), std::to_string(state.MapHeight), cells);
}

std::string shownText(const char* utf8Message) { return std::string(utf8Message) + "\n"; }

TEST_F(ExportCommand, HelpAndVersionGoToStandardOutputWithSuccess) {
    for (const char* option : {"--help", "-h"}) {
        const Outcome outcome = run({option});
        EXPECT_EQ(outcome.exitCode, 0) << option;
        EXPECT_EQ(outcome.out.rfind("usage: quarvel-export [--format c|gas|dragonbasic]", 0), 0u) << outcome.out;
        EXPECT_EQ(outcome.err, "");
    }
    const Outcome version = run({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, "quarvel-export (Quarvel Editor) " QUARVEL_PROJECT_VERSION "\n");
    EXPECT_EQ(version.err, "");
    EXPECT_EQ(run({"--version"}, "C.UTF-8", "/dev/full").exitCode, 1);
}

// Answered before any window exists, so they work without a display.
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
    writeBytes(at("p.quarvel"), projectOf(sampleState()));
    const std::string project = at("p.quarvel").string();
    const std::string output = at("never.h").string();
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
    writeBytes(at("out.h"), "earlier\r\n");
    const Outcome outcome = run({"-o", at("out.h").string(), at("absent.quarvel").string()});
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_EQ(outcome.err, shownText("ファイルが見つかりません."));
    EXPECT_EQ(readBytes(at("out.h")), "earlier\r\n");
}

TEST_F(ExportCommand, MalformedProjectsFailWithTheReadersMessage) {
    writeBytes(at("out.h"), "earlier\r\n");
    const std::vector<std::pair<std::string, std::string>> cases = {
        {projectBytes("m", "zz", "2", {}), shownText("'zz' は整数ではありません.")},
        {projectBytes("m", "2", "2", {"1", "7,8"}), shownText("入力値が数値ではありません.")},
        {projectBytes("m", "2", "-1", {}), shownText("範囲チェックエラー.")},
    };
    for (const auto& [project, message] : cases) {
        writeBytes(at("bad.quarvel"), project);
        const Outcome outcome = run({"-o", at("out.h").string(), at("bad.quarvel").string()});
        EXPECT_EQ(outcome.exitCode, 1) << message;
        EXPECT_EQ(outcome.err, message);
        EXPECT_EQ(outcome.out, "");
        EXPECT_EQ(readBytes(at("out.h")), "earlier\r\n");
    }
}

TEST_F(ExportCommand, StandardOutputAndFileHoldTheEditorsExportBytes) {
    const core::EditorState state = sampleState();
    writeBytes(at("p.quarvel"), projectOf(state));
    const std::vector<std::pair<std::string, core::ExportFormat>> formats = {
        {"c", core::ExportFormat::CArray}, {"gas", core::ExportFormat::Gas}, {"dragonbasic", core::ExportFormat::DragonBasic}};
    for (const auto& [name, format] : formats) {
        core::exportToFile(format, state, at("editor.h").string());
        const std::string expected = readBytes(at("editor.h"));

        const Outcome toStdout = run({"--format", name, at("p.quarvel").string()});
        EXPECT_EQ(toStdout.exitCode, 0) << name;
        EXPECT_EQ(toStdout.err, "") << name;
        EXPECT_EQ(toStdout.out, expected) << name;

        const Outcome toFile = run({"--format=" + name, "-o", at("tool.h").string(), at("p.quarvel").string()});
        EXPECT_EQ(toFile.exitCode, 0) << name;
        EXPECT_EQ(toFile.err, "") << name;
        EXPECT_EQ(toFile.out, "") << name;
        EXPECT_EQ(readBytes(at("tool.h")), expected) << name;
    }
    // Without --format the C array is written.
    core::exportToFile(core::ExportFormat::CArray, state, at("editor.h").string());
    EXPECT_EQ(run({at("p.quarvel").string()}).out, readBytes(at("editor.h")));
}

TEST_F(ExportCommand, WidthAboveTheLimitIsCutAsTheEditorOpensIt) {
    // 5000 cells per row in the file; the open keeps the first 4096 of each.
    std::vector<std::string> cells;
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 5000; ++c) cells.push_back(std::to_string(r * 5000 + c));
    writeBytes(at("wide.quarvel"), projectBytes("wide", "5000", "2", cells));
    const Outcome outcome = run({"--format", "dragonbasic", at("wide.quarvel").string()});
    ASSERT_EQ(outcome.exitCode, 0) << outcome.err;
    std::string expected = "wide:\r\n\r\n";
    for (int r = 0; r < 2; ++r) {
        expected += "\tdata ";
        for (int c = 0; c < 4096; ++c) {
            if (c > 0) expected += ',';
            expected += std::to_string(r * 5000 + c);
        }
        expected += "\r\n";
    }
    expected += "\r\n";
    EXPECT_EQ(outcome.out, expected);
}

TEST_F(ExportCommand, LabelFromTheTerminalIsWrittenAsCodePage932) {
    writeBytes(at("p.quarvel"), projectBytes("own", "1", "1", {"5"}));
    const Outcome japanese = run({"--format", "dragonbasic", "--label", "地図 その1", at("p.quarvel").string()}, "C.UTF-8");
    ASSERT_EQ(japanese.exitCode, 0) << japanese.err;
    EXPECT_EQ(japanese.out, testsupport::cp932("地図 その1") + ":\r\n\r\n\tdata 5\r\n\r\n");

    const Outcome empty = run({"--format", "dragonbasic", "--label=", at("p.quarvel").string()});
    ASSERT_EQ(empty.exitCode, 0) << empty.err;
    EXPECT_EQ(empty.out, ":\r\n\r\n\tdata 5\r\n\r\n");

    // The project's own cp932 label passes through untouched when none is given.
    writeBytes(at("jp.quarvel"), projectBytes(testsupport::cp932("表ソ"), "1", "1", {"5"}));
    EXPECT_EQ(run({"--format", "dragonbasic", at("jp.quarvel").string()}).out,
              testsupport::cp932("表ソ") + ":\r\n\r\n\tdata 5\r\n\r\n");
}

TEST_F(ExportCommand, LabelThatTheTerminalEncodingCannotHoldIsAUsageError) {
    writeBytes(at("p.quarvel"), projectBytes("own", "1", "1", {"5"}));
    // UTF-8 bytes under the plain C locale: guessing would write the wrong label.
    const Outcome notAscii = run({"--label", "地図", "-o", at("out.h").string(), at("p.quarvel").string()}, "C");
    EXPECT_EQ(notAscii.exitCode, 2);
    EXPECT_NE(notAscii.err.find("--label"), std::string::npos) << notAscii.err;
    EXPECT_FALSE(fs::exists(at("out.h")));
    // A character that code page 932 has no form for.
    const Outcome emoji = run({"--label", "map\xF0\x9F\x98\x80", at("p.quarvel").string()}, "C.UTF-8");
    EXPECT_EQ(emoji.exitCode, 2);
    EXPECT_EQ(emoji.out, "");
}

TEST_F(ExportCommand, MessagesUnderThePlainCLocaleStayReadable) {
    const Outcome outcome = run({at("absent.quarvel").string()}, "C");
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_EQ(outcome.err, shownText("ファイルが見つかりません."));
}

TEST_F(ExportCommand, OutputThatCannotBeWrittenIsAFailure) {
    writeBytes(at("p.quarvel"), projectOf(sampleState()));
    const Outcome missingFolder = run({"-o", at("no/such/folder.h").string(), at("p.quarvel").string()});
    EXPECT_EQ(missingFolder.exitCode, 1);
    EXPECT_EQ(missingFolder.err, shownText("不正なファイル名です."));

    // A full device as standard output must not be reported as success.
    const Outcome fullDevice = run({at("p.quarvel").string()}, "C.UTF-8", "/dev/full");
    EXPECT_EQ(fullDevice.exitCode, 1);
    EXPECT_NE(fullDevice.err, "");
}

}  // namespace

// quarvel-export as a build pipeline sees it: exit status, standard output,
// standard error and the files it leaves.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/cp932.h"
#include "support/data_cases.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using testsupport::readAll;

struct Outcome {
    int exitCode = -1;
    std::string out;
    std::string err;
};

class ExportCommand : public ::testing::Test {
protected:
    // Runs the program with only LC_ALL set, so the caller's locale cannot leak in.
    Outcome run(const std::vector<std::string>& arguments, const std::string& locale = "C.UTF-8",
                const std::string& standardOutput = "") const {
        const std::string outPath = standardOutput.empty() ? folder.file("stdout") : standardOutput;
        const std::string errPath = folder.file("stderr");
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
        if (standardOutput.empty()) outcome.out = readAll(outPath);
        outcome.err = readAll(errPath);
        return outcome;
    }

    testsupport::TempFolder folder;
    std::string program_ = QUARVEL_EXPORT_EXE;
};

// The editor, started with an environment that holds no display.
class EditorCommand : public ExportCommand {
protected:
    EditorCommand() { program_ = QUARVEL_EXE; }
};

std::string dataProject(const std::string& exportCase) {
    return std::string(QUARVEL_SOURCE_DIR) + "/tests/data/export/" + exportCase + "/project.quarvel";
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
    EXPECT_EQ(outcome.err, shownText("ファイルが見つかりません."));
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
        EXPECT_EQ(outcome.err, readAll(data / "expected-failure.txt"));
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

TEST_F(ExportCommand, LabelThatTheTerminalEncodingCannotHoldIsAUsageError) {
    const std::string project = folder.write("p.quarvel", "tiles.bmp\r\nown\r\n1\r\n1\r\n5\r\n");
    // UTF-8 bytes under the plain C locale: guessing would write the wrong label.
    const Outcome notAscii = run({"--label", "地図", "-o", folder.file("out.h"), project}, "C");
    EXPECT_EQ(notAscii.exitCode, 2);
    EXPECT_NE(notAscii.err.find("--label"), std::string::npos) << notAscii.err;
    EXPECT_FALSE(fs::exists(folder.file("out.h")));
    // A character that code page 932 has no form for.
    const Outcome emoji = run({"--label", "map\xF0\x9F\x98\x80", project}, "C.UTF-8");
    EXPECT_EQ(emoji.exitCode, 2);
    EXPECT_EQ(emoji.out, "");
}

TEST_F(ExportCommand, MessagesUnderThePlainCLocaleStayReadable) {
    const Outcome outcome = run({folder.file("absent.quarvel")}, "C");
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_EQ(outcome.err, shownText("ファイルが見つかりません."));
}

TEST_F(ExportCommand, OutputThatCannotBeWrittenIsAFailure) {
    const std::string project = dataProject("level-1");
    const Outcome missingFolder = run({"-o", folder.file("no/such/folder.h"), project});
    EXPECT_EQ(missingFolder.exitCode, 1);
    EXPECT_EQ(missingFolder.err, shownText("不正なファイル名です."));

    // A full device as standard output must not be reported as success.
    const Outcome fullDevice = run({project}, "C.UTF-8", "/dev/full");
    EXPECT_EQ(fullDevice.exitCode, 1);
    EXPECT_NE(fullDevice.err, "");
}

}  // namespace

// quarvel-export: writes a project's map in one of the editor's export formats.
#include <unistd.h>

#include <clocale>
#include <cstdio>
#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "quarvel/project_info.h"
#include "tools/quarvel_export_args.h"
#include "tools/quarvel_export_encoding.h"
#include "tools/quarvel_export_message.h"
#include "tools/quarvel_export_run.h"
#include "tools/quarvel_export_signals.h"

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

void print(std::FILE* stream, const std::string& text) { std::fwrite(text.data(), 1, text.size(), stream); }

// --help and --version: what was asked for goes to standard output, and a reader
// that cannot get it must not see success.
int answer(const std::string& text) {
    print(stdout, text);
    if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return 0;
    print(stderr, "quarvel-export: cannot write to standard output\n");
    return kExitFailure;
}

int usageError(const std::string& problem) {
    print(stderr, "quarvel-export: " + problem + "\n" + quarvel_export::usageText());
    return kExitUsage;
}

// A line that needs no memory, for when the failure's own message cannot be made.
int fixedFailure() {
    static constexpr char kFixed[] = "quarvel-export: the export failed, and its message could not be shown\n";
    [[maybe_unused]] const ssize_t ignored = ::write(STDERR_FILENO, kFixed, sizeof kFixed - 1);
    return kExitFailure;
}

// Exit 1 whatever happens while the message is made.
int failure(const quarvel_export::ExportFailure& failed, const std::string& codeset) {
    try {
        try {
            std::rethrow_exception(failed.cause());
        } catch (const std::exception& cause) {
            print(stderr, quarvel_export::failureLine(failed.file(), cause, codeset));
        }
    } catch (...) {
        return fixedFailure();
    }
    return kExitFailure;
}

}  // namespace

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    const std::string codeset = quarvel_export::terminalCodeset();
    quarvel_export::Options options;
    std::optional<std::string> label;
    try {
        options = quarvel_export::parseArguments(std::vector<std::string>(argv + 1, argv + argc));
        if (options.help) return answer(quarvel_export::usageText());
        if (options.version) return answer(std::string("quarvel-export (Quarvel Editor) ") + quarvel::kVersion + "\n");
        if (options.label) label = quarvel_export::toCodePage932(*options.label, codeset);
    } catch (const quarvel_export::UsageError& error) {
        return usageError(error.what());
    } catch (const quarvel_export::EncodingError& error) {
        print(stderr, std::string("quarvel-export: --label: ") + error.what() + "\n");
        return kExitUsage;
    }
    quarvel_export::SignalCleanup signals;
    // With --out-dir a project that fails is named and the next one is still written.
    int status = 0;
    for (const std::string& project : options.projectPaths) {
        quarvel_export::ExportJob job;
        job.projectPath = project;
        job.format = options.format;
        job.byteOrder = options.byteOrder;
        job.region = options.region;
        job.label = label;
        job.outputPath = options.outputFolder
                             ? quarvel_export::outputInFolder(*options.outputFolder, project, options.format)
                             : options.outputPath;
        try {
            quarvel_export::runExport(job, &signals);
        } catch (const quarvel_export::ExportFailure& failed) {
            status = failure(failed, codeset);
        } catch (...) {
            status = fixedFailure();
        }
    }
    return status;
}

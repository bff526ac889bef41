#include "tools/quarvel_export_main.h"

#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "quarvel/project_info.h"
#include "tools/quarvel_export_args.h"
#include "tools/quarvel_export_console.h"
#include "tools/quarvel_export_encoding.h"
#include "tools/quarvel_export_message.h"
#include "tools/quarvel_export_run.h"
#include "tools/quarvel_export_signals.h"

namespace quarvel_export {
namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

// --help and --version: what was asked for goes to standard output, and a reader
// that cannot get it must not see success.
int answer(const std::string& text) {
    if (writeText(Stream::Output, text) && flushOutput()) return 0;
    writeText(Stream::Error, "quarvel-export: cannot write to standard output\n");
    return kExitFailure;
}

int usageError(const std::string& problem) {
    writeText(Stream::Error, "quarvel-export: " + problem + "\n" + usageText());
    return kExitUsage;
}

// A line that needs no memory, for when the failure's own message cannot be made.
int fixedFailure() {
    writeFixedError("quarvel-export: the export failed, and its message could not be shown\n");
    return kExitFailure;
}

// Exit 1 whatever happens while the message is made.
int failure(const ExportFailure& failed, const std::string& codeset) {
    try {
        try {
            std::rethrow_exception(failed.cause());
        } catch (const std::exception& cause) {
            writeText(Stream::Error, failureLine(failed.file(), cause, codeset));
        }
    } catch (...) {
        return fixedFailure();
    }
    return kExitFailure;
}

}  // namespace

int exportMain(const std::vector<std::string>& arguments) {
    const std::string codeset = terminalCodeset();
    Options options;
    std::optional<std::string> label;
    try {
        options = parseArguments(arguments);
        if (options.help) return answer(usageText());
        if (options.version) return answer(std::string("quarvel-export (Quarvel Editor) ") + quarvel::kVersion + "\n");
        if (options.label) label = toCodePage932(*options.label, codeset);
    } catch (const UsageError& error) {
        return usageError(error.what());
    } catch (const EncodingError& error) {
        writeText(Stream::Error, std::string("quarvel-export: --label: ") + error.what() + "\n");
        return kExitUsage;
    }
    SignalCleanup signals;
    // With --out-dir a project that fails is named and the next one is still written.
    int status = 0;
    for (const std::string& project : options.projectPaths) {
        ExportJob job;
        job.projectPath = project;
        job.format = options.format;
        job.byteOrder = options.byteOrder;
        job.region = options.region;
        job.label = label;
        job.outputPath = options.outputFolder
                             ? outputInFolder(*options.outputFolder, project, options.format)
                             : options.outputPath;
        try {
            runExport(job, &signals);
        } catch (const ExportFailure& failed) {
            status = failure(failed, codeset);
        } catch (...) {
            status = fixedFailure();
        }
    }
    return status;
}

}  // namespace quarvel_export

// quarvel-export: writes a project's map in one of the editor's export formats.
#include <clocale>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "core/failures.h"
#include "quarvel/project_info.h"
#include "tools/quarvel_export_args.h"
#include "tools/quarvel_export_encoding.h"
#include "tools/quarvel_export_run.h"

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

int failure(const std::exception& escaped, const std::string& codeset) {
    print(stderr, quarvel_export::fromCodePage932(core::failureText(escaped), codeset) + "\n");
    return kExitFailure;
}

}  // namespace

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    const std::string codeset = quarvel_export::terminalCodeset();
    quarvel_export::ExportJob job;
    try {
        const auto options = quarvel_export::parseArguments(std::vector<std::string>(argv + 1, argv + argc));
        if (options.help) return answer(quarvel_export::usageText());
        if (options.version) return answer(std::string("quarvel-export (Quarvel Editor) ") + quarvel::kVersion + "\n");
        job.projectPath = options.projectPath;
        job.format = options.format;
        job.outputPath = options.outputPath;
        if (options.label) job.label = quarvel_export::toCodePage932(*options.label, codeset);
    } catch (const quarvel_export::UsageError& error) {
        return usageError(error.what());
    } catch (const quarvel_export::EncodingError& error) {
        print(stderr, std::string("quarvel-export: --label: ") + error.what() + "\n");
        return kExitUsage;
    }
    try {
        quarvel_export::runExport(job);
        return 0;
    } catch (const std::exception& escaped) {
        return failure(escaped, codeset);
    }
}

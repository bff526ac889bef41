#include "tools/quarvel_export_args.h"

#include <string_view>

namespace quarvel_export {
namespace {

core::ExportFormat formatNamed(const std::string& name) {
    if (name == "c") return core::ExportFormat::CArray;
    if (name == "gas") return core::ExportFormat::Gas;
    if (name == "dragonbasic") return core::ExportFormat::DragonBasic;
    throw UsageError("unknown format '" + name + "' (use c, gas or dragonbasic)");
}

// Walks the arguments once; an option's value is the next argument or follows "=".
class ArgumentReader {
public:
    explicit ArgumentReader(const std::vector<std::string>& arguments) : arguments_(arguments) {}

    Options read() {
        Options options;
        bool formatSeen = false;
        bool optionsEnded = false;
        while (next_ < arguments_.size()) {
            const std::string& argument = arguments_[next_++];
            if (optionsEnded || argument == "-" || argument.empty() || argument[0] != '-') {
                addProject(options, argument);
            } else if (argument == "--") {
                optionsEnded = true;
            } else if (argument == "--help" || argument == "-h") {
                options.help = true;
                return options;
            } else if (argument == "--version") {
                options.version = true;
                return options;
            } else if (isOption(argument, "--format")) {
                once(formatSeen, "--format");
                options.format = formatNamed(valueOf(argument, "--format"));
            } else if (isOption(argument, "--label")) {
                onceOptional(options.label, "--label");
                options.label = valueOf(argument, "--label");
            } else if (isOption(argument, "--output") || argument == "-o") {
                onceOptional(options.outputPath, "-o");
                options.outputPath = valueOf(argument, argument == "-o" ? "-o" : "--output");
            } else if (argument.rfind("-o", 0) == 0 && argument.rfind("--", 0) != 0) {
                onceOptional(options.outputPath, "-o");
                options.outputPath = argument.substr(2);
            } else {
                throw UsageError("unknown option '" + argument + "'");
            }
        }
        if (options.projectPath.empty()) throw UsageError("missing PROJECT");
        return options;
    }

private:
    static bool isOption(const std::string& argument, std::string_view name) {
        return argument.rfind(name, 0) == 0 && (argument.size() == name.size() || argument[name.size()] == '=');
    }

    std::string valueOf(const std::string& argument, std::string_view name) {
        if (argument.size() > name.size()) return argument.substr(name.size() + 1);
        if (next_ >= arguments_.size()) throw UsageError("option " + std::string(name) + " needs a value");
        return arguments_[next_++];
    }

    static void once(bool& seen, std::string_view name) {
        if (seen) throw UsageError("option " + std::string(name) + " given more than once");
        seen = true;
    }

    static void onceOptional(const std::optional<std::string>& value, std::string_view name) {
        if (value) throw UsageError("option " + std::string(name) + " given more than once");
    }

    static void addProject(Options& options, const std::string& argument) {
        if (!options.projectPath.empty()) throw UsageError("unexpected argument '" + argument + "'");
        if (argument.empty()) throw UsageError("empty PROJECT path");
        options.projectPath = argument;
    }

    const std::vector<std::string>& arguments_;
    std::size_t next_ = 0;
};

}  // namespace

Options parseArguments(const std::vector<std::string>& arguments) { return ArgumentReader(arguments).read(); }

std::string usageText() {
    return "usage: quarvel-export [--format c|gas|dragonbasic] [--label TEXT] [-o OUTPUT] PROJECT.quarvel\n"
           "       quarvel-export --help | --version\n"
           "\n"
           "Writes the map of a project as a C array (c, the default), GAS data directives (gas)\n"
           "or DragonBASIC data statements (dragonbasic), byte for byte as the editor exports it.\n"
           "\n"
           "  --format FORMAT  c, gas or dragonbasic\n"
           "  --label TEXT     the label to export under instead of the project's own\n"
           "                   (in the terminal's encoding, written as code page 932)\n"
           "  -o OUTPUT        the file to write; an earlier file is replaced only when the\n"
           "                   export is complete (default, and -: standard output)\n"
           "  -h, --help       show this text\n"
           "  --version        show the version\n"
           "\n"
           "Exit status: 0 on success, 1 when reading or writing fails, 2 for a usage error.\n";
}

}  // namespace quarvel_export

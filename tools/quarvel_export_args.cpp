#include "tools/quarvel_export_args.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

#include "core/project/integer_syntax.h"
#include "core/text/failures.h"

namespace quarvel_export {
namespace {

struct FormatName {
    const char* name;
    core::ExportFormat format;
    const char* extension;
};

constexpr FormatName kFormats[] = {
    {"c", core::ExportFormat::CArray, "h"},        {"gas", core::ExportFormat::Gas, "s"},
    {"dragonbasic", core::ExportFormat::DragonBasic, "dbs"}, {"bin", core::ExportFormat::Binary, "bin"},
    {"ca65", core::ExportFormat::Ca65, "inc"},     {"nasm", core::ExportFormat::Nasm, "asm"},
    {"z80", core::ExportFormat::Z80, "z80"},       {"rgbds", core::ExportFormat::Rgbds, "rgbasm"},
    {"csv", core::ExportFormat::Csv, "csv"},       {"png", core::ExportFormat::Png, "png"},
};

core::ExportFormat formatNamed(const std::string& name) {
    for (const FormatName& known : kFormats)
        if (name == known.name) return known.format;
    throw UsageError("unknown format '" + name + "' (use c, gas, dragonbasic, bin, ca65, nasm, z80, rgbds, csv or png)");
}

// X,Y,W,H, each by the editor's integer syntax; W and H at least 1.
core::CellRegion regionNamed(const std::string& text) {
    std::vector<std::int64_t> parts;
    std::size_t from = 0;
    for (;;) {
        const std::size_t comma = text.find(',', from);
        const std::string part = text.substr(from, comma == std::string::npos ? std::string::npos : comma - from);
        try {
            parts.push_back(core::toInteger(part));
        } catch (const core::Failure&) {
            throw UsageError("--region needs X,Y,W,H in whole numbers, not '" + text + "'");
        }
        if (comma == std::string::npos) break;
        from = comma + 1;
    }
    if (parts.size() != 4) throw UsageError("--region needs four numbers X,Y,W,H, not '" + text + "'");
    return {parts[0], parts[1], parts[2], parts[3]};
}

// Walks the arguments once; an option's value is the next argument or follows "=".
class ArgumentReader {
public:
    explicit ArgumentReader(const std::vector<std::string>& arguments) : arguments_(arguments) {}

    Options read() {
        Options options;
        bool formatSeen = false;
        bool bigEndianSeen = false;
        bool regionSeen = false;
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
            } else if (argument == "--big-endian") {
                once(bigEndianSeen, "--big-endian");
                options.byteOrder = core::ByteOrder::BigEndian;
            } else if (isOption(argument, "--region")) {
                once(regionSeen, "--region");
                options.region = regionNamed(valueOf(argument, "--region"));
            } else if (isOption(argument, "--out-dir")) {
                onceOptional(options.outputFolder, "--out-dir");
                options.outputFolder = valueOf(argument, "--out-dir");
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
        check(options);
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
        if (argument.empty()) throw UsageError("empty PROJECT path");
        options.projectPaths.push_back(argument);
    }

    static void check(const Options& options) {
        if (options.projectPaths.empty()) throw UsageError("missing PROJECT");
        if (options.outputFolder && options.outputPath) throw UsageError("-o and --out-dir exclude each other");
        if (options.outputFolder && options.outputFolder->empty()) throw UsageError("empty --out-dir folder");
        if (!options.outputFolder && options.projectPaths.size() > 1)
            throw UsageError("unexpected argument '" + options.projectPaths[1] +
                             "' (several projects are written with --out-dir)");
        if (options.byteOrder == core::ByteOrder::BigEndian && options.format != core::ExportFormat::Binary)
            throw UsageError("--big-endian is for --format bin");
        if (!options.outputFolder) return;
        std::vector<std::string> outputs;
        for (const std::string& project : options.projectPaths) {
            const std::string output = outputInFolder(*options.outputFolder, project, options.format);
            if (std::find(outputs.begin(), outputs.end(), output) != outputs.end())
                throw UsageError("two projects would both be written to '" + output + "'");
            outputs.push_back(output);
        }
    }

    const std::vector<std::string>& arguments_;
    std::size_t next_ = 0;
};

}  // namespace

Options parseArguments(const std::vector<std::string>& arguments) { return ArgumentReader(arguments).read(); }

std::string extensionOf(core::ExportFormat format) {
    for (const FormatName& known : kFormats)
        if (known.format == format) return known.extension;
    return "out";
}

std::string outputInFolder(const std::string& folder, const std::string& projectPath, core::ExportFormat format) {
    const std::size_t slash = projectPath.find_last_of('/');
    std::string name = slash == std::string::npos ? projectPath : projectPath.substr(slash + 1);
    constexpr std::string_view kProjectExtension = ".quarvel";
    if (name.size() > kProjectExtension.size() && name.ends_with(kProjectExtension))
        name.resize(name.size() - kProjectExtension.size());
    const bool endsInSlash = !folder.empty() && folder.back() == '/';
    return folder + (endsInSlash ? "" : "/") + name + "." + extensionOf(format);
}

std::string usageText() {
    return "usage: quarvel-export [--format FORMAT] [--label TEXT] [--region X,Y,W,H] [-o OUTPUT] PROJECT.quarvel\n"
           "       quarvel-export [options] --out-dir DIR PROJECT.quarvel...\n"
           "       quarvel-export --help | --version\n"
           "\n"
           "Writes the map of a project in one of these formats (file name extension for --out-dir):\n"
           "  c            C array of unsigned short, as the editor exports it (.h, the default)\n"
           "  gas          GNU assembler data directives, as the editor exports it (.s)\n"
           "  dragonbasic  DragonBASIC data statements, as the editor exports it (.dbs)\n"
           "  bin          the cells as 16-bit words, row by row, little-endian, no header (.bin)\n"
           "  ca65         the label, then .word lines for ca65 (cc65) (.inc)\n"
           "  nasm         the label, then dw lines for nasm -f bin (.asm)\n"
           "  z80          the label, then dw lines for pasmo and z80asm (.z80)\n"
           "  rgbds        SECTION \"label\", ROM0, label::, then dw lines for RGBDS (.rgbasm)\n"
           "  csv          one line a map row, the cells in decimal separated by commas (.csv)\n"
           "  png          a picture of the map drawn with its tile sheet, 8 x 8 pixels a cell;\n"
           "               cells whose tile lies outside the sheet are transparent (.png)\n"
           "Text formats end every line with CR LF and put at most 16 values on a line.\n"
           "\n"
           "  --format FORMAT  one of the formats above\n"
           "  --big-endian     bin: each word's high byte first (68000-family machines)\n"
           "  --label TEXT     the label to export under instead of the project's own\n"
           "                   (in the terminal's encoding, any text on Windows; written\n"
           "                   as code page 932)\n"
           "  --region X,Y,W,H only the W x H cells from column X, row Y (counted from 0);\n"
           "                   the result is that of a map holding only those cells\n"
           "  -o OUTPUT        the file to write; an earlier file is replaced only when the\n"
           "                   export is complete (default, and -: standard output)\n"
           "  --out-dir DIR    write each project to DIR/NAME.EXT, NAME its file name without\n"
           "                   .quarvel; a project that fails is named and the others are written\n"
           "  -h, --help       show this text\n"
           "  --version        show the version\n"
           "\n"
           "Messages go to standard error in the terminal's encoding; on Windows to a\n"
           "console as Unicode, and as UTF-8 when standard error is a file or a pipe.\n"
           "Exit status: 0 on success, 1 when reading or writing fails (any project, with\n"
           "--out-dir), 2 for a usage error.\n";
}

}  // namespace quarvel_export

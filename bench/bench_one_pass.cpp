// quarvel-export's read + C array of the largest map, side by side with the one-pass
// floor (one-pass-c-array); read + each toolchain format against read + C array in
// the same rounds; and the editor opening the same map. Wall times on a
// shared machine move with its load, so each round runs both programs back to back,
// in alternating order, and the figures are medians of CPU time (user + system of
// the child), of wall time and of the ratio within each round. Both outputs must be
// the same bytes.
//
//   bench_one_pass [ROUNDS] [FOLDER]   (FOLDER defaults to /dev/shm, a tmpfs)
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "core/map/editor_state.h"
#include "core/map/windowless_size_fields.h"
#include "core/project/project_file.h"

extern char** environ;

namespace {

struct Run {
    double wallMs = 0;
    double cpuMs = 0;
    double peakMiB = 0;
};

double milliseconds(const timeval& t) { return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_usec) / 1e3; }

pid_t start(const std::vector<std::string>& command, char** environment) {
    std::vector<char*> argv;
    for (const std::string& word : command) argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    pid_t child = 0;
    if (::posix_spawn(&child, argv[0], nullptr, nullptr, argv.data(), environment) != 0) {
        std::fprintf(stderr, "cannot start %s\n", argv[0]);
        std::exit(1);
    }
    return child;
}

Run finish(pid_t child, std::chrono::steady_clock::time_point started, bool killed = false) {
    int status = 0;
    rusage usage{};
    ::wait4(child, &status, 0, &usage);
    const auto ended = std::chrono::steady_clock::now();
    if (!killed && (!WIFEXITED(status) || WEXITSTATUS(status) != 0)) {
        std::fprintf(stderr, "a measured program failed\n");
        std::exit(1);
    }
    return {std::chrono::duration<double, std::milli>(ended - started).count(),
            milliseconds(usage.ru_utime) + milliseconds(usage.ru_stime), static_cast<double>(usage.ru_maxrss) / 1024};
}

Run measure(const std::vector<std::string>& command) {
    const auto started = std::chrono::steady_clock::now();
    return finish(start(command, environ), started);
}

// CPU ticks of a running process, from /proc/PID/stat (utime + stime).
long cpuTicks(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), {});
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string field;
    long utime = 0, stime = 0;
    for (int i = 3; fields >> field; ++i) {
        if (i == 14) utime = std::stol(field);
        if (i == 15) {
            stime = std::stol(field);
            break;
        }
    }
    return utime + stime;
}

// The editor opening the project under the offscreen platform: it runs until its CPU
// time stands still for half a second (the event loop waits), then it is ended. Its
// peak memory is then the peak of start-up and the open.
Run measureEditor(const std::string& editor, const std::string& project) {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) env.emplace_back(*e);
    env.emplace_back("QT_QPA_PLATFORM=offscreen");
    std::vector<char*> environment;
    for (std::string& e : env) environment.push_back(e.data());
    environment.push_back(nullptr);
    const auto started = std::chrono::steady_clock::now();
    const pid_t child = start({editor, project}, environment.data());
    long last = -1;
    int still = 0;
    auto idleSince = started;
    while (still < 10) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        const long ticks = cpuTicks(child);
        if (ticks == last) {
            ++still;
        } else {
            still = 0;
            idleSince = std::chrono::steady_clock::now();
        }
        last = ticks;
    }
    ::kill(child, SIGKILL);
    Run run = finish(child, started, true);
    run.wallMs = std::chrono::duration<double, std::milli>(idleSince - started).count();
    return run;
}

void writeLargestProject(const std::string& path) {
    // In a child of its own: a program started later by this one would otherwise
    // count the map built here in its own peak (the peak of the memory it starts from).
    if (const pid_t child = ::fork(); child != 0) {
        int status = 0;
        ::waitpid(child, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) std::exit(1);
        return;
    }
    core::EditorState state;
    core::WindowlessSizeFields fields(state);
    fields.setWidthText(std::to_string(core::kMaxMapSize));
    fields.setHeightText(std::to_string(core::kMaxMapSize));
    std::mt19937 random(20261208);
    for (auto&& row : state.Map)
        for (auto& cell : row) cell = static_cast<core::Cell>(random());
    core::writeProject(path, state, fields);
    std::_Exit(0);
}

bool sameBytes(const std::string& a, const std::string& b) {
    std::ifstream x(a, std::ios::binary), y(b, std::ios::binary);
    return std::equal(std::istreambuf_iterator<char>(x), {}, std::istreambuf_iterator<char>(y), {});
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

std::string loadAverage() {
    std::ifstream load("/proc/loadavg");
    std::string one, five, fifteen;
    load >> one >> five >> fifteen;
    return one + " " + five + " " + fifteen;
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 11;
    const std::string folder = argc > 2 ? argv[2] : "/dev/shm";
    const std::string project = folder + "/quarvel-one-pass.quarvel";
    const std::string limitOut = folder + "/quarvel-one-pass-limit.h";
    const std::string toolOut = folder + "/quarvel-one-pass-tool.h";
    writeLargestProject(project);
    std::printf("load average before: %s\n", loadAverage().c_str());

    const std::vector<std::string> limit = {ONE_PASS_EXE, project, limitOut};
    const std::vector<std::string> tool = {QUARVEL_EXPORT_EXE, "-o", toolOut, project};
    std::vector<double> limitCpu, toolCpu, limitWall, toolWall, cpuRatio, wallRatio;
    double limitPeak = 0, toolPeak = 0;
    for (int round = 0; round < rounds; ++round) {
        Run a, b;
        if (round % 2 == 0) {
            a = measure(limit);
            b = measure(tool);
        } else {
            b = measure(tool);
            a = measure(limit);
        }
        if (round == 0 && !sameBytes(limitOut, toolOut)) {
            std::fprintf(stderr, "the two C arrays differ\n");
            return 1;
        }
        limitCpu.push_back(a.cpuMs);
        toolCpu.push_back(b.cpuMs);
        limitWall.push_back(a.wallMs);
        toolWall.push_back(b.wallMs);
        cpuRatio.push_back(b.cpuMs / a.cpuMs);
        wallRatio.push_back(b.wallMs / a.wallMs);
        limitPeak = std::max(limitPeak, a.peakMiB);
        toolPeak = std::max(toolPeak, b.peakMiB);
    }
    std::printf("%d rounds, medians            CPU ms   wall ms   peak MiB\n", rounds);
    std::printf("one-pass-c-array              %7.1f  %7.1f   %7.1f\n", median(limitCpu), median(limitWall), limitPeak);
    std::printf("quarvel-export -o (C array)   %7.1f  %7.1f   %7.1f\n", median(toolCpu), median(toolWall), toolPeak);
    std::printf("ratio within a round          %7.2f  %7.2f\n", median(cpuRatio), median(wallRatio));

    // The toolchain formats against the C array, each round in a rotated order.
    const std::vector<std::string> formats = {"c", "bin", "ca65", "nasm", "z80", "rgbds", "csv"};
    const std::string formatOut = folder + "/quarvel-one-pass-format.out";
    std::vector<std::vector<double>> formatCpu(formats.size()), formatRatio(formats.size());
    std::vector<double> formatPeak(formats.size(), 0);
    for (int round = 0; round < rounds; ++round) {
        std::vector<Run> runs(formats.size());
        for (std::size_t k = 0; k < formats.size(); ++k) {
            const std::size_t i = (k + static_cast<std::size_t>(round)) % formats.size();
            runs[i] = measure({QUARVEL_EXPORT_EXE, "--format", formats[i], "-o", formatOut, project});
        }
        for (std::size_t i = 0; i < formats.size(); ++i) {
            formatCpu[i].push_back(runs[i].cpuMs);
            formatRatio[i].push_back(runs[i].cpuMs / runs[0].cpuMs);
            formatPeak[i] = std::max(formatPeak[i], runs[i].peakMiB);
        }
    }
    std::printf("read + format, medians        CPU ms   ratio to c   peak MiB\n");
    for (std::size_t i = 0; i < formats.size(); ++i)
        std::printf("  %-26s %7.1f  %7.2f      %7.1f\n", formats[i].c_str(), median(formatCpu[i]), median(formatRatio[i]),
                    formatPeak[i]);
    std::remove(formatOut.c_str());

#ifdef QUARVEL_EXE
    std::vector<double> editorCpu, editorWall;
    double editorPeak = 0;
    for (int round = 0; round < std::max(3, rounds / 3); ++round) {
        const Run run = measureEditor(QUARVEL_EXE, project);
        editorCpu.push_back(run.cpuMs);
        editorWall.push_back(run.wallMs);
        editorPeak = std::max(editorPeak, run.peakMiB);
    }
    std::printf("editor start with the map     %7.1f  %7.1f   %7.1f\n", median(editorCpu), median(editorWall), editorPeak);
#endif
    std::printf("load average after: %s\n", loadAverage().c_str());
    std::remove(limitOut.c_str());
    std::remove(toolOut.c_str());
    std::remove(project.c_str());
    return 0;
}

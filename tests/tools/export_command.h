#pragma once
// Starting quarvel-export, the editor or another program as a build pipeline would,
// with a clean environment, and reading what it left: exit status, standard output,
// standard error.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "support/temp_folder.h"

namespace toolstest {

using testsupport::readAll;

struct Outcome {
    int exitCode = -1;
    int signal = 0;  // the signal that ended the program, if one did
    bool timedOut = false;
    std::string out;
    std::string err;
};

// How a program is started: only LC_ALL (and what a test adds) in its environment, so
// the caller's locale cannot leak in; its standard output in a file of the test's own
// unless a path or a descriptor is given; limits set in the child before it runs.
struct Launch {
    std::string locale = "C.UTF-8";
    std::string standardOutput;
    int standardOutputFd = -1;
    std::vector<std::string> environment;
    rlim_t fileSizeLimit = RLIM_INFINITY;
    rlim_t memoryLimit = RLIM_INFINITY;
    int secondsAllowed = 60;
    std::string workingFolder;  // the test's own when empty
};

class ExportCommand : public ::testing::Test {
protected:
    pid_t start(const std::vector<std::string>& arguments, const Launch& launch) const {
        return startWith(program_, arguments, launch);
    }
    pid_t startWith(const std::string& program, const std::vector<std::string>& arguments, const Launch& launch) const {
        const std::string outPath = launch.standardOutput.empty() ? folder.file("stdout") : launch.standardOutput;
        const std::string errPath = folder.file("stderr");
        std::vector<std::string> argvStorage{program};
        argvStorage.insert(argvStorage.end(), arguments.begin(), arguments.end());
        std::vector<std::string> environmentStorage{"LC_ALL=" + launch.locale};
        environmentStorage.insert(environmentStorage.end(), launch.environment.begin(), launch.environment.end());
        std::vector<char*> argv, environment;
        for (auto& argument : argvStorage) argv.push_back(argument.data());
        for (auto& setting : environmentStorage) environment.push_back(setting.data());
        argv.push_back(nullptr);
        environment.push_back(nullptr);

        const pid_t child = ::fork();
        if (child != 0) return child;
        const int out = launch.standardOutputFd >= 0 ? launch.standardOutputFd
                                                    : ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (out < 0 || err < 0 || ::dup2(out, STDOUT_FILENO) < 0 || ::dup2(err, STDERR_FILENO) < 0) ::_exit(126);
        const rlimit fileSize{launch.fileSizeLimit, launch.fileSizeLimit};
        const rlimit memory{launch.memoryLimit, launch.memoryLimit};
        if (::setrlimit(RLIMIT_FSIZE, &fileSize) != 0 || ::setrlimit(RLIMIT_AS, &memory) != 0) ::_exit(126);
        if (!launch.workingFolder.empty() && ::chdir(launch.workingFolder.c_str()) != 0) ::_exit(126);
        ::execve(argv[0], argv.data(), environment.data());
        ::_exit(127);
    }

    Outcome finish(pid_t child, const Launch& launch) const {
        Outcome outcome;
        int status = 0;
        for (int waited = 0; ::waitpid(child, &status, WNOHANG) == 0; ++waited) {
            if (waited == launch.secondsAllowed * 100) {
                outcome.timedOut = true;
                ::kill(child, SIGKILL);
            }
            ::usleep(10000);
        }
        outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        outcome.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
        if (launch.standardOutput.empty() && launch.standardOutputFd < 0) outcome.out = readAll(folder.file("stdout"));
        outcome.err = readAll(folder.file("stderr"));
        return outcome;
    }

    Outcome run(const std::vector<std::string>& arguments, const Launch& launch) const {
        return finish(start(arguments, launch), launch);
    }
    // Another program, by its full path, started the same way.
    Outcome runProgram(const std::string& program, const std::vector<std::string>& arguments,
                       const Launch& launch = {}) const {
        return finish(startWith(program, arguments, launch), launch);
    }
    Outcome run(const std::vector<std::string>& arguments, const std::string& locale = "C.UTF-8",
                const std::string& standardOutput = "") const {
        Launch launch;
        launch.locale = locale;
        launch.standardOutput = standardOutput;
        return run(arguments, launch);
    }

    testsupport::TempFolder folder;
    std::string program_ = QUARVEL_EXPORT_EXE;
};

}  // namespace toolstest

// Runs the built cursorialctl through the shell and captures what a user would see: exit code,
// standard output and standard error. Shared by the command-line tests of every subsystem.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace cursorial::test {

struct CtlRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// `env` is prepended to the command line (VAR=value ...); standard error goes through `errFile`.
inline CtlRun RunCtl(const std::string& env, const std::string& args,
                     const std::filesystem::path& errFile) {
    const std::string command =
        env + " '" + (std::filesystem::path(CURSORIAL_OUTPUT_DIR) / "cursorialctl").string() +
        "' " + args + " 2>'" + errFile.string() + "'";
    CtlRun run;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return run;
    char buffer[4096];
    while (std::fgets(buffer, sizeof buffer, pipe))
        run.out += buffer;
    const int status = ::pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream in(errFile);
    std::stringstream text;
    text << in.rdbuf();
    run.err = text.str();
    return run;
}

}  // namespace cursorial::test

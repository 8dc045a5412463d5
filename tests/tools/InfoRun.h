// Running marlo-info from the tests: its exit status and what it printed.
#pragma once

#include "TestKit.h"

#include <cstdio>
#include <string>
#include <sys/wait.h>

struct TRun {
    int ExitCode = -1; // -1 when it did not exit by itself (a crash, a signal)
    std::string Out;
    std::string Err;
};

// Runs a shell command, capturing its standard output, and its standard
// error through a file in temp.
inline TRun RunCommand(const std::string& command, const TTempFolder& temp)
{
    const std::string errFile = temp.File("stderr.txt");
    TRun run;
    FILE* pipe = popen((command + " 2>" + errFile).c_str(), "r");
    if (!pipe) return run;
    char buffer[65536];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) run.Out.append(buffer, n);
    const int status = pclose(pipe);
    run.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.Err = ReadBytes(errFile);
    return run;
}

// Runs marlo-info with the given arguments (shell words).
inline TRun RunInfo(const std::string& arguments, const TTempFolder& temp)
{
    return RunCommand(std::string(MARLO_INFO_PATH) + " " + arguments, temp);
}

inline std::string Quote(const std::string& path) { return "'" + path + "'"; }

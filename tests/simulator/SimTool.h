#pragma once

#include "ZentravaLibrary.h"

#include <sys/wait.h>

#include <cstdio>
#include <string>

// zentrava-sim as the operator runs it, the one built beside this test, on the sandbox's scenario.
struct SimToolOutcome {
    int exitCode;
    std::string output;
};

inline SimToolOutcome runSimTool(const std::string &arguments)
{
    const std::string command = "'" + ZentravaLibrary::programDirectory() + "/zentrava-sim' " + arguments + " 2>&1";
    FILE *pipe = popen(command.c_str(), "r");
    if (!pipe)
        return {-1, "cannot start the tool"};
    std::string output;
    char buffer[4096];
    std::size_t count;
    while ((count = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        output.append(buffer, count);
    const int statusCode = pclose(pipe);
    return {WIFEXITED(statusCode) ? WEXITSTATUS(statusCode) : -1, output};
}

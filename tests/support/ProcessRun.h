#pragma once
// Runs a command line as a user would in a shell and keeps what it printed (standard
// output and standard error together) and its exit status.

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <string>

namespace quorin::test {

struct ProcessRun {
    int status = -1; // -1 when it could not start or did not exit by itself
    std::string output;
};

inline ProcessRun runCommand(const std::string& command)
{
    ProcessRun r;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe)
        return r;
    std::array<char, 4096> buf{};
    std::size_t n;
    while ((n = fread(buf.data(), 1, buf.size(), pipe)) > 0)
        r.output.append(buf.data(), n);
    const int status = pclose(pipe);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

} // namespace quorin::test

// Runs a command line through the host's shell, for tests of the project's programs and
// scripts (host only).
#pragma once

#include <string>

namespace support {

struct ShellRun {
    int exitCode;     // -1 when the command could not start or did not exit normally
    std::string out;  // what it wrote to stdout
};

ShellRun runShell(const std::string& command);

}  // namespace support

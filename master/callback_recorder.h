// Master callbacks that record what a unit reports: every log line, formatted, with its
// instance name, status and category, and every step-finished notification.
#pragma once

#include <string>
#include <vector>

#include "fmi2_functions.h"

namespace master {

struct LogLine {
    std::string instanceName;
    fmi2Status status;
    std::string category;
    std::string format;   // the format string as the unit passed it
    std::string message;  // formatted with its arguments
};

struct StepFinishedCall {
    fmi2ComponentEnvironment environment;
    fmi2Status status;
};

// The callback record's componentEnvironment points at the recorder itself, so it must
// stay where it is while a unit holds its callbacks (it is neither copied nor moved).
class CallbackRecorder {
public:
    CallbackRecorder();
    CallbackRecorder(const CallbackRecorder&) = delete;
    CallbackRecorder& operator=(const CallbackRecorder&) = delete;

    fmi2CallbackFunctions functions;
    std::vector<LogLine> log;
    std::vector<StepFinishedCall> stepsFinished;
    // When set, each line is also printed to stderr as it arrives.
    bool echoToStderr = false;
    // Counts logger calls, for checks that a step path does not log.
    long loggerCalls = 0;

    void clear();
};

}  // namespace master

#include "callback_recorder.h"

#include <cstdarg>
#include <cstdio>

namespace master {

namespace {

void recordLog(fmi2ComponentEnvironment environment, fmi2String instanceName, fmi2Status status,
               fmi2String category, fmi2String message, ...) {
    auto* recorder = static_cast<CallbackRecorder*>(environment);
    ++recorder->loggerCalls;
    va_list args;
    va_start(args, message);
    va_list copy;
    va_copy(copy, args);
    int length = std::vsnprintf(nullptr, 0, message, copy);
    va_end(copy);
    std::string text(length > 0 ? static_cast<size_t>(length) : 0, '\0');
    if (length > 0) std::vsnprintf(&text[0], text.size() + 1, message, args);
    va_end(args);
    LogLine line{instanceName ? instanceName : "(null)", status, category ? category : "(null)",
                 message, text};
    if (recorder->echoToStderr)
        std::fprintf(stderr, "[%s] %s %s: %s\n", line.category.c_str(),
                     line.instanceName.c_str(), status == fmi2OK ? "ok" : "error",
                     line.message.c_str());
    recorder->log.push_back(std::move(line));
}

void recordStepFinished(fmi2ComponentEnvironment environment, fmi2Status status) {
    auto* recorder = static_cast<CallbackRecorder*>(environment);
    recorder->stepsFinished.push_back({environment, status});
}

}  // namespace

CallbackRecorder::CallbackRecorder()
    : functions{recordLog, nullptr, nullptr, recordStepFinished, this} {}

void CallbackRecorder::clear() {
    log.clear();
    stepsFinished.clear();
    loggerCalls = 0;
}

}  // namespace master

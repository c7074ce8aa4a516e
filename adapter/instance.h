// The adapter's instance record and the helpers every entry point shares.
#ifndef INSTANCE_H
#define INSTANCE_H

#include "fmi2_functions.h"

struct FmuInstance {
    void* modelRecord;
    char* instanceName;
    char* fmuGUID;
    char* resourcePath;
    const fmi2CallbackFunctions* functions;
    fmi2Boolean loggingOn;
    double fmuTime;
    double** realRefs;
    double* outputBuffer;
};

// The instance made last; the output hold of every local step goes through it.
// Cleared when that instance is freed, so it never refers to released storage.
extern FmuInstance* currentInstance;

void registerModel(FmuInstance* instance);

// Error lines are always sent; info lines only while the instance has loggingOn set.
// Both hand the format and its arguments to the master's logger unformatted. The logger
// is read from the master's record at each call; a master that cleared it after
// instantiation gets no message rather than a call through null.
template <typename... Args>
inline void logError(const FmuInstance* inst, const char* format, Args... args) {
    if (inst->functions->logger != nullptr)
        inst->functions->logger(inst->functions->componentEnvironment, inst->instanceName,
                                fmi2Error, "error", format, args...);
}

template <typename... Args>
inline void logInfo(const FmuInstance* inst, const char* format, Args... args) {
    if (inst->loggingOn && inst->functions->logger != nullptr)
        inst->functions->logger(inst->functions->componentEnvironment, inst->instanceName,
                                fmi2OK, "info", format, args...);
}

#endif

// Creation and release of instances, and the entry points that need no model.
#include <stdlib.h>
#include <string.h>

#include "instance.h"
#include "model_binding.h"
#include "uri_to_local.h"

FmuInstance* currentInstance = nullptr;

namespace {

const char* const allocationError = "fmi2Instantiate: Memory allocation error.";

char* copyString(const char* text) {
    size_t size = strlen(text) + 1;
    char* copy = static_cast<char*>(calloc(size, 1));
    if (copy != nullptr) memcpy(copy, text, size);
    return copy;
}

void releaseRecord(FmuInstance* instance) {
    free(instance->instanceName);
    free(instance->fmuGUID);
    free(instance->resourcePath);
    free(instance->realRefs);
    free(instance->outputBuffer);
    free(instance);
}

void logInstantiateError(const fmi2CallbackFunctions* functions, const char* instanceName,
                         const char* message) {
    functions->logger(functions->componentEnvironment, instanceName, fmi2Error, "error",
                      message);
}

// A failure after the record exists releases all of it and puts currentInstance back,
// so no later step reaches half-built or released storage.
fmi2Component failAfterAllocation(FmuInstance* instance, FmuInstance* previousCurrent,
                                  const fmi2CallbackFunctions* functions,
                                  const char* instanceName, const char* message) {
    logInstantiateError(functions, instanceName, message);
    releaseRecord(instance);
    currentInstance = previousCurrent;
    return nullptr;
}

}  // namespace

void registerModel(FmuInstance* instance) {
    instance->modelRecord = modelBinding.modelRecord;
    for (unsigned k = 0; k < modelBinding.realRefCount; ++k) {
        instance->realRefs[k] =
            k == modelBinding.timeRef ? &instance->fmuTime : modelBinding.valueTable[k];
    }
}

extern "C" {

FMI2_EXPORT const char* fmi2GetTypesPlatform(void) { return "default"; }

FMI2_EXPORT const char* fmi2GetVersion(void) { return "2.0"; }

FMI2_EXPORT fmi2Status fmi2SetDebugLogging(fmi2Component c, fmi2Boolean loggingOn, size_t,
                                           const fmi2String[]) {
    if (c == nullptr) return fmi2Error;
    static_cast<FmuInstance*>(c)->loggingOn = loggingOn;
    return fmi2OK;
}

FMI2_EXPORT fmi2Component fmi2Instantiate(fmi2String instanceName, fmi2Type,
                                          fmi2String fmuGUID, fmi2String fmuResourceLocation,
                                          const fmi2CallbackFunctions* functions, fmi2Boolean,
                                          fmi2Boolean loggingOn) {
    if (functions == nullptr || functions->logger == nullptr) return nullptr;
    if (instanceName == nullptr || instanceName[0] == '\0') {
        logInstantiateError(functions, "?", "fmi2Instantiate: Missing instance name.");
        return nullptr;
    }
    if (fmuGUID == nullptr || fmuGUID[0] == '\0') {
        logInstantiateError(functions, instanceName, "fmi2Instantiate: Missing GUID.");
        return nullptr;
    }
    if (strcmp(fmuGUID, modelBinding.modelGuid) != 0) {
        functions->logger(functions->componentEnvironment, instanceName, fmi2Error, "error",
                          "fmi2Instantiate: Wrong GUID %s. Expected %s.", fmuGUID,
                          modelBinding.modelGuid);
        return nullptr;
    }

    FmuInstance* previousCurrent = currentInstance;
    FmuInstance* instance = static_cast<FmuInstance*>(calloc(1, sizeof(FmuInstance)));
    if (instance == nullptr) {
        // Nothing was allocated, so the previous current instance stays in place.
        logInstantiateError(functions, instanceName, allocationError);
        return nullptr;
    }
    currentInstance = instance;
    instance->modelRecord = modelBinding.modelRecord;

    instance->instanceName = copyString(instanceName);
    if (instance->instanceName == nullptr)
        return failAfterAllocation(instance, previousCurrent, functions, instanceName,
                                   allocationError);
    instance->fmuGUID = copyString(fmuGUID);
    if (instance->fmuGUID == nullptr)
        return failAfterAllocation(instance, previousCurrent, functions, instanceName,
                                   allocationError);

    if (fmuResourceLocation != nullptr) {
        instance->resourcePath = uriToLocal(fmuResourceLocation);
        if (instance->resourcePath == nullptr)
            return failAfterAllocation(instance, previousCurrent, functions, instanceName,
                                       allocationError);
        if (instance->resourcePath[0] == '\0')
            return failAfterAllocation(
                instance, previousCurrent, functions, instanceName,
                "fmi2Instantiate: uriToLocal cannot handle fmuResourceLocation.");
    }

    instance->functions = functions;
    instance->loggingOn = loggingOn;
    instance->fmuTime = 0.0;

    instance->realRefs =
        static_cast<double**>(calloc(modelBinding.realRefCount, sizeof(double*)));
    if (instance->realRefs == nullptr)
        return failAfterAllocation(instance, previousCurrent, functions, instanceName,
                                   allocationError);
    instance->outputBuffer =
        static_cast<double*>(calloc(modelBinding.outputCount, sizeof(double)));
    if (instance->outputBuffer == nullptr)
        return failAfterAllocation(instance, previousCurrent, functions, instanceName,
                                   allocationError);

    registerModel(instance);
    return instance;
}

FMI2_EXPORT void fmi2FreeInstance(fmi2Component c) {
    if (c == nullptr) return;
    FmuInstance* instance = static_cast<FmuInstance*>(c);
    modelBinding.terminate();
    // Only the current instance's hold buffer is written, so the pointer must not outlive
    // the record it points to. Clearing it changes no result: each model stores its outputs
    // after its last write of them in a local step, and the hold writes them back right
    // after that step, so the round trip leaves every output as the step wrote it, and a
    // step with no current instance, which skips it, gives the same outputs.
    if (currentInstance == instance) currentInstance = nullptr;
    releaseRecord(instance);
}

}  // extern "C"

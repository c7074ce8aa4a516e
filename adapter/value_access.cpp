// Reading and writing variables by value reference. Every variable is real; the integer,
// boolean and string accessors make the same checks against an empty table.
#include "instance.h"
#include "model_binding.h"

namespace {

// The checks every accessor starts with: a component to report to, and arrays wherever a
// count asks for them. Returns the instance, or null when the request is refused.
const FmuInstance* checkedRequest(fmi2Component c, const void* vr, size_t nvr,
                                  const void* value) {
    if (c == nullptr) return nullptr;
    const FmuInstance* inst = static_cast<const FmuInstance*>(c);
    if (nvr != 0 && (vr == nullptr || value == nullptr)) {
        logError(inst, "invalid memory access");
        return nullptr;
    }
    return inst;
}

fmi2Status accessWithoutVariables(fmi2Component c, const fmi2ValueReference vr[], size_t nvr,
                                  const void* value) {
    const FmuInstance* inst = checkedRequest(c, vr, nvr, value);
    if (inst == nullptr) return fmi2Error;
    if (nvr == 0) return fmi2OK;
    logError(inst, "valueReference out of range");
    return fmi2Error;
}

}  // namespace

extern "C" {

FMI2_EXPORT fmi2Status fmi2GetReal(fmi2Component c, const fmi2ValueReference vr[], size_t nvr,
                                   fmi2Real value[]) {
    const FmuInstance* inst = checkedRequest(c, vr, nvr, value);
    if (inst == nullptr) return fmi2Error;
    // The whole request is checked before anything is written.
    for (size_t i = 0; i < nvr; ++i) {
        if (vr[i] >= modelBinding.realRefCount) {
            logError(inst, "valueReference out of range");
            return fmi2Error;
        }
    }
    for (size_t i = 0; i < nvr; ++i) {
        value[i] = *inst->realRefs[vr[i]];
        logInfo(inst, "getReal vr:%d, value:%lf", static_cast<int>(vr[i]), value[i]);
    }
    return fmi2OK;
}

FMI2_EXPORT fmi2Status fmi2SetReal(fmi2Component c, const fmi2ValueReference vr[], size_t nvr,
                                   const fmi2Real value[]) {
    const FmuInstance* inst = checkedRequest(c, vr, nvr, value);
    if (inst == nullptr) return fmi2Error;
    // Applied element by element: the ones before a bad reference stay written.
    for (size_t i = 0; i < nvr; ++i) {
        if (vr[i] >= modelBinding.realRefCount) {
            logError(inst, "valueReference out of range");
            return fmi2Error;
        }
        double* target = inst->realRefs[vr[i]];
        // An equal value is not stored, so a stored zero keeps its sign; NaN always is.
        if (!(*target == value[i])) *target = value[i];
        logInfo(inst, "setReal vr:%d, value:%lf", static_cast<int>(vr[i]), value[i]);
    }
    return fmi2OK;
}

FMI2_EXPORT fmi2Status fmi2GetInteger(fmi2Component c, const fmi2ValueReference vr[],
                                      size_t nvr, fmi2Integer value[]) {
    return accessWithoutVariables(c, vr, nvr, value);
}

FMI2_EXPORT fmi2Status fmi2GetBoolean(fmi2Component c, const fmi2ValueReference vr[],
                                      size_t nvr, fmi2Boolean value[]) {
    return accessWithoutVariables(c, vr, nvr, value);
}

FMI2_EXPORT fmi2Status fmi2GetString(fmi2Component c, const fmi2ValueReference vr[],
                                     size_t nvr, fmi2String value[]) {
    return accessWithoutVariables(c, vr, nvr, value);
}

FMI2_EXPORT fmi2Status fmi2SetInteger(fmi2Component c, const fmi2ValueReference vr[],
                                      size_t nvr, const fmi2Integer value[]) {
    return accessWithoutVariables(c, vr, nvr, value);
}

FMI2_EXPORT fmi2Status fmi2SetBoolean(fmi2Component c, const fmi2ValueReference vr[],
                                      size_t nvr, const fmi2Boolean value[]) {
    return accessWithoutVariables(c, vr, nvr, value);
}

FMI2_EXPORT fmi2Status fmi2SetString(fmi2Component c, const fmi2ValueReference vr[],
                                     size_t nvr, const fmi2String value[]) {
    return accessWithoutVariables(c, vr, nvr, value);
}

}  // extern "C"

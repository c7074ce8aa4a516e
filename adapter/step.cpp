// Set-up, initialisation, reset and the communication step.
#include <math.h>

#include "instance.h"
#include "model_binding.h"

namespace {

const double localSolverStepSize = 0.005;
const double doStepTolerance = 5e-9;
const double startTimeTolerance = 1e-7;

// Counts of 2^31 local steps and more do not fit the signed 32-bit step count.
const double stepCountLimit = 2147483648.0;

void restoreOutputBuffer() {
    FmuInstance* inst = currentInstance;
    if (inst == nullptr) return;
    for (unsigned k = 0; k < modelBinding.outputCount; ++k)
        *inst->realRefs[modelBinding.firstOutputRef + k] = inst->outputBuffer[k];
}

void localSolverStep() {
    modelBinding.step();
    restoreOutputBuffer();
}

}  // namespace

void storeOutputBuffer() {
    FmuInstance* inst = currentInstance;
    if (inst == nullptr) return;
    for (unsigned k = 0; k < modelBinding.outputCount; ++k)
        inst->outputBuffer[k] = *inst->realRefs[modelBinding.firstOutputRef + k];
}

extern "C" {

FMI2_EXPORT fmi2Status fmi2SetupExperiment(fmi2Component c, fmi2Boolean, fmi2Real,
                                           fmi2Real startTime, fmi2Boolean, fmi2Real) {
    if (c == nullptr) return fmi2Error;
    FmuInstance* inst = static_cast<FmuInstance*>(c);
    // Written so that a NaN start time fails too: it would poison every later step.
    if (!(fabs(startTime) <= startTimeTolerance)) {
        logError(inst, "start time is not zero.");
        return fmi2Error;
    }
    inst->fmuTime = startTime;
    return fmi2OK;
}

FMI2_EXPORT fmi2Status fmi2EnterInitializationMode(fmi2Component) {
    modelBinding.initialize();
    return fmi2OK;
}

FMI2_EXPORT fmi2Status fmi2ExitInitializationMode(fmi2Component c) {
    if (c == nullptr) return fmi2Error;
    localSolverStep();
    return fmi2OK;
}

FMI2_EXPORT fmi2Status fmi2DoStep(fmi2Component c, fmi2Real currentCommunicationPoint,
                                  fmi2Real communicationStepSize, fmi2Boolean) {
    if (c == nullptr) return fmi2Error;
    FmuInstance* inst = static_cast<FmuInstance*>(c);
    const double t = currentCommunicationPoint;
    const double h = communicationStepSize;
    fmi2Status status = fmi2OK;

    // The count is decided in double first: converting a value outside the int range
    // (or a NaN) is undefined. A count that does not fit fails the step-size test.
    const double scaled = h / localSolverStepSize + 0.5;
    const bool countFits = scaled < stepCountLimit && scaled > -stepCountLimit;
    const int n = countFits ? static_cast<int>(scaled) : 0;

    logInfo(inst, "CommunicationStepSize=%.16g, LocalSolverStepSize=%.16g", h,
            localSolverStepSize);

    if (!countFits || h < 0.0 ||
        !(fabs(h - static_cast<double>(n) * localSolverStepSize) <= doStepTolerance)) {
        logError(inst, "Stepsize must be non-negative and divisible by %.16g",
                 localSolverStepSize);
        status = fmi2Error;
    } else if (!(fabs(inst->fmuTime - t) <= doStepTolerance)) {
        // Written so that a NaN communication point or time is rejected too.
        logError(inst, "CurrentCommunicationPoint is not equal to FMU time");
        status = fmi2Error;
    } else {
        inst->fmuTime = t;
        logInfo(inst, "Local solver will do %d steps from t = %.16g.", n, t);
        for (int i = 0; i < n; ++i) localSolverStep();
        inst->fmuTime = inst->fmuTime + h;
    }

    if (inst->functions->stepFinished != nullptr)
        inst->functions->stepFinished(inst->functions->componentEnvironment, status);
    return status;
}

FMI2_EXPORT fmi2Status fmi2Terminate(fmi2Component) { return fmi2OK; }

FMI2_EXPORT fmi2Status fmi2Reset(fmi2Component c) {
    if (c == nullptr) return fmi2Error;
    modelBinding.terminate();
    registerModel(static_cast<FmuInstance*>(c));
    return fmi2OK;
}

}  // extern "C"

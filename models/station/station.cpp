// The station-keeping model's static records, its initialise and its terminate.
#include "station.h"

#include <string.h>

#include "nonfinite.h"

namespace {

// The model record with every reference in place and everything else zero. The record
// starts out this way at load, so that a step run before any initialise finds valid
// references instead of null ones; initialise brings it back to this state.
constexpr StationModel wiredStationModel() {
    StationModel m{};
    m.solver.model = &stationModel;
    m.solver.timeStepKind = &stationModel.timeStepKind;
    m.solver.workVector = &stationModel.workVector;
    m.solver.stepSize = &stationModel.stepSize;
    m.solver.derivativeVectorSlot = &stationModel.derivativeVectorSlot;
    m.solver.modelTimeSlot = &stationModel.modelTimeSlot;
    m.solver.stateVectorSlot = &stationModel.stateVector;
    m.timeStepKind = 1;
    m.workVector = stationModel.derivativeVector;
    m.stateVector = &stationStates;
    m.solver.solverName = "ode1";
    m.modelTimeSlot = &stationModel.modelTime;
    m.stepSize = 0.005;
    return m;
}

}  // namespace

StationModel stationModel = wiredStationModel();
StationInputs stationInputs;
StationOutputs stationOutputs;
StationStates stationStates;
StationWork stationWork;
uint8_t resetTriggerState;
StationSignals stationSignals;

StationParameters stationParameters = {
    0.0,    // yReference
    0.0,    // xReference
    0.0,    // headingOscillationAmplitudeDeg
    0.0,    // positionOscillationAmplitude
    0.0,    // gainFrameAngleDeg
    0.0,    // oscillationDirectionDeg
    0.0,    // dampingGainX
    0.0,    // dampingGainYaw
    0.0,    // dampingGainY
    0.0,    // integralGainX
    0.0,    // integralGainYaw
    0.0,    // integralGainY
    53.36,  // proportionalGainX
    5.449,  // proportionalGainYaw
    53.36,  // proportionalGainY
    10.0,   // headingRateLimitDeg
    1.0,    // positionRateLimit
    200.0,  // oscillationPeriod
    0.0,    // headingReferenceDeg
    {0.0, 0.0, 0.0},
    0.017453292519943295,  // headingDeg
    0.017453292519943295,  // gainFrameAngleDeg
    57.29577951308232,     // dampingGainYaw
    0.017453292519943295,  // yawRateDeg
    57.29577951308232,     // proportionalGainYaw
    0.017453292519943295,  // headingReferenceDeg
    0.017453292519943295,  // oscillationDirectionDeg
    0.017453292519943295,  // headingOscillationAmplitudeDeg
    57.29577951308232,     // integralGainYaw
    0.0,                   // integratorInitialValue
    -1.0,                  // outputGain
};

static_assert(sizeof(StationParameters) == 33 * sizeof(double), "33 parameter doubles");

void stationInitialize() {
    initNonFinite(sizeof(double));

    memset(&stationModel, 0, sizeof stationModel);
    stationModel = wiredStationModel();

    // Inputs set before this call are lost; the parameters keep their values.
    memset(&stationSignals, 0, sizeof stationSignals);
    memset(&stationStates, 0, sizeof stationStates);
    memset(&stationWork, 0, sizeof stationWork);
    memset(&stationInputs, 0, sizeof stationInputs);
    memset(&stationOutputs, 0, sizeof stationOutputs);

    resetTriggerState = 3;

    stationWork.xLimiterLastTime = infValue;
    stationWork.yLimiterLastTime = infValue;
    stationWork.headingLimiterLastTime = infValue;

    for (int k = 0; k < 3; ++k)
        stationWork.previousIntegralGains[k] = stationParameters.changeDetectorSeeds[k];
    for (int k = 0; k < 3; ++k)
        stationStates.errorIntegral[k] = stationParameters.integratorInitialValue;
}

void stationTerminate() {}

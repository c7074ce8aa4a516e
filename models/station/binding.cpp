// Kavrel's model binding: value references 0-6 inputs, 7-9 outputs, 10 the time, 11-29
// the tunable parameters.
#include "model_binding.h"
#include "station.h"

namespace {

double* const valueTable[30] = {
    &stationInputs.positionX,
    &stationInputs.positionY,
    &stationInputs.headingDeg,
    &stationInputs.bodyVelocityX,
    &stationInputs.bodyVelocityY,
    &stationInputs.yawRateDeg,
    &stationInputs.oscillationTime,
    &stationOutputs.bodyCommandX,
    &stationOutputs.bodyCommandY,
    &stationOutputs.yawCommand,
    nullptr,
    &stationParameters.yReference,
    &stationParameters.xReference,
    &stationParameters.headingOscillationAmplitudeDeg,
    &stationParameters.positionOscillationAmplitude,
    &stationParameters.gainFrameAngleDeg,
    &stationParameters.oscillationDirectionDeg,
    &stationParameters.dampingGainX,
    &stationParameters.dampingGainYaw,
    &stationParameters.dampingGainY,
    &stationParameters.integralGainX,
    &stationParameters.integralGainYaw,
    &stationParameters.integralGainY,
    &stationParameters.proportionalGainX,
    &stationParameters.proportionalGainYaw,
    &stationParameters.proportionalGainY,
    &stationParameters.headingRateLimitDeg,
    &stationParameters.positionRateLimit,
    &stationParameters.oscillationPeriod,
    &stationParameters.headingReferenceDeg,
};

}  // namespace

const ModelBinding modelBinding = {
    "{dd9210a4-acb1-408d-813f-3c9e0dfb704a}",
    30,
    7,
    3,
    10,
    &stationModel,
    valueTable,
    stationInitialize,
    stationStep,
    stationTerminate,
};

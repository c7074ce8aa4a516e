// Kavrel's model binding: value references 0-6 inputs, 7-9 outputs, 10 the time, 11-29
// the tunable parameters.
#include "model_binding.h"
#include "station.h"

namespace {

constexpr unsigned firstOutputRef = 7;
constexpr unsigned outputCount = 3;
constexpr unsigned timeRef = 10;

constexpr double* valueTable[] = {
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
constexpr unsigned realRefCount = sizeof valueTable / sizeof valueTable[0];

static_assert(sizeof stationInputs == firstOutputRef * sizeof(double), "one reference per input");
static_assert(sizeof stationOutputs == outputCount * sizeof(double), "one reference per output");
static_assert(timeRef == firstOutputRef + outputCount, "the time follows the outputs");
static_assert(onlyTimeRefIsEmpty(valueTable, timeRef), "a target for every reference but the time");

}  // namespace

const ModelBinding modelBinding = {
    "{dd9210a4-acb1-408d-813f-3c9e0dfb704a}",
    realRefCount,
    firstOutputRef,
    outputCount,
    timeRef,
    &stationModel,
    valueTable,
    stationInitialize,
    stationStep,
    stationTerminate,
};

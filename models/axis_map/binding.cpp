// Quarnet's model binding: value references 0-5 inputs, 6-11 outputs, 12 the time.
#include "axis_map.h"
#include "model_binding.h"

namespace {

constexpr unsigned firstOutputRef = 6;
constexpr unsigned outputCount = 6;
constexpr unsigned timeRef = 12;

constexpr double* valueTable[] = {
    &axisMapInputs[0],  &axisMapInputs[1],  &axisMapInputs[2],  &axisMapInputs[3],
    &axisMapInputs[4],  &axisMapInputs[5],  &axisMapOutputs[0], &axisMapOutputs[1],
    &axisMapOutputs[2], &axisMapOutputs[3], &axisMapOutputs[4], &axisMapOutputs[5],
    nullptr,
};
constexpr unsigned realRefCount = sizeof valueTable / sizeof valueTable[0];

static_assert(sizeof axisMapInputs == firstOutputRef * sizeof(double), "one reference per input");
static_assert(sizeof axisMapOutputs == outputCount * sizeof(double), "one reference per output");
static_assert(timeRef == firstOutputRef + outputCount, "the time follows the outputs");
static_assert(onlyTimeRefIsEmpty(valueTable, timeRef), "a target for every reference but the time");

}  // namespace

const ModelBinding modelBinding = {
    "{5b0d7c3e-91a4-4f62-b8e5-2c6a1f09d3b7}",
    realRefCount,
    firstOutputRef,
    outputCount,
    timeRef,
    &axisMapModel,
    valueTable,
    axisMapInitialize,
    axisMapStep,
    axisMapTerminate,
};

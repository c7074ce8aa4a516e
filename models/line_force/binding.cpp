// Tessit's model binding: value references 0-14 inputs, 15-20 outputs, 21 the time.
#include "line_force.h"
#include "model_binding.h"

namespace {

constexpr unsigned firstOutputRef = 15;
constexpr unsigned outputCount = 6;
constexpr unsigned timeRef = 21;

constexpr double* valueTable[] = {
    &lineForceInputs.platformPosition[0],
    &lineForceInputs.platformPosition[1],
    &lineForceInputs.platformPosition[2],
    &lineForceInputs.platformAttitudeDeg[0],
    &lineForceInputs.platformAttitudeDeg[1],
    &lineForceInputs.platformAttitudeDeg[2],
    &lineForceInputs.lineTension[0],
    &lineForceInputs.lineTension[1],
    &lineForceInputs.lineTension[2],
    &lineForceInputs.lineTension[3],
    &lineForceInputs.lineTension[4],
    &lineForceInputs.lineTension[5],
    &lineForceInputs.lineTension[6],
    &lineForceInputs.lineTension[7],
    &lineForceInputs.lineTension[8],
    &lineForceOutputs.platformForceMoment[0],
    &lineForceOutputs.platformForceMoment[1],
    &lineForceOutputs.platformForceMoment[2],
    &lineForceOutputs.platformForceMoment[3],
    &lineForceOutputs.platformForceMoment[4],
    &lineForceOutputs.platformForceMoment[5],
    nullptr,
};
constexpr unsigned realRefCount = sizeof valueTable / sizeof valueTable[0];

static_assert(sizeof lineForceInputs == firstOutputRef * sizeof(double), "one reference per input");
static_assert(sizeof lineForceOutputs == outputCount * sizeof(double), "one reference per output");
static_assert(timeRef == firstOutputRef + outputCount, "the time follows the outputs");
static_assert(onlyTimeRefIsEmpty(valueTable, timeRef), "a target for every reference but the time");

}  // namespace

const ModelBinding modelBinding = {
    "{fecc08f5-8588-457a-bb7d-22f3dc14aaa9}",
    realRefCount,
    firstOutputRef,
    outputCount,
    timeRef,
    &lineForceModel,
    valueTable,
    lineForceInitialize,
    lineForceStep,
    lineForceTerminate,
};

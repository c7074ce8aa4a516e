// Dorvane's model binding: value references 0-18 inputs, 19-28 outputs, 29 the time,
// 30-33 the tunable parameters.
#include "model_binding.h"
#include "six_line.h"

namespace {

constexpr SixLineInputs& in = sixLineInputs;
constexpr SixLineOutputs& out = sixLineOutputs;
constexpr SixLineParameters& par = sixLineParameters;

constexpr unsigned firstOutputRef = 19;
constexpr unsigned outputCount = 10;
constexpr unsigned timeRef = 29;

constexpr double* valueTable[] = {
    &in.platformPosition[0],    &in.platformPosition[1],    &in.platformPosition[2],
    &in.platformAttitudeDeg[0], &in.platformAttitudeDeg[1], &in.platformAttitudeDeg[2],
    &in.lineTension[0],         &in.lineTension[1],         &in.lineTension[2],
    &in.lineTension[3],         &in.lineTension[4],         &in.lineTension[5],
    &in.tensionSetpoint[0],     &in.tensionSetpoint[1],     &in.tensionSetpoint[2],
    &in.tensionSetpoint[3],     &in.tensionSetpoint[4],     &in.tensionSetpoint[5],
    &in.activationSignal,
    &out.lineCommand[0],        &out.lineCommand[1],        &out.lineCommand[2],
    &out.lineCommand[3],        &out.lineCommand[4],        &out.lineCommand[5],
    &out.stretchTerm0,          &out.geometryTerm0,         &out.integralTerm0,
    &out.modelTimeOutput,
    nullptr,
    &par.activationThreshold,   &par.tensionIntegralGain,   &par.lineStiffness,
    &par.drumRadius,
};
constexpr unsigned realRefCount = sizeof valueTable / sizeof valueTable[0];

static_assert(sizeof sixLineInputs == firstOutputRef * sizeof(double), "one reference per input");
static_assert(sizeof sixLineOutputs == outputCount * sizeof(double), "one reference per output");
static_assert(timeRef == firstOutputRef + outputCount, "the time follows the outputs");
static_assert(onlyTimeRefIsEmpty(valueTable, timeRef), "a target for every reference but the time");

}  // namespace

const ModelBinding modelBinding = {
    "{f3946428-c187-4ad1-aebd-f797b9f5dca1}",
    realRefCount,
    firstOutputRef,
    outputCount,
    timeRef,
    &sixLineModel,
    valueTable,
    sixLineInitialize,
    sixLineStep,
    sixLineTerminate,
};

// Quarnet's model binding: value references 0-5 inputs, 6-11 outputs, 12 the time.
#include "axis_map.h"
#include "model_binding.h"

namespace {

double* const valueTable[13] = {
    &axisMapInputs[0],  &axisMapInputs[1],  &axisMapInputs[2],  &axisMapInputs[3],
    &axisMapInputs[4],  &axisMapInputs[5],  &axisMapOutputs[0], &axisMapOutputs[1],
    &axisMapOutputs[2], &axisMapOutputs[3], &axisMapOutputs[4], &axisMapOutputs[5],
    nullptr,
};

}  // namespace

const ModelBinding modelBinding = {
    "{5b0d7c3e-91a4-4f62-b8e5-2c6a1f09d3b7}",
    13,
    6,
    6,
    12,
    &axisMapModel,
    valueTable,
    axisMapInitialize,
    axisMapStep,
    axisMapTerminate,
};

#include "axis_map.h"

#include <string.h>

#include "model_binding.h"

// A half-turn about the second axis of each three-component vector.
AxisMapParameters axisMapParameters = {
    {-1.0, 1.0, -1.0, -1.0, 1.0, -1.0},
    {0.0, 0.0, 0.0, 0.0, 0.0, 0.0},
};
double axisMapInputs[6];
double axisMapOutputs[6];
AxisMapModel axisMapModel;

void axisMapInitialize() {
    memset(&axisMapModel, 0, sizeof axisMapModel);
    memset(axisMapInputs, 0, sizeof axisMapInputs);
    memset(axisMapOutputs, 0, sizeof axisMapOutputs);
}

void axisMapStep() {
    for (int k = 0; k < 6; ++k) {
        // Product and sum stay separate: the zero offset turns -0.0 products into +0.0.
        double product = axisMapParameters.gain[k] * axisMapInputs[k];
        axisMapOutputs[k] = product + axisMapParameters.offset[k];
    }
    storeOutputBuffer();
}

void axisMapTerminate() {}

// Axis mapping model: six channels, each output a fixed gain times its input plus an offset.
#ifndef AXIS_MAP_H
#define AXIS_MAP_H

struct AxisMapParameters {
    double gain[6];
    double offset[6];
};

struct AxisMapModel {
    void* reserved;  // nothing sets it; cleared by initialise
};

extern AxisMapParameters axisMapParameters;
extern double axisMapInputs[6];
extern double axisMapOutputs[6];
extern AxisMapModel axisMapModel;

void axisMapInitialize();
void axisMapStep();
void axisMapTerminate();

#endif

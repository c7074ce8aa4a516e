// Six-line controller: per line a drum command in degrees from the platform pose, the line
// tensions, their setpoints and an activation signal.
#ifndef SIX_LINE_H
#define SIX_LINE_H

#include <stdint.h>

#include "platform_geometry.h"

struct SixLineModel;

struct SixLineSolverRecord {
    SixLineModel* model;
    int32_t* timeStepKind;
    const char* solverName;
    double* stepSize;
    double** modelTimeSlot;
};

// The real-time model record, wired from load and again by initialise; the step reaches
// its clock through modelTimeSlot.
struct SixLineModel {
    SixLineSolverRecord solver;
    uint32_t majorStepCount[2];  // low word first
    double stepSize;
    int32_t timeStepKind;        // 1: major step
    double* modelTimeSlot;
    double modelTime;
};

struct SixLineInputs {
    double platformPosition[3];     // x, y, z of the body origin, earth frame
    double platformAttitudeDeg[3];  // roll, pitch, yaw in degrees
    double lineTension[6];
    double tensionSetpoint[6];
    double activationSignal;
};

struct SixLineOutputs {
    double lineCommand[6];  // degrees of drum rotation
    double stretchTerm0;
    double geometryTerm0;
    double integralTerm0;
    double modelTimeOutput;
};

struct SixLineStates {
    double stretchAccumulator[6];
    double tensionIntegral[6];
    double referenceLength[6];
    double previousTension[6];
};

// 55 doubles. The first three and drumRadius are tunable; nothing writes the others.
struct SixLineParameters {
    double activationThreshold;
    double tensionIntegralGain;
    double lineStiffness;
    PlatformLineTables lineTables;  // attachmentPoints[18], then anchorPoints[18]
    double drumRadius;
    double inactiveIncrement;
    double stretchUpdateGain;
    double stretchAccumulatorInitial;
    double stretchRadToDeg;
    double integralSampleTime;
    double tensionIntegralInitial;
    double integralRadToDeg;
    double referenceLengthInitial;
    double rollDegToRad;
    double pitchDegToRad;
    double yawDegToRad;
    double holdThreshold;
    double geometryRadToDeg;
    double previousTensionInitial;
    double incrementThreshold;
};

extern SixLineParameters sixLineParameters;
extern SixLineInputs sixLineInputs;
extern SixLineOutputs sixLineOutputs;
extern SixLineStates sixLineStates;
extern SixLineModel sixLineModel;

void sixLineInitialize();
void sixLineStep();
void sixLineTerminate();

#endif

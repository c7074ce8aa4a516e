// Station-keeping controller: proportional, integral and damping action on the error between
// the measured position and heading and their rate-limited references, in a turned gain frame.
#ifndef STATION_H
#define STATION_H

#include <stdint.h>

struct StationModel;

struct StationStates {
    double errorIntegral[3];
};

// Everything the Euler update reaches, it reaches through this record.
struct SolverRecord {
    StationModel* model;
    int32_t* timeStepKind;
    double** workVector;
    const char* solverName;
    double nextStepTime;  // model time at the end of the step under way
    const double* stepSize;
    double** derivativeVectorSlot;
    double** modelTimeSlot;
    StationStates** stateVectorSlot;
};

struct StationModel {
    SolverRecord solver;
    StationStates* stateVector;
    double* derivativeVectorSlot;
    double derivativeVector[3];
    double* workVector;
    uint32_t majorStepCountLow;  // completed steps, low word first
    uint32_t majorStepCountHigh;
    double stepSize;
    int32_t timeStepKind;  // 1 major, 0 minor (only while the derivatives are evaluated)
    double* modelTimeSlot;
    double modelTime;
};

struct StationInputs {
    double positionX;
    double positionY;
    double headingDeg;
    double bodyVelocityX;
    double bodyVelocityY;
    double yawRateDeg;
    double oscillationTime;
};

struct StationOutputs {
    double bodyCommandX;
    double bodyCommandY;
    double yawCommand;
};

// Memories between steps. A last time of +infinity means the limiter has no previous sample.
struct StationWork {
    double previousIntegralGains[3];  // x, y, yaw as at the end of the previous step
    double xLimiterLastOutput;
    double xLimiterLastTime;
    double yLimiterLastOutput;
    double yLimiterLastTime;
    double headingLimiterLastOutput;
    double headingLimiterLastTime;
};

// Values of a step kept in the record. Matrices are 3x3, column by column: (i, j) at i + 3j.
struct StationSignals {
    double gainFrameRotationT[9];
    double headingReferenceRad;
    double oscillationDirectionRad;
    double headingAmplitudeRad;
    double limitedReference[3];  // x, y, heading in radians
    double rotatedError[3];
    uint8_t integralGainsChanged;
    double integralGains[9];
    double dampingGains[9];
    double gainFrameRotation[9];
    double headingRotation[9];
    double proportionalGains[9];
};

// Only fmi2SetReal writes these (value references 11 to 29 reach the first 19); they keep
// their values across initialise, reset and new instances until the library is loaded again.
struct StationParameters {
    double yReference;
    double xReference;
    double headingOscillationAmplitudeDeg;
    double positionOscillationAmplitude;
    double gainFrameAngleDeg;
    double oscillationDirectionDeg;
    double dampingGainX;
    double dampingGainYaw;
    double dampingGainY;
    double integralGainX;
    double integralGainYaw;
    double integralGainY;
    double proportionalGainX;
    double proportionalGainYaw;
    double proportionalGainY;
    double headingRateLimitDeg;
    double positionRateLimit;
    double oscillationPeriod;
    double headingReferenceDeg;
    // Not reachable by value reference; they never change.
    double changeDetectorSeeds[3];
    double headingDegToRad;
    double gainFrameAngleDegToRad;
    double dampingGainYawPerRad;
    double yawRateDegToRad;
    double proportionalGainYawPerRad;
    double headingReferenceDegToRad;
    double oscillationDirectionDegToRad;
    double headingOscillationAmplitudeDegToRad;
    double integralGainYawPerRad;
    double integratorInitialValue;
    double outputGain;
};

extern StationModel stationModel;
extern StationInputs stationInputs;
extern StationOutputs stationOutputs;
extern StationStates stationStates;
extern StationWork stationWork;
extern uint8_t resetTriggerState;  // previous integralGainsChanged, or 3 after initialise
extern StationSignals stationSignals;
extern StationParameters stationParameters;

void stationInitialize();
void stationStep();
void stationTerminate();

void stationRotationZ(double angle, double* matrix);
void stationDiagonalMatrix(double d0, double d1, double d2, double* matrix);
void stationDerivatives();
void stationEulerUpdate(SolverRecord* solver);

#endif

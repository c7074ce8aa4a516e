#include "six_line.h"

#include <stddef.h>
#include <string.h>

#include "model_binding.h"
#include "nonfinite.h"

namespace {

// The double nearest to 180/pi.
const double radToDeg = 57.29577951308232;

}  // namespace

// The tables and degree factors come from the shared geometry, so each value is written
// once; everything here is constant data at load, no code runs to set it.
SixLineParameters sixLineParameters = {
    0.01,                // activationThreshold
    0.01,                // tensionIntegralGain
    140.0,               // lineStiffness
    platformLineTables,  // attachmentPoints, anchorPoints
    0.05,                // drumRadius
    0.0,                 // inactiveIncrement
    1.0,                 // stretchUpdateGain
    0.0,                 // stretchAccumulatorInitial
    radToDeg,            // stretchRadToDeg
    0.005,               // integralSampleTime
    0.0,                 // tensionIntegralInitial
    radToDeg,            // integralRadToDeg
    0.0,                 // referenceLengthInitial
    platformDegToRad,    // rollDegToRad
    platformDegToRad,    // pitchDegToRad
    platformDegToRad,    // yawDegToRad
    0.5,                 // holdThreshold
    radToDeg,            // geometryRadToDeg
    0.0,                 // previousTensionInitial
    0.5,                 // incrementThreshold
};
SixLineInputs sixLineInputs;
SixLineOutputs sixLineOutputs;
SixLineStates sixLineStates;

namespace {

// The model record with its references in place and everything else zero. The record
// starts out this way at load, so that a step run before any initialise finds its clock
// instead of a null reference; initialise brings it back to this state.
constexpr SixLineModel wiredSixLineModel() {
    SixLineModel m{};
    m.solver.model = &sixLineModel;
    m.solver.timeStepKind = &sixLineModel.timeStepKind;
    m.solver.solverName = "FixedStepDiscrete";
    m.solver.stepSize = &sixLineModel.stepSize;
    m.solver.modelTimeSlot = &sixLineModel.modelTimeSlot;
    m.timeStepKind = 1;
    m.modelTimeSlot = &sixLineModel.modelTime;
    m.stepSize = 0.005;
    return m;
}

}  // namespace

SixLineModel sixLineModel = wiredSixLineModel();

static_assert(sizeof(SixLineParameters) == 55 * sizeof(double), "55 parameter doubles");
static_assert(offsetof(SixLineParameters, drumRadius) == 39 * sizeof(double),
              "the tables sit between lineStiffness and drumRadius");
static_assert(sizeof(SixLineInputs) == 19 * sizeof(double), "19 inputs");
static_assert(sizeof(SixLineOutputs) == 10 * sizeof(double), "10 outputs");
static_assert(sizeof(SixLineStates) == 24 * sizeof(double), "four states per line");

void sixLineInitialize() {
    initNonFinite(8);
    memset(&sixLineModel, 0, sizeof sixLineModel);
    sixLineModel = wiredSixLineModel();
    memset(&sixLineStates, 0, sizeof sixLineStates);
    memset(&sixLineInputs, 0, sizeof sixLineInputs);
    memset(&sixLineOutputs, 0, sizeof sixLineOutputs);
    const SixLineParameters& p = sixLineParameters;
    SixLineStates& s = sixLineStates;
    for (int i = 0; i < 6; ++i) {
        s.stretchAccumulator[i] = p.stretchAccumulatorInitial;
        s.tensionIntegral[i] = p.tensionIntegralInitial;
        s.referenceLength[i] = p.referenceLengthInitial;
        s.previousTension[i] = p.previousTensionInitial;
    }
}

// Every product and sum is its own operation in the grouping written: it fixes the last
// bits of the commands.
void sixLineStep() {
    const SixLineParameters& p = sixLineParameters;
    const SixLineInputs& in = sixLineInputs;
    SixLineOutputs& out = sixLineOutputs;
    SixLineStates& s = sixLineStates;
    const double* attachment = p.lineTables.attachmentPoints;
    const double* anchor = p.lineTables.anchorPoints;

    double stretchTerm[6];
    double integralTerm[6];
    double heldLength[6];
    double geometryTerm[6];
    double tensionIncrement[6];
    double tensionError[6];
    double stretchIncrement[6];
    double integralRate[6];
    bool errorIsNaN[6];
    double rotation[9];
    double lineVector[6][3];
    double lineLength[6];

    // Output phase.
    const double inverseDrumRadius = 1.0 / p.drumRadius;
    for (int i = 0; i < 6; ++i)
        stretchTerm[i] = (inverseDrumRadius * s.stretchAccumulator[i]) * p.stretchRadToDeg;

    // Equality is active, and so is a NaN on either side: the comparison then fails.
    const int active = p.activationThreshold > in.activationSignal ? 0 : 1;
    const double activeValue = active;

    const double phi = p.rollDegToRad * in.platformAttitudeDeg[0];
    const double theta = p.pitchDegToRad * in.platformAttitudeDeg[1];
    const double psi = p.yawDegToRad * in.platformAttitudeDeg[2];

    for (int i = 0; i < 6; ++i)
        integralTerm[i] = (inverseDrumRadius * s.tensionIntegral[i]) * p.integralRadToDeg;

    attitudeRotationFromRadians(phi, theta, psi, rotation);
    for (int c = 0; c < 3; ++c)
        for (int i = 0; i < 6; ++i)
            lineVector[i][c] = lineVectorComponent(rotation, in.platformPosition,
                                                   &attachment[3 * i], &anchor[3 * i], c);
    for (int i = 0; i < 6; ++i) lineLength[i] = ::lineLength(lineVector[i]);

    for (int i = 0; i < 6; ++i) {
        heldLength[i] = activeValue > p.holdThreshold ? s.referenceLength[i] : lineLength[i];
        geometryTerm[i] =
            ((heldLength[i] - lineLength[i]) * inverseDrumRadius) * p.geometryRadToDeg;
        out.lineCommand[i] = (stretchTerm[i] + integralTerm[i]) + geometryTerm[i];
    }
    out.stretchTerm0 = stretchTerm[0];
    out.geometryTerm0 = geometryTerm[0];
    out.integralTerm0 = integralTerm[0];

    if (activeValue > p.incrementThreshold) {
        for (int i = 0; i < 6; ++i)
            tensionIncrement[i] = in.lineTension[i] - s.previousTension[i];
    } else {
        for (int i = 0; i < 6; ++i) tensionIncrement[i] = p.inactiveIncrement;
    }
    for (int i = 0; i < 6; ++i) tensionError[i] = in.lineTension[i] - in.tensionSetpoint[i];
    for (int i = 0; i < 6; ++i) {
        stretchIncrement[i] = tensionIncrement[i] / p.lineStiffness;
        errorIsNaN[i] = isNaN(tensionError[i]);
    }
    // Only the tension error is cleaned: a NaN tension or setpoint leaves the integral be.
    // The test comes before the product, so an infinite error while inactive still gives
    // infinity times zero.
    for (int i = 0; i < 6; ++i)
        if (errorIsNaN[i]) tensionError[i] = 0.0;
    for (int i = 0; i < 6; ++i)
        integralRate[i] = (tensionError[i] * activeValue) * p.tensionIntegralGain;

    out.modelTimeOutput = *sixLineModel.modelTimeSlot;
    storeOutputBuffer();

    // Update phase.
    for (int i = 0; i < 6; ++i) {
        s.stretchAccumulator[i] = (p.stretchUpdateGain * stretchIncrement[i]) +
                                  s.stretchAccumulator[i];
        s.tensionIntegral[i] = (p.integralSampleTime * integralRate[i]) + s.tensionIntegral[i];
        s.referenceLength[i] = heldLength[i];
    }
    for (int i = 0; i < 6; ++i) s.previousTension[i] = in.lineTension[i];

    // The clock is recomputed from the step count rather than summed, so it does not drift.
    SixLineModel& m = sixLineModel;
    if (++m.majorStepCount[0] == 0) ++m.majorStepCount[1];
    *m.modelTimeSlot = (static_cast<double>(m.majorStepCount[0]) * m.stepSize) +
                       ((static_cast<double>(m.majorStepCount[1]) * m.stepSize) * 4294967296.0);
}

void sixLineTerminate() {}

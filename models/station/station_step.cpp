// One fixed step of the station-keeping model: output phase, output hold, memories,
// explicit Euler update of the error integral and the clock.
#include <math.h>

#include "model_binding.h"
#include "nonfinite.h"
#include "station.h"

namespace {

// Matrices are column by column: element (r, c) at r + 3c. Each product is a full 3x3
// product, zero entries included, summed as (m0 x0 + m1 x1) + m2 x2.
void multiply(const double* m, const double* x, double* y) {
    for (int r = 0; r < 3; ++r) y[r] = (m[r] * x[0] + m[r + 3] * x[1]) + m[r + 6] * x[2];
}

void multiplyTransposed(const double* m, const double* x, double* y) {
    for (int r = 0; r < 3; ++r)
        y[r] = (m[3 * r] * x[0] + m[3 * r + 1] * x[1]) + m[3 * r + 2] * x[2];
}

void transpose(const double* m, double* t) {
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) t[r + 3 * c] = m[c + 3 * r];
}

// Both tests are strict, so a change of exactly rise or fall passes unchanged. A last time
// of +infinity marks a limiter without a previous sample: it passes its input.
double rateLimit(double u, double lastOutput, double lastTime, double rise, double fall) {
    if (lastTime == infValue) return u;
    double d = u - lastOutput;
    if (d > rise) return lastOutput + rise;
    if (fall > d) return lastOutput + fall;
    return u;
}

}  // namespace

void stationRotationZ(double angle, double* matrix) {
    double c = cos(angle);
    double s = sin(angle);
    matrix[0] = c;
    matrix[1] = s;
    matrix[2] = 0.0;
    matrix[3] = -s;
    matrix[4] = c;
    matrix[5] = 0.0;
    matrix[6] = 0.0;
    matrix[7] = 0.0;
    matrix[8] = 1.0;
}

void stationDiagonalMatrix(double d0, double d1, double d2, double* matrix) {
    for (int k = 0; k < 9; ++k) matrix[k] = 0.0;
    matrix[0] = d0;
    matrix[4] = d1;
    matrix[8] = d2;
}

void stationDerivatives() {
    double* derivatives = stationModel.derivativeVectorSlot;
    for (int k = 0; k < 3; ++k) derivatives[k] = stationSignals.rotatedError[k];
}

void stationEulerUpdate(SolverRecord* solver) {
    double tEnd = solver->nextStepTime;
    double h = *solver->stepSize;
    double* x = (*solver->stateVectorSlot)->errorIntegral;
    double* f = *solver->workVector;
    const int stateCount = 3;

    *solver->timeStepKind = 0;
    *solver->derivativeVectorSlot = f;
    stationDerivatives();
    **solver->modelTimeSlot = tEnd;
    for (int k = 0; k < stateCount; ++k) x[k] = h * f[k] + x[k];
    *solver->timeStepKind = 1;
}

void stationStep() {
    StationModel& m = stationModel;
    StationSignals& sig = stationSignals;
    const StationParameters& p = stationParameters;
    const StationInputs& in = stationInputs;
    const double t = *m.modelTimeSlot;

    // End time of this step, (count + 1) x step size, from the two words of the count.
    if (m.majorStepCountLow == 0xFFFFFFFFu) {
        m.solver.nextStepTime =
            static_cast<double>(static_cast<uint32_t>(m.majorStepCountHigh + 1u)) * m.stepSize *
            4294967296.0;
    } else {
        m.solver.nextStepTime =
            static_cast<double>(static_cast<uint32_t>(m.majorStepCountLow + 1u)) * m.stepSize +
            static_cast<double>(m.majorStepCountHigh) * m.stepSize * 4294967296.0;
    }

    const double heading = p.headingDegToRad * in.headingDeg;
    stationRotationZ(heading, sig.headingRotation);

    // Recomputed at every step, so that a parameter set between steps acts at once.
    stationRotationZ(p.gainFrameAngleDegToRad * p.gainFrameAngleDeg, sig.gainFrameRotation);
    stationDiagonalMatrix(p.dampingGainX, p.dampingGainY,
                          p.dampingGainYawPerRad * p.dampingGainYaw, sig.dampingGains);
    transpose(sig.gainFrameRotation, sig.gainFrameRotationT);
    stationDiagonalMatrix(p.proportionalGainX, p.proportionalGainY,
                          p.proportionalGainYawPerRad * p.proportionalGainYaw,
                          sig.proportionalGains);
    sig.headingReferenceRad = p.headingReferenceDegToRad * p.headingReferenceDeg;
    sig.oscillationDirectionRad = p.oscillationDirectionDegToRad * p.oscillationDirectionDeg;
    sig.headingAmplitudeRad =
        p.headingOscillationAmplitudeDegToRad * p.headingOscillationAmplitudeDeg;

    // References before the rate limiters; the oscillation is off for periods of magnitude
    // 0.01 and below (and for a NaN period).
    double s = 0.0;
    double ax = 0.0;
    double ay = 0.0;
    if (fabs(p.oscillationPeriod) > 0.01) {
        s = sin(6.283185307179586 / p.oscillationPeriod * in.oscillationTime);
        ax = cos(sig.oscillationDirectionRad) * p.positionOscillationAmplitude * s;
        ay = sin(sig.oscillationDirectionRad) * p.positionOscillationAmplitude * s;
        s = s * sig.headingAmplitudeRad;
    }
    const double xRef = ax + p.xReference;
    const double yRef = ay + p.yReference;
    const double headingRef = sig.headingReferenceRad + s;

    StationWork& w = stationWork;
    double elapsed = t - w.xLimiterLastTime;
    sig.limitedReference[0] =
        rateLimit(xRef, w.xLimiterLastOutput, w.xLimiterLastTime, elapsed * p.positionRateLimit,
                  -p.positionRateLimit * elapsed);
    elapsed = t - w.yLimiterLastTime;
    sig.limitedReference[1] =
        rateLimit(yRef, w.yLimiterLastOutput, w.yLimiterLastTime, elapsed * p.positionRateLimit,
                  -p.positionRateLimit * elapsed);
    elapsed = t - w.headingLimiterLastTime;
    sig.limitedReference[2] = rateLimit(
        headingRef, w.headingLimiterLastOutput, w.headingLimiterLastTime,
        p.headingRateLimitDeg * 3.141592653589793 / 180.0 * elapsed,
        -p.headingRateLimitDeg * 3.141592653589793 / 180.0 * elapsed);

    const double error[3] = {in.positionX - sig.limitedReference[0],
                             in.positionY - sig.limitedReference[1],
                             heading - sig.limitedReference[2]};
    multiply(sig.gainFrameRotationT, error, sig.rotatedError);

    stationDiagonalMatrix(p.integralGainX, p.integralGainY,
                          p.integralGainYawPerRad * p.integralGainYaw, sig.integralGains);
    sig.integralGainsChanged = (p.integralGainX == w.previousIntegralGains[0] &&
                                p.integralGainY == w.previousIntegralGains[1] &&
                                p.integralGainYaw == w.previousIntegralGains[2])
                                   ? 0
                                   : 1;

    // The integrator restarts on a rising edge of the change flag only, before the outputs,
    // so this step's integral term already uses the restarted states.
    const bool resetIntegrator = sig.integralGainsChanged == 1 && resetTriggerState != 1;
    resetTriggerState = sig.integralGainsChanged;
    if (resetIntegrator)
        for (int k = 0; k < 3; ++k)
            stationStates.errorIntegral[k] = p.integratorInitialValue;

    const double bodyVelocity[3] = {in.bodyVelocityX, in.bodyVelocityY,
                                    p.yawRateDegToRad * in.yawRateDeg};
    double a1[3], a2[3], damping[3], proportional[3], integral[3], tau[3], b1[3], b2[3];
    multiply(sig.headingRotation, bodyVelocity, a1);
    multiply(sig.gainFrameRotationT, a1, a2);
    multiply(sig.dampingGains, a2, damping);
    multiply(sig.proportionalGains, sig.rotatedError, proportional);
    multiply(sig.integralGains, stationStates.errorIntegral, integral);
    for (int k = 0; k < 3; ++k) tau[k] = integral[k] + (damping[k] + proportional[k]);
    multiply(sig.gainFrameRotation, tau, b1);
    multiplyTransposed(sig.headingRotation, b1, b2);
    stationOutputs.bodyCommandX = p.outputGain * b2[0];
    stationOutputs.bodyCommandY = p.outputGain * b2[1];
    stationOutputs.yawCommand = p.outputGain * b2[2];

    storeOutputBuffer();

    w.xLimiterLastOutput = sig.limitedReference[0];
    w.yLimiterLastOutput = sig.limitedReference[1];
    w.headingLimiterLastOutput = sig.limitedReference[2];
    w.xLimiterLastTime = t;
    w.yLimiterLastTime = t;
    w.headingLimiterLastTime = t;
    w.previousIntegralGains[0] = p.integralGainX;
    w.previousIntegralGains[1] = p.integralGainY;
    w.previousIntegralGains[2] = p.integralGainYaw;

    stationEulerUpdate(&m.solver);

    m.majorStepCountLow += 1u;
    if (m.majorStepCountLow == 0u) m.majorStepCountHigh += 1u;
    *m.modelTimeSlot = m.solver.nextStepTime;
}

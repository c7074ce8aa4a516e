// The station-keeping model called directly: its clock and step count, the rate limiters,
// the oscillation term and the integrator restarts.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "bits.h"
#include "station.h"

namespace {

const double inf = std::numeric_limits<double>::infinity();

// The model's records are process-wide: every case starts from an initialise and gives the
// parameters back as it found them.
struct StationModelTest : ::testing::Test {
    StationParameters saved = stationParameters;
    void SetUp() override { stationInitialize(); }
    void TearDown() override { stationParameters = saved; }
    const double* limited() const { return stationSignals.limitedReference; }
};

TEST_F(StationModelTest, InitialiseLeavesTheRecordReadyForAStep) {
    stationInputs.positionX = 5.0;
    stationStep();
    stationInitialize();
    EXPECT_EQ(stationModel.solver.model, &stationModel);
    EXPECT_STREQ(stationModel.solver.solverName, "ode1");
    EXPECT_SAME_BITS(0.005, stationModel.stepSize);
    EXPECT_EQ(stationModel.timeStepKind, 1);
    EXPECT_EQ(stationModel.majorStepCountLow, 0u);
    EXPECT_EQ(stationModel.majorStepCountHigh, 0u);
    EXPECT_SAME_BITS(0.0, stationModel.modelTime);
    EXPECT_SAME_BITS(0.0, stationModel.solver.nextStepTime);
    EXPECT_EQ(resetTriggerState, 3);
    EXPECT_SAME_BITS(inf, stationWork.xLimiterLastTime);
    EXPECT_SAME_BITS(inf, stationWork.yLimiterLastTime);
    EXPECT_SAME_BITS(inf, stationWork.headingLimiterLastTime);
    EXPECT_SAME_BITS(0.0, stationWork.xLimiterLastOutput);
    for (int k = 0; k < 3; ++k) {
        EXPECT_SAME_BITS(0.0, stationStates.errorIntegral[k]);
        EXPECT_SAME_BITS(0.0, stationWork.previousIntegralGains[k]);
        EXPECT_SAME_BITS(0.0, stationSignals.rotatedError[k]);
    }
    EXPECT_SAME_BITS(0.0, stationInputs.positionX);
    EXPECT_SAME_BITS(0.0, stationOutputs.bodyCommandX);
}

TEST_F(StationModelTest, FirstStepIntegratesTheErrorAndAdvancesTheClock) {
    stationInputs.positionX = 1.0;
    stationStep();
    EXPECT_SAME_BITS(-53.36, stationOutputs.bodyCommandX);
    EXPECT_SAME_BITS(0.005, stationStates.errorIntegral[0]);
    EXPECT_SAME_BITS(0.0, stationStates.errorIntegral[1]);
    EXPECT_SAME_BITS(0.0, stationStates.errorIntegral[2]);
    EXPECT_SAME_BITS(0.005, stationModel.modelTime);
    EXPECT_EQ(stationModel.majorStepCountLow, 1u);
    EXPECT_EQ(stationModel.timeStepKind, 1);
    EXPECT_EQ(stationModel.derivativeVectorSlot, stationModel.derivativeVector);
    EXPECT_SAME_BITS(1.0, stationModel.derivativeVector[0]);
}

// The clock comes from the step count, not from adding up steps.
TEST_F(StationModelTest, ClockIsTheStepCountTimesTheStepSize) {
    for (int k = 1; k <= 200; ++k) {
        stationStep();
        ASSERT_SAME_BITS(static_cast<double>(k) * 0.005, stationModel.modelTime) << "step " << k;
    }
}

TEST_F(StationModelTest, StepCountCarriesIntoTheHighWord) {
    const struct {
        uint32_t low, high;
        double nextTime;  // formed from the words as the count requires
        uint32_t lowAfter, highAfter;
    } cases[] = {
        {0xFFFFFFFEu, 0u, 4294967295.0 * 0.005 + 0.0 * 0.005 * 4294967296.0, 0xFFFFFFFFu, 0u},
        {0xFFFFFFFFu, 0u, 1.0 * 0.005 * 4294967296.0, 0u, 1u},
        {0u, 1u, 1.0 * 0.005 + 1.0 * 0.005 * 4294967296.0, 1u, 1u},
        {0xFFFFFFFFu, 6u, 7.0 * 0.005 * 4294967296.0, 0u, 7u},
    };
    for (const auto& c : cases) {
        stationInitialize();
        stationModel.majorStepCountLow = c.low;
        stationModel.majorStepCountHigh = c.high;
        stationStep();
        SCOPED_TRACE(c.low);
        EXPECT_SAME_BITS(c.nextTime, stationModel.solver.nextStepTime);
        EXPECT_SAME_BITS(c.nextTime, stationModel.modelTime);
        EXPECT_EQ(stationModel.majorStepCountLow, c.lowAfter);
        EXPECT_EQ(stationModel.majorStepCountHigh, c.highAfter);
        const double count = c.high * 4294967296.0 + c.low + 1.0;
        EXPECT_TRUE(support::withinUlps(count * 0.005, c.nextTime, 1));
    }
}

// From 0 to 10 at the default rate of 1 per unit of model time: each step adds the elapsed
// model time exactly, until the last step that reaches 10.0 itself.
TEST_F(StationModelTest, PositionReferenceRampsAtTheRateLimit) {
    stationStep();
    stationParameters.xReference = 10.0;
    stationParameters.yReference = -10.0;
    double expected = 0.0;
    int steps = 0;
    for (int k = 1; expected != 10.0; ++k) {
        ASSERT_LT(k, 3000);
        const double t = k * 0.005, last = (k - 1) * 0.005;
        const double rise = (t - last) * 1.0;
        expected = 10.0 - expected > rise ? expected + rise : 10.0;
        stationStep();
        ASSERT_SAME_BITS(expected, limited()[0]) << "step " << k;
        ASSERT_SAME_BITS(-expected, limited()[1]) << "step " << k;
        steps = k;
    }
    EXPECT_NEAR(steps, 2000, 1);
    stationStep();
    EXPECT_SAME_BITS(10.0, limited()[0]);
}

TEST_F(StationModelTest, HeadingReferenceRampsAtItsRateLimit) {
    stationStep();
    stationParameters.headingReferenceDeg = 1.0;
    stationStep();
    const double rise = 10.0 * 3.141592653589793 / 180.0 * (0.005 - 0.0);
    EXPECT_SAME_BITS(0.0 + rise, limited()[2]);
    stationParameters.headingReferenceDeg = -1.0;
    stationStep();
    const double fall = -10.0 * 3.141592653589793 / 180.0 * (0.01 - 0.005);
    EXPECT_SAME_BITS(rise + fall, limited()[2]);
}

// After a first step at (0.002, 0.002), rate 5: each of these changes equals rise or fall
// exactly (u - L == bound), yet L + bound would round away from u, so only a strict test
// passes u through. One ulp further the limiter holds to L + bound.
TEST_F(StationModelTest, ChangeOfExactlyTheBoundPassesUnlimited) {
    const struct {
        double u;
        bool passes;
    } cases[] = {
        {0.027, true},
        {std::nextafter(0.027, 1.0), false},
        {-0.023000000000000003, true},
        {std::nextafter(-0.023000000000000003, -1.0), false},
    };
    for (const auto& c : cases) {
        stationInitialize();
        stationParameters.positionRateLimit = 5.0;
        stationParameters.xReference = 0.002;
        stationStep();
        stationParameters.xReference = c.u;
        stationStep();
        const double rise = (0.005 - 0.0) * 5.0, fall = -5.0 * (0.005 - 0.0);
        const double bound = c.u > 0.002 ? rise : fall;
        if (c.passes) {
            ASSERT_SAME_BITS(bound, c.u - 0.002);
            ASSERT_NE(0.002 + bound, c.u);
        }
        EXPECT_SAME_BITS(c.passes ? c.u : 0.002 + bound, limited()[0]) << c.u;
    }
}

TEST_F(StationModelTest, NegativeRateIsStillTestedAsRiseFirst) {
    stationStep();
    stationParameters.positionRateLimit = -1.0;
    stationParameters.xReference = 0.0;
    stationStep();
    // rise = 0.005 x -1 is below d = 0: the rise branch, L + rise.
    EXPECT_SAME_BITS(0.0 + (0.005 * -1.0), limited()[0]);
}

// Oscillation amplitude 2 along 90 degrees, heading amplitude 4 degrees, at
// oscillationTime 0.37: the periods 0.01 and -0.01 (and NaN) leave it off.
TEST_F(StationModelTest, OscillationThresholdAndSign) {
    const double toRad = 0.017453292519943295;
    const struct {
        double period;
        bool on;
    } cases[] = {
        {0.01, false},   {-0.01, false}, {std::nan(""), false},
        {std::nextafter(0.01, 1.0), true}, {-std::nextafter(0.01, 1.0), true},
        {200.0, true},   {-200.0, true}, {inf, true},
    };
    for (const auto& c : cases) {
        stationInitialize();
        stationParameters.positionOscillationAmplitude = 2.0;
        stationParameters.oscillationDirectionDeg = 90.0;
        stationParameters.headingOscillationAmplitudeDeg = 4.0;
        stationParameters.oscillationPeriod = c.period;
        stationInputs.oscillationTime = 0.37;
        stationStep();
        SCOPED_TRACE(c.period);
        if (!c.on) {
            EXPECT_SAME_BITS(0.0, limited()[0]);
            EXPECT_SAME_BITS(0.0, limited()[1]);
            EXPECT_SAME_BITS(0.0, limited()[2]);
            continue;
        }
        const double s = support::librarySin(6.283185307179586 / c.period * 0.37);
        const double ax = support::libraryCos(toRad * 90.0) * 2.0 * s;
        const double ay = support::librarySin(toRad * 90.0) * 2.0 * s;
        EXPECT_TRUE(support::withinUlps(ax + 0.0, limited()[0], 4));
        EXPECT_TRUE(support::withinUlps(ay + 0.0, limited()[1], 4));
        EXPECT_TRUE(support::withinUlps(0.0 + s * (toRad * 4.0), limited()[2], 4));
    }
    // The sign of the period reverses the sine.
    double positive[3], negative[3];
    for (double period : {200.0, -200.0}) {
        stationInitialize();
        stationParameters.positionOscillationAmplitude = 2.0;
        stationParameters.oscillationDirectionDeg = 0.0;
        stationParameters.oscillationPeriod = period;
        stationInputs.oscillationTime = 13.0;
        stationStep();
        std::memcpy(period > 0 ? positive : negative, limited(), sizeof positive);
    }
    EXPECT_GT(positive[0], 0.5);
    EXPECT_TRUE(support::withinUlps(-positive[0], negative[0], 2));
}

// positionX = 1 integrates 0.005 per step; the x integral gain changes in steps 3 and 4
// (a restart in 3 only), not in 5, and again in 6 (a restart).
TEST_F(StationModelTest, IntegratorRestartsOnRisingEdgesOnly) {
    stationInputs.positionX = 1.0;
    const double gainBefore[] = {0.0, 0.0, 0.0, 1.0, 2.0, 2.0, 3.0, 3.0};
    const bool restarts[] = {false, false, false, true, false, false, true, false};
    double integral = 0.0;
    for (int k = 0; k < 8; ++k) {
        stationParameters.integralGainX = gainBefore[k];
        if (restarts[k]) integral = 0.0;
        const double atOutput = integral;
        stationStep();
        integral = 0.005 * 1.0 + integral;
        SCOPED_TRACE(k);
        EXPECT_SAME_BITS(integral, stationStates.errorIntegral[0]);
        EXPECT_SAME_BITS(-1.0 * (gainBefore[k] * atOutput + (0.0 + 53.36)),
                         stationOutputs.bodyCommandX);
        EXPECT_EQ(stationSignals.integralGainsChanged, k == 3 || k == 4 || k == 6 ? 1 : 0);
    }
}

TEST_F(StationModelTest, NaNIntegralGainRestartsOnceAndStaysChanged) {
    stationInputs.positionX = 1.0;
    stationStep();
    stationStep();
    stationParameters.integralGainYaw = std::nan("");
    stationStep();
    EXPECT_SAME_BITS(0.005, stationStates.errorIntegral[0]);
    for (int k = 0; k < 3; ++k) {
        stationStep();
        EXPECT_EQ(stationSignals.integralGainsChanged, 1);
    }
    EXPECT_SAME_BITS(0.005 + 0.005 + 0.005 + 0.005, stationStates.errorIntegral[0]);
}

// A NaN reference passes the limiter unlimited in the step it appears and in the next;
// from the step after, the limiter holds to its bound again.
TEST_F(StationModelTest, NaNReferencePassesTwiceThenLimitingResumes) {
    stationStep();
    stationParameters.xReference = std::nan("");
    stationStep();
    EXPECT_TRUE(std::isnan(limited()[0]));
    stationParameters.xReference = 3.0;
    stationStep();
    EXPECT_SAME_BITS(3.0, limited()[0]);
    stationParameters.xReference = 5.0;
    stationStep();
    EXPECT_SAME_BITS(3.0 + (3 * 0.005 - 2 * 0.005) * 1.0, limited()[0]);
}

TEST_F(StationModelTest, OneInfiniteVelocityMakesEveryCommandNaN) {
    stationInputs.bodyVelocityX = inf;
    stationParameters.dampingGainX = 1.0;
    stationStep();
    EXPECT_TRUE(std::isnan(stationOutputs.bodyCommandX));
    EXPECT_TRUE(std::isnan(stationOutputs.bodyCommandY));
    EXPECT_TRUE(std::isnan(stationOutputs.yawCommand));
}

TEST(StationMatrices, RotationAndDiagonalFillAllNineElementsColumnByColumn) {
    double m[9];
    for (double& e : m) e = 7.0;
    stationRotationZ(0.3, m);
    const double c = std::cos(0.3), s = std::sin(0.3);
    const double rotation[9] = {c, s, 0.0, -s, c, 0.0, 0.0, 0.0, 1.0};
    for (int k = 0; k < 9; ++k) EXPECT_TRUE(support::withinUlps(rotation[k], m[k], 1)) << k;
    stationDiagonalMatrix(2.0, 3.0, 4.0, m);
    const double diagonal[9] = {2.0, 0.0, 0.0, 0.0, 3.0, 0.0, 0.0, 0.0, 4.0};
    for (int k = 0; k < 9; ++k) EXPECT_SAME_BITS(diagonal[k], m[k]) << k;
}

}  // namespace

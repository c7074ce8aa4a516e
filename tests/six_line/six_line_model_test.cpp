// The six-line controller called directly: its records, states and clock, step by step.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "bits.h"
#include "nonfinite.h"
#include "six_line.h"

namespace {

const double inf = std::numeric_limits<double>::infinity();
const double nan = std::numeric_limits<double>::quiet_NaN();

struct SixLine : ::testing::Test {
    SixLineParameters saved;

    void SetUp() override {
        std::memcpy(&saved, &sixLineParameters, sizeof saved);
        sixLineInitialize();
    }
    void TearDown() override { std::memcpy(&sixLineParameters, &saved, sizeof saved); }

    SixLineInputs& in = sixLineInputs;
    SixLineOutputs& out = sixLineOutputs;
    SixLineStates& st = sixLineStates;
    SixLineParameters& par = sixLineParameters;
};

TEST_F(SixLine, ParametersHoldTheirLoadValuesInOrder) {
    const double tail[16] = {0.05, 0.0, 1.0,  0.0, 57.29577951308232, 0.005, 0.0,
                             57.29577951308232, 0.0, 0.017453292519943295,
                             0.017453292519943295, 0.017453292519943295, 0.5,
                             57.29577951308232, 0.0, 0.5};
    const double* all = reinterpret_cast<const double*>(&saved);
    EXPECT_SAME_BITS(0.01, all[0]);
    EXPECT_SAME_BITS(0.01, all[1]);
    EXPECT_SAME_BITS(140.0, all[2]);
    for (int k = 0; k < 18; ++k) {
        EXPECT_SAME_BITS(platformLineTables.attachmentPoints[k], all[3 + k]) << k;
        EXPECT_SAME_BITS(platformLineTables.anchorPoints[k], all[21 + k]) << k;
    }
    for (int k = 0; k < 16; ++k) EXPECT_SAME_BITS(tail[k], all[39 + k]) << "field " << 39 + k;
}

TEST_F(SixLine, InitialiseSetsUpTheRecordAndClearsTheData) {
    in.activationSignal = 3.0;
    out.lineCommand[2] = 4.0;
    st.tensionIntegral[5] = 5.0;
    sixLineModel.majorStepCount[0] = 7;
    sixLineInitialize();
    const SixLineModel& m = sixLineModel;
    EXPECT_EQ(m.solver.model, &sixLineModel);
    EXPECT_EQ(m.solver.timeStepKind, &m.timeStepKind);
    EXPECT_STREQ(m.solver.solverName, "FixedStepDiscrete");
    EXPECT_EQ(m.solver.stepSize, &m.stepSize);
    EXPECT_EQ(m.solver.modelTimeSlot, &m.modelTimeSlot);
    EXPECT_EQ(m.modelTimeSlot, &m.modelTime);
    EXPECT_EQ(m.timeStepKind, 1);
    EXPECT_SAME_BITS(0.005, m.stepSize);
    EXPECT_EQ(m.majorStepCount[0], 0u);
    EXPECT_EQ(m.majorStepCount[1], 0u);
    EXPECT_SAME_BITS(0.0, m.modelTime);
    EXPECT_SAME_BITS(0.0, in.activationSignal);
    EXPECT_SAME_BITS(0.0, out.lineCommand[2]);
    EXPECT_SAME_BITS(0.0, st.tensionIntegral[5]);
    EXPECT_EQ(support::bitsOf(nanValue), 0xFFF8000000000000ULL);
}

TEST_F(SixLine, ActivationSequenceWithHeldLengthAndOneStepLag) {
    sixLineStep();  // inactive: 0.0 is below 0.01
    for (double v : out.lineCommand) EXPECT_SAME_BITS(0.0, v);
    EXPECT_SAME_BITS(0.0, out.stretchTerm0);
    EXPECT_SAME_BITS(0.0, out.geometryTerm0);
    EXPECT_SAME_BITS(0.0, out.integralTerm0);
    EXPECT_SAME_BITS(0.0, out.modelTimeOutput);
    for (double v : st.referenceLength) EXPECT_SAME_BITS(29.07466904371464, v);
    EXPECT_SAME_BITS(0.005, sixLineModel.modelTime);
    EXPECT_EQ(sixLineModel.majorStepCount[0], 1u);

    in.activationSignal = 0.01;  // equal to the threshold: active
    in.platformPosition[0] = 1.0;
    const double commands[6] = {-40.850204713137806, 998.0494639917443,  998.0494639917443,
                                -40.850204713137806, -986.732941289937, -986.732941289937};
    sixLineStep();
    for (int i = 0; i < 6; ++i) EXPECT_SAME_BITS(commands[i], out.lineCommand[i]) << i;
    EXPECT_SAME_BITS(0.0, out.stretchTerm0);
    EXPECT_SAME_BITS(-40.850204713137806, out.geometryTerm0);
    EXPECT_SAME_BITS(0.0, out.integralTerm0);
    EXPECT_SAME_BITS(0.005, out.modelTimeOutput);
    for (double v : st.referenceLength) EXPECT_SAME_BITS(29.07466904371464, v) << "held";

    in.lineTension[0] = 140.0;
    sixLineStep();  // the tension moves the states, not yet the outputs
    for (int i = 0; i < 6; ++i) EXPECT_SAME_BITS(commands[i], out.lineCommand[i]) << i;
    EXPECT_SAME_BITS(0.0, out.stretchTerm0);
    EXPECT_SAME_BITS(0.0, out.integralTerm0);
    EXPECT_SAME_BITS(0.01, out.modelTimeOutput);
    EXPECT_SAME_BITS(1.0, st.stretchAccumulator[0]);
    EXPECT_SAME_BITS(0.007000000000000001, st.tensionIntegral[0]);
    EXPECT_SAME_BITS(140.0, st.previousTension[0]);
    for (int i = 1; i < 6; ++i) {
        EXPECT_SAME_BITS(0.0, st.stretchAccumulator[i]) << i;
        EXPECT_SAME_BITS(0.0, st.tensionIntegral[i]) << i;
    }

    sixLineStep();
    EXPECT_SAME_BITS(1145.9155902616465, out.stretchTerm0);
    EXPECT_SAME_BITS(8.021409131831525, out.integralTerm0);
    EXPECT_SAME_BITS(-40.850204713137806, out.geometryTerm0);
    EXPECT_SAME_BITS(1113.08679468034, out.lineCommand[0]);
    EXPECT_SAME_BITS(0.015, out.modelTimeOutput);
    // The tension no longer changes: only the integral keeps growing.
    EXPECT_SAME_BITS(1.0, st.stretchAccumulator[0]);
    EXPECT_SAME_BITS(0.007000000000000001 + 0.007000000000000001, st.tensionIntegral[0]);

    // Inactive again: the length is followed once more, the accumulated terms stay.
    in.activationSignal = std::nextafter(0.01, 0.0);
    sixLineStep();
    EXPECT_SAME_BITS(0.0, out.geometryTerm0);
    EXPECT_SAME_BITS(1145.9155902616465, out.stretchTerm0);
    EXPECT_SAME_BITS(29.110317572332537, st.referenceLength[0]);
    EXPECT_SAME_BITS(1.0, st.stretchAccumulator[0]);
    EXPECT_SAME_BITS(0.007000000000000001 + 0.007000000000000001, st.tensionIntegral[0]);
}

TEST_F(SixLine, ActiveFromTheFirstStepHoldsZeroLength) {
    in.activationSignal = 1.0;
    in.lineTension[3] = 70.0;
    for (int k = 0; k < 3; ++k) {
        sixLineStep();
        for (int i = 0; i < 6; ++i) {
            if (k > 0 && i == 3) continue;  // its stretch term has moved on
            EXPECT_SAME_BITS(-33317.11653889028, out.lineCommand[i]) << "step " << k << " line " << i;
        }
        for (double v : st.referenceLength) EXPECT_SAME_BITS(0.0, v);
    }
    // The first active step took the whole tension as its change; later ones none.
    EXPECT_SAME_BITS(0.5, st.stretchAccumulator[3]);
}

TEST_F(SixLine, NaNOnEitherSideOfTheActivationTestIsActive) {
    const double pairs[][2] = {{0.01, nan}, {nan, 0.0}, {nan, nan}};
    for (const auto& pair : pairs) {
        sixLineInitialize();
        par.activationThreshold = pair[0];
        in.activationSignal = pair[1];
        in.lineTension[1] = 14.0;
        sixLineStep();
        EXPECT_SAME_BITS(-33317.11653889028, out.lineCommand[0]);
        EXPECT_SAME_BITS(0.1, st.stretchAccumulator[1]);
        EXPECT_SAME_BITS(0.0, st.referenceLength[0]);
    }
}

TEST_F(SixLine, NaNTensionSpoilsTheStretchButNotTheIntegral) {
    in.activationSignal = 1.0;
    in.lineTension[2] = nan;
    in.tensionSetpoint[4] = nan;
    in.lineTension[4] = 5.0;
    sixLineStep();
    EXPECT_TRUE(std::isnan(st.stretchAccumulator[2]));
    EXPECT_SAME_BITS(0.0, st.tensionIntegral[2]);
    EXPECT_TRUE(std::isnan(st.previousTension[2]));
    EXPECT_SAME_BITS(0.0, st.tensionIntegral[4]) << "NaN setpoint";
    EXPECT_SAME_BITS(5.0 / 140.0, st.stretchAccumulator[4]);

    in.lineTension[2] = 1.0;  // the change from the held NaN is NaN again
    sixLineStep();
    EXPECT_TRUE(std::isnan(st.stretchAccumulator[2]));
    EXPECT_SAME_BITS(0.005 * (1.0 * 0.01), st.tensionIntegral[2]);
    in.activationSignal = 0.0;  // inactive: adding 0.0 keeps the NaN
    sixLineStep();
    EXPECT_TRUE(std::isnan(st.stretchAccumulator[2]));
    EXPECT_TRUE(std::isnan(out.lineCommand[2]));
    EXPECT_FALSE(std::isnan(out.lineCommand[1]));
}

TEST_F(SixLine, InfiniteTensionErrorWhileInactiveMakesTheIntegralNaN) {
    in.tensionSetpoint[0] = -inf;  // error +inf: not NaN, so it reaches inf * 0.0
    in.lineTension[1] = inf;       // inactive: the change is inactiveIncrement, 0.0
    sixLineStep();
    EXPECT_TRUE(std::isnan(st.tensionIntegral[0]));
    EXPECT_TRUE(std::isnan(st.tensionIntegral[1]));
    EXPECT_SAME_BITS(0.0, st.stretchAccumulator[1]);
    EXPECT_SAME_BITS(inf, st.previousTension[1]);
    EXPECT_SAME_BITS(0.0, st.tensionIntegral[2]);
}

TEST_F(SixLine, ZeroDrumRadiusMakesTheTermsNonFinite) {
    sixLineStep();  // referenceLength now the zero-pose length
    par.drumRadius = 0.0;
    in.activationSignal = 1.0;
    in.platformPosition[0] = 1.0;
    sixLineStep();
    // inf * 0.0 states: NaN stretch and integral terms, and so NaN commands.
    EXPECT_TRUE(std::isnan(out.stretchTerm0));
    EXPECT_TRUE(std::isnan(out.integralTerm0));
    EXPECT_SAME_BITS(-inf, out.geometryTerm0);  // held 29.07... minus a longer line
    for (double v : out.lineCommand) EXPECT_TRUE(std::isnan(v));
    in.activationSignal = 0.0;
    sixLineStep();
    EXPECT_TRUE(std::isnan(out.geometryTerm0)) << "0.0 * inf while the length is followed";
}

TEST_F(SixLine, ZeroStiffnessTurnsEveryAccumulatorNaNOrInfinite) {
    par.lineStiffness = 0.0;
    sixLineStep();  // inactive: 0.0 / 0.0
    for (double v : st.stretchAccumulator) EXPECT_TRUE(std::isnan(v));
    sixLineInitialize();
    in.activationSignal = 1.0;
    in.lineTension[0] = 2.0;
    in.lineTension[1] = -2.0;
    sixLineStep();
    EXPECT_SAME_BITS(inf, st.stretchAccumulator[0]);
    EXPECT_SAME_BITS(-inf, st.stretchAccumulator[1]);
    EXPECT_TRUE(std::isnan(st.stretchAccumulator[2]));
}

TEST_F(SixLine, ParameterChangesActFromTheNextStepOnly) {
    in.activationSignal = 1.0;
    in.platformPosition[1] = 0.5;
    in.lineTension[0] = 28.0;
    sixLineStep();
    sixLineStep();
    SixLineStates before = st;
    SixLineOutputs full;
    sixLineStep();
    full = out;

    st = before;
    par.drumRadius = 0.1;
    sixLineStep();
    for (int i = 0; i < 6; ++i) EXPECT_SAME_BITS(full.lineCommand[i] / 2, out.lineCommand[i]) << i;
    EXPECT_SAME_BITS(full.stretchTerm0 / 2, out.stretchTerm0);
    EXPECT_SAME_BITS(full.geometryTerm0 / 2, out.geometryTerm0);
    EXPECT_SAME_BITS(full.integralTerm0 / 2, out.integralTerm0);

    // Stiffness and gain change later increments, not what is stored.
    st = before;
    par.drumRadius = 0.05;
    par.lineStiffness = 70.0;
    par.tensionIntegralGain = 0.02;
    sixLineStep();
    for (int i = 0; i < 6; ++i) EXPECT_SAME_BITS(full.lineCommand[i], out.lineCommand[i]) << i;
    EXPECT_SAME_BITS(before.stretchAccumulator[0], st.stretchAccumulator[0]);
    EXPECT_SAME_BITS((0.005 * ((28.0 * 1.0) * 0.02)) + before.tensionIntegral[0],
                     st.tensionIntegral[0]);
}

TEST_F(SixLine, CommandAddsStretchAndIntegralBeforeGeometry) {
    // Stretch and integral terms of about +-1.1e18 cancel exactly; added the other way the
    // geometry term would be lost in their rounding (an ulp there is 256).
    st.stretchAccumulator[0] = 1e15;
    st.tensionIntegral[0] = -1e15;
    in.activationSignal = 1.0;
    sixLineStep();
    EXPECT_SAME_BITS(-out.integralTerm0, out.stretchTerm0);
    EXPECT_SAME_BITS(-33317.11653889028, out.geometryTerm0);
    EXPECT_SAME_BITS(-33317.11653889028, out.lineCommand[0]);
}

TEST_F(SixLine, GeometryTermScalesByTheInverseRadiusThenByDegrees) {
    // No sine or cosine other than of zero takes part, so these compare bit for bit. From
    // the Python re-derivation in long_run_reference.py (Controller.lengths at this pose
    // and at zero pose); for lines 1, 2 and 4 ((d / r) * deg) and (d * (deg / r)) differ.
    const double expected[6] = {-693.3365872164534, 7535.943274733617,  6829.017415313973,
                                -1797.7677460846812, -7848.171354935125, -7366.8760279828475};
    sixLineStep();  // inactive at zero pose: that length is held
    in.activationSignal = 1.0;
    in.platformPosition[0] = 7.5;
    in.platformPosition[1] = -0.5;
    in.platformPosition[2] = 0.25;
    sixLineStep();
    for (int i = 0; i < 6; ++i) EXPECT_SAME_BITS(expected[i], out.lineCommand[i]) << "line " << i;
    EXPECT_SAME_BITS(expected[0], out.geometryTerm0);
}

TEST_F(SixLine, ClockIsRecomputedFromTheStepCount) {
    double summed = 0.0;
    for (int k = 0; k < 200; ++k) {
        sixLineStep();
        summed += 0.005;
    }
    EXPECT_SAME_BITS(1.0, sixLineModel.modelTime);
    EXPECT_NE(support::bitsOf(summed), support::bitsOf(1.0)) << "a summed clock would drift";
    EXPECT_SAME_BITS(199.0 * 0.005, out.modelTimeOutput);

    // Carry into the high word.
    sixLineModel.majorStepCount[0] = 0xFFFFFFFFu;
    sixLineStep();
    EXPECT_EQ(sixLineModel.majorStepCount[0], 0u);
    EXPECT_EQ(sixLineModel.majorStepCount[1], 1u);
    EXPECT_SAME_BITS(0.0 + ((1.0 * 0.005) * 4294967296.0), sixLineModel.modelTime);
    sixLineStep();
    EXPECT_SAME_BITS((1.0 * 0.005) + ((1.0 * 0.005) * 4294967296.0), sixLineModel.modelTime);
}

}  // namespace

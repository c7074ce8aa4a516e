// Dorvane end to end through the master: value references, the output hold, the clock and
// a step that comes before any initialisation.
#include <gtest/gtest.h>

#include <cmath>

#include "bits.h"
#include "unit_under_test.h"

namespace {

using support::FreshUnit;

const fmi2ValueReference lineCommand0 = 19, stretchTerm0 = 25, geometryTerm0 = 26,
                         integralTerm0 = 27, modelTimeOutput = 28, fmuTime = 29,
                         activationThreshold = 30, tensionIntegralGain = 31,
                         lineStiffness = 32, drumRadius = 33, activationSignal = 18;

const double activeCommands[6] = {-40.850204713137806, 998.0494639917443,
                                  998.0494639917443,   -40.850204713137806,
                                  -986.732941289937,   -986.732941289937};

struct Dorvane : ::testing::Test {
    FreshUnit unit{"Dorvane"};
    master::CallbackRecorder callbacks;
    fmi2Component c = unit.start(callbacks);

    void TearDown() override { unit->fmi2FreeInstance(c); }
    double get(fmi2ValueReference vr) { return unit.get(c, vr); }
    void set(fmi2ValueReference vr, double value) { unit.set(c, vr, value); }
};

TEST_F(Dorvane, LeavingInitialisationRunsOneInactiveStep) {
    ASSERT_EQ(unit->fmi2ExitInitializationMode(c), fmi2OK);
    for (fmi2ValueReference vr = 19; vr <= 28; ++vr) EXPECT_SAME_BITS(0.0, get(vr)) << vr;
    EXPECT_SAME_BITS(0.0, get(fmuTime));

    set(activationSignal, 0.01);
    set(0, 1.0);
    ASSERT_EQ(unit->fmi2DoStep(c, 0.0, 0.005, fmi2True), fmi2OK);
    for (int i = 0; i < 6; ++i) EXPECT_SAME_BITS(activeCommands[i], get(lineCommand0 + i)) << i;
    EXPECT_SAME_BITS(0.0, get(stretchTerm0));
    EXPECT_SAME_BITS(-40.850204713137806, get(geometryTerm0));
    EXPECT_SAME_BITS(0.0, get(integralTerm0));
    EXPECT_SAME_BITS(0.005, get(modelTimeOutput));
    EXPECT_SAME_BITS(0.005, get(fmuTime));

    set(6, 140.0);
    ASSERT_EQ(unit->fmi2DoStep(c, 0.005, 0.005, fmi2True), fmi2OK);
    EXPECT_SAME_BITS(activeCommands[0], get(lineCommand0));
    EXPECT_SAME_BITS(0.01, get(modelTimeOutput));
    ASSERT_EQ(unit->fmi2DoStep(c, 0.01, 0.005, fmi2True), fmi2OK);
    EXPECT_SAME_BITS(1145.9155902616465, get(stretchTerm0));
    EXPECT_SAME_BITS(8.021409131831525, get(integralTerm0));
    EXPECT_SAME_BITS(1113.08679468034, get(lineCommand0));
    EXPECT_SAME_BITS(0.015, get(modelTimeOutput));
}

TEST_F(Dorvane, ModelTimeIsExactlyOneAfterTwoHundredSteps) {
    ASSERT_EQ(unit->fmi2ExitInitializationMode(c), fmi2OK);
    ASSERT_EQ(unit->fmi2DoStep(c, 0.0, 0.995, fmi2True), fmi2OK);  // 199 more
    ASSERT_EQ(unit->fmi2DoStep(c, 0.995, 0.005, fmi2True), fmi2OK);
    // The 201st step's output phase sees the clock after 200 steps.
    EXPECT_SAME_BITS(1.0, get(modelTimeOutput));
}

TEST_F(Dorvane, ParametersAtLoadAndTheirLifeAcrossInitialiseAndInstances) {
    EXPECT_SAME_BITS(0.01, get(activationThreshold));
    EXPECT_SAME_BITS(0.01, get(tensionIntegralGain));
    EXPECT_SAME_BITS(140.0, get(lineStiffness));
    EXPECT_SAME_BITS(0.05, get(drumRadius));
    set(drumRadius, 0.1);
    set(activationThreshold, 2.0);
    ASSERT_EQ(unit->fmi2EnterInitializationMode(c), fmi2OK);
    EXPECT_SAME_BITS(0.1, get(drumRadius));
    unit->fmi2FreeInstance(c);
    c = unit.start(callbacks);
    EXPECT_SAME_BITS(0.1, get(drumRadius));
    EXPECT_SAME_BITS(2.0, get(activationThreshold));
}

TEST_F(Dorvane, WrittenOutputLastsUntilTheNextLocalStep) {
    ASSERT_EQ(unit->fmi2ExitInitializationMode(c), fmi2OK);
    set(lineCommand0 + 3, 12.5);
    set(modelTimeOutput, -1.0);
    ASSERT_EQ(unit->fmi2DoStep(c, 0.0, 0.0, fmi2True), fmi2OK);
    EXPECT_SAME_BITS(12.5, get(lineCommand0 + 3));
    ASSERT_EQ(unit->fmi2DoStep(c, 0.0, 0.005, fmi2True), fmi2OK);
    EXPECT_SAME_BITS(0.0, get(lineCommand0 + 3));
    EXPECT_SAME_BITS(0.005, get(modelTimeOutput));
}

TEST_F(Dorvane, ResetKeepsTheModelAndInitialiseRestartsIt) {
    set(activationSignal, 1.0);
    ASSERT_EQ(unit->fmi2ExitInitializationMode(c), fmi2OK);
    ASSERT_EQ(unit->fmi2Reset(c), fmi2OK);
    EXPECT_SAME_BITS(-33317.11653889028, get(lineCommand0));
    EXPECT_SAME_BITS(1.0, get(activationSignal));
    ASSERT_EQ(unit->fmi2DoStep(c, 0.0, 0.005, fmi2True), fmi2OK);
    EXPECT_SAME_BITS(0.005, get(modelTimeOutput));
    EXPECT_SAME_BITS(-33317.11653889028, get(lineCommand0)) << "the held length is still 0";
    ASSERT_EQ(unit->fmi2EnterInitializationMode(c), fmi2OK);
    for (fmi2ValueReference vr = 0; vr <= 28; ++vr) EXPECT_SAME_BITS(0.0, get(vr)) << vr;
    ASSERT_EQ(unit->fmi2ExitInitializationMode(c), fmi2OK);
    EXPECT_SAME_BITS(0.0, get(modelTimeOutput)) << "the clock starts again";
}

TEST_F(Dorvane, NaNInputsThroughTheMaster) {
    set(activationSignal, std::nan(""));
    set(7, std::nan(""));
    ASSERT_EQ(unit->fmi2ExitInitializationMode(c), fmi2OK);
    EXPECT_SAME_BITS(-33317.11653889028, get(lineCommand0)) << "NaN activation is active";
    set(activationSignal, 0.0);
    set(7, 0.0);
    ASSERT_EQ(unit->fmi2DoStep(c, 0.0, 0.005, fmi2True), fmi2OK);
    EXPECT_TRUE(std::isnan(get(lineCommand0 + 1))) << "line 1's stretch stays NaN";
    EXPECT_FALSE(std::isnan(get(lineCommand0)));
}

// Before any initialisation since load the record is already wired: the step runs on the
// data as loaded and as the master set them.
TEST(DorvaneLoad, StepBeforeAnyInitialisationRunsFromTheLoadedState) {
    FreshUnit unit{"Dorvane"};
    master::CallbackRecorder callbacks;
    fmi2Component c = unit.instantiate(callbacks);
    ASSERT_NE(c, nullptr);
    unit.set(c, 0, 1.0);
    ASSERT_EQ(unit->fmi2DoStep(c, 0.0, 0.005, fmi2True), fmi2OK);
    for (fmi2ValueReference vr = 19; vr <= 28; ++vr) EXPECT_SAME_BITS(0.0, unit.get(c, vr)) << vr;
    unit.set(c, activationSignal, 0.01);
    unit.set(c, 0, 0.0);
    ASSERT_EQ(unit->fmi2DoStep(c, 0.005, 0.005, fmi2True), fmi2OK);
    // Held: the x = 1.0 length of the step before; current: the zero-pose length.
    EXPECT_SAME_BITS(((29.110317572332537 - 29.07466904371464) * 20.0) * 57.29577951308232,
                     unit.get(c, lineCommand0));
    EXPECT_SAME_BITS(0.005, unit.get(c, modelTimeOutput));
    EXPECT_TRUE(callbacks.log.empty());
    unit->fmi2FreeInstance(c);
}

TEST(DorvaneLoad, LeavingInitialisationWithoutEnteringItRunsOneStep) {
    FreshUnit unit{"Dorvane"};
    master::CallbackRecorder callbacks;
    fmi2Component c = unit.instantiate(callbacks);
    ASSERT_NE(c, nullptr);
    unit.set(c, activationSignal, 0.5);
    ASSERT_EQ(unit->fmi2ExitInitializationMode(c), fmi2OK);
    ASSERT_EQ(unit->fmi2ExitInitializationMode(c), fmi2OK);
    EXPECT_SAME_BITS(-33317.11653889028, unit.get(c, lineCommand0));
    EXPECT_SAME_BITS(0.005, unit.get(c, modelTimeOutput));
    ASSERT_EQ(unit->fmi2EnterInitializationMode(c), fmi2OK);
    ASSERT_EQ(unit->fmi2ExitInitializationMode(c), fmi2OK);
    EXPECT_SAME_BITS(0.0, unit.get(c, modelTimeOutput));
    EXPECT_SAME_BITS(0.0, unit.get(c, lineCommand0));
    unit->fmi2FreeInstance(c);
}

}  // namespace

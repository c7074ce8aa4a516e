// Quarnet end to end through the master: the mapping, its signed zeros and non-finites.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "bits.h"
#include "unit_under_test.h"

namespace {

using support::FreshUnit;

struct AxisMap : ::testing::Test {
    FreshUnit unit{"Quarnet"};
    master::CallbackRecorder callbacks;
    fmi2Component c = unit.start(callbacks);

    void TearDown() override { unit->fmi2FreeInstance(c); }

    void setInputs(const double (&inputs)[6]) {
        for (fmi2ValueReference k = 0; k < 6; ++k) unit.set(c, k, inputs[k]);
    }
    double output(int k) { return unit.get(c, static_cast<fmi2ValueReference>(6 + k)); }
};

TEST_F(AxisMap, OutputsAfterInitialisationArePositiveZero) {
    ASSERT_EQ(unit->fmi2ExitInitializationMode(c), fmi2OK);
    for (int k = 0; k < 6; ++k) EXPECT_SAME_BITS(0.0, output(k)) << "channel " << k;
}

TEST_F(AxisMap, NegativeZeroInputsGivePositiveZeroOutputs) {
    setInputs({-0.0, -0.0, -0.0, -0.0, -0.0, -0.0});
    ASSERT_EQ(unit->fmi2ExitInitializationMode(c), fmi2OK);
    for (int k = 0; k < 6; ++k) EXPECT_SAME_BITS(0.0, output(k)) << "channel " << k;
}

TEST_F(AxisMap, MapsEachChannelByItsGain) {
    setInputs({1, 2, 3, 4, 5, 6});
    ASSERT_EQ(unit->fmi2ExitInitializationMode(c), fmi2OK);
    const double expected[6] = {-1, 2, -3, -4, 5, -6};
    for (int k = 0; k < 6; ++k) EXPECT_SAME_BITS(expected[k], output(k)) << "channel " << k;
}

TEST_F(AxisMap, NonFiniteInputsStayOnTheirChannel) {
    const double inf = std::numeric_limits<double>::infinity();
    setInputs({inf, inf, std::nan(""), 1.0, 2.0, 3.0});
    ASSERT_EQ(unit->fmi2ExitInitializationMode(c), fmi2OK);
    EXPECT_SAME_BITS(-inf, output(0));
    EXPECT_SAME_BITS(inf, output(1));
    EXPECT_TRUE(std::isnan(output(2)));
    EXPECT_SAME_BITS(-1.0, output(3));
    EXPECT_SAME_BITS(2.0, output(4));
    EXPECT_SAME_BITS(-3.0, output(5));
}

TEST_F(AxisMap, OutputsChangeOnlyWhenALocalStepRuns) {
    setInputs({1, 2, 3, 4, 5, 6});
    ASSERT_EQ(unit->fmi2ExitInitializationMode(c), fmi2OK);
    setInputs({10, 20, 30, 40, 50, 60});
    EXPECT_SAME_BITS(-1.0, output(0));
    ASSERT_EQ(unit->fmi2DoStep(c, 0.0, 0.0, fmi2True), fmi2OK);
    EXPECT_SAME_BITS(-1.0, output(0)) << "a zero step runs no local step";
    ASSERT_EQ(unit->fmi2DoStep(c, 0.0, 0.01, fmi2True), fmi2OK);
    const double expected[6] = {-10, 20, -30, -40, 50, -60};
    for (int k = 0; k < 6; ++k) EXPECT_SAME_BITS(expected[k], output(k)) << "channel " << k;
}

TEST_F(AxisMap, WrittenOutputLastsUntilTheNextLocalStep) {
    unit.set(c, 8, 7.5);
    EXPECT_SAME_BITS(7.5, output(2));
    ASSERT_EQ(unit->fmi2DoStep(c, 0.0, 0.005, fmi2True), fmi2OK);
    EXPECT_SAME_BITS(0.0, output(2));
}

TEST_F(AxisMap, ResetKeepsInputsAndOutputsAndInitialiseClearsThem) {
    setInputs({1, 2, 3, 4, 5, 6});
    ASSERT_EQ(unit->fmi2ExitInitializationMode(c), fmi2OK);
    ASSERT_EQ(unit->fmi2Reset(c), fmi2OK);
    EXPECT_SAME_BITS(1.0, unit.get(c, 0));
    EXPECT_SAME_BITS(-1.0, output(0));
    ASSERT_EQ(unit->fmi2EnterInitializationMode(c), fmi2OK);
    for (fmi2ValueReference vr = 0; vr < 12; ++vr) EXPECT_SAME_BITS(0.0, unit.get(c, vr));
}

TEST(AxisMapLoad, StepBeforeAnyInitialiseMapsTheInputsAsTheyStand) {
    FreshUnit unit{"Quarnet"};
    master::CallbackRecorder callbacks;
    fmi2Component c = unit.instantiate(callbacks);
    ASSERT_NE(c, nullptr);
    unit.set(c, 4, 2.5);
    ASSERT_EQ(unit->fmi2DoStep(c, 0.0, 0.005, fmi2True), fmi2OK);
    EXPECT_SAME_BITS(2.5, unit.get(c, 10));
    EXPECT_SAME_BITS(0.0, unit.get(c, 6));
    unit->fmi2FreeInstance(c);
}

}  // namespace

// Kavrel through the master: load-time values, value references, initialise, reset, and
// the first step's commands.
#include <gtest/gtest.h>

#include "bits.h"
#include "unit_under_test.h"

namespace {

using support::FreshUnit;

enum : fmi2ValueReference {
    positionX = 0,
    headingDeg = 2,
    bodyCommandX = 7,
    bodyCommandY = 8,
    yawCommand = 9,
    timeRef = 10,
    xReference = 12,
    integralGainX = 20,
    proportionalGainX = 23,
    oscillationPeriod = 28,
};

double loadValue(fmi2ValueReference vr) {
    switch (vr) {
        case 23: return 53.36;
        case 24: return 5.449;
        case 25: return 53.36;
        case 26: return 10.0;
        case 27: return 1.0;
        case 28: return 200.0;
        default: return 0.0;
    }
}

struct Station : ::testing::Test {
    FreshUnit unit{"Kavrel"};
    master::CallbackRecorder callbacks;
    fmi2Component c = nullptr;

    void TearDown() override {
        if (c != nullptr) unit->fmi2FreeInstance(c);
    }
    void doStep(double t, double h) { ASSERT_EQ(unit->fmi2DoStep(c, t, h, fmi2True), fmi2OK); }
};

TEST_F(Station, AfterLoadOnlyTheDefaultGainsLimitsAndPeriodAreNonZero) {
    c = unit.instantiate(callbacks);
    ASSERT_NE(c, nullptr);
    for (fmi2ValueReference vr = 0; vr < 30; ++vr)
        EXPECT_SAME_BITS(loadValue(vr), unit.get(c, vr)) << "vr " << vr;
}

TEST_F(Station, ValueReferenceThirtyIsOutsideTheTable) {
    c = unit.instantiate(callbacks);
    fmi2ValueReference vr = 30;
    double value = 1.0;
    EXPECT_EQ(unit->fmi2GetReal(c, &vr, 1, &value), fmi2Error);
    EXPECT_EQ(unit->fmi2SetReal(c, &vr, 1, &value), fmi2Error);
    ASSERT_EQ(callbacks.log.size(), 2u);
    EXPECT_EQ(callbacks.log[0].message, "valueReference out of range");
    EXPECT_EQ(callbacks.log[1].message, "valueReference out of range");
}

TEST_F(Station, TimeReferenceIsTheCommunicationTime) {
    c = unit.start(callbacks);
    unit.set(c, timeRef, 0.25);
    EXPECT_SAME_BITS(0.25, unit.get(c, timeRef));
    EXPECT_EQ(unit->fmi2DoStep(c, 0.0, 0.005, fmi2True), fmi2Error);
    doStep(0.25, 0.005);
    EXPECT_SAME_BITS(0.25 + 0.005, unit.get(c, timeRef));
}

// positionX = 1: error (1, 0, 0) in an unturned frame, so x = -53.36 x 1 exactly; the other
// rows sum +0.0 products and the output gain of -1 makes them -0.0.
TEST_F(Station, FirstStepOnAPositionErrorCommandsMinusTheProportionalGain) {
    c = unit.start(callbacks);
    unit.set(c, positionX, 1.0);
    ASSERT_EQ(unit->fmi2ExitInitializationMode(c), fmi2OK);
    EXPECT_SAME_BITS(-53.36, unit.get(c, bodyCommandX));
    EXPECT_SAME_BITS(-0.0, unit.get(c, bodyCommandY));
    EXPECT_SAME_BITS(-0.0, unit.get(c, yawCommand));
}

// headingDeg = 1: the heading error is pi/180 x 1 and meets the yaw gain 180/pi x 5.449;
// every rotation it passes has 1.0 on the yaw diagonal and zeros beside it.
TEST_F(Station, FirstStepOnAHeadingErrorCommandsMinusTheYawGain) {
    c = unit.start(callbacks);
    unit.set(c, headingDeg, 1.0);
    ASSERT_EQ(unit->fmi2ExitInitializationMode(c), fmi2OK);
    const double expected = -1.0 * ((57.29577951308232 * 5.449) * (0.017453292519943295 * 1.0));
    EXPECT_SAME_BITS(expected, unit.get(c, yawCommand));
    EXPECT_TRUE(support::withinUlps(-5.449, unit.get(c, yawCommand), 2));
    EXPECT_SAME_BITS(-0.0, unit.get(c, bodyCommandX));
    EXPECT_SAME_BITS(-0.0, unit.get(c, bodyCommandY));
}

TEST_F(Station, InitialiseClearsInputsButKeepsParameters) {
    c = unit.instantiate(callbacks);
    unit.set(c, positionX, 3.0);
    unit.set(c, proportionalGainX, 2.0);
    ASSERT_EQ(unit->fmi2EnterInitializationMode(c), fmi2OK);
    EXPECT_SAME_BITS(0.0, unit.get(c, positionX));
    EXPECT_SAME_BITS(2.0, unit.get(c, proportionalGainX));
    unit.set(c, positionX, 1.0);
    ASSERT_EQ(unit->fmi2ExitInitializationMode(c), fmi2OK);
    EXPECT_SAME_BITS(-2.0, unit.get(c, bodyCommandX));
}

TEST_F(Station, ParametersSurviveResetInitialiseAndANewInstance) {
    c = unit.start(callbacks);
    unit.set(c, oscillationPeriod, -7.5);
    unit.set(c, xReference, 4.0);
    doStep(0.0, 0.01);
    ASSERT_EQ(unit->fmi2Reset(c), fmi2OK);
    EXPECT_SAME_BITS(-7.5, unit.get(c, oscillationPeriod));
    ASSERT_EQ(unit->fmi2EnterInitializationMode(c), fmi2OK);
    EXPECT_SAME_BITS(-7.5, unit.get(c, oscillationPeriod));
    unit->fmi2FreeInstance(c);
    c = unit.instantiate(callbacks);
    ASSERT_NE(c, nullptr);
    EXPECT_SAME_BITS(-7.5, unit.get(c, oscillationPeriod));
    EXPECT_SAME_BITS(4.0, unit.get(c, xReference));
    EXPECT_SAME_BITS(53.36, unit.get(c, proportionalGainX));
}

// After a second initialise the outputs read zero and the limiters pass the reference at
// once: x = -(53.36 x (0 - 10)) in the first step, not a ramp from where they stood.
TEST_F(Station, SecondInitialiseRestartsOutputsAndLimiters) {
    c = unit.start(callbacks);
    unit.set(c, positionX, 1.0);
    ASSERT_EQ(unit->fmi2ExitInitializationMode(c), fmi2OK);
    doStep(0.0, 0.05);
    unit.set(c, xReference, 10.0);
    doStep(0.05, 0.05);
    ASSERT_EQ(unit->fmi2EnterInitializationMode(c), fmi2OK);
    for (fmi2ValueReference vr = 0; vr < 10; ++vr)
        EXPECT_SAME_BITS(0.0, unit.get(c, vr)) << "vr " << vr;
    ASSERT_EQ(unit->fmi2ExitInitializationMode(c), fmi2OK);
    EXPECT_SAME_BITS(-1.0 * (53.36 * (0.0 - 10.0)), unit.get(c, bodyCommandX));
}

// A change seen in the first step counts as a rising edge, so a second change right after
// it restarts nothing: the integral keeps growing (0.005, then 0.01) and the x command is
// -(gain x integral + 53.36 x 1).
TEST_F(Station, IntegralGainSetBeforeTheFirstStepIsAChange) {
    c = unit.start(callbacks);
    unit.set(c, positionX, 1.0);
    unit.set(c, integralGainX, 2.0);
    ASSERT_EQ(unit->fmi2ExitInitializationMode(c), fmi2OK);
    EXPECT_SAME_BITS(-1.0 * (2.0 * 0.0 + (0.0 + 53.36)), unit.get(c, bodyCommandX));
    unit.set(c, integralGainX, 3.0);
    doStep(0.0, 0.005);
    EXPECT_SAME_BITS(-1.0 * (3.0 * 0.005 + (0.0 + 53.36)), unit.get(c, bodyCommandX));
}

// Without any initialise since load, the model record's references are already in place:
// the step runs on the inputs and parameters as they stand and gives what an initialised
// run with the same inputs gives.
TEST(StationLoad, StepsBeforeAnyInitialiseMatchAnInitialisedRun) {
    // positionX, xReference, integralGainX, yawRateDeg, dampingGainYaw
    const double settings[][2] = {
        {positionX, 1.0}, {xReference, 0.5}, {integralGainX, 4.0}, {5, 30.0}, {18, 0.25}};
    auto run = [&](bool initialise) {
        FreshUnit unit{"Kavrel"};
        master::CallbackRecorder callbacks;
        fmi2Component c = unit.instantiate(callbacks);
        EXPECT_NE(c, nullptr);
        if (initialise) {
            EXPECT_EQ(unit->fmi2EnterInitializationMode(c), fmi2OK);
        }
        for (const auto& s : settings) unit.set(c, static_cast<fmi2ValueReference>(s[0]), s[1]);
        std::vector<double> outputs;
        for (int k = 0; k < 5; ++k) {
            EXPECT_EQ(unit->fmi2DoStep(c, 0.005 * k, 0.005, fmi2True), fmi2OK);
            for (fmi2ValueReference vr : {bodyCommandX, bodyCommandY, yawCommand})
                outputs.push_back(unit.get(c, vr));
        }
        unit->fmi2FreeInstance(c);
        return outputs;
    };
    const std::vector<double> uninitialised = run(false);
    const std::vector<double> initialised = run(true);
    ASSERT_EQ(uninitialised.size(), initialised.size());
    for (size_t k = 0; k < initialised.size(); ++k)
        EXPECT_SAME_BITS(initialised[k], uninitialised[k]) << "output " << k;
    // First step: the x error is 1 - 0.5 and the integral still zero; the yaw command is the
    // yaw damping alone, (180/pi x 0.25) x (pi/180 x 30).
    EXPECT_SAME_BITS(-1.0 * (4.0 * 0.0 + (0.0 + 53.36 * (1.0 - 0.5))), uninitialised[0]);
    EXPECT_SAME_BITS(-1.0 * ((57.29577951308232 * 0.25) * (0.017453292519943295 * 30.0) + 0.0),
                     uninitialised[2]);
}

// Until the first initialise the infinity mark is still zero, so a limiter whose last time
// is 0.0 counts as having no sample: the references pass unlimited in the first two steps
// (both remember time 0.0) and are limited from the third on.
TEST(StationLoad, BeforeAnyInitialiseLimitersStartLimitingInTheThirdStep) {
    FreshUnit unit{"Kavrel"};
    master::CallbackRecorder callbacks;
    fmi2Component c = unit.instantiate(callbacks);
    ASSERT_NE(c, nullptr);
    const double references[3] = {0.5, 10.0, 20.0};
    const double expected[3] = {-1.0 * (53.36 * (0.0 - 0.5)), -1.0 * (53.36 * (0.0 - 10.0)),
                                -1.0 * (53.36 * (0.0 - (10.0 + (0.01 - 0.005) * 1.0)))};
    for (int k = 0; k < 3; ++k) {
        unit.set(c, xReference, references[k]);
        ASSERT_EQ(unit->fmi2DoStep(c, 0.005 * k, 0.005, fmi2True), fmi2OK);
        EXPECT_SAME_BITS(expected[k], unit.get(c, bodyCommandX)) << "step " << k;
    }
    unit->fmi2FreeInstance(c);
}

}  // namespace

// Tessit end to end through the master: the force and moment of the nine lines, their
// non-finite results, and where the random draws restart and where they carry on.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "line_force_fixture.h"

namespace line_force_test {
namespace {

using reference::ForceMoment;
using reference::Inputs;

const double inf = std::numeric_limits<double>::infinity();

Inputs generalPose(bool randomLinesCarryTension) {
    Inputs in;
    in.position = {1.0, -2.0, 0.5};
    in.attitudeDeg = {5.0, -3.0, 30.0};
    for (int j = 0; j < 9; ++j)
        in.tension[j] = (j < 6 || randomLinesCarryTension) ? 100.0 * (j + 1) : 0.0;
    return in;
}

Inputs line0Yaw90() {
    Inputs in = tensionOn(0, 1000.0);
    in.attitudeDeg[2] = 90.0;
    return in;
}

struct KnownCase {
    const char* name;
    Inputs inputs;
    ForceMoment firstStep;
    ForceMoment secondStep;  // the first fmi2DoStep of one local step
};

// Expected values to four decimals.
const KnownCase knownCases[] = {
    {"line 0 at rest", tensionOn(0, 1000.0),
     {-18.4733, -999.8294, 0.0, -387.4339, 7.1584, -554.1985},
     {-18.4733, -999.8294, 0.0, -387.4339, 7.1584, -554.1985}},
    {"line 0 at yaw 90", line0Yaw90(),
     {-999.5363, 30.4502, 0.0, 11.7995, 387.3203, -913.5061},
     {-999.5363, 30.4502, 0.0, 11.7995, 387.3203, -913.5061}},
    {"all lines, general pose", generalPose(true),
     {133.7844, 2896.2156, -346.0035, -927.4965, 290.2360, 318.4150},
     {-202.5885, 2406.8756, -1422.3426, -2384.2426, 822.9845, 35.8163}},
    {"fixed lines, general pose", generalPose(false),
     {-279.8159, 604.4353, -73.7403, 154.5364, 121.1034, -878.2320},
     {-279.8159, 604.4353, -73.7403, 154.5364, 121.1034, -878.2320}},
};

TEST_F(LineForceUnit, KnownForceMomentVectors) {
    for (const KnownCase& known : knownCases) {
        SCOPED_TRACE(known.name);
        ASSERT_EQ(unit->fmi2EnterInitializationMode(c), fmi2OK);
        setInputs(known.inputs);
        ASSERT_EQ(unit->fmi2ExitInitializationMode(c), fmi2OK);
        const ForceMoment first = outputs();
        doStep(1);
        const ForceMoment second = outputs();
        for (int i = 0; i < 6; ++i) {
            EXPECT_NEAR(known.firstStep[i], first[i], 5e-5) << "first step, component " << i;
            EXPECT_NEAR(known.secondStep[i], second[i], 5e-5) << "second step, component " << i;
        }
    }
}

TEST_F(LineForceUnit, FirstRandomLineAtRest) {
    setInputs(tensionOn(6, 1000.0));
    ASSERT_EQ(unit->fmi2ExitInitializationMode(c), fmi2OK);
    const ForceMoment expected = {132.0087, -657.7178, 741.6070, 755.2631, -587.4414, -655.4307};
    const ForceMoment actual = outputs();
    for (int i = 0; i < 6; ++i) EXPECT_NEAR(expected[i], actual[i], 5e-5) << "component " << i;
    // Unrotated, the force is the tension along the line between the step's first drawn
    // attachment point and anchor point.
    const double d[3] = {0.9648885351992765 - 0.8147236863931789,
                         0.15761308167754828 - 0.9057919370756192,
                         0.9705927817606157 - 0.12698681629350606};
    EXPECT_NEAR(1.1375377384743857, std::sqrt(d[1] * d[1] + d[0] * d[0] + d[2] * d[2]), 1e-15);
    for (int p = 0; p < 3; ++p)
        EXPECT_NEAR(1000.0 * d[p] / 1.1375377384743857, actual[p], 1e-11) << "force " << p;
}

TEST_F(LineForceUnit, EqualTensionsOnTheFixedLinesCancelToTheLastBits) {
    Inputs in;
    for (int j = 0; j < 6; ++j) in.tension[j] = 1000.0;
    setInputs(in);
    ASSERT_EQ(unit->fmi2ExitInitializationMode(c), fmi2OK);
    bool anyNonZero = false;
    for (double value : outputs()) {
        EXPECT_LE(std::fabs(value), 1.2e-13);
        anyNonZero = anyNonZero || value != 0.0;
    }
    EXPECT_TRUE(anyNonZero) << "the sums are not exactly zero";
}

TEST_F(LineForceUnit, ZeroTensionsGivePositiveZeros) {
    // High above every anchor each line's force z is negative, so every product of the
    // force z sum is -0.0; the sum itself starts from +0.0.
    for (double height : {0.0, 100.0}) {
        SCOPED_TRACE(height);
        Inputs in;
        in.position[2] = height;
        in.tension.fill(0.0);
        setInputs(in);
        doStep(1);
        for (double value : outputs()) EXPECT_SAME_BITS(0.0, value);
    }
}

struct NonFiniteCase {
    const char* name;
    Inputs inputs;
    ForceMoment expected;  // NaN where every NaN is expected
};

Inputs with(Inputs in, int field, double value) {
    if (field < 3) in.position[field] = value;
    else if (field < 6) in.attitudeDeg[field - 3] = value;
    else in.tension[field - 6] = value;
    return in;
}

const double nan = std::numeric_limits<double>::quiet_NaN();
const ForceMoment allNaN = {nan, nan, nan, nan, nan, nan};

const NonFiniteCase nonFiniteCases[] = {
    // Attachment point 0 lies on anchor point 0: that line's 0/0 spoils every output.
    {"zero-length line 0", with(with(Inputs{}, 0, -0.5371045802570896), 1, -29.069707578016764),
     allNaN},
    {"NaN tension on line 3", with(tensionOn(0, 1000.0), 9, nan), allNaN},
    {"NaN tension on line 7", with(tensionOn(0, 1000.0), 13, nan), allNaN},
    {"infinite position y", with(tensionOn(0, 1000.0), 1, inf), allNaN},
    {"NaN position z", with(tensionOn(0, 1000.0), 2, nan), allNaN},
    {"infinite roll", with(tensionOn(0, 1000.0), 3, inf), allNaN},
    {"NaN yaw", with(tensionOn(0, 1000.0), 5, nan), allNaN},
    // Line 0 at rest has no z component: infinity times that zero is NaN.
    {"infinite tension on line 0", tensionOn(0, inf), {-inf, -inf, nan, -inf, inf, -inf}},
};

TEST_F(LineForceUnit, NonFiniteResults) {
    for (const NonFiniteCase& known : nonFiniteCases) {
        SCOPED_TRACE(known.name);
        ASSERT_EQ(unit->fmi2EnterInitializationMode(c), fmi2OK);
        setInputs(known.inputs);
        ASSERT_EQ(unit->fmi2ExitInitializationMode(c), fmi2OK);
        const ForceMoment actual = outputs();
        for (int i = 0; i < 6; ++i) {
            if (std::isnan(known.expected[i]))
                EXPECT_TRUE(std::isnan(actual[i])) << "component " << i << ": " << actual[i];
            else
                EXPECT_SAME_BITS(known.expected[i], actual[i]) << "component " << i;
        }
    }
}

TEST_F(LineForceUnit, EveryInitialiseRestartsTheDraws) {
    const Inputs in = generalPose(true);
    ForceMoment runs[2][3];
    for (auto& run : runs) {
        ASSERT_EQ(unit->fmi2EnterInitializationMode(c), fmi2OK);
        setInputs(in);
        ASSERT_EQ(unit->fmi2ExitInitializationMode(c), fmi2OK);
        run[0] = outputs();
        doStep(1);
        run[1] = outputs();
        doStep(3);
        run[2] = outputs();
    }
    for (int k = 0; k < 3; ++k) expectSameOutputs(runs[0][k], runs[1][k]);
    EXPECT_NE(runs[0][0], runs[0][1]);
    EXPECT_NE(runs[0][1], runs[0][2]);
}

TEST_F(LineForceUnit, InitialiseClearsInputsAndOutputs) {
    setInputs(generalPose(true));
    ASSERT_EQ(unit->fmi2ExitInitializationMode(c), fmi2OK);
    ASSERT_EQ(unit->fmi2EnterInitializationMode(c), fmi2OK);
    for (fmi2ValueReference vr = 0; vr < timeRef; ++vr) EXPECT_SAME_BITS(0.0, unit.get(c, vr));
}

// The unit's sequence of steps for fixed inputs, from the independent derivation.
std::vector<ForceMoment> referenceSteps(const Inputs& in, int count) {
    reference::LineForce model;
    std::vector<ForceMoment> steps;
    for (int k = 0; k < count; ++k) steps.push_back(model.step(in));
    return steps;
}

TEST_F(LineForceUnit, ResetLetsTheDrawsGoOn) {
    const Inputs in = generalPose(true);
    const auto expected = referenceSteps(in, 3);
    setInputs(in);
    ASSERT_EQ(unit->fmi2ExitInitializationMode(c), fmi2OK);
    doStep(1);
    expectNearOutputs(expected[1], outputs());
    ASSERT_EQ(unit->fmi2Reset(c), fmi2OK);
    expectSameOutputs(expected[1], outputs());
    EXPECT_SAME_BITS(0.005, unit.get(c, timeRef));
    EXPECT_SAME_BITS(in.tension[8], unit.get(c, 14));
    doStep(1);
    expectNearOutputs(expected[2], outputs());
}

TEST_F(LineForceUnit, ANewInstanceGoesOnWithTheDrawsUntilItInitialises) {
    const Inputs in = generalPose(true);
    const auto expected = referenceSteps(in, 3);
    setInputs(in);
    ASSERT_EQ(unit->fmi2ExitInitializationMode(c), fmi2OK);
    unit->fmi2FreeInstance(c);
    c = unit.instantiate(callbacks);
    ASSERT_NE(c, nullptr);
    // The inputs are still those the first instance set.
    doStep(1);
    expectNearOutputs(expected[1], outputs());
    doStep(1);
    expectNearOutputs(expected[2], outputs());
    ASSERT_EQ(unit->fmi2EnterInitializationMode(c), fmi2OK);
    setInputs(in);
    ASSERT_EQ(unit->fmi2ExitInitializationMode(c), fmi2OK);
    expectNearOutputs(expected[0], outputs());
}

TEST_F(LineForceUnit, ZeroStepTakesNoDraw) {
    const Inputs in = generalPose(true);
    const auto expected = referenceSteps(in, 2);
    setInputs(in);
    ASSERT_EQ(unit->fmi2ExitInitializationMode(c), fmi2OK);
    const ForceMoment first = outputs();
    ASSERT_EQ(unit->fmi2DoStep(c, 0.0, 0.0, fmi2True), fmi2OK);
    expectSameOutputs(first, outputs());
    doStep(1);
    expectNearOutputs(expected[1], outputs());
}

TEST_F(LineForceUnit, OutputsChangeOnlyWhenALocalStepRuns) {
    setInputs(tensionOn(0, 1000.0));
    ASSERT_EQ(unit->fmi2ExitInitializationMode(c), fmi2OK);
    const ForceMoment first = outputs();
    setInputs(generalPose(true));
    expectSameOutputs(first, outputs());
    unit.set(c, 17, 7.5);
    EXPECT_SAME_BITS(7.5, unit.get(c, 17));
    ASSERT_EQ(unit->fmi2DoStep(c, 0.0, 0.0, fmi2True), fmi2OK);
    EXPECT_SAME_BITS(7.5, unit.get(c, 17)) << "a zero step runs no local step";
    doStep(1);
    EXPECT_NE(7.5, unit.get(c, 17));
    EXPECT_NE(first[0], unit.get(c, 15));
}

TEST_F(LineForceUnit, TimeReferenceAndTheBoundOfTheTable) {
    doStep(2);
    EXPECT_SAME_BITS(0.01, unit.get(c, timeRef));
    unit.set(c, timeRef, 0.5);
    EXPECT_EQ(unit->fmi2DoStep(c, 0.5, 0.005, fmi2True), fmi2OK);
    EXPECT_SAME_BITS(0.5 + 0.005, unit.get(c, timeRef));

    callbacks.clear();
    fmi2ValueReference vr = 22;
    double value = 3.0;
    EXPECT_EQ(unit->fmi2GetReal(c, &vr, 1, &value), fmi2Error);
    EXPECT_EQ(unit->fmi2SetReal(c, &vr, 1, &value), fmi2Error);
    ASSERT_EQ(callbacks.log.size(), 2u);
    for (const auto& line : callbacks.log) {
        EXPECT_EQ(line.message, "valueReference out of range");
        EXPECT_EQ(line.category, "error");
    }
}

TEST(LineForceLoad, StepBeforeAnyInitialiseDrawsAsAfterInitialise) {
    support::FreshUnit unit{"Tessit"};
    master::CallbackRecorder callbacks;
    fmi2Component c = unit.instantiate(callbacks);
    ASSERT_NE(c, nullptr);
    unit.set(c, 6 + 6, 1000.0);
    ASSERT_EQ(unit->fmi2DoStep(c, 0.0, 0.005, fmi2True), fmi2OK);
    const ForceMoment expected = reference::LineForce().step(tensionOn(6, 1000.0));
    for (int i = 0; i < 6; ++i)
        EXPECT_SAME_BITS(expected[i], unit.get(c, 15 + static_cast<fmi2ValueReference>(i)));
    unit->fmi2FreeInstance(c);
}

}  // namespace
}  // namespace line_force_test

// Set-up, initialisation, reset and the communication step: tolerances at their
// boundaries, the time, trace lines and step-finished notifications.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "bits.h"
#include "unit_under_test.h"

namespace {

using support::FreshUnit;

const fmi2ValueReference timeRef = 12;
const char* const stepSizeFormat = "CommunicationStepSize=%.16g, LocalSolverStepSize=%.16g";
const char* const stepCountFormat = "Local solver will do %d steps from t = %.16g.";
const char* const badStepSize = "Stepsize must be non-negative and divisible by 0.005";
const char* const badPoint = "CurrentCommunicationPoint is not equal to FMU time";

struct Step : ::testing::Test {
    FreshUnit unit{"Quarnet"};
    master::CallbackRecorder callbacks;
    fmi2Component c = unit.start(callbacks, true);

    void TearDown() override { unit->fmi2FreeInstance(c); }

    double time() { return unit.get(c, timeRef); }
};

TEST_F(Step, StepSizeTestAtItsBoundaries) {
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        double h;
        fmi2Status status;
        int steps;  // -1 when rejected
    };
    const Case cases[] = {
        {0.0, fmi2OK, 0},
        {-0.0, fmi2OK, 0},
        {3e-9, fmi2OK, 0},
        {5e-9, fmi2OK, 0},
        {std::nextafter(5e-9, 1.0), fmi2Error, -1},
        {0.001, fmi2Error, -1},
        {0.0025, fmi2Error, -1},  // a half rounds up to one step, then is 0.0025 off
        {0.005, fmi2OK, 1},
        {0.005 + 4e-9, fmi2OK, 1},
        {0.0075, fmi2Error, -1},
        {0.01, fmi2OK, 2},
        {-0.005, fmi2Error, -1},
        {-1e300, fmi2Error, -1},
        {10737418.2375, fmi2Error, -1},  // 2^31 local steps do not fit the count
        {1e300, fmi2Error, -1},
        {inf, fmi2Error, -1},
        {-inf, fmi2Error, -1},
        {std::nan(""), fmi2Error, -1},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE("h = " + support::describeBits(k.h));
        unit->fmi2SetupExperiment(c, fmi2False, 0, 0.0, fmi2False, 0);
        callbacks.clear();
        EXPECT_EQ(unit->fmi2DoStep(c, 0.0, k.h, fmi2True), k.status);
        ASSERT_EQ(callbacks.log.size(), 2u);
        EXPECT_EQ(callbacks.log[0].format, stepSizeFormat);
        EXPECT_EQ(callbacks.log[0].status, fmi2OK);
        EXPECT_EQ(callbacks.log[0].category, "info");
        ASSERT_EQ(callbacks.stepsFinished.size(), 1u);
        EXPECT_EQ(callbacks.stepsFinished[0].status, k.status);
        EXPECT_EQ(callbacks.stepsFinished[0].environment, &callbacks);
        if (k.status == fmi2OK) {
            EXPECT_EQ(callbacks.log[1].message,
                      "Local solver will do " + std::to_string(k.steps) + " steps from t = 0.");
            EXPECT_SAME_BITS(0.0 + k.h, time());
        } else {
            EXPECT_EQ(callbacks.log[1].message, badStepSize);
            EXPECT_EQ(callbacks.log[1].format,
                      "Stepsize must be non-negative and divisible by %.16g");
            EXPECT_EQ(callbacks.log[1].status, fmi2Error);
            EXPECT_EQ(callbacks.log[1].category, "error");
            EXPECT_SAME_BITS(0.0, time()) << "a rejected step leaves the time";
        }
    }
}

TEST_F(Step, TraceLinesCarryTheirArguments) {
    ASSERT_EQ(unit->fmi2DoStep(c, 0.0, 0.02, fmi2True), fmi2OK);
    ASSERT_EQ(callbacks.log.size(), 2u);
    EXPECT_EQ(callbacks.log[0].message,
              "CommunicationStepSize=0.02, LocalSolverStepSize=0.005");
    EXPECT_EQ(callbacks.log[1].format, stepCountFormat);
    EXPECT_EQ(callbacks.log[1].message, "Local solver will do 4 steps from t = 0.");
    ASSERT_EQ(unit->fmi2DoStep(c, 0.02, 0.005, fmi2True), fmi2OK);
    EXPECT_EQ(callbacks.log[3].message, "Local solver will do 1 steps from t = 0.02.");
}

TEST_F(Step, LocalStepCountFollowsTheStepSize) {
    // Quarnet's outputs change only when a local step runs: feed it a new input before
    // each call and see whether the output followed.
    struct Case {
        double h;
        bool runs;
    };
    const Case cases[] = {{0.0, false}, {3e-9, false}, {0.005, true}, {0.01, true}};
    double t = 0.0;
    double input = 1.0;
    for (const Case& k : cases) {
        unit.set(c, 1, input);
        const double before = unit.get(c, 7);
        ASSERT_EQ(unit->fmi2DoStep(c, t, k.h, fmi2True), fmi2OK);
        EXPECT_SAME_BITS(k.runs ? input : before, unit.get(c, 7)) << "h = " << k.h;
        t += k.h;
        input += 1.0;
    }
}

TEST_F(Step, CommunicationPointTestAtItsBoundaries) {
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        double time;
        double t;
        bool accepted;
    };
    const Case cases[] = {
        {0.0, 5e-9, true},
        {0.0, -5e-9, true},
        {0.0, std::nextafter(5e-9, 1.0), false},
        {1.0, 1.0 + 4e-9, true},
        {1.0, 1.00001, false},
        {0.0, inf, false},
        {0.0, std::nan(""), false},
        {inf, inf, false},
        {std::nan(""), 0.0, false},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE("fmuTime " + support::describeBits(k.time) + ", t " +
                     support::describeBits(k.t));
        unit.set(c, timeRef, k.time);
        const double before = time();
        callbacks.clear();
        EXPECT_EQ(unit->fmi2DoStep(c, k.t, 0.005, fmi2True), k.accepted ? fmi2OK : fmi2Error);
        ASSERT_EQ(callbacks.log.size(), 2u);
        ASSERT_EQ(callbacks.stepsFinished.size(), 1u);
        if (k.accepted) {
            EXPECT_SAME_BITS(k.t + 0.005, time()) << "t replaces the time before the step";
        } else {
            EXPECT_EQ(callbacks.log[1].message, badPoint);
            EXPECT_EQ(callbacks.log[1].status, fmi2Error);
            EXPECT_EQ(callbacks.stepsFinished[0].status, fmi2Error);
            EXPECT_SAME_BITS(before, time());
        }
    }
}

TEST_F(Step, TimeMovesByTheWholeStepSize) {
    ASSERT_EQ(unit->fmi2DoStep(c, 0.0, 0.005 + 4e-9, fmi2True), fmi2OK);
    EXPECT_SAME_BITS(0.005 + 4e-9, time());
    ASSERT_EQ(unit->fmi2DoStep(c, 0.005 + 4e-9, 0.01, fmi2True), fmi2OK);
    EXPECT_SAME_BITS((0.005 + 4e-9) + 0.01, time());
}

TEST_F(Step, WithoutLoggingOnlyErrorsAreSent) {
    ASSERT_EQ(unit->fmi2SetDebugLogging(c, fmi2False, 0, nullptr), fmi2OK);
    EXPECT_EQ(unit->fmi2DoStep(c, 0.0, 0.01, fmi2True), fmi2OK);
    EXPECT_TRUE(callbacks.log.empty());
    EXPECT_EQ(unit->fmi2DoStep(c, 0.0, 0.01, fmi2True), fmi2Error);
    ASSERT_EQ(callbacks.log.size(), 1u);
    EXPECT_EQ(callbacks.log[0].message, badPoint);
    EXPECT_EQ(callbacks.stepsFinished.size(), 2u);
}

TEST_F(Step, WithoutStepFinishedCallbackTheResultIsTheSame) {
    callbacks.functions.stepFinished = nullptr;
    EXPECT_EQ(unit->fmi2DoStep(c, 0.0, 0.01, fmi2True), fmi2OK);
    EXPECT_EQ(unit->fmi2DoStep(c, 5.0, 0.01, fmi2True), fmi2Error);
    EXPECT_TRUE(callbacks.stepsFinished.empty());
}

TEST_F(Step, SetupExperimentAcceptsOnlyAStartTimeNearZero) {
    struct Case {
        double start;
        bool accepted;
    };
    const Case cases[] = {{1e-7, true},  {-1e-7, true}, {-0.0, true},
                          {2e-7, false}, {std::nan(""), false},
                          {std::numeric_limits<double>::infinity(), false}};
    for (const Case& k : cases) {
        SCOPED_TRACE(support::describeBits(k.start));
        unit.set(c, timeRef, 0.75);
        callbacks.clear();
        EXPECT_EQ(unit->fmi2SetupExperiment(c, fmi2True, 1e-3, k.start, fmi2True, 1.0),
                  k.accepted ? fmi2OK : fmi2Error);
        if (k.accepted) {
            EXPECT_TRUE(callbacks.log.empty());
            EXPECT_SAME_BITS(k.start, time()) << "the start time itself, not zero";
        } else {
            ASSERT_EQ(callbacks.log.size(), 1u);
            EXPECT_EQ(callbacks.log[0].message, "start time is not zero.");
            EXPECT_EQ(callbacks.log[0].status, fmi2Error);
            EXPECT_EQ(callbacks.log[0].category, "error");
            EXPECT_SAME_BITS(0.75, time());
        }
    }
}

TEST_F(Step, SetupExperimentAfterStepsSetsTheTimeBack) {
    ASSERT_EQ(unit->fmi2DoStep(c, 0.0, 0.01, fmi2True), fmi2OK);
    ASSERT_EQ(unit->fmi2SetupExperiment(c, fmi2False, 0, 0.0, fmi2False, 0), fmi2OK);
    EXPECT_EQ(unit->fmi2DoStep(c, 0.01, 0.01, fmi2True), fmi2Error);
    EXPECT_EQ(unit->fmi2DoStep(c, 0.0, 0.01, fmi2True), fmi2OK);
}

TEST_F(Step, ExitInitialisationRunsOneLocalStepEachTimeAndLogsNothing) {
    unit.set(c, 0, 4.0);
    callbacks.clear();
    EXPECT_EQ(unit->fmi2ExitInitializationMode(c), fmi2OK);
    EXPECT_SAME_BITS(-4.0, unit.get(c, 6));
    unit.set(c, 0, 5.0);
    callbacks.clear();
    EXPECT_EQ(unit->fmi2ExitInitializationMode(c), fmi2OK);
    EXPECT_TRUE(callbacks.log.empty());
    EXPECT_TRUE(callbacks.stepsFinished.empty());
    EXPECT_SAME_BITS(0.0, time());
    EXPECT_SAME_BITS(-5.0, unit.get(c, 6));
}

TEST_F(Step, ResetKeepsTimeAndStateAndLogsNothing) {
    unit.set(c, 0, 4.0);
    ASSERT_EQ(unit->fmi2DoStep(c, 0.0, 0.01, fmi2True), fmi2OK);
    callbacks.clear();
    EXPECT_EQ(unit->fmi2Reset(c), fmi2OK);
    EXPECT_EQ(unit->fmi2Terminate(c), fmi2OK);
    EXPECT_TRUE(callbacks.log.empty());
    EXPECT_SAME_BITS(0.01, time());
    EXPECT_SAME_BITS(4.0, unit.get(c, 0));
    EXPECT_SAME_BITS(-4.0, unit.get(c, 6));
    EXPECT_EQ(unit->fmi2DoStep(c, 0.0, 0.01, fmi2True), fmi2Error);
    EXPECT_EQ(unit->fmi2DoStep(c, 0.01, 0.01, fmi2True), fmi2OK);
}

TEST_F(Step, EnterInitialisationAgainClearsInputsButKeepsTheTime) {
    unit.set(c, 0, 4.0);
    ASSERT_EQ(unit->fmi2DoStep(c, 0.0, 0.01, fmi2True), fmi2OK);
    EXPECT_EQ(unit->fmi2EnterInitializationMode(c), fmi2OK);
    EXPECT_SAME_BITS(0.0, unit.get(c, 0));
    EXPECT_SAME_BITS(0.0, unit.get(c, 6));
    EXPECT_SAME_BITS(0.01, time());
}

TEST_F(Step, TwoInstancesReadTheSameOutputs) {
    fmi2Component other = unit.instantiate(callbacks, false, "other");
    ASSERT_NE(other, nullptr);
    unit.set(c, 3, 2.0);
    ASSERT_EQ(unit->fmi2DoStep(c, 0.0, 0.005, fmi2True), fmi2OK);
    EXPECT_SAME_BITS(-2.0, unit.get(other, 9));
    EXPECT_SAME_BITS(0.0, unit.get(other, timeRef)) << "the time is each instance's own";
    unit->fmi2FreeInstance(other);
}

}  // namespace

// The entry points of services no unit offers: fmi2OK, nothing written, nothing logged.
#include <gtest/gtest.h>

#include "bits.h"
#include "unit_under_test.h"

namespace {

using support::FreshUnit;

struct Inert : ::testing::TestWithParam<bool> {  // with a live component, or null
    FreshUnit unit{"Quarnet"};
    master::CallbackRecorder callbacks;
    fmi2Component live = unit.start(callbacks, true);
    fmi2Component c = GetParam() ? live : nullptr;

    void TearDown() override { unit->fmi2FreeInstance(live); }
};

TEST_P(Inert, SucceedLeavingOutParametersUntouched) {
    callbacks.clear();
    auto& u = unit.lib();
    fmi2FMUstate sentinelState = reinterpret_cast<fmi2FMUstate>(0x1234);
    fmi2FMUstate state = sentinelState;
    fmi2Boolean flagA = 7, flagB = 8;
    double reals[4] = {1, 2, 3, 4};
    size_t size = 99;
    fmi2Byte bytes[4] = {'a', 'b', 'c', 'd'};
    fmi2EventInfo info{5, 6, 7, 8, 9, 10.5};
    fmi2ValueReference refs[4] = {0, 1, 4000000000u, 7};
    fmi2Integer orders[4] = {1, 1, 1, 1};

    EXPECT_EQ(u.fmi2CancelStep(c), fmi2OK);
    EXPECT_EQ(u.fmi2CompletedIntegratorStep(c, fmi2True, &flagA, &flagB), fmi2OK);
    EXPECT_EQ(u.fmi2DeSerializeFMUstate(c, bytes, 4, &state), fmi2OK);
    EXPECT_EQ(u.fmi2EnterContinuousTimeMode(c), fmi2OK);
    EXPECT_EQ(u.fmi2EnterEventMode(c), fmi2OK);
    EXPECT_EQ(u.fmi2FreeFMUstate(c, &state), fmi2OK);
    EXPECT_EQ(u.fmi2FreeFMUstate(c, nullptr), fmi2OK);
    EXPECT_EQ(u.fmi2GetContinuousStates(c, reals, 4), fmi2OK);
    EXPECT_EQ(u.fmi2GetDerivatives(c, reals, 4), fmi2OK);
    EXPECT_EQ(u.fmi2GetDirectionalDerivative(c, refs, 2, refs, 2, reals, reals), fmi2OK);
    EXPECT_EQ(u.fmi2GetEventIndicators(c, reals, 4), fmi2OK);
    EXPECT_EQ(u.fmi2GetFMUstate(c, &state), fmi2OK);
    EXPECT_EQ(u.fmi2GetNominalsOfContinuousStates(c, reals, 4), fmi2OK);
    EXPECT_EQ(u.fmi2NewDiscreteStates(c, &info), fmi2OK);
    EXPECT_EQ(u.fmi2SerializeFMUstate(c, state, bytes, 4), fmi2OK);
    EXPECT_EQ(u.fmi2SerializedFMUstateSize(c, state, &size), fmi2OK);
    EXPECT_EQ(u.fmi2SetContinuousStates(c, reals, 4), fmi2OK);
    EXPECT_EQ(u.fmi2SetFMUstate(c, state), fmi2OK);
    EXPECT_EQ(u.fmi2SetFMUstate(c, nullptr), fmi2OK);
    EXPECT_EQ(u.fmi2SetRealInputDerivatives(c, refs, 4, orders, reals), fmi2OK);
    EXPECT_EQ(u.fmi2SetTime(c, 123.0), fmi2OK);

    EXPECT_EQ(state, sentinelState);
    EXPECT_EQ(flagA, 7);
    EXPECT_EQ(flagB, 8);
    for (int k = 0; k < 4; ++k) EXPECT_SAME_BITS(k + 1.0, reals[k]);
    EXPECT_EQ(size, 99u);
    EXPECT_EQ(std::string(bytes, 4), "abcd");
    EXPECT_EQ(info.newDiscreteStatesNeeded, 5);
    EXPECT_EQ(info.terminateSimulation, 6);
    EXPECT_SAME_BITS(10.5, info.nextEventTime);
    EXPECT_TRUE(callbacks.log.empty());
    EXPECT_TRUE(callbacks.stepsFinished.empty()) << "cancelling calls no step-finished";
    EXPECT_SAME_BITS(0.0, unit.get(live, 12)) << "fmi2SetTime does not move the time";
}

TEST_P(Inert, StatusQueriesWriteNothingForAnyKind) {
    callbacks.clear();
    auto& u = unit.lib();
    for (fmi2StatusKind kind :
         {fmi2DoStepStatus, fmi2PendingStatus, fmi2LastSuccessfulTime, fmi2Terminated}) {
        fmi2Status status = fmi2Pending;
        double real = 4.5;
        fmi2Integer integer = 11;
        fmi2Boolean boolean = 12;
        fmi2String text = "kept";
        EXPECT_EQ(u.fmi2GetStatus(c, kind, &status), fmi2OK);
        EXPECT_EQ(u.fmi2GetRealStatus(c, kind, &real), fmi2OK);
        EXPECT_EQ(u.fmi2GetIntegerStatus(c, kind, &integer), fmi2OK);
        EXPECT_EQ(u.fmi2GetBooleanStatus(c, kind, &boolean), fmi2OK);
        EXPECT_EQ(u.fmi2GetStringStatus(c, kind, &text), fmi2OK);
        EXPECT_EQ(status, fmi2Pending);
        EXPECT_SAME_BITS(4.5, real);
        EXPECT_EQ(integer, 11);
        EXPECT_EQ(boolean, 12);
        EXPECT_STREQ(text, "kept");
    }
    EXPECT_TRUE(callbacks.log.empty());
}

TEST_P(Inert, OutputDerivativesAreZeroForExactlyTheCount) {
    callbacks.clear();
    const fmi2ValueReference refs[3] = {6, 500, 4294967295u};
    const fmi2Integer orders[3] = {1, 2, 3};
    double values[4] = {-1.0, -2.0, -3.0, -4.0};
    EXPECT_EQ(unit->fmi2GetRealOutputDerivatives(c, refs, 3, orders, values), fmi2OK);
    EXPECT_SAME_BITS(0.0, values[0]);
    EXPECT_SAME_BITS(0.0, values[1]);
    EXPECT_SAME_BITS(0.0, values[2]);
    EXPECT_SAME_BITS(-4.0, values[3]);
    EXPECT_EQ(unit->fmi2GetRealOutputDerivatives(c, nullptr, 0, nullptr, nullptr), fmi2OK);
    // A null value array with a count writes nothing instead of crashing.
    EXPECT_EQ(unit->fmi2GetRealOutputDerivatives(c, refs, 3, orders, nullptr), fmi2OK);
    EXPECT_TRUE(callbacks.log.empty());
}

INSTANTIATE_TEST_SUITE_P(Component, Inert, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Live" : "Null"; });

TEST(InertWithoutInstance, AnswerBeforeAnyInstantiation) {
    FreshUnit unit{"Quarnet"};
    double values[2] = {5.0, 6.0};
    fmi2ValueReference refs[2] = {0, 1};
    EXPECT_EQ(unit->fmi2GetRealOutputDerivatives(nullptr, refs, 2, nullptr, values), fmi2OK);
    EXPECT_SAME_BITS(0.0, values[1]);
    EXPECT_EQ(unit->fmi2SetTime(nullptr, 1.0), fmi2OK);
    EXPECT_EQ(unit->fmi2CancelStep(nullptr), fmi2OK);
}

}  // namespace

// Reading and writing by value reference: checks before copies, element-by-element writes,
// signed zeros and NaNs, and the accessors of the types no unit has.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "bits.h"
#include "unit_under_test.h"

namespace {

using support::FreshUnit;

struct Access : ::testing::Test {
    FreshUnit unit{"Quarnet"};
    master::CallbackRecorder callbacks;
    fmi2Component c = unit.start(callbacks, true);

    void TearDown() override { unit->fmi2FreeInstance(c); }
};

TEST_F(Access, EmptyRequestsSucceedWithNullArrays) {
    callbacks.clear();
    EXPECT_EQ(unit->fmi2GetReal(c, nullptr, 0, nullptr), fmi2OK);
    EXPECT_EQ(unit->fmi2SetReal(c, nullptr, 0, nullptr), fmi2OK);
    EXPECT_EQ(unit->fmi2GetInteger(c, nullptr, 0, nullptr), fmi2OK);
    EXPECT_EQ(unit->fmi2SetInteger(c, nullptr, 0, nullptr), fmi2OK);
    EXPECT_EQ(unit->fmi2GetBoolean(c, nullptr, 0, nullptr), fmi2OK);
    EXPECT_EQ(unit->fmi2SetBoolean(c, nullptr, 0, nullptr), fmi2OK);
    EXPECT_EQ(unit->fmi2GetString(c, nullptr, 0, nullptr), fmi2OK);
    EXPECT_EQ(unit->fmi2SetString(c, nullptr, 0, nullptr), fmi2OK);
    EXPECT_TRUE(callbacks.log.empty());
}

TEST_F(Access, NullArraysWithACountAreInvalidMemoryAccess) {
    fmi2ValueReference vr = 0;
    double real = 1.0;
    int integer = 1;
    fmi2String text = "x";
    const fmi2Status results[] = {
        unit->fmi2GetReal(c, nullptr, 1, &real),     unit->fmi2GetReal(c, &vr, 1, nullptr),
        unit->fmi2SetReal(c, nullptr, 1, &real),     unit->fmi2SetReal(c, &vr, 1, nullptr),
        unit->fmi2GetInteger(c, nullptr, 1, &integer), unit->fmi2SetInteger(c, &vr, 1, nullptr),
        unit->fmi2GetBoolean(c, &vr, 1, nullptr),    unit->fmi2SetBoolean(c, nullptr, 1, &integer),
        unit->fmi2GetString(c, nullptr, 1, &text),   unit->fmi2SetString(c, &vr, 1, nullptr),
    };
    for (fmi2Status s : results) EXPECT_EQ(s, fmi2Error);
    ASSERT_EQ(callbacks.log.size(), 10u);
    for (const auto& line : callbacks.log) {
        EXPECT_EQ(line.message, "invalid memory access");
        EXPECT_EQ(line.status, fmi2Error);
        EXPECT_EQ(line.category, "error");
        EXPECT_EQ(line.instanceName, "unit");
    }
}

TEST_F(Access, RealReferencesFromTheBoundUpAreOutOfRange) {
    for (fmi2ValueReference vr : {13u, 14u, 2147483648u, 4294967295u}) {
        callbacks.clear();
        double value = 9.0;
        EXPECT_EQ(unit->fmi2GetReal(c, &vr, 1, &value), fmi2Error) << vr;
        EXPECT_EQ(unit->fmi2SetReal(c, &vr, 1, &value), fmi2Error) << vr;
        EXPECT_SAME_BITS(9.0, value);
        ASSERT_EQ(callbacks.log.size(), 2u);
        EXPECT_EQ(callbacks.log[0].message, "valueReference out of range");
        EXPECT_EQ(callbacks.log[1].message, "valueReference out of range");
    }
    fmi2ValueReference last = 12;
    double value = 1.0;
    EXPECT_EQ(unit->fmi2GetReal(c, &last, 1, &value), fmi2OK);
}

TEST_F(Access, GetterChecksEveryReferenceBeforeWritingAny) {
    unit.set(c, 0, 3.0);
    callbacks.clear();
    const fmi2ValueReference vr[] = {0, 13};
    double values[] = {-1.0, -2.0};
    EXPECT_EQ(unit->fmi2GetReal(c, vr, 2, values), fmi2Error);
    EXPECT_SAME_BITS(-1.0, values[0]);
    EXPECT_SAME_BITS(-2.0, values[1]);
    ASSERT_EQ(callbacks.log.size(), 1u) << "no trace line for the element that passed";
    EXPECT_EQ(callbacks.log[0].message, "valueReference out of range");
}

TEST_F(Access, SetterAppliesElementsBeforeABadReference) {
    const fmi2ValueReference vr[] = {0, 13, 1};
    const double values[] = {2.5, 3.5, 4.5};
    callbacks.clear();
    EXPECT_EQ(unit->fmi2SetReal(c, vr, 3, values), fmi2Error);
    ASSERT_EQ(callbacks.log.size(), 2u);
    EXPECT_EQ(callbacks.log[0].format, "setReal vr:%d, value:%lf");
    EXPECT_EQ(callbacks.log[0].message, "setReal vr:0, value:2.500000");
    EXPECT_EQ(callbacks.log[0].status, fmi2OK);
    EXPECT_EQ(callbacks.log[0].category, "info");
    EXPECT_EQ(callbacks.log[1].message, "valueReference out of range");
    EXPECT_SAME_BITS(2.5, unit.get(c, 0));
    EXPECT_SAME_BITS(0.0, unit.get(c, 1));
}

TEST_F(Access, TracesCarryReferenceAndValue) {
    const fmi2ValueReference vr[] = {0, 0};
    const double values[] = {1.25, -7.0};
    callbacks.clear();
    EXPECT_EQ(unit->fmi2SetReal(c, vr, 2, values), fmi2OK);
    double read = 0;
    fmi2ValueReference one = 0;
    EXPECT_EQ(unit->fmi2GetReal(c, &one, 1, &read), fmi2OK);
    EXPECT_SAME_BITS(-7.0, read) << "the last of two writes to one reference stays";
    ASSERT_EQ(callbacks.log.size(), 3u);
    EXPECT_EQ(callbacks.log[0].message, "setReal vr:0, value:1.250000");
    EXPECT_EQ(callbacks.log[1].message, "setReal vr:0, value:-7.000000");
    EXPECT_EQ(callbacks.log[2].format, "getReal vr:%d, value:%lf");
    EXPECT_EQ(callbacks.log[2].message, "getReal vr:0, value:-7.000000");
}

TEST_F(Access, EqualValuesAreNotStoredSoZerosKeepTheirSign) {
    struct Case {
        double stored;
        double written;
        double expected;
    };
    const double nan = support::fromBits(0x7FF8000000000001ULL);
    const Case cases[] = {
        {0.0, -0.0, 0.0},
        {-0.0, 0.0, -0.0},
        {1.0, nan, nan},
        {nan, nan, nan},
        {nan, 2.0, 2.0},
        {1.0, 2.0, 2.0},
        {1.0, 1.0, 1.0},
    };
    for (const Case& k : cases) {
        unit.set(c, 2, 1.0);  // a value unequal to both zeros, so either can be stored
        unit.set(c, 2, k.stored);
        callbacks.clear();
        fmi2ValueReference vr = 2;
        EXPECT_EQ(unit->fmi2SetReal(c, &vr, 1, &k.written), fmi2OK);
        ASSERT_EQ(callbacks.log.size(), 1u) << "traced whether or not it was stored";
        EXPECT_SAME_BITS(k.expected, unit.get(c, 2));
    }
    unit.set(c, 2, 0.0);
    callbacks.clear();
    const double minusZero = -0.0;
    fmi2ValueReference vr = 2;
    unit->fmi2SetReal(c, &vr, 1, &minusZero);
    EXPECT_EQ(callbacks.log[0].message, "setReal vr:2, value:-0.000000");
}

TEST_F(Access, TheTimeIsReadAndWrittenThroughItsReference) {
    unit.set(c, 12, 2.5);
    EXPECT_SAME_BITS(2.5, unit.get(c, 12));
    EXPECT_EQ(unit->fmi2DoStep(c, 0.0, 0.005, fmi2True), fmi2Error);
    EXPECT_EQ(unit->fmi2DoStep(c, 2.5 + 5e-9, 0.005, fmi2True), fmi2OK);
}

TEST_F(Access, OtherTypesHaveNoVariables) {
    const fmi2ValueReference vr = 0;
    int integer = 7;
    fmi2String text = "keep";
    callbacks.clear();
    EXPECT_EQ(unit->fmi2GetInteger(c, &vr, 1, &integer), fmi2Error);
    EXPECT_EQ(unit->fmi2GetBoolean(c, &vr, 1, &integer), fmi2Error);
    EXPECT_EQ(unit->fmi2GetString(c, &vr, 1, &text), fmi2Error);
    EXPECT_EQ(unit->fmi2SetInteger(c, &vr, 1, &integer), fmi2Error);
    EXPECT_EQ(unit->fmi2SetBoolean(c, &vr, 1, &integer), fmi2Error);
    EXPECT_EQ(unit->fmi2SetString(c, &vr, 1, &text), fmi2Error);
    EXPECT_EQ(integer, 7);
    EXPECT_STREQ(text, "keep");
    ASSERT_EQ(callbacks.log.size(), 6u);
    for (const auto& line : callbacks.log) EXPECT_EQ(line.message, "valueReference out of range");
    EXPECT_SAME_BITS(0.0, unit.get(c, 0)) << "nothing reached the real variables";
}

TEST_F(Access, WithLoggingOffErrorsStillComeAndTracesDoNot) {
    ASSERT_EQ(unit->fmi2SetDebugLogging(c, fmi2False, 0, nullptr), fmi2OK);
    callbacks.clear();
    unit.set(c, 0, 1.0);
    unit.get(c, 0);
    EXPECT_TRUE(callbacks.log.empty());
    fmi2ValueReference bad = 99;
    double value = 0;
    EXPECT_EQ(unit->fmi2GetReal(c, &bad, 1, &value), fmi2Error);
    EXPECT_EQ(callbacks.log.size(), 1u);
}

}  // namespace

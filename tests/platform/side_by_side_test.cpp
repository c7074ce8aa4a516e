// Two units loaded side by side in one process share nothing: sets and steps in one leave
// every value of the other as it was. Every pair of units, a unit with a second copy of
// itself included, on whichever platform the test runs.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bits.h"
#include "unit_under_test.h"

namespace {

using support::FreshUnit;

struct Pair {
    std::string first;
    std::string second;
};

void PrintTo(const Pair& pair, std::ostream* out) { *out << pair.first << " " << pair.second; }

std::vector<Pair> unitPairs() {
    std::vector<Pair> pairs;
    for (const auto& a : support::allUnits())
        for (const auto& b : support::allUnits()) pairs.push_back({a.name, b.name});
    return pairs;
}

std::string pairName(const ::testing::TestParamInfo<Pair>& info) {
    return info.param.first + "_" + info.param.second;
}

struct Running {
    FreshUnit unit;
    master::CallbackRecorder callbacks;
    fmi2Component c;
    explicit Running(const std::string& name) : unit(name), c(unit.start(callbacks)) {}
    ~Running() {
        if (c != nullptr) unit->fmi2FreeInstance(c);
    }

    // Writes every input and parameter: inputs from `base`, parameters scaled from their
    // start values, so that each run of a unit is told apart from another.
    void setAll(double base) {
        int k = 0;
        for (const auto& v : unit.description().variables) {
            if (v.causality == "input") unit.set(c, v.valueReference, base + 0.125 * k++);
            if (v.causality == "parameter")
                unit.set(c, v.valueReference, v.start && *v.start != 0.0 ? *v.start * base : base);
        }
    }
    std::vector<double> values() {
        std::vector<double> all;
        for (const auto& v : unit.description().variables) all.push_back(unit.get(c, v.valueReference));
        return all;
    }
    void run(double base) {
        setAll(base);
        ASSERT_EQ(unit->fmi2ExitInitializationMode(c), fmi2OK);
        ASSERT_EQ(unit->fmi2DoStep(c, 0.0, 0.02, fmi2True), fmi2OK);
        setAll(base + 1.0);
        ASSERT_EQ(unit->fmi2DoStep(c, 0.02, 0.05, fmi2True), fmi2OK);
    }
};

void expectUnchanged(const std::vector<double>& before, Running& unit) {
    std::vector<double> after = unit.values();
    ASSERT_EQ(after.size(), before.size());
    const auto& variables = unit.unit.description().variables;
    for (size_t i = 0; i < before.size(); ++i)
        EXPECT_SAME_BITS(before[i], after[i]) << variables[i].name;
}

struct SideBySide : ::testing::TestWithParam<Pair> {};

TEST_P(SideBySide, SetsAndStepsInOneLeaveTheOtherUntouched) {
    Running first(GetParam().first);
    Running second(GetParam().second);
    ASSERT_NE(first.c, nullptr);
    ASSERT_NE(second.c, nullptr);

    first.run(0.5);
    std::vector<double> firstValues = first.values();
    size_t firstLog = first.callbacks.log.size();
    size_t firstSteps = first.callbacks.stepsFinished.size();
    second.run(-2.0);
    expectUnchanged(firstValues, first);
    EXPECT_EQ(first.callbacks.log.size(), firstLog);
    EXPECT_EQ(first.callbacks.stepsFinished.size(), firstSteps);

    std::vector<double> secondValues = second.values();
    first.setAll(3.0);
    ASSERT_EQ(first.unit->fmi2DoStep(first.c, 0.07, 0.01, fmi2True), fmi2OK);
    expectUnchanged(secondValues, second);
    EXPECT_EQ(second.callbacks.stepsFinished.size(), 2u);
}

INSTANTIATE_TEST_SUITE_P(Units, SideBySide, ::testing::ValuesIn(unitPairs()), pairName);

}  // namespace

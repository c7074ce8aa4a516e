// Each unit's modelDescription.xml against the schema, against the rules masters check
// beyond it, and against the library it describes.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "bits.h"
#include "unit_under_test.h"

namespace {

struct Description : ::testing::TestWithParam<support::UnitFiles> {
    master::ModelDescription md = master::readModelDescription(GetParam().description);
};

bool isBraceGuid(const std::string& guid) {
    if (guid.size() != 38 || guid.front() != '{' || guid.back() != '}') return false;
    for (size_t i = 1; i < 37; ++i) {
        const bool hyphen = i == 9 || i == 14 || i == 19 || i == 24;
        const char ch = guid[i];
        if (hyphen ? ch != '-' : !(std::isdigit(static_cast<unsigned char>(ch)) ||
                                   (ch >= 'a' && ch <= 'f')))
            return false;
    }
    return true;
}

TEST_P(Description, ValidatesAgainstTheSchema) {
    const std::string command = std::string("xmllint --noout --schema '") + support::schemaPath() +
                                "' '" + GetParam().description + "' 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
}

TEST_P(Description, NamesTheUnitAndItsGuid) {
    EXPECT_EQ(md.fmiVersion, "2.0");
    EXPECT_EQ(md.modelIdentifier, GetParam().name);
    EXPECT_TRUE(isBraceGuid(md.guid)) << md.guid;
}

// Inputs, outputs, the time, then parameters, one variable per reference from 0 up.
TEST_P(Description, NumbersVariablesInRoleOrder) {
    const std::string order[] = {"input", "output", "independent", "parameter"};
    size_t role = 0;
    std::set<std::string> names;
    for (size_t k = 0; k < md.variables.size(); ++k) {
        const master::ScalarVariable& v = md.variables[k];
        EXPECT_EQ(v.valueReference, k) << v.name;
        EXPECT_TRUE(names.insert(v.name).second) << "duplicate name " << v.name;
        while (role < 4 && v.causality != order[role]) ++role;
        ASSERT_LT(role, 4u) << v.name << " has causality " << v.causality << " out of order";
    }
    EXPECT_EQ(md.withCausality("independent").size(), 1u);
    EXPECT_FALSE(md.withCausality("output").empty());
}

TEST_P(Description, UsesLegalCombinationsAndStartValues) {
    for (const master::ScalarVariable& v : md.variables) {
        SCOPED_TRACE(v.name);
        if (v.causality == "input") {
            EXPECT_EQ(v.variability, "continuous");
            EXPECT_TRUE(v.initial.empty());
            EXPECT_TRUE(v.start.has_value()) << "inputs need a start value";
        } else if (v.causality == "output") {
            EXPECT_EQ(v.variability, "continuous");
            EXPECT_EQ(v.initial, "calculated");
            EXPECT_FALSE(v.start.has_value()) << "calculated outputs have no start value";
        } else if (v.causality == "independent") {
            EXPECT_EQ(v.variability, "continuous");
            EXPECT_TRUE(v.initial.empty());
            EXPECT_FALSE(v.start.has_value());
        } else if (v.causality == "parameter") {
            EXPECT_EQ(v.variability, "tunable");
            EXPECT_TRUE(v.initial.empty() || v.initial == "exact");
            EXPECT_TRUE(v.start.has_value()) << "parameters need a start value";
        } else {
            ADD_FAILURE() << "unexpected causality " << v.causality;
        }
    }
}

TEST_P(Description, DeclaresTheLogCategoriesTheUnitLogs) {
    EXPECT_EQ(md.logCategories, (std::vector<std::string>{"error", "info"}));
}

// Outputs are computed in the local steps only, so at one communication point they do not
// depend on the inputs (no direct feedthrough, declared as an empty list); the local step
// of fmi2ExitInitializationMode computes them from the inputs and parameters.
TEST_P(Description, DeclaresOutputsWithoutFeedthroughAndInitialUnknownsFromInputsAndParameters) {
    std::vector<unsigned> outputs;
    std::vector<unsigned> knowns;
    for (size_t k = 0; k < md.variables.size(); ++k) {
        const std::string& causality = md.variables[k].causality;
        if (causality == "output") outputs.push_back(static_cast<unsigned>(k + 1));
        if (causality == "input" || causality == "parameter")
            knowns.push_back(static_cast<unsigned>(k + 1));
    }
    EXPECT_EQ(md.outputIndices, outputs);
    EXPECT_EQ(md.initialUnknownIndices, outputs);
    using Dependencies = std::optional<std::vector<unsigned>>;
    EXPECT_EQ(md.outputDependencies,
              std::vector<Dependencies>(outputs.size(), std::vector<unsigned>{}));
    EXPECT_EQ(md.initialUnknownDependencies, std::vector<Dependencies>(outputs.size(), knowns));
}

// What the empty lists promise: setting every input changes no output until a local step
// runs; the next step that runs one does take them up.
TEST_P(Description, InputsReachTheOutputsOnlyThroughTheNextStep) {
    support::FreshUnit unit{GetParam().name};
    master::CallbackRecorder callbacks;
    fmi2Component c = unit.start(callbacks);
    ASSERT_NE(c, nullptr);
    ASSERT_EQ(unit->fmi2ExitInitializationMode(c), fmi2OK);
    ASSERT_EQ(unit->fmi2DoStep(c, 0.0, 0.01, fmi2True), fmi2OK);

    auto outputBits = [&] {
        std::vector<uint64_t> bits;
        for (const master::ScalarVariable* v : md.withCausality("output"))
            bits.push_back(support::bitsOf(unit.get(c, v->valueReference)));
        return bits;
    };
    const std::vector<uint64_t> before = outputBits();
    double value = 0.5;
    for (const master::ScalarVariable* v : md.withCausality("input")) {
        unit.set(c, v->valueReference, value);
        value += 0.25;
    }
    EXPECT_EQ(outputBits(), before) << "after setting the inputs";
    ASSERT_EQ(unit->fmi2DoStep(c, 0.01, 0.0, fmi2True), fmi2OK);
    EXPECT_EQ(outputBits(), before) << "after a step without local steps";
    ASSERT_EQ(unit->fmi2DoStep(c, 0.01, 0.005, fmi2True), fmi2OK);
    EXPECT_NE(outputBits(), before) << "the next local step takes the inputs up";
    unit->fmi2FreeInstance(c);
}

// The library behind the description: the same count of real references, the time where
// the description puts it, and the start values as the library holds them at load.
TEST_P(Description, MatchesTheLibrary) {
    support::FreshUnit unit{GetParam().name};
    master::CallbackRecorder callbacks;
    fmi2Component c = unit.instantiate(callbacks);
    ASSERT_NE(c, nullptr);

    const fmi2ValueReference count = static_cast<fmi2ValueReference>(md.variables.size());
    double value = 0;
    fmi2ValueReference last = count - 1;
    EXPECT_EQ(unit->fmi2GetReal(c, &last, 1, &value), fmi2OK);
    EXPECT_EQ(unit->fmi2GetReal(c, &count, 1, &value), fmi2Error)
        << "the library has more real references than the description";

    for (const master::ScalarVariable& v : md.variables)
        if (v.start) {
            EXPECT_SAME_BITS(*v.start, unit.get(c, v.valueReference)) << v.name;
        }

    const master::ScalarVariable* time = md.withCausality("independent").front();
    ASSERT_EQ(unit->fmi2SetupExperiment(c, fmi2False, 0, 1e-7, fmi2False, 0), fmi2OK);
    EXPECT_SAME_BITS(1e-7, unit.get(c, time->valueReference));
    unit->fmi2FreeInstance(c);
}

INSTANTIATE_TEST_SUITE_P(EachUnit, Description, ::testing::ValuesIn(support::allUnits()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace

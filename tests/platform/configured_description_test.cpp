// The descriptions written out for the cross-built tests must read back as exactly what the
// master reads from the same files: every string, reference, index, dependency list and
// start value's bits.
#include <gtest/gtest.h>

#include <utility>

#include "bits.h"
#include "configured_description.h"
#include "model_description.h"
#include "unit_under_test.h"

namespace {

void expectSameDescription(const master::ModelDescription& got,
                           const master::ModelDescription& want) {
    EXPECT_EQ(got.fmiVersion, want.fmiVersion);
    EXPECT_EQ(got.modelName, want.modelName);
    EXPECT_EQ(got.guid, want.guid);
    EXPECT_EQ(got.modelIdentifier, want.modelIdentifier);
    EXPECT_EQ(got.logCategories, want.logCategories);
    EXPECT_EQ(got.outputIndices, want.outputIndices);
    EXPECT_EQ(got.initialUnknownIndices, want.initialUnknownIndices);
    EXPECT_EQ(got.outputDependencies, want.outputDependencies);
    EXPECT_EQ(got.initialUnknownDependencies, want.initialUnknownDependencies);
    ASSERT_EQ(got.variables.size(), want.variables.size());
    for (size_t i = 0; i < want.variables.size(); ++i) {
        const master::ScalarVariable& g = got.variables[i];
        const master::ScalarVariable& w = want.variables[i];
        SCOPED_TRACE(w.name);
        EXPECT_EQ(g.name, w.name);
        EXPECT_EQ(g.valueReference, w.valueReference);
        EXPECT_EQ(g.description, w.description);
        EXPECT_EQ(g.causality, w.causality);
        EXPECT_EQ(g.variability, w.variability);
        EXPECT_EQ(g.initial, w.initial);
        ASSERT_EQ(g.start.has_value(), w.start.has_value());
        if (w.start) {
            EXPECT_SAME_BITS(*w.start, *g.start);
        }
    }
}

TEST(ConfiguredDescription, MatchesTheParsedModelDescriptionOfEveryUnit) {
    ASSERT_FALSE(support::allUnits().empty());
    for (const auto& unit : support::allUnits()) {
        SCOPED_TRACE(unit.name);
        expectSameDescription(support::configuredDescription(unit.name),
                              master::readModelDescription(unit.description));
    }
}

TEST(ConfiguredDescription, UnknownUnitIsRefused) {
    EXPECT_THROW(support::configuredDescription("NoSuchUnit"), std::runtime_error);
}

}  // namespace

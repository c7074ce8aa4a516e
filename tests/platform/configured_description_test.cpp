// The description the build reads for the cross-built tests must say what the master's
// parser reads from the same file.
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
    EXPECT_EQ(got.outputIndices, want.outputIndices);
    EXPECT_EQ(got.initialUnknownIndices, want.initialUnknownIndices);
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

// Comments, single quotes, entities, '>' inside values, attributes across lines and
// missing causality and variability.
TEST(ConfiguredDescription, ReadsAnAwkwardDescriptionAsTheParserDoes) {
    master::ModelDescription md;
#include "awkward_description.inc"
    master::ModelDescription parsed = master::readModelDescription(AWKWARD_DESCRIPTION);
    ASSERT_EQ(parsed.variables.size(), 4u);
    EXPECT_EQ(parsed.modelName, "quoted 'single'");
    EXPECT_EQ(parsed.variables[0].description, "\"x\" < 1; y > 2");
    EXPECT_EQ(parsed.variables[2].causality, "local");
    expectSameDescription(md, parsed);
}

TEST(ConfiguredDescription, UnknownUnitIsRefused) {
    EXPECT_THROW(support::configuredDescription("NoSuchUnit"), std::runtime_error);
}

}  // namespace

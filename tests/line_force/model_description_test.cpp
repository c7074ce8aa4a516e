// Tessit's model description against the binding the library uses.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "fmu_package.h"
#include "model_binding.h"
#include "model_description.h"
#include "unit_under_test.h"

namespace {

const support::UnitFiles& files() { return support::unitFiles("Tessit"); }

TEST(LineForceDescription, MatchesTheBinding) {
    const master::ModelDescription md = master::readModelDescription(files().description);
    EXPECT_EQ(md.guid, modelBinding.modelGuid);
    EXPECT_EQ(md.modelIdentifier, "Tessit");
    ASSERT_EQ(md.variables.size(), modelBinding.realRefCount);

    std::set<unsigned> refs;
    std::set<std::string> names;
    std::set<unsigned> outputIndices;
    for (size_t k = 0; k < md.variables.size(); ++k) {
        const master::ScalarVariable& v = md.variables[k];
        SCOPED_TRACE(v.name);
        ASSERT_LT(v.valueReference, modelBinding.realRefCount);
        EXPECT_TRUE(refs.insert(v.valueReference).second) << "value reference used twice";
        EXPECT_TRUE(names.insert(v.name).second) << "name used twice";
        EXPECT_EQ(v.variability, "continuous");
        const unsigned vr = v.valueReference;
        if (vr < modelBinding.firstOutputRef) {
            EXPECT_EQ(v.causality, "input");
            ASSERT_TRUE(v.start.has_value());
            EXPECT_EQ(*v.start, 0.0);
        } else if (vr < modelBinding.timeRef) {
            EXPECT_EQ(v.causality, "output");
            EXPECT_EQ(v.initial, "calculated");
            EXPECT_FALSE(v.start.has_value());
            outputIndices.insert(static_cast<unsigned>(k + 1));
        } else {
            EXPECT_EQ(vr, modelBinding.timeRef);
            EXPECT_EQ(v.causality, "independent");
            EXPECT_FALSE(v.start.has_value());
        }
        EXPECT_EQ(modelBinding.valueTable[vr] == nullptr, vr == modelBinding.timeRef);
    }
    EXPECT_EQ(outputIndices.size(), modelBinding.outputCount);
    EXPECT_EQ(std::set<unsigned>(md.outputIndices.begin(), md.outputIndices.end()), outputIndices);
    EXPECT_EQ(md.outputIndices.size(), modelBinding.outputCount);
    EXPECT_EQ(std::set<unsigned>(md.initialUnknownIndices.begin(), md.initialUnknownIndices.end()),
              outputIndices);
    EXPECT_EQ(md.initialUnknownIndices.size(), modelBinding.outputCount);
}

TEST(LineForceDescription, PackageCarriesTheSameDescription) {
    master::FmuPackage package(files().package);
    EXPECT_EQ(package.description().guid, modelBinding.modelGuid);
    EXPECT_EQ(package.description().variables.size(), modelBinding.realRefCount);
}

}  // namespace

// Dorvane's model description against the binding compiled into the unit: GUID, value
// references, causalities, start values and the model structure.
#include <gtest/gtest.h>

#include <string>

#include "bits.h"
#include "fmu_package.h"
#include "model_binding.h"
#include "unit_under_test.h"

namespace {

const master::ModelDescription& description() {
    static const master::ModelDescription d =
        master::readModelDescription(support::unitFiles("Dorvane").description);
    return d;
}

TEST(DorvaneDescription, GuidAndIdentifierMatchTheUnit) {
    EXPECT_EQ(description().guid, modelBinding.modelGuid);
    EXPECT_EQ(std::string(modelBinding.modelGuid).size(), 38u);
    EXPECT_EQ(description().modelIdentifier, "Dorvane");
    master::FmuPackage package(support::unitFiles("Dorvane").package);
    EXPECT_EQ(package.description().guid, modelBinding.modelGuid);
}

TEST(DorvaneDescription, EveryValueReferenceOnceWithTheRoleOfItsRange) {
    const auto& vars = description().variables;
    ASSERT_EQ(vars.size(), modelBinding.realRefCount);
    std::vector<unsigned> outputIndices;
    for (unsigned vr = 0; vr < modelBinding.realRefCount; ++vr) {
        const master::ScalarVariable& v = vars[vr];
        EXPECT_EQ(v.valueReference, vr) << v.name << ": listed in value-reference order";
        if (vr < modelBinding.firstOutputRef) {
            EXPECT_EQ(v.causality, "input") << v.name;
            ASSERT_TRUE(v.start.has_value()) << v.name;
            EXPECT_SAME_BITS(0.0, *v.start) << v.name;
        } else if (vr < modelBinding.timeRef) {
            EXPECT_EQ(v.causality, "output") << v.name;
            EXPECT_EQ(v.initial, "calculated") << v.name;
            EXPECT_FALSE(v.start.has_value()) << v.name;
            outputIndices.push_back(vr + 1);
        } else if (vr == modelBinding.timeRef) {
            EXPECT_EQ(v.causality, "independent") << v.name;
            EXPECT_FALSE(v.start.has_value()) << v.name;
        } else {
            EXPECT_EQ(v.causality, "parameter") << v.name;
            EXPECT_EQ(v.variability, "tunable") << v.name;
            ASSERT_TRUE(v.start.has_value()) << v.name;
            // The start value is the one the unit holds at load.
            EXPECT_SAME_BITS(*modelBinding.valueTable[vr], *v.start) << v.name;
        }
    }
    EXPECT_EQ(description().outputIndices, outputIndices);
    EXPECT_EQ(description().initialUnknownIndices, outputIndices);
}

TEST(DorvaneDescription, NamesOfTheParametersOutputTermsAndTime) {
    const char* names[] = {"stretchTerm0", "geometryTerm0", "integralTerm0",
                           "modelTimeOutput", "fmuTime", "activationThreshold",
                           "tensionIntegralGain", "lineStiffness", "drumRadius"};
    for (unsigned k = 0; k < 9; ++k) {
        const master::ScalarVariable* v = description().find(names[k]);
        ASSERT_NE(v, nullptr) << names[k];
        EXPECT_EQ(v->valueReference, 25 + k) << names[k];
    }
}

}  // namespace

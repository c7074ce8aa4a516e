// Kavrel's model description against the model binding.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "bits.h"
#include "model_binding.h"
#include "model_description.h"
#include "station.h"
#include "unit_under_test.h"

namespace {

const master::ModelDescription& description() {
    static const master::ModelDescription md =
        master::readModelDescription(support::unitFiles("Kavrel").description);
    return md;
}

TEST(StationDescription, GuidAndIdentifierMatchTheUnit) {
    EXPECT_EQ(description().guid, modelBinding.modelGuid);
    EXPECT_EQ(description().modelIdentifier, "Kavrel");
    EXPECT_EQ(description().fmiVersion, "2.0");
}

// Every value reference of the binding is described once, with the causality its place in
// the numbering gives, and each name reaches the field of that name.
TEST(StationDescription, EveryValueReferenceOnceWithItsRoleAndField) {
    const struct {
        const char* name;
        const double* field;
    } fields[] = {
        {"positionX", &stationInputs.positionX},
        {"positionY", &stationInputs.positionY},
        {"headingDeg", &stationInputs.headingDeg},
        {"bodyVelocityX", &stationInputs.bodyVelocityX},
        {"bodyVelocityY", &stationInputs.bodyVelocityY},
        {"yawRateDeg", &stationInputs.yawRateDeg},
        {"oscillationTime", &stationInputs.oscillationTime},
        {"bodyCommandX", &stationOutputs.bodyCommandX},
        {"bodyCommandY", &stationOutputs.bodyCommandY},
        {"yawCommand", &stationOutputs.yawCommand},
        {"fmuTime", nullptr},
        {"yReference", &stationParameters.yReference},
        {"xReference", &stationParameters.xReference},
        {"headingOscillationAmplitudeDeg", &stationParameters.headingOscillationAmplitudeDeg},
        {"positionOscillationAmplitude", &stationParameters.positionOscillationAmplitude},
        {"gainFrameAngleDeg", &stationParameters.gainFrameAngleDeg},
        {"oscillationDirectionDeg", &stationParameters.oscillationDirectionDeg},
        {"dampingGainX", &stationParameters.dampingGainX},
        {"dampingGainYaw", &stationParameters.dampingGainYaw},
        {"dampingGainY", &stationParameters.dampingGainY},
        {"integralGainX", &stationParameters.integralGainX},
        {"integralGainYaw", &stationParameters.integralGainYaw},
        {"integralGainY", &stationParameters.integralGainY},
        {"proportionalGainX", &stationParameters.proportionalGainX},
        {"proportionalGainYaw", &stationParameters.proportionalGainYaw},
        {"proportionalGainY", &stationParameters.proportionalGainY},
        {"headingRateLimitDeg", &stationParameters.headingRateLimitDeg},
        {"positionRateLimit", &stationParameters.positionRateLimit},
        {"oscillationPeriod", &stationParameters.oscillationPeriod},
        {"headingReferenceDeg", &stationParameters.headingReferenceDeg},
    };
    const auto& md = description();
    ASSERT_EQ(md.variables.size(), modelBinding.realRefCount);
    ASSERT_EQ(std::size(fields), modelBinding.realRefCount);
    std::set<unsigned> seen;
    for (const auto& v : md.variables) {
        SCOPED_TRACE(v.name);
        ASSERT_LT(v.valueReference, modelBinding.realRefCount);
        EXPECT_TRUE(seen.insert(v.valueReference).second) << "value reference used twice";
        const unsigned vr = v.valueReference;
        EXPECT_EQ(v.name, fields[vr].name);
        if (vr == modelBinding.timeRef) {
            EXPECT_EQ(v.causality, "independent");
            EXPECT_EQ(modelBinding.valueTable[vr], nullptr);
            EXPECT_FALSE(v.start.has_value());
            continue;
        }
        EXPECT_EQ(modelBinding.valueTable[vr], fields[vr].field);
        if (vr < modelBinding.firstOutputRef) {
            EXPECT_EQ(v.causality, "input");
            EXPECT_EQ(v.variability, "continuous");
            ASSERT_TRUE(v.start.has_value());
            EXPECT_SAME_BITS(0.0, *v.start);
        } else if (vr < modelBinding.timeRef) {
            EXPECT_EQ(v.causality, "output");
            EXPECT_EQ(v.initial, "calculated");
            EXPECT_FALSE(v.start.has_value());
        } else {
            EXPECT_EQ(v.causality, "parameter");
            EXPECT_EQ(v.variability, "tunable");
            ASSERT_TRUE(v.start.has_value());
            // Nothing in this test program writes the parameters: these are the load values.
            EXPECT_SAME_BITS(*modelBinding.valueTable[vr], *v.start);
        }
    }
}

TEST(StationDescription, OutputsAreListedUnderOutputsAndInitialUnknowns) {
    const auto& md = description();
    std::vector<unsigned> expected;
    for (unsigned k = 0; k < modelBinding.outputCount; ++k) {
        unsigned vr = modelBinding.firstOutputRef + k;
        for (unsigned i = 0; i < md.variables.size(); ++i)
            if (md.variables[i].valueReference == vr) expected.push_back(i + 1);
    }
    ASSERT_EQ(expected.size(), 3u);
    EXPECT_EQ(md.outputIndices, expected);
    EXPECT_EQ(md.initialUnknownIndices, expected);
    EXPECT_EQ(md.withCausality("output").size(), 3u);
}

}  // namespace

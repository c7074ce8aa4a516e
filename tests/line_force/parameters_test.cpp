// The model's fixed data and what initialise leaves behind, seen directly in the model.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "bits.h"
#include "line_force.h"
#include "line_force_random.h"
#include "platform_geometry.h"

namespace {

TEST(LineForceModelData, ParametersHoldThePlatformTablesBitForBit) {
    // Attachment point 5's y is -0.0 and must stay so.
    for (int k = 0; k < 18; ++k) {
        EXPECT_SAME_BITS(platformLineTables.attachmentPoints[k],
                         lineForceParameters.attachmentPoints[k]) << k;
        EXPECT_SAME_BITS(platformLineTables.anchorPoints[k], lineForceParameters.anchorPoints[k])
            << k;
    }
    EXPECT_TRUE(std::signbit(lineForceParameters.attachmentPoints[16]));
    EXPECT_SAME_BITS(0.017453292519943295, lineForceParameters.degToRad);
}

TEST(LineForceModelData, InitialiseClearsEverythingAndLoadsTheStartState) {
    std::memset(&lineForceInputs, 0x5A, sizeof lineForceInputs);
    std::memset(&lineForceOutputs, 0x5A, sizeof lineForceOutputs);
    std::memset(&lineForceModel, 0x5A, sizeof lineForceModel);
    std::memset(&lineForceRandomState, 0x5A, sizeof lineForceRandomState);
    lineForceInitialize();
    const double* inputs = &lineForceInputs.platformPosition[0];
    for (int k = 0; k < 15; ++k) EXPECT_SAME_BITS(0.0, inputs[k]) << "input " << k;
    for (int k = 0; k < 6; ++k)
        EXPECT_SAME_BITS(0.0, lineForceOutputs.platformForceMoment[k]) << "output " << k;
    EXPECT_EQ(lineForceModel.reserved, nullptr);
    EXPECT_EQ(lineForceRandomState.twisterIndex, 624u);
    EXPECT_EQ(lineForceRandomState.twisterState[0], 5489u);
}

TEST(LineForceModelData, EachStepTakesEighteenDrawsAttachmentPointsFirst) {
    lineForceInitialize();
    lineForceInputs.lineTension[6] = 1.0;
    lineForceStep();
    // 18 draws of two outputs each from the fresh block.
    EXPECT_EQ(lineForceRandomState.twisterIndex, 36u);
    // At rest a unit tension on line 6 alone gives the unit vector from its attachment point
    // (the first nine draws) to its anchor point (the next nine) as the force, exactly.
    const double force[3] = {lineForceOutputs.platformForceMoment[0],
                             lineForceOutputs.platformForceMoment[1],
                             lineForceOutputs.platformForceMoment[2]};
    double attachment[9], anchor[9];
    lineForceRandomLoadStartState();
    lineForceRandomFill(attachment);
    lineForceRandomFill(anchor);
    const double d[3] = {anchor[0] - attachment[0], anchor[1] - attachment[1],
                         anchor[2] - attachment[2]};
    const double length = std::sqrt(d[1] * d[1] + d[0] * d[0] + d[2] * d[2]);
    for (int p = 0; p < 3; ++p) EXPECT_SAME_BITS(d[p] / length, force[p]) << p;
}

}  // namespace

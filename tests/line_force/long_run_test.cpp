// A long run of Tessit against the independent derivation: pose and tensions change at every
// communication step, steps of one to three local steps, many regenerations of the block.
#include <gtest/gtest.h>

#include <cmath>

#include "line_force_fixture.h"

namespace line_force_test {
namespace {

// Inputs of communication step k: a slow wander of the pose, tensions that come and go.
reference::Inputs inputsAt(int k) {
    reference::Inputs in;
    const double s = 0.01 * k;
    in.position = {2.0 * std::sin(0.7 * s), -1.5 * std::cos(0.3 * s), 0.25 * std::sin(s)};
    in.attitudeDeg = {8.0 * std::sin(1.1 * s), -6.0 * std::cos(0.9 * s), 180.0 * std::sin(0.05 * s)};
    for (int j = 0; j < 9; ++j)
        in.tension[j] = (k + j) % 7 == 0 ? 0.0 : 50.0 * (j + 1) + 10.0 * ((k * (j + 3)) % 11);
    return in;
}

TEST_F(LineForceUnit, LongRunMatchesTheIndependentDerivation) {
    reference::LineForce model;
    reference::Inputs in = inputsAt(0);
    setInputs(in);
    ASSERT_EQ(unit->fmi2ExitInitializationMode(c), fmi2OK);
    expectNearOutputs(model.step(in), outputs());

    const int communicationSteps = 3000;  // about 6000 local steps, 350 regenerations
    for (int k = 1; k <= communicationSteps && !HasFailure(); ++k) {
        in = inputsAt(k);
        setInputs(in);
        const int localSteps = 1 + k % 3;
        reference::ForceMoment expected{};
        for (int n = 0; n < localSteps; ++n) expected = model.step(in);
        doStep(localSteps);
        SCOPED_TRACE("communication step " + std::to_string(k));
        expectNearOutputs(expected, outputs());
    }
}

// Level platform: cos 0 and sin 0 are exact, so every bit of the order and grouping of the
// sums shows.
TEST_F(LineForceUnit, LongLevelRunMatchesBitForBit) {
    reference::LineForce model;
    for (int k = 0; k <= 2000 && !HasFailure(); ++k) {
        reference::Inputs in = inputsAt(k);
        in.attitudeDeg = {0.0, 0.0, 0.0};
        setInputs(in);
        reference::ForceMoment expected = model.step(in);
        if (k == 0) {
            ASSERT_EQ(unit->fmi2ExitInitializationMode(c), fmi2OK);
        } else {
            const int localSteps = 1 + k % 2;
            for (int n = 1; n < localSteps; ++n) expected = model.step(in);
            doStep(localSteps);
        }
        SCOPED_TRACE("communication step " + std::to_string(k));
        expectSameOutputs(expected, outputs());
    }
}

}  // namespace
}  // namespace line_force_test

// Tessit loaded afresh through our master, with the calls its tests repeat.
#pragma once

#include <array>

#include "bits.h"
#include "reference_line_force.h"
#include "unit_under_test.h"

namespace line_force_test {

constexpr fmi2ValueReference firstOutput = 15;
constexpr fmi2ValueReference timeRef = 21;

struct LineForceUnit : ::testing::Test {
    support::FreshUnit unit{"Tessit"};
    master::CallbackRecorder callbacks;
    fmi2Component c = unit.start(callbacks);

    void TearDown() override {
        if (c != nullptr) unit->fmi2FreeInstance(c);
    }

    void setInputs(const reference::Inputs& in) {
        for (fmi2ValueReference k = 0; k < 3; ++k) unit.set(c, k, in.position[k]);
        for (fmi2ValueReference k = 0; k < 3; ++k) unit.set(c, 3 + k, in.attitudeDeg[k]);
        for (fmi2ValueReference j = 0; j < 9; ++j) unit.set(c, 6 + j, in.tension[j]);
    }
    reference::ForceMoment outputs() {
        reference::ForceMoment out;
        for (int i = 0; i < 6; ++i)
            out[i] = unit.get(c, firstOutput + static_cast<fmi2ValueReference>(i));
        return out;
    }
    // One fmi2DoStep of `localSteps` local steps from the unit's current time.
    void doStep(int localSteps) {
        const double t = unit.get(c, timeRef);
        ASSERT_EQ(unit->fmi2DoStep(c, t, 0.005 * localSteps, fmi2True), fmi2OK);
    }
};

// Bit for bit, element by element.
inline void expectSameOutputs(const reference::ForceMoment& expected,
                              const reference::ForceMoment& actual) {
    for (int i = 0; i < 6; ++i) EXPECT_SAME_BITS(expected[i], actual[i]) << "component " << i;
}

// For values that pass through sin and cos of the attitude.
inline void expectNearOutputs(const reference::ForceMoment& expected,
                              const reference::ForceMoment& actual, int ulps = 4) {
    for (int i = 0; i < 6; ++i)
        EXPECT_TRUE(support::withinUlps(expected[i], actual[i], ulps)) << "component " << i;
}

inline reference::Inputs tensionOn(int line, double tension) {
    reference::Inputs in;
    in.tension[line] = tension;
    return in;
}

}  // namespace line_force_test

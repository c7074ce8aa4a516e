// A run with every part of the controller at work at once, against commands derived
// independently of the unit.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "bits.h"
#include "unit_under_test.h"

namespace {

// Derived by station_run_reference.py (in this folder), a re-computation from the
// controller's equations that shares no code with the unit: bodyCommandX, bodyCommandY,
// yawCommand after each of the 12 local steps.
const double expectedCommands[12][3] = {
    {0x1.7bb8a77709d5ep+2, -0x1.072979c3bdbe6p+2, 0x1.0000000000002p+2},
    {0x1.510e770e49907p+2, -0x1.dfa09f6ee15cdp+0, 0x1.86ccccccccccep+2},
    {0x1.25d637ae87b9ap+2, 0x1.73c62ca84e087p-2, 0x1.06cfdf3b645a2p+3},
    {0x1.f41feaef239a2p+1, 0x1.4c878d0636c29p+1, 0x1.4a3c6a7ef9db4p+3},
    {0x1.9a4802ce332e6p+1, 0x1.3588e28b43115p+2, 0x1.8cccccccccccep+3},
    {0x1.40a4f9d4aa6c2p+1, 0x1.c45c6852f7874p+2, 0x1.d05f3b645a1ccp+3},
    {0x1.cbcf2e9d9a780p+0, 0x1.2989067c0e010p+3, 0x1.09fb22d0e5604p+4},
    {0x1.5d2ac047053b0p-1, 0x1.633073a9cf7b0p+3, 0x1.24ccccccccccep+4},
    {-0x1.b948466c796e1p-2, 0x1.9cd23a206998ap+3, 0x1.4034fdf3b645ap+4},
    {-0x1.8d0d9f30a8f22p+0, 0x1.d6569b264ebb6p+3, 0x1.5b9df3b645a1dp+4},
    {-0x1.56ce5d17dd18ap+1, 0x1.07deb7abce1d0p+4, 0x1.7707ae147ae14p+4},
    {-0x1.e7ff69b88e998p+1, 0x1.248347acbeb63p+4, 0x1.92722d0e56042p+4},
};

const std::map<std::string, double> runParameters = {
    {"yReference", -0.2},          {"xReference", 0.4},
    {"headingOscillationAmplitudeDeg", 5.0},
    {"positionOscillationAmplitude", 0.3},
    {"gainFrameAngleDeg", 25.0},   {"oscillationDirectionDeg", 30.0},
    {"dampingGainX", 20.0},        {"dampingGainYaw", 3.0},
    {"dampingGainY", 25.0},        {"integralGainX", 1.5},
    {"integralGainYaw", 0.5},      {"integralGainY", 2.0},
    {"proportionalGainX", 40.0},   {"proportionalGainYaw", 4.0},
    {"proportionalGainY", 45.0},   {"headingRateLimitDeg", 10.0},
    {"positionRateLimit", 1.0},    {"oscillationPeriod", 0.04},
    {"headingReferenceDeg", 3.0},
};

// Integral gains changed before local step k: steps 4 and 5 in a row (one restart, in 4),
// then 7 after a step without change (a restart again).
std::map<std::string, double> gainChanges(int k) {
    switch (k) {
        case 4: return {{"integralGainX", 2.5}};
        case 5: return {{"integralGainYaw", 0.75}};
        case 7: return {{"integralGainY", 1.0}};
        default: return {};
    }
}

TEST(StationRun, MixedRunMatchesIndependentlyDerivedCommands) {
    support::FreshUnit unit{"Kavrel"};
    master::CallbackRecorder callbacks;
    fmi2Component c = unit.start(callbacks);
    ASSERT_NE(c, nullptr);
    auto setByName = [&](const std::string& name, double value) {
        const master::ScalarVariable* v = unit.description().find(name);
        ASSERT_NE(v, nullptr) << name;
        unit.set(c, v->valueReference, value);
    };
    for (const auto& [name, value] : runParameters) setByName(name, value);

    double time = 0.0;
    for (int k = 0; k < 12; ++k) {
        SCOPED_TRACE("local step " + std::to_string(k));
        for (const auto& [name, value] : gainChanges(k)) setByName(name, value);
        const double kd = k;
        const double inputs[7] = {0.1 + 0.02 * kd, -0.05 * kd,      0.5 - 0.1 * kd, 0.3,
                                  -0.2 + 0.01 * kd, 2.0 - 0.5 * kd, 0.003 * kd};
        for (fmi2ValueReference vr = 0; vr < 7; ++vr) unit.set(c, vr, inputs[vr]);
        if (k == 0) {
            ASSERT_EQ(unit->fmi2ExitInitializationMode(c), fmi2OK);
        } else {
            ASSERT_EQ(unit->fmi2DoStep(c, time, 0.005, fmi2True), fmi2OK);
            time += 0.005;
        }
        for (int j = 0; j < 3; ++j)
            EXPECT_TRUE(support::withinUlps(expectedCommands[k][j],
                                            unit.get(c, static_cast<fmi2ValueReference>(7 + j)),
                                            8))
                << "command " << j;
    }
    unit->fmi2FreeInstance(c);
}

}  // namespace

// The shared platform geometry on its own: tables, rotation, line vectors and lengths.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "bits.h"
#include "platform_geometry.h"

namespace {

const double inf = std::numeric_limits<double>::infinity();
const double nan = std::numeric_limits<double>::quiet_NaN();

struct Pose {
    double position[3];
    double attitude[3];  // roll, pitch, yaw in degrees
};

// The whole vector of one line, component by component.
void lineVector(const double rotation[9], const double position[3], const double attachment[3],
                const double anchor[3], double vector[3]) {
    for (int p = 0; p < 3; ++p)
        vector[p] = lineVectorComponent(rotation, position, attachment, anchor, p);
}

struct Geometry {
    double rotation[9];
    double vectors[6][3];
    double lengths[6];
};

Geometry compute(const Pose& pose) {
    Geometry g;
    attitudeRotation(pose.attitude[0], pose.attitude[1], pose.attitude[2], platformDegToRad,
                     platformDegToRad, platformDegToRad, g.rotation);
    for (int i = 0; i < 6; ++i) {
        lineVector(g.rotation, pose.position, &platformLineTables.attachmentPoints[3 * i],
                   &platformLineTables.anchorPoints[3 * i], g.vectors[i]);
        g.lengths[i] = lineLength(g.vectors[i]);
    }
    return g;
}

TEST(PlatformTables, HoldTheListedValuesWithOneNegativeZero) {
    const double attachment[18] = {
        0.5371045802570896, -0.9302924219832349, -0.3875, 0.5371045802570896,
        -0.9302924219832349, -0.3875, 0.5371045802570896, 0.9302924219832349, -0.3875,
        0.5371045802570896, 0.9302924219832349, -0.3875, -1.0742091605141793, 0.0, -0.3875,
        -1.0742091605141793, -0.0, -0.3875};
    const double anchor[18] = {0.0, -30.0, -0.3875, 25.980762113533157, -15.0, -0.3875,
                               25.980762113533157, 15.0, -0.3875, 0.0, 30.0, -0.3875,
                               -25.980762113533157, 15.0, -0.3875, -25.980762113533157,
                               -15.0, -0.3875};
    for (int k = 0; k < 18; ++k) {
        EXPECT_SAME_BITS(attachment[k], platformLineTables.attachmentPoints[k]) << k;
        EXPECT_SAME_BITS(anchor[k], platformLineTables.anchorPoints[k]) << k;
    }
    EXPECT_EQ(support::bitsOf(platformLineTables.attachmentPoints[16]), 0x8000000000000000ULL);
    EXPECT_EQ(support::bitsOf(platformLineTables.attachmentPoints[13]), 0ULL);
    EXPECT_EQ(support::bitsOf(platformLineTables.anchorPoints[0]), 0ULL);
    EXPECT_EQ(support::bitsOf(platformDegToRad), 0x3F91DF46A2529D39ULL);
}

TEST(PlatformGeometry, ZeroPoseIsTheIdentityWithANegativeZero) {
    Geometry g = compute({{0, 0, 0}, {0, 0, 0}});
    const double identity[9] = {1.0, 0.0, -0.0, 0.0, 1.0, 0.0, 0.0, 0.0, 1.0};
    for (int k = 0; k < 9; ++k) EXPECT_SAME_BITS(identity[k], g.rotation[k]) << "element " << k;
    EXPECT_SAME_BITS(-0.5371045802570896, g.vectors[0][0]);
    EXPECT_SAME_BITS(-29.069707578016764, g.vectors[0][1]);
    EXPECT_SAME_BITS(-24.906552953018977, g.vectors[4][0]);
    EXPECT_SAME_BITS(15.0, g.vectors[4][1]);
    for (int i = 0; i < 6; ++i) {
        EXPECT_SAME_BITS(0.0, g.vectors[i][2]) << "line " << i;
        EXPECT_SAME_BITS(29.07466904371464, g.lengths[i]) << "line " << i;
    }
}

// Expected lengths: the listed ones, and for the tilted pose the same formulas evaluated
// step by step in Python floats (IEEE doubles, same grouping), printed with repr().
struct LengthCase {
    const char* name;
    Pose pose;
    double lengths[6];
    int ulps;  // 0: no sin or cos other than of zero takes part
};

const LengthCase lengthCases[] = {
    {"shifted x",
     {{1.0, 0, 0}, {0, 0, 0}},
     {29.110317572332537, 28.203706581493613, 28.203706581493613, 29.110317572332537,
      29.935755976884504, 29.935755976884504},
     0},
    {"yaw 90",
     {{0, 0, 0}, {0, 0, 90}},
     {30.551271661519394, 29.47757877616659, 30.55127166151939, 29.47757877616659,
      30.551271661519394, 29.47757877616659},
     4},
    {"tilted and shifted",
     {{0.5, -0.25, 0.1}, {2, -3, 10}},
     {28.970068003536774, 28.427202262133466, 28.8492749552636, 29.238489737727033,
      29.749842983118747, 29.323824485751057},
     4},
    // Angles reach cos and sin unreduced.
    {"yaw 1e6 degrees",
     {{0, 0, 0}, {0, 0, 1e6}},
     {29.32106111663096, 30.384173439195198, 29.32106111663096, 30.3841734391952,
      29.321061116630958, 30.384173439195198},
     4},
};

TEST(PlatformGeometry, LineLengthsOfKnownPoses) {
    for (const LengthCase& c : lengthCases) {
        Geometry g = compute(c.pose);
        for (int i = 0; i < 6; ++i) {
            if (c.ulps == 0)
                EXPECT_SAME_BITS(c.lengths[i], g.lengths[i]) << c.name << ", line " << i;
            else
                EXPECT_TRUE(support::withinUlps(c.lengths[i], g.lengths[i], c.ulps))
                    << c.name << ", line " << i;
        }
    }
}

// R(0,0) is the library's cosine of the converted angle, not zero: 6.123233995736766e-17
// where that cosine is exact to the last bit; the x87 cosine of 32-bit MinGW gives
// 6.1230317691118863e-17.
TEST(PlatformGeometry, Yaw90KeepsTheCosineResidue) {
    Geometry g = compute({{0, 0, 0}, {0, 0, 90}});
    EXPECT_SAME_BITS(support::libraryCos(0.017453292519943295 * 90.0), g.rotation[0]);
    EXPECT_TRUE(support::withinUlps(6.123233995736766e-17, g.rotation[0], 4) ||
                support::withinUlps(6.1230317691118863e-17, g.rotation[0], 4))
        << support::describeBits(g.rotation[0]);
    EXPECT_SAME_BITS(1.0, g.rotation[1]);
    EXPECT_SAME_BITS(-1.0, g.rotation[3]);
    EXPECT_SAME_BITS(0.0, g.rotation[5]);
    EXPECT_SAME_BITS(1.0, g.rotation[8]);
}

TEST(PlatformGeometry, RotationOfATiltedPoseElementByElement) {
    // Python, as above: rot(2, -3, 10), column by column.
    const double expected[9] = {0.9834581082132785,   0.1734101988745062,  0.052335956242943835,
                                -0.17534114580440935, 0.9838906665960387,  0.034851668155187324,
                                -0.0454492241689118,  -0.0434518021663847, 0.9980211966240684};
    double rotation[9];
    attitudeRotation(2, -3, 10, platformDegToRad, platformDegToRad, platformDegToRad, rotation);
    for (int k = 0; k < 9; ++k)
        EXPECT_TRUE(support::withinUlps(expected[k], rotation[k], 4)) << "element " << k;
}

TEST(PlatformGeometry, EachAngleUsesItsOwnFactor) {
    double rotation[9];
    // Roll 90 through its factor, the others multiplied by zero factors.
    attitudeRotation(90, 45, 45, platformDegToRad, 0.0, 0.0, rotation);
    EXPECT_SAME_BITS(1.0, rotation[0]);
    EXPECT_SAME_BITS(1.0, rotation[5]);  // R(2,1) = ctheta * sphi
    EXPECT_SAME_BITS(-1.0, rotation[7]);  // R(1,2) = -cpsi * sphi
}

TEST(PlatformGeometry, NonFinitePoseInputsReachEveryLength) {
    for (int k = 0; k < 6; ++k) {
        Pose pose = {{0.5, -0.25, 0.1}, {2, -3, 10}};
        double* slot = k < 3 ? &pose.position[k] : &pose.attitude[k - 3];
        *slot = nan;
        Geometry g = compute(pose);
        for (int i = 0; i < 6; ++i)
            EXPECT_TRUE(std::isnan(g.lengths[i])) << "NaN input " << k << ", line " << i;
        if (k >= 3) {
            *slot = -inf;
            g = compute(pose);
            for (int i = 0; i < 6; ++i)
                EXPECT_TRUE(std::isnan(g.lengths[i])) << "infinite angle " << k << ", line " << i;
        } else {
            *slot = inf;
            g = compute(pose);
            for (int i = 0; i < 6; ++i)
                EXPECT_SAME_BITS(inf, g.lengths[i]) << "infinite position " << k << ", line " << i;
        }
    }
}

TEST(PlatformGeometry, CoincidentEndsGiveZeroLength) {
    double rotation[9];
    attitudeRotation(0, 0, 0, platformDegToRad, platformDegToRad, platformDegToRad, rotation);
    const double position[3] = {1.0, 2.0, 3.0};
    const double attachment[3] = {0.5, -0.25, -0.3875};
    const double anchor[3] = {1.5, 1.75, 2.6125};
    double vector[3];
    lineVector(rotation, position, attachment, anchor, vector);
    EXPECT_SAME_BITS(0.0, lineLength(vector));
}

TEST(PlatformGeometry, RotatedTermsAreSummedYThenXThenZThenPosition) {
    // Row 0 of this matrix is all ones (element (p, q) at p + 3q), so component x of the
    // vector is 0 - (((a[1] + a[0]) + a[2]) + position[0]). 1e16 + 1 rounds back to 1e16,
    // so the 1 survives only if it is added after the large terms cancel.
    const double rows[9] = {1, 0, 0, 1, 0, 0, 1, 0, 0};
    const double anchor[3] = {0, 0, 0};
    struct Case {
        double attachment[3];
        double position[3];
        double x;
    } cases[] = {
        {{1.0, 1e16, -1e16}, {0, 0, 0}, 0.0},  // z added before x would leave -1.0
        {{1.0, 1e16, 0.0}, {-1e16, 0, 0}, 0.0},  // position before x would leave -1.0
    };
    for (const Case& c : cases) {
        double vector[3];
        lineVector(rows, c.position, c.attachment, anchor, vector);
        EXPECT_SAME_BITS(c.x, vector[0]);
    }
}

}  // namespace

// Pose of the six-line platform: attitude rotation, line vectors and line lengths.
// Shared by the six-line controller and the line force model.
#ifndef PLATFORM_GEOMETRY_H
#define PLATFORM_GEOMETRY_H

// The double nearest to pi/180.
constexpr double platformDegToRad = 0.017453292519943295;

// Line i joins attachment point i (body frame) to anchor point i (earth frame); points
// are stored x, y, z one after the other. Attachment point 5's y is negative zero.
struct PlatformLineTables {
    double attachmentPoints[18];
    double anchorPoints[18];
};

constexpr PlatformLineTables platformLineTables = {
    {
        0.5371045802570896, -0.9302924219832349, -0.3875,
        0.5371045802570896, -0.9302924219832349, -0.3875,
        0.5371045802570896, 0.9302924219832349, -0.3875,
        0.5371045802570896, 0.9302924219832349, -0.3875,
        -1.0742091605141793, 0.0, -0.3875,
        -1.0742091605141793, -0.0, -0.3875,
    },
    {
        0.0, -30.0, -0.3875,
        25.980762113533157, -15.0, -0.3875,
        25.980762113533157, 15.0, -0.3875,
        0.0, 30.0, -0.3875,
        -25.980762113533157, 15.0, -0.3875,
        -25.980762113533157, -15.0, -0.3875,
    },
};

// R = Rz(yaw) * Ry(pitch) * Rx(roll), body to earth, stored column by column (element
// (p, q) at p + 3q). Each angle in degrees is turned to radians as factor * angle.
void attitudeRotation(double roll, double pitch, double yaw, double rollFactor,
                      double pitchFactor, double yawFactor, double rotation[9]);

// The same rotation from angles already in radians (phi roll, theta pitch, psi yaw).
void attitudeRotationFromRadians(double phi, double theta, double psi, double rotation[9]);

// Component p of the vector from the platform's attachment point to the anchor.
double lineVectorComponent(const double rotation[9], const double position[3],
                           const double attachment[3], const double anchor[3], int p);

double lineLength(const double vector[3]);

#endif

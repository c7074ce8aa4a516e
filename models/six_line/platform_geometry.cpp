#include "platform_geometry.h"

#include <math.h>

// Every operation stands on its own in the order written: the grouping fixes the last bits.

void attitudeRotation(double roll, double pitch, double yaw, double rollFactor,
                      double pitchFactor, double yawFactor, double rotation[9]) {
    attitudeRotationFromRadians(rollFactor * roll, pitchFactor * pitch, yawFactor * yaw,
                                rotation);
}

void attitudeRotationFromRadians(double phi, double theta, double psi, double rotation[9]) {
    // Angles are neither reduced nor limited: cos and sin see them as they come.
    const double cphi = cos(phi);
    const double sphi = sin(phi);
    const double ctheta = cos(theta);
    const double stheta = sin(theta);
    const double cpsi = cos(psi);
    const double spsi = sin(psi);
    rotation[0] = cpsi * ctheta;
    rotation[1] = spsi * ctheta;
    rotation[2] = -stheta;
    rotation[3] = ((cpsi * stheta) * sphi) + ((-spsi) * cphi);
    rotation[4] = ((spsi * stheta) * sphi) + (cpsi * cphi);
    rotation[5] = ctheta * sphi;
    rotation[6] = ((cpsi * stheta) * cphi) + (spsi * sphi);
    rotation[7] = ((spsi * stheta) * cphi) + ((-cpsi) * sphi);
    rotation[8] = ctheta * cphi;
}

double lineVectorComponent(const double rotation[9], const double position[3],
                           const double attachment[3], const double anchor[3], int p) {
    const double rotated = ((rotation[p + 3] * attachment[1]) + (rotation[p] * attachment[0])) +
                           (rotation[p + 6] * attachment[2]);
    return anchor[p] - (rotated + position[p]);
}

double lineLength(const double vector[3]) {
    return sqrt(((vector[1] * vector[1]) + (vector[0] * vector[0])) + (vector[2] * vector[2]));
}

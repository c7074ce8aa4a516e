// An independent re-derivation of the line force model for checking the unit: the standard
// library's MT19937 for the draws, and the force and moment written out from the geometry
// (rotation, line vectors, unit vectors, transpose, cross product) with the same grouping.
#pragma once

#include <array>
#include <random>

namespace reference {

struct Inputs {
    std::array<double, 3> position{};
    std::array<double, 3> attitudeDeg{};  // roll, pitch, yaw
    std::array<double, 9> tension{};
};

using ForceMoment = std::array<double, 6>;

class LineForce {
public:
    // One model step from the given inputs, taking the next 18 draws.
    ForceMoment step(const Inputs& inputs);
    // The next draw: two 32-bit outputs into a multiple of 2^-53, zero discarded.
    double draw();

private:
    std::mt19937 generator_{5489u};
};

}  // namespace reference

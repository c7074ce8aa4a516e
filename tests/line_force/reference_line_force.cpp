#include "reference_line_force.h"

#include <cmath>

#include "platform_geometry.h"

namespace reference {

double LineForce::draw() {
    for (;;) {
        const std::uint32_t a = static_cast<std::uint32_t>(generator_()) >> 5;
        const std::uint32_t b = static_cast<std::uint32_t>(generator_()) >> 6;
        const double r = (a * 67108864.0 + b) / 9007199254740992.0;
        if (r != 0.0) return r;
    }
}

ForceMoment LineForce::step(const Inputs& in) {
    using Vec = std::array<double, 3>;
    std::array<Vec, 9> body{}, earth{};
    for (int j = 0; j < 6; ++j)
        for (int p = 0; p < 3; ++p) {
            body[j][p] = platformLineTables.attachmentPoints[3 * j + p];
            earth[j][p] = platformLineTables.anchorPoints[3 * j + p];
        }
    for (int j = 6; j < 9; ++j)
        for (int p = 0; p < 3; ++p) body[j][p] = draw();
    for (int j = 6; j < 9; ++j)
        for (int p = 0; p < 3; ++p) earth[j][p] = draw();

    const double deg = 0.017453292519943295;
    const double phi = deg * in.attitudeDeg[0], theta = deg * in.attitudeDeg[1],
                 psi = deg * in.attitudeDeg[2];
    const double cf = std::cos(phi), sf = std::sin(phi), ct = std::cos(theta),
                 st = std::sin(theta), cp = std::cos(psi), sp = std::sin(psi);
    // R[row][column] = Rz(psi) Ry(theta) Rx(phi)
    const double R[3][3] = {
        {cp * ct, ((cp * st) * sf) + ((-sp) * cf), ((cp * st) * cf) + (sp * sf)},
        {sp * ct, ((sp * st) * sf) + (cp * cf), ((sp * st) * cf) + ((-cp) * sf)},
        {-st, ct * sf, ct * cf},
    };

    std::array<std::array<double, 6>, 9> load{};
    for (int j = 0; j < 9; ++j) {
        const Vec& a = body[j];
        Vec v;
        for (int p = 0; p < 3; ++p)
            v[p] = earth[j][p] -
                   ((((R[p][1] * a[1]) + (R[p][0] * a[0])) + (R[p][2] * a[2])) + in.position[p]);
        const double length = std::sqrt(((v[1] * v[1]) + (v[0] * v[0])) + (v[2] * v[2]));
        Vec e, t;
        for (int p = 0; p < 3; ++p) e[p] = v[p] / length;
        for (int k = 0; k < 3; ++k)
            t[k] = ((0.0 + R[0][k] * e[0]) + R[1][k] * e[1]) + R[2][k] * e[2];
        const double x = a[0], y = a[1], z = a[2];
        // Each component of the load is a row of B times t, every product added.
        load[j][0] = ((0.0 + t[0] * 1.0) + t[1] * 0.0) + t[2] * 0.0;
        load[j][1] = ((0.0 + t[0] * 0.0) + t[1] * 1.0) + t[2] * 0.0;
        load[j][2] = ((0.0 + t[0] * 0.0) + t[1] * 0.0) + t[2] * 1.0;
        load[j][3] = ((0.0 + t[0] * 0.0) + t[1] * -z) + t[2] * y;
        load[j][4] = ((0.0 + t[0] * z) + t[1] * 0.0) + t[2] * -x;
        load[j][5] = ((0.0 + t[0] * -y) + t[1] * x) + t[2] * 0.0;
    }
    ForceMoment out{};
    for (int i = 0; i < 6; ++i) {
        double sum = 0.0;
        for (int j = 0; j < 9; ++j) sum += load[j][i] * in.tension[j];
        out[i] = sum;
    }
    return out;
}

}  // namespace reference

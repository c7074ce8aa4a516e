#include "line_force.h"

#include <string.h>

#include "line_force_random.h"
#include "model_binding.h"
#include "platform_geometry.h"

namespace {

constexpr LineForceParameters fromPlatformTables() {
    LineForceParameters p{};
    for (int k = 0; k < 18; ++k) {
        p.attachmentPoints[k] = platformLineTables.attachmentPoints[k];
        p.anchorPoints[k] = platformLineTables.anchorPoints[k];
    }
    p.degToRad = platformDegToRad;
    return p;
}

const int lineCount = 9;
const int fixedLineCount = 6;

}  // namespace

constexpr LineForceParameters lineForceParameters = fromPlatformTables();
LineForceInputs lineForceInputs;
LineForceOutputs lineForceOutputs;
LineForceModel lineForceModel;

void lineForceInitialize() {
    memset(&lineForceModel, 0, sizeof lineForceModel);
    memset(&lineForceRandomState, 0, sizeof lineForceRandomState);
    memset(&lineForceInputs, 0, sizeof lineForceInputs);
    memset(&lineForceOutputs, 0, sizeof lineForceOutputs);
    lineForceRandomLoadStartState();
}

// Every operation stands on its own, in the order written: sums that start from 0.0 really
// add every product, those with a zero factor included, so signed zeros, NaNs and
// infinities come out as the arithmetic gives them.
void lineForceStep() {
    const LineForceParameters& par = lineForceParameters;
    const LineForceInputs& in = lineForceInputs;

    // 3 x 9 matrices, one column (x, y, z) per line: element (p, j) at p + 3j.
    double attachment[3 * lineCount];
    double anchor[3 * lineCount];
    memcpy(attachment, par.attachmentPoints, sizeof par.attachmentPoints);
    lineForceRandomFill(&attachment[3 * fixedLineCount]);
    memcpy(anchor, par.anchorPoints, sizeof par.anchorPoints);
    lineForceRandomFill(&anchor[3 * fixedLineCount]);

    double rotation[9];
    attitudeRotation(in.platformAttitudeDeg[0], in.platformAttitudeDeg[1],
                     in.platformAttitudeDeg[2], par.degToRad, par.degToRad, par.degToRad,
                     rotation);

    double vector[3 * lineCount];
    for (int p = 0; p < 3; ++p)
        for (int j = 0; j < lineCount; ++j)
            vector[p + 3 * j] = lineVectorComponent(rotation, in.platformPosition,
                                                    &attachment[3 * j], &anchor[3 * j], p);

    double length[lineCount];
    for (int j = 0; j < lineCount; ++j) length[j] = lineLength(&vector[3 * j]);

    // No guard against a zero length: such a line turns every output into NaN.
    double unitEarth[3 * lineCount];
    for (int j = 0; j < lineCount; ++j)
        for (int p = 0; p < 3; ++p) unitEarth[p + 3 * j] = vector[p + 3 * j] / length[j];

    // The transpose of the rotation takes each unit vector into the body frame.
    double direction[3 * lineCount];
    for (int k = 0; k < 3; ++k)
        for (int j = 0; j < lineCount; ++j) {
            double sum = 0.0;
            sum = sum + rotation[0 + 3 * k] * unitEarth[0 + 3 * j];
            sum = sum + rotation[1 + 3 * k] * unitEarth[1 + 3 * j];
            sum = sum + rotation[2 + 3 * k] * unitEarth[2 + 3 * j];
            direction[k + 3 * j] = sum;
        }

    // Force and moment about the body origin of a unit tension in each line: the direction,
    // then the attachment point crossed with it, both as rows of B times the direction.
    double unitLoad[6 * lineCount];
    for (int j = 0; j < lineCount; ++j) {
        const double* t = &direction[3 * j];
        const double x = attachment[3 * j];
        const double y = attachment[1 + 3 * j];
        const double z = attachment[2 + 3 * j];
        const double b[6][3] = {
            {1.0, 0.0, 0.0}, {0.0, 1.0, 0.0}, {0.0, 0.0, 1.0},
            {0.0, -z, y},    {z, 0.0, -x},    {-y, x, 0.0},
        };
        for (int i = 0; i < 6; ++i) {
            double sum = 0.0;
            sum = sum + t[0] * b[i][0];
            sum = sum + t[1] * b[i][1];
            sum = sum + t[2] * b[i][2];
            unitLoad[i + 6 * j] = sum;
        }
    }

    for (int i = 0; i < 6; ++i) {
        double sum = 0.0;
        for (int j = 0; j < lineCount; ++j) sum = sum + unitLoad[i + 6 * j] * in.lineTension[j];
        lineForceOutputs.platformForceMoment[i] = sum;
    }
    storeOutputBuffer();
}

void lineForceTerminate() {}

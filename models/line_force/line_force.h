// Line force model: the force and moment that nine lines exert on a platform, in the body
// frame. Lines 0-5 have the platform's fixed geometry; lines 6-8 take random end points in
// every step.
#ifndef LINE_FORCE_H
#define LINE_FORCE_H

struct LineForceParameters {
    double attachmentPoints[18];  // body frame, point after point
    double anchorPoints[18];      // earth frame
    double degToRad;              // one factor for roll, pitch and yaw
};

struct LineForceInputs {
    double platformPosition[3];     // x, y, z of the body origin, earth frame
    double platformAttitudeDeg[3];  // roll, pitch, yaw in degrees
    double lineTension[9];          // positive pulls the platform toward the anchor
};

struct LineForceOutputs {
    double platformForceMoment[6];  // force x, y, z, moment x, y, z about the body origin
};

struct LineForceModel {
    void* reserved;  // nothing sets it; cleared by initialise
};

extern const LineForceParameters lineForceParameters;
extern LineForceInputs lineForceInputs;
extern LineForceOutputs lineForceOutputs;
extern LineForceModel lineForceModel;

void lineForceInitialize();
void lineForceStep();
void lineForceTerminate();

#endif

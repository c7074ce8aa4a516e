// IEEE 754 infinities and NaNs for the generated model code, and a NaN test on the bits.
#ifndef NONFINITE_H
#define NONFINITE_H

// Zero until initNonFinite first runs; each unit that carries this code has its own set.
extern double infValue;
extern double minusInfValue;
extern double nanValue;
extern float infValueF;
extern float minusInfValueF;
extern float nanValueF;

void initNonFinite(int realSize);

double getInf();
double getMinusInf();
double getNaN();
float getInfF();
float getMinusInfF();
float getNaNF();

// True for every NaN of either sign, quiet or signalling; false for the infinities.
bool isNaN(double value);

#endif

#include "nonfinite.h"

#include <stdint.h>
#include <string.h>

double infValue;
double minusInfValue;
double nanValue;
float infValueF;
float minusInfValueF;
float nanValueF;

namespace {

double doubleFromBits(uint64_t bits) {
    double value;
    memcpy(&value, &bits, sizeof value);
    return value;
}

float floatFromBits(uint32_t bits) {
    float value;
    memcpy(&value, &bits, sizeof value);
    return value;
}

}  // namespace

// Built from bit patterns, not arithmetic; both NaNs carry the sign bit.
double getInf() { return doubleFromBits(0x7FF0000000000000ULL); }
double getMinusInf() { return doubleFromBits(0xFFF0000000000000ULL); }
double getNaN() { return doubleFromBits(0xFFF8000000000000ULL); }
float getInfF() { return floatFromBits(0x7F800000U); }
float getMinusInfF() { return floatFromBits(0xFF800000U); }
float getNaNF() { return floatFromBits(0xFFC00000U); }

void initNonFinite(int) {
    nanValue = getNaN();
    nanValueF = getNaNF();
    infValue = getInf();
    infValueF = getInfF();
    minusInfValue = getMinusInf();
    minusInfValueF = getMinusInfF();
}

bool isNaN(double value) {
    uint64_t bits;
    memcpy(&bits, &value, sizeof bits);
    uint32_t high = static_cast<uint32_t>(bits >> 32);
    uint32_t low = static_cast<uint32_t>(bits);
    return (high & 0x7FF00000U) == 0x7FF00000U && ((high & 0x000FFFFFU) != 0 || low != 0);
}

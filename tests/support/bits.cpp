#include "bits.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace support {

uint64_t bitsOf(double value) {
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

double fromBits(uint64_t bits) {
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

std::string describeBits(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.17g (0x%016llx)", value,
                  static_cast<unsigned long long>(bitsOf(value)));
    return text;
}

double libraryCos(double x) {
    volatile double argument = x;
    return std::cos(argument);
}

double librarySin(double x) {
    volatile double argument = x;
    return std::sin(argument);
}

::testing::AssertionResult sameBits(const char* expectedExpr, const char* actualExpr,
                                    double expected, double actual) {
    if (bitsOf(expected) == bitsOf(actual)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << actualExpr << " is " << describeBits(actual)
                                         << ", expected " << expectedExpr << " = "
                                         << describeBits(expected);
}

::testing::AssertionResult withinUlps(double expected, double actual, int ulps) {
    if (bitsOf(expected) == bitsOf(actual)) return ::testing::AssertionSuccess();
    if (std::isfinite(expected) && std::isfinite(actual) &&
        std::signbit(expected) == std::signbit(actual)) {
        int64_t a = static_cast<int64_t>(bitsOf(expected) & 0x7FFFFFFFFFFFFFFFULL);
        int64_t b = static_cast<int64_t>(bitsOf(actual) & 0x7FFFFFFFFFFFFFFFULL);
        if ((a > b ? a - b : b - a) <= ulps) return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << describeBits(actual) << " is more than " << ulps
                                         << " ulps from " << describeBits(expected);
}

}  // namespace support

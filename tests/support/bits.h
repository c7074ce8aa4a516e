// Bit-exact comparison of doubles: -0.0, +0.0 and each NaN pattern are told apart.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace support {

uint64_t bitsOf(double value);
double fromBits(uint64_t bits);
std::string describeBits(double value);  // "%.17g (0x...)"

::testing::AssertionResult sameBits(const char* expectedExpr, const char* actualExpr,
                                    double expected, double actual);
// The C library's sine and cosine, called at run time: the compiler cannot fold them into
// correctly rounded constants, so a test sees what the unit's own calls give.
double libraryCos(double x);
double librarySin(double x);

// Within `ulps` units in the last place, for results that pass through sin or cos.
::testing::AssertionResult withinUlps(double expected, double actual, int ulps);

}  // namespace support

#define EXPECT_SAME_BITS(expected, actual) EXPECT_PRED_FORMAT2(::support::sameBits, expected, actual)
#define ASSERT_SAME_BITS(expected, actual) ASSERT_PRED_FORMAT2(::support::sameBits, expected, actual)

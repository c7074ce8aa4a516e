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
// Within `ulps` units in the last place, for results that pass through sin or cos.
::testing::AssertionResult withinUlps(double expected, double actual, int ulps);

}  // namespace support

#define EXPECT_SAME_BITS(expected, actual) EXPECT_PRED_FORMAT2(::support::sameBits, expected, actual)
#define ASSERT_SAME_BITS(expected, actual) ASSERT_PRED_FORMAT2(::support::sameBits, expected, actual)

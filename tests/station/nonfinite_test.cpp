// The process-wide infinities and NaNs and the bitwise NaN test.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "bits.h"
#include "nonfinite.h"

namespace {

using support::bitsOf;
using support::fromBits;

uint32_t floatBits(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

struct Snapshot {
    uint64_t inf, minusInf, nan;
    uint32_t infF, minusInfF, nanF;
};

Snapshot snapshot() {
    return {bitsOf(infValue),      bitsOf(minusInfValue),      bitsOf(nanValue),
            floatBits(infValueF), floatBits(minusInfValueF), floatBits(nanValueF)};
}

// Taken during static initialisation, before any test can have called initNonFinite.
const Snapshot atLoad = snapshot();

void expectTheSixPatterns(const Snapshot& s) {
    EXPECT_EQ(s.inf, 0x7FF0000000000000ULL);
    EXPECT_EQ(s.minusInf, 0xFFF0000000000000ULL);
    EXPECT_EQ(s.nan, 0xFFF8000000000000ULL) << "the double NaN carries the sign bit";
    EXPECT_EQ(s.infF, 0x7F800000U);
    EXPECT_EQ(s.minusInfF, 0xFF800000U);
    EXPECT_EQ(s.nanF, 0xFFC00000U) << "the float NaN carries the sign bit";
}

TEST(NonFinite, AllSixAreZeroUntilInitialised) {
    EXPECT_EQ(atLoad.inf, 0u);
    EXPECT_EQ(atLoad.minusInf, 0u);
    EXPECT_EQ(atLoad.nan, 0u);
    EXPECT_EQ(atLoad.infF, 0u);
    EXPECT_EQ(atLoad.minusInfF, 0u);
    EXPECT_EQ(atLoad.nanF, 0u);
}

TEST(NonFinite, GettersReturnTheExactPatterns) {
    Snapshot s = {bitsOf(getInf()),      bitsOf(getMinusInf()),      bitsOf(getNaN()),
                  floatBits(getInfF()), floatBits(getMinusInfF()), floatBits(getNaNF())};
    expectTheSixPatterns(s);
}

TEST(NonFinite, InitialiseSetsTheSameValuesWhateverItsArgumentAndHowOften) {
    for (int realSize : {8, 4, 0, -1, 8}) {
        initNonFinite(realSize);
        SCOPED_TRACE(realSize);
        expectTheSixPatterns(snapshot());
    }
}

TEST(NonFinite, IsNaNLooksAtExponentAndBothFractionWords) {
    const struct {
        uint64_t bits;
        bool nan;
    } cases[] = {
        {0xFFF8000000000000ULL, true},   // negative quiet NaN
        {0x7FF8000000000000ULL, true},   // positive quiet NaN
        {0x7FF0000000000001ULL, true},   // signalling, fraction only in the low word
        {0xFFF0000000000001ULL, true},
        {0x7FFFFFFFFFFFFFFFULL, true},
        {0x7FF0000100000000ULL, true},   // fraction only in the high word
        {0x7FF0000000000000ULL, false},  // +infinity
        {0xFFF0000000000000ULL, false},  // -infinity
        {0x0000000000000000ULL, false},
        {0x8000000000000000ULL, false},
        {0x7FEFFFFFFFFFFFFFULL, false},  // largest finite
        {0x000FFFFFFFFFFFFFULL, false},  // largest subnormal: fraction set, exponent not
        {0x7FE0000000000001ULL, false},  // exponent one short of all ones
    };
    for (const auto& c : cases)
        EXPECT_EQ(isNaN(fromBits(c.bits)), c.nan) << std::hex << "0x" << c.bits;
}

}  // namespace

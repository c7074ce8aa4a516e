#include "line_force_random.h"

#include <string.h>

namespace {

const uint32_t blockSize = 624;
const uint32_t shiftOffset = 397;
const uint32_t twistMatrix = 0x9908b0dfU;
const uint32_t upperMask = 0x80000000U;
const uint32_t lowerMask = 0x7fffffffU;

struct StartState {
    uint32_t words[blockSize];
    uint32_t index;
};

// The published seeding rule for a 32-bit seed, evaluated by the compiler into a table.
constexpr StartState seededState(uint32_t seed) {
    StartState s{};
    s.words[0] = seed;
    for (uint32_t i = 1; i < blockSize; ++i)
        s.words[i] = 1812433253U * (s.words[i - 1] ^ (s.words[i - 1] >> 30)) + i;
    s.index = blockSize;
    return s;
}

constexpr StartState startState = seededState(5489U);

uint32_t twist(uint32_t upper, uint32_t lower, uint32_t far) {
    const uint32_t y = (upper & upperMask) | (lower & lowerMask);
    return far ^ (y >> 1) ^ ((y & 1U) ? twistMatrix : 0U);
}

void regenerateBlock(uint32_t* mt) {
    uint32_t k = 0;
    for (; k < blockSize - shiftOffset; ++k) mt[k] = twist(mt[k], mt[k + 1], mt[k + shiftOffset]);
    for (; k < blockSize - 1; ++k)
        mt[k] = twist(mt[k], mt[k + 1], mt[k + shiftOffset - blockSize]);
    mt[blockSize - 1] = twist(mt[blockSize - 1], mt[0], mt[shiftOffset - 1]);
}

// Valid: the index in 1..624 and at least one non-zero word.
bool stateIsValid(const LineForceRandomState& s) {
    if (s.twisterIndex < 1 || s.twisterIndex > blockSize) return false;
    for (uint32_t k = 0; k < blockSize; ++k)
        if (s.twisterState[k] != 0) return true;
    return false;
}

void loadStart(LineForceRandomState& s) {
    memcpy(s.twisterState, startState.words, sizeof s.twisterState);
    s.twisterIndex = startState.index;
}

}  // namespace

LineForceRandomState lineForceRandomState;

void lineForceRandomLoadStartState() {
    memset(&lineForceRandomState, 0, sizeof lineForceRandomState);
    loadStart(lineForceRandomState);
}

uint32_t lineForceRandomOutput() {
    LineForceRandomState& s = lineForceRandomState;
    // Any index at or past the end regenerates; testing the index itself rather than
    // index + 1 keeps an index of 2^32 - 1 from wrapping round to a read past the block.
    if (s.twisterIndex >= blockSize) {
        regenerateBlock(s.twisterState);
        s.twisterIndex = 0;
    }
    uint32_t y = s.twisterState[s.twisterIndex++];
    y ^= y >> 11;
    y ^= (y << 7) & 0x9d2c5680U;
    y ^= (y << 15) & 0xefc60000U;
    y ^= y >> 18;
    return y;
}

double lineForceRandomDraw() {
    for (;;) {
        const uint32_t a = lineForceRandomOutput();
        const uint32_t b = lineForceRandomOutput();
        // 27 bits of a above 26 bits of b, scaled by 2^-53: every operation is exact.
        const double r = ((double)(a >> 5) * 67108864.0 + (double)(b >> 6)) *
                         1.1102230246251565e-16;
        if (r != 0.0) return r;
        if (!stateIsValid(lineForceRandomState)) loadStart(lineForceRandomState);
    }
}

void lineForceRandomFill(double destination[9]) {
    for (int k = 0; k < 9; ++k) destination[k] = lineForceRandomDraw();
}

// The uniform random source on its own: the generator against the standard library's
// MT19937, the start state and its regenerations, and the zero rejection with its reseed.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "bits.h"
#include "line_force_random.h"

namespace {

const double firstFill[9] = {0.8147236863931789, 0.9057919370756192, 0.12698681629350606,
                             0.9133758561390194, 0.6323592462254095, 0.09754040499940952,
                             0.2784982188670484, 0.5468815192049838, 0.9575068354342976};
const double secondFill[9] = {0.9648885351992765, 0.15761308167754828, 0.9705927817606157,
                              0.9571669482429456, 0.4853756487228412, 0.8002804688888001,
                              0.14188633862721534, 0.421761282626275, 0.9157355251890671};

LineForceRandomState& state = lineForceRandomState;

void expectStartFills() {
    double fill[9];
    lineForceRandomFill(fill);
    for (int k = 0; k < 9; ++k) EXPECT_SAME_BITS(firstFill[k], fill[k]) << "first fill " << k;
    lineForceRandomFill(fill);
    for (int k = 0; k < 9; ++k) EXPECT_SAME_BITS(secondFill[k], fill[k]) << "second fill " << k;
}

TEST(RandomSource, StartStateIsTheSeed5489StateWithTheBlockUsedUp) {
    std::memset(&state, 0xA5, sizeof state);
    lineForceRandomLoadStartState();
    EXPECT_EQ(state.twisterIndex, 624u);
    uint32_t word = 5489;
    for (uint32_t i = 0; i < 624; ++i) {
        if (i > 0) word = 1812433253u * (word ^ (word >> 30)) + i;
        ASSERT_EQ(state.twisterState[i], word) << "word " << i;
    }
}

TEST(RandomSource, FirstOutputsAndFillsFromTheStartState) {
    lineForceRandomLoadStartState();
    EXPECT_EQ(lineForceRandomOutput(), 3499211612u);
    EXPECT_EQ(lineForceRandomOutput(), 581869302u);
    lineForceRandomLoadStartState();
    expectStartFills();
    lineForceRandomLoadStartState();
    expectStartFills();
}

TEST(RandomSource, OutputsAndDrawsFollowTheStandardGenerator) {
    lineForceRandomLoadStartState();
    std::mt19937 reference;  // default seed 5489
    for (int k = 0; k < 20000; ++k)
        ASSERT_EQ(lineForceRandomOutput(), static_cast<uint32_t>(reference())) << "output " << k;

    lineForceRandomLoadStartState();
    reference.seed(5489u);
    for (int k = 0; k < 20000; ++k) {
        const uint32_t a = static_cast<uint32_t>(reference()) >> 5;
        const uint32_t b = static_cast<uint32_t>(reference()) >> 6;
        const double expected = (a * 67108864.0 + b) / 9007199254740992.0;
        const double draw = lineForceRandomDraw();
        ASSERT_SAME_BITS(expected, draw) << "draw " << k;
        ASSERT_GT(draw, 0.0);
        ASSERT_LT(draw, 1.0);
    }
}

TEST(RandomSource, AllZeroRecordGivesTheStartStateDraws) {
    std::memset(&state, 0, sizeof state);
    expectStartFills();
    LineForceRandomState afterZero = state;
    lineForceRandomLoadStartState();
    double fill[9];
    lineForceRandomFill(fill);
    lineForceRandomFill(fill);
    EXPECT_EQ(0, std::memcmp(&afterZero, &state, sizeof state));
}

TEST(RandomSource, BlockRegeneratesAtDrawOneAndDraw313) {
    lineForceRandomLoadStartState();
    lineForceRandomDraw();
    EXPECT_EQ(state.twisterIndex, 2u);
    EXPECT_NE(state.twisterState[0], 5489u);
    LineForceRandomState firstBlock = state;
    for (int draw = 2; draw <= 312; ++draw) lineForceRandomDraw();
    EXPECT_EQ(state.twisterIndex, 624u);
    EXPECT_EQ(0, std::memcmp(firstBlock.twisterState, state.twisterState, sizeof state.twisterState))
        << "draws 1 to 312 use one block";
    lineForceRandomDraw();
    EXPECT_EQ(state.twisterIndex, 2u);
    EXPECT_NE(0, std::memcmp(firstBlock.twisterState, state.twisterState, sizeof state.twisterState));
}

// Untempered words whose tempered outputs are known (worked out by inverting the tempering
// in Python): 0x12dd9bb3 tempers to 0xffffffff, 0x80000000 to 0x88102204.
TEST(RandomSource, LargestDrawIsOneLessTwoToTheMinus53) {
    lineForceRandomLoadStartState();
    state.twisterState[0] = 0x12dd9bb3u;
    state.twisterState[1] = 0x12dd9bb3u;
    state.twisterIndex = 0;
    EXPECT_SAME_BITS(0.9999999999999999, lineForceRandomDraw());
    EXPECT_SAME_BITS(1.0 - 0x1p-53, 0.9999999999999999);
}

TEST(RandomSource, ZeroFromALiveStateIsSkippedWithoutReseeding) {
    lineForceRandomLoadStartState();
    lineForceRandomDraw();  // regenerates the block; the second draw uses words 2 and 3
    const LineForceRandomState regenerated = state;
    state.twisterState[0] = 0;
    state.twisterState[1] = 0;
    state.twisterIndex = 0;
    EXPECT_SAME_BITS(firstFill[1], lineForceRandomDraw());
    EXPECT_EQ(state.twisterIndex, 4u);
    EXPECT_EQ(0, std::memcmp(&regenerated.twisterState[2], &state.twisterState[2],
                             622 * sizeof(uint32_t)));
}

TEST(RandomSource, OneNonZeroWordKeepsTheStateAlive) {
    std::memset(&state, 0, sizeof state);
    state.twisterState[623] = 0x80000000u;
    // 311 zero pairs are skipped; the last pair is (0, 0x88102204): 35668104 * 2^-53.
    EXPECT_SAME_BITS(3.9599550305524645e-09, lineForceRandomDraw());
    EXPECT_SAME_BITS(35668104.0 * 0x1p-53, 3.9599550305524645e-09);
    EXPECT_EQ(state.twisterIndex, 624u);
    EXPECT_EQ(state.twisterState[623], 0x80000000u);
    EXPECT_EQ(state.twisterState[0], 0u) << "not reseeded";
}

struct DeadState {
    const char* name;
    uint32_t index;
};

// A state that cannot give anything but zeros, whatever its index, is replaced by the
// start state; an index past the end regenerates first, including the largest index,
// which must not wrap round to a read past the block.
TEST(RandomSource, DeadStatesAreReseeded) {
    const DeadState cases[] = {{"index 0", 0}, {"index 1", 1}, {"index 624", 624},
                               {"index 625", 625}, {"index 100000", 100000},
                               {"largest index", 0xffffffffu}};
    for (const DeadState& dead : cases) {
        SCOPED_TRACE(dead.name);
        std::memset(&state, 0, sizeof state);
        state.twisterIndex = dead.index;
        expectStartFills();
    }
}

TEST(RandomSource, LargestIndexRegeneratesLikeAUsedUpBlock) {
    lineForceRandomLoadStartState();
    state.twisterIndex = 0xffffffffu;
    expectStartFills();
}

}  // namespace

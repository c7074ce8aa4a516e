// Uniform random source of the line force model: the published 32-bit generator MT19937,
// turned into doubles of 53-bit resolution in the open interval (0, 1).
#ifndef LINE_FORCE_RANDOM_H
#define LINE_FORCE_RANDOM_H

#include <stdint.h>

struct LineForceRandomState {
    uint32_t twisterState[624];
    uint32_t twisterIndex;  // words of the current block already used; 624: block used up
};

// The one record of the library; all zero at load, which yields the seed-5489 draws too.
extern LineForceRandomState lineForceRandomState;

// Clears the record and loads the seed-5489 start state with the index at 624, so that the
// first output regenerates the block.
void lineForceRandomLoadStartState();

// The next tempered 32-bit output.
uint32_t lineForceRandomOutput();

// One double from two outputs, never 0.0: a zero is discarded, a dead state is reseeded.
double lineForceRandomDraw();

// Nine draws into destination[0..8], in the order drawn.
void lineForceRandomFill(double destination[9]);

#endif

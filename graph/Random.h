// The system's one random generator: a 15-bit linear congruential rule,
// seeded with the seed itself, through which every draw of every program
// goes, and the inspection of its state for tests and diagnostics.
#pragma once

#include <cstdint>

namespace graphmat {

// Largest value of a draw: the system's draws are 15-bit, so a uniform draw
// is rand15() / 32767.0 and a pick among k is rand15() % k.
constexpr int RAND15_MAX = 32767;

// Seeds the generator; the same seed always gives the same sequence.
void srand15(unsigned seed);

// Next draw, 0 to 32767, from the classic linear congruential rule
// state = state * 214013 + 2531011, value (state >> 16) & 0x7FFF.
int rand15();

// Makes n draws at once, leaving the generator as n calls of rand15 would,
// and returns the position (0 to n - 1) of the last of them that gave 0, or
// -1 when none did. It jumps to the state after the n draws and steps back
// from there, so it takes time in the distance from the end to that last 0
// (about 32768 draws on average), not in n.
long rand15LastZero(long n);

// Inspection for tests and diagnostics: the raw state and the number of
// draws made since the last seeding.
std::uint32_t randomState();
void setRandomState(std::uint32_t state);
long randomDraws();

}  // namespace graphmat

// The generator's state and the number of draws since its seeding, kept for
// the whole run.
#include "graph/Random.h"

namespace graphmat {

namespace {
std::uint32_t g_state = 1;
long g_draws = 0;

constexpr std::uint32_t kMultiplier = 214013u;
constexpr std::uint32_t kIncrement = 2531011u;

// The inverse of the odd multiplier modulo 2^32 (Newton's iteration doubles
// the correct low bits each step: 3, 6, 12, 24, 48).
constexpr std::uint32_t inverseOf(std::uint32_t a) {
    std::uint32_t x = a;
    for (int k = 0; k < 5; ++k) x *= 2u - a * x;
    return x;
}
constexpr std::uint32_t kInverse = inverseOf(kMultiplier);
static_assert(kMultiplier * kInverse == 1u, "the multiplier is odd, so invertible modulo 2^32");

std::uint32_t valueOf(std::uint32_t state) { return (state >> 16) & 0x7FFFu; }
}  // namespace

void srand15(unsigned seed) {
    g_state = seed;
    g_draws = 0;
}

int rand15() {
    g_state = g_state * kMultiplier + kIncrement;
    ++g_draws;
    return static_cast<int>(valueOf(g_state));
}

long rand15LastZero(long n) {
    if (n <= 0) return -1;
    // n steps of state -> a * state + c compose to state -> A * state + C,
    // built by squaring: (a, c) twice is (a * a, a * c + c).
    std::uint32_t stepA = kMultiplier, stepC = kIncrement;
    std::uint32_t totalA = 1u, totalC = 0u;
    for (unsigned long rest = static_cast<unsigned long>(n); rest != 0; rest >>= 1) {
        if (rest & 1u) {
            totalA *= stepA;
            totalC = totalC * stepA + stepC;
        }
        stepC = stepC * stepA + stepC;
        stepA *= stepA;
    }
    const std::uint32_t end = totalA * g_state + totalC;
    // The state after draw k gives draw k's value; step back from the last.
    std::uint32_t state = end;
    long last = n - 1;
    while (last >= 0 && valueOf(state) != 0) {
        state = (state - kIncrement) * kInverse;
        --last;
    }
    g_state = end;
    g_draws += n;
    return last;
}

std::uint32_t randomState() { return g_state; }

void setRandomState(std::uint32_t state) { g_state = state; }

long randomDraws() { return g_draws; }

}  // namespace graphmat

// The processor clock in milliseconds, or the reading a test fixed.
#include "graph/Clock.h"

#include <ctime>

namespace graphmat {

namespace {
double g_clockOverride = -1.0;
}  // namespace

double clockMs() {
    if (g_clockOverride >= 0.0) return g_clockOverride;
    return static_cast<double>(std::clock()) * 1000.0 / CLOCKS_PER_SEC;
}

void setClockOverride(double ms) { g_clockOverride = ms; }

}  // namespace graphmat

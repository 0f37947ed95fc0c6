// The millisecond clock of the system's durations and time bounds, with the
// override that lets tests fix its reading.
#pragma once

namespace graphmat {

// Milliseconds of processor time used so far (clock ticks scaled to 1000 a
// second), as the durations and time bounds of the system expect.
double clockMs();

// Test hook: when set to a value >= 0, clockMs() returns it instead of the
// processor clock. A negative value restores the real clock.
void setClockOverride(double ms);

}  // namespace graphmat

// The small platform layer: the system's one random generator, the
// millisecond clock, line reading and the console pause.
#pragma once

#include <cstdint>
#include <fstream>
#include <istream>
#include <string>

namespace graphmat {

// Largest value of a draw: the system's draws are 15-bit, so a uniform draw
// is rand15() / 32767.0 and a pick among k is rand15() % k.
constexpr int RAND15_MAX = 32767;

// Seeds the generator; the same seed always gives the same sequence.
void srand15(unsigned seed);

// Next draw, 0 to 32767, from the classic linear congruential rule
// state = state * 214013 + 2531011, value (state >> 16) & 0x7FFF.
int rand15();

// Inspection for tests and diagnostics: the raw state and the number of
// draws made since the last seeding.
std::uint32_t randomState();
void setRandomState(std::uint32_t state);
long randomDraws();

// Milliseconds of processor time used so far (clock ticks scaled to 1000 a
// second), as the durations and time bounds of the system expect.
double clockMs();

// Test hook: when set to a value >= 0, clockMs() returns it instead of the
// processor clock. A negative value restores the real clock.
void setClockOverride(double ms);

// Reads one line, dropping the line feed and one trailing carriage return.
bool readLine(std::istream& in, std::string& line);

// Opens `path` for writing, truncated or (append) appended to. A file that
// does not open is named on standard error and the failure is remembered, so
// that the run can end with its own exit status; the caller goes on.
bool openForWriting(std::ofstream& out, const std::string& path, bool append = false);
// Closes a file opened by openForWriting and checks that everything written
// reached it: a write that failed (a full disk) names the file on standard
// error and is remembered like a file that does not open.
bool closeWritten(std::ofstream& out, const std::string& path);
// True once a file could not be opened or written; reset for tests.
bool outputFailed();
void resetOutputFailed();

// Names an input file that does not open on standard error.
void reportMissingInput(const std::string& path);

// Waits for a line on standard input when it is a terminal; returns at once
// otherwise, so batch runs and tests never block.
void pauseConsole();

}  // namespace graphmat

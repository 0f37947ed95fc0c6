// The small platform layer: the system's one random generator, the
// millisecond clock, line reading and the console pause.
#pragma once

#include <cstdint>
#include <fstream>
#include <istream>
#include <stdexcept>
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

// Milliseconds of processor time used so far (clock ticks scaled to 1000 a
// second), as the durations and time bounds of the system expect.
double clockMs();

// Test hook: when set to a value >= 0, clockMs() returns it instead of the
// processor clock. A negative value restores the real clock.
void setClockOverride(double ms);

// An input that cannot be used: a device named as an input file, or a read
// that failed before the end of a file (an I/O error). The run ends with
// status 1 and the message, which names the file.
class InputError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads one line, dropping the line feed and one trailing carriage return.
// False at the end of the input only: a read that fails throws, a line
// longer than memory can hold std::bad_alloc (from a stream opened by
// openForReading) and any other failure InputError.
bool readLine(std::istream& in, std::string& line);
// Reads `count` bytes of a binary file; false at its end, a failed read
// throws as in readLine.
bool readBytes(std::istream& in, char* bytes, std::streamsize count);

// Opens `path` for reading. A directory opens as a stream on Linux but holds
// no lines: it counts as a file that does not open (false, nothing open).
// A character or block device (/dev/zero, /dev/urandom, a terminal) is no
// input file: it throws InputError naming the path; a pipe reads as a file.
// A text file (mode without std::ios::binary) starts after its UTF-8
// byte-order mark, when it has one. The stream reports a failed read as an
// exception (see readLine) instead of as an end of the file.
bool openForReading(std::ifstream& in, const std::string& path, std::ios::openmode mode = std::ios::in);

// A file opened for reading that remembers its path, so that a read of it
// that fails names the file.
class InputFile : public std::ifstream {
public:
    // Opens as openForReading does.
    bool open(const std::string& path, std::ios::openmode mode = std::ios::in);
    const std::string& path() const { return path_; }

private:
    std::string path_;
};
inline bool openForReading(InputFile& in, const std::string& path, std::ios::openmode mode = std::ios::in) {
    return in.open(path, mode);
}

// True when openForReading would open `path`, found without reading any of
// it, so that a pipe keeps its whole content for the reader that opens it
// next. A device throws as in openForReading.
bool inputOpens(const std::string& path);

// Opens `path` for writing, truncated or (append) appended to. A file that
// does not open is named on standard error and the failure is remembered, so
// that the run can end with its own exit status; the caller goes on.
bool openForWriting(std::ofstream& out, const std::string& path, bool append = false);
// Closes a file opened by openForWriting and checks that everything written
// reached it: a write that failed (a full disk) names the file on standard
// error and is remembered like a file that does not open.
bool closeWritten(std::ofstream& out, const std::string& path);
// The same check under the name the statistics files use.
inline bool closeOutput(std::ofstream& out, const std::string& path) { return closeWritten(out, path); }
// True once a file could not be opened or written; reset for tests.
bool outputFailed();
void resetOutputFailed();

// An output file whose every failure is loud: open() names a file that does
// not open (as openForWriting), and close() - or the destructor, for a file
// still open - flushes, closes and names a file whose writing failed (a full
// disk), remembering the failure like one of opening.
class OutputFile : public std::ofstream {
public:
    OutputFile() = default;
    explicit OutputFile(const std::string& path, bool append = false) { open(path, append); }
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    ~OutputFile() override;

    bool open(const std::string& path, bool append = false);
    // True when everything written reached the file.
    bool close();

private:
    std::string path_;
};
bool openForWriting(OutputFile& out, const std::string& path, bool append = false);

// A table that a count read from a file asks for and that cannot fit in the
// machine's physical memory: the run ends with status 1 and the message.
class MemoryLimitError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Bytes of physical memory of the machine (or the test override).
double physicalMemoryBytes();
// Test hook: when set to a value > 0, physicalMemoryBytes() returns it; 0
// restores the machine's figure.
void setPhysicalMemoryOverride(double bytes);

// Throws MemoryLimitError ("needs N GB for <what>; this machine has M GB")
// when `bytes` exceed the physical memory. Sizes are doubles so that no
// product of counts overflows on the way.
void checkMemoryFits(double bytes, const std::string& what);
// The same for a table of rows x cols vertex pairs of `bytesPerPair` each.
void checkPairTableFits(double rows, double cols, double bytesPerPair);

// Names an input file that does not open on standard error.
void reportMissingInput(const std::string& path);

// Waits for a line on standard input when it is a terminal; returns at once
// otherwise, so batch runs and tests never block.
void pauseConsole();

}  // namespace graphmat

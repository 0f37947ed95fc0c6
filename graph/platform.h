// The small platform layer: the system's one random generator, the
// millisecond clock, line reading and the console pause.
#pragma once

#include <cstdint>
#include <fstream>
#include <istream>
#include <memory>
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

// Reads one line, dropping the line feed and one trailing carriage return;
// false at the end of the input.
bool readLine(std::istream& in, std::string& line);
// Reads `count` bytes of a binary input; false at its end.
bool readBytes(std::istream& in, char* bytes, std::streamsize count);

// The bytes of one input, read whole when it is opened. Copies share them.
class InputText {
public:
    const std::string& path() const { return path_; }
    bool opened() const { return bytes_ != nullptr; }
    // Why the input did not open, as the system says it ("No such file or
    // directory", "Permission denied", "Is a directory"); empty once opened.
    const std::string& failure() const { return failure_; }
    // The content: for a text input, after its UTF-8 byte-order mark.
    const char* begin() const { return opened() ? bytes_->data() + start_ : nullptr; }
    const char* end() const { return opened() ? bytes_->data() + bytes_->size() : nullptr; }
    std::size_t size() const { return opened() ? bytes_->size() - start_ : 0; }

private:
    friend InputText readInput(const std::string& path, bool binary);
    std::string path_;
    std::string failure_;
    std::shared_ptr<const std::string> bytes_;
    std::size_t start_ = 0;
};

// The one place where an input is opened: the file at `path` read whole.
// A file that does not open (missing, unreadable, a folder) gives a text
// that is not opened() and says why. A character or block device
// (/dev/zero, a terminal) is no input file: it throws InputError naming the
// path. A pipe reads to its end, like a file. A read that fails throws
// InputError naming the file; an input larger than memory std::bad_alloc.
// A text input (not `binary`) starts after its UTF-8 byte-order mark. While
// an InputsReadOnce lives, a file read before (the same file, however it is
// named) is not opened again: its bytes of the first reading come back.
InputText readInput(const std::string& path, bool binary = false);

// While one lives (a program's run), every input is opened and read once:
// readInput hands a file read before its first bytes again, so that a named
// pipe fed once can be read by every step that needs it. A file the run
// opens for writing is forgotten.
class InputsReadOnce {
public:
    InputsReadOnce();
    ~InputsReadOnce();
    InputsReadOnce(const InputsReadOnce&) = delete;
    InputsReadOnce& operator=(const InputsReadOnce&) = delete;
};

// A stream over the bytes of an input, for the readers: it reads lines and
// words from memory, and rewinds (seekg) for a second pass.
class InputFile : public std::istream {
public:
    InputFile();
    // Reads over `text` from its start (a second reading of the same bytes).
    explicit InputFile(const InputText& text);
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;
    ~InputFile() override;

    // Reads the input at `path` (readInput); false when it does not open.
    bool open(const std::string& path, bool binary = false);
    bool is_open() const { return text_.opened(); }
    const std::string& path() const { return text_.path(); }
    const InputText& text() const { return text_; }

private:
    class Buffer : public std::streambuf {
    public:
        void show(const char* begin, const char* end);

    protected:
        pos_type seekoff(off_type offset, std::ios::seekdir way, std::ios::openmode which) override;
        pos_type seekpos(pos_type position, std::ios::openmode which) override;
    };
    void attach(const InputText& text);
    InputText text_;
    Buffer buffer_;
};

// Names on standard error an input that did not open, with why.
void reportMissingInput(const std::string& path, const std::string& failure);
inline void reportMissingInput(const InputText& input) { reportMissingInput(input.path(), input.failure()); }

// Opens `path` for writing, truncated or (append) appended to. A file that
// does not open is named on standard error and the failure is remembered, so
// that the run can end with its own exit status; the caller goes on.
bool openForWriting(std::ofstream& out, const std::string& path, bool append = false);
// Why `path` cannot be opened for writing, found without creating,
// truncating or writing it: "Is a directory", "Permission denied" (the file,
// or the folder of a new file), "a named pipe without a reader", ...; empty
// when it can. A named pipe that has a reader is held open from here until
// openForWriting opens it, so that its reader does not see the pipe end in
// between.
std::string whyUnwritable(const std::string& path);
// True when `path` names a named pipe (directly or through a link).
bool isNamedPipe(const std::string& path);
// Closes a file opened by openForWriting and checks that everything written
// reached it: a write that failed (a full disk) names the file on standard
// error and is remembered like a file that does not open.
bool closeWritten(std::ofstream& out, const std::string& path);
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

// Waits for a line on standard input when it is a terminal; returns at once
// otherwise, so batch runs and tests never block.
void pauseConsole();

}  // namespace graphmat

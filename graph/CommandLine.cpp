#include "graph/CommandLine.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstring>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <limits>
#include <new>
#include <stdexcept>
#include <streambuf>

#include "graph/CapacityChecks.h"
#include "graph/InputFiles.h"
#include "graph/OutputFiles.h"

namespace graphmat {

bool parseSwitchValue(const std::string& text, double& value) {
    if (text.empty()) return false;
    const char* start = text.c_str();
    char* end = nullptr;
    errno = 0;
    const double read = std::strtod(start, &end);
    if (end == start || *end != '\0' || !std::isfinite(read)) return false;
    // An overflow reads as infinity (refused above); an underflow to a tiny
    // value or 0 is a number all the same.
    value = read;
    return true;
}

bool parseSwitchValue(const std::string& text, float& value) {
    double read = 0;
    if (!parseSwitchValue(text, read) || !std::isfinite(static_cast<float>(read))) return false;
    value = static_cast<float>(read);
    return true;
}

bool parseSwitchValue(const std::string& text, int& value) {
    double read = 0;
    if (!parseSwitchValue(text, read) || read != std::trunc(read)) return false;
    if (read < std::numeric_limits<int>::min() || read > std::numeric_limits<int>::max()) return false;
    value = static_cast<int>(read);
    return true;
}

bool readWholeNumber(const std::string& word, long low, long high, int& value) {
    if (word.empty()) return false;
    char* end = nullptr;
    errno = 0;
    const long parsed = std::strtol(word.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || parsed < low || parsed > high) return false;
    value = static_cast<int>(parsed);
    return true;
}

bool wholeNumberOutOfRange(const std::string& text, double low, double high) {
    double read = 0;
    return parseSwitchValue(text, read) && read == std::trunc(read) && (read < low || read > high);
}

std::string outOfRangeText(long low, long high) {
    return "out of range: a whole number from " + std::to_string(low) + " to " + std::to_string(high);
}

std::string wholeNumberRefusal(const std::string& name, const std::string& word) {
    constexpr int low = std::numeric_limits<int>::min(), high = std::numeric_limits<int>::max();
    if (wholeNumberOutOfRange(word, low, high))
        return name + " is " + outOfRangeText(low, high) + ", not '" + word + "'";
    return name + " must be a whole number, not '" + word + "'";
}

std::string readerModeRefusal(const std::string& value) {
    if (!wholeNumberOutOfRange(value, 0, LAST_READER_MODE)) return "";
    return "Switch -h: \"" + value + "\" is " + outOfRangeText(0, LAST_READER_MODE) + " (a reader mode)";
}

std::string badSwitchText(char letter, const std::string& value, bool wholeNumber) {
    constexpr int low = std::numeric_limits<int>::min(), high = std::numeric_limits<int>::max();
    const std::string why = wholeNumber && wholeNumberOutOfRange(value, low, high) ? outOfRangeText(low, high)
                                                                                   : "not a number this switch takes";
    return std::string("Switch -") + letter + ": \"" + value + "\" is " + why;
}

void reportBadSwitch(char letter, const std::string& value, bool wholeNumber) {
    std::cerr << badSwitchText(letter, value, wholeNumber) << std::endl;
}

void reportUsageFault(const std::string& program, const std::string& fault, const std::string& helpTells) {
    std::cerr << fault << "; " << program << " --help " << helpTells << std::endl;
}

bool standardOutputFailed() {
    std::cout.flush();
    const bool streamFailed = !std::cout;
    const bool fileFailed = std::fflush(stdout) != 0 || std::ferror(stdout) != 0;
    return streamFailed || fileFailed;
}

int finishStatus(int status) {
    if (!standardOutputFailed()) return status;
    // Standard output redirected to a file that reached the file-size cap.
    struct stat console {};
    const std::string reason = fstat(STDOUT_FILENO, &console) == 0 ? sizeCapReason(console) : "";
    std::cerr << "Cannot write the standard output" << (reason.empty() ? "" : ": " + reason) << std::endl;
    return status == 0 ? 2 : status;
}

void exitWithoutTeardown(int status) {
    status = finishStatus(status);
    std::fflush(nullptr);
    std::_Exit(status);
}

bool asksForHelp(int argc, char** argv) {
    if (argc < 2) return false;
    const std::string first = argv[1];
    return first == "--help" || first == "-help";
}

int printHelp(const std::string& text) {
    std::cout << text;
    return 0;
}

namespace {

// Takes each of the descriptors 0 to 2 that is closed at start on the null
// device, so that no file of the run can be given its number and receive the
// console's text; opened against the grain (standard input for writing, the
// outputs for reading) so that the console still fails as a closed one does.
void holdClosedStandardDescriptors() {
    for (int fd = 0; fd <= 2; ++fd) {
        if (fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
        // The lower descriptors are open by now: the lowest free one is fd.
        int held = open("/dev/null", fd == 0 ? O_WRONLY : O_RDONLY);
        if (held == -1) {
            // Without the null device: the reading end of a pipe whose
            // writing end is closed (writes fail, reads see the end).
            int ends[2];
            if (pipe(ends) != 0) std::_Exit(2);  // no number can be kept from the files
            close(ends[1]);
            held = ends[0];
        }
        if (held != fd) {
            dup2(held, fd);
            close(held);
        }
    }
}

// Where the console stands: whether standard output and standard error are
// one file (a terminal, `2>&1`), and whether the last text that reached it
// came from standard output and stopped inside a line, so that a message
// would continue that trace line.
struct ConsoleLine {
    bool shared = false;
    bool insideOutputLine = false;
};

// Standard output, buffered here in front of its own buffer: each time the
// buffer is handed on (standard error flushes it before every message), the
// console learns whether the text ended a line. On a terminal the text goes
// out line by line, as C stdio would send it.
class TrackedOutput : public std::streambuf {
public:
    TrackedOutput(std::streambuf* target, ConsoleLine& console)
        : target_(target), console_(console), byLines_(isatty(STDOUT_FILENO) == 1) {
        if (!byLines_) setp(buffer_, buffer_ + sizeof buffer_);
    }
    std::streambuf* target() const { return target_; }

protected:
    std::streamsize xsputn(const char* text, std::streamsize count) override {
        if (!byLines_) return std::streambuf::xsputn(text, count);
        if (count <= 0) return 0;
        console_.insideOutputLine = text[count - 1] != '\n';
        const std::streamsize written = target_->sputn(text, count);
        if (std::memchr(text, '\n', static_cast<std::size_t>(count)) != nullptr) target_->pubsync();
        return written;
    }
    int_type overflow(int_type c) override {
        if (!drain()) return traits_type::eof();
        if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
        const char ch = traits_type::to_char_type(c);
        if (byLines_) return xsputn(&ch, 1) == 1 ? c : traits_type::eof();
        *pptr() = ch;
        pbump(1);
        return c;
    }
    int sync() override { return drain() && target_->pubsync() == 0 ? 0 : -1; }

private:
    bool drain() {
        const std::streamsize pending = pptr() - pbase();
        if (pending == 0) return true;
        console_.insideOutputLine = pptr()[-1] != '\n';
        const bool written = target_->sputn(pbase(), pending) == pending;
        setp(buffer_, buffer_ + sizeof buffer_);
        return written;
    }
    std::streambuf* target_;
    ConsoleLine& console_;
    bool byLines_;  // a terminal: no buffer here, each line sent on
    char buffer_[8192];
};

// Standard error, passed on at once: a message starts on a line of its own
// when it shares the console with standard output and that stopped inside
// a line.
class LineStartingErrors : public std::streambuf {
public:
    LineStartingErrors(std::streambuf* target, ConsoleLine& console) : target_(target), console_(console) {}
    std::streambuf* target() const { return target_; }

protected:
    int_type overflow(int_type c) override {
        if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
        const char ch = traits_type::to_char_type(c);
        return xsputn(&ch, 1) == 1 ? c : traits_type::eof();
    }
    std::streamsize xsputn(const char* text, std::streamsize count) override {
        if (count <= 0) return 0;
        if (console_.shared && console_.insideOutputLine) target_->sputc('\n');
        console_.insideOutputLine = false;
        return target_->sputn(text, count);
    }
    int sync() override { return target_->pubsync(); }

private:
    std::streambuf* target_;
    ConsoleLine& console_;
};

// True when descriptors 1 and 2 are one file.
bool consoleShared() {
    struct stat out {}, err {};
    return fstat(STDOUT_FILENO, &out) == 0 && fstat(STDERR_FILENO, &err) == 0 && out.st_dev == err.st_dev &&
           out.st_ino == err.st_ino;
}

// While it lives, std::cout and std::cerr write through the two buffers
// above; it flushes and hands the streams their own buffers back.
class ConsoleLines {
public:
    ConsoleLines() : output_(std::cout.rdbuf(), console_), errors_(std::cerr.rdbuf(), console_) {
        console_.shared = consoleShared();
        std::cout.rdbuf(&output_);
        std::cerr.rdbuf(&errors_);
    }
    ~ConsoleLines() {
        std::cout.flush();
        std::cout.rdbuf(output_.target());
        std::cerr.rdbuf(errors_.target());
    }
    ConsoleLines(const ConsoleLines&) = delete;
    ConsoleLines& operator=(const ConsoleLines&) = delete;

private:
    ConsoleLine console_;
    TrackedOutput output_;
    LineStartingErrors errors_;
};

}  // namespace

int runEntryPoint(int (*body)(int, char**), int argc, char** argv) {
    holdClosedStandardDescriptors();
    // The console streams write straight to their descriptors (no C stdio
    // beneath them: faster, and nothing here writes through C stdio), and a
    // message on standard error starts on a line of its own.
    std::ios::sync_with_stdio(false);
    ConsoleLines consoleLines;
    // A console pipe closed early (`| head -1`) fails the writes to it
    // instead of ending the process: the run goes on, writes its files and
    // ends with status 2 (finishStatus).
    std::signal(SIGPIPE, SIG_IGN);
    // A file-size cap (ulimit -f, as batch systems set) fails the write that
    // passes it with EFBIG instead of killing the process: the file is named
    // with the reason and the run ends with status 2, as on a full disk.
    std::signal(SIGXFSZ, SIG_IGN);
    // Each input of the run is opened and read once, whichever steps read it.
    InputsReadOnce readOnce;
    int status = 0;
    try {
        status = body(argc, argv);
    } catch (const CapacityError& e) {
        std::cout.flush();
        std::cerr << e.what() << std::endl;
        return 1;
    } catch (const InputError& e) {
        std::cout.flush();
        std::cerr << e.what() << std::endl;
        return 1;
    } catch (const std::bad_alloc&) {
        std::cout.flush();
        std::cerr << "Out of memory: the inputs need more memory than this machine can give" << std::endl;
        return 1;
    } catch (const std::length_error&) {
        std::cout.flush();
        std::cerr << "Out of memory: the inputs ask for a table larger than this machine can address" << std::endl;
        return 1;
    }
    return finishStatus(status);
}

}  // namespace graphmat

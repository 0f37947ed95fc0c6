#include "graph/CommandLine.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <limits>
#include <new>
#include <stdexcept>

#include "graph/platform.h"

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

void reportBadSwitch(char letter, const std::string& value, bool wholeNumber) {
    constexpr int low = std::numeric_limits<int>::min(), high = std::numeric_limits<int>::max();
    std::cerr << "Switch -" << letter << ": \"" << value << "\" is ";
    if (wholeNumber && wholeNumberOutOfRange(value, low, high))
        std::cerr << outOfRangeText(low, high) << std::endl;
    else
        std::cerr << "not a number this switch takes" << std::endl;
}

bool standardOutputFailed() {
    std::cout.flush();
    const bool streamFailed = !std::cout;
    const bool fileFailed = std::fflush(stdout) != 0 || std::ferror(stdout) != 0;
    return streamFailed || fileFailed;
}

int finishStatus(int status) {
    if (!standardOutputFailed()) return status;
    std::cerr << "Cannot write the standard output" << std::endl;
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

}  // namespace

int runEntryPoint(int (*body)(int, char**), int argc, char** argv) {
    holdClosedStandardDescriptors();
    // A console pipe closed early (`| head -1`) fails the writes to it
    // instead of ending the process: the run goes on, writes its files and
    // ends with status 2 (finishStatus).
    std::signal(SIGPIPE, SIG_IGN);
    // Each input of the run is opened and read once, whichever steps read it.
    InputsReadOnce readOnce;
    int status = 0;
    try {
        status = body(argc, argv);
    } catch (const MemoryLimitError& e) {
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

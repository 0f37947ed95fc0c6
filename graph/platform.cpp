#include "graph/platform.h"

#include <cmath>
#include <ctime>
#include <filesystem>
#include <iomanip>
#include <iostream>
#include <sstream>
#include <unistd.h>

namespace graphmat {

namespace {
std::uint32_t g_state = 1;
long g_draws = 0;
double g_clockOverride = -1.0;
bool g_outputFailed = false;
double g_memoryOverride = 0.0;

void reportUnwritable(const std::string& path) {
    std::cerr << "Cannot write " << path << "\n";
    g_outputFailed = true;
}

// Bytes as gigabytes (2^30): whole from 100 on, one decimal from 1 on,
// three significant digits below.
std::string gigabytes(double bytes) {
    const double gb = bytes / 1073741824.0;
    std::ostringstream text;
    if (gb >= 100)
        text << std::fixed << std::setprecision(0) << gb;
    else if (gb >= 1)
        text << std::fixed << std::setprecision(1) << gb;
    else
        text << std::setprecision(3) << gb;
    return text.str();
}
}  // namespace

namespace {
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

double clockMs() {
    if (g_clockOverride >= 0.0) return g_clockOverride;
    return static_cast<double>(std::clock()) * 1000.0 / CLOCKS_PER_SEC;
}

void setClockOverride(double ms) { g_clockOverride = ms; }

namespace {

// Ends the run on a read of `path` that failed before the end of the file.
[[noreturn]] void failedRead(const std::string& path, const std::string& reason) {
    std::string text = "Cannot read " + (path.empty() ? std::string("an input file") : path) +
                       ": a read failed before the end of the file";
    if (!reason.empty()) text += " (" + reason + ")";
    throw InputError(text);
}

[[noreturn]] void failedRead(const std::istream& in, const std::string& reason) {
    const auto* file = dynamic_cast<const InputFile*>(&in);
    failedRead(file != nullptr ? file->path() : std::string(), reason);
}

// Whether `path` may be opened as an input: false for a directory (no
// lines); a device throws.
bool openableAsInput(const std::string& path) {
    std::error_code unknown;  // a path that does not exist fails at the opening
    const auto type = std::filesystem::status(path, unknown).type();
    if (type == std::filesystem::file_type::directory) return false;
    if (type == std::filesystem::file_type::character || type == std::filesystem::file_type::block)
        throw InputError("Cannot read " + path + ": it is a device, not a file; name a file or a pipe");
    return true;
}

// Steps over a UTF-8 byte-order mark at the start of a file just opened. A
// start that is only the beginning of a mark is given back: it lies in the
// buffer just filled (only a pipe whose first delivery held fewer bytes than
// that beginning could lose it; no syntax read here begins with such bytes).
void skipByteOrderMark(std::ifstream& in, const std::string& path) {
    static constexpr unsigned char mark[] = {0xEF, 0xBB, 0xBF};
    std::streambuf& buffer = *in.rdbuf();
    try {
        int matched = 0;
        while (matched < 3 && buffer.sgetc() == mark[matched]) {
            buffer.sbumpc();
            ++matched;
        }
        if (matched < 3)
            while (matched-- > 0) buffer.sungetc();
    } catch (const std::ios_base::failure& failure) {
        failedRead(path, failure.code().message());
    }
}

}  // namespace

bool readLine(std::istream& in, std::string& line) {
    // A stream opened by openForReading throws its failures: std::getline
    // gives std::bad_alloc back as it is and a failed read of the file as
    // std::ios_base::failure. Another stream only marks them bad.
    try {
        if (!std::getline(in, line)) {
            if (in.bad()) failedRead(in, "");
            return false;
        }
    } catch (const std::ios_base::failure& failure) {
        failedRead(in, failure.code().message());
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return true;
}

bool readBytes(std::istream& in, char* bytes, std::streamsize count) {
    try {
        if (in.read(bytes, count)) return true;
        if (in.bad()) failedRead(in, "");
        return false;
    } catch (const std::ios_base::failure& failure) {
        failedRead(in, failure.code().message());
    }
}

bool openForReading(std::ifstream& in, const std::string& path, std::ios::openmode mode) {
    if (!openableAsInput(path)) return false;
    in.open(path, mode | std::ios::in);
    if (!in.is_open()) return false;
    in.exceptions(std::ios::badbit);
    if (!(mode & std::ios::binary)) skipByteOrderMark(in, path);
    return true;
}

bool InputFile::open(const std::string& path, std::ios::openmode mode) {
    path_ = path;
    return openForReading(static_cast<std::ifstream&>(*this), path, mode);
}

bool inputOpens(const std::string& path) {
    // Not opened: opening a named pipe waits for its writer, and a pipe
    // closed again may lose what its writer had put in.
    return openableAsInput(path) && access(path.c_str(), R_OK) == 0;
}

bool openForWriting(std::ofstream& out, const std::string& path, bool append) {
    out.open(path, std::ios::out | (append ? std::ios::app : std::ios::trunc));
    if (out.is_open()) return true;
    reportUnwritable(path);
    return false;
}

bool closeWritten(std::ofstream& out, const std::string& path) {
    if (!out.is_open()) return false;
    out.close();
    if (!out.fail()) return true;
    reportUnwritable(path);
    return false;
}

bool openForWriting(OutputFile& out, const std::string& path, bool append) { return out.open(path, append); }

bool OutputFile::open(const std::string& path, bool append) {
    path_ = path;
    return openForWriting(static_cast<std::ofstream&>(*this), path, append);
}

bool OutputFile::close() { return closeWritten(*this, path_); }

OutputFile::~OutputFile() {
    if (is_open()) close();
}

double physicalMemoryBytes() {
    if (g_memoryOverride > 0) return g_memoryOverride;
    // Read once: the size of the machine does not change during a run, and
    // the small tables of the search ask for it many thousand times.
    static const double installed = [] {
        const long pages = sysconf(_SC_PHYS_PAGES);
        const long pageSize = sysconf(_SC_PAGESIZE);
        if (pages <= 0 || pageSize <= 0) return static_cast<double>(INFINITY);  // unknown: no limit
        return static_cast<double>(pages) * static_cast<double>(pageSize);
    }();
    return installed;
}

void setPhysicalMemoryOverride(double bytes) { g_memoryOverride = bytes > 0 ? bytes : 0.0; }

void checkMemoryFits(double bytes, const std::string& what) {
    const double available = physicalMemoryBytes();
    if (!(bytes > available)) return;
    throw MemoryLimitError("needs " + gigabytes(bytes) + " GB for " + what + "; this machine has " +
                           gigabytes(available) + " GB");
}

void checkPairTableFits(double rows, double cols, double bytesPerPair) {
    if (!(rows * cols * bytesPerPair > physicalMemoryBytes())) return;  // the common case, no message built
    std::ostringstream what;
    what << std::fixed << std::setprecision(0) << rows << " x " << cols << " vertex pairs";
    checkMemoryFits(rows * cols * bytesPerPair, what.str());
}

bool outputFailed() { return g_outputFailed; }

void resetOutputFailed() { g_outputFailed = false; }

void reportMissingInput(const std::string& path) { std::cerr << "Cannot read " << path << "\n"; }

void pauseConsole() {
    if (!isatty(STDIN_FILENO)) return;
    std::cout << "Press Enter to continue . . ." << std::flush;
    std::string ignored;
    std::getline(std::cin, ignored);
}

}  // namespace graphmat

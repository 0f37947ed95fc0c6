#include "graph/platform.h"

#include <cmath>
#include <ctime>
#include <iomanip>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iostream>
#include <map>
#include <memory>
#include <sstream>

namespace graphmat {

namespace {
std::uint32_t g_state = 1;
long g_draws = 0;
double g_clockOverride = -1.0;
bool g_outputFailed = false;
double g_memoryOverride = 0.0;

void reportUnwritable(const std::string& path, const std::string& reason = "") {
    std::cerr << "Cannot write " << path << (reason.empty() ? "" : ": " + reason) << "\n";
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

// The identity of a file, however it is named: its device and inode.
using FileIdentity = std::pair<dev_t, ino_t>;

// The inputs of the run so far, kept while an InputsReadOnce lives.
bool g_readOnce = false;
std::map<FileIdentity, std::shared_ptr<const std::string>> g_inputsRead;

// Named pipes found to have a reader before they are written (whyUnwritable),
// each with the descriptor that holds it open for writing until
// openForWriting opens it.
std::map<FileIdentity, int> g_heldPipes;

std::string systemReason(int error) { return std::strerror(error); }

[[noreturn]] void failedRead(const std::string& path, int error) {
    throw InputError("Cannot read " + path + ": a read failed before the end of the file (" + systemReason(error) +
                     ")");
}

[[noreturn]] void refuseDevice(const std::string& path) {
    throw InputError("Cannot read " + path + ": it is a device, not a file; name a file or a pipe");
}

bool isDevice(const struct stat& info) { return S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode); }

// An open descriptor, closed when it goes out of scope.
struct Descriptor {
    int fd;
    ~Descriptor() {
        if (fd >= 0) close(fd);
    }
};

// Every byte of the open descriptor `fd` (of `path`) to its end.
std::shared_ptr<const std::string> readAll(int fd, const std::string& path, const struct stat& info) {
    auto bytes = std::make_shared<std::string>();
    if (S_ISREG(info.st_mode) && info.st_size > 0) bytes->reserve(static_cast<std::size_t>(info.st_size));
    char chunk[65536];
    for (;;) {
        const ssize_t got = read(fd, chunk, sizeof chunk);
        if (got == 0) break;
        if (got < 0) {
            if (errno == EINTR) continue;
            failedRead(path, errno);
        }
        bytes->append(chunk, static_cast<std::size_t>(got));
    }
    return bytes;
}

// The length of a UTF-8 byte-order mark at the start of `bytes`: 3 or 0.
std::size_t byteOrderMark(const std::string& bytes) { return bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0; }

}  // namespace

bool readLine(std::istream& in, std::string& line) {
    if (!std::getline(in, line)) return false;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return true;
}

bool readBytes(std::istream& in, char* bytes, std::streamsize count) { return static_cast<bool>(in.read(bytes, count)); }

InputText readInput(const std::string& path, bool binary) {
    InputText input;
    input.path_ = path;
    // Looked at before it is opened: a device is refused unopened, and a
    // file of the run read before is not opened again (a named pipe would
    // wait for a writer that is gone).
    struct stat info {};
    if (stat(path.c_str(), &info) == 0) {
        if (isDevice(info)) refuseDevice(path);
        const auto known = g_inputsRead.find({info.st_dev, info.st_ino});
        if (known != g_inputsRead.end()) input.bytes_ = known->second;
    }
    if (!input.opened()) {
        Descriptor file{-1};
        do file.fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
        while (file.fd < 0 && errno == EINTR);
        if (file.fd < 0) {
            input.failure_ = systemReason(errno);
            return input;
        }
        if (fstat(file.fd, &info) != 0 || S_ISDIR(info.st_mode)) {
            // A folder opens, but holds no lines.
            input.failure_ = systemReason(S_ISDIR(info.st_mode) ? EISDIR : errno);
            return input;
        }
        if (isDevice(info)) refuseDevice(path);  // the path was replaced by a device since it was looked at
        input.bytes_ = readAll(file.fd, path, info);
        if (g_readOnce) g_inputsRead[{info.st_dev, info.st_ino}] = input.bytes_;
    }
    if (!binary) input.start_ = byteOrderMark(*input.bytes_);
    return input;
}

InputsReadOnce::InputsReadOnce() { g_readOnce = true; }

InputsReadOnce::~InputsReadOnce() {
    g_readOnce = false;
    g_inputsRead.clear();
}

void InputFile::Buffer::show(const char* begin, const char* end) {
    char* first = const_cast<char*>(begin);  // only read: the buffer has no put area
    setg(first, first, const_cast<char*>(end));
}

std::streambuf::pos_type InputFile::Buffer::seekoff(off_type offset, std::ios::seekdir way,
                                                     std::ios::openmode which) {
    if (!(which & std::ios::in)) return pos_type(off_type(-1));
    const off_type size = egptr() - eback();
    off_type target = offset;
    if (way == std::ios::cur) target += gptr() - eback();
    else if (way == std::ios::end) target += size;
    if (target < 0 || target > size) return pos_type(off_type(-1));
    setg(eback(), eback() + target, egptr());
    return pos_type(target);
}

std::streambuf::pos_type InputFile::Buffer::seekpos(pos_type position, std::ios::openmode which) {
    return seekoff(off_type(position), std::ios::beg, which);
}

InputFile::InputFile() : std::istream(nullptr) { init(&buffer_); }

InputFile::InputFile(const InputText& text) : InputFile() { attach(text); }

InputFile::~InputFile() = default;

void InputFile::attach(const InputText& text) {
    text_ = text;
    buffer_.show(text_.begin(), text_.end());
    clear(text_.opened() ? std::ios::goodbit : std::ios::failbit);
}

bool InputFile::open(const std::string& path, bool binary) {
    attach(readInput(path, binary));
    return is_open();
}

void reportMissingInput(const std::string& path, const std::string& failure) {
    std::cerr << "Cannot read " << path << (failure.empty() ? "" : ": " + failure) << "\n";
}

namespace {

const char* const kPipeWithoutReader = "a named pipe without a reader";

// A descriptor that holds the named pipe at `path` open for writing, or -1
// with errno set: ENXIO when no reader holds the pipe (an opening that waited
// for one would wait for ever).
int holdPipe(const std::string& path) { return open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC); }

}  // namespace

std::string whyUnwritable(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        if (errno != ENOENT) return systemReason(errno);
        // A new file: its folder must let it be made.
        const std::size_t slash = path.rfind('/');
        const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
        return access(folder.c_str(), W_OK | X_OK) == 0 ? "" : systemReason(errno);
    }
    if (S_ISDIR(info.st_mode)) return systemReason(EISDIR);
    if (S_ISFIFO(info.st_mode)) {
        const FileIdentity identity{info.st_dev, info.st_ino};
        if (g_heldPipes.count(identity)) return "";
        const int held = holdPipe(path);
        if (held < 0) return errno == ENXIO ? kPipeWithoutReader : systemReason(errno);
        // Closed now, the pipe would show its reader its end before the
        // run writes anything.
        g_heldPipes[identity] = held;
        return "";
    }
    return access(path.c_str(), W_OK) == 0 ? "" : systemReason(errno);
}

bool isNamedPipe(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISFIFO(info.st_mode);
}

bool openForWriting(std::ofstream& out, const std::string& path, bool append) {
    // A named pipe is opened for writing only while a reader holds it: an
    // opening without one would wait for ever. The probe keeps the pipe
    // open, so that the reader found is still there for the real opening.
    int probe = -1;
    struct stat info {};
    if (stat(path.c_str(), &info) == 0 && S_ISFIFO(info.st_mode)) {
        const auto held = g_heldPipes.find({info.st_dev, info.st_ino});
        if (held != g_heldPipes.end()) {
            probe = held->second;
            g_heldPipes.erase(held);
        } else {
            probe = holdPipe(path);
        }
        if (probe < 0) {
            reportUnwritable(path, errno == ENXIO ? kPipeWithoutReader : systemReason(errno));
            return false;
        }
    }
    out.open(path, std::ios::out | (append ? std::ios::app : std::ios::trunc));
    if (probe >= 0) close(probe);
    if (!out.is_open()) {
        reportUnwritable(path);
        return false;
    }
    // What the run reads of this file from now on is what it writes.
    if (!g_inputsRead.empty() && stat(path.c_str(), &info) == 0) g_inputsRead.erase({info.st_dev, info.st_ino});
    return true;
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

void pauseConsole() {
    if (!isatty(STDIN_FILENO)) return;
    std::cout << "Press Enter to continue . . ." << std::flush;
    std::string ignored;
    std::getline(std::cin, ignored);
}

}  // namespace graphmat

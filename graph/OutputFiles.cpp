// The output side of the run: the named pipes found to have a reader and
// held open until they are written, and whether any output failed.
#include "graph/OutputFiles.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iostream>
#include <limits>
#include <map>
#include <utility>

#include "graph/InputFiles.h"

namespace graphmat {

namespace {

bool g_outputFailed = false;

void reportUnwritable(const std::string& path, const std::string& reason = "") {
    std::cerr << "Cannot write " << path << (reason.empty() ? "" : ": " + reason) << "\n";
    g_outputFailed = true;
}

std::string systemReason(int error) { return std::strerror(error); }

// The identity of a file, however it is named: its device and inode.
using FileIdentity = std::pair<dev_t, ino_t>;

// Named pipes found to have a reader before they are written (whyUnwritable),
// each with the descriptor that holds it open for writing until
// openForWriting opens it.
std::map<FileIdentity, int> g_heldPipes;

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
    forgetInput(path);
    return true;
}

namespace {

// The process's file-size cap (ulimit -f) in bytes; infinite when none.
double fileSizeCap() {
    struct rlimit cap {};
    if (getrlimit(RLIMIT_FSIZE, &cap) != 0 || cap.rlim_cur == RLIM_INFINITY)
        return std::numeric_limits<double>::infinity();
    return static_cast<double>(cap.rlim_cur);
}

}  // namespace

std::string sizeCapReason(const struct stat& file) {
    if (!S_ISREG(file.st_mode) || static_cast<double>(file.st_size) < fileSizeCap()) return "";
    return systemReason(EFBIG);
}

bool closeWritten(std::ofstream& out, const std::string& path) {
    if (!out.is_open()) return false;
    out.close();
    if (!out.fail()) return true;
    // A file that has reached the file-size cap was stopped by it: its
    // writes failed with EFBIG (the signal is ignored), and the line says so.
    struct stat info {};
    reportUnwritable(path, stat(path.c_str(), &info) == 0 ? sizeCapReason(info) : "");
    return false;
}

bool withinSizeCap(const std::string& path, double bytes) {
    if (!(bytes > fileSizeCap())) return true;
    // A named pipe or a device has no size to cap.
    struct stat info {};
    if (stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) return true;
    reportUnwritable(path, systemReason(EFBIG));
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

bool outputFailed() { return g_outputFailed; }

void resetOutputFailed() { g_outputFailed = false; }

}  // namespace graphmat

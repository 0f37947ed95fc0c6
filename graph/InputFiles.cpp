// The inputs of the run, each read whole through one descriptor, and the
// memo of those read so far, kept by the identity of each file (its device
// and inode) while an InputsReadOnce lives.
#include "graph/InputFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iostream>
#include <map>
#include <utility>

namespace graphmat {

namespace {

// The identity of a file, however it is named: its device and inode.
using FileIdentity = std::pair<dev_t, ino_t>;

// The inputs of the run so far, kept while an InputsReadOnce lives.
bool g_readOnce = false;
std::map<FileIdentity, std::shared_ptr<const std::string>> g_inputsRead;

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

void forgetInput(const std::string& path) {
    struct stat info {};
    if (!g_inputsRead.empty() && stat(path.c_str(), &info) == 0) g_inputsRead.erase({info.st_dev, info.st_ino});
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

}  // namespace graphmat

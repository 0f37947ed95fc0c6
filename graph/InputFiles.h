// Input reading: the one place where an input is opened, each read whole
// into memory, and the run-wide memo that hands a file read before its
// first bytes again, so that every input is opened and read once per run.
#pragma once

#include <istream>
#include <memory>
#include <stdexcept>
#include <string>

namespace graphmat {

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
// opens for writing is forgotten (forgetInput).
class InputsReadOnce {
public:
    InputsReadOnce();
    ~InputsReadOnce();
    InputsReadOnce(const InputsReadOnce&) = delete;
    InputsReadOnce& operator=(const InputsReadOnce&) = delete;
};

// Forgets the run's reading of the file at `path`, which the run now
// writes: what it reads of that file from then on is what it wrote.
void forgetInput(const std::string& path);

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

}  // namespace graphmat

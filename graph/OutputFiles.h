// Output files whose every failure is loud: opening for writing, the look
// that finds why a file cannot be written without touching it, the named
// pipes held open from that look until they are written, the check after
// closing, and the run's memory of a failure for its exit status.
#pragma once

#include <sys/stat.h>

#include <fstream>
#include <string>

namespace graphmat {

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
// A write stopped by the file-size cap (ulimit -f) adds the system's reason:
// "Cannot write PATH: File too large".
bool closeWritten(std::ofstream& out, const std::string& path);
// The system's reason ("File too large") when `file` is a regular file that
// has reached the process's file-size cap (RLIMIT_FSIZE); empty otherwise.
std::string sizeCapReason(const struct stat& file);
// False, with "Cannot write PATH: File too large" on standard error and the
// failure remembered, when `bytes`, the size of a file known before it is
// written, exceed the file-size cap (ulimit -f): the file is then neither
// opened nor emptied, and an earlier file of that name stays whole.
bool withinSizeCap(const std::string& path, double bytes);
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

}  // namespace graphmat

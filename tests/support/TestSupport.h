// Helpers shared by the tests: scratch working directories, captured
// standard output, and small file utilities.
#pragma once

#include <cctype>
#include <map>
#include <string>
#include <vector>

namespace graphmat::test {

// A fresh temporary directory that becomes the working directory for the
// object's lifetime; optionally with the ./results/ folder the system expects.
class ScratchDir {
public:
    explicit ScratchDir(bool withResults = true);
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const std::string& path() const { return path_; }

private:
    std::string path_;
    std::string previous_;
};

// Captures everything written to std::cout between construction and text().
class CaptureStdout {
public:
    CaptureStdout();
    ~CaptureStdout();
    CaptureStdout(const CaptureStdout&) = delete;
    CaptureStdout& operator=(const CaptureStdout&) = delete;
    // The text captured so far; stops capturing.
    std::string text();

private:
    std::streambuf* saved_;
    struct Buffer;
    Buffer* buffer_;
};

// Captures everything written to std::cerr while it lives.
class CaptureStderr {
public:
    CaptureStderr();
    ~CaptureStderr();
    CaptureStderr(const CaptureStderr&) = delete;
    CaptureStderr& operator=(const CaptureStderr&) = delete;
    std::string text() const;

private:
    std::streambuf* saved_;
    struct Buffer;
    Buffer* buffer_;
};

void writeFile(const std::string& path, const std::string& content);
std::string readFile(const std::string& path);
bool fileExists(const std::string& path);
// Every file and folder under the working folder, by its path from there:
// a file's bytes, "(folder)" for a folder, "(named pipe)" for a named pipe
// and "(link to TARGET)" for a symbolic link (neither is opened). Paths
// listed in `leaveOut` are left out.
std::map<std::string, std::string> treeHere(const std::vector<std::string>& leaveOut = {});
// The lines of a text, split at "\n" (a last empty line is kept when the
// text ends with "\n").
std::vector<std::string> lines(const std::string& text);

// True when the first read of /proc/self/mem fails with an I/O error, as it
// does where nothing is mapped at address 0: a file that opens and cannot be
// read, for the tests of failed reads.
bool procSelfMemFailsToRead();

// Result of running a program: exit status, both output streams, and what
// the run cost: its wall-clock seconds and its peak resident memory.
struct RunResult {
    int status = -1;
    std::string out;
    std::string err;
    double seconds = 0;
    long peakKilobytes = 0;
};
// How a program is run: its standard output goes to `stdoutPath` when one
// is given (then `out` stays empty), and a program still running after
// `killAfterSeconds` (when not 0) is killed, so a run that never ends fails
// its test with status -1 instead of blocking the suite. With
// `stdoutPipeClosed` the standard output is a pipe whose reader is gone
// before the program starts (as after `| head -1`): every write to it fails.
struct RunOptions {
    std::string stdoutPath;
    unsigned killAfterSeconds = 0;
    bool stdoutPipeClosed = false;
};
// Runs a program with arguments in the current directory.
RunResult runProgram(const std::string& program, const std::vector<std::string>& args,
                     const RunOptions& options = {});

// The console output of a matching run with its clock readings blanked: the
// seconds at the end of each move line become "<s>" and the value of the
// "Time" line "<t>".
std::string withoutTimes(const std::string& out);

// Path of a file under tests/fixtures, tests/data or examples.
std::string fixture(const std::string& name);
std::string dataFile(const std::string& name);
std::string exampleFile(const std::string& name);

// True when `part` occurs in `text`.
inline bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// A readable test name for a case of a table whose cases carry a `what`
// text: every character that is not a letter or digit becomes "_".
struct CaseName {
    template <class ParamInfo>
    std::string operator()(const ParamInfo& info) const {
        std::string name = info.param.what;
        for (char& c : name)
            if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
        return name;
    }
};

}  // namespace graphmat::test

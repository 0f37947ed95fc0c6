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
// `text` with `tail` after each of its lines (`firstOnly`: after its first
// line alone), as an editor that leaves blanks at line ends writes it.
std::string withTrailing(const std::string& text, const std::string& tail, bool firstOnly);

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
    // A file-size cap in bytes for the program (ulimit -f), 0 for none.
    unsigned long fileSizeLimit = 0;
};
// Runs a program with arguments in the current directory.
RunResult runProgram(const std::string& program, const std::vector<std::string>& args,
                     const RunOptions& options = {});

// The console output of a matching run with its clock readings blanked: the
// seconds at the end of each move line become "<s>" and the value of the
// "Time" line "<t>".
std::string withoutTimes(const std::string& out);

// The usage lines that a program ("graphmat", "mces", "logcost",
// "graphstats", "reduce") writes on standard error for a bad command line,
// before the line that names the fault.
std::string usageLines(const std::string& program);

// What graphmat writes on standard error after a matching run whose node
// drop weight (-d) and edge weight (-e) are 0, as they are by default.
inline const std::string kFreeEditsLine =
    "The weights -d and -e are 0: deleting and inserting vertices and edges cost nothing, so no matching costs "
    "less than the empty one; the README's weights -d 1 -g 0.5 -e 1 -y 1 make the matching meaningful\n";

// What graphmat writes on standard error after a run in start mode `mode`
// (as the console writes it) other than 1, which reports the known matching
// of `knownPath`, when the matching the search found costs `foundCost`.
inline std::string knownMatchingReportedLine(const std::string& mode, const std::string& knownPath,
                                             const std::string& foundCost) {
    return "Start mode " + mode + ": the result files and \"Matching Cost\" report the known matching read from " +
           knownPath + ", not the matching found; the matching the search found costs " + foundCost + "\n";
}

// Path of a file under tests/fixtures, tests/data or examples. The
// examples are looked for in the folder that the environment variable
// GRAPHMAT_EXAMPLES names, when it is set (CI points it at a copy of the
// work tree in which the READMEs' commands have run).
std::string fixture(const std::string& name);
std::string dataFile(const std::string& name);
std::string exampleFile(const std::string& name);

// Copies the named files of the examples folder `folder` (paths below it)
// into the folder `to`, keeping their paths below it and making the folders
// they need. A test copies the inputs it reads by name, never a whole
// folder of examples/, where the commands a README shows leave their
// results (results/, logs).
void copyExampleFiles(const std::string& folder, const std::vector<std::string>& names, const std::string& to = ".");
// The inputs of the example series examples/series/: the series list, the
// four versions and the three match result files of its steps.
const std::vector<std::string>& exampleSeriesFiles();
// The shipped class diagram pairs of examples/datasets/ (paths below it).
const std::vector<std::string>& exampleDatasetFiles();

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

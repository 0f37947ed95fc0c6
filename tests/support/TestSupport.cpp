#include "TestSupport.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <regex>
#include <sstream>

namespace fs = std::filesystem;

namespace graphmat::test {

ScratchDir::ScratchDir(bool withResults) {
    previous_ = fs::current_path().string();
    std::string pattern = (fs::temp_directory_path() / "graphmat-test-XXXXXX").string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (mkdtemp(buffer.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = buffer.data();
    fs::current_path(path_);
    if (withResults) fs::create_directory("results");
}

ScratchDir::~ScratchDir() {
    std::error_code ignored;
    fs::current_path(previous_, ignored);
    fs::remove_all(path_, ignored);
}

struct CaptureStdout::Buffer {
    std::ostringstream stream;
};

CaptureStdout::CaptureStdout() : buffer_(new Buffer) {
    std::cout.flush();
    saved_ = std::cout.rdbuf(buffer_->stream.rdbuf());
}

CaptureStdout::~CaptureStdout() {
    if (saved_) std::cout.rdbuf(saved_);
    delete buffer_;
}

std::string CaptureStdout::text() {
    if (saved_) {
        std::cout.flush();
        std::cout.rdbuf(saved_);
        saved_ = nullptr;
    }
    return buffer_->stream.str();
}

struct CaptureStderr::Buffer {
    std::ostringstream stream;
};

CaptureStderr::CaptureStderr() : buffer_(new Buffer) { saved_ = std::cerr.rdbuf(buffer_->stream.rdbuf()); }

CaptureStderr::~CaptureStderr() {
    std::cerr.rdbuf(saved_);
    delete buffer_;
}

std::string CaptureStderr::text() const { return buffer_->stream.str(); }

void writeFile(const std::string& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

bool fileExists(const std::string& path) { return fs::exists(path); }

std::map<std::string, std::string> treeHere(const std::vector<std::string>& leaveOut) {
    std::map<std::string, std::string> tree;
    for (const auto& entry : fs::recursive_directory_iterator(".")) {
        const std::string path = entry.path().lexically_relative(".").string();
        if (std::find(leaveOut.begin(), leaveOut.end(), path) != leaveOut.end()) continue;
        // A link and a named pipe are not opened: a pipe without a writer
        // would wait for one, a link may lead to a device.
        if (entry.is_symlink())
            tree[path] = "(link to " + fs::read_symlink(entry.path()).string() + ")";
        else if (entry.is_fifo())
            tree[path] = "(named pipe)";
        else
            tree[path] = entry.is_directory() ? "(folder)" : readFile(path);
    }
    return tree;
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::size_t start = 0;
    while (true) {
        std::size_t nl = text.find('\n', start);
        if (nl == std::string::npos) {
            result.push_back(text.substr(start));
            return result;
        }
        result.push_back(text.substr(start, nl - start));
        start = nl + 1;
    }
}

std::string withTrailing(const std::string& text, const std::string& tail, bool firstOnly) {
    std::string out;
    int number = 0;
    for (const std::string& row : lines(text)) out += row + (!firstOnly || number++ == 0 ? tail : "") + "\n";
    return out;
}

bool procSelfMemFailsToRead() {
    const int fd = open("/proc/self/mem", O_RDONLY);
    if (fd < 0) return false;
    char byte = 0;
    const bool fails = read(fd, &byte, 1) < 0 && errno == EIO;
    close(fd);
    return fails;
}

RunResult runProgram(const std::string& program, const std::vector<std::string>& args, const RunOptions& options) {
    std::string outPath = (fs::temp_directory_path() / ("graphmat-run-out-" + std::to_string(getpid()))).string();
    std::string errPath = outPath + ".err";
    int pipeEnds[2] = {-1, -1};
    if (options.stdoutPipeClosed) {
        if (pipe(pipeEnds) != 0) return RunResult{};
        close(pipeEnds[0]);  // no reader, in this process or the child
    }
    // Under a file-size cap, standard error comes through a pipe, which the
    // cap does not limit.
    int errEnds[2] = {-1, -1};
    const bool errPiped = options.fileSizeLimit > 0;
    if (errPiped && pipe(errEnds) != 0) return RunResult{};
    std::cout.flush();
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = fork();
    if (pid == 0) {
        const std::string& stdoutPath = options.stdoutPath.empty() ? outPath : options.stdoutPath;
        FILE* out = stdout;
        if (!options.stdoutPipeClosed)
            out = std::freopen(stdoutPath.c_str(), "w", stdout);
        else if (dup2(pipeEnds[1], 1) != 1 || close(pipeEnds[1]) != 0)
            out = nullptr;
        FILE* err = stderr;
        if (!errPiped)
            err = std::freopen(errPath.c_str(), "w", stderr);
        else if (dup2(errEnds[1], 2) != 2 || close(errEnds[1]) != 0 || close(errEnds[0]) != 0)
            err = nullptr;
        if (!out || !err) _exit(127);
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(program.c_str()));
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        if (options.killAfterSeconds > 0) alarm(options.killAfterSeconds);  // the alarm outlives execv
        if (options.fileSizeLimit > 0) {
            const struct rlimit cap = {options.fileSizeLimit, options.fileSizeLimit};
            if (setrlimit(RLIMIT_FSIZE, &cap) != 0) _exit(127);
        }
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    if (options.stdoutPipeClosed) close(pipeEnds[1]);
    RunResult result;
    if (errPiped) {
        close(errEnds[1]);
        char buffer[4096];
        ssize_t got = 0;
        while ((got = read(errEnds[0], buffer, sizeof buffer)) > 0 || (got < 0 && errno == EINTR))
            if (got > 0) result.err.append(buffer, static_cast<std::size_t>(got));
        close(errEnds[0]);
    }
    int status = 0;
    struct rusage usage {};
    wait4(pid, &status, 0, &usage);
    result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.peakKilobytes = usage.ru_maxrss;
    result.out = readFile(outPath);
    if (!errPiped) result.err = readFile(errPath);
    fs::remove(outPath);
    fs::remove(errPath);
    return result;
}

std::string withoutTimes(const std::string& out) {
    static const std::regex moveSeconds(",[-0-9.e+]+s \n");
    static const std::regex timeLine("\nTime : [-0-9.e+]+");
    std::string masked = std::regex_replace(out, moveSeconds, ",<s>s \n");
    return std::regex_replace(masked, timeLine, "\nTime : <t>");
}

std::string fixture(const std::string& name) { return std::string(GRAPHMAT_FIXTURES) + "/" + name; }
std::string dataFile(const std::string& name) { return std::string(GRAPHMAT_DATA) + "/" + name; }
std::string exampleFile(const std::string& name) {
    const char* elsewhere = std::getenv("GRAPHMAT_EXAMPLES");
    return std::string(elsewhere && *elsewhere ? elsewhere : GRAPHMAT_EXAMPLES) + "/" + name;
}

void copyExampleFiles(const std::string& folder, const std::vector<std::string>& names, const std::string& to) {
    for (const std::string& name : names) {
        const fs::path target = fs::path(to) / name;
        if (target.has_parent_path()) fs::create_directories(target.parent_path());
        fs::copy_file(exampleFile(folder + "/" + name), target, fs::copy_options::overwrite_existing);
    }
}

const std::vector<std::string>& exampleSeriesFiles() {
    static const std::vector<std::string> names = {
        "series.txt", "shop-1.txt", "shop-2.txt", "shop-3.txt", "shop-4.txt",
        "matches/shop-1__shop-2__1__0.5__1__1__0__1.csv", "matches/shop-2__shop-3__1__0.5__1__1__0__1.csv",
        "matches/shop-3__shop-4__1__0.5__1__1__0__1.csv"};
    return names;
}

const std::vector<std::string>& exampleDatasetFiles() {
    static const std::vector<std::string> names = {
        "cdiagrams/eclipse/shop-cd-1.txt", "cdiagrams/eclipse/shop-cd-2.txt", "cdiagrams/mylyn/shop-cd-1.txt",
        "cdiagrams/mylyn/shop-cd-2.txt"};
    return names;
}

std::string usageLines(const std::string& program) {
    static const std::map<std::string, std::string> texts = {
        {"graphmat",
         "\nLegal switches:\n-o path of graph 1 \n-n path of graph 2\n-m path of similarity file\n"
         "-d direction of similarity file\n-s random seed\n"},
        {"mces",
         "\nLegal switches:\n-o path of graph 1\n-n path of graph 2\n-t type of algorithm\n"
         "-a randomisation alpha\n-m type of similarity\n-s random seed\n"},
        {"logcost",
         "Usage: logcost [-h reader mode, default 0] [-s random seed] [-d -g -e -y -c cost weights] -o old graph "
         "-n new graph -p edit-path log\n"},
        {"graphstats",
         "Usage: graphstats [-h MODE] [-k details|versions|print|matrix] FILE...\n"
         "-h reader mode of the files (default 12)\n-k what to write of each graph (default details)\n"},
        {"reduce",
         "Usage: reduce [-h MODE] [-v 1|2] GRAPH1 GRAPH2\n-h reader mode of both graphs (default 4)\n"
         "-v 1: copy the kept lines of ./datasets/cdiagrams/eclipse/NAME.txt (default)\n"
         "   2: regenerate class and member lines, copy the kept relation lines of\n"
         "      ./datasets/cdiagrams/mylyn/NAME.txt\n"},
    };
    return texts.at(program);
}

}  // namespace graphmat::test

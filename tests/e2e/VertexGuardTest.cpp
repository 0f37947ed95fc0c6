// The memory guard of a header's vertex count, in every program that reads
// graph files: a count whose vertices, at what a vertex costs in that
// program, exceed the machine's memory is refused at once with the guard's
// line; a count it accepts is read within the memory it priced.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "graph/CapacityChecks.h"
#include "support/TestSupport.h"

namespace graphmat {
namespace {

using test::contains;
using test::RunResult;
using test::ScratchDir;

struct GuardCase {
    std::string what;
    std::string program;
    std::vector<std::string> args;  // "FILE" stands for the graph file
    double bytesPerVertex;          // the program's price
};

std::vector<std::string> withFile(std::vector<std::string> args, const std::string& file) {
    for (std::string& arg : args)
        if (arg == "FILE") arg = file;
    return args;
}

// Edge list graph files (reader mode 6): a header alone makes its vertices.
// The second graph of the matchers is a graph of one vertex.
const std::vector<GuardCase>& cases() {
    static const std::vector<GuardCase> all = {
        {"graphstats", GRAPHSTATS_BIN, {"-h", "6", "FILE"}, vertex_bytes::reading},
        {"reduce", REDUCE_BIN, {"-h", "6", "FILE", "one.csv"}, vertex_bytes::reading},
        {"graphmat, graph 1", GRAPHMAT_BIN, {"-h", "6", "-d", "1", "-g", "0.5", "-e", "1", "-y", "1", "-o", "FILE", "-n", "one.csv"},
         vertex_bytes::matching},
        {"graphmat, graph 2", GRAPHMAT_BIN, {"-h", "6", "-d", "1", "-g", "0.5", "-e", "1", "-y", "1", "-o", "one.csv", "-n", "FILE"},
         vertex_bytes::matching},
        {"logcost", LOGCOST_BIN, {"-h", "6", "-o", "FILE", "-n", "one.csv", "-p", "log.txt"}, vertex_bytes::matching},
        {"mces", MCES_BIN, {"-o", "FILE", "-n", "one.csv"}, vertex_bytes::commonEdges},
        {"graphgen shuffle", GRAPHGEN_BIN, {"shuffle", "6", "FILE", "7", "shuffled.csv"}, vertex_bytes::copying},
    };
    return all;
}

void writeInputs() {
    std::filesystem::create_directories("graphs");
    std::filesystem::create_directories("logs");
    test::writeFile("one.csv", "1,0\n");
    test::writeFile("log.txt", "");
}

// The smallest count that the guard refuses in each program: refused at
// once, before any table, with the guard's line naming the file and the
// count (the byte figure is the count at the program's price).
TEST(VertexGuard, TheFirstCountBeyondMemoryAtTheProgramsPriceIsRefusedAtOnce) {
    ScratchDir dir;
    writeInputs();
    const double memory = static_cast<double>(sysconf(_SC_PHYS_PAGES)) * static_cast<double>(sysconf(_SC_PAGESIZE));
    for (const GuardCase& c : cases()) {
        // Graph 2 of graphmat is checked with graph 1's one vertex held.
        const double held = c.what == "graphmat, graph 2" ? 1 : 0;
        const long long count = static_cast<long long>(std::floor(memory / c.bytesPerVertex - held)) + 1;
        if (count > 2147483647LL) GTEST_SKIP() << "a machine larger than a header can describe";
        test::writeFile("big.csv", std::to_string(count) + ",0\n");
        RunResult r = test::runProgram(c.program, withFile(c.args, "big.csv"), {"/dev/null", 120});
        EXPECT_EQ(r.status, 1) << c.what << r.err;
        EXPECT_EQ(r.err.rfind("Graph file big.csv: needs ", 0), 0u) << c.what << r.err;
        EXPECT_TRUE(contains(r.err, " GB for " + std::to_string(count) + " vertices; this machine has ")) << c.what << r.err;
        EXPECT_LT(r.peakKilobytes, 100 * 1024) << c.what << ": refused after allocating";
    }
}

// A count the guard accepts: read within what it priced (the whole run's
// peak, with the program's start-up, at or below count x price).
TEST(VertexGuard, AnAcceptedCountIsReadWithinItsPrice) {
    ScratchDir dir;
    writeInputs();
    const int count = 200000;
    test::writeFile("many.csv", std::to_string(count) + ",0\n");
    for (const GuardCase& c : cases()) {
        RunResult r = test::runProgram(c.program, withFile(c.args, "many.csv"), {"/dev/null", 120});
        EXPECT_EQ(r.status, 0) << c.what << r.err;
        const double peak = static_cast<double>(r.peakKilobytes) * 1024;
        RecordProperty(c.what + " bytes per vertex", std::to_string(peak / (count + 1)));
#if !defined(__SANITIZE_ADDRESS__)
        // (The sanitizers' own tables are not the program's.)
        EXPECT_LE(peak, (count + 1) * c.bytesPerVertex) << c.what << ": " << peak / (count + 1) << " bytes per vertex";
#endif
    }
}

}  // namespace
}  // namespace graphmat

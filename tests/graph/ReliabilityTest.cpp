// The conventions every entry point shares: checked numeric switch values,
// output files whose failures are loud, tables checked against memory and
// files against the free space of their disk.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <limits>
#include <new>
#include <string>
#include <vector>

#include "graph/CapacityChecks.h"
#include "graph/CommandLine.h"
#include "graph/Graph.h"
#include "graph/OutputFiles.h"
#include "support/TestSupport.h"

namespace graphmat {
namespace {

TEST(SwitchValues, RealSwitchesTakeEveryFiniteNumberWrittenWhole) {
    struct Case {
        std::string text;
        bool valid;
        double value;
    };
    const std::vector<Case> cases = {
        {"1", true, 1},      {"-0.5", true, -0.5}, {"2.5e3", true, 2500}, {"1e-999", true, 0},
        {"nan", false, 0},   {"NAN", false, 0},    {"inf", false, 0},     {"-infinity", false, 0},
        {"1e999", false, 0}, {"abc", false, 0},    {"", false, 0},        {"1.5x", false, 0},
        {"1 ", false, 0},    {"-", false, 0},
    };
    for (const Case& c : cases) {
        double value = 42;
        EXPECT_EQ(parseSwitchValue(c.text, value), c.valid) << c.text;
        EXPECT_EQ(value, c.valid ? c.value : 42.0) << c.text;  // a refused text changes nothing
    }
}

TEST(SwitchValues, WholeAndFloatSwitchesRefuseWhatTheirTypeCannotHold) {
    struct Case {
        std::string text;
        bool valid;
        int value;
    };
    const std::vector<Case> cases = {
        {"7", true, 7},           {"-3", true, -3},           {"3.0", true, 3},        {"1e3", true, 1000},
        {"2147483647", true, std::numeric_limits<int>::max()}, {"2147483648", false, 0}, {"1.5", false, 0},
        {"-2147483649", false, 0}, {"nan", false, 0},
    };
    for (const Case& c : cases) {
        int value = 42;
        EXPECT_EQ(parseSwitchValue(c.text, value), c.valid) << c.text;
        EXPECT_EQ(value, c.valid ? c.value : 42) << c.text;
    }
    float alpha = 0;
    EXPECT_TRUE(parseSwitchValue("0.25", alpha));
    EXPECT_EQ(alpha, 0.25f);
    EXPECT_FALSE(parseSwitchValue("1e300", alpha));  // finite as a double only
    EXPECT_EQ(alpha, 0.25f);
}

TEST(OutputFiles, AWriteThatFailsIsNamedAtCloseAndRemembered) {
    resetOutputFailed();
    test::CaptureStderr err;
    OutputFile full("/dev/full");
    ASSERT_TRUE(full.is_open());
    full << "a line that no disk takes\n";
    EXPECT_FALSE(full.close());
    EXPECT_EQ(err.text(), "Cannot write /dev/full\n");
    EXPECT_TRUE(outputFailed());
    resetOutputFailed();
}

TEST(OutputFiles, TheDestructorChecksAFileLeftOpen) {
    resetOutputFailed();
    test::CaptureStderr err;
    {
        OutputFile full;
        ASSERT_TRUE(openForWriting(full, "/dev/full", true));
        full << "x";
    }
    EXPECT_EQ(err.text(), "Cannot write /dev/full\n");
    EXPECT_TRUE(outputFailed());
    resetOutputFailed();
}

TEST(OutputFiles, AFileThatIsWrittenWholeIsNoFailure) {
    test::ScratchDir dir;
    resetOutputFailed();
    test::CaptureStderr err;
    {
        OutputFile out("a.csv");
        out << "1,2\n";
        EXPECT_TRUE(out.close());
        EXPECT_FALSE(out.close());  // nothing open any more: nothing reported
    }
    EXPECT_EQ(test::readFile("a.csv"), "1,2\n");
    EXPECT_EQ(err.text(), "");
    EXPECT_FALSE(outputFailed());
}

class MemoryChecks : public ::testing::Test {
protected:
    void TearDown() override { setPhysicalMemoryOverride(0); }
};

TEST_F(MemoryChecks, ATableBeyondMemoryIsRefusedWithBothSizesInGigabytes) {
    setPhysicalMemoryOverride(16.0 * 1073741824);
    EXPECT_NO_THROW(checkMemoryFits(16.0 * 1073741824, "a table"));
    try {
        checkPairTableFits(100000, 50000, 8);
        FAIL() << "not refused";
    } catch (const MemoryLimitError& e) {
        EXPECT_EQ(std::string(e.what()), "needs 37.3 GB for 100000 x 50000 vertex pairs; this machine has 16.0 GB");
    }
    setPhysicalMemoryOverride(1048576);
    try {
        checkMemoryFits(2e12, "2000 vertices");
        FAIL() << "not refused";
    } catch (const MemoryLimitError& e) {
        EXPECT_EQ(std::string(e.what()), "needs 1863 GB for 2000 vertices; this machine has 0.000977 GB");
    }
}

TEST_F(MemoryChecks, AReaderRefusesAVertexCountBeforeAllocatingAndNamesTheFile) {
    test::ScratchDir dir;
    test::writeFile("g.csv", "100000,0\n");
    // A plain graph file holds its vertex lines: half of those its header
    // announces (fewer are refused as missing, with no table made).
    std::string plain = "100000,0\n";
    for (int v = 0; v < 50000; ++v) plain += std::to_string(v) + ",a\n";
    test::writeFile("plain.csv", plain);
    setPhysicalMemoryOverride(1048576);  // room for a few thousand vertices
    test::CaptureStdout out;
    for (const auto& [mode, path] : std::vector<std::pair<int, std::string>>{{0, "plain.csv"}, {6, "g.csv"}}) {
        try {
            Graph g(mode, path);
            FAIL() << "mode " << mode << " not refused";
        } catch (const MemoryLimitError& e) {
            const std::string text = e.what();
            EXPECT_EQ(text.rfind("Graph file " + path + ": needs ", 0), 0u) << text;
            EXPECT_NE(text.find(" GB for 100000 vertices; this machine has 0.000977 GB"), std::string::npos) << text;
        }
    }
    EXPECT_THROW(Graph(7, "100000,0"), MemoryLimitError);
    test::writeFile("small.csv", "500,0\n");
    EXPECT_NO_THROW(Graph(6, "small.csv"));
}

// A count is priced at what a vertex costs in the program, with the
// vertices of the graphs the run holds: graph 2 is checked with graph 1 in
// memory, and a graph gives its vertices back when it is destroyed.
TEST_F(MemoryChecks, ACountIsPricedPerVertexOfTheProgramWithTheGraphsHeld) {
    test::ScratchDir dir;
    const double before = heldVertices();
    setPhysicalMemoryOverride(1000 * vertex_bytes::reading);
    EXPECT_NO_THROW(checkVertexCountFits(1000));
    EXPECT_THROW(checkVertexCountFits(1001), MemoryLimitError);
    test::writeFile("g.csv", "400,0\n");
    {
        test::CaptureStdout out;
        Graph held(6, "g.csv");
        EXPECT_EQ(heldVertices(), before + 400);
        EXPECT_NO_THROW(checkVertexCountFits(600 - before));
        try {
            checkVertexCountFits(601 - before);
            FAIL() << "not refused";
        } catch (const MemoryLimitError& e) {
            // The figure counts the graph held; the count is the new one's.
            EXPECT_EQ(std::string(e.what()), "needs 0.00103 GB for " + std::to_string(601 - static_cast<int>(before)) +
                                                 " vertices; this machine has 0.00102 GB");
        }
    }
    EXPECT_EQ(heldVertices(), before);
    // A program that builds more per vertex prices it higher.
    setVertexBytes(vertex_bytes::matching);
    EXPECT_THROW(checkVertexCountFits(1000), MemoryLimitError);
    EXPECT_NO_THROW(checkVertexCountFits(std::floor(1000 * vertex_bytes::reading / vertex_bytes::matching) - before));
    setVertexBytes(vertex_bytes::reading);
}

class DiskChecks : public ::testing::Test {
protected:
    void TearDown() override { setFreeDiskOverride(-1); }
};

constexpr double kGB = 1073741824.0;

// The bytes a file's blocks hold, which emptying it gives back.
double blockBytes(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 ? static_cast<double>(info.st_blocks) * 512.0 : 0;
}

// Files planned in a folder against the free space of its disk (set by the
// test): new files count their whole size, a file replaced gives its blocks
// back unless another name keeps them, a named pipe takes nothing.
TEST_F(DiskChecks, PlannedFilesAreComparedWithTheFreeSpaceOfTheirDisk) {
    test::ScratchDir dir;
    test::writeFile("old.csv", std::string(20000, 'x'));
    test::writeFile("linked.csv", std::string(20000, 'x'));
    ASSERT_EQ(link("linked.csv", "other-name.csv"), 0);
    ASSERT_EQ(mkfifo("pipe.csv", 0600), 0);
    const double oldBlocks = blockBytes("old.csv");
    ASSERT_GT(oldBlocks, 0);
    struct Case {
        std::string what;
        std::vector<PlannedFile> files;
        double free;
        std::string refusal;
    };
    const std::vector<Case> cases = {
        {"a new file larger than the free space", {{"new.csv", 2 * kGB}}, kGB,
         "needs 2.0 GB for X; the disk has 1.0 GB free"},
        {"a new file exactly as large", {{"new.csv", kGB}}, kGB, ""},
        {"new files together", {{"a.csv", 0.6 * kGB}, {"b.csv", 0.6 * kGB}}, kGB,
         "needs 1.2 GB for X; the disk has 1.0 GB free"},
        {"a file in a folder", {{"sub/new.csv", 300 * kGB}}, 120.4 * kGB,
         "needs 300 GB for X; the disk has 120 GB free"},
        {"a replaced file gives its blocks back", {{"old.csv", kGB + oldBlocks}}, kGB, ""},
        {"not more than its blocks", {{"old.csv", kGB + oldBlocks + 1}}, kGB, "needs 1.0 GB for X; the disk has 1.0 GB free"},
        {"a file of other names keeps its blocks", {{"linked.csv", 1000}}, 999,
         "needs 9.31e-07 GB for X; the disk has 9.3e-07 GB free"},
        {"a named pipe takes no space", {{"pipe.csv", 1e15}}, 0, ""},
        {"a pipe among files", {{"pipe.csv", 1e15}, {"new.csv", 10}}, 0,
         "needs 9.31e-09 GB for X; the disk has 0 GB free"},
        {"no file", {}, 0, ""},
    };
    for (const Case& c : cases) {
        setFreeDiskOverride(c.free);
        EXPECT_EQ(diskSpaceRefusal(c.files, "X"), c.refusal) << c.what;
    }
    // Looking created nothing and emptied nothing.
    EXPECT_FALSE(test::fileExists("new.csv"));
    EXPECT_EQ(test::readFile("old.csv").size(), 20000u);
    EXPECT_EQ(test::readFile("linked.csv").size(), 20000u);
}

TEST_F(DiskChecks, AFileThatCannotFitIsACapacityErrorOfTheRun) {
    test::ScratchDir dir;
    setFreeDiskOverride(100);
    EXPECT_NO_THROW(checkDiskFits({"m.csv", 100}, "a file"));
    try {
        checkDiskFits({"m.csv", 101}, "the file m.csv");
        FAIL() << "not refused";
    } catch (const CapacityError& e) {
        EXPECT_NE(dynamic_cast<const DiskSpaceError*>(&e), nullptr);
        EXPECT_EQ(std::string(e.what()), "needs 9.41e-08 GB for the file m.csv; the disk has 9.31e-08 GB free");
    }
    EXPECT_FALSE(test::fileExists("m.csv"));
}

// Without the test's figure: the disk's own, of a folder or of a file on
// it; a place that does not exist says nothing, so nothing is refused (the
// folder checks name it).
TEST_F(DiskChecks, TheDisksOwnFigureIsFiniteWhereThePlaceExists) {
    test::ScratchDir dir;
    test::writeFile("a.csv", "1\n");
    for (const std::string place : {".", "a.csv"}) {
        const double free = freeDiskBytes(place);
        EXPECT_TRUE(std::isfinite(free)) << place;
        EXPECT_GE(free, 0) << place;
    }
    EXPECT_TRUE(std::isinf(freeDiskBytes("missing/")));
    EXPECT_EQ(diskSpaceRefusal({{"missing/m.csv", 1e18}}, "X"), "");
    EXPECT_NE(diskSpaceRefusal({{"m.csv", 1e18}}, "X"), "");  // an exabyte: no disk of a test machine
}

int throwsBadAlloc(int, char**) { throw std::bad_alloc(); }
int throwsMemoryLimit(int, char**) { throw MemoryLimitError("needs 2.0 GB for 9 x 9 vertex pairs; this machine has 1.0 GB"); }
int throwsDiskSpace(int, char**) { throw DiskSpaceError("needs 2.0 GB for the file m; the disk has 1.0 GB free"); }
int endsWithThree(int, char**) { return 3; }

TEST(EntryPoints, AllocationFailuresEndWithAMessageAndStatusOne) {
    struct Case {
        int (*body)(int, char**);
        int status;
        std::string err;
    };
    const std::vector<Case> cases = {
        {throwsBadAlloc, 1, "Out of memory: the inputs need more memory than this machine can give\n"},
        {throwsMemoryLimit, 1, "needs 2.0 GB for 9 x 9 vertex pairs; this machine has 1.0 GB\n"},
        {throwsDiskSpace, 1, "needs 2.0 GB for the file m; the disk has 1.0 GB free\n"},
        {endsWithThree, 3, ""},
    };
    // The entry point parts the console streams from C stdio, which gives
    // them new buffers; done here first, so that the capture stays in place.
    std::ios::sync_with_stdio(false);
    for (const Case& c : cases) {
        test::CaptureStderr err;
        EXPECT_EQ(runEntryPoint(c.body, 0, nullptr), c.status);
        EXPECT_EQ(err.text(), c.err);
    }
}

}  // namespace
}  // namespace graphmat

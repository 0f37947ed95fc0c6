#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <future>
#include <fstream>
#include <iostream>
#include <sstream>
#include <thread>
#include <vector>

#include "graph/Clock.h"
#include "graph/ConsolePause.h"
#include "graph/InputFiles.h"
#include "graph/OutputFiles.h"
#include "graph/Random.h"
#include "support/TestSupport.h"

namespace graphmat {
namespace {

TEST(Random, SeedOneGivesTheClassicSequence) {
    srand15(1);
    EXPECT_EQ(rand15(), 41);
    EXPECT_EQ(rand15(), 18467);
    EXPECT_EQ(rand15(), 6334);
    EXPECT_EQ(randomDraws(), 3);
}

TEST(Random, SameSeedSameSequenceAndStateRoundTrips) {
    srand15(12345);
    std::uint32_t saved = randomState();
    int a = rand15(), b = rand15();
    setRandomState(saved);
    EXPECT_EQ(rand15(), a);
    EXPECT_EQ(rand15(), b);
    for (int i = 0; i < 1000; ++i) {
        int r = rand15();
        ASSERT_GE(r, 0);
        ASSERT_LE(r, RAND15_MAX);
    }
}

// n draws at once leave the generator where n single draws do, and name the
// last of them that gave 0; runs with no 0, with a 0 first or last, and
// long runs with many.
TEST(Random, ManyDrawsAtOnceMatchSingleDraws) {
    struct Case {
        unsigned seed;
        long n;
    };
    long zerosSeen = 0;
    for (const Case& c : {Case{1, 0}, Case{1, 1}, Case{1, 2}, Case{7, 100}, Case{12345, 40000}, Case{5, 300000},
                          Case{4000000000u, 1000003}}) {
        srand15(c.seed);
        rand15();  // not from a fresh seed only
        const std::uint32_t start = randomState();
        long expected = -1;
        for (long k = 0; k < c.n; ++k)
            if (rand15() == 0) expected = k, ++zerosSeen;
        const std::uint32_t end = randomState();
        setRandomState(start);
        const long before = randomDraws();
        EXPECT_EQ(rand15LastZero(c.n), expected) << "seed " << c.seed << ", " << c.n << " draws";
        EXPECT_EQ(randomState(), end);
        EXPECT_EQ(randomDraws(), before + c.n);
    }
    EXPECT_GT(zerosSeen, 20);  // the long runs hold zeros, so positions are checked

    // A 0 as the last of the draws, and as the first (the only one of a few).
    srand15(3);
    const std::uint32_t state = randomState();
    long firstZero = 0;
    while (rand15() != 0) ++firstZero;
    setRandomState(state);
    EXPECT_EQ(rand15LastZero(firstZero + 1), firstZero);
    setRandomState(state);
    for (long k = 0; k < firstZero; ++k) rand15();
    const std::uint32_t beforeZero = randomState();
    EXPECT_EQ(rand15LastZero(3), 0);
    setRandomState(beforeZero);
    EXPECT_EQ(rand15(), 0);
}

TEST(ReadLine, DropsOneTrailingCarriageReturn) {
    std::istringstream in("a,b\r\nc\r\r\n\nlast");
    std::string line;
    ASSERT_TRUE(readLine(in, line));
    EXPECT_EQ(line, "a,b");
    ASSERT_TRUE(readLine(in, line));
    EXPECT_EQ(line, "c\r");
    ASSERT_TRUE(readLine(in, line));
    EXPECT_EQ(line, "");
    ASSERT_TRUE(readLine(in, line));
    EXPECT_EQ(line, "last");
    EXPECT_FALSE(readLine(in, line));
}

TEST(ReadBytes, ReadsWholeWordsUpToTheEnd) {
    std::istringstream in("abc");
    char bytes[2];
    ASSERT_TRUE(readBytes(in, bytes, 2));
    EXPECT_EQ(std::string(bytes, 2), "ab");
    EXPECT_FALSE(readBytes(in, bytes, 2));  // one byte left: the end
}

std::vector<std::string> linesOf(const std::string& path) {
    InputFile in;
    EXPECT_TRUE(in.open(path)) << path;
    std::vector<std::string> lines;
    std::string line;
    while (readLine(in, line)) lines.push_back(line);
    return lines;
}

// One UTF-8 byte-order mark at the very start is skipped; any other bytes,
// the beginning of a mark among them, read as they are.
TEST(ReadInput, SkipsOneLeadingByteOrderMarkOfATextFile) {
    test::ScratchDir dir(false);
    struct Case {
        std::string content;
        std::vector<std::string> lines;
    };
    const std::string mark = "\xEF\xBB\xBF";
    const std::vector<Case> cases = {
        {mark + "a,b\nc\n", {"a,b", "c"}},
        {mark + "3,2\r\n", {"3,2"}},
        {mark, {}},
        {"", {}},
        {mark + mark + "x\n", {mark + "x"}},
        {"\xEF\xBBx\n", {"\xEF\xBBx"}},
        {"\xEF" "a\n", {"\xEF" "a"}},
        {"\xEF\xBB", {"\xEF\xBB"}},
        {"a" + mark + "\n", {"a" + mark}},
        {"\n" + mark + "b\n", {"", mark + "b"}},
    };
    for (const Case& c : cases) {
        test::writeFile("f.txt", c.content);
        EXPECT_EQ(linesOf("f.txt"), c.lines) << ::testing::PrintToString(c.content);
    }
    // A binary file keeps every byte.
    const std::string binary = mark + std::string("\x02\x00", 2);
    test::writeFile("f.bin", binary);
    InputFile in;
    ASSERT_TRUE(in.open("f.bin", true));
    char bytes[5];
    ASSERT_TRUE(readBytes(in, bytes, 5));
    EXPECT_EQ(std::string(bytes, 5), binary);
}

// A second pass rewinds to the start of the text, after its mark, and a
// reading of the same bytes from the start is another stream over them.
TEST(InputFile, RewindsToTheStartOfTheTextAndReadsAgain) {
    test::ScratchDir dir(false);
    test::writeFile("f.txt", "\xEF\xBB\xBFhead\nbody\n");
    InputFile in;
    ASSERT_TRUE(in.open("f.txt"));
    std::string line;
    while (readLine(in, line)) {
    }
    in.clear();
    in.seekg(0);
    ASSERT_TRUE(readLine(in, line));
    EXPECT_EQ(line, "head");
    EXPECT_EQ(in.tellg(), std::streampos(5));
    InputFile again(in.text());
    ASSERT_TRUE(readLine(again, line));
    EXPECT_EQ(line, "head");
    ASSERT_TRUE(readLine(in, line));
    EXPECT_EQ(line, "body");
}

// Devices never end (/dev/zero, /dev/urandom) or are no file at all: each is
// refused by the name it was given, a link to one too. A directory, a file
// without read permission and a missing file do not open, and say why as
// the system says it; a named pipe reads.
TEST(ReadInput, RefusesDevicesByNameSaysWhyAFileDoesNotOpenAndReadsPipes) {
    test::ScratchDir dir(false);
    std::filesystem::create_symlink("/dev/zero", "zero-link.txt");
    for (const std::string path : {"/dev/zero", "/dev/urandom", "/dev/null", "zero-link.txt"}) {
        InputFile in;
        try {
            in.open(path);
            ADD_FAILURE() << path << " opened";
        } catch (const InputError& e) {
            EXPECT_EQ(std::string(e.what()), "Cannot read " + path + ": it is a device, not a file; name a file or a pipe");
        }
        EXPECT_FALSE(in.is_open());
    }
    std::filesystem::create_directory("folder");
    test::writeFile("locked.txt", "x\n");
    chmod("locked.txt", 0);
    const bool root = access("locked.txt", R_OK) == 0;  // root reads it all the same
    struct Case {
        std::string path, failure;
    };
    std::vector<Case> cases = {{"folder", "Is a directory"}, {"missing.txt", "No such file or directory"}};
    if (!root) cases.push_back({"locked.txt", "Permission denied"});
    for (const Case& c : cases) {
        InputFile in;
        EXPECT_FALSE(in.open(c.path)) << c.path;
        EXPECT_EQ(in.text().failure(), c.failure);
        test::CaptureStderr err;
        reportMissingInput(in.text());
        EXPECT_EQ(err.text(), "Cannot read " + c.path + ": " + c.failure + "\n");
    }
    ASSERT_EQ(mkfifo("pipe", 0600), 0);
    auto writer = std::async(std::launch::async, [] { test::writeFile("pipe", "\xEF\xBB\xBFp,q\nr\n"); });
    EXPECT_EQ(linesOf("pipe"), (std::vector<std::string>{"p,q", "r"}));
    writer.wait();
}

// /proc/self/mem opens but its first read fails (nothing is mapped at
// address 0): the failure names the file, as text and as binary input.
TEST(ReadInput, AReadThatFailsNamesTheFile) {
    if (!test::procSelfMemFailsToRead()) GTEST_SKIP() << "/proc/self/mem gives no read error here";
    const std::string expected =
        "Cannot read /proc/self/mem: a read failed before the end of the file (Input/output error)";
    for (bool binary : {false, true}) {
        try {
            readInput("/proc/self/mem", binary);
            ADD_FAILURE() << "the file read";
        } catch (const InputError& e) {
            EXPECT_EQ(std::string(e.what()), expected);
        }
    }
}

// Within a run, a file read once is not opened again, by whatever name:
// a named pipe fed once serves every reading. A file the run writes is
// read afresh afterwards, and outside a run every reading opens the file.
TEST(InputsReadOnce, HandTheFirstReadingToEveryLaterOne) {
    test::ScratchDir dir(false);
    ASSERT_EQ(mkfifo("pipe", 0600), 0);
    {
        InputsReadOnce run;
        auto writer = std::async(std::launch::async, [] { test::writeFile("pipe", "once\n"); });
        EXPECT_EQ(linesOf("pipe"), std::vector<std::string>{"once"});
        writer.wait();
        // No writer now: an opening would wait for ever.
        EXPECT_EQ(linesOf("./pipe"), std::vector<std::string>{"once"});
        EXPECT_EQ(linesOf(dir.path() + "/pipe"), std::vector<std::string>{"once"});

        test::writeFile("f.txt", "first\n");
        EXPECT_EQ(linesOf("f.txt"), std::vector<std::string>{"first"});
        test::writeFile("f.txt", "changed outside\n");
        EXPECT_EQ(linesOf("f.txt"), std::vector<std::string>{"first"});
        std::ofstream out;
        ASSERT_TRUE(openForWriting(out, "f.txt"));
        out << "written by the run\n";
        ASSERT_TRUE(closeWritten(out, "f.txt"));
        EXPECT_EQ(linesOf("f.txt"), std::vector<std::string>{"written by the run"});
    }
    test::writeFile("f.txt", "after the run\n");
    EXPECT_EQ(linesOf("f.txt"), std::vector<std::string>{"after the run"});
}

// A named pipe without a reader is no file to write: its opening would wait
// for ever. It is named, remembered as a failed output, and nothing waits;
// with a reader it is written as a file.
TEST(OpenForWriting, RefusesANamedPipeWithoutAReader) {
    test::ScratchDir dir(false);
    resetOutputFailed();
    ASSERT_EQ(mkfifo("pipe", 0600), 0);
    {
        test::CaptureStderr err;
        std::ofstream out;
        EXPECT_FALSE(openForWriting(out, "pipe"));
        EXPECT_EQ(err.text(), "Cannot write pipe: a named pipe without a reader\n");
    }
    EXPECT_TRUE(outputFailed());
    resetOutputFailed();
    auto reader = std::async(std::launch::async, [] { return test::readFile("pipe"); });
    // The reader's opening may come a little later: try until it is there.
    bool written = false;
    for (int attempt = 0; attempt < 500 && !written; ++attempt) {
        test::CaptureStderr quiet;
        std::ofstream out;
        if (openForWriting(out, "pipe")) {
            out << "through\n";
            written = closeWritten(out, "pipe");
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    resetOutputFailed();
    ASSERT_TRUE(written);
    EXPECT_EQ(reader.get(), "through\n");
}

// Why a path cannot be written is found by looking, not by writing: an
// existing file keeps its bytes and a new file is not made.
TEST(WhyUnwritable, NamesFoldersPipesWithoutReadersAndMissingFoldersAndTouchesNothing) {
    test::ScratchDir dir(false);
    std::filesystem::create_directory("folder");
    test::writeFile("kept.txt", "kept\n");
    ASSERT_EQ(mkfifo("pipe", 0600), 0);
    EXPECT_EQ(whyUnwritable("folder"), "Is a directory");
    EXPECT_EQ(whyUnwritable("folder/"), "Is a directory");
    EXPECT_EQ(whyUnwritable("pipe"), "a named pipe without a reader");
    EXPECT_EQ(whyUnwritable("missing/new.txt"), "No such file or directory");
    EXPECT_EQ(whyUnwritable("kept.txt/new.txt"), "Not a directory");
    EXPECT_EQ(whyUnwritable("kept.txt"), "");
    EXPECT_EQ(whyUnwritable("new.txt"), "");
    EXPECT_EQ(whyUnwritable("folder/new.txt"), "");
    EXPECT_EQ(test::readFile("kept.txt"), "kept\n");
    EXPECT_FALSE(test::fileExists("new.txt"));
    EXPECT_FALSE(test::fileExists("folder/new.txt"));
}

// A named pipe found to have a reader is held open until it is written: the
// reader sees what the run writes, not an end of the pipe in between.
TEST(WhyUnwritable, HoldsANamedPipeWithAReaderUntilItIsWritten) {
    test::ScratchDir dir(false);
    ASSERT_EQ(mkfifo("pipe", 0600), 0);
    auto reader = std::async(std::launch::async, [] { return test::readFile("pipe"); });
    // The reader's opening may come a little later: ask until it is there.
    std::string reason = "not asked";
    for (int attempt = 0; attempt < 500 && !reason.empty(); ++attempt) {
        reason = whyUnwritable("pipe");
        if (!reason.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_EQ(reason, "");
    // Long enough for a reader that had seen the end to be gone.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(reader.wait_for(std::chrono::seconds(0)), std::future_status::timeout);
    std::ofstream out;
    ASSERT_TRUE(openForWriting(out, "pipe"));
    out << "after the check\n";
    ASSERT_TRUE(closeWritten(out, "pipe"));
    EXPECT_EQ(reader.get(), "after the check\n");
}

TEST(Clock, OverrideReplacesTheProcessorClock) {
    setClockOverride(1234.5);
    EXPECT_EQ(clockMs(), 1234.5);
    setClockOverride(-1);
    EXPECT_GE(clockMs(), 0.0);
}

// Standard input is made an open pipe that never delivers a line: a pause
// that waited for Enter would block on it. It must return at once, without
// a prompt. The bound only separates "returned" from "blocked"; the pipe is
// closed afterwards so that a blocked call ends too.
TEST(Pause, ReturnsAtOnceWhenStandardInputIsNotATerminal) {
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    const int savedStdin = dup(STDIN_FILENO);
    ASSERT_GE(savedStdin, 0);
    ASSERT_GE(dup2(fds[0], STDIN_FILENO), 0);
    close(fds[0]);
    ASSERT_FALSE(isatty(STDIN_FILENO));

    std::ostringstream printed;
    std::streambuf* saved = std::cout.rdbuf(printed.rdbuf());
    auto done = std::async(std::launch::async, [] { pauseConsole(); });
    const bool returned = done.wait_for(std::chrono::seconds(10)) == std::future_status::ready;
    close(fds[1]);  // end of input: a blocked read returns
    done.wait();
    std::cout.rdbuf(saved);
    std::cin.clear();
    dup2(savedStdin, STDIN_FILENO);
    close(savedStdin);

    EXPECT_TRUE(returned) << "the pause waited for input";
    EXPECT_EQ(printed.str(), "");
}

}  // namespace
}  // namespace graphmat

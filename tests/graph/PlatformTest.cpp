#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <future>
#include <iostream>
#include <sstream>
#include <vector>

#include "graph/platform.h"
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

// A stream buffer that delivers `text` and then fails as a file whose read
// fails: with `exception` a std::ios_base::failure (an I/O error), else a
// std::bad_alloc (a line longer than memory can hold).
class FailingBuffer : public std::streambuf {
public:
    FailingBuffer(std::string text, bool ioError) : text_(std::move(text)), ioError_(ioError) {
        setg(text_.data(), text_.data(), text_.data() + text_.size());
    }

protected:
    int_type underflow() override {
        if (ioError_) throw std::ios_base::failure("read", std::error_code(EIO, std::generic_category()));
        throw std::bad_alloc();
    }

private:
    std::string text_;
    bool ioError_;
};

// A read that fails is no end of the input: the lines before it read, then
// readLine throws. A stream that does not throw its failures (only marks
// itself bad) gives the same InputError; one that throws them, as
// openForReading sets up, gives an allocation failure back as it is, for the
// "Out of memory" of the entry point.
TEST(ReadLine, AFailedReadThrowsInsteadOfEndingTheInput) {
    std::string line;
    for (bool throwing : {false, true}) {
        FailingBuffer buffer("first\nsecond", true);
        std::istream in(&buffer);
        if (throwing) in.exceptions(std::ios::badbit);
        ASSERT_TRUE(readLine(in, line));
        EXPECT_EQ(line, "first");
        try {
            readLine(in, line);
            ADD_FAILURE() << "the failed read ended the input";
        } catch (const InputError& e) {
            const std::string expected = "Cannot read an input file: a read failed before the end of the file";
            EXPECT_EQ(std::string(e.what()), throwing ? expected + " (Input/output error)" : expected);
        }
    }
    FailingBuffer tooLong("a line without its end", false);
    std::istream in(&tooLong);
    in.exceptions(std::ios::badbit);
    EXPECT_THROW(readLine(in, line), std::bad_alloc);
}

TEST(ReadBytes, ReadsWholeWordsAndThrowsOnAFailedRead) {
    std::istringstream in("abc");
    char bytes[2];
    ASSERT_TRUE(readBytes(in, bytes, 2));
    EXPECT_EQ(std::string(bytes, 2), "ab");
    EXPECT_FALSE(readBytes(in, bytes, 2));  // one byte left: the end
    FailingBuffer buffer("", true);
    std::istream failing(&buffer);
    EXPECT_THROW(readBytes(failing, bytes, 2), InputError);
}

std::vector<std::string> linesOf(const std::string& path, bool binary = false) {
    InputFile in;
    EXPECT_TRUE(openForReading(in, path, binary ? std::ios::in | std::ios::binary : std::ios::in)) << path;
    std::vector<std::string> lines;
    std::string line;
    while (readLine(in, line)) lines.push_back(line);
    return lines;
}

// One UTF-8 byte-order mark at the very start is skipped; any other bytes,
// the beginning of a mark among them, read as they are.
TEST(OpenForReading, SkipsOneLeadingByteOrderMarkOfATextFile) {
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
    ASSERT_TRUE(openForReading(in, "f.bin", std::ios::in | std::ios::binary));
    char bytes[5];
    ASSERT_TRUE(readBytes(in, bytes, 5));
    EXPECT_EQ(std::string(bytes, 5), binary);
}

// Devices never end (/dev/zero, /dev/urandom) or are no file at all: each is
// refused by the name it was given, a link to one too. A directory and a
// missing file do not open; a named pipe opens and reads.
TEST(OpenForReading, RefusesDevicesByNameAndReadsPipes) {
    test::ScratchDir dir(false);
    std::filesystem::create_symlink("/dev/zero", "zero-link.txt");
    for (const std::string path : {"/dev/zero", "/dev/urandom", "/dev/null", "zero-link.txt"}) {
        InputFile in;
        try {
            openForReading(in, path);
            ADD_FAILURE() << path << " opened";
        } catch (const InputError& e) {
            EXPECT_EQ(std::string(e.what()), "Cannot read " + path + ": it is a device, not a file; name a file or a pipe");
        }
        EXPECT_FALSE(in.is_open());
        EXPECT_THROW(inputOpens(path), InputError) << path;
    }
    std::filesystem::create_directory("folder");
    for (const std::string path : {"folder", "missing.txt"}) {
        InputFile in;
        EXPECT_FALSE(openForReading(in, path)) << path;
        EXPECT_FALSE(inputOpens(path)) << path;
    }
    ASSERT_EQ(mkfifo("pipe", 0600), 0);
    EXPECT_TRUE(inputOpens("pipe"));  // found without opening: no writer is needed
    auto writer = std::async(std::launch::async, [] { test::writeFile("pipe", "\xEF\xBB\xBFp,q\nr\n"); });
    EXPECT_EQ(linesOf("pipe"), (std::vector<std::string>{"p,q", "r"}));
    writer.wait();
}

// /proc/self/mem opens but its first read fails (nothing is mapped at
// address 0): the failure names the file the stream was opened on.
TEST(OpenForReading, AReadThatFailsNamesTheFile) {
    if (!test::procSelfMemFailsToRead()) GTEST_SKIP() << "/proc/self/mem gives no read error here";
    const std::string expected =
        "Cannot read /proc/self/mem: a read failed before the end of the file (Input/output error)";
    try {
        InputFile text;
        openForReading(text, "/proc/self/mem");
        ADD_FAILURE() << "the text file read";
    } catch (const InputError& e) {
        EXPECT_EQ(std::string(e.what()), expected);
    }
    InputFile binary;
    ASSERT_TRUE(openForReading(binary, "/proc/self/mem", std::ios::in | std::ios::binary));
    EXPECT_EQ(binary.path(), "/proc/self/mem");
    char bytes[2];
    try {
        readBytes(binary, bytes, 2);
        ADD_FAILURE() << "the binary file read";
    } catch (const InputError& e) {
        EXPECT_EQ(std::string(e.what()), expected);
    }
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

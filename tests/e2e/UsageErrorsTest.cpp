// Bad command lines: after the usage texts of a program, one line names what
// was wrong and where every switch is listed; a list is printed once for one
// fault; a number switch is refused with the same text, after the usage
// lines, by every program that takes one; and an unknown switch of graphmat
// takes no value and leaves the run as it was.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/TestSupport.h"

namespace graphmat {
namespace {

using test::contains;
using test::RunResult;
using test::ScratchDir;
using test::usageLines;

const std::string kGraphmatHelp = "; graphmat --help lists every switch\n";
const std::string kMcesHelp = "; mces --help lists every switch\n";
const std::string kIgnored = " (ignored; an unknown switch takes no value)";

struct UsageCase {
    std::string what;
    std::string program;
    std::vector<std::string> args;
    std::string out;  // standard output, whole
    std::string err;  // standard error, whole
};

void PrintTo(const UsageCase& c, std::ostream* out) { *out << c.what; }

std::vector<UsageCase> usageCases() {
    const std::string gm = usageLines("graphmat"), mc = usageLines("mces");
    const std::string tooFew = "Parameters e expected\nAt least 3 arguments are needed, ";
    return {
        {"graphmat alone", GRAPHMAT_BIN, {}, "\n START \n", tooFew + "0 given" + kGraphmatHelp},
        {"graphmat -h", GRAPHMAT_BIN, {"-h"}, "\n START \n", tooFew + "1 given" + kGraphmatHelp},
        {"graphmat -?", GRAPHMAT_BIN, {"-?"}, "\n START \n", tooFew + "1 given" + kGraphmatHelp},
        {"graphmat -i as the last argument", GRAPHMAT_BIN, {"-o", "A", "-n", "B", "-i"}, "\n START \n -o A -n B",
         gm + "Switch -i needs a value" + kGraphmatHelp},
        // The unknown switch's would-be value ends the switches before -n.
        {"graphmat unknown switch before -n", GRAPHMAT_BIN, {"-o", "A", "-x", "1", "-n", "B"}, "\n START \n -o A",
         gm + "Unknown switch -x" + kIgnored + kGraphmatHelp +
             "Switches -o and -n are needed: the switches end at \"1\", the first argument that does not begin "
             "with \"-\"" + kGraphmatHelp},
        // Each unknown switch prints the list (and the run would go on);
        // the graphs that are missing then print none.
        {"graphmat two unknown switches", GRAPHMAT_BIN, {"-q", "-zz", "-o", "A"}, "\n START \n -o A",
         gm + "Unknown switch -q" + kIgnored + kGraphmatHelp + gm + "Unknown switch -zz" + kIgnored + kGraphmatHelp +
             "Switches -o and -n are needed" + kGraphmatHelp},
        {"mces alone", MCES_BIN, {}, "", mc + "At least 4 arguments are needed, 0 given" + kMcesHelp},
        {"mces -h", MCES_BIN, {"-h"}, "", mc + "At least 4 arguments are needed, 1 given" + kMcesHelp},
        {"mces -t as the last argument", MCES_BIN, {"-o", "a", "-n", "b", "-t"}, "",
         mc + "Switch -t needs a value" + kMcesHelp},
        {"mces unknown switch", MCES_BIN, {"-x", "1", "-o", "a", "-n", "b"}, "", mc + "Unknown switch -x" + kMcesHelp},
        {"mces without -n", MCES_BIN, {"-o", "a", "-s", "1"}, "", mc + "Switches -o and -n are needed" + kMcesHelp},
    };
}

class UsageErrors : public ::testing::TestWithParam<UsageCase> {};

TEST_P(UsageErrors, NameTheFaultAfterTheUsageTexts) {
    const UsageCase& c = GetParam();
    ScratchDir dir;
    const RunResult r = test::runProgram(c.program, c.args);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, c.out);
    EXPECT_EQ(r.err, c.err);
    EXPECT_TRUE(std::filesystem::is_empty("results"));
    EXPECT_FALSE(test::fileExists("results.csv"));
}

INSTANTIATE_TEST_SUITE_P(GraphmatAndMces, UsageErrors, ::testing::ValuesIn(usageCases()), test::CaseName());

// An unknown switch prints the usage lines and its own line, takes no value,
// and the run is the run without it: the same console output, status 0.
TEST(UnknownSwitch, TakesNoValueAndTheRunGoesOn) {
    const std::vector<std::string> weights = {"-d", "1", "-g", "0.5", "-e", "1", "-y", "1"};
    const std::string one = test::exampleFile("shop-v1.txt"), two = test::exampleFile("shop-v2.txt");
    auto runWith = [&](std::vector<std::string> args) {
        ScratchDir dir;
        RunResult r = test::runProgram(GRAPHMAT_BIN, args);
        EXPECT_TRUE(test::fileExists("results/shop-v1__shop-v2__1__0.5__1__1__0__1.csv"));
        return r;
    };
    std::vector<std::string> plain = weights;
    plain.insert(plain.end(), {"-o", one, "-n", two});
    const RunResult without = runWith(plain);
    ASSERT_EQ(without.status, 0) << without.err;
    EXPECT_EQ(without.err, "");

    struct Case {
        std::string what;
        std::vector<std::string> args;
    };
    std::vector<std::string> last = plain, first = {"-q"}, middle = weights;
    last.push_back("-q");
    first.insert(first.end(), plain.begin(), plain.end());
    middle.insert(middle.end(), {"-o", one, "-q", "-n", two});
    for (const Case& c : {Case{"last", last}, Case{"first", first}, Case{"between -o and -n", middle}}) {
        SCOPED_TRACE(c.what);
        const RunResult r = runWith(c.args);
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.err, usageLines("graphmat") + "Unknown switch -q" + kIgnored + kGraphmatHelp);
        EXPECT_EQ(test::withoutTimes(r.out), test::withoutTimes(without.out));
    }
}

// Every program with number switches refuses a value that is not a number
// it takes (and a reader mode outside 0 to 12) with one text: its usage
// lines, then the line that names the switch and the value.
TEST(NumberSwitchRefusals, EveryProgramPrintsItsUsageLinesThenNamesTheSwitch) {
    ScratchDir dir;
    const std::string notANumber = "\" is not a number this switch takes\n";
    const std::string beyondInt = "\" is out of range: a whole number from -2147483648 to 2147483647\n";
    const std::string noMode = "\" is out of range: a whole number from 0 to 12 (a reader mode)\n";
    struct Case {
        std::string program;
        std::string binary;
        std::vector<std::string> args;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"graphmat", GRAPHMAT_BIN, {"-d", "nan", "-o", "a", "-n", "b"}, "Switch -d: \"nan" + notANumber},
        {"graphmat", GRAPHMAT_BIN, {"-h", "13", "-o", "a", "-n", "b"}, "Switch -h: \"13" + noMode},
        {"mces", MCES_BIN, {"-o", "a", "-n", "b", "-a", "nan"}, "Switch -a: \"nan" + notANumber},
        {"logcost", LOGCOST_BIN, {"-d", "nan", "-o", "a", "-n", "b", "-p", "l"}, "Switch -d: \"nan" + notANumber},
        {"logcost", LOGCOST_BIN, {"-h", "1.5", "-o", "a", "-n", "b", "-p", "l"}, "Switch -h: \"1.5" + notANumber},
        {"logcost", LOGCOST_BIN, {"-s", "99999999999", "-o", "a"}, "Switch -s: \"99999999999" + beyondInt},
        {"logcost", LOGCOST_BIN, {"-h", "13", "-o", "a"}, "Switch -h: \"13" + noMode},
        {"graphstats", GRAPHSTATS_BIN, {"-h", "nan", "a"}, "Switch -h: \"nan" + notANumber},
        {"graphstats", GRAPHSTATS_BIN, {"-h", "1.5", "a"}, "Switch -h: \"1.5" + notANumber},
        {"graphstats", GRAPHSTATS_BIN, {"-h", "13", "a"}, "Switch -h: \"13" + noMode},
        {"reduce", REDUCE_BIN, {"-h", "nan", "a", "b"}, "Switch -h: \"nan" + notANumber},
        {"reduce", REDUCE_BIN, {"-v", "99999999999", "a", "b"}, "Switch -v: \"99999999999" + beyondInt},
        {"reduce", REDUCE_BIN, {"-h", "13", "a", "b"}, "Switch -h: \"13" + noMode},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.program + " " + ::testing::PrintToString(c.args));
        const RunResult r = test::runProgram(c.binary, c.args);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err, usageLines(c.program) + c.message);
        EXPECT_FALSE(contains(r.out, "File ")) << "no graph is read";
    }
}

// Whole-number switches take a whole number written as a real (3.0) in
// every program, as a reader mode too.
TEST(NumberSwitchRefusals, AWholeNumberWrittenAsARealIsTaken) {
    ScratchDir dir;
    std::filesystem::create_directories("graphs");
    std::filesystem::create_directories("logs");
    test::writeFile("a.csv", "2,1\n0,a\n1,b\n0,1,1\n");
    const std::string one = test::exampleFile("library-v1.txt"), two = test::exampleFile("library-v2.txt");
    struct Case {
        std::string binary;
        std::vector<std::string> args;
    };
    const std::vector<Case> cases = {
        {GRAPHSTATS_BIN, {"-h", "0.0", "-k", "print", "a.csv"}},
        {REDUCE_BIN, {"-h", "4.0", "-v", "1.0", one, two}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        const RunResult r = test::runProgram(c.binary, c.args);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_FALSE(contains(r.err, "Switch -")) << r.err;
    }
}

}  // namespace
}  // namespace graphmat

// Scoring the correspondence of an edit-path log with the matcher's cost,
// in process and through the logcost entry.
//
// fixtures/reports/triangle.csv: a -1-> b -2-> c -1-> a (plain graph file);
// triangle-renumbered.csv: the same graph with a, b, c numbered 1, 2, 0.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/TestSupport.h"
#include "matching/Cost.h"
#include "matching/Match.h"
#include "QuietPair.h"

namespace graphmat {
namespace {

using test::CaptureStderr;
using test::CaptureStdout;
using test::fixture;
using test::ScratchDir;
using test::writeFile;

const std::string COUNTS = "nd,0\nesi,6\ni,0\n";

// A matcher on the triangle and its renumbered copy under the weights of
// the demo runs (-d 1 -g 0.5 -e 1 -y 1).
class TrianglePair : public test::QuietPair {
public:
    TrianglePair() : QuietPair(0, "reports/triangle.csv", "reports/triangle-renumbered.csv") {}

    double score(const std::string& log, std::string* err = nullptr) {
        CaptureStderr errors;
        CaptureStdout quiet;
        const double cost = m->getLog(log);
        if (err) *err = errors.text();
        return cost;
    }
};

TEST(EditPathLog, CostOfTheLoggedCorrespondence) {
    ScratchDir dir;
    TrianglePair pair;
    const std::vector<int> none = {-1, -1, -1};
    struct Case {
        std::string name;
        std::string log;
        std::vector<int> logged;
        std::string err;
    };
    const std::vector<Case> cases = {
        {"renumbered copy", COUNTS + "n,0,1,a,a\nn,1,2,b,b\nn,2,0,c,c\n", {1, 2, 0}, ""},
        {"everything deleted", COUNTS + "n,0,-1,a\nn,1,-1,b\nn,2,-1,c\n", none, ""},
        // Lines of other kinds, empty lines and numbers outside the graphs
        // are skipped; a vertex without its "n" line stays deleted.
        {"foreign lines",
         "nd,0\n\nd,1,0,1\na,1,0,2\nm,1,2,0,1\nn,0,1,a,a\nn,7,0,x\nn,1,3,b,b\nn,x,1\nn,1\n",
         {1, -1, -1},
         "log.txt, line 7: old number 7 is outside graph 1; line skipped\n"
         "log.txt, line 8: new number 3 is outside graph 2; line skipped\n"
         "log.txt, line 9: a vertex number is not a number; line skipped\n"
         "log.txt, line 10: an \"n\" line needs the old and the new number; line skipped\n"},
    };
    for (const Case& c : cases) {
        writeFile("log.txt", c.log);
        std::string err;
        const double cost = pair.score("log.txt", &err);
        EXPECT_EQ(pair.m->log_matching, c.logged) << c.name;
        EXPECT_EQ(err, c.err) << c.name;
        if (c.logged == none) {
            EXPECT_EQ(cost, pair.m->no_matching_cost) << c.name;
        } else if (c.name == "renumbered copy") {
            EXPECT_EQ(cost, 0) << c.name;
        } else {
            EXPECT_GT(cost, 0) << c.name;
            EXPECT_LT(cost, pair.m->no_matching_cost) << c.name;
        }
        // The matching the cost was taken on is gone.
        EXPECT_EQ(pair.m->M12, none) << c.name;
        EXPECT_EQ(pair.m->M21, none) << c.name;
    }
}

TEST(EditPathLog, AMissingLogScoresNothingAndClearsTheMatching) {
    ScratchDir dir;
    TrianglePair pair;
    pairUp(pair.m->M12, pair.m->M21, 0, 1);
    std::string err;
    EXPECT_EQ(pair.score("missing.txt", &err), 0);
    EXPECT_EQ(err, "");
    EXPECT_EQ(pair.m->log_matching, (std::vector<int>{-1, -1, -1}));
    EXPECT_EQ(pair.m->M12, (std::vector<int>{-1, -1, -1}));
    EXPECT_EQ(pair.m->M21, (std::vector<int>{-1, -1, -1}));
}

test::RunResult logcost(const std::vector<std::string>& args) { return test::runProgram(LOGCOST_BIN, args); }

std::vector<std::string> demoArgs(const std::string& log, std::vector<std::string> extra = {}) {
    std::vector<std::string> args = {"-d", "1", "-g", "0.5", "-e", "1", "-y", "1"};
    args.insert(args.end(), extra.begin(), extra.end());
    args.insert(args.end(), {"-o", fixture("reports/triangle.csv"), "-n", fixture("reports/triangle-renumbered.csv"),
                             "-p", log});
    return args;
}

bool endsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

TEST(LogcostEntry, RunsAndRefusals) {
    struct Case {
        std::string name;
        std::vector<std::string> args;
        int status;
        std::string outTail;
        std::string errPart;
    };
    const std::vector<Case> cases = {
        {"renumbered copy", demoArgs("log.txt"), 0, "\n\n\nLog Matching Cost : 0\n", ""},
        {"everything deleted", demoArgs("deleted.txt"), 0, "\n\n\nLog Matching Cost : 450\n", ""},
        // A log that does not open ends the run before the matcher is built.
        {"missing log", demoArgs("missing.txt"), 1, "", "Cannot read missing.txt: No such file or directory\n"},
        {"log is a directory", demoArgs("logs"), 1, "", "Cannot read logs: Is a directory\n"},
        {"missing graph", {"-o", "none.csv", "-n", "none.csv", "-p", "log.txt"}, 1, "", "none.csv"},
        {"weight not a number", demoArgs("log.txt", {"-d", "1x"}), 1, "", "-d"},
        {"weight not finite", demoArgs("log.txt", {"-c", "inf"}), 1, "", "-c"},
        {"asymmetry -1", demoArgs("log.txt", {"-y", "-1"}), 1, "", "-y"},
        {"unknown switch", demoArgs("log.txt", {"-i", "2"}), 1, "", "-i"},
        {"switch without value", {"-o", "a", "-n"}, 1, "", "-n"},
        {"no log", {"-o", "a", "-n", "b"}, 1, "", "-p"},
    };
    for (const Case& c : cases) {
        ScratchDir dir;
        writeFile("log.txt", COUNTS + "n,0,1,a,a\nn,1,2,b,b\nn,2,0,c,c\n");
        writeFile("deleted.txt", COUNTS + "n,0,-1,a\nn,1,-1,b\nn,2,-1,c\n");
        std::filesystem::create_directory("logs");
        test::RunResult r = logcost(c.args);
        EXPECT_EQ(r.status, c.status) << c.name << ": " << r.err;
        EXPECT_TRUE(endsWith(r.out, c.outTail)) << c.name << ": " << r.out;
        if (c.errPart.empty()) {
            EXPECT_EQ(r.err, "") << c.name;
        } else {
            EXPECT_NE(r.err.find(c.errPart), std::string::npos) << c.name << ": " << r.err;
        }
    }
}

}  // namespace
}  // namespace graphmat

// The folders a run writes into are checked once its command line is read:
// a folder that is missing, is no folder or cannot be written ends the run
// with status 2 and one line naming it, before any graph is read and before
// any file is written; folders that a mode does not write into are not
// needed.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "support/TestSupport.h"

namespace graphmat {
namespace {

namespace fs = std::filesystem;
using test::contains;
using test::RunResult;
using test::ScratchDir;

struct FolderCase {
    std::string what;
    std::string program;
    std::vector<std::string> args;
    std::vector<std::string> folders;  // made before the run; the others are missing
    std::string err;                   // the whole of standard error
};

void PrintTo(const FolderCase& c, std::ostream* out) { *out << c.what; }

// Inputs of every case, in a working folder without any output folder.
void prepareInputs() {
    test::copyExampleFiles("series", test::exampleSeriesFiles());  // series.txt, shop-N.txt, matches/
    test::writeFile("a.csv", "2,1\n0,a\n1,b\n0,1,1\n");
    test::writeFile("e.csv", "2,1\n0,1,1\n");
    test::writeFile("log.txt", "n,0,0\nn,1,1\n");
    // The known matching that start modes other than 1 read for shop-v1.
    fs::create_directories("datasets/random");
    test::writeFile("datasets/random/shop-v.csv", "");
}

std::string missing(const std::string& folder, const std::string& word) {
    return "Folder " + folder + " is missing: make it with mkdir -p " + word + "\n";
}

class MissingFolder : public ::testing::TestWithParam<FolderCase> {};

TEST_P(MissingFolder, EndsWithStatus2NamingItBeforeAnyWork) {
    const FolderCase& c = GetParam();
    ScratchDir dir(false);
    prepareInputs();
    for (const std::string& folder : c.folders) fs::create_directories(folder);
    const auto before = test::treeHere();
    const RunResult r = test::runProgram(c.program, c.args, {"", 120});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, c.err);
    EXPECT_FALSE(contains(r.out, "...Found")) << "a graph was read: " << r.out;
    EXPECT_TRUE(test::treeHere() == before) << "the run made or changed a file or folder";
}

const std::string kShop1 = test::exampleFile("shop-v1.txt"), kShop2 = test::exampleFile("shop-v2.txt");
const std::vector<std::string> kWeights = {"-d", "1", "-g", "0.5", "-e", "1", "-y", "1"};

std::vector<std::string> shopRun(std::vector<std::string> extra) {
    std::vector<std::string> args = kWeights;
    args.insert(args.end(), extra.begin(), extra.end());
    for (const std::string& word : {std::string("-o"), kShop1, std::string("-n"), kShop2}) args.push_back(word);
    return args;
}

const std::string kNoResults = missing("./results/", "results");

INSTANTIATE_TEST_SUITE_P(
    Programs, MissingFolder,
    ::testing::Values(
        FolderCase{"graphmat search", GRAPHMAT_BIN, shopRun({}), {}, kNoResults},
        FolderCase{"graphmat single assignment", GRAPHMAT_BIN, shopRun({"-m", "sim.txt"}), {}, kNoResults},
        FolderCase{"graphmat similarity experiment", GRAPHMAT_BIN, shopRun({"-i", "0"}), {}, kNoResults},
        FolderCase{"graphmat difference report", GRAPHMAT_BIN, shopRun({"-u", "1"}), {}, kNoResults},
        FolderCase{"graphmat UML difference report", GRAPHMAT_BIN, shopRun({"-w", "1"}), {}, kNoResults},
        FolderCase{"tunnel", TUNNEL_BIN, {"series.txt"}, {}, kNoResults},
        FolderCase{"reduce", REDUCE_BIN, {"-h", "4", "shop-1.txt", "shop-2.txt"}, {}, kNoResults},
        FolderCase{"logcost", LOGCOST_BIN, {"-o", "a.csv", "-n", "a.csv", "-p", "log.txt"}, {}, kNoResults},
        FolderCase{"graphgen pair",
                   GRAPHGEN_BIN,
                   {"pair", "10", "2", "0.5", "3", "0.5", "2", "1", "10", "20", "./generated/random/g", "1", "0"},
                   {"generated"},
                   missing("./generated/random/", "generated/random")},
        FolderCase{"graphgen pair with matrices",
                   GRAPHGEN_BIN,
                   {"pair", "5", "1", "1", "1", "1", "1", "1", "0", "0", "my pairs/h", "3", "1"},
                   {},
                   missing("my pairs/", "'my pairs'")},
        FolderCase{"graphgen noise", GRAPHGEN_BIN, {"noise", "1", "3", "0", "1"}, {}, missing("./benchmark/", "benchmark")},
        FolderCase{"graphgen mutate",
                   GRAPHGEN_BIN,
                   {"mutate", "0", "a.csv", "0.3", "0.3", "0.2", "1", "7", "out/m.csv", "edits/log.txt"},
                   {"out"},
                   missing("edits/", "edits") + missing("./logs/", "logs")},
        FolderCase{"graphgen shuffle", GRAPHGEN_BIN, {"shuffle", "0", "a.csv", "3", "out/sub/s.csv"}, {},
                   missing("out/sub/", "out/sub")},
        FolderCase{"graphstats details", GRAPHSTATS_BIN, {"-h", "4", "shop-1.txt"}, {},
                   missing("./graphs/", "graphs") + missing("./logs/", "logs")},
        FolderCase{"graphstats versions", GRAPHSTATS_BIN, {"-h", "4", "-k", "versions", "shop-1.txt"}, {"graphs"},
                   missing("./logs/", "logs")}),
    test::CaseName());

// A mode that writes into no folder (print), or only into the current one
// (matrix, a pair without a folder in its stem), needs none of the others.
TEST(MissingFolder, FoldersAModeDoesNotWriteIntoAreNotNeeded) {
    struct Case {
        std::string what;
        std::string program;
        std::vector<std::string> args;
        std::string written;  // a file the run writes
    };
    const std::vector<Case> cases = {
        {"graphstats print", GRAPHSTATS_BIN, {"-h", "0", "-k", "print", "a.csv"}, ""},
        {"graphstats matrix", GRAPHSTATS_BIN, {"-h", "0", "-k", "matrix", "a.csv"}, "ma"},
        {"graphgen pair", GRAPHGEN_BIN, {"pair", "10", "2", "0.5", "3", "0.5", "2", "1", "10", "20", "g", "1", "0"},
         "g_10_2_0.5_3_0.5_2_1_10_20_0_1A.csv"},
        {"graphgen shuffle", GRAPHGEN_BIN, {"shuffle", "0", "a.csv", "3", "s.csv"}, "s.csv"},
        {"mces", MCES_BIN, {"-o", "e.csv", "-n", "e.csv", "-t", "7"}, "results.csv"},
    };
    for (const Case& c : cases) {
        ScratchDir dir(false);
        prepareInputs();
        const RunResult r = test::runProgram(c.program, c.args, {"", 120});
        EXPECT_EQ(r.status, 0) << c.what << ": " << r.err;
        EXPECT_EQ(r.err, "") << c.what;
        if (!c.written.empty()) {
            EXPECT_TRUE(test::fileExists(c.written)) << c.what;
        }
    }
}

// A file in a folder's place, or in the place of a folder on its path.
TEST(UnwritableFolder, AFileInTheFoldersPlaceIsNamed) {
    ScratchDir dir(false);
    prepareInputs();
    test::writeFile("results", "");
    test::writeFile("generated", "");
    const auto before = test::treeHere();
    RunResult r = test::runProgram(GRAPHMAT_BIN, shopRun({}));
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "Folder ./results/ cannot be written: it is not a folder\n");
    r = test::runProgram(GRAPHGEN_BIN,
                         {"pair", "10", "2", "0.5", "3", "0.5", "2", "1", "10", "20", "generated/random/g", "1", "0"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "Folder generated/random/ cannot be written: Not a directory\n");
    EXPECT_TRUE(test::treeHere() == before);
}

// A folder without the right to write: the working folder of mces and
// evaluate (results.csv, eval_results.csv), ./results/ of graphmat. The superuser may write anywhere, so
// then the programs run as the user nobody.
TEST(UnwritableFolder, AFolderWithoutTheRightToWriteIsNamed) {
    ScratchDir dir(false);
    prepareInputs();
    fs::create_directory("results");
    std::vector<std::string> asUser;
    if (geteuid() == 0) {
        if (!fs::exists("/usr/bin/setpriv")) GTEST_SKIP() << "no setpriv to run as another user";
        asUser = {"--reuid=65534", "--regid=65534", "--clear-groups"};
        fs::permissions(".", fs::perms::others_read | fs::perms::others_exec, fs::perm_options::add);
    }
    auto run = [&](const std::string& program, const std::vector<std::string>& args) {
        if (asUser.empty()) return test::runProgram(program, args);
        std::vector<std::string> words = asUser;
        words.push_back(program);
        words.insert(words.end(), args.begin(), args.end());
        return test::runProgram("/usr/bin/setpriv", words);
    };
    if (!asUser.empty() && run(MCES_BIN, {"--help"}).status != 0)
        GTEST_SKIP() << "the programs cannot be run as the user nobody here";
    const fs::perms readOnly = fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                               fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec;
    fs::permissions("results", readOnly);
    fs::permissions(".", readOnly);
    const auto before = test::treeHere();
    const RunResult mces = run(MCES_BIN, {"-o", "e.csv", "-n", "e.csv"});
    const RunResult evaluate = run(EVALUATE_BIN, {"a__b__1__0.5__1__1__0__1.csv", "shop"});
    const RunResult graphmat = run(GRAPHMAT_BIN, shopRun({}));
    const auto after = test::treeHere();
    fs::permissions(".", fs::perms::owner_write, fs::perm_options::add);
    fs::permissions("results", fs::perms::owner_write, fs::perm_options::add);
    EXPECT_EQ(mces.status, 2);
    EXPECT_EQ(mces.err, "Folder ./ (the current folder) cannot be written: Permission denied\n");
    EXPECT_EQ(evaluate.status, 2);
    EXPECT_EQ(evaluate.err, mces.err);
    EXPECT_EQ(graphmat.status, 2);
    EXPECT_EQ(graphmat.err, "Folder ./results/ cannot be written: Permission denied\n");
    EXPECT_TRUE(after == before);
}

}  // namespace
}  // namespace graphmat

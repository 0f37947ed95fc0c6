// The tunnel program end to end: the shipped example series and series
// lists that cannot be tracked.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>

#include "TunnelFixture.h"

namespace graphmat::test {
namespace {

namespace fs = std::filesystem;

const char* const PARAMETERS = "__1__0.5__1__1__0__1.csv";
const std::string M34 = std::string("m,matches/shop-3__shop-4") + PARAMETERS + "\n";
// The example's list, as shipped.
const std::string SERIES = "g,shop-4.txt\ng,shop-3.txt\ng,shop-2.txt\ng,shop-1.txt\n" + M34 +
                           std::string("m,matches/shop-2__shop-3") + PARAMETERS + "\nm,matches/shop-1__shop-2" +
                           PARAMETERS + "\n";
// An older version listed before a newer one: either cause, with the
// command that matches the step as the list has it.
const std::string BOTH_CAUSES =
    "either the \"g\" lines list the versions oldest first (list them newest first), or the step was matched with "
    "its versions swapped (match it again with the older version as -o: graphmat -h 4 -o ";

// A scratch directory holding a copy of the example series.
struct ExampleSeries : ::testing::Test {
    ScratchDir dir;
    void SetUp() override {
        copyExampleFiles("series", exampleSeriesFiles());
    }
    static std::vector<std::string> results() {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator("results")) names.push_back(entry.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST_F(ExampleSeries, MatchFilesAreThoseOfTheMatcher) {
    for (auto [older, newer] : {std::pair{"1", "2"}, {"2", "3"}, {"3", "4"}}) {
        const std::string o = std::string("shop-") + older, n = std::string("shop-") + newer;
        RunResult run = runProgram(GRAPHMAT_BIN, {"-h", "4", "-d", "1", "-g", "0.5", "-e", "1", "-y", "1", "-o",
                                                  o + ".txt", "-n", n + ".txt"});
        ASSERT_EQ(run.status, 0) << run.err;
        const std::string name = o + "__" + n + PARAMETERS;
        EXPECT_EQ(readFile("results/" + name), readFile("matches/" + name)) << name;
    }
}

TEST_F(ExampleSeries, FiveReports) {
    RunResult run = runProgram(TUNNEL_BIN, {"series.txt"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(results(), (std::vector<std::string>{"_tunnel_shop-4.csv", "ctunnel_shop-4.csv", "raw_tunnel_shop-4.csv",
                                                   "rtunnel_shop-4.csv", "tunnel_shop-4.csv"}));

    // Step costs: the two overall costs of each class's row in the three
    // match result files (Invoice: Order's 183.333 + 100, 0 + 0, 0 + 75);
    // creation: class insertion 50 plus 25 per outgoing arc in the oldest
    // version of the thread (Payment: created in shop-2 with one arc).
    EXPECT_EQ(readFile("results/_tunnel_shop-4.csv"),
              "p,0,shop.Cart,195,198,214,265,\n"
              "c,0,shop.Cart,100,0,0,100,\n"
              "p,1,shop.Item,192,157,169,224,\n"
              "c,1,shop.Item,50,0,0,50,\n"
              "p,2,shop.Client,136,107,115,143,\n"
              "c,2,shop.Client,0,0,85,75,\n"
              "p,3,shop.util.Logger,192,192,207,255,\n"
              "c,3,shop.util.Logger,0,0,0,50,\n"
              "p,4,shop.Payment,79,107,115,\n"
              "c,4,shop.Payment,50,0,0,75,\n"
              "p,5,shop.Invoice,202,164,176,111,\n"
              "c,5,shop.Invoice,283,0,75,125,\n");

    // Client was Customer in shop-1; Logger moved from util; the matcher
    // took Order for Invoice's former self; Payment appeared in shop-2.
    EXPECT_EQ(readFile("results/ctunnel_shop-4.csv"),
              "0,shop.Cart,3,1,shop-4__shop.Cart\n"
              "1,shop.Item,3,1,shop-4__shop.Item\n"
              "2,shop.Client,3,2,shop-4__shop.Client,shop-1__shop.Customer\n"
              "3,shop.util.Logger,3,2,shop-4__shop.util.Logger,shop-2__util.Logger\n"
              "4,shop.Payment,2,1,shop-4__shop.Payment\n"
              "5,shop.Invoice,3,2,shop-4__shop.Invoice,shop-3__shop.Order\n");

    EXPECT_EQ(readFile("results/rtunnel_shop-4.csv"),
              "0,shop.Cart,1,shop.Item,3,1,shop-4__100000\n"
              "2,shop.Client,0,shop.Cart,3,1,shop-4__010000\n"
              "0,shop.Cart,3,shop.util.Logger,3,1,shop-4__001000\n"
              "4,shop.Payment,5,shop.Invoice,2,1,shop-4__001000\n"
              "5,shop.Invoice,2,shop.Client,3,1,shop-4__100000\n"
              "5,shop.Invoice,3,shop.util.Logger,3,1,shop-4__001000\n"
              "0,shop.Cart,5,shop.Invoice,0,1,shop-4__010000\n"
              "5,shop.Invoice,1,shop.Item,0,1,shop-4__001000\n");

    // Five pairs keep one signature in all four versions; Cart->Invoice and
    // Invoice->Item are new in shop-4, Order->Cart is gone from it.
    EXPECT_EQ(readFile("results/raw_tunnel_shop-4.csv"),
              "\nshop.Cart,shop.Cart,shop.Cart,shop.Cart"
              "\nshop.Item,shop.Item,shop.Item,shop.Item"
              "\nshop.Client,shop.Client,shop.Client,shop.Customer"
              "\nshop.util.Logger,shop.util.Logger,util.Logger,util.Logger"
              "\nshop.Payment,shop.Payment,shop.Payment"
              "\nshop.Invoice,shop.Order,shop.Order,shop.Order"
              "\n\n tunnelSize,5"
              "\nshop.Cart,shop.Invoice,10000\\1,,,,,,1,1"
              "\nshop.Invoice,shop.Cart,1000\\3,,,,,,3,3"
              "\nshop.Invoice,shop.Item,1000\\1,,,,,,1,1"
              "\n labelStats,1,2\n labelStats,3,1"
              "\n\n Original Edges in the tunnel : 7\n\n"
              "\n\n Perfect Edge Matching : 5\n\n"
              "\n\n Threads \n\n0,4\n1,4\n2,4\n3,4\n4,3\n5,4\n"
              "\n\n Costs in tunnel \n\n0,100\n1,50\n2,85\n3,0\n5,358\n");

    auto rows = csvRows(readFile("results/tunnel_shop-4.csv"));
    ASSERT_EQ(rows.size(), 7u);
    for (const auto& row : rows) EXPECT_EQ(row.size(), 101u);
    std::map<std::string, std::string> cart, payment;
    for (std::size_t k = 0; k < rows[0].size(); ++k) {
        cart[rows[0][k]] = rows[1][k];
        payment[rows[0][k]] = rows[5][k];
    }
    // Cart: step costs 100, 0, 0 and creation 100 over four versions.
    EXPECT_EQ(cart["EC"], "200");
    EXPECT_EQ(cart["MeanEC"], "50");
    EXPECT_EQ(cart["StdEC"], "50");
    EXPECT_EQ(cart["LastEC"], "100");
    // Cart gained checkout() in shop-4 and clear() in shop-2; getTotal()
    // became computeTotal() in shop-3.
    EXPECT_EQ(cart["nbAddMet"], "2");
    EXPECT_EQ(cart["lastNbAddMet"], "1");
    EXPECT_EQ(cart["nbRenMet"], "1");
    EXPECT_EQ(cart["nbMet"], "5");
    EXPECT_EQ(cart["lastNbMet"], "4");
    EXPECT_EQ(cart["newClass"], "0");
    // Payment: thread of three versions, step costs 50, 0, 0, creation 75.
    EXPECT_EQ(payment["EC"], "125");
    EXPECT_EQ(payment["MeanEC"], "31.25");
    EXPECT_EQ(payment["CR"], "79");
}

TEST_F(ExampleSeries, ExtraFieldsAndOtherLinesChangeNothing) {
    ASSERT_EQ(runProgram(TUNNEL_BIN, {"series.txt"}).status, 0);
    std::map<std::string, std::string> first;
    for (const std::string& name : results()) first[name] = readFile("results/" + name);
    fs::remove_all("results");
    fs::create_directory("results");

    std::string list = "# a comment\nG,shop-9.txt\n\n";
    for (const std::string& line : lines(readFile("series.txt")))
        if (!line.empty()) list += line + ",x,x,x,x,x,x,x,x,x,x,x,x\r\n";
    writeFile("list.txt", list);
    RunResult run = runProgram(TUNNEL_BIN, {"list.txt"});
    ASSERT_EQ(run.status, 0) << run.err;
    for (const auto& [name, text] : first) EXPECT_EQ(readFile("results/" + name), text) << name;
    // The ignored lines are named, the blank one is not.
    EXPECT_EQ(run.err,
              "list.txt line 1: line ignored: its first field \"# a comment\" is neither \"g\" (a version) nor "
              "\"m\" (a match result file)\n"
              "list.txt line 2: line ignored: its first field \"G\" is neither \"g\" (a version) nor \"m\" (a "
              "match result file)\n");
}

// A first line that carries two byte-order marks, or part of one (only one
// whole mark at the very start of the file is skipped), is another kind of
// line: the newest version is lost, as specified, and no longer silently -
// the line is named with its bytes, and so is the match result file that
// no longer has its step. The run goes on with the versions it has.
TEST_F(ExampleSeries, AnIgnoredLineIsNamedWithTheBytesThatHideItsKind) {
    const std::string list = readFile("series.txt");
    ASSERT_EQ(list.compare(0, 13, "g,shop-4.txt\n"), 0) << list;
    const std::string lostStep = std::string("the match result file matches/shop-3__shop-4") + PARAMETERS +
                                 " is not read: no two consecutive versions listed above this line are \"shop-3\" "
                                 "(older) and \"shop-4\" (newer)\n";
    const std::string hint = "; without the other bytes it would be a \"g\" line (a UTF-8 byte-order mark, EF BB BF, "
                             "is skipped only once, at the very start of the file)\n";
    const std::vector<std::pair<std::string, std::string>> starts = {
        {"\xEF\xBB\xBF\xEF\xBB\xBF", "\\xEF\\xBB\\xBFg"},
        {"\xEF\xBB", "\\xEF\\xBBg"},
    };
    for (const auto& [start, shown] : starts) {
        SCOPED_TRACE(shown);
        writeFile("list.txt", start + list);
        fs::remove_all("results");
        fs::create_directory("results");
        const RunResult run = runProgram(TUNNEL_BIN, {"list.txt"});
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.err, "list.txt line 1: line ignored: its first field \"" + shown +
                               "\" is neither \"g\" (a version) nor \"m\" (a match result file)" + hint +
                               "list.txt line 5: " + lostStep);
        EXPECT_TRUE(fileExists("results/_tunnel_shop-3.csv"));
    }
}

// An "m" line that is not read is named once, with the true reason, and the
// run goes on with the reports of the plain list: a second line for a step
// (whatever its file holds, here a file that does not exist: it is not
// opened), a name without cost parameters before the last "m" line.
TEST_F(ExampleSeries, AMatchLineThatIsNotReadIsNamedOnce) {
    ASSERT_EQ(runProgram(TUNNEL_BIN, {"series.txt"}).status, 0);
    std::map<std::string, std::string> plain;
    for (const std::string& name : results()) plain[name] = readFile("results/" + name);
    ASSERT_EQ(readFile("series.txt"), SERIES);
    const std::string versions = "g,shop-4.txt\ng,shop-3.txt\ng,shop-2.txt\ng,shop-1.txt\n";
    const std::string steps = SERIES.substr(versions.size());
    const std::vector<std::pair<std::string, std::string>> cases = {
        {SERIES + "m,elsewhere/shop-3__shop-4" + PARAMETERS + "\n",
         "list.txt line 8: the match result file elsewhere/shop-3__shop-4" + std::string(PARAMETERS) +
             " is not read: the step from \"shop-4\" to \"shop-3\" reads the match result file matches/shop-3__shop-4" +
             PARAMETERS + " (line 5); an \"m\" line after the first for a step is ignored\n"},
        {versions + "m,shop-3__shop-4.csv\n" + steps,
         "list.txt line 5: the match result file shop-3__shop-4.csv is not read: its name holds no cost parameters "
         "after the names of its two versions (OLDER__NEWER__dwn__dwe__ew__asy__lw__seed.csv, as graphmat names "
         "it)\n"},
        {versions + "m,shop-4.csv\n" + steps,
         "list.txt line 5: the match result file shop-4.csv is not read: its name does not name two versions "
         "(OLDER__NEWER__...csv)\n"},
    };
    for (const auto& [list, message] : cases) {
        SCOPED_TRACE(list);
        fs::remove_all("results");
        fs::create_directory("results");
        writeFile("list.txt", list);
        const RunResult run = runProgram(TUNNEL_BIN, {"list.txt"});
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.err, message);
        for (const auto& [name, text] : plain) EXPECT_EQ(readFile("results/" + name), text) << name;
    }
}

TEST_F(ExampleSeries, AMissingMatchFileIsNamedAndReadsAsEmpty) {
    std::string list = readFile("series.txt");
    const std::string from = std::string("matches/shop-1__shop-2") + PARAMETERS;
    list.replace(list.find(from), from.size(), std::string("gone/shop-1__shop-2") + PARAMETERS);
    writeFile("series.txt", list);
    RunResult run = runProgram(TUNNEL_BIN, {"series.txt"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err,
              std::string("Cannot read gone/shop-1__shop-2") + PARAMETERS + ": No such file or directory\n");
    // No class of shop-2 has an image in shop-1: every thread stops there.
    EXPECT_NE(readFile("results/raw_tunnel_shop-4.csv").find("\n\n tunnelSize,0"), std::string::npos);
}

// A match result file that opens but holds no match row, here a class
// diagram under the match file's name, is named on standard error; one that
// is a directory is a file that does not open. Either way no class of that
// step has a partner.
TEST_F(ExampleSeries, AMatchFileWithoutRowsOrADirectoryIsNamed) {
    const std::string path = std::string("matches/shop-1__shop-2") + PARAMETERS;
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"class diagram", path + ": no match rows (\"ns\" lines); no class of this step has a partner\n"},
        {"directory", "Cannot read " + path + ": Is a directory\n"},
    };
    for (const auto& [what, message] : cases) {
        fs::remove_all(path);
        if (what == "directory")
            fs::create_directory(path);
        else
            fs::copy_file("shop-1.txt", path);
        RunResult run = runProgram(TUNNEL_BIN, {"series.txt"});
        EXPECT_EQ(run.status, 0) << what;
        EXPECT_EQ(run.err, message) << what;
        EXPECT_NE(readFile("results/raw_tunnel_shop-4.csv").find("\n\n tunnelSize,0"), std::string::npos) << what;
    }
}

// A match row cut short, as a full disk or a cut copy leaves the last row,
// is skipped and counted, whatever is left of its labels; the series is
// tracked. A complete row with a label other than its class's refuses the
// step, quoting only what differs.
TEST_F(ExampleSeries, ARowCutShortIsSkippedAndAForeignLabelRefusesTheStep) {
    const std::string path = std::string("matches/shop-1__shop-2") + PARAMETERS;
    const std::string whole = readFile(path);
    const std::string last = "ns,4,4,util.Logger,util.Logger,,,,0,0,0,250\n";
    ASSERT_NE(whole.find(last), std::string::npos);
    const std::string skipped = "\n Skipped rows : 1";
    struct Case {
        const char* what;
        std::string row;  // in place of the last "ns" row
        int status;
        std::string err;
    };
    const std::vector<Case> cases = {
        {"cut after the older label", "ns,4,4,util.Logger\n", 0,
         path + ": 1 match row skipped (the first at line 12: a row cut short: 4 fields, without the overall costs "
                "of fields 9 and 10)\n"},
        {"cut inside the newer label", "ns,4,4,util.Logger,util.Lo\n", 0,
         path + ": 1 match row skipped (the first at line 12: a row cut short: 5 fields, without the overall costs "
                "of fields 9 and 10)\n"},
        {"cut inside the costs", "ns,4,4,util.Logger,util.Logger,,,,0,0\n", 0,
         path + ": 1 match row skipped (the first at line 12: a row cut short: 10 fields, without the overall costs "
                "of fields 9 and 10)\n"},
        {"another newer label", "ns,4,4,util.Logger,util.Log,,,,0,0,0,250\n", 1,
         "series.txt line 7: the match result file " + path + " does not pair the classes of \"shop-1\" and "
         "\"shop-2\": its line 12 pairs \"util.Logger\" with \"util.Log\", but class 4 of \"shop-2\" is "
         "\"util.Logger\"; it was made from another reading of the versions (a reader mode other than 4, 5, 8 and 9) "
         "or from other files: match the step's class diagram files with graphmat -h 4 -o shop-1.txt -n shop-2.txt "
         "(or -h 5, 8 or 9) and list that run's match result file\n"},
        {"another older label", "ns,4,4,util.Log,util.Logger,,,,0,0,0,250\n", 1,
         "series.txt line 7: the match result file " + path + " does not pair the classes of \"shop-1\" and "
         "\"shop-2\": its line 12 pairs \"util.Log\" with \"util.Logger\", but class 4 of \"shop-1\" is "
         "\"util.Logger\"; it was made from another reading of the versions (a reader mode other than 4, 5, 8 and 9) "
         "or from other files: match the step's class diagram files with graphmat -h 4 -o shop-1.txt -n shop-2.txt "
         "(or -h 5, 8 or 9) and list that run's match result file\n"},
    };
    for (const Case& c : cases) {
        std::string damaged = whole;
        damaged.replace(damaged.find(last), last.size(), c.row);
        writeFile(path, damaged);
        fs::remove_all("results");
        fs::create_directory("results");
        RunResult run = runProgram(TUNNEL_BIN, {"series.txt"});
        EXPECT_EQ(run.status, c.status) << c.what;
        EXPECT_EQ(run.err, c.err) << c.what;
        EXPECT_EQ(results().size(), c.status == 0 ? 5u : 0u) << c.what;
        if (c.status == 0) {
            EXPECT_NE(run.out.find(skipped), std::string::npos) << c.what;
        }
    }
    // Two rows skipped are counted in the plural.
    std::string damaged = whole;
    damaged.replace(damaged.find(last), last.size(), "ns,4,4\nns,3,3,shop.Order\n");
    writeFile(path, damaged);
    RunResult run = runProgram(TUNNEL_BIN, {"series.txt"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, path + ": 2 match rows skipped (the first at line 12: a row cut short: 3 fields, without the "
                              "overall costs of fields 9 and 10)\n");
}

struct BadSeries {
    const char* what;
    std::string list;
    std::string message;
};

void PrintTo(const BadSeries& c, std::ostream* out) { *out << c.what; }

class BadSeriesTest : public ExampleSeries, public ::testing::WithParamInterface<BadSeries> {};

TEST_P(BadSeriesTest, EndsWithAMessageAndWritesNothing) {
    const BadSeries& c = GetParam();
    writeFile("list.txt", c.list);
    RunResult run = runProgram(TUNNEL_BIN, {"list.txt"});
    EXPECT_EQ(run.status, 1) << c.what;
    EXPECT_EQ(run.err, c.message + "\n") << c.what;
    EXPECT_TRUE(results().empty()) << c.what;
}


INSTANTIATE_TEST_SUITE_P(
    Lists, BadSeriesTest,
    ::testing::Values(
        BadSeries{"no version", "m,x\n",
                  "list.txt line 1: the match result file x is not read: its name does not name two versions "
                  "(OLDER__NEWER__...csv)\n"
                  "list.txt: a series needs at least two versions (\"g\" lines); it lists 0"},
        BadSeries{"one version", "g,shop-4.txt\n",
                  "list.txt: a series needs at least two versions (\"g\" lines); it lists 1"},
        BadSeries{"a class diagram that does not open", "g,shop-4.txt\ng,none.txt\n",
                  "list.txt line 2: the class diagram file none.txt does not open: No such file or directory"},
        BadSeries{"a class diagram that is a folder", "g,shop-4.txt\ng,matches\n",
                  "list.txt line 2: the class diagram file matches does not open: Is a directory"},
        BadSeries{"a match file naming the last version loaded as the newer one", "g,shop-4.txt\n" + M34,
                  std::string("list.txt line 2: the match result file matches/shop-3__shop-4") + PARAMETERS +
                      " names \"shop-4\" as the newer version, but no older version is listed after it"},
        BadSeries{"versions listed oldest first",
                  "g,shop-1.txt\ng,shop-2.txt\ng,shop-3.txt\ng,shop-4.txt\nm,matches/shop-1__shop-2" +
                      std::string(PARAMETERS) + "\n" + M34,
                  std::string("list.txt line 5: the match result file matches/shop-1__shop-2") + PARAMETERS +
                      " is not read: no two consecutive versions listed above this line are \"shop-1\" (older) and "
                      "\"shop-2\" (newer)\n" +
                      "list.txt line 5: the match result file matches/shop-1__shop-2" + PARAMETERS +
                      " pairs \"shop-1\" (older, -o) with \"shop-2\" (newer, -n), but the series lists \"shop-1\" "
                      "before \"shop-2\", as the newer version: " + BOTH_CAUSES + "shop-2.txt -n shop-1.txt and the "
                      "same weights)"},
        BadSeries{"versions listed oldest first, the newest step named first", "g,shop-3.txt\ng,shop-4.txt\n" + M34,
                  std::string("list.txt line 3: the match result file matches/shop-3__shop-4") + PARAMETERS +
                      " pairs \"shop-3\" (older, -o) with \"shop-4\" (newer, -n), but the series lists \"shop-3\" "
                      "before \"shop-4\", as the newer version: " + BOTH_CAUSES + "shop-4.txt -n shop-3.txt and the "
                      "same weights)"},
        // The list is newest first; the step was matched with the newer
        // version as -o. The message cannot tell the two causes apart.
        BadSeries{"a step matched with its versions swapped",
                  "g,shop-4.txt\ng,shop-3.txt\nm,matches/shop-4__shop-3" + std::string(PARAMETERS) + "\n",
                  std::string("list.txt line 3: the match result file matches/shop-4__shop-3") + PARAMETERS +
                      " pairs \"shop-4\" (older, -o) with \"shop-3\" (newer, -n), but the series lists \"shop-4\" "
                      "before \"shop-3\", as the newer version: " + BOTH_CAUSES + "shop-3.txt -n shop-4.txt and the "
                      "same weights)"},
        // A last "m" line whose name holds no cost parameters is said once,
        // by the failure it causes; when the run fails on another fault
        // first, the line is named on its own.
        BadSeries{"the last match file name without cost parameters", SERIES + "m,shop-3__shop-4.csv\n",
                  "list.txt: no usable cost parameters in the name of the last match result file "
                  "shop-3__shop-4.csv (expected older__newer__dwn__dwe__ew__asy__lw__seed.csv)"},
        BadSeries{"the last match file name without cost parameters, a line ignored after it",
                  SERIES + "m,shop-3__shop-4.csv\n# end\n",
                  "list.txt line 9: line ignored: its first field \"# end\" is neither \"g\" (a version) nor \"m\" (a "
                  "match result file)\n"
                  "list.txt: no usable cost parameters in the name of the last match result file "
                  "shop-3__shop-4.csv (expected older__newer__dwn__dwe__ew__asy__lw__seed.csv)"},
        BadSeries{"the only match file of a step without cost parameters", "g,shop-4.txt\ng,shop-3.txt\n"
                  "m,shop-3__shop-4.csv\n",
                  "list.txt line 3: the match result file shop-3__shop-4.csv is not read: its name holds no cost "
                  "parameters after the names of its two versions (OLDER__NEWER__dwn__dwe__ew__asy__lw__seed.csv, as "
                  "graphmat names it)\n"
                  "list.txt: no match result file for the step from \"shop-4\" to \"shop-3\" (an \"m\" line naming "
                  "./results/shop-3__shop-4__...csv)"},
        BadSeries{"an empty path of a version", "g,shop-4.txt\ng,\n",
                  "list.txt line 2: a \"g\" line without the path of a class diagram file"},
        BadSeries{"an empty path of a match file", "g,shop-4.txt\ng,shop-3.txt\nm\n",
                  "list.txt line 3: an \"m\" line without the path of a match result file"},
        BadSeries{"a step without a match file", "g,shop-4.txt\ng,shop-3.txt\ng,shop-2.txt\n" + M34,
                  "list.txt: no match result file for the step from \"shop-3\" to \"shop-2\" (an \"m\" line naming "
                  "./results/shop-2__shop-3__...csv)"},
        BadSeries{"too few cost parameters in the last match file name",
                  "g,shop-4.txt\ng,shop-3.txt\n" + M34 + "m,other/a__b__1__2.csv\n",
                  "list.txt line 4: the match result file other/a__b__1__2.csv is not read: no two consecutive versions "
                  "listed above this line are \"a\" (older) and \"b\" (newer)\n"
                  "list.txt: no usable cost parameters in the name of the last match result file "
                  "other/a__b__1__2.csv (expected older__newer__dwn__dwe__ew__asy__lw__seed.csv)"},
        BadSeries{"a cost parameter that is not a number",
                  "g,shop-4.txt\ng,shop-3.txt\n" + M34 + "m,other/a__b__1__x__1__1__0__1.csv\n",
                  "list.txt line 4: the match result file other/a__b__1__x__1__1__0__1.csv is not read: no two consecutive versions "
                  "listed above this line are \"a\" (older) and \"b\" (newer)\n"
                  "list.txt: no usable cost parameters in the name of the last match result file "
                  "other/a__b__1__x__1__1__0__1.csv (expected older__newer__dwn__dwe__ew__asy__lw__seed.csv)"},
        BadSeries{"an asymmetry of -1", "g,shop-4.txt\ng,shop-3.txt\n" + M34 + "m,other/a__b__1__1__1__-1__0__1.csv\n",
                  "list.txt line 4: the match result file other/a__b__1__1__1__-1__0__1.csv is not read: no two consecutive versions "
                  "listed above this line are \"a\" (older) and \"b\" (newer)\n"
                  "list.txt: no usable cost parameters in the name of the last match result file "
                  "other/a__b__1__1__1__-1__0__1.csv (expected older__newer__dwn__dwe__ew__asy__lw__seed.csv)"}),
    CaseName());

// Versions in different folders under one file name: the match result file
// of a step is named after the versions' names, so two steps between
// "model" and "model" share one name.
TEST_F(ExampleSeries, VersionsOfTheSameFileNameInDifferentFolders) {
    for (const char* version : {"a", "b", "c"}) fs::create_directory(version);
    fs::copy_file("shop-3.txt", "a/model.txt");
    fs::copy_file("shop-2.txt", "b/model.txt");
    fs::copy_file("shop-1.txt", "c/model.txt");
    const std::string match = std::string("model__model") + PARAMETERS;
    fs::copy_file(std::string("matches/shop-2__shop-3") + PARAMETERS, match);
    writeFile("list.txt", "g,a/model.txt\ng,b/model.txt\ng,c/model.txt\nm," + match + "\n");
    RunResult run = runProgram(TUNNEL_BIN, {"list.txt"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err,
              "list.txt: the step from \"b/model.txt\" (line 2) to \"c/model.txt\" (line 3) and the step from "
              "\"a/model.txt\" (line 1) to \"b/model.txt\" (line 2) join versions of the same names, \"model\" and "
              "\"model\": a match result file is named after the file names of its versions without folder and "
              "extension, so one name stands for both steps; give the versions files of different names\n");
    EXPECT_TRUE(results().empty());
}

// Paths in a list are read from the current folder; one that exists beside
// the list is pointed out.
TEST_F(ExampleSeries, PathsAreReadFromTheCurrentFolder) {
    fs::create_directory("elsewhere");
    fs::create_directory("elsewhere/results");
    fs::current_path("elsewhere");
    RunResult run = runProgram(TUNNEL_BIN, {"../series.txt"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err,
              "../series.txt line 1: the class diagram file shop-4.txt does not open: No such file or directory "
              "(paths in a series list are read from the current folder, and ../shop-4.txt exists: run tunnel from "
              "the list's folder)\n");
    fs::current_path("..");
}

TEST_F(ExampleSeries, MissingListAndBadCommandLine) {
    RunResult run = runProgram(TUNNEL_BIN, {"none.txt"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "Cannot read the series list file none.txt: No such file or directory\n");
    // The usage lines, then one line that names the fault and points to
    // --help.
    const std::string usage =
        "Usage: tunnel SERIES_LIST\nSERIES_LIST: lines \"g,CLASS_DIAGRAM\" (newest version first) and\n"
        "\"m,MATCH_RESULT_FILE\" (one per consecutive pair, older version as graph 1)\n";
    for (const auto& [args, given] : std::vector<std::pair<std::vector<std::string>, std::string>>{
             {{}, "0"}, {{"a", "b"}, "2"}, {{"series.txt", "series.txt", "x"}, "3"}}) {
        run = runProgram(TUNNEL_BIN, args);
        EXPECT_EQ(run.status, 1) << given;
        EXPECT_EQ(run.out, "") << given;
        EXPECT_EQ(run.err, usage + "One argument is needed, the series list file: " + given +
                               " given; tunnel --help describes the series list\n");
    }
    EXPECT_TRUE(results().empty());
}

TEST_F(ExampleSeries, AReportThatCannotBeWrittenGivesStatus2) {
    fs::create_directory("results/tunnel_shop-4.csv");  // a folder in the report's place
    RunResult run = runProgram(TUNNEL_BIN, {"series.txt"});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("Cannot write ./results/tunnel_shop-4.csv\n"), std::string::npos) << run.err;
}

}  // namespace
}  // namespace graphmat::test

namespace graphmat::test {
namespace {

// tools/model-to-class-diagram.awk: the classes of a model graph file, in
// their order, with their members and their relations of kinds 1 to 3, as a
// class diagram file that the tracker reads.
TEST(ModelToClassDiagram, KeepsClassesMembersAndClassRelations) {
    ScratchDir dir;
    for (const std::string version : {"shop-v1", "shop-v2"}) {
        const std::string command = "awk -f " + exampleFile("../tools/model-to-class-diagram.awk") + " " +
                                    exampleFile(version + ".txt") + " > " + version + ".txt";
        ASSERT_EQ(std::system(command.c_str()), 0);
        Graph model(12, exampleFile(version + ".txt"));
        Graph diagram(4, version + ".txt");
        ASSERT_TRUE(diagram.reading.opened);
        std::vector<std::string> classes;
        std::map<int, int> classOf;  // model vertex -> class position
        std::size_t members = 0, relations = 0;
        for (const auto& v : model.V)
            if (v->type == 1) {
                classOf[v->number] = static_cast<int>(classes.size());
                classes.push_back(v->label);
            }
        for (const auto& e : model.E)
            for (char kind : e->label) {
                if (kind == '9' && classOf.count(e->from) && !classOf.count(e->to) && model.V[e->to]->type >= 2)
                    ++members;
                if (kind >= '1' && kind <= '3' && classOf.count(e->from) && classOf.count(e->to)) ++relations;
            }
        ASSERT_EQ(static_cast<std::size_t>(diagram.vertices), classes.size()) << version;
        std::size_t diagramMembers = 0, diagramRelations = 0;
        for (int c = 0; c < diagram.vertices; ++c) {
            EXPECT_EQ(diagram.V[c]->label, classes[c]) << version;
            diagramMembers += diagram.V[c]->attributes.size() + diagram.V[c]->methods.size();
        }
        for (const auto& e : diagram.E) diagramRelations += e->label.size();
        EXPECT_EQ(diagramMembers, members) << version;
        EXPECT_EQ(diagramRelations, relations) << version;
        EXPECT_GT(relations, 0u);
    }
    // The converted pair is matched with -h 4 and tracked.
    RunResult run = runProgram(GRAPHMAT_BIN, {"-h", "4", "-d", "1", "-g", "0.5", "-e", "1", "-y", "1", "-o",
                                              "shop-v1.txt", "-n", "shop-v2.txt"});
    ASSERT_EQ(run.status, 0) << run.err;
    writeFile("series.txt", std::string("g,shop-v2.txt\ng,shop-v1.txt\nm,results/shop-v1__shop-v2") + PARAMETERS + "\n");
    run = runProgram(TUNNEL_BIN, {"series.txt"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_TRUE(fileExists("results/ctunnel_shop-v2.csv"));
}

// The converted shop models tracked over one step matched in each reader
// mode of class diagram files, then over the step matched from the model
// graph files themselves in reader mode 12 (the default, -h 4 forgotten),
// under the same names: its rows number packages, classes and members, and
// those whose numbers fall inside the versions pair other vertices than
// their classes. That step is refused before any report is written; the
// reports of the run before stay as they were.
TEST(StepsOfAnotherReading, AreRefusedWhereClassDiagramModesAreTracked) {
    ScratchDir dir;
    fs::create_directory("models");
    for (const std::string version : {"shop-v1", "shop-v2"}) {
        fs::copy_file(exampleFile(version + ".txt"), "models/" + version + ".txt");
        const std::string command = "awk -f " + exampleFile("../tools/model-to-class-diagram.awk") + " models/" +
                                    version + ".txt > " + version + ".txt";
        ASSERT_EQ(std::system(command.c_str()), 0);
    }
    const std::string match = std::string("results/shop-v1__shop-v2") + PARAMETERS;
    writeFile("series.txt", "g,shop-v2.txt\ng,shop-v1.txt\nm," + match + "\n");
    const std::vector<std::string> weights = {"-d", "1", "-g", "0.5", "-e", "1", "-y", "1"};
    auto matchStep = [&](const std::vector<std::string>& how) {
        std::vector<std::string> args = weights;
        args.insert(args.end(), how.begin(), how.end());
        const RunResult run = runProgram(GRAPHMAT_BIN, args);
        ASSERT_EQ(run.status, 0) << run.err;
    };

    // Modes 8 and 9 add package (and member) vertices after the classes:
    // their rows are skipped, as rows of merged blocks are.
    const std::vector<std::pair<std::string, std::string>> modes = {
        {"4", ""},
        {"5", ""},
        {"8", match + ": 5 match rows skipped (the first at line 20: class numbers outside the two versions (or "
                      "merged blocks))\n"},
        {"9", match + ": 52 match rows skipped (the first at line 20: class numbers outside the two versions (or "
                      "merged blocks))\n"},
    };
    std::string threads;  // of the first mode: every mode pairs the classes alike here
    for (const auto& [mode, skipped] : modes) {
        SCOPED_TRACE("-h " + mode);
        matchStep({"-h", mode, "-o", "shop-v1.txt", "-n", "shop-v2.txt"});
        const RunResult run = runProgram(TUNNEL_BIN, {"series.txt"});
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.err, skipped);
        if (threads.empty()) threads = readFile("results/ctunnel_shop-v2.csv");
        EXPECT_EQ(readFile("results/ctunnel_shop-v2.csv"), threads);
    }
    EXPECT_EQ(lines(threads).at(12), "12,shop.util.EmailSender,1,2,shop-v2__shop.util.EmailSender,"
                                     "shop-v1__shop.util.Mailer");

    std::map<std::string, std::string> earlier;
    for (const char* report : {"_tunnel_", "tunnel_", "raw_tunnel_", "ctunnel_", "rtunnel_"})
        earlier[report] = readFile(std::string("results/") + report + "shop-v2.csv");
    matchStep({"-o", "models/shop-v1.txt", "-n", "models/shop-v2.txt"});
    const RunResult run = runProgram(TUNNEL_BIN, {"series.txt"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "series.txt line 3: the match result file " + match + " does not pair the classes of "
                       "\"shop-v1\" and \"shop-v2\": its line 8 pairs \".\" with \".\", but class 0 of \"shop-v1\" is "
                       "\"shop.model.Product\" and class 0 of \"shop-v2\" is \"shop.model.Product\"; it was made from "
                       "another reading of the versions (a reader mode other than 4, 5, 8 and 9) or from other files: "
                       "match the step's class diagram files with graphmat -h 4 -o shop-v1.txt -n shop-v2.txt (or -h "
                       "5, 8 or 9) and list that run's match result file\n");
    for (const auto& [report, text] : earlier)
        EXPECT_EQ(readFile("results/" + report + "shop-v2.csv"), text) << report;
}

}  // namespace
}  // namespace graphmat::test

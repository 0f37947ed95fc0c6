// Start-solution mode 0: the similarity experiment of the real executable
// appends one line to "sim_results.csv" and ends the run with status 1.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "graph/stdafx.h"
#include "support/TestSupport.h"

namespace graphmat {
namespace {

using test::RunResult;
using test::ScratchDir;

RunResult experiment(const std::string& g1, const std::string& g2, const std::string& discrim) {
    return test::runProgram(GRAPHMAT_BIN, {"-d", "1", "-g", "0.5", "-e", "1", "-y", "1", "-i", "0", "-r", discrim,
                                           "-o", g1, "-n", g2});
}

std::string repeat(const std::string& piece, int times) {
    std::string text;
    for (int k = 0; k < times; ++k) text += piece;
    return text;
}

TEST(SimilarityExperiment, GraphsWithoutArcsAppendALineOfZeros) {
    ScratchDir dir;
    // The graph-1 name carries the fields of a generated benchmark name.
    const std::string name = "exp_1_2_3_4_5_6_7_8_9_10_xyz_q";
    test::writeFile(name + ".txt", "3,0\np,0,app\nc,1,app.A\nc,2,app.B\n");
    test::writeFile("other.txt", "2,0\np,0,app\nc,1,app.C\n");
    std::filesystem::create_directories("datasets/random");
    test::writeFile("datasets/random/exp_1_2_3_4_5_6_7_8_9_10_xyz_.csv", "");  // a known matching without pairs

    const std::string zeros = repeat("0\t", 24);
    const std::string line = name + ",1,2,3,4,5,6,7,8,9,10,x,3,2,0,0" + repeat(",0", 48) + "\n";
    std::string expectedFile;
    for (const std::string discrim : {"80", "3"}) {
        RunResult r = experiment(name + ".txt", "other.txt", discrim);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err, "");
        // No candidate (no vertex has an arc), so no hit: both rows are 0.
        const std::string tail = "10000_101\n0\n\n ***************** \n\n\n" + zeros +
                                 "\n ***************** \n\n\n" + zeros;
        ASSERT_GE(r.out.size(), tail.size());
        EXPECT_EQ(r.out.substr(r.out.size() - tail.size()), tail) << r.out;
        EXPECT_EQ(r.out.find("\n\n\nMatching Cost : "), std::string::npos) << "the run ends in the experiment";
        expectedFile += discrim + "," + line;
        EXPECT_EQ(test::readFile("sim_results.csv"), expectedFile) << "one line appended per run";
    }
}

TEST(SimilarityExperiment, ModelsWithAKnownMatchingWriteTheirCountsAndBothRows) {
    ScratchDir dir;
    test::writeFile("tiny-1.txt", test::readFile(test::fixture("e2e/tiny-1.txt")));
    test::writeFile("tiny-2.txt", test::readFile(test::fixture("e2e/tiny-2.txt")));
    std::filesystem::create_directories("datasets/random");
    test::writeFile("datasets/random/tiny-.csv", "a\nb\nc\nd\ne\nf\n0,0\n1,1\n2,2\n3,3\n4,4\n");

    RunResult r = experiment("tiny-1.txt", "tiny-2.txt", "80");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "");
    EXPECT_NE(r.out.find("\n./datasets/random/tiny-.csv\n MU ACQUIRED \n"), std::string::npos);
    EXPECT_NE(r.out.find("10000_101\n"), std::string::npos);
    EXPECT_EQ(r.out.find("\n\n\nMatching Cost : "), std::string::npos);

    // The name has no "_": its ten fields and the letter of the eleventh are
    // empty; then the orders and arc counts, then 2 x 24 results.
    const std::string line = test::readFile("sim_results.csv");
    const std::string head = "80,tiny-1,,,,,,,,,,,,5,5,5,5,";
    ASSERT_EQ(line.rfind(head, 0), 0u) << line;
    ASSERT_EQ(line.back(), '\n');
    auto fields = splitString(line.substr(0, line.size() - 1), ",");
    ASSERT_TRUE(fields);
    EXPECT_EQ(fields->size(), 2u + 10u + 1u + 4u + 48u);
    for (std::size_t k = 17; k < fields->size(); ++k) {
        double value = -1;
        EXPECT_TRUE(from_string((*fields)[k], value)) << k;
        EXPECT_GE(value, 0) << k;
    }
}

}  // namespace
}  // namespace graphmat

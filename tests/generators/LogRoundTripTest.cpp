// The edit-path logs of both generators read back by the log scoring: the
// correspondence it takes from a log is the one the generator made.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "generators/GraphMutation.h"
#include "generators/GraphNoise.h"
#include "graph/Graph.h"
#include "graph/Random.h"
#include "matching/Cost.h"
#include "matching/Match.h"
#include "support/TestSupport.h"

namespace graphmat {
namespace {

using test::CaptureStdout;
using test::ScratchDir;

// The partners that getLog reads from `log` for the two graph files.
std::vector<int> loggedMatching(const std::string& oldFile, const std::string& newFile, const std::string& log) {
    CaptureStdout quiet;
    test::CaptureStderr errors;
    Cost costs;
    costs.initMode1(1, 0.5, 1, 1, 0);
    Graph g1(0, oldFile), g2(0, newFile);
    Match m(&g1, &g2, &costs, 1, 3);
    m.getLog(log);
    EXPECT_EQ(errors.text(), "");
    return m.log_matching;
}

TEST(LogRoundTrip, ANoisyPairGivesItsRenumbering) {
    for (int epsi : {0, 4, -4}) {
        SCOPED_TRACE(epsi);
        ScratchDir dir;
        std::filesystem::create_directory("benchmark");
        srand15(5);
        std::unique_ptr<GraphNoise> noise;
        {
            CaptureStdout quiet;
            noise = std::make_unique<GraphNoise>(3, 7, epsi);
        }
        EXPECT_EQ(loggedMatching("./benchmark/original_3.txt", "./benchmark/noisy_3.txt", "./benchmark/log_3.txt"),
                  noise->new_numbers);
    }
}

TEST(LogRoundTrip, AMutatedCopyGivesItsCorrespondence) {
    for (int nodeMode : {1, 0}) {
        SCOPED_TRACE(nodeMode);
        ScratchDir dir;
        std::filesystem::create_directory("logs");
        test::writeFile("old.txt", "5,6\n0,a\n1,b\n2,c\n3,d\n4,e\n0,1,1\n1,2,2\n2,3,1\n3,4,3\n4,0,2\n0,2,1\n");
        CaptureStdout quiet;
        Graph old(0, "old.txt");
        srand15(12);
        GraphMutation mutation(&old, 0.4, 0.4, 0.3, nodeMode);
        mutation._new->write(0, "new.txt");
        ASSERT_TRUE(mutation.write(0, "log.txt"));
        quiet.text();
        EXPECT_EQ(loggedMatching("old.txt", "new.txt", "log.txt"), mutation.new_numbers);
    }
}

}  // namespace
}  // namespace graphmat

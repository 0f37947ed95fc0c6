// The greedy matcher on two versions of a real model (about 800 and 2400
// vertices): the start-solution settings finish in seconds and leave a
// one-to-one matching.
#include <gtest/gtest.h>

#include "MCESTestSupport.h"
#include "graph/Clock.h"
#include "graph/Random.h"

namespace graphmat {
namespace {

using test::buildMCES;
using test::CaptureStdout;
using test::partnersInverse;
using test::ScratchDir;

TEST(RealModels, GreedyRunTakesSeconds) {
    ScratchDir dir;
    std::unique_ptr<Graph> a, b;
    {
        CaptureStdout quiet;
        a = std::make_unique<Graph>(12, test::dataFile("junit-3.8.2.txt"));
        b = std::make_unique<Graph>(12, test::dataFile("junit-4.13.2.txt"));
    }
    srand15(1);
    const double start = clockMs();
    auto built = buildMCES(7, 80, a.get(), b.get(), 0.0f, 1, 0.0, true);
    const double seconds = (clockMs() - start) / 1000.0;
    const MCES& m = *built.m;
    EXPECT_LT(seconds, 60.0);
    EXPECT_TRUE(partnersInverse(m));
    EXPECT_GT(m.nbMatched, 100);
    EXPECT_LE(m.nbMatched, std::min(m.N1(), m.N2()));
    EXPECT_GT(m.won, 0);
    // A vertex of the same qualified name is a common choice: most pairs
    // made have equal labels.
    int same = 0;
    for (int i = 0; i < m.N1(); ++i)
        if (m.M12[i] >= 0 && a->V[i]->label == b->V[m.M12[i]]->label) ++same;
    EXPECT_GT(same, m.nbMatched / 2);
}

}  // namespace
}  // namespace graphmat

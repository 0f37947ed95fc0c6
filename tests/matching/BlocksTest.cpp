// Blocks: growing and shrinking member sets, the block cache by member
// list, and the block vertex itself (type, members, terms, fused arcs, label).
#include <gtest/gtest.h>

#include "MatchFixture.h"

namespace graphmat {
namespace {

using test::CaptureStdout;
using test::fixture;
using test::MatchRig;

std::vector<std::pair<int, int>> arcEnds(const Vertex* v) {
    std::vector<std::pair<int, int>> ends;
    for (const Edge* e : v->edges) ends.push_back({e->from, e->to});
    return ends;
}

// Graph 1 and 2 of order 4: Alpha(0) -1-> Beta(1) -3-> Gamma(2) -1-> Delta(3),
// and Beta -2-> Delta in graph 1.
class Blocks : public ::testing::Test {
protected:
    MatchRig rig{fixture("matching/moves-a.txt"), fixture("matching/moves-b.txt"), test::rootless()};
    Match& m = rig.m();

    Vertex* update(Vertex* b, int x, bool left, bool add) {
        CaptureStdout quiet;
        return m.updateBlock(b, x, left, add);
    }
    Vertex* v1(int n) { return m.getVertex1(n); }
};

TEST_F(Blocks, MemberSetsAreGrownAndShrunkThroughTheCache) {
    struct Step {
        const char* what;
        int from;  // vertex or block number of graph 1; -1 for none
        int x;
        bool add;
        int result;  // number of the resulting vertex; -1 for null
        std::size_t blocks;  // blocks stored afterwards
    };
    const std::vector<Step> steps{
        {"no block: the vertex itself", -1, 2, true, 2, 0},
        {"no block and no vertex", -1, -1, true, -1, 0},
        {"no vertex to add: the block as it is", 1, -1, true, 1, 0},
        {"a new member set makes a block", 2, 3, true, 4, 1},
        {"the same set again finds it", 2, 3, true, 4, 1},
        {"growing a block makes the next number", 4, 1, true, 5, 2},
        {"shrinking to one member gives the plain vertex", 4, 3, false, 2, 2},
        {"taking the only member out leaves nothing", 2, 2, false, -1, 2},
        {"taking out a non-member keeps the block", 4, 0, false, 4, 2},
        {"adding a member keeps the block", 4, 2, true, 4, 2},
        {"shrinking to a known set finds its block", 5, 1, false, 4, 2},
        {"a set in another order is the same set", 3, 2, true, 4, 2},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        Vertex* result = update(s.from == -1 ? nullptr : v1(s.from), s.x, true, s.add);
        EXPECT_EQ(result ? result->number : -1, s.result);
        EXPECT_EQ(m.V1.size(), s.blocks);
    }
    EXPECT_EQ(m.nBlocks1.at(std::vector<int>{2, 3}), 4);
    EXPECT_EQ(m.nBlocks1.at(std::vector<int>{1, 2, 3}), 5);
    EXPECT_TRUE(m.V2.empty() && m.nBlocks2.empty());
    // The other side numbers its blocks from its own order.
    Vertex* right = update(m.getVertex2(2), 3, false, true);
    EXPECT_EQ(right->number, 4);
    EXPECT_EQ(m.getVertex2(4), right);
    EXPECT_EQ(m.V1.size(), 2u);
    // Building blocks touches no membership and no partner.
    EXPECT_EQ(m.blocks1, (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(m.M12, std::vector<int>(4, -1));
}

TEST_F(Blocks, ABlockHasItsMembersTermsArcsAndLabel) {
    Vertex* block = update(v1(2), 3, true, true);
    ASSERT_EQ(block->number, 4);
    EXPECT_EQ(*block->nodes, (NodeSet{2, 3}));
    EXPECT_EQ(block->type, 1);
    // Its term sets are the union of its members' sets, built when asked.
    const Match::TermSets sets = m.termSetsOf(block, true);
    ASSERT_NE(sets.terms, nullptr);
    std::vector<std::string> terms;
    for (const std::string* t : *sets.terms) terms.push_back(*t);
    EXPECT_EQ(terms, (std::vector<std::string>{"delta", "gamma"}));
    EXPECT_EQ(sets.paths, nullptr);
    EXPECT_EQ(sets.specs, nullptr);
    EXPECT_EQ(block->label, "_2_3__-delta-gamma--");
    EXPECT_TRUE(block->in.empty() && block->out.empty());
    // Beta -3-> Gamma and Beta -2-> Delta fuse into one arc; Gamma -1-> Delta
    // becomes a self-loop.
    ASSERT_EQ(arcEnds(block), (std::vector<std::pair<int, int>>{{1, 4}, {4, 4}}));
    const Edge* fused = block->edges[0];
    EXPECT_EQ(fused->label, "32");
    EXPECT_EQ(fused->labels[2], 1);
    EXPECT_EQ(fused->labels[3], 1);
    EXPECT_EQ(block->edges[1]->label, "1");
    // The arcs are the block's edges in the store.
    EXPECT_EQ(m.getEdge1(1, 4), fused);
    EXPECT_EQ(m.getEdge1(4, 4), block->edges[1]);
}

TEST_F(Blocks, MembersAreRecognisedWhateverTheirPlaceInTheList) {
    std::vector<Vertex*> members{v1(3), v1(2)};
    std::unique_ptr<Vertex> block = m.mergeNodes(&members, 99);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(block->number, 99);
    // Delta's edge from Gamma is already internal when Delta comes first;
    // arcs are fused in list order.
    ASSERT_EQ(arcEnds(block.get()), (std::vector<std::pair<int, int>>{{1, 99}, {99, 99}}));
    EXPECT_EQ(block->edges[0]->label, "23");
    EXPECT_EQ(block->label, "_2_3__-delta-gamma--");
    EXPECT_TRUE(m.V1.empty()) << "mergeNodes stored the block";

    EXPECT_EQ(m.mergeNodes(nullptr, 7), nullptr);
    std::vector<Vertex*> one{v1(0)};
    EXPECT_EQ(m.mergeNodes(&one, 7), nullptr);
}

TEST_F(Blocks, ArcsToALiveBlockAreAlsoStoredLifted) {
    Vertex* gammaDelta = update(v1(2), 3, true, true);
    m.blocks1[2] = m.blocks1[3] = gammaDelta->number;
    Vertex* alphaBeta = update(v1(0), 1, true, true);
    ASSERT_EQ(alphaBeta->number, 5);
    EXPECT_EQ(arcEnds(alphaBeta), (std::vector<std::pair<int, int>>{{5, 2}, {5, 3}, {5, 5}}));
    EXPECT_EQ(m.getEdge1(5, 2)->label, "3");
    EXPECT_EQ(m.getEdge1(5, 3)->label, "2");
    Edge* lifted = m.getEdge1(5, 4);
    ASSERT_NE(lifted, nullptr);
    EXPECT_EQ(lifted->label, "32");
    EXPECT_EQ(lifted->labels[3], 1);
    EXPECT_EQ(lifted->labels[2], 1);
}

TEST(BlockVertices, MixedTypesAreReportedOncePerDifferingMember) {
    MatchRig rig(fixture("matching/mini-v1.txt"), fixture("matching/mini-v2.txt"));
    Match& m = rig.m();
    // Order (class), getTotal (method), total (attribute).
    std::vector<Vertex*> members{m.getVertex1(2), m.getVertex1(5), m.getVertex1(4)};
    CaptureStdout capture;
    std::unique_ptr<Vertex> block = m.mergeNodes(&members, 8);
    EXPECT_EQ(capture.text(), "\n MERGING DIFFERENT TYPES OF NODES\n MERGING DIFFERENT TYPES OF NODES");
    EXPECT_EQ(block->type, 1);

    // The settled members have no term sets: the label lists no term.
    std::vector<Vertex*> termless{m.getVertex1(5), m.getVertex1(4)};
    CaptureStdout second;
    std::unique_ptr<Vertex> bare = m.mergeNodes(&termless, 9);
    EXPECT_EQ(second.text(), "\n MERGING DIFFERENT TYPES OF NODES");
    EXPECT_EQ(bare->nTerms, nullptr);
    EXPECT_EQ(bare->label, "_4_5__--");
    EXPECT_EQ(bare->type, 2);
}

TEST(BlockVertices, SelfLoopsKeepEveryRelationCount) {
    test::ScratchDir dir;
    test::writeFile("calls.txt",
                    "5,2\nm,0,public@void@a@()\nm,1,public@void@b@()\nm,2,public@void@c@()\n"
                    "m,3,public@void@d@()\nm,4,public@void@e@()\nr,4,4,4\nr,0,1,4\n");
    MatchRig rig(dir.path() + "/calls.txt", dir.path() + "/calls.txt", test::rootless());
    Match& m = rig.m();
    Vertex* block = m.getVertex1(0);
    {
        CaptureStdout quiet;
        for (int member = 1; member <= 4; ++member) block = m.updateBlock(block, member, true, true);
    }
    ASSERT_EQ(*block->nodes, (NodeSet{0, 1, 2, 3, 4}));
    ASSERT_EQ(arcEnds(block), (std::vector<std::pair<int, int>>{{block->number, block->number}}));
    // The fifth member's own call is counted with the first member's.
    EXPECT_EQ(block->edges[0]->label, "44");
    EXPECT_EQ(block->edges[0]->labels[4], 2);
}

}  // namespace
}  // namespace graphmat

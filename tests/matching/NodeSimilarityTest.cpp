// Node similarity: common-substring similarity of term sets, its Dice
// alternative, the floors of the path and signature parts, the block
// adjustment, and the stored values that are returned without computing.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>

#include "MatchFixture.h"

namespace graphmat {
namespace {

using Terms = std::set<std::string>;

TEST(LongestCommonSubstring, CountsTheLongestContiguousRun) {
    struct Case {
        std::string a, b;
        int length;
    };
    const std::vector<Case> cases{{"abcde", "xbcdy", 3}, {"", "abc", 0},      {"abc", "", 0},
                                  {"aaa", "aa", 2},      {"abc", "abc", 3},   {"abcxyz", "xyzabc", 3},
                                  {"abc", "def", 0},     {"Order", "order", 4}};
    for (const Case& c : cases) EXPECT_EQ(LCS(c.a, c.b), c.length) << c.a << " / " << c.b;
}

TEST(TermSetSimilarity, PairsTermsByTheirCommonSubstrings) {
    struct Case {
        Terms a, b;
        double value;
    };
    const std::vector<Case> cases{
        // One single-term side: the best common length, or the first whole
        // containment in sorted order.
        {{"get"}, {"get", "name"}, 2.0 * 3 / 10},
        {{"customer"}, {"custom"}, 12.0 / 14},
        {{"abc"}, {"ab", "abcd"}, 2.0 * 2 / 9},
        {{"xyzw"}, {"axyz", "w"}, 2.0 * 1 / 9},
        {{"bar"}, {"foo"}, 0.0},
        // Both sides with two or more terms: the best one-to-one pairing.
        {{"get", "user", "name"}, {"get", "name"}, 2.0 * 7 / 18},
        {{"item", "order"}, {"item", "order"}, 1.0},
        {{"abcd", "xy"}, {"abcx", "xyz"}, 2.0 * 5 / 13},
        // Nothing to compare.
        {{}, {"x"}, 0.0},
        {{}, {}, 0.0},
    };
    for (const Case& c : cases) {
        double value = simSet(&c.a, &c.b);
        EXPECT_DOUBLE_EQ(value, c.value);
        EXPECT_FALSE(std::isnan(value));
    }
}

struct SetsOf {
    std::optional<Terms> terms, paths, specs;
    std::set<int> members;
    SetsOf(std::optional<Terms> t, std::optional<Terms> p = std::nullopt, std::optional<Terms> s = std::nullopt,
           std::set<int> m = {})
        : terms(std::move(t)), paths(std::move(p)), specs(std::move(s)), members(std::move(m)) {}
};

std::unique_ptr<Vertex> vertexWith(int number, const SetsOf& sets) {
    auto v = std::make_unique<Vertex>(number);
    if (sets.terms) v->nTerms = std::make_unique<Terms>(*sets.terms);
    if (sets.paths) v->nPaths = std::make_unique<Terms>(*sets.paths);
    if (sets.specs) v->nSpecs = std::make_unique<Terms>(*sets.specs);
    if (!sets.members.empty()) *v->nodes = NodeSet(sets.members.begin(), sets.members.end());
    return v;
}

class NodeSimilarity : public ::testing::Test {
protected:
    test::MatchRig rig{test::fixture("matching/moves-a.txt"), test::fixture("matching/moves-b.txt"),
                       test::rootless()};
    Match& m = rig.m();
};

TEST(BlockTermUnion, IsPresentWhereAnyMemberHasTheSetAndListsEachTermOnce) {
    const Terms none, ab{"a", "b"}, bc{"b", "c"}, upper{"B", "a"};
    struct Case {
        const char* name;
        std::vector<const Terms*> sets;
        bool present;
        std::vector<std::string> terms;
    };
    const std::vector<Case> cases{
        {"every set missing", {nullptr, nullptr}, false, {}},
        {"one empty set is a set", {nullptr, &none}, true, {}},
        {"overlapping sets", {&ab, &bc}, true, {"a", "b", "c"}},
        {"order by text, upper case first", {&bc, &upper}, true, {"B", "a", "b", "c"}},
    };
    Match::TermList list;
    for (const Case& c : cases) {
        EXPECT_EQ(Match::unionOfTerms(c.sets, list), c.present) << c.name;
        std::vector<std::string> terms;
        for (const std::string* t : list) terms.push_back(*t);
        EXPECT_EQ(terms, c.terms) << c.name;
    }
}

TEST_F(NodeSimilarity, FollowsTheTableOfWorkedValues) {
    struct Case {
        const char* what;
        SetsOf left, right;
        double value;
    };
    const Terms none{};
    const std::vector<Case> cases{
        {"simSet below Dice", {Terms{"get"}}, {Terms{"get", "name"}}, 2.0 / 3},
        {"Dice above the pairing", {Terms{"get", "user", "name"}}, {Terms{"get", "name"}}, 0.8},
        {"common substring", {Terms{"customer"}}, {Terms{"custom"}}, 12.0 / 14},
        {"identical names", {Terms{"order"}}, {Terms{"order"}}, 1.0},
        {"same terms in another order", {Terms{"item", "order"}}, {Terms{"item", "order"}}, 1.0},
        {"owners without a common character",
         {Terms{"count"}, Terms{"alpha"}},
         {Terms{"count"}, Terms{"xyz"}},
         0.5},
        {"owners and signatures both differ",
         {Terms{"count"}, Terms{"alpha"}, Terms{"0-int"}},
         {Terms{"count"}, Terms{"xyz"}, Terms{"0-long"}},
         0.25},
        {"signatures half shared",
         {Terms{"run"}, Terms{"job"}, Terms{"0-public", "1-void"}},
         {Terms{"run"}, Terms{"job"}, Terms{"0-public", "1-int"}},
         0.5},
        {"a signature on one side only", {Terms{"send"}, std::nullopt, Terms{"0-x"}}, {Terms{"send"}}, 0.5},
        {"a path on one side only", {Terms{"send"}, Terms{"mailer"}}, {Terms{"send"}}, 0.5},
        {"two empty signatures", {Terms{"send"}, std::nullopt, none}, {Terms{"send"}, std::nullopt, none}, 0.5},
        {"no name terms", {std::nullopt}, {Terms{"thing"}}, 0.0},
        {"no name terms on either side", {std::nullopt}, {std::nullopt}, 0.0},
        {"a block of two against a plain vertex",
         {Terms{"get", "user", "name"}, std::nullopt, std::nullopt, {1000, 1001}},
         {Terms{"get", "name"}},
         (0.8 * 0.8 + 0.8) / 2},
        {"two blocks of two", {Terms{"order"}, std::nullopt, std::nullopt, {5, 6}},
         {Terms{"order"}, std::nullopt, std::nullopt, {7, 8}}, 1.0},
    };
    int number = 1000;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto v1 = vertexWith(number, c.left);
        auto v2 = vertexWith(number + 1, c.right);
        number += 2;
        const long computed = m.computeSim;
        float value = m.intSim(3, v1.get(), v2.get());
        EXPECT_FLOAT_EQ(value, static_cast<float>(c.value));
        EXPECT_EQ(m.computeSim, computed + 1);
        EXPECT_EQ(m._N.find(v1->number, v2->number), nullptr) << "intSim stored its value";
    }
}

TEST_F(NodeSimilarity, AStoredValueIsFinal) {
    auto v1 = vertexWith(3000, {Terms{"order"}});
    auto v2 = vertexWith(3001, {Terms{"order"}});
    m._N(3000, 3001) = 0.25f;
    const long computed = m.computeSim;
    EXPECT_EQ(m.intSim(3, v1.get(), v2.get()), 0.25f);
    EXPECT_EQ(m.computeSim, computed);
    // The mode does not enter the value.
    auto w1 = vertexWith(3002, {Terms{"get"}});
    auto w2 = vertexWith(3003, {Terms{"get", "name"}});
    EXPECT_EQ(m.intSim(0, w1.get(), w2.get()), m.intSim(3, w1.get(), w2.get()));
}

TEST_F(NodeSimilarity, PlainVerticesOfTheGraphsUseTheirOwnTerms) {
    // Beta against Beta, Alpha against Gamma.
    EXPECT_FLOAT_EQ(m.intSim(3, rig.g1->V[1].get(), rig.g2->V[1].get()), 1.0f);
    EXPECT_FLOAT_EQ(m.intSim(3, rig.g1->V[0].get(), rig.g2->V[2].get()), static_cast<float>(2.0 * 1 / 10));
}

}  // namespace
}  // namespace graphmat

// Similarity preparation: pre-matching of identical containment subtrees,
// relevance, term dictionaries and profiles, the allowed pairs and the
// semantic pairs file.
#include <gtest/gtest.h>

#include <numeric>

#include "MatchFixture.h"

namespace graphmat {
namespace {

using test::fixture;
using test::MatchRig;
using test::readFile;
using test::writeFile;

std::vector<int> identity(int n) {
    std::vector<int> v(n);
    std::iota(v.begin(), v.end(), 0);
    return v;
}

std::vector<int> flagged(const std::vector<bool>& flags) {
    std::vector<int> numbers;
    for (std::size_t i = 0; i < flags.size(); ++i)
        if (flags[i]) numbers.push_back(static_cast<int>(i));
    return numbers;
}

// Pairs holding a stored similarity, with its value.
std::map<std::pair<int, int>, float> storedSimilarities(Match& m, int order1, int order2) {
    std::map<std::pair<int, int>, float> stored;
    for (int i = 0; i < order1; ++i)
        for (int j = 0; j < order2; ++j)
            if (const float* s = m._N.find(i, j)) stored[{i, j}] = *s;
    return stored;
}

TEST(PreMatching, IdenticalModelsAreMatchedCompletely) {
    for (const std::string& path : {fixture("matching/mini-v1.txt"), test::exampleFile("shop-v1.txt")}) {
        SCOPED_TRACE(path);
        MatchRig rig(path, path);
        Match& m = rig.m();
        const int order = static_cast<int>(rig.g1->V.size());
        EXPECT_EQ(m.M12, identity(order));
        EXPECT_EQ(m.M21, identity(order));
        EXPECT_TRUE(flagged(m.relevant1).empty());
        EXPECT_TRUE(flagged(m.relevant2).empty());
        EXPECT_NE(rig.built.find("\n Nb Relevants 1: \t0\n Nb Relevants 2: \t0\n getTerms\n Terms: 2\t2"),
                  std::string::npos);
        EXPECT_NE(rig.built.find("\n NbValidPairs = 0\n"), std::string::npos);
        EXPECT_EQ(m.move.size(), 0);
        EXPECT_TRUE(m.terms1.empty() && m.terms2.empty());
        const std::string name = rig.g1->name;
        ASSERT_TRUE(test::fileExists("results/sem_" + name + "__" + name + "_PAIRS.csv"));
        EXPECT_EQ(readFile("results/sem_" + name + "__" + name + "_PAIRS.csv"), "");
        auto stored = storedSimilarities(m, order, order);
        EXPECT_EQ(stored.size(), static_cast<std::size_t>(order));
        for (int i = 0; i < order; ++i) EXPECT_EQ(stored[std::make_pair(i, i)], 1.0f);
    }
}

TEST(PreMatching, DivergingModelsKeepTheirDifferencesForTheSearch) {
    MatchRig rig(fixture("matching/mini-v1.txt"), fixture("matching/mini-v2.txt"));
    Match& m = rig.m();
    // Order and Invoice agree in label and signature, with Order's members;
    // OrderItem/ItemOrder and Customer/Client do not.
    EXPECT_EQ(m.M12, (std::vector<int>{0, 1, 2, -1, 4, 5, -1, 7}));
    EXPECT_EQ(m.M21, (std::vector<int>{0, 1, 2, -1, 4, 5, -1, 7}));
    // Free vertices, and pre-matched ones with a free neighbour.
    EXPECT_EQ(flagged(m.relevant1), (std::vector<int>{1, 2, 3, 6}));
    EXPECT_EQ(flagged(m.relevant2), (std::vector<int>{1, 2, 3, 6}));
    EXPECT_EQ(test::allowedPairs(m), (std::vector<std::pair<int, int>>{
                                         {1, 1}, {2, 2}, {2, 3}, {3, 2}, {3, 3}, {3, 6}, {6, 3}, {6, 6}}));
    EXPECT_EQ(readFile("results/sem_mini-v1__mini-v2_PAIRS.csv"),
              "\n1,1,shop,shop,5_104000000,5_104000000,4_103000000"
              "\n2,2,shop.Order,shop.Order,5_103001000,5_103001000,4_102001000"
              "\n2,3,shop.Order,shop.ItemOrder,5_103001000,4_200001100,2_100001000"
              "\n3,2,shop.OrderItem,shop.Order,4_200001100,5_103001000,2_100001000"
              "\n3,3,shop.OrderItem,shop.ItemOrder,4_200001100,4_200001100,4_200001100"
              "\n3,6,shop.OrderItem,shop.Client,4_200001100,3_100001100,2_000001100"
              "\n6,3,shop.Customer,shop.ItemOrder,3_100001100,4_200001100,2_000001100"
              "\n6,6,shop.Customer,shop.Client,3_100001100,3_100001100,2_000001100");
    // The pre-matched pairs are settled: similarity 1 and nothing else stored.
    auto stored = storedSimilarities(m, 8, 8);
    std::map<std::pair<int, int>, float> expected{{{0, 0}, 1.0f}, {{1, 1}, 1.0f}, {{2, 2}, 1.0f},
                                                  {{4, 4}, 1.0f}, {{5, 5}, 1.0f}, {{7, 7}, 1.0f}};
    EXPECT_EQ(stored, expected);
    // Relevant vertices keep their term sets for node similarity.
    EXPECT_EQ(*rig.g1->V[3]->nTerms, (std::set<std::string>{"item", "order"}));
    EXPECT_EQ(*rig.g2->V[6]->nTerms, (std::set<std::string>{"client"}));
    EXPECT_EQ(rig.g1->V[4]->nTerms, nullptr) << "a settled vertex got term sets";
}

TEST(PreMatching, RootsArePairedWhateverTheirLabels) {
    test::ScratchDir outer;
    std::string other = readFile(fixture("matching/mini-v2.txt"));
    other.replace(other.find("p,0,."), 5, "p,0,top");
    writeFile("renamed-root.txt", other);
    MatchRig rig(fixture("matching/mini-v1.txt"), outer.path() + "/renamed-root.txt");
    EXPECT_EQ(rig.m().M12, (std::vector<int>{0, 1, 2, -1, 4, 5, -1, 7}));
    ASSERT_NE(rig.m()._N.find(0, 0), nullptr);
    EXPECT_EQ(*rig.m()._N.find(0, 0), 1.0f);
}

TEST(PreMatching, AVertexReachedTwiceKeepsItsFirstPartner) {
    MatchRig rig(fixture("matching/two-containers-a.txt"), fixture("matching/two-containers-b.txt"));
    EXPECT_EQ(rig.m().M12, (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(rig.m().M21, (std::vector<int>{0, 1, 2, 3, -1}));
    EXPECT_EQ(rig.m()._N.find(3, 4), nullptr);
}

TEST(PreMatching, AContainmentCycleEndsTheWalk) {
    MatchRig rig(fixture("matching/cycle.txt"), fixture("matching/cycle.txt"));
    EXPECT_EQ(rig.m().M12, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(rig.m().M21, (std::vector<int>{0, 1, 2}));
}

TEST(PreMatching, AnEmptyGraphPreMatchesNothing) {
    MatchRig left(fixture("matching/empty.txt"), fixture("matching/mini-v2.txt"));
    EXPECT_EQ(left.m().M21, std::vector<int>(8, -1));
    EXPECT_NE(left.built.find("\n getRelevant\n Nb Relevants 1: \t0\n Nb Relevants 2: \t8"), std::string::npos);
    MatchRig right(fixture("matching/mini-v1.txt"), fixture("matching/empty.txt"));
    EXPECT_EQ(right.m().M12, std::vector<int>(8, -1));
    EXPECT_NE(right.built.find("\n getRelevant\t0\n Nb Relevants 1: \t8\n Nb Relevants 2: \t0"), std::string::npos);
}

TEST(PreMatching, GraphsWithoutARootLeaveEveryVertexRelevant) {
    MatchRig rig(fixture("matching/moves-a.txt"), fixture("matching/moves-b.txt"), test::rootless());
    Match& m = rig.m();
    EXPECT_EQ(m.M12, std::vector<int>(4, -1));
    EXPECT_EQ(flagged(m.relevant1), identity(4));
    EXPECT_EQ(flagged(m.relevant2), identity(4));
    EXPECT_NE(rig.built.find("\n getRelevant\t0\n Nb Relevants 1: \t4\n Nb Relevants 2: \t4"), std::string::npos);
    // Rows at every thousandth vertex are traced while shared terms are summed.
    EXPECT_NE(rig.built.find("\nMatch Terms \t...Done\n,0\n Writing In File"), std::string::npos);
}

// The allowed pairs as the plain definition gives them: for every relevant
// pair of one type, the shared-term profile summed over every graph-2 vertex
// for every shared term, then the ratio against the smaller term weight.
std::vector<std::pair<int, int>> allowedByDefinition(Match& m) {
    m.getTerms(m.g1, m.g2, &m.relevant1, &m.relevant2);
    m.matrixEntityTerm(m.g1, m.g2, &m.relevant1, &m.relevant2);
    std::map<int, int> translation;
    for (const auto& [term, idCount] : m.terms1) {
        auto other = m.terms2.find(term);
        if (other != m.terms2.end() && idCount.second <= 299 && other->second.second <= 299)
            translation[idCount.first] = other->second.first;
    }
    const int order2 = static_cast<int>(m.g2->V.size());
    std::map<std::pair<int, int>, int> shared;
    for (const auto& [i, row] : m.nodeTerms1->mat) {
        if (!m.relevant1[i]) continue;
        for (const auto& [k1, entry1] : row) {
            if (k1 <= 1 || !translation.count(k1)) continue;
            for (int j = 0; j < order2; ++j) {
                const semarel* entry2 = m.nodeTerms2->find(j, translation[k1]);
                if (!m.relevant2[j] || m.g2->V[j]->type != m.g1->V[i]->type || entry2 == nullptr) continue;
                int& sum = shared[{static_cast<int>(i), j}];
                for (int slot = 0; slot < 9; ++slot) sum += std::min(entry1.count[slot], entry2->count[slot]);
            }
        }
    }
    std::vector<std::pair<int, int>> allowed;
    for (const auto& [pair, sum] : shared) {
        if (sum == 0) continue;
        int smaller = std::min(m.nodeTerms1->find(pair.first, 1)->sum, m.nodeTerms2->find(pair.second, 1)->sum);
        if (static_cast<double>(sum) / smaller >= 0.5) allowed.push_back(pair);
    }
    m.nodeTerms1.reset();
    m.nodeTerms2.reset();
    m.terms1.clear();
    m.terms2.clear();
    return allowed;
}

TEST(AllowedPairs, AreThoseOfThePlainDefinitionOnRealModels) {
    for (const auto& [a, b] : {std::make_pair("junit-extensions-3.8.2.txt", "junit-extensions-4.13.2.txt"),
                               std::make_pair("junit-framework-3.8.2.txt", "junit-framework-4.13.2.txt")}) {
        SCOPED_TRACE(a);
        MatchRig rig(test::dataFile(a), test::dataFile(b));
        std::vector<std::pair<int, int>> found = test::allowedPairs(rig.m());
        EXPECT_FALSE(found.empty());
        test::CaptureStdout quiet;
        EXPECT_EQ(found, allowedByDefinition(rig.m()));
    }
}

// Graph files written into the scratch directory of a test.
struct WrittenPair {
    test::ScratchDir dir;
    std::string a, b;
    WrittenPair(const std::string& textA, const std::string& textB) {
        a = dir.path() + "/left.txt";
        b = dir.path() + "/right.txt";
        writeFile(a, textA);
        writeFile(b, textB);
    }
};

TEST(TermProfiles, TermsCarriedByThreeHundredVerticesAreLeftOut) {
    for (int widgets : {299, 300}) {
        SCOPED_TRACE(widgets);
        std::string left = "0,0\n";
        for (int k = 0; k < widgets; ++k) left += "c," + std::to_string(k) + ",x.Widget\n";
        WrittenPair files(left, "1,0\nc,0,x.WidgetBox\n");
        MatchRig rig(files.a, files.b, test::rootless());
        Match& m = rig.m();
        if (widgets == 299) {
            // widget is half of WidgetBox's terms and all of Widget's.
            EXPECT_EQ(m.move.size(), 299);
            EXPECT_EQ(m.move.column(0).size(), 299u);
        } else {
            EXPECT_EQ(m.move.size(), 0);
            EXPECT_NE(rig.built.find("\n NbValidPairs = 0\n"), std::string::npos);
        }
    }
}

TEST(TermProfiles, OnlyVerticesOfOneTypeAreCompared) {
    WrittenPair files("1,0\nc,0,x.Order\n", "2,1\nc,0,x.Order\nm,1,public@void@order@()\nr,0,1,9\n");
    MatchRig rig(files.a, files.b, test::rootless());
    ASSERT_EQ(rig.g2->V[1]->label, "x.Order.order");
    EXPECT_EQ(test::allowedPairs(rig.m()), (std::vector<std::pair<int, int>>{{0, 0}}));
}

TEST(TermProfiles, AVertexWhoseNameGivesNoWordHasNoTerms) {
    WrittenPair files("2,0\nc,0,x.\nc,1,x.Thing\n", "1,0\nc,0,x.Thing\n");
    MatchRig rig(files.a, files.b, test::rootless());
    EXPECT_NE(rig.built.find("\n Terms: 3\t3"), std::string::npos);
    EXPECT_EQ(test::allowedPairs(rig.m()), (std::vector<std::pair<int, int>>{{1, 0}}));
    Vertex* nameless = rig.g1->V[0].get();
    EXPECT_TRUE(nameless->nTerms == nullptr || nameless->nTerms->empty());
    EXPECT_EQ(rig.m().intSim(3, nameless, rig.g2->V[0].get()), 0.0f);
}

TEST(TermProfiles, UpdateSemarelCreatesAndAddsToAnEntry) {
    MatchRig rig(fixture("matching/moves-a.txt"), fixture("matching/moves-b.txt"), test::rootless());
    Match& m = rig.m();
    EXPECT_EQ(m.iterms, 9);
    SparseMatrix<semarel> profile;
    m.updateSemarel(&profile, 4, 7, 3, 2);
    m.updateSemarel(&profile, 4, 7, 0, 1);
    m.updateSemarel(&profile, 4, 7, 3, 40000);  // wider than 16 bits
    const semarel* entry = profile.find(4, 7);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->sum, 40003);
    EXPECT_EQ(entry->count[3], 40002);
    EXPECT_EQ(entry->count[0], 1);
    EXPECT_EQ(entry->count[8], 0);
}

}  // namespace
}  // namespace graphmat

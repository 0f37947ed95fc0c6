// Per-step change counts: member comparison, relation comparison, and the
// counts of one step read from a hand-written match result file.
#include <gtest/gtest.h>

#include "TunnelFixture.h"

namespace graphmat::test {
namespace {

struct ClassDiffCase {
    const char* what;
    std::vector<std::string> olderAtt, olderMet, newerAtt, newerMet;
    int sameAtt, sameMet, renMet, modMet;
};

void PrintTo(const ClassDiffCase& c, std::ostream* out) { *out << c.what; }

class ClassDiffTest : public ::testing::TestWithParam<ClassDiffCase> {};

TEST_P(ClassDiffTest, CountsKeptRenamedAndModifiedMembers) {
    const ClassDiffCase& c = GetParam();
    auto older = makeVersion("old", {{"a.A", c.olderAtt, c.olderMet}}, {});
    auto newer = makeVersion("new", {{"a.A", c.newerAtt, c.newerMet}}, {});
    std::map<std::string, int> res = classDiff(older->V[0].get(), newer->V[0].get());
    EXPECT_EQ(res.size(), 4u);
    EXPECT_EQ(res["sameAtt"], c.sameAtt) << c.what;
    EXPECT_EQ(res["sameMet"], c.sameMet) << c.what;
    EXPECT_EQ(res["renMet"], c.renMet) << c.what;
    EXPECT_EQ(res["modMet"], c.modMet) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Members, ClassDiffTest,
    ::testing::Values(
        ClassDiffCase{"same members", {"int@x"}, {"void@run@()"}, {"int@x"}, {"void@run@()"}, 1, 1, 0, 0},
        ClassDiffCase{"renamed: same return type and parameters (0.5)",
                      {}, {"void@save@(int)"}, {}, {"void@store@(int)"}, 0, 0, 1, 0},
        ClassDiffCase{"same name, other parameters (0.7)", {}, {"void@put@(int)"}, {}, {"void@put@(String)"}, 0, 0, 0, 1},
        ClassDiffCase{"same name only (0.5)", {}, {"int@put@(int)"}, {}, {"void@put@(String)"}, 0, 0, 0, 1},
        ClassDiffCase{"return type only (0.2): unpaired", {}, {"void@a@(int)"}, {}, {"void@b@(long)"}, 0, 0, 0, 0},
        ClassDiffCase{"parameters only (0.3): unpaired", {}, {"int@a@(int)"}, {}, {"long@b@(int)"}, 0, 0, 0, 0},
        ClassDiffCase{"second row whose best column is taken stays unpaired",
                      {}, {"void@a@(int)", "void@b@(int)"}, {}, {"void@c@(int)"}, 0, 0, 1, 0},
        ClassDiffCase{"second row pairs with another column of its row maximum",
                      {}, {"void@a@(int)", "void@b@(int)"}, {}, {"void@c@(int)", "void@d@(int)"}, 0, 0, 2, 0},
        // Two members under one key in the older class and one in the newer
        // one: the newer member stands for one of them only.
        ClassDiffCase{"duplicate attributes consume one newer attribute", {"int@a", "int@a"}, {}, {"int@a"}, {}, 1, 0, 0, 0},
        ClassDiffCase{"duplicate methods consume one newer method",
                      {}, {"void@f@()", "void@f@()"}, {}, {"void@f@()"}, 0, 1, 0, 0},
        ClassDiffCase{"changed attribute type is a deletion and an addition", {"int@a"}, {}, {"long@a"}, {}, 0, 0, 0, 0}),
    CaseName());

struct RelDiffCase {
    const char* what;
    std::string older, newer;  // "" for no edge
    int add, del;
};

void PrintTo(const RelDiffCase& c, std::ostream* out) { *out << c.what; }

class RelDiffTest : public ::testing::TestWithParam<RelDiffCase> {};

TEST_P(RelDiffTest, ComparesRelationKindsOneToThree) {
    const RelDiffCase& c = GetParam();
    auto g = makeVersion("g", {{"a"}, {"b"}, {"c"}}, {{0, 1, c.older}, {0, 2, c.newer}});
    std::map<std::string, int> r = relDiff(g->getEdge(0, 1), g->getEdge(0, 2));
    EXPECT_EQ(r.size(), 2u);
    EXPECT_EQ(r["addRel"], c.add) << c.what;
    EXPECT_EQ(r["delRel"], c.del) << c.what;
}

INSTANTIATE_TEST_SUITE_P(Relations, RelDiffTest,
                         ::testing::Values(RelDiffCase{"kind 1 becomes kind 2", "1", "2", 1, 1},
                                           RelDiffCase{"no edges", "", "", 0, 0},
                                           RelDiffCase{"new edge", "", "12", 2, 0},
                                           RelDiffCase{"lost edge", "113", "", 0, 3},
                                           RelDiffCase{"common arcs cancel", "112", "1222", 2, 1},
                                           RelDiffCase{"kinds 4 to 9 are not compared", "4567", "89", 0, 0}),
                         CaseName());

// Three classes of the newer version matched to three of the older one:
// "a.Renamed" (was "a.Old"), "b.Moved" (was "a.Moved"), "a.Changed" with
// changed members and relations; "a.New" has no image, "a.Gone" none either.
struct WorkedStep : ::testing::Test {
    ScratchDir dir;
    Tunnel tunnel;
    Tunnel::matching* step = nullptr;
    std::string out, err;
    int skipped = -1;

    void SetUp() override {
        CaptureStdout quiet;
        tunnel.addVersion(makeVersion(
            "new",
            {{"a.Renamed", {"int@count"}, {}},
             {"b.Moved"},
             {"a.Changed", {"int@x", "String@y"}, {"int@size@()", "void@put@(int)", "void@store@(int)", "void@neu@(a,b)"}},
             {"a.New"}},
            {{2, 0, "1"}, {2, 3, "2"}, {0, 1, "3"}}));
        tunnel.addVersion(makeVersion(
            "old",
            {{"a.Moved"},
             {"a.Old", {"int@count"}, {}},
             {"a.Changed", {"int@x", "int@z"}, {"int@size@()", "void@put@(String)", "void@save@(int)", "boolean@gone@()"}},
             {"a.Gone"}},
            {{2, 1, "2"}, {2, 3, "1"}, {1, 0, "3"}, {0, 2, "4"}}));
        step = tunnel.matchings[0].get();
        std::string rows = matchFile(
            *step, {{1, 0, "250", "0"}, {0, 1, "12.5", "0.5"}, {2, 2, "1.5e+06", "3"}},
            // a merged block, a class number that is no number, 21 fields, a
            // cost that is no number, an empty field 2 (not a match row)
            "ns,2,4,x,y,,,,0,1,1,0\nns,x1,3,x,y,,,,0,1,1,0\nns,3,3,x,y,,,,0,1,1,0,a,b,c,d,e,f,g,h,i\n"
            "ns,3,3,a.Gone,a.New,,,,0,abc,1,0\nns,1,,x\n");
        writeFile("results/old__new__1__1__1__1__0__1.csv", rows);
        CaptureStdout capture;
        CaptureStderr errors;
        skipped = tunnel.getMatches(step, "results/old__new__1__1__1__1__0__1.csv");
        out = capture.text();
        err = errors.text();
    }
    int at(const Tunnel::matching::List& list, int c) const { return list.at(0).at(c); }
};

TEST_F(WorkedStep, ImagesAndStepCosts) {
    ASSERT_EQ(step->matchList.size(), 1u);
    EXPECT_EQ(step->matchList[0], (std::vector<int>{1, 0, 2, -1}));
    // 250 + 0; 12.5 and 0.5 cut to 12 and 0; an exponent form read whole.
    EXPECT_EQ(step->costList[0], (std::vector<int>{250, 12, 1500003, 0}));
    EXPECT_EQ(step->nbRelList[0], (std::vector<int>{2, 1, 2, 1}));
    EXPECT_EQ(step->nbRelInList[0], (std::vector<int>{1, 1, 0, 1}));
    EXPECT_EQ(step->nbRelOutList[0], (std::vector<int>{1, 0, 2, 0}));
    EXPECT_EQ(step->nbAttList[0], (std::vector<int>{1, 0, 2, 0}));
    EXPECT_EQ(step->nbMetList[0], (std::vector<int>{0, 0, 4, 0}));
}

TEST_F(WorkedStep, SkippedRowsAreCountedAndNamed) {
    EXPECT_EQ(skipped, 4);
    EXPECT_NE(out.find("\n Skipped rows : 4"), std::string::npos);
    EXPECT_NE(err.find("results/old__new__1__1__1__1__0__1.csv: 4 match rows skipped (the first at line 11"),
              std::string::npos)
        << err;
}

TEST_F(WorkedStep, EveryListGetsOneEntry) {
    for (const auto& kind : Tunnel::changeKinds) {
        EXPECT_EQ((step->*kind.counts).size(), 1u) << kind.name;
        EXPECT_EQ((step->*kind.percentages).size(), 1u) << kind.name;
    }
}

// Count and percentage of every change kind for one class.
struct KindCase {
    int c;
    const char* kind;
    int count, percent;
};

TEST_F(WorkedStep, ChangeCountsAndPercentages) {
    const std::vector<KindCase> cases = {
        // a.Changed: attributes x kept, z deleted, y added (base 2);
        // methods: size kept, put modified, save renamed to store, gone
        // deleted, neu added (base 4).
        {2, "DelAtt", 1, 50}, {2, "AddAtt", 1, 50}, {2, "DelMet", 1, 25}, {2, "AddMet", 1, 25},
        {2, "RenMet", 1, 25}, {2, "ModMet", 1, 25},
        // Relations of a.Changed (image: 3 arcs, 1 in, 2 out): its edge to
        // a.Renamed changed kind 2 to 1; its edge to the unmatched a.New is
        // added, the one to a.Gone deleted; the edge from a.Moved is lost.
        {2, "DelRel", 3, 100}, {2, "AddRel", 2, 66}, {2, "ModRel", 3, 100},
        {2, "DelRelIn", 1, 100}, {2, "AddRelIn", 0, 0}, {2, "ModRelIn", 1, 100},
        {2, "DelRelOut", 2, 100}, {2, "AddRelOut", 2, 100}, {2, "ModRelOut", 2, 100},
        // a.Renamed (image a.Old: 2 arcs, 1 in, 1 out): target of the
        // changed edge; its own edge to b.Moved kept its label.
        {0, "DelAtt", 0, 0}, {0, "AddAtt", 0, 0},
        {0, "DelRel", 1, 50}, {0, "AddRel", 1, 50}, {0, "ModRel", 2, 100},
        {0, "DelRelIn", 1, 100}, {0, "AddRelIn", 1, 100}, {0, "ModRelIn", 2, 200},
        {0, "ModRelOut", 0, 0},
        // b.Moved (image a.Moved: 2 arcs, 1 in, 1 out): its edge to
        // a.Changed exists in the older version only.
        {1, "DelRel", 1, 50}, {1, "ModRel", 1, 50}, {1, "AddRel", 0, 0},
        {1, "DelRelOut", 1, 100}, {1, "ModRelOut", 1, 100}, {1, "DelRelIn", 0, 0},
        // a.New has no image: only its sizes are filled.
        {3, "AddRel", 0, 0}, {3, "AddAtt", 0, 0}};
    for (const KindCase& k : cases) {
        const Tunnel::ChangeKind* kind = nullptr;
        for (const auto& candidate : Tunnel::changeKinds)
            if (std::string(candidate.name) == k.kind) kind = &candidate;
        ASSERT_NE(kind, nullptr) << k.kind;
        EXPECT_EQ(at(step->*kind->counts, k.c), k.count) << "class " << k.c << " " << k.kind;
        EXPECT_EQ(at(step->*kind->percentages, k.c), k.percent) << "class " << k.c << " p_" << k.kind;
    }
}

TEST_F(WorkedStep, BasicStepCosts) {
    // Member changes plus the relation arcs deleted and added at the source.
    EXPECT_EQ(step->bCostList[0], (std::vector<int>{0, 1, 6 + 2 + 2, 0}));
}

TEST(StepCounts, PercentagesOfAnImageWithoutMembersOrRelations) {
    ScratchDir dir;
    Tunnel tunnel;
    CaptureStdout quiet;
    tunnel.addVersion(makeVersion("new", {{"a.A", {"int@a", "int@b", "int@c"}, {"void@f@()"}}, {"a.B"}}, {{0, 1, "1"}}));
    tunnel.addVersion(makeVersion("old", {{"a.A"}, {"a.B"}}, {}));
    writeFile("m.csv", matchFile(*tunnel.matchings[0], {{0, 0}, {1, 1}}));
    tunnel.getMatches(tunnel.matchings[0].get(), "m.csv");
    const Tunnel::matching& s = *tunnel.matchings[0];
    EXPECT_EQ(s.nbAddAttList[0][0], 3);
    EXPECT_EQ(s.p_AddAttList[0][0], 300);
    EXPECT_EQ(s.p_DelAttList[0][0], 0);
    EXPECT_EQ(s.p_AddMetList[0][0], 100);
    EXPECT_EQ(s.p_AddRelList[0][0], 100);
    EXPECT_EQ(s.p_ModRelOutList[0][0], 100);
    EXPECT_EQ(s.p_AddRelInList[0][1], 100);
}

TEST(StepCounts, MissingMatchFileLeavesEveryClassUnmatched) {
    ScratchDir dir;
    Tunnel tunnel;
    CaptureStdout capture;
    CaptureStderr errors;
    tunnel.addVersion(makeVersion("new", {{"a.A", {"int@a"}, {}}}, {}));
    tunnel.addVersion(makeVersion("old", {{"a.A"}}, {}));
    tunnel.getMatches(tunnel.matchings[0].get(), "results/none.csv");
    const Tunnel::matching& s = *tunnel.matchings[0];
    EXPECT_EQ(s.matchList[0], std::vector<int>{-1});
    EXPECT_EQ(s.costList[0], std::vector<int>{0});
    EXPECT_EQ(s.nbAttList[0], std::vector<int>{1});
    EXPECT_NE(capture.text().find("\n\n\n\n ENTER THE RELATION CHANGES"), std::string::npos);
    EXPECT_EQ(errors.text(), "Cannot read results/none.csv: No such file or directory\n");
}

// A row whose two numbers are classes of the versions names the labels of
// those classes, as the matcher writes them in every reader mode of class
// diagram files. One that names other labels comes from another reading of
// the versions or from other files: the step is refused and its record
// gets nothing; the refusal quotes the row's labels and the label of each
// class the row does not name. Rows that the step skips (a merged block, a
// row cut short before its costs, whatever its labels) are not looked at
// further, and are counted.
struct LabelCase {
    const char* what;
    std::string row;
    std::string refusal;  // empty: the row does not refuse the step
    std::string skipped = "";  // the warning of a row the step skips
};

void PrintTo(const LabelCase& c, std::ostream* out) { *out << c.what; }

// Why a row of `fields` fields is skipped.
std::string cutShort(int fields) {
    return "a row cut short: " + std::to_string(fields) + " fields, without the overall costs of fields 9 and 10";
}

class MatchRowLabels : public ::testing::TestWithParam<LabelCase> {};

TEST_P(MatchRowLabels, OtherLabelsRefuseTheStep) {
    const LabelCase& c = GetParam();
    ScratchDir dir;
    Tunnel tunnel;
    CaptureStdout quiet;
    CaptureStderr errors;
    tunnel.addVersion(makeVersion("new", {{"a.A"}, {"a.B"}}, {}));
    tunnel.addVersion(makeVersion("old", {{"a.A"}, {"a.C"}}, {}));
    writeFile("m.csv", matchFile(*tunnel.matchings[0], {{0, 0}}, c.row));
    const Tunnel::matching& step = *tunnel.matchings[0];
    if (c.refusal.empty()) {
        tunnel.getMatches(tunnel.matchings[0].get(), "m.csv");
        ASSERT_EQ(step.matchList.size(), 1u);
        EXPECT_EQ(step.matchList[0][0], 0);
        EXPECT_EQ(step.matchList[0][1], c.skipped.empty() ? 1 : -1);
        EXPECT_EQ(errors.text(), c.skipped.empty() ? "" : "m.csv: 1 match row skipped (the first at line 9: " + c.skipped + ")\n");
        return;
    }
    try {
        tunnel.getMatches(tunnel.matchings[0].get(), "m.csv");
        ADD_FAILURE() << "not refused";
    } catch (const TunnelError& error) {
        EXPECT_EQ(error.what(), c.refusal);
    }
    EXPECT_TRUE(step.matchList.empty());
    EXPECT_TRUE(step.costList.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, MatchRowLabels,
    ::testing::Values(
        LabelCase{"the labels of the two classes", "ns,1,1,a.C,a.B,,,,0,1,1,0\n", ""},
        LabelCase{"another older label", "ns,1,1,a.X,a.B,,,,0,1,1,0\n",
                  "the match result file m.csv does not pair the classes of \"old\" and \"new\": its line 9 pairs "
                  "\"a.X\" with \"a.B\", but class 1 of \"old\" is \"a.C\""},
        LabelCase{"another newer label", "ns,1,1,a.C,a.C,,,,0,1,1,0\n",
                  "the match result file m.csv does not pair the classes of \"old\" and \"new\": its line 9 pairs "
                  "\"a.C\" with \"a.C\", but class 1 of \"new\" is \"a.B\""},
        LabelCase{"the labels of a model graph file", "ns,1,1,.,a,,,,0,1,1,0\n",
                  "the match result file m.csv does not pair the classes of \"old\" and \"new\": its line 9 pairs "
                  "\".\" with \"a\", but class 1 of \"old\" is \"a.C\" and class 1 of \"new\" is \"a.B\""},
        LabelCase{"a label that only begins with the class's", "ns,1,1,a.C,a.Bx,,,,0,1,1,0\n",
                  "the match result file m.csv does not pair the classes of \"old\" and \"new\": its line 9 pairs "
                  "\"a.C\" with \"a.Bx\", but class 1 of \"new\" is \"a.B\""},
        LabelCase{"an older label that only begins with the class's", "ns,1,1,a.Cx,a.B,,,,0,1,1,0\n",
                  "the match result file m.csv does not pair the classes of \"old\" and \"new\": its line 9 pairs "
                  "\"a.Cx\" with \"a.B\", but class 1 of \"old\" is \"a.C\""},
        LabelCase{"the labels of the classes swapped", "ns,1,1,a.B,a.C,,,,0,1,1,0\n",
                  "the match result file m.csv does not pair the classes of \"old\" and \"new\": its line 9 pairs "
                  "\"a.B\" with \"a.C\", but class 1 of \"old\" is \"a.C\" and class 1 of \"new\" is \"a.B\""},
        LabelCase{"a merged block", "ns,1,2,a.C,a.A+a.B,,,,0,1,1,0\n", "",
                  "class numbers outside the two versions (or merged blocks)"},
        // Rows cut short (a cut copy, a full disk): damaged, skipped and
        // counted, whatever is left of their labels.
        LabelCase{"a row that ends after the labels", "ns,1,1,a.C,a.B\n", "", cutShort(5)},
        LabelCase{"a row cut after the older label", "ns,1,1,a.C\n", "", cutShort(4)},
        LabelCase{"a row cut inside the newer label", "ns,1,1,a.C,a.\n", "", cutShort(5)},
        LabelCase{"a row cut after the numbers", "ns,1,1\n", "", cutShort(3)},
        LabelCase{"a row of other labels cut short", "ns,1,1,.,a,,,,0\n", "", cutShort(9)},
        LabelCase{"a row cut inside its costs", "ns,1,1,a.C,a.B,,,,0,1\n", "", cutShort(10)}),
    CaseName());

TEST(StepCounts, LaterRowOfTheSameClassWins) {
    ScratchDir dir;
    Tunnel tunnel;
    CaptureStdout quiet;
    tunnel.addVersion(makeVersion("new", {{"a.A"}}, {}));
    tunnel.addVersion(makeVersion("old", {{"a.X"}, {"a.A"}}, {}));
    writeFile("m.csv", matchFile(*tunnel.matchings[0], {{0, 0, "5", "5"}, {1, 0, "7", "0"}}));
    tunnel.getMatches(tunnel.matchings[0].get(), "m.csv");
    tunnel.getMatches(tunnel.matchings[0].get(), "m.csv");
    const Tunnel::matching& s = *tunnel.matchings[0];
    ASSERT_EQ(s.matchList.size(), 2u);  // one entry per reading
    EXPECT_EQ(s.matchList[0], std::vector<int>{1});
    EXPECT_EQ(s.costList[0], std::vector<int>{7});
}

}  // namespace
}  // namespace graphmat::test

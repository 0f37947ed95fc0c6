// Finding a vertex by its signature, and the alternatives report of the
// pairs that such signatures name.
//
// fixtures/reports/signatures.txt: "." (0) contains p (1), which contains
// p.C (2, with a self-loop) and, by an arc that is also a call (label 94),
// p.D (6, with its attribute p.D.n, 7); p.C holds the overloaded methods
// p.C.m(x.y.String,int) (3) and p.C.m(int) (4), and p.C.run() (5).
#include <gtest/gtest.h>

#include "support/TestSupport.h"
#include "matching/Cost.h"
#include "matching/Match.h"

namespace graphmat {
namespace {

using test::CaptureStdout;
using test::fixture;
using test::readFile;
using test::ScratchDir;

const std::string SUCCESS = "\n <<<<<<<<<<<<<<<<<<<<<<<<<<<SUCCESS>>>>>>>>>>>>>>>>>>>>>>>> \n";
const std::string FAIL = "\n <<-----------FAIL-------------->> \n";

int numberOf(const Vertex* v) { return v ? v->number : -1; }

TEST(SignatureLookup, BothFormsOnOneTree) {
    CaptureStdout quiet;
    Graph g(12, fixture("reports/signatures.txt"));
    struct Case {
        std::string sign;
        int whole;  // getVertexFromSignature
        int cut;    // getVertexFromSignature2
    };
    const std::vector<Case> cases = {
        {"p", 1, 1},
        {"p.C", 2, 2},
        {"p.C()", 2, 2},                      // "()" matches a vertex without parameters
        {"p.C.", 2, 2},                       // a trailing "." is dropped
        {"p.C(int)", -1, -1},                 // parameters never match a class
        {"p.C.m(String,int)", -1, 3},         // types compared after their last "."
        {"p.C.m(x.y.String,int)", 3, -1},     // or whole
        {"p.C.m(int)", 4, 4},                 // the overload whose parameters match
        {"p.C.m", -1, -1},                    // no method with parameters matches none
        {"p.C.m(String, int)", -1, -1},       // compared character for character
        {"p.C.run()", 5, 5},
        {"p.C.run", 5, 5},
        {"p.D", -1, -1},                      // below a containment arc that is also a call
        {"p.D.n", -1, -1},
        {"p.C.m.x", -1, -1},                  // more levels than the tree
        {"q.C", -1, -1},
        {".", -1, -1},                        // vertex 0 is never a result
        {"", -1, -1},
        {"(int)", -1, -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(numberOf(Match::getVertexFromSignature(c.sign, &g)), c.whole) << c.sign;
        EXPECT_EQ(numberOf(Match::getVertexFromSignature2(c.sign, &g)), c.cut) << c.sign;
    }
    Graph empty;
    EXPECT_EQ(Match::getVertexFromSignature2("p", &empty), nullptr);
}

std::unique_ptr<Graph> quietly(const std::string& path) {
    CaptureStdout quiet;
    return std::make_unique<Graph>(12, fixture(path));
}

TEST(SignatureLookup, TraceLines) {
    std::unique_ptr<Graph> tree = quietly("reports/signatures.txt");
    Graph& g = *tree;
    {
        CaptureStdout out;
        Match::getVertexFromSignature2("p.C.m(int)", &g);
        EXPECT_EQ(out.text(),
                  "\np.C.m[int]\n0(.) --> p __ p\n1(p) --> p.C __ p.C\n2(p.C) --> p.C.m __ p.C.m\n\tint ___ String,int"
                  "\n2(p.C) --> p.C.m __ p.C.m\n\tint ___ int" + SUCCESS);
    }
    {
        CaptureStdout out;
        Match::getVertexFromSignature("p.C.m(int)", &g);
        EXPECT_EQ(out.text(), "\np.C.m[int]" + SUCCESS);
    }
    for (const std::string sign : {"", "(x)"}) {
        CaptureStdout out;
        Match::getVertexFromSignature(sign, &g);
        EXPECT_EQ(out.text(), FAIL) << sign;
    }
}

// One matcher on two copies of the tree, with p.C paired with itself only.
class AlternativesPair {
public:
    Cost costs;
    std::unique_ptr<Graph> g1, g2;
    std::unique_ptr<Match> m;

    AlternativesPair() {
        CaptureStdout quiet;
        costs.initMode1(1, 0.5, 1, 1, 0);
        g1 = std::make_unique<Graph>(12, fixture("reports/signatures.txt"));
        g2 = std::make_unique<Graph>(12, fixture("reports/signatures.txt"));
        m = std::make_unique<Match>(g1.get(), g2.get(), &costs, 1, 3);
        std::fill(m->M12.begin(), m->M12.end(), -1);
        std::fill(m->M21.begin(), m->M21.end(), -1);
        pairUp(m->M12, m->M21, 2, 2);
    }

    // The entry line's similarity and substitution cost as the report
    // writes them.
    std::string figures(int i, int j) {
        const float* sim = m->_N.find(i, j);
        if (!sim) return "<no similarity stored>";
        return to_string(*sim) + "," + to_string(costs.raw_cns(3, m->getVertex1(i), m->getVertex2(j), *sim));
    }
};

TEST(Alternatives, ReportsFoundPairsWhoseTextsDiffer) {
    ScratchDir dir;
    AlternativesPair pair;
    const std::set<std::string> keys = {
        "\"p.C__p\"",                   // a class and a package: reported
        "\"p.C.run()__p.C.m(int)\"",    // two methods: reported
        "\"p.C__p.C\"",                 // equal texts: not reported, similarity stored
        "\"p.C__p.D\"",                 // p.D is not found
        "no separator",                 // skipped
        "__p\"",                        // empty first piece: skipped
    };
    std::unique_ptr<std::set<std::string>> reported;
    std::string console;
    {
        CaptureStdout out;
        reported = pair.m->checkAlternatives(&keys, "test");
        console = out.text();
    }
    EXPECT_EQ(*reported, (std::set<std::string>{"\"p.C__p\"", "\"p.C.run()__p.C.m(int)\""}));
    EXPECT_TRUE(pair.m->_N.exists(2, 2));
    EXPECT_EQ(console.rfind("\n Check ...Alternatives\n\np.C.run()\tp.C.m(int)", 0), 0u) << console;
    EXPECT_EQ(console.find("no separator"), std::string::npos);

    const std::string expected = "\n,,1-----\n5_p.C.run_public;void;run,4_p.C.m_public;void;m;int," +
                                 pair.figures(5, 4) +
                                 "\n||Relations(1)||\n<--9-- p.C{M}\n,||Relations(2)||\n,<--9-- p.C{M}\n"
                                 "\n,,2-----\n2_p.C,1_p," +
                                 pair.figures(2, 1) +
                                 "\n||Relations(1)||\n<--9-- p\n--9--> p.C.m\n--9--> p.C.m\n--9--> p.C.run\n"
                                 "--1--> self{M}\n,||Relations(2)||\n,<--9-- .\n,--9--> p.C{M}\n,--94--> p.D\n";
    EXPECT_EQ(readFile("results/alternatives_test.csv"), expected);
}

TEST(Alternatives, NoKeysGiveAnEmptyReport) {
    ScratchDir dir;
    AlternativesPair pair;
    const std::set<std::string> none;
    for (const std::set<std::string>* keys : {static_cast<const std::set<std::string>*>(nullptr), &none}) {
        CaptureStdout out;
        EXPECT_TRUE(pair.m->checkAlternatives(keys, "empty")->empty());
        EXPECT_EQ(out.text(), "\n Check ...");
        EXPECT_TRUE(test::fileExists("results/alternatives_empty.csv"));
        EXPECT_EQ(readFile("results/alternatives_empty.csv"), "");
    }
}

}  // namespace
}  // namespace graphmat

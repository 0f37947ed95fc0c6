#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "graph/Graph.h"
#include "matching/Match.h"
#include "support/TestSupport.h"

namespace graphmat {
namespace {

using test::CaptureStderr;
using test::CaptureStdout;
using test::fileExists;
using test::readFile;
using test::writeFile;

// Two versions of a shop: the Cart class is only in the first.
const char* const SHOP1 =
    "3,2\n"
    "c,0,app.Item\n"
    "c,1,app.Shop\n"
    "c,2,app.Cart\n"
    "a,1,int@count\n"
    "m,1,void@buy@(app.Item)\n"
    "r,1,0,1\n"
    "r,2,0,2\n";
const char* const SHOP2 =
    "2,1\n"
    "c,0,app.Item\n"
    "c,1,app.Shop\n"
    "a,1,int@count\n"
    "m,1,void@buy@(app.Item)\n"
    "r,1,0,1\n";

// A scratch working directory with ./results/ and the two folders of class
// diagram files that the reductions read.
struct ReductionDir {
    test::ScratchDir dir;
    ReductionDir() {
        std::filesystem::create_directories("datasets/cdiagrams/eclipse");
        std::filesystem::create_directories("datasets/cdiagrams/mylyn");
    }
    // Writes a class diagram file in the working directory and in both
    // folders of the reductions.
    static void diagram(const std::string& name, const std::string& text) {
        writeFile(name + ".txt", text);
        writeFile("datasets/cdiagrams/eclipse/" + name + ".txt", text);
        writeFile("datasets/cdiagrams/mylyn/" + name + ".txt", text);
    }
    static std::unique_ptr<Graph> read(int mode, const std::string& path) {
        CaptureStdout quiet;
        return std::make_unique<Graph>(mode, path);
    }
};

struct Outcome {
    std::string result, out, err;
};

Outcome reduce(bool regenerate, Graph& a, Graph& b) {
    Outcome o;
    CaptureStderr err;
    CaptureStdout out;
    o.result = regenerate ? Match::obviousMatch(&a, &b) : Match::obviousMatch1(&a, &b);
    o.out = out.text();
    o.err = err.text();
    return o;
}

TEST(ReductionTest, IdenticalDiagramsLeaveNothingToMatch) {
    for (const bool regenerate : {false, true}) {
        SCOPED_TRACE(regenerate ? "obviousMatch" : "obviousMatch1");
        ReductionDir d;
        d.diagram("shop-a", SHOP1);
        d.diagram("shop-b", SHOP1);
        const int mode = regenerate ? 9 : 4;
        auto a = d.read(mode, "shop-a.txt"), b = d.read(mode, "shop-b.txt");
        const Outcome o = reduce(regenerate, *a, *b);
        EXPECT_EQ(o.result, "YES");
        const std::string n = std::to_string(a->V.size());
        EXPECT_EQ(o.out, "\n TREATMENT OF OBVIOUS \n\n leftover 0/" + n + "\t0/" + n + "\n");
        EXPECT_EQ(readFile("results/_shop-a.txt"), "0,0\n");
        EXPECT_EQ(readFile("results/_shop-b.txt"), "0,0\n");
        const auto pairs = test::lines(readFile("results/_shop-a__shop-b.csv"));
        ASSERT_EQ(pairs.size(), a->V.size() + 1);
        for (std::size_t i = 0; i < a->V.size(); ++i) {
            const std::string label = a->V[i]->label;
            EXPECT_EQ(pairs[i], "ns," + std::to_string(i) + "," + std::to_string(i) + "," + label + "," + label);
        }
        EXPECT_EQ(o.err, "");
    }
}

TEST(ReductionTest, AClassOnlyInGraphOneKeepsItAndItsNeighbours) {
    ReductionDir d;
    d.diagram("shop-1", SHOP1);
    d.diagram("shop-2", SHOP2);
    auto a = d.read(4, "shop-1.txt"), b = d.read(4, "shop-2.txt");
    const Outcome o = reduce(false, *a, *b);
    EXPECT_EQ(o.result, "YES");
    EXPECT_EQ(o.out, "\n TREATMENT OF OBVIOUS \n\n leftover 2/3\t0/2\n");
    // Item stays as the neighbour of Cart; its pair is written all the same.
    EXPECT_EQ(readFile("results/_shop-1__shop-2.csv"), "ns,0,0,app.Item,app.Item\nns,1,1,app.Shop,app.Shop\n");
    EXPECT_EQ(readFile("results/_shop-1.txt"), "2,0\nc,0,app.Item\nc,1,app.Cart\nr,1,0,2\n");
    EXPECT_EQ(readFile("results/_shop-2.txt"), "0,0\n");

    // The reduced files read back with the counts of the leftover line.
    auto back1 = d.read(4, "results/_shop-1.txt"), back2 = d.read(4, "results/_shop-2.txt");
    EXPECT_EQ(back1->V.size(), 2u);
    EXPECT_EQ(back2->V.size(), 0u);
    EXPECT_EQ(back1->V[1]->label, "app.Cart");
    ASSERT_NE(back1->getEdge(1, 0), nullptr);
    EXPECT_EQ(back1->getEdge(1, 0)->label, "2");
}

TEST(ReductionTest, RegeneratedDiagramsWithMemberVerticesReadBack) {
    ReductionDir d;
    d.diagram("shop-1", SHOP1);
    d.diagram("shop-2", SHOP2);
    // Mode 9: classes 0-2, packages "." and app (3, 4), method buy (5),
    // attribute count (6); Cart, its neighbour Item and their package stay.
    auto a = d.read(9, "shop-1.txt"), b = d.read(9, "shop-2.txt");
    const Outcome o = reduce(true, *a, *b);
    EXPECT_EQ(o.result, "YES");
    EXPECT_EQ(o.out, "\n TREATMENT OF OBVIOUS \n\n leftover 3/7\t0/6\n");
    EXPECT_EQ(readFile("results/_shop-1__shop-2.csv"),
              "ns,1,1,app.Shop,app.Shop\n"
              "ns,3,2,.,.\n"
              "ns,5,4,app.Shop.buy,app.Shop.buy\n"
              "ns,6,5,app.Shop.count,app.Shop.count\n");
    EXPECT_EQ(readFile("results/_shop-1.txt"), "2,0\nc,0,app.Item,-1,-1\nc,1,app.Cart,-1,-1\nr,1,0,2\n");
    EXPECT_EQ(readFile("results/_shop-2.txt"), "0,0\n");
    EXPECT_EQ(o.err, "");

    auto back = d.read(9, "results/_shop-1.txt");
    EXPECT_EQ(back->nbClasses, 2);
    EXPECT_EQ(back->nbMethods + back->nbAttributes, 0);
}

TEST(ReductionTest, MembersAreRegeneratedUnderTheirNewClassNumbers) {
    ReductionDir d;
    // Graph 1 adds a class Bag with a method and an attribute; Cart stays.
    const std::string one =
        "4,0\nc,0,app.Item\nc,1,app.Bag\nc,2,app.Shop\n"
        "a,1,static@java.util.List@items\nm,1,public@void@add@(app.Item,int)\nm,1,int@size@()\n";
    const std::string two = "2,0\nc,0,app.Item\nc,1,app.Shop\n";
    d.diagram("bag-1", one);
    d.diagram("bag-2", two);
    auto a = d.read(9, "bag-1.txt"), b = d.read(9, "bag-2.txt");
    const Outcome o = reduce(true, *a, *b);
    EXPECT_EQ(o.result, "YES");
    EXPECT_EQ(readFile("results/_bag-1.txt"),
              "2,0\n"
              "c,0,app.Item,-1,-1\n"
              "c,1,app.Bag,-1,-1\n"
              "m,1,public@void@add@[app.Item,int]\n"
              "m,1,@int@size@[]\n"
              "a,1,static@java.util.List@items\n");
    auto back = d.read(9, "results/_bag-1.txt");
    EXPECT_EQ(back->nbClasses, 2);
    EXPECT_EQ(back->nbMethods, 2);
    EXPECT_EQ(back->nbAttributes, 1);
    bool found = false;
    for (const auto& v : back->V)
        if (v->label == "app.Bag.add") {
            found = true;
            EXPECT_EQ(v->specif, "public,void,add,app.Item,int");
        }
    EXPECT_TRUE(found);
}

TEST(ReductionTest, TwoIdenticalCandidatesBlockThePairing) {
    ReductionDir d;
    d.diagram("one", "1,0\nc,0,app.Item\n");
    d.diagram("two", "2,0\nc,0,app.Item\nc,1,app.Item\n");
    auto a = d.read(4, "one.txt"), b = d.read(4, "two.txt");
    const Outcome o = reduce(false, *a, *b);
    EXPECT_EQ(o.out, "\n TREATMENT OF OBVIOUS \n\n leftover 1/1\t2/2\n");
    EXPECT_EQ(readFile("results/_one__two.csv"), "");
    EXPECT_EQ(readFile("results/_one.txt"), "1,0\nc,0,app.Item\n");
    EXPECT_EQ(readFile("results/_two.txt"), "2,0\nc,0,app.Item\nc,1,app.Item\n");
}

TEST(ReductionTest, LinesWithoutTheirFieldsAreSkipped) {
    ReductionDir d;
    d.diagram("shop-1", SHOP1);
    d.diagram("shop-2", SHOP2);
    // The copied file holds lines the reader never saw: a short class line,
    // a member line whose class number does not read, short relations.
    writeFile("datasets/cdiagrams/eclipse/shop-1.txt",
              std::string(SHOP1) + "c,2,app.Cart,3.5\n\nc\na,zz,int@lost\nr,2\nr,2,x,1\nr,0,2,3\n");
    auto a = d.read(4, "shop-1.txt"), b = d.read(4, "shop-2.txt");
    reduce(false, *a, *b);
    EXPECT_EQ(readFile("results/_shop-1.txt"),
              "2,0\nc,0,app.Item\nc,1,app.Cart\nr,1,0,2\nc,1,app.Cart,3.5\nr,0,1,3\n");
}

TEST(ReductionTest, MissingDiagramFilesAreNamedAndTheReductionGoesOn) {
    for (const bool regenerate : {false, true}) {
        SCOPED_TRACE(regenerate ? "obviousMatch" : "obviousMatch1");
        ReductionDir d;
        writeFile("shop-1.txt", SHOP1);
        writeFile("shop-2.txt", SHOP2);
        auto a = d.read(9, "shop-1.txt"), b = d.read(9, "shop-2.txt");
        const Outcome o = reduce(regenerate, *a, *b);
        EXPECT_EQ(o.result, "YES");
        const std::string folder = regenerate ? "mylyn" : "eclipse";
        EXPECT_EQ(o.err, "Cannot read ./datasets/cdiagrams/" + folder +
                             "/shop-1.txt: No such file or directory\nCannot read ./datasets/cdiagrams/" + folder +
                             "/shop-2.txt: No such file or directory\n");
        EXPECT_EQ(readFile("results/_shop-1.txt"),
                  regenerate ? "2,0\nc,0,app.Item,-1,-1\nc,1,app.Cart,-1,-1\n" : "2,0\n");
    }
}

TEST(ReductionTest, AMemberWhoseClassIsNoLeftoverIsLeftOutWithANotice) {
    ReductionDir d;
    // Mode 9 numbers: classes Shop 0, Cart 1, packages 2 and 3, methods buy
    // 4 and clear 5; buy calls clear. buy stays (its callee has no
    // partner) but Shop does not.
    writeFile("calls-1.txt", "c,0,app.Shop\nc,1,app.Cart\nm,0,void@buy@()\nm,1,void@clear@()\nr,4,5,4\n");
    writeFile("calls-2.txt", "c,0,app.Shop\nm,0,void@buy@()\n");
    auto a = d.read(9, "calls-1.txt"), b = d.read(9, "calls-2.txt");
    const Outcome o = reduce(true, *a, *b);
    EXPECT_EQ(o.out, "\n TREATMENT OF OBVIOUS \n\n leftover 4/6\t0/4\n");
    EXPECT_EQ(readFile("results/_calls-1.txt"), "1,0\nc,0,app.Cart,-1,-1\nm,0,@void@clear@[]\n");
    EXPECT_NE(o.err.find("./results/_calls-1.txt: 1 member line(s) left out"), std::string::npos) << o.err;
}

TEST(ReductionTest, AGoldFileAtThePairsPathSurvives) {
    for (const bool regenerate : {false, true}) {
        SCOPED_TRACE(regenerate ? "obviousMatch" : "obviousMatch1");
        ReductionDir d;
        d.diagram("shop-1", SHOP1);
        d.diagram("shop-2", SHOP2);
        auto a = d.read(4, "shop-1.txt"), b = d.read(4, "shop-2.txt");
        const std::string gold = "ns,0,0,app.Item,app.Item\napp.Shop,app.Store\n";
        writeFile("results/_shop-1__shop-2.csv", gold);
        const Outcome o = reduce(regenerate, *a, *b);
        EXPECT_EQ(o.result, "NO");
        EXPECT_EQ(readFile("results/_shop-1__shop-2.csv"), gold);
        EXPECT_FALSE(fileExists("results/_shop-1.txt"));
        EXPECT_FALSE(fileExists("results/_shop-2.txt"));
        EXPECT_NE(o.err.find("./results/_shop-1__shop-2.csv"), std::string::npos);

        // An earlier obvious pairs file is replaced.
        writeFile("results/_shop-1__shop-2.csv", "ns,7,7,old,old\n");
        EXPECT_EQ(reduce(regenerate, *a, *b).result, "YES");
        EXPECT_EQ(test::lines(readFile("results/_shop-1__shop-2.csv"))[0],
                  regenerate ? "ns,1,1,app.Shop,app.Shop" : "ns,0,0,app.Item,app.Item");
    }
}

TEST(ReductionTest, ModelGraphsAndGraphsWithoutAnIndex) {
    ReductionDir d;
    // Model graphs: the members' index keys are their spec texts, so only
    // packages and classes pair.
    writeFile("m-1.txt", "4,3\np,0,app\nc,1,app.Shop\nm,2,void@buy@()\nc,3,app.Cart\nr,0,1,9\nr,1,2,9\nr,0,3,9\n");
    writeFile("m-2.txt", "2,1\np,0,app\nc,1,app.Shop\nr,0,1,9\n");
    auto a = d.read(12, "m-1.txt"), b = d.read(12, "m-2.txt");
    const Outcome o = reduce(false, *a, *b);
    EXPECT_EQ(o.out, "\n TREATMENT OF OBVIOUS \n\n leftover 4/4\t0/2\n");
    EXPECT_EQ(readFile("results/_m-1__m-2.csv"), "ns,0,0,app,app\nns,1,1,app.Shop,app.Shop\n");

    Graph empty1, empty2;
    empty1.name = "e1";
    empty2.name = "e2";
    EXPECT_EQ(reduce(true, empty1, empty2).result, "YES");
    EXPECT_EQ(readFile("results/_e1.txt"), "0,0\n");
}

}  // namespace
}  // namespace graphmat

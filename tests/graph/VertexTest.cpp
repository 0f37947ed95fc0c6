// Vertices: defaults, accessors, term sets and the debugging print.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <type_traits>
#include <vector>

#include "graph/Vertex.h"
#include "support/TestSupport.h"

namespace graphmat {
namespace {

using Terms = std::set<std::string>;

static_assert(!std::is_copy_constructible_v<Vertex>, "a vertex is not copyable");
static_assert(!std::is_copy_assignable_v<Vertex>, "a vertex is not copyable");
static_assert(std::has_virtual_destructor_v<Vertex>, "a vertex is destroyed through its virtual destructor");

TEST(Vertex, DefaultsOfANewVertex) {
    Vertex v;
    EXPECT_EQ(v.type, 0);
    EXPECT_EQ(v.number, -1);
    EXPECT_EQ(v.level, 0);
    EXPECT_EQ(v.label, "");
    EXPECT_EQ(v.specif, "");
    for (int i = 0; i < MAX_W; ++i) EXPECT_EQ(v.weight[i], -1.0f);
    EXPECT_TRUE(v.in.empty());
    EXPECT_TRUE(v.out.empty());
    EXPECT_TRUE(v.edges.empty());
    EXPECT_EQ(v.nodes, nullptr);
    EXPECT_EQ(v.nTerms, nullptr);
    EXPECT_EQ(v.nPaths, nullptr);
    EXPECT_EQ(v.nSpecs, nullptr);
    EXPECT_TRUE(v.attributes.empty());
    EXPECT_TRUE(v.methods.empty());
    EXPECT_EQ(v.sum_out, 0.0f);
    EXPECT_EQ(v.nb_in, 0);
    EXPECT_EQ(v.nb_out, 0);
    EXPECT_EQ(v.getNEdges(), 0);
}

TEST(Vertex, ConstructorsSetNumberLabelAndWeights) {
    Vertex a(4);
    EXPECT_EQ(a.getNumber(), 4);
    ASSERT_NE(a.nodes, nullptr);
    EXPECT_EQ(*a.nodes, NodeSet{4});
    Vertex b(5, "shop.Cart");
    EXPECT_EQ(b.getNumber(), 5);
    EXPECT_EQ(b.getLabel(), "shop.Cart");
    const float wt[MAX_W] = {1.5f, 2.0f, 0.0f, 9.0f, 9.0f};
    Vertex c(6, "x", wt);
    EXPECT_EQ(c.weight[0], 1.5f);
    EXPECT_EQ(c.weight[1], 2.0f);
    EXPECT_EQ(c.weight[2], -1.0f);
    EXPECT_EQ(c.weight[3], -1.0f);
    EXPECT_EQ(c.type, 0);
    EXPECT_EQ(c.nb_out, 0);
}

TEST(Vertex, InitResetsCountersTypeAndSets) {
    Vertex v(3);
    v.type = 2;
    v.sum_out = 4.5f;
    v.nb_in = 2;
    v.nb_out = 3;
    v.label = "a.b";
    v.settify();
    v.init();
    EXPECT_EQ(v.type, 0);
    EXPECT_EQ(v.sum_out, 0.0f);
    EXPECT_EQ(v.nb_in, 0);
    EXPECT_EQ(v.nb_out, 0);
    EXPECT_EQ(v.nodes, nullptr);
    EXPECT_EQ(v.nTerms, nullptr);
    EXPECT_EQ(v.number, 3);
    EXPECT_EQ(v.label, "a.b");
}

TEST(Vertex, SetNumberReplacesTheNodeSet) {
    Vertex v;
    v.nodes = std::make_unique<NodeSet>(NodeSet{3, 5});
    EXPECT_EQ(v.setNumber(7), 7);
    EXPECT_EQ(v.number, 7);
    EXPECT_EQ(*v.nodes, NodeSet{7});
    EXPECT_EQ(v.setLabel("Cart"), "Cart");
    EXPECT_EQ(v.label, "Cart");
}

TEST(Vertex, SetWeightStopsBeforeTheFirstZero) {
    Vertex v;
    const float wt[MAX_W] = {2.5f, 1.0f, 0.0f, 7.0f, 3.0f};
    EXPECT_EQ(v.setWeight(wt), wt);
    EXPECT_EQ(v.weight[0], 2.5f);
    EXPECT_EQ(v.weight[1], 1.0f);
    EXPECT_EQ(v.weight[2], -1.0f);
    EXPECT_EQ(v.weight[3], -1.0f);
    EXPECT_EQ(v.weight[4], -1.0f);

    const float all[MAX_W] = {1, 2, 3, 4, 5};
    v.setWeight(all);
    for (int i = 0; i < MAX_W; ++i) EXPECT_EQ(v.weight[i], static_cast<float>(i + 1));
    EXPECT_EQ(v.getWeight(), v.weight);
}

TEST(Vertex, AddWeightStoresOnlyInsideTheFiveSlots) {
    Vertex v;
    EXPECT_EQ(v.addWeight(3.5f, 2), 3.5f);
    EXPECT_EQ(v.weight[2], 3.5f);
    EXPECT_EQ(v.addWeight(8.0f, 5), 8.0f);
    EXPECT_EQ(v.addWeight(8.0f, -1), 8.0f);
    for (int i = 0; i < MAX_W; ++i) {
        if (i != 2) {
            EXPECT_EQ(v.weight[i], -1.0f);
        }
    }
}

TEST(Vertex, FirstNodeIsTheSmallestMemberOrTheOwnNumber) {
    Vertex v;
    v.number = 11;
    EXPECT_EQ(v.getFirstNode(), 11);
    v.nodes = std::make_unique<NodeSet>();
    EXPECT_EQ(v.getFirstNode(), 11);
    *v.nodes = {9, 4, 12};
    EXPECT_EQ(v.getFirstNode(), 4);
}

// ---------------------------------------------------------------- settify

struct SettifyCase {
    short type;
    std::string label;
    std::string specif;
    const Terms* nTerms;  // null: not built
    const Terms* nPaths;
    const Terms* nSpecs;
};

TEST(Vertex, SettifyBuildsTheTermSets) {
    const Terms countGetItem = {"count", "get", "item"};
    const Terms cart = {"cart"};
    const Terms methodSpecs = {"0-static", "1-double", "2-count", "2-get", "2-item"};
    const Terms dot = {"."};
    const Terms ratio = {"ratio"};
    const Terms ratioSpecs = {"0-", "1-double", "2-ratio"};
    const Terms intName = {"int"};
    const Terms intSpecs = {"0-private", "1-double", "2-int"};
    const Terms state = {"state"};
    const Terms blankSpec = {"0- "};
    const Terms message = {"send", "order"};
    const Terms messageSpecs = {"0-client", "1-send", "1-order", "2-", "3-x"};
    const Terms htmlParser = {"html", "parser"};
    const Terms paramSpecs = {"0-", "1-void", "2-parse", "3-double", "4-string", "5-list", "5-item"};
    const Terms parse = {"parse"};
    const Terms xmlUtil = {"xml", "util"};
    const Terms parseSpecs = {"0-", "1-double", "2-parse"};
    const Terms apache = {"apache"};
    const Terms e = {"e"};
    const Terms empty = {};
    const std::vector<SettifyCase> cases = {
        // The example method and class.
        {2, "shop.Cart.getItemCount", "static,int,getItemCount", &countGetItem, &cart, &methodSpecs},
        {1, "shop.Cart", "", &cart, nullptr, nullptr},
        // The root package is its own simple name.
        {0, ".", "", &dot, nullptr, nullptr},
        // A member of a class outside any package has no owner words.
        {3, "Cart.ratio", ",float,ratio", &ratio, nullptr, &ratioSpecs},
        // "int" at position 2 (a name) stays.
        {3, "B.int", "private,int,int", &intName, nullptr, &intSpecs},
        // A state with its single-blank signature.
        {8, "state", " ", &state, nullptr, &blankSpec},
        // Messages are cut at "@"; an empty piece is tagged alone.
        {6, "sendOrder", "ui.Client@sendOrder@@x", &message, nullptr, &messageSpecs},
        // Parameter pieces: numeric type names become "double" past position 2.
        {2, "net.XMLUtil.parse", ",void,parse,short,java.lang.String,ItemList", &parse, &xmlUtil, &paramSpecs},
        // The owner is the last component of the path.
        {2, "a.b.HTMLParser.parse", ",int,parse", &parse, &htmlParser, &parseSpecs},
        // A package never keeps signature terms.
        {0, "org.apache", "x,y", &apache, nullptr, nullptr},
        // No words at all.
        {2, "__", "", nullptr, nullptr, nullptr},
        {2, "", "", nullptr, nullptr, nullptr},
        // A signature made only of separators adds nothing but is built.
        {4, "e", "__", &e, nullptr, &empty},
    };
    for (const SettifyCase& c : cases) {
        SCOPED_TRACE("'" + c.label + "' / '" + c.specif + "'");
        Vertex v;
        v.setNumber(3);
        v.type = c.type;
        v.label = c.label;
        v.specif = c.specif;
        v.settify();
        ASSERT_NE(v.nodes, nullptr);
        EXPECT_EQ(*v.nodes, NodeSet{3});
        if (c.nTerms) {
            ASSERT_NE(v.nTerms, nullptr);
            EXPECT_EQ(*v.nTerms, *c.nTerms);
        } else {
            EXPECT_EQ(v.nTerms, nullptr);
        }
        if (c.nPaths) {
            ASSERT_NE(v.nPaths, nullptr);
            EXPECT_EQ(*v.nPaths, *c.nPaths);
        } else {
            EXPECT_EQ(v.nPaths, nullptr);
        }
        if (c.nSpecs) {
            ASSERT_NE(v.nSpecs, nullptr);
            EXPECT_EQ(*v.nSpecs, *c.nSpecs);
        } else {
            EXPECT_EQ(v.nSpecs, nullptr);
        }
    }
}

TEST(Vertex, SettifyCreatesTheNodeSetAndAddsTheNumber) {
    Vertex v;
    v.number = 8;
    v.label = "";
    v.settify();
    ASSERT_NE(v.nodes, nullptr);
    EXPECT_EQ(*v.nodes, NodeSet{8});
    EXPECT_EQ(v.nTerms, nullptr);
    EXPECT_EQ(v.nSpecs, nullptr);

    // A block keeps its members and gains its own number.
    Vertex block;
    block.number = 20;
    block.nodes = std::make_unique<NodeSet>(NodeSet{2, 5});
    block.label = "Cart";
    block.settify();
    EXPECT_EQ(*block.nodes, (NodeSet{2, 5, 20}));
}

TEST(Vertex, SettifyKeepsSetsItDoesNotBuildExceptTheSpecsOfPackagesAndClasses) {
    Vertex v;
    v.setNumber(1);
    v.type = 2;
    v.label = "shop.Cart.getItem";
    v.specif = ",int,getItem";
    v.settify();
    ASSERT_NE(v.nTerms, nullptr);
    ASSERT_NE(v.nPaths, nullptr);
    ASSERT_NE(v.nSpecs, nullptr);

    // Now nothing yields words: the earlier sets stay.
    v.label = "__";
    v.specif = "";
    v.settify();
    ASSERT_NE(v.nTerms, nullptr);
    EXPECT_EQ(*v.nTerms, (Terms{"get", "item"}));
    ASSERT_NE(v.nPaths, nullptr);
    ASSERT_NE(v.nSpecs, nullptr);

    // As a class, the signature terms go.
    v.type = 1;
    v.settify();
    EXPECT_EQ(v.nSpecs, nullptr);
    EXPECT_NE(v.nTerms, nullptr);
}

TEST(Vertex, SettifyLowerCasesOnlyAscii) {
    Vertex v;
    v.setNumber(0);
    v.type = 1;
    v.label = "p.\xC3\x89tatCOURANT\xFF";
    v.settify();
    ASSERT_NE(v.nTerms, nullptr);
    EXPECT_EQ(*v.nTerms, (Terms{"\xC3\x89tat", "courant\xFF"}));
}

TEST(Vertex, PrintListsTheEdges) {
    Vertex v(2, "shop.Cart");
    v.weight[0] = 0.5f;
    v.weight[1] = 1234567.0f;
    Edge in(1, 2, "13");
    Edge out(2, 4, "9");
    Edge loop(2, 2, "4");
    v.in = {&in, &loop};
    v.out = {&out, &loop};
    v.edges = {&in, &out, &loop};
    test::CaptureStdout capture;
    v.print();
    EXPECT_EQ(capture.text(),
              "\n2, shop.Cart, 0.5, 1.23457e+06\n"
              "\tIN : 2\n\t\t0/ 1( 13 ); 1/ 2( 4 ); "
              "\n\tOUT : 2\n\t\t0/ 4( 9 ); 1/ 2( 4 ); "
              "\n\tALL : 3\n\t\t0/1>2( 13 ); 1/2>4( 9 ); 2/2>2( 4 ); ");
}

}  // namespace
}  // namespace graphmat

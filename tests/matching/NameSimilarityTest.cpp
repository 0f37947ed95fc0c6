#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "MatchFixture.h"

namespace graphmat {
namespace {

// A vertex beside the graphs (numbers above theirs, so nothing is stored
// for it), with an optional outgoing edge to a graph vertex.
struct LooseVertex {
    Vertex v;
    Edge out;
    LooseVertex(int number, short type, const std::string& label, const std::string& specif, int target = -1)
        : out(number, target, "7") {
        v.number = number;
        v.type = type;
        v.label = label;
        v.specif = specif;
        if (target >= 0) v.out.push_back(&out);
    }
};

class IntSim2Test : public ::testing::Test {
protected:
    test::MatchRig rig{test::fixture("matching/names-a.txt"), test::fixture("matching/names-b.txt")};
};

TEST_F(IntSim2Test, NamesWeightedBySignatureAgreement) {
    struct Case {
        const char* name;
        short type;
        const char* label1;
        const char* spec1;
        int target1;  // graph-1 vertex the first vertex points to, -1 none
        const char* label2;
        const char* spec2;
        int target2;
        float sim;
    };
    const Case cases[] = {
        {"equal class names", 1, "a.Order", "", -1, "b.Order", "", -1, 1.0f},
        {"name contained", 1, "Order", "", -1, "x.OrderItem", "", -1, static_cast<float>(2.0 * 5 / 14)},
        {"names by words", 1, "getUserName", "", -1, "setUserId", "", -1, 0.4f},
        {"one signature empty", 2, "a.add", "public,void,add,int", -1, "b.add", "", -1, 0.0f},
        {"identical four pieces", 2, "a.add", "public,void,add,int", -1, "b.add", "public,void,add,int", -1, 1.0f},
        {"return type skipped", 2, "a.add", "public,void,add", -1, "b.add", "public,int,add", -1, 1.0f},
        {"differing parameter", 2, "a.add", "public,void,add,Item", -1, "b.add", "public,void,add,Goods", -1,
         static_cast<float>(2.0 * 2 / 6)},
        {"parameters naming out-neighbours", 2, "a.add", "public,void,add,Item", 1, "b.add",
         "public,void,add,Goods", 1, 1.0f},
        {"extra pieces", 2, "a.add", "public,void,add,int,long", -1, "b.add", "public,void,add", -1,
         static_cast<float>(2.0 * 2 / (2 * 2 + 2))},
        {"nothing compared", 2, "a.add", "Item,void", 1, "b.add", "Goods,void", 1, 0.0f},
        {"class pieces differ uncounted", 1, "a.C", "x,y", -1, "b.C", "x,z", -1, 1.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LooseVertex v1(100, c.type, c.label1, c.spec1, c.target1);
        LooseVertex v2(200, c.type, c.label2, c.spec2, c.target2);
        const long before = rig.m().computeSim;
        EXPECT_FLOAT_EQ(rig.m().intSim2(0, &v1.v, &v2.v), c.sim);
        EXPECT_EQ(rig.m().computeSim, before + 1);
        EXPECT_FALSE(rig.m()._N.exists(100, 200));
    }
}

TEST_F(IntSim2Test, AStoredSimilarityIsReturnedAsItStands) {
    LooseVertex v1(100, 1, "Order", ""), v2(200, 1, "Order", "");
    rig.m()._N(100, 200) = 0.25f;
    const long before = rig.m().computeSim;
    EXPECT_EQ(rig.m().intSim2(0, &v1.v, &v2.v), 0.25f);
    EXPECT_EQ(rig.m().computeSim, before);
}

TEST_F(IntSim2Test, SetSimsCountsSharedMembersCappedByTheSecondClass) {
    Vertex v1, v2;
    v1.label = "app.Order";
    v2.label = "Order";
    v1.attributes.emplace("int_count", std::make_unique<ClassAttribute>("int@count"));
    v1.attributes.emplace("int_size", std::make_unique<ClassAttribute>("int@size"));
    v2.attributes.emplace("int_count", std::make_unique<ClassAttribute>("private@int@count"));
    v2.attributes.emplace("long_size", std::make_unique<ClassAttribute>("long@size"));
    v1.methods.emplace("void_run", std::make_unique<ClassMethod>("void@run@()"));
    v1.methods.emplace("void_run", std::make_unique<ClassMethod>("void@run@()"));
    v2.methods.emplace("void_run", std::make_unique<ClassMethod>("void@run@()"));
    Match& m = rig.m();
    m.setSims(&v1, &v2);
    EXPECT_EQ(m._att, 1);
    EXPECT_EQ(m._meth, 1);  // two equal methods of v1, one in v2
    EXPECT_EQ(m.sim_name, 1);
    EXPECT_EQ(m._label1, "Order");
    EXPECT_EQ(m._label2, "Order");
    EXPECT_EQ(m._path1, "app");
    EXPECT_EQ(m._path2, " ");

    Vertex flaw, lawn;
    flaw.label = "flaw";
    lawn.label = "p.q.lawn";
    m.setSims(&flaw, &lawn);
    EXPECT_EQ(m._att, 0);
    EXPECT_EQ(m._meth, 0);
    EXPECT_DOUBLE_EQ(m.sim_name, 0.5);
    EXPECT_EQ(m._path1, " ");
    EXPECT_EQ(m._path2, "p.q");
}

}  // namespace
}  // namespace graphmat

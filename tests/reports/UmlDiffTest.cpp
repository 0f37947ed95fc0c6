// The variant raw lists and the UML difference report of a hand-set
// matching against an outside difference listing.
//
// fixtures/reports/signatures.txt and signatures-b.txt differ in three
// places: p.C.run() became p.C.go$1(), p.D became p.E (with its attribute
// n), and the first parameter type of p.C.m moved from x.y to a.b. The
// matching pairs every vertex with the vertex of the same number.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/TestSupport.h"
#include "matching/Cost.h"
#include "matching/Match.h"

namespace graphmat {
namespace {

using test::CaptureStderr;
using test::CaptureStdout;
using test::fixture;
using test::readFile;
using test::ScratchDir;
using test::writeFile;

const std::string RUN = "signatures__signatures-b__1__0.5__1__1__0__1";
const std::string LISTING = "results/uml/uml_signatures_signatures-b.csv";
const std::string REPORT = "results/raw_" + RUN + ".csv_umldiff.csv";

class RenamedPair {
public:
    Cost costs;
    std::unique_ptr<Graph> g1, g2;
    std::unique_ptr<Match> m;

    RenamedPair() {
        CaptureStdout quiet;
        costs.initMode1(1, 0.5, 1, 1, 0);
        g1 = std::make_unique<Graph>(12, fixture("reports/signatures.txt"));
        g2 = std::make_unique<Graph>(12, fixture("reports/signatures-b.txt"));
        m = std::make_unique<Match>(g1.get(), g2.get(), &costs, 1, 3);
        std::fill(m->M12.begin(), m->M12.end(), -1);
        std::fill(m->M21.begin(), m->M21.end(), -1);
        for (int i = 0; i < 8; ++i) pairUp(m->M12, m->M21, i, i);
    }

    std::string rawPrint2() {
        CaptureStdout out;
        m->rawPrint2();
        return out.text();
    }
};

const std::string HEADERS[] = {"\n\n M1 inter M2 \n\n", "\n\n M1 - M2 \n\n", "\n\n M2 - M1 \n\n",
                               "\n\n M1 - M2 (not in their files) \n\n", "\n\n M2 - M1 (not in my graph) \n\n"};

TEST(UmlDiff, VariantRawListsUseShortNames) {
    ScratchDir dir;
    CaptureStderr missingListing;
    RenamedPair pair;
    pair.rawPrint2();
    EXPECT_EQ(readFile("results/raw_signatures.csv"),
              "\"class\",\"category\"\n.,\"Package\"\np,\"Package\"\np.C,\"Class\"\np.C.m(String,int),\"Method\"\n"
              "p.C.m(int),\"Method\"\np.C.run(),\"Method\"\np.D,\"Class\"\np.D.n,\"Field\"\n");
    EXPECT_NE(readFile("results/raw_signatures-b.csv").find("\np.C.go.1(),\"Method\"\n"), std::string::npos);
    // p.C.m(x.y.String,int) and p.C.m(a.b.String,int) share their short name.
    EXPECT_EQ(readFile("results/raw_" + RUN + ".csv"),
              "\"class1\",\"class2\",\"category\"\n\"p.C.run()\",\"p.C.go.1()\",\"Method\"\n"
              "\"p.D\",\"p.E\",\"Class\"\n\"p.D.n\",\"p.E.n\",\"Field\"\n");
    EXPECT_EQ(readFile("results/raw_" + RUN + ".csv_MERGES.csv"), "");
}

TEST(UmlDiff, SectionsAgainstAListing) {
    ScratchDir dir;
    std::filesystem::create_directory("results/uml");
    writeFile(LISTING,
              "\"p.D__p.E\"\n"                       // the matching's pair: section 1
              "\"p.C.m(int)__p.C.m(String,int)\"\n"  // both found, texts differ: section 3
              "\"p.Z__p.C\"\n"                       // p.Z is not in graph 1: section 5
              "\"p.D.n__ \r\n"                       // names p.D.n only: no pair
              "\n"
              "no separator\n"
              "x__\n");
    RenamedPair pair;
    const std::string console = pair.rawPrint2();
    EXPECT_EQ(readFile(REPORT), HEADERS[0] + "\"p.D__p.E\"\n" + HEADERS[1] + ",\"p.D.n__p.E.n\"\n" + HEADERS[2] +
                                    ",\"p.C.m(int)__p.C.m(String,int)\"\n" + HEADERS[3] +
                                    ",\"p.C.run()__p.C.go.1()\"\n" + HEADERS[4] + ",\"p.Z__p.C\"\n");
    const std::string alternatives = readFile("results/alternatives_signatures-b__signatures__1__0.5__1__1__0__1.csv.csv");
    EXPECT_EQ(alternatives.rfind("\n,,1-----\n4_p.C.m_public;void;m;int,3_p.C.m_public;void;m;a.b.String;int,", 0), 0u)
        << alternatives;
    // The listed pair of the matching names p.D.n, below the arc labelled 94.
    EXPECT_EQ(readFile("results/alternatives_" + RUN + ".csv.csv"), "");
    EXPECT_NE(console.find("\np.D.n\tp.E.n"), std::string::npos);
}

TEST(UmlDiff, WithoutAListingEveryPairIsUnknownToIt) {
    ScratchDir dir;
    RenamedPair pair;
    CaptureStderr err;
    pair.rawPrint2();
    EXPECT_EQ(readFile(REPORT), HEADERS[0] + HEADERS[1] + HEADERS[2] + HEADERS[3] +
                                    ",\"p.C.run()__p.C.go.1()\"\n,\"p.D.n__p.E.n\"\n,\"p.D__p.E\"\n" + HEADERS[4]);
    EXPECT_NE(err.text().find("./" + LISTING), std::string::npos) << err.text();
    EXPECT_EQ(readFile("results/alternatives_" + RUN + ".csv.csv"), "");
}

}  // namespace
}  // namespace graphmat

// The diagram difference report on tiny sets of entity and pair lists.
#include <gtest/gtest.h>

#include <optional>

#include "support/TestSupport.h"
#include "reports/CsvDiff.h"

namespace graphmat {
namespace {

using test::readFile;
using test::ScratchDir;
using test::writeFile;

using Text = std::optional<std::string>;  // no value: the file does not exist

const std::string ENTITIES1 = "\"class\",\"category\"\n\"a.A\",\"Class\"\n\"a.B\",\"Class\"\n";
const std::string ENTITIES2 = "\"class\",\"category\"\n\"a.A2\",\"Class\"\n\"a.B\",\"Class\"\n";
const std::string PAIRS_HEADER = "\"class1\",\"class2\",\"category\"\n";

std::string report(const std::string& both, const std::string& runOnly, const std::string& referenceOnly) {
    return "\n\n M1 inter M2 \n\n" + both + "\n\n M1 - M2 \n\n" + runOnly + "\n\n M2 - M1 \n\n" + referenceOnly;
}

struct DiffCase {
    const char* name;
    Text raw1, raw2, ref1, ref2, pairs, refPairs;
    std::string expected;
    std::vector<std::string> missing;  // files named on standard error
};

void PrintTo(const DiffCase& c, std::ostream* out) { *out << c.name; }

class CsvDiffTable : public ::testing::TestWithParam<DiffCase> {};

TEST_P(CsvDiffTable, WritesTheKeysOfBothPairings) {
    const DiffCase& c = GetParam();
    ScratchDir dir;
    const std::pair<const Text*, std::string> inputs[] = {
        {&c.raw1, "./results/raw_g1.csv"},       {&c.raw2, "./results/raw_g2.csv"},
        {&c.ref1, "./results/uml_g1.csv"},       {&c.ref2, "./results/uml_g2.csv"},
        {&c.pairs, "./results/raw_g1__g2.csv"}, {&c.refPairs, "./results/uml_g1__g2.csv"},
    };
    for (const auto& [content, path] : inputs)
        if (content->has_value()) writeFile(path, **content);

    test::CaptureStderr errors;
    csvDiff("./results/raw_g1.csv", "./results/raw_g2.csv", "./results/uml_g1.csv", "./results/uml_g2.csv",
            "./results/raw_g1__g2.csv", "./results/uml_g1__g2.csv");

    EXPECT_EQ(readFile("./results/raw_g1__g2.csv_diff.csv"), c.expected);
    std::string named;
    for (const std::string& file : c.missing) named += "Cannot read ./results/" + file + ": No such file or directory\n";
    EXPECT_EQ(errors.text(), named);
}

INSTANTIATE_TEST_SUITE_P(
    Files, CsvDiffTable,
    ::testing::Values(
        DiffCase{"IdenticalPairings", ENTITIES1, ENTITIES2, ENTITIES1, ENTITIES2,
                 PAIRS_HEADER + "\"a.A\",\"a.A2\",Class\n", "\"a.A\",\"a.A2\",Class\n" + PAIRS_HEADER,
                 report("\"__a.B\"\n\"__class\"\n\"a.A__a.A2\"\n\"a.B__\"\n\"class__\"\n", "", ""),
                 {}},
        DiffCase{"RenameInTheRunOnly", ENTITIES1, ENTITIES2, ENTITIES1, ENTITIES2,
                 PAIRS_HEADER + "\"a.A\",\"a.A2\",Class\n", PAIRS_HEADER,
                 report("\"__a.B\"\n\"__class\"\n\"a.B__\"\n\"class__\"\n", ",\"a.A__a.A2\"\n",
                        ",\"__a.A2\"\n,\"a.A__\"\n"),
                 {}},
        DiffCase{"RenameInTheReferenceOnly", ENTITIES1, ENTITIES2, ENTITIES1, ENTITIES2, PAIRS_HEADER,
                 "\"a.A\",\"a.A2\",Class\n", report("\"__a.B\"\n\"__class\"\n\"a.B__\"\n\"class__\"\n",
                                                     ",\"__a.A2\"\n,\"a.A__\"\n", ",\"a.A__a.A2\"\n"),
                 {}},
        // A merge: a.A has two partners among the common entities.
        DiffCase{"TwoPartners", ENTITIES1, ENTITIES2, ENTITIES1, ENTITIES2,
                 PAIRS_HEADER + "\"a.A\",\"a.A2\",Class\n\"a.A\",\"a.B\",Class\n", "\"a.A\",\"a.A2\",Class\n",
                 report("\"__class\"\n\"a.A__a.A2\"\n\"a.B__\"\n\"class__\"\n", ",\"a.A__a.B\"\n", ",\"__a.B\"\n"),
                 {}},
        // z.Z is listed by the run only, so the pair to it gives no key.
        DiffCase{"PartnerOutsideTheCommonEntities", ENTITIES1, ENTITIES2 + "\"z.Z\",\"Class\"\n", ENTITIES1,
                 ENTITIES2, "\"a.A\",\"z.Z\",Class\n", "\"a.A\",\"z.Z\",Class\n",
                 report("\"__a.A2\"\n\"__a.B\"\n\"__class\"\n\"a.A__\"\n\"a.B__\"\n\"class__\"\n", "", ""), {}},
        // Carriage returns, empty lines, lines without the separator or
        // with an empty first piece, and a missing reference pair list.
        DiffCase{"MalformedAndCrlfLines",
                 "\"class\",\"category\"\r\n\r\n\"a.A\",\"Class\"\r\n\",\"Class\"\r\n", "\"a.A2\",\"Class\"\r\n",
                 "\"a.A\",\"Class\"\n\n\"class\",\"category\"\n", "\"a.A2\",\"Class\"\r\r\n",
                 "\"class1\",\"class2\",\"category\"\r\n\"a.A\",\"a.A2\",Class\r\nno separator\r\n\"only\",\r\n"
                 "\",\"a.A2\",Class\r\n\r\n",
                 std::nullopt, report("\"class__\"\n", ",\"a.A__a.A2\"\n", ",\"__a.A2\"\n,\"a.A__\"\n"),
                 {"uml_g1__g2.csv"}},
        DiffCase{"NothingToRead", std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt,
                 std::nullopt, report("", "", ""),
                 {"raw_g1.csv", "uml_g1.csv", "raw_g2.csv", "uml_g2.csv", "raw_g1__g2.csv", "uml_g1__g2.csv"}}),
    [](const ::testing::TestParamInfo<DiffCase>& info) { return std::string(info.param.name); });

TEST(CsvDiff, NamesKeepTheClosingQuoteOfTheLastField) {
    ScratchDir dir;
    writeFile("pairs.csv", "\"a\",\"b\"\n\"a\",\"c\",Class\n\"d\",\"e\",x,y\n");
    writeFile("entities.csv", "\"one\"\n\"two\",\"Class\"\n");
    writeFile("others.csv", "\"one\"\n\"two\",\"Field\"\n");

    auto pairs = readMatchFile("pairs.csv");
    ASSERT_NE(pairs, nullptr);
    std::vector<std::pair<std::string, std::string>> read(pairs->begin(), pairs->end());
    EXPECT_EQ(read, (std::vector<std::pair<std::string, std::string>>{{"a", "b\""}, {"a", "c"}, {"d", "e"}}));

    auto common = getDiagramsIntersection("entities.csv", "others.csv");
    ASSERT_NE(common, nullptr);
    EXPECT_EQ(*common, (std::set<std::string>{"one\"", "two"}));
}

TEST(CsvDiff, KeysComeOutInByteOrder) {
    ScratchDir dir;
    // Upper case, "_" and bytes above 0x7f sort by their unsigned values.
    writeFile("e1.csv", "\"b\",\n\"B\",\n\"_x\",\n\"\xc3\xa9t\xc3\xa9\",\n");
    writeFile("e2.csv", "");
    csvDiff("e1.csv", "e2.csv", "e1.csv", "e2.csv", "p.csv", "q.csv");
    EXPECT_EQ(readFile("p.csv_diff.csv"),
              report("\"B__\"\n\"_x__\"\n\"b__\"\n\"\xc3\xa9t\xc3\xa9__\"\n", "", ""));
}

}  // namespace
}  // namespace graphmat

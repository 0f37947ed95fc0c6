// Identifier words and signature pieces.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "graph/stdafx.h"

namespace graphmat {
namespace {

using Words = std::vector<std::string>;

struct SplitterCase {
    std::string id;
    Words words;
};

TEST(IdSplitter, CutsAtSeparatorsAndCaseChanges) {
    const std::vector<SplitterCase> cases = {
        {"getName", {"get", "Name"}},
        {"getNameCount", {"get", "Name", "Count"}},
        {"GetName", {"Get", "Name"}},
        {"getX", {"getX"}},
        {"GetX", {"Get", "X"}},
        {"HTMLParser", {"HTML", "Parser"}},
        {"getHTMLParser", {"get", "HTML", "Parser"}},
        {"parseHTML", {"parse", "HTML"}},
        {"IOException", {"IO", "Exception"}},
        {"XMLFileReader", {"XML", "File", "Reader"}},
        {"setURLForX", {"set", "URL", "For", "X"}},
        {"ABcd", {"A", "Bcd"}},
        {"ABc", {"ABc"}},
        {"ABCDe", {"ABCDe"}},
        {"getIDs", {"get", "IDs"}},
        {"aBcD", {"a", "Bc", "D"}},
        {"getA1B", {"get", "A1", "B"}},
        {"page2Count", {"page2", "Count"}},
        {"iPhone", {"i", "Phone"}},
        {"my_var_Name", {"my", "var", "Name"}},
        {"_name", {"name"}},
        {"list*", {"list"}},
        {"Outer$Inner", {"Outer", "Inner"}},
        {"List<String>", {"List<", "String>"}},
        {"AB", {"AB"}},
        {"Ab", {"Ab"}},
        {"aB", {"aB"}},
        {"ab", {"ab"}},
        {"$", {"$"}},
        {"_", {"_"}},
        {"x", {"x"}},
        {"X", {"X"}},
        {"HTTP", {"HTTP"}},
        {"a_b", {"a", "b"}},
        {"two  blanks", {"two", "blanks"}},
        {"A_B_C", {"A", "B", "C"}},
        {"toString ", {"to", "String"}},
        {"URLs", {"URLs"}},
        {"AbcDEF", {"Abc", "DEF"}},
        {"abcDEFGhi", {"abc", "DEF", "Ghi"}},
        {"a1b2", {"a1b2"}},
        {"123", {"123"}},
    };
    for (const SplitterCase& c : cases) {
        auto words = IdSplitter(c.id);
        ASSERT_NE(words, nullptr) << "'" << c.id << "'";
        EXPECT_EQ(*words, c.words) << "'" << c.id << "'";
    }
}

TEST(IdSplitter, NothingToSplitIsNull) {
    for (const std::string id : {"", "__", "  ", "$_*", "$$", " * "}) EXPECT_EQ(IdSplitter(id), nullptr) << "'" << id << "'";
}

TEST(IdSplitter, BytesAboveAsciiAreSmallCharacters) {
    // UTF-8 and Latin-1 bytes are neither capitals nor separators.
    const std::vector<SplitterCase> cases = {
        {"caf\xC3\xA9Name", {"caf\xC3\xA9", "Name"}},
        {"\xC3\x89tatCourant", {"\xC3\x89tat", "Courant"}},
        {"get\xC9tat", {"get\xC9tat"}},
        {"ABC\xFF", {"ABC\xFF"}},
        {"XY\xE9z", {"X", "Y\xE9z"}},
        {"\xFF\xFE", {"\xFF\xFE"}},
    };
    for (const SplitterCase& c : cases) {
        auto words = IdSplitter(c.id);
        ASSERT_NE(words, nullptr);
        EXPECT_EQ(*words, c.words);
    }
}

TEST(TreatSpecif, CutsAtCommaUpToTypeThreeAndAtAtAbove) {
    struct Case {
        std::string text;
        int type;
        Words pieces;
    };
    const std::vector<Case> cases = {
        {",util.text.Label,getName", 3, {"", "Label", "getName"}},
        {"static,int,size,", 2, {"static", "int", "size"}},
        {"ui.Panel@show@", 6, {"Panel", "show"}},
        {"a@b,c.d", 3, {"a@b", "d"}},    // type 3: no cut at "@"
        {"a,b@c.d", 4, {"a,b", "d"}},    // type 4: no cut at ","
        {"public,void,main,java.lang.String[],int", 2, {"public", "void", "main", "String[]", "int"}},
        {"x.", 2, {""}},
        {" ", 8, {" "}},
        {"a,,b", 0, {"a", "", "b"}},
    };
    for (const Case& c : cases) {
        auto pieces = treatSpecif(c.text, c.type);
        ASSERT_NE(pieces, nullptr) << "'" << c.text << "'";
        EXPECT_EQ(*pieces, c.pieces) << "'" << c.text << "' type " << c.type;
    }
    EXPECT_EQ(treatSpecif("", 2), nullptr);
    EXPECT_EQ(treatSpecif("", 6), nullptr);
}

}  // namespace
}  // namespace graphmat

// Methods and attributes parsed from their "@"-separated texts.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "graph/ClassMembers.h"
#include "support/TestSupport.h"

namespace graphmat {
namespace {

struct MethodCase {
    std::string spec;
    short visibility;
    bool isStatic, isAbstract, isFinal;
    std::string properties, output, name, inputs, written;
};

TEST(ClassMethod, ParsesMethodTexts) {
    const std::vector<MethodCase> cases = {
        {"public static@void@main@(String[])", 2, true, false, false, "public static", "void", "main", "String[]",
         "public static,void,main,String[]"},
        {"int@getSize@()", 2, false, false, false, "", "int", "getSize", "", ",int,getSize,"},
        {"private@int@add@(int,String)", 0, false, false, false, "private", "int", "add", "int,String",
         "private,int,add,int,String"},
        {"PROTECTED FINAL@x@f@(a)", 1, false, false, true, "PROTECTED FINAL", "x", "f", "a",
         "PROTECTED FINAL,x,f,a"},
        {"Protected@x@f@(a)", 2, false, false, false, "Protected", "x", "f", "a", "Protected,x,f,a"},
        {"private protected@x@f@()", 1, false, false, false, "private protected", "x", "f", "",
         "private protected,x,f,"},
        {"protected private@x@f@()", 0, false, false, false, "protected private", "x", "f", "",
         "protected private,x,f,"},
        {"abstract ABSTRACT static@T@run@()", 2, true, true, false, "abstract ABSTRACT static", "T", "run", "",
         "abstract ABSTRACT static,T,run,"},
        {"public  synchronized Static@void@go@()", 2, false, false, false, "public  synchronized Static", "void", "go",
         "", "public  synchronized Static,void,go,"},
        {"a@b@c@(d)@e", 2, false, false, false, "a", "b", "c", "d", "a,b,c,d"},
        {"@void@run@()", 2, false, false, false, "", "void", "run", "", ",void,run,"},
        {" static @ int @ f @(x)", 2, true, false, false, " static ", " int ", " f ", "x", " static , int , f ,x"},
        {"int@f@(a)\r", 2, false, false, false, "", "int", "f", "a)", ",int,f,a)"},
        {"int@f@x", 2, false, false, false, "", "int", "f", "", ",int,f,"},
    };
    for (const MethodCase& c : cases) {
        ClassMethod m(c.spec);
        SCOPED_TRACE("'" + c.spec + "'");
        EXPECT_EQ(m.visibility, c.visibility);
        EXPECT_EQ(m._static, c.isStatic);
        EXPECT_EQ(m._abstract, c.isAbstract);
        EXPECT_EQ(m._final, c.isFinal);
        EXPECT_FALSE(m._constant);
        EXPECT_EQ(m.properties, c.properties);
        EXPECT_EQ(m.output, c.output);
        EXPECT_EQ(m.name, c.name);
        EXPECT_EQ(m.inputs, c.inputs);
        EXPECT_EQ(m.write(), c.written);
    }
}

TEST(ClassMethod, TextsOutsideTheSyntaxReadMissingPartsAsEmpty) {
    struct Case {
        std::string spec, properties, output, name, inputs;
    };
    const std::vector<Case> cases = {
        {"", "", "", "", ""},
        {"x", "", "x", "", ""},
        {"@", "", "", "", ""},
        {"int@getSize@", "", "int", "getSize", ""},
        {"a@b@c@@e", "a", "b", "c", ""},
        {"static@int@f@", "", "static", "int", ""},
        {"@@@", "", "", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("'" + c.spec + "'");
        auto m = std::make_unique<ClassMethod>(c.spec);
        EXPECT_EQ(m->properties, c.properties);
        EXPECT_EQ(m->output, c.output);
        EXPECT_EQ(m->name, c.name);
        EXPECT_EQ(m->inputs, c.inputs);
        EXPECT_EQ(m->visibility, 2);
    }
}

TEST(ClassMethod, CompareLooksAtNameReturnTypeAndParametersOnly) {
    ClassMethod a("public static@int@size@(int)");
    ClassMethod b("private final@int@size@(int)");
    ClassMethod otherName("@int@count@(int)");
    ClassMethod otherType("@long@size@(int)");
    ClassMethod otherInputs("@int@size@()");
    EXPECT_EQ(a.compare(b), 1);
    EXPECT_EQ(b.compare(a), 1);
    EXPECT_EQ(a.compare(otherName), 0);
    EXPECT_EQ(a.compare(otherType), 0);
    EXPECT_EQ(a.compare(otherInputs), 0);
}

TEST(ClassMethod, CopyKeepsEveryMember) {
    ClassMethod a("protected static final abstract@int@size@(int)");
    ClassMethod copy(a);
    EXPECT_EQ(copy.visibility, 1);
    EXPECT_TRUE(copy._static);
    EXPECT_TRUE(copy._final);
    EXPECT_TRUE(copy._abstract);
    EXPECT_FALSE(copy._constant);
    EXPECT_EQ(copy.write(), a.write());
    EXPECT_EQ(copy.compare(a), 1);
}

TEST(ClassMethod, PrintWritesVisibilityTypesAndName) {
    ClassMethod m("private@int@add@(int,String)");
    test::CaptureStdout capture;
    m.print();
    EXPECT_EQ(capture.text(), "0 int add int,String\n");
}

struct AttributeCase {
    std::string spec;
    short visibility;
    bool isStatic, isFinal;
    std::string properties, type, name, written;
};

TEST(ClassAttribute, ParsesAttributeTexts) {
    const std::vector<AttributeCase> cases = {
        {"private@int@count", 0, false, false, "private", "int", "count", "private,int,count"},
        {"String@name", 2, false, false, "", "String", "name", ",String,name"},
        {"STATIC FINAL PROTECTED@long@ID", 1, true, true, "STATIC FINAL PROTECTED", "long", "ID",
         "STATIC FINAL PROTECTED,long,ID"},
        {"public@List<A>@items", 2, false, false, "public", "List<A>", "items", "public,List<A>,items"},
        {"@int@x", 2, false, false, "", "int", "x", ",int,x"},
        {"int@x\r", 2, false, false, "", "int", "x\r", ",int,x\r"},
    };
    for (const AttributeCase& c : cases) {
        ClassAttribute a(c.spec);
        SCOPED_TRACE("'" + c.spec + "'");
        EXPECT_EQ(a.visibility, c.visibility);
        EXPECT_EQ(a._static, c.isStatic);
        EXPECT_EQ(a._final, c.isFinal);
        EXPECT_FALSE(a._abstract);
        EXPECT_FALSE(a._constant);
        EXPECT_EQ(a.properties, c.properties);
        EXPECT_EQ(a.type, c.type);
        EXPECT_EQ(a.name, c.name);
        EXPECT_EQ(a.write(), c.written);
    }
}

TEST(ClassAttribute, TextsOutsideTheSyntaxReadMissingPartsAsEmpty) {
    struct Case {
        std::string spec, properties, type, name;
    };
    const std::vector<Case> cases = {
        {"", "", "", ""},
        {"x", "", "x", ""},
        {"int@", "", "int", ""},
        {"static@int@x@extra", "static", "int", "x"},
        {"@@", "", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("'" + c.spec + "'");
        auto a = std::make_unique<ClassAttribute>(c.spec);
        EXPECT_EQ(a->properties, c.properties);
        EXPECT_EQ(a->type, c.type);
        EXPECT_EQ(a->name, c.name);
    }
}

TEST(ClassAttribute, CompareLooksAtNameAndTypeOnly) {
    ClassAttribute a("private static@int@count");
    EXPECT_EQ(a.compare(ClassAttribute("public@int@count")), 1);
    EXPECT_EQ(a.compare(ClassAttribute("int@count")), 1);
    EXPECT_EQ(a.compare(ClassAttribute("long@count")), 0);
    EXPECT_EQ(a.compare(ClassAttribute("int@total")), 0);
    ClassAttribute copy(a);
    EXPECT_EQ(copy.visibility, 0);
    EXPECT_TRUE(copy._static);
    EXPECT_EQ(copy.write(), "private static,int,count");
}

TEST(ClassAttribute, PrintStartsWithANewLineAndEndsWithoutOne) {
    ClassAttribute a("protected@int@count");
    test::CaptureStdout capture;
    a.print();
    EXPECT_EQ(capture.text(), "\n1,int,count");
}

}  // namespace
}  // namespace graphmat

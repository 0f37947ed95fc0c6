// Readers of the class diagram file: a header, then class lines ("c,"),
// attribute and method lines ("a,", "m,") naming their class by number, and
// relation lines ("r,") between classes.
//   mode 4: one vertex per class, the members parsed into their class vertex;
//   mode 5: classes and relations only;
//   mode 8: mode 4 plus the package tree of the dotted class names, levels and
//           a containment arc (label 3) from each class and package to its
//           package;
//   mode 9: packages, classes, methods and attributes all as vertices, with
//           the containment (9) and typing (6, 7, 8) relations derived.
#include <algorithm>
#include <iostream>
#include <map>

#include "graph/ClassMembers.h"
#include "graph/ConsolePause.h"
#include "graph/Graph.h"
#include "graph/GraphFileFields.h"
#include "graph/InputFiles.h"

namespace graphmat {

namespace {

const std::string ROOT_PACKAGE = ".";

// What the line-by-line readers (modes 4, 5 and 8) make of a file.
struct ClassDiagramStyle {
    bool typedClasses;  // class vertices get type 1 and enter `classes`
    bool members;       // attribute and method lines are parsed into their class
};

// The class vertex of a member line: the class number of field 2 must be
// the position of a class already read (`classCount` of them). Otherwise the
// line is reported and skipped (-1).
int memberClass(const std::vector<std::string>& fields, const std::string& line, int classCount,
                std::ostream& trace) {
    int number = -1;
    if (intField(fields, 1, number) && number >= 0 && number < classCount) return number;
    trace << "\n Class does not exist: " << line << " !!!!";
    return -1;
}

// True when field 1 of a member line names a class read so far (without a
// word when it does not).
bool namesAClass(const std::vector<std::string>& fields, int classCount) {
    int number = -1;
    return intField(fields, 1, number) && number >= 0 && number < classCount;
}

// The method spec of a method line: field 3 and every later field, with the
// commas between them (the parameter list holds commas).
std::string methodSpec(const std::vector<std::string>& fields) {
    std::string spec = fields[2];
    for (std::size_t k = 3; k < fields.size(); ++k) spec += "," + fields[k];
    return spec;
}

std::size_t dotCount(const std::string& label) {
    return static_cast<std::size_t>(std::count(label.begin(), label.end(), '.'));
}

// The level of a class or package below the root: its number of "." + 1.
short treeLevel(const std::string& label) { return static_cast<short>(dotCount(label) + 1); }

// The package tree of the dotted class names: package paths in order of
// discovery, "." first (package 0).
struct PackageTree {
    std::vector<std::string> paths{ROOT_PACKAGE};
    std::map<std::string, int> numbers{{ROOT_PACKAGE, 0}};

    // Registers the packages of a class label: every non-empty prefix of its
    // path (the text before its last ".") that ends before a ".", and the
    // whole path. A label without "." (or whose path is empty) belongs to ".".
    void addClass(const std::string& label) {
        std::size_t last = label.rfind('.');
        if (last == std::string::npos) return;
        const std::string path = label.substr(0, last);
        for (std::size_t dot = path.find('.'); dot != std::string::npos; dot = path.find('.', dot + 1))
            if (dot > 0) add(path.substr(0, dot));
        if (!path.empty()) add(path);
    }

    void add(const std::string& path) {
        if (numbers.emplace(path, static_cast<int>(paths.size())).second) paths.push_back(path);
    }

    // The package number of the parent of a class or package label: the
    // text before its last "." (or "." when it has none or that text is
    // empty); a path that is no package hangs below "." as well.
    std::pair<std::string, int> parentOf(const std::string& label) const {
        std::size_t last = label.rfind('.');
        std::string path = last == std::string::npos || last == 0 ? ROOT_PACKAGE : label.substr(0, last);
        auto found = numbers.find(path);
        return {path, found == numbers.end() ? 0 : found->second};
    }

    int size() const { return static_cast<int>(paths.size()); }
};

// The message of a class or package whose level or parent does not fit.
void checkContainment(const Vertex& v, const Vertex& parent, const std::string& parentPath, std::ostream& trace) {
    if (v.level == parent.level + 1 && parent.label == parentPath) return;
    trace << "\n!!!!!!!!!!!!!!!!!!!!!! \t" << v.label << "(" << v.level << ") --> " << parent.label << "("
              << parent.level << ")\n";
}

// A class vertex from a class line, numbered by its position: type, label
// (empty when the line has none) and weights.
std::unique_ptr<Vertex> classVertex(const std::vector<std::string>& fields, int position, short type) {
    auto v = std::make_unique<Vertex>();
    v->type = type;
    v->setNumber(position);
    v->setLabel(fieldAt(fields, 2));
    readWeightFields(fields, 3, *v);
    return v;
}

// One line after the header of modes 4, 5 and 8. A member line of mode 5,
// which keeps no members, is checked all the same. A class line out of
// order or without a label reads leniently; a member or relation line cut
// short or naming a class the file does not hold is a fault of the file.
LineRead readClassDiagramLine(Graph& g, const std::string& line, std::vector<std::string>& fields,
                              const ClassDiagramStyle& style, int& edgeCounter) {
    if (line.size() < 2 || line[1] != ',') return LineRead::No;
    const int classCount = static_cast<int>(g.V.size());
    switch (line[0]) {
        case 'c': {
            const int position = classCount;
            std::unique_ptr<Vertex> v = classVertex(fields, position, style.typedClasses ? 1 : 0);
            const bool inOrder = checkVertexOrder(fields, 1, v->label, position, *g.reading.trace);
            if (style.typedClasses && fields.size() > 2) g.classes->emplace(simpleName(v->label), position);
            g.V.push_back(std::move(v));
            return inOrder && fields.size() > 2 ? LineRead::Cleanly : LineRead::Leniently;
        }
        case 'a': {
            if (fields.size() < 3) return LineRead::Faulty;  // a member line cut short
            if (!style.members) return namesAClass(fields, classCount) ? LineRead::Cleanly : LineRead::Faulty;
            const int owner = memberClass(fields, line, classCount, *g.reading.trace);
            if (owner < 0) return LineRead::Faulty;
            auto attribute = std::make_unique<ClassAttribute>(fields[2]);
            std::string key = attribute->type + "_" + attribute->name;
            g.V[owner]->attributes.emplace(std::move(key), std::move(attribute));
            return LineRead::Cleanly;
        }
        case 'm': {
            if (fields.size() < 3) return LineRead::Faulty;
            if (!style.members) return namesAClass(fields, classCount) ? LineRead::Cleanly : LineRead::Faulty;
            const int owner = memberClass(fields, line, classCount, *g.reading.trace);
            if (owner < 0) return LineRead::Faulty;
            auto method = std::make_unique<ClassMethod>(methodSpec(fields));
            std::string key = method->output + "_" + method->name;
            g.V[owner]->methods.emplace(std::move(key), std::move(method));
            return LineRead::Cleanly;
        }
        case 'r': {
            std::unique_ptr<Edge> e = readArcFields(fields, 1, edgeCounter);
            if (!e) return LineRead::Faulty;  // a relation line cut short
            ++edgeCounter;
            return g.insertEdge(std::move(e)) ? LineRead::Cleanly : LineRead::Faulty;
        }
        default: return LineRead::No;
    }
}

// The line-by-line reading of modes 4, 5 and 8 (the second reading of mode
// 8): header, classes, members and relations. Returns the header's fields.
std::vector<std::string> readClassDiagramLines(Graph& g, std::istream& file, const ClassDiagramStyle& style,
                                               int& edgeCounter) {
    std::vector<std::string> headerFields;
    std::string line;
    bool header = true;
    while (readLine(file, line)) {
        std::vector<std::string> fields = lineFields(line);
        if (header) {
            header = false;
            g.reading.account.header(line, intField(fields, 0, g.vertices));
            intField(fields, 1, g.edges);
            headerFields = std::move(fields);
            continue;
        }
        g.reading.account.line(line, readClassDiagramLine(g, line, fields, style, edgeCounter));
    }
    return headerFields;
}

}  // namespace

void Graph::initMode4(std::istream& file) {
    classes = std::make_unique<std::multimap<std::string, int>>();
    int edgeCounter = 0;
    readClassDiagramLines(*this, file, ClassDiagramStyle{true, true}, edgeCounter);
}

void Graph::initMode5(std::istream& file) {
    int edgeCounter = 0;
    readClassDiagramLines(*this, file, ClassDiagramStyle{false, false}, edgeCounter);
}

void Graph::initMode8(std::istream& file) {
    // Round 1: the packages of every class label.
    *reading.trace << "\n ROUND 1: START \n";
    PackageTree tree;
    std::string line;
    while (readLine(file, line)) {
        if (line.compare(0, 2, "c,") != 0) continue;
        std::vector<std::string> fields = lineFields(line);
        tree.addClass(fieldAt(fields, 2));
    }
    file.clear();
    file.seekg(0);
    *reading.trace << "\n ROUND 1: END \n";

    // Second reading: as mode 4.
    classes = std::make_unique<std::multimap<std::string, int>>();
    int edgeCounter = 0;
    const std::vector<std::string> header =
        readClassDiagramLines(*this, file, ClassDiagramStyle{true, true}, edgeCounter);
    const int classCount = static_cast<int>(V.size());
    // The package vertices follow the classes actually read, whatever the
    // header announced, so that every parent found below is a package. A
    // header that miscounts is reported (a file without lines has none).
    int announced = -1;
    const bool counted = intField(header, 0, announced);
    if ((counted || classCount > 0) && announced != classCount)
        *reading.trace << "\n!!!!!!!!!!!!!!!!!!!!!! \tHeader: " << fieldAt(header, 0) << " classes, " << classCount
                  << " read\n";

    // Round 2: package vertices.
    *reading.trace << "\n ROUND 2: START \n";
    for (int i = 0; i < tree.size(); ++i) {
        const std::string& path = tree.paths[i];
        auto v = std::make_unique<Vertex>();
        v->type = 0;
        v->setNumber(classCount + i);
        v->setLabel(path);
        v->level = path == ROOT_PACKAGE ? 0 : treeLevel(path);
        V.push_back(std::move(v));
    }
    *reading.trace << "\n ROUND 2: END \n";

    // Round 3: levels of the classes and the containment arcs.
    *reading.trace << "\n ROUND 3: START \n";
    for (int p = 0; p < static_cast<int>(V.size()); ++p) {
        Vertex& v = *V[p];
        if (v.type != 0) v.level = treeLevel(v.label);
        if (v.label == ROOT_PACKAGE) continue;
        const auto [parentPath, package] = tree.parentOf(v.label);
        const Vertex& parent = *V[classCount + package];
        checkContainment(v, parent, parentPath, *reading.trace);
        auto e = std::make_unique<Edge>(v.number, parent.number, "3");
        e->setNumber(edgeCounter++);
        insertEdge(std::move(e));
    }
    *reading.trace << "\n ROUND 3: END \n";
}

namespace {

// A relation of mode 9 before it becomes an edge: from, to, label, and the
// number of its line in the file (0 for a derived relation).
struct RelationLine {
    int from;
    int to;
    std::string label;
    int line = 0;
};

// The typing relation of a member to the class that a piece of its
// signature names, when it names one.
void deriveTyping(std::vector<RelationLine>& relations, const std::map<std::string, int>& classByLabel, int member,
                  const std::string& typeName, const char* kind) {
    auto found = classByLabel.find(typeName);
    if (found != classByLabel.end()) relations.push_back({member, found->second, kind});
}

}  // namespace

void Graph::initMode9(std::istream& file) {
    nbPackages = nbClasses = nbMethods = nbAttributes = 0;
    PackageTree tree;

    // Line pass: the lines sorted by kind; packages from the class labels.
    std::vector<std::vector<std::string>> classLines, methodLines, attributeLines;
    std::vector<int> classLineNumbers;  // in the file, one per class line
    struct MemberLine {
        std::string text;  // for the messages
        std::vector<std::string> fields;
        int number;  // in the file
    };
    std::vector<MemberLine> memberLines;
    std::vector<RelationLine> relations;
    int fileRelations = 0;
    std::string line;
    while (readLine(file, line)) {
        std::vector<std::string> fields = lineFields(line);
        int count = 0;
        if (reading.account.lines() == 0 && intField(fields, 0, count)) {  // the header, not read in this mode
            reading.account.header(line, true);
            continue;
        }
        bool reads = line.size() > 1 && line[1] == ',';
        bool cutShort = false;  // a member or relation line without its fields: a fault
        switch (reads ? line[0] : '\0') {
            case 'c':
                tree.addClass(fieldAt(fields, 2));
                classLines.push_back(std::move(fields));
                classLineNumbers.push_back(reading.account.lines() + 1);
                break;
            case 'a':
            case 'm':
                // A member line names its class and carries a spec.
                reads = fields.size() >= 3;
                cutShort = !reads;
                if (reads) memberLines.push_back({line, std::move(fields), reading.account.lines() + 1});
                break;
            case 'r': {
                // Weights of relation lines are not read here.
                std::unique_ptr<Edge> e = readArcFields(fields, 1, fileRelations, false);
                reads = e != nullptr;
                cutShort = !reads;
                if (e) {
                    relations.push_back({e->from, e->to, e->label, reading.account.lines() + 1});
                    ++fileRelations;
                }
                break;
            }
            default: reads = false; break;
        }
        // A class line without a label reads leniently.
        reading.account.line(line, cutShort                                            ? LineRead::Faulty
                           : !reads                                            ? LineRead::No
                           : line[0] == 'c' && classLines.back().size() <= 2 ? LineRead::Leniently
                                                                               : LineRead::Cleanly);
    }
    nbClasses = static_cast<int>(classLines.size());
    nbPackages = tree.size();

    // A relation of the file names two classes; one that names a number
    // beyond them is a fault of the file (the arc is made as read).
    for (const RelationLine& relation : relations)
        if (relation.from < 0 || relation.to < 0 || relation.from >= nbClasses || relation.to >= nbClasses)
            reading.account.mark(relation.line, LineRead::Faulty);

    // Members whose class number is no class are left out.
    for (MemberLine& member : memberLines) {
        if (memberClass(member.fields, member.text, nbClasses, *reading.trace) < 0) {
            reading.account.mark(member.number, LineRead::Faulty);
            continue;
        }
        (member.text[0] == 'm' ? methodLines : attributeLines).push_back(std::move(member.fields));
    }
    nbMethods = static_cast<int>(methodLines.size());
    nbAttributes = static_cast<int>(attributeLines.size());

    classes = std::make_unique<std::multimap<std::string, int>>();
    std::map<std::string, int> classByLabel;  // the first class of each label
    vertices = 0;

    // Classes, numbered by their position; a number field that disagrees is
    // reported (its line read only leniently) and the reading waits for the
    // user at a console.
    for (std::size_t c = 0; c < classLines.size(); ++c) {
        const std::vector<std::string>& fields = classLines[c];
        std::unique_ptr<Vertex> v = classVertex(fields, vertices, 1);
        if (!checkVertexOrder(fields, 1, v->label, vertices, *reading.trace)) {
            if (fields.size() > 2) reading.account.mark(classLineNumbers[c], LineRead::Leniently);
            pauseConsole();
        }
        classByLabel.emplace(v->label, vertices);
        V.push_back(std::move(v));
        ++vertices;
    }

    // Packages, in order of discovery.
    for (const std::string& path : tree.paths) {
        auto v = std::make_unique<Vertex>();
        v->type = 0;
        v->setNumber(vertices);
        v->setLabel(path);
        v->level = path == ROOT_PACKAGE ? 0 : treeLevel(path);
        if (path == ROOT_PACKAGE) root = vertices;
        V.push_back(std::move(v));
        ++vertices;
    }

    // Members: named after their class, signature in `specif`, contained by
    // their class and typed by the classes their signature names.
    auto addMember = [&](const std::vector<std::string>& fields, short type) {
        auto v = std::make_unique<Vertex>();
        v->type = type;
        const int number = vertices++;
        v->setNumber(number);
        int owner = 0;
        intField(fields, 1, owner);  // checked when the lines were sorted
        relations.push_back({number, owner, "9"});
        v->specif = type == 2 ? ClassMethod(methodSpec(fields)).write() : ClassAttribute(fields[2]).write();
        const std::vector<std::string> pieces = lineFields(v->specif);
        v->setLabel(V[owner]->label + "." + fieldAt(pieces, 2));
        if (type == 2) {
            deriveTyping(relations, classByLabel, number, fieldAt(pieces, 1), "8");
            for (std::size_t k = 3; k < pieces.size(); ++k) deriveTyping(relations, classByLabel, number, pieces[k], "7");
        } else {
            deriveTyping(relations, classByLabel, number, fieldAt(pieces, 1), "6");
        }
        V.push_back(std::move(v));
    };
    for (const auto& fields : methodLines) addMember(fields, 2);
    for (const auto& fields : attributeLines) addMember(fields, 3);

    // Levels of the classes and the containment of classes and packages.
    for (int p = 0; p < nbClasses + nbPackages; ++p) {
        Vertex& v = *V[p];
        if (v.type != 0) v.level = treeLevel(v.label);
        if (v.label == ROOT_PACKAGE) continue;
        const auto [parentPath, package] = tree.parentOf(v.label);
        const Vertex& parent = *V[nbClasses + package];
        checkContainment(v, parent, parentPath, *reading.trace);
        relations.push_back({v.number, parent.number, "9"});
    }

    // Relations: every containment runs from the container to the element;
    // a member takes the level below its container.
    int edgeCounter = 0;
    const int n = static_cast<int>(V.size());
    auto isVertex = [n](int k) { return k >= 0 && k < n; };
    for (RelationLine& relation : relations) {
        auto e = std::make_unique<Edge>(relation.from, relation.to, relation.label);
        e->setNumber(edgeCounter++);
        if (isVertex(relation.from)) e->type = V[relation.from]->type;
        if (relation.label == "9") {
            if (isVertex(relation.from) && isVertex(relation.to) && V[relation.from]->type >= 2)
                V[relation.from]->level = static_cast<short>(V[relation.to]->level + 1);
            std::swap(e->from, e->to);
        }
        insertEdge(std::move(e));
    }

    for (const auto& v : V) classes->emplace(simpleName(v->label), v->number);
}

}  // namespace graphmat

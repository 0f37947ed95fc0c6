// The model graph file reader: packages, classes, methods and attributes as
// vertices and their relations as labelled arcs. After the lines are read,
// each member is parsed and named after its container, typing relations are
// derived from the member signatures, relations that do not fit the types of
// their ends are reported, and package labels are qualified along the
// containment tree.
#include <iostream>
#include <unordered_map>

#include "graph/ClassMembers.h"
#include "graph/Graph.h"
#include "graph/GraphFileFields.h"
#include "graph/InputFiles.h"

namespace graphmat {

namespace {

constexpr int CONTAINMENT = 9;

// A method or attribute line and the vertex it made.
struct MemberLine {
    Vertex* vertex;
    std::vector<std::string> fields;
};

// A relation derived from a member signature: member -> class, kind digit.
struct DerivedArc {
    int from;
    int to;
    char kind;
};

// What tells the method pass from the attribute pass.
struct MemberKind {
    const char* word;          // "Method" or "Attribute", for the messages
    char resultKind;           // kind of the relation to the type in piece 1
    char parameterKind;        // kind of the relations to the types in pieces 3.. (0: none)
};

// True when `label` already names a package inside `container`: it equals
// the container's label or continues it after a ".".
bool isQualifiedBy(const std::string& label, const std::string& container) {
    if (label.size() < container.size() || label.compare(0, container.size(), container) != 0) return false;
    return label.size() == container.size() || label[container.size()] == '.';
}

// The container of a member: the source of the last containment edge into
// it, or -1. Every containment edge after the first is reported.
int memberParent(const Vertex& member, const MemberKind& kind, std::ostream& trace) {
    int parent = -1;
    for (const Edge* e : member.in) {
        if (e->labels[CONTAINMENT] <= 0) continue;
        if (parent >= 0)
            trace << "\n " << kind.word << " with more than one parent: " << member.number << ","
                      << member.label << " PARENTS [" << parent << "," << e->from << "]" << " !!!!";
        parent = e->from;
    }
    return parent;
}

}  // namespace

void Graph::initMode12(std::istream& file) {
    classes = std::make_unique<std::multimap<std::string, int>>();
    nbPackages = nbClasses = nbMethods = nbAttributes = 0;
    root = 0;
    int edgeCounter = 0;
    std::vector<MemberLine> methodLines, attributeLines;
    std::unordered_map<std::string, int> classByLabel;  // full class label -> first class vertex
    std::vector<DerivedArc> derived;

    // Line pass.
    std::string line;
    bool header = true;
    while (readLine(file, line)) {
        if (header) {
            header = false;
            std::vector<std::string> fields = lineFields(line);
            reading.account.header(line, intField(fields, 0, vertices));
            intField(fields, 1, edges);
            continue;
        }
        const char kind = line.size() < 2 || line[1] != ',' ? '\0' : line[0];
        std::vector<std::string> fields = lineFields(line);
        if (kind == 'r') {
            std::unique_ptr<Edge> e = readArcFields(fields, 1, edgeCounter);
            if (e) ++edgeCounter;
            // A relation cut short, or to a vertex the file does not hold, is
            // a fault of the file.
            reading.account.line(line, e && insertEdge(std::move(e)) ? LineRead::Cleanly : LineRead::Faulty);
            continue;
        }

        short type;
        switch (kind) {
            case 'p': type = 0; ++nbPackages; break;
            case 'c': type = 1; ++nbClasses; break;
            case 'm': type = 2; ++nbMethods; break;
            case 'a': type = 3; ++nbAttributes; break;
            default: reading.account.line(line, LineRead::No); continue;
        }
        // The vertex takes its position as its number; a number field that
        // disagrees (or is missing) is reported, and the line (like one
        // without a label) reads only leniently.
        const int position = static_cast<int>(V.size());
        const bool hasLabel = fields.size() > 2;
        std::string label = hasLabel ? fields[2] : std::string();
        if (type == 1) label = replaceString(label, "$", ".");

        auto v = std::make_unique<Vertex>();
        v->type = type;
        v->setNumber(position);
        v->setLabel(label);
        if (hasLabel) classes->emplace(simpleName(label), position);
        if (type == 1) {
            if (hasLabel) classByLabel.emplace(label, position);
            readWeightFields(fields, 3, *v);
        }
        const bool inOrder = checkVertexOrder(fields, 1, label, position, *reading.trace);
        reading.account.line(line, inOrder && hasLabel ? LineRead::Cleanly : LineRead::Leniently);
        if (type == 2) methodLines.push_back({v.get(), std::move(fields)});
        if (type == 3) attributeLines.push_back({v.get(), std::move(fields)});
        V.push_back(std::move(v));
    }

    // Member passes: parse the member text, name the member after its container and
    // derive the relations to the classes its signature names.
    auto memberPass = [&](std::vector<MemberLine>& lines, const MemberKind& kind, bool isMethod) {
        for (MemberLine& member : lines) {
            Vertex& v = *member.vertex;
            const std::vector<std::string>& fields = member.fields;
            std::string spec = fieldAt(fields, 2);
            if (isMethod) {
                // The rest of the line, so the commas of a parameter list stay.
                for (std::size_t k = 3; k < fields.size(); ++k) spec += "," + fields[k];
                v.specif = ClassMethod(spec).write();
            } else {
                v.specif = ClassAttribute(spec).write();
            }
            int parent = memberParent(v, kind, *reading.trace);
            if (parent < 0) {
                *reading.trace << "\n Isolated " << kind.word << ": " << v.number << "," << v.label << " !!!!";
                continue;
            }
            std::vector<std::string> pieces = lineFields(v.specif);
            v.label = V[parent]->label + "." + fieldAt(pieces, 2);
            auto derive = [&](const std::string& typeName, char relation) {
                if (typeName.empty()) return;
                auto found = classByLabel.find(typeName);
                if (found != classByLabel.end()) derived.push_back({v.number, found->second, relation});
            };
            derive(fieldAt(pieces, 1), kind.resultKind);
            if (kind.parameterKind != 0)
                for (std::size_t k = 3; k < pieces.size(); ++k) derive(pieces[k], kind.parameterKind);
        }
    };
    memberPass(methodLines, MemberKind{"Method", '8', '7'}, true);
    memberPass(attributeLines, MemberKind{"Attribute", '6', 0}, false);

    // Derived relations.
    for (const DerivedArc& arc : derived) {
        auto e = std::make_unique<Edge>(arc.from, arc.to, std::string(1, arc.kind));
        e->setNumber(edgeCounter++);
        e->type = V[arc.from]->type;
        insertEdge(std::move(e));
    }

    // Consistency report: each edge takes its source's type; relations whose
    // kinds do not fit the types of their ends are reported.
    for (const auto& e : E) {
        const Vertex& source = *V[e->from];
        const Vertex& target = *V[e->to];
        e->type = source.type;
        auto report = [&](const char* text, const char* joining) {
            *reading.trace << text << source.number << "," << source.label << joining << target.number << ","
                      << target.label;
        };
        if (e->labels[4] > 0 && !(source.type == 2 && target.type == 2))
            report("\n Call Graph Problem: ", " calling ");
        if (e->labels[5] > 0 && !(source.type == 2 && target.type == 3))
            report("\n Attribute Use Problem: ", " using ");
        if (e->labels[CONTAINMENT] > 0 && source.type > target.type) report("\n Container Problem: ", " contains ");
        if ((e->labels[1] > 0 || e->labels[2] > 0 || e->labels[3] > 0) && !(source.type == 1 && target.type == 1))
            report("\n Class Relation Problem: ", " linked to ");
    }

    // Package qualification: a breadth-first walk of the containment tree
    // from vertex 0 that visits each package once, so a cycle ends.
    if (V.empty()) return;
    std::vector<char> queued(V.size(), 0);
    std::vector<int> queue{0};
    queued[0] = 1;
    for (std::size_t head = 0; head < queue.size(); ++head) {
        const int q = queue[head];
        for (const Edge* e : V[q]->out) {
            if (e->from == e->to || e->labels[CONTAINMENT] == 0) continue;
            Vertex& t = *V[e->to];
            if (t.type != 0 || queued[e->to]) continue;
            if (q != 0 && !isQualifiedBy(t.label, V[q]->label)) t.label = V[q]->label + "." + t.label;
            queued[e->to] = 1;
            queue.push_back(e->to);
        }
    }
}

}  // namespace graphmat

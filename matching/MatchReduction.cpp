// The offline reduction of a pair of class diagrams: the vertices whose
// partner is obvious are paired and written as "ns" lines, and each graph
// keeps, in a reduced class diagram file renumbered from 0, only the part
// still to be matched (the leftover vertices).
#include <fstream>
#include <iostream>
#include <set>
#include <string>
#include <vector>

#include "graph/GraphFileFields.h"
#include "graph/InputFiles.h"
#include "graph/OutputFiles.h"
#include "matching/Match.h"

namespace graphmat {

namespace {

std::string simpleName(const std::string& label) {
    const std::size_t dot = label.rfind('.');
    return dot == std::string::npos ? label : label.substr(dot + 1);
}

// One side of the reduction: the obvious partners and the new numbers of
// the leftover vertices.
struct Side {
    Graph* g = nullptr;
    std::vector<int> partner;  // oM12 / oM21: obvious partner, -1 when none
    std::vector<int> renumber; // oM1 / oM2: new number of a leftover, else -1
    std::set<int> left;        // the leftover vertices
    int num_class = 0;         // leftover classes

    explicit Side(Graph* graph)
        : g(graph), partner(graph->V.size(), -1), renumber(graph->V.size(), -1) {}
    int order() const { return static_cast<int>(g->V.size()); }
    bool isLeft(int x) const { return x >= 0 && x < order() && renumber[x] != -1; }
};

struct Reduction {
    Side a, b;
    std::string pairsPath, reduced1, reduced2;
    std::string copied1, copied2;  // the class diagram files whose lines are copied
    InputText copy1, copy2;        // their bytes, read before any output is opened
    std::ofstream pairs, out1, out2;

    Reduction(Graph* A, Graph* B, const std::string& copyFolder)
        : a(A), b(B),
          pairsPath("./results/_" + A->name + "__" + B->name + ".csv"),
          reduced1("./results/_" + A->name + ".txt"),
          reduced2("./results/_" + B->name + ".txt"),
          copied1(copyFolder + A->name + ".txt"),
          copied2(copyFolder + B->name + ".txt") {}

    void writePair(int x, int y) {
        pairs << "ns," << x << "," << y << "," << a.g->V[x]->label << "," << b.g->V[y]->label << "\n";
    }
};

// The obvious pairs file doubles as the hand-made gold file of the
// evaluation: a file there that holds anything but pair lines is kept.
// Empty lines (an editor's last line break, say) belong to neither. The
// number and text of the first line that is no pair line, or 0.
int goldLine(const std::string& path, std::string& text) {
    // A named pipe in that place is where this run is to write its pairs,
    // not a kept file: opening it for reading would wait for a writer.
    if (isNamedPipe(path)) return 0;
    InputFile in;
    if (!in.open(path)) return 0;
    std::string line;
    for (int number = 1; readLine(in, line); ++number) {
        if (line.find_first_not_of(" \t") == std::string::npos) continue;
        if (line.compare(0, 3, "ns,") == 0) continue;
        text = line;
        return number;
    }
    return 0;
}

bool sameVertex(const Vertex& x, const Vertex& y) {
    return x.type == y.type && x.label == y.label && x.specif == y.specif;
}

// Pairs each graph-1 vertex with the one unpaired graph-2 vertex of the same
// simple name that agrees with it in type, label and signature; two such
// candidates block the pairing. `onPair` sees each pair as it is made.
template <class OnPair>
void pairObvious(Side& a, Side& b, OnPair onPair) {
    if (!a.g->classes || !b.g->classes) return;  // no index of simple names
    const auto& index1 = *a.g->classes;
    const auto& index2 = *b.g->classes;
    for (int i = 0; i < a.order(); ++i) {
        const std::string s = simpleName(a.g->V[i]->label);
        int candidates = 0;
        for (auto [it1, end1] = index1.equal_range(s); it1 != end1; ++it1) {
            const int x = it1->second;
            if (x < 0 || x >= a.order()) continue;
            int candidate = -1;
            for (auto [it2, end2] = index2.equal_range(s); it2 != end2; ++it2) {
                const int y = it2->second;
                if (y < 0 || y >= b.order()) continue;
                if (b.partner[y] == -1 && sameVertex(*a.g->V[x], *b.g->V[y])) {
                    candidate = y;
                    ++candidates;
                }
            }
            if (candidate != -1 && candidates == 1 && a.partner[x] == -1) {
                a.partner[x] = candidate;
                b.partner[candidate] = x;
                onPair(x, candidate);
            }
        }
    }
}

// A leftover has no obvious partner or a neighbour without one; leftovers
// are numbered from 0 in increasing vertex order.
void findLeftovers(Side& side) {
    int next = 0;
    for (int i = 0; i < side.order(); ++i) {
        bool left = side.partner[i] == -1;
        if (!left && i < static_cast<int>(side.g->neighbors.size()))
            for (int n : side.g->neighbors[i])
                if (n >= 0 && n < side.order() && side.partner[n] == -1) {
                    left = true;
                    break;
                }
        if (!left) continue;
        side.left.insert(i);
        side.renumber[i] = next++;
        if (side.g->V[i]->type == 1) ++side.num_class;
    }
}

// Copies the lines of a class diagram file (its header skipped) whose
// vertices are all leftovers, renumbered: relation lines by both ends,
// every other line (with `relationsOnly` false) by its second field. A line
// without the fields it needs is skipped. A file that did not open is
// named here, where its lines would have been.
void copyKeptLines(const InputText& text, const Side& side, std::ostream& out, bool relationsOnly) {
    if (!text.opened()) {
        reportMissingInput(text);
        return;
    }
    InputFile in(text);
    std::string line;
    readLine(in, line);  // the header
    while (readLine(in, line)) {
        const std::vector<std::string> fields = lineFields(line);
        int x = 0;
        if (!intField(fields, 1, x)) continue;
        if (fields[0] == "r") {
            int y = 0;
            if (!intField(fields, 2, y) || !side.isLeft(x) || !side.isLeft(y)) continue;
            out << "r," << side.renumber[x] << "," << side.renumber[y];
            for (std::size_t k = 3; k < fields.size(); ++k) out << "," << fields[k];
            out << "\n";
        } else if (!relationsOnly && side.isLeft(x)) {
            out << fields[0] << "," << side.renumber[x];
            for (std::size_t k = 2; k < fields.size(); ++k) out << "," << fields[k];
            out << "\n";
        }
    }
}

// The container of a member vertex: the source of its last incoming
// containment arc; -1 when it has none.
int ownerOf(const Vertex& v) {
    int owner = -1;
    for (const Edge* e : v.in)
        if (e->label.find('9') != std::string::npos) owner = e->from;
    return owner;
}

// Regenerates the class, attribute and method lines of the leftovers. A
// member without a container, or whose container is no leftover, has no
// class to name in the file: its line is left out and counted.
void writeLeftoverVertices(const Side& side, std::ostream& out, const std::string& path) {
    int dropped = 0;
    for (int v : side.left) {
        const Vertex& vertex = *side.g->V[v];
        if (vertex.type == 1) {
            out << "c," << side.renumber[v] << "," << vertex.label << "," << vertex.weight[0] << ","
                << vertex.weight[1] << "\n";
            continue;
        }
        if (vertex.type != 2 && vertex.type != 3) continue;
        const int owner = ownerOf(vertex);
        if (!side.isLeft(owner)) {
            ++dropped;
            continue;
        }
        std::vector<std::string> p = lineFields(vertex.specif);
        if (p.size() < 3) p.resize(3);
        if (vertex.type == 3) {
            out << "a," << side.renumber[owner] << "," << p[0] << "@" << p[1] << "@" << p[2] << "\n";
        } else {
            out << "m," << side.renumber[owner] << "," << p[0] << "@" << p[1] << "@" << p[2] << "@[";
            for (std::size_t k = 3; k < p.size(); ++k) out << (k > 3 ? "," : "") << p[k];
            out << "]\n";
        }
    }
    if (dropped > 0)
        std::cerr << path << ": " << dropped
                  << " member line(s) left out: their class is not a leftover or they have none" << std::endl;
}

void printLeftovers(const Reduction& r) {
    std::cout << "\n leftover " << r.a.left.size() << "/" << r.a.order() << "\t" << r.b.left.size() << "/"
              << r.b.order() << "\n";
}

// The common start: the banner, the refusal in front of a gold file, the
// class diagram files to copy from (read whole before any output is opened,
// so that one that is refused leaves the earlier outputs as they were), the
// three output files, the obvious pairs (each also handed to `onPair`) and
// the leftovers. False when the reduction is refused.
template <class OnPair>
bool startReduction(Reduction& r, OnPair onPair) {
    std::cout << "\n TREATMENT OF OBVIOUS \n";
    std::string text;
    if (const int line = goldLine(r.pairsPath, text)) {
        std::cerr << r.pairsPath << " holds lines other than obvious pairs (line " << line << ": \"" << text
                  << "\"; a gold file?): it is kept and nothing is reduced" << std::endl;
        return false;
    }
    r.copy1 = readInput(r.copied1);
    r.copy2 = readInput(r.copied2);
    openForWriting(r.pairs, r.pairsPath);
    openForWriting(r.out1, r.reduced1);
    openForWriting(r.out2, r.reduced2);
    pairObvious(r.a, r.b, onPair);
    findLeftovers(r.a);
    findLeftovers(r.b);
    return true;
}

void finish(Reduction& r) {
    closeWritten(r.pairs, r.pairsPath);
    closeWritten(r.out1, r.reduced1);
    closeWritten(r.out2, r.reduced2);
}

}  // namespace

std::string Match::obviousMatch1(Graph* A, Graph* B) {
    Reduction r(A, B, "./datasets/cdiagrams/eclipse/");
    if (!startReduction(r, [&r](int x, int y) { r.writePair(x, y); })) return "NO";
    r.out1 << r.a.num_class << ",0\n";
    copyKeptLines(r.copy1, r.a, r.out1, false);
    r.out2 << r.b.num_class << ",0\n";
    copyKeptLines(r.copy2, r.b, r.out2, false);
    printLeftovers(r);
    finish(r);
    return "YES";
}

std::string Match::obviousMatch(Graph* A, Graph* B) {
    Reduction r(A, B, "./datasets/cdiagrams/mylyn/");
    if (!startReduction(r, [](int, int) {})) return "NO";
    printLeftovers(r);
    for (int i = 0; i < r.a.order(); ++i)
        if (!r.a.isLeft(i) && r.a.partner[i] != -1) r.writePair(i, r.a.partner[i]);
    r.out1 << r.a.num_class << ",0\n";
    writeLeftoverVertices(r.a, r.out1, r.reduced1);
    copyKeptLines(r.copy1, r.a, r.out1, true);
    r.out2 << r.b.num_class << ",0\n";
    writeLeftoverVertices(r.b, r.out2, r.reduced2);
    copyKeptLines(r.copy2, r.b, r.out2, true);
    finish(r);
    return "YES";
}

}  // namespace graphmat

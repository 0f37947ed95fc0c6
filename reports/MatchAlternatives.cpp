// Finding the vertex that a signature names, and the alternatives report:
// the pairs of an outside listing (or of the matching) whose two vertices
// differ, with their similarity, substitution cost and relations.
#include <fstream>
#include <iostream>

#include "graph/OutputFiles.h"
#include "matching/Cost.h"
#include "matching/Match.h"
#include "reports/EntityNames.h"

namespace graphmat {

namespace {

const char* const SUCCESS = "\n <<<<<<<<<<<<<<<<<<<<<<<<<<<SUCCESS>>>>>>>>>>>>>>>>>>>>>>>> \n";
const char* const FAIL = "\n <<-----------FAIL-------------->> \n";

// A containment arc, and no other relation on the same vertex pair.
bool isContainment(const Edge& e) { return e.label == "9"; }

// The parameter text a signature is compared with: a method's parameter
// types, empty for every other vertex.
std::string specsOf(const Vertex& v, bool shortTypes) {
    return v.type == 2 ? parameterText(v.specif, shortTypes) : std::string();
}

// The descent shared by both lookups; `verbose` adds the trace per matching
// child and per compared parameter text, `shortTypes` compares parameter
// types after their last ".".
Vertex* findBySignature(const std::string& sign, const Graph* g, bool shortTypes, bool verbose) {
    if (!g || g->V.empty() || sign.empty() || sign[0] == '(') {
        std::cout << FAIL;
        return nullptr;
    }
    const std::size_t open = sign.find('(');
    const std::string nodename = sign.substr(0, open);
    std::string nodespecs;
    if (open != std::string::npos && open + 1 < sign.size()) nodespecs = sign.substr(open + 1, sign.size() - open - 2);
    std::cout << "\n" << nodename << "[" << nodespecs << "]";

    auto path = splitString(nodename, ".");
    const Vertex* parent = g->V[0].get();
    Vertex* result = nullptr;
    std::string compared = (*path)[0];
    for (std::size_t level = 0; level < path->size() && !result; ++level) {
        const bool last = level + 1 == path->size();
        const Vertex* next = nullptr;
        for (const Edge* e : parent->out) {
            if (!isContainment(*e) || e->to < 0 || e->to >= static_cast<int>(g->V.size())) continue;
            Vertex* child = g->V[e->to].get();
            if (child->label != compared) continue;
            if (verbose)
                std::cout << "\n" << parent->number << "(" << parent->label << ") --> " << compared << " __ "
                          << child->label;
            if (!last) {
                next = child;
                break;
            }
            const std::string specs = specsOf(*child, shortTypes);
            if (verbose) std::cout << "\n\t" << nodespecs << " ___ " << specs;
            if (specs == nodespecs) {
                result = child;
                break;
            }
        }
        if (last || !next) break;
        parent = next;
        compared += "." + (*path)[level + 1];
    }
    std::cout << (result ? SUCCESS : FAIL);
    return result;
}

// The relations of vertex v of graph g, one line per incident edge; "{M}"
// marks a neighbour that has a partner.
void writeRelations(std::ostream& out, const Vertex& v, const Graph& g, const Match& m, bool left) {
    const std::string lead = left ? "" : ",";
    auto labelOf = [&g](int n) { return n >= 0 && n < static_cast<int>(g.V.size()) ? g.V[n]->label : ""; };
    for (const Edge* e : v.edges) {
        int neighbour;
        if (e->from == v.number) {
            neighbour = e->to;
            out << lead << "--" << e->label << "--> " << (e->to == v.number ? "self" : labelOf(e->to));
        } else {
            neighbour = e->from;
            out << lead << "<--" << e->label << "-- " << labelOf(e->from);
        }
        if ((left ? m.getM12(neighbour) : m.getM21(neighbour)) != -1) out << "{M}";
        out << "\n";
    }
}

}  // namespace

Vertex* Match::getVertexFromSignature(std::string sign, Graph* g) { return findBySignature(sign, g, false, false); }

Vertex* Match::getVertexFromSignature2(std::string sign, Graph* g) { return findBySignature(sign, g, true, true); }

std::unique_ptr<std::set<std::string>> Match::checkAlternatives(const std::set<std::string>* altmatch,
                                                                std::string source) {
    const std::string path = "./results/alternatives_" + source + ".csv";
    std::ofstream out;
    openForWriting(out, path);
    auto reported = std::make_unique<std::set<std::string>>();
    std::cout << "\n Check ...";
    if (!altmatch || altmatch->empty()) {
        closeWritten(out, path);
        return reported;
    }
    std::cout << "Alternatives\n";
    int diff_match = 0;
    for (const std::string& key : *altmatch) {
        auto pieces = splitString(key, "__");
        if (!pieces || pieces->size() < 2 || (*pieces)[0].empty()) continue;
        const std::string node1 = (*pieces)[0].substr(1);
        const std::string& second = (*pieces)[1];
        const std::string node2 = second.empty() ? second : second.substr(0, second.size() - 1);
        std::cout << "\n" << node1 << "\t" << node2;

        Vertex* v1 = getVertexFromSignature2(node1, g1);
        Vertex* v2 = getVertexFromSignature2(node2, g2);
        if (!v1 || !v2) continue;
        const int i = v1->number, j = v2->number;
        if (!isRelevant1(i)) v1->settify();
        if (!isRelevant2(j)) v2->settify();
        const float similarity = intSim(cost_mode, v1, v2);
        _N(i, j) = similarity;
        const double substitution = costs->raw_cns(cost_mode, v1, v2, _N(i, j));

        const std::string text1 = labelAndSignature(*v1), text2 = labelAndSignature(*v2);
        if (text1 == text2) continue;
        reported->insert(key);
        ++diff_match;
        out << "\n,," << diff_match << "-----";
        out << "\n" << i << "_" << text1 << "," << j << "_" << text2 << "," << to_string(_N(i, j)) << ","
            << to_string(substitution) << "\n";
        out << "||Relations(1)||\n";
        writeRelations(out, *v1, *g1, *this, true);
        out << ",||Relations(2)||\n";
        writeRelations(out, *v2, *g2, *this, false);
    }
    closeWritten(out, path);
    return reported;
}

}  // namespace graphmat

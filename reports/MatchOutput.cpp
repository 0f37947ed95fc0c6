// The match result file of a run and its three companions: the cost
// extract, the review report and the review summary, written in one pass.
//
// The order of the steps is part of the behaviour: the review sections lift
// the edges of the vertices they list, which registers fused block edges
// that the edge rows written afterwards look up.
#include <fstream>
#include <iostream>
#include <unordered_map>

#include "graph/OutputFiles.h"
#include "matching/Cost.h"
#include "matching/Match.h"
#include "reports/EntityNames.h"
#include "reports/ReportBlocks.h"
#include "reports/RunName.h"

namespace graphmat {

namespace {

using EdgeList = std::vector<Edge*>;

const char* const BANNER_RENAMED =
    "\n,,***********************************\n,,*Matched classes with different names*\n"
    ",,*********************************** \n";
const char* const BANNER_SAME_NAMES =
    "\n,,************************************ \n,,*Non-Matched classes with same names*\n"
    ",,************************************\n";
const char* const BANNER_DELETED =
    "\n,,***********************************\n,,*Deleted classes*\n,,*********************************** \n";
const char* const BANNER_INSERTED =
    "\n,,***********************************\n,,*Inserted classes*\n,,*********************************** \n";

std::string labelOf(const Vertex* v) { return v ? v->label : std::string(); }

// The label after its last "."; the whole label when it has none.
std::string simpleLabel(const std::string& label) {
    std::size_t dot = label.rfind('.');
    return dot == std::string::npos ? label : label.substr(dot + 1);
}

// The block-level edges of one graph, one per block pair, ascending by
// (from block, to block). The first edge of the graph met for a pair decides
// whether the pair has a block edge.
EdgeList blockEdges(Match& m, bool left) {
    const Graph& g = left ? *m.g1 : *m.g2;
    const std::vector<int>& membership = left ? m.blocks1 : m.blocks2;
    std::map<std::pair<int, int>, Edge*> found;
    for (const auto& e : g.E) {
        std::pair<int, int> pair{membership[e->from], membership[e->to]};
        if (found.count(pair)) continue;
        found.emplace(pair, m.getEdge(pair.first, pair.second, left));
    }
    EdgeList edges;
    for (const auto& [pair, e] : found)
        if (e) edges.push_back(e);
    return edges;
}

// Writes a text to several open streams.
struct Outputs {
    std::vector<std::ostream*> streams;
    const Outputs& operator<<(const std::string& text) const {
        for (std::ostream* s : streams) *s << text;
        return *this;
    }
};

// Everything one call of Match::output works on.
class MatchReport {
public:
    MatchReport(Match& match, int mode) : m_(match), mode_(mode), blocks_(match) {}

    // Steps 3 to 18 of the report, after the cost c of the matching has
    // been recomputed.
    void write(double c);

private:
    Match& m_;
    const int mode_;
    ReportBlocks blocks_;
    EdgeList g1E_, g2E_;
    std::map<int, double> nCost1_, nCost2_;
    OutputFile result_, extract_, review_, summary_;
    int diffMatch_ = 0, sameUnmatch_ = 0, delCount_ = 0, insCount_ = 0;

    void writeHeaders(double c);
    void priceGraph1Edges();
    void priceGraph2Edges();
    void matchedPairs();
    void renamedEntry(int i, int j, Vertex* v1, Vertex* v2, const std::string& values);
    void sameNames();
    void deletedBlocks();
    void insertedVertices();
    // Entry k of the deleted ("d") or inserted ("i") section.
    void sectionEntry(const char* mark, int k, Vertex* v, bool left);
    void edgeRows();

    // Relation lists written to the review report. The edges of v (graph 1 when left) with their match marks, for the
    // matched pair (i, j).
    void matchedRelations(Vertex* v, bool left, int i, int j);
    void simpleRelations(Vertex* v, bool left, const std::string& lead);
};

void MatchReport::write(double c) {
    g1E_ = blockEdges(m_, true);
    g2E_ = blockEdges(m_, false);

    const std::string base = "./results/" + runName(*m_.g1, *m_.g2, *m_.costs, m_.randomSeed) + ".csv";
    openForWriting(result_, base);
    openForWriting(extract_, base + ".csv");
    openForWriting(review_, base + ".csv.csv");
    openForWriting(summary_, base + ".csv.csv.csv");
    writeHeaders(c);

    for (const auto& [x, v] : blocks_.blocks1()) nCost1_[x] = 0;
    for (const auto& [y, v] : blocks_.blocks2()) nCost2_[y] = 0;

    std::cout << "\n";
    priceGraph1Edges();
    std::cout << "\n";
    priceGraph2Edges();

    std::cout << BANNER_RENAMED;
    review_ << BANNER_RENAMED;
    summary_ << BANNER_RENAMED;
    diffMatch_ = 0;
    sameUnmatch_ = 0;
    matchedPairs();
    sameNames();
    deletedBlocks();
    insertedVertices();
    review_.close();
    summary_.close();

    edgeRows();
    result_.close();
    extract_.close();
}

void MatchReport::writeHeaders(double c) {
    const Match& m = m_;
    const Cost& k = *m.costs;
    const std::string header =
        "\nCost:" + to_string(c) + " SameLabels:" + to_string(m.nb_matched) + "(" + to_string(m.nb_matched_isolated) +
        ")" + "/" + to_string(m.numberOfMatchs) + "(" + to_string(m.nb_matched_isolated + m.nb_unmatched_isolated) +
        ")" + " |V1|=" + to_string(m.g1->V.size()) + " |E1|=" + to_string(m.g1->E.size()) +
        " |V2|=" + to_string(m.g2->V.size()) + " |E2|=" + to_string(m.g2->E.size()) + "\n";
    const double edgeDrop = k.renameToken * k.edgeWeight * k.dropWeightE;
    const std::string penalties = "Penalties : cnd=" + to_string(k.classDeletion) +
                                  " cni=" + to_string(k.classInsertion) + " cns=" + to_string(k.renameToken) +
                                  " ced=" + to_string(edgeDrop) + " cei=" + to_string(edgeDrop) +
                                  " cess=" + to_string(k.renameToken * k.edgeWeight) + " lw=" + to_string(k._lw) +
                                  " aw=" + to_string(k._aw) + " mw=" + to_string(k._mw) + "\n";
    Outputs{{&result_, &extract_, &review_, &summary_}} << header << penalties;
    Outputs{{&result_, &extract_}} << "\n\n NODES, #class1, #class2, class1, class2, ,,, raw cost, overall cost1, "
                                      "overall cost2\n\n";
}

void MatchReport::priceGraph1Edges() {
    for (Edge* e1 : g1E_) {
        const int f = e1->from, t = e1->to;
        const int p = blocks_.partner1(f), q = blocks_.partner1(t);
        double ce;
        if (p == -1 || q == -1) {
            ce = m_.costs->ced(mode_, e1, blocks_.nodes1(f), blocks_.nodes1(t));
        } else {
            Edge* e2 = m_.getEdge2(p, q);
            ce = m_.costs->raw_ces(m_.cost_mode, e1, e2, m_.getENodes1(e1), m_.getENodes2(e2));
        }
        nCost1_[f] += ce;
        if (t != f) nCost1_[t] += ce;  // a self-loop is charged once
    }
}

void MatchReport::priceGraph2Edges() {
    for (Edge* e2 : g2E_) {
        const int f = e2->from, t = e2->to;
        const int p = blocks_.partner2(f), q = blocks_.partner2(t);
        double ce = 0;
        if (p == -1 || q == -1)
            ce = m_.costs->cei(mode_, e2, blocks_.nodes2(f), blocks_.nodes2(t));
        else if (m_.getEdge1(p, q) == nullptr)
            ce = m_.costs->raw_ces(m_.cost_mode, nullptr, e2, 0, m_.getENodes2(e2));
        nCost2_[f] += ce;
        if (t != f) nCost2_[t] += ce;
    }
}

void MatchReport::matchedPairs() {
    for (const auto& [x, v1] : blocks_.blocks1()) {
        const int y0 = blocks_.partner1(x);
        if (y0 == -1) continue;
        Vertex* v2 = blocks_.blocks2().at(y0);
        const int i = v1->number, j = v2->number;
        const float s = m_.intSim(mode_, v1, v2);
        m_._N(i, j) = s;
        const double cn = m_.costs->raw_cns(mode_, v1, v2, s);
        nCost1_[i] += cn;
        const double delta = m_.computeDelta(m_.cost_mode, v1, v2);
        const double overall1 = nCost1_[i], overall2 = nCost2_[j];
        const std::string values =
            to_string(cn) + "," + to_string(overall1) + "," + to_string(overall2) + "," + to_string(delta);
        const std::string row = "ns," + to_string(i) + "," + to_string(j) + "," + v1->label + "," + v2->label +
                                ",,,," + values + "\n";
        result_ << row;
        if (!(overall1 == 0) || !(overall2 == 0)) extract_ << row;  // a NaN counts as not 0
        renamedEntry(i, j, v1, v2, to_string(s) + "," + values);
    }
}

void MatchReport::renamedEntry(int i, int j, Vertex* v1, Vertex* v2, const std::string& values) {
    const std::string x = labelAndSignature(*v1), w = labelAndSignature(*v2);
    if (x == w) return;
    ++diffMatch_;
    review_ << "\n,," << to_string(diffMatch_) << "-----";
    const std::string line = "\n" + to_string(i) + "_" + x + "," + to_string(j) + "_" + w + "," + values + "\n";
    Outputs{{&review_, &summary_}} << line;
    review_ << "||Relations(1)||\n";
    matchedRelations(v1, true, i, j);
    review_ << ",||Relations(2)||\n";
    matchedRelations(v2, false, i, j);
}

void MatchReport::sameNames() {
    Outputs{{&review_, &summary_}} << BANNER_SAME_NAMES;
    const int order1 = static_cast<int>(m_.g1->V.size());
    const int order2 = static_cast<int>(m_.g2->V.size());
    // Only pairs whose names agree can be listed: graph-2 blocks are looked
    // up by name instead of comparing every pair; each bucket stays in
    // ascending block number.
    std::unordered_map<std::string, std::vector<std::pair<int, Vertex*>>> byName;
    for (const auto& [y, v2] : blocks_.blocks2()) {
        const std::string name2 = v2->number >= order2 ? simpleLabel(v2->label) : v2->label;
        byName[name2].emplace_back(y, v2);
    }
    for (const auto& [x, v1] : blocks_.blocks1()) {
        const int i = v1->number;
        const std::string name1 = i >= order1 ? simpleLabel(v1->label) : v1->label;
        auto bucket = byName.find(name1);
        if (bucket == byName.end()) continue;
        const std::string& name2 = bucket->first;
        for (const auto& [y, v2] : bucket->second) {
            const int j = v2->number;
            const int p1 = blocks_.partner1(i), p2 = blocks_.partner2(j);
            if (p1 == j) continue;  // matched to each other
            if (v1->label == v2->label) {
                if (p1 != -1 && labelOf(m_.getVertex2(p1)) == v1->label) continue;
                if (p2 != -1 && labelOf(m_.getVertex1(p2)) == v2->label) continue;
            } else {
                if (p1 != -1) {
                    std::string pname1 = labelOf(m_.getVertex2(p1));
                    if (p1 < order2) pname1 = simpleLabel(pname1);
                    if (pname1 == name1) continue;
                }
                if (p2 != -1) {
                    std::string pname2 = labelOf(m_.getVertex1(p2));
                    if (p2 < order1) pname2 = simpleLabel(pname2);
                    if (pname2 == name2) continue;
                }
            }
            ++sameUnmatch_;
            review_ << "\n,," << to_string(sameUnmatch_) << "-----";
            std::string line = "\n" + to_string(i) + "_" + v1->label;
            if (p1 != -1) line += "(" + to_string(p1) + "_" + labelOf(m_.getVertex2(p1)) + ")";
            line += "," + to_string(j) + "_" + v2->label;
            if (p2 != -1) line += "(" + to_string(p2) + "_" + labelOf(m_.getVertex1(p2)) + ")";
            Outputs{{&review_, &summary_}} << line;
            review_ << "\n||Relations(1)||\n";
            simpleRelations(v1, true, "");
            review_ << ",||Relations(2)||\n";
            simpleRelations(v2, false, ",");
        }
    }
}

void MatchReport::deletedBlocks() {
    Outputs{{&review_, &summary_}} << BANNER_DELETED;
    delCount_ = 0;
    for (const auto& [x, v] : blocks_.blocks1()) {
        if (blocks_.partner1(x) != -1) continue;
        const double cn = m_.costs->cnd(mode_, v);
        nCost1_[x] += cn;
        result_ << "nd," << v->label << ",,,,,,," << to_string(cn) << "," << to_string(nCost1_[x]) << ",\n";
        sectionEntry("d", ++delCount_, v, true);
    }
}

void MatchReport::insertedVertices() {
    Outputs{{&review_, &summary_}} << BANNER_INSERTED;
    insCount_ = 0;
    const Graph& g2 = *m_.g2;
    for (int j = 0; j < static_cast<int>(g2.V.size()); ++j) {
        // Listed when the best matching of the search leaves the vertex
        // free. The "ns" rows follow the partner arrays instead, so the two
        // disagree where a run reports another matching than its best one
        // (a start-solution mode other than 1 reports the known matching).
        if (j < static_cast<int>(m_.bestMatch2.size()) && m_.bestMatch2[j] != -1) continue;
        Vertex* v = g2.V[j].get();
        const double overall2 = nCost2_[j];
        result_ << "ni," << to_string(v->number) << "," << v->label << ",,,,,,0,," << to_string(overall2) << ",\n";
        sectionEntry("i", ++insCount_, v, false);
    }
}

void MatchReport::sectionEntry(const char* mark, int k, Vertex* v, bool left) {
    const std::string text = labelAndSignature(*v);
    review_ << "\n,," << mark << to_string(k) << "-----" << text << "\n" << "||Relations||\n";
    summary_ << text << "\n";
    simpleRelations(v, left, "");
}

void MatchReport::edgeRows() {
    Outputs{{&result_, &extract_}} << "\n\n EDGES, src1, dest1, label1, src2, dest2, label2,, raw cost \n\n";
    m_.matchedEdges = 0;
    m_.perfectMatchedEdges = 0;
    for (Edge* e1 : g1E_) {
        const int p = blocks_.partner1(e1->from), q = blocks_.partner1(e1->to);
        const std::string ends1 = labelOf(m_.getVertex1(e1->from)) + "," + labelOf(m_.getVertex1(e1->to)) + "," +
                                  e1->label + ",";
        std::string row;
        int raw = 1;
        if (p == -1 || q == -1) {
            row = "ed," + ends1 + ",,,,";
        } else {
            Edge* e2 = m_.getEdge2(p, q);
            const int r = e1->compare(e2, 9);
            if (r == 1 || r == 2) ++m_.matchedEdges;
            if (r == 2) {
                ++m_.perfectMatchedEdges;
                raw = 0;
            }
            row = "es1," + ends1;
            if (e2)
                row += labelOf(m_.getVertex2(p)) + "," + labelOf(m_.getVertex2(q)) + "," + e2->label + ",,";
            else
                row += ",,,,";
        }
        row += to_string(raw) + "\n";
        result_ << row;
        if (raw != 0) extract_ << row;
    }
    for (Edge* e2 : g2E_) {
        const int p = blocks_.partner2(e2->from), q = blocks_.partner2(e2->to);
        std::string kind;
        if (p == -1 || q == -1)
            kind = "ei";
        else if (m_.getEdge1(p, q) == nullptr)
            kind = "es1";
        else
            continue;
        Outputs{{&result_, &extract_}} << kind + ",,,," + labelOf(m_.getVertex2(e2->from)) + "," +
                                              labelOf(m_.getVertex2(e2->to)) + "," + e2->label + ",,0\n";
    }
}

// ------------------------------------------------------------ relation lists

void MatchReport::matchedRelations(Vertex* v, bool left, int i, int j) {
    auto edges = left ? m_.getVEdges1(v) : m_.getVEdges2(v);
    if (!edges) return;
    const int own = left ? i : j;           // the listed vertex
    const int counterpart = left ? j : i;   // its partner in the other graph
    const std::string lead = left ? "" : ",";
    auto labelAt = [&](int n, bool side) { return labelOf(m_.getVertex(n, side)); };
    for (Edge* e : *edges) {
        const bool outgoing = e->from == v->number;
        const int n = outgoing ? e->to : e->from;
        const std::string other = outgoing && n == own ? std::string("self") : labelAt(n, left);
        std::string line = lead + (outgoing ? "--" + e->label + "--> " : "<--" + e->label + "-- ") + other;
        // The mark: the edge has a counterpart with the same label text
        // between the partners, and the neighbour kept (M) or changed [M]
        // its name.
        const int p = blocks_.partner(n, left);
        if (p != -1) {
            Edge* g = outgoing ? m_.getEdge(counterpart, p, !left) : m_.getEdge(p, counterpart, !left);
            if (g && g->label == e->label) line += labelAt(n, left) == labelAt(p, !left) ? "(M)" : "[M]";
        }
        review_ << line << "\n";
    }
}

void MatchReport::simpleRelations(Vertex* v, bool left, const std::string& lead) {
    auto edges = left ? m_.getVEdges1(v) : m_.getVEdges2(v);
    if (!edges) return;
    for (Edge* e : *edges) {
        if (e->from == v->number)
            review_ << lead << "-" << e->label << "->" << labelOf(m_.getVertex(e->to, left)) << "\n";
        else
            review_ << lead << "<-" << e->label << "-" << labelOf(m_.getVertex(e->from, left)) << "\n";
    }
}

}  // namespace

void Match::output(int mode) {
    rawPrint();
    const double c = cost(cost_mode);
    bestCost = c;
    currentCost = c;
    // The blocks are collected once the cost is known, then the block-level
    // edges.
    MatchReport(*this, mode).write(c);
}

}  // namespace graphmat

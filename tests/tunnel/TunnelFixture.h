// Versions of a class diagram built in code, match result files written by
// hand, and a tracker filled step by step from them; shared by the tracker
// tests.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "graph/Graph.h"
#include "support/TestSupport.h"
#include "tunnel/Tunnel.h"

namespace graphmat::test {

struct ClassSpec {
    std::string label;
    std::vector<std::string> attributes = {};  // attribute texts, e.g. "int@count"
    std::vector<std::string> methods = {};     // method texts, e.g. "void@run@()"
};

struct Arc {
    int from, to;
    std::string label;  // one digit per arc
};

// A version as the class diagram reader builds it: one class vertex per
// spec, members under their keys, one arc per digit of each label.
inline std::unique_ptr<Graph> makeVersion(const std::string& name, const std::vector<ClassSpec>& classes,
                                          const std::vector<Arc>& arcs) {
    auto g = std::make_unique<Graph>();
    g->name = name;
    for (const ClassSpec& spec : classes) {
        auto v = std::make_unique<Vertex>(static_cast<int>(g->V.size()), spec.label);
        v->type = 1;
        for (const std::string& text : spec.attributes) {
            auto a = std::make_unique<ClassAttribute>(text);
            std::string key = a->type + "_" + a->name;
            v->attributes.emplace(key, std::move(a));
        }
        for (const std::string& text : spec.methods) {
            auto m = std::make_unique<ClassMethod>(text);
            std::string key = m->output + "_" + m->name;
            v->methods.emplace(key, std::move(m));
        }
        g->V.push_back(std::move(v));
    }
    g->vertices = static_cast<int>(g->V.size());
    for (const Arc& arc : arcs)
        for (char digit : arc.label) g->insertEdge(std::make_unique<Edge>(arc.from, arc.to, std::string(1, digit)));
    g->edges = static_cast<int>(g->E.size());
    return g;
}

// One "ns" row of a match result file: older class, newer class and the two
// overall cost fields as written.
struct MatchRow {
    int older, newer;
    std::string cost1 = "0", cost2 = "0";
};

// The match result file of a step as the matcher writes it: each row with
// the labels of its two classes (the older version is graph 1); `extra`
// lines follow the rows.
inline std::string matchFile(const Tunnel::matching& step, const std::vector<MatchRow>& rows,
                             const std::string& extra = "") {
    std::string text = "\nCost:0 SameLabels:0(0)/0(0) |V1|=0 |E1|=0 |V2|=0 |E2|=0\nPenalties : cnd=0\n"
                       "\n\n NODES, #class1, #class2, class1, class2, ,,, raw cost, overall cost1, overall cost2\n\n";
    for (const MatchRow& r : rows)
        text += "ns," + std::to_string(r.older) + "," + std::to_string(r.newer) + "," + step.g2->V.at(r.older)->label +
                "," + step.g1->V.at(r.newer)->label + ",,,,0," + r.cost1 + "," + r.cost2 + ",0\n";
    return text + extra + "\n\n EDGES, src1, dest1, label1, src2, dest2, label2,, raw cost \n\n";
}

// Adds the versions (newest first) to the tracker and reads, for every step
// q, a match result file of the rows steps[q] written under ./results/.
inline void addSeries(Tunnel& tunnel, std::vector<std::unique_ptr<Graph>> versions,
                      const std::vector<std::vector<MatchRow>>& steps) {
    for (auto& version : versions) tunnel.addVersion(std::move(version));
    for (std::size_t q = 0; q < steps.size(); ++q) {
        const std::string path = "results/" + tunnel.gseries[q + 1]->name + "__" + tunnel.gseries[q]->name +
                                 "__1__1__1__1__0__1.csv";
        writeFile(path, matchFile(*tunnel.matchings[q], steps[q]));
        tunnel.getMatches(tunnel.matchings[q].get(), path);
    }
}

// Builds the cost model, prepares and runs the analysis, reading entry 0 of
// every step.
inline void analyse(Tunnel& tunnel, const std::string& parameters = "1__1__1__1__0__1.csv") {
    tunnel.setCostParameters(parameters);
    tunnel.prepareAnalysis();
    tunnel.createTunnel(std::vector<int>(tunnel.matchings.size(), 0));
}

// The fields of every line of a report (lines cut at ",").
inline std::vector<std::vector<std::string>> csvRows(const std::string& text) {
    std::vector<std::vector<std::string>> rows;
    for (const std::string& line : lines(text)) {
        if (line.empty()) continue;
        std::vector<std::string> fields;
        std::string::size_type start = 0, comma;
        while ((comma = line.find(',', start)) != std::string::npos) {
            fields.push_back(line.substr(start, comma - start));
            start = comma + 1;
        }
        fields.push_back(line.substr(start));
        rows.push_back(fields);
    }
    return rows;
}

}  // namespace graphmat::test

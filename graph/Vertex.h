// One vertex of a graph (or a block of merged vertices of the matcher): its
// type, number, label, signature, incident edges and term sets.
#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "graph/ClassMembers.h"
#include "graph/Edge.h"
#include "graph/NodeSet.h"
#include "graph/stdafx.h"

namespace graphmat {

class Vertex {
public:
    short type = 0;    // 0 package, 1 class, 2 method, 3 attribute, 4 entity, 5 lifeline,
                       // 6 message, 8 state, 9 transition
    int number = -1;   // position in the graph's V, or a block number
    std::string label;
    std::string specif;  // signature text of a member or message
    short level = 0;     // depth in the package tree (reader modes 8 and 9)
    float weight[MAX_W] = {-1, -1, -1, -1, -1};  // -1: not set
    std::vector<Edge*> in;     // edges into the vertex (owned by the graph)
    std::vector<Edge*> out;    // edges out of the vertex
    std::vector<Edge*> edges;  // all incident edges, a self-loop once
    std::unique_ptr<NodeSet> nodes;                  // vertex numbers it stands for
    std::unique_ptr<std::set<std::string>> nTerms;   // terms of the simple name
    std::unique_ptr<std::set<std::string>> nPaths;   // terms of the owner's name
    std::unique_ptr<std::set<std::string>> nSpecs;   // position-tagged signature terms
    std::multimap<std::string, std::unique_ptr<ClassAttribute>> attributes;
    std::multimap<std::string, std::unique_ptr<ClassMethod>> methods;
    float sum_out = 0;  // label weights of the outgoing arcs
    int nb_in = 0;      // arcs entering, parallel arcs counted
    int nb_out = 0;     // arcs leaving, parallel arcs counted

    Vertex() = default;
    explicit Vertex(int nb);
    Vertex(int nb, std::string lb);
    Vertex(int nb, std::string lb, const float* wt);
    Vertex(const Vertex&) = delete;
    Vertex& operator=(const Vertex&) = delete;
    virtual ~Vertex() = default;

    // Resets the counters and drops the four sets.
    void init();

    int getNumber() const { return number; }
    // Sets the number; nodes becomes the set holding it alone.
    int setNumber(int nb);
    std::string getLabel() const { return label; }
    std::string setLabel(std::string lb) {
        label = lb;
        return label;
    }
    float* getWeight() { return weight; }
    // Copies up to MAX_W weights, stopping before the first 0.
    const float* setWeight(const float* wt);
    // Sets weight slot i (0 to 4); other indices store nothing.
    float addWeight(float f, int i);
    int getNEdges() const { return static_cast<int>(edges.size()); }
    // The smallest member number; the own number without members.
    int getFirstNode() const;
    std::vector<Edge*> getIn() const { return in; }
    std::vector<Edge*> getOut() const { return out; }
    std::vector<Edge*> getEdges() const { return edges; }

    // Builds nTerms, nPaths and nSpecs from the label, owner and specif.
    void settify();
    void print() const;
};

}  // namespace graphmat

// One directed edge of a graph: all arcs from one vertex to another, with one
// label digit per arc and the per-digit arc counts.
#pragma once

#include <array>
#include <memory>
#include <string>

#include "graph/stdafx.h"

namespace graphmat {

class Edge {
public:
    int number = -1;
    int from = -1;
    int type = -1;  // -1: unknown, never priced as a type mismatch
    int to = -1;
    std::string label;                       // one digit per arc, in insertion order
    std::array<short, MAX_LABELS> labels{};  // slot d: number of arcs with digit d
    float weight[MAX_W] = {-1, -1, -1, -1, -1};  // -1: not set
    float label_weight = 0;                  // sum of the label weights of the arcs

    Edge() = default;
    Edge(int fr, int t);
    Edge(int fr, int t, std::string lb);
    Edge(int fr, int t, std::string lb, const float* wt);
    Edge(const Edge&) = delete;
    Edge& operator=(const Edge&) = delete;

    int getNumber() const { return number; }
    int setNumber(int nb) { return number = nb; }
    int getFrom() const { return from; }
    int setFrom(int fr) { return from = fr; }
    int getTo() const { return to; }
    int setTo(int t) { return to = t; }
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

    // A copy with the same number, ends, type, label and label counts.
    std::unique_ptr<Edge> duplicate() const;
    // Makes this edge such a copy of `other` (its weights stay as they are).
    void copyFrom(const Edge& other);
    // Adds the arcs of `other`: its label text appended, its counts added.
    void addArcsOf(const Edge& other);
    // -1 for a null edge; 1 when a count of digits 1..nl differs; else 2.
    int compare(const Edge* e, int nl) const;
    // The counts of digits 1..nl written one after another.
    std::string getLabel2(int nl) const;
    void print() const;
};

}  // namespace graphmat

#include "graph/Edge.h"

#include <iostream>

namespace graphmat {

Edge::Edge(int fr, int t) {
    setFrom(fr);
    setTo(t);
}

Edge::Edge(int fr, int t, std::string lb) : Edge(fr, t) { setLabel(lb); }

Edge::Edge(int fr, int t, std::string lb, const float* wt) : Edge(fr, t, lb) { setWeight(wt); }

const float* Edge::setWeight(const float* wt) {
    for (int i = 0; i < MAX_W && wt[i] != 0; ++i) weight[i] = wt[i];
    return wt;
}

float Edge::addWeight(float f, int i) {
    if (i >= 0 && i < MAX_W) weight[i] = f;
    return f;
}

std::unique_ptr<Edge> Edge::duplicate() const {
    auto copy = std::make_unique<Edge>();
    copy->copyFrom(*this);
    return copy;
}

void Edge::copyFrom(const Edge& other) {
    number = other.number;
    from = other.from;
    to = other.to;
    type = other.type;
    label = other.label;
    labels = other.labels;
}

void Edge::addArcsOf(const Edge& other) {
    label += other.label;
    for (int d = 0; d < MAX_LABELS; ++d) labels[d] += other.labels[d];
}

int Edge::compare(const Edge* e, int nl) const {
    if (e == nullptr) return -1;
    for (int i = 1; i <= nl && i < MAX_LABELS; ++i)
        if (labels[i] != e->labels[i]) return 1;
    return 2;
}

std::string Edge::getLabel2(int nl) const {
    std::string signature;
    for (int i = 1; i <= nl && i < MAX_LABELS; ++i) signature += to_string(labels[i]);
    return signature;
}

void Edge::print() const { std::cout << "\n " << from << ">" << to << "( " << label << " ); \n"; }

}  // namespace graphmat

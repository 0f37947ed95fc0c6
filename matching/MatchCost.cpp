// The cost of a whole matching: every graph-1 vertex or block substituted by
// its partner or deleted, every free graph-2 vertex or block inserted, every
// edge lifted to block level and substituted, deleted or inserted.
#include <iostream>
#include <map>

#include "matching/Cost.h"
#include "matching/Match.h"

namespace graphmat {

namespace {

using EdgesByPair = std::map<std::pair<int, int>, Edge*>;

}  // namespace

// The edges of one graph lifted to block level, one per block pair, in
// ascending (from, to) order. A lifted pair without a stored block edge gets
// its fused edge built and stored, as the lifted edges of a vertex would.
static EdgesByPair liftGraphEdges(Match& match, bool left) {
    Graph* g = left ? match.g1 : match.g2;
    const std::vector<int>& membership = left ? match.blocks1 : match.blocks2;
    FlatPairMap<Edge*>& store = left ? match.E1 : match.E2;
    EdgesByPair lifted;
    std::map<std::pair<int, int>, std::unique_ptr<Edge>> fusing;
    std::set<std::pair<int, int>> seen;
    for (const auto& e : g->E) {
        std::pair<int, int> pair{membership[e->from], membership[e->to]};
        if (seen.insert(pair).second) {
            if (Edge* existing = match.getEdge(pair.first, pair.second, left)) {
                lifted[pair] = existing;
            } else {
                auto copy = e->duplicate();
                copy->from = pair.first;
                copy->to = pair.second;
                fusing[pair] = std::move(copy);
            }
        } else if (auto it = fusing.find(pair); it != fusing.end()) {
            it->second->addArcsOf(*e);
        }
    }
    for (auto& [pair, edge] : fusing) {
        Edge* kept = match.adoptCopy(*edge, pair.first, pair.second);
        store(pair.first, pair.second) = kept;
        lifted[pair] = kept;
    }
    return lifted;
}

double Match::cost(int mode) {
    if (g1 == nullptr || g2 == nullptr || costs == nullptr) return -1;

    std::map<int, Vertex*> gathered1, gathered2;
    for (int b : blocks1) gathered1.emplace(b, nullptr);
    for (int b : blocks2) gathered2.emplace(b, nullptr);
    for (auto& [b, v] : gathered1) v = getVertex1(b);
    for (auto& [b, v] : gathered2) v = getVertex2(b);

    // The partner of a vertex or block, -1 when it is free or its partner
    // names no current vertex or block of the other graph: such a vertex is
    // deleted (inserted) with all its edges.
    auto current = [](const std::map<int, Vertex*>& gathered, int p) {
        auto it = p == -1 ? gathered.end() : gathered.find(p);
        return it == gathered.end() || it->second == nullptr ? -1 : p;
    };
    auto partner1 = [&](int x) { return current(gathered2, getM12(x)); };
    auto partner2 = [&](int y) { return current(gathered1, getM21(y)); };
    auto nodes1 = [&](int x) { return partner1(x) == -1 ? -1 : getNodes1(x); };
    auto nodes2 = [&](int y) { return partner2(y) == -1 ? -1 : getNodes2(y); };

    double total = 0;
    for (const auto& [b, v] : gathered1) {
        if (v == nullptr) continue;
        int p = partner1(b);
        if (p == -1) {
            total += costs->cnd(mode, v);
            continue;
        }
        Vertex* w = gathered2[p];
        float s = intSim(mode, v, w);
        _N(b, p) = s;
        total += static_cast<float>(costs->raw_cns(mode, v, w, s));
    }
    std::cout << "\t" << total << "\t";

    for (const auto& [b, w] : gathered2) {
        if (w == nullptr) continue;
        if (partner2(b) == -1) total += costs->cni(mode, w);
    }
    std::cout << total << "\t";

    EdgesByPair G1 = liftGraphEdges(*this, true);
    EdgesByPair G2 = liftGraphEdges(*this, false);

    int substitutions = 0;
    for (const auto& [pair, e1] : G1) {
        int a = partner1(e1->from);
        int b = partner1(e1->to);
        if (a == -1 || b == -1) {
            total += costs->ced(mode, e1, nodes1(e1->from), nodes1(e1->to));
            continue;
        }
        ++substitutions;
        auto counterpart = G2.find({a, b});
        Edge* e2 = counterpart == G2.end() ? nullptr : counterpart->second;
        total += costs->raw_ces(mode, e1, e2, getENodes1(e1), getENodes2(e2));
    }
    std::cout << "\t(" << substitutions << ")" << total << "\t";

    for (const auto& [pair, e2] : G2) {
        int a = partner2(e2->from);
        int b = partner2(e2->to);
        if (a != -1 && b != -1) {
            if (G1.find({a, b}) == G1.end()) total += costs->raw_ces(mode, nullptr, e2, 0, getENodes2(e2));
        } else {
            total += costs->cei(mode, e2, nodes2(e2->from), nodes2(e2->to));
        }
    }
    std::cout << total << "___" << G1.size() << "_" << G2.size() << "\n";
    return total;
}

double Match::noMatchCost(int mode) {
    cost_mode = mode;
    std::cout << "\n\n NOMATCHCOST: " << mode << "\n\n";
    double total = 0;
    for (const auto& v : g1->V) total += costs->cnd(mode, v.get());
    for (const auto& w : g2->V) total += costs->cni(mode, w.get());
    for (const auto& e : g1->E) total += costs->ced(mode, e.get(), getNodes1(e->from), getNodes1(e->to));
    for (const auto& e : g2->E) total += costs->cei(mode, e.get(), getNodes2(e->from), getNodes2(e->to));
    no_matching_cost = total;
    std::fill(bestMatch.begin(), bestMatch.end(), -1);
    return total;
}

double Match::ocost(int mode) {
    if (g1 == nullptr || g2 == nullptr || costs == nullptr) return -1;
    std::cout << "\n";
    double total = 0;
    const int order1 = static_cast<int>(g1->V.size());
    for (int i = 0; i < order1; ++i) {
        Vertex* v = g1->V[i].get();
        std::cout << i << "(" << v->label << ")\n";
        if (M12[i] == -1) {
            std::cout << "\t<unmatched";
            total += costs->cnd(mode, v);
            std::cout << ">\n";
            continue;
        }
        Vertex* w = getVertex2(M12[i]);
        std::cout << "\t<matched>";
        float s = w ? intSim(mode, v, w) : 0.0f;
        if (w) _N(i, M12[i]) = s;
        std::cout << "\n\t" << i << " * " << M12[i] << " * " << s << "\n";
        total += costs->raw_cns(mode, v, w, s);
    }
    std::cout << total << "\t";
    for (std::size_t j = 0; j < g2->V.size(); ++j)
        if (M21[j] == -1) total += costs->cni(mode, g2->V[j].get());
    std::cout << total << "\t";

    int substitutions = 0;
    for (const auto& e1 : g1->E) {
        int a = M12[e1->from], b = M12[e1->to];
        if (a == -1 || b == -1) {
            total += costs->ced(mode, e1.get(), getNodes1(e1->from), getNodes1(e1->to));
            continue;
        }
        ++substitutions;
        Edge* e2 = g2->getEdge(a, b);
        total += costs->raw_ces(mode, e1.get(), e2, getENodes1(e1.get()), getENodes2(e2));
    }
    std::cout << "\t(" << substitutions << ")" << total << "\t";
    for (const auto& e2 : g2->E) {
        int a = M21[e2->from], b = M21[e2->to];
        if (a != -1 && b != -1) {
            if (g1->getEdge(a, b) == nullptr) total += costs->raw_ces(mode, nullptr, e2.get(), 0, getENodes2(e2.get()));
        } else {
            total += costs->cei(mode, e2.get(), getNodes2(e2->from), getNodes2(e2->to));
        }
    }
    std::cout << total << "\n";
    return total;
}

}  // namespace graphmat

// Move evaluation: whether a move may be made now, and its exact cost change,
// priced on a temporarily freed state that is restored afterwards.
#include <algorithm>
#include <iostream>
#include <tuple>

#include "matching/Cost.h"
#include "matching/Match.h"

namespace graphmat {

namespace {

// The members a vertex stands for: its member set, or the vertex alone when
// it has none. Allocates nothing.
class Members {
public:
    explicit Members(const Vertex* v) : many_(v->nodes.get()), one_(v->number) {}
    template <class F>
    void forEach(F f) const {
        if (many_)
            for (int k : *many_) f(k);
        else
            f(one_);
    }
    bool contains(int x) const { return many_ ? many_->count(x) != 0 : x == one_; }

private:
    const NodeSet* many_;
    int one_;
};

bool sameVertex(const Vertex* a, const Vertex* b) { return a && b && a->number == b->number; }

}  // namespace

void Match::collectMembers(std::initializer_list<const Vertex*> vs, std::vector<int>& out) {
    out.clear();
    for (const Vertex* v : vs) {
        if (v == nullptr) continue;
        if (v->nodes)
            out.insert(out.end(), v->nodes->begin(), v->nodes->end());
        else
            out.push_back(v->number);
    }
    settleSorted(out);
}

bool Match::isValidMove(int i, int j) {
    if (const cell* c = M.find(i, j); c && c->tabu > iterations) return false;

    const int order1 = static_cast<int>(blocks1.size());
    const int order2 = static_cast<int>(blocks2.size());
    const int holderOfJ = j < order2 ? (j >= 0 ? blocks2[j] : -1) : j;
    const bool touchesPair = getM12(i) == holderOfJ;

    Vertex* v1 = getVertex1(i);
    Vertex* v2 = getVertex2(j);
    if (v1 == nullptr || v2 == nullptr) return false;
    const Members members1(v1), members2(v2);
    bool valid = true;
    members1.forEach([&](int k1) {
        if (!valid) return;
        if (i >= order1 && blocks1[k1] != i) {  // the block is not live
            valid = false;
            return;
        }
        members2.forEach([&](int k2) {
            if (!valid) return;
            if ((j >= order2 && blocks2[k2] != j) || !movable(k1, k2)) {
                valid = false;
                return;
            }
            if (touchesPair) {
                const cell* pair = M.find(k1, k2);
                if (pair && pair->fixed) valid = false;
            }
        });
    });
    if (!valid) return false;

    const int partnerOfJ = getM21(j);
    const int partnerOfI = getM12(i);
    return partnerOfJ == -1 || partnerOfI == -1 || (partnerOfJ == i && partnerOfI == j);
}

double Match::computeDelta(int mode, Vertex* v1, Vertex* v2) {
    const int i = v1->number, j = v2->number;
    const int order1 = static_cast<int>(blocks1.size());
    const int order2 = static_cast<int>(blocks2.size());
    Vertex* n1 = i < order1 ? v1 : nullptr;
    Vertex* n2 = j < order2 ? v2 : nullptr;
    Vertex* oB1 = n1 ? getVertex1(blocks1[i]) : v1;
    Vertex* oB2 = n2 ? getVertex2(blocks2[j]) : v2;
    const bool alone1 = sameVertex(oB1, v1);
    const bool alone2 = sameVertex(oB2, v2);
    const int old_i = getM21(j);
    const int old_j = getM12(i);
    Vertex* _oB1 = old_i == -1 ? nullptr : getVertex1(old_i);
    Vertex* _oB2 = old_j == -1 ? nullptr : getVertex2(old_j);

    // Free every vertex of the pairs the move touches, remembering its state.
    EvaluationScratch& work = evalScratch_;
    collectMembers({oB1, _oB1}, work.involved1);
    collectMembers({oB2, _oB2}, work.involved2);
    work.saved1.clear();
    work.saved2.clear();
    for (int n : work.involved1) {
        work.saved1.push_back({M12[n], blocks1[n]});
        M12[n] = -1;
        blocks1[n] = n;
    }
    for (int m : work.involved2) {
        work.saved2.push_back({M21[m], blocks2[m]});
        M21[m] = -1;
        blocks2[m] = m;
    }

    double before = 0, after = 0;
    if (n1 && n2 && alone1 && alone2 && !_oB2 && !_oB1) {
        after = compDelta(mode, v1, v2);  // match
    } else if (n1 && n2 && alone1 && alone2 && sameVertex(_oB1, oB1) && sameVertex(_oB2, oB2)) {
        before = compDelta(mode, v1, v2);  // unmatch
    } else if (_oB2 && n2 && alone2 && !_oB1) {
        before = compDelta(mode, oB1, _oB2);  // merge: j joins i's partner
        after = compDelta(mode, oB1, updateBlock(_oB2, j, false, true));
    } else if (n1 && alone1 && !_oB2 && _oB1) {
        before = compDelta(mode, _oB1, oB2);  // merge: i joins j's partner
        after = compDelta(mode, updateBlock(_oB1, i, true, true), oB2);
    } else if (n1 && !alone1 && sameVertex(_oB2, oB2)) {
        before = compDelta(mode, oB1, _oB2);  // split: i leaves its block
        after = compDelta(mode, updateBlock(oB1, i, true, false), _oB2);
    } else if (n2 && !alone2 && sameVertex(_oB1, oB1)) {
        before = compDelta(mode, _oB1, oB2);  // split: j leaves its block
        after = compDelta(mode, _oB1, updateBlock(oB2, j, false, false));
    } else if ((!n1 || !n2) && sameVertex(_oB1, oB1) && sameVertex(_oB2, oB2)) {
        before = compDelta(mode, oB1, oB2);  // unmatch of a pair with a block
    } else {
        std::cout << "\n NON-VALID !!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!! \n";
    }

    for (std::size_t k = 0; k < work.involved1.size(); ++k)
        std::tie(M12[work.involved1[k]], blocks1[work.involved1[k]]) = work.saved1[k];
    for (std::size_t k = 0; k < work.involved2.size(); ++k)
        std::tie(M21[work.involved2[k]], blocks2[work.involved2[k]]) = work.saved2[k];
    return after - before;
}

double Match::compDelta(int mode, Vertex* v1, Vertex* v2) {
    const Members members1(v1), members2(v2);
    members1.forEach([&](int k) {
        blocks1[k] = v1->number;
        M12[k] = v2->number;
    });
    members2.forEach([&](int m) {
        blocks2[m] = v2->number;
        M21[m] = v1->number;
    });
    ++update_occ;

    float s = intSim(mode, v1, v2);
    _N(v1->number, v2->number) = s;
    double delta = costs->raw_cns(mode, v1, v2, s) - costs->cnd(mode, v1) - costs->cni(mode, v2);

    // Both sides are lifted before any edge is priced, so that a block edge
    // fused while lifting the graph-2 side is already registered when a
    // graph-1 edge looks up its counterpart.
    EvaluationScratch& work = evalScratch_;
    std::vector<Edge*>& deleted = work.deleted;
    std::vector<Edge*>& inserted = work.inserted;
    deleted.clear();
    inserted.clear();
    liftedEdges(v1, true, work.edges1);
    liftedEdges(v2, false, work.edges2);
    for (Edge* e : work.edges1) {
        int a = getM12(e->from), b = getM12(e->to);
        if (a == -1 || b == -1) {
            delta += costs->ced(mode, e, getNodes1(e->from), getNodes1(e->to));
            deleted.push_back(e);
            continue;
        }
        Edge* e2 = getEdge2(a, b);
        delta += costs->raw_ces(mode, e, e2, getENodes1(e), getENodes2(e2));
        deleted.push_back(e);
        if (e2) inserted.push_back(e2);
    }
    for (Edge* e2 : work.edges2) {
        int a = getM21(e2->from), b = getM21(e2->to);
        if (a == -1 || b == -1) {
            delta += costs->cei(mode, e2, getNodes2(e2->from), getNodes2(e2->to));
            inserted.push_back(e2);
        } else if (getEdge1(a, b) == nullptr) {
            delta += costs->raw_ces(mode, nullptr, e2, 0, getENodes2(e2));
            inserted.push_back(e2);
        }
    }

    members1.forEach([&](int k) {
        blocks1[k] = k;
        M12[k] = -1;
    });
    members2.forEach([&](int m) {
        blocks2[m] = m;
        M21[m] = -1;
    });

    // Take back the prices these edges have in the unmatched state; an end
    // that is the vertex itself or one of its members counts as free.
    auto endNodes1 = [&](int end) {
        return end == v1->number || members1.contains(end) ? -1 : getNodes1(end);
    };
    auto endNodes2 = [&](int end) {
        return end == v2->number || members2.contains(end) ? -1 : getNodes2(end);
    };
    for (Edge* e : deleted) delta -= costs->ced(mode, e, endNodes1(e->from), endNodes1(e->to));
    for (Edge* e : inserted) delta -= costs->cei(mode, e, endNodes2(e->from), endNodes2(e->to));
    return delta;
}

// ---------------------------------------------------------------------------
// The older evaluation of moves between plain vertices on the partner arrays
// alone. Nothing in a run calls it.

double Match::compGamma(int mode, Vertex* v1, Vertex* v2) {
    const int i = v1->number, j = v2->number;
    const int savedI = M12[i], savedJ = M21[j];
    M12[i] = j;
    M21[j] = i;
    ++update_occ;
    float s = intSim(mode, v1, v2);
    _N(i, j) = s;
    double p = costs->raw_cns(mode, v1, v2, s);
    M12[i] = -1;
    M21[j] = -1;
    double d = costs->cnd(mode, v1), n = costs->cni(mode, v2);
    M12[i] = j;
    M21[j] = i;
    double gamma = p - d - n;

    // Edge prices with vertex i (or j) freed for the time of one price.
    auto cedWithIFree = [&](Edge* e, bool free) {
        int keep = M12[i];
        if (free) M12[i] = -1;
        double price = costs->ced(mode, e, getNodes1(e->from), getNodes1(e->to));
        M12[i] = keep;
        return price;
    };
    auto ceiWithJFree = [&](Edge* e, bool free) {
        int keep = M21[j];
        if (free) M21[j] = -1;
        double price = costs->cei(mode, e, getNodes2(e->from), getNodes2(e->to));
        M21[j] = keep;
        return price;
    };

    for (Edge* e : v1->edges) {
        if (M12[e->from] != -1 && M12[e->to] != -1) {
            Edge* e2 = g2->getEdge(M12[e->from], M12[e->to]);
            gamma += costs->raw_ces(mode, e, e2, getENodes1(e), getENodes2(e2)) - cedWithIFree(e, e->from == i);
            if (e2) gamma -= ceiWithJFree(e2, M12[e->from] == j);
        } else if (e->from == i) {
            gamma += cedWithIFree(e, false) - cedWithIFree(e, true);
        }
    }
    for (Edge* e2 : v2->edges) {
        bool bothMatched = M21[e2->from] != -1 && M21[e2->to] != -1;
        if (!bothMatched) {
            if (e2->from == j) gamma += ceiWithJFree(e2, false) - ceiWithJFree(e2, true);
        } else if (g1->getEdge(M21[e2->from], M21[e2->to]) == nullptr) {
            gamma += costs->raw_ces(mode, nullptr, e2, 0, getENodes2(e2)) - ceiWithJFree(e2, e2->from == j);
        }
    }
    M12[i] = savedI;
    M21[j] = savedJ;
    return gamma;
}

double Match::computeGamma(int mode, Vertex* v1, Vertex* v2) {
    const int i = v1->number, j = v2->number;
    const int old_i = M21[j], old_j = M12[i];
    // Partners that are blocks are outside this evaluation.
    if (old_i >= static_cast<int>(g1->V.size()) || old_j >= static_cast<int>(g2->V.size())) return 0;
    auto storedSim = [&](int a, int b) {
        const float* s = _N.find(a, b);
        return s ? *s : 0.0f;
    };
    // Undo terms of the pair (w1, jj): its substitution and the edge
    // substitutions it takes part in, seen from graph 1 and from graph 2.
    auto undoTerms = [&](Vertex* w1, Vertex* w2, int skip1, int skip2) {
        double result = -costs->cns(mode, w1, w2, storedSim(w1->number, w2->number));
        for (Edge* e : w1->edges) {
            int other = e->from == w1->number ? e->to : e->from;
            if (other == skip1 || M12[other] == -1 || M12[e->from] == -1 || M12[e->to] == -1) continue;
            result -= costs->ces(mode, e, g2->getEdge(M12[e->from], M12[e->to]));
        }
        for (Edge* e2 : w2->edges) {
            int other = e2->from == w2->number ? e2->to : e2->from;
            if (other == skip2 || M21[other] == -1 || M21[e2->from] == -1 || M21[e2->to] == -1) continue;
            if (g1->getEdge(M21[e2->from], M21[e2->to]) == nullptr) result -= costs->ces(mode, nullptr, e2);
        }
        return result;
    };

    if (old_i == i && old_j == j) {
        M12[i] = -1;
        M21[j] = -1;
        double gamma = -compGamma(mode, v1, v2);
        M12[i] = j;
        M21[j] = i;
        return gamma;
    }
    if (old_i == -1 && old_j == -1) {
        comp_time += 1;
        return compGamma(mode, v1, v2);
    }
    if (old_j == -1) {
        Vertex* w1 = g1->V[old_i].get();
        double gamma = undoTerms(w1, v2, i, -1);
        M12[old_i] = -1;
        M21[j] = -1;
        gamma += compGamma(mode, v1, v2);
        M12[old_i] = j;
        M21[j] = old_i;
        return gamma;
    }
    if (old_i == -1) {
        Vertex* w2 = g2->V[old_j].get();
        double gamma = undoTerms(v1, w2, -1, j);
        M12[i] = -1;
        M21[old_j] = -1;
        gamma += compGamma(mode, v1, v2);
        M12[i] = old_j;
        M21[old_j] = i;
        return gamma;
    }
    if (M12[old_i] == j && M21[old_j] == i) {
        Vertex* w1 = g1->V[old_i].get();
        Vertex* w2 = g2->V[old_j].get();
        double gamma = undoTerms(v1, w2, -1, j);
        gamma -= costs->ces(mode, g1->getEdge(i, old_i), g2->getEdge(old_j, j));
        gamma -= costs->ces(mode, g1->getEdge(old_i, i), g2->getEdge(j, old_j));
        M12[i] = -1;
        M21[old_j] = -1;
        double recomputed = cost(cost_mode);
        if (recomputed != currentCost + gamma) {
            std::cout << "\n< (" << i << "," << old_j << ") & " << " (" << old_i << "," << j << ") > " << "< ["
                      << v1->number << "," << w2->number << "] & " << " [" << w1->number << "," << v2->number
                      << "] > " << "< {" << v1->label << "," << w2->label << "} & " << " {" << w1->label << ","
                      << v2->label << "} > : " << recomputed << "(" << currentCost + gamma << ") " << " ";
        }
        gamma += undoTerms(w1, v2, i, -1);
        M12[old_i] = -1;
        M21[j] = -1;
        gamma += compGamma(mode, v1, v2);
        M12[i] = old_j;
        M21[old_j] = i;
        M12[old_i] = j;
        M21[j] = old_i;
        return gamma;
    }
    return 0;
}

}  // namespace graphmat

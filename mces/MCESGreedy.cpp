// MCES: one step of the greedy matching loop: the choice of the next pair
// (by scan or from the candidate structure), the commits that spread the
// gains of common edges to neighbouring pairs, the edge-label agreement,
// the refresh of the connection counts and the loss estimates.
#include <algorithm>
#include <iostream>

#include "graph/Clock.h"
#include "graph/Random.h"
#include "mces/MCES.h"

namespace graphmat {

paire MCES::find() {
    const unsigned noVertex = static_cast<unsigned>(-1);
    paire chosen{noVertex, noVertex, -1.0};
    if ((idAlgo == 1 || idAlgo == 8) && maxG == 0 && allG == 0) return chosen;
    const double threshold = maxDelta - r_alpha * (maxDelta - minDelta);

    if (findfast) {
        if (ff->nbCandidates == 0) {
            std::cout << "\n\n\n ---------------------------------FEED FAST FIND--------------------------------- "
                         "\n\n\n\n";
            feedFastFind();
        }
        if (ff->nbCandidates > 0) {
            const cell* c = ff->find();
            if (c) chosen = {static_cast<unsigned>(c->x), static_cast<unsigned>(c->y), c->delta_m};
        }
        return chosen;
    }

    // A uniform pick among the unmatched pairs whose score reaches the
    // threshold, in row-major order: the k-th such pair replaces the choice
    // with probability 1/k.
    if (!gamma.empty()) {
        long k = 0;
        for (int i = 0; i < n1_; ++i) {
            if (M12[i] >= 0) continue;
            const double* scores = gamma.row(i);
            for (int j = 0; j < n2_; ++j) {
                if (M21[j] >= 0 || !(scores[j] >= threshold)) continue;
                ++k;
                const double u = rand15() / 32767.0;
                if (1.0 / k >= u) chosen = {static_cast<unsigned>(i), static_cast<unsigned>(j), scores[j]};
            }
        }
        return chosen;
    }
    // Without gamma every candidate has one score: 0 before any score pass,
    // else (alpha being 0, the threshold is maxDelta or not a number) the
    // maximum of the last pass, held by the pairs of topPairs_.
    const double score = scored_ ? maxDelta : 0.0;
    if (!(score >= threshold)) return chosen;
    const std::vector<TopRun>& runs = scored_ ? topPairs_ : pickRuns_;
    if (!scored_) {
        pickRuns_.clear();
        for (int i = 0; i < n1_; ++i)
            if (M12[i] < 0) pickRuns_.push_back({i, 0, n2_});
    }
    pickAmongRuns(runs, score, chosen);
    return chosen;
}

void MCES::pickAmongRuns(const std::vector<TopRun>& runs, double score, paire& chosen) {
    // From the 32768th candidate on, 1/k is below the least draw above 0
    // (1/32767), so only a draw of 0 replaces the choice: the draws of all
    // the later candidates are made at once, and the last 0 among them names
    // the candidate chosen.
    constexpr long kOneByOne = 32767;
    long k = 0;
    std::size_t r = 0;
    int from = 0;  // the next candidate is in run r, from this column on
    for (; r < runs.size(); ++r) {
        const TopRun& run = runs[r];
        from = run.from;
        if (k >= kOneByOne) break;
        if (M12[run.row] >= 0) continue;
        for (; from < run.to && k < kOneByOne; ++from) {
            if (M21[from] >= 0) continue;
            ++k;
            const double u = rand15() / 32767.0;
            if (1.0 / k >= u) chosen = {static_cast<unsigned>(run.row), static_cast<unsigned>(from), score};
        }
        if (from < run.to) break;  // the run goes on past the last single draw
    }
    if (r >= runs.size()) return;

    // The candidates left: the rest of run r from column `from`, then the runs
    // after it. freeBefore[c] counts the unmatched columns below c.
    std::vector<int>& freeBefore = freeColumns_;
    freeBefore.assign(static_cast<std::size_t>(n2_) + 1, 0);
    for (int c = 0; c < n2_; ++c) freeBefore[c + 1] = freeBefore[c] + (M21[c] < 0 ? 1 : 0);
    auto candidates = [&](std::size_t index, int first) -> long {
        const TopRun& run = runs[index];
        return M12[run.row] >= 0 || first >= run.to ? 0 : freeBefore[run.to] - freeBefore[first];
    };
    long left = candidates(r, from);
    for (std::size_t q = r + 1; q < runs.size(); ++q) left += candidates(q, runs[q].from);
    long last = rand15LastZero(left);
    if (last < 0) return;
    for (std::size_t q = r;; ++q) {
        const int start = q == r ? from : runs[q].from;
        const long here = candidates(q, start);
        if (last >= here) {
            last -= here;
            continue;
        }
        int c = start;
        for (;; ++c)
            if (M21[c] < 0 && last-- == 0) break;
        chosen = {static_cast<unsigned>(runs[q].row), static_cast<unsigned>(c), score};
        return;
    }
}

void MCES::feedFastFind() {
    const double start = clockMs();
    for (int i = 0; i < n1_; ++i) {
        if (M12[i] != -1) continue;
        // The pairs of the row with a non-zero potential, in column order.
        for (const SparsePairCounts::Entry& e : potential.row(i))
            if (M21[e.col] == -1) offerCell(i, e.col, true);
        if ((clockMs() - start) / 1000.0 > feedTimeLimitMs / 1000.0) break;
    }
}

void MCES::offerCell(int a, int b, bool check_thresh) {
    const double delta = g(a, b);
    const double delta_m = g(a, b) + simil(a, b) * BIAS;
    cell* c = M.find(a, b);
    if (!c) {
        // insert would refuse it and leave it as blank as it is.
        if (check_thresh ? !ff->takes(delta_m) : ff->layerOf(delta_m) == -1) return;
        c = &M(a, b);
    }
    c->delta = delta;
    c->delta_m = delta_m;
    ff->insert(c, check_thresh);
}

void MCES::update(int x, int y) {
    updateG(x, y);
    rescore(false);
}

void MCES::refreshCell(int a, int b) { offerCell(a, b, false); }

void MCES::updateG(int x, int y) {
    nbMatched += 1;
    M12[x] = y;
    M21[y] = x;
    won = static_cast<int>(won + g(x, y));

    // The margins lose the row and the column that are now taken.
    for (int i = 0; i < n1_; ++i)
        if (i != x && M12[i] < 0) g(i, n2_) -= g(i, y);
    for (int j = 0; j < n2_; ++j)
        if (j != y && M21[j] < 0) g(n1_, j) -= g(x, j);

    // Common edges of x and y make the pairs of their unmatched neighbours
    // more attractive: in-neighbours first, then out-neighbours.
    std::vector<std::pair<int, int>> noted;
    const Vertex* vx = g1->V[x].get();
    const Vertex* vy = g2->V[y].get();
    for (const Edge* e1 : vx->in) {
        const int a = e1->from;
        if (a < 0 || a >= n1_ || M12[a] >= 0) continue;
        for (const Edge* e2 : vy->in) {
            const int b = e2->from;
            if (b < 0 || b >= n2_ || M21[b] >= 0) continue;
            if (!overlaps(a, b)) continue;
            const float c = compareEdges(e1, e2);
            g(a, b) += c;
            g(a, n2_) += c;
            g(n1_, b) += c;
            markPair(a, b);
            noted.emplace_back(a, b);
        }
    }
    for (const Edge* e1 : vx->out) {
        const int a = e1->to;
        if (a < 0 || a >= n1_ || M12[a] >= 0) continue;
        for (const Edge* e2 : vy->out) {
            const int b = e2->to;
            if (b < 0 || b >= n2_ || M21[b] >= 0) continue;
            if (potential.count(a, b) == 0) continue;
            const float c = compareEdges(e1, e2);
            g(a, b) += c;
            g(a, n2_) += c;
            g(n1_, b) += c;
            markPair(a, b);
            noted.emplace_back(a, b);
        }
    }

    // Every pair of row x and column y leaves ff; a pair without a cell was
    // never in it. (The order of removals leaves the same layers.)
    M.forRowAndColumn(x, y, [&](cell& c) { ff->remove(&c); });
    for (const auto& [a, b] : noted) refreshCell(a, b);
}

float MCES::compareEdges(const Edge* e1, const Edge* e2) const {
    if (!e1 || !e2) return 0;
    const std::string& l1 = e1->label;
    const std::string& l2 = e2->label;
    if (l1 == l2) return static_cast<float>(l1.size());
    if (l1.size() > 1 || l2.size() > 1) {
        int count1[10] = {0}, count2[10] = {0};
        for (char ch : l1)
            if (ch >= '0' && ch <= '9') ++count1[ch - '0'];
        for (char ch : l2)
            if (ch >= '0' && ch <= '9') ++count2[ch - '0'];
        int common = 0;
        for (int d = 1; d <= 9; ++d) common += std::min(count1[d], count2[d]);
        return static_cast<float>(common);
    }
    return 0;
}

void MCES::dropArcs(GraphTables& t, int centre, const Vertex* v, const std::vector<int>& partners,
                    std::set<int>& collected) {
    const int width = t.c_in.cols();
    const int n = static_cast<int>(partners.size());
    auto drop = [&](const std::string& label, DenseMatrix<int>& ofCentre, int other, DenseMatrix<int>& ofOther) {
        for (char ch : label) {
            if (ch < '0' || ch > '9') continue;  // not an arc label digit
            const int d = ch - '0';
            if (d >= width) continue;
            ofCentre(centre, d) -= 1;
            ofOther(other, d) -= 1;
        }
    };
    for (const Edge* e : v->in) {
        const int a = e->from;
        if (a < 0 || a >= n || partners[a] >= 0) continue;
        collected.insert(a);
        drop(e->label, t.c_in, a, t.c_out);
    }
    for (const Edge* e : v->out) {
        const int a = e->to;
        if (a < 0 || a >= n || partners[a] >= 0) continue;
        collected.insert(a);
        drop(e->label, t.c_out, a, t.c_in);
    }
}

void MCES::update1(int x, int y) {
    updateG(x, y);
    // The arcs between the new pair and its unmatched neighbours leave the
    // working counts (the graphs' own counts are never changed).
    std::set<int> nbor1, nbor2;
    dropArcs(t1, x, g1->V[x].get(), M12, nbor1);
    dropArcs(t2, y, g2->V[y].get(), M21, nbor2);
    for (int k = 1; k < nb_labels; ++k) {
        if (static_cast<long long>(t1.c_in(x, k)) * t1.c_out(x, k) * t2.c_in(y, k) * t2.c_out(y, k) != 0)
            std::cout << "\n UH OH \n";
        t1.c_in(x, k) = 0;
        t1.c_out(x, k) = 0;
        t2.c_in(y, k) = 0;
        t2.c_out(y, k) = 0;
    }
    alpha = (n1_ - nbMatched) * (n2_ - nbMatched);

    lost = connexions(x, y);
    connexions(n1_, y) -= connexions(x, y);
    connexions(x, n2_) -= connexions(x, y);
    connexions(x, y) = 0;
    for (int j = 0; j < n2_; ++j) {
        if (M21[j] >= 0) continue;
        connexions(n1_, j) -= connexions(x, j);
        connexions(x, n2_) -= connexions(x, j);
        lost += connexions(x, j);
        connexions(x, j) = 0;
    }
    for (int i = 0; i < n1_; ++i) {
        if (M12[i] >= 0) continue;
        connexions(i, n2_) -= connexions(i, y);
        connexions(n1_, y) -= connexions(i, y);
        lost += connexions(i, y);
        connexions(i, y) = 0;
    }
    if (idAlgo == 1 || idAlgo == 8) updatePromoted(nbor1, nbor2);
    allG -= lost;
    setGamma1();
}

int MCES::freshConnexions(int i, int j) const {
    int links = 0;
    for (int k = 1; k < nb_labels; ++k)
        links += t1.c_in(i, k) * t2.c_in(j, k) + t1.c_out(i, k) * t2.c_out(j, k);
    return links;
}

void MCES::updatePromoted(std::set<int> nbor1, std::set<int> nbor2) {
    auto refresh = [&](int i, int j) {
        const int before = connexions(i, j);
        const int now = freshConnexions(i, j);
        connexions(i, j) = now;
        if (now == before) return;
        lost += before - now;
        connexions(i, n2_) += now - before;
        connexions(n1_, j) += now - before;
    };
    for (int a : nbor1)
        for (int j = 0; j < n2_; ++j)
            if (M21[j] < 0) refresh(a, j);
    for (int b : nbor2)
        for (int i = 0; i < n1_; ++i)
            if (M12[i] < 0 && nbor1.count(i) == 0) refresh(i, b);
}

float MCES::getERemoved1(int x, int y) {
    return static_cast<float>(potential(x, n2_) + potential(n1_, y) - 2 * potential(x, y));
}

float MCES::getERemoved3(int x, int y) {
    float removed = getERemoved1(x, y);
    const Vertex* vx = g1->V[x].get();
    const Vertex* vy = g2->V[y].get();
    auto count = [&](const std::vector<Edge*>& ofX, bool fromOfX, const std::vector<Edge*>& ofY, bool fromOfY) {
        for (const Edge* e1 : ofX) {
            const int a = fromOfX ? e1->from : e1->to;
            if (a < 0 || a >= n1_ || M12[a] >= 0) continue;
            for (const Edge* e2 : ofY) {
                const int b = fromOfY ? e2->from : e2->to;
                if (b < 0 || b >= n2_ || M21[b] >= 0) continue;
                if (e1->label != e2->label) continue;
                if (potential(a, y) >= 1 && potential(x, b) >= 1) removed -= 1;
            }
        }
    };
    count(vx->in, true, vy->out, false);
    count(vx->out, false, vy->in, true);
    return removed;
}

float MCES::getERemoved4(int x, int y) {
    float removed = getERemoved1(x, y);
    for (int a = 0; a < n1_; ++a) {
        if (a == x || M12[a] >= 0 || !(potential(a, y) >= 1)) continue;
        for (int b = 0; b < n2_; ++b) {
            if (b == y || M21[b] >= 0 || !(potential(x, b) >= 1)) continue;
            removed -= compareEdges(g1->getEdge(x, a), g2->getEdge(b, y));
            removed -= compareEdges(g1->getEdge(a, x), g2->getEdge(y, b));
        }
    }
    return removed;
}

}  // namespace graphmat

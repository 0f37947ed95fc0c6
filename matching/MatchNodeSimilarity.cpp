// Node similarity: how alike a graph-1 and a graph-2 vertex (or block) are,
// from the terms of their names, their owners' names and their
// signatures.
#include <algorithm>
#include <cmath>
#include <vector>

#include "solvers/Hungarian.h"
#include "matching/Match.h"

namespace graphmat {

namespace {

using TermList = Match::TermList;

const TermList& orEmpty(const TermList* terms) {
    static const TermList none;
    return terms ? *terms : none;
}

// 2 |A n B| / (|A| + |B|); 0 for two empty sets. The common terms are
// counted in one merge of the two ascending lists.
double dice(const TermList& a, const TermList& b) {
    if (a.empty() && b.empty()) return 0.0;
    std::size_t common = 0;
    for (auto x = a.begin(), y = b.begin(); x != a.end() && y != b.end();) {
        const int order = (*x)->compare(**y);
        if (order < 0) {
            ++x;
        } else if (order > 0) {
            ++y;
        } else {
            ++common;
            ++x;
            ++y;
        }
    }
    return 2.0 * static_cast<double>(common) / static_cast<double>(a.size() + b.size());
}

double simSetOf(const TermList& set1, const TermList& set2);

// The better of simSet and the Dice coefficient; Dice only when simSet is
// not exactly 1.
double bestOfSetAndDice(const TermList& a, const TermList& b) {
    double value = simSetOf(a, b);
    if (value != 1.0) value = std::max(value, dice(a, b));
    return value;
}

void listTerms(const std::set<std::string>* set, TermList& out) {
    out.clear();
    if (set)
        for (const std::string& t : *set) out.push_back(&t);
}

int nodeCount(const Vertex* v) { return v->nodes ? static_cast<int>(v->nodes->size()) : 1; }

}  // namespace

int LCS(const std::string& str1, const std::string& str2) {
    if (str1.empty() || str2.empty()) return 0;
    thread_local std::vector<int> current, previous;  // reused rows of the table
    current.assign(str2.size(), 0);
    previous.assign(str2.size(), 0);
    int best = 0;
    for (std::size_t i = 0; i < str1.size(); ++i) {
        for (std::size_t j = 0; j < str2.size(); ++j) {
            if (str1[i] != str2[j])
                current[j] = 0;
            else
                current[j] = (i == 0 || j == 0) ? 1 : previous[j - 1] + 1;
            best = std::max(best, current[j]);
        }
        std::swap(current, previous);
    }
    return best;
}

double simSet(const std::set<std::string>* sstr1, const std::set<std::string>* sstr2) {
    TermList set1, set2;
    listTerms(sstr1, set1);
    listTerms(sstr2, set2);
    return simSetOf(set1, set2);
}

namespace {

double simSetOf(const TermList& set1, const TermList& set2) {
    const int spl1 = static_cast<int>(set1.size());
    const int spl2 = static_cast<int>(set2.size());
    int len1 = 0, len2 = 0;
    for (const std::string* t : set1) len1 += static_cast<int>(t->size());
    for (const std::string* t : set2) len2 += static_cast<int>(t->size());
    if (len1 + len2 == 0) return 0.0;
    const int maxLen = std::max(len1, len2);
    auto common = [](const std::string& a, const std::string& b) {
        return a == b ? static_cast<int>(a.size()) : LCS(a, b);
    };

    if (std::min(spl1, spl2) == 1) {
        // The first pair in sorted order where one term lies whole inside
        // the other ends the scan.
        int comm = 0;
        for (const std::string* t1 : set1) {
            for (const std::string* t2 : set2) {
                int l = common(*t1, *t2);
                comm = std::max(comm, l);
                if (l == static_cast<int>(t1->size()) || l == static_cast<int>(t2->size())) {
                    return 2.0 * l / (len1 + len2);
                }
            }
        }
        return 2.0 * comm / (len1 + len2);
    }

    if (spl1 == 0 || spl2 == 0) return 0.0;  // nothing to pair

    // A one-to-one pairing of the terms that maximises the common length.
    // The matrix, its row pointers and the solver are reused from call to
    // call (the search asks for thousands of these small pairings); each
    // call fills every cell it reads, so the answer is the same as with
    // fresh ones.
    thread_local std::vector<double> matrix;
    thread_local std::vector<const double*> rows;
    thread_local Hungarian solver;
    matrix.assign(static_cast<std::size_t>(spl1) * spl2, 0.0);
    rows.resize(spl1);
    std::size_t cell = 0;
    for (const std::string* t1 : set1)
        for (const std::string* t2 : set2) matrix[cell++] = maxLen - common(*t1, *t2);
    for (int row = 0; row < spl1; ++row) rows[row] = matrix.data() + static_cast<std::size_t>(row) * spl2;
    solver.solve(rows.data(), spl1, spl2);
    double optimum = 0;
    for (int row = 0; row < spl1; ++row) {
        int col = solver.results[row];
        if (col != -1) optimum += maxLen - rows[row][col];
    }
    return 2.0 * optimum / (len1 + len2);
}

}  // namespace

bool Match::unionOfTerms(const std::vector<const std::set<std::string>*>& sets, TermList& out) {
    out.clear();
    bool present = false;
    for (const std::set<std::string>* set : sets) {
        if (set == nullptr) continue;
        present = true;
        for (const std::string& t : *set) out.push_back(&t);
    }
    std::sort(out.begin(), out.end(), [](const std::string* a, const std::string* b) { return *a < *b; });
    out.erase(std::unique(out.begin(), out.end(), [](const std::string* a, const std::string* b) { return *a == *b; }),
              out.end());
    return present;
}

Match::TermSets Match::termSetsOf(const Vertex* v, bool left) {
    const int order = static_cast<int>((left ? g1 : g2)->V.size());
    const bool storedBlock = v->number >= order && getVertex(v->number, left) == v && v->nodes &&
                             !v->nTerms && !v->nPaths && !v->nSpecs;
    TermListCache& cache = termLists_[left ? 0 : 1];
    if (!storedBlock) {
        cache.block = -1;
        const std::set<std::string>* own[3] = {v->nTerms.get(), v->nPaths.get(), v->nSpecs.get()};
        for (int k = 0; k < 3; ++k) {
            cache.present[k] = own[k] != nullptr;
            listTerms(own[k], cache.lists[k]);
        }
    } else if (cache.block != v->number) {
        cache.block = v->number;
        thread_local std::vector<const std::set<std::string>*> sets;  // the members' sets of one kind
        for (int k = 0; k < 3; ++k) {
            sets.clear();
            for (int member : *v->nodes) {
                const Vertex* m = getVertex(member, left);
                sets.push_back(k == 0 ? m->nTerms.get() : k == 1 ? m->nPaths.get() : m->nSpecs.get());
            }
            cache.present[k] = unionOfTerms(sets, cache.lists[k]);
        }
    }
    auto listOrNull = [&](int k) { return cache.present[k] ? &cache.lists[k] : nullptr; };
    return {listOrNull(0), listOrNull(1), listOrNull(2)};
}

float Match::intSim(int /*mode*/, Vertex* v1, Vertex* v2) {
    if (const float* stored = _N.find(v1->number, v2->number)) return *stored;
    ++computeSim;

    const TermSets sets1 = termSetsOf(v1, true);
    const TermSets sets2 = termSetsOf(v2, false);
    double simTerm = bestOfSetAndDice(orEmpty(sets1.terms), orEmpty(sets2.terms));

    double simPath = 1.0;
    if (sets1.paths && sets2.paths)
        simPath = bestOfSetAndDice(*sets1.paths, *sets2.paths);
    else if (sets1.paths || sets2.paths)
        simPath = 0.0;

    double simSpec = 1.0;
    if (sets1.specs && sets2.specs)
        simSpec = dice(*sets1.specs, *sets2.specs);
    else if (sets1.specs || sets2.specs)
        simSpec = 0.0;

    simSpec = std::max(simSpec, 0.5);
    simPath = std::max(simPath, 0.5);
    double s = simTerm * simSpec * simPath;
    double a = static_cast<double>(nodeCount(v1)) * nodeCount(v2);
    return static_cast<float>((std::pow(s, a) + s) / 2);
}

}  // namespace graphmat

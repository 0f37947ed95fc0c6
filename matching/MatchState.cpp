// Match: construction, the accessors for plain vertices and blocks, and the
// edges of a vertex lifted to block level.
#include <algorithm>
#include <cmath>
#include <iostream>
#include <map>

#include "matching/Cost.h"
#include "solvers/FastFind.h"
#include "matching/Match.h"

namespace graphmat {

// ------------------------------------------------------------ AllowedPairs

void AllowedPairs::resize(int rows, int cols) {
    rows_.assign(std::max(rows, 0), std::vector<int>());
    cols_.assign(std::max(cols, 0), std::vector<int>());
    size_ = 0;
}

void AllowedPairs::set(int x, int y, bool able) {
    if (x < 0 || y < 0 || x >= static_cast<int>(rows_.size()) || y >= static_cast<int>(cols_.size())) return;
    if (able) {
        if (insertSorted(rows_[x], y).second) {
            insertSorted(cols_[y], x);
            ++size_;
        }
    } else if (eraseSorted(rows_[x], y)) {
        eraseSorted(cols_[y], x);
        --size_;
    }
}

bool AllowedPairs::allowed(int x, int y) const {
    if (x < 0 || y < 0 || x >= static_cast<int>(rows_.size()) || y >= static_cast<int>(cols_.size())) return false;
    return std::binary_search(rows_[x].begin(), rows_[x].end(), y);
}

const std::vector<int>& AllowedPairs::row(int x) const {
    static const std::vector<int> none;
    return x >= 0 && x < static_cast<int>(rows_.size()) ? rows_[x] : none;
}

const std::vector<int>& AllowedPairs::column(int y) const {
    static const std::vector<int> none;
    return y >= 0 && y < static_cast<int>(cols_.size()) ? cols_[y] : none;
}

// ------------------------------------------------------------ construction

void pairUp(std::vector<int>& M12, std::vector<int>& M21, int i, int j) {
    if (M12[i] >= 0 && M12[i] < static_cast<int>(M21.size()) && M21[M12[i]] == i) M21[M12[i]] = -1;
    if (M21[j] >= 0 && M21[j] < static_cast<int>(M12.size()) && M12[M21[j]] == j) M12[M21[j]] = -1;
    M12[i] = j;
    M21[j] = i;
}

Match::Match(Graph* A, Graph* B, Cost* C, int seed, int mode) {
    numberOfMatchs = 0;
    iterations = 0;
    cost_mode = mode;
    init(A, B);
    randomSeed = seed;
    C->M12 = M12.data();
    C->M21 = M21.data();
    changeCosts(C);
    currentCost = no_matching_cost;
}

Match::Match(Graph* A, Graph* B, int seed) {
    cost_mode = 3;
    init(A, B);
    randomSeed = seed;
    ownedCosts_ = std::make_unique<Cost>();
    ownedCosts_->M12 = M12.data();
    ownedCosts_->M21 = M21.data();
    changeCosts(ownedCosts_.get());
}

Match::Match() { init(); }

Match::~Match() = default;

void Match::init() { numberOfMatchs = 0; }

void Match::init(Graph* A, Graph* B) {
    BIAS = 0;
    numberOfMatchs = 0;
    g1 = A;
    g2 = B;
    for (auto& v : A->V) v->setNumber(v->number);
    for (auto& v : B->V) v->setNumber(v->number);
    const int order1 = static_cast<int>(A->V.size());
    const int order2 = static_cast<int>(B->V.size());
    max_vertices = std::max(order1, order2);
    min_vertices = std::min(order1, order2);
    find_occ = 0;
    update_occ = 0;

    tabu_i.assign(TABU_MAX, std::vector<cell*>());
    i_parser = 0;
    std::cout << "\n\t __1__" << "\t __3__";
    _M.resize(order1, order2);
    similaritiesUnstored = false;
    move.resize(order1, order2);
    std::cout << "\t __4__";
    tabu_out = 5;
    tabu_in = 20;
    std::cout << "\t __5__";
    M12.assign(order1, -1);
    M21.assign(order2, -1);
    std::cout << "\t __6__";
    blocks1.resize(order1);
    for (int i = 0; i < order1; ++i) blocks1[i] = i;
    nBlocks1.clear();
    std::cout << "\t __7__";
    blocks2.resize(order2);
    for (int j = 0; j < order2; ++j) blocks2[j] = j;
    nBlocks2.clear();
    std::cout << "\t __9__";
    bestMatch.assign(order1, -1);
    bestBlock.resize(order1);
    bestMatch2.assign(order2, -1);
    bestBlock2.resize(order2);
    std::cout << "\t __10__";
    for (int i = 0; i < order1; ++i) bestBlock[i] = i;
    std::cout << "\t __11__";
    for (int j = 0; j < order2; ++j) bestBlock2[j] = j;

    std::cout << "\n Before FF \n";
    // The candidate structure borrows the partner arrays and the tabu ring; it
    // reads no similarity matrix.
    ff = std::make_unique<FastFind>(BOTTOM_FF, TOP_FF, H_LAYERS, L_LAYERS, max_vertices, M12.data(), M21.data(),
                                    tabu_i.data(), nullptr);
    std::cout << "\n After FF \n";

    V1.clear();
    V2.clear();
    for (TermListCache& cache : termLists_) cache.block = -1;  // block numbers start over

    getRelevant();
    getTerms(g1, g2, &relevant1, &relevant2);
    matrixEntityTerm(g1, g2, &relevant1, &relevant2);
    semilarity();
}

void Match::changeCosts(Cost* C) {
    costs = C;
    no_matching_cost = noMatchCost(cost_mode);
    f = no_matching_cost;
}

// --------------------------------------------------------------- accessors

Vertex* Match::getVertex1(int num) const {
    if (num < 0) return nullptr;
    const std::size_t order = g1->V.size();
    if (static_cast<std::size_t>(num) < order) return g1->V[num].get();
    const std::size_t position = static_cast<std::size_t>(num) - order;
    return position < V1.size() ? V1[position].get() : nullptr;
}

Vertex* Match::getVertex2(int num) const {
    if (num < 0) return nullptr;
    const std::size_t order = g2->V.size();
    if (static_cast<std::size_t>(num) < order) return g2->V[num].get();
    const std::size_t position = static_cast<std::size_t>(num) - order;
    return position < V2.size() ? V2[position].get() : nullptr;
}

namespace {

Edge* storedEdge(const FlatPairMap<Edge*>& store, int from, int to) {
    if (from < 0 || to < 0) return nullptr;
    Edge* const* e = store.find(static_cast<unsigned>(from), static_cast<unsigned>(to));
    return e ? *e : nullptr;
}

}  // namespace

Edge* Match::getEdge1(int from, int to) const {
    const int order = static_cast<int>(g1->V.size());
    if (from < order && to < order) return g1->getEdge(from, to);
    return storedEdge(E1, from, to);
}

Edge* Match::getEdge2(int from, int to) const {
    const int order = static_cast<int>(g2->V.size());
    if (from < order && to < order) return g2->getEdge(from, to);
    return storedEdge(E2, from, to);
}

int Match::getM12(int x) const {
    if (x < 0) return -1;
    if (x < static_cast<int>(M12.size())) return M12[x];
    Vertex* block = getVertex1(x);
    if (block == nullptr) return -1;
    int first = block->getFirstNode();
    return first >= 0 && first < static_cast<int>(M12.size()) ? M12[first] : -1;
}

int Match::getM21(int y) const {
    if (y < 0) return -1;
    if (y < static_cast<int>(M21.size())) return M21[y];
    Vertex* block = getVertex2(y);
    if (block == nullptr) return -1;
    int first = block->getFirstNode();
    return first >= 0 && first < static_cast<int>(M21.size()) ? M21[first] : -1;
}

namespace {

// Members a vertex or block stands for: 1 for a plain vertex or a missing
// block, the member count of a block.
int memberCount(const Vertex* v, bool plain) {
    if (plain || v == nullptr || !v->nodes) return 1;
    return static_cast<int>(v->nodes->size());
}

}  // namespace

int Match::getNodes1(int x) const {
    if (getM12(x) == -1) return -1;
    return memberCount(getVertex1(x), x < static_cast<int>(g1->V.size()));
}

int Match::getNodes2(int y) const {
    if (getM21(y) == -1) return -1;
    return memberCount(getVertex2(y), y < static_cast<int>(g2->V.size()));
}

int Match::getENodes1(const Edge* e) const {
    if (e == nullptr) return 0;
    const int order = static_cast<int>(g1->V.size());
    int nf = getM12(e->from) == -1 ? -1 : memberCount(getVertex1(e->from), e->from < order);
    int nt = getM12(e->to) == -1 ? -1 : memberCount(getVertex1(e->to), e->to < order);
    if (nf == -1 && nt == -1) return -1;
    return std::abs(nf * nt);
}

int Match::getENodes2(const Edge* e) const {
    if (e == nullptr) return 0;
    const int order = static_cast<int>(g2->V.size());
    int nf = getM21(e->from) == -1 ? -1 : memberCount(getVertex2(e->from), e->from < order);
    int nt = getM21(e->to) == -1 ? -1 : memberCount(getVertex2(e->to), e->to < order);
    if (nf == -1 && nt == -1) return -1;
    return std::abs(nf * nt);
}

Edge* Match::adoptCopy(const Edge& e, int from, int to) {
    Edge& copy = ownedEdges_.emplace_back();
    copy.copyFrom(e);
    copy.from = from;
    copy.to = to;
    return &copy;
}

void Match::sortByPair(std::vector<PendingArc>& arcs) {
    std::stable_sort(arcs.begin(), arcs.end(),
                     [](const PendingArc& a, const PendingArc& b) { return a.ends < b.ends; });
}

std::size_t Match::pairRunEnd(const std::vector<PendingArc>& arcs, std::size_t first) {
    std::size_t last = first + 1;
    while (last < arcs.size() && arcs[last].ends == arcs[first].ends) ++last;
    return last;
}

Edge* Match::fuseRun(const std::vector<PendingArc>& arcs, std::size_t first, std::size_t last) {
    Edge* fused = adoptCopy(*arcs[first].edge, arcs[first].ends.first, arcs[first].ends.second);
    for (std::size_t k = first + 1; k < last; ++k) fused->addArcsOf(*arcs[k].edge);
    return fused;
}

std::unique_ptr<std::vector<Edge*>> Match::getVEdges(Vertex* v, bool left) {
    auto result = std::make_unique<std::vector<Edge*>>();
    liftedEdges(v, left, *result);
    if (result->empty()) return nullptr;
    return result;
}

// The edges of v with each end lifted to the block holding it. An edge whose
// ends both stay is v's own; a lifted pair already in the block edge store
// is taken from there, once however many edges lift onto it; the others are
// fused per lifted pair (labels appended in edge order), stored, and come
// last, in ascending pair order.
void Match::liftedEdges(Vertex* v, bool left, std::vector<Edge*>& out) {
    const std::vector<int>& membership = left ? blocks1 : blocks2;
    FlatPairMap<Edge*>& store = left ? E1 : E2;
    const int n = static_cast<int>(membership.size());
    auto lift = [&](int end) { return end >= 0 && end < n ? membership[end] : end; };

    out.clear();
    const std::size_t count = v->edges.size();
    LiftScratch& work = liftScratch_;
    work.arcs.clear();
    work.taken.assign(count, nullptr);
    for (std::size_t k = 0; k < count; ++k) {
        Edge* e = v->edges[k];
        const int bf = lift(e->from), bt = lift(e->to);
        if (bf == e->from && bt == e->to)
            work.taken[k] = e;
        else
            work.arcs.push_back({{bf, bt}, e, static_cast<int>(k), store.exists(bf, bt)});
    }
    sortByPair(work.arcs);
    work.fused.clear();
    for (std::size_t first = 0, last; first < work.arcs.size(); first = last) {
        last = pairRunEnd(work.arcs, first);
        const PendingArc& arc = work.arcs[first];
        if (arc.stored)
            work.taken[arc.position] = getEdge(arc.ends.first, arc.ends.second, left);
        else
            work.fused.push_back(fuseRun(work.arcs, first, last));
    }
    out.reserve(count);
    for (Edge* e : work.taken)
        if (e) out.push_back(e);
    for (Edge* e : work.fused) {
        out.push_back(e);
        store(e->from, e->to) = e;
    }
}

std::unique_ptr<std::set<int>> Match::involvedNodes(const std::vector<Vertex*>* vs) const {
    if (vs == nullptr) return nullptr;
    auto nodes = std::make_unique<std::set<int>>();
    for (const Vertex* v : *vs) {
        if (v == nullptr) continue;
        if (v->nodes)
            nodes->insert(v->nodes->begin(), v->nodes->end());
        else
            nodes->insert(v->number);
    }
    if (nodes->empty()) return nullptr;
    return nodes;
}

double Match::checkMatching() const {
    int considered = 0, agreeing = 0;
    for (std::size_t i = 0; i < log_matching.size() && i < M12.size(); ++i) {
        if (log_matching[i] == -1) continue;
        ++considered;
        if (log_matching[i] == M12[i]) ++agreeing;
    }
    return considered == 0 ? 0.0 : 100.0 * agreeing / considered;
}

void Match::checkPresence() const {
    for (const auto& v : g1->V) (void)v;
}

double normDiff(float a, float b) {
    float largest = std::max(std::max(a, b), 0.0f);
    if (largest == 0) return 0;
    return std::fabs(a - b) / largest;
}

}  // namespace graphmat

// Move execution: carrying out a chosen candidate as a sequence of pair
// changes, with the tenures and the candidate bookkeeping of each change.
#include <iostream>

#include "graph/Random.h"
#include "solvers/FastFind.h"
#include "matching/Match.h"

namespace graphmat {

namespace {

bool sameVertex(const Vertex* a, const Vertex* b) { return a && b && a->number == b->number; }

int memberCount(const Vertex* v) { return v->nodes ? static_cast<int>(v->nodes->size()) : 1; }

}  // namespace

void Match::drawTenures() {
    tabu_in = TABU_IN_MIN + rand15() % (TABU_IN_MAX - TABU_IN_MIN);
    tabu_out = TABU_OUT_MIN + rand15() % (TABU_OUT_MAX - TABU_OUT_MIN);
}

cell& Match::ensureCell(int x, int y) {
    if (cell* existing = M.find(x, y)) return *existing;
    cell& fresh = M(x, y);
    cellsOfRow_[x].push_back(&fresh);
    cellsOfColumn_[y].push_back(&fresh);
    fresh.x = x;
    fresh.y = y;
    fresh.delta = -1;
    fresh.layer = -1;
    fresh.tabu = -iterations;
    return fresh;
}

void Match::startTenure(cell& c, int t) {
    c.tabu = iterations + t;
    c.fixed = false;  // a pair made or undone is no longer the fixed start pair
    tabu_i[(i_parser + t - 1) % TABU_MAX].push_back(&c);
}

template <class Pred>
void Match::removeCellsOf(const std::set<int>& numbers, bool byColumn, Pred leaves) {
    auto& index = byColumn ? cellsOfColumn_ : cellsOfRow_;
    for (int number : numbers) {
        auto cells = index.find(number);
        if (cells == index.end()) continue;
        for (cell* c : cells->second)
            if (c->layer >= 0 && leaves(byColumn ? c->x : c->y)) ff->remove(c);
    }
}

bool Match::holdsRelevant(int holder, bool left) const {
    const std::vector<int>& membership = left ? blocks1 : blocks2;
    const int order = static_cast<int>(membership.size());
    if (holder < order) return left ? isRelevant1(holder) : isRelevant2(holder);
    const Vertex* block = getVertex(holder, left);
    if (block == nullptr || !block->nodes) return false;
    for (int m : *block->nodes)
        if (membership[m] == holder && (left ? isRelevant1(m) : isRelevant2(m))) return true;
    return false;
}

bool Match::holdsRelevantMatched(int holder, bool left) const {
    const std::vector<int>& membership = left ? blocks1 : blocks2;
    const std::vector<int>& partner = left ? M12 : M21;
    const int order = static_cast<int>(membership.size());
    if (holder < 0) return false;
    if (holder < order)
        return membership[holder] == holder && partner[holder] != -1 && (left ? isRelevant1(holder) : isRelevant2(holder));
    const Vertex* block = getVertex(holder, left);
    if (block == nullptr || !block->nodes) return false;
    for (int m : *block->nodes)
        if (membership[m] == holder && partner[m] != -1 && (left ? isRelevant1(m) : isRelevant2(m))) return true;
    return false;
}

void Match::removeFromFF(int x, int y) {
    if (cell* c = M.find(x, y)) ff->remove(c);
}

bool Match::enactMove() {
    const int x = chosenCell->x, y = chosenCell->y;
    drawTenures();

    const int order1 = static_cast<int>(blocks1.size());
    const int order2 = static_cast<int>(blocks2.size());
    Vertex* Nx = x < order1 ? getVertex1(x) : nullptr;
    Vertex* Bx = Nx ? getVertex1(blocks1[x]) : getVertex1(x);
    const bool aloneX = Nx && blocks1[x] == x;
    Vertex* Ny = y < order2 ? getVertex2(y) : nullptr;
    Vertex* By = Ny ? getVertex2(blocks2[y]) : getVertex2(y);
    const bool aloneY = Ny && blocks2[y] == y;
    const int partnerOfX = getM12(x), partnerOfY = getM21(y);
    Vertex* Mx = partnerOfX == -1 ? nullptr : getVertex2(partnerOfX);
    Vertex* My = partnerOfY == -1 ? nullptr : getVertex1(partnerOfY);

    std::vector<Vertex*> side1{Bx}, side2{By};
    if (My) side1.push_back(My);
    if (Mx) side2.push_back(Mx);
    concerned1 = involvedNodes(&side1);
    concerned2 = involvedNodes(&side2);

    enum class Kind { Match, Unmatch, MergeInto2, MergeInto1, Split1, Split2, UnmatchBlock, None };
    Kind kind = Kind::None;
    if (Nx && aloneX && !Mx && Ny && aloneY && !My)
        kind = Kind::Match;
    else if (Nx && aloneX && Ny && aloneY && sameVertex(My, Bx) && sameVertex(Mx, By))
        kind = Kind::Unmatch;
    else if (Mx && Ny && aloneY && !My)
        kind = Kind::MergeInto2;
    else if (Nx && aloneX && !Mx && My)
        kind = Kind::MergeInto1;
    else if (Nx && !aloneX && sameVertex(Mx, By))
        kind = Kind::Split1;
    else if (Ny && !aloneY && sameVertex(My, Bx))
        kind = Kind::Split2;
    else if ((!Nx || !Ny) && sameVertex(My, Bx) && sameVertex(Mx, By))
        kind = Kind::UnmatchBlock;

    if (kind == Kind::None) {
        // Nothing fits: the state is left as it was.
        std::cout << "\n ----------------------- NON-VALID --------------- \n";
        return false;
    }

    if (concerned1)
        for (int n : *concerned1) {
            M12[n] = -1;
            blocks1[n] = n;
        }
    if (concerned2)
        for (int m : *concerned2) {
            M21[m] = -1;
            blocks2[m] = m;
        }

    switch (kind) {
        case Kind::Match:
            updateState(Nx, Ny, true);
            break;
        case Kind::Unmatch:
            updateState(Nx, Ny, false);
            break;
        case Kind::MergeInto2: {
            startTenure(ensureCell(x, y), tabu_out);
            removeFromFF(x, y);
            updateState(Bx, Mx, false);
            Vertex* grown = updateBlock(Mx, y, false, true);
            updateState(Bx, grown, true);
            break;
        }
        case Kind::MergeInto1: {
            startTenure(ensureCell(x, y), tabu_out);
            removeFromFF(x, y);
            updateState(My, By, false);
            Vertex* grown = updateBlock(My, x, true, true);
            updateState(grown, By, true);
            break;
        }
        case Kind::Split1: {
            startTenure(ensureCell(x, y), tabu_in);
            removeFromFF(x, y);
            updateState(Bx, Mx, false);
            Vertex* rest = updateBlock(Bx, x, true, false);
            updateState(rest, Mx, true);
            break;
        }
        case Kind::Split2: {
            startTenure(ensureCell(x, y), tabu_in);
            removeFromFF(x, y);
            updateState(My, By, false);
            Vertex* rest = updateBlock(By, y, false, false);
            updateState(My, rest, true);
            break;
        }
        case Kind::UnmatchBlock:
            updateState(Bx, By, false);
            break;
        case Kind::None:
            break;
    }
    return true;
}

void Match::updateState(Vertex* v1, Vertex* v2, bool add) {
    drawTenures();
    const int x = v1->number, y = v2->number;
    const int order1 = static_cast<int>(blocks1.size());
    const int order2 = static_cast<int>(blocks2.size());
    const NodeSet own1{x}, own2{y};
    const NodeSet& nodes1 = v1->nodes ? *v1->nodes : own1;
    const NodeSet& nodes2 = v2->nodes ? *v2->nodes : own2;
    const int s = std::min(memberCount(v1), memberCount(v2));
    const bool sameLabel = v1->label == v2->label;

    if (add) {
        cell& c = ensureCell(x, y);
        if (x >= order1 || y >= order2)
            std::cout << "\n\n ************* MERGE OCCURRED:" << x << "[" << v1->label << "] =====>> " << y << "["
                      << v2->label << "]\n\n";
        for (int n : nodes1) {
            M12[n] = y;
            blocks1[n] = x;
        }
        for (int m : nodes2) {
            M21[m] = x;
            blocks2[m] = y;
        }
        numberOfMatchs += s;
        startTenure(c, tabu_out);
        removeFromFF(x, y);
        if (sameLabel) good += s;

        // Moves that would pair the new pair's vertices with vertices already
        // matched elsewhere leave the candidates: every cell of a member (or
        // the pair's own number) whose other side lies in a matched vertex or
        // block, other than the new pair, that holds a relevant vertex.
        std::set<int> rows(nodes1.begin(), nodes1.end());
        rows.insert(x);
        removeCellsOf(rows, false, [&](int c) {
            int holder = c < order2 ? blocks2[c] : c;
            return holder != y && holdsRelevantMatched(holder, false);
        });
        std::set<int> columns(nodes2.begin(), nodes2.end());
        columns.insert(y);
        removeCellsOf(columns, true, [&](int a) {
            int holder = a < order1 ? blocks1[a] : a;
            return holder != x && holdsRelevantMatched(holder, true);
        });
        return;
    }

    if (x >= order1 || y >= order2)
        std::cout << "\n\n ************* MERGE EXPLODED:" << x << "[" << v1->label << "] =====>> " << y << "["
                  << v2->label << "]\n\n";
    // A block being dissolved leaves the candidates with every vertex, and
    // every holder of a vertex, that may still be matched.
    if (x >= order1)
        removeCellsOf({x}, false, [&](int c) { return c < order2 ? isRelevant2(c) : holdsRelevant(c, false); });
    if (y >= order2)
        removeCellsOf({y}, true, [&](int a) { return a < order1 ? isRelevant1(a) : holdsRelevant(a, true); });
    for (int n : nodes1) {
        M12[n] = -1;
        blocks1[n] = n;
    }
    for (int m : nodes2) {
        M21[m] = -1;
        blocks2[m] = m;
    }
    numberOfMatchs -= s;
    startTenure(ensureCell(x, y), tabu_in);
    removeFromFF(x, y);
    if (sameLabel) good -= s;
}

}  // namespace graphmat

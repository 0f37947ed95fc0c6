// The candidate cells of a greedy run: one cell per vertex pair that has
// ever been offered to the candidate structure and taken by it, created on
// that first offer with the same blank fields every cell of a full matrix
// would start with (layer -1, tabu 0, delta -1). A pair that was never taken
// has no cell, which is what removing it from the candidate structure would
// find anyway. Cells never move, so the links the candidate structure threads
// through them stay valid; the cells of a row and of a column are listed for
// the removals of a commit.
#pragma once

#include <cstdint>
#include <deque>
#include <vector>

#include "graph/FlatPairMap.h"
#include "graph/stdafx.h"

namespace graphmat {

class CandidateCells {
public:
    // Forgets every cell; rows x cols pairs may get one.
    void reset(int rows, int cols) {
        cells_.clear();
        index_.clear();
        byRow_.assign(rows > 0 ? rows : 0, std::vector<std::uint32_t>());
        byCol_.assign(cols > 0 ? cols : 0, std::vector<std::uint32_t>());
    }

    // The cell of (i, j), or null when it has none.
    cell* find(int i, int j) {
        const std::uint32_t* at = index_.find(static_cast<unsigned>(i), static_cast<unsigned>(j));
        return at ? &cells_[*at] : nullptr;
    }

    // The cell of (i, j), created blank when it has none.
    cell& operator()(int i, int j) {
        const auto [at, created] = index_.insert(static_cast<unsigned>(i), static_cast<unsigned>(j));
        if (!created) return cells_[*at];
        const auto k = static_cast<std::uint32_t>(cells_.size());
        *at = k;
        cell blank{};
        blank.x = i;
        blank.y = j;
        blank.delta = -1.0;
        blank.layer = -1;
        blank.tabu = 0;
        cells_.push_back(blank);
        byRow_[i].push_back(k);
        byCol_[j].push_back(k);
        return cells_.back();
    }

    // Calls visit(cell&) for each cell of row i, then of column j.
    template <class Visit>
    void forRowAndColumn(int i, int j, Visit visit) {
        for (std::uint32_t k : byRow_[i]) visit(cells_[k]);
        for (std::uint32_t k : byCol_[j]) visit(cells_[k]);
    }

    long size() const { return static_cast<long>(cells_.size()); }

private:
    std::deque<cell> cells_;
    FlatPairMap<std::uint32_t> index_;
    std::vector<std::vector<std::uint32_t>> byRow_, byCol_;
};

}  // namespace graphmat

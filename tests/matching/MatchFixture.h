// A matcher built on two graph files (model graph files unless told
// otherwise) inside a scratch working directory, with the cost model of the
// class-diagram runs; shared by the matcher tests.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "graph/Graph.h"
#include "matching/Cost.h"
#include "matching/Match.h"
#include "support/TestSupport.h"

namespace graphmat::test {

struct MatchOptions {
    // Drop the graphs' roots before matching, so nothing is pre-matched.
    bool noRoot = false;
    // Cost weights: node drop, edge drop, edge weight, asymmetry, label weight.
    double dwn = 1, dwe = 0.5, ew = 1, asy = 1, lw = 0;
    int seed = 1;
    int readerMode = 12;  // of both graph files
};

inline MatchOptions rootless() {
    MatchOptions options;
    options.noRoot = true;
    return options;
}

// Owns everything a matcher borrows. `built` is what the matcher's
// construction printed (graph construction is not included).
struct MatchRig {
    ScratchDir dir;
    Cost costs;
    std::unique_ptr<Graph> g1, g2;
    std::unique_ptr<Match> match;
    std::string built;

    MatchRig(const std::string& path1, const std::string& path2, MatchOptions options = {}) {
        costs.initMode1(options.dwn, options.dwe, options.ew, options.asy, options.lw);
        {
            CaptureStdout quiet;
            g1 = std::make_unique<Graph>(options.readerMode, path1);
            g2 = std::make_unique<Graph>(options.readerMode, path2);
        }
        if (options.noRoot) {
            g1->root = -1;
            g2->root = -1;
        }
        CaptureStdout capture;
        match = std::make_unique<Match>(g1.get(), g2.get(), &costs, options.seed, 3);
        built = capture.text();
    }

    Match& m() { return *match; }
};

// The partner arrays and memberships, for comparing whole states.
struct MatchingState {
    std::vector<int> M12, M21, blocks1, blocks2;
    bool operator==(const MatchingState& o) const {
        return M12 == o.M12 && M21 == o.M21 && blocks1 == o.blocks1 && blocks2 == o.blocks2;
    }
};

inline MatchingState stateOf(const Match& m) { return {m.M12, m.M21, m.blocks1, m.blocks2}; }

// Pairs (x, y) of plain vertices, x of graph 1 and y of graph 2, that are
// allowed in the matcher, in ascending order.
inline std::vector<std::pair<int, int>> allowedPairs(const Match& m) {
    std::vector<std::pair<int, int>> pairs;
    for (int x = 0; x < static_cast<int>(m.M12.size()); ++x)
        for (int y : m.move.row(x)) pairs.push_back({x, y});
    return pairs;
}

// Makes (x, y) the chosen cell and carries it out quietly; returns what the
// move printed.
inline std::string enact(Match& m, int x, int y, bool* done = nullptr) {
    m.chosenCell = &m.ensureCell(x, y);
    CaptureStdout capture;
    bool result = m.enactMove();
    if (done) *done = result;
    return capture.text();
}

// Prices (x, y) quietly.
inline double price(Match& m, int x, int y) {
    CaptureStdout quiet;
    return m.computeDelta(m.cost_mode, m.getVertex1(x), m.getVertex2(y));
}

// Whole-matching cost, without its printed line.
inline double quietCost(Match& m) {
    CaptureStdout quiet;
    return m.cost(m.cost_mode);
}

}  // namespace graphmat::test

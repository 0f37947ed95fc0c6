// Test helpers for the common-edge-subgraph matcher: small graphs written as
// graph text, and matchers built with their standard output captured.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>

#include "graph/Graph.h"
#include "mces/MCES.h"
#include "support/TestSupport.h"

namespace graphmat::test {

// A graph from graph text: "vertices,edges", then "c,number,label" lines
// relabelling vertices (unlabelled vertices carry their number as label)
// and "e,from,to,label" arcs.
inline std::unique_ptr<Graph> textGraph(const std::string& text) {
    CaptureStdout quiet;
    return std::make_unique<Graph>(7, text);
}

struct BuiltMCES {
    std::unique_ptr<MCES> m;
    std::string out;  // what the constructor printed
};

template <class... Args>
BuiltMCES buildMCES(Args&&... args) {
    BuiltMCES built;
    CaptureStdout capture;
    built.m = std::make_unique<MCES>(std::forward<Args>(args)...);
    built.out = capture.text();
    return built;
}

// The partner arrays are inverse: every partner names the vertex back.
inline ::testing::AssertionResult partnersInverse(const MCES& m) {
    int matched = 0;
    for (int i = 0; i < static_cast<int>(m.M12.size()); ++i) {
        const int j = m.M12[i];
        if (j == -1) continue;
        ++matched;
        if (j < 0 || j >= static_cast<int>(m.M21.size()) || m.M21[j] != i)
            return ::testing::AssertionFailure() << "graph-1 vertex " << i << " names " << j;
    }
    int back = 0;
    for (int j = 0; j < static_cast<int>(m.M21.size()); ++j)
        if (m.M21[j] != -1) ++back;
    if (back != matched) return ::testing::AssertionFailure() << matched << " pairs one way, " << back << " back";
    return ::testing::AssertionSuccess();
}

}  // namespace graphmat::test

namespace graphmat {

// The tests' seam into MCES.
class MCESTestAccess {
public:
    // To be called after g or simil was written other than by the commits:
    // the next score pass lists the pairs that are not blank again.
    static void forgetLivePairs(MCES& m) { m.liveChecked_ = m.liveIndexed_ = false; }
};

}  // namespace graphmat

// The blocks of the current matching as the reports read them: every
// distinct block of each graph in ascending block number, and the partner of
// a block checked against the blocks of the other graph.
#pragma once

#include <map>

#include "matching/Match.h"

namespace graphmat {

class ReportBlocks {
public:
    // Collects the distinct values of blocks1 (blocks2) over the plain
    // vertices, each with its vertex or block; a number that names no vertex
    // is left out.
    explicit ReportBlocks(const Match& match);

    const std::map<int, Vertex*>& blocks1() const { return blocks1_; }
    const std::map<int, Vertex*>& blocks2() const { return blocks2_; }
    bool isBlock1(int x) const { return blocks1_.count(x) != 0; }
    bool isBlock2(int y) const { return blocks2_.count(y) != 0; }

    // The graph-2 partner of graph-1 vertex or block x (Match::getM12), or -1
    // when there is none or when it names no current graph-2 block (a stale
    // partner is treated as no partner and never dereferenced).
    int partner1(int x) const;
    // The graph-1 partner of graph-2 vertex or block y, likewise.
    int partner2(int y) const;
    int partner(int n, bool left) const { return left ? partner1(n) : partner2(n); }
    // Match::getNodes1/getNodes2, with -1 for an end whose partner is stale.
    int nodes1(int x) const { return partner1(x) == -1 ? -1 : match_.getNodes1(x); }
    int nodes2(int y) const { return partner2(y) == -1 ? -1 : match_.getNodes2(y); }

private:
    const Match& match_;
    std::map<int, Vertex*> blocks1_;
    std::map<int, Vertex*> blocks2_;
};

// Members a vertex or block stands for, ascending: its node set, or its own
// number when it has none.
std::set<int> membersOf(const Vertex& v);

}  // namespace graphmat

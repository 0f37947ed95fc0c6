#include "reports/ReportBlocks.h"

namespace graphmat {

namespace {

void collect(const std::vector<int>& membership, std::map<int, Vertex*>& blocks, bool left, const Match& match) {
    for (int b : membership) {
        if (blocks.count(b)) continue;
        if (Vertex* v = left ? match.getVertex1(b) : match.getVertex2(b)) blocks.emplace(b, v);
    }
}

}  // namespace

ReportBlocks::ReportBlocks(const Match& match) : match_(match) {
    collect(match.blocks1, blocks1_, true, match);
    collect(match.blocks2, blocks2_, false, match);
}

int ReportBlocks::partner1(int x) const {
    int p = match_.getM12(x);
    return p != -1 && isBlock2(p) ? p : -1;
}

int ReportBlocks::partner2(int y) const {
    int p = match_.getM21(y);
    return p != -1 && isBlock1(p) ? p : -1;
}

std::set<int> membersOf(const Vertex& v) {
    if (v.nodes && !v.nodes->empty()) return std::set<int>(v.nodes->begin(), v.nodes->end());
    return {v.number};
}

}  // namespace graphmat

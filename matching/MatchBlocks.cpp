// Blocks: a vertex standing for two or more plain vertices of one graph,
// formed by merge and split moves and kept for the whole run.
#include <algorithm>
#include <iostream>

#include "matching/Match.h"

namespace graphmat {

namespace {

std::string blockLabel(const Vertex& block, const Match::TermList& terms) {
    std::string label = "_";
    for (int member : *block.nodes) label += to_string(member) + "_";
    label += "_-";
    for (const std::string* term : terms) label += *term + "-";
    label += "-";
    return label;
}

}  // namespace

Vertex* Match::updateBlock(Vertex* B, int x, bool left, bool add) {
    if (B == nullptr) return getVertex(x, left);
    if (x == -1) return B;
    std::vector<std::unique_ptr<Vertex>>& blockMap = left ? V1 : V2;
    SignatureStore& signatures = left ? nBlocks1 : nBlocks2;
    FlatPairMap<Edge*>& store = left ? E1 : E2;
    const std::vector<int>& membership = left ? blocks1 : blocks2;
    const int n = static_cast<int>((left ? g1 : g2)->V.size());

    std::vector<Vertex*>& members = blockScratch_.members;
    std::vector<int>& signature = blockScratch_.signature;
    members.clear();
    signature.clear();
    if (B->nodes) {
        for (int number : *B->nodes) {
            if (number == x) continue;
            members.push_back(getVertex(number, left));
            signature.push_back(number);
        }
    } else if (B->number != x) {
        members.push_back(B);
        signature.push_back(B->number);
    }
    if (add) {
        members.push_back(getVertex(x, left));
        signature.insert(std::lower_bound(signature.begin(), signature.end(), x), x);
    }

    if (signature.empty()) return nullptr;
    if (signature.size() == 1) return getVertex(signature[0], left);
    if (const int known = signatures.find(signature); known >= 0) return getVertex(known, left);

    const int number = static_cast<int>(blockMap.size()) + n;
    std::unique_ptr<Vertex> block = mergeNodes(&members, number);
    Vertex* created = block.get();
    blockMap.push_back(std::move(block));
    signatures.insert(signature, number);

    // Register the block's arcs, and a copy of each with its other end lifted
    // to the block currently holding it, one per lifted pair (arcs onto one
    // pair fused in list order), stored in ascending pair order.
    auto lift = [&](int end) { return end < number && end >= 0 && end < n ? membership[end] : end; };
    std::vector<PendingArc>& arcs = blockScratch_.arcs;
    arcs.clear();
    for (Edge* e : created->edges) {
        store(e->from, e->to) = e;
        int from = lift(e->from);
        int to = lift(e->to);
        if ((from == e->from && to == e->to) || store.exists(from, to)) continue;
        arcs.push_back({{from, to}, e, 0, false});
    }
    sortByPair(arcs);
    for (std::size_t first = 0, last; first < arcs.size(); first = last) {
        last = pairRunEnd(arcs, first);
        store(arcs[first].ends.first, arcs[first].ends.second) = fuseRun(arcs, first, last);
    }
    return created;
}

std::unique_ptr<Vertex> Match::mergeNodes(const std::vector<Vertex*>* nodes, int nnumber) {
    // A block needs two members; its only caller never asks for fewer.
    if (nodes == nullptr || nodes->size() < 2) return nullptr;
    auto block = std::make_unique<Vertex>();
    block->number = nnumber;
    block->nodes = std::make_unique<NodeSet>();
    block->nodes->reserve(nodes->size());

    std::vector<int> memberNumbers;
    for (const Vertex* v : *nodes) memberNumbers.push_back(v->number);
    std::sort(memberNumbers.begin(), memberNumbers.end());
    auto redirect = [&](int end) {
        return std::binary_search(memberNumbers.begin(), memberNumbers.end(), end) ? nnumber : end;
    };

    // The block keeps no term sets of its own: Match::termSetsOf builds the
    // union of its members' sets when a similarity needs it. The label lists
    // the terms.
    std::vector<const std::set<std::string>*>& termSets = blockScratch_.termSets;
    termSets.clear();
    std::vector<PendingArc>& arcs = blockScratch_.arcs;
    arcs.clear();
    for (std::size_t p = 0; p < nodes->size(); ++p) {
        const Vertex* v = (*nodes)[p];
        if (p == 0)
            block->type = v->type;
        else if (v->type != block->type)
            std::cout << "\n MERGING DIFFERENT TYPES OF NODES";
        termSets.push_back(v->nTerms.get());
        block->nodes->insert(v->number);
        for (const Edge* e : v->edges) arcs.push_back({{redirect(e->from), redirect(e->to)}, e, 0, false});
    }
    // One block edge per redirected pair, in ascending pair order, its arcs
    // fused in the order met. An edge met twice (it joins two members) counts
    // once: both meetings have the same pair, so one run holds them both.
    sortByPair(arcs);
    std::size_t kept = 0, runs = 0;
    for (std::size_t first = 0, last; first < arcs.size(); first = last, ++runs) {
        last = pairRunEnd(arcs, first);
        const std::size_t runStart = kept;
        for (std::size_t k = first; k < last; ++k) {
            const Edge* e = arcs[k].edge;
            bool met = false;
            for (std::size_t q = runStart; q < kept && !met; ++q)
                met = arcs[q].edge->from == e->from && arcs[q].edge->to == e->to;
            if (!met) arcs[kept++] = arcs[k];
        }
    }
    arcs.resize(kept);
    block->edges.reserve(runs);
    for (std::size_t first = 0, last; first < arcs.size(); first = last) {
        last = pairRunEnd(arcs, first);
        block->edges.push_back(fuseRun(arcs, first, last));
    }
    unionOfTerms(termSets, blockScratch_.terms);
    block->label = blockLabel(*block, blockScratch_.terms);
    return block;
}

}  // namespace graphmat

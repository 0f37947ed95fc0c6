// Similarity preparation: pre-matching of identical containment subtrees,
// term dictionaries and profiles, and the allowed pairs of the search.
#include <algorithm>
#include <deque>
#include <fstream>
#include <iostream>

#include "graph/OutputFiles.h"
#include "matching/Match.h"

namespace graphmat {

namespace {

// Containment children of vertex p, keyed by label + "__" + signature;
// the first child in p's outgoing list keeps a key.
std::map<std::string, int> containmentChildren(const Graph& g, int p) {
    std::map<std::string, int> children;
    for (const Edge* e : g.V[p]->out) {
        if (e->from == e->to || e->labels[9] <= 0) continue;
        const Vertex& child = *g.V[e->to];
        children.emplace(child.label + "__" + child.specif, e->to);
    }
    return children;
}

// Relevance of the vertices of one side: free, or with a free neighbour.
std::vector<bool> relevance(const Graph& g, const std::vector<int>& partner) {
    const int order = static_cast<int>(partner.size());
    std::vector<bool> relevant(order, false);
    const bool hasNeighbours = static_cast<int>(g.neighbors.size()) == order;
    for (int i = 0; i < order; ++i) {
        if (partner[i] == -1) {
            relevant[i] = true;
            continue;
        }
        if (!hasNeighbours) continue;
        for (int n : g.neighbors[i])
            if (partner[n] == -1) {
                relevant[i] = true;
                break;
            }
    }
    return relevant;
}

int typeSlot(short type) { return ((type % 4) + 4) % 4; }

const std::set<std::string>& termsOf(const Vertex& v) {
    static const std::set<std::string> none;
    return v.nTerms ? *v.nTerms : none;
}

bool taken(const std::vector<bool>* flags, int i) { return flags == nullptr || flags->empty() || (*flags)[i]; }

// The nine slot counts of a profile entry written one after another.
std::string slotCounts(const semarel& entry) {
    std::string text;
    for (int s = 0; s < SEMAREL_SLOTS; ++s) text += to_string(entry.count[s]);
    return text;
}

}  // namespace

void Match::getRelevant() {
    std::cout << "\n getRelevant";
    const int order1 = static_cast<int>(g1->V.size());
    const int order2 = static_cast<int>(g2->V.size());
    std::fill(M12.begin(), M12.end(), -1);
    std::fill(M21.begin(), M21.end(), -1);

    const int root1 = g1->root, root2 = g2->root;
    const bool rooted = root1 >= 0 && root2 >= 0 && root1 < order1 && root2 < order2;
    if (!rooted) {
        for (int i = 0; i < order1; ++i)
            if (i % 1000 == 0) std::cout << "\t" << i;
    } else {
        M12[root1] = root2;
        M21[root2] = root1;
        _N(root1, root2) = 1.0f;
        std::deque<std::pair<int, int>> queue{{root1, root2}};
        while (!queue.empty()) {
            auto [p, q] = queue.front();
            queue.pop_front();
            std::map<std::string, int> children1 = containmentChildren(*g1, p);
            std::map<std::string, int> children2 = containmentChildren(*g2, q);
            for (const auto& [key, c1] : children1) {
                auto match = children2.find(key);
                if (match == children2.end()) continue;
                int c2 = match->second;
                // A vertex reached twice keeps its first partner, so a
                // containment cycle ends the walk.
                if (M12[c1] != -1 || M21[c2] != -1) continue;
                M12[c1] = c2;
                M21[c2] = c1;
                _N(c1, c2) = 1.0f;
                queue.push_back({c1, c2});
            }
        }
    }

    relevant1 = relevance(*g1, M12);
    relevant2 = relevance(*g2, M21);
    for (int i = 0; i < order1; ++i) {
        int j = M12[i];
        if (j == -1) continue;
        bool shared = relevant1[i] || relevant2[j];
        relevant1[i] = shared;
        relevant2[j] = shared;
    }
    std::cout << "\n Nb Relevants 1: \t" << std::count(relevant1.begin(), relevant1.end(), true);
    std::cout << "\n Nb Relevants 2: \t" << std::count(relevant2.begin(), relevant2.end(), true);
}

void Match::getTerms(Graph* A, Graph* B, const std::vector<bool>* relv1, const std::vector<bool>* relv2) {
    std::cout << "\n getTerms";
    ALLTRM = "*";
    ALLENT = "_";
    auto collect = [&](Graph* g, const std::vector<bool>* flags, std::map<std::string, std::pair<int, int>>& terms) {
        terms.clear();
        terms[ALLENT] = {0, 0};
        terms[ALLTRM] = {1, 0};
        int nextId = 2;
        for (int i = 0; i < static_cast<int>(g->V.size()); ++i) {
            if (!taken(flags, i)) continue;
            Vertex& v = *g->V[i];
            v.settify();
            for (const std::string& t : termsOf(v)) {
                auto [it, created] = terms.try_emplace(t, nextId, 1);
                if (created)
                    ++nextId;
                else
                    ++it->second.second;
                ++terms[ALLTRM].second;
            }
            ++terms[ALLENT].second;
        }
    };
    collect(A, relv1, terms1);
    collect(B, relv2, terms2);
    std::cout << "\n Terms: " << terms1.size() << "\t" << terms2.size();
}

void Match::updateSemarel(SparseMatrix<semarel>* nT, int n, int t, int i, int inc) {
    semarel& entry = (*nT)(n, t);
    entry.count[i] += inc;
    entry.sum += inc;
}

void Match::matrixEntityTerm(Graph* A, Graph* B, const std::vector<bool>* relv1, const std::vector<bool>* relv2) {
    std::cout << "\n matrixEntityTerm";
    iterms = SEMAREL_SLOTS;
    auto ownNames = [&](Graph* g, const std::vector<bool>* flags, SparseMatrix<semarel>* profile,
                        const std::map<std::string, std::pair<int, int>>& terms) {
        const int all = terms.at(ALLTRM).first;
        for (int v = 0; v < static_cast<int>(g->V.size()); ++v) {
            if (!taken(flags, v)) continue;
            for (const std::string& t : termsOf(*g->V[v])) {
                updateSemarel(profile, v, terms.at(t).first, 0, 1);
                updateSemarel(profile, v, all, 0, 1);
            }
        }
    };
    auto neighbourNames = [&](Graph* g, const std::vector<bool>* flags, SparseMatrix<semarel>* profile,
                              const std::map<std::string, std::pair<int, int>>& terms) {
        const int all = terms.at(ALLTRM).first;
        for (const auto& e : g->E) {
            int u = e->from, w = e->to;
            if (!taken(flags, u) || !taken(flags, w)) continue;
            int k = static_cast<int>(e->label.size());
            int su = typeSlot(g->V[u]->type) + 1;
            int sw = typeSlot(g->V[w]->type) + 1;
            for (const std::string& t : termsOf(*g->V[u])) {
                updateSemarel(profile, w, terms.at(t).first, su + 4, k);
                updateSemarel(profile, w, all, su + 4, k);
            }
            for (const std::string& t : termsOf(*g->V[w])) {
                updateSemarel(profile, u, terms.at(t).first, sw, k);
                updateSemarel(profile, u, all, sw, k);
            }
        }
    };
    nodeTerms1 = std::make_unique<SparseMatrix<semarel>>(A->V.size(), terms1.size());
    std::cout << "\n mET 1";
    ownNames(A, relv1, nodeTerms1.get(), terms1);
    std::cout << "\t mET 2";
    neighbourNames(A, relv1, nodeTerms1.get(), terms1);
    std::cout << "\t mET 3";
    nodeTerms2 = std::make_unique<SparseMatrix<semarel>>(B->V.size(), terms2.size());
    ownNames(B, relv2, nodeTerms2.get(), terms2);
    std::cout << "\t mET 4";
    neighbourNames(B, relv2, nodeTerms2.get(), terms2);
    std::cout << "\t mET 5" << "\n mET E" << "ND.";
}

void Match::semilarity() {
    std::cout << "\n semilarity";
    sim_thres = 0.5f;

    // Term translation: a term shared by both dictionaries and carried by at
    // most 299 relevant vertices on each side.
    std::vector<int> tM12(terms1.size(), -1);
    std::cout << "\nMatch Terms";
    for (const auto& [term, idCount] : terms1) {
        auto other = terms2.find(term);
        if (other == terms2.end()) continue;
        if (idCount.second <= 299 && other->second.second <= 299) tM12[idCount.first] = other->second.first;
    }
    std::cout << " \t...Done\n";

    const int order1 = static_cast<int>(g1->V.size());
    const int order2 = static_cast<int>(g2->V.size());

    // Inverted index of graph 2: term id -> the relevant vertices whose
    // profile holds it, in ascending order, so the accumulation visits only
    // those instead of every graph-2 vertex.
    struct Carrier {
        int vertex;
        short type;
        const semarel* entry;
    };
    std::vector<std::vector<Carrier>> carriers(terms2.size());
    for (const auto& [j, row] : nodeTerms2->mat) {
        if (static_cast<int>(j) >= order2 || !isRelevant2(j)) continue;
        for (const auto& entry : row)
            if (entry.first < carriers.size())
                carriers[entry.first].push_back({static_cast<int>(j), g2->V[j]->type, &entry.second});
    }
    // The all-terms entry of each graph-2 profile, looked up once.
    std::vector<const semarel*> allTerms2(order2, nullptr);
    for (int j = 0; j < order2; ++j) allTerms2[j] = nodeTerms2->find(j, 1);

    const std::string path = "./results/sem_" + g1->name + "__" + g2->name + "_PAIRS.csv";
    OutputFile file;
    openForWriting(file, path);

    // One row of the shared-term profile is gathered in a dense buffer; once
    // its columns are sorted the row is complete, so each pair over the
    // threshold is written and allowed right there: rows ascending, columns
    // ascending, the order of a walk over the whole stored profile.
    std::vector<semarel> buffer(order2, semarel{});
    std::vector<char> touched(order2, 0);
    std::vector<int> columns;
    int validPairs = 0;
    for (const auto& [i, row] : nodeTerms1->mat) {
        if (static_cast<int>(i) >= order1 || !isRelevant1(i)) continue;
        if (i % 1000 == 0) std::cout << "," << i;
        const short type1 = g1->V[i]->type;
        for (const auto& [k1, entry1] : row) {
            if (k1 <= 1 || k1 >= tM12.size() || tM12[k1] == -1) continue;
            for (const Carrier& carrier : carriers[tM12[k1]]) {
                if (carrier.type != type1) continue;
                semarel& shared = buffer[carrier.vertex];
                if (!touched[carrier.vertex]) {
                    touched[carrier.vertex] = 1;
                    columns.push_back(carrier.vertex);
                }
                for (int s = 0; s < SEMAREL_SLOTS; ++s) {
                    int common = std::min(entry1.count[s], carrier.entry->count[s]);
                    shared.count[s] += common;
                    shared.sum += common;
                }
            }
        }
        std::sort(columns.begin(), columns.end());
        const semarel* all1 = nodeTerms1->find(i, 1);
        for (int j : columns) {
            const semarel& shared = buffer[j];
            const semarel* all2 = allTerms2[j];
            if (shared.sum != 0 && all1 != nullptr && all2 != nullptr) {
                int smaller = std::min(all1->sum, all2->sum);
                if (smaller != 0 && static_cast<double>(shared.sum) / smaller >= sim_thres) {
                    file << "\n" << i << "," << j << "," << g1->V[i]->label << "," << g2->V[j]->label << ","
                         << all1->sum << "_" << slotCounts(*all1) << "," << all2->sum << "_" << slotCounts(*all2)
                         << "," << shared.sum << "_" << slotCounts(shared);
                    updateMoves(i, j, true);
                    ++validPairs;
                }
            }
            buffer[j] = semarel{};
            touched[j] = 0;
        }
        columns.clear();
    }

    std::cout << "\n Writing In File";
    std::cout << "\n";

    std::cout << "\n NbValidPairs = " << validPairs << "\n";
    nodeTerms1.reset();
    nodeTerms2.reset();
    terms1.clear();
    terms2.clear();
    std::cout << "\t ...Done";
}

}  // namespace graphmat

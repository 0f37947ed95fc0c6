// The common-edge-subgraph matcher of two graphs. For every pair (i, j) of a
// graph-1 vertex i and a graph-2 vertex j it measures how much the two
// neighbourhoods overlap (pair statistics), turns that into a similarity
// matrix (optionally sharpened by how many rivals a pair has), and, on
// request, builds a greedy one-to-one matching that maximises the edges the
// matched pairs have in common. All work runs in the constructors; callers
// read the public members afterwards.
//
// Definitions are split by concern:
//   mces/MCESConstruction.cpp    constructors, initialize, code decoding, printState
//   mces/MCESPairStatistics.cpp  setPromoted, bestNMatches
//   mces/MCESSimilarity.cpp      setSim, setDiscrim, extendSim
//   mces/MCESGreedy.cpp          the greedy loop: find, commits, gains, loss estimates
//   mces/MCESScores.cpp          the score variants setGamma1 .. setGamma9
//
// Only the pair tables that the algorithm number and the similarity code
// read are kept: the gains g and the similarities simil always (dense, so the
// memory of an object grows with N1 x N2, see README.md, Limits), the
// selected statistic `potential` as sparse counts, one bit per pair for
// "the neighbourhoods overlap", and the rest only where they are read (see
// each member).
#pragma once

#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "graph/Graph.h"
#include "graph/stdafx.h"
#include "solvers/FastFind.h"
#include "solvers/IntegerAssignment.h"
#include "mces/CandidateCells.h"
#include "mces/DenseMatrix.h"
#include "mces/SparsePairCounts.h"

namespace graphmat {

class MCES {
public:
    // What the matcher reads of one graph, prepared once: interned labels,
    // degree counts, its own copies of the per-digit arc counts (the greedy
    // loop lowers these, never the graph's), and per-vertex neighbour links
    // and relation keys.
    struct NeighbourLink {
        int vertex;   // the neighbour
        int labelId;  // interned label of the neighbour
        int out;      // interned label text of the edge centre -> neighbour, -1 when none
        int in;       // interned label text of the edge neighbour -> centre, -1 when none
    };
    struct KeyCount {
        int key;    // interned key text
        int count;  // neighbours under that key
    };
    // The statistics of one pair: how much the two neighbourhoods have in
    // common, counted seven ways, and the label-wise products of arc counts.
    struct PairStatistics {
        int oEdges = 0, oNodes = 0, pEdges = 0, pEdges2 = 0, peNodes = 0, peNodes2 = 0, heNodes = 0;
        int links = 0;
    };
    struct GraphTables {
        std::vector<int> labelId;         // interned vertex label
        std::vector<int> labelValue;      // the label read as an integer, 0 when it is none
        std::vector<int> neighbourCount;  // size of the undirected neighbour set
        std::vector<int> arcCount;        // nb_in + nb_out
        DenseMatrix<int> c_in, c_out;     // per vertex and label digit: arcs in and out
        std::vector<std::vector<NeighbourLink>> links;  // neighbours, ascending
        std::vector<std::vector<KeyCount>> keys;        // the relation keys the similarity type reads
    };

    Graph* g1 = nullptr;
    Graph* g2 = nullptr;
    std::unique_ptr<FastFind> ff;  // candidate structure of a greedy run; null otherwise
    int idAlgo = 0;                // algorithm number 0-9: score variant and commit
    int seed = 0;                  // the caller's seed, stored only
    float r_alpha = 0;             // randomisation alpha of the pick
    bool findfast = false;         // the loop takes its pairs from ff
    double minDelta = 0, maxDelta = 0;  // range of the scores of the last pass
    double minG = 0, maxG = 0;          // range of the gains (score variant 1)
    double numG = 0;                    // examined pairs with a positive potential
    double allG = 0;                    // total potential, lowered by the commits
    double lost = 0;                    // connections lost by the last commit
    double minPotential = 0, maxPotential = 0, meanPotential = 0, stdPotential = 0;
    double minOEdges = 0, maxOEdges = 0, meanOEdges = 0, stdOEdges = 0;
    double minONodes = 0, maxONodes = 0, meanONodes = 0, stdONodes = 0;
    double minPEdges = 0, maxPEdges = 0, meanPEdges = 0, stdPEdges = 0;
    double minPEdges2 = 0, maxPEdges2 = 0, meanPEdges2 = 0, stdPEdges2 = 0;
    double minPENodes = 0, maxPENodes = 0, meanPENodes = 0, stdPENodes = 0;
    double minPENodes2 = 0, maxPENodes2 = 0, meanPENodes2 = 0, stdPENodes2 = 0;
    double minHENodes = 0, maxHENodes = 0, meanHENodes = 0, stdHENodes = 0;
    double _minOEdges = 0, _maxOEdges = 0, _meanOEdges = 0, _stdOEdges = 0;
    double _minONodes = 0, _maxONodes = 0, _meanONodes = 0, _stdONodes = 0;
    double _minPEdges = 0, _maxPEdges = 0, _meanPEdges = 0, _stdPEdges = 0;
    double _minPEdges2 = 0, _maxPEdges2 = 0, _meanPEdges2 = 0, _stdPEdges2 = 0;
    double _minPENodes = 0, _maxPENodes = 0, _meanPENodes = 0, _stdPENodes = 0;
    double _minPENodes2 = 0, _maxPENodes2 = 0, _meanPENodes2 = 0, _stdPENodes2 = 0;
    double _minHENodes = 0, _maxHENodes = 0, _meanHENodes = 0, _stdHENodes = 0;
    std::vector<int> M12;  // graph-2 partner of each graph-1 vertex, -1 for none
    std::vector<int> M21;  // graph-1 partner of each graph-2 vertex, -1 for none
    int param_sim = 0;      // similarity type decoded from the code
    int param_discrim = 0;  // discrimination type decoded from the code
    std::unique_ptr<std::vector<paire>> bestPairs;  // mutually best pairs; null until setDiscrim
    CandidateCells M;       // the candidate cells of a greedy run, made when first taken
    double BIAS = 0;        // weight of simil in a cell's gain
    int nbMatched = 0;      // committed pairs
    std::set<int> matched1, matched2;      // every vertex number of each graph
    std::set<int> unmatched1, unmatched2;  // unused
    int alpha = 0;                 // unmatched pairs left
    // N1 x N2: score of each pair, kept only when the pick may take a pair
    // below the best score (alpha != 0); otherwise each score pass keeps
    // just the pairs at its maximum (topPairs_), which are all that the pick
    // with alpha 0 can take, in the same order.
    DenseMatrix<double> gamma;
    DenseMatrix<float> simil;      // N1 x N2: pair similarity (0 where not computed)
    // N1 x N2: discrimination factor, made by setDiscrim; the constructors
    // release it once simil holds its product.
    DenseMatrix<float> discrim;
    int similarity = 0;            // the similarity code
    int nb_labels = 0;             // label digits 1 .. nb_labels - 1 are examined
    int nb_node_labels = 0;        // stored only
    int won = 0;                   // objective: total gain of the committed pairs
    // (N1 + 1) x (N2 + 1) pair tables; row N1 and column N2 hold the totals of
    // each column and row.
    DenseMatrix<float> g;            // gain of committing each pair
    // Label-wise products of arc counts: read by algorithms 0, 1 and 8
    // only, and made only for them (empty otherwise).
    DenseMatrix<int> connexions;
    // The statistic the similarity type selects (the one its similarity is
    // computed from), mostly zero.
    SparsePairCounts potential;
    int node_error = 0;   // vertex-label penalty
    bool greedy = false;  // run the greedy loop

    // Working tables of the two graphs.
    GraphTables t1, t2;

    // Processor milliseconds after which feedFastFind stops filling (checked
    // after each graph-1 vertex). Tests lower it.
    static double feedTimeLimitMs;

    // The known-matching constructor: kbt holds N1 entries, the graph-2
    // partner of each graph-1 vertex or -1; the caller keeps it.
    MCES(int algo, int simili, Graph* _g1, Graph* _g2, float _random, int _seed, const int* kbt, double nod_err);
    // The greedy constructor.
    MCES(int algo, int simili, Graph* _g1, Graph* _g2, float _random, int _seed, double nod_err, bool greed);
    MCES(const MCES&) = delete;
    MCES& operator=(const MCES&) = delete;
    virtual ~MCES();

    void initialize(Graph* _g1, Graph* _g2);

    // ---- greedy loop (MCESGreedy.cpp)
    paire find();
    void update1(int x, int y);
    void update(int x, int y);
    void updateG(int x, int y);
    // Gain that the other pairs of row x and column y lose when (x, y) is
    // committed. (Inline: every score pass of variant 1 calls it per pair.)
    int getNKilled(int x, int y) const { return static_cast<int>(g(x, n2_) + g(n1_, y) - 2 * g(x, y)); }
    void updatePromoted(std::set<int> nbor1, std::set<int> nbor2);
    // Connections lost when (x, y) is committed, in float arithmetic.
    float getERemoved(int x, int y) const {
        float removed = static_cast<float>(connexions(x, n2_) + connexions(n1_, y) - 2 * connexions(x, y));
        const int* in1 = t1.c_in.row(x);
        const int* out1 = t1.c_out.row(x);
        const int* in2 = t2.c_in.row(y);
        const int* out2 = t2.c_out.row(y);
        for (int k = 1; k < nb_labels; ++k) {
            removed -= in1[k] * out2[k];
            removed -= out1[k] * in2[k];
        }
        return removed;
    }
    float getERemoved1(int x, int y);
    float getERemoved3(int x, int y);
    float getERemoved4(int x, int y);
    void feedFastFind();
    float compareEdges(const Edge* e1, const Edge* e2) const;

    // ---- pair statistics (MCESPairStatistics.cpp)
    void setPromoted();
    // The statistics of (i, j) from the working arc counts (links only
    // with withLinks: the connection counts are kept only by some
    // algorithms). It arranges graph 2's counts and row i anew on every
    // call: setPromoted does that once and measures a row's pairs in turn.
    PairStatistics measurePair(int i, int j, bool withLinks = true);
    // The same in two steps: what the pairs of row i read of vertex i, then
    // the statistics of (i, j) for the row last prepared.
    void arrangeArcCounts();  // graph 2's arc counts label by label, where that sums the same
    void prepareRow(int i);
    PairStatistics measureInRow(int j, bool withLinks);
    // Best neighbour correspondence of (x, y); overlap is the pair's
    // oEdges + oNodes, which similarity type 9 reads for its cheap exit.
    int bestNMatches(int x, int y, int overlap);
    // True when the neighbourhoods of i and j have something in common
    // (oEdges + oNodes != 0); the commits read it.
    bool overlaps(int i, int j) const { return overlap_[pairIndex(i, j)]; }
    void setOverlap(int i, int j, bool value) { overlap_[pairIndex(i, j)] = value; }

    // ---- similarity and discrimination (MCESSimilarity.cpp)
    void setSim(int simi_type);
    void setDiscrim(int discrimi_type, int lv2);
    float extendSim(const DenseMatrix<float>& sim, int x, int y);

    // ---- score variants (MCESScores.cpp)
    void setGamma1();
    void setGamma2();
    void setGamma3();
    void setGamma4();
    void setGamma5();
    void setGamma6();
    void setGamma7();
    void setGamma9();

    void printState() const;

    int N1() const { return n1_; }
    int N2() const { return n2_; }

private:
    // The tests write g and simil directly, not by the commits.
    friend class MCESTestAccess;
    int n1_ = 0;
    int n2_ = 0;
    std::vector<bool> overlap_;  // N1 x N2, row-major: overlaps(i, j)
    std::size_t pairIndex(int i, int j) const {
        return static_cast<std::size_t>(i) * static_cast<std::size_t>(n2_) + static_cast<std::size_t>(j);
    }
    // The unmatched pairs at the maximum of the last score pass, in
    // row-major order, as runs: the pairs (row, from) .. (row, to - 1) that
    // were unmatched then (a column skipped inside a run was matched, and a
    // commit never frees one). Also whether a score pass ran at all (before
    // one, every score is 0).
    struct TopRun {
        int row, from, to;
    };
    std::vector<TopRun> topPairs_;
    bool scored_ = false;
    std::vector<TopRun> pickRuns_;  // scratch of find: the unmatched rows before a score pass
    // The uniform pick of find among the unmatched pairs of `runs`, each of
    // score `score` (see find).
    void pickAmongRuns(const std::vector<TopRun>& runs, double score, paire& chosen);
    std::vector<int> freeColumns_;    // scratch of a score pass and of find: the unmatched columns
    std::vector<double> rowScores_;   // scratch of a score pass: one row's scores
    std::vector<int> keyWeight_;  // per interned relation key: its PEdges2 / PENodes2 weight
    struct KeyHolder {
        int vertex;  // of graph 2
        int count;   // its neighbours under the key
    };
    std::vector<std::vector<KeyHolder>> keyHolders_;  // per key, in vertex order
    // Vertex i of the row being measured: per graph-2 vertex j its OEdges
    // and the sums over the keys both hold (valid where keyStamp[j] ==
    // stamp, else 0).
    struct MeasuredRow {
        int vertex = -1;
        bool arcsByLabel = true;              // the labels vertex i lacks add 0: then
        DenseMatrix<int> inByLabel, outByLabel;  // graph 2's counts, label by label
        std::vector<int> oEdges;              // and OEdges of (i, j) per j
        std::vector<unsigned> keyStamp;
        std::vector<int> keyMinima, keyWeighted;
        unsigned stamp = 0;
    };
    MeasuredRow measuredRow_;
    std::vector<double> costs_;   // scratch cost matrix of the neighbourhood assignments
    std::vector<const double*> costRows_;
    // The neighbourhood costs as whole numbers (rows of the smaller side)
    // and the solver that gives their optimum.
    std::vector<int> wholeCosts_;
    IntegerAssignment wholeSolver_;

    // Solves the rows x cols assignment held in costs_; per row, the column
    // assigned or -1.
    std::vector<int> solveCosts(int rows, int cols);

    void storeParameters(int algo, int simili, float _random, int _seed, double nod_err);
    void prepareTables();
    void buildKeys(int simType);
    void startGreedy();
    void runGreedyLoop();
    // Degree totals of a pair: neighbours of both, arcs of both.
    int total1(int i, int j) const { return t1.neighbourCount[i] + t2.neighbourCount[j]; }
    int total2(int i, int j) const { return t1.arcCount[i] + t2.arcCount[j]; }
    bool sameLabel(int i, int j) const { return t1.labelId[i] == t2.labelId[j]; }
    // Offers pair (a, b) to ff with its current gain; check_thresh as in
    // FastFind::insert. A pair without a cell gets one only if ff takes it.
    void offerCell(int a, int b, bool check_thresh);
    // Puts cell (a, b) back into ff with its current gain.
    void refreshCell(int a, int b);
    // Runs the score variant of idAlgo: at the start (end of initialize) or
    // after a commit made by update.
    void rescore(bool atStart);
    // Shared pass of the score variants: `score` gives the score of an
    // unmatched pair; records the range in minDelta and maxDelta, the
    // pairs at the maximum, and each score in gamma when gamma is kept.
    // With blankIsZero the caller's score of a blank pair (gain and
    // similarity both +0) is +0, and the pass may go by livePairs_.
    template <class Score>
    void scorePass(Score score, bool blankIsZero = false);
    template <class Score>
    void sparseScorePass(Score score);
    // One pair of a score pass, in row-major order: the extremes, and the
    // runs of pairs at the maximum (first: no pair compared yet; lastJoined:
    // the previous pair of the row is in the last run).
    void comparePairScore(int i, int j, double value, bool& first, bool& lastJoined);
    // The sharpening of setDiscrim by way of the pairs whose similarity is
    // not +0, when they are few and all numbers (the usual case): the same
    // rival counts, without a table of them. False, with nothing changed,
    // when it does not apply.
    template <class Sharpen, class AsStored>
    bool sharpenSparse(Sharpen sharpen, AsStored asStored);
    // The pairs that are not blank: per row, in column order, every pair
    // whose gain or similarity is not +0 to the bit (-0 and not-a-number
    // included), made at the first pass that asks for it and kept up by
    // updateG (a pair once listed stays listed). Not kept when more than a
    // quarter of the pairs would be listed.
    std::vector<std::vector<int>> livePairs_;
    bool liveChecked_ = false;  // livePairs_ was asked for
    bool liveIndexed_ = false;  // ... and is kept
    bool indexLivePairs();      // makes livePairs_ once; true when it is kept
    void markPair(int i, int j);  // lists (i, j) once its gain is no longer +0
    // Lowers the working arc counts for the arcs between vertex `centre` (v)
    // and its unmatched neighbours; collects those neighbours.
    void dropArcs(GraphTables& t, int centre, const Vertex* v, const std::vector<int>& partners,
                  std::set<int>& collected);
    int freshConnexions(int i, int j) const;
};

}  // namespace graphmat

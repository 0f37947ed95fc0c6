// The matcher of two graphs: the correspondence between their vertices
// (partner arrays, merged blocks, the best matching seen), the similarity
// caches, the delta matrix and candidate structure of the search, and the
// counters and timings that the driver and the reports read.
//
// Definitions are split by concern:
//   matching/MatchState.cpp              construction, accessors, lifted edges
//   matching/MatchSimilarityPreparation.cpp  pre-matching, terms, allowed pairs
//   matching/MatchNodeSimilarity.cpp     node similarity
//   matching/MatchCost.cpp               cost of a whole matching
//   matching/MatchBlocks.cpp             merging and splitting blocks
//   matching/MatchMoveEvaluation.cpp     pricing a move
//   matching/MatchMoveExecution.cpp      carrying a move out
//   matching/MatchTabu.cpp, MatchStartSolutions.cpp, MatchHungarian.cpp,
//   MatchStructuralSimilarity.cpp        the search and its start solutions
//   reports/                             the result files of a run
#pragma once

#include <deque>
#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "graph/Graph.h"
#include "graph/SparseMatrix.h"
#include "graph/stdafx.h"
#include "matching/PairMap.h"
#include "matching/SignatureStore.h"
#include "mces/DenseMatrix.h"

namespace graphmat {

class Cost;
class FastFind;

// Allowed vertex pairs of the search, with per-row and per-column lists so
// that the search can walk only the allowed pairs of a vertex. The lists are
// sorted vectors (four bytes a pair each way, where a tree set takes a node).
class AllowedPairs {
public:
    void resize(int rows, int cols);
    void set(int x, int y, bool able);
    bool allowed(int x, int y) const;
    // Allowed graph-2 vertices of graph-1 vertex x, and the reverse.
    const std::vector<int>& row(int x) const;     // ascending
    const std::vector<int>& column(int y) const;  // ascending
    long size() const { return size_; }

private:
    std::vector<std::vector<int>> rows_;
    std::vector<std::vector<int>> cols_;
    long size_ = 0;
};

class Match {
public:
    Graph* g1 = nullptr;  // graph 1 (not owned)
    Graph* g2 = nullptr;  // graph 2 (not owned)
    std::vector<int> M12;          // graph-2 partner of each graph-1 vertex, -1 when free
    std::vector<int> log_matching; // a matching read from an edit-path log
    std::vector<int> M21;          // graph-1 partner of each graph-2 vertex, -1 when free
    long computeSim = 0;           // node similarities computed
    long _computeSim = 0;
    AllowedPairs move;             // allowed pairs of the search
    std::vector<int> kbt;          // the known matching, -1 where none
    std::vector<int> bestMatch;    // M12 of the best matching
    std::vector<int> bestMatch2;   // M21 of the best matching
    std::vector<int> bestBlock;    // blocks1 of the best matching
    std::vector<int> bestBlock2;   // blocks2 of the best matching
    double bestCost = 0;
    // The full cost of the matching the search found, kept when a start
    // mode other than 1 replaces it by the known matching for the reports.
    double searchCost = 0;
    double tolerance = 0;
    double currentCost = 0;        // kept by adding each move's cost change
    double stockedBestCost = 0;
    double lastBestCost = 0;
    int nb0Meth1 = 0, nb0Meth2 = 0, nb0Att1 = 0, nb0Att2 = 0, nb0MAtt1 = 0, nb0MAtt2 = 0;
    std::vector<std::vector<cell*>> tabu_i;  // the tabu ring, TABU_MAX buckets
    int i_parser = 0;                        // cursor of the tabu ring
    std::vector<int> sim_distrib;            // similarity histogram
    double granul_distrib = 0;
    int nb_labels = 0;
    std::unique_ptr<FastFind> ff;            // candidate structure of the search
    int iterms = 0;                          // relation slots of a term profile
    std::unique_ptr<SparseMatrix<semarel>> nodeTerms1, nodeTerms2;
    PairMap<cell> M;                         // the delta matrix
    DensePairMap<float> _M;                  // pair similarities of the start solutions
    // Set by start modes 2 and 5: they compute a similarity for every pair,
    // which nothing after the start reads, so _M does not keep them; the
    // memory line counts them as stored all the same.
    bool similaritiesUnstored = false;
    PairMap<float> _N;                       // stored node similarities
    int stagnation = 0;
    int stagnation_length = 0;
    int intensify = 0, intensify_length = 0, diversify = 0;
    double diversify_length = 0;
    int max_vertices = 0;
    int min_vertices = 0;
    float sim_thres = 0;
    double minAll = 0;
    int _minAll = 0;
    int randomSeed = 0;
    int numberOfMatchs = 0;
    int numberOfGoodMatchs = 0;
    int init_numberOfGoodMatchs = 0;
    int matchedEdges = 0, perfectMatchedEdges = 0;
    Cost* costs = nullptr;  // the cost model (not owned)
    double f = 0;
    double no_matching_cost = 0;
    double greedy_time = 0, init_time = 0, update_time = 0, find_time = 0, comp_time = 0;
    int update_occ = 0;  // move evaluations
    int find_occ = 0;
    cell* chosenCell = nullptr;  // the move chosen by the last look-up
    int oldMatch1 = -1, oldMatch2 = -1;
    // Blocks of each side in order of creation: block number = order of the
    // graph + position here (numbers are handed out in this order).
    std::vector<std::unique_ptr<Vertex>> V1, V2;
    FlatPairMap<Edge*> E1, E2;                     // block-level edges by (from, to)
    int cost_mode = 0;
    bool recomputeAll = false;
    double BIAS = 0;
    int good = 0;        // matched pairs with equal labels
    int iterations = 0;  // moves made by the search
    int tabu_in = 0;     // tenure of an undone pair
    int tabu_out = 0;    // tenure of a newly made pair
    int nb_matched = 0, nb_matched_isolated = 0, nb_unmatched_isolated = 0;
    std::vector<std::vector<double>> sim_eval;
    int bestIterations = -1;
    double initType = 0;
    double initScore = 0;
    double upperBound = 0;
    std::unique_ptr<std::set<int>> concerned1, concerned2;  // vertices touched by the last move
    std::map<std::string, std::pair<int, int>> terms1, terms2;  // term -> (id, count)
    std::vector<int> blocks1, blocks2;  // block holding each plain vertex (itself when alone)
    SignatureStore nBlocks1, nBlocks2;  // member list -> block number
    std::vector<bool> relevant1, relevant2;  // relevance flags; empty: every vertex relevant
    std::string ALLTRM, ALLENT;
    double _att = 0, _meth = 0, sim_name = 0;
    std::string _label1, _label2, _path1, _path2;

    Match(Graph* A, Graph* B, Cost* C, int seed, int mode);
    // A matcher with a default cost model of its own, in the driver's cost
    // mode (3).
    Match(Graph* A, Graph* B, int seed);
    // An empty matcher: no graphs, no cost model.
    Match();
    Match(const Match&) = delete;
    Match& operator=(const Match&) = delete;
    virtual ~Match();

    void init();
    void init(Graph* A, Graph* B);
    void changeCosts(Cost* C);

    // ---- accessors, for plain vertices and blocks alike
    Vertex* getVertex1(int num) const;
    Vertex* getVertex2(int num) const;
    Vertex* getVertex(int x, bool left) const { return left ? getVertex1(x) : getVertex2(x); }
    Edge* getEdge1(int from, int to) const;
    Edge* getEdge2(int from, int to) const;
    Edge* getEdge(int from, int to, bool left) const { return left ? getEdge1(from, to) : getEdge2(from, to); }
    int getM12(int x) const;
    int getM21(int y) const;
    int getNodes1(int x) const;
    int getNodes2(int y) const;
    int getENodes1(const Edge* e) const;
    int getENodes2(const Edge* e) const;
    std::unique_ptr<std::vector<Edge*>> getVEdges1(Vertex* v) { return getVEdges(v, true); }
    std::unique_ptr<std::vector<Edge*>> getVEdges2(Vertex* v) { return getVEdges(v, false); }
    std::unique_ptr<std::vector<Edge*>> getVEdges(Vertex* v, bool left);
    // getVEdges into a caller's buffer (cleared first); empty for none.
    void liftedEdges(Vertex* v, bool left, std::vector<Edge*>& out);
    std::unique_ptr<std::set<int>> involvedNodes(const std::vector<Vertex*>* vs) const;
    void updateMoves(int x, int y, bool able) { move.set(x, y, able); }
    bool movable(int x, int y) const { return move.allowed(x, y); }
    bool isRelevant1(int i) const { return relevant1.empty() || relevant1[i]; }
    bool isRelevant2(int j) const { return relevant2.empty() || relevant2[j]; }
    double checkMatching() const;
    void checkPresence() const;

    // ---- similarity preparation
    void getRelevant();
    void getTerms(Graph* A, Graph* B, const std::vector<bool>* relv1, const std::vector<bool>* relv2);
    void matrixEntityTerm(Graph* A, Graph* B, const std::vector<bool>* relv1, const std::vector<bool>* relv2);
    void updateSemarel(SparseMatrix<semarel>* nT, int n, int t, int i, int inc);
    void semilarity();

    // ---- node similarity
    float intSim(int mode, Vertex* v1, Vertex* v2);

    // ---- name similarities beside the run (matching/MatchNameSimilarity.cpp)
    // The older node similarity: simple names (through IdSim) weighted by
    // the agreement of the signature texts; a stored _N value when there is
    // one. Never stores.
    float intSim2(int mode, Vertex* v1, Vertex* v2);
    // Name similarity, attributes and methods in common, simple names and
    // paths of one pair, left in _att, _meth, sim_name, _label1.._path2.
    void setSims(Vertex* v1, Vertex* v2);

    // ---- offline class-diagram reduction (matching/MatchReduction.cpp)
    // Each pairs the obviously corresponding vertices of two class diagrams
    // and writes the obvious pairs file "./results/_" + A + "__" + B + ".csv"
    // and the reduced class diagram files "./results/_" + A + ".txt" and
    // "./results/_" + B + ".txt". obviousMatch1 copies the kept lines of the
    // class diagram files under "./datasets/cdiagrams/eclipse/",
    // obviousMatch regenerates class and member lines and copies the kept
    // relation lines of those under "./datasets/cdiagrams/mylyn/". "YES"
    // when done; "NO", with nothing written, when the obvious pairs file
    // holds anything but pair lines (a hand-made gold file stands there).
    static std::string obviousMatch1(Graph* A, Graph* B);
    static std::string obviousMatch(Graph* A, Graph* B);

    // ---- whole-matching cost
    double cost(int mode);
    double noMatchCost(int mode);
    double ocost(int mode);

    // ---- blocks
    Vertex* updateBlock(Vertex* B, int x, bool left, bool add);
    std::unique_ptr<Vertex> mergeNodes(const std::vector<Vertex*>* nodes, int nnumber);

    // ---- move evaluation
    bool isValidMove(int i, int j);
    double computeDelta(int mode, Vertex* v1, Vertex* v2);
    double compDelta(int mode, Vertex* v1, Vertex* v2);
    double computeGamma(int mode, Vertex* v1, Vertex* v2);
    double compGamma(int mode, Vertex* v1, Vertex* v2);

    // ---- move execution
    // Carries out chosenCell; false when the cell fits no kind of move and
    // nothing was done.
    bool enactMove();
    void updateState(Vertex* v1, Vertex* v2, bool add);
    void removeFromFF(int x, int y);
    // The cell of (x, y), created fresh when absent.
    cell& ensureCell(int x, int y);
    // Starts a tenure of t iterations on c.
    void startTenure(cell& c, int t);
    void drawTenures();

    // ---- search (matching/MatchTabu.cpp)
    void Tabu(double _init, int alg, int discrim);
    // Called after every move of the search, once its lines are printed
    // (a seam for checks of the running state).
    std::function<void()> afterMove;
    // Called after every delta-matrix update of the search.
    std::function<void()> afterUpdate;
    void findMatch();
    void updateDeltaMatrix();
    void feedFastFind();
    void feedMatching();
    // Rows and values of _M as the memory line reports them: with
    // similaritiesUnstored every pair counts as stored.
    std::pair<int, int> similarityStoreCounts() const;
    // Stores the similarities of a finished matcher in _M for every pair.
    void takeSimilarities(DenseMatrix<float>&& simil);
    void printGammaMatrix();

    // ---- start solutions (matching/MatchStartSolutions.cpp)
    // True when the search in start-solution mode `startMode` reads the known
    // matching (and its result files report it): every mode but 1.
    static bool readsKnownMatching(double startMode) { return startMode != 1; }
    // The known-matching file of a run whose graph 1 is named `graph1Name`:
    // "./datasets/random/" + the name without its last character + ".csv"
    // (graphs g7A and g7B share ./datasets/random/g7.csv).
    static std::string knownMatchingPath(const std::string& graph1Name);
    void initGammaMatrix_v2(int alg, int discrim);
    // Start-solution mode 0: appends its line to "sim_results.csv" and ends
    // the process with status 1.
    [[noreturn]] void similarityExperiment(int alg, int discrim);

    // ---- single assignment (matching/MatchHungarian.cpp)
    int hungarian(const std::string& sim_path, int sense);

    // ---- structural similarity matrices (matching/MatchStructuralSimilarity.cpp)
    void fillSimMatrixH();
    void fillSimMatrixH1();
    double bestNMatches1(int x, int y);
    void fillSimMatrix();

    // ---- reports of a run (reports/)
    void output(int mode);
    void rawPrint();
    std::string writeVertex1(int x);
    std::string writeVertex2(int y);

    // ---- evaluation and comparison reports (reports/MatchEvaluation.cpp,
    // MatchUmlDiff.cpp, MatchAlternatives.cpp, MatchLog.cpp)
    // Scores the match result file ./results/`file` against its gold file and
    // appends one line to ./eval_results.csv; uses no state of a matcher.
    // False, with a message on standard error, when nothing was appended.
    static bool evalSolution(std::string file, std::string dataset);
    // True when `file` is named as a match result file: a run name + ".csv",
    // graph 1__graph 2__five cost weights__seed.csv (what evalSolution reads).
    static bool namesMatchResultFile(const std::string& file);
    // The raw lists in their variant form, then the UML difference report
    // against the listing in ./results/uml/ and the alternatives reports.
    void rawPrint2();
    // The listing rawPrint2 reads: ./results/uml/uml_G1_G2.csv.
    static std::string umlListingPath(const std::string& graph1Name, const std::string& graph2Name);
    // Reports the pairs named by the keys of `altmatch` whose vertex texts
    // differ into ./results/alternatives_`source`.csv; returns their keys.
    std::unique_ptr<std::set<std::string>> checkAlternatives(const std::set<std::string>* altmatch,
                                                             std::string source);
    // The vertex of g named by a signature (dotted path, optional parameter
    // list), found by descending the containment arcs from vertex 0; null
    // when there is none. The first form compares parameter types whole, the
    // second after their last ".".
    static Vertex* getVertexFromSignature(std::string sign, Graph* g);
    static Vertex* getVertexFromSignature2(std::string sign, Graph* g);
    // Cost of the correspondence of an edit-path log; M12 and M21 hold -1
    // everywhere on return, log_matching the logged partners.
    double getLog(std::string log);

    // A copy of e (as Edge::duplicate makes it) with the ends given, kept
    // by the matcher for the rest of the run: a block edge or lifted copy.
    Edge* adoptCopy(const Edge& e, int from, int to);

private:
    std::unique_ptr<Cost> ownedCosts_;  // the default cost model of Match(A, B, seed)
    // Block edges and lifted copies, built in place: a deque keeps their
    // addresses and allocates them in chunks, not one by one.
    std::deque<Edge> ownedEdges_;
    // The cells of the delta matrix by graph-1 number and by graph-2 number,
    // so that the cells of one vertex or block are found without a scan.
    std::unordered_map<int, std::vector<cell*>> cellsOfRow_, cellsOfColumn_;
    // Takes out of the candidate structure the cells of rows `rows` whose
    // column satisfies `leaves` (and, with byColumn, the reverse).
    template <class Pred>
    void removeCellsOf(const std::set<int>& numbers, bool byColumn, Pred leaves);
    // Whether a vertex or live block of one side holds a relevant vertex
    // (that is also matched).
    bool holdsRelevant(int holder, bool left) const;
    bool holdsRelevantMatched(int holder, bool left) const;
    std::unique_ptr<cell> initialChosenCell_;

public:
    // A term set seen as its terms in ascending order, without copying them.
    using TermList = std::vector<const std::string*>;
    // The three term sets a node similarity reads; null where the vertex has
    // none (a missing set and an empty one price differently).
    struct TermSets {
        const TermList* terms = nullptr;
        const TermList* paths = nullptr;
        const TermList* specs = nullptr;
    };
    // The term sets of a vertex, or of a block of this matcher: the union of
    // its members' sets, present where any member has that set. Blocks do
    // not store these unions (most blocks are only evaluated once); they are
    // gathered here into lists of the members' own terms, and the last block
    // asked for on each side is kept. The lists stay valid until the next
    // call for the same side.
    TermSets termSetsOf(const Vertex* v, bool left);
    // The union of the given sets, ascending and without repeats, into
    // `out`; false when every set is missing.
    static bool unionOfTerms(const std::vector<const std::set<std::string>*>& sets, TermList& out);

private:
    struct TermListCache {
        int block = -1;  // the block the lists hold, -1 for a plain vertex
        TermList lists[3];
        bool present[3] = {false, false, false};
    };
    TermListCache termLists_[2];

    // Buffers of move evaluation, cleared and reused by every call so that
    // pricing a move allocates nothing once they have grown. computeDelta
    // uses `involved` and `saved`; compDelta, which it calls, the rest.
    struct EvaluationScratch {
        std::vector<int> involved1, involved2;                // members freed by the move
        std::vector<std::pair<int, int>> saved1, saved2;      // their (partner, block) before
        std::vector<Edge*> edges1, edges2, deleted, inserted;
    };
    EvaluationScratch evalScratch_;
    // An arc on its way into a block-level edge: the pair its ends become,
    // the edge it comes from, that edge's position in its list, and whether
    // a block edge of the pair is already stored.
    struct PendingArc {
        std::pair<int, int> ends;
        const Edge* edge;
        int position;
        bool stored;
    };
    // Sorts arcs by pair, stably: the arcs of one pair then follow each
    // other in the order they were listed, as a map from pair to the edge
    // being fused would have met them.
    static void sortByPair(std::vector<PendingArc>& arcs);
    // The end of the run of arcs with the pair of arcs[first].
    static std::size_t pairRunEnd(const std::vector<PendingArc>& arcs, std::size_t first);
    // One owned edge for arcs[first, last): a copy of the first arc's edge
    // with the pair as ends, the later arcs' labels added in order.
    Edge* fuseRun(const std::vector<PendingArc>& arcs, std::size_t first, std::size_t last);
    struct LiftScratch {
        std::vector<Vertex*> members;  // updateBlock: the members of the block asked for
        std::vector<int> signature;    // and their numbers, ascending
        std::vector<const std::set<std::string>*> termSets;  // mergeNodes: the members' name terms
        TermList terms;                                       // and their union, for the label
        std::vector<PendingArc> arcs;
        std::vector<Edge*> taken;  // per edge: what it contributes in edge order, or null
        std::vector<Edge*> fused;
    };
    LiftScratch liftScratch_, blockScratch_;  // liftedEdges; updateBlock and mergeNodes
    // The sorted members of the vertices given, into `out`.
    static void collectMembers(std::initializer_list<const Vertex*> vs, std::vector<int>& out);
    friend class MatchTestAccess;
};

// Pairs graph-1 vertex i with graph-2 vertex j, clearing former partners
// first so that the partner arrays stay inverse.
void pairUp(std::vector<int>& M12, std::vector<int>& M21, int i, int j);

// |a - b| / max(a, b, 0); 0 when that maximum is 0.
double normDiff(float a, float b);

// Similarity of two term sets by common substrings, with a one-to-one
// pairing of terms when both sets hold two or more.
double simSet(const std::set<std::string>* sstr1, const std::set<std::string>* sstr2);


// Length of the longest common contiguous substring.
int LCS(const std::string& str1, const std::string& str2);

}  // namespace graphmat

// Random graph pairs with a known correspondence: two labelled graphs that
// share n common nodes (common node i of graph 1 is common node i of graph
// 2), each with extra nodes of its own, labels drawn jointly with the
// correlation q, both renumbered at random, written as plain graph files
// with the known matching and the counts of their differences.
#pragma once

#include <ctime>
#include <string>
#include <vector>

#include "graph/CapacityChecks.h"

namespace graphmat {

class GenGraph {
public:
    int n = 0;   // number of common nodes
    int n1 = 0;  // node count of graph 1
    int n2 = 0;  // node count of graph 2
    int el = 0;  // number of arc labels: labels 1..el, 0 is no arc
    int nl = 0;  // number of node labels: drawn 0..nl-1, written 1..nl
    float eld = 0;  // decay of the edge label law
    float nld = 0;  // decay of the node label law
    // Single renumbering of graph 2 in the two models of common nodes only
    // (node i of graph 1 is node to_shuffle[i] of graph 2).
    std::vector<int> to_shuffle;
    std::vector<int> to_shuffle1;  // written number of each graph-1 node, by internal index
    std::vector<int> to_shuffle2;  // written number of each graph-2 node
    float p = 0;   // probability that an ordered pair of distinct nodes carries an arc
    float e = 0;   // mean-degree parameter (p = e / n)
    float q = 0;   // correlation of the two graphs' labels on the common part
    float pd = 0;  // percentage of extra nodes in graph 1
    float pi = 0;  // percentage of extra nodes in graph 2
    int m1 = 0;    // arcs of graph 1
    int m2 = 0;    // arcs of graph 2
    int label_errors = 0;   // common pairs with an arc in both graphs but other labels
    int struct_errors = 0;  // common pairs with an arc in exactly one graph
    int score = 0;          // common pairs with the same arc label in both graphs
    int edge_errors = 0;    // sum over common pairs of |label 1 - label 2| (0: no arc)
    int n_node_errors = 0;  // common nodes whose two labels differ
    int v_node_errors = 0;  // sum over common nodes of |label 1 - label 2|
    int undirected = 0;     // 1 for an undirected pair
    std::vector<std::vector<int>> edges1;  // arc label by ordered pair of internal indices
    std::vector<std::vector<int>> edges2;
    std::vector<int> nodes1;  // node label (0..nl-1) by internal index
    std::vector<int> nodes2;
    int seed = 0;

    GenGraph();
    // Draws a pair and writes it under the pair prefix built from filename
    // (see write). Throws std::invalid_argument, before anything is drawn or
    // written, for parameters that describe no pair (parameterError); with a
    // single node (arc) label and a decay other than 1 it returns at once
    // after seeding the generator and writes nothing.
    GenGraph(int _n, double _e, double _q, int _nl, double _nld, int _el, double _eld, double _pd, double _pi,
             std::string filename, int _seed, bool undir);
    // The model without node labels: every node has label 0 (written 1).
    GenGraph(int _n, double _e, double _q, int _el, double _d, double _pd, double _pi, std::string filename,
             int _seed, bool undir);
    // A directed pair of n common nodes with correlated arc labels; graph 2
    // renumbered by to_shuffle.
    GenGraph(int _n, double _p, double _q, int _el, double _d, std::string filename, int _seed);
    // A directed pair of n common nodes with correlated unlabelled arcs. It
    // draws from the generator as it stands: the caller seeds it.
    GenGraph(int _n, double _p, double _q, std::string filename, int _seed);
    virtual ~GenGraph() = default;

    // Writes the pair's files and appends its lines to "bat.txt" and
    // "score.txt", then releases the renumberings and label matrices. True
    // when every file was written; otherwise each file that failed is named
    // on standard error. A file of the pair that fails has the pair's own
    // files removed, so that no half pair is left, and nothing appended; a
    // "bat.txt" or "score.txt" that fails leaves the complete pair and the
    // other line in place.
    bool write(std::string filename);

    // The stem of every file of the pair: filename, then n, e, q, nl, nld,
    // el, eld, pd, pi, undirected and seed, each preceded by "_".
    std::string pairPrefix(const std::string& filename) const;
    // Every file that write creates or appends to, for the pair prefix P:
    // P + "A.csv", "mA.csv" (matrices only), "B.csv", "mB.csv" (matrices
    // only), ".csv", "C.csv" (matrices only), then "bat.txt" and "score.txt".
    static std::vector<std::string> pairFiles(const std::string& prefix, bool matrices);
    // The same for the pair the full constructor would draw from these
    // parameters (ones that parameterError accepts); nothing is drawn.
    static std::vector<std::string> pairFiles(const std::string& filename, int _n, double _e, double _q, int _nl,
                                              double _nld, int _el, double _eld, double _pd, double _pi, int _seed,
                                              bool undir);
    // Whether write adds the matrix files: a single-label undirected pair.
    bool hasMatrixFiles() const { return nl == 1 && el == 1 && undirected == 1; }
    // The matrix files that write creates for the pair prefix P, each with
    // its size in bytes as write writes it (they grow with the square of
    // the node counts): P + "mA.csv", "mB.csv" and "C.csv"; none when the
    // pair has no matrix files.
    std::vector<PlannedFile> matrixFiles(const std::string& prefix) const;
    // The same for the pair the full constructor would draw from these
    // parameters (ones that parameterError accepts); nothing is drawn.
    static std::vector<PlannedFile> matrixFiles(const std::string& filename, int _n, double _e, double _q, int _nl,
                                                double _nld, int _el, double _eld, double _pd, double _pi,
                                                int _seed, bool undir);

    // Why the parameters of the full constructor describe no pair, naming
    // the parameter at fault; empty when they describe one.
    static std::string parameterError(int _n, double _e, double _q, int _nl, double _nld, int _el, double _eld,
                                      double _pd, double _pi);

    // Law of a label: count values, value k = (1 - decay) / (1 - decay^count)
    // x decay^k, or 1 / count when decay is 1.
    static std::vector<double> labelLaw(int count, float decay);
    // Joint law of the labels of two corresponding items as a table of
    // cumulated values in row-major order: cell (a, b) adds
    // law(a) x (1 - q) x law(b), plus q x law(a) when a = b.
    static std::vector<double> jointTable(const std::vector<double>& law, float q);
    // The table walk: the first cell whose value is not below u, the last
    // cell when rounding leaves the total below u.
    static int walk(const std::vector<double>& cumulated, double u);

private:
    std::vector<double> edgeLaw(bool print) const;
    static std::vector<int> shuffled(int order);
    void store(int _n, double _e, double _q, int _nl, double _nld, int _el, double _eld, double _pd, double _pi,
               int _seed, bool undir);
    void allocate();
    void drawArcs(bool fullModel);
    void drawCommonPairs(const std::vector<double>& table, bool undir, bool sumEdgeErrors);
    void drawExtraPairs(std::vector<std::vector<int>>& edges, int order, int& arcs,
                        const std::vector<double>& cumulated, bool undir);
    void prepareCommonNodeModel();
    // Why the tables of a pair of these sizes cannot be built (they would
    // not fit in memory, or a node count leaves the range of int); empty when
    // they can. Arithmetic only: nothing is allocated.
    static std::string sizeError(int _n, int _nl, int _el, float _pd, float _pi);
    static std::string modelError(int _n, float _p, const std::string& pWord, float _q, int _nl, float _nld,
                                  int _el, float _eld, float _pd, float _pi);
};

// The current local date and time: year (from 1900), month (from 0), day of
// the month, hour, minute and second, joined by "_".
std::string getMeDate();
std::string getMeDate(std::time_t when);

}  // namespace graphmat

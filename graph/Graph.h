// The directed, labelled multigraph: vertices by number, one edge per ordered
// vertex pair (parallel arcs folded into it), the sparse adjacency, neighbour
// sets, per-label relation tables and the ranking.
#pragma once

#include <iostream>
#include <istream>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "graph/CapacityChecks.h"
#include "graph/Edge.h"
#include "graph/FlatPairMap.h"
#include "graph/GraphReading.h"
#include "graph/SparseMatrix.h"
#include "graph/Vertex.h"
#include "graph/stdafx.h"

namespace graphmat {

class Graph {
public:
    int vertices = 0;      // number of vertices
    int nbClasses = 0;     // class vertices read (model graph files)
    int nbPackages = 0;    // package vertices read
    int nbAttributes = 0;  // attribute vertices read
    int nbMethods = 0;     // method vertices read
    int edges = 0;         // number of edges (ordered vertex pairs with arcs)
    std::string name;      // file name without directories and extension
    std::vector<std::unique_ptr<Vertex>> V;  // vertex i has number i
    std::vector<std::unique_ptr<Edge>> E;    // edges in order of insertion
    int nb_labels = 1;     // largest label digit inserted so far
    int loops = 0;         // self-loop edges
    int multi_arcs = 0;    // edges holding more than one arc
    int nbNodeLabels = 0;  // 1 + number of distinct vertex labels
    int max_in_distrib = 0, max_out_distrib = 0, max_all_distrib = 0, max_multi = 0;
    int min_in_distrib = MAX_DEGREE, min_out_distrib = MAX_DEGREE, min_all_distrib = MAX_DEGREE;
    int min_multi = MAX_MULTI;
    double mean_in_distrib = 0, mean_out_distrib = 0, mean_all_distrib = 0, mean_multi_distrib = 0,
           mean_label_distrib = 0;
    double std_in_distrib = 0, std_out_distrib = 0, std_all_distrib = 0, std_label_distrib = 0,
           std_multi_distrib = 0;
    std::vector<int> in_distrib, out_distrib, all_distrib, multi_distrib;
    std::vector<long long> label_distrib;  // entry 0 counts vertex pairs: up to vertices squared
    std::vector<int> level_count, level;  // rank levels
    double max_u = 0, mean_u = 0, std_u = 0, min_u = 0, maxi_u = 0;
    double max_norm = 0, mean_norm = 0, std_norm = 0, min_norm = 0, maxi_norm = 0;
    std::map<std::string, int> nodeNumbers;  // vertex number by name (named edge lists)
    int root = -1;                           // root package vertex, -1 when none
    HashedMatrix<Edge*> G;                   // (from, to) -> the edge of that pair
    double c = 0;                            // teleport share of the ranking
    std::vector<double> u, hub;              // rank and hub scores
    std::vector<std::vector<double>> uu;     // per-digit rank scores (slot 0 unused)
    std::vector<std::vector<int>> c_in, c_out;  // per vertex and digit 0..nb_labels: arc counts
    std::vector<std::map<std::string, int>> relations;   // neighbours per relation key
    std::vector<std::map<std::string, int>> Nrelations;  // per relation key + "/" + label
    std::vector<std::map<std::string, int>> NLabels;     // neighbours per neighbour label
    std::unique_ptr<std::multimap<std::string, int>> classes;  // simple name -> vertex
    std::vector<std::set<int>> neighbors;                // undirected, self-loops left out
    std::vector<std::vector<double>> uu_stats;           // per-digit score statistics
    std::vector<double> local_u;
    std::vector<int> rank, _rank;
    std::vector<double> norm;                            // degree norm
    double edge_weight[MAX_LABELS] = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1};  // weight per label digit
    // How its file was read, how each line read, and the verdict on it.
    GraphReading reading;

    // Reads a graph in reader mode `mode` from the file at `path` (mode 7:
    // from the text `path` itself).
    Graph(int mode, const std::string& path);
    // An empty graph, ready for insertEdge.
    Graph();
    Graph(const Graph&) = delete;
    Graph& operator=(const Graph&) = delete;
    virtual ~Graph() = default;

    // Adds one arc; takes ownership of the edge (folded or refused edges are
    // released). False when it is refused: an end is no vertex.
    bool insertEdge(std::unique_ptr<Edge> e);
    // The edge from -> to, or null; creates nothing.
    Edge* getEdge(int from, int to) const;
    bool areNeighbors(int node1, int node2) const;
    void fillNeighbors();
    // Neighbour sets, per-digit arc counts, vertex label count and the
    // relation maps; prints the label count line unless quiet.
    void fillNeighborsAndRelations(bool quiet = false);
    // Builds the relation tables quietly when no step has built them yet.
    void ensureRelations();
    void reinitEdges();
    void write(int mode, const std::string& path) const;
    int getOrder() const { return vertices; }
    int getSize() const { return edges; }
    std::vector<Vertex*> getV() const;
    std::vector<Edge*> getE() const;
    void deleteEdge(Edge*) {}

    // The arc line of a plain or edge list graph file, numbered
    // edgeCounter (counted on when its fields read). It reads when it
    // inserts, or (a trial reading) names vertices below the header's
    // `count` that the graph does not keep; an arc to a vertex the file does
    // not hold is a fault of the file.
    LineRead readArcLine(const std::vector<std::string>& fields, int& edgeCounter, int count);
    // Runs the reader of `mode` on `file` (a mode without a reader reads
    // nothing).
    void readInMode(std::istream& file, int mode);
    // Readers, one per reader mode.
    void initMode0(std::istream& file);
    void initMode1(std::istream& file);
    void initMode2(std::istream& file, int labels);
    void initMode3(std::istream& file);
    void initMode4(std::istream& file);
    void initMode5(std::istream& file);
    void initMode6(std::istream& file);
    void initMode7(const std::string& text);
    // Reads the file twice: the stream must be able to rewind (an InputFile
    // can, whatever the input).
    void initMode8(std::istream& file);
    void initMode9(std::istream& file);
    void initMode10(std::istream& file);
    void initMode11(std::istream& file);
    void initMode12(std::istream& file);

    // Statistics and dumps: degree, label and multi-arc distributions
    // (collectStats, also writing "./logs/isolated_<name>.csv"), the summary
    // rows and details files under "./graphs/", the whole graph on standard
    // output and the adjacency matrix file "m<name>".
    void collectStats();
    void graphDetails();
    void mozillaDetails();
    void print() const;
    void toMatrixFile() const;

    // Ranking.
    double specialNorm(const double* x, const double* y, int n) const;
    std::vector<double> T(const std::vector<double>& x, int n) const;
    std::vector<double> computeU(double delta, int n) const;
    std::vector<double> T2(const std::vector<double>& x, int n, int label) const;
    std::vector<std::vector<double>>& computeU2(double delta, int n);
    void nodeRank(double _c, double epsilon);
    void nodeRank2(double _c, double epsilon);
    void sortNodes();
    double getLocalRank(int node, int cover);
    void printU() const;
    void printU2() const;
    // Runs the whole-graph ranking quietly when no step has filled `u` yet.
    void ensureRanking();

    // The vertices read, counted by the memory check of the next graph read.
    HeldVertices heldVertices;
    bool hasRelations = false;  // the relation tables are built
    bool hasRanking = false;    // `u` and its statistics are filled

private:
    void readConfig();
};

}  // namespace graphmat

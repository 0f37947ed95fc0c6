// Graph statistics and dumps: degree, label and multi-arc distributions with
// their means and deviations, the summary rows and details files of a
// collection of graphs, the whole graph on standard output, and the
// adjacency matrix file.
#include <algorithm>
#include <cmath>
#include <fstream>
#include <iostream>
#include <limits>
#include <sstream>

#include "graph/CapacityChecks.h"
#include "graph/Graph.h"
#include "graph/OutputFiles.h"

namespace graphmat {

namespace {

const std::string GRAPHS_DIR = "./graphs/";
const std::string ALL_GRAPHS = GRAPHS_DIR + "all_graphs.csv";
const std::string ALL_VERSIONS = GRAPHS_DIR + "all_versions.csv";

const char* const DETAILS_HEADER =
    "Name;|V|;|E|;|LV|;|LE|;Loops;Multi-arcs;Isolated Nodes;Min_in_degree;Mean_in_degree;Std_in_degree;"
    "Max_in_degree;Min_out_degree;Mean_out_degree;Std_out_degree;Max_out_degree;Min_degree;Mean_degree;"
    "Std_degree;Max_degree;Mean_label;Std_label;Mean_multi;Std_multi;Max_multi;\n";

// Mean and population standard deviation of a distribution (entry i: how
// many items have value i). An empty distribution gives `empty` for both.
template <class Count>
void distributionMoments(const std::vector<Count>& counts, double empty, double& mean, double& deviation) {
    double total = 0, sum = 0, squares = 0;
    for (std::size_t i = 0; i < counts.size(); ++i) {
        const double n = static_cast<double>(counts[i]);
        const double value = static_cast<double>(i);
        total += n;
        sum += value * n;
        squares += value * value * n;
    }
    if (total == 0) {
        mean = deviation = empty;
        return;
    }
    mean = sum / total;
    // Rounding can leave a variance a little below 0: it counts as 0.
    deviation = std::sqrt(std::max(0.0, squares / total - mean * mean));
}

// Entry i of a distribution, 0 past its end.
long long entryOr0(const std::vector<long long>& counts, std::size_t i) { return i < counts.size() ? counts[i] : 0; }

// A distribution section of a details file: title, then one item per value.
template <class Count>
void writeSection(std::ostream& out, const char* title, const std::vector<Count>& counts, const char* separator) {
    out << title;
    for (std::size_t i = 0; i < counts.size(); ++i) out << i << " <> " << counts[i] << separator;
}

// Opens, writes and closes one output file; failures are named on standard
// error and remembered for the exit status.
void writeFileText(const std::string& path, const std::string& text, bool append) {
    std::ofstream out;
    if (!openForWriting(out, path, append)) return;
    out << text;
    closeWritten(out, path);
}

}  // namespace

void Graph::collectStats() {
    const int n = static_cast<int>(V.size());
    // The running extremes size the distributions; a list longer than they
    // say (only possible on a graph changed outside insertEdge) widens them.
    int maxIn = max_in_distrib, maxOut = max_out_distrib, maxAll = max_all_distrib, maxMulti = max_multi;
    int maxDigit = nb_labels;
    for (const auto& v : V) {
        maxIn = std::max(maxIn, static_cast<int>(v->in.size()));
        maxOut = std::max(maxOut, static_cast<int>(v->out.size()));
        maxAll = std::max(maxAll, static_cast<int>(v->edges.size()));
    }
    for (const auto& e : E) {
        maxMulti = std::max(maxMulti, static_cast<int>(e->label.size()));
        for (char ch : e->label)
            if (ch >= '0' && ch <= '9') maxDigit = std::max(maxDigit, ch - '0');
    }
    in_distrib.assign(maxIn + 1, 0);
    out_distrib.assign(maxOut + 1, 0);
    all_distrib.assign(maxAll + 1, 0);
    label_distrib.assign(maxDigit + 1, 0);
    multi_distrib.assign(maxMulti + 1, 0);
    std::cout << "\n" << max_in_distrib << "/" << max_out_distrib << "/" << max_all_distrib << "/" << nb_labels << "/"
              << max_multi << "\n";

    loops = multi_arcs = nbNodeLabels = 0;
    mean_in_distrib = mean_out_distrib = mean_all_distrib = mean_multi_distrib = mean_label_distrib = 0;
    std_in_distrib = std_out_distrib = std_all_distrib = std_label_distrib = std_multi_distrib = 0;

    // Vertices: degrees, isolated vertices, distinct labels.
    const std::string isolatedPath = "./logs/isolated_" + name + ".csv";
    std::ofstream isolated;
    const bool isolatedOpen = openForWriting(isolated, isolatedPath);
    std::set<std::string> labelsSeen;
    for (int i = 0; i < n; ++i) {
        const Vertex& v = *V[i];
        const std::size_t in = v.in.size(), out = v.out.size(), all = v.edges.size();
        std::cout << v.number << ":" << v.label << "\t" << in << "\t" << out << "\t" << all << "\n";
        in_distrib[in] += 1;
        out_distrib[out] += 1;
        all_distrib[all] += 1;
        if (all == 0 && isolatedOpen) isolated << v.number << "," << v.label << "\n";
        if (labelsSeen.insert(v.label).second) ++nbNodeLabels;
    }
    if (isolatedOpen) closeWritten(isolated, isolatedPath);

    // Edges: loops, multi-arcs, label digits, distinct labels.
    std::string distinctLabels;
    std::set<std::string> edgeLabelsSeen;
    for (const auto& e : E) {
        if (e->from == e->to) ++loops;
        if (e->label.size() > 1) ++multi_arcs;
        if (edgeLabelsSeen.insert(e->label).second) distinctLabels += ";" + e->label + ";";
        for (char ch : e->label)
            if (ch >= '0' && ch <= '9') label_distrib[ch - '0'] += 1;
        multi_distrib[e->label.size()] += 1;
    }
    std::cout << "\n [" << distinctLabels << "]\n";

    // Means and deviations. Without vertices the degree figures are 0; an
    // empty label or multi-arc distribution has none (not a number).
    const double none = std::numeric_limits<double>::quiet_NaN();
    distributionMoments(in_distrib, 0.0, mean_in_distrib, std_in_distrib);
    distributionMoments(out_distrib, 0.0, mean_out_distrib, std_out_distrib);
    distributionMoments(all_distrib, 0.0, mean_all_distrib, std_all_distrib);
    distributionMoments(label_distrib, none, mean_label_distrib, std_label_distrib);
    distributionMoments(multi_distrib, none, mean_multi_distrib, std_multi_distrib);

    if (in_distrib[0] > 0) min_in_distrib = 0;
    if (out_distrib[0] > 0) min_out_distrib = 0;
    if (all_distrib[0] > 0) min_all_distrib = 0;

    // Entry 0 of the labels: the ordered vertex pairs (self-pairs included)
    // without an edge.
    const long long order = vertices;
    label_distrib[0] = order * order - static_cast<long long>(E.size());
}

namespace {

// The 25 values of a summary row with `separator` between them.
std::string summaryValues(const Graph& g, const char* separator) {
    std::ostringstream row;
    auto put = [&](const auto& value, bool last = false) {
        row << value;
        if (!last) row << separator;
    };
    put(g.name);
    put(g.vertices);
    put(g.edges);
    put(g.nbNodeLabels);
    put(g.nb_labels);
    put(g.loops);
    put(g.multi_arcs);
    put(g.all_distrib.empty() ? 0 : g.all_distrib[0]);
    put(g.min_in_distrib);
    put(g.mean_in_distrib);
    put(g.std_in_distrib);
    put(g.max_in_distrib);
    put(g.min_out_distrib);
    put(g.mean_out_distrib);
    put(g.std_out_distrib);
    put(g.max_out_distrib);
    put(g.min_all_distrib);
    put(g.mean_all_distrib);
    put(g.std_all_distrib);
    put(g.max_all_distrib);
    put(g.mean_label_distrib);
    put(g.std_label_distrib);
    put(g.mean_multi_distrib);
    put(g.std_multi_distrib);
    put(g.max_multi, true);
    return row.str();
}

// The distribution sections of a details file.
std::string sections(const Graph& g, const char* separator) {
    std::ostringstream text;
    writeSection(text, "\nIn Distribution\n", g.in_distrib, separator);
    writeSection(text, "\nOut Distribution\n", g.out_distrib, separator);
    writeSection(text, "\nEdge Distribution\n", g.all_distrib, separator);
    if (g.nb_labels > 1) writeSection(text, "\nLabel Distribution\n", g.label_distrib, separator);
    if (g.multi_arcs > 0) writeSection(text, "\nMulti-Arc Distribution\n", g.multi_distrib, separator);
    return text.str();
}

}  // namespace

void Graph::graphDetails() {
    collectStats();
    const std::string row = summaryValues(*this, ",") + "\n";
    writeFileText(ALL_GRAPHS, row, true);
    writeFileText(GRAPHS_DIR + name + ".csv", row + sections(*this, ","), false);
}

void Graph::mozillaDetails() {
    collectStats();
    std::size_t attributeCount = 0, methodCount = 0;
    for (const auto& v : V) {
        attributeCount += v->attributes.size();
        methodCount += v->methods.size();
    }
    // Arcs of the three relation kinds between classes; a digit above the
    // largest one of the graph has none.
    std::ostringstream labels, version;
    for (std::size_t k = 1; k <= 3; ++k) labels << entryOr0(label_distrib, k) << ";";
    version << name << "," << vertices << "," << attributeCount << "," << methodCount << ",";
    for (std::size_t k = 1; k <= 3; ++k) version << entryOr0(label_distrib, k) << ",";
    version << "\n";
    writeFileText(ALL_VERSIONS, version.str(), true);

    const std::string row = ";" + summaryValues(*this, ";") + ";" + labels.str() + "\n";
    writeFileText(ALL_GRAPHS, row, true);
    writeFileText(GRAPHS_DIR + name + ".csv", DETAILS_HEADER + row + sections(*this, ";"), false);
}

void Graph::print() const {
    std::cout << "\n\n PRINT ZE GRAPH \n\n"
              << "|V|=" << V.size() << ", |E|=" << E.size() << "\n"
              << "******************************** VERTICES & EDGES ******************************* \n";
    auto labelOf = [this](int k) { return k >= 0 && k < static_cast<int>(V.size()) ? V[k]->label : std::string(); };
    for (const auto& vertex : V) {
        const Vertex& v = *vertex;
        std::cout << "\n" << v.number << ", " << v.label << ", " << v.type << "," << v.level << "\n";
        // The identifier words of the label's last "."-separated piece; a
        // label without a piece has none.
        std::unique_ptr<std::vector<std::string>> words;
        auto pieces = splitString(v.label, ".");
        if (pieces && !pieces->empty()) words = IdSplitter(pieces->back());
        std::cout << "\n***" << (words ? words->size() : 0) << "***\t";
        if (words)
            for (const std::string& w : *words) std::cout << "\t" << w;
        std::cout << "\n";
        std::cout << "\tIN : " << v.in.size() << "\n\t\t";
        for (std::size_t j = 0; j < v.in.size(); ++j)
            std::cout << j << "/ " << labelOf(v.in[j]->from) << "( " << v.in[j]->label << " ); ";
        std::cout << "\n\tOUT : " << v.out.size() << "\n\t\t";
        for (std::size_t j = 0; j < v.out.size(); ++j)
            std::cout << j << "/ " << labelOf(v.out[j]->to) << "( " << v.out[j]->label << " ); ";
        std::cout << "\n\tALL : " << v.edges.size() << "\n\t\t";
        for (std::size_t j = 0; j < v.edges.size(); ++j)
            std::cout << j << "/" << labelOf(v.edges[j]->from) << " --> " << labelOf(v.edges[j]->to) << "( "
                      << v.edges[j]->label << " ); ";
    }
}

namespace {

// The bytes of the adjacency matrix file of `g`, counted as it is written:
// per row a line feed, per cell "0  ", or the edge's label and two blanks
// where the pair holds an edge (each edge of E at most once, at its own
// pair).
double matrixFileBytes(const Graph& g) {
    const double n = static_cast<double>(g.V.size());
    double bytes = n * (3 * n + 1);
    for (const auto& e : g.E)
        if (e->from >= 0 && e->to >= 0 && e->from < n && e->to < n && g.getEdge(e->from, e->to) == e.get())
            bytes += static_cast<double>(e->label.size()) - 1;
    return bytes;
}

}  // namespace

void Graph::toMatrixFile() const {
    const std::string path = "m" + name;
    const int n = static_cast<int>(V.size());
    // Its size is known before it is written, and grows with the square of
    // the vertex count: a header's count can ask for more than the disk has.
    const double bytes = matrixFileBytes(*this);
    checkDiskFits({path, bytes}, "the adjacency matrix file " + path + " of " + to_string(n) + " x " +
                                     to_string(n) + " vertex pairs");
    if (!withinSizeCap(path, bytes)) return;
    std::ofstream out;
    if (!openForWriting(out, path)) return;
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
            const Edge* e = getEdge(i, j);
            out << (e ? e->label : std::string("0")) << "  ";
        }
        out << "\n";
    }
    closeWritten(out, path);
}

}  // namespace graphmat

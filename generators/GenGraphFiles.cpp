// The files of a generated pair: the two plain graph files, the adjacency
// matrix files and the label difference matrix file of single-label
// undirected pairs, the known-matching file, and the lines appended to
// "bat.txt" and "score.txt".
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <memory>

#include "generators/GenGraph.h"
#include "graph/OutputFiles.h"
#include "graph/stdafx.h"

namespace graphmat {

namespace {

const char* const BAT_FILE = "bat.txt";
const char* const SCORE_FILE = "score.txt";

// The written number of each node turned into the internal index.
std::vector<int> inverse(const std::vector<int>& permutation) {
    std::vector<int> result(permutation.size());
    for (std::size_t i = 0; i < permutation.size(); ++i) result[permutation[i]] = static_cast<int>(i);
    return result;
}

// Header, vertex lines in internal order, arc lines.
void writePlainGraph(std::ostream& out, int order, int arcs, const std::vector<int>& written,
                     const std::vector<int>& labels, const std::vector<std::vector<int>>& edges) {
    out << order << "," << arcs << "\n";
    for (int i = 0; i < order; ++i) out << written[i] << "," << (labels[i] + 1) << "\n";
    for (int i = 0; i < order; ++i)
        for (int j = 0; j < order; ++j)
            if (j != i && edges[i][j] != 0) out << written[i] << "," << written[j] << "," << edges[i][j] << "\n";
}

// One row per written number, one cell per written number: the arc label
// when it lies in 1..el, else 0; each cell followed by two blanks.
void writeAdjacencyMatrix(std::ostream& out, int order, int el, const std::vector<int>& written,
                          const std::vector<std::vector<int>>& edges) {
    const std::vector<int> internal = inverse(written);
    for (int r = 0; r < order; ++r) {
        for (int c = 0; c < order; ++c) {
            const int label = r != c ? edges[internal[r]][internal[c]] : 0;
            out << (label >= 1 && label <= el ? label : 0) << "  ";
        }
        out << "\n";
    }
}

}  // namespace

std::string GenGraph::pairPrefix(const std::string& filename) const {
    return filename + "_" + to_string(n) + "_" + to_string(e) + "_" + to_string(q) + "_" + to_string(nl) + "_" +
           to_string(nld) + "_" + to_string(el) + "_" + to_string(eld) + "_" + to_string(pd) + "_" +
           to_string(pi) + "_" + to_string(undirected) + "_" + to_string(seed);
}

std::vector<std::string> GenGraph::pairFiles(const std::string& prefix, bool matrices) {
    struct File {
        const char* suffix;
        bool matrix;
    };
    std::vector<std::string> files;
    for (const File& file : {File{"A.csv", false}, File{"mA.csv", true}, File{"B.csv", false},
                             File{"mB.csv", true}, File{".csv", false}, File{"C.csv", true}})
        if (matrices || !file.matrix) files.push_back(prefix + file.suffix);
    files.push_back(BAT_FILE);
    files.push_back(SCORE_FILE);
    return files;
}

std::vector<PlannedFile> GenGraph::matrixFiles(const std::string& prefix) const {
    if (!hasMatrixFiles()) return {};
    // A single arc label and a single node label: every cell of an
    // adjacency matrix is one digit and two blanks, every value of the label
    // difference matrix "0" and a blank; each row ends with a line feed.
    const double rows1 = n1, rows2 = n2;
    return {{prefix + "mA.csv", rows1 * (3 * rows1 + 1)},
            {prefix + "mB.csv", rows2 * (3 * rows2 + 1)},
            {prefix + "C.csv", rows1 * (2 * rows2 + 1)}};
}

bool GenGraph::write(std::string filename) {
    const std::string prefix = pairPrefix(filename);
    const bool matrices = hasMatrixFiles();

    // Every file of the pair is opened before anything is written, so that a
    // file that does not open leaves no other file of the pair behind; the
    // two appended lines follow only a complete pair.
    struct Output {
        std::string path;
        std::ofstream out;
    };
    std::vector<std::unique_ptr<Output>> outputs;
    // The renumberings and label matrices are released once the pair is
    // written (or abandoned).
    auto release = [&]() {
        to_shuffle1.clear();
        to_shuffle2.clear();
        edges1.clear();
        edges1.shrink_to_fit();
        edges2.clear();
        edges2.shrink_to_fit();
    };
    auto add = [&](const std::string& path) -> std::ofstream& {
        outputs.push_back(std::make_unique<Output>());
        outputs.back()->path = path;
        return outputs.back()->out;
    };
    const std::vector<std::string> files = pairFiles(prefix, matrices);
    std::size_t next = 0;
    std::ofstream& graph1 = add(files[next++]);
    std::ofstream* matrix1 = matrices ? &add(files[next++]) : nullptr;
    std::ofstream& graph2 = add(files[next++]);
    std::ofstream* matrix2 = matrices ? &add(files[next++]) : nullptr;
    std::ofstream& known = add(files[next++]);
    std::ofstream* differences = matrices ? &add(files[next++]) : nullptr;

    bool opened = true;
    for (auto& output : outputs) opened = openForWriting(output->out, output->path) && opened;
    // Closes the pair's files and removes them: this call created or
    // truncated each of them.
    auto abandon = [&]() {
        for (auto& output : outputs) {
            if (output->out.is_open()) output->out.close();
            std::remove(output->path.c_str());
        }
        release();
        return false;
    };
    if (!opened) {
        for (auto& output : outputs)
            if (!output->out.is_open()) output->path.clear();  // not ours to remove
        return abandon();
    }

    writePlainGraph(graph1, n1, m1, to_shuffle1, nodes1, edges1);
    if (matrix1) writeAdjacencyMatrix(*matrix1, n1, el, to_shuffle1, edges1);
    writePlainGraph(graph2, n2, m2, to_shuffle2, nodes2, edges2);
    if (matrix2) writeAdjacencyMatrix(*matrix2, n2, el, to_shuffle2, edges2);

    known << "s," << struct_errors << "\n";
    known << "l," << label_errors << "\n";
    known << "f," << score << "\n";
    known << "e," << edge_errors << "\n";
    known << "n," << n_node_errors << "\n";
    known << "v," << v_node_errors << "\n";
    for (int i = 0; i < n; ++i) known << to_shuffle1[i] << "," << to_shuffle2[i] << "\n";

    std::cout << "\n CCC \n";
    if (differences) {
        const std::vector<int> internal1 = inverse(to_shuffle1);
        const std::vector<int> internal2 = inverse(to_shuffle2);
        for (int r = 0; r < n1; ++r) {
            for (int c = 0; c < n2; ++c) *differences << std::abs(nodes1[internal1[r]] - nodes2[internal2[c]]) << " ";
            *differences << "\n";
        }
    }

    bool complete = true;
    for (auto& output : outputs) complete = closeWritten(output->out, output->path) && complete;
    if (!complete) return abandon();

    // The driver's command line for the pair: plain graph files (-h 0).
    std::ofstream bat, scores;
    bool appended = openForWriting(bat, BAT_FILE, true);
    bat << "\ngraphmat -h 0 -o " << prefix << "A.csv" << " -n " << prefix << "B.csv" << " -s 1";
    appended = closeWritten(bat, BAT_FILE) && appended;
    appended = openForWriting(scores, SCORE_FILE, true) && appended;
    scores << "\n" << prefix << "," << score;
    appended = closeWritten(scores, SCORE_FILE) && appended;
    release();
    return appended;
}

}  // namespace graphmat

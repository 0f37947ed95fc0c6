// Graph: construction, the configuration file, arcs, neighbour sets,
// relation tables and the plain graph file writer.
#include "graph/Graph.h"

#include <algorithm>
#include <iostream>
#include <map>

#include "graph/CapacityChecks.h"
#include "graph/InputFiles.h"
#include "graph/OutputFiles.h"
#include "graph/ReaderModeJudgement.h"

namespace graphmat {

namespace {

// The graph name: the path after its last "/", cut before its last ".".
std::string graphName(const std::string& path) {
    std::string base = path;
    std::size_t slash = base.rfind('/');
    if (slash != std::string::npos) base = base.substr(slash + 1);
    std::size_t dot = base.rfind('.');
    if (dot != std::string::npos) base = base.substr(0, dot);
    return base;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Weight slots written by the plain graph file writer: leading slots that
// hold a value of 0 or more.
void writeWeights(std::ostream& out, const float* weight) {
    for (int i = 0; i < MAX_W && weight[i] >= 0; ++i) out << "," << weight[i];
}

}  // namespace

Graph::Graph() = default;

void Graph::readInMode(std::istream& file, int mode) {
    switch (mode) {
        case 0: initMode0(file); break;
        case 1: initMode1(file); break;
        case 2: initMode2(file, 4); break;
        case 3: initMode3(file); break;
        case 4: initMode4(file); break;
        case 5: initMode5(file); break;
        case 6: initMode6(file); break;
        case 8: initMode8(file); break;
        case 9: initMode9(file); break;
        case 10: initMode10(file); break;
        case 11: initMode11(file); break;
        case 12: initMode12(file); break;
        default: break;  // no reader for this mode: the graph stays empty
    }
}

Graph::Graph(int mode, const std::string& path) {
    readConfig();
    if (mode == 7) {
        try {
            initMode7(path);
        } catch (const MemoryLimitError& e) {
            throw MemoryLimitError(std::string("Graph text: ") + e.what());
        }
        tellVerdict(reading.verdict, std::cerr);
        name = "sample";
        heldVertices = HeldVertices(static_cast<double>(V.size()));
        edges = static_cast<int>(E.size());
        norm.assign(std::max(vertices, 0), 0.0);
        fillNeighborsAndRelations();
        nodeRank(0.15, 1e-8);
        return;
    }

    InputFile file;
    file.open(path, mode == 1 || mode == 2);
    std::cout << "File " << path << " ...";
    if (!file.is_open()) {
        std::cout << "Not Found \n";
        reading.openFailure = file.text().failure();
        return;
    }
    reading.opened = true;
    std::cout << "Found \n" << "Mode " << mode << "\n";
    name = graphName(path);

    // A count of the file that asks for more memory than the machine has
    // ends the reading; the message names the file.
    reading.fileLines = contentLineCount(file.text());
    try {
        readInMode(file, mode);
    } catch (const MemoryLimitError& e) {
        std::cout << "\n";
        throw MemoryLimitError("Graph file " + path + ": " + e.what());
    }

    // Binary files (modes 1 and 2) have no lines: they read word by word.
    reading.verdict = mode == 1 || mode == 2 ? judgeBinaryReading(file.text(), mode)
                                             : judgeTextReading(reading, file.text(), mode);
    tellVerdict(reading.verdict, std::cerr);
    std::cout << "\n Acquisition Input Done";
    edges = static_cast<int>(E.size());
    vertices = static_cast<int>(V.size());
    heldVertices = HeldVertices(static_cast<double>(V.size()));
    if (mode == 0 || mode == 6) {
        fillNeighborsAndRelations();
        nodeRank2(0.15, 1e-8);
    } else {
        fillNeighbors();
    }
}

void Graph::readConfig() {
    InputFile config;
    if (!config.open(CONFIG)) return;
    std::string line;
    while (readLine(config, line)) {
        if (line.compare(0, 3, "ew,") != 0) continue;
        auto fields = splitString(line, SEPARATOR);
        if (fields->size() < 3) continue;
        int digit = -1;
        double weight = 0;
        if (!from_string((*fields)[1], digit) || !from_string((*fields)[2], weight)) continue;
        if (digit < 0 || digit >= MAX_LABELS) continue;
        edge_weight[digit] = weight;
    }
}

bool Graph::insertEdge(std::unique_ptr<Edge> e) {
    std::string arcLabel = e->label;
    if (arcLabel.size() > 1 && arcLabel.back() == '\r') {
        arcLabel.pop_back();
        e->label = arcLabel;
    }
    if (arcLabel.size() > 1)
        *reading.trace << "\n ****************" << "\n ***" << arcLabel << "***" << "\n ****************";

    Edge* target = getEdge(e->from, e->to);
    if (target != nullptr) {
        target->label += arcLabel;
        e.reset();
    } else {
        if (e->from < 0 || e->to < 0 || e->from >= static_cast<int>(V.size()) ||
            e->to >= static_cast<int>(V.size())) {
            *reading.trace << "\n Node does not exist: " << e->from << "," << e->to << "(" << arcLabel << ") !!!!";
            return false;
        }
        target = e.get();
        target->labels.fill(0);
        target->label_weight = 0;
        G(target->from, target->to) = target;
        E.push_back(std::move(e));
        V[target->from]->out.push_back(target);
        V[target->to]->in.push_back(target);
        V[target->to]->edges.push_back(target);
        if (target->to != target->from) V[target->from]->edges.push_back(target);
    }

    // Every digit of the arc's label is counted in its slot, so the counts
    // always agree with the label text; other characters count nothing.
    Vertex* source = V[target->from].get();
    Vertex* sink = V[target->to].get();
    for (char ch : arcLabel) {
        if (!isDigit(ch)) continue;
        int d = ch - '0';
        target->labels[d] += 1;
        // float += double: the sum is taken in double, then stored as float.
        target->label_weight = static_cast<float>(target->label_weight + edge_weight[d]);
        source->sum_out = static_cast<float>(source->sum_out + edge_weight[d]);
        if (d > nb_labels) nb_labels = d;
    }
    source->nb_out += 1;
    sink->nb_in += 1;

    for (Vertex* end : {source, sink}) {
        int inSize = static_cast<int>(end->in.size());
        int outSize = static_cast<int>(end->out.size());
        int allSize = static_cast<int>(end->edges.size());
        max_in_distrib = std::max(max_in_distrib, inSize);
        min_in_distrib = std::min(min_in_distrib, inSize);
        max_out_distrib = std::max(max_out_distrib, outSize);
        min_out_distrib = std::min(min_out_distrib, outSize);
        max_all_distrib = std::max(max_all_distrib, allSize);
        min_all_distrib = std::min(min_all_distrib, allSize);
    }
    int multiplicity = static_cast<int>(target->label.size());
    max_multi = std::max(max_multi, multiplicity);
    min_multi = std::min(min_multi, multiplicity);
    return true;
}

Edge* Graph::getEdge(int from, int to) const {
    if (from < 0 || to < 0) return nullptr;
    Edge* const* stored = G.find(static_cast<unsigned>(from), static_cast<unsigned>(to));
    return stored ? *stored : nullptr;
}

bool Graph::areNeighbors(int node1, int node2) const {
    if (node1 < 0 || node2 < 0 || node1 >= vertices || node2 >= vertices) return false;
    return getEdge(node1, node2) != nullptr || getEdge(node2, node1) != nullptr;
}

void Graph::fillNeighbors() {
    std::cout << "\n Fill Neighbors";
    neighbors.assign(std::max(vertices, 0), std::set<int>());
    for (const auto& e : E) {
        if (e->from == e->to || e->from >= vertices || e->to >= vertices) continue;
        neighbors[e->from].insert(e->to);
        neighbors[e->to].insert(e->from);
    }
}

void Graph::fillNeighborsAndRelations(bool quiet) {
    const int n = std::max(vertices, 0);
    c_in.assign(n, std::vector<int>(nb_labels + 1, 0));
    c_out.assign(n, std::vector<int>(nb_labels + 1, 0));
    neighbors.assign(n, std::set<int>());
    for (const auto& e : E) {
        if (e->from >= n || e->to >= n) continue;
        if (e->from != e->to) {
            neighbors[e->from].insert(e->to);
            neighbors[e->to].insert(e->from);
        }
        for (char ch : e->label) {
            if (!isDigit(ch) || ch - '0' > nb_labels) continue;
            c_in[e->to][ch - '0'] += 1;
            c_out[e->from][ch - '0'] += 1;
        }
    }

    std::set<std::string> distinctLabels;
    for (int i = 0; i < n && i < static_cast<int>(V.size()); ++i) distinctLabels.insert(V[i]->label);
    nbNodeLabels = 1 + static_cast<int>(distinctLabels.size());
    if (!quiet) std::cout << "\n\n\n" << nbNodeLabels << "\n\n\n";

    relations.assign(n, std::map<std::string, int>());
    Nrelations.assign(n, std::map<std::string, int>());
    NLabels.assign(n, std::map<std::string, int>());
    for (int i = 0; i < n; ++i) {
        for (int nb : neighbors[i]) {
            Edge* toI = getEdge(nb, i);
            Edge* fromI = getEdge(i, nb);
            std::string key = (toI ? toI->label : std::string()) + "/" + (fromI ? fromI->label : std::string());
            const std::string& neighbourLabel = V[nb]->label;
            relations[i][key] += 1;
            NLabels[i][neighbourLabel] += 1;
            Nrelations[i][key + "/" + neighbourLabel] += 1;
        }
    }
    hasRelations = true;
}

void Graph::ensureRelations() {
    if (!hasRelations) fillNeighborsAndRelations(true);
}

void Graph::reinitEdges() {
    E.clear();
    G.reinit(vertices, vertices);
    for (auto& v : V) {
        if (!v) continue;
        v->in.clear();
        v->out.clear();
        v->edges.clear();
    }
}

void Graph::write(int mode, const std::string& path) const {
    if (mode != 0) return;
    OutputFile out;
    if (!openForWriting(out, path)) return;
    // The header counts the arc lines that follow: an edge whose label is
    // empty (every arc of it removed) is no arc and has no line.
    const auto arcLines = std::count_if(E.begin(), E.end(), [](const auto& e) { return !e->label.empty(); });
    out << vertices << "," << arcLines << "\n";
    for (int i = 0; i < vertices && i < static_cast<int>(V.size()); ++i) {
        out << V[i]->number << "," << V[i]->label;
        writeWeights(out, V[i]->weight);
        out << "\n";
    }
    for (const auto& e : E) {
        if (e->label.empty()) continue;
        out << e->from << "," << e->to << "," << e->label;
        writeWeights(out, e->weight);
        out << "\n";
    }
}

std::vector<Vertex*> Graph::getV() const {
    std::vector<Vertex*> copy;
    for (const auto& v : V) copy.push_back(v.get());
    return copy;
}

std::vector<Edge*> Graph::getE() const {
    std::vector<Edge*> copy;
    for (const auto& e : E) copy.push_back(e.get());
    return copy;
}

}  // namespace graphmat

// Graph: construction, the configuration file, arcs, neighbour sets,
// relation tables and the plain graph file writer.
#include "graph/Graph.h"

#include <algorithm>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <iostream>
#include <map>
#include <streambuf>

#include "graph/platform.h"

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

bool isBlank(const std::string& text) { return text.find_first_not_of(" \t\r") == std::string::npos; }

// Reader modes that read the same syntax count as one.
int syntaxOf(int mode) { return mode == 5 || mode == 8 || mode == 9 ? 4 : mode; }

std::string syntaxName(int mode) {
    switch (syntaxOf(mode)) {
        case 0: return "a plain graph file (reader mode 0)";
        case 3: return "a named edge list file (reader mode 3)";
        case 4: return "a class diagram file (reader modes 4, 5, 8 and 9)";
        case 6: return "an edge list graph file (reader mode 6)";
        case 10: return "a sequence diagram file (reader mode 10)";
        case 11: return "a state machine file (reader mode 11)";
        case 12: return "a model graph file (reader mode 12)";
        default: return "";
    }
}

// The reader of `mode` on the lines of `file`.
void readInMode(Graph& g, std::istream& file, int mode) {
    switch (mode) {
        case 0: g.initMode0(file); break;
        case 1: g.initMode1(file); break;
        case 2: g.initMode2(file, 4); break;
        case 3: g.initMode3(file); break;
        case 4: g.initMode4(file); break;
        case 5: g.initMode5(file); break;
        case 6: g.initMode6(file); break;
        case 8: g.initMode8(file); break;
        case 9: g.initMode9(file); break;
        case 10: g.initMode10(file); break;
        case 11: g.initMode11(file); break;
        case 12: g.initMode12(file); break;
        default: break;  // no reader for this mode: the graph stays empty
    }
}

// While it lives, standard output goes nowhere; its buffer and state (a
// console that failed stays failed) come back when it ends, even when the
// reading throws.
class ConsoleSilenced {
public:
    ConsoleSilenced() : state_(std::cout.rdstate()), console_(std::cout.rdbuf(&discard_)) {}
    ~ConsoleSilenced() {
        std::cout.rdbuf(console_);
        std::cout.clear(state_);
    }
    ConsoleSilenced(const ConsoleSilenced&) = delete;
    ConsoleSilenced& operator=(const ConsoleSilenced&) = delete;

private:
    // Takes every character and keeps none.
    class Discarding : public std::streambuf {
    protected:
        int overflow(int c) override { return traits_type::not_eof(c); }
        std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
    };
    Discarding discard_;
    std::ios::iostate state_;
    std::streambuf* console_;
};

// One reader mode per text syntax: the modes a trial read tries. Binary
// files (modes 1 and 2) and the graph text (mode 7) are no candidates.
constexpr int TRIAL_MODES[] = {0, 3, 4, 6, 10, 11, 12};

// What a trial read made of a file: its lines, and how far the edges read
// are from the header's edge count.
struct TrialRead {
    LineAccount account;
    long headerGap = 0;
};

// The input read again by the reader of `mode` into a scratch graph, with
// the reader's console text discarded. A reading that fails (a file that
// asks for more memory than the machine has, or that runs out of it) counts
// as reading nothing.
TrialRead trialRead(int mode, const InputText& input) {
    InputFile file(input);
    Graph scratch;
    try {
        ConsoleSilenced silenced;
        readInMode(scratch, file, mode);
    } catch (const std::exception&) {
        return TrialRead();
    }
    return {scratch.account, std::labs(static_cast<long>(scratch.edges) - static_cast<long>(scratch.E.size()))};
}

// True when `a` reads more lines than `b`, or as many with fewer lines not
// read.
bool readsMore(const LineAccount& a, const LineAccount& b) {
    return a.read > b.read || (a.read == b.read && a.notRead < b.notRead);
}

// The reader mode (one per text syntax) that reads the file at `path` better
// than `account`, the lines that `mode` read: the one that reads the most
// lines, then leaves the fewest unread, then reads a count of edges nearest
// to the one its header announces (a plain graph file and an edge list graph
// file can read whole in both modes 0 and 6), then the lowest. The named
// edge list (mode 3), whose reader takes any line of three fields, is named
// only when no other mode reads half of the lines with content. -1 when no
// mode reads better; its reading in `betterAccount`.
int betterReaderMode(const InputText& input, int mode, const LineAccount& account, LineAccount& betterAccount) {
    int best = -1;
    TrialRead bestRead{account, 0};
    for (int candidate : TRIAL_MODES) {
        if (candidate == 3 || candidate == syntaxOf(mode)) continue;
        const TrialRead trial = trialRead(candidate, input);
        const bool tie = best >= 0 && !readsMore(bestRead.account, trial.account) &&
                         !readsMore(trial.account, bestRead.account);
        if (readsMore(trial.account, bestRead.account) || (tie && trial.headerGap < bestRead.headerGap)) {
            best = candidate;
            bestRead = trial;
        }
    }
    if (syntaxOf(mode) != 3) {
        // Mode 3 reads no header: its lines are all the lines with content.
        const LineAccount named = trialRead(3, input).account;
        const long withContent = static_cast<long>(named.read) + named.notRead;
        if (readsMore(named, bestRead.account) && 2L * bestRead.account.read < withContent) {
            best = 3;
            bestRead.account = named;
        }
    }
    betterAccount = bestRead.account;
    return best;
}

// True when a file read in a wrong mode must not be used: the mode left
// unread at least two lines and at least one in ten of the lines with
// content (beside a header that reads), and the better mode leaves unread at
// most a tenth as many. A single line that does not read is taken for a
// fault of the file, not of the mode.
bool readInWrongMode(const LineAccount& chosen, const LineAccount& better) {
    const long withContent = static_cast<long>(chosen.read) + chosen.notRead;
    return chosen.notRead >= 2 && 10L * chosen.notRead >= withContent && 10L * better.notRead <= chosen.notRead;
}

// The reader modes of the syntax of `mode`, for the messages.
std::string modesOfSyntax(int mode) { return syntaxOf(mode) == 4 ? "4, 5, 8 or 9" : to_string(mode); }

// After a file was read: a file with content of which no line (beside a
// header) reads is named with the reader mode on standard error and marked
// `nothingRead`; a file of which some lines do not read gets one line with
// their count and the first one's number. Where another reader mode reads
// the file better, the message names it; where the file is read in a wrong
// mode (readInWrongMode), it is marked `wrongMode` and the message says so.
void reportUnreadLines(Graph& g, const InputText& input, int mode) {
    const std::string& path = input.path();
    const LineAccount& a = g.account;
    if (a.notRead == 0) return;
    g.nothingRead = a.read == 0;
    LineAccount better;
    g.betterMode = betterReaderMode(input, mode, a, better);
    std::string hint;
    if (g.betterMode >= 0) hint = "; it looks like " + syntaxName(g.betterMode);
    g.wrongMode = !g.nothingRead && g.betterMode >= 0 && readInWrongMode(a, better);
    if (g.wrongMode) hint += "; the file is not used: read it in reader mode " + modesOfSyntax(g.betterMode);
    if (g.nothingRead)
        std::cerr << "Graph file " << path << ": no line reads in reader mode " << mode << hint << std::endl;
    else
        std::cerr << "Graph file " << path << ": " << a.notRead << " line" << (a.notRead == 1 ? "" : "s")
                  << " not read in reader mode " << mode << " (the first: line " << a.firstNotRead << ")" << hint
                  << std::endl;
}

}  // namespace

void LineAccount::line(const std::string& text, bool reads) {
    ++lines;
    if (isBlank(text)) return;
    if (reads) {
        ++read;
        return;
    }
    if (notRead++ == 0) firstNotRead = lines;
}

void LineAccount::header(const std::string& text, bool reads) {
    ++lines;
    if (reads || isBlank(text)) return;
    if (notRead++ == 0) firstNotRead = lines;
}

void LineAccount::withdraw(int number) {
    --read;
    if (notRead++ == 0 || number < firstNotRead) firstNotRead = number;
}

Graph::Graph() = default;

Graph::Graph(int mode, const std::string& path) {
    readConfig();
    if (mode == 7) {
        try {
            initMode7(path);
        } catch (const MemoryLimitError& e) {
            throw MemoryLimitError(std::string("Graph text: ") + e.what());
        }
        name = "sample";
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
        openFailure = file.text().failure();
        return;
    }
    fileOpened = true;
    std::cout << "Found \n" << "Mode " << mode << "\n";
    name = graphName(path);

    // A count of the file that asks for more memory than the machine has
    // ends the reading; the message names the file.
    try {
        readInMode(*this, file, mode);
    } catch (const MemoryLimitError& e) {
        std::cout << "\n";
        throw MemoryLimitError("Graph file " + path + ": " + e.what());
    }

    // Binary files (modes 1 and 2) have no lines: they read word by word.
    if (mode != 1 && mode != 2) reportUnreadLines(*this, file.text(), mode);
    std::cout << "\n Acquisition Input Done";
    edges = static_cast<int>(E.size());
    vertices = static_cast<int>(V.size());
    if (mode == 0 || mode == 6) {
        fillNeighborsAndRelations();
        nodeRank2(0.15, 1e-8);
    } else {
        fillNeighbors();
    }
}

bool graphUsable(const Graph& g, int mode, const std::string& path) {
    if (mode != 7 && !g.fileOpened) {
        reportMissingInput(path, g.openFailure);
        return false;
    }
    return !g.nothingRead && !g.wrongMode;
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
        std::cout << "\n ****************" << "\n ***" << arcLabel << "***" << "\n ****************";

    Edge* target = getEdge(e->from, e->to);
    if (target != nullptr) {
        target->label += arcLabel;
        e.reset();
    } else {
        if (e->from < 0 || e->to < 0 || e->from >= static_cast<int>(V.size()) ||
            e->to >= static_cast<int>(V.size())) {
            std::cout << "\n Node does not exist: " << e->from << "," << e->to << "(" << arcLabel << ") !!!!";
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
    out << vertices << "," << E.size() << "\n";
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

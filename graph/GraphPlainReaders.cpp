// Readers of the graphs that are not class diagrams: the plain graph file
// (mode 0), the binary graph files (modes 1 and 2), the named edge list
// (mode 3), the edge list graph file (mode 6) and the graph text (mode 7).
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iostream>

#include "graph/Graph.h"
#include "graph/GraphFileFields.h"
#include "graph/InputFiles.h"

namespace graphmat {

namespace {

// The next 16-bit little-endian word of a binary file; false at the end.
bool read_word(std::istream& file, unsigned& word) {
    char bytes[2];
    if (!readBytes(file, bytes, 2)) return false;
    word = static_cast<unsigned char>(bytes[0]) + 256u * static_cast<unsigned char>(bytes[1]);
    return true;
}

// A vertex count of a header: negative or unreadable counts read as 0.
int headerCount(const std::vector<std::string>& fields, int& count) {
    if (!intField(fields, 0, count) || count < 0) count = 0;
    return count;
}

// Vertices 0 .. count-1, each labelled with its number.
void appendNumberedVertices(std::vector<std::unique_ptr<Vertex>>& V, int count, bool zeroWeights) {
    checkVertexCountFits(count);
    for (int i = 0; i < count; ++i) {
        auto v = std::make_unique<Vertex>(i, to_string(i));
        if (zeroWeights) {
            v->addWeight(0, 0);
            v->addWeight(0, 1);
        }
        V.push_back(std::move(v));
    }
}

// True when an arc that did not insert would have in a graph of all `count`
// vertices its header announces: a trial reading keeps fewer (its vertexLimit).
bool beyondTheTrialGraph(int from, int to, int count, int kept) {
    return kept < count && from >= 0 && to >= 0 && from < count && to < count;
}

// The header of a plain or edge list graph file decides the kind of every
// later line: one that does not read, or announces no vertex, shows a file
// of another kind or a damaged one.
void readPlainHeader(LineAccount& account, const std::string& line, const std::vector<std::string>& fields) {
    // Two numbers, each field read whole (blanks around it aside; an empty
    // or missing arc count is none); the reader takes the number a field
    // begins with all the same.
    auto number = [](const std::string& field) {
        const std::size_t first = field.find_first_not_of(" \t");
        const std::size_t last = field.find_last_not_of(" \t");
        if (first == std::string::npos) return false;
        const std::string text = field.substr(first, last + 1 - first);
        char* end = nullptr;
        const double value = std::strtod(text.c_str(), &end);
        return end == text.c_str() + text.size() && std::isfinite(value);
    };
    int announced = 0;
    const bool arcCount = fields.size() < 2 || fields[1].find_first_not_of(" \t") == std::string::npos ||
                          number(fields[1]);
    const bool reads = intField(fields, 0, announced) && number(fields[0]) && arcCount;
    account.header(line, reads);
    if (!reads)
        account.startFault = "line 1, read as the header, is not VERTICES,ARCS";
    else if (announced <= 0)
        account.startFault = "line 1, read as the header, announces no vertices";
}

}  // namespace

void Graph::initMode0(std::istream& file) {
    std::string line;
    long lineCounter = 0;
    int edgeCounter = 0;
    int count = 0;  // the header's vertex count: that many vertex lines follow
    bool slotsChecked = false;
    long arcLines = 0;  // lines with content after the vertex lines
    long blankVertexLines = 0;  // blank lines where vertex lines belong
    // Slots that no vertex line filled get a vertex of their own (numbered,
    // unlabelled), so that V never holds an empty slot.
    auto fillEmptySlots = [&]() {
        slotsChecked = true;
        for (int i = 0; i < static_cast<int>(V.size()); ++i) {
            if (V[i]) continue;
            *reading.trace << "\n Missing Vertex: " << i << " !!!!";
            V[i] = std::make_unique<Vertex>(i);
        }
    };
    while (readLine(file, line)) {
        std::vector<std::string> fields = lineFields(line);
        if (lineCounter == 0) {
            readPlainHeader(reading.account, line, fields);
            headerCount(fields, count);
            // A header that announces more than twice as many vertex lines as
            // the file has lines with content makes no table: most of its
            // vertex lines are missing, and the file is refused. The lines are
            // accounted all the same.
            const bool mostMissing = count > 2L * (reading.fileLines - 1);
            vertices = mostMissing ? 0 : std::min(count, reading.vertexLimit);
            intField(fields, 1, edges);
            checkVertexCountFits(vertices);
            V.clear();
            V.resize(vertices);
        } else if (lineCounter <= count) {
            // Vertex lines are stored by number, in whatever order they come
            // (a trial reading keeps those below its vertexLimit). A blank line
            // here takes a vertex line's place: a vertex line missing.
            if (LineAccount::isBlankText(line)) ++blankVertexLines;
            int number = -1;
            const bool numbered = intField(fields, 0, number);
            const bool inRange = numbered && number >= 0 && number < count;
            const bool kept = inRange && number < vertices;
            // A second line with a number replaces the first: a fault.
            const bool clean = inRange && !(kept && V[number]);
            // A vertex number beyond the header's count is a fault of the file.
            reading.account.line(line, !inRange ? (numbered ? LineRead::Faulty : LineRead::No)
                               : clean  ? LineRead::Cleanly
                                        : LineRead::Leniently);
            if (numbered) {
                std::string label = fields.size() > 1 ? fields[1] : std::string();
                if (!inRange) {
                    *reading.trace << "\n Vertex out of range: " << number << "," << label << "[" << count << "] !!!!";
                } else if (kept) {
                    auto v = std::make_unique<Vertex>(number, label);
                    readWeightFields(fields, 2, *v);
                    V[number] = std::move(v);
                }
            }
        } else {
            if (!slotsChecked) fillEmptySlots();
            if (!LineAccount::isBlankText(line)) ++arcLines;
            reading.account.line(line, readArcLine(fields, edgeCounter, count));
        }
        ++lineCounter;
    }
    if (!slotsChecked) fillEmptySlots();
    // What the header announces and the file does not hold: vertex lines
    // (blank, or the file ends among them) and arc lines.
    reading.account.announcedVertexLines = count;
    reading.account.missingVertexLines = std::max(0L, count - std::max(0L, lineCounter - 1)) + blankVertexLines;
    reading.account.announcedArcs = std::max(edges, 0);
    reading.account.missingArcs = std::max(0L, reading.account.announcedArcs - arcLines);
}

LineRead Graph::readArcLine(const std::vector<std::string>& fields, int& edgeCounter, int count) {
    std::unique_ptr<Edge> e = readArcFields(fields, 0, edgeCounter);
    if (!e) return LineRead::No;
    ++edgeCounter;
    const int from = e->from, to = e->to;
    // An arc label is a digit per arc: another label (a vertex line's weight
    // "0.5" read as a label) reads only leniently.
    const bool digits = arcShaped(fields, 0);
    if (insertEdge(std::move(e)) || beyondTheTrialGraph(from, to, count, vertices))
        return digits ? LineRead::Cleanly : LineRead::Leniently;
    return LineRead::Faulty;  // an arc to a vertex the file does not hold
}

void Graph::initMode1(std::istream& file) { initMode2(file, 0); }

// The binary graph file; `labels` > 0 reads the labelled variant, whose arc
// label is (attribute modulo labels) + 1, and 0 the unlabelled one (label
// "1"). Reading stops at the end of the file.
void Graph::initMode2(std::istream& file, int labels) {
    const bool labelled = labels > 0;
    unsigned n = 0;
    if (!read_word(file, n)) return;
    bool more = true;
    for (unsigned i = 0; i < n; ++i) {
        unsigned attribute = 0;
        if (labelled && more) more = read_word(file, attribute);  // vertex attributes are not kept
    }
    appendNumberedVertices(V, static_cast<int>(n), true);
    vertices = static_cast<int>(n);
    int edgeCounter = 0;
    for (unsigned i = 0; i < n && more; ++i) {
        unsigned k = 0;
        if (!(more = read_word(file, k))) break;
        for (unsigned j = 0; j < k; ++j) {
            unsigned target = 0, attribute = 0;
            if (!(more = read_word(file, target))) break;
            if (labelled && !(more = read_word(file, attribute))) break;
            std::string label = labelled ? to_string(attribute % static_cast<unsigned>(labels) + 1) : "1";
            auto e = std::make_unique<Edge>(static_cast<int>(i), static_cast<int>(target), label);
            e->setNumber(edgeCounter++);
            insertEdge(std::move(e));
        }
    }
    edges = static_cast<int>(E.size());
}

void Graph::initMode3(std::istream& file) {
    vertices = 0;
    int edgeCounter = 0;
    auto vertexOf = [&](const std::string& name) {
        auto found = nodeNumbers.find(name);
        if (found != nodeNumbers.end()) return found->second;
        int number = vertices++;
        nodeNumbers.emplace(name, number);
        auto v = std::make_unique<Vertex>(number, name);
        v->addWeight(0, 0);
        v->addWeight(0, 1);
        V.push_back(std::move(v));
        return number;
    };
    std::string line;
    while (readLine(file, line)) {
        std::vector<std::string> fields = lineFields(line);
        const bool skipped = line.find(",,") != std::string::npos || line.find(", ,") != std::string::npos ||
                             fields.size() < 3 || fields[2].empty();  // two names and a label needed
        // Any line of three fields or more reads; a line of this syntax has
        // exactly two names and a label of digits. A named edge list has no
        // header: a file whose first line is no such arc is no named edge list.
        const LineRead how = skipped                                               ? LineRead::No
                             : fields.size() == 3 && isDigitLabel(fields, 2) ? LineRead::Cleanly
                                                                                 : LineRead::Leniently;
        if (reading.account.content() == 0 && how != LineRead::Cleanly && !LineAccount::isBlankText(line))
            reading.account.startFault = "line " + std::to_string(reading.account.lines() + 1) +
                                 ", the first with content, is no named arc NAME,NAME,LABEL, and a named edge list "
                                 "has no header";
        reading.account.line(line, how);
        if (skipped) continue;
        int from = vertexOf(fields[0]);
        int to = vertexOf(fields[1]);
        auto e = std::make_unique<Edge>(from, to, fields[2]);
        e->setNumber(edgeCounter++);
        insertEdge(std::move(e));
        auto reverse = std::make_unique<Edge>(to, from, fields[2]);
        reverse->setNumber(edgeCounter++);
        insertEdge(std::move(reverse));
    }
}

void Graph::initMode6(std::istream& file) {
    std::string line;
    if (!readLine(file, line)) return;
    std::vector<std::string> header = lineFields(line);
    readPlainHeader(reading.account, line, header);
    int count = 0;
    headerCount(header, count);
    vertices = std::min(count, reading.vertexLimit);
    intField(header, 1, edges);
    appendNumberedVertices(V, vertices, false);
    int edgeCounter = 0;
    while (readLine(file, line)) reading.account.line(line, readArcLine(lineFields(line), edgeCounter, count));
}

void Graph::initMode7(const std::string& text) {
    auto lines = splitString(text, "\n");
    if (!lines) return;
    std::vector<std::string> header = lineFields((*lines)[0]);
    if (!intField(header, 0, vertices) || vertices < 0) {
        vertices = 0;
        // A text of blanks is an empty graph; any other text without a
        // header (most often a file's path given with -h 7) is nothing to
        // work on.
        if (text.find_first_not_of(" \t\r\n") == std::string::npos) return;
        reading.verdict.say(ReadingVerdict::Kind::NothingRead,
                            "Graph text \"" + (*lines)[0] +
                                "\": no header VERTICES,EDGES; reader mode 7 reads the text itself as the graph, "
                                "not a file");
        return;
    }
    intField(header, 1, edges);
    appendNumberedVertices(V, vertices, false);
    int edgeCounter = 0;
    for (std::size_t l = 1; l < lines->size(); ++l) {
        std::vector<std::string> fields = lineFields((*lines)[l]);
        if (fields.empty()) continue;
        const std::string& kind = fields[0];
        if (kind == "c" || kind == "n" || kind == "s") {
            int number = -1;
            if (fields.size() > 2 && intField(fields, 1, number) && number >= 0 && number < vertices)
                V[number]->setLabel(fields[2]);
        } else if (kind == "e" || kind == "r") {
            if (std::unique_ptr<Edge> e = readArcFields(fields, 1, edgeCounter, false)) {
                ++edgeCounter;
                insertEdge(std::move(e));
            }
        }
    }
}

}  // namespace graphmat

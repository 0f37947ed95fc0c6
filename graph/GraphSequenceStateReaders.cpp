// Readers of behavioural models, in which the interactions are vertices:
//   mode 10, sequence diagrams: entities ("c,"), lifelines ("l,") contained
//            by their entity, messages ("m,") between a sender and a receiver;
//   mode 11, state machines: states ("s,") and transitions ("t,") between a
//            source and a target state; each state is then named after its
//            transitions.
// Both files begin with a header (vertex count, edge count). Vertices are
// numbered by their position; arcs name their ends by position.
#include "graph/Graph.h"
#include "graph/GraphFileFields.h"
#include "graph/InputFiles.h"

namespace graphmat {

namespace {

constexpr short ENTITY = 4, LIFELINE = 5, MESSAGE = 6, STATE = 8, TRANSITION = 9;

std::unique_ptr<Vertex> newVertex(short type, int number, const std::string& label) {
    auto v = std::make_unique<Vertex>();
    v->type = type;
    v->setNumber(number);
    v->setLabel(label);
    return v;
}

std::unique_ptr<Edge> newArc(int from, int to, const std::string& label, int type) {
    auto e = std::make_unique<Edge>(from, to, label);
    e->type = type;
    return e;
}

// Starts a new `classes` index, reads the header (vertex and edge counts,
// replaced once the file is read) and hands every later line to `handle`,
// which tells how the line reads.
template <class Handle>
void readLinesAfterHeader(Graph& g, std::istream& file, Handle handle) {
    g.classes = std::make_unique<std::multimap<std::string, int>>();
    std::string line;
    if (!readLine(file, line)) return;
    std::vector<std::string> header = lineFields(line);
    g.reading.account.header(line, intField(header, 0, g.vertices));
    intField(header, 1, g.edges);
    while (readLine(file, line)) g.reading.account.line(line, handle(line));
}

// The numbering of the vertex lines that carry a number of their own (the
// others take their position). Arcs name their ends by position, so a
// vertex line lost or written twice renumbers every vertex after it. The
// line where the file's numbering breaks - its number is not the one the
// lines before it lead to - is a fault of the file; the lines after it
// that go on from its number read as they did (each is told on the trace
// as a number that is not its position).
class Numbering {
public:
    // A vertex that takes its position.
    void positioned() { ++expected_; }
    // A vertex line with number field i: false where the numbering breaks.
    bool numbered(const std::vector<std::string>& fields, std::size_t i) {
        int number = -1;
        const bool follows = intField(fields, i, number) && number == expected_;
        expected_ = follows || number < 0 ? expected_ + 1 : number + 1LL;
        return follows;
    }

private:
    long long expected_ = 0;  // a number of the file may be the largest int
};

// A vertex line read: a fault of the file where the numbering breaks (see
// Numbering), else cleanly when `clean` holds, else leniently.
LineRead vertexLineRead(bool follows, bool clean = true) {
    return !follows ? LineRead::Faulty : clean ? LineRead::Cleanly : LineRead::Leniently;
}

// A line that makes a vertex and arcs to others: read cleanly when its arcs
// inserted, else a fault of the file: it names a vertex the file does not
// hold (the vertex it makes stays).
LineRead arcsRead(bool inserted) { return inserted ? LineRead::Cleanly : LineRead::Faulty; }

// The arc label of a message spec: its second "@"-separated part, which
// must begin with a digit; empty when the text has none.
std::string messageLabel(const std::string& spec) {
    auto parts = splitString(spec, "@");
    if (!parts || parts->size() < 2) return std::string();
    const std::string& label = (*parts)[1];
    return !label.empty() && label[0] >= '0' && label[0] <= '9' ? label : std::string();
}

}  // namespace

void Graph::initMode10(std::istream& file) {
    int lifelineArcs = 0;
    Numbering numbering;
    readLinesAfterHeader(*this, file, [&](const std::string& line) {
        if (line.size() < 2 || line[1] != ',') return LineRead::No;
        const std::vector<std::string> fields = lineFields(line);
        const int position = static_cast<int>(V.size());
        switch (line[0]) {
            case 'c': {
                // c, number, label, weights...
                auto v = newVertex(ENTITY, position, fieldAt(fields, 2));
                checkVertexOrder(fields, 1, v->label, position, *reading.trace);
                readWeightFields(fields, 3, *v);
                if (fields.size() > 2) classes->emplace(simpleName(v->label), position);
                V.push_back(std::move(v));
                return vertexLineRead(numbering.numbered(fields, 1), fields.size() > 2);
            }
            case 'l': {
                // l, number, entity, label
                int entity = -1;
                // A lifeline line cut short is a fault of the file.
                if (fields.size() < 4 || !intField(fields, 2, entity)) return LineRead::Faulty;
                auto v = newVertex(LIFELINE, position, fields[3]);
                checkVertexOrder(fields, 1, v->label, position, *reading.trace);
                const bool follows = numbering.numbered(fields, 1);
                classes->emplace(v->label, position);
                V.push_back(std::move(v));
                auto e = newArc(entity, position, "9", 1);
                e->setNumber(lifelineArcs++);
                // A lifeline of an entity the file does not hold is a fault.
                const bool contained = insertEdge(std::move(e));
                return !contained ? LineRead::Faulty : vertexLineRead(follows);
            }
            case 'm': {
                // m, from, to, label, spec (its second "@" part labels the arcs)
                int from = -1, to = -1;
                // A message line cut short, or whose spec has no label, is a
                // fault of the file.
                if (fields.size() < 5 || !intField(fields, 1, from) || !intField(fields, 2, to))
                    return LineRead::Faulty;
                const std::string label = messageLabel(fields[4]);
                if (label.empty()) return LineRead::Faulty;
                auto v = newVertex(MESSAGE, position, fields[3]);
                v->specif = fields[4];
                V.push_back(std::move(v));
                numbering.positioned();
                const bool sent = insertEdge(newArc(from, position, label, 1));
                const bool received = insertEdge(newArc(position, to, label, 1));
                return arcsRead(sent && received);
            }
            default: return LineRead::No;
        }
    });
}

void Graph::initMode11(std::istream& file) {
    Numbering numbering;
    readLinesAfterHeader(*this, file, [&](const std::string& line) {
        if (line.compare(0, 2, "s,") != 0 && line.compare(0, 2, "t,") != 0) return LineRead::No;
        *reading.trace << "\n" << line;
        const std::vector<std::string> fields = lineFields(line);
        const int position = static_cast<int>(V.size());
        if (line[0] == 's') {
            // s, number, further fields ignored
            auto v = newVertex(STATE, position, "state");
            checkVertexOrder(fields, 1, v->label, position, *reading.trace);
            v->specif = " ";
            classes->emplace(v->label, position);
            V.push_back(std::move(v));
            return vertexLineRead(numbering.numbered(fields, 1));
        }
        // t, from, to, label
        int from = -1, to = -1;
        if (fields.size() < 4 || !intField(fields, 1, from) || !intField(fields, 2, to)) return LineRead::Faulty;
        auto v = newVertex(TRANSITION, position, toLowerAscii(fields[3]));
        classes->emplace(v->label, position);
        V.push_back(std::move(v));
        numbering.positioned();
        // A transition between states the file does not hold is a fault.
        const bool entered = insertEdge(newArc(from, position, "1", 8));
        const bool left = insertEdge(newArc(position, to, "1", 9));
        return arcsRead(entered && left);
    });

    // States are named after their transitions: the sources of the arcs
    // into them, then the targets of the arcs out of them.
    for (auto& v : V) {
        if (v->type == TRANSITION) continue;
        std::string label;
        for (const Edge* e : v->in) label += "_from-" + V[e->from]->label;
        for (const Edge* e : v->out) label += "_towa-" + V[e->to]->label;
        v->label = label;
    }
}

}  // namespace graphmat

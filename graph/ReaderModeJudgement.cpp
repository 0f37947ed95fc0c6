// The judgement of the reader mode a graph file was read in. Every reader
// keeps a LineAccount of its lines: read cleanly, read only leniently (a
// vertex line out of order or repeated, a line of another shape that
// happens to fit), or not read. Only clean lines earn credit, on both sides
// of a comparison: the mode a file was read in and each other syntax, whose
// reader reads the same bytes again into a scratch graph, silently.
#include "graph/ReaderModeJudgement.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <exception>
#include <iostream>
#include <vector>

#include "graph/InputFiles.h"

namespace graphmat {

void LineAccount::line(const std::string& text, bool reads, bool cleanly) {
    line(text, !reads ? LineRead::No : cleanly ? LineRead::Cleanly : LineRead::Leniently);
}

void LineAccount::line(const std::string& text, LineRead how) {
    ++lines;
    if (how == LineRead::Cleanly) {
        // Blank lines count for the numbering only (and read cleanly as none).
        if (!isBlankText(text)) ++read;
        return;
    }
    if (isBlankText(text)) return;
    if (how == LineRead::No || how == LineRead::Faulty) {
        if (notRead++ == 0) firstNotRead = lines;
    } else {
        ++read;
        if (lenient++ == 0) firstLenient = lines;
    }
    uncreditedLines.push_back(lines);
    if (how == LineRead::Faulty || how == LineRead::ReadFaulty) faultLines.push_back(lines);
}

void LineAccount::header(const std::string& text, bool reads) {
    ++lines;
    if (reads || isBlankText(text)) return;
    if (notRead++ == 0) firstNotRead = lines;
    uncreditedLines.push_back(lines);
}

void LineAccount::withdraw(int number) {
    --read;
    if (notRead++ == 0 || number < firstNotRead) firstNotRead = number;
    uncreditedLines.push_back(number);
    faultLines.push_back(number);
}

void LineAccount::demote(int number) {
    if (lenient++ == 0 || number < firstLenient) firstLenient = number;
    uncreditedLines.push_back(number);
}

int LineAccount::firstUncredited() const {
    if (notRead == 0) return firstLenient;
    if (lenient == 0) return firstNotRead;
    return std::min(firstNotRead, firstLenient);
}

bool LineAccount::isBlankText(const std::string& text) {
    return text.find_first_not_of(" \t\r") == std::string::npos;
}

int syntaxOf(int mode) { return mode == 5 || mode == 8 || mode == 9 ? 4 : mode; }

std::string syntaxName(int mode) {
    switch (syntaxOf(mode)) {
        case 0: return "a plain graph file (reader mode 0)";
        case 1: return "a binary graph file (reader mode 1)";
        case 2: return "a binary graph file with arc labels (reader mode 2)";
        case 3: return "a named edge list file (reader mode 3)";
        case 4: return "a class diagram file (reader modes 4, 5, 8 and 9)";
        case 6: return "an edge list graph file (reader mode 6)";
        case 10: return "a sequence diagram file (reader mode 10)";
        case 11: return "a state machine file (reader mode 11)";
        case 12: return "a model graph file (reader mode 12)";
        default: return "";
    }
}

namespace {

// One reader mode per text syntax: the modes a trial reading tries.
constexpr int TRIAL_MODES[] = {0, 3, 4, 6, 10, 11, 12};

// The lines of an input: the numbers of those with content, and how many
// there are in all.
struct FileLines {
    std::vector<int> content;
    int total = 0;
};

FileLines fileLines(const InputText& input) {
    FileLines lines;
    int number = 1;
    bool content = false;
    for (const char* at = input.begin(); at != input.end(); ++at) {
        if (*at == '\n') {
            if (content) lines.content.push_back(number);
            ++number;
            content = false;
        } else if (*at != ' ' && *at != '\t' && *at != '\r') {
            content = true;
        }
    }
    if (content) lines.content.push_back(number);
    lines.total = number;
    return lines;
}

// The input read again by the reader of `mode` into a scratch graph, which
// traces nowhere (a stream without a buffer drops what it is given) and
// makes no more vertices than the input has lines, `lineCount` (a header's
// count does not size it). A reading that fails (a table larger than the
// machine, an allocation that fails) counts as reading nothing.
LineAccount trialRead(int mode, const InputText& input, int lineCount) {
    std::ostream silent(nullptr);
    Graph scratch;
    scratch.trace = &silent;
    scratch.vertexLimit = lineCount;
    InputFile file(input);
    try {
        scratch.readInMode(file, mode);
    } catch (const std::exception&) {
        return LineAccount();
    }
    return scratch.account;
}

// Lines with content: those read (cleanly or not) and those not read.
long withContent(const LineAccount& a) { return static_cast<long>(a.read) + a.notRead; }

// The numbers of the lines a reading did not credit, sorted, each once.
std::vector<int> uncreditedSet(const LineAccount& a) {
    std::vector<int> lines = a.uncreditedLines;
    std::sort(lines.begin(), lines.end());
    lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
    return lines;
}

// The number of lines of `a` that are not in `b` (both sorted).
long outside(const std::vector<int>& a, const std::vector<int>& b) {
    long count = 0;
    auto at = b.begin();
    for (int line : a) {
        while (at != b.end() && *at < line) ++at;
        if (at == b.end() || *at != line) ++count;
    }
    return count;
}

// How a trial reading compares with the chosen one, line by line: the lines
// it reads cleanly where the chosen mode does not (`explained`: evidence
// that the file is of the trial's syntax), those of them that are no fault
// of the file in the chosen mode (`signs`), and the lines the chosen mode
// reads cleanly where it does not, faults of the file in the trial aside
// (`lost`). A line that neither reads is a fault of the file, evidence of
// nothing; a line of the chosen mode's own shape that is cut short or names
// a vertex or class the file does not hold is no sign of another syntax by
// itself, but counts when the chosen mode fails the bulk of the file that
// way (a model graph file without packages read as a class diagram: its
// member lines name classes of the model's numbering).
struct Comparison {
    int mode = -1;
    long explained = 0;
    long signs = 0;
    long lost = 0;
    bool wrongMode = false;  // the chosen mode is wrong for the file
};

// The chosen reading: the lines it did not credit (sorted) and, of them,
// its faults of the file; and its lines with content.
struct ChosenReading {
    std::vector<int> uncredited;
    std::vector<int> faults;
    long content = 0;
};

// A reading in a wrong mode: the better reading explains at least two
// lines, and at least one in ten of the lines with content, and loses at
// most a tenth as many.
bool readInWrongMode(const Comparison& c, long content) {
    return c.explained >= 2 && 10L * c.explained >= content && 10L * c.lost <= c.explained;
}

// The text syntax (its trial mode) that reads `input` as the kind of file it
// is, better than the chosen reading: its reading credits at least half of
// the lines with content, and the lines it explains, faults of the chosen
// mode aside, outnumber those it loses, or it explains more than half of
// the file. Of several, one that finds the chosen mode wrong first, then the
// largest gain (explained less lost), then the lowest mode. Mode -1 when
// none does. The syntax of `mode` is no candidate (none is for a binary
// mode). A named edge list has no
// header: a file whose first line does not read as one of its arcs (an
// edge list graph file, whose arcs read as named arcs too) is not one.
Comparison bestTextSyntax(const InputText& input, const FileLines& lines, int mode, const ChosenReading& chosen) {
    Comparison best;
    for (int candidate : TRIAL_MODES) {
        if (candidate == syntaxOf(mode)) continue;
        const LineAccount trial = trialRead(candidate, input, lines.total);
        const std::vector<int> theirs = uncreditedSet(trial);
        if (2L * static_cast<long>(theirs.size()) > withContent(trial)) continue;
        if (candidate == 3 && !theirs.empty() && theirs.front() == lines.content.front()) continue;
        std::vector<int> explained;
        std::set_difference(chosen.uncredited.begin(), chosen.uncredited.end(), theirs.begin(), theirs.end(),
                            std::back_inserter(explained));
        Comparison c;
        c.mode = candidate;
        c.explained = static_cast<long>(explained.size());
        c.signs = outside(explained, chosen.faults);
        // Judged by the same standard: a line the trial reads as a fault of
        // the file is no evidence against its syntax.
        std::vector<int> theirFaults = trial.faultLines;
        std::sort(theirFaults.begin(), theirFaults.end());
        std::vector<int> theirOthers;
        std::set_difference(theirs.begin(), theirs.end(), theirFaults.begin(), theirFaults.end(),
                            std::back_inserter(theirOthers));
        c.lost = outside(theirOthers, chosen.uncredited);
        // Faults of the file in the chosen mode count for the trial only when
        // they are the bulk of the file: then it is no file of a few faults.
        if (c.signs <= c.lost && 2L * c.explained <= chosen.content) continue;
        c.wrongMode = readInWrongMode(c, chosen.content);
        const bool better = best.mode < 0 || (c.wrongMode && !best.wrongMode) ||
                            (c.wrongMode == best.wrongMode && c.explained - c.lost > best.explained - best.lost);
        if (better) best = c;
    }
    return best;
}

bool holdsNul(const InputText& input) { return std::memchr(input.begin(), 0, input.size()) != nullptr; }

// The binary mode (1, then 2) whose words the input fills exactly; -1 when
// none does or the input holds no word.
int exactBinaryMode(const InputText& input) {
    for (int mode : {1, 2}) {
        const BinaryLayout layout = binaryLayout(input.begin(), input.end(), mode == 2);
        if (layout.complete && layout.trailing == 0 && layout.endByte > 0) return mode;
    }
    return -1;
}

std::string linesText(long count) { return std::to_string(count) + (count == 1 ? " line" : " lines"); }

// True when the input's lines end with a carriage return alone (no line
// feed at all): every reader takes the whole file for one line.
bool carriageReturnsOnly(const InputText& input) {
    return input.size() > 0 && std::memchr(input.begin(), '\n', input.size()) == nullptr &&
           std::count(input.begin(), input.end(), '\r') > 1;
}

}  // namespace

void judgeTextReading(Graph& g, const InputText& input, int mode) {
    const LineAccount& a = g.account;
    const std::string& path = input.path();
    if (carriageReturnsOnly(input)) {
        g.nothingRead = true;
        std::cerr << "Graph file " << path << ": its lines end with a carriage return alone, read in reader mode "
                  << mode << " as one line; end them with line feeds" << std::endl;
        return;
    }
    if (holdsNul(input)) {
        // Bytes no text file holds: whatever its lines made of it, a file
        // that fills the words of a binary graph file exactly is one.
        const int binary = exactBinaryMode(input);
        if (binary >= 0 && a.read == 0) {
            g.nothingRead = true;
            g.betterMode = binary;
            std::cerr << "Graph file " << path << ": no line reads in reader mode " << mode << "; it looks like "
                      << syntaxName(binary) << std::endl;
            return;
        }
        if (binary >= 0) {
            g.wrongMode = true;
            g.betterMode = binary;
            std::cerr << "Graph file " << path << ": it holds bytes no text file holds (byte 0); it looks like "
                      << syntaxName(binary) << std::endl;
            return;
        }
    }
    if (a.uncredited() == 0) return;
    g.nothingRead = a.notRead > 0 && a.read == 0;
    ChosenReading chosen{uncreditedSet(a), a.faultLines, withContent(a)};
    std::sort(chosen.faults.begin(), chosen.faults.end());
    const FileLines lines = fileLines(input);
    const Comparison better = bestTextSyntax(input, lines, mode, chosen);
    g.betterMode = better.mode;
    g.wrongMode = !g.nothingRead && better.wrongMode;
    // A named edge list has no header: read in mode 3, a file whose first
    // line is no named arc and that another syntax reads is of that syntax,
    // however few its other lines (an edge list graph file, a plain graph
    // file of many arcs).
    if (syntaxOf(mode) == 3 && g.betterMode >= 0 && !lines.content.empty() &&
        std::binary_search(chosen.uncredited.begin(), chosen.uncredited.end(), lines.content.front()))
        g.wrongMode = !g.nothingRead;
    const std::string hint = g.betterMode >= 0 ? "; it looks like " + syntaxName(g.betterMode) : "";
    if (g.nothingRead)
        std::cerr << "Graph file " << path << ": no line reads in reader mode " << mode << hint << std::endl;
    else if (g.wrongMode || (a.notRead == 0 && g.betterMode >= 0))
        std::cerr << "Graph file " << path << ": " << linesText(a.uncredited()) << " not read in reader mode "
                  << mode << " (the first: line " << a.firstUncredited() << ")" << hint << std::endl;
    else if (a.notRead > 0)
        std::cerr << "Graph file " << path << ": " << linesText(a.notRead) << " not read in reader mode " << mode
                  << " (the first: line " << a.firstNotRead << ")" << hint << std::endl;
}

BinaryLayout binaryLayout(const char* begin, const char* end, bool labelled) {
    BinaryLayout layout;
    const long long size = end - begin;
    long long at = 0;  // the next word's first byte
    auto word = [&](long long& value) {
        if (at + 2 > size) return false;
        value = static_cast<unsigned char>(begin[at]) + 256LL * static_cast<unsigned char>(begin[at + 1]);
        at += 2;
        return true;
    };
    auto stop = [&](long long vertex) {
        layout.complete = false;
        layout.stoppedAt = vertex;
        layout.endByte = at;
        return layout;
    };
    if (size == 0) return layout;  // an empty file: an empty graph
    if (!word(layout.vertices)) return stop(-1);
    long long value = 0;
    if (labelled)
        for (long long v = 0; v < layout.vertices; ++v)
            if (!word(value)) {
                layout.inAttributes = true;
                return stop(v);
            }
    for (long long v = 0; v < layout.vertices; ++v) {
        long long arcs = 0;
        if (!word(arcs)) return stop(v);
        for (long long k = 0; k < arcs; ++k)
            if (!word(value) || (labelled && !word(value))) {
                layout.inArcs = true;
                return stop(v);
            }
    }
    layout.endByte = at;
    layout.trailing = size - at;
    return layout;
}

void judgeBinaryReading(Graph& g, const InputText& input, int mode) {
    const std::string& path = input.path();
    const std::string reading = "reader mode " + std::to_string(mode);
    if (input.size() > 0 && !holdsNul(input) && std::memchr(input.begin(), '\n', input.size()) != nullptr) {
        // Lines and no byte 0: a text file (the words of a binary graph file
        // hold small counts, whose high byte is 0).
        g.wrongMode = true;
        const FileLines lines = fileLines(input);
        const ChosenReading noLine{lines.content, {}, static_cast<long>(lines.content.size())};
        g.betterMode = bestTextSyntax(input, lines, mode, noLine).mode;
        std::cerr << "Graph file " << path << ": it is a text file, not a binary graph file (" << reading
                  << " reads 16-bit words)";
        if (g.betterMode >= 0) std::cerr << "; it looks like " << syntaxName(g.betterMode);
        std::cerr << std::endl;
        return;
    }
    const BinaryLayout layout = binaryLayout(input.begin(), input.end(), mode == 2);
    if (!layout.complete) {
        // Cut inside the arcs of the last vertex, every vertex has its arc
        // count: a fault of the file, the arcs read stand. Cut before, the
        // vertices after the cut have no arcs at all: nothing to work on.
        const bool lastArcsOnly = layout.inArcs && layout.stoppedAt == layout.vertices - 1;
        g.incomplete = !lastArcsOnly;
        // ... unless the other binary mode reads every word: a file of that mode.
        const int other = exactBinaryMode(input);
        if (lastArcsOnly && other >= 0 && other != mode) {
            g.betterMode = other;
            g.wrongMode = true;
        }
        std::cerr << "Graph file " << path << ": its 16-bit words end at byte " << layout.endByte;
        if (layout.stoppedAt < 0)
            std::cerr << ", before its vertex count";
        else if (layout.inAttributes)
            std::cerr << ", before vertex " << layout.stoppedAt << " of the " << layout.vertices
                      << " it announces has its attribute";
        else if (layout.inArcs)
            std::cerr << ", inside the arcs of vertex " << layout.stoppedAt << " of the " << layout.vertices
                      << " it announces" << (lastArcsOnly && !g.wrongMode ? ", its last; the arcs before are read" : "");
        else
            std::cerr << ", before vertex " << layout.stoppedAt << " of the " << layout.vertices
                      << " it announces has its arc count";
        std::cerr << " (" << reading << ")";
        if (g.wrongMode) std::cerr << "; it looks like " << syntaxName(g.betterMode);
        std::cerr << std::endl;
        return;
    }
    if (layout.trailing > 0) {
        // Bytes left over: a fault of the file, unless the other binary mode
        // reads every word of it (then it is a file of that mode).
        std::cerr << "Graph file " << path << ": " << layout.trailing << " byte"
                  << (layout.trailing == 1 ? "" : "s") << " after the arcs of its last vertex not read ("
                  << reading << ")";
        const int other = exactBinaryMode(input);
        if (other >= 0 && other != mode) {
            g.betterMode = other;
            g.wrongMode = true;
            std::cerr << "; it looks like " << syntaxName(other);
        }
        std::cerr << std::endl;
    }
}

namespace {

// "class diagram files (reader mode 4)": what a program of one fixed mode
// reads.
std::string filesOfMode(int mode) {
    switch (syntaxOf(mode)) {
        case 0: return "plain graph files (reader mode 0)";
        case 4: return "class diagram files (reader mode " + std::to_string(mode) + ")";
        case 6: return "edge list graph files (reader mode 6)";
        case 12: return "model graph files (reader mode 12)";
        default: return "graph files of reader mode " + std::to_string(mode);
    }
}

// The reader modes of the syntax of `mode`, for the advice.
std::string modesOfSyntax(int mode) { return syntaxOf(mode) == 4 ? "4, 5, 8 or 9" : std::to_string(mode); }

// How to read a file that another mode reads, in the words of the program.
std::string advice(const Graph& g, int mode, const std::string& path, ModeChoice choice,
                   const std::string& program) {
    switch (choice) {
        case ModeChoice::Switch: return "read it with -h " + modesOfSyntax(g.betterMode);
        case ModeChoice::Argument: return "read it in reader mode " + modesOfSyntax(g.betterMode);
        case ModeChoice::Fixed: break;
    }
    std::string text = program + " reads " + filesOfMode(mode);
    if (syntaxOf(mode) == 4 && g.betterMode == 12)
        text += "; convert a model graph file with awk -f tools/model-to-class-diagram.awk " + path +
                " > CLASS_DIAGRAM.txt";
    return text;
}

}  // namespace

bool graphUsable(const Graph& g, int mode, const std::string& path, ModeChoice choice, const std::string& program) {
    if (mode != 7 && !g.fileOpened) {
        reportMissingInput(path, g.openFailure);
        return false;
    }
    if (!g.nothingRead && !g.wrongMode && !g.incomplete) return true;
    if (g.betterMode >= 0)
        std::cerr << "Graph file " << path << " is not used: " << advice(g, mode, path, choice, program) << std::endl;
    return false;
}

}  // namespace graphmat

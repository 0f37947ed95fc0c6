// The judgement of the reader mode a graph file was read in, and of whether
// the file can be worked on at all. Every reader keeps a LineAccount of how
// it took each line: cleanly, leniently (read, but not in its mode's own
// shape), as a fault of the file (a line of its own kind cut short, or
// naming a vertex or class the file does not hold), or not at all. A text
// file some of whose lines do not read cleanly is read again, silently and
// into a scratch graph, by the reader of every other text syntax, on the
// same bytes. Then five rules, in this order:
//
//  1. The first line decides where a syntax makes it decide. A plain or edge
//     list graph file (modes 0 and 6) whose first line, read as the header,
//     is not VERTICES,ARCS or announces no vertices, and a file read as a
//     named edge list (mode 3, which has no header) whose first line with
//     content is no named arc, are refused.
//  2. A file of which most lines with content do not read (not at all, or
//     as faults of the file; vertex lines that its header announces and the
//     file does not hold count among them) is refused.
//  3. A file that another syntax reads no worse, line for line (it reads
//     cleanly every line that the chosen mode reads cleanly, and misses no
//     vertex line that its header announces), and better (it reads cleanly
//     a line that the chosen mode does not read, or reads only leniently),
//     is refused.
//  4. A file whose lines that the chosen mode does not read cleanly another
//     syntax explains - it reads cleanly at least two of them that are no
//     faults of the file, and at least one line in ten of the file, and
//     fails at most a tenth as many of the lines that the chosen mode reads
//     cleanly - is refused. A fault of the file, in either reading, is no
//     evidence on its own.
//  5. Any other file runs, with a warning that counts the lines not read and
//     what its header announces that the file lacks. The warning names
//     another syntax only where that syntax reads cleanly most of the lines
//     that the chosen mode does not read cleanly and that neither reading
//     takes as faults of the file - at least two of them - and more of them
//     than it fails of the lines that the chosen mode reads cleanly; it
//     then counts the lines read only leniently too.
//
// A refusal names the syntax that reads the file whole (every line
// cleanly, nothing that its header announces missing), else the one of
// rules 3 and 4 with the largest gain, when there is one. A trial reading
// that fails (a table larger than the machine), or that its own rule 1
// refuses, reads nothing; one that its own rule 2 refuses can still be
// named by a warning (its faults of the file are no evidence against it
// there), never by a refusal. Blank
// lines, and blanks and tabs that end a line, decide nothing: a line of
// blanks is counted, not judged, and the shape of a line's last field is
// read without them. Beside the rules: a file whose lines end with a
// carriage return alone, and one of bytes no text file holds that fills
// the words of a binary graph file exactly, are refused in every text
// mode; binary files (modes 1 and 2) are checked word by word. The
// judgement prints nothing: it returns the verdict, with what it says.
#include "graph/ReaderModeJudgement.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <optional>
#include <vector>

#include "graph/InputFiles.h"

namespace graphmat {

int contentLineCount(const InputText& input) {
    int lines = 0;
    const char* end = input.end();
    for (const char* at = input.begin(); at != end;) {
        const char* feed = static_cast<const char*>(std::memchr(at, '\n', end - at));
        const char* lineEnd = feed ? feed : end;
        // Most lines show content at once: only a line of blanks is read to
        // its end.
        while (at != lineEnd && (*at == ' ' || *at == '\t' || *at == '\r')) ++at;
        if (at != lineEnd) ++lines;
        at = feed ? feed + 1 : end;
    }
    return lines;
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

// The input read again by the reader of `mode` into a scratch graph, which
// traces nowhere (a stream without a buffer drops what it is given) and
// makes no more vertices than the input has lines with content (a header's
// count does not size it). Nothing when the reading fails (a table larger
// than the machine, an allocation that fails): such a trial reads nothing.
std::optional<LineAccount> trialRead(int mode, const InputText& input, int lines) {
    std::ostream silent(nullptr);
    Graph scratch;
    scratch.reading.trace = &silent;
    scratch.reading.vertexLimit = lines;
    scratch.reading.fileLines = lines;
    InputFile file(input);
    try {
        scratch.readInMode(file, mode);
    } catch (const std::exception&) {
        return std::nullopt;
    }
    return std::move(scratch.reading.account);
}

// A line read as a line (or the header) of the mode's own shape.
bool clean(LineRead how) { return how == LineRead::Cleanly || how == LineRead::Header; }
// A line the mode does not read cleanly, and that is no fault of the file.
bool unexplained(LineRead how) { return how == LineRead::No || how == LineRead::Leniently; }

// Rule 2: most lines with content do not read (faults of the file, and the
// vertex lines a header announces and the file does not hold, among them).
bool mostNotRead(const LineAccount& a) {
    return 2 * (a.notRead() + a.missingVertexLines) > a.content() + a.missingVertexLines;
}

// A trial reading as evidence: whether it reads the file whole, reads it
// no worse and better (rule 3) or explains it (rule 4): the lines it reads
// cleanly where the chosen mode does not (`explained`), those of them that
// are no faults of the file in the chosen mode (`signs`), the lines the
// chosen mode reads cleanly where it does not, its own faults of the file
// aside (`lost`), and those lines with its own faults, and the vertex lines
// its header announces that the file lacks (`worse`).
// For the warning of a file that runs: the lines the chosen mode does not
// read cleanly that neither reading takes as faults of the file
// (`doubtful`), and whether the trial `names` itself there: it reads
// cleanly most of them, at least two, and more of them than it loses.
struct Trial {
    int mode = -1;
    bool whole = false;
    bool better = false;
    bool explains = false;
    bool names = false;
    long explained = 0;
    long signs = 0;
    long lost = 0;
    long worse = 0;
    long doubtful = 0;
    long gain() const { return explained - lost; }
};

Trial compare(int mode, const LineAccount& chosen, const LineAccount& trial) {
    Trial t;
    t.mode = mode;
    t.whole = trial.startFault.empty() && trial.content() > 0 && trial.uncredited() == 0 &&
              trial.missingVertexLines == 0;
    // Line by line, over the lines with content that both readings reached
    // (both keep the same lines: blankness is the text's).
    for (int i = 0, j = 0; i < chosen.kept() && j < trial.kept();) {
        if (chosen.keptNumber(i) != trial.keptNumber(j)) {
            (chosen.keptNumber(i) < trial.keptNumber(j) ? i : j)++;
            continue;
        }
        const LineRead ours = chosen.keptRead(i++), theirs = trial.keptRead(j++);
        if (unexplained(ours) && theirs != LineRead::Faulty) ++t.doubtful;
        if (clean(theirs) && (unexplained(ours) || ours == LineRead::Faulty)) {
            ++t.explained;
            if (ours != LineRead::Faulty) ++t.signs;
        }
        if (clean(ours) && !clean(theirs)) {
            ++t.worse;
            if (theirs != LineRead::Faulty) ++t.lost;
        }
    }
    t.worse += trial.missingVertexLines;
    t.better = t.worse == 0 && t.signs >= 1;
    t.explains = t.signs >= 2 && 10 * t.explained >= chosen.content() && 10 * t.lost <= t.explained;
    t.names = trial.startFault.empty() && t.signs >= 2 && 2 * t.signs > t.doubtful && t.lost < t.signs;
    return t;
}

// What the other syntaxes make of a file: the one a refusal names (`refusal`:
// one that reads the file whole, the lowest mode, else the one of rules 3
// and 4 with the largest gain, then the lowest mode; trials that fail, or
// that their own rules 1 and 2 refuse, are no candidates), and the one the
// warning of a file that runs names (`warning`: of those that name
// themselves, the one that reads the most lines cleanly where the chosen
// mode does not, less those it loses, then the lowest mode; its own faults
// of the file do not rule it out). Mode -1 where none does. The trials are
// sized by the input's `lines` with content.
struct Evidence {
    Trial refusal;
    Trial warning;
};

Evidence weighOtherSyntaxes(const InputText& input, int lines, int mode, const LineAccount& chosen) {
    Evidence evidence;
    Trial& best = evidence.refusal;
    for (int candidate : TRIAL_MODES) {
        if (candidate == syntaxOf(mode)) continue;
        const std::optional<LineAccount> trial = trialRead(candidate, input, lines);
        if (!trial) continue;
        const Trial t = compare(candidate, chosen, *trial);
        Trial& named = evidence.warning;
        if (t.names && (named.mode < 0 || t.signs - t.lost > named.signs - named.lost)) named = t;
        if (!trial->startFault.empty() || mostNotRead(*trial)) continue;
        if (!t.whole && !t.better && !t.explains) continue;
        const bool first = best.mode < 0 || (t.whole && !best.whole) ||
                           (t.whole == best.whole && !t.whole && t.gain() > best.gain());
        if (first) best = t;
    }
    return evidence;
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

// "1 of the 4 vertex lines its header announces is missing", and so on.
std::string missingText(long missing, long announced, const char* what) {
    return std::to_string(missing) + " of the " + std::to_string(announced) + " " + what +
           " its header announces " + (missing == 1 ? "is" : "are") + " missing";
}

// What a reading lacks, clause by clause: the lines it did not read
// (`notRead` of them, the first at line `first`), the vertex lines and,
// where `arcs`, the arc lines that its header announces and the file does
// not hold. The reader mode is named once.
std::string shortfall(const LineAccount& a, int mode, long notRead, int first, bool arcs) {
    const std::string reading = "reader mode " + std::to_string(mode);
    std::string text;
    auto add = [&text](const std::string& clause) { text += (text.empty() ? "" : "; ") + clause; };
    if (notRead > 0)
        add(linesText(notRead) + " not read in " + reading + " (the first: line " + std::to_string(first) + ")");
    if (a.missingVertexLines > 0) add(missingText(a.missingVertexLines, a.announcedVertexLines, "vertex lines"));
    if (arcs && a.missingArcs > 0) add(missingText(a.missingArcs, a.announcedArcs, "arcs"));
    if (notRead == 0) text += " (" + reading + ")";
    return text;
}

// Rule 2's count: the vertex lines missing and the lines not read, of those
// with content.
std::string mostShortfall(const LineAccount& a) {
    std::string text;
    if (a.missingVertexLines > 0)
        text = missingText(a.missingVertexLines, a.announcedVertexLines, "vertex lines");
    if (a.notRead() > 0)
        text += (text.empty() ? "" : "; ") + std::to_string(a.notRead()) + " of its " +
                linesText(a.content()) + " not read (the first: line " + std::to_string(a.firstNotRead()) + ")";
    return text;
}

// A reading of `input` that reads none of its lines: the chosen reading of
// a text file read in a binary mode.
LineAccount everyLineUnread(const InputText& input) {
    LineAccount none;
    InputFile file(input);
    for (std::string line; readLine(file, line);) none.line(line, LineRead::No);
    return none;
}

}  // namespace

ReadingVerdict judgeTextReading(const GraphReading& reading, const InputText& input, int mode) {
    const LineAccount& a = reading.account;
    using Kind = ReadingVerdict::Kind;
    ReadingVerdict verdict;
    const std::string file = "Graph file " + input.path();
    // A binary graph file may hold bytes 13 and no byte 10: it is named as
    // one below, not as text of carriage returns.
    if (carriageReturnsOnly(input) && !(holdsNul(input) && exactBinaryMode(input) >= 0)) {
        verdict.say(Kind::NothingRead, file + ": its lines end with a carriage return alone, read in reader mode " +
                                           std::to_string(mode) + " as one line; end them with line feeds");
        return verdict;
    }
    if (holdsNul(input)) {
        // Bytes no text file holds: whatever its lines made of it, a file
        // that fills the words of a binary graph file exactly is one.
        const int binary = exactBinaryMode(input);
        if (binary >= 0) {
            verdict.otherMode = binary;
            if (a.read() == 0)
                verdict.say(Kind::NothingRead, file + ": no line reads in reader mode " + std::to_string(mode) +
                                                   "; it looks like " + syntaxName(binary));
            else
                verdict.say(Kind::Refused,
                            file + ": it holds bytes no text file holds (byte 0); it looks like " + syntaxName(binary));
            return verdict;
        }
    }
    if (a.uncredited() == 0 && a.missingVertexLines == 0) {
        // Every line reads: what the header announces and the file lacks is
        // told, nothing is judged.
        if (a.missingArcs > 0) verdict.say(Kind::Warned, file + ": " + shortfall(a, mode, 0, 0, true));
        return verdict;
    }

    const Evidence evidence = weighOtherSyntaxes(input, reading.fileLines, mode, a);
    const Trial& named = evidence.refusal;
    const bool nothing = a.read() == 0 && a.notRead() > 0;
    const bool refused = !a.startFault.empty() || nothing || mostNotRead(a) || named.better || named.explains;
    if (!refused) {
        verdict.otherMode = evidence.warning.mode;
        if (verdict.otherMode >= 0) {
            // Another syntax reads most of what this mode does not read
            // well: the lines read only leniently are counted too.
            verdict.say(Kind::Warned, file + ": " + shortfall(a, mode, a.uncredited(), a.firstUncredited(), true) +
                                          "; it looks like " + syntaxName(verdict.otherMode));
        } else if (a.notRead() > 0 || a.missingVertexLines > 0 || a.missingArcs > 0) {
            // Lines read only leniently are taken: nothing to tell of them.
            verdict.say(Kind::Warned, file + ": " + shortfall(a, mode, a.notRead(), a.firstNotRead(), true));
        }
        return verdict;
    }
    verdict.otherMode = named.mode;
    const Kind kind = nothing ? Kind::NothingRead : Kind::Refused;
    const std::string hint = named.mode >= 0 ? "; it looks like " + syntaxName(named.mode) : "";
    // Where another syntax is named, the line counts what does not read in
    // this mode; otherwise it says why the file is not used.
    if (nothing && a.missingVertexLines == 0 && (named.mode >= 0 || a.startFault.empty()))
        verdict.say(kind, file + ": no line reads in reader mode " + std::to_string(mode) + hint);
    else if (named.mode >= 0)
        verdict.say(kind, file + ": " + shortfall(a, mode, a.uncredited(), a.firstUncredited(), false) + hint);
    else if (!a.startFault.empty())
        verdict.say(kind, file + " is not used: " + a.startFault + " (reader mode " + std::to_string(mode) + ")");
    else
        verdict.say(kind, file + " is not used: most of it does not read in reader mode " + std::to_string(mode) +
                              ": " + mostShortfall(a));
    return verdict;
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
        for (long long k = 0; k < arcs; ++k) {
            long long target = 0;
            if (!word(target) || (labelled && !word(value))) {
                layout.inArcs = true;
                return stop(v);
            }
            if (target >= layout.vertices) ++layout.arcsToNoVertex;
        }
    }
    layout.endByte = at;
    layout.trailing = size - at;
    return layout;
}

ReadingVerdict judgeBinaryReading(const InputText& input, int mode) {
    using Kind = ReadingVerdict::Kind;
    ReadingVerdict verdict;
    const std::string file = "Graph file " + input.path();
    const std::string reading = "reader mode " + std::to_string(mode);
    if (input.size() > 0 && !holdsNul(input) && std::memchr(input.begin(), '\n', input.size()) != nullptr) {
        // Lines and no byte 0: a text file (the words of a binary graph file
        // hold small counts, whose high byte is 0).
        const int lines = contentLineCount(input);
        verdict.otherMode = weighOtherSyntaxes(input, lines, mode, everyLineUnread(input)).refusal.mode;
        verdict.say(Kind::Refused, file + ": it is a text file, not a binary graph file (" + reading +
                                       " reads 16-bit words)" +
                                       (verdict.otherMode >= 0 ? "; it looks like " + syntaxName(verdict.otherMode)
                                                               : std::string()));
        return verdict;
    }
    const BinaryLayout layout = binaryLayout(input.begin(), input.end(), mode == 2);
    if (!layout.complete) {
        // Cut inside the arcs of the last vertex, every vertex has its arc
        // count: a fault of the file, the arcs read stand. Cut before, the
        // vertices after the cut have no arcs at all: nothing to work on.
        const bool lastArcsOnly = layout.inArcs && layout.stoppedAt == layout.vertices - 1;
        // ... unless the other binary mode reads every word: a file of that
        // mode, refused wherever its words end in this one.
        const int other = exactBinaryMode(input);
        if (other >= 0 && other != mode) verdict.otherMode = other;
        const bool refused = !lastArcsOnly || verdict.otherMode >= 0;
        std::string line = file + ": its 16-bit words end at byte " + std::to_string(layout.endByte);
        const std::string of = " of the " + std::to_string(layout.vertices) + " it announces";
        if (layout.stoppedAt < 0)
            line += ", before its vertex count";
        else if (layout.inAttributes)
            line += ", before vertex " + std::to_string(layout.stoppedAt) + of + " has its attribute";
        else if (layout.inArcs)
            line += ", inside the arcs of vertex " + std::to_string(layout.stoppedAt) + of +
                    (refused ? "" : ", its last; the arcs before are read");
        else
            line += ", before vertex " + std::to_string(layout.stoppedAt) + of + " has its arc count";
        line += " (" + reading + ")";
        if (verdict.otherMode >= 0) line += "; it looks like " + syntaxName(verdict.otherMode);
        verdict.say(refused ? Kind::Refused : Kind::Warned, line);
    } else if (layout.trailing > 0) {
        // Bytes left over: a fault of the file, unless the other binary mode
        // reads every word of it (then it is a file of that mode).
        std::string line = file + ": " + std::to_string(layout.trailing) + " byte" +
                           (layout.trailing == 1 ? "" : "s") + " after the arcs of its last vertex not read (" +
                           reading + ")";
        const int other = exactBinaryMode(input);
        const bool refused = other >= 0 && other != mode;
        if (refused) {
            verdict.otherMode = other;
            line += "; it looks like " + syntaxName(other);
        }
        verdict.say(refused ? Kind::Refused : Kind::Warned, line);
    }
    // An arc to a vertex the file does not hold is a fault of the file,
    // counted as the text readers count theirs (the arc is not made).
    if (verdict.usable() && layout.arcsToNoVertex > 0)
        verdict.say(Kind::Warned, file + ": " + std::to_string(layout.arcsToNoVertex) +
                                      (layout.arcsToNoVertex == 1 ? " arc names" : " arcs name") +
                                      " a vertex the file does not hold (" + reading + ")");
    return verdict;
}

}  // namespace graphmat

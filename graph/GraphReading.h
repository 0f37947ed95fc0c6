// One reading of a graph file as a value: how it is read, how each line
// read, and the verdict of the judgement (graph/ReaderModeJudgement.h) on
// whether the file can be worked on, with what the verdict says. The
// verdict is told in one place (tellVerdict), as soon as the file is read,
// and a program that cannot use a graph says how to read it in its own
// words (graphUsable).
#pragma once

#include <climits>
#include <iostream>
#include <string>
#include <vector>

#include "graph/LineAccount.h"

namespace graphmat {

class Graph;

// What the judgement of a reading concluded.
struct ReadingVerdict {
    enum class Kind {
        Used,         // nothing to tell
        Warned,       // the file runs; its lines count what it lacks
        NothingRead,  // not one line reads (beside a header): nothing to work on
        Refused,      // read in a mode of another syntax, or too damaged to work on
    };
    Kind kind = Kind::Used;
    // The reader mode of the other syntax the verdict names: for a refusal,
    // the one that reads the file as the kind of file it is; for a warning,
    // the one that reads most of what the chosen mode does not read well.
    // -1 when none.
    int otherMode = -1;
    // What the verdict says on standard error, one text a line, each naming
    // the graph file (or the graph text).
    std::vector<std::string> lines;

    bool usable() const { return kind == Kind::Used || kind == Kind::Warned; }
    bool nothingRead() const { return kind == Kind::NothingRead; }
    bool refused() const { return kind == Kind::Refused; }
    // A verdict that tells `line` (a warning or a refusal).
    void say(Kind how, const std::string& line) {
        kind = how;
        lines.push_back(line);
    }
};

// One reading of a graph file.
struct GraphReading {
    // How it is read: where the readers write their trace lines (the
    // console, or nowhere for a trial reading); the most vertices a
    // header's count may make (a trial reading sizes its graph by the
    // file's lines with content, not by what its header announces); the
    // file's lines with content (blank lines aside): a plain graph file
    // whose header announces more than twice as many vertex lines as that
    // is refused before any table of the header's size is made.
    std::ostream* trace = &std::cout;
    int vertexLimit = INT_MAX;
    int fileLines = INT_MAX;

    // What came of it.
    bool opened = false;      // the graph file opened
    std::string openFailure;  // why it did not, as the system says it
    LineAccount account;      // how each line of the file read
    ReadingVerdict verdict;
};

// Tells the verdict's lines on `out`: the one place where a reading's
// verdict is written.
void tellVerdict(const ReadingVerdict& verdict, std::ostream& out);

// How a program chooses the reader mode of its graph files: a switch -h,
// an argument (graphgen's MODE), or one fixed mode.
enum class ModeChoice { Switch, Argument, Fixed };

// True when the graph read from `path` in reader `mode` can be worked on.
// A file that did not open is named on standard error (a graph text, mode 7,
// is no file); one that its reading refused was named by its verdict, and
// where another mode reads it, a line says how to read it in the words of
// the program: "read it with -h N", "read it in reader mode N", or for a
// program of one fixed mode (`program`, e.g. "evaluate") which kind of file
// it reads and how to convert a model graph file.
bool graphUsable(const Graph& g, int mode, const std::string& path, ModeChoice choice = ModeChoice::Switch,
                 const std::string& program = "");

}  // namespace graphmat

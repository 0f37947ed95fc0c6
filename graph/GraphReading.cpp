// Verdicts of readings: told once, where the file is read, and the advice
// of a program that cannot use a graph.
#include "graph/GraphReading.h"

#include "graph/Graph.h"
#include "graph/InputFiles.h"
#include "graph/ReaderModeJudgement.h"

namespace graphmat {

void tellVerdict(const ReadingVerdict& verdict, std::ostream& out) {
    for (const std::string& line : verdict.lines) out << line << std::endl;
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
        case ModeChoice::Switch: return "read it with -h " + modesOfSyntax(g.reading.verdict.otherMode);
        case ModeChoice::Argument: return "read it in reader mode " + modesOfSyntax(g.reading.verdict.otherMode);
        case ModeChoice::Fixed: break;
    }
    std::string text = program + " reads " + filesOfMode(mode);
    if (syntaxOf(mode) == 4 && g.reading.verdict.otherMode == 12)
        text += "; convert a model graph file with awk -f tools/model-to-class-diagram.awk " + path +
                " > CLASS_DIAGRAM.txt";
    return text;
}

}  // namespace

bool graphUsable(const Graph& g, int mode, const std::string& path, ModeChoice choice, const std::string& program) {
    const GraphReading& reading = g.reading;
    if (mode != 7 && !reading.opened) {
        reportMissingInput(path, reading.openFailure);
        return false;
    }
    if (reading.verdict.usable()) return true;
    if (reading.verdict.otherMode >= 0)
        std::cerr << "Graph file " << path << " is not used: " << advice(g, mode, path, choice, program) << std::endl;
    return false;
}

}  // namespace graphmat

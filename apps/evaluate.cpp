// evaluate: scores a match result file against its gold file and appends
// one line to ./eval_results.csv.
//   evaluate RESULT_FILE DATASET
// RESULT_FILE is the file's name inside ./results/ (a run name + ".csv");
// the class diagrams are ./datasets/DATASET/<graph name>.txt.
#include <iostream>
#include <string>

#include "graph/CommandLine.h"
#include "graph/OutputFiles.h"
#include "graph/OutputFolders.h"
#include "matching/Match.h"

namespace {

// The text of --help.
const char* const HELP = R"(evaluate: scores a match result file against a gold file of the correct pairs.

Usage: evaluate RESULT_FILE DATASET
  RESULT_FILE  the match result file's name inside ./results/, a run name +
               ".csv": G1__G2__dwn__dwe__ew__asy__lw__seed.csv
  DATASET      the folder under ./datasets/ that holds the two class diagram
               files G1.txt and G2.txt (read in reader mode 4)
The gold file is ./results/_G1__G2.csv, lines x_name,y_name,y|n. A pair of
equal labels counts as correct unless the gold file rejects it.
evaluate cannot score a pair made by graphgen: it reads class diagram files
under ./datasets/DATASET/; graphgen writes plain graph files (whose labels
1..nl repeat). docs/USAGE.md, section "Scoring a generated pair", shows how
to score such a pair against its known matching.

Results: one line of 26 values appended to ./eval_results.csv (precision,
recall and F1 last).
Exit status: 0 when the line was appended; 1 for a usage error, a file name
that is no run name or a class diagram that does not open; 2 when
./eval_results.csv cannot be written.
Documentation: docs/USAGE.md, section "evaluate: score a match result file against a gold file".
)";

int run(int argc, char** argv) {
    if (graphmat::asksForHelp(argc, argv)) return graphmat::printHelp(HELP);
    // A usage error: the usage lines, then one line that names it.
    auto usage = [](const std::string& fault) {
        std::cerr << "Usage: evaluate RESULT_FILE DATASET\n"
                  << "  RESULT_FILE  match result file name inside ./results/\n"
                  << "  DATASET      folder under ./datasets/ holding the two class diagrams" << std::endl;
        graphmat::reportUsageFault("evaluate", fault, "describes both arguments");
        return 1;
    };
    if (argc != 3)
        return usage("Two arguments are needed, RESULT_FILE and DATASET: " + std::to_string(argc - 1) + " given");
    const std::string file = argv[1];
    if (!graphmat::Match::namesMatchResultFile(file)) {
        std::string fault = "\"" + file + "\", the first argument, is not a match result file name (graph 1__graph"
                            " 2__five cost weights__seed.csv): the arguments are RESULT_FILE DATASET, in this order";
        if (graphmat::Match::namesMatchResultFile(argv[2]))
            fault += std::string("; \"") + argv[2] + "\", the second, is one: swap the two";
        return usage(fault);
    }
    if (!graphmat::outputFoldersReady({"./eval_results.csv"})) return 2;
    const bool appended = graphmat::Match::evalSolution(argv[1], argv[2]);
    std::cout.flush();
    if (graphmat::outputFailed()) return 2;
    return appended ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) { return graphmat::runEntryPoint(run, argc, argv); }

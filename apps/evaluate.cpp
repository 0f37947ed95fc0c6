// evaluate: scores a match result file against its gold file and appends
// one line to ./eval_results.csv.
//   evaluate RESULT_FILE DATASET
// RESULT_FILE is the file's name inside ./results/ (a run name + ".csv");
// the class diagrams are ./datasets/DATASET/<graph name>.txt.
#include <iostream>

#include "graph/CommandLine.h"
#include "graph/platform.h"
#include "matching/Match.h"

namespace {

int run(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "Usage: evaluate RESULT_FILE DATASET\n"
                  << "  RESULT_FILE  match result file name inside ./results/\n"
                  << "  DATASET      folder under ./datasets/ holding the two class diagrams" << std::endl;
        return 1;
    }
    const bool appended = graphmat::Match::evalSolution(argv[1], argv[2]);
    std::cout.flush();
    if (graphmat::outputFailed()) return 2;
    return appended ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) { return graphmat::runEntryPoint(run, argc, argv); }

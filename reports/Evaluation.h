// Scoring a match result file against a gold file of correct pairs.
#pragma once

#include <string>

namespace graphmat {

// The work of Match::evalSolution with the class diagrams read in reader
// mode `readerMode` (Match::evalSolution reads them in mode 4): scores the
// match result file ./results/`file` against its gold file and appends the
// line of 26 values to ./eval_results.csv. False, with a message on standard
// error, when no line was appended: a file name that is no run name, a class
// diagram that does not open, or a results file that cannot be written.
bool evaluateMatchFile(const std::string& file, const std::string& dataset, int readerMode);

}  // namespace graphmat

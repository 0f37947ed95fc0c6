// A working folder that holds an input of every kind for every program, and
// the means to compare two runs of a program on it: the inputs of
// InputFilesTest (devices, endless lines, pipes, byte-order marks) and of
// ResultFilesTest (result files that cannot be written, earlier results
// kept when an input is refused).
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "support/TestSupport.h"

namespace graphmat::test {

// The end of every run name of a run with kWeights and the default seed
// (inline: the tables of cases of other files are made from it before main).
inline const std::string kRunName = "__1__0.5__1__1__0__1.csv";
// -d 1 -g 0.5 -e 1 -y 1
inline const std::vector<std::string> kWeights = {"-d", "1", "-g", "0.5", "-e", "1", "-y", "1"};
// The arguments with kWeights in front.
std::vector<std::string> weighted(std::vector<std::string> args);

// Every input kind of every program, in the working folder: two plain graph
// files gA.csv and gB.csv with the known matching of their pair, two
// class diagram files lib1.txt and lib2.txt with a UML difference listing of
// the pair, two edge list graph files e1.csv and e2.csv, a model graph file,
// a sequence diagram, a state machine and a named edge list, the evaluation
// folders (old.csv, new.csv and the edit-path log log.txt beside them), the
// example series with its list series.txt, and two class diagram files in
// cd/ with the copies that reduce reads; the folders graphs/ and logs/.
void layInputs();

// Makes the input `link` (when one is named) a link to `target`.
void linkInput(const std::string& link, const std::string& target);

// A program run under a bound of its address space (in kilobytes), so that
// a run that reads a device or an endless line fails instead of taking the
// machine's memory; `before` is shell text run first (a pipe's writer). The
// sanitizers reserve far more address space than any bound allows: their
// builds run without one. A run still going after `killAfterSeconds` is
// killed (status -1).
RunResult runBounded(long kilobytes, const std::string& program, const std::vector<std::string>& args,
                     const std::string& before = "", unsigned killAfterSeconds = 60);

// Every regular file under the working folder with its content.
std::map<std::string, std::string> filesHere();
// The names of the files that differ between two runs, or that only one
// of them has.
std::set<std::string> differingFiles(const std::map<std::string, std::string>& a,
                                     const std::map<std::string, std::string>& b);

// What a run leaves: its status, its console and every file of the working
// folder (with the time of the row of mces masked), `input` left out.
struct RunTrace {
    RunResult result;
    std::map<std::string, std::string> files;
};
RunTrace traceOf(const RunResult& result, const std::string& input = "");

// The run on a changed input left what the run on the plain input left:
// status, console output (times aside), standard error and every file.
void expectSameRun(const RunTrace& changed, const RunTrace& plain, const std::string& what);

}  // namespace graphmat::test

// The command lines of the generators: each reads the words that follow
// its name, checks every parameter before anything is drawn or written,
// and builds its output. Status: 0 after a written output, 1 for a bad
// command line (a message naming the parameter, then the usage lines on
// standard error), 2 when an output file could not be written.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace graphmat {

// Parameters are read with readWholeNumber and parseSwitchValue
// (graph/CommandLine.h).

// graphgen pair n e q nl nld el eld pd pi filename seed undirected
void pairUsage(std::ostream& out);
int pairCommand(const std::vector<std::string>& words);

// graphgen noise k v epsilon seed
void noiseUsage(std::ostream& out);
int noiseCommand(const std::vector<std::string>& words);

// graphgen mutate mode graph delNodes addNodes edgeNoise nodeMode seed output log
void mutateUsage(std::ostream& out);
int mutateCommand(const std::vector<std::string>& words);

// graphgen shuffle mode graph seed output
void shuffleUsage(std::ostream& out);
int shuffleCommand(const std::vector<std::string>& words);

}  // namespace graphmat

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

// Reads a whole word as an int within [low, high]; false (value unchanged)
// for text that is no whole number or one outside the range.
bool readWholeNumber(const std::string& word, long low, long high, int& value);
// Reads a whole word as a finite number; false for anything else.
bool readFiniteNumber(const std::string& word, double& value);

// graphgen pair n e q nl nld el eld pd pi filename seed undirected
void pairUsage(std::ostream& out);
int pairCommand(const std::vector<std::string>& words);

}  // namespace graphmat

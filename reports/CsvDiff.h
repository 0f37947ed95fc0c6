// The diagram difference report: the renamings of an earlier matching run
// (its raw entity lists and raw pair list) against those of reference
// listings in the same shapes, over the entities both sources know.
#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>

namespace graphmat {

// Reads the six files and writes filename12 + "_diff.csv": the difference
// keys common to both pairings, those of the run only, those of the
// reference only. A file that does not open is named on standard error and
// read as empty.
void csvDiff(std::string filename1, std::string filename2, std::string _filename1, std::string _filename2,
             std::string filename12, std::string _filename12);

// The names of entity list `filename` that entity list `_filename` names too.
std::unique_ptr<std::set<std::string>> getDiagramsIntersection(std::string filename, std::string _filename);

// One entry graph-1 name -> graph-2 name per line of pair list `filename`.
std::unique_ptr<std::multimap<std::string, std::string>> readMatchFile(std::string filename);

}  // namespace graphmat

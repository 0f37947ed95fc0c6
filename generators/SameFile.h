// Whether the files a command reads and writes are distinct: two outputs
// that are one file would leave only the one written last, and an output
// that is the input would overwrite it before or while it is read.
#pragma once

#include <string>
#include <vector>

namespace graphmat {

// True when the two paths name one file: the same path spelled otherwise
// ("./a", "d/../a"), a symbolic link and its target (also a target that does
// not exist yet, which writing through the link would create), or two hard
// links of one file.
bool sameFile(const std::string& a, const std::string& b);

// A file of a command and what it is to the command ("output", "log",
// "the node table").
struct RoleAndPath {
    std::string role;
    std::string path;
};

// The first two files that are one, as "ROLE PATH and ROLE PATH are the same
// file": two outputs, or an output and an input (inputs are not compared
// with each other). Empty when every output is a file of its own.
std::string coincidingFiles(const std::vector<RoleAndPath>& inputs, const std::vector<RoleAndPath>& outputs);

}  // namespace graphmat

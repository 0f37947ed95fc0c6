// The folders a program writes into, checked once the command line is read:
// the programs create no folders, so a folder that is missing or cannot be
// written ends the run before any long work, named with the way to make it.
#pragma once

#include <string>
#include <vector>

namespace graphmat {

// Checks the folder of each path (a folder path ending with "/" stands for
// itself), each once and in order, naming on standard error every one that
// cannot take new files: "Folder ./results/ is missing: make it with mkdir
// -p results", or "Folder ./results/ cannot be written: REASON" (for the
// current folder: "Folder ./ (the current folder) ..."). Creates nothing.
// True when every folder can take new files; false when one cannot, and the
// caller then ends the run with status 2.
bool outputFoldersReady(const std::vector<std::string>& paths);

}  // namespace graphmat

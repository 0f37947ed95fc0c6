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

// Checks that each file can be opened for writing (whyUnwritable: an existing
// folder, a named pipe without a reader, a file or folder without the right
// to write it), naming every one that cannot on standard error ("Cannot
// write PATH: REASON"). True when all can; the caller then ends the run with
// status 2 before it writes anything. Looks only: creates and empties
// nothing.
bool outputFilesReady(const std::vector<std::string>& paths);

}  // namespace graphmat

// The folders a program writes into, checked once the command line is read:
// the programs create no folders, so a folder that is missing or cannot be
// written ends the run before any long work, named with the way to make it.
#pragma once

#include <string>
#include <vector>

namespace graphmat {

// The folder that `path` is written into, as the path names it: everything
// up to its last "/" ("./results/" for "./results/a.csv", "out/" for
// "out/m.csv", a folder "./results/" for itself), or "./" when it names no
// folder ("a.csv").
std::string folderOf(const std::string& path);

// Why `folder` cannot take new files, one line without a line feed, or empty
// when it can. Missing: "Folder ./results/ is missing: make it with mkdir -p
// results"; there but not writable (or no folder): "Folder ./results/ cannot
// be written: Permission denied" ("Folder ./ (the current folder) ..." for
// the current folder). Looks only: creates nothing.
std::string folderRefusal(const std::string& folder);

// Checks the folder of each path (a folder path ending with "/" stands for
// itself), each once and in order, naming every one that cannot take new
// files on standard error. True when all can; the caller then ends the run
// with status 2.
bool outputFoldersReady(const std::vector<std::string>& paths);

// Checks that each file can be opened for writing (whyUnwritable: an existing
// folder, a named pipe without a reader, a file or folder without the right
// to write it), naming every one that cannot on standard error ("Cannot
// write PATH: REASON"). True when all can; the caller then ends the run with
// status 2 before it writes anything. Looks only: creates and empties
// nothing.
bool outputFilesReady(const std::vector<std::string>& paths);

}  // namespace graphmat

#include "graph/OutputFolders.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <iostream>

#include "graph/OutputFiles.h"

namespace graphmat {

namespace {

// The folder as a shell word for mkdir: without its leading "./" and its
// trailing "/", quoted when it holds a character a shell would read.
std::string mkdirWord(const std::string& folder) {
    std::string word = folder;
    while (word.size() > 2 && word.compare(0, 2, "./") == 0) word.erase(0, 2);
    while (word.size() > 1 && word.back() == '/') word.pop_back();
    const bool plain = std::all_of(word.begin(), word.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || std::strchr("/._-+,:@%=", c) != nullptr;
    });
    if (plain) return word;
    std::string quoted = "'";
    for (char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// The folder that `path` is written into, as the path names it: everything
// up to its last "/" ("./results/" for "./results/a.csv", "out/" for
// "out/m.csv", a folder "./results/" for itself), or "./" when it names no
// folder ("a.csv").
std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "./" : path.substr(0, slash + 1);
}

// Why `folder` cannot take new files, one line without a line feed, or empty
// when it can. Looks only: creates nothing.
std::string folderRefusal(const std::string& folder) {
    const std::string name = "Folder " + folder + (folder == "./" ? " (the current folder)" : "");
    // Looked at without its trailing "/", so that a file of that name is
    // seen as a file.
    std::string path = folder;
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    struct stat status {};
    if (stat(path.c_str(), &status) != 0) {
        if (errno == ENOENT) return name + " is missing: make it with mkdir -p " + mkdirWord(folder);
        return name + " cannot be written: " + std::strerror(errno);
    }
    if (!S_ISDIR(status.st_mode)) return name + " cannot be written: it is not a folder";
    // Writing a new file needs the right to write the folder and to pass it.
    if (access(path.c_str(), W_OK | X_OK) != 0) return name + " cannot be written: " + std::strerror(errno);
    return "";
}

}  // namespace

bool outputFoldersReady(const std::vector<std::string>& paths) {
    std::vector<std::string> checked;
    bool ready = true;
    for (const std::string& path : paths) {
        const std::string folder = folderOf(path);
        if (std::find(checked.begin(), checked.end(), folder) != checked.end()) continue;
        checked.push_back(folder);
        const std::string refusal = folderRefusal(folder);
        if (refusal.empty()) continue;
        std::cerr << refusal << "\n";
        ready = false;
    }
    return ready;
}

bool outputFilesReady(const std::vector<std::string>& paths) {
    bool ready = true;
    for (const std::string& path : paths) {
        const std::string reason = whyUnwritable(path);
        if (reason.empty()) continue;
        std::cerr << "Cannot write " << path << ": " << reason << "\n";
        ready = false;
    }
    return ready;
}

}  // namespace graphmat

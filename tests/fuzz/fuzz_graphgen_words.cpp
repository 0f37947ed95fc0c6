// graphgen's command words and parameters: the input cut at the first NUL
// byte into the command line (words separated by blanks, tabs and line
// ends; the first names the generator) and the content of the file "g.txt"
// that a mutate or shuffle command line may name. Paths are kept inside the
// work folder: a leading "/" is dropped and ".." becomes "__". A noise pair
// of more than 60 vertices is skipped (the same code as a small one, many
// times slower).
#include <climits>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "generators/GeneratorCommands.h"
#include "graph/CapacityChecks.h"
#include "graph/CommandLine.h"

namespace {

std::string localPath(std::string word) {
    while (!word.empty() && word[0] == '/') word.erase(0, 1);
    for (std::size_t at = word.find(".."); at != std::string::npos; at = word.find("..", at)) word.replace(at, 2, "__");
    return word;
}

std::vector<std::string> commandWords(const std::string& line) {
    std::vector<std::string> words;
    std::string word;
    for (char c : line + " ") {
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r') {
            if (!word.empty()) words.push_back(localPath(word));
            word.clear();
        } else {
            word.push_back(c);
        }
    }
    return words;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    graphmat::fuzz::quietHarness();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    graphmat::fuzz::WorkFolder work({"logs", "benchmark", "datasets/random"});
    const std::vector<std::string> parts = graphmat::fuzz::splitInput(data, size, 2);
    std::vector<std::string> words = commandWords(parts[0]);
    if (words.empty()) return 0;
    std::string graph = parts[1];
    for (std::size_t k = 2; k < parts.size(); ++k) graph += '\0' + parts[k];  // NUL bytes after the first belong to it
    graphmat::fuzz::writeInput("g.txt", graph);

    const std::string generator = words[0];
    words.erase(words.begin());
    int vertices = 0;
    if (generator == "noise" && words.size() > 1 && graphmat::readWholeNumber(words[1], INT_MIN, INT_MAX, vertices) &&
        vertices > 60)
        return 0;
    try {
        if (generator == "pair") graphmat::pairCommand(words);
        else if (generator == "noise") graphmat::noiseCommand(words);
        else if (generator == "mutate") graphmat::mutateCommand(words);
        else if (generator == "shuffle") graphmat::shuffleCommand(words);
    } catch (const graphmat::MemoryLimitError&) {
        // A count too large for the machine is refused: the expected end.
    }
    return 0;
}

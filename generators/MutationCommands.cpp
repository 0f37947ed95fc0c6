// The command lines of the noisy pair, the mutation and the renumbered
// copy: noise, mutate and shuffle.
#include <climits>
#include <iostream>
#include <memory>
#include <stdexcept>

#include "generators/GeneratorCommands.h"
#include "generators/GraphMutation.h"
#include "generators/GraphNoise.h"
#include "generators/SameFile.h"
#include "graph/Graph.h"
#include "graph/CommandLine.h"
#include "graph/InputFiles.h"
#include "graph/OutputFiles.h"
#include "graph/OutputFolders.h"
#include "graph/Random.h"

namespace graphmat {

namespace {

// Largest vertex count of a noisy pair: the pair draws every ordered vertex
// pair of both graphs and keeps two marks per pair.
constexpr int MAX_NOISE_VERTICES = 1000;

auto refuser(const char* word, void (*usage)(std::ostream&)) {
    return [word, usage](const std::string& message) {
        std::cerr << "graphgen " << word << ": " << message << "\n";
        usage(std::cerr);
        return 1;
    };
}

// Reads the graph to mutate or shuffle (in reader mode 7 the word is the
// graph text); null (after a line on standard error) when its file does not
// open, nothing of it reads or it was read in a wrong mode.
std::unique_ptr<Graph> readInput(int mode, const std::string& path) {
    auto g = std::make_unique<Graph>(mode, path);
    std::cout << "\n";
    return graphUsable(*g, mode, path, ModeChoice::Argument) ? std::move(g) : nullptr;
}

// The graph file as an input of the command; none in reader mode 7, where
// the word is the graph text itself.
std::vector<RoleAndPath> inputFile(int mode, const std::string& word) {
    if (mode == 7) return {};
    return {{"graph", word}};
}

bool readWhole(const std::string& word, int& value) { return readWholeNumber(word, INT_MIN, INT_MAX, value); }

}  // namespace

void noiseUsage(std::ostream& out) {
    out << "Usage: graphgen noise k v epsilon seed\n"
           "  a random labelled graph and a noisy renumbered copy with their edit-path log:\n"
           "  ./benchmark/original_k.txt, ./benchmark/noisy_k.txt, ./benchmark/log_k.txt\n"
           "  k        number of the pair in the file names\n"
           "  v        number of vertices of both graphs (1 to 1000)\n"
           "  epsilon  noise amplitude: labels move by 0 to 2 x |epsilon| (down for a positive\n"
           "           epsilon, up for a negative one), within 0..100\n"
           "  seed     seed of the random generator\n";
}

int noiseCommand(const std::vector<std::string>& words) {
    const auto refuse = refuser("noise", noiseUsage);
    if (words.size() != 4) return refuse("expected 4 parameters, got " + std::to_string(words.size()));
    int k = 0, v = 0, epsilon = 0, seed = 0;
    const char* names[4] = {"k", "v", "epsilon", "seed"};
    int* values[4] = {&k, &v, &epsilon, &seed};
    for (int i = 0; i < 4; ++i)
        if (!readWhole(words[i], *values[i]))
            return refuse(wholeNumberRefusal(names[i], words[i]));
    if (v < 1 || v > MAX_NOISE_VERTICES) return refuse("v must lie between 1 and 1000");
    const std::vector<std::string> files = GraphNoise::outputFiles(k);
    const std::string clash =
        coincidingFiles({}, {{"original", files[0]}, {"noisy copy", files[1]}, {"log", files[2]}});
    if (!clash.empty()) return refuse(clash);
    if (!outputFoldersReady(files) || !outputFilesReady(files)) return 2;

    srand15(static_cast<unsigned>(seed));
    GraphNoise pair(k, v, epsilon);
    std::cout.flush();
    return outputFailed() ? 2 : 0;
}

void mutateUsage(std::ostream& out) {
    out << "Usage: graphgen mutate mode graph delNodes addNodes edgeNoise nodeMode seed output log\n"
           "  a mutated copy of a graph with its edit-path log and its node table\n"
           "  (./logs/log_mutation.csv):\n"
           "  mode       reader mode of the graph file (0 to 12)\n"
           "  graph      the graph file\n"
           "  delNodes   probability that a vertex is deleted (0 to 1)\n"
           "  addNodes   probability that a vertex is added, per vertex (0 to 1)\n"
           "  edgeNoise  probability that a vertex pair is touched (0 to 1)\n"
           "  nodeMode   1: a deletion and an addition draw per vertex; 0: the token mode\n"
           "             (additions, deletions, merges and splits paid from a budget)\n"
           "  seed       seed of the random generator\n"
           "  output     the mutated graph, written as a plain graph file (reader mode 0)\n"
           "  log        the edit-path log\n";
}

int mutateCommand(const std::vector<std::string>& words) {
    const auto refuse = refuser("mutate", mutateUsage);
    if (words.size() != 9) return refuse("expected 9 parameters, got " + std::to_string(words.size()));
    int mode = 0, nodeMode = 1, seed = 0;
    if (!readWholeNumber(words[0], 0, 12, mode)) return refuse("mode must be a reader mode 0 to 12, not '" + words[0] + "'");
    if (words[1].empty()) return refuse("graph must not be empty");
    double probabilities[3] = {0, 0, 0};
    const char* names[3] = {"delNodes", "addNodes", "edgeNoise"};
    for (int i = 0; i < 3; ++i) {
        if (!parseSwitchValue(words[2 + i], probabilities[i]))
            return refuse(std::string(names[i]) + " must be a finite number, not '" + words[2 + i] + "'");
        if (probabilities[i] < 0 || probabilities[i] > 1) return refuse(std::string(names[i]) + " must lie between 0 and 1");
    }
    if (!readWholeNumber(words[5], 0, 1, nodeMode)) return refuse("nodeMode must be 0 or 1, not '" + words[5] + "'");
    if (!readWhole(words[6], seed)) return refuse(wholeNumberRefusal("seed", words[6]));
    if (words[7].empty() || words[8].empty()) return refuse("output and log must not be empty");
    // The node table and the statistics file go under ./logs/.
    if (!outputFoldersReady({words[7], words[8], "./logs/"})) return 2;

    auto input = readInput(mode, words[1]);
    if (!input) return 1;
    // Reading wrote nothing; the statistics step of the mutation writes the
    // graph's isolated-vertex file first, the outputs come last. All four
    // are checked before any is written.
    const std::string statistics = "./logs/isolated_" + input->name + ".csv";
    const std::string clash = coincidingFiles(inputFile(mode, words[1]), {{"statistics file", statistics},
                                                                          {"output", words[7]},
                                                                          {"log", words[8]},
                                                                          {"node table", GraphMutation::NODE_TABLE}});
    if (!clash.empty()) return refuse(clash);
    if (!outputFilesReady({statistics, words[7], words[8], GraphMutation::NODE_TABLE})) return 2;
    srand15(static_cast<unsigned>(seed));
    std::unique_ptr<GraphMutation> mutation;
    try {
        mutation = std::make_unique<GraphMutation>(input.get(), probabilities[0], probabilities[1], probabilities[2],
                                                   nodeMode);
    } catch (const std::invalid_argument& refused) {
        std::cerr << "graphgen mutate: " << words[1] << ": " << refused.what() << "\n";
        return 1;
    }
    mutation->_new->write(0, words[7]);
    mutation->write(0, words[8]);
    mutation->printNodeTables();
    std::cout.flush();
    return outputFailed() ? 2 : 0;
}

void shuffleUsage(std::ostream& out) {
    out << "Usage: graphgen shuffle mode graph seed output\n"
           "  a copy of a graph under a random renumbering, each vertex labelled with its old number:\n"
           "  mode    reader mode of the graph file (0 to 12)\n"
           "  graph   the graph file\n"
           "  seed    seed of the random generator\n"
           "  output  the copy, written as a plain graph file (reader mode 0)\n";
}

int shuffleCommand(const std::vector<std::string>& words) {
    const auto refuse = refuser("shuffle", shuffleUsage);
    if (words.size() != 4) return refuse("expected 4 parameters, got " + std::to_string(words.size()));
    int mode = 0, seed = 0;
    if (!readWholeNumber(words[0], 0, 12, mode)) return refuse("mode must be a reader mode 0 to 12, not '" + words[0] + "'");
    if (words[1].empty()) return refuse("graph must not be empty");
    if (!readWhole(words[2], seed)) return refuse(wholeNumberRefusal("seed", words[2]));
    if (words[3].empty()) return refuse("output must not be empty");
    if (!outputFoldersReady({words[3]})) return 2;

    auto input = readInput(mode, words[1]);
    if (!input) return 1;
    const std::string clash = coincidingFiles(inputFile(mode, words[1]), {{"output", words[3]}});
    if (!clash.empty()) return refuse(clash);
    if (!outputFilesReady({words[3]})) return 2;
    if (input->V.empty() || input->vertices <= 0) {
        std::cerr << "graphgen shuffle: " << words[1] << ": the graph to shuffle has no vertices\n";
        return 1;
    }
    srand15(static_cast<unsigned>(seed));
    GraphMutation renumbering;
    renumbering.shuffle(input.get())->write(0, words[3]);
    std::cout.flush();
    return outputFailed() ? 2 : 0;
}

}  // namespace graphmat

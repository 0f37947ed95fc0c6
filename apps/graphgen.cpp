// graphgen: the synthetic benchmark generators. The first word names the
// generator, the words after it are its parameters.
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "generators/GeneratorCommands.h"
#include "graph/CapacityChecks.h"
#include "graph/CommandLine.h"

using namespace graphmat;

namespace {

struct Generator {
    const char* word;
    int (*run)(const std::vector<std::string>& parameters);
    void (*usage)(std::ostream& out);
};

// One line per generator.
const Generator generators[] = {
    {"pair", pairCommand, pairUsage},
    {"noise", noiseCommand, noiseUsage},
    {"mutate", mutateCommand, mutateUsage},
    {"shuffle", shuffleCommand, shuffleUsage},
};

// The text of --help: what the program does, then each generator's usage.
std::string help() {
    std::ostringstream text;
    text << "graphgen: generates benchmark graphs whose correspondence is known.\n\n"
            "Usage: graphgen GENERATOR PARAMETER...\n"
            "The first word names the generator (pair, noise, mutate or shuffle), the words\n"
            "after it are its parameters, all required, in this order:\n\n";
    for (const Generator& generator : generators) {
        generator.usage(text);
        text << "\n";
    }
    text << "Results: the files named above (pair: P + A.csv, B.csv and .csv, where P is the\n"
            "filename followed by the parameters, and a line appended to ./bat.txt and\n"
            "./score.txt; noise: under ./benchmark/; mutate: the output, the log and\n"
            "./logs/log_mutation.csv); the folders must exist: without one the run\n"
            "ends before anything is drawn, with status 2.\n"
            "Exit status: 0 when every file was written; 1 for bad parameters or an input\n"
            "that does not open; 2 when a file could not be written.\n"
            "Documentation: docs/USAGE.md, sections\n"
            "  \"graphgen: random graph pairs with a known correspondence\" and\n"
            "  \"graphgen noise, mutate, shuffle: noisy pairs and mutated copies\".\n";
    return text.str();
}

int run(int argc, char** argv) {
    if (asksForHelp(argc, argv)) return printHelp(help());
    setVertexBytes(vertex_bytes::copying);  // mutate and shuffle copy the graph they read
    const std::string word = argc > 1 ? argv[1] : "";
    for (const Generator& generator : generators)
        if (word == generator.word) return generator.run(std::vector<std::string>(argv + 2, argv + argc));

    std::cerr << (word.empty() ? "graphgen: name a generator" : "graphgen: unknown generator '" + word + "'")
              << "\n";
    for (const Generator& generator : generators) generator.usage(std::cerr);
    return 1;
}

}  // namespace

int main(int argc, char** argv) { return runEntryPoint(run, argc, argv); }

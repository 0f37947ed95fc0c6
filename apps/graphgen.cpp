// graphgen: the synthetic benchmark generators. The first word names the
// generator, the words after it are its parameters.
#include <iostream>
#include <string>
#include <vector>

#include "generators/GeneratorCommands.h"

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
};

}  // namespace

int main(int argc, char** argv) {
    const std::string word = argc > 1 ? argv[1] : "";
    for (const Generator& generator : generators)
        if (word == generator.word) return generator.run(std::vector<std::string>(argv + 2, argv + argc));

    std::cerr << (word.empty() ? "graphgen: name a generator" : "graphgen: unknown generator '" + word + "'")
              << "\n";
    for (const Generator& generator : generators) generator.usage(std::cerr);
    return 1;
}

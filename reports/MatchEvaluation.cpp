// Evaluation of a matching against a gold file: same-name pairs are correct
// unless the gold file rejects them, pairs of different names only when it
// confirms them. One line of counts and measures is appended to
// ./eval_results.csv.
#include <fstream>
#include <iostream>
#include <map>

#include "graph/CommandLine.h"
#include "graph/InputFiles.h"
#include "graph/OutputFiles.h"
#include "matching/Match.h"

namespace graphmat {

namespace {

// Pieces of a run name: two graph names, five cost weights, the seed.
constexpr std::size_t RUN_NAME_PIECES = 7;

// Graph-1 number -> graph-2 number, as texts.
using PairTexts = std::map<std::string, std::string>;

// a / b, and 0 when b is 0: a results table must load as numbers.
double ratio(double a, double b) { return b == 0 ? 0 : a / b; }

// The label after its last "."; the whole label when it has none.
std::string simpleName(const std::string& label) {
    const std::size_t dot = label.rfind('.');
    return dot == std::string::npos ? label : label.substr(dot + 1);
}

// Graph-1 classes whose full label is the label of a graph-2 class of the
// same simple name.
int sameNameClasses(const Graph& g1, const Graph& g2) {
    int count = 0;
    if (!g2.classes) return 0;
    for (const auto& v : g1.V) {
        auto [first, last] = g2.classes->equal_range(simpleName(v->label));
        for (auto it = first; it != last; ++it) {
            const int n = it->second;
            if (n >= 0 && n < static_cast<int>(g2.V.size()) && g2.V[n]->label == v->label) {
                ++count;
                break;
            }
        }
    }
    return count;
}

// Reads the "y" (confirm) and "n" (reject a same-name pair) lines of a gold
// file. A line that does not hold what its kind needs is named on standard
// error and skipped.
void readGold(std::istream& in, const std::string& path, PairTexts& confirm, PairTexts& infirm) {
    std::string line;
    for (int number = 1; readLine(in, line); ++number) {
        auto fields = splitString(line, ",");
        if (!fields) continue;  // an empty line
        auto skip = [&](const std::string& why) {
            std::cerr << path << ", line " << number << ": " << why << "; line skipped" << std::endl;
        };
        const std::vector<std::string>& f = *fields;
        if (f.size() < 3 || f[2].empty()) {
            skip("a gold line needs two vertices and a verdict");
            continue;
        }
        const char verdict = f[2][0];
        if (verdict != 'y' && verdict != 'n') continue;
        auto piece1 = splitString(f[0], "_");
        auto piece2 = splitString(f[1], "_");
        if (!piece1 || !piece2) {
            skip("a verdict needs both vertices");
            continue;
        }
        if (verdict == 'y') {
            confirm[(*piece1)[0]] = (*piece2)[0];
            std::cout << "\n C\t" << (*piece1)[0] << ":" << (*piece2)[0];
            continue;
        }
        if (piece1->size() < 2 || piece2->size() < 2) {
            skip("a rejection needs number_name on both sides");
            continue;
        }
        if ((*piece1)[1] == (*piece2)[1]) {
            infirm[(*piece1)[0]] = (*piece2)[0];
            std::cout << "\n I\t" << (*piece1)[0] << ":" << (*piece2)[0];
        }
    }
}

bool holds(const PairTexts& pairs, const std::string& key, const std::string& value) {
    auto it = pairs.find(key);
    return it != pairs.end() && it->second == value;
}

}  // namespace

bool Match::namesMatchResultFile(const std::string& file) {
    auto params = splitString(file, "__");
    return params && params->size() >= RUN_NAME_PIECES;
}

bool Match::evalSolution(std::string file, std::string dataset) {
    auto params = splitString(file, "__");
    if (!namesMatchResultFile(file)) {
        std::cerr << "Cannot evaluate " << file << ": not a match result file name (graph 1__graph 2__"
                  << "five cost weights__seed.csv)" << std::endl;
        return false;
    }
    const std::vector<std::string>& p = *params;
    const std::string path1 = "./datasets/" + dataset + "/" + p[0] + ".txt";
    const std::string path2 = "./datasets/" + dataset + "/" + p[1] + ".txt";
    const std::string goldPath = "./results/_" + p[0] + "__" + p[1] + ".csv";
    const std::string resultPath = "./results/" + file;

    std::cout << "\n" << path1 << "," << path2;
    for (std::size_t k = 2; k <= 6; ++k) std::cout << "," << p[k];

    // Class diagram files: one vertex per class.
    Graph g1(4, path1);
    Graph g2(4, path2);
    bool unread = false;
    for (const auto& [graph, path] : {std::make_pair(&g1, path1), std::make_pair(&g2, path2)})
        if (!graphUsable(*graph, 4, path, ModeChoice::Fixed, "evaluate")) unread = true;
    if (unread) {
        std::cerr << "Nothing appended to ./eval_results.csv" << std::endl;
        // The graphs of graphgen are no class diagram files: a user who
        // lands here with a generated pair learns where its scoring is told.
        std::cerr << "A pair made by graphgen is not scored by evaluate but against its known matching:"
                  << " docs/USAGE.md, section \"Scoring a generated pair\"" << std::endl;
        return false;
    }

    const int same_name_classes = sameNameClasses(g1, g2);
    std::cout << "\nSame Name Classes : " << same_name_classes << "\n";

    PairTexts confirm, infirm;
    std::cout << "\n" << goldPath;
    InputFile gold;
    if (gold.open(goldPath)) {
        std::cout << "\nFile Found\n";
        readGold(gold, goldPath, confirm, infirm);
    } else {
        std::cout << "\n Gold File Not Found\n";
        reportMissingInput(gold.text());
    }
    const double total_good = static_cast<double>(same_name_classes) + static_cast<double>(confirm.size()) -
                              static_cast<double>(infirm.size());

    double matches = 0, same_names = 0, bad_same_names = 0, goodMatches = 0;
    std::cout << "\n" << resultPath;
    InputFile result;
    if (result.open(resultPath)) {
        std::string line;
        while (readLine(result, line)) {
            auto fields = splitString(line, ",");
            if (!fields || fields->size() < 5 || (*fields)[0] != "ns") continue;
            const std::vector<std::string>& f = *fields;
            matches += 1;
            if (f[3] == f[4]) {
                if (holds(infirm, f[1], f[2])) {
                    bad_same_names += 1;
                } else {
                    goodMatches += 1;
                    same_names += 1;
                }
            } else if (holds(confirm, f[1], f[2])) {
                goodMatches += 1;
            }
        }
    } else {
        std::cout << "\n File Not Found\n";
        reportMissingInput(result.text());
    }

    const double all_precision = ratio(goodMatches, matches);
    const double all_recall = ratio(goodMatches, total_good);
    const double all_f1 = ratio(2 * all_precision * all_recall, all_precision + all_recall);
    const double diffN_precision = ratio(goodMatches - same_names, matches - same_names - bad_same_names);
    const double diffN_recall = ratio(goodMatches - same_names, static_cast<double>(confirm.size()));
    const double diffN_f1 = ratio(2 * diffN_precision * diffN_recall, diffN_precision + diffN_recall);

    std::ostringstream text;
    text << "\n" << g1.name << "," << g2.name << "," << g1.V.size() << "," << g1.E.size() << "," << g2.V.size()
         << "," << g2.E.size();
    for (std::size_t k = 2; k <= 6; ++k) text << "," << p[k];
    for (double value : {bad_same_names, same_names, goodMatches, matches, goodMatches - same_names,
                         matches - same_names, total_good})
        text << "," << value;
    text << "," << confirm.size() << "," << infirm.size();
    for (double value : {all_precision, all_recall, all_f1, diffN_precision, diffN_recall, diffN_f1})
        text << "," << value;

    const std::string resultsFile = "./eval_results.csv";
    std::ofstream out;
    const bool opened = openForWriting(out, resultsFile, true);
    std::cout << text.str();
    if (!opened) return false;
    out << text.str();
    return closeWritten(out, resultsFile);
}

}  // namespace graphmat

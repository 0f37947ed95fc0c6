#include "reports/CsvDiff.h"

#include <fstream>
#include <vector>

#include "graph/InputFiles.h"
#include "graph/OutputFiles.h"
#include "graph/stdafx.h"

namespace graphmat {

namespace {

// The names of one line: the line cut at every "\"," and each piece without
// its first character (its opening quote). Only the first `wanted` pieces
// are read; a line with fewer pieces, or whose piece is empty where a name
// is read, gives nothing.
bool namesOfLine(std::string line, std::size_t wanted, std::vector<std::string>& names) {
    while (!line.empty() && line.back() == '\r') line.pop_back();
    auto pieces = splitString(line, "\",");
    if (!pieces || pieces->size() < wanted) return false;
    names.clear();
    for (std::size_t k = 0; k < wanted; ++k) {
        const std::string& piece = (*pieces)[k];
        if (piece.empty()) return false;
        names.push_back(piece.substr(1));
    }
    return true;
}

// Calls `take` with the names of every usable line of the file.
template <class Take>
void readNames(const std::string& path, std::size_t wanted, Take take) {
    InputFile in;
    if (!in.open(path)) {
        reportMissingInput(in.text());
        return;
    }
    std::string line;
    std::vector<std::string> names;
    while (readLine(in, line))
        if (namesOfLine(line, wanted, names)) take(names);
}

std::set<std::string> entityNames(const std::string& path) {
    std::set<std::string> names;
    readNames(path, 1, [&](const std::vector<std::string>& n) { names.insert(n[0]); });
    return names;
}

using Pairs = std::multimap<std::string, std::string>;

// The difference keys of one pairing over the common entities: name1__name2
// per pair of common entities, name1__ for a common graph-1 entity without
// such a partner, __name2 for a common graph-2 entity that no common graph-1
// entity names.
std::set<std::string> differenceKeys(const Pairs& pairs, const std::set<std::string>& diagram1,
                                     const std::set<std::string>& diagram2) {
    Pairs inverse;
    for (const auto& [name1, name2] : pairs) inverse.emplace(name2, name1);
    std::set<std::string> keys;
    for (const std::string& e : diagram1) {
        bool partnered = false;
        auto [first, last] = pairs.equal_range(e);
        for (auto it = first; it != last; ++it)
            if (diagram2.count(it->second)) {
                keys.insert(e + "__" + it->second);
                partnered = true;
            }
        if (!partnered) keys.insert(e + "__");
    }
    for (const std::string& e : diagram2) {
        bool named = false;
        auto [first, last] = inverse.equal_range(e);
        for (auto it = first; it != last && !named; ++it) named = diagram1.count(it->second) != 0;
        if (!named) keys.insert("__" + e);
    }
    return keys;
}

}  // namespace

std::unique_ptr<std::set<std::string>> getDiagramsIntersection(std::string filename, std::string _filename) {
    std::set<std::string> first = entityNames(filename);
    std::set<std::string> second = entityNames(_filename);
    return set_inter(&first, &second);
}

std::unique_ptr<std::multimap<std::string, std::string>> readMatchFile(std::string filename) {
    auto pairs = std::make_unique<Pairs>();
    readNames(filename, 2, [&](const std::vector<std::string>& n) { pairs->emplace(n[0], n[1]); });
    return pairs;
}

void csvDiff(std::string filename1, std::string filename2, std::string _filename1, std::string _filename2,
             std::string filename12, std::string _filename12) {
    auto diagram1 = getDiagramsIntersection(filename1, _filename1);
    auto diagram2 = getDiagramsIntersection(filename2, _filename2);
    auto pairs = readMatchFile(filename12);
    auto reference = readMatchFile(_filename12);
    const std::set<std::string> diagM = differenceKeys(*pairs, *diagram1, *diagram2);
    const std::set<std::string> _diagM = differenceKeys(*reference, *diagram1, *diagram2);
    auto common = set_inter(&diagM, &_diagM);

    OutputFile out;
    openForWriting(out, filename12 + "_diff.csv");
    out << "\n\n M1 inter M2 \n\n";
    for (const std::string& key : *common) out << "\"" << key << "\"\n";
    out << "\n\n M1 - M2 \n\n";
    for (const std::string& key : diagM)
        if (!_diagM.count(key)) out << ",\"" << key << "\"\n";
    out << "\n\n M2 - M1 \n\n";
    for (const std::string& key : _diagM)
        if (!diagM.count(key)) out << ",\"" << key << "\"\n";
}

}  // namespace graphmat

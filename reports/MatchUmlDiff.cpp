// The UML difference report: the node pairs of the matching whose short
// names differ against a difference listing made outside the system
// ("./results/uml/uml_" + graph-1 name + "_" + graph-2 name + ".csv", lines
// "\"name 1__name 2\""), in five sections, with the alternatives reports of
// the pairs that only one side lists.
#include <fstream>
#include <iostream>

#include "graph/InputFiles.h"
#include "graph/OutputFiles.h"
#include "matching/Cost.h"
#include "matching/Match.h"
#include "reports/RawLists.h"
#include "reports/RunName.h"

namespace graphmat {

namespace {

using Keys = std::set<std::string>;

// The text without its first character; empty for an empty text.
std::string dropFirst(const std::string& text) { return text.empty() ? text : text.substr(1); }

// A side of a listing line names something unless it is empty or one blank.
bool namesSomething(const std::string& side) { return !side.empty() && side != " "; }

// The listing's names of each graph and its reference pairs (whole lines
// whose two sides hold two characters or more). Lines without two sides
// around "__" are skipped.
void readListing(std::istream& in, Keys& tG1, Keys& tG2, Keys& pairs) {
    std::string line;
    while (readLine(in, line)) {
        auto sides = splitString(line, "__");
        if (!sides || sides->size() < 2) continue;
        const std::string& first = (*sides)[0];
        const std::string& second = (*sides)[1];
        if (namesSomething(first)) tG1.insert(dropFirst(first));
        if (namesSomething(second)) tG2.insert(dropFirst(second));
        if (first.size() >= 2 && second.size() >= 2) pairs.insert(line);
    }
}

void writeSection(std::ostream& out, const char* header, const Keys& keys, const char* lead) {
    out << header;
    for (const std::string& k : keys) out << lead << k << "\n";
}

}  // namespace

std::string Match::umlListingPath(const std::string& graph1Name, const std::string& graph2Name) {
    return "./results/uml/uml_" + graph1Name + "_" + graph2Name + ".csv";
}

void Match::rawPrint2() {
    Keys rtmp;
    writeRawLists(*this, RawListForm::Variant, &rtmp);

    const std::string run = runName(*g1, *g2, *costs, randomSeed);
    const std::string algo_params = run.substr(g1->name.size() + 2 + g2->name.size());
    const std::string listingPath = umlListingPath(g1->name, g2->name);
    const std::string reportPath = "./results/raw_" + run + ".csv_umldiff.csv";

    Keys tG1, tG2, _diagM;
    InputFile listing;
    if (listing.open(listingPath))
        readListing(listing, tG1, tG2, _diagM);
    else
        reportMissingInput(listing.text());
    std::ofstream report;
    openForWriting(report, reportPath);

    const Keys& diagM = rtmp;
    const std::unique_ptr<Keys> intersection = set_inter(&diagM, &_diagM);
    writeSection(report, "\n\n M1 inter M2 \n\n", *intersection, "");

    // Pairs of the matching that the listing does not hold: listed when the
    // listing names either side at all, otherwise the listing knows neither.
    Keys madmatches, _madmatches;
    for (const std::string& k : diagM) {
        if (intersection->count(k)) continue;
        auto sides = splitString(k, "__");
        const std::string w1 = dropFirst((*sides)[0]);
        const std::string w2 = sides->size() > 1 ? dropFirst((*sides)[1]) : std::string();
        (tG1.count(w1) || tG2.count(w2) ? madmatches : _madmatches).insert(k);
    }
    writeSection(report, "\n\n M1 - M2 \n\n", madmatches, ",");

    Keys altmatch;
    for (const std::string& k : _diagM)
        if (!intersection->count(k)) altmatch.insert(k);
    const std::unique_ptr<Keys> finaltmatch =
        checkAlternatives(&altmatch, g2->name + "__" + g1->name + algo_params + ".csv");
    writeSection(report, "\n\n M2 - M1 \n\n", *finaltmatch, ",");

    checkAlternatives(&madmatches, run + ".csv");
    writeSection(report, "\n\n M1 - M2 (not in their files) \n\n", _madmatches, ",");

    Keys unfound;
    for (const std::string& k : altmatch)
        if (!finaltmatch->count(k)) unfound.insert(k);
    writeSection(report, "\n\n M2 - M1 (not in my graph) \n\n", unfound, ",");
    closeWritten(report, reportPath);
}

}  // namespace graphmat

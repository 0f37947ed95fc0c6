// Per-step change counts: the match result file of one pair of consecutive
// versions gives every class of the newer version its image in the older
// one; members and relations are compared with the image's.
#include <algorithm>
#include <fstream>
#include <iostream>
#include <set>

#include "graph/InputFiles.h"
#include "tunnel/Tunnel.h"
#include "tunnel/TunnelNumbers.h"

namespace graphmat {

using List = Tunnel::matching::List;

const Tunnel::ChangeKind Tunnel::changeKinds[Tunnel::CHANGE_KINDS] = {
    {"DelAtt", &matching::nbDelAttList, &matching::p_DelAttList},
    {"AddAtt", &matching::nbAddAttList, &matching::p_AddAttList},
    {"DelMet", &matching::nbDelMetList, &matching::p_DelMetList},
    {"AddMet", &matching::nbAddMetList, &matching::p_AddMetList},
    {"RenMet", &matching::nbRenMetList, &matching::p_RenMetList},
    {"ModMet", &matching::nbModMetList, &matching::p_ModMetList},
    {"DelRel", &matching::nbDelRelList, &matching::p_DelRelList},
    {"AddRel", &matching::nbAddRelList, &matching::p_AddRelList},
    {"ModRel", &matching::nbModRelList, &matching::p_ModRelList},
    {"DelRelIn", &matching::nbDelRelInList, &matching::p_DelRelInList},
    {"AddRelIn", &matching::nbAddRelInList, &matching::p_AddRelInList},
    {"ModRelIn", &matching::nbModRelInList, &matching::p_ModRelInList},
    {"DelRelOut", &matching::nbDelRelOutList, &matching::p_DelRelOutList},
    {"AddRelOut", &matching::nbAddRelOutList, &matching::p_AddRelOutList},
    {"ModRelOut", &matching::nbModRelOutList, &matching::p_ModRelOutList},
};

namespace {

// Positions of the change kinds in Tunnel::changeKinds.
enum Kind {
    DelAtt, AddAtt, DelMet, AddMet, RenMet, ModMet,
    DelRel, AddRel, ModRel, DelRelIn, AddRelIn, ModRelIn, DelRelOut, AddRelOut, ModRelOut
};

constexpr std::size_t ROW_FIELDS = 20;  // most fields a match row may have
// The fields up to the second overall cost (field 10): a row with fewer is
// cut short.
constexpr std::size_t COMPLETE_ROW_FIELDS = 11;

// Which size of the image a percentage is taken of, and what it is when
// that size is 0: 0, or 100 x the count.
enum Base { ATTRIBUTES, METHODS, RELATIONS, RELATIONS_IN, RELATIONS_OUT };
struct PercentRule {
    Base base;
    bool hundredfoldWhenNoBase;
};
const PercentRule percentRules[Tunnel::CHANGE_KINDS] = {
    {ATTRIBUTES, false},   {ATTRIBUTES, true},    {METHODS, false},      {METHODS, true},
    {METHODS, false},      {METHODS, false},      {RELATIONS, false},    {RELATIONS, true},
    {RELATIONS, true},     {RELATIONS_IN, false}, {RELATIONS_IN, true},  {RELATIONS_IN, true},
    {RELATIONS_OUT, false}, {RELATIONS_OUT, true}, {RELATIONS_OUT, true},
};

// 100 x count / base in integer arithmetic, truncated toward zero.
int percentage(int count, int base, bool hundredfoldWhenNoBase) {
    if (base == 0) return hundredfoldWhenNoBase ? truncToInt(100.0 * count) : 0;
    return static_cast<int>(100LL * count / base);
}

// A match row that the step cannot use, with the first reason met.
struct SkippedRows {
    int count = 0;
    int firstLine = 0;
    std::string firstReason;
    void add(int line, const std::string& reason) {
        if (count++ == 0) {
            firstLine = line;
            firstReason = reason;
        }
    }
};

// True when the text of a match row from `start` on is `label`, then the
// end of the row or ",". Labels are written unquoted, so a label that holds
// a "," is compared whole all the same.
bool labelFollows(const std::string& row, std::size_t start, const std::string& label) {
    if (start > row.size() || row.compare(start, label.size(), label) != 0) return false;
    const std::size_t end = start + label.size();
    return end == row.size() || row.compare(end, 1, SEPARATOR) == 0;
}

// The same for the older label, ",", the newer label: the text of a match
// row after its kind and two numbers.
bool labelsFollow(const std::string& row, std::size_t start, const std::string& older, const std::string& newer) {
    return labelFollows(row, start, older + SEPARATOR + newer);
}

// Field k of a row, empty when the row has fewer.
std::string fieldText(const std::vector<std::string>& fields, std::size_t k) {
    return k < fields.size() ? fields[k] : "";
}

}  // namespace

int arcCount(const Edge* e) { return e ? static_cast<int>(e->label.size()) : 0; }

int arcCount(const std::vector<Edge*>& list) {
    int arcs = 0;
    for (const Edge* e : list) arcs += arcCount(e);
    return arcs;
}

std::map<std::string, int> classDiff(const Vertex* older, const Vertex* newer) {
    int sameAtt = 0, sameMet = 0, renMet = 0, modMet = 0;

    // Each member of the newer class stands for one member of the older
    // class at most, so no change count goes negative.
    std::set<const ClassAttribute*> takenAtt;
    for (const auto& [key, a] : older->attributes) {
        auto range = newer->attributes.equal_range(key);
        for (auto it = range.first; it != range.second; ++it) {
            const ClassAttribute* candidate = it->second.get();
            if (takenAtt.count(candidate) || candidate->compare(*a) != 1) continue;
            takenAtt.insert(candidate);
            ++sameAtt;
            break;
        }
    }

    std::set<const ClassMethod*> met12, met21;  // older and newer methods kept as they were
    for (const auto& [key, x] : older->methods) {
        auto range = newer->methods.equal_range(key);
        for (auto it = range.first; it != range.second; ++it) {
            const ClassMethod* y = it->second.get();
            if (met21.count(y) || x->compare(*y) != 1) continue;
            met12.insert(x.get());
            met21.insert(y);
            ++sameMet;
            break;
        }
    }

    std::vector<const ClassMethod*> methods1, methods2;
    for (const auto& entry : older->methods)
        if (!met12.count(entry.second.get())) methods1.push_back(entry.second.get());
    for (const auto& entry : newer->methods)
        if (!met21.count(entry.second.get())) methods2.push_back(entry.second.get());

    if (!methods1.empty() && !methods2.empty()) {
        const std::size_t rows = methods1.size(), cols = methods2.size();
        std::vector<double> simMet(rows * cols);
        std::vector<double> best1(rows, -1), best2(cols, -1);
        for (std::size_t i = 0; i < rows; ++i)
            for (std::size_t j = 0; j < cols; ++j) {
                double s = 0;
                if (methods1[i]->name == methods2[j]->name) s += 0.5;
                if (methods1[i]->output == methods2[j]->output) s += 0.2;
                if (methods1[i]->inputs == methods2[j]->inputs) s += 0.3;
                if (s < 0.5) s = -1;
                simMet[i * cols + j] = s;
                best1[i] = std::max(best1[i], s);
                best2[j] = std::max(best2[j], s);
            }
        for (std::size_t i = 0; i < rows; ++i) {
            for (std::size_t j = 0; j < cols; ++j) {
                const double s = simMet[i * cols + j];
                if (s < 0.5 || s < best1[i] || s < best2[j]) continue;
                for (std::size_t k = 0; k < cols; ++k) simMet[i * cols + k] = -1;
                for (std::size_t k = 0; k < rows; ++k) simMet[k * cols + j] = -1;
                if (methods1[i]->name != methods2[j]->name)
                    ++renMet;
                else
                    ++modMet;
                break;
            }
        }
    }
    return {{"sameAtt", sameAtt}, {"sameMet", sameMet}, {"renMet", renMet}, {"modMet", modMet}};
}

std::map<std::string, int> relDiff(const Edge* e, const Edge* _e) {
    int labels1[4] = {0, 0, 0, 0}, labels2[4] = {0, 0, 0, 0};
    for (int k = 0; k < 4; ++k) {
        if (e) labels1[k] = e->labels[k];
        if (_e) labels2[k] = _e->labels[k];
    }
    for (int k = 1; k <= 3; ++k) {
        const int common = std::min({10000, labels1[k], labels2[k]});
        labels1[k] -= common;
        labels2[k] -= common;
    }
    return {{"addRel", labels2[1] + labels2[2] + labels2[3]}, {"delRel", labels1[1] + labels1[2] + labels1[3]}};
}

int Tunnel::getMatches(matching* mat, std::string file_path) {
    const Graph& g1 = *mat->g1;  // newer
    const Graph& g2 = *mat->g2;  // older
    const int n1 = g1.vertices, n2 = g2.vertices;

    std::vector<int> image(n1, -1), cost(n1, 0), bCost(n1, 0);
    std::vector<int> nbAtt(n1), nbMet(n1), nbRel(n1), nbRelIn(n1), nbRelOut(n1);
    std::vector<std::vector<int>> count(CHANGE_KINDS, std::vector<int>(n1, 0));
    std::vector<std::vector<int>> percent(CHANGE_KINDS, std::vector<int>(n1, 0));
    for (int c = 0; c < n1; ++c) {
        const Vertex& v = *g1.V[c];
        nbAtt[c] = static_cast<int>(v.attributes.size());
        nbMet[c] = static_cast<int>(v.methods.size());
        nbRel[c] = arcCount(v.edges);
        nbRelIn[c] = arcCount(v.in);
        nbRelOut[c] = arcCount(v.out);
    }

    // Rows "ns", older class (graph 1), newer class (graph 2), ..., the two
    // overall costs in fields 9 and 10.
    InputFile file;
    const bool opened = file.open(file_path);
    if (!opened) reportMissingInput(file.text());
    SkippedRows skipped;
    int rows = 0;  // "ns" rows, read or skipped
    std::string line;
    int lineNumber = 0;
    while (readLine(file, line)) {
        ++lineNumber;
        auto fields = splitString(line, SEPARATOR);
        if (!fields || (*fields)[0] != "ns" || fields->size() < 3 || (*fields)[2].empty()) continue;
        ++rows;
        if (fields->size() > ROW_FIELDS) {
            skipped.add(lineNumber, "more than " + to_string(ROW_FIELDS) + " fields");
            continue;
        }
        int p = -1, c = -1;
        double overall1 = 0, overall2 = 0;
        if (!readWholeInt((*fields)[1], p) || !readWholeInt((*fields)[2], c)) {
            skipped.add(lineNumber, "a class number that is not a number");
            continue;
        }
        if (p < 0 || p >= n2 || c < 0 || c >= n1) {
            skipped.add(lineNumber, "class numbers outside the two versions (or merged blocks)");
            continue;
        }
        // A row cut short (a cut copy, a full disk) is a damaged row,
        // whatever is left of its labels.
        if (fields->size() < COMPLETE_ROW_FIELDS) {
            skipped.add(lineNumber, "a row cut short: " + to_string(fields->size()) +
                                        " fields, without the overall costs of fields 9 and 10");
            continue;
        }
        // The labels of the two classes follow their numbers: a complete
        // row that names other labels pairs the vertices of another reading
        // of the versions (a model graph file, say) or of other files.
        const std::string& olderLabel = g2.V[p]->label;
        const std::string& newerLabel = g1.V[c]->label;
        const std::size_t labelsStart = (*fields)[0].size() + (*fields)[1].size() + (*fields)[2].size() + 3;
        if (!labelsFollow(line, labelsStart, olderLabel, newerLabel)) {
            // Only what differs is quoted: the row's two labels, then the
            // label of each class that the row does not name.
            const std::string olderThenSeparator = olderLabel + SEPARATOR;
            const bool olderRight = labelsStart <= line.size() &&
                                    line.compare(labelsStart, olderThenSeparator.size(), olderThenSeparator) == 0;
            // Once the older label is wrong, where the newer one starts is
            // known only as a field.
            const bool newerRight = olderRight ? labelFollows(line, labelsStart + olderThenSeparator.size(), newerLabel)
                                               : fieldText(*fields, 4) == newerLabel;
            std::string classes;
            if (!olderRight) classes = "class " + to_string(p) + " of \"" + g2.name + "\" is \"" + olderLabel + "\"";
            if (!newerRight)
                classes += std::string(classes.empty() ? "" : " and ") + "class " + to_string(c) + " of \"" +
                           g1.name + "\" is \"" + newerLabel + "\"";
            throw TunnelError("the match result file " + file_path + " does not pair the classes of \"" + g2.name +
                              "\" and \"" + g1.name + "\": its line " + to_string(lineNumber) + " pairs \"" +
                              fieldText(*fields, 3) + "\" with \"" + fieldText(*fields, 4) + "\", but " + classes);
        }
        if (!readWholeNumber((*fields)[9], overall1) ||
            !readWholeNumber((*fields)[10], overall2)) {
            skipped.add(lineNumber, "an overall cost that is not a number");
            continue;
        }

        // A later row of the same class replaces everything this row sets.
        image[c] = p;
        cost[c] = saturatingAdd(truncToInt(overall1), truncToInt(overall2));
        const Vertex& older = *g2.V[p];
        const Vertex& newer = *g1.V[c];
        std::map<std::string, int> res = classDiff(&older, &newer);
        const int A1 = static_cast<int>(older.attributes.size()), A2 = nbAtt[c];
        const int M1 = static_cast<int>(older.methods.size()), M2 = nbMet[c];
        const int paired = res["sameMet"] + res["modMet"] + res["renMet"];
        count[DelAtt][c] = A1 - res["sameAtt"];
        count[AddAtt][c] = A2 - res["sameAtt"];
        count[ModMet][c] = res["modMet"];
        count[RenMet][c] = res["renMet"];
        count[DelMet][c] = M1 - paired;
        count[AddMet][c] = M2 - paired;
        bCost[c] = count[DelAtt][c] + count[AddAtt][c] + count[ModMet][c] + count[RenMet][c] + count[DelMet][c] +
                   count[AddMet][c];
    }
    std::cout << "\n Skipped rows : " << skipped.count;
    if (skipped.count > 0)
        std::cerr << file_path << ": " << skipped.count << (skipped.count == 1 ? " match row" : " match rows")
                  << " skipped (the first at line "
                  << skipped.firstLine << ": " << skipped.firstReason << ")\n";
    // A file that opens but holds no match row (a class diagram given in its
    // place, say) pairs nothing: say so rather than track every class as new.
    if (opened && rows == 0)
        std::cerr << file_path << ": no match rows (\"ns\" lines); no class of this step has a partner\n";

    std::vector<int> _image(n2, -1);
    for (int c = 0; c < n1; ++c)
        if (image[c] != -1) _image[image[c]] = c;

    std::cout << "\n\n\n\n ENTER THE RELATION CHANGES";
    // Relation arcs at both ends of an edge: changed (deleted + added), deleted, added.
    auto addAt = [&](Kind kind, int c, int arcs) { count[kind][c] += arcs; };
    for (const auto& e : g1.E) {
        const int a = e->from, b = e->to;
        const int pa = image[a], pb = image[b];
        if (pa != -1 && pb != -1) {
            std::map<std::string, int> r = relDiff(g2.getEdge(pa, pb), e.get());
            const int del = r["delRel"], add = r["addRel"];
            for (auto [kind, arcs] : {std::pair{ModRel, del + add}, {DelRel, del}, {AddRel, add}}) {
                addAt(kind, a, arcs);
                addAt(kind, b, arcs);
                addAt(static_cast<Kind>(kind + 6), a, arcs);  // ...Out at the source
                addAt(static_cast<Kind>(kind + 3), b, arcs);  // ...In at the target
            }
        } else if (pa != -1) {
            addAt(AddRel, a, arcCount(e.get()));
            addAt(AddRelOut, a, arcCount(e.get()));
        } else if (pb != -1) {
            addAt(AddRel, b, arcCount(e.get()));
            addAt(AddRelIn, b, arcCount(e.get()));
        }
    }
    for (const auto& e : g2.E) {
        const int a = _image[e->from], b = _image[e->to];
        const int k = arcCount(e.get());
        if (a != -1 && b != -1) {
            if (g1.getEdge(a, b) != nullptr) continue;  // counted from the newer edge
            for (Kind kind : {ModRel, DelRel}) {
                addAt(kind, a, k);
                addAt(kind, b, k);
                addAt(static_cast<Kind>(kind + 6), a, k);
                addAt(static_cast<Kind>(kind + 3), b, k);
            }
        } else if (a != -1) {
            addAt(DelRel, a, k);
            addAt(DelRelOut, a, k);
        } else if (b != -1) {
            addAt(DelRel, b, k);
            addAt(DelRelIn, b, k);
        }
    }

    for (int c = 0; c < n1; ++c) {
        const int p = image[c];
        if (p == -1) continue;
        const Vertex& older = *g2.V[p];
        const int bases[] = {static_cast<int>(older.attributes.size()), static_cast<int>(older.methods.size()),
                             arcCount(older.edges), arcCount(older.in), arcCount(older.out)};
        bCost[c] += count[DelRelOut][c] + count[AddRelOut][c];
        for (int kind = 0; kind < CHANGE_KINDS; ++kind)
            percent[kind][c] = percentage(count[kind][c], bases[percentRules[kind].base],
                                          percentRules[kind].hundredfoldWhenNoBase);
    }

    mat->matchList.push_back(std::move(image));
    mat->costList.push_back(std::move(cost));
    mat->bCostList.push_back(std::move(bCost));
    mat->nbAttList.push_back(std::move(nbAtt));
    mat->nbMetList.push_back(std::move(nbMet));
    mat->nbRelInList.push_back(std::move(nbRelIn));
    mat->nbRelOutList.push_back(std::move(nbRelOut));
    mat->nbRelList.push_back(std::move(nbRel));
    for (int kind = 0; kind < CHANGE_KINDS; ++kind) (mat->*changeKinds[kind].counts).push_back(std::move(count[kind]));
    for (int kind = 0; kind < CHANGE_KINDS; ++kind)
        (mat->*changeKinds[kind].percentages).push_back(std::move(percent[kind]));
    return skipped.count;
}

}  // namespace graphmat

// Raw lists of a matching run: the entities of each graph named by text, the
// pairs of matched nodes whose names differ, and the matched pairs that
// involve a merged block.
#include <fstream>
#include <vector>

#include "matching/Match.h"
#include "reports/ReportBlocks.h"
#include "reports/RunName.h"

namespace graphmat {

namespace {

// The word written for a vertex type code; empty for codes outside 0 to 6.
std::string category(int type) {
    switch (type) {
        case 0: return "Package";
        case 1: return "Class";
        case 2: return "Method";
        case 3: return "Field";
        case 4: return "Entity";
        case 5: return "LifeLine";
        case 6: return "Message";
        default: return "";
    }
}

// The name of a plain vertex between double quotes: its label, for a method
// followed by its parameter types in parentheses; every "$" becomes ".".
std::string entityName(const Vertex& v) {
    std::string text = v.label;
    if (v.type == 2) {
        text += "(";
        // The signature holds properties, return type and name, then
        // one piece per parameter.
        if (auto pieces = splitString(v.specif, ","))
            for (std::size_t p = 3; p < pieces->size(); ++p) {
                if (p > 3) text += ",";
                text += (*pieces)[p];
            }
        text += ")";
    }
    FindAndReplace(text, "$", ".");
    return "\"" + text + "\"";
}

std::vector<std::string> writeEntityList(const Graph& g, const std::string& path) {
    OutputFile out;
    openForWriting(out, path);
    out << "\"class\",\"category\"\n";
    std::vector<std::string> names;
    names.reserve(g.V.size());
    for (const auto& v : g.V) {
        names.push_back(entityName(*v));
        out << names.back() << ",\"" << category(v->type) << "\"\n";
    }
    return names;
}

// One piece per member: number, label and signature (commas turned into
// ";"), each member closed by "___".
std::string vertexText(const Vertex* v, const Graph& g) {
    if (v == nullptr) return "";
    std::string text;
    for (int n : membersOf(*v)) {
        if (n < 0 || n >= static_cast<int>(g.V.size())) continue;
        const Vertex& member = *g.V[n];
        text += to_string(n) + "_" + member.label + "_" + replaceString(member.specif, ",", ";") + "___";
    }
    return text;
}

}  // namespace

std::string Match::writeVertex1(int x) { return vertexText(getVertex1(x), *g1); }

std::string Match::writeVertex2(int y) { return vertexText(getVertex2(y), *g2); }

void Match::rawPrint() {
    const std::string pairPath = "./results/raw_" + runName(*g1, *g2, *costs, randomSeed) + ".csv";
    OutputFile pairs, merges;
    std::vector<std::string> entities1 = writeEntityList(*g1, "./results/raw_" + g1->name + ".csv");
    std::vector<std::string> entities2 = writeEntityList(*g2, "./results/raw_" + g2->name + ".csv");
    openForWriting(pairs, pairPath);
    openForWriting(merges, pairPath + "_MERGES.csv");

    auto entity = [](const std::vector<std::string>& names, int n) {
        return n >= 0 && n < static_cast<int>(names.size()) ? names[n] : std::string();
    };

    ReportBlocks blocks(*this);
    pairs << "\"class1\",\"class2\",\"category\"\n";
    for (const auto& [x, a] : blocks.blocks1()) {
        const int y = blocks.partner1(x);
        if (y == -1) continue;
        Vertex* c = blocks.blocks2().at(y);
        const std::set<int> members1 = membersOf(*a);
        const std::set<int> members2 = membersOf(*c);
        const std::string kind = category(a->type);
        if (members1.size() * members2.size() > 1) {
            // A stored similarity is read without creating a cell.
            const float* stored = _N.find(x, c->number);
            merges << "\"" << writeVertex1(x) << "\",\"" << writeVertex2(c->number) << "\"," << kind << ","
                   << to_string(stored ? *stored : 0.0f) << "\n";
        }
        for (int p : members1)
            for (int q : members2) {
                const std::string name1 = entity(entities1, p);
                const std::string name2 = entity(entities2, q);
                if (name1 != name2) pairs << name1 << "," << name2 << "," << kind << "\n";
            }
    }
}

}  // namespace graphmat

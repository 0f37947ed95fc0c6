// Raw lists of a matching run: the entities of each graph named by text, the
// pairs of matched nodes whose names differ, and the matched pairs that
// involve a merged block.
#include <fstream>
#include <vector>

#include "graph/OutputFiles.h"
#include "matching/Match.h"
#include "reports/EntityNames.h"
#include "reports/RawLists.h"
#include "reports/ReportBlocks.h"
#include "reports/RunName.h"

namespace graphmat {

namespace {

// The raw entity list of a graph: one line per plain vertex; the names by
// vertex number.
std::vector<std::string> writeEntityList(const Graph& g, const std::string& path, RawListForm form,
                                         std::ofstream& out) {
    openForWriting(out, path);
    out << "\"class\",\"category\"\n";
    std::vector<std::string> names;
    names.reserve(g.V.size());
    for (const auto& v : g.V) {
        names.push_back(form == RawListForm::Plain ? entityName(*v) : shortEntityName(*v));
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

void Match::rawPrint() { writeRawLists(*this, RawListForm::Plain, nullptr); }

void writeRawLists(Match& m, RawListForm form, std::set<std::string>* pairKeys) {
    const std::string entityPath1 = "./results/raw_" + m.g1->name + ".csv";
    const std::string entityPath2 = "./results/raw_" + m.g2->name + ".csv";
    const std::string pairPath = "./results/raw_" + runName(*m.g1, *m.g2, *m.costs, m.randomSeed) + ".csv";
    const std::string mergePath = pairPath + "_MERGES.csv";
    std::ofstream entityList1, entityList2, pairs, merges;
    std::vector<std::string> entities1 = writeEntityList(*m.g1, entityPath1, form, entityList1);
    std::vector<std::string> entities2 = writeEntityList(*m.g2, entityPath2, form, entityList2);
    openForWriting(pairs, pairPath);
    openForWriting(merges, mergePath);

    auto entity = [](const std::vector<std::string>& names, int n) {
        return n >= 0 && n < static_cast<int>(names.size()) ? names[n] : std::string();
    };

    ReportBlocks blocks(m);
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
            const float* stored = m._N.find(x, c->number);
            merges << "\"" << m.writeVertex1(x) << "\",\"" << m.writeVertex2(c->number) << "\"," << kind << ","
                   << to_string(stored ? *stored : 0.0f) << "\n";
        }
        for (int p : members1)
            for (int q : members2) {
                const std::string name1 = entity(entities1, p);
                const std::string name2 = entity(entities2, q);
                if (name1 == name2) continue;
                if (form == RawListForm::Plain) {
                    pairs << name1 << "," << name2 << "," << kind << "\n";
                } else {
                    pairs << "\"" << name1 << "\",\"" << name2 << "\",\"" << kind << "\"\n";
                }
                if (pairKeys) pairKeys->insert("\"" + name1 + "__" + name2 + "\"");
            }
    }
    closeWritten(entityList1, entityPath1);
    closeWritten(entityList2, entityPath2);
    closeWritten(pairs, pairPath);
    closeWritten(merges, mergePath);
}

}  // namespace graphmat

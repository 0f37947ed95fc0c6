// The older name-based similarities of the matcher, beside the node
// similarity of the run: intSim2 and the pair statistics of setSims.
#include <algorithm>

#include "matching/Match.h"
#include "solvers/NameSimilarity.h"

namespace graphmat {

namespace {

// The label after its last "." (the whole label without one).
std::string simpleName(const std::string& label) {
    const std::size_t dot = label.rfind('.');
    return dot == std::string::npos ? label : label.substr(dot + 1);
}

// Whether text is the label of a vertex at the end of one of v's outgoing
// edges (found through `vertexOf`, which knows blocks too).
template <class Lookup>
bool namesOutNeighbour(const Vertex* v, const std::string& text, Lookup vertexOf) {
    for (const Edge* e : v->out) {
        const Vertex* target = vertexOf(e->to);
        if (target && target->label == text) return true;
    }
    return false;
}

}  // namespace

float Match::intSim2(int /*mode*/, Vertex* v1, Vertex* v2) {
    if (const float* stored = _N.find(static_cast<unsigned>(v1->number), static_cast<unsigned>(v2->number)))
        return *stored;
    ++computeSim;

    const std::string name1 = simpleName(v1->label), name2 = simpleName(v2->label);
    const std::string lower1 = toLowerAscii(name1), lower2 = toLowerAscii(name2);
    const double len1 = static_cast<double>(name1.size()), len2 = static_cast<double>(name2.size());

    double sim_specif = 0;
    if (v1->specif.empty() && v2->specif.empty()) {
        sim_specif = 1;
    } else if (!v1->specif.empty() && !v2->specif.empty()) {
        const auto pieces1 = treatSpecif(v1->specif, v1->type);
        const auto pieces2 = treatSpecif(v2->specif, v2->type);
        const int nb1 = static_cast<int>(pieces1->size()), nb2 = static_cast<int>(pieces2->size());
        const int min_nb = std::min(nb1, nb2);
        const bool member = v1->type == 2 || v1->type == 3;
        int matches = 0, compared = 0;
        for (int i = 0; i < min_nb; ++i) {
            if (i == 1 && member) continue;  // the type or return type
            const std::string& p1 = (*pieces1)[i];
            const std::string& p2 = (*pieces2)[i];
            if (p1 == p2) {
                ++matches;
                ++compared;
            } else if (member) {
                const bool neighbours = namesOutNeighbour(v1, p1, [this](int n) { return getVertex1(n); }) &&
                                        namesOutNeighbour(v2, p2, [this](int n) { return getVertex2(n); });
                if (!neighbours) ++compared;
            }
        }
        const int denominator = 2 * compared + (nb1 - min_nb) + (nb2 - min_nb);
        sim_specif = denominator == 0 ? 0 : 2.0 * matches / denominator;
    }

    double result;
    if (lower1 == lower2)
        result = sim_specif;
    else if (lower1.find(lower2) != std::string::npos)
        result = 2 * len2 * sim_specif / (len1 + len2);
    else if (lower2.find(lower1) != std::string::npos)
        result = 2 * len1 * sim_specif / (len1 + len2);
    else
        result = IdSim(name1, name2) * sim_specif;
    return static_cast<float>(result);
}

void Match::setSims(Vertex* v1, Vertex* v2) {
    auto split = [](const std::string& label, std::string& name, std::string& path) {
        const std::size_t dot = label.rfind('.');
        name = dot == std::string::npos ? label : label.substr(dot + 1);
        path = dot == std::string::npos ? " " : label.substr(0, dot);
    };
    split(v1->label, _label1, _path1);
    split(v2->label, _label2, _path2);

    Distance distance;
    sim_name = 1 - distance.NLD(_label1.c_str(), _label2.c_str());

    int attributes = 0;
    for (const auto& [key, attribute] : v1->attributes) {
        auto other = v2->attributes.find(key);
        if (other != v2->attributes.end() && other->second->compare(ClassAttribute(*attribute)) == 1) ++attributes;
    }
    _att = std::min(attributes, static_cast<int>(v2->attributes.size()));

    int methods = 0;
    for (const auto& [key, method] : v1->methods) {
        auto other = v2->methods.find(key);
        if (other != v2->methods.end() && other->second->compare(ClassMethod(*method)) == 1) ++methods;
    }
    _meth = std::min(methods, static_cast<int>(v2->methods.size()));
}

}  // namespace graphmat

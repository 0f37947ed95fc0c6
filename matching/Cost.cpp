#include "matching/Cost.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>

#include "graph/InputFiles.h"

namespace graphmat {

namespace {

constexpr double PROHIBITIVE = 32767;

// Member count of a vertex or block: the size of its nodes set, or nothing
// to multiply by when it has none.
bool memberCount(const Vertex* node, double& n) {
    if (!node->nodes) return false;
    n = static_cast<double>(node->nodes->size());
    return true;
}

// Integer value of a label text; 0 when it does not begin with a number.
int labelValue(const std::string& label) {
    int value = 0;
    from_string<int>(label, value);
    return value;
}

}  // namespace

// ------------------------------------------------------------ construction

Cost::Cost() { init(); }

Cost::Cost(int ccns, int ccnd, int ccni, int cced, int ccei, int ccesl, int ccess, int lw, int aw,
           int mw, int dwn, int dwe, int edw, int asy) {
    _cnd = ccnd;
    _cni = ccni;
    _cns = ccns;
    _ced = cced;
    _cei = ccei;
    _cess = ccess;
    _cesl = ccesl - cced - ccei;
    _cesi = -cced - ccei;
    _lw = lw;
    _aw = aw;
    _mw = mw;
    char line[512];
    std::snprintf(line, sizeof line,
                  "COST PARAMETERISED : cnd=%f cni=%f cns=%f ced=%f cei=%f cess=%f cesl=%f lw=%f "
                  "aw=%f mw=%f\n",
                  _cnd, _cni, _cns, _ced, _cei, _cess, _cesl, _lw, _aw, _mw);
    std::cout << line;

    const double s = ccess;
    const double l = ccesl;
    const double lower[8][7] = {
        {},
        {s},
        {s, l},
        {s, l, l},
        {2 * s, s, s, l + s},
        {2 * s, s, l + s, s, l},
        {2 * s, l + s, s, s, l, l},
        {3 * s, 2 * s, 2 * s, 2 * s, s, s, s},
    };
    for (int r = 0; r < 8; ++r) {
        for (int c = 0; c < r; ++c) edgeMatrix2[r][c] = lower[r][c];
        edgeMatrix2[r][r] = 0;
    }
    for (int j = 0; j < 8; ++j)
        for (int k = j + 1; k < 8; ++k) edgeMatrix2[j][k] = edgeMatrix2[k][j];

    // The weights are given in hundredths.
    dropWeightN = dwn / 100.0;
    dropWeightE = dwe / 100.0;
    edgeWeight = edw / 100.0;
    asymmetry = asy / 100.0;
    initMode1(dwn / 100.0, dwe / 100.0, edw / 100.0, asy / 100.0, _lw);
    bonus = ccesl + ccess + cced + ccei;
}

Cost::Cost(const double* nodeM, const double* const* /*edgeM*/, const double* edgeD,
           const double* edgeI) {
    for (int i = 0; i < 3; ++i) nodeMatrix[i] = nodeM[i];
    for (int i = 0; i < 4; ++i) {
        edgeDeletionMatrix[i] = edgeD[i];
        edgeInsertionMatrix[i] = edgeI[i];
    }
    initMode1(0, 0, 0, 0, 0);
}

void Cost::init() {
    _cni = 2;
    _cnd = 2;
    _cns = 0;
    _cnsi = -4;
    _cei = 1;
    _ced = 1;
    _cesi = -2;
    _cess = 10;
    _cesl = 5;
    initMode1(0, 0, 0, 0, 0);
}

void Cost::init1() {
    _cnd = 2;
    _cni = 2;
    _cnsi = -4;
    _cns = -4;
    _ced = 1;
    _cei = 1;
    _cesi = -12;
    _cess = 0;
    _cesl = -5;
}

void Cost::initMode1(double dwn, double dwe, double ew, double asy, double lab_w) {
    _lw = lab_w;
    _aw = (1 - _lw) / 3;
    _mw = (1 - _lw) - _aw;
    renameToken = 100;
    dropWeightN = dwn;
    dropWeightE = dwe;
    edgeWeight = ew;
    asymmetry = asy;
    initMode3(100, 100, 100, 100, dwn, dwe, ew, asy);
}

void Cost::initMode2(double s_err, double l_err, double n_err) {
    str_error = s_err;
    lab_error = l_err;
    node_error = n_err;
}

void Cost::initMode3(double attrM, double methM, double classM, double packM, double dwn,
                     double dwe, double ew, double asy) {
    attributeMatch = attrM;
    methodMatch = methM;
    classMatch = classM;
    packageMatch = packM;
    dropWeightN = dwn;
    dropWeightE = dwe;
    edgeWeight = ew;
    asymmetry = asy;

    packageInsertion = round(asy * packM * dwn / (asy + 1));
    packageDeletion = round(packM * dwn / (asy + 1));
    classInsertion = round(asy * classM * dwn / (asy + 1));
    classDeletion = round(classM * dwn / (asy + 1));
    methodInsertion = round(asy * methM * dwn / (asy + 1));
    methodDeletion = round(methM * dwn / (asy + 1));
    attributeInsertion = round(asy * attrM * dwn / (asy + 1));
    attributeDeletion = round(attrM * dwn / (asy + 1));

    for (int i = 0; i < MAX_LABELS; ++i) {
        for (int j = 0; j < MAX_LABELS; ++j) {
            if (i == j)
                edgeMatrix[i][j] = 0;
            else if (i > 5 || j > 5)
                edgeMatrix[i][j] = PROHIBITIVE;
            else if (i == 0)
                edgeMatrix[i][j] = std::ceil(asy * classMatch * ew);
            else
                edgeMatrix[i][j] = std::ceil(classMatch * ew);
        }
    }
}

double Cost::matchWeight(int type) const {
    if ((type & 3) == 0) return packageMatch;
    switch (type % 4) {
        case 1: return classMatch;
        case 2: return methodMatch;
        case 3: return attributeMatch;
        default: return classMatch;
    }
}

// ----------------------------------------------------------- vertex prices

double Cost::vertexEditPrice(int mode, const Vertex* node, bool insertion) const {
    if (!node) return 0;
    double price;
    switch (mode) {
        case 0: price = insertion ? _cni : _cnd; break;
        case 1: price = insertion ? classInsertion : classDeletion; break;
        case 2: price = errorProduct() == 1 ? 0.5 : 0; break;
        case 3:
            if (insertion)
                price = matchWeight(node->type) * asymmetry * dropWeightN / (asymmetry + 1);
            else
                price = matchWeight(node->type) * dropWeightN / (asymmetry + 1);
            break;
        default: return 0;
    }
    double n;
    if (memberCount(node, n)) price = price * n;
    return price;
}

double Cost::cnd(int mode, const Vertex* node) const { return vertexEditPrice(mode, node, false); }

double Cost::cni(int mode, const Vertex* node) const { return vertexEditPrice(mode, node, true); }

double Cost::raw_cns(int mode, const Vertex* node1, const Vertex* node2, float discount) const {
    if (!node1 || !node2) return 0;
    const double d = discount;
    switch (mode) {
        case 0: return std::trunc((1 - d) * _cns);
        case 1: return d;
        case 2: {
            const bool differ = node1->label != node2->label;
            if (errorProduct() == 1) return differ ? 2 : 0;
            const double l1 = labelValue(node1->label);
            if (differ) {
                if (node_error < 0) return std::fabs(l1 - labelValue(node2->label));
                return node_error;
            }
            if (node_error < 0) return -l1;
            if (node_error == 0 || node_error == 1000) return 0;
            return -node_error;  // node_error > 0
        }
        case 3: {
            if (node1->type != node2->type) return PROHIBITIVE;
            const long e1 = node1->nodes ? static_cast<long>(node1->nodes->size()) - 1 : 0;
            const long e2 = node2->nodes ? static_cast<long>(node2->nodes->size()) - 1 : 0;
            if (node1->type > 8 && (e1 + 1) + (e2 + 1) > 2) return PROHIBITIVE;
            return (1 - d) * static_cast<double>(e1 + 1 + e2) * matchWeight(node1->type);
        }
        default: return 0;
    }
}

double Cost::cns(int mode, const Vertex* node1, const Vertex* node2, float discount) const {
    if (!node1 || !node2) return 0;
    switch (mode) {
        case 0: return std::trunc((1 - static_cast<double>(discount)) * _cns) - (_cnd + _cni);
        case 1: return discount - (cni(1, node2) + cnd(1, node1));
        case 2:
        case 3:
            return raw_cns(mode, node1, node2, discount) - (cni(mode, node2) + cnd(mode, node1));
        default: return 0;
    }
}

// ------------------------------------------------------------- edge prices

double Cost::typedEdgePrice(const Edge* edge, int mfrom, int mto, bool insertion) const {
    // The share of the edge's neighbourhood that is matched.
    double adjust = (mfrom < 0 && mto < 0) ? dropWeightE : (dropWeightE + 1) / 2;
    const long long from = mfrom < 0 ? -1 : mfrom;
    const long long to = mto < 0 ? -1 : mto;
    if (from > 1 || to > 1) adjust = adjust * static_cast<double>(std::llabs(from * to));
    const double w = matchWeight(edge->type);
    // A digit the edge does not carry adds an exact zero when every factor
    // is finite and the divisor is not zero, so it is skipped then.
    const bool zeroAddsNothing = std::isfinite(w) && std::isfinite(edgeWeight) && std::isfinite(asymmetry) &&
                                 asymmetry + 1 != 0 && std::isfinite(adjust);
    double sum = 0;
    for (int k = 1; k < MAX_LABELS; ++k) {
        const double c = edge->labels[k];
        if (c == 0 && zeroAddsNothing) continue;
        if (insertion)
            sum += c * w * edgeWeight * asymmetry / (asymmetry + 1) * adjust;
        else
            sum += c * w * edgeWeight / (asymmetry + 1) * adjust;
    }
    return sum;
}

double Cost::edgeEditPrice(int mode, const Edge* edge, int mfrom, int mto, bool insertion) const {
    if (!edge) return 0;
    switch (mode) {
        case 0: return (insertion ? _cei : _ced) * static_cast<double>(edge->label.size());
        case 1: {
            // The drop weight scales the whole running total at every digit.
            double r = 0;
            for (int k = 1; k < MAX_LABELS; ++k) {
                const double price = insertion ? edgeMatrix[0][k] : edgeMatrix[k][0];
                r = round(dropWeightE * (r + edge->labels[k] * price));
            }
            return r;
        }
        case 2: return errorProduct() == 1 ? 0.5 : 0;
        case 3: return typedEdgePrice(edge, mfrom, mto, insertion);
        default: return 0;
    }
}

double Cost::ced(int mode, const Edge* edge, int mfrom, int mto) const {
    return edgeEditPrice(mode, edge, mfrom, mto, false);
}

double Cost::cei(int mode, const Edge* edge, int mfrom, int mto) const {
    return edgeEditPrice(mode, edge, mfrom, mto, true);
}

double Cost::raw_ces(int mode, const Edge* edge1, const Edge* edge2, int nods1,
                     int nods2) const {
    int type1 = -1, type2 = -1;
    long long l1 = 0, l2 = 0;
    if (edge1) {
        type1 = edge1->type;
        if (mode == 2) l1 = labelValue(edge1->label);  // only mode 2 reads the label value
    }
    if (edge2) {
        type2 = edge2->type;
        if (mode == 2) l2 = labelValue(edge2->label);
    }
    // Arcs both edges carry cost nothing: the counts left of each digit
    // (read straight from the edges, so that no copy is written and read
    // back at once).
    static const std::array<short, MAX_LABELS> none{};
    const std::array<short, MAX_LABELS>& labels1 = edge1 ? edge1->labels : none;
    const std::array<short, MAX_LABELS>& labels2 = edge2 ? edge2->labels : none;
    int c1[MAX_LABELS], c2[MAX_LABELS];
    c1[0] = labels1[0];
    c2[0] = labels2[0];
    for (int k = 1; k < MAX_LABELS; ++k) {
        const int a = labels1[k], b = labels2[k];
        const int m = std::min({a, b, 10000});
        c1[k] = a - m;
        c2[k] = b - m;
    }
    auto blockFactor = [](int nods) {
        long long f = (std::llabs(static_cast<long long>(nods)) - 1) / 2 + 1;
        return f > 0 ? f : 1;
    };
    const double factor1 = static_cast<double>(blockFactor(nods1));
    const double factor2 = static_cast<double>(blockFactor(nods2));

    switch (mode) {
        case 1: {
            double r = 0;
            for (int k = 1; k < MAX_LABELS; ++k)
                r += c1[k] * edgeMatrix[k][0] + c2[k] * edgeMatrix[0][k];
            return r;
        }
        case 3: {
            if (type1 != -1 && type2 != -1 && type1 != type2) return PROHIBITIVE;
            const double w = matchWeight(type1);
            // A digit neither edge keeps adds an exact zero when every factor
            // is finite and the divisor is not zero (the sum starts at +0 and
            // never becomes -0), so it is skipped then, as in typedEdgePrice.
            const bool zeroAddsNothing = std::isfinite(w) && std::isfinite(edgeWeight) && std::isfinite(asymmetry) &&
                                         asymmetry + 1 != 0;
            double r = 0;
            for (int k = 1; k < MAX_LABELS; ++k) {
                if (c1[k] == 0 && c2[k] == 0 && zeroAddsNothing) continue;
                r += (c1[k] * factor1 + asymmetry * c2[k] * factor2) * w * edgeWeight /
                     (asymmetry + 1);
            }
            return r;
        }
        case 2: {
            if (errorProduct() == 1) {
                if (l1 == l2) return 0;
                return (l1 * l2 != 0) ? 2 : 1.5;
            }
            const bool byDistance = lab_error < 0 && str_error < 0;
            if (l1 == l2) return byDistance ? -static_cast<double>(std::llabs(l1)) : -1;
            if (byDistance) return static_cast<double>(std::llabs(l1 - l2));
            return (l1 * l2 == 0) ? str_error : lab_error;
        }
        default: return 0;
    }
}

double Cost::ces(int mode, const Edge* edge1, const Edge* edge2) const {
    return raw_ces(mode, edge1, edge2, 1, 1) - (cei(mode, edge2, 1, 1) + ced(mode, edge1, 1, 1));
}

// ------------------------------------------------------------ other prices

double Cost::estimateO(int /*mode*/, const Vertex* node1, const Vertex* node2) const {
    constexpr int TYPES = 7;
    if (!node1 || !node2) return 0;
    int in1[TYPES][MAX_LABELS] = {}, out1[TYPES][MAX_LABELS] = {};
    int in2[TYPES][MAX_LABELS] = {}, out2[TYPES][MAX_LABELS] = {};
    auto count = [](const std::vector<Edge*>& edges, int table[TYPES][MAX_LABELS]) {
        for (const Edge* e : edges) {
            if (!e || e->type < 0 || e->type >= TYPES) continue;
            for (int j = 0; j < MAX_LABELS; ++j) table[e->type][j] += e->labels[j];
        }
    };
    count(node1->in, in1);
    count(node1->out, out1);
    count(node2->in, in2);
    count(node2->out, out2);

    const double typeWeight[TYPES] = {packageMatch, classMatch,  methodMatch, attributeMatch,
                                      classMatch,   classMatch,  classMatch};
    double result = 0;
    for (int t = 0; t < TYPES; ++t) {
        for (int j = 0; j < MAX_LABELS; ++j) {
            const int a = in1[t][j], b = in2[t][j];
            const int o1 = out1[t][j], o2 = out2[t][j];
            const int i_min = std::min(a, b);
            const int o_min = std::min(o1, o2);
            const int tmp1 = a - i_min + o1 - o_min;  // arcs only node1 has
            const int tmp2 = b - i_min + o2 - o_min;  // arcs only node2 has
            const double term = edgeWeight * typeWeight[t] *
                                (asymmetry * tmp2 + tmp1 - (a + o1) * dropWeightE -
                                 (b + o2) * dropWeightE * asymmetry) /
                                (asymmetry + 1);
            result += term;
            if (j == 3 || j == 9) result += term;
        }
    }
    return result;
}

double Cost::cost(int /*mode*/, const std::string& filename) const {
    double pathCost = 0;
    InputFile file;
    if (!file.open(filename)) reportMissingInput(file.text());
    std::string line;
    while (file.is_open() && readLine(file, line)) {
        auto fields = splitString(line, SEPARATOR);
        if (!fields || fields->empty()) continue;
        const std::vector<std::string>& f = *fields;
        const std::string& op = f[0];
        // f[1] is F2, f[2] is F3; a line without the fields its kind reads
        // is skipped.
        if (op == "n") {
            if (f.size() < 3) continue;
            if (f[2] == "-1")
                pathCost += _cnd;
            else
                pathCost += _cns + _cnd + _cni;
        } else if (op == "d") {
            pathCost += _ced;
        } else if (op == "a") {
            pathCost += _cei;
        } else if (op == "m") {
            if (f.size() < 3) continue;
            if (f[1].empty() || f[2].empty())
                pathCost += _cess + _ced + _cei;
            else
                pathCost += _cesl + _ced + _cei;
        } else if (op == "i") {
            if (f.size() < 2) continue;
            pathCost += labelValue(f[1]) * _cni;
        } else if (op == "esi") {
            if (f.size() < 2) continue;
            pathCost += labelValue(f[1]) * (_cesi + _ced + _cei);
        }
    }
    std::cout << filename << " / Path Cost = " << pathCost << "\n";
    return pathCost;
}

}  // namespace graphmat

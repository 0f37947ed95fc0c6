#include "graph/Vertex.h"

#include <iostream>

namespace graphmat {

namespace {

std::unique_ptr<std::set<std::string>> lowerCaseSet(const std::vector<std::string>& words) {
    auto terms = std::make_unique<std::set<std::string>>();
    for (const std::string& w : words) terms->insert(toLowerAscii(w));
    return terms;
}

bool isNumericTypeName(const std::string& piece) {
    return piece == "int" || piece == "float" || piece == "short";
}

}  // namespace

Vertex::Vertex(int nb) { setNumber(nb); }

Vertex::Vertex(int nb, std::string lb) : Vertex(nb) { setLabel(lb); }

Vertex::Vertex(int nb, std::string lb, const float* wt) : Vertex(nb, lb) { setWeight(wt); }

void Vertex::init() {
    sum_out = 0;
    nb_in = 0;
    nb_out = 0;
    type = 0;
    nodes.reset();
    nTerms.reset();
    nPaths.reset();
    nSpecs.reset();
}

int Vertex::setNumber(int nb) {
    number = nb;
    nodes = std::make_unique<NodeSet>();
    nodes->insert(nb);
    return nb;
}

const float* Vertex::setWeight(const float* wt) {
    for (int i = 0; i < MAX_W && wt[i] != 0; ++i) weight[i] = wt[i];
    return wt;
}

float Vertex::addWeight(float f, int i) {
    if (i >= 0 && i < MAX_W) weight[i] = f;
    return f;
}

int Vertex::getFirstNode() const {
    if (!nodes || nodes->empty()) return number;
    return *nodes->begin();
}

void Vertex::settify() {
    if (!nodes) nodes = std::make_unique<NodeSet>();
    nodes->insert(number);

    // Simple name and path: the label cut at its last "."; the root package
    // "." is its own simple name.
    std::string simpleName = label;
    std::string path;
    std::size_t dot = label.rfind('.');
    if (label != "." && dot != std::string::npos) {
        simpleName = label.substr(dot + 1);
        path = label.substr(0, dot);
    }

    std::unique_ptr<std::vector<std::string>> words;
    if (!simpleName.empty()) words = IdSplitter(simpleName);

    std::unique_ptr<std::vector<std::string>> pieces;
    if (!specif.empty()) pieces = treatSpecif(specif, type);

    std::unique_ptr<std::vector<std::string>> ownerWords;
    if (type == 2 || type == 3) {
        std::size_t ownerDot = path.rfind('.');
        std::string owner = ownerDot == std::string::npos ? std::string() : path.substr(ownerDot + 1);
        if (!owner.empty()) ownerWords = IdSplitter(owner);
    }

    if (words) nTerms = lowerCaseSet(*words);
    if (ownerWords) nPaths = lowerCaseSet(*ownerWords);

    if (type == 0 || type == 1) {
        nSpecs.reset();
    } else if (pieces) {
        nSpecs = std::make_unique<std::set<std::string>>();
        for (std::size_t p = 0; p < pieces->size(); ++p) {
            std::string piece = (*pieces)[p];
            std::string tag = to_string(static_cast<int>(p)) + "-";
            if (piece.empty() || piece == " ") {
                nSpecs->insert(tag + piece);
                continue;
            }
            if (p != 0 && p != 2 && isNumericTypeName(piece)) piece = "double";
            if (auto pieceWords = IdSplitter(piece))
                for (const std::string& w : *pieceWords) nSpecs->insert(tag + toLowerAscii(w));
        }
    }
}

void Vertex::print() const {
    std::cout << "\n" << number << ", " << label << ", " << weight[0] << ", " << weight[1] << "\n";
    std::cout << "\tIN : " << in.size() << "\n\t\t";
    for (std::size_t j = 0; j < in.size(); ++j) std::cout << j << "/ " << in[j]->from << "( " << in[j]->label << " ); ";
    std::cout << "\n\tOUT : " << out.size() << "\n\t\t";
    for (std::size_t j = 0; j < out.size(); ++j) std::cout << j << "/ " << out[j]->to << "( " << out[j]->label << " ); ";
    std::cout << "\n\tALL : " << edges.size() << "\n\t\t";
    for (std::size_t j = 0; j < edges.size(); ++j)
        std::cout << j << "/" << edges[j]->from << ">" << edges[j]->to << "( " << edges[j]->label << " ); ";
}

}  // namespace graphmat

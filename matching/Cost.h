// The cost model of error-tolerant graph matching: prices of deleting,
// inserting and substituting vertices and edges under an integer cost mode
// (0 fixed penalties, 1 class costs and the label substitution matrix,
// 2 synthetic pairs with error parameters, 3 typed class diagrams; any other
// mode prices everything 0), with the weights the prices are formed from.
#pragma once

#include <array>
#include <map>
#include <string>

#include "graph/Edge.h"
#include "graph/Vertex.h"

namespace graphmat {

class Cost {
public:
    // Costs given to the constructor from arrays; kept for inspection only.
    double nodeMatrix[3] = {0, 0, 0};
    double edgeDeletionMatrix[MAX_LABELS] = {};
    double edgeInsertionMatrix[MAX_LABELS] = {};
    // Error parameters of synthetic pairs; 0 until initMode2 sets them.
    double str_error = 0;
    double lab_error = 0;
    double node_error = 0;
    double edgeToken = 0;
    double nodeToken = 0;
    double renameToken = 0;  // 100 after initMode1; printed by the reports
    double dropWeight = 0;
    double dropWeightN = 0;  // node drop weight (-d)
    double dropWeightE = 0;  // edge drop weight (-g)
    double delAttr = 0;
    double addAttr = 0;
    double delMeth = 0;
    double addMeth = 0;
    double classInsertion = 0;
    double classDeletion = 0;
    double classMatch = 0;
    double packageInsertion = 0;
    double packageDeletion = 0;
    double packageMatch = 0;
    double methodInsertion = 0;
    double methodDeletion = 0;
    double methodMatch = 0;
    double attributeInsertion = 0;
    double attributeDeletion = 0;
    double attributeMatch = 0;
    double edgeWeight = 0;  // edge weight (-e): multiplies every mode-3 edge price
    double asymmetry = 0;   // asymmetry (-y) between insertions and deletions
    std::map<std::string, int> labelToInt;
    // Fixed penalties of mode 0 and of the edit-path log.
    double _cni = 0;
    double _cnd = 0;
    double _cns = 0;
    double _cnsi = 0;
    double _cei = 0;
    double _ced = 0;
    double _cesi = 0;
    double _cess = 0;
    double _cesl = 0;
    double _lw = 0;  // label weight (-c)
    double _aw = 0;  // attribute weight (1 - _lw) / 3
    double _mw = 0;  // method weight (1 - _lw) - _aw
    double bonus = 0;
    std::array<std::string, 90> labelSubstitutionOrder;
    // Label substitution matrix: row = label digit on the graph-1 side,
    // column = label digit on the graph-2 side, digit 0 standing for no arc.
    double edgeMatrix[MAX_LABELS][MAX_LABELS] = {};
    // Matrix of the constructor from integers; not used for pricing.
    double edgeMatrix2[8][8] = {};
    // The matcher's partner arrays, borrowed (never freed here).
    int* M12 = nullptr;
    int* M21 = nullptr;
    std::map<std::string, std::string> store_costs;

    // Default penalties, then initMode1(0, 0, 0, 0, 0).
    Cost();
    // Penalties and weights given as integers (weights in hundredths);
    // prints one line with the resulting penalties.
    Cost(int ccns, int ccnd, int ccni, int cced, int ccei, int ccesl, int ccess, int lw, int aw,
         int mw, int dwn, int dwe, int edw, int asy);
    // Node costs nodeM[0..2], edge deletion and insertion costs edgeD[0..3]
    // and edgeI[0..3]; edgeM is accepted and not used.
    Cost(const double* nodeM, const double* const* edgeM, const double* edgeD, const double* edgeI);

    void init();
    void init1();
    void initMode1(double dwn, double dwe, double ew, double asy, double lab_w);
    void initMode2(double s_err, double l_err, double n_err);
    void initMode3(double attrM, double methM, double classM, double packM, double dwn, double dwe,
                   double ew, double asy);

    // Match weight of a type code: packages when the two low bits are 0,
    // else class, method or attribute by the remainder modulo 4; a negative
    // remainder (unknown type) weighs as a class.
    double matchWeight(int type) const;

    // Vertex prices; a null vertex costs 0.
    double cnd(int mode, const Vertex* node) const;
    double cni(int mode, const Vertex* node) const;
    double raw_cns(int mode, const Vertex* node1, const Vertex* node2, float discount) const;
    double cns(int mode, const Vertex* node1, const Vertex* node2, float discount) const;

    // Edge prices; mfrom and mto are the member counts of the two ends
    // (-1 for a free end); nods1 and nods2 the edge node products.
    double ced(int mode, const Edge* edge, int mfrom, int mto) const;
    double cei(int mode, const Edge* edge, int mfrom, int mto) const;
    double raw_ces(int mode, const Edge* edge1, const Edge* edge2, int nods1, int nods2) const;
    double ces(int mode, const Edge* edge1, const Edge* edge2) const;

    // Edge cost of substituting node1 by node2 estimated from their relation
    // histograms (edge types 0 to 6; other types are not counted).
    double estimateO(int mode, const Vertex* node1, const Vertex* node2) const;

    // Cost of the edit path recorded in an edit-path log; printed and returned.
    double cost(int mode, const std::string& filename) const;

private:
    double errorProduct() const { return node_error * lab_error * str_error; }
    // Shared body of cnd (insertion false) and cni (insertion true).
    double vertexEditPrice(int mode, const Vertex* node, bool insertion) const;
    // Shared body of ced (insertion false) and cei (insertion true).
    double edgeEditPrice(int mode, const Edge* edge, int mfrom, int mto, bool insertion) const;
    // Their mode-3 price: an insertion carries the asymmetry as a factor.
    double typedEdgePrice(const Edge* edge, int mfrom, int mto, bool insertion) const;
};

}  // namespace graphmat

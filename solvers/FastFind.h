// Candidate moves of a search held in a few layers ordered by gain, so that a
// move of maximum gain is found without scanning all candidates. Each layer
// is a doubly-linked list threaded through the cells themselves (their
// prevInLayer/nextInLayer links) in insertion order, so appending and
// taking a cell out are constant time. Cells are owned by the caller.
#pragma once

#include <vector>

#include "graph/SparseMatrix.h"
#include "graph/stdafx.h"

namespace graphmat {

class FastFind {
public:
    // One layer: its cells in insertion order.
    struct Layer {
        cell* head = nullptr;
        cell* tail = nullptr;
        long size = 0;
    };

    int nbLayers = 0;    // upper layers + lower layers + 2
    int h_nbLayers = 0;  // upper layers + 1: layers 0 .. h_nbLayers - 1 hold gains >= 0
    int l_nbLayers = 0;  // lower layers
    float top = 0;       // gains from top on share layer 0
    float bottom = 0;    // gains from -bottom to 0 spread over the lower layers
    short bestLayer = 0;   // first non-empty layer; the last layer when all are empty
    short secondBest = 0;  // next non-empty layer after bestLayer; the last when none
    int insert_threshold = 0;  // lower bound of layer min(secondBest, nbLayers - 1)
    std::vector<Layer> layers;
    std::vector<int> thres_layers;  // lower bound (inclusive) of each layer's truncated gains
    std::vector<int> delta_layer;   // allocated, not used
    SparseMatrix<float>* W = nullptr;
    int nbFinds = 0;
    // Handed over at construction and kept, not used; borrowed, never freed.
    int* M12 = nullptr;
    int* M21 = nullptr;
    std::vector<cell*>* tabu = nullptr;  // the caller's tabu ring (first bucket)
    SparseMatrix<float>* _M = nullptr;
    int h_gap = 0;  // width of an upper layer
    int l_gap = 0;  // width of a lower layer
    double remove_time = 0;  // milliseconds spent in remove
    double insert_time = 0;  // milliseconds spent in accepted insertions
    double all_time = 0;
    long nbCandidates = 0;  // cells currently held
    int max_vertices = 0;

    FastFind() = default;
    // min is the lower span, max the upper span; h_layers and l_layers must
    // be at least 1. The last five arguments are only stored.
    FastFind(int min, int max, int h_layers, int l_layers, int maxVertices, int* MM12, int* MM21,
             std::vector<cell*>* tab, SparseMatrix<float>* _MM);
    FastFind(const FastFind&) = delete;
    FastFind& operator=(const FastFind&) = delete;

    // Files c into the layer of its gain. With check_thresh, a gain below
    // insert_threshold, or a negative gain while the best layer holds gains
    // >= 0, is refused; a refused or out-of-range cell leaves the structure.
    void insert(cell* c, bool check_thresh);
    // Takes c out of its layer; nothing for a null cell or a cell held nowhere.
    void remove(cell* c);
    // A cell of maximum gain of the best layer, equal gains chosen uniformly
    // at random (one draw per cell that equals or beats the running maximum);
    // null when nothing is held.
    cell* find();
    // Layer index of c's gain; -1 for a gain that is not a number or lies
    // below the lowest layer.
    int findLayer(const cell* c) const { return layerOf(c->delta_m); }
    int layerOf(double gain) const;
    // True when insert(c, true) would file a cell of this gain now, so a
    // caller can leave a refused pair without a cell.
    bool takes(double gain) const;
    void checkBests();
    void display() const;
    // Empties the layers from bestLayer + 2 on.
    void purge();
    void updateThreshold() {}

    // True when c is linked into the layer its layer field names.
    bool holds(const cell* c) const;

private:
    bool refusedByThreshold(double gain) const;
    void append(int lay, cell* c);
    void unlink(cell* c);
    void refreshThreshold();
};

}  // namespace graphmat

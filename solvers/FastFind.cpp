#include "solvers/FastFind.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <iostream>

#include "graph/Random.h"

namespace graphmat {

namespace {

// Milliseconds for the timings of single insertions and removals. These run
// hundreds of thousands of times per search and nothing prints their sums,
// so they read the cheap monotonic clock rather than the processor clock.
double operationClockMs() {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

}  // namespace

FastFind::FastFind(int min, int max, int h_layers, int l_layers, int maxVertices, int* MM12,
                   int* MM21, std::vector<cell*>* tab, SparseMatrix<float>* _MM) {
    // At least one layer on each side, so the widths are defined.
    h_layers = std::max(h_layers, 1);
    l_layers = std::max(l_layers, 1);
    h_nbLayers = h_layers + 1;
    l_nbLayers = l_layers;
    nbLayers = h_layers + l_layers + 2;
    top = static_cast<float>(max);
    bottom = static_cast<float>(min);
    M12 = MM12;
    M21 = MM21;
    tabu = tab;
    _M = _MM;
    max_vertices = maxVertices;
    nbFinds = 0;

    layers.assign(nbLayers, Layer{});
    thres_layers.assign(nbLayers, 0);
    delta_layer.assign(static_cast<std::size_t>(std::max(min + max, 0)), 0);

    thres_layers[0] = static_cast<int>(top);
    h_gap = static_cast<int>(std::ceil(top / h_layers));
    for (int i = 1; i < h_nbLayers; ++i) thres_layers[i] = thres_layers[i - 1] - h_gap;
    thres_layers[h_nbLayers - 1] = 0;
    l_gap = static_cast<int>(std::ceil(bottom / l_layers));
    for (int i = h_nbLayers; i <= nbLayers - 2; ++i) thres_layers[i] = thres_layers[i - 1] - l_gap;
    thres_layers[nbLayers - 1] = -MAX_COST;

    bestLayer = static_cast<short>(h_nbLayers - 1);
    secondBest = static_cast<short>(h_nbLayers);
    insert_threshold = 0;
    nbCandidates = 0;
    remove_time = insert_time = all_time = 0;
}

int FastFind::layerOf(double gain) const {
    if (nbLayers < 2) return -1;
    if (std::isnan(gain)) return -1;
    const double g = std::trunc(gain);
    if (g >= top) return 0;
    // Below the second-to-last bound: the last layer, or none below its
    // floor. Checked before the gain is taken as an int.
    if (g < thres_layers[nbLayers - 2]) return g < thres_layers[nbLayers - 1] ? -1 : nbLayers - 1;
    const int gi = static_cast<int>(g);
    if (gi < 0) return h_nbLayers + (-gi - 1) / l_gap;
    return static_cast<int>(std::ceil((top - static_cast<float>(gi)) / static_cast<float>(h_gap)));
}

bool FastFind::holds(const cell* c) const {
    if (!c || c->layer < 0 || c->layer >= nbLayers) return false;
    return c->prevInLayer != nullptr || layers[c->layer].head == c;
}

void FastFind::append(int lay, cell* c) {
    Layer& L = layers[lay];
    c->prevInLayer = L.tail;
    c->nextInLayer = nullptr;
    if (L.tail)
        L.tail->nextInLayer = c;
    else
        L.head = c;
    L.tail = c;
    ++L.size;
}

void FastFind::unlink(cell* c) {
    Layer& L = layers[c->layer];
    if (c->prevInLayer)
        c->prevInLayer->nextInLayer = c->nextInLayer;
    else
        L.head = c->nextInLayer;
    if (c->nextInLayer)
        c->nextInLayer->prevInLayer = c->prevInLayer;
    else
        L.tail = c->prevInLayer;
    c->prevInLayer = c->nextInLayer = nullptr;
    --L.size;
}

void FastFind::refreshThreshold() {
    insert_threshold = thres_layers[std::min<int>(secondBest, nbLayers - 1)];
}

bool FastFind::takes(double gain) const {
    if (layers.empty() || refusedByThreshold(gain)) return false;
    return layerOf(gain) != -1;
}

bool FastFind::refusedByThreshold(double gain) const {
    return gain < insert_threshold || (thres_layers[bestLayer] >= 0 && gain < 0);
}

void FastFind::insert(cell* c, bool check_thresh) {
    if (!c || layers.empty()) return;
    const double start = operationClockMs();
    if (check_thresh) {
        if (refusedByThreshold(c->delta_m)) {
            remove(c);
            return;
        }
    }
    const int lay = findLayer(c);
    if (lay == -1) {
        remove(c);
        return;
    }
    const bool held = holds(c);
    if (!held) c->layer = -1;  // a layer field that no list backs names nothing
    if (lay != c->layer) {
        if (held) remove(c);
        append(lay, c);
        ++nbCandidates;
        c->layer = static_cast<short>(lay);
        checkBests();
    }
    refreshThreshold();
    insert_time += operationClockMs() - start;
}

void FastFind::remove(cell* c) {
    if (!c || c->layer < 0) return;
    if (!holds(c)) {
        c->layer = -1;
        return;
    }
    const double start = operationClockMs();
    unlink(c);
    --nbCandidates;
    checkBests();
    c->layer = -1;
    refreshThreshold();
    remove_time += operationClockMs() - start;
}

void FastFind::checkBests() {
    const short none = static_cast<short>(nbLayers - 1);
    bestLayer = none;
    secondBest = none;
    bool foundBest = false;
    for (int i = 0; i < nbLayers; ++i) {
        if (layers[i].size == 0) continue;
        if (!foundBest) {
            bestLayer = static_cast<short>(i);
            foundBest = true;
        } else {
            secondBest = static_cast<short>(i);
            break;
        }
    }
}

cell* FastFind::find() {
    ++nbFinds;
    if (layers.empty()) return nullptr;
    float best = static_cast<float>(-MAX_COST);
    int k = 0;
    cell* chosen = nullptr;
    for (cell* c = layers[bestLayer].head; c; c = c->nextInLayer) {
        const float d = static_cast<float>(c->delta_m);
        if (d > best) {
            best = d;
            k = 0;
        }
        if (d >= best) {
            const int r = rand15();
            ++k;
            if (static_cast<float>(1.0 / k) >= static_cast<float>(r / 32767.0)) chosen = c;
        }
    }
    if (!chosen) display();
    return chosen;
}

void FastFind::display() const {
    std::cout << "\n[" << top << "," << bottom << "] \t Layers : " << nbLayers << "("
              << h_nbLayers << "," << l_nbLayers << ") Content : " << nbCandidates
              << " -----  bestLayer : " << bestLayer << " secondBest : " << secondBest
              << " Seuil : " << insert_threshold;
    for (int i = 0; i < nbLayers; ++i) {
        std::cout << "\nLayer " << i << "(" << thres_layers[i] << ") : " << layers[i].size << "\n";
        for (const cell* c = layers[i].head; c; c = c->nextInLayer)
            std::cout << "\t (" << c->x << "," << c->y << ") : " << c->delta_m;
    }
}

void FastFind::purge() {
    for (int i = bestLayer + 2; i < nbLayers; ++i) {
        Layer& L = layers[i];
        for (cell* c = L.head; c;) {
            cell* next = c->nextInLayer;
            c->layer = -1;
            c->prevInLayer = c->nextInLayer = nullptr;
            c = next;
        }
        nbCandidates -= L.size;
        L = Layer{};
    }
    // The count, the best layers and the threshold describe what is left.
    checkBests();
    refreshThreshold();
}

}  // namespace graphmat

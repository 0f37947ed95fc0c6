// MCES: the score variants of the greedy loop. Each recomputes the score
// of every unmatched pair from its gain and, by variant, its similarity,
// potential or connection count, and records the range of the scores.
#include <algorithm>

#include "mces/MCES.h"

namespace graphmat {

template <class Score>
void MCES::scorePass(Score score) {
    // topPairs_ ends with the pairs whose score equals the final maxDelta:
    // a score above the running maximum starts the list again, one equal to
    // it joins. (A score that is not a number never joins; a first one that
    // is not a number leaves no threshold any score reaches, and find
    // checks the threshold as the scan of gamma does.)
    //
    // Each row is scored into a buffer first. When its scores are all
    // numbers and none exceeds the running maximum, the row can only lower
    // the minimum (to its own first smallest score, as the comparisons one
    // by one would) and add its pairs equal to the maximum, as runs.
    // Otherwise the row goes one score at a time.
    const bool keep = !gamma.empty();
    bool first = true;
    scored_ = true;
    topPairs_.clear();
    std::vector<int>& freeCols = freeColumns_;
    freeCols.clear();
    for (int j = 0; j < n2_; ++j)
        if (M21[j] < 0) freeCols.push_back(j);
    const int width = static_cast<int>(freeCols.size());
    std::vector<double>& values = rowScores_;
    values.resize(width);
    for (int i = 0; i < n1_; ++i) {
        if (M12[i] >= 0) continue;
        for (int k = 0; k < width; ++k) values[k] = score(i, freeCols[k]);
        if (keep) {
            double* scores = gamma.row(i);
            for (int k = 0; k < width; ++k) scores[freeCols[k]] = values[k];
        }
        if (!first && width > 0) {
            double low = values[0], high = values[0];
            bool number = true;
            for (int k = 0; k < width; ++k) {
                const double v = values[k];
                number = number && v == v;
                low = v < low ? v : low;
                high = v > high ? v : high;
            }
            if (number && !(high > maxDelta)) {
                if (low < minDelta) minDelta = low;
                if (high == maxDelta) {
                    for (int k = 0; k < width;) {
                        if (values[k] != maxDelta) {
                            ++k;
                            continue;
                        }
                        const int start = k;
                        while (k < width && values[k] == maxDelta) ++k;
                        topPairs_.push_back({i, freeCols[start], freeCols[k - 1] + 1});
                    }
                }
                continue;
            }
        }
        bool lastJoined = false;  // the previous pair of the row is in the last run
        for (int k = 0; k < width; ++k) {
            const int j = freeCols[k];
            const double value = values[k];
            bool joins = false;
            if (first) {
                minDelta = maxDelta = value;
                first = false;
                topPairs_.clear();
                joins = true;
            } else {
                if (value < minDelta) minDelta = value;
                if (value > maxDelta) {
                    maxDelta = value;
                    topPairs_.clear();
                    lastJoined = false;
                    joins = true;
                } else if (value == maxDelta) {
                    joins = true;
                }
            }
            if (!joins) {
                lastJoined = false;
            } else if (lastJoined) {
                topPairs_.back().to = j + 1;
            } else {
                topPairs_.push_back({i, j, j + 1});
                lastJoined = true;
            }
        }
    }
}

namespace {

// The number of commits after which variants 3 and 7 hand the loop over to
// the candidate structure: the smaller order divided by `share`, kept
// between 5 and 50.
int handOverAt(int n1, int n2, float share) {
    const float m = static_cast<float>(std::min(n1, n2));
    int b = static_cast<int>(m / share);
    if (b <= 4) b = 5;
    if (b > 50) b = 50;
    return b;
}

}  // namespace

void MCES::rescore(bool atStart) {
    switch (idAlgo) {
        case 0:
        case 1:
        case 8:
            if (atStart) setGamma1();  // after a commit, update1 rescores
            break;
        case 2: setGamma2(); break;
        case 3: setGamma3(); break;
        case 4: setGamma4(); break;
        case 5: setGamma5(); break;
        case 6: setGamma6(); break;
        case 7: setGamma7(); break;
        case 9:
            if (atStart) setGamma9();  // scored once
            break;
        default: break;  // no score variant: every score stays 0
    }
}

void MCES::setGamma1() {
    float a = alpha == 0 ? 0.0f : static_cast<float>(1.0 / alpha);
    if (idAlgo == 0) a = 0;
    const float a2 = a * a;
    bool first = true;
    scorePass([&](int i, int j) {
        const float gain = g(i, j);
        if (first) {
            minG = maxG = gain;
            first = false;
        } else {
            if (gain < minG) minG = gain;
            if (gain > maxG) maxG = gain;
        }
        double value = (1 - a) * gain + (a - a2) * connexions(i, j);
        value += -a * getNKilled(i, j) - a2 * getERemoved(i, j);
        return value;
    });
}

void MCES::setGamma2() {
    scorePass([&](int i, int j) { return g(i, j) + potential(i, j); });
}

void MCES::setGamma3() {
    const int b = handOverAt(n1_, n2_, 10.0f);
    if (nbMatched == b) findfast = true;
    if (findfast) return;
    int bonus = b - nbMatched;
    if (bonus <= 0) bonus = 1;
    scorePass([&](int i, int j) { return static_cast<double>(g(i, j) + static_cast<int>(bonus * simil(i, j))); });
}

void MCES::setGamma4() {
    scorePass([&](int i, int j) { return static_cast<double>((simil(i, j) + 1) * g(i, j)); });
}

void MCES::setGamma5() {
    if (findfast) return;
    scorePass([&](int i, int j) { return static_cast<double>(g(i, j) + 1 * simil(i, j)); });
}

void MCES::setGamma6() {
    if (findfast) return;
    const float m = static_cast<float>(std::min(n1_, n2_));
    const int w = nbMatched <= m / 10 ? 1000 : 1;
    scorePass([&](int i, int j) { return static_cast<double>(g(i, j) + w * simil(i, j)); });
}

void MCES::setGamma7() {
    const int b = handOverAt(n1_, n2_, 20.0f);
    if (nbMatched == b) findfast = true;
    if (findfast) return;
    int bonus = b - nbMatched;
    if (bonus <= 0) bonus = 1;
    scorePass([&](int i, int j) { return static_cast<double>(g(i, j) + bonus * simil(i, j)); });
}

void MCES::setGamma9() {
    if (findfast) return;
    scorePass([&](int i, int j) { return static_cast<double>(g(i, j) + 0 * simil(i, j)); });
}

}  // namespace graphmat

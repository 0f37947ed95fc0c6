// MCES: the score variants of the greedy loop. Each recomputes the score
// of every unmatched pair from its gain and, by variant, its similarity,
// potential or connection count, and records the range of the scores.
#include <algorithm>

#include "mces/MCES.h"
#include "mces/PlusZero.h"

namespace graphmat {

void MCES::comparePairScore(int i, int j, double value, bool& first, bool& lastJoined) {
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

void MCES::markPair(int i, int j) {
    if (!liveIndexed_ || (plusZero(g(i, j)) && plusZero(simil(i, j)))) return;
    std::vector<int>& row = livePairs_[i];
    const auto at = std::lower_bound(row.begin(), row.end(), j);
    if (at == row.end() || *at != j) row.insert(at, j);
}

bool MCES::indexLivePairs() {
    if (liveChecked_) return liveIndexed_;
    liveChecked_ = true;
    // Listing pays only while most pairs are blank; a quarter is the bound.
    const long long bound = static_cast<long long>(n1_) * n2_ / 4;
    long long listed = 0;
    livePairs_.assign(n1_, std::vector<int>());
    for (int i = 0; i < n1_ && listed <= bound; ++i) {
        const float* gains = g.row(i);
        const float* similarities = simil.row(i);
        if (allPlusZero(gains, n2_) && allPlusZero(similarities, n2_)) continue;  // lists nothing
        for (int j = 0; j < n2_; ++j)
            if (!plusZero(gains[j]) || !plusZero(similarities[j])) livePairs_[i].push_back(j);
        listed += static_cast<long long>(livePairs_[i].size());
    }
    liveIndexed_ = listed <= bound;
    if (!liveIndexed_) std::vector<std::vector<int>>().swap(livePairs_);
    return liveIndexed_;
}

template <class Score>
void MCES::sparseScorePass(Score score) {
    // The same comparisons as the dense pass, pair by pair in row-major
    // order, except that the unmatched pairs between two listed ones score
    // +0 all alike: the first of them is compared as any pair is, and the
    // others then change neither extreme and join the maximum exactly when
    // that first one did, so they extend its run.
    bool first = true;
    scored_ = true;
    topPairs_.clear();
    std::vector<int>& nextFree = freeColumns_;  // nextFree[c]: the first unmatched column from c on
    nextFree.assign(static_cast<std::size_t>(n2_) + 1, n2_);
    for (int c = n2_ - 1; c >= 0; --c) nextFree[c] = M21[c] < 0 ? c : nextFree[c + 1];
    for (int i = 0; i < n1_; ++i) {
        if (M12[i] >= 0) continue;
        bool lastJoined = false;  // the previous pair of the row is in the last run
        auto compare = [&](int j, double value) { comparePairScore(i, j, value, first, lastJoined); };
        auto blank = [&](int from, int to) {  // the unmatched columns of [from, to), none listed
            const int j = nextFree[from];
            if (j >= to) return;
            compare(j, 0.0);
            if (lastJoined) topPairs_.back().to = to;
        };
        int from = 0;
        for (const int j : livePairs_[i]) {
            if (M21[j] >= 0) continue;
            blank(from, j);
            compare(j, score(i, j));
            from = j + 1;
        }
        blank(from, n2_);
    }
}

template <class Score>
void MCES::scorePass(Score score, bool blankIsZero) {
    if (blankIsZero && gamma.empty() && indexLivePairs()) {
        sparseScorePass(score);
        return;
    }
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
        for (int k = 0; k < width; ++k) comparePairScore(i, freeCols[k], values[k], first, lastJoined);
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
    scorePass([&](int i, int j) { return static_cast<double>(g(i, j) + static_cast<int>(bonus * simil(i, j))); }, true);
}

void MCES::setGamma4() {
    scorePass([&](int i, int j) { return static_cast<double>((simil(i, j) + 1) * g(i, j)); }, true);
}

void MCES::setGamma5() {
    if (findfast) return;
    scorePass([&](int i, int j) { return static_cast<double>(g(i, j) + 1 * simil(i, j)); }, true);
}

void MCES::setGamma6() {
    if (findfast) return;
    const float m = static_cast<float>(std::min(n1_, n2_));
    const int w = nbMatched <= m / 10 ? 1000 : 1;
    scorePass([&](int i, int j) { return static_cast<double>(g(i, j) + w * simil(i, j)); }, true);
}

void MCES::setGamma7() {
    const int b = handOverAt(n1_, n2_, 20.0f);
    if (nbMatched == b) findfast = true;
    if (findfast) return;
    int bonus = b - nbMatched;
    if (bonus <= 0) bonus = 1;
    scorePass([&](int i, int j) { return static_cast<double>(g(i, j) + bonus * simil(i, j)); }, true);
}

void MCES::setGamma9() {
    if (findfast) return;
    scorePass([&](int i, int j) { return static_cast<double>(g(i, j) + 0 * simil(i, j)); }, true);
}

}  // namespace graphmat

// Number helpers of the tracker: strict reading of fields, truncation and
// sums that stay inside int, and values written so that spreadsheets read
// them (never "nan" or "inf").
#pragma once

#include <climits>
#include <cmath>
#include <string>

#include "graph/stdafx.h"

namespace graphmat {

// The whole text is one decimal number (a sign, digits, a point, an
// exponent), finite.
inline bool readWholeNumber(const std::string& text, double& value) {
    if (text.empty() || leadingFloatLength(text) != text.size()) return false;
    double read = 0;
    if (!from_string(text, read) || !std::isfinite(read)) return false;
    value = read;
    return true;
}

// The whole text is an integer (optional sign, digits) inside int.
inline bool readWholeInt(const std::string& text, int& value) {
    std::size_t k = (!text.empty() && (text[0] == '-' || text[0] == '+')) ? 1 : 0;
    if (k == text.size()) return false;
    long long read = 0;
    for (; k < text.size(); ++k) {
        if (text[k] < '0' || text[k] > '9') return false;
        read = read * 10 + (text[k] - '0');
        if (read > static_cast<long long>(INT_MAX) + 1) return false;
    }
    if (text[0] == '-') read = -read;
    if (read < INT_MIN || read > INT_MAX) return false;
    value = static_cast<int>(read);
    return true;
}

// Truncation toward zero into int; values beyond int stop at its bounds, a
// value that is not a number gives 0.
inline int truncToInt(double x) {
    if (std::isnan(x)) return 0;
    if (x >= static_cast<double>(INT_MAX)) return INT_MAX;
    if (x <= static_cast<double>(INT_MIN)) return INT_MIN;
    return static_cast<int>(x);
}

// a + b, stopping at the bounds of int.
inline int saturatingAdd(int a, int b) {
    long long sum = static_cast<long long>(a) + b;
    if (sum > INT_MAX) return INT_MAX;
    if (sum < INT_MIN) return INT_MIN;
    return static_cast<int>(sum);
}

// A double for a report: default stream formatting, 0 in place of a value
// that is not finite (a 0/0 ratio, the logarithm of 0).
inline double finiteOr0(double x) { return std::isfinite(x) ? x : 0.0; }

// √(squares / n − mean²), 0 when rounding makes the variance negative.
inline double deviation(double squares, double n, double mean) {
    double variance = squares / n - mean * mean;
    return variance > 0 ? std::sqrt(variance) : 0.0;
}

}  // namespace graphmat

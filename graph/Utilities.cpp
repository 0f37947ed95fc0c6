#include <algorithm>

#include "graph/stdafx.h"

namespace graphmat {

std::unique_ptr<std::vector<std::string>> splitString(std::string str, std::string delim) {
    if (str.empty()) return nullptr;
    auto pieces = std::make_unique<std::vector<std::string>>();
    if (delim.empty()) {
        pieces->push_back(str);
        return pieces;
    }
    std::size_t start = 0;
    for (std::size_t hit = str.find(delim); hit != std::string::npos; hit = str.find(delim, start)) {
        pieces->push_back(str.substr(start, hit - start));
        start = hit + delim.size();
    }
    if (start < str.size()) pieces->push_back(str.substr(start));
    return pieces;
}

std::string replaceString(std::string str, std::string str1, std::string str2) {
    if (str.empty() || str1.empty() || str.find(str1) == std::string::npos) return str;
    auto pieces = splitString(str, str1);
    std::string joined;
    for (std::size_t i = 0; i < pieces->size(); ++i) {
        if (i > 0) joined += str2;
        joined += (*pieces)[i];
    }
    return joined;
}

void FindAndReplace(std::string& tInput, std::string tFind, std::string tReplace) {
    if (tFind.empty()) return;
    std::size_t pos = 0;
    while ((pos = tInput.find(tFind, pos)) != std::string::npos) {
        tInput.replace(pos, tFind.size(), tReplace);
        pos += tReplace.size();
    }
}

std::size_t leadingFloatLength(const std::string& text) {
    const std::size_t n = text.size();
    auto at = [&](std::size_t k) { return k < n ? text[k] : '\0'; };
    auto isDigit = [&](std::size_t k) { return at(k) >= '0' && at(k) <= '9'; };
    auto isSign = [&](std::size_t k) { return at(k) == '+' || at(k) == '-'; };
    std::size_t i = 0;
    while (i < n && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
    if (isSign(i)) ++i;
    std::size_t digits = 0;
    for (; isDigit(i); ++i) ++digits;
    if (at(i) == '.') {
        std::size_t j = i + 1;
        for (; isDigit(j); ++j) ++digits;
        if (digits > 0) i = j;
    }
    if (digits == 0) return 0;
    if (at(i) == 'e' || at(i) == 'E') {
        std::size_t j = i + 1;
        if (isSign(j)) ++j;
        if (isDigit(j)) {
            while (isDigit(j)) ++j;
            i = j;
        }
    }
    return i;
}

std::string stringISet(const std::set<int>* istr) {
    std::string text;
    if (istr == nullptr) return text;
    for (int value : *istr) {
        if (!text.empty()) text += ",";
        text += to_string(value);
    }
    return text;
}

bool compaire(const paire& p, const paire& q) { return p.val > q.val; }

std::vector<paire> sort_paires(std::vector<paire> vect_pair) {
    // A stable sort on a total order: ties keep their order and a value that
    // is not a number goes last, so the result never depends on the library.
    std::stable_sort(vect_pair.begin(), vect_pair.end(), [](const paire& p, const paire& q) {
        bool pNan = std::isnan(p.val), qNan = std::isnan(q.val);
        if (pNan || qNan) return !pNan && qNan;
        return compaire(p, q);
    });
    return vect_pair;
}

std::string toLowerAscii(const std::string& s) {
    std::string lower = s;
    for (char& c : lower) c = toLowerAscii(c);
    return lower;
}

}  // namespace graphmat

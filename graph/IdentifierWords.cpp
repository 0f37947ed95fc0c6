// Identifier words: cutting identifiers into words and signature texts
// into pieces.
#include "graph/stdafx.h"

namespace graphmat {

namespace {

bool isSeparator(char c) { return c == '$' || c == '_' || c == '*'; }

// First position after `from` holding a capital (wantCapital) or a small
// character (otherwise); npos when there is none.
std::size_t firstAfter(const std::string& p, std::size_t from, bool wantCapital) {
    for (std::size_t k = from + 1; k < p.size(); ++k)
        if (isUpperAscii(p[k]) == wantCapital) return k;
    return std::string::npos;
}

// Scans one piece of two or more characters into camel-case words.
void scanPiece(const std::string& p, std::vector<std::string>& words) {
    const std::size_t n = p.size();
    const std::size_t npos = std::string::npos;
    auto add = [&](std::size_t from, std::size_t to) { words.push_back(p.substr(from, to - from + 1)); };
    std::size_t i = 0;
    while (true) {
        if (!isUpperAscii(p[i])) {
            std::size_t k = firstAfter(p, i, true);
            if (k == npos || k == n - 1) {
                add(i, n - 1);
                return;
            }
            add(i, k - 1);
            i = k;
            continue;
        }
        std::size_t s = firstAfter(p, i, false);
        if (s == i + 1 && s != n - 1) {
            // A capitalised word.
            std::size_t k = firstAfter(p, s, true);
            if (k == npos) {
                add(i, n - 1);
                return;
            }
            if (k == n - 1) {
                add(i, n - 2);
                add(n - 1, n - 1);
                return;
            }
            add(i, k - 1);
            i = k;
        } else if (s != npos && s >= i + 2 && s != n - 1) {
            // An acronym gives its last capital to the word that follows.
            add(i, s - 2);
            i = s - 1;
        } else {
            add(i, n - 1);
            return;
        }
    }
}

}  // namespace

std::unique_ptr<std::vector<std::string>> IdSplitter(std::string str) {
    if (str.empty()) return nullptr;
    if (str.size() == 1) return std::make_unique<std::vector<std::string>>(1, str);
    std::string work = str;
    for (char& c : work)
        if (isSeparator(c)) c = ' ';
    auto pieces = splitString(work, " ");
    auto words = std::make_unique<std::vector<std::string>>();
    if (pieces) {
        for (const std::string& piece : *pieces) {
            if (piece.empty()) continue;
            if (piece.size() == 1)
                words->push_back(piece);
            else
                scanPiece(piece, *words);
        }
    }
    if (words->empty()) return nullptr;
    return words;
}

std::unique_ptr<std::vector<std::string>> treatSpecif(std::string str, int type) {
    if (str.empty()) return nullptr;
    auto pieces = splitString(str, type > 3 ? "@" : ",");
    for (std::string& piece : *pieces) {
        std::size_t dot = piece.rfind('.');
        if (dot != std::string::npos) piece = piece.substr(dot + 1);
    }
    return pieces;
}

}  // namespace graphmat

// Name similarities: the Levenshtein edit distance of two texts and its
// normalised forms (Distance), and the similarity of two identifiers by
// their identifier words (IdSim, which pairs words with Hungarian).
#pragma once

#include <string>

namespace graphmat {

class Distance {
public:
    // The smallest of three values.
    int Minimum(int a, int b, int c);
    // Cell (col, row) of a row-by-row table of nCols + 1 columns.
    int* GetCellPointer(int* pOrigin, int col, int row, int nCols);
    int GetAt(int* pOrigin, int col, int row, int nCols);
    void PutAt(int* pOrigin, int col, int row, int nCols, int x);

    // Edit distance with unit costs (bytes, case-sensitive).
    int LD(const char* s, const char* t);
    // LD divided by the length of the longer text; 0 for two empty texts.
    float NLD(const char* s, const char* t);
    // The same value as NLD.
    float WNLD(const char* s, const char* t);
};

// Similarity of two identifiers in [0, 1]: with a single word on one side,
// by equality or containment of the lower-cased identifiers; otherwise twice
// the largest total length of contained words over a one-to-one pairing of
// the words, divided by the two identifiers' lengths. An identifier without
// words (empty, or only separators) is similar only to an equal text: 1
// when the two lower-cased texts are equal, else 0.
double IdSim(std::string str1, std::string str2);

}  // namespace graphmat

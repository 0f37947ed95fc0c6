// The shared header of the system: program constants, the plain records
// shared by several subsystems, and the text, number and set helpers.
#pragma once

#include <charconv>
#include <cmath>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <type_traits>
#include <vector>

namespace graphmat {

// ---------------------------------------------------------------- constants

constexpr int MAX_W = 5;          // weight slots of a vertex and of an edge
constexpr int MAX_LABELS = 10;    // edge-label digit slots (digits 0 to 9)
constexpr int MAX_DEGREE = 50;    // start of the minimum degree statistics
constexpr int MAX_MULTI = 5;      // start of the minimum multiplicity statistic
constexpr int MAX_COST = 500000;  // magnitude of the lowest gain band
constexpr double MAX_ITERATIONS = 0.1;  // stagnation length factor
constexpr int TABU_IN_MIN = 5;    // least tenure of an undone pair
constexpr int TABU_IN_MAX = 20;   // bound (exclusive) of that tenure
constexpr int TABU_OUT_MIN = 5;   // least tenure of a newly made pair
constexpr int TABU_OUT_MAX = 10;  // bound (exclusive) of that tenure
constexpr int TABU_MAX = 100;     // buckets of the tabu ring
constexpr int TOP_FF = 100;       // upper span of the candidate layers
constexpr int BOTTOM_FF = 100;    // lower span of the candidate layers
constexpr int H_LAYERS = 1;       // candidate layers for positive gains
constexpr int L_LAYERS = 1;       // candidate layers for negative gains
inline const std::string CONFIG = "config.txt";
inline const std::string SEPARATOR = ",";

// Price of an impossible edit, and the tabu mark of a pair fixed for the run.
constexpr int FIXED_TABU = 32767;

// Relation slots of a term profile entry.
constexpr int SEMAREL_SLOTS = 9;

// ------------------------------------------------------------------ records
// Plain records: a value-initialised record (as a sparse matrix creates it)
// has every field zero.

// One candidate move: the pair (x, y) of a graph-1 and a graph-2 vertex or
// block, its cost change and gain, and its place in the candidate layers.
struct cell {
    int x;
    int y;
    double delta;     // change of the total matching cost the move makes
    double delta_m;   // gain of the move: -delta
    double delta2;    // unused; stays 0
    double delta2_m;  // unused; stays 0
    short layer;      // candidate layer that holds the cell, -1 when none
    int tabu;         // iteration until which the move is tabu
    bool fixed;       // a start pair fixed for the whole run (tabu FIXED_TABU)
    // Links of the layer list that holds the cell; null when in none.
    cell* prevInLayer;
    cell* nextInLayer;
};

// One entry of a term profile (vertex x term): per relation slot counts and
// their total.
struct semarel {
    int sum;
    int count[SEMAREL_SLOTS];
};

// A scored vertex pair.
struct paire {
    unsigned x1;
    unsigned x2;
    double val;
};

// An edge-label signature seen across versions and how many versions show it.
struct occurrence {
    double value;
    unsigned short count;
};

// ------------------------------------------------------------------ helpers

// Cuts str at every occurrence of delim. Empty pieces at the start and in
// the middle stay, an empty last piece is dropped; null for an empty text.
// An empty delimiter gives the whole text as one piece.
std::unique_ptr<std::vector<std::string>> splitString(std::string str, std::string delim);

// A copy of str with str1 replaced by str2, made by cutting with splitString
// and joining the pieces, so an occurrence at the very end is dropped.
std::string replaceString(std::string str, std::string str1, std::string str2);

// Replaces every occurrence of tFind in tInput, resuming after each
// inserted text; an empty pattern changes nothing.
void FindAndReplace(std::string& tInput, std::string tFind, std::string tReplace);

// Length of the longest leading floating-point number of text (after the
// leading white space): sign, digits, decimal point, digits, then an exponent
// only when digits follow its mark. 0 when the text begins with no number.
std::size_t leadingFloatLength(const std::string& text);

// Reads a number from the start of Str (leading blanks skipped, longest
// leading number taken). On failure Dest keeps its value and false returns.
template <class T>
bool from_string(const std::string& Str, T& Dest) {
    T value{};
    if constexpr (std::is_floating_point_v<T>) {
        // The stream alone rejects "1e" or "2e+x" as a whole; the number in
        // front of such an exponent mark is what the text holds.
        std::size_t length = leadingFloatLength(Str);
        if (length == 0) return false;
        std::istringstream iss(Str.substr(0, length));
        if (!(iss >> value)) return false;
    } else {
        std::istringstream iss(Str);
        if (!(iss >> value)) return false;
    }
    Dest = value;
    return true;
}

// The value written with default stream formatting: integers in decimal,
// floating values with six significant digits (%g style).
// Integers go through std::to_chars, which writes the same decimal digits as
// the stream without building one per number.
template <class T>
std::string to_string(const T& Value) {
    constexpr bool decimalInteger = std::is_integral_v<T> && !std::is_same_v<T, bool> && !std::is_same_v<T, char> &&
                                    !std::is_same_v<T, signed char> && !std::is_same_v<T, unsigned char> &&
                                    !std::is_same_v<T, wchar_t> && !std::is_same_v<T, char16_t> &&
                                    !std::is_same_v<T, char32_t>;
    if constexpr (decimalInteger) {
        char digits[24];
        auto end = std::to_chars(digits, digits + sizeof digits, Value).ptr;
        return std::string(digits, end);
    } else {
        std::ostringstream oss;
        oss << Value;
        return oss.str();
    }
}

// A new set of the elements of set1 that set2 also holds.
template <class T>
std::unique_ptr<std::set<T>> set_inter(const std::set<T>* set1, const std::set<T>* set2) {
    auto result = std::make_unique<std::set<T>>();
    for (const T& element : *set1)
        if (set2->count(element)) result->insert(element);
    return result;
}

// The ints of the set in ascending order joined by ","; empty for null.
std::string stringISet(const std::set<int>* istr);

// True when p scores higher than q.
bool compaire(const paire& p, const paire& q);

// A sorted copy, largest val first. Equal values keep their order, and a
// value that is not a number sorts last, so the order is always the same.
std::vector<paire> sort_paires(std::vector<paire> vect_pair);

// floor(d + 0.5): halves go up, also below zero (-2.5 gives -2).
inline double round(double d) { return std::floor(d + 0.5); }

// Words of an identifier, cut at "$", "_", "*", blanks and case changes;
// null when there is none.
std::unique_ptr<std::vector<std::string>> IdSplitter(std::string str);

// Pieces of a signature text (cut at "," for type codes up to 3, at "@"
// above), each reduced to its text after its last "."; null for "".
std::unique_ptr<std::vector<std::string>> treatSpecif(std::string str, int type);

// ASCII-only character tests and lower-casing, safe for any byte value.
inline bool isUpperAscii(char c) { return c >= 'A' && c <= 'Z'; }
inline char toLowerAscii(char c) { return isUpperAscii(c) ? static_cast<char>(c - 'A' + 'a') : c; }
std::string toLowerAscii(const std::string& s);

}  // namespace graphmat

#include "matching/CostSwitches.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>

namespace graphmat {

double* CostWeights::forSwitch(char letter) {
    switch (letter) {
        case 'd': return &dropWeightN;
        case 'g': return &dropWeightE;
        case 'e': return &edgeWeight;
        case 'y': return &asymmetry;
        case 'c': return &labelWeight;
        default: return nullptr;
    }
}

void CostWeights::install(Cost& costs) const {
    costs.initMode1(dropWeightN, dropWeightE, edgeWeight, asymmetry, labelWeight);
}

std::string CostWeights::refusal() const {
    return asymmetry == -1 ? "An asymmetry of -1 is not allowed (-y)" : "";
}

bool readFiniteNumber(const std::string& text, double& value) {
    if (text.empty() || std::isspace(static_cast<unsigned char>(text[0]))) return false;
    char* end = nullptr;
    const double read = std::strtod(text.c_str(), &end);
    if (*end != '\0' || !std::isfinite(read)) return false;
    value = read;
    return true;
}

bool readInteger(const std::string& text, int& value) {
    if (text.empty() || std::isspace(static_cast<unsigned char>(text[0]))) return false;
    char* end = nullptr;
    errno = 0;
    const long read = std::strtol(text.c_str(), &end, 10);
    if (*end != '\0' || errno == ERANGE || read < INT_MIN || read > INT_MAX) return false;
    value = static_cast<int>(read);
    return true;
}

}  // namespace graphmat

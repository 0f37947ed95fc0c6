#include "reports/EntityNames.h"

namespace graphmat {

namespace {

std::string afterLastDot(const std::string& text) {
    const std::size_t dot = text.rfind('.');
    return dot == std::string::npos ? text : text.substr(dot + 1);
}

std::string nameOf(const Vertex& v, bool shortTypes) {
    std::string text = v.label;
    if (v.type == 2) text += "(" + parameterText(v.specif, shortTypes) + ")";
    FindAndReplace(text, "$", ".");
    return text;
}

}  // namespace

std::string category(int type) {
    switch (type) {
        case 0: return "Package";
        case 1: return "Class";
        case 2: return "Method";
        case 3: return "Field";
        case 4: return "Entity";
        case 5: return "LifeLine";
        case 6: return "Message";
        default: return "";
    }
}

std::string parameterText(const std::string& specif, bool shortTypes) {
    std::string text;
    // A signature holds properties, return type and name, then one piece
    // per parameter.
    if (auto pieces = splitString(specif, ","))
        for (std::size_t p = 3; p < pieces->size(); ++p) {
            if (p > 3) text += ",";
            text += shortTypes ? afterLastDot((*pieces)[p]) : (*pieces)[p];
        }
    return text;
}

std::string entityName(const Vertex& v) { return "\"" + nameOf(v, false) + "\""; }

std::string shortEntityName(const Vertex& v) { return nameOf(v, true); }

}  // namespace graphmat

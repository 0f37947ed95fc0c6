#include "graph/GraphFileFields.h"

#include "graph/Vertex.h"

namespace graphmat {

std::vector<std::string> lineFields(const std::string& line) {
    auto fields = splitString(line, SEPARATOR);
    return fields ? std::move(*fields) : std::vector<std::string>();
}

bool intField(const std::vector<std::string>& fields, std::size_t i, int& value) {
    return i < fields.size() && from_string(fields[i], value);
}

bool arcShaped(const std::vector<std::string>& fields, std::size_t first) {
    int from = -1, to = -1;
    return intField(fields, first, from) && intField(fields, first + 1, to) && first + 2 < fields.size() &&
           isDigitLabel(fields, first + 2);
}

bool isDigitLabel(const std::vector<std::string>& fields, std::size_t i) {
    if (i >= fields.size()) return false;
    const std::string& label = fields[i];
    if (i + 1 < fields.size()) return isDigitText(label);
    const std::size_t end = label.find_last_not_of(" \t");
    return end != std::string::npos && isDigitText(label.substr(0, end + 1));
}

bool isDigitText(const std::string& text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

std::unique_ptr<Edge> readArcFields(const std::vector<std::string>& fields, std::size_t first, int number,
                                    bool withWeights) {
    int from = -1, to = -1;
    if (!intField(fields, first, from) || !intField(fields, first + 1, to)) return nullptr;
    if (first + 2 >= fields.size() || fields[first + 2].empty()) return nullptr;
    auto e = std::make_unique<Edge>(from, to, fields[first + 2]);
    e->setNumber(number);
    if (withWeights) readWeightFields(fields, first + 3, *e);
    return e;
}

std::string simpleName(const std::string& label) {
    std::size_t dot = label.rfind('.');
    return dot == std::string::npos ? label : label.substr(dot + 1);
}

std::string fieldAt(const std::vector<std::string>& fields, std::size_t i) {
    return i < fields.size() ? fields[i] : std::string();
}

bool checkVertexOrder(const std::vector<std::string>& fields, std::size_t i, const std::string& label,
                      int position, std::ostream& trace) {
    int number = -1;
    const bool hasNumber = intField(fields, i, number);
    if (hasNumber && number == position) return true;
    trace << "\n Order Problem: " << (hasNumber ? to_string(number) : fieldAt(fields, i)) << "," << label << "["
              << position << "]";
    return false;
}

}  // namespace graphmat

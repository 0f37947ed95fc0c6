#include "graph/ClassMembers.h"

#include <iostream>
#include <vector>

#include "graph/stdafx.h"

namespace graphmat {

namespace {

// Applies the keywords of a properties text; unknown words have no effect
// and the last visibility word wins.
template <class Member>
void applyProperties(Member& member, const std::string& properties) {
    auto words = splitString(properties, " ");
    if (!words) return;
    for (const std::string& w : *words) {
        if (w == "private" || w == "PRIVATE")
            member.visibility = 0;
        else if (w == "protected" || w == "PROTECTED")
            member.visibility = 1;
        else if (w == "static" || w == "STATIC")
            member._static = true;
        else if (w == "final" || w == "FINAL")
            member._final = true;
        else if (w == "abstract" || w == "ABSTRACT")
            member._abstract = true;
    }
}

// The "@"-separated parts of a member text; none for the empty text.
std::vector<std::string> memberParts(const std::string& spec) {
    auto parts = splitString(spec, "@");
    return parts ? *parts : std::vector<std::string>();
}

// The i-th part, or the empty text when the member text has fewer parts.
std::string partAt(const std::vector<std::string>& parts, std::size_t i) {
    return i < parts.size() ? parts[i] : std::string();
}

}  // namespace

ClassMethod::ClassMethod(const std::string& spec) {
    std::vector<std::string> parts = memberParts(spec);
    // Three parts (or fewer, outside the syntax) carry no properties.
    std::size_t index = 0;
    if (parts.size() > 3) {
        properties = parts[0];
        applyProperties(*this, properties);
        index = 1;
    }
    output = partAt(parts, index);
    name = partAt(parts, index + 1);
    std::string list = partAt(parts, index + 2);
    inputs = list.size() >= 2 ? list.substr(1, list.size() - 2) : std::string();
}

int ClassMethod::compare(const ClassMethod& other) const {
    return name == other.name && output == other.output && inputs == other.inputs ? 1 : 0;
}

std::string ClassMethod::write() const { return properties + "," + output + "," + name + "," + inputs; }

void ClassMethod::print() const {
    std::cout << visibility << " " << output << " " << name << " " << inputs << "\n";
}

ClassAttribute::ClassAttribute(const std::string& spec) {
    std::vector<std::string> parts = memberParts(spec);
    // Two parts (or fewer, outside the syntax) carry no properties; parts
    // after the third are ignored.
    std::size_t index = 0;
    if (parts.size() >= 3) {
        properties = parts[0];
        applyProperties(*this, properties);
        index = 1;
    }
    type = partAt(parts, index);
    name = partAt(parts, index + 1);
}

int ClassAttribute::compare(const ClassAttribute& other) const {
    return name == other.name && type == other.type ? 1 : 0;
}

std::string ClassAttribute::write() const { return properties + "," + type + "," + name; }

void ClassAttribute::print() const { std::cout << "\n" << visibility << "," << type << "," << name; }

}  // namespace graphmat

// Methods and attributes of a class, parsed from their "@"-separated texts.
#pragma once

#include <string>

namespace graphmat {

// A method: [properties "@"] output "@" name "@" "(" inputs ")".
class ClassMethod {
public:
    short visibility = 2;  // 0 private, 1 protected, 2 public
    std::string name;
    bool _static = false;
    bool _abstract = false;
    bool _constant = false;
    bool _final = false;
    std::string properties;
    std::string output;  // return type
    std::string inputs;  // parameter list without its enclosing pair

    explicit ClassMethod(const std::string& spec);
    ClassMethod(const ClassMethod&) = default;
    virtual ~ClassMethod() = default;

    // 1 when name, return type and parameters agree, else 0.
    int compare(const ClassMethod& other) const;
    // properties "," output "," name "," inputs
    std::string write() const;
    void print() const;
};

// An attribute: [properties "@"] type "@" name.
class ClassAttribute {
public:
    short visibility = 2;  // 0 private, 1 protected, 2 public
    std::string type;
    std::string name;
    std::string properties;
    bool _static = false;
    bool _abstract = false;
    bool _constant = false;
    bool _final = false;

    explicit ClassAttribute(const std::string& spec);
    ClassAttribute(const ClassAttribute&) = default;
    virtual ~ClassAttribute() = default;

    // 1 when name and type agree, else 0.
    int compare(const ClassAttribute& other) const;
    // properties "," type "," name
    std::string write() const;
    void print() const;
};

}  // namespace graphmat

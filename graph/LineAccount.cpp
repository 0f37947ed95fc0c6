// The line account of a reading.
#include "graph/LineAccount.h"

namespace graphmat {

void LineAccount::line(const std::string& text, LineRead how) {
    ++lines_;
    if (isBlankText(text)) {
        ++counts_[static_cast<int>(LineRead::Blank)];
        return;
    }
    how_.push_back(how);
    numbers_.push_back(lines_);
    ++counts_[static_cast<int>(how)];
}

void LineAccount::header(const std::string& text, bool reads) { line(text, reads ? LineRead::Header : LineRead::No); }

int LineAccount::indexOf(int number) const {
    const auto found = std::lower_bound(numbers_.begin(), numbers_.end(), number);
    return found != numbers_.end() && *found == number ? static_cast<int>(found - numbers_.begin()) : -1;
}

LineRead LineAccount::at(int number) const {
    const int index = indexOf(number);
    return index < 0 ? LineRead::Blank : how_[index];
}

void LineAccount::mark(int number, LineRead how) {
    const int index = indexOf(number);
    if (index < 0) return;  // a blank line stays blank
    LineRead& was = how_[index];
    --counts_[static_cast<int>(was)];
    was = how;
    ++counts_[static_cast<int>(how)];
}

int LineAccount::firstNotRead() const {
    for (int i = 0; i < kept(); ++i)
        if (how_[i] == LineRead::No || how_[i] == LineRead::Faulty) return numbers_[i];
    return 0;
}

int LineAccount::firstUncredited() const {
    for (int i = 0; i < kept(); ++i)
        if (how_[i] == LineRead::No || how_[i] == LineRead::Faulty || how_[i] == LineRead::Leniently)
            return numbers_[i];
    return 0;
}

bool LineAccount::isBlankText(const std::string& text) {
    return text.find_first_not_of(" \t\r") == std::string::npos;
}

}  // namespace graphmat

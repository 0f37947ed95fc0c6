// The line account of a reading.
#include "graph/LineAccount.h"

namespace graphmat {

void LineAccount::line(const std::string& text, LineRead how) {
    if (isBlankText(text)) how = LineRead::Blank;
    how_.push_back(how);
    ++counts_[static_cast<int>(how)];
}

void LineAccount::header(const std::string& text, bool reads) { line(text, reads ? LineRead::Header : LineRead::No); }

void LineAccount::mark(int number, LineRead how) {
    LineRead& was = how_[number - 1];
    if (was == LineRead::Blank) return;
    --counts_[static_cast<int>(was)];
    was = how;
    ++counts_[static_cast<int>(how)];
}

int LineAccount::firstNotRead() const {
    for (int i = 0; i < lines(); ++i)
        if (how_[i] == LineRead::No || how_[i] == LineRead::Faulty) return i + 1;
    return 0;
}

int LineAccount::firstUncredited() const {
    for (int i = 0; i < lines(); ++i)
        if (how_[i] == LineRead::No || how_[i] == LineRead::Faulty || how_[i] == LineRead::Leniently) return i + 1;
    return 0;
}

bool LineAccount::isBlankText(const std::string& text) {
    return text.find_first_not_of(" \t\r") == std::string::npos;
}

}  // namespace graphmat

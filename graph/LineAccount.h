// How a reader took each line of its graph file, kept for the judgement of
// the reader mode (graph/ReaderModeJudgement.h) and for the warnings of
// lines not read.
#pragma once

#include <algorithm>
#include <array>
#include <string>
#include <vector>

namespace graphmat {

// How a reader took one line of its file.
enum class LineRead : unsigned char {
    Blank,      // no content: it counts for the numbering only
    Header,     // a header line that reads
    No,         // not read: no line of the mode's shape
    Faulty,     // a line of the mode's own kind cut short, or naming a vertex or
                // class the file does not hold: a fault of the file
    Leniently,  // read, but not as a line of the mode's own shape is (a vertex
                // line out of order or repeated, a line of another shape that
                // happens to fit)
    Cleanly,    // read as a line of the mode's own shape
};

class LineAccount {
public:
    // The next line of the file, in order. A line of blanks is Blank
    // whatever the reader made of it.
    void line(const std::string& text, LineRead how);
    // The next line, read as the header: Header when it reads, else not read.
    void header(const std::string& text, bool reads);
    // Line `number` (from 1), already counted, turned out to read otherwise:
    // a member of a class the file does not hold, a class line out of order,
    // found by a later pass. A blank line stays blank.
    void mark(int number, LineRead how);

    // The lines counted so far, blank ones among them.
    int lines() const { return lines_; }
    // How line `number` (from 1) was read; Blank for a blank line.
    LineRead at(int number) const;
    long count(LineRead how) const { return counts_[static_cast<int>(how)]; }
    // The lines with content, in order, each with its number: blank lines
    // are counted, not kept, so that a file of blank lines costs nothing.
    int kept() const { return static_cast<int>(how_.size()); }
    int keptNumber(int index) const { return numbers_[index]; }
    LineRead keptRead(int index) const { return how_[index]; }

    // Lines with content (a header that reads aside), those read (cleanly or
    // leniently), those not read (faults of the file among them) and those
    // not read cleanly.
    long content() const { return read() + notRead(); }
    long read() const { return count(LineRead::Leniently) + count(LineRead::Cleanly); }
    long notRead() const { return count(LineRead::No) + count(LineRead::Faulty); }
    long uncredited() const { return notRead() + count(LineRead::Leniently); }
    // The number of the first line not read (not read cleanly); 0 when none.
    int firstNotRead() const;
    int firstUncredited() const;

    // What a header announces and the file does not hold (plain graph
    // files): vertex lines, and arc lines.
    long announcedVertexLines = 0;
    long missingVertexLines = 0;
    long announcedArcs = 0;
    long missingArcs = 0;
    // Why the first line shows that the file is no file of the mode's
    // syntax (a header that does not read where the header decides the kind
    // of every line; a first line that is no named arc where there is no
    // header); empty when it does not.
    std::string startFault;

    // True for a line of blanks.
    static bool isBlankText(const std::string& text);

private:
    // The index in how_ of line `number`; -1 for a blank line.
    int indexOf(int number) const;

    int lines_ = 0;
    std::vector<LineRead> how_;  // per line with content
    std::vector<int> numbers_;   // its line number
    std::array<long, 6> counts_{};
};

}  // namespace graphmat

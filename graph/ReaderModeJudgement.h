// Whether a graph file can be worked on in the reader mode it was read in:
// read in the mode of its syntax, and not too damaged. A text file some of
// whose lines do not read cleanly is read again, silently and into scratch
// graphs, by the reader of every other text syntax; a file read in a wrong
// mode is refused, naming the mode that reads it. A binary file (modes 1
// and 2) is checked word by word.
#pragma once

#include <string>

#include "graph/Graph.h"
#include "graph/InputFiles.h"

namespace graphmat {

// Reader modes that read the same syntax count as one: 5, 8 and 9 are 4.
int syntaxOf(int mode);
// "a model graph file (reader mode 12)", and so on; empty for a mode that
// reads no file (7, or none).
std::string syntaxName(int mode);

// The verdict on a reading of `input` by the reader of text `mode`, whose
// lines read as its account says (the trial readings are sized by its
// lines with content): when lines of it do not read cleanly, or
// its header announces what it lacks, judged by the rules of
// graph/ReaderModeJudgement.cpp: a warning for a file that runs; for one
// refused, NothingRead (no line reads) or Refused, with the mode of the
// syntax that reads it, when one does. A file of which every line reads
// cleanly is not read again. The judgement prints nothing: the verdict
// holds what it says.
ReadingVerdict judgeTextReading(const GraphReading& reading, const InputText& input, int mode);

// The verdict on a reading of `input` by the reader of binary `mode` (1 or
// 2): a text file is refused (naming the text syntax that reads it), and so
// is a file whose words end before every vertex it announces has its arc
// count (one cut inside the arcs of its last vertex is named and read);
// bytes left after the arcs of the last vertex and arcs to a vertex the
// file does not hold are named; a file that the other binary mode reads
// word for word, where this one does not, is refused naming that mode.
ReadingVerdict judgeBinaryReading(const InputText& input, int mode);

// The number of lines of an input that hold more than blanks, tabs and
// carriage returns, the last one counted whether or not it ends with a line
// feed.
int contentLineCount(const InputText& input);

// Where the 16-bit little-endian words of a binary graph file end: the
// vertex count, the vertex attributes (`labelled`), then per vertex its arc
// count and arcs (target, and attribute when `labelled`).
struct BinaryLayout {
    bool complete = true;       // every announced vertex has its arcs
    long long vertices = 0;     // announced by the first word (0: none)
    long long endByte = 0;      // where the last whole word ends
    long long stoppedAt = -1;   // the vertex whose words are missing
    bool inAttributes = false;  // the words stop among the vertex attributes
    bool inArcs = false;        // the words stop among the vertex's arcs
    long long trailing = 0;     // bytes after the arcs of the last vertex
    long long arcsToNoVertex = 0;  // arcs whose target is no announced vertex
};
BinaryLayout binaryLayout(const char* begin, const char* end, bool labelled);

}  // namespace graphmat

// Whether a graph file was read in the reader mode of its syntax. A text
// file some of whose lines do not read cleanly is read again, silently and
// into scratch graphs, by the reader of every other text syntax; a mode that
// reads it as the kind of file it is gets named, and a file read in a wrong
// mode is refused. A binary file (modes 1 and 2) is checked word by word.
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

// After `g` was read from `input` by the reader of text `mode`: when lines
// of it did not read cleanly, judges whether another syntax reads the file
// as the kind of file it is (`g.betterMode`) and whether it was read in a
// wrong mode (`g.wrongMode`), and says so on standard error, with the lines
// not read; a file of which no line read is marked `g.nothingRead`. A file
// of which every line read cleanly is not read again.
void judgeTextReading(Graph& g, const InputText& input, int mode);

// After `g` was read from `input` by the reader of binary `mode` (1 or 2):
// a text file is refused (`g.wrongMode`, naming the text syntax that reads
// it), a file whose words end before every vertex it announces has its arc
// count is refused (`g.incomplete`; one cut inside the arcs of its last
// vertex is named and read), and bytes left after the arcs of the last
// vertex are named.
void judgeBinaryReading(Graph& g, const InputText& input, int mode);

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
};
BinaryLayout binaryLayout(const char* begin, const char* end, bool labelled);

}  // namespace graphmat

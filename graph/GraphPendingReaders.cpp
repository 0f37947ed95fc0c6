// Placeholders for the readers and the ranking that have not landed yet:
// their modes read nothing.
#include "graph/Graph.h"

namespace graphmat {

void Graph::initMode0(std::istream&) {}
void Graph::initMode1(std::istream&) {}
void Graph::initMode2(std::istream&, int) {}
void Graph::initMode3(std::istream&) {}
void Graph::initMode6(std::istream&) {}
void Graph::initMode7(const std::string&) {}
void Graph::initMode12(std::istream&) {}
void Graph::nodeRank(double, double) {}
void Graph::nodeRank2(double, double) {}

}  // namespace graphmat

#include "graph/CommandLine.h"
#include "mces/vornmain.h"

int main(int argc, char** argv) { return graphmat::runEntryPoint(graphmat::vornmain, argc, argv); }
